// distinta-batch implosion end to end: the demo company printed to a CSV file compared with rows
// worked out by hand from the demo data, the other file destinations, the help with every
// option and its default, nothing to print, and bad usage.
#include "schema/democompany.h"
#include "tests/support/batchrun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using kemtest::CsvLines;
using kemtest::RunBatch;

class TestImplosionBatch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void csvOnTheDemoCompany_data();
    void csvOnTheDemoCompany();
    void destinations_data();
    void destinations();
    void helpNamesEveryOptionAndDefault();
    void nothingToPrint();
    void badUsage_data();
    void badUsage();

private:
    QTemporaryDir dir_;
    QString demo_;
};

void TestImplosionBatch::initTestCase()
{
    QVERIFY(dir_.isValid());
    QVERIFY2(QFile::exists(kemtest::kBatch), qPrintable(kemtest::kBatch));
    demo_ = dir_.filePath(QStringLiteral("demo"));
    QString error;
    QVERIFY2(kem::WriteDemoCompany(demo_, &error), qPrintable(error));
}

void TestImplosionBatch::csvOnTheDemoCompany_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("expected");
    // From the demo links, components ordered by code and the parents of each by code;
    // quantities with the company's three quantity decimals. BOR-ABS-22 is itself a base
    // material with a link below it: as a parent it is "Prodotto Base".
    const QStringList bor{"BOR-ABS-22 - Bordo ABS 22 mm bianco preincollato;M;Prodotto Base",
                          "ARM-2A-100;Armadio 2 ante 100x60x200 bianco;M;14,000;Prodotto Finito",
                          "LIB-5R-080;Libreria 5 ripiani 80x30x180;M;9,000;Prodotto Finito",
                          "SL-ANTA-50;Anta nobilitata bianca 50x200 con cerniere;M;5,000;Semilavorato",
                          "SL-FIANCO-LIB;Fianco libreria 180x30 bordato;M;3,600;Semilavorato",
                          "TOP-LAM-MQ;Piano di lavoro laminato sp.38 (al mq);M;1,200;Prodotto Finito"};
    const QStringList cer{QStringLiteral("CER-35-110 - Cerniera a scodellino 35 mm 110\u00b0;PZ;Prodotto Base"),
                          "SL-ANTA-50;Anta nobilitata bianca 50x200 con cerniere;CP;2,000;Semilavorato"};
    const QStringList colHot{"COL-HOT - Colla termofusibile in granuli;KG;Prodotto Base",
                             "BOR-ABS-22;Bordo ABS 22 mm bianco preincollato;KG;0,010;Prodotto Base",
                             "TOP-LAM-MQ;Piano di lavoro laminato sp.38 (al mq);KG;0,030;Prodotto Finito"};
    const QStringList colVin{"COL-VIN - Colla vinilica D3;KG;Prodotto Base",
                             "SL-PIANO-180;Piano tavolo rovere 180x90 sp.30;KG;0,100;Semilavorato",
                             "SL-PIANO-NOC;Piano tavolo noce 160x80 sp.30;KG;0,100;Semilavorato",
                             "SL-SCOCCA-SED;Scocca sedia faggio laccata;KG;0,050;Semilavorato",
                             "SL-TELAIO-180;Telaio tavolo rovere 180;KG;0,150;Semilavorato"};
    // The semi-finished from SL-GAMBA-ROV on: the leg is used by both tables, the panels once.
    const QStringList gamba{"SL-GAMBA-ROV - Gamba tornita rovere h.72;PZ;Semilavorato",
                            "SL-TELAIO-180;Telaio tavolo rovere 180;PZ;4,000;Semilavorato",
                            "TAV-O'NEIL;Tavolo O'Neil noce canaletto 160x80;PZ;4,000;Prodotto Finito"};
    const QStringList pianoRov{"SL-PIANO-180 - Piano tavolo rovere 180x90 sp.30;PZ;Semilavorato",
                               "TAV-ROV180;Tavolo allungabile rovere 180x90;PZ;1,000;Prodotto Finito"};
    const QStringList pianoNoc{"SL-PIANO-NOC - Piano tavolo noce 160x80 sp.30;PZ;Semilavorato",
                               "TAV-O'NEIL;Tavolo O'Neil noce canaletto 160x80;PZ;1,000;Prodotto Finito"};
    QTest::newRow("base materials BOR to COL-VIN")
        << QStringList{"--articolo-da", "BOR", "--articolo-a", "COL-VIN"} << bor + cer + colHot + colVin;
    QTest::newRow("semi-finished SL-G to SL-PIANO-NOC")
        << QStringList{"--tipo-diba-art", "2", "--articolo-da", "SL-G", "--articolo-a", "SL-PIANO-NOC"}
        << gamba + pianoRov + pianoNoc;
    QTest::newRow("all kinds, one semi-finished and one base material")
        << QStringList{"--tipo-diba-art", "0", "--articolo-da", "SL-PIANO-NOC", "--articolo-a", "SL-PIANO-NOC"}
        << pianoNoc;
    // Every level up to the products: each code after "* " per level, quantities of the
    // component per unit of each article, in the unit of the component's link.
    QTest::newRow("every level, a base material")
        << QStringList{"--articolo-da", "COL-VIN", "--articolo-a", "COL-VIN", "--levels", "0"}
        << QStringList{"COL-VIN - Colla vinilica D3;KG;Prodotto Base",
                       "* SL-PIANO-180;Piano tavolo rovere 180x90 sp.30;KG;0,100;Semilavorato",
                       "* * TAV-ROV180;Tavolo allungabile rovere 180x90;KG;0,100;Prodotto Finito",
                       "* SL-PIANO-NOC;Piano tavolo noce 160x80 sp.30;KG;0,100;Semilavorato",
                       "* * TAV-O'NEIL;Tavolo O'Neil noce canaletto 160x80;KG;0,100;Prodotto Finito",
                       "* SL-SCOCCA-SED;Scocca sedia faggio laccata;KG;0,050;Semilavorato",
                       "* * SED-FAG01;Sedia faggio con seduta imbottita;KG;0,050;Prodotto Finito",
                       "* SL-TELAIO-180;Telaio tavolo rovere 180;KG;0,150;Semilavorato",
                       "* * TAV-ROV180;Tavolo allungabile rovere 180x90;KG;0,150;Prodotto Finito"};
    QTest::newRow("every level, a semi-finished used directly and through the frame")
        << QStringList{"--tipo-diba-art", "2", "--articolo-da", "SL-GAMBA-ROV", "--articolo-a", "SL-GAMBA-ROV", "--levels", "0"}
        << QStringList{"SL-GAMBA-ROV - Gamba tornita rovere h.72;PZ;Semilavorato",
                       "* SL-TELAIO-180;Telaio tavolo rovere 180;PZ;4,000;Semilavorato",
                       "* * TAV-ROV180;Tavolo allungabile rovere 180x90;PZ;4,000;Prodotto Finito",
                       "* TAV-O'NEIL;Tavolo O'Neil noce canaletto 160x80;PZ;4,000;Prodotto Finito"};
    QTest::newRow("one level asked for is the print without levels")
        << QStringList{"--tipo-diba-art", "2", "--articolo-da", "SL-G", "--articolo-a", "SL-PIANO-NOC", "--levels", "1"}
        << gamba + pianoRov + pianoNoc;
}

void TestImplosionBatch::csvOnTheDemoCompany()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, expected);
    const QString out = dir_.filePath(QStringLiteral("implosione.csv"));
    QFile::remove(out);
    const kemtest::BatchResult r = RunBatch(QStringList{"implosion", "--company", demo_, "--out", out} + options);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY2(r.err.contains("Implosione distinta base stampata in"), qPrintable(r.err));
    const QStringList lines = CsvLines(out);
    const QString headings = QStringLiteral("Codice e descrizione componente;Unità di misura;Composto;"
                                            "Descrizione composto;Um;Quantità;Tipo");
    const int at = lines.indexOf(headings);
    QVERIFY2(at >= 0, qPrintable(lines.join('\n')));
    QStringList body = lines.mid(at + 1);
    while (!body.isEmpty() && body.last().isEmpty())
        body.removeLast();
    QCOMPARE(body, expected);
    QVERIFY(lines.join('\n').contains("Stampa Implosione Distinta Base"));
}

void TestImplosionBatch::destinations_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("pdf") << "out.pdf";
    QTest::newRow("text") << "out.txt";
    QTest::newRow("xlsx") << "out.xlsx";
    QTest::newRow("fixed width") << "out.fix";
}

void TestImplosionBatch::destinations()
{
    QFETCH(QString, file);
    const QString out = dir_.filePath(file);
    QFile::remove(out);
    const kemtest::BatchResult r = RunBatch({"implosion", "--company", demo_, "--out", out,
                                             "--articolo-da", "COL-HOT", "--articolo-a", "COL-HOT"});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QByteArray bytes = kemtest::FileBytes(out);
    QVERIFY(bytes.size() > 100);
    if (file.endsWith(".pdf"))
        QVERIFY(bytes.startsWith("%PDF"));
    else if (file.endsWith(".xlsx"))
        QVERIFY(bytes.startsWith("PK"));
    else {
        QVERIFY2(bytes.contains("TOP-LAM-MQ") && bytes.contains("BOR-ABS-22") && !bytes.contains("COL-VIN"),
                 bytes.constData());
        // Every column in the 132 characters of a line: quantities and kinds included.
        const QList<QByteArray> lines = bytes.split('\n');
        bool top = false;
        for (QByteArray line : lines) {
            line = line.trimmed();
            QVERIFY2(line.size() <= 132, line.constData());
            if (line.startsWith("TOP-LAM-MQ")) {
                top = true;
                QVERIFY2(line.contains(" KG ") && line.contains("0,030") && line.endsWith("Prodotto Finito"),
                         line.constData());
            }
        }
        QVERIFY(top);
        QVERIFY(bytes.contains("Prodotto Base"));
        QVERIFY(bytes.contains("Quantit"));
    }
}

void TestImplosionBatch::helpNamesEveryOptionAndDefault()
{
    const kemtest::BatchResult r = RunBatch({"implosion", "--help"});
    QCOMPARE(r.exitCode, 0);
    for (const char *option : {"--company", "--out", "--articolo-da", "--articolo-a", "--tipo-diba-art", "--levels", "--stats"})
        QVERIFY2(r.out.contains(QLatin1String(option)), option);
    // The form's initial values: no bounds, base materials only.
    const QString text = r.out.simplified();
    QVERIFY2(text.contains("osArticoloDa: primo componente. Predefinito: vuoto, nessun limite."), qPrintable(r.out));
    QVERIFY2(text.contains("osArticoloA: ultimo componente. Predefinito: vuoto, nessun limite."), qPrintable(r.out));
    QVERIFY2(text.contains("2 solo semilavorati. Predefinito: 1."), qPrintable(r.out));
    QVERIFY2(text.contains("per unità di quell'articolo. Predefinito: 1."), qPrintable(r.out));
    QVERIFY(text.contains("Codici di uscita: 0 stampata, 1 errore, 2 uso errato o selezione rifiutata, 3 nessun dato da stampare."));
    // The command is listed among the others.
    const kemtest::BatchResult list = RunBatch({"--help"});
    QVERIFY2(list.out.contains("implosion") || list.err.contains("implosion"), qPrintable(list.out + list.err));
}

void TestImplosionBatch::nothingToPrint()
{
    const QString out = dir_.filePath(QStringLiteral("none.csv"));
    // SL-ANTA-50 is semi-finished: not among the base materials of the default.
    const kemtest::BatchResult r = RunBatch({"implosion", "--company", demo_, "--out", out,
                                             "--articolo-da", "SL-ANTA-50", "--articolo-a", "SL-ANTA-50"});
    QCOMPARE(r.exitCode, 3);
    QVERIFY(r.err.contains("Non ci sono dati nell'intervallo richiesto"));
    QVERIFY(!QFile::exists(out));
}

void TestImplosionBatch::badUsage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("no company") << QStringList{"--out", "x.csv"} << "Manca --company DIR.";
    QTest::newRow("no out") << QStringList{"--company", "DEMO"} << "Manca --out FILE.";
    QTest::newRow("unknown extension") << QStringList{"--company", "DEMO", "--out", "x.doc"} << "Estensione di --out non riconosciuta";
    QTest::newRow("range reversed") << QStringList{"--company", "DEMO", "--out", "x.csv", "--articolo-da", "B", "--articolo-a", "A"}
                                    << "Si prega di inserire gli articoli in ordine crescente";
    QTest::newRow("kind 3") << QStringList{"--company", "DEMO", "--out", "x.csv", "--tipo-diba-art", "3"}
                            << "Valore non valido per --tipo-diba-art: 3 (0, 1 o 2)";
    QTest::newRow("kind not a number") << QStringList{"--company", "DEMO", "--out", "x.csv", "--tipo-diba-art", "tutti"}
                                       << "Valore non valido per --tipo-diba-art";
    QTest::newRow("levels negative") << QStringList{"--company", "DEMO", "--out", "x.csv", "--levels", "-1"}
                                     << "Il numero di livelli non può essere negativo (0: tutti i livelli)";
    QTest::newRow("levels not a number") << QStringList{"--company", "DEMO", "--out", "x.csv", "--levels", "tutti"}
                                         << "Valore non valido per --levels";
    QTest::newRow("unknown option") << QStringList{"--company", "DEMO", "--out", "x.csv", "--livello", "2"} << "Opzione sconosciuta: --livello";
    QTest::newRow("positional argument") << QStringList{"--company", "DEMO", "--out", "x.csv", "altro"} << "Argomenti non previsti: altro";
}

void TestImplosionBatch::badUsage()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    for (QString &a : args)
        if (a == QLatin1String("DEMO"))
            a = demo_;
    const kemtest::BatchResult r = RunBatch(QStringList{"implosion"} + args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFile::exists("x.csv"));
}

QTEST_MAIN(TestImplosionBatch)
#include "tst_implosionbatch.moc"
