#include "print/frmsceltastam.h"

#include "print/pdfemail.h"

#include "common/messages.h"
#include "print/defaultprinter.h"
#include "print/frmsalvaopzsta.h"
#include "platform/help/decodeservice.h"
#include "platform/help/frmaiutolookup.h"
#include "platform/util/kemutil.h"
#include "print/optionsini.h"
#include "print/printersessions.h"
#include "platform/os/printersystem.h"
#include "platform/printlib/printoptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kem {

namespace {

const QString kOk = QStringLiteral("&Ok");

QString fileFormText(int form)
{
    switch (form) {
    case PrintOptions::SpreadsheetText: return QStringLiteral("Compatibile Excel");
    case PrintOptions::PlainText: return QStringLiteral("Testo");
    case PrintOptions::Xlsx: return QStringLiteral("Formato Excel");
    case PrintOptions::PdfFile: return QStringLiteral("Pdf");
    default: return QString::number(form);
    }
}

QLineEdit *numberBox(QWidget *parent, int max = 99999)
{
    auto *box = new QLineEdit(parent);
    box->setValidator(new QIntValidator(0, max, box));
    box->setMaximumWidth(70);
    return box;
}

// An empty box counts as 0; the validator lets only digits through.
int boxNumber(const QLineEdit *box)
{
    bool ok = false;
    const int v = box->text().trimmed().toInt(&ok);
    return ok ? v : 0;
}

} // namespace

FrmSceltaStam::FrmSceltaStam(const PrintEnv &env, PrintOptions &options, bool printActive,
                             SpreadsheetApp *spreadsheet, QWidget *parent)
    : QDialog(parent), m_env(env), m_options(options), m_printActive(printActive),
      m_spreadsheet(spreadsheet), m_noBins(NoBinsPrinters::FromIni(env))
{
    if (!m_spreadsheet) {
        m_ownSpreadsheet = std::make_unique<SystemSpreadsheetApp>();
        m_spreadsheet = m_ownSpreadsheet.get();
    }
    askFileName = [this](const FileNameRequest &rq, FileNameAnswer *a) { return defaultFileDialog(rq, a); };
    runPanel = [](FrmSalvaOpzSta &panel) { return panel.exec(); };
    askPath = [this](const PdfEmailField &field, const QString &current) { return defaultPath(field, current); };
    runLookup = [](FrmAiutoLookup &lookup) { return lookup.exec(); };
    runModal = [](FrmSceltaStam &dialog) { return dialog.exec(); };
    build();
    load();
    connectControls();
}

FrmSceltaStam::~FrmSceltaStam() = default;

int FrmSceltaStam::Apri(const PrintEnv &env, PrintOptions &options, bool printActive, QWidget *parent)
{
    FrmSceltaStam dialog(env, options, printActive, nullptr, parent);
    return dialog.exec();
}

void FrmSceltaStam::build()
{
    setObjectName(QStringLiteral("FrmSceltaStam"));
    setWindowTitle(QStringLiteral("Scelta della modalità di stampa"));

    auto *fraOpt = new QGroupBox(QStringLiteral("Stampa su"), this);
    auto *optLayout = new QVBoxLayout(fraOpt);
    const QString optCaptions[4] = {QStringLiteral("&Stampante"), QStringLiteral("&Video"), QStringLiteral("&File"),
                                    QStringLiteral("File/stam. a &lung. fissa")};
    for (int i = 0; i < 4; ++i) {
        OptStampaSu[i] = new QRadioButton(optCaptions[i], fraOpt);
        optLayout->addWidget(OptStampaSu[i]);
    }
    optLayout->addStretch();

    // Printer.
    FraStampaSu[0] = new QGroupBox(QStringLiteral("Stampante"), this);
    GriPri = new QTableWidget(0, 3, FraStampaSu[0]);
    GriPri->setHorizontalHeaderLabels({QStringLiteral("N."), QStringLiteral("Nome"), QStringLiteral("Porta")});
    GriPri->verticalHeader()->hide();
    GriPri->setSelectionBehavior(QAbstractItemView::SelectRows);
    GriPri->setSelectionMode(QAbstractItemView::SingleSelection);
    GriPri->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GriPri->horizontalHeader()->setStretchLastSection(true);
    GriPri->setColumnWidth(0, GriPri->fontMetrics().horizontalAdvance(QStringLiteral("9999")) + 12);
    GriPri->setColumnWidth(1, 230);
    GriPri->setMinimumWidth(460);
    GriPri->setMinimumHeight(GriPri->horizontalHeader()->sizeHint().height() + 4 * GriPri->verticalHeader()->defaultSectionSize() + 6);
    GriPorte = new QTableWidget(0, 1, FraStampaSu[0]);
    GriPorte->setHorizontalHeaderLabels({QStringLiteral("Porta")});
    GriPorte->verticalHeader()->hide();
    GriPorte->setSelectionBehavior(QAbstractItemView::SelectRows);
    GriPorte->setSelectionMode(QAbstractItemView::SingleSelection);
    GriPorte->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GriPorte->horizontalHeader()->setStretchLastSection(true);
    // Header and one row: a printer has one port here.
    GriPorte->setFixedHeight(GriPorte->horizontalHeader()->sizeHint().height() + GriPorte->verticalHeader()->defaultSectionSize() + 6);
    ComUsaDef = new QPushButton(QStringLiteral("Stampante predefinita"), FraStampaSu[0]);
    cboCassetti = new QComboBox(FraStampaSu[0]);
    cboTipoCarta = new QComboBox(FraStampaSu[0]);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::Monospace);
    cboCassetti->setFont(fixed);  // the bin numbers are aligned in 6 characters
    cboCassetti->setMinimumWidth(260);
    cboTipoCarta->setMinimumWidth(260);
    ComPaperSize = new QPushButton(QStringLiteral("PaperSize"), FraStampaSu[0]);
    CheForzaVert = new QCheckBox(
        QStringLiteral("Forza la stampa in verticale (Da utilizzarsi solo in caso di foglio più grande  dell' A4)"),
        FraStampaSu[0]);
    auto *pri = new QVBoxLayout(FraStampaSu[0]);
    pri->setSpacing(6);
    pri->addWidget(GriPri, 1);
    auto *ports = new QHBoxLayout;
    ports->setSpacing(6);
    ports->addWidget(GriPorte, 1);
    ports->addWidget(ComUsaDef, 0, Qt::AlignTop);
    pri->addLayout(ports);
    auto *paper = new QGridLayout;
    paper->setSpacing(6);
    paper->addWidget(new QLabel(QStringLiteral("Cassetto:"), FraStampaSu[0]), 0, 0);
    paper->addWidget(cboCassetti, 0, 1);
    paper->addWidget(new QLabel(QStringLiteral("Tipo carta:"), FraStampaSu[0]), 1, 0);
    paper->addWidget(cboTipoCarta, 1, 1);
    paper->addWidget(ComPaperSize, 1, 2);
    paper->setColumnStretch(3, 1);
    pri->addLayout(paper);
    pri->addWidget(CheForzaVert);

    // Preview.
    FraStampaSu[1] = new QGroupBox(QStringLiteral("Video"), this);
    auto *vid = new QVBoxLayout(FraStampaSu[1]);
    auto *vidNote = new QLabel(QStringLiteral("Anteprima delle pagine a video,\nda cui si può poi stampare."),
                               FraStampaSu[1]);
    vid->addWidget(vidNote);
    vid->addStretch();

    // File.
    FraStampaSu[2] = new QGroupBox(QStringLiteral("File"), this);
    ComOpzFile = new QPushButton(QStringLiteral("Cambia"), FraStampaSu[2]);
    LabFileName = new QLabel(FraStampaSu[2]);
    LabFileName->setWordWrap(true);
    LabFileName->setMinimumWidth(200);
    LabFileForm = new QLabel(FraStampaSu[2]);
    auto *sep = new QGroupBox(QStringLiteral("Separatore campi"), FraStampaSu[2]);
    auto *sepLayout = new QVBoxLayout(sep);
    const QString sepCaptions[4] = {QStringLiteral("&Spazio"), QStringLiteral("Ta&bulatore"),
                                    QStringLiteral("&Punto e virgola"), QStringLiteral("&Virgola")};
    for (int i = 0; i < 4; ++i) {
        OptSepCampi[i] = new QRadioButton(sepCaptions[i], sep);
        sepLayout->addWidget(OptSepCampi[i]);
    }
    auto *delim = new QGroupBox(QStringLiteral("Qualificatore testo"), FraStampaSu[2]);
    auto *delimLayout = new QVBoxLayout(delim);
    const QString delimCaptions[3] = {QStringLiteral("&Nessuno"), QStringLiteral("' S&ingolo apice"),
                                      QStringLiteral("\" &Doppio apice")};
    for (int i = 0; i < 3; ++i) {
        OptDelimStr[i] = new QRadioButton(delimCaptions[i], delim);
        delimLayout->addWidget(OptDelimStr[i]);
    }
    delimLayout->addStretch();
    CheNumNoForm = new QCheckBox(QStringLiteral("Tolgo il formato nei campi numerici"), FraStampaSu[2]);
    auto *file = new QGridLayout(FraStampaSu[2]);
    file->addWidget(new QLabel(QStringLiteral("File di stampa:"), FraStampaSu[2]), 0, 0);
    file->addWidget(LabFileName, 0, 1);
    file->addWidget(ComOpzFile, 0, 2, Qt::AlignTop);
    file->addWidget(new QLabel(QStringLiteral("Formato:"), FraStampaSu[2]), 1, 0);
    file->addWidget(LabFileForm, 1, 1, 1, 2);
    auto *choices = new QHBoxLayout;
    choices->setSpacing(6);
    choices->addWidget(sep);
    choices->addWidget(delim);
    file->addLayout(choices, 2, 0, 1, 3);
    file->addWidget(CheNumNoForm, 3, 0, 1, 3);
    file->setColumnStretch(1, 1);

    // Fixed width.
    FraStampaSu[3] = new QGroupBox(QStringLiteral("Lunghezza fissa"), this);
    TxtFisMrAlt = numberBox(FraStampaSu[3]);
    TxtFisMrBas = numberBox(FraStampaSu[3]);
    TxtFisColonne = numberBox(FraStampaSu[3]);
    TxtFisRighe = numberBox(FraStampaSu[3]);
    CheFisUtilComp = new QCheckBox(QStringLiteral("Stampo in compresso"), FraStampaSu[3]);
    TxtFisCodIniComp = new QLineEdit(FraStampaSu[3]);
    TxtFisCodFinComp = new QLineEdit(FraStampaSu[3]);
    ComOpzFis = new QPushButton(QStringLiteral("&Nome File"), FraStampaSu[3]);
    LabFileStampaFis = new QLabel(FraStampaSu[3]);
    LabFileStampaFis->setWordWrap(true);
    auto *fis = new QGridLayout(FraStampaSu[3]);
    fis->addWidget(new QLabel(QStringLiteral("Righe vuote in alto:"), FraStampaSu[3]), 0, 0);
    fis->addWidget(TxtFisMrAlt, 0, 1);
    fis->addWidget(new QLabel(QStringLiteral("Righe vuote in basso:"), FraStampaSu[3]), 1, 0);
    fis->addWidget(TxtFisMrBas, 1, 1);
    fis->addWidget(new QLabel(QStringLiteral("Colonne:"), FraStampaSu[3]), 2, 0);
    fis->addWidget(TxtFisColonne, 2, 1);
    fis->addWidget(new QLabel(QStringLiteral("Righe per pagina:"), FraStampaSu[3]), 3, 0);
    fis->addWidget(TxtFisRighe, 3, 1);
    fis->addWidget(CheFisUtilComp, 4, 0, 1, 2);
    fis->addWidget(new QLabel(QStringLiteral("Inizio compresso:"), FraStampaSu[3]), 5, 0);
    fis->addWidget(TxtFisCodIniComp, 5, 1);
    fis->addWidget(new QLabel(QStringLiteral("Fine compresso:"), FraStampaSu[3]), 6, 0);
    fis->addWidget(TxtFisCodFinComp, 6, 1);
    fis->addWidget(ComOpzFis, 7, 0);
    fis->addWidget(LabFileStampaFis, 8, 0, 1, 2);
    fis->setRowStretch(9, 1);

    // Common to every destination.
    CheNumPag = new QCheckBox(QStringLiteral("Mess.Numero pagine"), this);
    TxtPaginaDa = numberBox(this);
    TxtPaginaA = numberBox(this);
    ChePdfAutom = new QCheckBox(QStringLiteral("Nome file Pdf autom."), this);
    CheInviaEmail = new QCheckBox(QStringLiteral("Invia per Email"), this);
    auto *general = new QHBoxLayout;
    general->setSpacing(6);
    general->addWidget(new QLabel(QStringLiteral("Stampa Pagine da:"), this));
    general->addWidget(TxtPaginaDa);
    general->addWidget(new QLabel(QStringLiteral("a:"), this));
    general->addWidget(TxtPaginaA);
    general->addSpacing(20);
    general->addWidget(CheNumPag);
    general->addSpacing(20);
    general->addWidget(ChePdfAutom);
    general->addWidget(CheInviaEmail);
    general->addStretch();

    labStaAttuale = new QLabel(QStringLiteral("Stampante attuale:"), this);
    labStaAttuale->setFrameShape(QFrame::Panel);
    labStaAttuale->setFrameShadow(QFrame::Sunken);
    ComSalOpz = new QPushButton(QStringLiteral("Salva op&zioni stampa"), this);
    ComCancOpz = new QPushButton(QStringLiteral("Canc. op&zioni stampa"), this);
    ComChiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(ComSalOpz);
    buttons->addWidget(ComCancOpz);
    buttons->addStretch();
    buttons->addWidget(ComChiudi);

    auto *mainPage = new QWidget(this);
    auto *grid = new QGridLayout(mainPage);
    grid->addWidget(fraOpt, 0, 0);
    grid->addWidget(FraStampaSu[0], 0, 1, 1, 2);
    grid->addWidget(FraStampaSu[1], 1, 0);
    grid->addWidget(FraStampaSu[2], 1, 1);
    grid->addWidget(FraStampaSu[3], 1, 2);
    grid->addLayout(general, 2, 0, 1, 3);
    grid->addWidget(labStaAttuale, 3, 0, 1, 3);
    grid->addLayout(buttons, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    // Some styles leave the group box title out of the layout's minimum: the frames keep the
    // height their contents need, so that no control is drawn over another.
    for (QGroupBox *frame : findChildren<QGroupBox *>())
        frame->setMinimumHeight(frame->minimumSizeHint().height());

    TabPagine = new QTabWidget(this);
    TabPagine->addTab(mainPage, QStringLiteral("Stampa"));
    PagPdfEmail = buildPdfEmailPage();
    TabPagine->addTab(PagPdfEmail, QStringLiteral("Par ini Pdf/Email"));
    auto *top = new QVBoxLayout(this);
    top->addWidget(TabPagine);
}

void FrmSceltaStam::load()
{
    m_loading = true;
    // Printer grid: one row per system printer.
    const QList<SystemPrinter> printers = m_env.printers ? m_env.printers->Printers() : QList<SystemPrinter>();
    GriPri->setRowCount(int(printers.size()));
    for (int r = 0; r < printers.size(); ++r) {
        auto *num = new QTableWidgetItem(QString::number(r + 1));
        num->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        GriPri->setItem(r, 0, num);
        GriPri->setItem(r, 1, new QTableWidgetItem(printers[r].name));
        GriPri->setItem(r, 2, new QTableWidgetItem(printers[r].port));
    }
    selectPrinterRow(currentPrinter());
    fillPorts();

    const QString section = m_options.SectionKey;
    QString numPag = section.isEmpty() ? QString() : m_env.ini(section, QStringLiteral("MostraNumPag"));
    if (numPag.isEmpty())
        numPag = m_env.ini(QStringLiteral("Opzioni Stampa"), QStringLiteral("MostraNumPag"));
    CheNumPag->setChecked(IniBool(numPag));
    if (!m_printActive)
        m_options.ParamSet(QStringLiteral("MostraNumPag"), PrintOptions::ParamAny, CheNumPag->isChecked());

    m_pdfConfirmed = PdfEmailPageValues(m_env.menu, m_options);
    showPdfEmailValues(m_pdfConfirmed);
    showPdfBoxes();
    ChePdfAutom->setChecked(m_options.ParamGet(QStringLiteral("PdfAutomAbil")).toBool());
    CheInviaEmail->setChecked(m_options.ParamGet(QStringLiteral("EmailInvia")).toBool());

    const int dest = qBound(0, m_options.StaVid, 3);
    OptStampaSu[dest]->setChecked(true);
    for (int i = 0; i < 4; ++i)
        FraStampaSu[i]->setEnabled(i == dest);

    fillPaperLists();
    CheForzaVert->setChecked(m_options.ForzaVert == 1);
    const int from = m_options.ParamInt(QStringLiteral("PaginaDa"));
    const int to = m_options.ParamInt(QStringLiteral("PaginaA"));
    TxtPaginaDa->setText(from > 0 ? QString::number(from) : QString());
    TxtPaginaA->setText(to > 0 ? QString::number(to) : QString());
    if (m_options.SepCampi >= 0 && m_options.SepCampi < 4)
        OptSepCampi[m_options.SepCampi]->setChecked(true);
    if (m_options.DelimStr >= 0 && m_options.DelimStr < 3)
        OptDelimStr[m_options.DelimStr]->setChecked(true);
    CheNumNoForm->setChecked(m_options.NumNoForm);
    showFileLabels();
    TxtFisMrAlt->setText(QString::number(m_options.FisMrAlt));
    TxtFisMrBas->setText(QString::number(m_options.FisMrBas));
    TxtFisColonne->setText(QString::number(m_options.FisColonne));
    TxtFisRighe->setText(QString::number(m_options.FisRighe));
    CheFisUtilComp->setChecked(m_options.FisUtilComp);
    TxtFisCodIniComp->setText(m_options.FisCodIniComp);
    TxtFisCodFinComp->setText(m_options.FisCodFinComp);
    VisStaAttuale();
    m_loading = false;

    if (m_printActive) {
        const QList<QWidget *> all = findChildren<QWidget *>();
        for (QWidget *w : all)
            if (w != ComChiudi && w != labStaAttuale && (qobject_cast<QGroupBox *>(w) || qobject_cast<QPushButton *>(w)
                                                         || qobject_cast<QCheckBox *>(w) || qobject_cast<QLineEdit *>(w)))
                w->setEnabled(false);
        PagPdfEmail->setEnabled(false);
        tell(QStringLiteral("C'è una stampa in esecuzione. Non è possibile variare i parametri di stampa"));
    }
}

void FrmSceltaStam::connectControls()
{
    for (int i = 0; i < 4; ++i)
        connect(OptStampaSu[i], &QRadioButton::clicked, this, [this, i] { OptStampaSu_Click(i); });
    connect(GriPri, &QTableWidget::cellClicked, this, [this](int row, int) { GriPri_Click(row); });
    connect(GriPri, &QTableWidget::cellActivated, this, [this](int row, int) { GriPri_Click(row); });
    connect(GriPorte, &QTableWidget::cellClicked, this, [this](int row, int) { GriPorte_Click(row); });
    connect(ComUsaDef, &QPushButton::clicked, this, &FrmSceltaStam::ComUsaDef_Click);
    connect(cboCassetti, &QComboBox::activated, this, &FrmSceltaStam::cboCassetti_Click);
    connect(cboTipoCarta, &QComboBox::activated, this, &FrmSceltaStam::cboTipoCarta_Click);
    connect(ComPaperSize, &QPushButton::clicked, this, &FrmSceltaStam::ComPaperSize_Click);
    connect(CheForzaVert, &QCheckBox::toggled, this, [this](bool on) { m_options.ForzaVert = on ? 1 : 0; });
    connect(CheNumPag, &QCheckBox::toggled, this, [this](bool on) {
        m_options.ParamSet(QStringLiteral("MostraNumPag"), PrintOptions::ParamAny, on);
        // The switch lives in this terminal's file, in the report's section.
        const QString section = m_options.SectionKey.isEmpty() ? QStringLiteral("Opzioni Stampa") : m_options.SectionKey;
        QString error;
        if (!IniWrite(TerminalIniFile(m_env), section, QStringLiteral("MostraNumPag"),
                      on ? QStringLiteral("-1") : QStringLiteral("0"), &error))
            tell(error);
    });
    connect(TxtPaginaDa, &QLineEdit::textChanged, this, [this] {
        m_options.ParamSet(QStringLiteral("PaginaDa"), PrintOptions::ParamInteger, boxNumber(TxtPaginaDa));
    });
    connect(TxtPaginaA, &QLineEdit::textChanged, this, [this] {
        m_options.ParamSet(QStringLiteral("PaginaA"), PrintOptions::ParamInteger, boxNumber(TxtPaginaA));
    });
    for (int i = 0; i < 4; ++i)
        connect(OptSepCampi[i], &QRadioButton::clicked, this, [this, i] { m_options.SepCampi = i; });
    for (int i = 0; i < 3; ++i)
        connect(OptDelimStr[i], &QRadioButton::clicked, this, [this, i] { m_options.DelimStr = i; });
    connect(CheNumNoForm, &QCheckBox::toggled, this, [this](bool on) { m_options.NumNoForm = on; });
    connect(ComOpzFile, &QPushButton::clicked, this, &FrmSceltaStam::ComOpzFile_Click);
    connect(ComOpzFis, &QPushButton::clicked, this, &FrmSceltaStam::ComOpzFis_Click);
    connect(TxtFisMrAlt, &QLineEdit::textChanged, this, [this] { m_options.FisMrAlt = boxNumber(TxtFisMrAlt); });
    connect(TxtFisMrBas, &QLineEdit::textChanged, this, [this] { m_options.FisMrBas = boxNumber(TxtFisMrBas); });
    connect(TxtFisColonne, &QLineEdit::textChanged, this, [this] { m_options.FisColonne = boxNumber(TxtFisColonne); });
    connect(TxtFisRighe, &QLineEdit::textChanged, this, [this] { m_options.FisRighe = boxNumber(TxtFisRighe); });
    connect(CheFisUtilComp, &QCheckBox::toggled, this, [this](bool on) { m_options.FisUtilComp = on; });
    connect(TxtFisCodIniComp, &QLineEdit::textChanged, this, [this](const QString &t) { m_options.FisCodIniComp = t; });
    connect(TxtFisCodFinComp, &QLineEdit::textChanged, this, [this](const QString &t) { m_options.FisCodFinComp = t; });
    connect(ChePdfAutom, &QCheckBox::toggled, this, [this](bool on) {
        m_options.ParamSet(QStringLiteral("PdfAutomAbil"), PrintOptions::ParamAny, on);
    });
    connect(CheInviaEmail, &QCheckBox::toggled, this, [this](bool on) {
        m_options.ParamSet(QStringLiteral("EmailInvia"), PrintOptions::ParamAny, on);
    });
    connect(ComSalOpz, &QPushButton::clicked, this, &FrmSceltaStam::ComSalOpz_Click);
    connect(ComCancOpz, &QPushButton::clicked, this, &FrmSceltaStam::ComCancOpz_Click);
    connect(ComChiudi, &QPushButton::clicked, this, &FrmSceltaStam::ComChiudi_Click);
}

void FrmSceltaStam::tell(const QString &text)
{
    if (m_env.sink)
        m_env.sink->msgCom(text, {kOk});
}

QString FrmSceltaStam::currentPrinter() const
{
    if (!m_options.NomeStampante.isEmpty())
        return m_options.NomeStampante;
    return DefaultPrinter(m_env).Current();
}

void FrmSceltaStam::selectPrinterRow(const QString &name)
{
    GriPri->clearSelection();
    for (int r = 0; r < GriPri->rowCount(); ++r) {
        if (GriPri->item(r, 1)->text() == name) {
            GriPri->selectRow(r);
            GriPri->scrollToItem(GriPri->item(r, 1));
            return;
        }
    }
}

void FrmSceltaStam::fillPorts()
{
    GriPorte->setRowCount(0);
    const QString printer = currentPrinter();
    SystemPrinter p;
    if (printer.isEmpty() || !m_env.printers || !m_env.printers->Find(printer, &p) || p.port.isEmpty())
        return;
    GriPorte->setRowCount(1);
    GriPorte->setItem(0, 0, new QTableWidgetItem(p.port));
    if (m_options.NomePorta.isEmpty() || m_options.NomePorta == p.port)
        GriPorte->selectRow(0);
}

void FrmSceltaStam::fillPaperLists()
{
    const bool wasLoading = m_loading;
    m_loading = true;
    const QString printer = currentPrinter();
    m_bins = {PaperItem{0, NoPaperSettingText()}};
    m_sizes = m_bins;
    if (!printer.isEmpty() && m_env.printers) {
        QString error;
        if (!BinItems(*m_env.printers, printer, m_noBins, &m_bins, &error))
            tell(QStringLiteral("Errore nel driver nella ricerca informazioni cassetti\r\n") + error);
        if (!SizeItems(*m_env.printers, printer, &m_sizes, &error))
            tell(PaperSizeDriverError());
    }
    const auto fill = [](QComboBox *box, const QList<PaperItem> &items, int number) {
        box->clear();
        for (const PaperItem &i : items)
            box->addItem(i.text, i.number);
        int index = -1;
        for (int i = 0; i < items.size(); ++i)
            if (items[i].number == number)
                index = i;
        box->setCurrentIndex(index);
    };
    fill(cboCassetti, m_bins, m_options.ParamInt(QStringLiteral("NumCassetto")));
    fill(cboTipoCarta, m_sizes, m_options.ParamInt(QStringLiteral("NumTipoCarta")));
    m_loading = wasLoading;
}

void FrmSceltaStam::showFileLabels()
{
    LabFileName->setText(m_options.FileName);
    LabFileForm->setText(fileFormText(m_options.FileForm));
    LabFileStampaFis->setText(m_options.FisFileName);
}

void FrmSceltaStam::VisStaAttuale()
{
    labStaAttuale->setText(CurrentDestinationText(m_env, m_options));
}

void FrmSceltaStam::OptStampaSu_Click(int index)
{
    if (index < 0 || index > 3)
        return;
    OptStampaSu[index]->setChecked(true);
    for (int i = 0; i < 4; ++i)
        FraStampaSu[i]->setEnabled(i == index);
    m_options.StaVid = index;
    if (index == PrintOptions::Preview)
        m_options.PreviewFlag = true;
    VisStaAttuale();
}

void FrmSceltaStam::choosePrinter(const QString &name, const QString &port)
{
    const PrinterSessions sessions(m_env.ini(QStringLiteral("Stampanti"), QStringLiteral("TermSessAggNome")),
                                   m_env.terminalSession);
    if (sessions.BelongsToOther(name)) {
        tell(QStringLiteral("La stampante (") + name + QStringLiteral(") predefinita appartiene ad un'altra sessione\r\n"
                                                                "Scegliere una stampante o cambiare la stampante predefinita"));
        selectPrinterRow(currentPrinter());
        return;
    }
    m_options.NomeStampante = name;
    m_options.NomePorta = port;
    m_options.ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, 0);
    m_options.ParamSet(QStringLiteral("NumTipoCarta"), PrintOptions::ParamInteger, 0);
    selectPrinterRow(name);
    fillPorts();
    fillPaperLists();

    if (m_options.ParamGet(QStringLiteral("PdfAutomAbil")).toBool()) {
        // Automatic PDF names need the PDF printer.
        QString pdf = PdfPrinter(m_pdfConfirmed);
        if (pdf.isEmpty())
            pdf = QStringLiteral("PDFCreator");
        const bool fits = m_env.printers && m_env.printers->Find(pdf) && name == pdf;
        if (!fits) {
            m_options.ParamSet(QStringLiteral("PdfAutomAbil"), PrintOptions::ParamAny, false);
            m_options.ParamSet(QStringLiteral("EmailInvia"), PrintOptions::ParamAny, false);
            ChePdfAutom->setChecked(false);
            CheInviaEmail->setChecked(false);
            CheInviaEmail->setEnabled(false);
        }
    }
    VisStaAttuale();
}

void FrmSceltaStam::GriPri_Click(int row)
{
    if (row < 0 || row >= GriPri->rowCount())
        return;
    choosePrinter(GriPri->item(row, 1)->text(), GriPri->item(row, 2)->text());
}

void FrmSceltaStam::GriPorte_Click(int row)
{
    if (row < 0 || row >= GriPorte->rowCount())
        return;
    m_options.NomePorta = GriPorte->item(row, 0)->text();
}

void FrmSceltaStam::ComUsaDef_Click()
{
    const QString def = DefaultPrinter(m_env).Current();
    if (def.isEmpty()) {
        tell(QStringLiteral("Stampante di default non disponibile\r\n"
                            "Andare in selezione stampanti per scegliere una o impostare la stampante di default da windows"));
        return;
    }
    SystemPrinter p;
    const QString port = m_env.printers && m_env.printers->Find(def, &p) ? p.port : QString();
    choosePrinter(def, port);
}

void FrmSceltaStam::cboCassetti_Click(int index)
{
    if (m_loading || index < 0 || index >= m_bins.size())
        return;
    m_options.ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, m_bins[index].number);
}

void FrmSceltaStam::cboTipoCarta_Click(int index)
{
    if (m_loading || index < 0 || index >= m_sizes.size())
        return;
    m_options.ParamSet(QStringLiteral("NumTipoCarta"), PrintOptions::ParamInteger, m_sizes[index].number);
}

void FrmSceltaStam::ComPaperSize_Click()
{
    const QString printer = currentPrinter();
    QList<PaperItem> sizes;
    QString error;
    if (printer.isEmpty() || !m_env.printers || !SizeItems(*m_env.printers, printer, &sizes, &error)) {
        tell(PaperSizeDriverError());
        return;
    }
    tell(PaperSizesMessage(sizes, m_options.ParamInt(QStringLiteral("NumTipoCarta"))));
}

void FrmSceltaStam::ComOpzFile_Click()
{
    m_options.PreviewFlag = false;
    const int version = m_spreadsheet->Version();
    FileNameRequest rq;
    rq.title = PrintFileDialogTitle();
    rq.folder = m_options.PathDefault;
    rq.fileName = m_options.FileName;
    rq.filters = DialogFilters(PrintFileFilter(version));
    FileNameAnswer answer;
    if (!askFileName(rq, &answer) || answer.fileName.isEmpty())
        return;
    m_options.FileName = answer.fileName;
    m_options.FileForm = FileFormForFilter(answer.filter, version > 0);
    showFileLabels();
    VisStaAttuale();
}

void FrmSceltaStam::ComOpzFis_Click()
{
    FileNameRequest rq;
    rq.title = PrintFileDialogTitle();
    rq.folder = m_options.PathDefault;
    rq.fileName = m_options.FisFileName;
    rq.filters = DialogFilters(FixedWidthFileFilter());
    FileNameAnswer answer;
    if (!askFileName(rq, &answer) || answer.fileName.isEmpty())
        return;
    m_options.FisFileName = answer.fileName;
    showFileLabels();
    VisStaAttuale();
}

bool FrmSceltaStam::defaultFileDialog(const FileNameRequest &rq, FileNameAnswer *answer)
{
    QFileDialog dialog(this, rq.title, rq.folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(rq.filters);
    if (rq.filter >= 1 && rq.filter <= rq.filters.size())
        dialog.selectNameFilter(rq.filters[rq.filter - 1]);
    if (!rq.fileName.isEmpty())
        dialog.selectFile(rq.fileName);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        const QString chosen = dialog.selectedFiles().constFirst();
        const QFileInfo info(chosen);
        if (!info.absoluteDir().exists()) {
            QMessageBox::warning(this, rq.title, QStringLiteral("La cartella non esiste:\n") + info.absolutePath());
            continue;
        }
        if (info.exists() && !info.isWritable()) {
            QMessageBox::warning(this, rq.title, QStringLiteral("Il file è di sola lettura:\n") + chosen);
            continue;
        }
        answer->fileName = chosen;
        answer->filter = int(rq.filters.indexOf(dialog.selectedNameFilter())) + 1;
        if (answer->filter < 1)
            answer->filter = 1;
        return true;
    }
}

void FrmSceltaStam::openPanel(SaveMode mode)
{
    FrmSalvaOpzSta panel(m_env, m_options, mode, this);
    runPanel(panel);
}

void FrmSceltaStam::ComSalOpz_Click()
{
    openPanel(SaveMode::Save);
}

void FrmSceltaStam::ComCancOpz_Click()
{
    openPanel(SaveMode::Delete);
}

void FrmSceltaStam::ComChiudi_Click()
{
    accept();
}

void FrmSceltaStam::done(int result)
{
    if (oiRichDatiEmail == RichDatiEmailMode) {
        // Leaving without "&Ok" gives up the send: asked once.
        if (result != QDialog::Accepted && !m_cancelAsked && !confirm(PdfEmailCancelQuestion(true)))
            return;
        QDialog::done(result);
        return;
    }
    if (m_pdfDirty && !m_printActive) {
        if (!confirm(PdfEmailCancelQuestion(false))) {
            TabPagine->setCurrentWidget(PagPdfEmail);
            return;
        }
        showPdfEmailValues(m_pdfConfirmed);
    }
    if (!m_printActive) {
        const QString refusal = CloseRefusal(m_options);
        if (!refusal.isEmpty()) {
            tell(refusal);
            return;
        }
    }
    QDialog::done(result);
}

// ------------------------------------------------------------------------------------------
// "Par ini Pdf/Email"
// ------------------------------------------------------------------------------------------

QWidget *FrmSceltaStam::buildPdfEmailPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("PagPdfEmail"));
    auto *fields = new QGridLayout;
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(4);
    const QList<PdfEmailField> &all = PdfEmailPageFields();
    const int perColumn = int((all.size() + 1) / 2);
    const QStringList customerLabels = CustomerEmailLabels(m_env);
    for (int i = 0; i < all.size(); ++i) {
        const PdfEmailField &f = all[i];
        const int row = i % perColumn;
        const int col = (i / perColumn) * 5;
        const QString key = f.key.toLower();
        auto *tick = new QCheckBox(page);
        tick->setObjectName(QStringLiteral("CheSalva_") + f.key);
        tick->setToolTip(QStringLiteral("Parametro da salvare, rileggere o cancellare"));
        m_pdfTicks.insert(key, tick);
        auto *caption = new QLabel(f.caption.trimmed(), page);
        QWidget *editor = nullptr;
        switch (f.kind) {
        case PdfEmailField::Flag: {
            auto *box = new QCheckBox(page);
            connect(box, &QCheckBox::toggled, this, [this, key] { markPdfField(key); });
            editor = box;
            break;
        }
        case PdfEmailField::SendType:
        case PdfEmailField::ToNum:
        case PdfEmailField::TipoNum: {
            auto *box = new QComboBox(page);
            if (f.kind == PdfEmailField::SendType) {
                for (const QString &t : EmailSendTypeNames())
                    box->addItem(t, t);
                box->setObjectName(QStringLiteral("CboEmailTipoInvio"));
            } else if (f.kind == PdfEmailField::ToNum) {
                for (int n = 1; n <= 3; ++n)
                    box->addItem(QStringLiteral("Email destinatario %1").arg(n), QString::number(n));
                box->setObjectName(QStringLiteral("CboEmailToNum"));
            } else {
                for (int n = 0; n < customerLabels.size(); ++n)
                    box->addItem(customerLabels[n], QString::number(n + 1));
                box->setObjectName(QStringLiteral("CboEmailTipoNum"));
            }
            connect(box, &QComboBox::currentIndexChanged, this, [this, key] { markPdfField(key); });
            editor = box;
            break;
        }
        default: {
            auto *box = new QLineEdit(page);
            if (f.kind == PdfEmailField::Password)
                box->setEchoMode(QLineEdit::Password);
            box->setMinimumWidth(f.kind == PdfEmailField::Number ? 70 : 240);
            connect(box, &QLineEdit::textChanged, this, [this, key] { markPdfField(key); });
            editor = box;
            break;
        }
        }
        if (editor->objectName().isEmpty())
            editor->setObjectName(QStringLiteral("txt") + f.key);
        caption->setBuddy(editor);
        m_pdfEditors.insert(key, editor);
        fields->addWidget(tick, row, col);
        fields->addWidget(caption, row, col + 1);
        fields->addWidget(editor, row, col + 2);
        if (f.kind == PdfEmailField::Folder || f.kind == PdfEmailField::File) {
            auto *cerca = new QPushButton(QStringLiteral("Cerca"), page);
            cerca->setObjectName(QStringLiteral("ComCerca_") + f.key);
            connect(cerca, &QPushButton::clicked, this, [this, k = f.key] { ComCerca_Click(k); });
            m_pdfCerca.insert(key, cerca);
            fields->addWidget(cerca, row, col + 3);
        } else if (f.key == QLatin1String("EmailToTemp")) {
            ComHlpEmail = new QPushButton(QStringLiteral("Clienti..."), page);
            ComHlpEmail->setObjectName(QStringLiteral("ComHlpEmail"));
            ComHlpEmail->setToolTip(QStringLiteral("Cerca l'indirizzo email di un cliente"));
            ComHlpEmail->setEnabled(m_env.db != nullptr);
            connect(ComHlpEmail, &QPushButton::clicked, this, &FrmSceltaStam::ComHlpEmail_Click);
            fields->addWidget(ComHlpEmail, row, col + 3);
        }
    }
    fields->setColumnStretch(2, 1);
    fields->setColumnStretch(7, 1);
    fields->setColumnMinimumWidth(4, 16);

    auto *fraFile = new QGroupBox(QStringLiteral("File Ini"), page);
    auto *fileLayout = new QHBoxLayout(fraFile);
    OptIniPdf[0] = new QRadioButton(QStringLiteral("Parametri comuni a tutti i terminali"), fraFile);
    OptIniPdf[1] = new QRadioButton(QStringLiteral("Parametri di questo terminale"), fraFile);
    OptIniPdf[0]->setChecked(true);
    fileLayout->addWidget(OptIniPdf[0]);
    fileLayout->addWidget(OptIniPdf[1]);
    fileLayout->addStretch();
    ComSalvaIni = new QPushButton(QStringLiteral("&Salva su file Ini"), page);
    ComRileggiIni = new QPushButton(QStringLiteral("&Rileggi da file Ini"), page);
    ComCancIni = new QPushButton(QStringLiteral("&Cancella su file Ini"), page);
    ComOkPdf = new QPushButton(QStringLiteral("&Ok"), page);
    ComAnnullaPdf = new QPushButton(QStringLiteral("&Annulla"), page);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(ComSalvaIni);
    buttons->addWidget(ComRileggiIni);
    buttons->addWidget(ComCancIni);
    buttons->addStretch();
    buttons->addWidget(ComOkPdf);
    buttons->addWidget(ComAnnullaPdf);
    connect(ComSalvaIni, &QPushButton::clicked, this, &FrmSceltaStam::ComSalvaIni_Click);
    connect(ComRileggiIni, &QPushButton::clicked, this, &FrmSceltaStam::ComRileggiIni_Click);
    connect(ComCancIni, &QPushButton::clicked, this, &FrmSceltaStam::ComCancIni_Click);
    connect(ComOkPdf, &QPushButton::clicked, this, &FrmSceltaStam::ComOkPdf_Click);
    connect(ComAnnullaPdf, &QPushButton::clicked, this, &FrmSceltaStam::ComAnnullaPdf_Click);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addWidget(fraFile);
    layout->addLayout(buttons);
    return page;
}

void FrmSceltaStam::PdfEmailSetValue(const QString &key, const QString &value)
{
    QWidget *editor = PdfEmailEditor(key);
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        line->setText(value);
        line->setCursorPosition(0);  // a long value shows its beginning
    } else if (auto *box = qobject_cast<QCheckBox *>(editor)) {
        PdfEmailParams p;
        p.set(key, value);
        box->setChecked(p.flag(key));
    } else if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        int index = -1;
        for (int i = 0; i < combo->count(); ++i)
            if (combo->itemData(i).toString().compare(value.trimmed(), Qt::CaseInsensitive) == 0)
                index = i;
        if (index < 0 && !value.trimmed().isEmpty()) {
            // A value the list does not have stays, shown as it is and marked invalid.
            combo->addItem(value.trimmed(), value.trimmed());
            index = combo->count() - 1;
        }
        combo->setCurrentIndex(index);
    }
    markPdfField(key);
}

PdfEmailParams FrmSceltaStam::PdfEmailPageParams() const
{
    PdfEmailParams p;
    for (const PdfEmailField &f : PdfEmailPageFields()) {
        QWidget *editor = PdfEmailEditor(f.key);
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            p.set(f.key, f.kind == PdfEmailField::Password ? line->text() : line->text().trimmed());
        else if (auto *box = qobject_cast<QCheckBox *>(editor))
            p.set(f.key, box->isChecked() ? QStringLiteral("S") : QStringLiteral("N"));
        else if (auto *combo = qobject_cast<QComboBox *>(editor))
            p.set(f.key, combo->currentIndex() < 0 ? QString() : combo->currentData().toString());
    }
    // The stored texts are no field of the page: they stay as read.
    p.set(QStringLiteral("EmailOggetto"), m_pdfConfirmed.value(QStringLiteral("EmailOggetto")));
    p.set(QStringLiteral("EmailTesto"), m_pdfConfirmed.value(QStringLiteral("EmailTesto")));
    return p;
}

bool FrmSceltaStam::PdfEmailInvalid(const QString &key) const
{
    QWidget *editor = PdfEmailEditor(key);
    return editor && editor->property("pdfInvalid").toBool();
}

void FrmSceltaStam::showPdfEmailValues(const PdfEmailParams &params)
{
    const bool wasLoading = m_loading;
    m_loading = true;
    for (const PdfEmailField &f : PdfEmailPageFields())
        PdfEmailSetValue(f.key, params.value(f.key));
    m_loading = wasLoading;
    m_pdfDirty = false;
}

void FrmSceltaStam::markPdfField(const QString &key)
{
    QWidget *editor = PdfEmailEditor(key);
    if (!editor)
        return;
    const QString why = PdfEmailFieldError(key, PdfEmailPageParams().value(key));
    editor->setProperty("pdfInvalid", !why.isEmpty());
    editor->setStyleSheet(why.isEmpty() ? QString() : QStringLiteral("background-color: #ffd6d6;"));
    editor->setToolTip(why);
    if (!m_loading)
        m_pdfDirty = true;
}

void FrmSceltaStam::showPdfBoxes()
{
    const PdfEmailParams &p = m_pdfConfirmed;
    ChePdfAutom->setVisible(!PdfPrinter(p).isEmpty());
    CheInviaEmail->setVisible(p.flag(QStringLiteral("StampeEmail")));
}

QStringList FrmSceltaStam::tickedPdfKeys() const
{
    QStringList keys;
    for (const PdfEmailField &f : PdfEmailPageFields())
        if (PdfEmailTick(f.key)->isChecked())
            keys << f.key;
    return keys;
}

bool FrmSceltaStam::confirm(const QString &question)
{
    if (!m_env.sink)
        return true;
    // The user pressed "&Annulla" or closed the window: that is the answer of a run without one.
    return m_env.sink->msgCom(question, {QStringLiteral("&Sì"), QStringLiteral("&No")}, 1) == 1;
}

void FrmSceltaStam::ComOkPdf_Click()
{
    const PdfEmailParams p = PdfEmailPageParams();
    if (oiRichDatiEmail == RichDatiEmailMode) {
        if (p.value(QStringLiteral("EmailLogin")).isEmpty() || p.value(QStringLiteral("EmailPwd")).isEmpty()) {
            tell(PdfEmailRecipientMessage());
            return;
        }
        accept();
        return;
    }
    const QString refusal =
        PdfEmailPageRefusal(p, PdfEmailInvalidFields(p), m_options.ParamGet(QStringLiteral("EmailInvia")).toBool());
    if (!refusal.isEmpty()) {
        tell(refusal);
        return;
    }
    p.StoreIn(m_options);
    m_pdfConfirmed = p;
    m_pdfDirty = false;
    showPdfBoxes();
    TabPagine->setCurrentIndex(0);
}

void FrmSceltaStam::ComAnnullaPdf_Click()
{
    if (oiRichDatiEmail == RichDatiEmailMode) {
        if (confirm(PdfEmailCancelQuestion(true))) {
            m_cancelAsked = true;
            reject();
        }
        return;
    }
    if (m_pdfDirty && !confirm(PdfEmailCancelQuestion(false)))
        return;
    showPdfEmailValues(m_pdfConfirmed);
    TabPagine->setCurrentIndex(0);
}

void FrmSceltaStam::ComSalvaIni_Click()
{
    if (!m_env.menu)
        return tell(QStringLiteral("Menu principale non disponibile: parametri non salvati"));
    const PdfEmailParams p = PdfEmailPageParams();
    const QString refusal =
        PdfEmailPageRefusal(p, PdfEmailInvalidFields(p), m_options.ParamGet(QStringLiteral("EmailInvia")).toBool());
    if (!refusal.isEmpty())
        return tell(refusal);
    const QStringList keys = tickedPdfKeys();
    QString error;
    if (!SavePdfEmailParams(*m_env.menu, p, keys, OptIniPdf[0]->isChecked(), &error))
        return tell(error);
    // The runs of this form use what was saved, also where an earlier "&Ok" had set it.
    for (const QString &key : keys) {
        m_pdfConfirmed.set(key, p.value(key));
        if (m_options.ParamExists(key))
            m_options.ParamSet(key, PrintOptions::ParamAny, p.value(key));
    }
    showPdfBoxes();
    tell(QStringLiteral("Parametri salvati: ") + keys.join(QStringLiteral(", ")));
}

void FrmSceltaStam::ComRileggiIni_Click()
{
    if (!m_env.menu)
        return tell(QStringLiteral("Menu principale non disponibile: parametri non riletti"));
    PdfEmailParams p = PdfEmailPageParams();
    QString error;
    if (!RereadPdfEmailParams(*m_env.menu, tickedPdfKeys(), OptIniPdf[0]->isChecked(), &p, &error))
        return tell(error);
    for (const QString &key : tickedPdfKeys())
        PdfEmailSetValue(key, p.value(key));
}

void FrmSceltaStam::ComCancIni_Click()
{
    if (!m_env.menu)
        return tell(QStringLiteral("Menu principale non disponibile: parametri non cancellati"));
    const QStringList keys = tickedPdfKeys();
    QString error;
    if (!DeletePdfEmailParams(*m_env.menu, keys, OptIniPdf[0]->isChecked(), &error))
        return tell(error);
    // The page shows what the runs read now.
    PdfEmailParams now = PdfEmailPageParams();
    if (!RereadPdfEmailParams(*m_env.menu, keys, false, &now, &error))
        return tell(error);
    const bool wasDirty = m_pdfDirty;
    for (const QString &key : keys) {
        PdfEmailSetValue(key, now.value(key));
        m_pdfConfirmed.set(key, now.value(key));
        if (m_options.ParamExists(key))
            m_options.ParamSet(key, PrintOptions::ParamAny, now.value(key));
    }
    m_pdfDirty = wasDirty;
    showPdfBoxes();
    tell(QStringLiteral("Parametri cancellati: ") + keys.join(QStringLiteral(", ")));
}

QString FrmSceltaStam::defaultPath(const PdfEmailField &field, const QString &current)
{
    if (field.kind == PdfEmailField::Folder)
        return QFileDialog::getExistingDirectory(this, field.title, current);
    const QStringList filters = DialogFilters(field.filter);
    if (field.key == QLatin1String("EmailCertificati"))
        return QFileDialog::getOpenFileName(this, field.title, current, filters.join(QStringLiteral(";;")));
    return QFileDialog::getSaveFileName(this, field.title, current, filters.join(QStringLiteral(";;")), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

void FrmSceltaStam::ComCerca_Click(const QString &key)
{
    const PdfEmailField *field = PdfEmailPageField(key);
    if (!field)
        return;
    const QString chosen = askPath(*field, PdfEmailPageParams().value(key));
    if (!chosen.isEmpty())
        PdfEmailSetValue(key, QDir::toNativeSeparators(chosen));
}

void FrmSceltaStam::ComHlpEmail_Click()
{
    if (!m_env.db) {
        tell(QStringLiteral("Archivio dei clienti non disponibile"));
        return;
    }
    const QStringList labels = CustomerEmailLabels(m_env);
    const int column = CustomerEmailColumn(m_env, PdfEmailPageParams().value(QStringLiteral("EmailTipoNum")));
    DecodeService decoder(*m_env.db);
    auto rows = std::make_shared<QList<LookupRow>>();
    QString failure;
    FrmAiutoLookup lookup(this);
    lookup.setWindowTitle(QStringLiteral("Email dei clienti"));
    lookup.setRowSource(
        [&decoder, rows, &failure](const QString &filter) {
            try {
                *rows = decoder.Rows(QStringLiteral("Conto"), CustomerEmailWhere(), CustomerEmailColumns(), filter, 500);
            } catch (const std::exception &e) {
                failure = QString::fromUtf8(e.what());
                rows->clear();
            }
            return *rows;
        },
        500, labels);
    lookup.setFilterText(QString());
    if (!failure.isEmpty()) {
        tell(QStringLiteral("Ricerca dei clienti non riuscita: ") + failure);
        return;
    }
    if (runLookup(lookup) != QDialog::Accepted)
        return;
    for (const LookupRow &row : *rows) {
        if (row.code != lookup.chosenCode())
            continue;
        const QString address = CustomerEmailOf(row.extra, column);
        if (address.isEmpty())
            tell(QStringLiteral("Il cliente ") + row.description + QStringLiteral(" non ha un indirizzo email"));
        else
            PdfEmailSetValue(QStringLiteral("EmailToTemp"), address);
        return;
    }
}

bool FrmSceltaStam::RichDatiEmail(bool pbLogin, bool pbPwd, QString *login, QString *pwd)
{
    oiRichDatiEmail = RichDatiEmailMode;
    m_cancelAsked = false;
    setWindowTitle(QStringLiteral("Login e password per l'invio dell'email"));
    TabPagine->setCurrentWidget(PagPdfEmail);
    TabPagine->setTabEnabled(0, false);
    for (QWidget *w : PagPdfEmail->findChildren<QWidget *>())
        if (qobject_cast<QLineEdit *>(w) || qobject_cast<QCheckBox *>(w) || qobject_cast<QComboBox *>(w)
            || qobject_cast<QPushButton *>(w) || qobject_cast<QRadioButton *>(w))
            w->setEnabled(false);
    QWidget *loginBox = PdfEmailEditor(QStringLiteral("EmailLogin"));
    QWidget *pwdBox = PdfEmailEditor(QStringLiteral("EmailPwd"));
    if (login)
        PdfEmailSetValue(QStringLiteral("EmailLogin"), *login);
    if (pwd)
        PdfEmailSetValue(QStringLiteral("EmailPwd"), *pwd);
    loginBox->setEnabled(pbLogin);
    pwdBox->setEnabled(pbPwd);
    ComOkPdf->setEnabled(true);
    ComAnnullaPdf->setEnabled(true);
    (pbLogin ? loginBox : pwdBox)->setFocus();
    if (runModal(*this) != QDialog::Accepted)
        return false;
    const PdfEmailParams p = PdfEmailPageParams();
    if (login)
        *login = p.value(QStringLiteral("EmailLogin"));
    if (pwd)
        *pwd = p.value(QStringLiteral("EmailPwd"));
    return true;
}

} // namespace kem
