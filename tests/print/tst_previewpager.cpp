// Navigation rules of the preview: the page each move shows or asks the run for, with and
// without a page range, while the run goes on and after it ended.
#include "print/previewpager.h"

#include <QTest>

using kem::PreviewPager;

class TestPreviewPager : public QObject {
    Q_OBJECT
private slots:
    void plan_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("move");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("produced");
        QTest::addColumn<bool>("ended");
        QTest::addColumn<int>("show");
        QTest::addColumn<int>("request");
        const int P = PreviewPager::Previous, F = PreviewPager::First, N = PreviewPager::Next, L = PreviewPager::Last;
        QTest::newRow("from 3: previous on 3") << 3 << 0 << P << 3 << 5 << false << 0 << 0;
        QTest::newRow("from 3: previous on 4") << 3 << 0 << P << 4 << 5 << false << 3 << 0;
        QTest::newRow("from 3: first on 5") << 3 << 0 << F << 5 << 5 << false << 3 << 0;
        QTest::newRow("from 3: first on 3") << 3 << 0 << F << 3 << 5 << false << 0 << 0;
        QTest::newRow("no range: previous on 1") << 0 << 0 << P << 1 << 4 << false << 0 << 0;
        QTest::newRow("no range: first on 4") << 0 << 0 << F << 4 << 4 << true << 1 << 0;
        QTest::newRow("next produced") << 0 << 0 << N << 2 << 4 << false << 3 << 0;
        QTest::newRow("next not produced asks for it") << 0 << 0 << N << 4 << 4 << false << 0 << 5;
        QTest::newRow("next after the end: nothing") << 0 << 0 << N << 4 << 4 << true << 0 << 0;
        QTest::newRow("next produced after the end") << 0 << 0 << N << 2 << 4 << true << 3 << 0;
        QTest::newRow("next beyond PaginaA") << 3 << 4 << N << 4 << 4 << false << 0 << 0;
        QTest::newRow("last: newest produced") << 0 << 0 << L << 2 << 6 << false << 6 << 0;
        QTest::newRow("last on the newest") << 0 << 0 << L << 6 << 6 << false << 0 << 0;
        QTest::newRow("last capped by PaginaA") << 0 << 4 << L << 2 << 6 << true << 4 << 0;
        QTest::newRow("nothing shown: next starts at PaginaDa") << 3 << 0 << N << 0 << 1 << false << 0 << 3;
        QTest::newRow("nothing shown: PaginaDa produced") << 3 << 0 << N << 0 << 3 << false << 3 << 0;
        QTest::newRow("nothing shown: previous") << 0 << 0 << P << 0 << 2 << false << 0 << 0;
        QTest::newRow("range beyond the run") << 5 << 0 << N << 0 << 3 << true << 0 << 0;
        QTest::newRow("range upside down") << 5 << 2 << N << 0 << 6 << false << 0 << 0;
    }

    void plan()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, move);
        QFETCH(int, shown);
        QFETCH(int, produced);
        QFETCH(bool, ended);
        QFETCH(int, show);
        QFETCH(int, request);
        PreviewPager pager;
        pager.RangeSet(from, to);
        const PreviewPager::RunState s{shown, produced, ended};
        const PreviewPager::Step step = pager.Plan(PreviewPager::Move(move), s);
        QCOMPARE(step.show, show);
        QCOMPARE(step.request, request);
        QCOMPARE(pager.Possible(PreviewPager::Move(move), s), show > 0 || request > 0);
    }

    void goTo_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("produced");
        QTest::addColumn<bool>("ended");
        QTest::addColumn<int>("show");
        QTest::addColumn<int>("request");
        QTest::newRow("produced page") << 0 << 0 << 2 << 4 << 5 << false << 2 << 0;
        QTest::newRow("page not produced yet") << 0 << 0 << 9 << 4 << 5 << false << 0 << 9;
        QTest::newRow("beyond the end of the run") << 0 << 0 << 9 << 4 << 5 << true << 0 << 0;
        QTest::newRow("before PaginaDa") << 3 << 0 << 2 << 4 << 5 << false << 0 << 0;
        QTest::newRow("after PaginaA") << 3 << 6 << 7 << 4 << 5 << false << 0 << 0;
        QTest::newRow("the page shown") << 0 << 0 << 4 << 4 << 5 << false << 0 << 0;
        QTest::newRow("page 0") << 0 << 0 << 0 << 4 << 5 << false << 0 << 0;
    }

    void goTo()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, page);
        QFETCH(int, shown);
        QFETCH(int, produced);
        QFETCH(bool, ended);
        QFETCH(int, show);
        QFETCH(int, request);
        PreviewPager pager;
        pager.RangeSet(from, to);
        const PreviewPager::Step step = pager.GoTo(page, PreviewPager::RunState{shown, produced, ended});
        QCOMPARE(step.show, show);
        QCOMPARE(step.request, request);
    }

    void caption_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("caption");
        QTest::newRow("none") << 0 << "Pag.000";
        QTest::newRow("7") << 7 << "Pag.007";
        QTest::newRow("123") << 123 << "Pag.123";
        QTest::newRow("1234") << 1234 << "Pag.1234";
    }
    void caption()
    {
        QFETCH(int, page);
        QFETCH(QString, caption);
        QCOMPARE(PreviewPager::PageCaption(page), caption);
    }
};

QTEST_APPLESS_MAIN(TestPreviewPager)
#include "tst_previewpager.moc"
