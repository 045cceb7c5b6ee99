#include "bomcore/bomimplosion.h"

#include "platform/util/kemutil.h"

namespace kem {

BomImplosion::BomImplosion(BomReader &reader, int qtyDecimals, BomCycles *cycles)
    : reader_(reader), qtyDecimals_(qtyDecimals), cycles_(cycles ? cycles : &ownCycles_)
{
}

void BomImplosion::reset()
{
    ownCycles_.clear();
    path_.clear();
    linkQty_.clear();
}

double BomImplosion::quantityAt(int level) const
{
    // From the top down, as the explosion of the article of that level goes.
    static const QString modo = QStringLiteral("A");
    double qty = 1;
    for (int i = level - 1; i >= 0; --i)
        qty = RoundNum(linkQty_[static_cast<size_t>(i)] * qty, modo, 1, qtyDecimals_);
    return qty;
}

bool BomImplosion::implode(const QString &component, const BomLink &link, const BomArticle &parent)
{
    path_.clear();
    path_.enter(component);
    linkQty_.clear();

    // The links still to walk above each expanded line, innermost last.
    struct Frame {
        QVector<BomLink> rows;
        qsizetype next = 0;
        int level = 0;
    };
    std::vector<Frame> stack;
    auto visit = [&](const BomLink &l, const BomArticle &art, int level) {
        linkQty_.resize(static_cast<size_t>(level));
        linkQty_[static_cast<size_t>(level - 1)] = l.qta;
        if (onLine && !onLine(ImplodedLine{l, art, level, quantityAt(level)}))
            return false;
        if (!(level < maxLevels_ || maxLevels_ < 1))
            return true;
        if (!path_.enter(l.padre)) {
            // The parent is one of the articles the walk came up through: its line is there,
            // the articles using it are not walked again.
            if (cycles_->firstTime(path_, l.padre) && onCycle)
                onCycle(path_.usedInCycleText(l.padre), l.padre);
            return true;
        }
        stack.push_back(Frame{reader_.parentsOf(l.padre), 0, level + 1});
        return true;
    };
    if (!visit(link, parent, 1))
        return false;
    while (!stack.empty()) {
        Frame &top = stack.back();
        if (top.next == top.rows.size()) {
            stack.pop_back();
            path_.leave();
            continue;
        }
        // The stack may grow under it: the frame moves, its rows' buffer stays where it is.
        const BomLink &l = top.rows.at(top.next++);
        const int level = top.level;
        const ArticlePtr art = reader_.article(l.padre);
        if (!art || !art->exists)
            continue;
        if (!visit(l, *art, level))
            return false;
    }
    return true;
}

} // namespace kem
