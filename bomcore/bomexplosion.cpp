#include "bomcore/bomexplosion.h"

#include "bomcore/fieldtext.h"
#include "platform/util/kemutil.h"

namespace kem {

BomLevelError::BomLevelError(int level, int levels)
    : std::runtime_error("livello di esplosione oltre il limite"), level_(level), levels_(levels)
{
}

BomExplosion::BomExplosion(BomReader &reader, int qtyDecimals, BomCycles *cycles)
    : reader_(reader), qtyDecimals_(qtyDecimals), qty_(kLevels, 0.0), cycles_(cycles ? cycles : &ownCycles_)
{
}

void BomExplosion::reset()
{
    ownCycles_.clear();
    path_.clear();
    std::fill(qty_.begin(), qty_.end(), 0.0);
}

void BomExplosion::line(const BomComponent &c, int level)
{
    static const QString modo = QStringLiteral("A");
    const BomArticle &art = *c.article;
    const double qty = RoundNum(c.link.qta * qty_[static_cast<size_t>(level)], modo, 1, qtyDecimals_);
    if (level + 1 > kLevels - 1)
        throw BomLevelError(level + 1, kLevels);
    qty_[static_cast<size_t>(level + 1)] = qty;
    double factor = 1;
    double stockQty = qty;
    if (SameText(c.link.um, art.artUM)) {
        factor = 1;
    } else if (SameText(c.link.um, art.artUMVen)) {
        factor = art.fatConVen;
        stockQty = RoundNum(factor * qty, modo, 1, qtyDecimals_);
    } else if (SameText(c.link.um, art.artUMAcq)) {
        factor = art.fatConAcq;
        stockQty = RoundNum(factor * qty, modo, 1, qtyDecimals_);
    }
    if (onLine)
        onLine(ExplodedLine{c.link, art, level, qty, factor, stockQty});
}

void BomExplosion::explode(const QString &root, const BomComponent &first, double rootQty)
{
    qty_[0] = rootQty;
    // The path is put back as it was, also when a line throws.
    const int depth = path_.depth();
    struct Restore {
        BomPath &path;
        int depth;
        ~Restore()
        {
            while (path.depth() > depth)
                path.leave();
        }
    } restore{path_, depth};
    BomPathStep rootStep(path_, root);

    // The components still to walk of each expanded line, innermost last.
    struct Frame {
        QVector<BomComponent> rows;
        qsizetype next = 0;
        int level = 0;
    };
    std::vector<Frame> stack;
    auto visit = [&](const BomComponent &c, int level) {
        line(c, level);
        if (!(level + 1 < maxLevels_ || maxLevels_ < 1))
            return;
        if (c.article->distBase == 3)
            return;
        if (!path_.enter(c.link.figlio)) {
            // The component is one of the articles it descends from: its line is there, its
            // structure is not walked again.
            if (cycles_->firstTime(path_, c.link.figlio) && onCycle)
                onCycle(path_.cycleText(c.link.figlio), c.link.figlio);
            return;
        }
        stack.push_back(Frame{reader_.componentsOf(c.link.figlio), 0, level + 1});
    };
    visit(first, 0);
    while (!stack.empty()) {
        Frame &top = stack.back();
        if (top.next == top.rows.size()) {
            stack.pop_back();
            path_.leave();
            continue;
        }
        // The stack may grow under it: the frame moves, its rows' buffer stays where it is.
        const BomComponent &c = top.rows.at(top.next++);
        visit(c, top.level);
    }
}

void BomExplosion::explodeAll(const QString &root, double rootQty)
{
    const QVector<BomComponent> rows = reader_.componentsOf(root);
    for (const BomComponent &c : rows)
        explode(root, c, rootQty);
}

} // namespace kem
