#pragma once
// ReportForm: the report-run protocol every report form follows, on top of the window side of
// ReportFormBase. One run at a time in the program ("Non è possibile lanciare più di una stampa
// alla volta"); the report object and the print options object made on first use and kept for
// later runs; the form's print options loaded when it loads; the run handed its options, bound
// to the print-in-progress window and, for the screen, to the preview window; no closing while
// its report runs ("Stampa ancora attiva, non è possibile uscire dal programma"); the preview
// shortcut and the destination dialog. When a run ends its progress window closes; a run to a
// file says which file it wrote, or that it was interrupted and wrote none; a preview with
// nothing to show closes. A report form adds its controls, its checks and the
// fields it sets.
#include "reportkit/company.h"
#include "reportkit/reportformbase.h"
#include "reportkit/reportrun.h"

#include "print/frmstampaincorso.h"
#include "print/frmvstampa.h"

#include <QPointer>
#include <functional>
#include <memory>

class QBoxLayout;
class QLabel;
class QPushButton;

namespace kem {

class AziendaUtilStampe;
class FormServices;
class PrintOptions;
class ReportPrintServices;

class ReportForm : public ReportFormBase {
    Q_OBJECT
public:
    ReportForm(ProgramContext &ctx, ReportPrintServices &print, const QString &formName,
               QWidget *parent = nullptr);
    ~ReportForm() override;

    // labStaAttuale shows where the next run goes.
    void VisStaAttuale();
    // "&Stampa a Video": the run to the screen, then the destination as it was.
    void cmdStaVid_Click();
    // "Seleziona Destinazione Stampa": the destination dialog on the form's options.
    void comSceStam_Click();
    // "&Stampa": the form's checks, its fields and the run.
    virtual void ComStampa_Click() = 0;

    // The report object (nullptr before the first run) and the print options object.
    ReportRun *Report() const { return report_.get(); }
    PrintOptions *Options() const { return ogOpzSta_.get(); }
    bool PreviewUsed() const { return previewUsed_; }
    frmStampaInCorso *ProgressWindow() const { return progress_; }
    FrmVStampa *PreviewWindow() const { return preview_; }
    // The file a run to these options writes; empty for a printer or the screen.
    static QString OutputFile(const PrintOptions &o);
    // The company as the program opened it.
    CompanyEnv Company() const;
    AziendaUtilStampe &Stampe();

    // "&Chiudi": unloads the form.
    void ComChiudi_Click();

    // Made by AddRunButtons.
    QLabel *labStaAttuale = nullptr;
    QPushButton *cmdStaVid = nullptr;
    QPushButton *ComStampa = nullptr;
    QPushButton *comSceStam = nullptr;
    QPushButton *ComChiudi = nullptr;

protected:
    // The form's report object, made on the first run.
    virtual std::unique_ptr<ReportRun> CreateReport(Database &db, AziendaUtilStampe &stampe,
                                                    MessageSink &sink) = 0;
    ReportRun &report();
    PrintOptions &options();

    // Under the form's fields: labStaAttuale ("Stampante attuale:"), then "&Stampa a Video",
    // "&Stampa", "Seleziona Destinazione Stampa" and, apart, "&Chiudi", wired to their handlers.
    void AddRunButtons(QBoxLayout *top);
    // Form_Load: the form's print options (section osKeySec, else the form's name).
    void LoadPrintOptions();
    // The whole Form_Load of a simple report form: the help context; the caption kept in
    // `caption` (for the error messages); `defaults` (the form's first choices); the form load
    // routine; `bind` (its code fields, once the services are there); the print options, the
    // destination label and the activation. oiLoadOk is 1, or -1 after the error message.
    void LoadReportForm(int helpContext, QString &caption, const std::function<void()> &defaults,
                        const std::function<void()> &bind);
    // The first step of every run: false, after the message, while another run is active.
    bool RunAllowed();
    // The run with the form's options, once the fields are set.
    void RunReport();
    // Form_Unload: cancel while the report runs or the preview refuses; else the windows and
    // the objects go. A form that did not load has nothing to keep.
    void Form_Unload(bool &cancel) override;
    void UnloadReport(bool &cancel);

private:
    class RunWindows;

    ReportPrintServices &print_;
    std::unique_ptr<ReportRun> report_;
    std::shared_ptr<PrintOptions> ogOpzSta_;
    std::unique_ptr<RunWindows> runWindows_;
    QPointer<frmStampaInCorso> progress_;
    QPointer<FrmVStampa> preview_;
    bool previewUsed_ = false;
};

// The company of the program's start-up state.
CompanyEnv CompanyOf(ProgramContext &ctx);

} // namespace kem
