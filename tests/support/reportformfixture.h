#pragma once
// A report form on the demo company's program context (DemoProgramFixture) with a scripted
// printer system, and a run to the preview stopped after its first page.
#include "tests/support/demoprogramfixture.h"
#include "platform/os/printersystem.h"
#include "platform/printlib/printreport.h"
#include "print/frmvstampa.h"
#include "reportkit/reportform.h"
#include "reportkit/reportprintservices.h"
#include "platform/printlib/printoptions.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace kemtest {

template <class Form>
struct ReportFormFixture : DemoProgramFixture {
    kem::ScriptedPrinterSystem *printers = nullptr;
    std::unique_ptr<kem::ReportPrintServices> print;
    std::unique_ptr<Form> form;

    // Writes the demo company, builds the context and loads the form; false (with error) when
    // it cannot. Variables set in `extraVars` override the company's.
    bool open(const QList<QPair<QString, QString>> &extraVars = {})
    {
        if (!openContext(extraVars))
            return false;
        auto scripted = std::make_unique<kem::ScriptedPrinterSystem>();
        scripted->add(QStringLiteral("Ufficio"), QStringLiteral("ipp://localhost/printers/Ufficio"), QStringLiteral("Generic PCL"));
        scripted->defaultPrinter = QStringLiteral("Ufficio");
        printers = scripted.get();
        print = std::make_unique<kem::ReportPrintServices>(std::move(scripted));
        form = std::make_unique<Form>(*ctx, *print);
        form->Load();
        return form->oiLoadOk == 1;
    }
};

// Runs `start` (a click that runs the form's report to the preview); `during` runs once the
// first page is shown, then the preview pages stop. False when no page was shown.
inline bool RunToFirstPreviewPage(kem::ReportForm &form, const std::function<void()> &start,
                                  const std::function<void()> &during)
{
    bool shown = false;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, &form, [&] {
        kem::FrmVStampa *preview = form.PreviewWindow();
        if (!preview || preview->PageShown() == 0 || preview->PageAwaited() > 0)
            return;
        driver.stop();
        shown = true;
        during();
        if (kem::PrintReport *r = preview->ogStampa())
            r->StopSet(2);
    });
    driver.start(20);
    start();
    driver.stop();
    return shown;
}

// Points the form's next run at a spreadsheet-compatible text file.
inline void ToCsv(kem::ReportForm &form, const QString &path)
{
    kem::PrintOptions &o = *form.Options();
    o.StaVid = kem::PrintOptions::File;
    o.FileForm = kem::PrintOptions::SpreadsheetText;
    o.FileName = path;
}

// Shows the window and makes it the active one; false when it does not become active.
inline bool ShowActive(QWidget &window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

// Runs `step` on the modal dialog of that class once it is up (it must end the dialog).
// Anything else that is up is closed, so that a wrong dialog fails the test instead of
// waiting for a user.
template <class Dialog>
void WhenShown(const std::function<void(Dialog &)> &step)
{
    QTimer::singleShot(0, qApp, [step] {
        QWidget *up = QApplication::activeModalWidget();
        if (auto *d = qobject_cast<Dialog *>(up))
            step(*d);
        else if (up)
            up->close();
    });
}

} // namespace kemtest
