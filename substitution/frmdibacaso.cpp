#include "substitution/frmdibacaso.h"

#include "bomcore/bomreader.h"
#include "common/codefieldwidgets.h"
#include "common/formservices.h"
#include "common/messages.h"
#include "common/waitcursor.h"
#include "platform/menu/menuserver.h"
#include "platform/util/kemutil.h"
#include "startup/formregistry.h"
#include "startup/programcontext.h"
#include "startup/utilclient.h"
#include "substitution/substitutionengine.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kem {

namespace {

constexpr int kHelpContext = 55070;
constexpr int kKeyF2 = 113;
const QString kFactorFormat = QStringLiteral("#,##0.#####");
const QString kArticolo = QStringLiteral("Articolo");


} // namespace

FrmDiBaCaSo::FrmDiBaCaSo(ProgramContext &ctx, QWidget *parent)
    : ReportFormBase(ctx, QString::fromLatin1(kFormName), parent)
{
    setObjectName(QStringLiteral("FrmDiBaCaSo"));
    setWindowTitle(QStringLiteral("Sostituzione / Cancellazione articoli di base e/o semilavorati"));
    build();
}

FrmDiBaCaSo::~FrmDiBaCaSo() = default;

void FrmDiBaCaSo::build()
{
    auto caption = [this](int index, const QString &text, QWidget *parent) {
        auto *l = new QLabel(text, parent);
        l->setObjectName(index == 10 ? QStringLiteral("label1_10") : QStringLiteral("labTxt%1").arg(index));
        labTxt.insert(index, l);
        return l;
    };
    auto box = [this](int index, QWidget *parent) {
        auto *b = new QLineEdit(parent);
        b->setObjectName(QStringLiteral("txt%1").arg(index));
        txt.insert(index, b);
        return b;
    };
    // A code box on its grid row: caption, box, lookup button, description.
    auto code = [&](int index, const QString &text, QWidget *parent, QGridLayout *grid, int row, int maxLength) {
        const CodeFieldRow r = AddCodeFieldRow(grid, row, index, text, parent, maxLength);
        if (index == 10)
            r.caption->setObjectName(QStringLiteral("label1_10"));
        labTxt.insert(index, r.caption);
        txt.insert(index, r.box);
        ComHlp.insert(index, r.button);
        lab.insert(index, r.description);
        connect(r.button, &QPushButton::clicked, this, [this, index] { ComHlp_Click(index); });
    };
    auto options = [this](const QString &name, const QString &title, const QString &a, const QString &b,
                          QRadioButton **out) {
        auto *frame = new QFrame(this);
        frame->setObjectName(name);
        frame->setFrameShape(QFrame::StyledPanel);
        auto *row = new QHBoxLayout(frame);
        row->addWidget(new QLabel(title, frame));
        for (int i = 0; i < 2; ++i) {
            out[i] = new QRadioButton(i == 0 ? a : b, frame);
            row->addWidget(out[i]);
        }
        row->addStretch();
        out[0]->setChecked(true);
        return frame;
    };

    auto *top = new QVBoxLayout(this);
    Frame1 = options(QStringLiteral("Frame1"), QStringLiteral("Tipo elaborazione:"), QStringLiteral("Sostituzione"),
                     QStringLiteral("Cancellazione"), OptTipoOpe);
    OptTipoOpe[0]->setObjectName(QStringLiteral("OptTipoOpe0"));
    OptTipoOpe[1]->setObjectName(QStringLiteral("OptTipoOpe1"));
    top->addWidget(Frame1);

    auto *codes = new QGridLayout;
    codes->setColumnStretch(3, 1);
    code(10, QStringLiteral("Articolo da sostituire:"), this, codes, 0, 30);
    auto *rangeCaption = new QLabel(QStringLiteral("Aggiornare solo le distinte base degli articoli"), this);
    rangeCaption->setObjectName(QStringLiteral("labRange"));
    codes->addWidget(rangeCaption, 1, 0, 1, 4);
    code(60, QStringLiteral("da:"), this, codes, 2, 30);
    code(70, QStringLiteral("a:"), this, codes, 3, 30);
    top->addLayout(codes);

    FraDatiSost = new QFrame(this);
    FraDatiSost->setObjectName(QStringLiteral("FraDatiSost"));
    FraDatiSost->setFrameShape(QFrame::StyledPanel);
    auto *sost = new QGridLayout(FraDatiSost);
    sost->setColumnStretch(3, 1);
    code(20, QStringLiteral("Articolo con cui sostituire:"), FraDatiSost, sost, 0, 30);
    code(30, QStringLiteral("Unità di misura"), FraDatiSost, sost, 1, 10);
    sost->addWidget(new QLabel(QStringLiteral("(lasciare vuoto per non cambiare)"), FraDatiSost), 2, 1, 1, 3);
    auto *quale = new QLabel(QStringLiteral("Quale importo:"), FraDatiSost);
    quale->setObjectName(QStringLiteral("labQualeImporto"));
    sost->addWidget(quale, 3, 0);
    CobQualeImporto = new QComboBox(FraDatiSost);
    CobQualeImporto->setObjectName(QStringLiteral("CobQualeImporto"));
    CobQualeImporto->addItems(SubstitutionSelection::QualeImportoItems());
    sost->addWidget(CobQualeImporto, 3, 1, 1, 2);
    code(50, QStringLiteral("Listino:"), FraDatiSost, sost, 4, 10);
    sost->addWidget(new QLabel(QStringLiteral("(lasciare vuoto per non cambiare)"), FraDatiSost), 5, 1, 1, 3);
    sost->addWidget(caption(40, QStringLiteral("Proporzione quantità:"), FraDatiSost), 6, 0);
    QLineEdit *factor = box(40, FraDatiSost);
    factor->setAlignment(Qt::AlignRight);
    factor->setText(QStringLiteral("1"));
    sost->addWidget(factor, 6, 1);
    sost->addWidget(new QLabel(QStringLiteral("(lasciare 1 per non cambiare le quantità)"), FraDatiSost), 6, 2, 1, 2);
    Frame2 = options(QStringLiteral("Frame2"), QStringLiteral("Tipo operazione:"), QStringLiteral("Moltiplicazione"),
                     QStringLiteral("Divisione"), OptOperatore);
    Frame2->setParent(FraDatiSost);
    OptOperatore[0]->setObjectName(QStringLiteral("OptOperatore0"));
    OptOperatore[1]->setObjectName(QStringLiteral("OptOperatore1"));
    sost->addWidget(Frame2, 7, 0, 1, 4);
    top->addWidget(FraDatiSost);

    PictInElab = new QFrame(this);
    PictInElab->setObjectName(QStringLiteral("PictInElab"));
    PictInElab->setFrameShape(QFrame::StyledPanel);
    auto *progress = new QHBoxLayout(PictInElab);
    progress->addWidget(new QLabel(QStringLiteral("In elaborazione"), PictInElab));
    txtInElab = new QLineEdit(PictInElab);
    txtInElab->setObjectName(QStringLiteral("txtInElab"));
    txtInElab->setReadOnly(true);
    txtInElab->setAlignment(Qt::AlignRight);
    progress->addWidget(txtInElab);
    progress->addWidget(new QLabel(QStringLiteral("di"), PictInElab));
    txtTotElab = new QLineEdit(PictInElab);
    txtTotElab->setObjectName(QStringLiteral("txtTotElab"));
    txtTotElab->setReadOnly(true);
    txtTotElab->setAlignment(Qt::AlignRight);
    progress->addWidget(txtTotElab);
    top->addWidget(PictInElab);
    PictInElab->setVisible(false);

    auto *buttons = new QHBoxLayout;
    ComOk = new QPushButton(QStringLiteral("&Esegui"), this);
    ComOk->setObjectName(QStringLiteral("ComOk"));
    ComChiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
    ComChiudi->setObjectName(QStringLiteral("ComChiudi"));
    buttons->addWidget(ComOk);
    buttons->addStretch();
    buttons->addWidget(ComChiudi);
    top->addStretch();
    top->addLayout(buttons);

    const QList<QWidget *> order{OptTipoOpe[0], OptTipoOpe[1], txt[10], txt[60], txt[70], txt[20], txt[30],
                                 CobQualeImporto, txt[50], txt[40], OptOperatore[0], OptOperatore[1], ComOk, ComChiudi};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    connect(OptTipoOpe[0], &QRadioButton::toggled, this, [this] { OptTipoOpe_Click(); });
    connect(ComOk, &QPushButton::clicked, this, &FrmDiBaCaSo::ComOk_Click);
    connect(ComChiudi, &QPushButton::clicked, this, &FrmDiBaCaSo::ComChiudi_Click);
    // Watched before the code-field bindings are made, so that their decoding on leaving a box
    // comes first and this form's handlers see the decoded box.
    txt[20]->installEventFilter(this);
    txt[40]->installEventFilter(this);
    resize(720, 480);
}

QString FrmDiBaCaSo::whereOf(int index) const
{
    switch (index) {
    case 10:
    case 20: return SubstitutionSelection::ComponentFilter();
    case 60:
    case 70: return SubstitutionSelection::ParentFilter();
    default: return {};
    }
}

// ---------------------------------------------------------------------------------------------
// Loading and closing
// ---------------------------------------------------------------------------------------------

void FrmDiBaCaSo::Form_Load()
{
    setProperty("HelpContextID", kHelpContext);
    oiLoadOk = -1;
    caption_ = windowTitle();
    try {
        CobQualeImporto->setCurrentIndex(0);
        OptTipoOpe_Click();
        LoadWithServices();
        if (FormServices *s = services()) {
            if (bindings_.isEmpty()) {
                const QList<QPair<int, QString>> kinds{{10, kArticolo}, {20, kArticolo}, {60, kArticolo}, {70, kArticolo},
                                                       {30, QStringLiteral("ArtUm")}, {50, QStringLiteral("Listino")}};
                for (const auto &[index, kind] : kinds)
                    bindings_ << new CodeFieldBinding(*s, this, txt[index], lab.value(index), kind,
                                                      [this, index = index] { return whereOf(index); });
            }
        }
        ActivateWithServices();
        oiLoadOk = 1;
    } catch (const std::exception &e) {
        formError(e, caption_);
        oiLoadOk = -1;
    }
}

void FrmDiBaCaSo::Form_Unload(bool &cancel)
{
    if (oiLoadOk != 1)
        return;
    if (processing_) {
        messageBox(QStringLiteral("Elaborazione ancora attiva, non è possibile uscire dal programma"));
        cancel = true;
    }
}

// ---------------------------------------------------------------------------------------------
// Menu link
// ---------------------------------------------------------------------------------------------

void FrmDiBaCaSo::MenuFrm()
{
    TornaAlMenu(ctx_);
}

void FrmDiBaCaSo::PassaA()
{
    OfferToMenu(QStringLiteral("Sostituzione / cancellazione articoli basi e/o semilavorati"));
}

// ---------------------------------------------------------------------------------------------
// Controls
// ---------------------------------------------------------------------------------------------

void FrmDiBaCaSo::OptTipoOpe_Click()
{
    const bool deletion = OptTipoOpe[1]->isChecked();
    FraDatiSost->setVisible(!deletion);
    labTxt[10]->setText(deletion ? QStringLiteral("Articolo da cancellare") : QStringLiteral("Articolo da sostituire"));
}

void FrmDiBaCaSo::ComHlp_Click(int index)
{
    FormServices *s = services();
    QLineEdit *box = txt.value(index);
    if (!s || !box || !box->isEnabled())
        return;
    // F2 in the box: its binding opens the lookup.
    s->ComHlpClick(box, kKeyF2, [this, s, index](int keyCode, int shift) {
        s->CodeFieldKeyUp(index == 30 ? QStringLiteral("ArtUm") : index == 50 ? QStringLiteral("Listino") : kArticolo,
                          txt[index], lab.value(index), keyCode, shift, whereOf(index));
    });
}

bool FrmDiBaCaSo::IsInError(int index) const
{
    QLineEdit *box = txt.value(index);
    return box && BackColour(box, ctx_.params.colBackNormal) == ctx_.params.colErr;
}

bool FrmDiBaCaSo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txt.value(20)) {
        if (event->type() == QEvent::FocusIn)
            entered20_ = txt[20]->text();
        else if (event->type() == QEvent::FocusOut)
            replacementLeft();
    } else if (watched == txt.value(40) && event->type() == QEvent::FocusOut) {
        proportionLeft();
    }
    return ReportFormBase::eventFilter(watched, event);
}

void FrmDiBaCaSo::replacementLeft()
{
    const QString code = txt[20]->text();
    if (code == entered20_ || IsInError(20) || IsBlank(code, VarKind::Text))
        return;
    entered20_ = code;
    try {
        Database *db = ctx_.database();
        if (!db)
            return;
        DbBomReader reader(*db);
        const ArticlePtr article = reader.article(code);
        if (!article)
            return;
        txt[30]->setText(article->artUM);
        if (FormServices *s = services())
            s->Decodifica(QStringLiteral("ArtUm"), txt[30], lab[30]);
    } catch (const std::exception &e) {
        formError(e, caption_);
    }
}

void FrmDiBaCaSo::proportionLeft()
{
    QLineEdit *box = txt[40];
    const QString text = box->text().trimmed();
    bool ok = true;
    const double value = TextToNum(text, &ok);
    if (!ok) {
        SetBackColour(box, ctx_.params.colErr);
        return;
    }
    SetBackColour(box, ctx_.params.colBackLostFocus);
    if (!text.isEmpty())
        box->setText(FormatNum(value, kFactorFormat));
}

// ---------------------------------------------------------------------------------------------
// Running
// ---------------------------------------------------------------------------------------------

SubstitutionSelection FrmDiBaCaSo::Selection() const
{
    SubstitutionSelection s;
    s.oiTipoOpe = OptTipoOpe[1]->isChecked() ? SubstitutionSelection::Cancellazione : SubstitutionSelection::Sostituzione;
    s.osArticolo = txt[10]->text();
    s.osSostituto = txt[20]->text();
    s.osUm = txt[30]->text();
    s.osProporzione = txt[40]->text();
    s.osListino = txt[50]->text();
    s.osPadreDa = txt[60]->text();
    s.osPadreA = txt[70]->text();
    s.oiQualeImporto = static_cast<qint16>(CobQualeImporto->currentIndex());
    s.oiOperatore = OptOperatore[1]->isChecked() ? SubstitutionSelection::Divisione : SubstitutionSelection::Moltiplicazione;
    return s;
}

void FrmDiBaCaSo::setProcessing(bool on)
{
    processing_ = on;
    ComOk->setEnabled(!on);
    ComChiudi->setEnabled(!on);
    if (!on)
        PictInElab->setVisible(false);
}

void FrmDiBaCaSo::showProgress(qint64 done, qint64 total)
{
    if (!painted_.isValid() || painted_.elapsed() >= 100 || done == total) {
        txtInElab->setText(QString::number(done));
        txtTotElab->setText(QString::number(total));
        painted_.start();
    }
    QCoreApplication::processEvents();
}

void FrmDiBaCaSo::ComOk_Click()
{
    if (processing_)
        return;
    MessageSink *sink = ctx_.messages;
    Database *db = ctx_.database();
    if (!sink || !db)
        return;
    const SubstitutionSelection selection = Selection();
    // The boxes of this operation, in the order of the form.
    QList<int> boxes{10, 60, 70};
    if (!selection.deletion())
        boxes << QList<int>{20, 30, 50, 40};
    for (int index : boxes) {
        if (IsInError(index)) {
            fieldError(QStringLiteral("Ci sono dei dati non validi"), txt[index]);
            return;
        }
    }
    const bool rowByRow = !selection.deletion() && !selection.change().singleStatement();
    std::unique_ptr<WaitCursor> wait;
    SubstitutionEngine engine(*db, ctx_.params);
    const auto result = engine.Run(
        selection, *sink, true, nullptr, [this](qint64 done, qint64 total) { showProgress(done, total); },
        [&] {
            setProcessing(true);
            wait = std::make_unique<WaitCursor>();
            if (rowByRow) {
                txtInElab->clear();
                txtTotElab->clear();
                painted_.invalidate();
                PictInElab->setVisible(true);
            }
        });
    wait.reset();
    setProcessing(false);
    switch (result.outcome) {
    case SubstitutionEngine::Outcome::Done:
        sink->msgCom(result.message, {QStringLiteral("&Ok")});
        break;
    case SubstitutionEngine::Outcome::Refused:
        if (QLineEdit *box = txt.value(int(result.field)))
            box->setFocus(Qt::OtherFocusReason);
        break;
    case SubstitutionEngine::Outcome::Cancelled:
    case SubstitutionEngine::Outcome::Failed:
        break;
    }
}

void FrmDiBaCaSo::ComChiudi_Click()
{
    Unload();
}

void RegisterFrmDiBaCaSo(FormRegistry &registry)
{
    registry.Add(QString::fromLatin1(FrmDiBaCaSo::kFormName), [](ProgramContext &ctx) -> std::unique_ptr<ModuleForm> {
        return std::make_unique<FrmDiBaCaSo>(ctx);
    });
}

} // namespace kem
