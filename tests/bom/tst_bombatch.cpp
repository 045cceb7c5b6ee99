// distinta-batch bom end to end: the demo company printed to every file destination and read
// back, the bare run compared with rows worked out by hand, the straightforward and the cached
// path giving the same bytes on the demo company and on a small synthetic one, and bad options.
#include "schema/democompany.h"
#include "schema/synthcompany.h"
#include "tests/support/batchrun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Result = kemtest::BatchResult;
const QString &kBatch = kemtest::kBatch;

Result batch(const QStringList &args) { return kemtest::RunBatch(args); }

QString tool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray fileBytes(const QString &path) { return kemtest::FileBytes(path); }
QStringList csvLines(const QString &path) { return kemtest::CsvLines(path); }

} // namespace

class TestBomBatch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void bareRunPrintsTheFormDefaults();
    void destinations_data();
    void destinations();
    void bothPathsSameBytes_data();
    void bothPathsSameBytes();
    void optionsReachTheReport();
    void badOptions_data();
    void badOptions();
    void onlyTheReportsOwnMessages();

private:
    QTemporaryDir dir_;
    QString demo_;
    QString synth_;
};

void TestBomBatch::initTestCase()
{
    QVERIFY(dir_.isValid());
    QVERIFY2(QFile::exists(kBatch), qPrintable(kBatch));
    demo_ = dir_.filePath(QStringLiteral("demo"));
    synth_ = dir_.filePath(QStringLiteral("synth"));
    QString error;
    QVERIFY2(kem::WriteDemoCompany(demo_, &error), qPrintable(error));
    QVERIFY2(kem::WriteSynthCompany(synth_, {12, 4, 3, 40}, &error), qPrintable(error));
}

void TestBomBatch::bareRunPrintsTheFormDefaults()
{
    const QString out = dir_.filePath(QStringLiteral("bare.csv"));
    const Result r = batch({"bom", "--company", demo_, "--out", out});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QStringList lines = csvLines(out);
    // Worked out from the demo data: costs of the working year, method of each link, the
    // semi-finished valued through their own links, "ACQ" list price of 8,10 (from 1/3/2025).
    //   BAT-ROV-ML is sold by the metre and the demo computes quantities from dimensions
    //   (Vendite.QtaDaDimen S, so the form starts with it ticked): 1 piece 2400 long is
    //   2,4 m; 2,52 m x 9,80 = 24,70; 0,048 l x 12,50 = 0,60; total 25,30.
    //   SED-FAG01: 4 x 0,08 = 0,32; scocca 0,05 x 3,296 (last) = 0,16 + 3,6 x 6,50 = 23,40
    //   + 0,2 x 17,00 (standard) = 3,40 -> 26,96; seduta 0,2 x 6,00 = 1,20 + 0,18 x 11,50 = 2,07
    //   + 0,35 x 8,10 = 2,84 -> 6,11; 8 x 0,02 = 0,16; total 33,55.
    const QStringList bat{"BAT-ROV-ML;Battiscopa rovere 70 mm (al metro);M;2,400;Pz. 1  di lungh.:  2400;25,30",
                          "* LEG-ROV-45;Listello rovere massello 45x45;M;2,520;M;;24,70",
                          "* VER-ACR-TR;Vernice acrilica trasparente opaca;LT;0,048;M;;0,60"};
    const QStringList sed{"SED-FAG01;Sedia faggio con seduta imbottita;PZ;1,000;;;33,55",
                          "* PIE-FELTRO;Piedino in feltro adesivo d.20;PZ;4,000;M;;0,32",
                          "* SL-SCOCCA-SED;Scocca sedia faggio laccata;PZ;1,000;;SEM;26,96",
                          "* * COL-VIN;Colla vinilica D3;KG;0,050;U;;0,16",
                          "* * LEG-FAG-40;Listello faggio evaporato 40x40;M;3,600;M;;23,40",
                          "* * VER-POL-BI;Laccatura poliuretanica bianca;LT;0,200;S;;3,40",
                          "* SL-SEDUTA-IMB;Seduta imbottita similpelle nera;PZ;1,000;;SEM;6,11",
                          "* * GOM-PU-30;Gommapiuma poliuretano D30 sp.30;MQ;0,200;M;;1,20",
                          "* * PAN-NOB-18;Pannello nobilitato bianco sp.18;MQ;0,180;M;;2,07",
                          "* * TES-SKY-NE;Similpelle nera h.140;M;0,350;L;ACQ;2,84",
                          "* VIT-4X40;Vite truciolare 4x40 zincata;PZ;8,000;M;;0,16"};
    for (const QStringList &expected : {bat, sed}) {
        const int at = lines.indexOf(expected.first());
        QVERIFY2(at >= 0, qPrintable(lines.join('\n')));
        QCOMPARE(lines.mid(at, expected.size() + 1), expected + QStringList{QString()});
    }
    QVERIFY(lines.contains("Codice;Descrizione articolo;Um;Quantità;Val.;Cod.Listino;Importo"));
    // Finished products only: no semi-finished article heads a BOM.
    for (const QString &l : lines)
        QVERIFY2(!l.startsWith(QLatin1String("SL-")), qPrintable(l));
}

void TestBomBatch::destinations_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("pdf") << "out.pdf";
    QTest::newRow("csv") << "out.csv";
    QTest::newRow("text") << "out.txt";
    QTest::newRow("xlsx") << "out.xlsx";
    QTest::newRow("fixed width") << "out.fix";
}

void TestBomBatch::destinations()
{
    QFETCH(QString, file);
    const QString out = dir_.filePath(file);
    QFile::remove(out);
    const Result r = batch({"bom", "--company", demo_, "--out", out, "--articolo-da", "SED-FAG01", "--articolo-a", "SED-FAG01"});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QString text;
    if (file.endsWith(".pdf")) {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed");
        text = tool("pdftotext", {"-layout", out, "-"});
    } else if (file.endsWith(".xlsx")) {
        QVERIFY(fileBytes(out).startsWith("PK"));
        if (QStandardPaths::findExecutable("unzip").isEmpty())
            QSKIP("unzip is not installed");
        text = tool("unzip", {"-p", out, "xl/sharedStrings.xml"}) + tool("unzip", {"-p", out, "xl/worksheets/sheet1.xml"});
    } else if (file.endsWith(".fix")) {
        text = QString::fromLatin1(fileBytes(out));
    } else {
        text = QString::fromUtf8(fileBytes(out));
    }
    QVERIFY2(text.contains("Stampa Distinta Base"), qPrintable(text.left(2000)));
    QVERIFY2(text.contains("SED-FAG01"), qPrintable(text.left(2000)));
    QVERIFY(text.contains("* * TES-SKY-NE"));
    QVERIFY(text.contains("Similpelle nera h.140"));
    QVERIFY(!text.contains("BAT-ROV-ML"));
}

void TestBomBatch::bothPathsSameBytes_data()
{
    QTest::addColumn<QString>("company");
    QTest::addColumn<QStringList>("options");
    QTest::newRow("demo, defaults") << "demo" << QStringList{};
    QTest::newRow("demo, all kinds, two levels, quantity 3") << "demo" << QStringList{"--tipo-diba", "0", "--liv-esp", "2", "--qta-prod", "3"};
    QTest::newRow("demo, standard cost") << "demo" << QStringList{"--tipo-diba", "0", "--quale-prezzo", "S"};
    QTest::newRow("demo, list ACQ") << "demo" << QStringList{"--quale-prezzo", "L", "--listino", "ACQ"};
    QTest::newRow("synthetic") << "synth" << QStringList{"--tipo-diba", "0"};
}

void TestBomBatch::bothPathsSameBytes()
{
    QFETCH(QString, company);
    QFETCH(QStringList, options);
    const QString dir = company == "demo" ? demo_ : synth_;
    const QString a = dir_.filePath("straightforward.csv"), b = dir_.filePath("cached.csv");
    const Result ra = batch(QStringList{"bom", "--company", dir, "--out", a, "--straightforward", "--stats"} + options);
    const Result rb = batch(QStringList{"bom", "--company", dir, "--out", b, "--stats"} + options);
    QVERIFY2(ra.exitCode == 0, qPrintable(ra.err));
    QVERIFY2(rb.exitCode == 0, qPrintable(rb.err));
    const QByteArray bytes = fileBytes(a);
    QVERIFY(bytes.size() > 100);
    QVERIFY(bytes == fileBytes(b));
    // The cached path issues fewer statements.
    const auto statements = [](const QString &stats) {
        const QStringList w = stats.simplified().split(' ');
        return w.value(w.indexOf("istruzioni") + 1).toLongLong();
    };
    QVERIFY2(statements(rb.out) < statements(ra.out), qPrintable(ra.out + rb.out));
    // The messages of a run (e.g. a missing component) are the same on both paths.
    QCOMPARE(rb.err.count("previsto come legame ma inesistente"), ra.err.count("previsto come legame ma inesistente"));
}

void TestBomBatch::optionsReachTheReport()
{
    const QString out = dir_.filePath(QStringLiteral("opts.csv"));
    const Result r = batch({"bom", "--company", demo_, "--out", out, "--articolo-da", "BAT-ROV-ML", "--articolo-a", "BAT-ROV-ML",
                            "--qta-prod", "10", "--importi", "N", "--esp-scal", "N", "--qta-da-dimen", "N"});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QStringList lines = csvLines(out);
    QVERIFY(lines.contains("Codice;Descrizione articolo;Um;Quantità;Val.;Cod.Listino"));
    QVERIFY(lines.contains("BAT-ROV-ML;Battiscopa rovere 70 mm (al metro);M;10,000;;"));
    QVERIFY(!lines.join('\n').contains("LEG-ROV-45"));

    const Result none = batch({"bom", "--company", demo_, "--out", dir_.filePath("none.csv"), "--articolo-da", "ZZZ1", "--articolo-a", "ZZZ2"});
    QCOMPARE(none.exitCode, 3);  // nothing to print
    QVERIFY(none.err.contains("Non ci sono dati nell'intervallo richiesto"));
    QVERIFY(!QFile::exists(dir_.filePath("none.csv")));
}

void TestBomBatch::badOptions_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("no company") << QStringList{"--out", "x.csv"} << "Manca --company DIR.";
    QTest::newRow("unknown extension") << QStringList{"--out", "x.doc"} << "Estensione di --out non riconosciuta";
    QTest::newRow("level 1000") << QStringList{"--out", "x.csv", "--liv-esp", "1000"} << "Errore nel campo 'Livello di Esplosione'";
    QTest::newRow("quantity 0") << QStringList{"--out", "x.csv", "--qta-prod", "0"} << "Errore nel campo 'Quantità Prodotta'";
    QTest::newRow("range reversed") << QStringList{"--out", "x.csv", "--articolo-da", "B", "--articolo-a", "A"} << "Si prega di inserire gli articoli in ordine crescente";
    QTest::newRow("list without code") << QStringList{"--out", "x.csv", "--quale-prezzo", "L"} << "Inserire un codice listino valido'";
    QTest::newRow("bad flag") << QStringList{"--out", "x.csv", "--salto-pag", "forse"} << "Valore non valido per --salto-pag";
    // Qt's parse errors, in Italian.
    QTest::newRow("unknown option") << QStringList{"--out", "x.csv", "--bogus"} << "Opzione sconosciuta: --bogus";
    QTest::newRow("option without its value") << QStringList{"--company", demo_, "--out"} << "Manca il valore di --out";
}

void TestBomBatch::badOptions()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    QStringList all{"bom"};
    if (!args.contains("--company") && message != "Manca --company DIR.")
        all << "--company" << demo_;
    const Result r = batch(all + args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFile::exists("x.csv"));
}

void TestBomBatch::onlyTheReportsOwnMessages()
{
    // Without a runtime folder in the environment (cron, a service), as with one.
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    p.setProcessEnvironment(env);
    const QString out = dir_.filePath(QStringLiteral("own.csv"));
    p.start(kBatch, {"bom", "--company", demo_, "--out", out});
    QVERIFY(p.waitForFinished(120000));
    QCOMPARE(p.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(p.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    for (const QString &line : lines)
        QVERIFY2(line.startsWith("Richiesta Comando: ") || line.startsWith("  [") || line.startsWith("  ")
                     || line == QStringLiteral("Distinta base stampata in ") + out,
                 qPrintable(line));

    const Result help = batch({"bom", "--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains("\nOpzioni:\n"));
    QVERIFY(!help.out.contains("Options:") && !help.out.contains("[options]") && !help.out.contains("[default:"));
}

QTEST_MAIN(TestBomBatch)
#include "tst_bombatch.moc"
