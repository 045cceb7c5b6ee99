#pragma once
// ReportPrintServices: the print side every report form and report run shares: the printers of
// the system and the page services with the program-wide print-active flag (oiStaAtt of
// AziendaUtilStampe, one run at a time). Built once by the program (or a batch run) and handed
// to each report; the page services are made on first use, once the company is open.
#include "platform/os/printersystem.h"
#include "print/aziendautilstampe.h"
#include "reportkit/company.h"

#include <memory>

namespace kem {

class ReportPrintServices {
public:
    // printers: the system's printers (nullptr: CUPS).
    explicit ReportPrintServices(std::unique_ptr<PrinterSystem> printers = nullptr);
    ~ReportPrintServices();
    ReportPrintServices(const ReportPrintServices &) = delete;
    ReportPrintServices &operator=(const ReportPrintServices &) = delete;

    // The page services over the company's ini files, menu, messages and database (made on the
    // first call; later calls return them as they are).
    AziendaUtilStampe &Stampe(const CompanyEnv &company);
    PrinterSystem &Printers() { return *printers_; }
    // The print framework's environment of a company (printers: nullptr for none).
    static PrintEnv EnvOf(const CompanyEnv &company, PrinterSystem *printers);

private:
    std::unique_ptr<PrinterSystem> printers_;
    std::unique_ptr<AziendaUtilStampe> stampe_;
};

} // namespace kem
