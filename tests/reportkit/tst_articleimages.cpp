// Article images on a report page: the lines per row image and the side from
// "StaImgNumRighe", a row image scaled into its column and its lines' height with its aspect
// kept, at the column's left or right edge, an end-of-page image within the margins and the
// room left, nothing on outputs made of cells, and a missing file told once.
#include "reportkit/articleimages.h"
#include "platform/printlib/printoptions.h"
#include "platform/printlib/printreport.h"
#include "tests/support/testcompany.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using kem::ArticleImages;
using kem::ArticleImageSettings;
using kem::PrintOptions;
using kem::PrintReport;

class TestArticleImages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void numRighe_data();
    void numRighe();
    void rowImage_data();
    void rowImage();
    void endOfPageImage();
    void cellOutputsGetNone();
    void missingFileToldOnce();

private:
    // A job to `form` (PDF unless told) with one column 40 mm wide and the run's settings.
    bool start(PrintReport &r, int form = PrintOptions::PdfFile);

    QTemporaryDir dir_;
    kemtest::RecordingSink sink_;
    int column_ = 0;
};

void TestArticleImages::initTestCase()
{
    QVERIFY(dir_.isValid());
    // 200 x 100 pixels at 100 pixels per cm: 20 x 10 mm, twice as wide as high.
    QImage wide(200, 100, QImage::Format_RGB32);
    wide.fill(Qt::darkGreen);
    wide.setDotsPerMeterX(10000);
    wide.setDotsPerMeterY(10000);
    QVERIFY(wide.save(dir_.filePath(QStringLiteral("largo.png"))));
    QFile bad(dir_.filePath(QStringLiteral("rotto.png")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("non un'immagine");
}

bool TestArticleImages::start(PrintReport &r, int form)
{
    auto o = std::make_shared<PrintOptions>();
    o->StaVid = PrintOptions::File;
    o->FileForm = form;
    o->FileName = dir_.filePath(form == PrintOptions::PdfFile ? QStringLiteral("immagini.pdf") : QStringLiteral("immagini.csv"));
    r.OptionsSet(o);
    kem::PrintFont f;
    f.Name = QStringLiteral("arial");
    f.Size = 10;
    r.FontAdd(QStringLiteral("CorpoCampo"), f);
    bool cancelled = false;
    if (!r.JobStart(1, &cancelled) || cancelled || !r.DocBegin())
        return false;
    r.StyleSelect(QStringLiteral("CorpoCampo"));
    r.ColumnsClear();
    r.AlignSet(QStringLiteral("S"));
    r.ColumnAdd(QStringLiteral("MMMMMMMMMM"), 10, QStringLiteral("P"));
    column_ = r.ColumnAdd(QStringLiteral("MMMMMMMMMM"), 10, QString());
    r.VertPosLet(r.MarginTopGet());
    return true;
}

void TestArticleImages::numRighe_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("right");
    QTest::newRow("3") << "3" << 3 << false;
    QTest::newRow("D4: right, four lines") << "D4" << 4 << true;
    QTest::newRow("d 2") << "d 2" << 2 << true;
    QTest::newRow("0 turns row images off") << "0" << 0 << false;
    QTest::newRow("not a number") << "tre" << 0 << false;
    QTest::newRow("negative") << "-2" << 0 << false;
}

void TestArticleImages::numRighe()
{
    QFETCH(QString, text);
    QFETCH(int, lines);
    QFETCH(bool, right);
    qint16 n = -1;
    bool destra = !right;
    ArticleImageSettings::ParseNumRighe(text, n, destra);
    QCOMPARE(int(n), lines);
    QCOMPARE(destra, right);
}

void TestArticleImages::rowImage_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("right");
    QTest::newRow("three lines, left") << 3 << false;
    QTest::newRow("four lines, right") << 4 << true;
    QTest::newRow("one line") << 1 << false;
}

void TestArticleImages::rowImage()
{
    QFETCH(int, lines);
    QFETCH(bool, right);
    PrintReport r;
    QVERIFY(start(r));
    ArticleImages images(sink_);
    images.BeginRun(ArticleImageSettings{true, dir_.path(), qint16(lines), right});
    const double y = r.VertPosGet();
    const float limit = images.CalcLimAlt(r, qint16(lines));
    QCOMPARE(r.VertPosGet(), y);  // measured, not moved
    QVERIFY(limit > 0);
    QVERIFY(images.StaImg(r, column_, QStringLiteral("largo.png"), right, limit));
    const kem::ColumnDef *col = r.ColumnGet(column_);
    const auto &pictures = r.DocumentGet().pages.last().pictures;
    QCOMPARE(pictures.size(), 1);
    const QRectF box = pictures.first().rect;
    // Within the column and the lines' height, twice as wide as high, on the current line.
    QVERIFY2(box.width() <= col->right - col->left + 0.01, qPrintable(QString::number(box.width())));
    QVERIFY(box.height() <= limit + 0.01);
    QVERIFY(qAbs(box.width() - 2 * box.height()) < 0.01);
    QVERIFY(qAbs(box.width() - (col->right - col->left)) < 0.01 || qAbs(box.height() - limit) < 0.01);
    QCOMPARE(box.top(), y);
    if (right)
        QVERIFY(qAbs(box.right() - col->right) < 0.01);
    else
        QVERIFY(qAbs(box.left() - col->left) < 0.01);
    r.DocEnd();
}

void TestArticleImages::endOfPageImage()
{
    PrintReport r;
    QVERIFY(start(r));
    ArticleImages images(sink_);
    images.BeginRun(ArticleImageSettings{true, dir_.path(), 3, false});
    // Low on the page: the room left decides the height.
    const double y = r.PageHeightGet() - r.MarginBottomGet() - 30;
    r.VertPosLet(y);
    QVERIFY(images.StaImgFinePagina(r, QStringLiteral("largo.png")));
    const QRectF box = r.DocumentGet().pages.last().pictures.last().rect;
    QCOMPARE(box.left(), double(r.MarginLeftGet()));
    QCOMPARE(box.top(), y);
    QVERIFY(qAbs(box.height() - 30) < 0.01);
    QVERIFY(qAbs(box.width() - 60) < 0.01);
    // High on the page: the width between the margins decides.
    r.VertPosLet(r.MarginTopGet());
    QVERIFY(images.StaImgFinePagina(r, QStringLiteral("largo.png")));
    const QRectF full = r.DocumentGet().pages.last().pictures.last().rect;
    QVERIFY(qAbs(full.width() - (r.PageWidthGet() - r.MarginLeftGet() - r.MarginRightGet())) < 0.01);
    QVERIFY(qAbs(full.width() - 2 * full.height()) < 0.01);
    r.DocEnd();
}

void TestArticleImages::cellOutputsGetNone()
{
    PrintReport r;
    QVERIFY(start(r, PrintOptions::SpreadsheetText));
    ArticleImages images(sink_);
    images.BeginRun(ArticleImageSettings{true, dir_.path(), 3, false});
    const qsizetype rows = r.DocumentGet().rows.size();
    QCOMPARE(images.CalcLimAlt(r, 3), 0.0f);
    QVERIFY(!images.StaImg(r, column_, QStringLiteral("largo.png"), false, 10));
    QVERIFY(!images.StaImgFinePagina(r, QStringLiteral("largo.png")));
    QCOMPARE(r.DocumentGet().rows.size(), rows);  // no line added
    QVERIFY(r.DocumentGet().pages.isEmpty() || r.DocumentGet().pages.last().pictures.isEmpty());
    r.DocEnd();
}

void TestArticleImages::missingFileToldOnce()
{
    PrintReport r;
    QVERIFY(start(r));
    ArticleImages images(sink_);
    sink_.clear();
    images.BeginRun(ArticleImageSettings{true, dir_.path(), 3, false});
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!images.StaImg(r, column_, QStringLiteral("manca.png"), false, 10));
        QVERIFY(!images.StaImgFinePagina(r, QStringLiteral("manca.png")));
        QVERIFY(!images.StaImg(r, column_, QStringLiteral("rotto.png"), false, 10));
    }
    QCOMPARE(sink_.messages.size(), 2);
    QVERIFY(sink_.messages.at(0).contains(QStringLiteral("manca.png")));
    QVERIFY(sink_.messages.at(1).contains(QStringLiteral("rotto.png")));
    QVERIFY(r.LastErrorGet().isEmpty());  // the job goes on
    // A blank name is no image and nothing to tell; a new run tells again.
    QVERIFY(!images.StaImg(r, column_, QStringLiteral("  "), false, 10));
    images.BeginRun(images.Settings());
    QVERIFY(!images.StaImg(r, column_, QStringLiteral("manca.png"), false, 10));
    QCOMPARE(sink_.messages.size(), 3);
    // Images off for the company: nothing is read.
    images.BeginRun(ArticleImageSettings{false, dir_.path(), 3, false});
    QVERIFY(!images.StaImg(r, column_, QStringLiteral("largo.png"), false, 10));
    r.DocEnd();
}

QTEST_MAIN(TestArticleImages)
#include "tst_articleimages.moc"
