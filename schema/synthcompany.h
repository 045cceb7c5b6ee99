#pragma once
// Large synthetic companies for benchmarks: N finished products, each with a BOM D levels
// deep and C components per assembly, of which S are sub-assemblies and the others materials,
// a share of the components drawn from pools of common sub-assemblies and materials so that
// structures share parts.
#include <QList>
#include <QString>

namespace kem {

struct SynthParams {
    int products = 0;      // finished products (DistBase 1)
    int depth = 0;         // BOM levels below each product
    int components = 0;    // components of every assembly
    double sharedPct = 0;  // percent of the components taken from the shared pools
    // Of the components of an assembly above the last level, how many are sub-assemblies; the
    // rest are materials (leaves, DistBase 3). -1: all of them. The last level holds materials.
    int subAssemblies = -1;
    // One more material, kSynthCommonMaterial, is a component of every assembly (the products
    // and every sub-assembly): one component used in as many links as there are assemblies.
    bool commonMaterial = false;
    // Open order lines over the products (four to an order), for the requirements print;
    // closed orders and closed lines come on top of them.
    int orderLines = 2000;
};

// The code of the material of SynthParams::commonMaterial.
inline const char *const kSynthCommonMaterial = "MAT-COMUNE";

// Sizes of one kind of article (sub-assemblies or materials) of one BOM level.
struct SynthGroup {
    qint64 incoming = 0;  // links from level k-1 to articles of this kind of level k
    qint64 shared = 0;    // of which to a shared article
    qint64 privates = 0;  // of which to an article used by that one link only
    qint64 pool = 0;      // shared articles of this kind of level k
};

// Sizes of one BOM level k (1 = the products' direct components).
struct SynthLevel {
    SynthGroup assemblies; // sub-assemblies, the parents of level k+1 (none at the last level)
    SynthGroup materials;  // materials (the only kind at the last level)
};

struct SynthPlan {
    QList<SynthLevel> levels; // levels[k-1] describes level k
    qint64 links = 0;
    qint64 articles = 0;      // products + every article of every level
};

// The largest company the generator agrees to write.
constexpr qint64 kSynthMaxLinks = 20'000'000;

// The open orders of a company with `orderLines` open lines: four lines to an order.
inline int SynthOpenOrders(int orderLines) { return (orderLines + 3) / 4; }

// Checks the parameters; on failure returns false with *error set.
bool CheckSynthParams(const SynthParams &p, QString *error);

// How many articles and links the parameters give (parameters accepted by CheckSynthParams).
SynthPlan PlanSynthCompany(const SynthParams &p);

struct SynthStats {
    qint64 articles = 0;
    qint64 links = 0;
    double seconds = 0; // time spent writing the company database
};

// Code of finished product `serial` (1 to SynthParams::products); up to 999,999 the codes sort
// as the serials do.
QString SynthProductCode(qint64 serial);

// Writes the company directory (ini files, dati/azienda.db, menu/menu.db) into dir.
// The same parameters always give the same data (fixed seed) apart from the years of costs
// and stock, which follow the clock.
bool WriteSynthCompany(const QString &dir, const SynthParams &p, QString *error,
                       SynthStats *stats = nullptr);

} // namespace kem
