#include "implosion/frmstimpldiba.h"

#include "common/codefieldwidgets.h"
#include "common/formservices.h"
#include "platform/util/kemutil.h"
#include "startup/formregistry.h"
#include "startup/programcontext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kem {

namespace {

constexpr int kHelpContext = 55055;
constexpr int kKeyF2 = 113;

} // namespace

FrmStImplDiBa::FrmStImplDiBa(ProgramContext &ctx, ReportPrintServices &print, QWidget *parent)
    : ReportForm(ctx, print, QString::fromLatin1(kFormName), parent)
{
    setObjectName(QStringLiteral("FrmStImplDiBa"));
    setWindowTitle(QStringLiteral("Implosione distinta"));
    build();
    connect(CobTipoDiBaArt, &QComboBox::currentIndexChanged, this, [this] { CobTipoDiBaArt_Click(); });
    for (auto it = ComHlp.cbegin(); it != ComHlp.cend(); ++it) {
        const int index = it.key();
        connect(it.value(), &QPushButton::clicked, this, [this, index] { ComHlp_Click(index); });
    }
}

FrmStImplDiBa::~FrmStImplDiBa() = default;

void FrmStImplDiBa::build()
{
    auto *top = new QVBoxLayout(this);

    auto *codes = new QGridLayout;
    codes->setColumnStretch(3, 1);
    for (const auto &[index, caption] : {std::pair{10, "Articolo da:"}, std::pair{20, "a:"}}) {
        const CodeFieldRow r = AddCodeFieldRow(codes, index / 10 - 1, index, QString::fromUtf8(caption), this);
        txt.insert(index, r.box);
        labTxt.insert(index, r.caption);
        ComHlp.insert(index, r.button);
        lab.insert(index, r.description);
    }
    top->addLayout(codes);

    auto *kind = new QGridLayout;
    kind->setColumnStretch(2, 1);
    LabTipoDiBaArt = new QLabel(QStringLiteral("Articoli da considerare:"), this);
    LabTipoDiBaArt->setObjectName(QStringLiteral("LabTipoDiBaArt"));
    CobTipoDiBaArt = new QComboBox(this);
    CobTipoDiBaArt->setObjectName(QStringLiteral("CobTipoDiBaArt"));
    CobTipoDiBaArt->addItems({QStringLiteral("Tutti"), QStringLiteral("Solo Materiale di base"),
                              QStringLiteral("Solo Semilavorati")});
    kind->addWidget(LabTipoDiBaArt, 0, 0);
    kind->addWidget(CobTipoDiBaArt, 0, 1);
    top->addLayout(kind);

    // Below the fields of the print, apart from them: off, the print is the one-level one.
    CheTuttiLivelli = new QCheckBox(QStringLiteral("Tutti i livelli"), this);
    CheTuttiLivelli->setObjectName(QStringLiteral("CheTuttiLivelli"));
    CheTuttiLivelli->setToolTip(QStringLiteral(
        "Stampa anche gli articoli che usano i composti, fino ai prodotti che nessuna distinta usa, "
        "con la quantità del componente per unità di ciascuno"));
    top->addWidget(CheTuttiLivelli, 0, Qt::AlignLeft);

    AddRunButtons(top);

    setTabOrder(txt[10], txt[20]);
    setTabOrder(txt[20], CobTipoDiBaArt);
    setTabOrder(CobTipoDiBaArt, CheTuttiLivelli);
    setTabOrder(CheTuttiLivelli, cmdStaVid);
    setTabOrder(cmdStaVid, ComStampa);
    setTabOrder(ComStampa, comSceStam);
    setTabOrder(comSceStam, ComChiudi);
    resize(640, 260);
}

std::unique_ptr<ReportRun> FrmStImplDiBa::CreateReport(Database &db, AziendaUtilStampe &stampe,
                                                       MessageSink &sink)
{
    return std::make_unique<StImplDiBa>(db, ctx_.params, stampe, sink);
}

// ---------------------------------------------------------------------------------------------
// Loading and closing

void FrmStImplDiBa::bindCodeFields()
{
    FormServices *s = services();
    if (!s || bound_)
        return;
    // Focus colours, decoding on leaving and the lookups, each with the filter of the kind
    // chosen at that moment.
    for (int index : {10, 20})
        new CodeFieldBinding(*s, this, txt[index], lab[index], QStringLiteral("Articolo"),
                             [this] { return kindFilter_; });
    bound_ = true;
}

void FrmStImplDiBa::Form_Load()
{
    LoadReportForm(
        kHelpContext, caption_,
        [this] {
            CobTipoDiBaArt->setCurrentIndex(1);
            CobTipoDiBaArt_Click();
        },
        [this] { bindCodeFields(); });
}

void FrmStImplDiBa::PassaA()
{
    OfferToMenu(QStringLiteral("Implosione Distinta Base"));
}

// ---------------------------------------------------------------------------------------------
// Fields

void FrmStImplDiBa::CobTipoDiBaArt_Click()
{
    const QString distBase = QStringLiteral(" DistBase = ");
    switch (CobTipoDiBaArt->currentIndex()) {
    case 1:
        kindFilter_ = distBase + SqlLiteral(3, VarKind::Int16);
        break;
    case 2:
        kindFilter_ = distBase + SqlLiteral(2, VarKind::Int16);
        break;
    default:
        kindFilter_ = QStringLiteral(" (") + distBase.mid(1) + SqlLiteral(2, VarKind::Int16) + QStringLiteral(" OR ")
            + distBase + SqlLiteral(3, VarKind::Int16) + QStringLiteral(")");
        break;
    }
}

void FrmStImplDiBa::Txt_KeyUp(int index, int keyCode, int shift)
{
    FormServices *s = services();
    if (s && txt.contains(index))
        s->CodeFieldKeyUp(QStringLiteral("Articolo"), txt[index], lab[index], keyCode, shift, kindFilter_);
}

void FrmStImplDiBa::ComHlp_Click(int index)
{
    FormServices *s = services();
    QLineEdit *box = txt.value(index);
    if (!s || !box || !box->isEnabled())
        return;
    s->ComHlpClick(box, kKeyF2, [this, index](int keyCode, int shift) { Txt_KeyUp(index, keyCode, shift); });
}

// ---------------------------------------------------------------------------------------------
// Running the report

ImplosionSelection FrmStImplDiBa::Selection() const
{
    ImplosionSelection s;
    s.osArticoloDa = txt[10]->text();
    s.osArticoloA = txt[20]->text();
    s.oiTipoDibaArt = qint16(CobTipoDiBaArt->currentIndex());
    s.oiLivelli = CheTuttiLivelli->isChecked() ? 0 : 1;
    return s;
}

void FrmStImplDiBa::ComStampa_Click()
{
    try {
        if (!RunAllowed())
            return;
        const ImplosionSelection selection = Selection();
        if (const auto problem = selection.Validate()) {
            QWidget *focus = problem->field == ImplosionSelection::ArticoloDa ? txt[10]
                : problem->field == ImplosionSelection::ArticoloA         ? txt[20]
                : problem->field == ImplosionSelection::Livelli           ? static_cast<QWidget *>(CheTuttiLivelli)
                                                                          : CobTipoDiBaArt;
            if (problem->messageBox) {
                messageBox(problem->message);
                focus->setFocus(Qt::OtherFocusReason);
            } else {
                fieldError(problem->message, focus);
            }
            return;
        }
        selection.ApplyTo(static_cast<StImplDiBa &>(report()));
        RunReport();
    } catch (const std::exception &e) {
        formError(e, caption_);
    }
}

void RegisterFrmStImplDiBa(FormRegistry &registry, std::shared_ptr<ReportPrintServices> print)
{
    registry.Add(QString::fromLatin1(FrmStImplDiBa::kFormName),
                 [print](ProgramContext &ctx) -> std::unique_ptr<ModuleForm> {
                     return std::make_unique<FrmStImplDiBa>(ctx, *print);
                 });
}

} // namespace kem
