// Article images and quantities from dimensions on the BOM print, end to end through
// distinta-batch on the demo company (images of the six finished products that have one):
// pictures beside the lines and at the end of each BOM's page in the PDF, read back with
// pdfimages; the CSV of the same print is the one without images; a missing image file is
// told once and the print goes on; a parent sold by the metre or the square metre printed for
// the quantity its pieces make, its components with it.
#include "schema/democompany.h"
#include "tests/support/batchrun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using kemtest::RunBatch;

namespace {

const QStringList kWithImages{"ARM-2A-100", "LIB-5R-080", "SED-FAG01", "TAV-O'NEIL", "TAV-ROV180", "TOP-LAM-MQ"};

// The page of every picture of a PDF; nullopt when pdfimages cannot read it.
std::optional<QList<int>> PicturePages(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return std::nullopt;
    QList<int> pages;
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString &line : lines.mid(2)) {  // two lines of headings
        bool ok = false;
        const int page = line.simplified().section(QLatin1Char(' '), 0, 0).toInt(&ok);
        if (ok)
            pages << page;
    }
    return pages;
}

} // namespace

class TestBomImages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void picturesInThePdf_data();
    void picturesInThePdf();
    void cellOutputsHaveNoPictures();
    void missingImageIsToldOnce();
    void dimensionQuantities_data();
    void dimensionQuantities();

private:
    QTemporaryDir dir_;
    QString demo_;
};

void TestBomImages::initTestCase()
{
    QVERIFY(dir_.isValid());
    demo_ = dir_.filePath(QStringLiteral("demo"));
    QString error;
    QVERIFY2(kem::WriteDemoCompany(demo_, &error), qPrintable(error));
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty(), "pdfimages (poppler-utils) is needed");
}

void TestBomImages::picturesInThePdf_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("endOfPage");
    QTest::addColumn<int>("perProduct");
    QTest::newRow("row images") << "S" << "N" << 1;
    QTest::newRow("end-of-page images") << "N" << "S" << 1;
    QTest::newRow("both") << "S" << "S" << 2;
    QTest::newRow("neither") << "N" << "N" << 0;
}

void TestBomImages::picturesInThePdf()
{
    QFETCH(QString, rows);
    QFETCH(QString, endOfPage);
    QFETCH(int, perProduct);
    const QString out = dir_.filePath(QStringLiteral("immagini.pdf"));
    QFile::remove(out);
    const kemtest::BatchResult r = RunBatch({"bom", "--company", demo_, "--out", out, "--salto-pag", "S",
                                             "--sta-img-riga", rows, "--sta-img", endOfPage});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY2(!r.err.contains(QStringLiteral("Immagine")), qPrintable(r.err));
    const auto pages = PicturePages(out);
    QVERIFY(pages);
    QCOMPARE(pages->size(), perProduct * kWithImages.size());
    // Each BOM starts a page: the pictures of one product are on its pages, never on one
    // page with another product's.
    QSet<int> distinct(pages->cbegin(), pages->cend());
    QCOMPARE(distinct.size(), perProduct == 0 ? 0 : int(kWithImages.size()));
}

void TestBomImages::cellOutputsHaveNoPictures()
{
    // The same print with and without its image folder: the cell outputs are equal, byte for byte.
    const QString with = dir_.filePath(QStringLiteral("con.csv"));
    const QString without = dir_.filePath(QStringLiteral("senza.csv"));
    const QStringList args{"--salto-pag", "S", "--sta-img-riga", "S", "--sta-img", "S"};
    kemtest::BatchResult r = RunBatch(QStringList{"bom", "--company", demo_, "--out", with} + args);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QString copy = dir_.filePath(QStringLiteral("copia"));
    QString error;
    QVERIFY2(kem::WriteDemoCompany(copy, &error), qPrintable(error));
    QVERIFY(QDir(QDir(copy).filePath(QStringLiteral("immagini"))).removeRecursively());
    r = RunBatch(QStringList{"bom", "--company", copy, "--out", without} + args);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY2(!r.err.contains(QStringLiteral("Immagine")), qPrintable(r.err));  // nothing was read
    const QByteArray a = kemtest::FileBytes(with);
    QVERIFY(a.contains("SED-FAG01"));
    // The names of the company and of its files aside, nothing differs.
    QCOMPARE(kemtest::CsvLines(with), kemtest::CsvLines(without));
}

void TestBomImages::missingImageIsToldOnce()
{
    const QString copy = dir_.filePath(QStringLiteral("mancante"));
    QString error;
    QVERIFY2(kem::WriteDemoCompany(copy, &error), qPrintable(error));
    QVERIFY(QFile::remove(QDir(copy).filePath(QStringLiteral("immagini/sed-fag01.png"))));
    const QString out = dir_.filePath(QStringLiteral("mancante.pdf"));
    const kemtest::BatchResult r = RunBatch({"bom", "--company", copy, "--out", out, "--salto-pag", "S",
                                             "--sta-img-riga", "S", "--sta-img", "S"});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(r.err.count(QStringLiteral("Immagine dell'articolo mancante o non leggibile")), 1);
    QVERIFY2(r.err.contains(QStringLiteral("sed-fag01.png")), qPrintable(r.err));
    const auto pages = PicturePages(out);
    QVERIFY(pages);
    QCOMPARE(pages->size(), 2 * (kWithImages.size() - 1));
}

void TestBomImages::dimensionQuantities_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("expected");  // code;unit;quantity;dimension text of the first lines
    // BAT-ROV-ML is sold by the metre, 2400 long; for each metre 1,050 M of LEG-ROV-45.
    QTest::newRow("3 pieces by the metre")
        << QStringList{"--articolo-da", "BAT-ROV-ML", "--qta-da-dimen", "S", "--qta-prod", "3"}
        << QStringList{"BAT-ROV-ML;M;7,200;Pz. 3  di lungh.:  2400", "* LEG-ROV-45;M;7,560;M"};
    QTest::newRow("the form's length")
        << QStringList{"--articolo-da", "BAT-ROV-ML", "--qta-da-dimen", "S", "--qta-prod", "3", "--lunghezza", "1000"}
        << QStringList{"BAT-ROV-ML;M;3,000;Pz. 3  di lungh.:  1000", "* LEG-ROV-45;M;3,150;M"};
    QTest::newRow("dimensions off")
        << QStringList{"--articolo-da", "BAT-ROV-ML", "--qta-da-dimen", "N", "--qta-prod", "3"}
        << QStringList{"BAT-ROV-ML;M;3,000;", "* LEG-ROV-45;M;3,150;M"};
    // Not given, the company decides, as for the form: the demo computes them.
    QTest::newRow("the company's setting")
        << QStringList{"--articolo-da", "BAT-ROV-ML", "--qta-prod", "3"}
        << QStringList{"BAT-ROV-ML;M;7,200;Pz. 3  di lungh.:  2400", "* LEG-ROV-45;M;7,560;M"};
    // TOP-LAM-MQ by the square metre, 3000 x 600.
    QTest::newRow("2 pieces by the square metre")
        << QStringList{"--articolo-da", "TOP-LAM-MQ", "--qta-da-dimen", "S", "--qta-prod", "2"}
        << QStringList{"TOP-LAM-MQ;MQ;3,600;Pz. 2   ( 600 x  3000)"};
    QTest::newRow("a unit of no list keeps the pieces")
        << QStringList{"--articolo-da", "SED-FAG01", "--qta-da-dimen", "S", "--qta-prod", "3"}
        << QStringList{"SED-FAG01;PZ;3,000;"};
}

void TestBomImages::dimensionQuantities()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, expected);
    const QString article = options.at(1);
    const QString out = dir_.filePath(QStringLiteral("dimensioni.csv"));
    const kemtest::BatchResult r = RunBatch(QStringList{"bom", "--company", demo_, "--out", out, "--tipo-diba", "0",
                                                        "--articolo-a", article} + options);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    // The lines after the headings: code, unit, quantity and the column after it.
    const QStringList lines = kemtest::CsvLines(out);
    int at = 0;
    while (at < lines.size() && !lines.at(at).startsWith(QStringLiteral("Codice;")))
        ++at;
    at = at < lines.size() ? at : -1;
    QVERIFY2(at >= 0, qPrintable(lines.join('\n')));
    QStringList got;
    for (const QString &line : lines.mid(at + 1, expected.size())) {
        const QStringList f = line.split(QLatin1Char(';'));
        got << QStringList{f.value(0), f.value(2), f.value(3), f.value(4)}.join(QLatin1Char(';'));
    }
    QCOMPARE(got, expected);
}

QTEST_GUILESS_MAIN(TestBomImages)
#include "tst_bomimagesdimensions.moc"
