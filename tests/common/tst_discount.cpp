// Discount expressions: validity, chains and the combined percentage.
#include "common/discount.h"

#include <QtTest>

class TestDiscount : public QObject {
    Q_OBJECT
private slots:
    void valid_data();
    void valid();
    void chain_data();
    void chain();
    void percent_data();
    void percent();
};

void TestDiscount::valid_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<bool>("valid");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("single") << "10" << true;
    QTest::newRow("chain") << "10+5" << true;
    QTest::newRow("surcharge") << "10-5" << true;
    QTest::newRow("leading sign") << "+10" << true;
    QTest::newRow("decimal comma") << "12,5+3" << true;
    QTest::newRow("spaces") << " 10 + 5 " << true;
    QTest::newRow("plus minus") << "10+-5" << false;
    QTest::newRow("minus plus") << "10-+5" << false;
    QTest::newRow("double minus") << "10--5" << false;
    QTest::newRow("double plus") << "10++5" << false;
    QTest::newRow("spaced double plus") << "10+ +5" << false;
    QTest::newRow("letter") << "10a" << false;
    QTest::newRow("point") << "10.5" << false;
    QTest::newRow("percent sign") << "10%" << false;
    QTest::newRow("two commas") << "1,2,3" << false;
}

void TestDiscount::valid()
{
    QFETCH(QString, expression);
    QFETCH(bool, valid);
    QCOMPARE(kem::DiscountIsValid(expression), valid);
}

void TestDiscount::chain_data()
{
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<QString>("chain");
    QTest::newRow("list then article") << QStringList{"10", "5"} << "10+5";
    QTest::newRow("surcharge kept") << QStringList{"10", "-5"} << "10-5";
    QTest::newRow("plus kept") << QStringList{"10", "+5"} << "10+5";
    QTest::newRow("blank list") << QStringList{"", "5"} << "5";
    QTest::newRow("zero skipped") << QStringList{"0", "5"} << "5";
    QTest::newRow("trimmed") << QStringList{" 10 ", " 5"} << "10+5";
    QTest::newRow("trailing blanks") << QStringList{"10", "0", "  "} << "10";
    QTest::newRow("first negative") << QStringList{"-3", "2"} << "-3+2";
    QTest::newRow("three") << QStringList{"10+5", "3"} << "10+5+3";
    QTest::newRow("nothing") << QStringList{"", "0"} << "";
}

void TestDiscount::chain()
{
    QFETCH(QStringList, parts);
    QFETCH(QString, chain);
    QCOMPARE(kem::DiscountChain(parts), chain);
}

void TestDiscount::percent_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("initial");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("expected");
    QTest::addColumn<bool>("invalid");
    QTest::newRow("10+5") << "10+5" << 0.0 << 2 << 14.5 << false;
    QTest::newRow("10-5") << "10-5" << 0.0 << 2 << 5.5 << false;
    QTest::newRow("50+50") << "50+50" << 0.0 << 2 << 75.0 << false;
    QTest::newRow("single") << "10" << 0.0 << 2 << 10.0 << false;
    QTest::newRow("decimal comma") << "12,5" << 0.0 << 2 << 12.5 << false;
    QTest::newRow("spaces") << " 10 + 5 " << 0.0 << 2 << 14.5 << false;
    QTest::newRow("leading plus") << "+10" << 0.0 << 2 << 10.0 << false;
    QTest::newRow("leading minus") << "-10" << 0.0 << 2 << -10.0 << false;
    QTest::newRow("after initial") << "10" << 10.0 << 2 << 19.0 << false;
    QTest::newRow("empty gives initial") << "" << 7.0 << 2 << 7.0 << false;
    QTest::newRow("three rounded half up") << "10+5+3" << 0.0 << 2 << 17.07 << false;
    QTest::newRow("three unrounded") << "10+5+3" << 0.0 << kem::kNoRounding << 17.065 << false;
    QTest::newRow("rounded to none") << "33,4" << 0.0 << 0 << 33.0 << false;
    QTest::newRow("invalid gives initial") << "10++5" << 3.0 << 2 << 3.0 << true;
    QTest::newRow("invalid letters") << "dieci" << 0.0 << 2 << 0.0 << true;
}

void TestDiscount::percent()
{
    QFETCH(QString, expression);
    QFETCH(double, initial);
    QFETCH(int, decimals);
    QFETCH(double, expected);
    QFETCH(bool, invalid);
    bool flagged = false;
    const double p = kem::DiscountPercent(expression, initial, decimals, &flagged);
    QVERIFY2(qAbs(p - expected) < 1e-9, qPrintable(QString::number(p, 'g', 17)));
    QCOMPARE(flagged, invalid);
}

QTEST_APPLESS_MAIN(TestDiscount)
#include "tst_discount.moc"
