// Quantities from dimensions: the three unit lists, the ratio, the form's dimensions against
// the article's, and the cases that leave the produced quantity as it is.
#include "bomcore/dimensionquantity.h"

#include <QtTest>

using kem::DimensionSettings;

class TestDimensionQuantity : public QObject {
    Q_OBJECT
private slots:
    void quantity_data();
    void quantity();
    void ratio_data();
    void ratio();
    void numberText_data();
    void numberText();
};

void TestDimensionQuantity::quantity_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("pezzi");
    QTest::addColumn<QList<double>>("form");     // length, width, height
    QTest::addColumn<QList<double>>("article");  // length, width, height
    QTest::addColumn<bool>("applies");
    QTest::addColumn<double>("qta");
    QTest::addColumn<QString>("text");
    const QList<double> none{0, 0, 0};
    QTest::newRow("length: 3 pieces 1200 long") << "m" << 3.0 << none << QList<double>{1200, 0, 0} << true << 3.6
                                                << "Pz. 3  di lungh.:  1200";
    QTest::newRow("length, second unit of the list") << "ML" << 1.0 << none << QList<double>{2400, 15, 70} << true
                                                      << 2.4 << "Pz. 1  di lungh.:  2400";
    QTest::newRow("area") << "MQ" << 2.0 << none << QList<double>{2000, 500, 0} << true << 2.0
                          << "Pz. 2   ( 500 x  2000)";
    QTest::newRow("volume") << "mc" << 1.0 << none << QList<double>{1000, 500, 200} << true << 0.1
                            << "Pz. 1   ( 500 x  1000 x  200)";
    QTest::newRow("the form's dimensions win") << "M" << 2.0 << QList<double>{600, 0, 0} << QList<double>{1200, 0, 0}
                                               << true << 1.2 << "Pz. 2  di lungh.:  600";
    QTest::newRow("one form dimension replaces all three") << "MQ" << 1.0 << QList<double>{0, 0, 5}
                                                           << QList<double>{2000, 500, 0} << true << 0.0
                                                           << "Pz. 1   ( 0 x  0)";
    QTest::newRow("half pieces") << "M" << 2.5 << none << QList<double>{1000, 0, 0} << true << 2.5
                                 << "Pz. 2.5  di lungh.:  1000";
    QTest::newRow("a unit in the length and the area lists is a length") << "LM" << 1.0 << none
                                                                         << QList<double>{1500, 300, 0} << true << 1.5
                                                                         << "Pz. 1  di lungh.:  1500";
    QTest::newRow("every dimension 0") << "M" << 3.0 << none << none << false << 0.0 << "";
    QTest::newRow("blank unit") << " " << 3.0 << none << QList<double>{1200, 0, 0} << false << 0.0 << "";
    QTest::newRow("unit of no list") << "PZ" << 3.0 << none << QList<double>{1200, 600, 20} << false << 0.0 << "";
    QTest::newRow("part of a unit is not the unit") << "Q" << 1.0 << none << QList<double>{1200, 600, 20} << false << 0.0 << "";
}

void TestDimensionQuantity::quantity()
{
    QFETCH(QString, unit);
    QFETCH(double, pezzi);
    QFETCH(QList<double>, form);
    QFETCH(QList<double>, article);
    QFETCH(bool, applies);
    QFETCH(double, qta);
    QFETCH(QString, text);
    const DimensionSettings s = DimensionSettings::FromTexts(QStringLiteral("M;ML;LM"), QStringLiteral("MQ;LM"),
                                                             QStringLiteral("MC"), QStringLiteral("1000"));
    const auto q = kem::CalcQtaDaDimen(s, unit, pezzi, form[0], form[1], form[2], article[0], article[1], article[2]);
    QCOMPARE(q.has_value(), applies);
    if (q) {
        QVERIFY2(qAbs(q->qta - qta) < 1e-9, qPrintable(QString::number(q->qta)));
        QCOMPARE(q->text, text);
    }
}

void TestDimensionQuantity::ratio_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<double>("qta");  // 3 pieces, 1200 long
    QTest::newRow("unset: 1000#") << "" << 3.6;
    QTest::newRow("1000#") << "1000#" << 3.6;
    QTest::newRow("0 is 1000") << "0" << 3.6;
    QTest::newRow("not a number is 1000") << "metri" << 3.6;
    QTest::newRow("100") << "100" << 36.0;
    QTest::newRow("decimal point") << "0.5" << 7200.0;
}

void TestDimensionQuantity::ratio()
{
    QFETCH(QString, setting);
    QFETCH(double, qta);
    const DimensionSettings s = DimensionSettings::FromTexts(QStringLiteral("M"), {}, {}, setting);
    const auto q = kem::CalcQtaDaDimen(s, QStringLiteral("M"), 3, 0, 0, 0, 1200, 0, 0);
    QVERIFY(q);
    QVERIFY2(qAbs(q->qta - qta) < 1e-9, qPrintable(QString::number(q->qta)));
}

void TestDimensionQuantity::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 3.0 << " 3";
    QTest::newRow("decimal") << 2.5 << " 2.5";
    QTest::newRow("zero") << 0.0 << " 0";
    QTest::newRow("negative") << -1.25 << "-1.25";
}

void TestDimensionQuantity::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(kem::DimensionNumberText(value), text);
}

QTEST_APPLESS_MAIN(TestDimensionQuantity)
#include "tst_dimensionquantity.moc"
