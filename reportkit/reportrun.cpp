#include "reportkit/reportrun.h"

#include "print/pdfemail.h"

#include "common/funvarie.h"
#include "platform/printlib/printfont.h"
#include "platform/printlib/printoptions.h"
#include "print/aziendautilstampe.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace kem {

ReportRun::ReportRun(Database &db, AziendaUtilStampe &stampe, MessageSink &sink, QString title)
    : db_(db), stampe_(stampe), sink_(sink), titolo_(std::move(title))
{
}

ReportRun::~ReportRun()
{
    // A preview may still hold the last run's report object: it must not call back here.
    if (auto report = lastReport_.lock())
        report->OwnerSet(nullptr);
}

qint16 ReportRun::oiStaAtt() const { return static_cast<qint16>(stampe_.oiStaAtt); }

void ReportRun::oiStaAttLet(qint16 value) { stampe_.oiStaAtt = value; }

void ReportRun::AvviaStampa()
{
    obStaAtt = true;
    last_ = RunResult{};
    started_ = false;
    titoloRun_ = QStringLiteral("Stampa ") + titolo_;
    const DbStats before = db_.stats();
    try {
        PrepareRun();
        if (openJob())
            Print();
    } catch (const ReportError &e) {
        reportError(e.number(), e.description());
    } catch (const std::exception &e) {
        const ErrorInfo info = ErrorInfoFrom(e);
        reportError(info.number, ErrorDescription(info.description, info.source));
    } catch (...) {
        reportError(QString::number(kErrInternal), QStringLiteral("Errore sconosciuto"));
    }
    runEnd();
    const DbStats after = db_.stats();
    last_.stats.statements = after.statements - before.statements;
    last_.stats.prepared = after.prepared - before.prepared;
    obStaAtt = false;
}

bool ReportRun::openJob()
{
    report_ = std::make_shared<PrintReport>();
    lastReport_ = report_;
    font_ = std::make_unique<PrintFont>();
    report_->OwnerSet(this);
    report_->OptionsSet(ogOpzSta);
    report_->TitleSet(titoloRun_);
    stampe_.IniParamStampa(ogOpzSta ? ogOpzSta->SectionKey : QString(), *report_);
    delivery_ = std::make_unique<RunDelivery>();
    if (ogOpzSta)
        delivery_->Prepare(stampe_.Env(), *ogOpzSta, *report_, sink_);
    report_->StopSet(0);
    if (progress_)
        progress_->Prepare(report_, titoloRun_);
    bool cancelled = false;
    const bool started = report_->JobStart(1, &cancelled);
    if (cancelled || !started) {
        // A job the library could not open is an error; one the user cancelled is not.
        if (!report_->LastErrorGet().isEmpty())
            reportError(QString::number(kErrPrint), report_->LastErrorGet());
        return false;
    }
    if (progress_)
        progress_->Show();
    report_->JobModeSet(6);
    if (!progress_) {
        // No window to keep alive (a batch run): events are let through a few times a second
        // instead of at every line, which would cost more than the line itself.
        report_->EventPumpSet([timer = std::make_shared<QElapsedTimer>()] {
            if (!timer->isValid() || timer->elapsed() >= 100) {
                QCoreApplication::processEvents();
                timer->start();
            }
        });
    }
    oiStaAttLet(1);
    return true;
}

bool ReportRun::BeginPrinting()
{
    stampe_.StileTesta(*report_, *font_);
    stampe_.StileCorpo(*report_, *font_);
    check(report_->DocBegin(), "DocBegin");
    if (report_->SkipGet())
        return false;
    DefineColumns();
    started_ = true;
    return true;
}

void ReportRun::runEnd()
{
    EndRun();
    if (report_) {
        last_.stopped = report_->StopGet();
        if (!report_->DocEnd() && !last_.failed)
            reportError(QString::number(kErrPrint), report_->LastErrorGet());
        last_.pages = report_->PageNumGet();
    }
    report_.reset();
    font_.reset();
    last_.printed = started_;
    if (delivery_ && started_ && !last_.failed && !last_.stopped)
        delivery_->Send(sink_, progress_ ? progress_->CredentialAsker() : nullptr);
    delivery_.reset();
    if (!started_ && !last_.failed)
        sink_.msgCom(QStringLiteral("Non ci sono dati nell'intervallo richiesto"), {QStringLiteral("&Ok")});
}

void ReportRun::reportError(const QString &number, const QString &description)
{
    const QString prefix = QStringLiteral("(") + titoloRun_ + QStringLiteral(") Errore durante la stampa : ");
    last_.failed = true;
    last_.error = ErrorText(number, description, prefix);
    sink_.MsgErrfrm(number, description, prefix);
}

void ReportRun::check(bool ok, const char *op)
{
    Q_UNUSED(op)  // the routine is for who reads the code, not for the user
    if (!ok) {
        const QString why = report_ ? report_->LastErrorGet() : QString();
        throw ReportError(QString::number(kErrPrint),
                          why.isEmpty() ? QStringLiteral("Operazione di stampa non riuscita") : why);
    }
}

void ReportRun::Cell(const QString &align, int column, const QVariant &value)
{
    report_->AlignSet(align);
    check(report_->CellPrint(column, value), "CellPrint");
}

void ReportRun::PageHeader()
{
    PageHeaderArgs args;
    args.title = titoloRun_;
    args.pageNumber = 0;
    args.blankLine = true;
    args.mode = 0;
    stampe_.Intestazione(*report_, args);
}

void ReportRun::NewPage()
{
    check(report_->PageNew(), "PageNew");
    report_->VertPosLet(report_->MarginTopGet());
    PageHeader();
    ColumnHeadings();
}

void ReportRun::CtrRiga(qint16 piNumRig, bool pbDet, bool &pbSaltato)
{
    if (!report_)
        return;
    bool brk = false;
    report_->RoomCheck(piNumRig, nullptr, nullptr, &brk);
    if (!brk)
        return;
    pbSaltato = true;
    check(report_->PageNew(), "PageNew");
    if (report_->SkipGet())
        return;
    report_->VertPosLet(report_->MarginTopGet());
    PageHeader();
    if (pbDet)
        ColumnHeadings();
}

} // namespace kem
