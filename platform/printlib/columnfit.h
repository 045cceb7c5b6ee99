#pragma once
// Horizontal placement of a set of report columns on the page.
#include <QList>

namespace kem {

struct ColumnFitItem {
    double width = 0;          // measured width of the column's sample, mm
    bool toRightEdge = false;  // the column runs at least to the right edge
};

struct ColumnSpan {
    double left = 0, right = 0;  // mm
};

// Puts the columns side by side from `left`, `gap` apart. With `shrink`, when the last one would
// end past `right`, every position (widths and gaps alike) shrinks by the same factor so that it
// ends exactly at `right`; a set that fits keeps its measured widths.
QList<ColumnSpan> FitColumns(const QList<ColumnFitItem> &columns, double left, double right, double gap,
                             bool shrink = true);

} // namespace kem
