#include "bom/frmprelvo.h"

#include "bom/prelvo.h"
#include "reportkit/reportprintservices.h"
#include "common/aziendautil.h"
#include "common/codefieldwidgets.h"
#include "common/formservices.h"
#include "common/funvarie.h"
#include "common/messages.h"
#include "platform/printlib/printoptions.h"
#include "platform/util/kemutil.h"
#include "print/frmsceltastam.h"
#include "print/frmstampaincorso.h"
#include "print/frmvstampa.h"
#include "print/optionsini.h"
#include "print/sceltastamlogic.h"
#include "startup/formregistry.h"
#include "startup/programcontext.h"
#include "startup/startupdialogs.h"
#include "startup/utilclient.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kem {

namespace {

const QString kOk = QStringLiteral("&Ok");
constexpr int kHelpContext = 55050;
constexpr int kKeyF2 = 113;

} // namespace

FrmPrelvo::FrmPrelvo(ProgramContext &ctx, ReportPrintServices &print, QWidget *parent)
    : ReportForm(ctx, print, QString::fromLatin1(kFormName), parent)
{
    setObjectName(QStringLiteral("FrmPrelvo"));
    setWindowTitle(QStringLiteral("Stampa distinta base"));
    build();
    connectControls();
}

FrmPrelvo::~FrmPrelvo() = default;

void FrmPrelvo::build()
{
    auto makeBox = [this](int index, QWidget *parent) {
        auto *box = new QLineEdit(parent);
        box->setObjectName(QStringLiteral("txt%1").arg(index));
        box->installEventFilter(this);
        txt.insert(index, box);
        return box;
    };
    auto makeCaption = [this](int index, const QString &text, QWidget *parent) {
        auto *l = new QLabel(text, parent);
        l->setObjectName(QStringLiteral("labTxt%1").arg(index));
        labTxt.insert(index, l);
        return l;
    };
    auto makeCode = [&](int index, const QString &caption, QWidget *parent, QGridLayout *grid, int row) {
        const CodeFieldRow r = AddCodeFieldRow(grid, row, index, caption, parent);
        r.box->installEventFilter(this);
        txt.insert(index, r.box);
        labTxt.insert(index, r.caption);
        ComHlp.insert(index, r.button);
        lab.insert(index, r.description);
    };
    auto makeCheck = [this](const QString &name, const QString &caption) {
        auto *c = new QCheckBox(caption, this);
        c->setObjectName(name);
        c->setLayoutDirection(Qt::RightToLeft);  // caption first, box after it
        return c;
    };

    auto *top = new QVBoxLayout(this);

    auto *codes = new QGridLayout;
    codes->setColumnStretch(3, 1);
    makeCode(10, QStringLiteral("Articolo da:"), this, codes, 0);
    makeCode(20, QStringLiteral("a:"), this, codes, 1);
    top->addLayout(codes);

    auto *grid = new QGridLayout;
    grid->setColumnStretch(2, 1);
    int row = 0;
    LabTipoDiBaArt = new QLabel(QStringLiteral("Articoli per i quali stampare la distinta:"), this);
    LabTipoDiBaArt->setObjectName(QStringLiteral("LabTipoDiBaArt"));
    CobTipoDiBaArt = new QComboBox(this);
    CobTipoDiBaArt->setObjectName(QStringLiteral("CobTipoDiBaArt"));
    CobTipoDiBaArt->addItems({QStringLiteral("Tutti"), QStringLiteral("Solo Prodotti Finiti"),
                              QStringLiteral("Solo Semilavorati")});
    grid->addWidget(LabTipoDiBaArt, row, 0);
    grid->addWidget(CobTipoDiBaArt, row++, 1);

    grid->addWidget(makeCaption(40, QStringLiteral("Quantità Prodotta:"), this), row, 0);
    grid->addWidget(makeBox(40, this), row++, 1);
    txt[40]->setText(QStringLiteral("1"));
    txt[40]->setAlignment(Qt::AlignRight);

    CheEspScal = makeCheck(QStringLiteral("CheEspScal"), QStringLiteral("Esplosione Scalare:"));
    CheEspScal->setChecked(true);
    grid->addWidget(CheEspScal, row++, 0, Qt::AlignLeft | Qt::AlignAbsolute);
    grid->addWidget(makeCaption(30, QStringLiteral("Livello di Esplosione:"), this), row, 0);
    grid->addWidget(makeBox(30, this), row++, 1);
    txt[30]->setAlignment(Qt::AlignRight);

    CheSalPag = makeCheck(QStringLiteral("CheSalPag"), QStringLiteral("Salto Pagina ad ogni Nuova Distinta:"));
    grid->addWidget(CheSalPag, row++, 0, 1, 2, Qt::AlignLeft | Qt::AlignAbsolute);

    CheStampoCosti = makeCheck(QStringLiteral("CheStampoCosti"), QStringLiteral("Stampo i costi:"));
    CheStampoCosti->setChecked(true);
    grid->addWidget(CheStampoCosti, row++, 0, Qt::AlignLeft | Qt::AlignAbsolute);
    top->addLayout(grid);

    PicCosti = new QFrame(this);
    PicCosti->setObjectName(QStringLiteral("PicCosti"));
    static_cast<QFrame *>(PicCosti)->setFrameShape(QFrame::StyledPanel);
    auto *costi = new QGridLayout(PicCosti);
    costi->setColumnStretch(3, 1);
    Label2 = new QLabel(QStringLiteral("Come valorizzare:"), PicCosti);
    Label2->setObjectName(QStringLiteral("Label2"));
    CobQualePrezzo = new QComboBox(PicCosti);
    CobQualePrezzo->setObjectName(QStringLiteral("CobQualePrezzo"));
    CobQualePrezzo->addItems({QStringLiteral("Come dich. in distinta"), QStringLiteral("Costo Ultimo"),
                              QStringLiteral("Listino"), QStringLiteral("Costo medio"), QStringLiteral("Standard")});
    costi->addWidget(Label2, 0, 0);
    costi->addWidget(CobQualePrezzo, 0, 1, 1, 2);
    makeCode(5, QStringLiteral("Cod.Listino:"), PicCosti, costi, 1);
    txt[5]->setMaxLength(10);
    top->addWidget(PicCosti);

    auto *images = new QVBoxLayout;
    CheStaImg = makeCheck(QStringLiteral("CheStaImg"), QStringLiteral("Stampa immagine articolo principale a fine pagina:"));
    CheStaImgRiga = makeCheck(QStringLiteral("CheStaImgRiga"), QStringLiteral("Stampa immagine in ogni riga:"));
    images->addWidget(CheStaImg, 0, Qt::AlignLeft | Qt::AlignAbsolute);
    images->addWidget(CheStaImgRiga, 0, Qt::AlignLeft | Qt::AlignAbsolute);
    top->addLayout(images);

    PicQtaDim = new QFrame(this);
    PicQtaDim->setObjectName(QStringLiteral("PicQtaDim"));
    static_cast<QFrame *>(PicQtaDim)->setFrameShape(QFrame::StyledPanel);
    auto *dim = new QGridLayout(PicQtaDim);
    CheQtaDaDimen = new QCheckBox(QStringLiteral("Calcolo quantità da dimensioni articolo:"), PicQtaDim);
    CheQtaDaDimen->setObjectName(QStringLiteral("CheQtaDaDimen"));
    CheQtaDaDimen->setLayoutDirection(Qt::RightToLeft);
    dim->addWidget(CheQtaDaDimen, 0, 0, 1, 6, Qt::AlignLeft | Qt::AlignAbsolute);
    auto *dimCaption = new QLabel(QStringLiteral("Dimensioni per calcolo quantità:"), PicQtaDim);
    dimCaption->setObjectName(QStringLiteral("labDimensioni"));
    dim->addWidget(dimCaption, 1, 0, 1, 6);
    int col = 0;
    for (const auto &[index, caption] : {std::pair{70, "Altezza:"}, std::pair{60, "Lunghezza:"}, std::pair{50, "Larghezza:"}}) {
        dim->addWidget(makeCaption(index, QString::fromUtf8(caption), PicQtaDim), 2, col++);
        QLineEdit *box = makeBox(index, PicQtaDim);
        box->setAlignment(Qt::AlignRight);
        dim->addWidget(box, 2, col++);
    }
    top->addWidget(PicQtaDim);
    PicQtaDim->setVisible(false);

    AddRunButtons(top);

    setTabOrder(txt[10], txt[20]);
    setTabOrder(txt[20], CobTipoDiBaArt);
    setTabOrder(CobTipoDiBaArt, txt[40]);
    setTabOrder(txt[40], CheEspScal);
    setTabOrder(CheEspScal, txt[30]);
    setTabOrder(txt[30], CheSalPag);
    setTabOrder(CheSalPag, CheStampoCosti);
    setTabOrder(CheStampoCosti, CobQualePrezzo);
    setTabOrder(CobQualePrezzo, txt[5]);
    setTabOrder(txt[5], CheStaImg);
    setTabOrder(CheStaImg, CheStaImgRiga);
    setTabOrder(CheStaImgRiga, CheQtaDaDimen);
    setTabOrder(CheQtaDaDimen, txt[70]);
    setTabOrder(txt[70], txt[60]);
    setTabOrder(txt[60], txt[50]);
    setTabOrder(txt[50], cmdStaVid);
    setTabOrder(cmdStaVid, ComStampa);
    setTabOrder(ComStampa, comSceStam);
    setTabOrder(comSceStam, ComChiudi);
    resize(720, 520);
}

void FrmPrelvo::connectControls()
{
    connect(CheEspScal, &QCheckBox::toggled, this, [this] { CheEspScal_Click(); });
    connect(CheSalPag, &QCheckBox::toggled, this, [this] { CheSalPag_Click(); });
    connect(CheStampoCosti, &QCheckBox::toggled, this, [this] { CheStampoCosti_Click(); });
    connect(CobQualePrezzo, &QComboBox::currentIndexChanged, this, [this] { CobQualePrezzo_Click(); });
    connect(CobTipoDiBaArt, &QComboBox::currentIndexChanged, this, [this] { CobTipoDiBaArt_Click(); });
    for (auto it = ComHlp.cbegin(); it != ComHlp.cend(); ++it) {
        const int index = it.key();
        connect(it.value(), &QPushButton::clicked, this, [this, index] { ComHlp_Click(index); });
    }
}

std::unique_ptr<ReportRun> FrmPrelvo::CreateReport(Database &db, AziendaUtilStampe &stampe,
                                                   MessageSink &sink)
{
    return std::make_unique<Prelvo>(db, ctx_.params, stampe, sink);
}

// ---------------------------------------------------------------------------------------------
// Loading and closing
// ---------------------------------------------------------------------------------------------

void FrmPrelvo::Form_Load()
{
    setProperty("HelpContextID", kHelpContext);
    oiLoadOk = -1;
    try {
        CobTipoDiBaArt->setCurrentIndex(1);
        CobTipoDiBaArt_Click();
        CobQualePrezzo->setCurrentIndex(0);
        txt[5]->setEnabled(false);
        ComHlp[5]->setEnabled(false);
        CheEspScal_Click();
        CheSalPag_Click();

        caption_ = windowTitle();
        LoadWithServices();
        LoadPrintOptions();
        PicCosti->setVisible(true);

        MenuServer *menu = ctx_.menu();
        qtaDaDimen_ = menu && BomSelection::CompanyQtaDaDimen(*menu);
        if (qtaDaDimen_) {
            PicQtaDim->setVisible(true);
            labTxt[40]->setText(QStringLiteral("Num.Pezzi:"));
            CheQtaDaDimen->setChecked(true);
        } else {
            PicQtaDim->setVisible(false);
        }

        VisStaAttuale();
        ActivateWithServices();
        oiLoadOk = 1;
    } catch (const std::exception &e) {
        formError(e, caption_);
        oiLoadOk = -1;
    }
}

// ---------------------------------------------------------------------------------------------
// Menu link
// ---------------------------------------------------------------------------------------------

void FrmPrelvo::MenuFrm()
{
    TornaAlMenu(ctx_);
}

void FrmPrelvo::PassaA()
{
    OfferToMenu(QStringLiteral("Stampa Distinta Base"));
}

// ---------------------------------------------------------------------------------------------
// Option controls
// ---------------------------------------------------------------------------------------------

void FrmPrelvo::CheEspScal_Click()
{
    const bool on = CheEspScal->isChecked();
    labTxt[30]->setEnabled(on);
    txt[30]->setVisible(on);
}

void FrmPrelvo::CheSalPag_Click()
{
    if (CheSalPag->isChecked()) {
        CheStaImg->setEnabled(true);
    } else {
        CheStaImg->setEnabled(false);
        CheStaImg->setChecked(false);
    }
}

void FrmPrelvo::CheStampoCosti_Click()
{
    if (CheStampoCosti->isChecked()) {
        PicCosti->setVisible(true);
    } else {
        PicCosti->setVisible(false);
        txt[5]->clear();
        lab[5]->clear();
    }
}

void FrmPrelvo::CobQualePrezzo_Click()
{
    const bool listino = CobQualePrezzo->currentIndex() == 2;
    txt[5]->setEnabled(listino);
    ComHlp[5]->setEnabled(listino);
    if (!listino) {
        txt[5]->clear();
        lab[5]->clear();
    }
}

void FrmPrelvo::CobTipoDiBaArt_Click()
{
    const int index = CobTipoDiBaArt->currentIndex();
    if (index == 1 || index == 2)
        kindFilter_ = QStringLiteral(" DistBase = ") + SqlLiteral(index, VarKind::Int16);
    else
        kindFilter_.clear();
}

// ---------------------------------------------------------------------------------------------
// Text boxes
// ---------------------------------------------------------------------------------------------

int FrmPrelvo::indexOf(QObject *box) const
{
    for (auto it = txt.cbegin(); it != txt.cend(); ++it)
        if (it.value() == box)
            return it.key();
    return -1;
}

bool FrmPrelvo::eventFilter(QObject *watched, QEvent *event)
{
    const int index = indexOf(watched);
    if (index < 0 || inHandler_)
        return ReportFormBase::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        Txt_GotFocus(index);
        break;
    case QEvent::FocusOut: {
        // Focus taken by a lookup, a message or another window is not leaving the box.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Txt_LostFocus(index);
        break;
    }
    case QEvent::KeyRelease: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat())
            Txt_KeyUp(index, VbKeyCode(key), VbShift(key->modifiers()));
        break;
    }
    default:
        break;
    }
    return ReportFormBase::eventFilter(watched, event);
}

bool FrmPrelvo::IsInError(int index) const
{
    QLineEdit *box = txt.value(index);
    return box && BackColour(box, ctx_.params.colBackNormal) == ctx_.params.colErr;
}

void FrmPrelvo::Txt_GotFocus(int index)
{
    QLineEdit *box = txt.value(index);
    if (!box)
        return;
    if (focusBack_ != 0) {
        QLineEdit *back = txt.value(focusBack_);
        focusBack_ = 0;
        if (back && back != box) {
            back->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    if (FormServices *s = services())
        s->TxtGotFocus(this, box);
}

void FrmPrelvo::Txt_KeyUp(int index, int keyCode, int shift)
{
    if (keyCode < 113 || keyCode > 116 || shift != 0)
        return;
    FormServices *s = services();
    if (!s)
        return;
    inHandler_ = true;
    if (index == 5)
        s->CodeFieldKeyUp(QStringLiteral("Listino"), txt[5], lab[5], keyCode, shift);
    else if (index == 10 || index == 20)
        s->CodeFieldKeyUp(QStringLiteral("Articolo"), txt[index], lab[index], keyCode, shift, kindFilter_);
    inHandler_ = false;
}

void FrmPrelvo::ComHlp_Click(int index)
{
    FormServices *s = services();
    QLineEdit *box = txt.value(index);
    if (!s || !box || !box->isEnabled())
        return;
    s->ComHlpClick(box, kKeyF2, [this, index](int keyCode, int shift) { Txt_KeyUp(index, keyCode, shift); });
}

bool FrmPrelvo::numericCheck(int index, const QString &format)
{
    QLineEdit *box = txt[index];
    const QString text = box->text().trimmed();
    bool ok = true;
    const double value = TextToNum(text, &ok);
    if (!ok) {
        SetBackColour(box, ctx_.params.colErr);
        return false;
    }
    SetBackColour(box, ctx_.params.colBackLostFocus);
    if (!text.isEmpty() && !format.isEmpty() && value != 0)
        box->setText(FormatNum(value, format));
    return true;
}

void FrmPrelvo::Txt_LostFocus(int index)
{
    QLineEdit *box = txt.value(index);
    if (!box)
        return;
    FormServices *s = services();
    inHandler_ = true;
    if (s)
        s->TxtLostFocusColours(box);
    switch (index) {
    case 5:
        if (s)
            s->Decodifica(QStringLiteral("Listino"), box, lab[5]);
        break;
    case 10:
    case 20:
        if (s)
            s->Decodifica(QStringLiteral("Articolo"), box, lab[index], kindFilter_);
        if (index == 10) {
            // "a:" gets the same code, with its description and state, so the box and its
            // label never disagree.
            txt[20]->setText(txt[10]->text());
            lab[20]->setText(lab[10]->text());
            SetBackColour(txt[20], IsInError(10) ? ctx_.params.colErr : ctx_.params.colBackLostFocus);
        }
        break;
    case 30:
        if (numericCheck(30, {}) && BomSelection::LivEspInError(box->text()))
            SetBackColour(box, ctx_.params.colErr);
        break;
    case 40:
        if (numericCheck(40, NumFormat(ctx_.params.numDecQta, QChar(), QStringLiteral("#,###")))
            && BomSelection::QtaProdInError(box->text()))
            SetBackColour(box, ctx_.params.colErr);
        break;
    case 50:
    case 60:
    case 70:
        numericCheck(index, QStringLiteral("####.##"));
        break;
    default:
        break;
    }
    inHandler_ = false;
}

// ---------------------------------------------------------------------------------------------
// Running the report
// ---------------------------------------------------------------------------------------------

BomSelection FrmPrelvo::Selection() const
{
    BomSelection s;
    s.osArticoloDa = txt[10]->text();
    s.osArticoloA = txt[20]->text();
    s.oiTipoDibaArt = qint16(CobTipoDiBaArt->currentIndex());
    s.obEspScal = CheEspScal->isChecked();
    s.livEsp = txt[30]->text();
    s.qtaProd = txt[40]->text();
    s.obSaltoPag = CheSalPag->isChecked();
    s.obStampoImporti = CheStampoCosti->isChecked();
    s.obQtaDaDimen = CheQtaDaDimen->isChecked();
    s.larghezza = txt[50]->text();
    s.lunghezza = txt[60]->text();
    s.altezza = txt[70]->text();
    static const char *const kQualePrezzo[] = {"", "U", "L", "M", "S"};
    const int quale = CobQualePrezzo->currentIndex();
    s.osQualePrezzo = quale >= 0 && quale < 5 ? QString::fromLatin1(kQualePrezzo[quale]) : QString();
    s.osListino = txt[5]->text();
    s.obStaImg = CheStaImg->isChecked();
    s.obStaImgRiga = CheStaImgRiga->isChecked();
    return s;
}

void FrmPrelvo::ComStampa_Click()
{
    try {
        if (!RunAllowed())
            return;
        const BomSelection selection = Selection();
        // A list is valid as its box decoded it when it was left.
        const auto problem = selection.Validate([this](const QString &) { return !IsInError(5); });
        if (problem) {
            if (problem->messageBox)
                messageBox(problem->message);
            else
                fieldError(problem->message, txt.value(problem->field));
            return;
        }
        Prelvo &r = static_cast<Prelvo &>(report());
        selection.ApplyTo(r);
        // The cached path reads the whole run inside one read transaction; a preview waits for
        // the user between pages, so it takes the straightforward path and holds no lock.
        r.PathSet(options().StaVid == PrintOptions::Preview ? Prelvo::Path::Straightforward
                                                            : Prelvo::Path::Cached);
        RunReport();
    } catch (const std::exception &e) {
        formError(e, caption_);
    }
}

void RegisterFrmPrelvo(FormRegistry &registry, std::shared_ptr<ReportPrintServices> print)
{
    registry.Add(QString::fromLatin1(FrmPrelvo::kFormName), [print](ProgramContext &ctx) -> std::unique_ptr<ModuleForm> {
        return std::make_unique<FrmPrelvo>(ctx, *print);
    });
}

} // namespace kem
