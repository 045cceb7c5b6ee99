#include "synthcompany.h"

#include "companyfiles.h"
#include "companyrows.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

// How the structure stays acyclic: every article belongs to exactly one level, and its level
// is part of its code. Level 0 holds the products; an assembly of level k-1 only ever takes
// components of level k, either a private article made for that one link or an article of the
// shared pool of level k. A shared sub-assembly of level k in turn takes its components from
// level k+1 only, and its BOM is written once, however many parents use it. Every link thus
// goes from one level to the next deeper one, so no walk down a structure can come back to an
// article it has passed, and no BOM can contain itself.

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

// Code prefixes of the private and the shared articles of one level below the products: the
// level is part of the code, so an article belongs to one level only.
struct LevelNames {
    QString privatePrefix;
    QString poolPrefix;
};

LevelNames NamesOf(int level, int depth)
{
    const bool materials = level == depth;
    return {materials ? QStringLiteral("MP-") : QStringLiteral("SL%1-").arg(level),
            materials ? QStringLiteral("MC-") : QStringLiteral("SC%1-").arg(level)};
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
            addArticle(productCode(i), 0, i, false);
        for (int k = 1; k <= p_.depth && ins_.ok(); ++k)
            writeLevel(k);
        writeDocuments();
        return ins_.ok();
    }

private:
    QString productCode(qint64 i) const { return QStringLiteral("PF-") + Number(i, 6); }

    // Writes the articles of level k and the links from level k-1 to them.
    void writeLevel(int k)
    {
        const SynthLevel &lv = plan_.levels.at(k - 1);
        const LevelNames names = NamesOf(k, p_.depth);
        // The shared articles of the level exist once, whoever uses them.
        for (qint64 i = 1; i <= lv.pool; ++i)
            addArticle(names.poolPrefix + Number(i, 4), k, i, true);

        // Parents: the products, or the private and then the shared articles of level k-1.
        const LevelNames up = NamesOf(k - 1, p_.depth); // not used for the products
        const qint64 privatesAbove = k > 1 ? plan_.levels.at(k - 2).privates : 0;
        const qint64 parents = k > 1 ? privatesAbove + plan_.levels.at(k - 2).pool : p_.products;
        qint64 slot = 0;
        qint64 privates = 0;
        std::vector<qint64> picked;
        for (qint64 parent = 1; parent <= parents && ins_.ok(); ++parent) {
            const QString parentCode =
                k == 1 ? productCode(parent)
                       : parent <= privatesAbove
                             ? up.privatePrefix + Number(parent, 6)
                             : up.poolPrefix + Number(parent - privatesAbove, 4);
            picked.clear();
            for (int c = 0; c < p_.components; ++c, ++slot) {
                QString child;
                qint64 serial;
                if (SlotIsShared(slot, p_.sharedPct)) {
                    // A pool article not yet used by this parent (the pool is never smaller
                    // than the number of components of one assembly).
                    serial = rng_.below(lv.pool);
                    while (std::find(picked.begin(), picked.end(), serial) != picked.end())
                        serial = (serial + 1) % lv.pool;
                    picked.push_back(serial);
                    ++serial; // pool articles are numbered from 1
                    child = names.poolPrefix + Number(serial, 4);
                } else {
                    serial = ++privates;
                    child = names.privatePrefix + Number(serial, 6);
                    addArticle(child, k, serial, false);
                }
                addLink(parentCode, child, familyOf(k, serial), slot);
            }
        }
    }

    const Family &familyOf(int level, qint64 serial) const
    {
        const qint64 i = serial % 8;
        if (level == 0)
            return kProducts[i];
        return level == p_.depth ? kMaterials[i] : kAssemblies[i];
    }

    void addArticle(const QString &code, int level, qint64 serial, bool shared)
    {
        const Family &f = familyOf(level, serial);
        const bool material = level == p_.depth && level > 0;
        const int distBase = level == 0 ? 1 : material ? 3 : 2;
        QString description = QString::fromUtf8(f.name);
        if (level == 0)
            description += QStringLiteral(" mod. ") + Number(serial, 6);
        else if (material)
            description += (shared ? QStringLiteral(" comune ") : QStringLiteral(" ")) +
                           Number(serial, shared ? 4 : 6);
        else
            description += QStringLiteral(" liv.%1 ").arg(level) +
                           (shared ? QStringLiteral("comune ") : QString()) +
                           Number(serial, shared ? 4 : 6);
        const QString um = QString::fromUtf8(f.um);
        const QString group = level == 0 ? QStringLiteral("MOB")
                              : material ? QStringLiteral("MAT")
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
                     cost * (level == 0 ? 2.2 : 1.3), QStringLiteral("L"));
        if (level > 0) {
            const double stock = double((serial * 37) % 500);
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
        ins_.tipiDoc.add({QStringLiteral("OC"), QStringLiteral("Ordine cliente")});
        ins_.tipiDoc.add({QStringLiteral("PR"), QStringLiteral("Preventivo")});
        ins_.agenti.add({QStringLiteral("AG01"), QStringLiteral("Agente 1")});
        ins_.zone.add({QStringLiteral("NO"), QStringLiteral("Nord-Ovest")});
        ins_.categorie.add({QStringLiteral("RIV"), QStringLiteral("Rivenditori")});
        for (int c = 1; c <= kCustomers; ++c) {
            ins_.pianoConti.add({QStringLiteral("04"), QStringLiteral("001"), Number(c, 6),
                                 QStringLiteral("Cliente %1").arg(c), QStringLiteral("NO"),
                                 QStringLiteral("RIV"), QVariant(), QVariant(), QVariant(),
                                 QVariant(), QVariant(),
                                 QStringLiteral("cliente%1@example.it").arg(c), QVariant(),
                                 QVariant(), QVariant()});
        }
    }

    // Open orders and quotes on the products, for the requirements report.
    void writeDocuments()
    {
        const int orders = int(std::min<qint64>(p_.products, 100));
        const int quotes = int(std::min<qint64>(p_.products, 20));
        writeDocuments(ins_.ordTest, ins_.ordDett, orders, QStringLiteral("OC"));
        writeDocuments(ins_.preTest, ins_.preDett, quotes, QStringLiteral("PR"));
    }

    void writeDocuments(RowInserter &test, RowInserter &dett, int count, const QString &type)
    {
        const QDate day(year_, 1, 1);
        for (int n = 1; n <= count && ins_.ok(); ++n) {
            const QVariant date = IsoDate(day.addDays(n % 300));
            test.add({year_, n, date, n, date, type, QStringLiteral("3"), QStringLiteral("04"),
                      QStringLiteral("001"), Number(1 + n % kCustomers, 6),
                      QStringLiteral("AG01"), QVariant(), QStringLiteral("01"), QVariant(),
                      IsoDate(day.addDays(n % 300 + 30)), QVariant()});
            for (int r = 1; r <= 3; ++r) {
                const qint64 product = 1 + (qint64(n) * 7 + r * 13) % p_.products;
                dett.add({year_, n, r * 10, QStringLiteral("A"), productCode(product), QVariant(),
                          QStringLiteral("PZ"), double(r * 2), 0.0, QVariant(), QVariant()});
            }
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

// Builds the plan level by level; false as soon as the links pass `limit` (the counts stay
// within 64 bits because each level starts from at most `limit` links).
bool BuildPlan(const SynthParams &p, qint64 limit, SynthPlan *plan)
{
    plan->articles = p.products;
    qint64 incoming = qint64(p.products) * p.components;
    for (int k = 1; k <= p.depth; ++k) {
        SynthLevel lv;
        lv.incoming = incoming;
        lv.shared = SharedBefore(incoming, p.sharedPct);
        lv.privates = incoming - lv.shared;
        lv.pool = lv.shared > 0
                      ? std::max<qint64>(p.components, (lv.shared + kPoolReuse - 1) / kPoolReuse)
                      : 0;
        plan->levels << lv;
        plan->links += lv.incoming;
        plan->articles += lv.privates + lv.pool;
        if (plan->links > limit)
            return false;
        incoming = qint64(p.components) * (lv.privates + lv.pool);
    }
    return true;
}

} // namespace

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
        stats->articles = plan.articles;
        stats->links = links;
        stats->seconds = double(timer.nsecsElapsed()) / 1e9;
    }
    CompanyIniInfo info;
    info.description = QStringLiteral("Azienda sintetica %1x%2x%3 (%4% comuni)")
                           .arg(p.products)
                           .arg(p.depth)
                           .arg(p.components)
                           .arg(p.sharedPct);
    info.warehouseYear = CurrentYear();
    return WriteMenuDatabase(paths, error) && WriteCompanyIniFiles(paths, info, error);
}

} // namespace kem
