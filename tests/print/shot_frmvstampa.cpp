// Screenshot of the preview window on the first page of the demo company's BOM print while
// the run goes on (with --immagini: an image beside each line that has one and the parent's
// at the end of its page):
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tests/print/shot_frmvstampa docs/screenshots/frmvstampa.png
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tests/print/shot_frmvstampa docs/screenshots/frmvstampa-immagini.png --immagini
#include "bom/prelvo.h"
#include "platform/menu/fakemenuserver.h"
#include "print/frmvstampa.h"
#include "platform/db/kemdb.h"
#include "print/aziendautilstampe.h"
#include "platform/printlib/printoptions.h"
#include "tests/print/printtestsupport.h"
#include "schema/democompany.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

// Binds the preview window to the run's report object, as the report form does.
class PreviewBinder : public kem::ReportProgress {
public:
    explicit PreviewBinder(kem::FrmVStampa &window) : m_window(window) {}
    void Prepare(const std::shared_ptr<kem::PrintReport> &report, const QString &) override { m_window.ogStampaSet(report); }
    void Show() override {}

private:
    kem::FrmVStampa &m_window;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: shot_frmvstampa FILE.png\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool images = argc > 2 && QString::fromLocal8Bit(argv[2]) == QLatin1String("--immagini");
    QDir().mkpath(QFileInfo(out).absolutePath());

    QTemporaryDir company;
    QString error;
    if (!kem::WriteDemoCompany(company.path(), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    kem::Database db;
    const QString opened = db.DbOpen(QDir(company.path()).filePath(QStringLiteral("dati/azienda.db")));
    if (opened.isEmpty() || opened.startsWith(QStringLiteral("Err:"))) {
        std::fprintf(stderr, "%s\n", qPrintable(opened));
        return 1;
    }
    kemtest::RecordingSink sink;
    kem::FakeMenuServer menu;
    menu.setVar(QStringLiteral("versione"), QStringLiteral("4.2"));
    menu.setVar(QStringLiteral("ditta.ragsoc"), QStringLiteral("Arredamenti Bellini S.r.l."));
    if (images) {
        menu.setVar(QStringLiteral("Articoli.Immagini"), QStringLiteral("S"));
        menu.setVar(QStringLiteral("DiBa.StaImgNumRighe"), QStringLiteral("3"));
    }
    kem::CompanyParams params;
    params.numDecQta = 3;
    params.moneta = params.codEuro = QStringLiteral("Euro");
    params.codLira = QStringLiteral("L.");
    params.current.numDec = 2;
    params.current.numDecGest = 2;
    params.workingDate = QDate::currentDate();
    params.arrotIvaEuro = QStringLiteral("A");
    kem::PrintEnv env;
    env.mainIni = QDir(company.path()).filePath(QStringLiteral("kemwin.ini"));
    env.programKey = QStringLiteral("DISTINTA");
    env.menu = &menu;
    env.sink = &sink;
    env.db = &db;
    env.workingDate = params.workingDate;
    kem::AziendaUtilStampe stampe(env);

    kem::FrmVStampa window(&sink);
    window.resize(1000, 760);
    PreviewBinder binder(window);
    kem::Prelvo report(db, params, stampe, sink);
    report.ProgressSet(&binder);
    auto options = std::make_shared<kem::PrintOptions>();
    options->SectionKey = QStringLiteral("DISTINTAfrmPrelvo");
    options->StaVid = kem::PrintOptions::Preview;
    options->PreviewFlag = true;
    report.ogOpzSta = options;
    report.osArticoloDa = QStringLiteral("ARM-2A-100");
    report.osArticoloA = QStringLiteral("TAV-ROV180");
    report.oiLivEsp = 5;
    report.osQualePrezzo = QStringLiteral("M");
    report.obStampoImporti = true;
    if (images) {
        report.obStaImgRiga = true;
        report.obStaImg = true;
        report.obSaltoPag = 1;
        report.oiLivEsp = 1;
    }

    bool saved = false;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (window.PageShown() == 0 || window.PageAwaited() > 0)
            return;
        driver.stop();
        window.vscPosVert->setValue(0);
        QApplication::processEvents();
        saved = window.grab().save(out);
        if (auto *r = window.ogStampa())
            r->StopSet(2);
    });
    driver.start(20);
    report.AvviaStampa();
    if (report.LastRun().failed)
        std::fprintf(stderr, "errore: %s\n", qPrintable(report.LastRun().error));
    window.close();
    for (const auto &m : sink.messages)
        std::fprintf(stderr, "messaggio: %s\n", qPrintable(m.text));
    if (!saved) {
        std::fprintf(stderr, "screenshot non salvato: %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s\n", qPrintable(out));
    return 0;
}
