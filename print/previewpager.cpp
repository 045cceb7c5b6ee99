#include "print/previewpager.h"

#include <algorithm>

namespace kem {

void PreviewPager::RangeSet(int pageFrom, int pageTo)
{
    m_from = std::max(0, pageFrom);
    m_to = std::max(0, pageTo);
}

int PreviewPager::FirstAllowed() const
{
    return std::max(1, m_from);
}

int PreviewPager::LastAllowed(int produced) const
{
    return m_to > 0 ? std::min(produced, m_to) : produced;
}

PreviewPager::Step PreviewPager::Start(const RunState &s) const
{
    const int first = FirstAllowed();
    if (m_to > 0 && first > m_to)
        return {};  // empty range: nothing to show
    if (s.produced >= first)
        return {first, 0};
    if (s.ended)
        return {};
    return {0, first};
}

PreviewPager::Step PreviewPager::Plan(Move move, const RunState &s) const
{
    if (s.shown <= 0)
        return move == Next || move == Last ? Start(s) : Step{};
    const int first = FirstAllowed();
    switch (move) {
    case Previous:
        if (s.shown > first)
            return {s.shown - 1, 0};
        return {};
    case First:
        if (s.shown > first)
            return {first, 0};
        return {};
    case Next: {
        const int next = s.shown + 1;
        if (m_to > 0 && next > m_to)
            return {};
        if (next <= s.produced)
            return {next, 0};
        if (s.ended)
            return {};
        return {0, next};
    }
    case Last: {
        const int last = LastAllowed(s.produced);
        if (last > s.shown && last >= first)
            return {last, 0};
        return {};
    }
    }
    return {};
}

PreviewPager::Step PreviewPager::GoTo(int page, const RunState &s) const
{
    if (page < FirstAllowed() || (m_to > 0 && page > m_to) || page == s.shown)
        return {};
    if (page <= s.produced)
        return {page, 0};
    if (s.ended)
        return {};
    return {0, page};
}

bool PreviewPager::Possible(Move move, const RunState &s) const
{
    return !(Plan(move, s) == Step{});
}

QString PreviewPager::PageCaption(int page)
{
    return QStringLiteral("Pag.") + QStringLiteral("%1").arg(page, 3, 10, QLatin1Char('0'));
}

} // namespace kem
