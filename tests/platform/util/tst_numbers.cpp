#include "platform/util/kemutil.h"

#include <QTest>
#include <cmath>
#include <limits>

namespace {
QString Exact(double d) { return QString::number(d, 'g', 17); }
}

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void numFormat_data()
    {
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QChar>("fill");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QChar>("decimalPlace");
        QTest::addColumn<QString>("expected");
        QTest::newRow("#,### no fill") << 2 << QChar() << "#,###" << QChar('0') << "#,###.00";
        QTest::newRow("#,### fill #") << 2 << QChar('#') << "#,###" << QChar('0') << "#,###.##";
        QTest::newRow("#,##0 place 0") << 2 << QChar() << "#,##0" << QChar('0') << "#,##0.00";
        QTest::newRow("#,##0 place #") << 3 << QChar() << "#,##0" << QChar('#') << "#,##0.###";
        QTest::newRow("#,##^ fill #") << 3 << QChar('#') << "#,##^" << QChar('0') << "#,###.###";
        QTest::newRow("#,##^ no decimals") << 0 << QChar('#') << "#,##^" << QChar('0') << "#,###";
        QTest::newRow("#,##0 no decimals") << 0 << QChar() << "#,##0" << QChar('0') << "#,##0";
        QTest::newRow("negative decimals") << -1 << QChar() << "#,##0" << QChar('0') << "#,##0";
    }

    void numFormat()
    {
        QFETCH(int, decimals);
        QFETCH(QChar, fill);
        QFETCH(QString, pattern);
        QFETCH(QChar, decimalPlace);
        QFETCH(QString, expected);
        QCOMPARE(kem::NumFormat(decimals, fill, pattern, decimalPlace), expected);
    }

    // The formats the company parameters build, applied to typical values.
    void companyFormats_data()
    {
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QChar>("fill");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        struct Row { const char *name; int d; QChar fill; const char *pattern; double v; const char *out; };
        const Row rows[] = {
            {"2 blank-zero 1234.5", 2, QChar(), "#,###", 1234.5, "1.234,50"},
            {"2 blank-zero 0", 2, QChar(), "#,###", 0.0, ""},
            {"2 blank-zero -0.5", 2, QChar(), "#,###", -0.5, "-0,50"},
            {"2 blank-zero 1e6", 2, QChar(), "#,###", 1000000.0, "1.000.000,00"},
            {"2 blank-zero tiny", 2, QChar(), "#,###", 0.004, ""},
            {"2 compact 1234.5", 2, QChar('#'), "#,###", 1234.5, "1.234,5"},
            {"2 compact 0", 2, QChar('#'), "#,###", 0.0, ""},
            {"2 compact -0.5", 2, QChar('#'), "#,###", -0.5, "-0,5"},
            {"2 compact 1e6", 2, QChar('#'), "#,###", 1000000.0, "1.000.000"},
            {"2 digit 1234.5", 2, QChar(), "#,##0", 1234.5, "1.234,50"},
            {"2 digit 0", 2, QChar(), "#,##0", 0.0, "0,00"},
            {"2 digit -0.5", 2, QChar(), "#,##0", -0.5, "-0,50"},
            {"2 digit 1e6", 2, QChar(), "#,##0", 1000000.0, "1.000.000,00"},
            {"2 digit 2.675", 2, QChar(), "#,##0", 2.675, "2,68"},
            {"2 digit 1.005", 2, QChar(), "#,##0", 1.005, "1,01"},
            {"2 digit -0.001", 2, QChar(), "#,##0", -0.001, "0,00"},
            {"0 blank-zero 1234.5", 0, QChar(), "#,###", 1234.5, "1.235"},
            {"0 blank-zero 0", 0, QChar(), "#,###", 0.0, ""},
            {"0 blank-zero -0.5", 0, QChar(), "#,###", -0.5, "-1"},
            {"0 blank-zero 0.4", 0, QChar(), "#,###", 0.4, ""},
            {"0 digit 1e6", 0, QChar(), "#,##0", 1000000.0, "1.000.000"},
            {"0 digit 0", 0, QChar(), "#,##0", 0.0, "0"},
            {"0 digit -0.4", 0, QChar(), "#,##0", -0.4, "0"},
            {"0 digit 999.5", 0, QChar(), "#,##0", 999.5, "1.000"},
            {"qty ^ 1234.5678", 3, QChar('#'), "#,##^", 1234.5678, "1.234,568"},
            {"qty ^ 2.5", 3, QChar('#'), "#,##^", 2.5, "2,5"},
            {"qty ^ 0", 3, QChar('#'), "#,##^", 0.0, ""},
            {"qty ^ 0.0004", 3, QChar('#'), "#,##^", 0.0004, ""},
            {"qty ^ 1000", 3, QChar('#'), "#,##^", 1000.0, "1.000"},
            {"qty plain 2.5", 3, QChar(), "#,###", 2.5, "2,500"},
            {"qty plain 0", 3, QChar(), "#,###", 0.0, ""},
            {"qty digit -1234.5678", 3, QChar(), "#,##0", -1234.5678, "-1.234,568"},
        };
        for (const Row &r : rows)
            QTest::newRow(r.name) << r.d << r.fill << QString::fromLatin1(r.pattern) << r.v << QString::fromUtf8(r.out);
    }

    void companyFormats()
    {
        QFETCH(int, decimals);
        QFETCH(QChar, fill);
        QFETCH(QString, pattern);
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(kem::FormatNum(value, kem::NumFormat(decimals, fill, pattern)), expected);
    }

    void formatGrammar_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("page number") << 5.0 << "000" << "005";
        QTest::newRow("page number wide") << 1234.0 << "000" << "1234";
        QTest::newRow("no grouping") << 12345.678 << "####.##" << "12345,68";
        QTest::newRow("optional decimals") << 1.5 << "#,##0.#####" << "1,5";
        QTest::newRow("optional decimals all") << 1.123456 << "#,##0.#####" << "1,12346";
        QTest::newRow("mixed decimals") << 1.5 << "0.0#" << "1,5";
        QTest::newRow("mixed decimals full") << 1.25 << "0.0#" << "1,25";
        QTest::newRow("below one keeps zero") << 0.5 << "####.##" << "0,5";
        QTest::newRow("prefix literal") << 1234.5 << "€ #,##0.00" << "€ 1.234,50";
        QTest::newRow("negative literal") << -1234.5 << "€ #,##0.00" << "-€ 1.234,50";
        QTest::newRow("quoted suffix") << 3.0 << "0 \"pz.\"" << "3 pz.";
        QTest::newRow("escaped") << 3.0 << "0\\%" << "3%";
        QTest::newRow("negative section") << -5.0 << "#,##0.00;(#,##0.00)" << "(5,00)";
        QTest::newRow("negative section positive") << 5.0 << "#,##0.00;(#,##0.00)" << "5,00";
        QTest::newRow("zero section") << 0.0 << "#,##0.00;-#,##0.00;\"zero\"" << "zero";
        QTest::newRow("zero section after rounding") << 0.001 << "#,##0.00;-#,##0.00;\"-\"" << "-";
        QTest::newRow("big") << 1e15 << "#,##0" << "1.000.000.000.000.000";
        QTest::newRow("empty format") << 1234.5 << "" << "1234,5";
    }

    void formatGrammar()
    {
        QFETCH(double, value);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(kem::FormatNum(value, format), expected);
    }

    void roundNum_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("expected");
        QTest::newRow("2.675 binary below half") << 2.675 << "A" << 1.0 << 2 << 2.68;
        QTest::newRow("1.005 binary below half") << 1.005 << "A" << 1.0 << 2 << 1.01;
        QTest::newRow("-2.5 away from zero") << -2.5 << "A" << 1.0 << 0 << -3.0;
        QTest::newRow("2.5 away from zero") << 2.5 << "A" << 1.0 << 0 << 3.0;
        QTest::newRow("0.5") << 0.5 << "A" << 1.0 << 0 << 1.0;
        QTest::newRow("below half") << 2.4999 << "A" << 1.0 << 0 << 2.0;
        QTest::newRow("binary sum") << 0.1 + 0.2 << "A" << 1.0 << 2 << 0.3;
        QTest::newRow("binary sum truncated") << 0.1 * 3 << "T" << 1.0 << 1 << 0.3;
        QTest::newRow("product truncated") << 1.15 * 100 << "T" << 1.0 << 0 << 115.0;
        QTest::newRow("truncate") << 2.679 << "T" << 1.0 << 2 << 2.67;
        QTest::newRow("truncate negative") << -2.679 << "T" << 1.0 << 2 << -2.67;
        QTest::newRow("lower-case mode") << 2.675 << "a" << 1.0 << 2 << 2.68;
        QTest::newRow("unknown mode rounds") << 2.675 << "X" << 1.0 << 2 << 2.68;
        QTest::newRow("already round") << 12.5 << "A" << 1.0 << 3 << 12.5;
        QTest::newRow("step 5 cents down") << 1.02 << "A" << 5.0 << 2 << 1.0;
        QTest::newRow("step 5 cents half") << 1.025 << "A" << 5.0 << 2 << 1.05;
        QTest::newRow("step 5 cents up") << 1.03 << "A" << 5.0 << 2 << 1.05;
        QTest::newRow("step 5 cents truncate") << 1.074 << "T" << 5.0 << 2 << 1.05;
        QTest::newRow("step half unit") << 2.26 << "A" << 0.5 << 0 << 2.5;
        QTest::newRow("step 0 is plain") << 2.675 << "A" << 0.0 << 2 << 2.68;
        QTest::newRow("hundreds up") << 1250.0 << "A" << 1.0 << -2 << 1300.0;
        QTest::newRow("hundreds down") << 1249.0 << "A" << 1.0 << -2 << 1200.0;
        QTest::newRow("fifteen digits") << 123456789012.345 << "A" << 1.0 << 2 << 123456789012.35;
        QTest::newRow("single precision factor") << double(1024.0f / 800.0f) << "A" << 1.0 << 2 << 1.28;
        QTest::newRow("zero") << 0.0 << "A" << 1.0 << 2 << 0.0;
        QTest::newRow("rounds to zero") << 0.004 << "A" << 1.0 << 2 << 0.0;
        QTest::newRow("huge unchanged") << 1e300 << "A" << 1.0 << 2 << 1e300;
    }

    void roundNum()
    {
        QFETCH(double, value);
        QFETCH(QString, mode);
        QFETCH(double, step);
        QFETCH(int, decimals);
        QFETCH(double, expected);
        const double actual = kem::RoundNum(value, mode, step, decimals);
        QVERIFY2(actual == expected, qPrintable(Exact(actual) + " != " + Exact(expected)));
    }

    void roundNumNotFinite()
    {
        QVERIFY(std::isnan(kem::RoundNum(std::numeric_limits<double>::quiet_NaN(), "A", 1, 2)));
        QCOMPARE(kem::RoundNum(std::numeric_limits<double>::infinity(), "A", 1, 2),
                 std::numeric_limits<double>::infinity());
    }

    void textToNum_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::addColumn<bool>("ok");
        QTest::newRow("grouped with decimals") << "1.234,5" << 1234.5 << true;
        QTest::newRow("comma decimals") << "2,5" << 2.5 << true;
        QTest::newRow("negative") << "-3" << -3.0 << true;
        QTest::newRow("plus") << "+3" << 3.0 << true;
        QTest::newRow("blanks around") << " 7 " << 7.0 << true;
        QTest::newRow("blank") << "   " << 0.0 << true;
        QTest::newRow("empty") << "" << 0.0 << true;
        QTest::newRow("grouped") << "1.234.567" << 1234567.0 << true;
        QTest::newRow("grouped three") << "1.234" << 1234.0 << true;
        QTest::newRow("point as decimal") << "1.2" << 1.2 << true;
        QTest::newRow("version") << "1.07" << 1.07 << true;
        QTest::newRow("leading comma") << ",5" << 0.5 << true;
        QTest::newRow("exchange rate") << "1936,27" << 1936.27 << true;
        QTest::newRow("negative grouped") << "-1.234,56" << -1234.56 << true;
        QTest::newRow("fifteen digits") << "123456789012345" << 123456789012345.0 << true;
        QTest::newRow("fifteen digits with decimals") << "-12,345678901234" << -12.345678901234 << true;
        QTest::newRow("sixteen digits") << "1234567890123456" << 1234567890123456.0 << true;
        QTest::newRow("seventeen decimals") << "0,12345678901234567" << 0.12345678901234567 << true;
        QTest::newRow("a tenth") << "0,1" << 0.1 << true;
        QTest::newRow("comma last") << "5," << 5.0 << true;
        QTest::newRow("minus before comma") << "-,5" << -0.5 << true;
        QTest::newRow("garbage") << "abc" << 0.0 << false;
        QTest::newRow("trailing letters") << "12a" << 0.0 << false;
        QTest::newRow("two commas") << "1,2,3" << 0.0 << false;
        QTest::newRow("double sign") << "--1" << 0.0 << false;
        QTest::newRow("bad grouping") << "1.23,5" << 0.0 << false;
        QTest::newRow("bad grouping no comma") << "1.23.4" << 0.0 << false;
        QTest::newRow("lone comma") << "," << 0.0 << false;
        QTest::newRow("exponent") << "1e3" << 0.0 << false;
    }

    void textToNum()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QFETCH(bool, ok);
        bool actualOk = !ok;
        const double actual = kem::TextToNum(text, &actualOk);
        QVERIFY2(actual == expected, qPrintable(Exact(actual)));
        QCOMPARE(actualOk, ok);
    }

    void textToInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("ok");
        QTest::newRow("plain") << "42" << 42 << true;
        QTest::newRow("blanks") << " -7 " << -7 << true;
        QTest::newRow("grouped") << "1.234" << 1234 << true;
        QTest::newRow("fraction rounds") << "2,5" << 3 << true;
        QTest::newRow("negative fraction rounds") << "-2,5" << -3 << true;
        QTest::newRow("blank") << "" << 0 << true;
        QTest::newRow("max") << "2147483647" << 2147483647 << true;
        QTest::newRow("overflow") << "2147483648" << 0 << false;
        QTest::newRow("garbage") << "x1" << 0 << false;
    }

    void textToInt()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QFETCH(bool, ok);
        bool actualOk = !ok;
        QCOMPARE(kem::TextToInt(text, &actualOk), expected);
        QCOMPARE(actualOk, ok);
    }

    void numText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("integer") << 5.0 << "5";
        QTest::newRow("fraction") << 1234.5 << "1234,5";
        QTest::newRow("negative") << -2.25 << "-2,25";
        QTest::newRow("binary sum") << 0.1 + 0.2 << "0,3";
        QTest::newRow("small") << 0.0001 << "0,0001";
        QTest::newRow("large") << 1e20 << "100000000000000000000";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
    }

    void numText()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(kem::NumText(value), expected);
        // what NumText writes, TextToNum reads back
        bool ok = false;
        QCOMPARE(kem::NumText(kem::TextToNum(expected, &ok)), expected);
        QVERIFY(ok);
    }

    void lists()
    {
        QCOMPARE(kem::ListMin({1.28, 1.25}), 1.25);
        QCOMPARE(kem::ListMax({1.28, 1.25, -3.0}), 1.28);
        QCOMPARE(kem::ListMin({-1.0, 2.0, -5.5}), -5.5);
        QCOMPARE(kem::ListMax(QList<double>{4.0, 9.0, 2.0}), 9.0);
        QCOMPARE(kem::ListMin(QList<double>{}), 0.0);
        QCOMPARE(kem::ListMax({}), 0.0);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
