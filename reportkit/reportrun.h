#pragma once
// ReportRun: the run skeleton every report object shares. AvviaStampa sets the report active,
// attaches it to a print library object as owner with the form's options, performs the page
// setup, binds the print-in-progress window, starts the job and lets the report print; then, in
// every case (a cancelled job, a stop, an error), closes the job, releases the library object,
// shows "Non ci sono dati nell'intervallo richiesto" when nothing was printed (a run that failed
// reports its error only) and clears the active state. Errors end the run with "(" + run title + ") Errore durante la stampa : ".
// A report writes only its statement, its columns and its lines.
#include "common/messages.h"
#include "platform/db/kemdb.h"
#include "platform/printlib/printreport.h"

#include <QString>
#include <memory>
#include <stdexcept>

namespace kem {

class EmailCredentialAsker;
class RunDelivery;

class AziendaUtilStampe;
class PrintFont;
class PrintOptions;

// The print-in-progress window of a run (a widget in the program; none in batch runs).
class ReportProgress {
public:
    virtual ~ReportProgress() = default;
    // Before JobStart: caption and "lblStamp" = title, page labels shown with "000", the
    // window bound to the run's report object (which the window may keep, e.g. for a preview).
    virtual void Prepare(const std::shared_ptr<PrintReport> &report, const QString &title) = 0;
    // After the job started.
    virtual void Show() = 0;
    // Who asks the user for the e-mail login and password when the server refuses them;
    // nullptr: nobody (the send then fails with the server's message).
    virtual EmailCredentialAsker *CredentialAsker() { return nullptr; }
};

// A run-time error of a report itself (not of the database): number and description as the
// error report shows them.
class ReportError : public std::runtime_error {
public:
    ReportError(QString number, QString description)
        : std::runtime_error(description.toStdString()), number_(std::move(number)),
          description_(std::move(description))
    {
    }
    const QString &number() const { return number_; }
    const QString &description() const { return description_; }

private:
    QString number_;
    QString description_;
};

class ReportRun : public PrintOwner {
public:
    // title: the report's title ("Distinta Base"); the run's title is "Stampa " + title.
    ReportRun(Database &db, AziendaUtilStampe &stampe, MessageSink &sink, QString title);
    ~ReportRun() override;
    ReportRun(const ReportRun &) = delete;
    ReportRun &operator=(const ReportRun &) = delete;

    std::shared_ptr<PrintOptions> ogOpzSta;
    bool obStaAtt = false;  // true while AvviaStampa runs

    // The program-wide print-active flag (1 while a report runs).
    qint16 oiStaAtt() const;
    void oiStaAttLet(qint16 value) override;

    // Runs the whole report; returns when the print job is closed.
    void AvviaStampa();
    // Page fit: when piNumRig lines no longer fit, a new page with the header (and the column
    // headings when pbDet); pbSaltato becomes true then.
    void CtrRiga(qint16 piNumRig, bool pbDet, bool &pbSaltato);

    // The print-in-progress window; nullptr: none.
    void ProgressSet(ReportProgress *progress) { progress_ = progress; }

    // What the last run did.
    struct RunResult {
        bool printed = false;  // printing started
        bool failed = false;   // an error ended the run, or the output could not be written
        bool stopped = false;  // the user interrupted the run (a file output is then not written)
        QString error;         // the message shown for it
        qint64 lines = 0;      // lines printed
        int pages = 0;
        DbStats stats;         // statements of the run
    };
    const RunResult &LastRun() const { return last_; }

protected:
    // Before the job starts: the report's settings (may throw).
    virtual void PrepareRun() {}
    // The report's body, once the job has started: its statement and lines. Calls
    // BeginPrinting() before its first line.
    virtual void Print() = 0;
    // The column headings (new pages of CtrRiga with pbDet).
    virtual void ColumnHeadings() {}
    // After the run, also after an error: what the report opened is released.
    virtual void EndRun() {}

    // Styles, DocBegin and the columns (DefineColumns) before the first line; false when the
    // job was skipped meanwhile (the run then ends without lines).
    bool BeginPrinting();
    virtual void DefineColumns() {}
    bool PrintingStarted() const { return started_; }
    // The page header of the report (run title, current page, today, version shown).
    void PageHeader();
    // A new page with the header and the column headings.
    void NewPage();
    // Throws a ReportError when a print library call failed.
    void check(bool ok, const char *op);
    // One cell of the current line: the alignment ("S", "C", "D"), then the value at the column.
    void Cell(const QString &align, int column, const QVariant &value);
    // The width sample of a column n characters wide (capital M, the widest letter).
    static QString Sample(int n) { return QString(n, QLatin1Char('M')); }
    void CountLine() { ++last_.lines; }
    // The run failed for a reason the report has already shown (no further message).
    void MarkFailed(const QString &error)
    {
        last_.failed = true;
        last_.error = error;
    }

    PrintReport &report() { return *report_; }
    bool HasReport() const { return report_ != nullptr; }
    AziendaUtilStampe &stampe() { return stampe_; }
    MessageSink &sink() { return sink_; }
    Database &db() { return db_; }
    const QString &RunTitle() const { return titoloRun_; }

private:
    bool openJob();
    void runEnd();
    void reportError(const QString &number, const QString &description);

    Database &db_;
    AziendaUtilStampe &stampe_;
    MessageSink &sink_;
    QString titolo_;
    QString titoloRun_;
    ReportProgress *progress_ = nullptr;
    std::shared_ptr<PrintReport> report_;
    std::unique_ptr<PrintFont> font_;
    std::unique_ptr<RunDelivery> delivery_;  // the automatic PDF and the e-mail of the run
    std::weak_ptr<PrintReport> lastReport_;  // a preview may keep it after the run
    bool started_ = false;
    RunResult last_;
};

} // namespace kem
