#pragma once
// BomExplosion: the walk down the bill of materials of one article, depth first: each line of a
// component is followed at once by the lines of its own components, before the next component
// of the same parent. It carries the level quantities (each level's quantity is the rounded
// quantity of the line above it, in the unit of the link), converts each line to its
// component's stock unit, stops at base materials (DistBase 3) and at the level limit, and
// never walks a structure that contains itself twice. What a line becomes is the caller's: a
// printed line, a requirement row.
#include "bomcore/bomcycles.h"
#include "bomcore/bompath.h"
#include "bomcore/bomreader.h"

#include <QString>
#include <functional>
#include <stdexcept>
#include <vector>

namespace kem {

// One line of the walk.
struct ExplodedLine {
    const BomLink &link;
    const BomArticle &component;
    int level;        // 0 for the components of the article exploded
    double qty;       // link quantity x the level's quantity, rounded, in the link's unit
    double factor;    // from the link's unit to the component's stock unit
    double stockQty;  // qty in the stock unit, rounded
};

// A structure deeper than the level quantities reach.
class BomLevelError : public std::runtime_error {
public:
    BomLevelError(int level, int levels);
    int level() const { return level_; }
    int levels() const { return levels_; }

private:
    int level_, levels_;
};

class BomExplosion {
public:
    static constexpr int kLevels = 1000;  // entries of the level quantities

    // Quantities are rounded half away from zero to qtyDecimals places; cycles: the cycles of
    // the run, shared with the valuation (nullptr: the walk's own).
    BomExplosion(BomReader &reader, int qtyDecimals, BomCycles *cycles = nullptr);

    // Components below a line of level L are walked while L + 1 < maxLevels, at any level when
    // maxLevels < 1.
    void setMaxLevels(int maxLevels) { maxLevels_ = maxLevels; }
    // Called for every line before its components are walked; may throw, which ends the walk.
    std::function<void(const ExplodedLine &)> onLine;
    // Called once per run for each cycle met that the run has not met before (text as
    // BomPath::cycleText gives it), with the component whose structure is not walked again.
    std::function<void(const QString &cycleText, const QString &component)> onCycle;

    // Starts a run: forgets the cycles told (the walk's own; shared ones are the run's to clear).
    void reset();
    // Walks one component of `root` (its link and article, level 0), for rootQty of root.
    // Throws BomLevelError beyond the level quantities, and whatever the reader or onLine throw.
    void explode(const QString &root, const BomComponent &first, double rootQty);
    // Walks every component of root for rootQty.
    void explodeAll(const QString &root, double rootQty);
    // The quantity of a level (rootQty at level 0) of the line last walked.
    double levelQty(int level) const { return qty_.at(static_cast<size_t>(level)); }
    // From onLine: the quantity the components below a line of level L are walked for, set at
    // level L + 1 (the line's own quantity unless changed, e.g. netted against stock).
    void setLevelQty(int level, double qty) { qty_.at(static_cast<size_t>(level)) = qty; }

private:
    void line(const BomComponent &c, int level);

    BomReader &reader_;
    int qtyDecimals_;
    int maxLevels_ = 0;
    std::vector<double> qty_;
    BomPath path_;
    BomCycles ownCycles_;
    BomCycles *cycles_;
};

} // namespace kem
