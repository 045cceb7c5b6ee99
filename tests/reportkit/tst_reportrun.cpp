// The run skeleton of a report, with a report of its own: what a run that prints, finds
// nothing, or fails half-way says and leaves behind.
#include "platform/printlib/printoptions.h"
#include "print/aziendautilstampe.h"
#include "reportkit/reportprintservices.h"
#include "reportkit/reportrun.h"
#include "tests/support/testcompany.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace kem;

namespace {

// Prints `lines` lines of one column; with failAt > 0 it fails after that many lines.
class SampleRun : public ReportRun {
public:
    SampleRun(Database &db, AziendaUtilStampe &stampe, MessageSink &sink)
        : ReportRun(db, stampe, sink, QStringLiteral("Prova"))
    {
    }
    int lines = 0;
    int failAt = 0;    // > 0: fails after that line; -1: fails before the first
    int stopAt = 0;    // > 0: the user interrupts the run after that line
    int libraryFailAt = 0;  // > 0: a call of the print library fails after that line
    int ended = 0;
    int headings = 0;

protected:
    void Print() override
    {
        if (failAt < 0)
            throw ReportError(QStringLiteral("3"), QStringLiteral("tabella assente"));
        for (int i = 1; i <= lines && !report().StopGet(); ++i) {
            if (!PrintingStarted() && !BeginPrinting())
                return;
            bool newPage = false;
            CtrRiga(1, true, newPage);
            check(report().CellPrint(column_, QStringLiteral("riga %1").arg(i)), "CellPrint");
            check(report().LineEnd(), "LineEnd");
            CountLine();
            if (i == failAt)
                throw ReportError(QStringLiteral("7"), QStringLiteral("guasto"));
            if (i == stopAt)
                report().StopSet(1);  // "Interrompi la stampa"
            check(i != libraryFailAt, "CellPrint");
        }
    }
    void DefineColumns() override
    {
        report().ColumnsClear();
        column_ = report().ColumnAdd(QStringLiteral("MMMMMMMMMM"), 10, QString());
    }
    void ColumnHeadings() override { ++headings; }
    void EndRun() override { ++ended; }

private:
    int column_ = 0;
};

} // namespace

class TestReportRun : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void run_data();
    void run();

private:
    QTemporaryDir dir_;
    QString dbPath_;
};

void TestReportRun::initTestCase()
{
    QString error;
    dbPath_ = kemtest::CreateEmptyCompany(dir_.path(), QStringLiteral("azienda.db"), &error);
    QVERIFY2(!dbPath_.isEmpty(), qPrintable(error));
}

void TestReportRun::run_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("failAt");
    QTest::addColumn<int>("stopAt");
    QTest::addColumn<int>("libraryFailAt");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<int>("fileLines");  // -1: no file
    QTest::newRow("prints") << 3 << 0 << 0 << 0 << QStringList() << QStringList() << 3;
    QTest::newRow("nothing to print") << 0 << 0 << 0 << 0 << QStringList{"Non ci sono dati nell'intervallo richiesto"}
                                      << QStringList() << -1;
    QTest::newRow("fails half-way") << 5 << 2 << 0 << 0 << QStringList()
                                    << QStringList{"(Stampa Prova) Errore durante la stampa : Errore(7): guasto"} << 2;
    // A failed run reports its error only, not that there was nothing to print.
    QTest::newRow("fails before printing") << 5 << -1 << 0 << 0 << QStringList()
                                           << QStringList{"(Stampa Prova) Errore durante la stampa : Errore(3): tabella assente"} << -1;
    // A failed call of the print library: its own error number, no routine name.
    QTest::newRow("print library fails") << 4 << 0 << 0 << 3 << QStringList()
                                         << QStringList{"(Stampa Prova) Errore durante la stampa : Errore(482): Operazione di stampa non riuscita"} << 3;
    // An interrupted run writes no file.
    QTest::newRow("interrupted") << 5 << 0 << 2 << 0 << QStringList() << QStringList() << -1;
}

void TestReportRun::run()
{
    QFETCH(int, lines);
    QFETCH(int, failAt);
    QFETCH(int, stopAt);
    QFETCH(int, libraryFailAt);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, errors);
    QFETCH(int, fileLines);

    Database db;
    db.DbOpen(dbPath_);
    kemtest::RecordingSink sink;
    const CompanyParams params = kemtest::FixtureParams();
    int printActive = 0;
    CompanyEnv company;
    company.mainIni = QDir(dir_.path()).filePath(QStringLiteral("kemwin.ini"));
    company.programKey = QStringLiteral("DISTINTA");
    company.sink = &sink;
    company.db = &db;
    company.params = &params;
    company.printActive = &printActive;
    AziendaUtilStampe stampe(ReportPrintServices::EnvOf(company, nullptr));

    SampleRun report(db, stampe, sink);
    report.lines = lines;
    report.failAt = failAt;
    report.stopAt = stopAt;
    report.libraryFailAt = libraryFailAt;
    auto options = std::make_shared<PrintOptions>();
    options->StaVid = PrintOptions::File;
    options->FileForm = PrintOptions::PlainText;
    options->FileName = QDir(dir_.path()).filePath(QStringLiteral("prova-%1.txt").arg(QTest::currentDataTag()));
    report.ogOpzSta = options;
    report.AvviaStampa();

    QCOMPARE(sink.messages, messages);
    QCOMPARE(sink.errors, errors);
    QCOMPARE(report.LastRun().failed, !errors.isEmpty());
    QCOMPARE(report.LastRun().printed, lines > 0 && failAt >= 0);
    QCOMPARE(report.LastRun().stopped, stopAt > 0);
    const int last = failAt < 0 ? 0 : failAt > 0 ? failAt : stopAt > 0 ? stopAt : libraryFailAt > 0 ? libraryFailAt : lines;
    QCOMPARE(report.LastRun().lines, qint64(last));
    QCOMPARE(report.ended, 1);  // the run end, also after the error
    QVERIFY(!report.obStaAtt);
    QCOMPARE(printActive, 0);   // the job is over: the program's flag is down again
    QFile out(options->FileName);
    if (fileLines < 0) {
        QVERIFY(!out.exists());
        return;
    }
    QVERIFY(out.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(out.readAll());
    QCOMPARE(text.count(QStringLiteral("riga ")), fileLines);
}

QTEST_MAIN(TestReportRun)
#include "tst_reportrun.moc"
