#pragma once
// A report run on a company database built by the test: the database, a page environment and
// one report object over it, printing to a CSV file in the test's folder, with the run's
// report object kept (through the progress hook) so that its lines can be read.
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

template <class Report>
struct ReportFixtureRun {
    using Lines = QStringList (*)(const kem::Document &);

    // `form` names the options' section ("DISTINTA" + form), `file` the CSV written, `lines`
    // what run() reads of the printed document.
    ReportFixtureRun(const QString &dbPath, const QString &workDir, const QString &form, const QString &file, Lines lines)
        : dir(workDir), lines_(lines)
    {
        db.DbOpen(dbPath);
        company.mainIni = QDir(workDir).filePath(QStringLiteral("kemwin.ini"));
        company.programKey = QStringLiteral("DISTINTA");
        company.sink = &sink;
        company.db = &db;
        company.params = &params;
        stampe = std::make_unique<kem::AziendaUtilStampe>(kem::ReportPrintServices::EnvOf(company, nullptr));
        report = std::make_unique<Report>(db, params, *stampe, sink);
        report->ProgressSet(&keep);
        options = std::make_shared<kem::PrintOptions>();
        options->SectionKey = QStringLiteral("DISTINTA") + form;
        options->StaVid = kem::PrintOptions::File;
        options->FileForm = kem::PrintOptions::SpreadsheetText;
        options->FileName = QDir(workDir).filePath(file);
        report->ogOpzSta = options;
    }
    // Runs the report; the lines of what it printed.
    QStringList run()
    {
        sink.clear();
        keep.report.reset();
        report->AvviaStampa();
        return keep.report ? lines_(keep.report->DocumentGet()) : QStringList();
    }

    QString dir;
    kem::CompanyParams params = FixtureParams();
    RecordingSink sink;
    kem::Database db;
    kem::CompanyEnv company;
    std::unique_ptr<kem::AziendaUtilStampe> stampe;
    std::unique_ptr<Report> report;
    std::shared_ptr<kem::PrintOptions> options;
    KeepReport keep;

private:
    Lines lines_;
};

} // namespace kemtest
