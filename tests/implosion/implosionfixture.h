#pragma once
// Helpers of the implosion print tests: a report run on a company database built by the test,
// with the run's report object kept so that its lines can be read.
#include "implosion/stimpldiba.h"
#include "platform/db/kemdb.h"
#include "platform/printlib/printoptions.h"
#include "platform/printlib/printreport.h"
#include "print/aziendautilstampe.h"
#include "reportkit/reportprintservices.h"
#include "tests/support/reportfixture.h"
#include "tests/support/testcompany.h"

#include <QDir>
#include <QStringList>
#include <memory>

namespace kemtest {

// The heading of the first column, which tells the headings row.
inline const QString kFirstHeading = QStringLiteral("Codice e descrizione componente");

// Whether a grid row is a body line: every cell in a column, and not the headings.
inline bool IsBodyRow(const kem::GridRow &row)
{
    if (row.rule || row.cells.isEmpty() || row.cells.first().text == kFirstHeading)
        return false;
    for (const kem::GridCell &c : row.cells)
        if (c.column == 0)
            return false;
    return true;
}

// The group and detail lines of an implosion print, cells joined by "|".
inline QStringList ImplosionBody(const kem::Document &doc)
{
    QStringList out;
    for (const kem::GridRow &row : doc.rows) {
        if (IsBodyRow(row))
            out << CellsLine(row);
    }
    return out;
}

// A company database, a page environment and one report object over it.
struct ImplosionRun : ReportFixtureRun<kem::StImplDiBa> {
    ImplosionRun(const QString &dbPath, const QString &workDir)
        : ReportFixtureRun(dbPath, workDir, QStringLiteral("frmStImplDiBa"), QStringLiteral("implosione.csv"), ImplosionBody)
    {
    }
};

} // namespace kemtest
