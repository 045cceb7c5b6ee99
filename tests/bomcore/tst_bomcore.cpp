// The BOM data layer on a small company built here: both readers answer alike, the explosion
// walk (level quantities, units, base materials, level limit, cycles), the link writes and the
// messages a kept value tells again.
#include "bomcore/bomexplosion.h"
#include "bomcore/bomlinkwriter.h"
#include "bomcore/bomreader.h"
#include "bomcore/messagelog.h"
#include "tests/support/testcompany.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace kem;

namespace {

QString link(const QString &parent, const QString &child, double qta, const QString &um,
             const QString &list = {})
{
    return QStringLiteral("('%1','%2','%3',%4,'M',%5)")
        .arg(parent, child, um, QString::number(qta, 'g', 17),
             list.isEmpty() ? QStringLiteral("NULL") : "'" + list + "'");
}

// Reader kinds of the tables: straightforward, cached filling itself, cached read in bulk.
enum class Kind { Direct, Cached, Preloaded };

std::unique_ptr<BomReader> reader(Database &db, Kind kind)
{
    if (kind == Kind::Direct)
        return std::make_unique<DbBomReader>(db);
    auto r = std::make_unique<CachedBomReader>(db);
    if (kind == Kind::Preloaded)
        r->beginRun();
    return r;
}

QString linkText(const BomLink &l)
{
    return QStringLiteral("%1>%2 %3 %4 %5 %6 %7").arg(l.padre, l.figlio, l.um).arg(l.qta)
        .arg(l.qualeImporto, l.listino, l.listIvato);
}

// One line of a walk as text: level, code, quantity, factor, stock quantity.
QString lineText(const ExplodedLine &l)
{
    return QStringLiteral("%1 %2 %3 %4 %5").arg(l.level).arg(l.link.figlio).arg(l.qty).arg(l.factor).arg(l.stockQty);
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestBomCore : public QObject {
    Q_OBJECT
private slots:
    void init();
    void readersAnswerAlike_data();
    void readersAnswerAlike();
    void explosion_data();
    void explosion();
    void cycleToldOncePerRun();
    void levelsBeyondTheQuantities();
    void linkWrites_data();
    void linkWrites();
    void keptMessagesToldAgain();

private:
    void addKinds();
    QStringList walk(BomReader &r, const QString &root, double qty, int maxLevels, QStringList *cycles = nullptr);
    QTemporaryDir dir_;
    QString dbPath_;
};

void TestBomCore::init()
{
    QVERIFY(dir_.isValid());
    dbPath_ = dir_.filePath(QStringLiteral("distinte.db"));
    QStringList links = {
        link("PF", "SEMI", 2.5, "PZ"), link("PF", "VITE", 3, "CF"), link("PF", "GHOST", 1, "PZ"),
        link("SEMI", "LEGNO", 4, "PZ", "LIV"), link("SEMI", "BASEX", 1, "PZ"),
        link("BASEX", "LEGNO", 9, "PZ"),
        link("CA", "CB", 1, "PZ"), link("CB", "CA", 1, "PZ"),
        link("ALTRO", "LEGNO", 2, "PZ"),
    };
    QStringList articles = {
        "('PF','Prodotto','PZ','PZ','PZ',1,1,1)", "('SEMI','Semilavorato','PZ','PZ','PZ',1,1,2)",
        "('VITE','Vite','PZ','PZ','CF',1,100,3)", "('LEGNO','Legno','PZ','PZ','PZ',1,1,3)",
        "('BASEX','Base con legami','PZ','PZ','PZ',1,1,3)", "('CA','Ciclo A','PZ','PZ','PZ',1,1,2)",
        "('CB','Ciclo B','PZ','PZ','PZ',1,1,2)", "('ALTRO','Altro','PZ','PZ','PZ',1,1,1)",
    };
    // A chain L0 -> L1 -> ... deeper than the level quantities.
    for (int i = 0; i <= BomExplosion::kLevels + 1; ++i) {
        articles << QStringLiteral("('L%1','Livello','PZ','PZ','PZ',1,1,2)").arg(i);
        links << link(QStringLiteral("L%1").arg(i), QStringLiteral("L%1").arg(i + 1), 1, "PZ");
    }
    QString error;
    QVERIFY2(kemtest::BuildCompanyDb(dbPath_, {
        "INSERT INTO Listini (Listino, Descrizione, Ivato) VALUES ('LIV','Ivato',1), ('LN','Netto',0)",
        "INSERT INTO Articoli (Articolo, Descrizione, ArtUM, ArtUMVen, ArtUMAcq, FatConVen, FatConAcq,"
        " DistBase) VALUES " + articles.join(','),
        "INSERT INTO ArtLegami (ArticoloPadre, ArticoloFiglio, UM, Qta, QualeImporto, Listino) VALUES "
            + links.join(','),
    }, &error), qPrintable(error));
}

void TestBomCore::addKinds()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("straightforward") << Kind::Direct;
    QTest::newRow("cached") << Kind::Cached;
    QTest::newRow("cached, read in bulk") << Kind::Preloaded;
}

void TestBomCore::readersAnswerAlike_data() { addKinds(); }

void TestBomCore::readersAnswerAlike()
{
    QFETCH(Kind, kind);
    Database db;
    db.DbOpen(dbPath_);
    const auto r = reader(db, kind);

    QStringList links;
    for (const BomLink &l : r->linksOf(QStringLiteral("semi")))  // codes compare without regard to case
        links << linkText(l);
    QCOMPARE(links, (QStringList{"SEMI>BASEX PZ 1 M  ", "SEMI>LEGNO PZ 4 M LIV S"}));
    QVERIFY(r->linksOf(QStringLiteral("LEGNO")).isEmpty());

    const ArticlePtr vite = r->article(QStringLiteral("VITE"));
    QVERIFY(vite);
    QCOMPARE(vite->descrizione, QStringLiteral("Vite"));
    QCOMPARE(vite->artUMAcq, QStringLiteral("CF"));
    QCOMPARE(vite->fatConAcq, 100.0);
    QCOMPARE(vite->distBase, 3);
    QVERIFY(!r->article(QStringLiteral("GHOST")));

    QStringList components;
    for (const BomComponent &c : r->componentsOf(QStringLiteral("PF")))
        components << c.link.figlio + ":" + c.article->descrizione + (c.article->exists ? "" : "(missing)");
    QCOMPARE(components, (QStringList{"GHOST:(missing)", "SEMI:Semilavorato", "VITE:Vite"}));
    QVERIFY(r->componentsOf(QStringLiteral("GHOST")).isEmpty());  // no such parent

    QStringList parents;
    for (const BomLink &l : r->parentsOf(QStringLiteral("LEGNO")))
        parents << l.padre + ":" + QString::number(l.qta);
    QCOMPARE(parents, (QStringList{"ALTRO:2", "BASEX:9", "SEMI:4"}));

    QCOMPARE(r->listVatFlag(QStringLiteral("liv")), QStringLiteral("S"));
    QCOMPARE(r->listVatFlag(QStringLiteral("LN")), QStringLiteral("N"));
    QCOMPARE(r->listVatFlag(QStringLiteral("NOPE")), QString());
}

QStringList TestBomCore::walk(BomReader &r, const QString &root, double qty, int maxLevels, QStringList *cycles)
{
    BomExplosion e(r, 3);
    e.setMaxLevels(maxLevels);
    QStringList lines;
    e.onLine = [&](const ExplodedLine &l) { lines << lineText(l); };
    e.onCycle = [&](const QString &text, const QString &component) {
        if (cycles)
            *cycles << text + " | " + component;
    };
    e.reset();
    e.explodeAll(root, qty);
    return lines;
}

void TestBomCore::explosion_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("maxLevels");
    QTest::addColumn<QStringList>("lines");
    // 10 x 2,5 = 25 semi-finished, 25 x 4 = 100 of wood; 3 boxes of 100 screws are 300 pieces;
    // a base material with links is not walked; the missing component is a line of its own.
    const QStringList all{"0 GHOST 10 1 10", "0 SEMI 25 1 25", "1 BASEX 25 1 25", "1 LEGNO 100 1 100",
                          "0 VITE 30 100 3000"};
    const QStringList first{"0 GHOST 10 1 10", "0 SEMI 25 1 25", "0 VITE 30 100 3000"};
    for (Kind k : {Kind::Direct, Kind::Preloaded}) {
        const char *name = k == Kind::Direct ? "straightforward" : "cached";
        QTest::addRow("%s, every level", name) << k << 0 << all;
        QTest::addRow("%s, one level", name) << k << 1 << first;
        QTest::addRow("%s, two levels", name) << k << 2 << all;
    }
}

void TestBomCore::explosion()
{
    QFETCH(Kind, kind);
    QFETCH(int, maxLevels);
    QFETCH(QStringList, lines);
    Database db;
    db.DbOpen(dbPath_);
    const auto r = reader(db, kind);
    QCOMPARE(walk(*r, QStringLiteral("PF"), 10, maxLevels), lines);
}

void TestBomCore::cycleToldOncePerRun()
{
    Database db;
    db.DbOpen(dbPath_);
    DbBomReader r(db);
    BomExplosion e(r, 3);
    QStringList lines, cycles;
    e.onLine = [&](const ExplodedLine &l) { lines << lineText(l); };
    e.onCycle = [&](const QString &text, const QString &component) { cycles << text + " | " + component; };
    e.reset();
    e.explodeAll(QStringLiteral("CA"), 1);
    e.explodeAll(QStringLiteral("CA"), 1);
    QCOMPARE(lines, (QStringList{"0 CB 1 1 1", "1 CA 1 1 1", "0 CB 1 1 1", "1 CA 1 1 1"}));
    QCOMPARE(cycles, QStringList{"Distinta ciclica: CA -> CB -> CA | CA"});
    e.reset();  // a new run tells it again
    e.explodeAll(QStringLiteral("CA"), 1);
    QCOMPARE(cycles.size(), 2);
}

void TestBomCore::levelsBeyondTheQuantities()
{
    Database db;
    db.DbOpen(dbPath_);
    CachedBomReader r(db);
    r.beginRun();
    BomExplosion e(r, 3);
    int lines = 0;
    e.onLine = [&](const ExplodedLine &) { ++lines; };
    e.reset();
    try {
        e.explodeAll(QStringLiteral("L0"), 1);
        QFAIL("the walk went beyond the level quantities");
    } catch (const BomLevelError &err) {
        QCOMPARE(err.level(), BomExplosion::kLevels);
    }
    QCOMPARE(lines, BomExplosion::kLevels - 1);
    // The walk can start again: the path of the failed walk is gone.
    e.setMaxLevels(2);
    lines = 0;
    e.explodeAll(QStringLiteral("L0"), 1);
    QCOMPARE(lines, 2);
}

void TestBomCore::linkWrites_data()
{
    QTest::addColumn<QString>("op");         // "replace" or "delete"
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<double>("factor");
    QTest::addColumn<bool>("divide");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QStringList>("links");  // the links of LEGNO's former parents afterwards
    QTest::newRow("replace, quantities kept")
        << "replace" << "" << "" << 1.0 << false << qint64(3)
        << QStringList{"ALTRO>ROVERE KG 2 U LN N", "BASEX>ROVERE KG 9 U LN N", "SEMI>BASEX PZ 1 M  ", "SEMI>ROVERE KG 4 U LN N"};
    QTest::newRow("replace in a range of parents")
        << "replace" << "B" << "RZZ" << 1.0 << false << qint64(1)
        << QStringList{"ALTRO>LEGNO PZ 2 M  ", "BASEX>ROVERE KG 9 U LN N", "SEMI>BASEX PZ 1 M  ", "SEMI>LEGNO PZ 4 M LIV S"};
    QTest::newRow("replace, quantities times 1,5")
        << "replace" << "" << "" << 1.5 << false << qint64(3)
        << QStringList{"ALTRO>ROVERE KG 3 U LN N", "BASEX>ROVERE KG 13.5 U LN N", "SEMI>BASEX PZ 1 M  ", "SEMI>ROVERE KG 6 U LN N"};
    QTest::newRow("replace, quantities divided by 7, rounded")
        << "replace" << "" << "" << 7.0 << true << qint64(3)
        << QStringList{"ALTRO>ROVERE KG 0.286 U LN N", "BASEX>ROVERE KG 1.286 U LN N", "SEMI>BASEX PZ 1 M  ", "SEMI>ROVERE KG 0.571 U LN N"};
    QTest::newRow("delete")
        << "delete" << "" << "" << 1.0 << false << qint64(3) << QStringList{"SEMI>BASEX PZ 1 M  "};
    QTest::newRow("delete up to a parent")
        << "delete" << "" << "BASEX" << 1.0 << false << qint64(2) << QStringList{"SEMI>BASEX PZ 1 M  ", "SEMI>LEGNO PZ 4 M LIV S"};
}

void TestBomCore::linkWrites()
{
    QFETCH(QString, op);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(double, factor);
    QFETCH(bool, divide);
    QFETCH(qint64, count);
    QFETCH(QStringList, links);
    Database db;
    db.DbOpen(dbPath_);
    BomLinkWriter writer(db, 3);
    const BomLinkSelection which{QStringLiteral("LEGNO"), from, to};
    qint64 told = 0;
    if (op == QLatin1String("delete")) {
        QCOMPARE(writer.Delete(which), count);
    } else {
        const BomLinkChange change{QStringLiteral("ROVERE"), QStringLiteral("KG"), QStringLiteral("U"),
                                   QStringLiteral("LN"), factor, divide};
        QCOMPARE(writer.Replace(change, which, [&](qint64 done, qint64 total) {
                     QCOMPARE(total, count);
                     QCOMPARE(done, ++told);
                 }),
                 count);
        QCOMPARE(told, factor == 1 ? 0 : count);  // one statement when the quantities stay
    }
    DbBomReader r(db);
    QStringList after;
    for (const char *parent : {"ALTRO", "BASEX", "SEMI"})
        for (const BomLink &l : r.linksOf(QString::fromLatin1(parent)))
            after << linkText(l);
    QCOMPARE(after, links);
}

void TestBomCore::keptMessagesToldAgain()
{
    kemtest::RecordingSink user;
    MessageLog log(user);
    const qsizetype outer = log.begin();
    log.msgCom(QStringLiteral("a"), {QStringLiteral("&Ok")});
    const qsizetype inner = log.begin();
    log.MsgErrfrm(QStringLiteral("5"), QStringLiteral("b"));
    const QVector<MessageLog::Entry> innerTold = log.end(inner);
    const QVector<MessageLog::Entry> outerTold = log.end(outer);
    QCOMPARE(innerTold.size(), 1);
    QCOMPARE(outerTold.size(), 2);  // the inner messages belong to the outer value too
    log.msgCom(QStringLiteral("not kept"), {QStringLiteral("&Ok")});
    log.retell(outerTold);
    QCOMPARE(user.messages, (QStringList{"a", "not kept", "a"}));
    QCOMPARE(user.errors, (QStringList{"Errore(5): b", "Errore(5): b"}));
}

QTEST_GUILESS_MAIN(TestBomCore)
#include "tst_bomcore.moc"
