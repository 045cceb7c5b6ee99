#include "platform/printlib/columnfit.h"

#include <algorithm>

namespace kem {

QList<ColumnSpan> FitColumns(const QList<ColumnFitItem> &columns, double left, double right, double gap,
                             bool shrink)
{
    QList<ColumnSpan> spans;
    spans.reserve(columns.size());
    double x = left;
    for (const ColumnFitItem &c : columns) {
        ColumnSpan s{x, x + std::max(c.width, 0.0)};
        if (c.toRightEdge)
            s.right = std::max(s.right, right);
        spans.append(s);
        x = s.right + gap;
    }
    if (!shrink || spans.isEmpty() || right <= left)
        return spans;
    const double end = spans.last().right;
    if (end <= right + 1e-9)
        return spans;
    const double factor = (right - left) / (end - left);
    for (ColumnSpan &s : spans) {
        s.left = left + (s.left - left) * factor;
        s.right = left + (s.right - left) * factor;
    }
    spans.last().right = right;  // no rounding crumb past the margin
    return spans;
}

} // namespace kem
