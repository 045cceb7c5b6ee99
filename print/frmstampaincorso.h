#pragma once
// The print-in-progress window: what is printing, the page being produced, and the button
// that interrupts the run. Bound to the run's report object (ogStampa); the report's events
// are let through between lines so the button acts during the run.
#include "print/pdfemail.h"
#include "print/printprogress.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;

namespace kem {

class FrmSceltaStam;
class PrintOptions;
class PrintReport;
struct PrintEnv;

class frmStampaInCorso : public QWidget, public PrintProgressView, public EmailCredentialAsker {
    Q_OBJECT
    Q_INTERFACES(kem::PrintProgressView)
public:
    explicit frmStampaInCorso(QWidget *parent = nullptr);
    ~frmStampaInCorso() override;

    // Binds the window to a run (nullptr unbinds): ogStampa, the report's progress window,
    // the page label following every new page.
    void Bind(PrintReport *report);
    // Preparation after page setup and before JobStart: caption and lblStamp = title, page
    // labels shown with "000", bound to the report.
    void Prepare(PrintReport &report, const QString &title);
    // Opens the job; when it opened, shows the window (non-modal) and lets the window's
    // events through between report steps. Returns JobStart's result; *cancelled as JobStart.
    bool StartJob(PrintReport &report, bool *cancelled);

    void PageShow(int page) override;
    // Click of ComStampa: records the stop (code 1) on the bound run.
    void ComStampa_Click();
    // The logo shown in the window.
    void LogoSet(const QPixmap &logo);
    // Where the credential request reads and writes: the program's print environment and the
    // run's options.
    void EmailContextSet(const PrintEnv *env, std::shared_ptr<PrintOptions> options);
    // Asks the e-mail login and password of a send the server refused: the destination dialog
    // in credential mode with both the login and the password to fill. False when the user
    // gives up the send (or there is no context to ask in).
    bool ChiediEmailLogPwd(QString *login, QString *pwd) override;
    // A pair the server accepted stays in the run's options, for the next runs of the form.
    void EmailLoginAccepted(const QString &login, const QString &pwd) override;
    // Runs the credential dialog (FrmSceltaStam::runModal); default: exec().
    std::function<int(FrmSceltaStam &)> runCredentialDialog;

    PrintReport *ogStampa() const { return m_report; }
    // Called when the window unloads, so the program can see whether it may close now.
    std::function<void()> onUnload;

    QLabel *lblStamp = nullptr;
    QLabel *LblPrePag = nullptr;
    QLabel *LblPag = nullptr;
    QLabel *picLogo = nullptr;
    QPushButton *ComStampa = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QPointer<PrintReport> m_report;
    const PrintEnv *m_env = nullptr;
    std::shared_ptr<PrintOptions> m_options;
    QMetaObject::Connection m_pageConnection;
};

} // namespace kem
