// Class and attribute ranges: the criteria, the printed description and the range checks.
#include "common/classeattr.h"

#include <QtTest>

using kem::ClasseAttrBounds;

Q_DECLARE_METATYPE(ClasseAttrBounds)

namespace {

ClasseAttrBounds B(std::initializer_list<std::pair<int, const char *>> levels)
{
    ClasseAttrBounds b;
    for (const auto &[level, value] : levels)
        b[static_cast<size_t>(level - 1)] = QString::fromUtf8(value);
    return b;
}

} // namespace

class TestClasseAttr : public QObject {
    Q_OBJECT
private slots:
    void criteri_data();
    void criteri();
    void descrizione_data();
    void descrizione();
    void reversed_data();
    void reversed();
};

void TestClasseAttr::criteri_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<ClasseAttrBounds>("da");
    QTest::addColumn<ClasseAttrBounds>("a");
    QTest::addColumn<QString>("expected");
    const QString art = "Articoli", artP = "ArtClasseAttr", pdc = "PianoConti", pdcP = "PdcClasseAttr";
    QTest::newRow("nothing set") << art << artP << ClasseAttrBounds{} << ClasseAttrBounds{} << "";
    QTest::newRow("blank bounds are unset") << art << artP << B({{1, "  "}}) << B({{2, ""}}) << "";
    QTest::newRow("level 3 upper only") << art << artP << ClasseAttrBounds{} << B({{3, "Z9"}})
                                        << " AND Articoli.ArtClasseAttr3<='Z9'";
    QTest::newRow("level 2 lower only") << art << artP << B({{2, "B"}}) << ClasseAttrBounds{}
                                        << " AND Articoli.ArtClasseAttr2>='B'";
    QTest::newRow("both bounds, two levels")
        << pdc << pdcP << B({{1, "A"}, {5, "X"}}) << B({{1, "C"}})
        << " AND PianoConti.PdcClasseAttr1>='A' AND PianoConti.PdcClasseAttr1<='C'"
           " AND PianoConti.PdcClasseAttr5>='X'";
    QTest::newRow("quote doubled") << art << artP << B({{4, "O'K"}}) << ClasseAttrBounds{}
                                   << " AND Articoli.ArtClasseAttr4>='O''K'";
}

void TestClasseAttr::criteri()
{
    QFETCH(QString, table);
    QFETCH(QString, prefix);
    QFETCH(ClasseAttrBounds, da);
    QFETCH(ClasseAttrBounds, a);
    QFETCH(QString, expected);
    QString crit = " and X=1";  // appended to what is there
    kem::ClasseAttrCriteri(crit, table, prefix, da, a);
    QCOMPARE(crit, " and X=1" + expected);
}

void TestClasseAttr::descrizione_data()
{
    QTest::addColumn<bool>("pdc");
    QTest::addColumn<ClasseAttrBounds>("da");
    QTest::addColumn<ClasseAttrBounds>("a");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing") << false << ClasseAttrBounds{} << ClasseAttrBounds{} << "";
    QTest::newRow("level 3 upper only") << false << ClasseAttrBounds{} << B({{3, "Z9"}}) << "; [cla.3] a: Z9";
    QTest::newRow("both bounds") << false << B({{1, "A"}}) << B({{1, "C"}}) << "; [cla.1] da: A a: C";
    QTest::newRow("accounts") << true << B({{2, "K"}}) << B({{5, "M"}})
                              << "; [PdcCla.2] da: K; [PdcCla.5] a: M";
}

void TestClasseAttr::descrizione()
{
    QFETCH(bool, pdc);
    QFETCH(ClasseAttrBounds, da);
    QFETCH(ClasseAttrBounds, a);
    QFETCH(QString, expected);
    QString desc;
    kem::ClasseAttrDescrizione(desc, da, a, pdc, [](const QString &name) { return "[" + name + "]"; });
    QCOMPARE(desc, expected);
}

void TestClasseAttr::reversed_data()
{
    QTest::addColumn<ClasseAttrBounds>("da");
    QTest::addColumn<ClasseAttrBounds>("a");
    QTest::addColumn<int>("level");  // 0: in order
    QTest::addColumn<bool>("anySet");
    QTest::newRow("empty") << ClasseAttrBounds{} << ClasseAttrBounds{} << 0 << false;
    QTest::newRow("in order") << B({{1, "A"}}) << B({{1, "B"}}) << 0 << true;
    QTest::newRow("case ignored") << B({{2, "b"}}) << B({{2, "B"}}) << 0 << true;
    QTest::newRow("one bound") << B({{4, "Z"}}) << ClasseAttrBounds{} << 0 << true;
    QTest::newRow("level 3 reversed") << B({{1, "A"}, {3, "Z"}}) << B({{1, "B"}, {3, "A"}}) << 3 << true;
}

void TestClasseAttr::reversed()
{
    QFETCH(ClasseAttrBounds, da);
    QFETCH(ClasseAttrBounds, a);
    QFETCH(int, level);
    QFETCH(bool, anySet);
    const kem::ClasseAttrRange r{da, a};
    QCOMPARE(r.FirstReversedLevel().value_or(0), level);
    QCOMPARE(r.AnySet(), anySet);
}

QTEST_GUILESS_MAIN(TestClasseAttr)
#include "tst_classeattr.moc"
