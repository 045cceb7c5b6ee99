#include "reportkit/reportform.h"

#include "common/aziendautil.h"
#include "common/formservices.h"
#include "common/funvarie.h"
#include "common/messages.h"
#include "platform/printlib/printoptions.h"
#include "print/frmsceltastam.h"
#include "print/frmstampaincorso.h"
#include "print/frmvstampa.h"
#include "print/optionsini.h"
#include "print/sceltastamlogic.h"
#include "reportkit/reportprintservices.h"
#include "startup/programcontext.h"
#include "startup/startupdialogs.h"

#include <QBoxLayout>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace kem {

namespace {

const QString kOk = QStringLiteral("&Ok");

} // namespace

CompanyEnv CompanyOf(ProgramContext &ctx)
{
    CompanyEnv env;
    env.mainIni = ctx.conn.mainIniPath;
    env.companyIni = ctx.conn.companyIni;
    env.programKey = ctx.start.programKey;
    env.menu = ctx.menu();
    env.sink = ctx.messages;
    env.db = ctx.database();
    env.params = &ctx.params;
    env.printActive = &ctx.oiStaAtt;
    return env;
}

// Binds the run's report object to the print-in-progress window and, for a run to the
// screen, to the preview window.
class ReportForm::RunWindows : public ReportProgress {
public:
    explicit RunWindows(ReportForm &form) : form_(form) {}
    void Prepare(const std::shared_ptr<PrintReport> &report, const QString &title) override
    {
        if (form_.progress_)
            form_.progress_->Prepare(*report, title);
        if (form_.ogOpzSta_ && form_.ogOpzSta_->StaVid == PrintOptions::Preview) {
            if (!form_.preview_)
                form_.preview_ = new FrmVStampa(form_.ctx_.messages);
            form_.preview_->ogStampaSet(report);
        }
    }
    void Show() override
    {
        if (form_.progress_)
            form_.progress_->show();
    }
    EmailCredentialAsker *CredentialAsker() override
    {
        if (!form_.progress_)
            return nullptr;
        form_.progress_->EmailContextSet(&form_.Stampe().Env(), form_.ogOpzSta_);
        return form_.progress_.data();
    }

private:
    ReportForm &form_;
};

ReportForm::ReportForm(ProgramContext &ctx, ReportPrintServices &print, const QString &formName,
                       QWidget *parent)
    : ReportFormBase(ctx, formName, parent), print_(print)
{
}

ReportForm::~ReportForm()
{
    // The preview window is a top-level window of its own.
    delete preview_.data();
}

CompanyEnv ReportForm::Company() const { return CompanyOf(ctx_); }

AziendaUtilStampe &ReportForm::Stampe() { return print_.Stampe(Company()); }

PrintOptions &ReportForm::options()
{
    if (!ogOpzSta_)
        ogOpzSta_ = std::make_shared<PrintOptions>();
    return *ogOpzSta_;
}

ReportRun &ReportForm::report()
{
    if (!report_) {
        Database *db = ctx_.database();
        if (!db || !ctx_.messages)
            throw std::runtime_error("database aziendale non aperto");
        report_ = CreateReport(*db, Stampe(), *ctx_.messages);
        if (!runWindows_)
            runWindows_ = std::make_unique<RunWindows>(*this);
        report_->ProgressSet(runWindows_.get());
    }
    return *report_;
}

void ReportForm::LoadPrintOptions()
{
    previewUsed_ = false;
    LoadOptionsArgs args;
    args.osKeySec = FormName();
    if (!osKeySec.trimmed().isEmpty())
        args.osKeySec = osKeySec;
    Stampe().IniOpzSta(options(), args);
}

void ReportForm::LoadReportForm(int helpContext, QString &caption, const std::function<void()> &defaults,
                                const std::function<void()> &bind)
{
    setProperty("HelpContextID", helpContext);
    oiLoadOk = -1;
    try {
        caption = windowTitle();
        if (defaults)
            defaults();
        LoadWithServices();
        if (bind)
            bind();
        LoadPrintOptions();
        VisStaAttuale();
        ActivateWithServices();
        oiLoadOk = 1;
    } catch (const std::exception &e) {
        formError(e, caption);
        oiLoadOk = -1;
    }
}

void ReportForm::AddRunButtons(QBoxLayout *top)
{
    labStaAttuale = new QLabel(QStringLiteral("Stampante attuale:"), this);
    labStaAttuale->setObjectName(QStringLiteral("labStaAttuale"));
    top->addWidget(labStaAttuale);
    auto button = [this](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        return b;
    };
    cmdStaVid = button(QStringLiteral("cmdStaVid"), QStringLiteral("&Stampa a Video"));
    ComStampa = button(QStringLiteral("ComStampa"), QStringLiteral("&Stampa"));
    comSceStam = button(QStringLiteral("comSceStam"), QStringLiteral("Seleziona Destinazione Stampa"));
    ComChiudi = button(QStringLiteral("ComChiudi"), QStringLiteral("&Chiudi"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdStaVid);
    buttons->addWidget(ComStampa);
    buttons->addWidget(comSceStam);
    buttons->addStretch();
    buttons->addWidget(ComChiudi);
    top->addStretch();
    top->addLayout(buttons);
    connect(cmdStaVid, &QPushButton::clicked, this, &ReportForm::cmdStaVid_Click);
    connect(ComStampa, &QPushButton::clicked, this, [this] { ComStampa_Click(); });
    connect(comSceStam, &QPushButton::clicked, this, &ReportForm::comSceStam_Click);
    connect(ComChiudi, &QPushButton::clicked, this, &ReportForm::ComChiudi_Click);
}

void ReportForm::ComChiudi_Click()
{
    Unload();
}

void ReportForm::VisStaAttuale()
{
    if (labStaAttuale)
        labStaAttuale->setText(CurrentDestinationText(Stampe().Env(), options()));
}

bool ReportForm::RunAllowed()
{
    if (Stampe().oiStaAtt == 1) {
        messageBox(QStringLiteral("Non è possibile lanciare più di una stampa alla volta"));
        return false;
    }
    return true;
}

void ReportForm::RunReport()
{
    ReportRun &r = report();
    options();
    r.ogOpzSta = ogOpzSta_;
    const bool toScreen = ogOpzSta_->StaVid == PrintOptions::Preview;
    if (toScreen)
        previewUsed_ = true;
    if (!progress_)
        progress_ = new frmStampaInCorso(this);
    r.AvviaStampa();
    if (progress_)
        progress_->close();  // the run is over
    const ReportRun::RunResult &result = r.LastRun();
    if (toScreen) {
        // A preview with nothing to show (no data, or a failed run) does not stay open.
        if (preview_ && (result.failed || !result.printed))
            preview_->close();
        return;
    }
    const QString file = OutputFile(*ogOpzSta_);
    if (file.isEmpty() || result.failed || !ctx_.messages)
        return;
    if (result.stopped)
        ctx_.messages->msgCom(QStringLiteral("Stampa interrotta: nessun file è stato scritto"), {kOk});
    else if (result.printed)
        ctx_.messages->msgCom(QStringLiteral("Stampa salvata nel file ") + QDir::toNativeSeparators(file), {kOk});
}

QString ReportForm::OutputFile(const PrintOptions &o)
{
    if (o.StaVid == PrintOptions::File)
        return o.FileName;
    if (o.StaVid == PrintOptions::FixedWidth && !o.FisStampante)
        return o.FisFileName;
    return {};
}

void ReportForm::Form_Unload(bool &cancel)
{
    if (oiLoadOk == 1)
        UnloadReport(cancel);
}

void ReportForm::UnloadReport(bool &cancel)
{
    if (report_ && report_->obStaAtt) {
        messageBox(QStringLiteral("Stampa ancora attiva, non è possibile uscire dal programma"));
        cancel = true;
        return;
    }
    if (previewUsed_ && preview_) {
        if (!preview_->close()) {  // the preview refuses while a run still produces its pages
            cancel = true;
            return;
        }
        delete preview_.data();
    }
    if (progress_)
        progress_->close();
    report_.reset();
    ogOpzSta_.reset();
}

void ReportForm::cmdStaVid_Click()
{
    struct Hooks : ReportFormHooks {
        explicit Hooks(ReportForm &f) : form(f) {}
        void VisStaAttuale() override { form.VisStaAttuale(); }
        void ComStampa_Click() override { form.ComStampa_Click(); }
        ReportForm &form;
    } hooks(*this);
    PrintOptionsIni::QuickPreview(hooks, options(), true);
}

void ReportForm::comSceStam_Click()
{
    AziendaUtilStampe &stampe = Stampe();
    FrmSceltaStam::Apri(stampe.Env(), options(), stampe.oiStaAtt == 1, this);
    VisStaAttuale();
}

} // namespace kem
