#pragma once
// ReportPrintServices: the print side every report form of the program shares: the printers of
// the system and the page services with the program-wide print-active flag (oiStaAtt of
// AziendaUtilStampe, one run at a time). Built once by the program and handed to each report
// form; the page services are made on first use, when the start-up has read the ini paths,
// opened the company database and loaded the company parameters.
#include "platform/os/printersystem.h"
#include "print/aziendautilstampe.h"

#include <memory>

namespace kem {

class ProgramContext;

class ReportPrintServices {
public:
    // printers: the system's printers (nullptr: CUPS).
    explicit ReportPrintServices(std::unique_ptr<PrinterSystem> printers = nullptr);
    ~ReportPrintServices();
    ReportPrintServices(const ReportPrintServices &) = delete;
    ReportPrintServices &operator=(const ReportPrintServices &) = delete;

    // The page services over the context's ini files, menu, messages and company database.
    AziendaUtilStampe &Stampe(ProgramContext &ctx);
    PrinterSystem &Printers() { return *printers_; }

private:
    std::unique_ptr<PrinterSystem> printers_;
    std::unique_ptr<AziendaUtilStampe> stampe_;
};

} // namespace kem
