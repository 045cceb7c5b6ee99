#pragma once
// BomCycles: the cycles of the bills of materials met during one run, so that each is told
// once, whoever meets it (the explosion or the valuation) and from wherever it is met: the same
// articles in the same circular order (A -> B -> A met again as B -> A -> B) are one cycle.
#include "bomcore/bompath.h"

#include <QSet>
#include <QString>

namespace kem {

class BomCycles {
public:
    // The cycle that `article` closes on `path` (article is on it) is new to this run: true
    // once per cycle.
    bool firstTime(const BomPath &path, const QString &article);
    void clear() { seen_.clear(); }

private:
    QSet<QString> seen_;
};

} // namespace kem
