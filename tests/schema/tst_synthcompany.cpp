// The synthetic company generator: sizes, acyclic structures, sharing, determinism, bad input.
#include "companyfiles.h"
#include "companytestdb.h"
#include "synthcompany.h"

#include <QHash>
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
    void sharedShareHonoured_data();
    void sharedShareHonoured();
    void everyArticleValued();
    void sameDataEveryRun();
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
    QTest::newRow("no products") << 0 << 3 << 3 << 30.0;
    QTest::newRow("negative products") << -5 << 3 << 3 << 30.0;
    QTest::newRow("no depth") << 5 << 0 << 3 << 30.0;
    QTest::newRow("no components") << 5 << 3 << 0 << 30.0;
    QTest::newRow("negative share") << 5 << 3 << 3 << -1.0;
    QTest::newRow("share above 100") << 5 << 3 << 3 << 100.5;
    QTest::newRow("not a number") << 5 << 3 << 3 << std::nan("");
    QTest::newRow("too many links") << 1000000 << 10 << 10 << 0.0;
}

void TstSynthCompany::badParameters()
{
    QFETCH(int, products);
    QFETCH(int, depth);
    QFETCH(int, components);
    QFETCH(double, shared);
    const kem::SynthParams p{products, depth, components, shared};
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
