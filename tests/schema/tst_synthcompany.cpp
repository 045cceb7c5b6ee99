// The synthetic company generator: sizes, levels, acyclic structures, sharing, determinism, bad
// input.
#include "schema/companyfiles.h"
#include "tests/schema/companytestdb.h"
#include "schema/synthcompany.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Structure {
    QHash<QString, QStringList> children;
    QHash<QString, int> parents; // how many parents use each component
    QHash<QString, int> distBase;
    qint64 links = 0;
};

Structure ReadStructure(const CompanyTestDb &db)
{
    Structure s;
    QSqlQuery q(db.db());
    q.exec("SELECT ArticoloPadre, ArticoloFiglio FROM ArtLegami");
    while (q.next()) {
        s.children[q.value(0).toString()] << q.value(1).toString();
        s.parents[q.value(1).toString()] += 1;
        ++s.links;
    }
    QSqlQuery a(db.db());
    a.exec("SELECT Articolo, DistBase FROM Articoli");
    while (a.next())
        s.distBase.insert(a.value(0).toString(), a.value(1).toInt());
    return s;
}

// Depth-first walk with three colours; false when a structure leads back to an article on the
// current path. Iterative, so deep structures cannot overflow the stack.
bool Acyclic(const Structure &s)
{
    enum Colour { White, Grey, Black };
    QHash<QString, Colour> colour;
    for (auto it = s.children.cbegin(); it != s.children.cend(); ++it) {
        if (colour.value(it.key(), White) != White)
            continue;
        QList<QPair<QString, int>> stack{{it.key(), 0}};
        colour[it.key()] = Grey;
        while (!stack.isEmpty()) {
            auto &[node, next] = stack.last();
            const QStringList kids = s.children.value(node);
            if (next < kids.size()) {
                const QString kid = kids.at(next++);
                const Colour c = colour.value(kid, White);
                if (c == Grey)
                    return false;
                if (c == White) {
                    colour[kid] = Grey;
                    stack.append({kid, 0});
                }
            } else {
                colour[node] = Black;
                stack.removeLast();
            }
        }
    }
    return true;
}

// The level a code names: PF- products (0), SLk-/SCk- sub-assemblies and MPk-/MCk- materials of
// level k, MP-/MC- materials of the last level; -1 for anything else.
int CodeLevel(const QString &code, int depth)
{
    static const QRegularExpression re(QStringLiteral("^(PF|SL|SC|MP|MC)(\\d*)-\\d+$"));
    const auto m = re.match(code);
    if (!m.hasMatch())
        return -1;
    if (m.captured(1) == QLatin1String("PF"))
        return m.captured(2).isEmpty() ? 0 : -1;
    if (m.captured(2).isEmpty())
        return m.captured(1).startsWith(QLatin1Char('M')) ? depth : -1;
    return m.captured(2).toInt();
}

// Levels reached walking down from the products; false when an article is reached at two
// different depths.
bool LevelsFromProducts(const Structure &s, QHash<QString, int> *levels)
{
    QStringList front;
    for (auto it = s.distBase.cbegin(); it != s.distBase.cend(); ++it)
        if (it.value() == 1) {
            levels->insert(it.key(), 0);
            front << it.key();
        }
    for (int level = 1; !front.isEmpty(); ++level) {
        QStringList next;
        for (const QString &parent : front)
            for (const QString &kid : s.children.value(parent)) {
                const auto found = levels->constFind(kid);
                if (found == levels->cend()) {
                    levels->insert(kid, level);
                    next << kid;
                } else if (*found != level) {
                    return false;
                }
            }
        front = next;
    }
    return true;
}

// Shortest and longest path from an article down to its leaves.
QPair<int, int> DepthRange(const Structure &s, const QString &article)
{
    const QStringList kids = s.children.value(article);
    if (kids.isEmpty())
        return {0, 0};
    int lo = INT_MAX, hi = 0;
    for (const QString &k : kids) {
        const auto r = DepthRange(s, k);
        lo = std::min(lo, r.first + 1);
        hi = std::max(hi, r.second + 1);
    }
    return {lo, hi};
}

} // namespace

class TstSynthCompany : public QObject {
    Q_OBJECT
private slots:
    void linkCountWithoutSharing_data();
    void linkCountWithoutSharing();
    void structure_data();
    void structure();
    void levelsFollowThePlan_data();
    void levelsFollowThePlan();
    void allSubAssembliesIsTheDefault();
    void sharedShareHonoured_data();
    void sharedShareHonoured();
    void everyArticleValued();
    void sameDataEveryRun();
    void orderLines_data();
    void orderLines();
    void menuNamesTheCompany();
    void badParameters_data();
    void badParameters();

private:
    QString write(const kem::SynthParams &p, kem::SynthStats *stats = nullptr);
    QTemporaryDir tmp_;
    int serial_ = 0;
};

QString TstSynthCompany::write(const kem::SynthParams &p, kem::SynthStats *stats)
{
    const QString dir = tmp_.filePath(QString::number(++serial_));
    QString err;
    if (!kem::WriteSynthCompany(dir, p, &err, stats)) {
        qWarning("%s", qPrintable(err));
        return {};
    }
    return kem::CompanyPaths(dir).companyDb;
}

void TstSynthCompany::linkCountWithoutSharing_data()
{
    QTest::addColumn<int>("products");
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("components");
    QTest::addColumn<qint64>("links");
    QTest::addColumn<qint64>("articles");
    // N products, C^1 + ... + C^D links each; every component a distinct article.
    QTest::newRow("2x3x2") << 2 << 3 << 2 << qint64(2 * (2 + 4 + 8)) << qint64(2 + 28);
    QTest::newRow("3x1x4") << 3 << 1 << 4 << qint64(12) << qint64(15);
    QTest::newRow("1x4x3") << 1 << 4 << 3 << qint64(3 + 9 + 27 + 81) << qint64(1 + 120);
    QTest::newRow("5x2x1") << 5 << 2 << 1 << qint64(10) << qint64(15);
}

void TstSynthCompany::linkCountWithoutSharing()
{
    QFETCH(int, products);
    QFETCH(int, depth);
    QFETCH(int, components);
    QFETCH(qint64, links);
    QFETCH(qint64, articles);
    kem::SynthStats stats;
    const QString path = write({products, depth, components, 0.0}, &stats);
    QVERIFY(!path.isEmpty());
    CompanyTestDb db(path);
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM ArtLegami").toLongLong(), links);
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM Articoli").toLongLong(), articles);
    QCOMPARE(stats.links, links);
    QCOMPARE(kem::PlanSynthCompany({products, depth, components, 0.0}).links, links);
}

void TstSynthCompany::structure_data()
{
    QTest::addColumn<int>("products");
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("components");
    QTest::addColumn<double>("shared");
    QTest::newRow("no sharing") << 4 << 3 << 3 << 0.0;
    QTest::newRow("30% shared") << 40 << 3 << 4 << 30.0;
    QTest::newRow("all shared") << 10 << 4 << 3 << 100.0;
    QTest::newRow("one level") << 20 << 1 << 5 << 50.0;
    QTest::newRow("deep and narrow") << 6 << 8 << 2 << 40.0;
}

// Every product is D levels deep along every path, every assembly has C components, the
// roles match the positions, and no structure contains itself.
void TstSynthCompany::structure()
{
    QFETCH(int, products);
    QFETCH(int, depth);
    QFETCH(int, components);
    QFETCH(double, shared);
    const kem::SynthParams p{products, depth, components, shared};
    const QString path = write(p);
    QVERIFY(!path.isEmpty());
    CompanyTestDb db(path);
    const Structure s = ReadStructure(db);
    QVERIFY(Acyclic(s));
    QCOMPARE(s.links, kem::PlanSynthCompany(p).links);
    int productCount = 0;
    for (auto it = s.distBase.cbegin(); it != s.distBase.cend(); ++it) {
        const QString &a = it.key();
        const bool hasChildren = s.children.contains(a), isComponent = s.parents.contains(a);
        if (hasChildren)
            QCOMPARE(s.children.value(a).size(), components);
        switch (it.value()) {
        case 1:
            ++productCount;
            QVERIFY2(hasChildren && !isComponent, qPrintable(a));
            QCOMPARE(DepthRange(s, a), qMakePair(depth, depth));
            break;
        case 2: QVERIFY2(hasChildren, qPrintable(a)); break;
        case 3: QVERIFY2(!hasChildren, qPrintable(a)); break;
        default: QFAIL(qPrintable("unexpected DistBase of " + a));
        }
    }
    QCOMPARE(productCount, products);
    // Every component is an article.
    for (auto it = s.parents.cbegin(); it != s.parents.cend(); ++it)
        QVERIFY2(s.distBase.contains(it.key()), qPrintable(it.key()));
    // No component twice under one parent.
    for (auto it = s.children.cbegin(); it != s.children.cend(); ++it)
        QCOMPARE(QSet<QString>(it.value().begin(), it.value().end()).size(), it.value().size());
}

void TstSynthCompany::levelsFollowThePlan_data()
{
    QTest::addColumn<int>("products");
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("components");
    QTest::addColumn<double>("shared");
    QTest::addColumn<int>("subAssemblies");
    QTest::newRow("all sub-assemblies") << 40 << 3 << 4 << 30.0 << -1;
    QTest::newRow("as many as components") << 12 << 3 << 3 << 50.0 << 3;
    QTest::newRow("3 of 8, 5 levels") << 5 << 4 << 8 << 54.0 << 3;
    QTest::newRow("2 of 5, no sharing") << 4 << 3 << 5 << 0.0 << 2;
    QTest::newRow("1 of 4, all shared") << 10 << 3 << 4 << 100.0 << 1;
    QTest::newRow("only materials") << 10 << 3 << 4 << 50.0 << 0;
    QTest::newRow("one level") << 20 << 1 << 5 << 50.0 << 2;
    QTest::newRow("deep and narrow") << 6 << 7 << 3 << 40.0 << 1;
}

// The written articles and links, level by level and kind by kind, are those of the plan; every
// link goes from a level to the next; an assembly above the last level has S sub-assemblies and
// C-S materials, one of the last level only materials; materials have no components.
void TstSynthCompany::levelsFollowThePlan()
{
    QFETCH(int, products);
    QFETCH(int, depth);
    QFETCH(int, components);
    QFETCH(double, shared);
    QFETCH(int, subAssemblies);
    const kem::SynthParams p{products, depth, components, shared, subAssemblies};
    kem::SynthStats stats;
    const QString path = write(p, &stats);
    QVERIFY(!path.isEmpty());
    CompanyTestDb db(path);
    const kem::SynthPlan plan = kem::PlanSynthCompany(p);
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM Articoli").toLongLong(), plan.articles);
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM ArtLegami").toLongLong(), plan.links);
    QCOMPARE(stats.articles, plan.articles);
    QCOMPARE(stats.links, plan.links);
    QCOMPARE(plan.levels.size(), depth);

    const Structure s = ReadStructure(db);
    QVERIFY(Acyclic(s));
    QHash<QString, int> reached;
    QVERIFY2(LevelsFromProducts(s, &reached), "an article lies at two depths");

    // Per level: private and shared articles of each kind, links into each kind.
    struct Counts {
        qint64 privates = 0, pool = 0, incoming = 0;
    };
    QList<Counts> assemblies(depth + 1), materials(depth + 1);
    for (auto it = s.distBase.cbegin(); it != s.distBase.cend(); ++it) {
        const QString &a = it.key();
        const int level = CodeLevel(a, depth);
        QVERIFY2(level >= 0 && level <= depth, qPrintable(a));
        if (reached.contains(a))
            QVERIFY2(reached.value(a) == level, qPrintable(a));
        else
            QVERIFY2(!s.parents.contains(a), qPrintable(a)); // an unused shared article
        const bool pool = a.at(1) == QLatin1Char('C');
        const QStringList kids = s.children.value(a);
        switch (it.value()) {
        case 1: QCOMPARE(level, 0); break;
        case 2:
            QVERIFY2(a.startsWith('S') && level > 0 && level < depth, qPrintable(a));
            (pool ? assemblies[level].pool : assemblies[level].privates) += 1;
            break;
        case 3:
            QVERIFY2(a.startsWith('M') && level > 0, qPrintable(a));
            QVERIFY2(kids.isEmpty(), qPrintable(a));
            (pool ? materials[level].pool : materials[level].privates) += 1;
            break;
        default: QFAIL(qPrintable("unexpected DistBase of " + a));
        }
        if (it.value() == 3)
            continue;
        // An assembly: its components lie one level down, split between the kinds.
        QCOMPARE(kids.size(), components);
        QCOMPARE(QSet<QString>(kids.begin(), kids.end()).size(), kids.size());
        const int wantAssemblies =
            level + 1 == depth ? 0 : subAssemblies < 0 ? components : subAssemblies;
        int gotAssemblies = 0;
        for (const QString &k : kids) {
            QVERIFY2(s.distBase.contains(k), qPrintable(k));
            QVERIFY2(CodeLevel(k, depth) == level + 1, qPrintable(a + " -> " + k));
            const bool isAssembly = s.distBase.value(k) == 2;
            gotAssemblies += isAssembly ? 1 : 0;
            (isAssembly ? assemblies : materials)[level + 1].incoming += 1;
        }
        QCOMPARE(gotAssemblies, wantAssemblies);
    }
    for (int k = 1; k <= depth; ++k) {
        const kem::SynthLevel &lv = plan.levels.at(k - 1);
        QCOMPARE(assemblies[k].privates, lv.assemblies.privates);
        QCOMPARE(assemblies[k].pool, lv.assemblies.pool);
        QCOMPARE(assemblies[k].incoming, lv.assemblies.incoming);
        QCOMPARE(materials[k].privates, lv.materials.privates);
        QCOMPARE(materials[k].pool, lv.materials.pool);
        QCOMPARE(materials[k].incoming, lv.materials.incoming);
    }
}

// Asking for every component as a sub-assembly writes the same company as not asking.
void TstSynthCompany::allSubAssembliesIsTheDefault()
{
    const QString a = write({20, 3, 4, 40.0}), b = write({20, 3, 4, 40.0, 4});
    QVERIFY(!a.isEmpty() && !b.isEmpty());
    CompanyTestDb da(a), dbb(b);
    const QStringList x = da.dump();
    QVERIFY(x.size() > 100);
    QCOMPARE(x, dbb.dump());
}

void TstSynthCompany::sharedShareHonoured_data()
{
    QTest::addColumn<double>("shared");
    QTest::newRow("0%") << 0.0;
    QTest::newRow("10%") << 10.0;
    QTest::newRow("30%") << 30.0;
    QTest::newRow("75%") << 75.0;
}

// The share of links whose component is used by more than one parent follows the request.
void TstSynthCompany::sharedShareHonoured()
{
    QFETCH(double, shared);
    const QString path = write({100, 3, 4, shared});
    QVERIFY(!path.isEmpty());
    CompanyTestDb db(path);
    const Structure s = ReadStructure(db);
    qint64 toShared = 0;
    for (auto it = s.children.cbegin(); it != s.children.cend(); ++it)
        for (const QString &k : it.value())
            toShared += s.parents.value(k) > 1 ? 1 : 0;
    const double pct = 100.0 * double(toShared) / double(s.links);
    QVERIFY2(pct <= shared + 0.5 && pct >= shared - 3.0,
             qPrintable(QString("asked %1%, got %2%").arg(shared).arg(pct)));
}

void TstSynthCompany::everyArticleValued()
{
    const QString path = write({15, 3, 3, 30.0});
    QVERIFY(!path.isEmpty());
    CompanyTestDb db(path);
    const int year = kem::CurrentYear();
    const int articles = db.scalar("SELECT COUNT(*) FROM Articoli").toInt();
    QVERIFY(articles > 15);
    QCOMPARE(db.scalar(QString("SELECT COUNT(*) FROM ArticoliCosti WHERE Anno = %1"
                               " AND MedioPonderale > 0 AND Livello1 = '~ç~'").arg(year)).toInt(),
             articles);
    QCOMPARE(db.scalar("SELECT COUNT(DISTINCT Articolo) FROM ArtListini WHERE Prezzo > 0"
                       " AND Listino = '01'").toInt(), articles);
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM Articoli a JOIN TabIva i ON i.Iva = a.IvaVendite")
                 .toInt(), articles);
    // Links priced from a list name one that exists.
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM ArtLegami l LEFT JOIN Listini x"
                       " ON x.Listino = l.Listino WHERE l.QualeImporto = 'L' AND x.Listino IS NULL")
                 .toInt(), 0);
    QVERIFY(db.scalar("SELECT COUNT(*) FROM OrdVenDett WHERE TipoRiga = 'A'").toInt() > 0);
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM MenuDett").toInt(), 4);
}

void TstSynthCompany::orderLines_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("default") << kem::SynthParams{}.orderLines;
    QTest::newRow("not a multiple of four") << 37;
    QTest::newRow("none") << 0;
}

void TstSynthCompany::orderLines()
{
    QFETCH(int, lines);
    kem::SynthParams p{12, 2, 2, 30.0};
    p.orderLines = lines;
    const QString path = write(p);
    QVERIFY(!path.isEmpty());
    CompanyTestDb db(path);
    // The open lines the requirements print selects: of type A, open, in open orders of type 3.
    const QString open = "SELECT COUNT(*) FROM OrdVenTest t JOIN OrdVenDett d ON d.Anno = t.Anno AND d.NumRif = t.NumRif"
                         " WHERE t.Tipo = '3' AND (t.Stato IS NULL OR t.Stato <> 'E') AND d.TipoRiga = 'A'"
                         " AND (d.StatoRiga IS NULL OR d.StatoRiga <> 'E')";
    QCOMPARE(db.scalar(open).toInt(), lines);
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM OrdVenTest WHERE Stato = 'E'").toInt(), kem::SynthOpenOrders(lines) / 10);
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM OrdVenDett WHERE StatoRiga = 'E'").toInt(),
             kem::SynthOpenOrders(lines) / 10);
    QVERIFY(db.scalar("SELECT COUNT(*) FROM PreVenDett").toInt() >= 3);
    // Every ordered article is a product, and the products have stock progressives.
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM OrdVenDett d LEFT JOIN Articoli a ON a.Articolo = d.Articolo"
                       " WHERE a.DistBase IS NOT 1").toInt(), 0);
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM ArticoliProg p JOIN Articoli a ON a.Articolo = p.Articolo"
                       " WHERE a.DistBase = 1").toInt(), 12);
}

void TstSynthCompany::sameDataEveryRun()
{
    const kem::SynthParams p{30, 3, 3, 30.0};
    const QString a = write(p), b = write(p);
    QVERIFY(!a.isEmpty() && !b.isEmpty());
    CompanyTestDb da(a), dbb(b);
    const QStringList x = da.dump();
    QVERIFY(x.size() > 100);
    QCOMPARE(x, dbb.dump());
}

// The page headers print the menu variable "Ditta.RagSoc" after "Ditta: ".
void TstSynthCompany::menuNamesTheCompany()
{
    const QString db = write(kem::SynthParams{2, 2, 2, 0.0});
    QVERIFY(!db.isEmpty());
    QSettings menu(kem::CompanyPaths(QFileInfo(QFileInfo(db).absolutePath()).absolutePath()).menuIni, QSettings::IniFormat);
    const QString company = menu.value("Variabili/Ditta.RagSoc").toString();
    QVERIFY2(company.startsWith("Azienda sintetica"), qPrintable(company));
    QCOMPARE(company, menu.value("Variabili/DescAzie").toString());
}

void TstSynthCompany::badParameters_data()
{
    QTest::addColumn<int>("products");
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("components");
    QTest::addColumn<double>("shared");
    QTest::addColumn<int>("subAssemblies");
    QTest::newRow("no products") << 0 << 3 << 3 << 30.0 << -1;
    QTest::newRow("negative products") << -5 << 3 << 3 << 30.0 << -1;
    QTest::newRow("no depth") << 5 << 0 << 3 << 30.0 << -1;
    QTest::newRow("no components") << 5 << 3 << 0 << 30.0 << -1;
    QTest::newRow("negative share") << 5 << 3 << 3 << -1.0 << -1;
    QTest::newRow("share above 100") << 5 << 3 << 3 << 100.5 << -1;
    QTest::newRow("not a number") << 5 << 3 << 3 << std::nan("") << -1;
    QTest::newRow("too many links") << 1000000 << 10 << 10 << 0.0 << -1;
    QTest::newRow("too many links, some materials") << 1000000 << 10 << 10 << 0.0 << 5;
    QTest::newRow("more sub-assemblies than components") << 5 << 3 << 3 << 30.0 << 4;
    QTest::newRow("sub-assemblies below -1") << 5 << 3 << 3 << 30.0 << -2;
}

void TstSynthCompany::badParameters()
{
    QFETCH(int, products);
    QFETCH(int, depth);
    QFETCH(int, components);
    QFETCH(double, shared);
    QFETCH(int, subAssemblies);
    const kem::SynthParams p{products, depth, components, shared, subAssemblies};
    QString err;
    QVERIFY(!kem::CheckSynthParams(p, &err));
    QVERIFY(!err.isEmpty());
    const QString dir = tmp_.filePath("bad");
    err.clear();
    QVERIFY(!kem::WriteSynthCompany(dir, p, &err));
    QVERIFY(!err.isEmpty());
    QVERIFY(!QFile::exists(kem::CompanyPaths(dir).companyDb));
    QVERIFY(!QFile::exists(kem::CompanyPaths(dir).mainIni));
}

QTEST_GUILESS_MAIN(TstSynthCompany)
#include "tst_synthcompany.moc"
