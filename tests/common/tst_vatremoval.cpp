// VAT removal: rounding modes and the correction of a net whose VAT overshoots the gross.
#include "common/vatremoval.h"

#include <QtTest>

class TestVatRemoval : public QObject {
    Q_OBJECT
private slots:
    void removal_data();
    void removal();
};

void TestVatRemoval::removal_data()
{
    QTest::addColumn<double>("gross");
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("arrotIvaEuro");
    QTest::addColumn<double>("net");
    QTest::newRow("rate 0 unchanged") << 12.345 << 0.0 << 2 << "A" << 12.345;
    QTest::newRow("mode A rounds half up") << 100.0 << 22.0 << 2 << "A" << 81.97;
    QTest::newRow("setting S truncates") << 100.0 << 22.0 << 2 << "S" << 81.96;
    QTest::newRow("setting s any case") << 100.0 << 22.0 << 2 << "s" << 81.96;
    QTest::newRow("one decimal truncates") << 100.0 << 22.0 << 1 << "A" << 81.9;
    QTest::newRow("no decimals truncate") << 100.0 << 22.0 << 0 << "A" << 81.0;
    QTest::newRow("exact") << 12.2 << 22.0 << 2 << "A" << 10.0;
    // 0,39 at 4%: 0,375 rounds to 0,38, whose VAT 0,0152 rounds to 0,02: 0,40 > 0,39, so the
    // net is taken again by truncation.
    QTest::newRow("correction 0,39 at 4") << 0.39 << 4.0 << 2 << "A" << 0.37;
    QTest::newRow("correction 1,17 at 4") << 1.17 << 4.0 << 2 << "A" << 1.12;
    // 1,00 at 22%: 0,82 + 0,18 equals the gross, so the rounded net stays.
    QTest::newRow("no correction when equal") << 1.0 << 22.0 << 2 << "A" << 0.82;
    QTest::newRow("three decimals") << 100.0 << 22.0 << 3 << "A" << 81.967;
}

void TestVatRemoval::removal()
{
    QFETCH(double, gross);
    QFETCH(double, rate);
    QFETCH(int, decimals);
    QFETCH(QString, arrotIvaEuro);
    QFETCH(double, net);
    const double got = kem::VatRemoval(gross, rate, decimals, arrotIvaEuro);
    QVERIFY2(qAbs(got - net) < 1e-9, qPrintable(QString::number(got, 'g', 17)));
}

QTEST_APPLESS_MAIN(TestVatRemoval)
#include "tst_vatremoval.moc"
