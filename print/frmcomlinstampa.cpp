#include "print/frmcomlinstampa.h"

#include "print/aziendautilstampe.h"
#include "common/messages.h"
#include "print/defaultprinter.h"
#include "print/frmstampaincorso.h"
#include "print/printersessions.h"
#include "platform/printlib/printoptions.h"

#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kem {

FrmComlinStampa::FrmComlinStampa(AziendaUtilStampe &util, std::shared_ptr<PrintOptions> options, QWidget *parent)
    : QDialog(parent), m_util(util), m_options(std::move(options)), m_list(util)
{
    setObjectName(QStringLiteral("FrmComlinStampa"));
    setWindowTitle(QStringLiteral("Stampa dati della lista"));
    font.Name = QStringLiteral("Arial");
    font.Size = 10;

    auto *type = new QGroupBox(this);
    auto *typeLayout = new QVBoxLayout(type);
    OptTipsta[0] = new QRadioButton(QStringLiteral("Tutte le colonne "), type);
    OptTipsta[1] = new QRadioButton(QStringLiteral("Solo le colonne visibili"), type);
    typeLayout->addWidget(OptTipsta[0]);
    typeLayout->addWidget(OptTipsta[1]);
    auto *orient = new QGroupBox(this);
    auto *orientLayout = new QVBoxLayout(orient);
    OptOrientamento[0] = new QRadioButton(QStringLiteral("Verticale"), orient);
    OptOrientamento[1] = new QRadioButton(QStringLiteral("Orizzontale"), orient);
    orientLayout->addWidget(OptOrientamento[0]);
    orientLayout->addWidget(OptOrientamento[1]);
    CmdSceFont = new QPushButton(QStringLiteral("Scegli Font"), this);
    ComUsaDef = new QPushButton(QStringLiteral("Stampante predefinita"), this);
    comSceStam = new QPushButton(QStringLiteral("Seleziona Stampante"), this);
    labStaAttuale = new QLabel(QStringLiteral("Stampante attuale:"), this);
    CmdStampa = new QPushButton(QStringLiteral("&STAMPA"), this);
    CmdEsci = new QPushButton(QStringLiteral("&ESCI"), this);

    auto *grid = new QGridLayout(this);
    grid->addWidget(type, 0, 0);
    grid->addWidget(orient, 0, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CmdSceFont);
    buttons->addWidget(ComUsaDef);
    buttons->addWidget(comSceStam);
    grid->addLayout(buttons, 1, 0, 1, 2);
    grid->addWidget(labStaAttuale, 2, 0, 1, 2);
    auto *actions = new QHBoxLayout;
    actions->addStretch();
    actions->addWidget(CmdStampa);
    actions->addWidget(CmdEsci);
    grid->addLayout(actions, 3, 0, 1, 2);

    m_progress = new frmStampaInCorso(this);
    m_list.ogSta().OptionsSet(m_options);

    connect(CmdStampa, &QPushButton::clicked, this, &FrmComlinStampa::CmdStampa_Click);
    connect(CmdEsci, &QPushButton::clicked, this, &QDialog::reject);
    connect(CmdSceFont, &QPushButton::clicked, this, &FrmComlinStampa::CmdSceFont_Click);
    connect(ComUsaDef, &QPushButton::clicked, this, &FrmComlinStampa::ComUsaDef_Click);
    connect(comSceStam, &QPushButton::clicked, this, [this] {
        if (chooseDestination && m_options)
            chooseDestination(*m_options);
        VisStaAttuale();
    });
    VisStaAttuale();
}

FrmComlinStampa::~FrmComlinStampa()
{
    if (m_progress)
        m_progress->Bind(nullptr);
}

void FrmComlinStampa::tell(const QString &text)
{
    lastError = text;
    if (m_util.Env().sink)
        m_util.Env().sink->msgCom(text, {QStringLiteral("&Ok")});
}

void FrmComlinStampa::VisStaAttuale()
{
    QString where;
    const int staVid = m_options ? m_options->StaVid : PrintOptions::Printer;
    switch (staVid) {
    case PrintOptions::Printer: {
        const QString name = m_options && !m_options->NomeStampante.isEmpty() ? m_options->NomeStampante
                                                                             : DefaultPrinter(m_util.Env()).Current();
        where = name;
        break;
    }
    case PrintOptions::Preview: where = QStringLiteral("Video"); break;
    case PrintOptions::File: where = QStringLiteral("File ") + m_options->FileName; break;
    default: where = QStringLiteral("Fissa"); break;
    }
    labStaAttuale->setText(QStringLiteral("Stampante attuale: ") + where);
}

void FrmComlinStampa::CmdSceFont_Click()
{
    if (chooseFont) {
        chooseFont(font);
        return;
    }
    bool ok = false;
    QFont start(PrintFont::SystemFamily(QStringLiteral("Arial")), int(font.Size));
    const QFont f = QFontDialog::getFont(&ok, start, this, QStringLiteral("Scegliere il font per la stampa"));
    if (!ok)
        return;
    font.Name = f.family();
    font.Size = f.pointSizeF() > 0 ? f.pointSizeF() : font.Size;
    font.Bold = f.bold();
    font.Italic = f.italic();
    font.Underline = f.underline();
    font.Strikethrough = f.strikeOut();
}

void FrmComlinStampa::ComUsaDef_Click()
{
    if (!m_options)
        return;
    const PrintEnv &env = m_util.Env();
    const QString def = DefaultPrinter(env).Current();
    const PrinterSessions sessions(env.ini(QStringLiteral("Stampanti"), QStringLiteral("TermSessAggNome")),
                                   env.terminalSession);
    if (sessions.BelongsToOther(def)) {
        tell(QStringLiteral("La stampante (") + def + QStringLiteral(") predefinita appartiene ad un'altra sessione\r\n"
                                                               "Scegliere una stampante o cambiare la stampante predefinita"));
        return;
    }
    m_options->NomeStampante = def;
    m_options->NomePorta.clear();
    m_options->ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, 0);
    m_options->ParamSet(QStringLiteral("NumTipoCarta"), PrintOptions::ParamInteger, 0);
    VisStaAttuale();
}

void FrmComlinStampa::CmdStampa_Click()
{
    lastError.clear();
    if (m_util.oiStaAtt != 0) {
        tell(QStringLiteral("Si può lanciare solo una stampa alla volta"));
        return;
    }
    if (!m_grid || !m_grid->model() || !m_options)
        return;
    QString type;
    if (OptTipsta[0]->isChecked())
        type = QStringLiteral("T");
    else if (OptTipsta[1]->isChecked())
        type = QStringLiteral("V");
    if (type.isEmpty()) {
        tell(QStringLiteral("Scegliere un tipo di stampa"));
        return;
    }
    const int orientation = OptOrientamento[0]->isChecked() ? GridListPrint::Vertical
                            : OptOrientamento[1]->isChecked() ? GridListPrint::Horizontal : 0;
    if (orientation == 0) {
        tell(QStringLiteral("Scegliere un' orientamento"));
        return;
    }
    if (m_options->StaVid == PrintOptions::Printer && !m_options->NomeStampante.isEmpty()) {
        const DefaultPrinter printers(m_util.Env());
        QString error;
        if (printers.Current() != m_options->NomeStampante && !printers.Apply(m_options->NomeStampante, &error)) {
            tell(QStringLiteral("Impossibile impostare la stampante predefinita\r\nper stampare su ") + m_options->NomeStampante
                 + QStringLiteral(" uscire dal programma e rientrare\r\nOppure scegliere un'altra stampante"));
            return;
        }
    }
    QList<bool> visible;
    for (int c = 0; c < m_grid->model()->columnCount(); ++c)
        visible.append(!m_grid->isColumnHidden(c));

    PrintReport &report = m_list.ogSta();
    report.OptionsSet(m_options);
    if (m_options->StaVid == PrintOptions::Preview && bindPreview)
        bindPreview(report);
    m_progress->Prepare(report, QStringLiteral("Stampa ") + m_title);
    m_progress->show();
    report.JobModeSet(6);
    QString error;
    const bool ok = m_list.AvviaStampa(type, orientation, *m_grid->model(), visible, font, m_title, &error);
    m_progress->hide();
    if (!ok)
        tell(QStringLiteral("(") + m_title + QStringLiteral(") Errore durante la stampa\r\n") + error);
}

} // namespace kem
