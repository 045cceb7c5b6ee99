#include "requirements/frmstafabbis.h"

#include "common/classeattrdialog.h"
#include "common/codefield.h"
#include "common/codefieldwidgets.h"
#include "common/formservices.h"
#include "common/frmselclaattr.h"
#include "common/frmselclaattrcf.h"
#include "platform/help/decodecatalog.h"
#include "platform/util/kemutil.h"
#include "startup/formregistry.h"
#include "startup/programcontext.h"
#include "startup/utilprg.h"

#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace kem {

namespace {

constexpr int kHelpContext = 55060;
constexpr int kKeyF2 = 113;
constexpr int kDescriptionWidth = 190;

// The option of a group that is checked (the first when none is).
template <size_t N>
qint16 Checked(QRadioButton *const (&options)[N])
{
    for (size_t i = 0; i < N; ++i)
        if (options[i] && options[i]->isChecked())
            return static_cast<qint16>(i);
    return 0;
}

template <size_t N>
QGroupBox *OptionGroup(QWidget *parent, const QString &title, const QString &name,
                       const std::array<const char *, N> &captions, QRadioButton *(&options)[N])
{
    auto *group = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(group);
    for (size_t i = 0; i < N; ++i) {
        options[i] = new QRadioButton(QString::fromUtf8(captions[i]), group);
        options[i]->setObjectName(name + QString::number(i));
        layout->addWidget(options[i]);
    }
    options[0]->setChecked(true);
    return group;
}

} // namespace

std::array<QString, 3> AccountParts(const QString &code)
{
    std::array<QString, 3> parts;
    const QStringList split = FormatAccountCode(code).split(QLatin1Char('.'));
    for (qsizetype i = 0; i < split.size() && i < 3; ++i)
        parts[static_cast<size_t>(i)] = split.at(i).trimmed();
    return parts;
}

FrmStaFabbis::FrmStaFabbis(ProgramContext &ctx, ReportPrintServices &print, QWidget *parent)
    : ReportForm(ctx, print, QString::fromLatin1(kFormName), parent)
{
    setObjectName(QStringLiteral("FrmStaFabbis"));
    setWindowTitle(QStringLiteral("Stampa Fabbisogni"));
    build();
    for (QRadioButton *o : OptOrdPre)
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                OptOrdPre_Click();
        });
    for (auto it = ComHlp.cbegin(); it != ComHlp.cend(); ++it) {
        const int index = it.key();
        connect(it.value(), &QPushButton::clicked, this, [this, index] { ComHlp_Click(index); });
    }
    connect(ComSelCliFor, &QPushButton::clicked, this, [this] { ComSelCliFor_Click(); });
    connect(ComSelClaAttr, &QPushButton::clicked, this, [this] { ComSelClaAttr_Click(); });
}

FrmStaFabbis::~FrmStaFabbis() = default;

void FrmStaFabbis::addCode(QGridLayout *grid, int row, int index, const QString &caption, int column)
{
    const CodeFieldRow r = AddCodeFieldRow(grid, row, index, caption, this, 30, column, kDescriptionWidth);
    txt.insert(index, r.box);
    labTxt.insert(index, r.caption);
    ComHlp.insert(index, r.button);
    lab.insert(index, r.description);
}

void FrmStaFabbis::addPlain(QGridLayout *grid, int row, int index, const QString &caption, int column, bool date)
{
    auto *label = new QLabel(caption, this);
    label->setObjectName(QStringLiteral("labTxt%1").arg(index));
    grid->addWidget(label, row, column);
    auto *box = new QLineEdit(this);
    box->setObjectName(QStringLiteral("txt%1").arg(index));
    if (date) {
        box->setMaxLength(10);
        box->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    } else {
        // Document numbers are whole numbers of up to nine digits.
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), box));
    }
    box->setMaximumWidth(110);
    grid->addWidget(box, row, column + 1, 1, 2);
    box->installEventFilter(this);
    txt.insert(index, box);
    labTxt.insert(index, label);
    dateBox_.insert(index, date);
}

void FrmStaFabbis::build()
{
    auto *top = new QVBoxLayout(this);

    auto *docs = new QGroupBox(QStringLiteral("Quali Documenti:"), this);
    docs->setObjectName(QStringLiteral("fraOrdPre"));
    auto *docsLayout = new QHBoxLayout(docs);
    OptOrdPre[0] = new QRadioButton(QStringLiteral("Ordini"), docs);
    OptOrdPre[1] = new QRadioButton(QStringLiteral("Preventivi"), docs);
    for (int i = 0; i < 2; ++i) {
        OptOrdPre[i]->setObjectName(QStringLiteral("OptOrdPre%1").arg(i));
        docsLayout->addWidget(OptOrdPre[i]);
    }
    docsLayout->addStretch(1);
    OptOrdPre[0]->setChecked(true);
    top->addWidget(docs);

    auto *grid = new QGridLayout;
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(7, 1);
    int row = 0;
    addCode(grid, row, 10, QStringLiteral("Tipo Documento da:"), 0);
    addCode(grid, row++, 20, QStringLiteral("al:"), 4);
    addPlain(grid, row, 30, QStringLiteral("Riferimento:  data dal:"), 0, true);
    addPlain(grid, row++, 40, QStringLiteral("al:"), 4, true);
    addPlain(grid, row, 55, QStringLiteral("Numero dal:"), 0, false);
    addPlain(grid, row++, 60, QStringLiteral("al:"), 4, false);
    addPlain(grid, row, 70, QStringLiteral("Documento:  data dal:"), 0, true);
    addPlain(grid, row++, 80, QStringLiteral("al:"), 4, true);
    addPlain(grid, row, 90, QStringLiteral("Numero dal:"), 0, false);
    addPlain(grid, row++, 100, QStringLiteral("al:"), 4, false);
    addPlain(grid, row, 110, QStringLiteral("Prevista consegna:  data dal:"), 0, true);
    addPlain(grid, row++, 120, QStringLiteral("al:"), 4, true);
    addCode(grid, row, 130, QStringLiteral("Cliente da:"), 0);
    addCode(grid, row++, 140, QStringLiteral("a"), 4);
    LabelClienteda = labTxt[130];
    LabelClienteda->setObjectName(QStringLiteral("LabelClienteda"));
    addCode(grid, row, 150, QStringLiteral("Articolo da:"), 0);
    addCode(grid, row++, 160, QStringLiteral("a"), 4);
    addCode(grid, row, 170, QStringLiteral("Gruppo da:"), 0);
    addCode(grid, row++, 180, QStringLiteral("a"), 4);
    addCode(grid, row++, 190, QStringLiteral("Sottogruppo:"), 0);
    addCode(grid, row, 200, QStringLiteral("Agente da:"), 0);
    addCode(grid, row++, 210, QStringLiteral("a"), 4);
    addCode(grid, row++, 230, QStringLiteral("Magazzino:"), 0);
    for (int index : {130, 140})
        txt[index]->setMaxLength(13);
    top->addLayout(grid);

    auto *classes = new QHBoxLayout;
    ComSelCliFor = new QPushButton(ClasseAttrButtonCaption(true, false), this);
    ComSelCliFor->setObjectName(QStringLiteral("ComSelCliFor"));
    ComSelClaAttr = new QPushButton(ClasseAttrButtonCaption(false, false), this);
    ComSelClaAttr->setObjectName(QStringLiteral("ComSelClaAttr"));
    classes->addWidget(ComSelCliFor);
    classes->addWidget(ComSelClaAttr);
    classes->addStretch(1);
    top->addLayout(classes);

    auto *options = new QHBoxLayout;
    options->addWidget(OptionGroup(this, QStringLiteral("Tipo stampa:"), QStringLiteral("OptTipoSta"),
                                   std::array<const char *, 3>{"Documento/Articolo", "Articolo/Documento",
                                                               "Raggrupp. per articolo "},
                                   OptTipoSta));
    options->addWidget(OptionGroup(this, QStringLiteral("Quantità da stampare"), QStringLiteral("OptQtaMostr"),
                                   std::array<const char *, 2>{"Fabbisogno", "Fabbisogno - giacenza"}, OptQtaMostr));
    options->addWidget(OptionGroup(this, QStringLiteral("Quantità da elaborare"), QStringLiteral("OptQtaElab"),
                                   std::array<const char *, 3>{"Totale", "Totale - disponibilità", "Totale - giacenza"},
                                   OptQtaElab));
    auto *checks = new QVBoxLayout;
    ChePrelvo = new QCheckBox(QStringLiteral("Stampo DiBa articoli"), this);
    ChePrelvo->setObjectName(QStringLiteral("ChePrelvo"));
    CheSemiLav = new QCheckBox(QStringLiteral("Includere anche i semilavorati:"), this);
    CheSemiLav->setObjectName(QStringLiteral("CheSemiLav"));
    CheSalPag = new QCheckBox(QStringLiteral("Salto Pagina ad ogni Nuovo Ordine:"), this);
    CheSalPag->setObjectName(QStringLiteral("CheSalPag"));
    for (QCheckBox *c : {ChePrelvo, CheSemiLav, CheSalPag})
        checks->addWidget(c);
    checks->addStretch(1);
    options->addLayout(checks);
    top->addLayout(options);

    AddRunButtons(top);

    // Tab order: the boxes in their index order, then the buttons and the options.
    QList<QWidget *> order;
    order << OptOrdPre[0] << OptOrdPre[1];
    QList<int> indexes = txt.keys();
    std::sort(indexes.begin(), indexes.end());
    for (int index : indexes)
        order << txt[index];
    order << ComSelCliFor << ComSelClaAttr;
    for (QRadioButton *o : OptTipoSta)
        order << o;
    for (QRadioButton *o : OptQtaMostr)
        order << o;
    for (QRadioButton *o : OptQtaElab)
        order << o;
    order << ChePrelvo << CheSemiLav << CheSalPag << cmdStaVid << ComStampa << comSceStam << ComChiudi;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    resize(960, 640);
}

std::unique_ptr<ReportRun> FrmStaFabbis::CreateReport(Database &db, AziendaUtilStampe &stampe, MessageSink &sink)
{
    return std::make_unique<StFabbis>(db, ctx_.params, stampe, sink, ctx_.menu());
}

// ---------------------------------------------------------------------------------------------
// Loading

void FrmStaFabbis::bindCodeFields()
{
    FormServices *s = services();
    if (!s || bound_)
        return;
    // Focus colours, decoding on leaving and the lookups, each with its key and filter.
    for (auto it = lab.cbegin(); it != lab.cend(); ++it) {
        const int index = it.key();
        new CodeFieldBinding(*s, this, txt[index], it.value(), KindOf(index), [this, index] { return WhereOf(index); });
    }
    bound_ = true;
}

void FrmStaFabbis::Form_Load()
{
    LoadReportForm(
        kHelpContext, caption_,
        [this] {
            OptOrdPre[0]->setChecked(true);
            OptOrdPre_Click();
        },
        [this] { bindCodeFields(); });
}

void FrmStaFabbis::PassaA()
{
    OfferToMenu(QStringLiteral("Stampa Distinta Base"));
}

// ---------------------------------------------------------------------------------------------
// Fields

void FrmStaFabbis::OptOrdPre_Click()
{
    ordPre_ = OptOrdPre[0]->isChecked() ? QStringLiteral("O") : QStringLiteral("P");
}

QString FrmStaFabbis::TipoDocFilter() const
{
    return QStringLiteral("tipo=") + SqlLiteral(ordPre_, VarKind::Text);
}

QString FrmStaFabbis::KindOf(int index) const
{
    switch (index) {
    case 10:
    case 20:
        return QStringLiteral("FattDocumento");
    case 130:
    case 140:
        return QStringLiteral("Conto");
    case 150:
    case 160:
        return QStringLiteral("Articolo");
    case 170:
    case 180:
        return QStringLiteral("ArtGruppo");
    case 190:
        return QStringLiteral("ArtSottoGru");
    case 200:
    case 210:
        return QStringLiteral("Agente");
    case 230:
        return QStringLiteral("Magazzino");
    default:
        return {};
    }
}

QString FrmStaFabbis::WhereOf(int index) const
{
    if (index == 10 || index == 20)
        return TipoDocFilter();
    if (index == 130 || index == 140)
        return AccountKindFilter(kCustomerAccounts);
    return {};
}

void FrmStaFabbis::Txt_KeyUp(int index, int keyCode, int shift)
{
    FormServices *s = services();
    if (s && lab.contains(index))
        s->CodeFieldKeyUp(KindOf(index), txt[index], lab[index], keyCode, shift, WhereOf(index));
}

void FrmStaFabbis::ComHlp_Click(int index)
{
    FormServices *s = services();
    QLineEdit *box = txt.value(index);
    if (!s || !box || !box->isEnabled())
        return;
    s->ComHlpClick(box, kKeyF2, [this, index](int keyCode, int shift) { Txt_KeyUp(index, keyCode, shift); });
}

bool FrmStaFabbis::eventFilter(QObject *watched, QEvent *event)
{
    // The date boxes are checked on leaving: an unreadable date shows the error colour.
    if (event->type() == QEvent::FocusOut) {
        for (auto it = dateBox_.cbegin(); it != dateBox_.cend(); ++it) {
            if (!it.value() || txt.value(it.key()) != watched)
                continue;
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            FormServices *s = services();
            if (s && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                s->ControllaData(txt[it.key()], 1);
        }
    }
    return ReportForm::eventFilter(watched, event);
}

ClasseAttrDialogEnv FrmStaFabbis::dialogEnv() const
{
    return ClasseAttrDialogEnv{services(), ctx_.messages, ClasseAttrMenuCaption(ctx_.menu())};
}

void FrmStaFabbis::ComSelCliFor_Click()
{
    ApriSelClaAttrCF(dialogEnv(), pdcClasseAttr_, ComSelCliFor, false, catDa_, catA_, zonDa_, zonA_, this);
}

void FrmStaFabbis::ComSelClaAttr_Click()
{
    ApriSelClaAttr(dialogEnv(), artClasseAttr_, ComSelClaAttr, this);
}

// ---------------------------------------------------------------------------------------------
// Running the report

FrmStaFabbis::Reading FrmStaFabbis::Selection() const
{
    Reading r;
    RequirementsSelection &s = r.selection;
    const QDate minimum = services() ? services()->minimumDate() : QDate(1900, 1, 1);
    auto date = [&](int index, QDate &out) {
        const QString text = txt[index]->text().trimmed();
        switch (CheckFieldDate(text, minimum)) {
        case DateCheck::Blank:
            out = QDate();
            return true;
        case DateCheck::Valid:
            out = ParseFieldDate(text);
            return true;
        case DateCheck::TooSmall:
            r.message = QStringLiteral("Data troppo piccola");
            break;
        case DateCheck::Invalid:
            r.message = QStringLiteral("Data non valida: \"") + text + QStringLiteral("\" (gg/mm/aaaa)");
            break;
        }
        r.box = index;
        return false;
    };
    auto number = [&](int index, qint32 &out) {
        const QString text = txt[index]->text().trimmed();
        bool ok = true;
        out = text.isEmpty() ? 0 : text.toInt(&ok);
        if (ok && out >= 0)
            return true;
        r.message = QStringLiteral("Numero non valido: \"") + text + QStringLiteral("\"");
        r.box = index;
        return false;
    };
    s.osOrdPre = ordPre_;
    s.osTipoDocDa = txt[10]->text();
    s.osTipoDocA = txt[20]->text();
    if (!date(30, s.otDataRifDa) || !date(40, s.otDataRifA) || !number(55, s.olNumRifDa) || !number(60, s.olNumRifA)
        || !date(70, s.otDataDocDa) || !date(80, s.otDataDocA) || !number(90, s.olNumDocDa)
        || !number(100, s.olNumDocA) || !date(110, s.otPrevConsDa) || !date(120, s.otPrevConsA))
        return r;
    s.osArticoloDa = txt[150]->text();
    s.osArticoloA = txt[160]->text();
    s.osArtGruppoDa = txt[170]->text();
    s.osArtGruppoA = txt[180]->text();
    s.osArtSottoGru = txt[190]->text();
    s.osMagazzino = txt[230]->text();
    s.osAgenteDa = txt[200]->text();
    s.osDesAgenteDa = txt[200]->text().trimmed().isEmpty() ? QString() : lab[200]->text();
    s.osAgenteA = txt[210]->text();
    s.osDesAgenteA = txt[210]->text().trimmed().isEmpty() ? QString() : lab[210]->text();
    const auto cliDa = AccountParts(txt[130]->text());
    const auto cliA = AccountParts(txt[140]->text());
    s.osGruppoCliDa = cliDa[0];
    s.osMastroCliDa = cliDa[1];
    s.osContoCliDa = cliDa[2];
    s.osGruppoCliA = cliA[0];
    s.osMastroCliA = cliA[1];
    s.osContoCliA = cliA[2];
    s.pdcClasseAttr = pdcClasseAttr_;
    s.osCatDa = catDa_;
    s.osCatA = catA_;
    s.osZonDa = zonDa_;
    s.osZonA = zonA_;
    s.artClasseAttr = artClasseAttr_;
    s.obSaltoPag = CheSalPag->isChecked();
    s.obPrelvo = ChePrelvo->isChecked();
    s.obSemilav = CheSemiLav->isChecked();
    s.oiTipoStampa = Checked(OptTipoSta);
    s.oiQtaElab = Checked(OptQtaElab);
    s.oiQtaMostr = Checked(OptQtaMostr);
    return r;
}

QWidget *FrmStaFabbis::boxOf(RequirementsSelection::Field field) const
{
    using F = RequirementsSelection;
    switch (field) {
    case F::ClasseAttrArt:
        return ComSelClaAttr;
    case F::ClasseAttrCF:
    case F::Categoria:
    case F::Zona:
        return ComSelCliFor;
    case F::TipoStampa:
        return OptTipoSta[0];
    case F::QtaMostr:
        return OptQtaMostr[0];
    case F::QtaElab:
        return OptQtaElab[0];
    default:
        return txt.value(int(field), txt.value(10));
    }
}

QString FrmStaFabbis::scratchUser() const
{
    // The suite's user on this terminal; a terminal without a login keeps its rows under its
    // own name.
    const QString login = MenuVarText(ctx_, QStringLiteral("Login")).trimmed();
    return login.isEmpty() ? MenuVarText(ctx_, QStringLiteral("Terminale")).trimmed() : login;
}

void FrmStaFabbis::ComStampa_Click()
{
    try {
        if (!RunAllowed())
            return;
        const Reading reading = Selection();
        if (!reading.message.isEmpty()) {
            fieldError(reading.message, txt.value(reading.box));
            return;
        }
        if (const auto problem = reading.selection.Validate()) {
            fieldError(problem->message, boxOf(problem->field));
            return;
        }
        const QString user = scratchUser();
        if (user.isEmpty()) {
            messageBox(QStringLiteral("Utente del menu (Login) non indicato: la stampa non può tenere le sue righe di appoggio"));
            return;
        }
        auto &r = static_cast<StFabbis &>(report());
        reading.selection.ApplyTo(r);
        r.osUtente = user;
        r.osIdProgramma = QString::number(ctx_.start.programId);
        RunReport();
    } catch (const std::exception &e) {
        formError(e, caption_);
    }
}

void RegisterFrmStaFabbis(FormRegistry &registry, std::shared_ptr<ReportPrintServices> print)
{
    registry.Add(QString::fromLatin1(FrmStaFabbis::kFormName),
                 [print](ProgramContext &ctx) -> std::unique_ptr<ModuleForm> {
                     return std::make_unique<FrmStaFabbis>(ctx, *print);
                 });
}

} // namespace kem
