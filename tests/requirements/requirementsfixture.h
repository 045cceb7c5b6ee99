#pragma once
// Helpers of the requirements print tests: a report run on a company database built by the
// test, with the run's report object kept so that its lines can be read.
#include "platform/menu/fakemenuserver.h"
#include "requirements/stfabbis.h"
#include "tests/support/reportfixture.h"

#include <QStringList>

namespace kemtest {

// Every grid row of a requirements print below the page headers, cells joined by "|" (empty
// rows left out).
inline QStringList RequirementsBody(const kem::Document &doc)
{
    QStringList out;
    for (const kem::GridRow &row : doc.rows) {
        if (row.rule)
            continue;
        const QString line = CellsLine(row);
        if (line.contains(QStringLiteral("|Pag. "))) {
            // the page number line, below the company line
            if (!out.isEmpty())
                out.removeLast();
            continue;
        }
        if (!line.trimmed().isEmpty() && line != QStringLiteral("|"))
            out << line;
    }
    return out;
}

// The page of the first grid row that contains text; 0 when none does.
inline int PageOf(const kem::Document &doc, const QString &text)
{
    for (const kem::GridRow &row : doc.rows)
        if (CellsLine(row).contains(text))
            return row.page;
    return 0;
}

// A company database, a page environment, the company's menu variables and one report object.
struct RequirementsRun : ReportFixtureRun<kem::StFabbis> {
    RequirementsRun(const QString &dbPath, const QString &workDir, const QString &user = QStringLiteral("anna"))
        : ReportFixtureRun(dbPath, workDir, QStringLiteral("frmStaFabbis"), QStringLiteral("fabbisogno.csv"),
                           RequirementsBody)
    {
        menu.setVar(QStringLiteral("Mag.AnnoCorr"), QStringLiteral("2024"));
        menu.setVar(QStringLiteral("cla.1"), QStringLiteral("Famiglia"));
        report->MenuSet(&menu);
        report->osUtente = user;
    }
    kem::FakeMenuServer menu;
};

} // namespace kemtest
