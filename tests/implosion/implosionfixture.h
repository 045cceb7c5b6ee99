#pragma once
// Helpers of the implosion print tests: a report run on a company database built by the test,
// with the run's report object kept so that its lines can be read.
#include "implosion/stimpldiba.h"
#include "platform/db/kemdb.h"
#include "platform/printlib/printoptions.h"
#include "platform/printlib/printreport.h"
#include "print/aziendautilstampe.h"
#include "reportkit/reportprintservices.h"
#include "tests/support/reportcapture.h"
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
        if (!IsBodyRow(row))
            continue;
        QStringList cells;
        for (const kem::GridCell &c : row.cells)
            cells << c.text;
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

// A company database, a page environment and one report object over it.
struct ImplosionRun {
    ImplosionRun(const QString &dbPath, const QString &workDir)
    {
        db.DbOpen(dbPath);
        company.mainIni = QDir(workDir).filePath(QStringLiteral("kemwin.ini"));
        company.programKey = QStringLiteral("DISTINTA");
        company.sink = &sink;
        company.db = &db;
        company.params = &params;
        stampe = std::make_unique<kem::AziendaUtilStampe>(kem::ReportPrintServices::EnvOf(company, nullptr));
        report = std::make_unique<kem::StImplDiBa>(db, params, *stampe, sink);
        report->ProgressSet(&keep);
        options = std::make_shared<kem::PrintOptions>();
        options->SectionKey = QStringLiteral("DISTINTAfrmStImplDiBa");
        options->StaVid = kem::PrintOptions::File;
        options->FileForm = kem::PrintOptions::SpreadsheetText;
        options->FileName = QDir(workDir).filePath(QStringLiteral("implosione.csv"));
        report->ogOpzSta = options;
    }
    // Runs the report; the body lines of what it printed.
    QStringList run()
    {
        sink.clear();
        keep.report.reset();
        report->AvviaStampa();
        return keep.report ? ImplosionBody(keep.report->DocumentGet()) : QStringList();
    }

    kem::CompanyParams params = FixtureParams();
    RecordingSink sink;
    kem::Database db;
    kem::CompanyEnv company;
    std::unique_ptr<kem::AziendaUtilStampe> stampe;
    std::unique_ptr<kem::StImplDiBa> report;
    std::shared_ptr<kem::PrintOptions> options;
    KeepReport keep;
};

} // namespace kemtest
