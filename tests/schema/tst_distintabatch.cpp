// The distinta-batch program: usage errors, the refusal to overwrite, the generators' output.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TstDistintaBatch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void usageErrors_data();
    void usageErrors();
    void help_data();
    void help();
    void refusesNonEmptyDirectory_data();
    void refusesNonEmptyDirectory();
    void forceRewrites();
    void synthReportsLinks_data();
    void synthReportsLinks();
    void demoBomPdfShowsCompanyAndValues();
    void unusableDirectory_data();
    void unusableDirectory();

private:
    struct Result {
        int code = -1;
        QString out, err;
    };
    Result run(const QStringList &args);
    QString program_;
    QTemporaryDir tmp_;
};

void TstDistintaBatch::initTestCase()
{
    program_ = QStringLiteral(KEM_BINARY_DIR "/apps/distinta-batch/distinta-batch");
    QVERIFY2(QFile::exists(program_), qPrintable(program_));
    QVERIFY(tmp_.isValid());
}

TstDistintaBatch::Result TstDistintaBatch::run(const QStringList &args)
{
    QProcess p;
    p.start(program_, args);
    Result r;
    if (!p.waitForFinished(120000))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

void TstDistintaBatch::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message"); // part of the message on standard error
    const QString dir = tmp_.filePath("never");
    QTest::newRow("no command") << QStringList{} << "Uso: distinta-batch";
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << "Comando sconosciuto";
    QTest::newRow("demo without DIR") << QStringList{"demo"} << "Manca la cartella";
    QTest::newRow("demo with two DIRs") << QStringList{"demo", dir, dir} << "Una sola cartella";
    QTest::newRow("unknown option") << QStringList{"demo", "--colour", dir} << "colour";
    QTest::newRow("negative products")
        << QStringList{"synth", dir, "--products", "-3"} << "prodotti";
    QTest::newRow("zero depth") << QStringList{"synth", dir, "--depth", "0"} << "profondità";
    QTest::newRow("words for a count")
        << QStringList{"synth", dir, "--components", "tre"} << "--components";
    QTest::newRow("share above 100") << QStringList{"synth", dir, "--shared", "120"} << "100";
    QTest::newRow("share not a number") << QStringList{"synth", dir, "--shared", "x"} << "--shared";
    QTest::newRow("option without value") << QStringList{"synth", dir, "--products"} << "products";
    QTest::newRow("more sub-assemblies than components")
        << QStringList{"synth", dir, "--components", "3", "--assemblies", "4"} << "semilavorati";
    QTest::newRow("sub-assemblies below -1")
        << QStringList{"synth", dir, "--assemblies", "-2"} << "semilavorati";
    QTest::newRow("words for sub-assemblies")
        << QStringList{"synth", dir, "--assemblies", "due"} << "--assemblies";
}

void TstDistintaBatch::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const Result r = run(args);
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFile::exists(tmp_.filePath("never")));
}

void TstDistintaBatch::help_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("text");
    QTest::newRow("program") << QStringList{"--help"} << "synth";
    QTest::newRow("demo") << QStringList{"demo", "--help"} << "Uso: distinta-batch demo";
    QTest::newRow("synth") << QStringList{"synth", "-h"} << "--components";
}

void TstDistintaBatch::help()
{
    QFETCH(QStringList, args);
    QFETCH(QString, text);
    const Result r = run(args);
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.contains(text), qPrintable(r.out));
}

void TstDistintaBatch::refusesNonEmptyDirectory_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("demo") << "demo";
    QTest::newRow("synth") << "synth";
}

void TstDistintaBatch::refusesNonEmptyDirectory()
{
    QFETCH(QString, command);
    const QString dir = tmp_.filePath("full-" + command);
    QVERIFY(QDir().mkpath(dir));
    QFile keep(dir + "/appunti.txt");
    QVERIFY(keep.open(QIODevice::WriteOnly));
    keep.write("da non perdere");
    keep.close();
    const Result r = run({command, dir});
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains("--force"), qPrintable(r.err));
    QCOMPARE(QDir(dir).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"appunti.txt"});
}

void TstDistintaBatch::forceRewrites()
{
    const QString dir = tmp_.filePath("forced");
    QVERIFY(QDir().mkpath(dir));
    QFile keep(dir + "/appunti.txt");
    QVERIFY(keep.open(QIODevice::WriteOnly));
    keep.close();
    Result r = run({"demo", "--force", dir});
    QCOMPARE(r.code, 0);
    QVERIFY(QFile::exists(dir + "/kemwin.ini"));
    QVERIFY(QFile::exists(dir + "/dati/azienda.db"));
    QVERIFY(QFile::exists(dir + "/appunti.txt")); // other files are left alone
    // An empty existing directory needs no --force.
    const QString empty = tmp_.filePath("empty");
    QVERIFY(QDir().mkpath(empty));
    r = run({"demo", empty});
    QCOMPARE(r.code, 0);
}

void TstDistintaBatch::synthReportsLinks_data()
{
    QTest::addColumn<QStringList>("more");
    QTest::addColumn<QString>("counts");
    // 3 products x (2 + 4) links.
    QTest::newRow("all sub-assemblies") << QStringList{} << "21 articoli, 18 legami";
    // 3 products x (1 sub-assembly and 1 material, then the sub-assembly's 2 materials).
    QTest::newRow("one sub-assembly") << QStringList{"--assemblies", "1"}
                                      << "15 articoli, 12 legami";
}

void TstDistintaBatch::synthReportsLinks()
{
    QFETCH(QStringList, more);
    QFETCH(QString, counts);
    const QString dir = tmp_.filePath("synth-" + QString::fromLatin1(QTest::currentDataTag()));
    const Result r = run(QStringList{"synth", dir, "--products", "3", "--depth", "2",
                                     "--components", "2", "--shared", "0"} + more);
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.contains(counts), qPrintable(r.out));
    QVERIFY(QFile::exists(dir + "/kemora-menu.ini"));
    QVERIFY(QFile::exists(dir + "/menu/menu.db"));
}

// The demo company's bill of materials on A4: the page header names the company and the value
// column, the right-most one, still lies on the page.
void TstDistintaBatch::demoBomPdfShowsCompanyAndValues()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext is not installed");
    const QString dir = tmp_.filePath("demo-pdf");
    QCOMPARE(run({"demo", dir}).code, 0);
    const QString pdf = tmp_.filePath("demo-bom.pdf");
    const Result r = run({"bom", "--company", dir, "--out", pdf});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
    const QString all = lines.join('\n');
    QVERIFY2(all.contains("Ditta: Arredamenti Bellini S.r.l."), qPrintable(all.left(1500)));
    QVERIFY2(QRegularExpression("Codice\\s+Descrizione articolo\\s+Um\\s+Quantità\\s+Val\\.\\s+Cod\\.Listino\\s+Importo\\s*$",
                                QRegularExpression::MultilineOption).match(all).hasMatch(), qPrintable(all.left(1500)));
    // Component lines end with their value, written with two decimals.
    static const QRegularExpression valued("\\s\\d{1,3}(\\.\\d{3})*,\\d{2}\\s*$");
    int values = 0;
    for (const QString &l : lines)
        values += valued.match(l).hasMatch() ? 1 : 0;
    QVERIFY2(values >= 10, qPrintable(all.left(3000)));
}

void TstDistintaBatch::unusableDirectory_data()
{
    QTest::addColumn<QStringList>("args");
    QFile file(tmp_.filePath("a-file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QTest::newRow("blank demo") << QStringList{"demo", ""};
    QTest::newRow("blank synth") << QStringList{"synth", "  ", "--products", "1"};
    QTest::newRow("file as demo DIR") << QStringList{"demo", tmp_.filePath("a-file")};
    QTest::newRow("file as synth DIR") << QStringList{"synth", tmp_.filePath("a-file")};
}

void TstDistintaBatch::unusableDirectory()
{
    QFETCH(QStringList, args);
    const Result r = run(args);
    QVERIFY(r.code == 1 || r.code == 2);
    QVERIFY(!r.err.isEmpty());
    QVERIFY(!QFile::exists("kemwin.ini")); // nothing written into the working directory
    QCOMPARE(QFileInfo(tmp_.filePath("a-file")).size(), qint64(0));
}

QTEST_GUILESS_MAIN(TstDistintaBatch)
#include "tst_distintabatch.moc"
