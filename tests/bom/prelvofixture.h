#pragma once
// Helpers of the BOM print tests: a report run on a company database built by the test, with
// the run's report object kept (through the progress hook) so that its lines can be read.
#include "bom/prelvo.h"
#include "tests/support/reportfixture.h"
#include "tests/support/testcompany.h"
#include "platform/db/kemdb.h"
#include "platform/printlib/printoptions.h"
#include "platform/printlib/printreport.h"
#include "print/aziendautilstampe.h"
#include "reportkit/reportprintservices.h"

#include <QDir>
#include <QStringList>
#include <memory>

namespace kemtest {

// The body lines of a BOM print: parent and component lines (from the column headings on,
// without headers, headings, rules and empty lines).
inline QStringList BodyLines(const kem::Document &doc)
{
    QStringList out;
    for (const QString &line : GridLines(doc)) {
        if (line.isEmpty() || line == QLatin1String("---") || line.startsWith(QLatin1String("Codice|"))
            || line.startsWith(QLatin1String("Kemora")) || line.contains(QLatin1String("Stampa Distinta Base")))
            continue;
        out << line;
    }
    return out;
}

// A company database, a page environment and one report object over it.
struct PrelvoRun : ReportFixtureRun<kem::Prelvo> {
    PrelvoRun(const QString &dbPath, const QString &workDir)
        : ReportFixtureRun(dbPath, workDir, QStringLiteral("frmPrelvo"), QStringLiteral("out.csv"), BodyLines)
    {
    }
};

} // namespace kemtest
