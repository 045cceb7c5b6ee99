// RoundNum takes a binary shortcut when it cannot differ from rounding the decimal text of the
// value; FormatNum keeps parsed formats and drawn texts. Both must give exactly what the plain
// decimal route gives.
#include "platform/util/decimal.h"
#include "platform/util/kemutil.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <random>

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

QString Show(double d) { return QString::number(d, 'g', 17); }

} // namespace

class TestRoundingPaths : public QObject
{
    Q_OBJECT

private:
    // Compares the two routes on one value for every number of places and both modes.
    bool compareAll(double v, QString *where)
    {
        static const QString modes[] = {QStringLiteral("A"), QStringLiteral("T")};
        for (int places = -1; places <= 11; ++places) {
            for (int m = 0; m < 2; ++m) {
                for (double step : {1.0, 0.0}) {
                    const double got = kem::RoundNum(v, modes[m], step, places);
                    const double want = kem::detail::RoundNumExact(v, m == 1, step, places);
                    if (!SameBits(got, want)) {
                        *where = QStringLiteral("value %1 places %2 mode %3: %4 instead of %5")
                                     .arg(Show(v)).arg(places).arg(modes[m], Show(got), Show(want));
                        return false;
                    }
                }
            }
        }
        return true;
    }

private slots:
    // Values at and next to every kind of boundary: decimal halves, whole units, their
    // neighbouring doubles, products as the BOM makes them, negatives and tiny numbers.
    void fastRoundMatchesDecimal_data()
    {
        QTest::addColumn<int>("family");
        QTest::newRow("short decimals") << 0;
        QTest::newRow("neighbours of short decimals") << 1;
        QTest::newRow("products of short decimals") << 2;
        QTest::newRow("any bit pattern in range") << 3;
        QTest::newRow("halves and whole units") << 4;
    }

    void fastRoundMatchesDecimal()
    {
        QFETCH(int, family);
        std::mt19937_64 gen(20261210u + unsigned(family));
        std::uniform_int_distribution<int> digits(0, 9);
        std::uniform_int_distribution<long long> mant(0, 99999999999LL);
        std::uniform_int_distribution<int> sign(0, 1);
        auto shortDecimal = [&] {
            const long long m = mant(gen) % (1LL << (digits(gen) * 4 + 4));
            return double(m) / std::pow(10.0, digits(gen));
        };
        QString where;
        const int count = 80000;
        for (int i = 0; i < count; ++i) {
            double v = 0;
            switch (family) {
            case 0:
                v = shortDecimal();
                break;
            case 1:
                v = shortDecimal();
                v = sign(gen) ? std::nextafter(v, 1e300) : std::nextafter(v, -1e300);
                break;
            case 2:
                v = shortDecimal() * shortDecimal();
                break;
            case 3: {
                std::uniform_real_distribution<double> e(-12, 12);
                std::uniform_real_distribution<double> f(1, 10);
                v = f(gen) * std::pow(10.0, e(gen));
                break;
            }
            case 4: {
                const double base = double(mant(gen) % 100000) + 0.5 * double(sign(gen));
                v = base / std::pow(10.0, digits(gen));
                for (int k = digits(gen) % 4; k > 0; --k)
                    v = std::nextafter(v, sign(gen) ? 1e300 : -1e300);
                break;
            }
            }
            if (sign(gen))
                v = -v;
            if (!compareAll(v, &where))
                QFAIL(qPrintable(where));
        }
    }

    void fastRoundEdgeValues_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("zero") << 0.0;
        QTest::newRow("negative zero") << -0.0;
        QTest::newRow("0.285") << 0.285;
        QTest::newRow("-0.285") << -0.285;
        QTest::newRow("1.005") << 1.005;
        QTest::newRow("0.29") << 0.29;
        QTest::newRow("2.675") << 2.675;
        QTest::newRow("tiny negative") << -1e-9;
        QTest::newRow("denormal") << 4.9e-324;
        QTest::newRow("largest fast") << 999999999999.4;
        QTest::newRow("large") << 123456789012345.67;
        QTest::newRow("huge") << 1e300;
        QTest::newRow("infinite") << double(INFINITY);
        QTest::newRow("nan") << double(NAN);
    }

    void fastRoundEdgeValues()
    {
        QFETCH(double, value);
        QString where;
        QVERIFY2(compareAll(value, &where), qPrintable(where));
    }

    // Formatting in binary gives the texts of the decimal route.
    void fastFormatMatchesDecimal()
    {
        const QStringList formats = {
            QStringLiteral("#,##0.00"), QStringLiteral("#,##0.000"), QStringLiteral("0"),
            QStringLiteral("#,##0.00;(#,##0.00)"), QStringLiteral("#,##0.#####"),
            QStringLiteral("0.0;-0.0;\"zero\""), QStringLiteral("#,##0"), QStringLiteral("#.##"),
            QStringLiteral("0.000000000"), QStringLiteral("#,##0.0000000000"), QStringLiteral("00000.0"),
            QStringLiteral("\"€ \"#,##0.00"), QStringLiteral("000,000.00\" kg\""), QStringLiteral("\"n.\"")};
        std::mt19937_64 gen(99);
        std::uniform_int_distribution<long long> mant(0, 99999999999LL);
        std::uniform_int_distribution<int> digits(0, 9);
        std::uniform_int_distribution<int> sign(0, 1);
        for (int i = 0; i < 60000; ++i) {
            double v = double(mant(gen) % (1LL << (digits(gen) * 4 + 4))) / std::pow(10.0, digits(gen));
            if (i % 3 == 1)
                v = std::nextafter(v, sign(gen) ? 1e300 : -1e300);
            else if (i % 3 == 2)
                v = v * 2.5 / 3.0;
            if (sign(gen))
                v = -v;
            for (const QString &f : formats) {
                const QString got = kem::FormatNum(v, f), want = kem::detail::FormatNumExact(v, f);
                if (got != want)
                    QFAIL(qPrintable(QStringLiteral("%1 with %2: %3 instead of %4").arg(Show(v), f, got, want)));
            }
        }
        for (double v : {0.0, -0.0, 0.005, -0.005, 0.0049999999, -0.0049999999, 1e13, -1e13, 999999999999.995,
                         double(INFINITY), double(NAN)})
            for (const QString &f : formats)
                QCOMPARE(kem::FormatNum(v, f), kem::detail::FormatNumExact(v, f));
    }

    // More formats than are kept, and more numbers than are kept per format: every text is the
    // one that format gives the number on its own.
    void formatCacheKeepsTextsApart()
    {
        const QStringList formats = {
            QStringLiteral("#,##0.00"), QStringLiteral("#,##0.000"), QStringLiteral("0"),
            QStringLiteral("#,##0.00;(#,##0.00)"), QStringLiteral("#,##0.#####"),
            QStringLiteral("0.0;-0.0;\"zero\""), QStringLiteral("#,##0"), QStringLiteral("#.##"),
            QStringLiteral("\"€ \"#,##0.00"), QStringLiteral("0.0000"), QStringLiteral("#,##0.0")};
        QVector<double> values;
        std::mt19937_64 gen(7);
        std::uniform_int_distribution<long long> m(-5000000, 5000000);
        for (int i = 0; i < 6000; ++i)
            values << double(m(gen)) / 1000.0;
        values << 0.0 << -0.0 << 0.004 << -0.004;
        // Texts per format, one format at a time.
        QVector<QStringList> alone;
        for (const QString &f : formats) {
            QStringList texts;
            for (double v : values)
                texts << kem::FormatNum(v, f);
            alone << texts;
        }
        // Formats interleaved, values in another order.
        for (int i = int(values.size()) - 1; i >= 0; --i) {
            for (int f = 0; f < formats.size(); ++f) {
                const int fi = (f * 7 + i) % int(formats.size());
                QCOMPARE(kem::FormatNum(values[i], formats[fi]), alone[fi][i]);
            }
        }
        // The texts themselves are the formats' own.
        QCOMPARE(kem::FormatNum(-1234.5, formats[3]), QStringLiteral("(1.234,50)"));
        QCOMPARE(kem::FormatNum(0.0, formats[5]), QStringLiteral("zero"));
        QCOMPARE(kem::FormatNum(1234.5, formats[0]), QStringLiteral("1.234,50"));
    }
};

QTEST_GUILESS_MAIN(TestRoundingPaths)
#include "tst_roundingpaths.moc"
