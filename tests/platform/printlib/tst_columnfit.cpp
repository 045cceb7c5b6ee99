// Column sets wider than the page: narrowed to the margins on drawn pages, cells kept inside
// their columns there, cell outputs untouched.
#include "platform/printlib/columnfit.h"
#include "tests/platform/printlib/samplereport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

using kem::ColumnFitItem;
using kem::ColumnSpan;
using kem::PrintOptions;
using kem::PrintReport;

namespace {

// "10 20U 5": widths in mm, "U" marks a column that runs to the right edge.
QList<ColumnFitItem> items(const QString &layout)
{
    QList<ColumnFitItem> out;
    for (QString w : layout.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const bool edge = w.endsWith(QLatin1Char('U'));
        if (edge)
            w.chop(1);
        out.append({w.toDouble(), edge});
    }
    return out;
}

// "10-20 22-42": left-right of each column.
QList<ColumnSpan> spans(const QString &layout)
{
    QList<ColumnSpan> out;
    for (const QString &s : layout.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        out.append({s.section(QLatin1Char('-'), 0, 0).toDouble(), s.section(QLatin1Char('-'), 1, 1).toDouble()});
    return out;
}

QString show(const QList<ColumnSpan> &list)
{
    QStringList parts;
    for (const ColumnSpan &s : list)
        parts << QStringLiteral("%1-%2").arg(s.left).arg(s.right);
    return parts.join(QLatin1Char(' '));
}

// The bill-of-materials column set, arial 10: about 222 mm against the 190 of an A4 page.
struct BomColumns {
    QList<int> ids;
    void define(PrintReport &r)
    {
        auto M = [](int n) { return QString(n, QLatin1Char('M')); };
        r.StyleSelect(QStringLiteral("CorpoCampo"));
        r.ColumnsClear();
        r.AlignSet(QStringLiteral("S"));
        ids << r.ColumnAdd(M(17), 12, QStringLiteral("P")) << r.ColumnAdd(M(20), 20);
        r.AlignSet(QStringLiteral("C"));
        ids << r.ColumnAdd(M(3), 2);
        r.AlignSet(QStringLiteral("D"));
        ids << r.ColumnAdd(QStringLiteral("999,999,999,999"), 12);
        r.AlignSet(QStringLiteral("C"));
        ids << r.ColumnAdd(M(3), 4);
        r.AlignSet(QStringLiteral("S"));
        ids << r.ColumnAdd(M(8), 10);
        r.AlignSet(QStringLiteral("D"));
        ids << r.ColumnAdd(QStringLiteral("999,999,999,999,999"), 16);
    }
};

} // namespace

class TestColumnFit : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void fitColumns_data()
    {
        QTest::addColumn<QString>("widths");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("right");
        QTest::addColumn<double>("gap");
        QTest::addColumn<bool>("shrink");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fits: measured widths") << "10 20 5" << 10.0 << 200.0 << 2.0 << true << "10-20 22-42 44-49";
        QTest::newRow("ends on the margin: kept") << "90 98" << 10.0 << 200.0 << 2.0 << true << "10-100 102-200";
        QTest::newRow("twice too wide: halved, gaps too") << "98 100" << 0.0 << 100.0 << 2.0 << true << "0-49 50-100";
        QTest::newRow("from the left margin") << "58 58 58" << 10.0 << 99.0 << 2.0 << true << "10-39 40-69 70-99";
        QTest::newRow("one column wider than the page") << "300" << 5.0 << 155.0 << 2.0 << true << "5-155";
        QTest::newRow("U runs to the edge") << "10 20U" << 10.0 << 200.0 << 2.0 << true << "10-20 22-200";
        QTest::newRow("U past the edge: shrunk") << "100 96U" << 0.0 << 100.0 << 4.0 << true << "0-50 52-100";
        QTest::newRow("column after a U: set shrunk") << "40 10U 98" << 0.0 << 100.0 << 2.0 << true << "0-20 21-50 51-100";
        QTest::newRow("not shrinking keeps the overflow") << "98 100" << 0.0 << 100.0 << 2.0 << false << "0-98 100-200";
        QTest::newRow("not shrinking: U still to the edge") << "10 5U" << 0.0 << 100.0 << 2.0 << false << "0-10 12-100";
        QTest::newRow("no room between margins: measured") << "10" << 50.0 << 40.0 << 2.0 << true << "50-60";
        QTest::newRow("empty set") << "" << 10.0 << 200.0 << 2.0 << true << "";
    }
    void fitColumns()
    {
        QFETCH(QString, widths);
        QFETCH(double, left);
        QFETCH(double, right);
        QFETCH(double, gap);
        QFETCH(bool, shrink);
        QFETCH(QString, expected);
        const QList<ColumnSpan> got = kem::FitColumns(items(widths), left, right, gap, shrink);
        const QList<ColumnSpan> want = spans(expected);
        QCOMPARE(got.size(), want.size());
        for (int i = 0; i < got.size(); ++i) {
            QVERIFY2(std::abs(got[i].left - want[i].left) < 1e-9 && std::abs(got[i].right - want[i].right) < 1e-9,
                     qPrintable(show(got) + QStringLiteral(" instead of ") + expected));
        }
    }

    // Every destination runs the same too-wide set and one line with an over-long description.
    void reportColumnsPerDestination_data()
    {
        QTest::addColumn<int>("staVid");
        QTest::addColumn<int>("fileForm");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("pdf file") << int(PrintOptions::File) << int(PrintOptions::PdfFile) << true;
        QTest::newRow("preview") << int(PrintOptions::Preview) << 0 << true;
        QTest::newRow("csv") << int(PrintOptions::File) << int(PrintOptions::SpreadsheetText) << false;
        QTest::newRow("text") << int(PrintOptions::File) << int(PrintOptions::PlainText) << false;
        QTest::newRow("xlsx") << int(PrintOptions::File) << int(PrintOptions::Xlsx) << false;
        QTest::newRow("fixed width") << int(PrintOptions::FixedWidth) << 0 << false;
    }
    void reportColumnsPerDestination()
    {
        QFETCH(int, staVid);
        QFETCH(int, fileForm);
        QFETCH(bool, drawn);
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = staVid;
        o->FileForm = fileForm;
        o->FileName = m_dir.filePath(QStringLiteral("out-%1-%2").arg(staVid).arg(fileForm));
        o->FisFileName = o->FileName;
        o->FisColonne = 132;
        o->FisRighe = 66;
        PrintReport r;
        r.OptionsSet(o);
        r.MarginLeftLet(10);
        r.MarginRightLet(10);
        kemtest::SampleReport::styles(r);
        bool cancelled = true;
        QVERIFY2(r.JobStart(1, &cancelled) && !cancelled, qPrintable(r.LastErrorGet()));
        QVERIFY(r.DocBegin());
        BomColumns bom;
        bom.define(r);

        const double rightEdge = r.PageWidthGet() - 10;
        double measured = 10;  // where the set ends at its measured widths
        const auto M = [&](int n) { return r.TextWidthGet(QString(n, QLatin1Char('M'))); };
        measured += M(17) + M(20) + M(3) + M(3) + M(8) + r.TextWidthGet(QStringLiteral("999,999,999,999")) +
                    r.TextWidthGet(QStringLiteral("999,999,999,999,999")) + 6 * 2.0;
        QVERIFY2(measured > rightEdge + 20, "the fixture must not fit the page");
        const kem::ColumnDef *first = r.ColumnGet(bom.ids.first());
        const kem::ColumnDef *last = r.ColumnGet(bom.ids.last());
        QVERIFY(first && last);
        QCOMPARE(first->left, 10.0);
        QVERIFY2(std::abs(last->right - (drawn ? rightEdge : measured)) < 1e-6, qPrintable(QString::number(last->right)));
        for (int i = 1; i < bom.ids.size(); ++i) {
            const kem::ColumnDef *a = r.ColumnGet(bom.ids[i - 1]);
            const kem::ColumnDef *b = r.ColumnGet(bom.ids[i]);
            QVERIFY(a->right < b->left && b->left < b->right);
        }
        // character places do not depend on the page
        QCOMPARE(last->charStart, 12 + 1 + 20 + 1 + 2 + 1 + 12 + 1 + 4 + 1 + 10 + 1);

        const QString longText = QStringLiteral("Pannello laterale in multistrato di betulla con bordo ABS");
        const kem::ColumnDef *desc = r.ColumnGet(bom.ids[1]);
        r.StyleSelect(QStringLiteral("CorpoCampo"));
        r.AlignSet(QStringLiteral("S"));
        QVERIFY(r.CellPrint(bom.ids[0], QStringLiteral("PAN-LAT-01")));
        QVERIFY(r.CellPrint(bom.ids[1], longText));
        r.AlignSet(QStringLiteral("C"));
        QVERIFY(r.CellPrint(bom.ids[2], QStringLiteral("PZ")));
        QVERIFY(r.LineEnd());
        const kem::Document &doc = r.DocumentGet();
        const kem::TextRun *run = nullptr;
        for (const kem::TextRun &t : doc.pages.last().texts)
            if (t.text.startsWith(QLatin1String("Pannello")))
                run = &t;
        QVERIFY(run);
        if (drawn) {
            QVERIFY2(run->x + run->width <= desc->right + 1e-6, qPrintable(run->text));
            QVERIFY(run->text.size() < longText.size());
        } else {
            QCOMPARE(run->text, longText);
        }
        QCOMPARE(doc.rows.last().cells.at(1).text, longText);  // what cell outputs write
        r.StopSet(2);
        r.DocEnd();
        r.PreviewClose();
    }
};

QTEST_MAIN(TestColumnFit)
#include "tst_columnfit.moc"
