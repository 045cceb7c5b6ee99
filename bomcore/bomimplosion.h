#pragma once
// BomImplosion: the walk up the bills of materials from one use of a component: the parent
// that uses it, then the articles that use that parent, and so on, depth first (each parent's
// line is followed at once by the lines of the articles that use it, before the next parent
// of the same level), up to a level limit or to the articles no bill uses. Each line carries
// the quantity of the component per unit of that article, in the unit of the component's own
// link: the link quantities along the path multiplied from the top down and rounded at each
// level as the explosion of that article rounds them, so that the figure is the one the
// article's bill of materials shows for the component. A structure that contains itself is
// never walked twice. What a line becomes is the caller's.
#include "bomcore/bomcycles.h"
#include "bomcore/bompath.h"
#include "bomcore/bomreader.h"

#include <QString>
#include <functional>
#include <vector>

namespace kem {

// One line of the walk.
struct ImplodedLine {
    const BomLink &link;        // the link of this level: link.padre uses the article below
    const BomArticle &parent;   // the article of link.padre
    int level;                  // 1 for the parent of the use walked from
    double qty;                 // of the component per unit of link.padre, rounded
};

class BomImplosion {
public:
    // Quantities are rounded half away from zero to qtyDecimals places; cycles: the cycles of
    // the run (nullptr: the walk's own).
    BomImplosion(BomReader &reader, int qtyDecimals, BomCycles *cycles = nullptr);

    // Articles using a line of level L are walked while L < maxLevels, at any level when
    // maxLevels < 1.
    void setMaxLevels(int maxLevels) { maxLevels_ = maxLevels; }
    // Called for every line before the articles using its parent are walked; false ends the
    // walk (an interrupted run).
    std::function<bool(const ImplodedLine &)> onLine;
    // Called once per run for each cycle met that the run has not met before (text as
    // BomPath::usedInCycleText gives it), with the article whose uses are not walked again.
    std::function<void(const QString &cycleText, const QString &article)> onCycle;

    // Starts a run: forgets the cycles told (the walk's own).
    void reset();
    // Walks up from one use of `component`: `link` (its parent uses it) with the parent's
    // article, level 1, then every article above. Parents missing from Articoli are left
    // out, as the inner joins of the prints leave them out. False when onLine ended it.
    // Throws whatever the reader or onLine throw.
    bool implode(const QString &component, const BomLink &link, const BomArticle &parent);

private:
    double quantityAt(int level) const;

    BomReader &reader_;
    int qtyDecimals_;
    int maxLevels_ = 0;
    std::vector<double> linkQty_;  // the link quantity of each level, level 1 first
    BomPath path_;
    BomCycles ownCycles_;
    BomCycles *cycles_;
};

} // namespace kem
