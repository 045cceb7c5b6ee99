// Screenshot of the preview window on page 2 of a sample report while the run goes on:
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tests/print/shot_frmvstampa docs/screenshots/frmvstampa.png
#include "frmvstampa.h"
#include "previewtestsupport.h"
#include "printtestsupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: shot_frmvstampa FILE.png\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(QFileInfo(out).absolutePath());

    kemtest::PrintFixture fx;
    kem::AziendaUtilStampe util(fx.env);
    kemtest::SampleOwner owner;
    kem::PrintReport report;
    report.OptionsSet(kemtest::PreviewOptions());
    kem::FrmVStampa window(&fx.sink);
    window.resize(1000, 760);
    window.ogStampaSet(&report);

    bool saved = false;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (window.PageShown() == 0 || window.PageAwaited() > 0)
            return;
        if (window.PageShown() == 1) {
            window.imaMuovi[kem::PreviewPager::Next]->click();
            return;
        }
        driver.stop();
        window.vscPosVert->setValue(0);
        QApplication::processEvents();
        saved = window.grab().save(out);
        report.StopSet(2);
    });
    driver.start(20);
    if (!kemtest::RunSamplePreview(util, report, owner, 3, 22)) {
        std::fprintf(stderr, "%s\n", qPrintable(report.LastErrorGet()));
        return 1;
    }
    window.close();
    for (const auto &m : fx.sink.messages)
        std::fprintf(stderr, "messaggio: %s\n", qPrintable(m.text));
    if (!saved) {
        std::fprintf(stderr, "screenshot non salvato: %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s\n", qPrintable(out));
    return 0;
}
