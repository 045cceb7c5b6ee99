#include "schema/synthcompany.h"

#include "schema/companyfiles.h"
#include "schema/companyrows.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

// How the structure stays acyclic: every article belongs to exactly one level, and its level
// is part of its code. Level 0 holds the products; an assembly of level k-1 only ever takes
// components of level k, each either a private article made for that one link or an article of
// one of the shared pools of level k (sub-assemblies, materials). A sub-assembly of level k in
// turn takes its components from level k+1 only, and a shared one has its BOM written once,
// however many parents use it; materials have no components at all. Every link thus goes from
// one level to the next deeper one, so no walk down a structure can come back to an article it
// has passed, and no BOM can contain itself.

namespace kem {

namespace {

// Each shared article is used by this many links on average.
constexpr qint64 kPoolReuse = 8;

constexpr std::uint64_t kSeed = 0x5EEDB0A4D15C0FFEULL;

// SplitMix64: small, fast and the same on every platform and library (the standard
// distributions are not).
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    qint64 below(qint64 n) { return qint64(next() % std::uint64_t(n)); }

private:
    std::uint64_t state_;
};

// Number of shared incoming among the first j incoming of a level: exactly floor(j * pct / 100), and
// slot j (0-based) is shared when the count grows from j to j+1, so the shared incoming are spread
// evenly over the level.
qint64 SharedBefore(qint64 j, double pct)
{
    return qint64(std::floor(double(j) * pct / 100.0 + 1e-9));
}

bool SlotIsShared(qint64 j, double pct)
{
    return SharedBefore(j + 1, pct) > SharedBefore(j, pct);
}

QString Number(qint64 n, int width)
{
    return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

// ------------------------------------------------------------------------- article kinds

struct Family {
    const char *name;
    const char *um;
    const char *umAcq;
    double fatAcq;
};

const Family kProducts[] = {
    {"Tavolo", "PZ", "PZ", 1},        {"Sedia", "PZ", "PZ", 1},
    {"Armadio", "PZ", "PZ", 1},       {"Libreria", "PZ", "PZ", 1},
    {"Cassettiera", "PZ", "PZ", 1},   {"Mobile TV", "PZ", "PZ", 1},
    {"Comodino", "PZ", "PZ", 1},      {"Scrivania", "PZ", "PZ", 1},
};
const Family kAssemblies[] = {
    {"Telaio", "PZ", "PZ", 1},        {"Anta", "PZ", "PZ", 1},
    {"Fianco", "PZ", "PZ", 1},        {"Cassetto", "PZ", "PZ", 1},
    {"Piano", "PZ", "PZ", 1},         {"Schienale", "PZ", "PZ", 1},
    {"Zoccolo", "PZ", "PZ", 1},       {"Ripiano", "PZ", "PZ", 1},
};
const Family kMaterials[] = {
    {"Pannello", "MQ", "LAS", 5.06},  {"Listello", "M", "BAR", 3},
    {"Vite", "PZ", "CF", 500},        {"Cerniera", "PZ", "CF", 50},
    {"Maniglia", "PZ", "CF", 20},     {"Colla", "KG", "TAN", 10},
    {"Vernice", "LT", "LAT", 5},      {"Bordo", "M", "ROT", 100},
};

enum class Kind { Product, Assembly, Material };

// Code prefixes of the private and the shared articles of one kind of one level below the
// products: the level is part of the code, so an article belongs to one level only (the
// materials of the last level, the only kind there, go without it).
struct GroupNames {
    QString privatePrefix;
    QString poolPrefix;
};

GroupNames NamesOf(int level, int depth, Kind kind)
{
    if (kind == Kind::Assembly)
        return {QStringLiteral("SL%1-").arg(level), QStringLiteral("SC%1-").arg(level)};
    if (level == depth)
        return {QStringLiteral("MP-"), QStringLiteral("MC-")};
    return {QStringLiteral("MP%1-").arg(level), QStringLiteral("MC%1-").arg(level)};
}

// How many component slots of an assembly of level k-1 take a sub-assembly and how many a
// material of level k.
struct Slots {
    int assemblies = 0;
    int materials = 0;
};

Slots SlotsOf(const SynthParams &p, int k)
{
    if (k == p.depth)
        return {0, p.components};
    const int assemblies = p.subAssemblies < 0 ? p.components : p.subAssemblies;
    return {assemblies, p.components - assemblies};
}

class SynthWriter {
public:
    SynthWriter(CompanyInserters &ins, const SynthParams &p, const SynthPlan &plan)
        : ins_(ins), p_(p), plan_(plan), rng_(kSeed), year_(CurrentYear())
    {
    }

    bool write()
    {
        writeReference();
        // Level 0: the products.
        for (qint64 i = 1; i <= p_.products && ins_.ok(); ++i)
            addArticle(SynthProductCode(i), 0, Kind::Product, i, false);
        if (p_.commonMaterial)
            addArticle(QString::fromLatin1(kSynthCommonMaterial), 1, Kind::Material, 0, true);
        for (int k = 1; k <= p_.depth && ins_.ok(); ++k)
            writeLevel(k);
        writeDocuments();
        return ins_.ok();
    }

private:
    // The articles of one kind of the level being written, as its links hand them out.
    struct Group {
        Group(const SynthGroup &plan, GroupNames names, Kind kind)
            : plan(plan), names(std::move(names)), kind(kind)
        {
        }
        const SynthGroup &plan;
        const GroupNames names;
        const Kind kind;
        qint64 slot = 0;       // links handed out so far
        qint64 privates = 0;   // private articles written so far
        std::vector<qint64> picked; // pool articles used by the current parent
    };

    // Writes the articles of level k and the links from level k-1 to them.
    void writeLevel(int k)
    {
        const SynthLevel &lv = plan_.levels.at(k - 1);
        const Slots split = SlotsOf(p_, k);
        Group assemblies(lv.assemblies, NamesOf(k, p_.depth, Kind::Assembly), Kind::Assembly);
        Group materials(lv.materials, NamesOf(k, p_.depth, Kind::Material), Kind::Material);
        // The shared articles of the level exist once, whoever uses them.
        for (const Group *g : {&assemblies, &materials})
            for (qint64 i = 1; i <= g->plan.pool; ++i)
                addArticle(g->names.poolPrefix + Number(i, 4), k, g->kind, i, true);

        // Parents: the products, or the private and then the shared sub-assemblies of level k-1
        // (named with the prefixes `up`).
        const GroupNames up = NamesOf(k - 1, p_.depth, Kind::Assembly);
        const SynthGroup *above = k > 1 ? &plan_.levels.at(k - 2).assemblies : nullptr;
        const qint64 privatesAbove = above ? above->privates : 0;
        const qint64 parents = above ? above->privates + above->pool : p_.products;
        qint64 slot = 0;
        for (qint64 parent = 1; parent <= parents && ins_.ok(); ++parent) {
            const QString parentCode =
                k == 1 ? SynthProductCode(parent)
                       : parent <= privatesAbove
                             ? up.privatePrefix + Number(parent, 6)
                             : up.poolPrefix + Number(parent - privatesAbove, 4);
            assemblies.picked.clear();
            materials.picked.clear();
            for (int c = 0; c < p_.components; ++c, ++slot) {
                Group &g = c < split.assemblies ? assemblies : materials;
                QString child;
                qint64 serial;
                if (SlotIsShared(g.slot++, p_.sharedPct)) {
                    // A pool article not yet used by this parent (a pool is never smaller
                    // than the number of slots of one assembly that draw from it).
                    serial = rng_.below(g.plan.pool);
                    while (std::find(g.picked.begin(), g.picked.end(), serial) != g.picked.end())
                        serial = (serial + 1) % g.plan.pool;
                    g.picked.push_back(serial);
                    ++serial; // pool articles are numbered from 1
                    child = g.names.poolPrefix + Number(serial, 4);
                } else {
                    serial = ++g.privates;
                    child = g.names.privatePrefix + Number(serial, 6);
                    addArticle(child, k, g.kind, serial, false);
                }
                addLink(parentCode, child, familyOf(g.kind, serial), slot);
            }
            if (p_.commonMaterial)
                addLink(parentCode, QString::fromLatin1(kSynthCommonMaterial), familyOf(Kind::Material, 0), parent);
        }
    }

    static const Family &familyOf(Kind kind, qint64 serial)
    {
        const qint64 i = serial % 8;
        switch (kind) {
        case Kind::Product: return kProducts[i];
        case Kind::Assembly: return kAssemblies[i];
        case Kind::Material: break;
        }
        return kMaterials[i];
    }

    void addArticle(const QString &code, int level, Kind kind, qint64 serial, bool shared)
    {
        const Family &f = familyOf(kind, serial);
        const bool material = kind == Kind::Material;
        const int distBase = kind == Kind::Product ? 1 : material ? 3 : 2;
        QString description = QString::fromUtf8(f.name);
        if (kind == Kind::Product)
            description += QStringLiteral(" mod. ") + Number(serial, 6);
        else if (material)
            description += (shared ? QStringLiteral(" comune ") : QStringLiteral(" ")) +
                           Number(serial, shared ? 4 : 6);
        else
            description += QStringLiteral(" liv.%1 ").arg(level) +
                           (shared ? QStringLiteral("comune ") : QString()) +
                           Number(serial, shared ? 4 : 6);
        const QString um = QString::fromUtf8(f.um);
        const QString group = kind == Kind::Product ? QStringLiteral("MOB")
                              : material            ? QStringLiteral("MAT")
                                                    : QStringLiteral("SEM");
        const QString vat = serial % 10 == 0 ? QStringLiteral("10") : QStringLiteral("22");
        const double cost = RoundTo(1.0 + double(rng_.below(100000)) / 100.0, 2);
        ins_.articoli.add({code, description, um, um, QString::fromUtf8(f.umAcq), 1.0, f.fatAcq,
                           serial % 5 == 0 ? QVariant(QStringLiteral("5")) : QVariant(), 0.0, 0.0,
                           0.0, QVariant(), distBase, group, QVariant(), vat, QStringLiteral("N"),
                           QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
        AddCosts(ins_, year_ - 1, code, cost * 0.96, cost * 0.98, cost);
        AddCosts(ins_, year_, code, cost, cost * 1.02, cost);
        AddListPrice(ins_, code, QStringLiteral("01"), QDate(2024, 1, 1),
                     cost * (kind == Kind::Product ? 2.2 : 1.3), QStringLiteral("L"));
        {
            const double stock = double((serial * 37) % (kind == Kind::Product ? 40 : 500));
            ins_.prog.add({year_, code, QStringLiteral("01"), stock, stock / 2, stock / 4, 0.0,
                           0.0});
        }
    }

    // Every seventh link states its quantity in the component's purchase unit.
    void addLink(const QString &parent, const QString &child, const Family &childFamily,
                 qint64 slot)
    {
        static const char *const kValuation[] = {"M", "U", "S", "L"};
        const char *valuation = kValuation[slot % 4];
        const bool byPurchaseUnit = slot % 7 == 3;
        const double qty =
            byPurchaseUnit ? RoundTo(1.0 / childFamily.fatAcq, 6) : 1.0 + double(slot % 5);
        ins_.legami.add({parent, child,
                         QString::fromUtf8(byPurchaseUnit ? childFamily.umAcq : childFamily.um),
                         qty, QString::fromLatin1(valuation),
                         *valuation == 'L' ? QVariant(QStringLiteral("01")) : QVariant()});
    }

    void writeReference()
    {
        AddReferenceRows(ins_);
        ins_.listini.add({QStringLiteral("01"), QStringLiteral("Listino base"), 0,
                          QStringLiteral("M"), QStringLiteral("10")});
        ins_.gruppi.add({QStringLiteral("MOB"), QStringLiteral("Prodotti finiti")});
        ins_.gruppi.add({QStringLiteral("SEM"), QStringLiteral("Semilavorati")});
        ins_.gruppi.add({QStringLiteral("MAT"), QStringLiteral("Materiali")});
        ins_.magazzini.add({QStringLiteral("01"), QStringLiteral("Magazzino centrale")});
        ins_.magazzini.add({QStringLiteral("02"), QStringLiteral("Deposito")});
        ins_.tipiDoc.add({QStringLiteral("OC"), QStringLiteral("Ordine cliente"), QStringLiteral("O")});
        ins_.tipiDoc.add({QStringLiteral("PR"), QStringLiteral("Preventivo"), QStringLiteral("P")});
        ins_.agenti.add({QStringLiteral("AG01"), QStringLiteral("Agente 1")});
        ins_.zone.add({QStringLiteral("NO"), QStringLiteral("Nord-Ovest")});
        ins_.categorie.add({QStringLiteral("RIV"), QStringLiteral("Rivenditori")});
        for (int c = 1; c <= kCustomers; ++c) {
            ins_.pianoConti.add({QStringLiteral("04"), QStringLiteral("001"), Number(c, 6),
                                 QStringLiteral("Cliente %1").arg(c), QStringLiteral("NO"),
                                 QStringLiteral("RIV"), QVariant(), QVariant(), QVariant(),
                                 QVariant(), QVariant(),
                                 QStringLiteral("cliente%1@example.it").arg(c), QVariant(),
                                 QVariant(), QVariant(), kCustomerAccount});
        }
    }

    // Orders and quotes on the products, for the requirements report: the open order lines
    // asked for, four to an order, every tenth order with a fifth line already closed; after
    // them one closed order for every ten open ones; quotes, one for every ten orders.
    void writeDocuments()
    {
        const int open = SynthOpenOrders(p_.orderLines);
        int left = p_.orderLines;
        for (int n = 1; n <= open && ins_.ok(); ++n) {
            const int lines = std::min(left, 4);
            left -= lines;
            writeDocument(ins_.ordTest, ins_.ordDett, n, QStringLiteral("OC"), lines, n % 10 == 0, false);
        }
        for (int n = 1; n <= open / 10 && ins_.ok(); ++n)
            writeDocument(ins_.ordTest, ins_.ordDett, open + n, QStringLiteral("OC"), 2, false, true);
        const int quotes = std::max(1, open / 10);
        for (int n = 1; n <= quotes && ins_.ok(); ++n)
            writeDocument(ins_.preTest, ins_.preDett, n, QStringLiteral("PR"), 3, false, false);
    }

    void writeDocument(RowInserter &test, RowInserter &dett, int n, const QString &type, int lines,
                       bool closedLine, bool closed)
    {
        const QDate day(year_, 1, 1);
        const QVariant date = IsoDate(day.addDays(n % 300));
        const QVariant state = closed ? QVariant(QStringLiteral("E")) : QVariant();
        test.add({year_, n, date, n, date, type, QStringLiteral("3"), QStringLiteral("04"),
                  QStringLiteral("001"), Number(1 + n % kCustomers, 6), QStringLiteral("AG01"), QVariant(),
                  QStringLiteral("01"), QVariant(), IsoDate(day.addDays(n % 300 + 30)), state});
        for (int r = 1; r <= lines + (closedLine ? 1 : 0); ++r) {
            const qint64 product = 1 + (qint64(n) * 7 + r * 13) % p_.products;
            // Some lines carry their own delivery date, some are partly delivered.
            const QVariant delivery = r % 3 == 0 ? IsoDate(day.addDays(n % 300 + 45)) : QVariant();
            const double qty = double(1 + (n + r) % 6);
            dett.add({year_, n, r * 10, QStringLiteral("A"), SynthProductCode(product), QVariant(),
                      QStringLiteral("PZ"), qty, r % 4 == 0 ? 1.0 : 0.0, delivery,
                      r > lines ? QVariant(QStringLiteral("E")) : QVariant()});
        }
    }

    static constexpr int kCustomers = 10;

    CompanyInserters &ins_;
    const SynthParams &p_;
    const SynthPlan &plan_;
    Rng rng_;
    int year_;
};

} // namespace

namespace {

// Sizes of one kind of article of a level whose parents each hand out `perParent` links to it.
SynthGroup PlanGroup(qint64 parents, int perParent, double pct)
{
    SynthGroup g;
    g.incoming = parents * perParent;
    g.shared = SharedBefore(g.incoming, pct);
    g.privates = g.incoming - g.shared;
    if (g.shared > 0)
        g.pool = std::max<qint64>(perParent, (g.shared + kPoolReuse - 1) / kPoolReuse);
    return g;
}

// Builds the plan level by level; false as soon as the links pass `limit` (the counts stay
// within 64 bits because each level starts from at most `limit` parents).
bool BuildPlan(const SynthParams &p, qint64 limit, SynthPlan *plan)
{
    plan->articles = p.products;
    qint64 parents = p.products;
    for (int k = 1; k <= p.depth; ++k) {
        const Slots split = SlotsOf(p, k);
        SynthLevel lv;
        lv.assemblies = PlanGroup(parents, split.assemblies, p.sharedPct);
        lv.materials = PlanGroup(parents, split.materials, p.sharedPct);
        plan->levels << lv;
        for (const SynthGroup *g : {&lv.assemblies, &lv.materials}) {
            plan->links += g->incoming;
            plan->articles += g->privates + g->pool;
        }
        if (plan->links > limit)
            return false;
        parents = lv.assemblies.privates + lv.assemblies.pool;
    }
    return true;
}

} // namespace

QString SynthProductCode(qint64 serial)
{
    return QStringLiteral("PF-") + Number(serial, 6);
}

bool CheckSynthParams(const SynthParams &p, QString *error)
{
    auto fail = [&](const QString &m) {
        if (error)
            *error = m;
        return false;
    };
    if (p.products < 1)
        return fail(QStringLiteral("Il numero di prodotti deve essere almeno 1"));
    if (p.depth < 1)
        return fail(QStringLiteral("La profondità deve essere almeno 1"));
    if (p.components < 1)
        return fail(QStringLiteral("Il numero di componenti deve essere almeno 1"));
    if (!(p.sharedPct >= 0 && p.sharedPct <= 100))
        return fail(QStringLiteral("La percentuale di componenti comuni deve essere tra 0 e 100"));
    if (p.subAssemblies < -1 || p.subAssemblies > p.components)
        return fail(QStringLiteral("Il numero di semilavorati per assieme deve essere tra 0 e il "
                                   "numero di componenti (%1), oppure -1 per tutti")
                        .arg(p.components));
    if (p.orderLines < 0 || p.orderLines > 10'000'000)
        return fail(QStringLiteral("Le righe d'ordine aperte devono essere tra 0 e 10.000.000"));
    SynthPlan plan;
    if (!BuildPlan(p, kSynthMaxLinks, &plan))
        return fail(QStringLiteral("Troppi legami: al massimo %1").arg(kSynthMaxLinks));
    return true;
}

SynthPlan PlanSynthCompany(const SynthParams &p)
{
    SynthPlan plan;
    BuildPlan(p, std::numeric_limits<qint64>::max() / 4, &plan);
    return plan;
}

bool WriteSynthCompany(const QString &dir, const SynthParams &p, QString *error,
                       SynthStats *stats)
{
    if (!CheckSynthParams(p, error) || !PrepareCompanyDir(dir, error))
        return false;
    const SynthPlan plan = PlanSynthCompany(p);
    const CompanyPaths paths(dir);
    QElapsedTimer timer;
    timer.start();
    CompanyDbBuilder builder(paths.companyDb);
    if (!builder.start(error))
        return false;
    qint64 links = 0;
    {
        CompanyInserters ins(builder);
        SynthWriter(ins, p, plan).write();
        links = ins.legami.count();
    }
    if (!builder.finish(error))
        return false;
    if (stats) {
        stats->articles = plan.articles + (p.commonMaterial ? 1 : 0);
        stats->links = links;
        stats->seconds = double(timer.nsecsElapsed()) / 1e9;
    }
    CompanyIniInfo info;
    info.description = QStringLiteral("Azienda sintetica %1x%2x%3 (%4% comuni)")
                           .arg(p.products)
                           .arg(p.depth)
                           .arg(p.components)
                           .arg(p.sharedPct);
    if (p.subAssemblies >= 0 && p.subAssemblies < p.components)
        info.description += QStringLiteral(", %1 semilavorati per assieme").arg(p.subAssemblies);
    info.warehouseYear = CurrentYear();
    return WriteMenuDatabase(paths, error) && WriteCompanyIniFiles(paths, info, error);
}

} // namespace kem
