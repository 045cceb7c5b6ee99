#pragma once
// Helpers of the BOM print tests: a report run on a company database built by the test, with
// the run's report object kept (through the progress hook) so that its lines can be read.
#include "bom/prelvo.h"
#include "tests/support/reportcapture.h"
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
struct PrelvoRun {
    explicit PrelvoRun(const QString &dbPath, const QString &workDir)
        : dir(workDir)
    {
        db.DbOpen(dbPath);
        company.mainIni = QDir(workDir).filePath(QStringLiteral("kemwin.ini"));
        company.programKey = QStringLiteral("DISTINTA");
        company.sink = &sink;
        company.db = &db;
        company.params = &params;
        stampe = std::make_unique<kem::AziendaUtilStampe>(kem::ReportPrintServices::EnvOf(company, nullptr));
        report = std::make_unique<kem::Prelvo>(db, params, *stampe, sink);
        report->ProgressSet(&keep);
        options = std::make_shared<kem::PrintOptions>();
        options->SectionKey = QStringLiteral("DISTINTAfrmPrelvo");
        options->StaVid = kem::PrintOptions::File;
        options->FileForm = kem::PrintOptions::SpreadsheetText;
        options->FileName = QDir(workDir).filePath(QStringLiteral("out.csv"));
        report->ogOpzSta = options;
    }
    // Runs the report; the body lines of what it printed.
    QStringList run()
    {
        sink.clear();
        keep.report.reset();
        report->AvviaStampa();
        return keep.report ? BodyLines(keep.report->DocumentGet()) : QStringList();
    }

    QString dir;
    kem::CompanyParams params = FixtureParams();
    RecordingSink sink;
    kem::Database db;
    kem::CompanyEnv company;
    std::unique_ptr<kem::AziendaUtilStampe> stampe;
    std::unique_ptr<kem::Prelvo> report;
    std::shared_ptr<kem::PrintOptions> options;
    KeepReport keep;
};

} // namespace kemtest
