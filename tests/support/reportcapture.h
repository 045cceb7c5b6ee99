#pragma once
// What the report tests read of a run: the run's report object, kept through the progress
// hook, and the cells of its grid rows.
#include "platform/printlib/printreport.h"
#include "reportkit/reportrun.h"

#include <QLatin1Char>
#include <QStringList>
#include <memory>

namespace kemtest {

// Keeps the report object of the run.
class KeepReport : public kem::ReportProgress {
public:
    void Prepare(const std::shared_ptr<kem::PrintReport> &report, const QString &title) override
    {
        this->report = report;
        this->title = title;
    }
    void Show() override { shown = true; }
    std::shared_ptr<kem::PrintReport> report;
    QString title;
    bool shown = false;
};

// The cells of a grid row, joined by "|".
inline QString CellsLine(const kem::GridRow &row)
{
    QStringList cells;
    for (const kem::GridCell &c : row.cells)
        cells << c.text;
    return cells.join(QLatin1Char('|'));
}

// The cells of every grid row of a document, joined by "|"; rules as "---".
inline QStringList GridLines(const kem::Document &doc)
{
    QStringList out;
    for (const kem::GridRow &row : doc.rows)
        out << (row.rule ? QStringLiteral("---") : CellsLine(row));
    return out;
}

} // namespace kemtest
