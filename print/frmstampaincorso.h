#pragma once
// The print-in-progress window: what is printing, the page being produced, and the button
// that interrupts the run. Bound to the run's report object (ogStampa); the report's events
// are let through between lines so the button acts during the run.
#include "print/printprogress.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

namespace kem {

class PrintReport;

class frmStampaInCorso : public QWidget, public PrintProgressView {
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
    QMetaObject::Connection m_pageConnection;
};

} // namespace kem
