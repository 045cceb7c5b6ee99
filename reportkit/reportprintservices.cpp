#include "reportkit/reportprintservices.h"

namespace kem {

ReportPrintServices::ReportPrintServices(std::unique_ptr<PrinterSystem> printers)
    : printers_(printers ? std::move(printers) : std::make_unique<CupsPrinterSystem>())
{
}

ReportPrintServices::~ReportPrintServices() = default;

AziendaUtilStampe &ReportPrintServices::Stampe(const CompanyEnv &company)
{
    if (!stampe_)
        stampe_ = std::make_unique<AziendaUtilStampe>(EnvOf(company, printers_.get()));
    return *stampe_;
}

PrintEnv ReportPrintServices::EnvOf(const CompanyEnv &company, PrinterSystem *printers)
{
    PrintEnv env;
    env.mainIni = company.mainIni;
    env.companyIni = company.companyIni;
    env.programKey = company.programKey;
    env.menu = company.menu;
    env.sink = company.sink;
    env.printers = printers;
    env.db = company.db;
    env.workingDate = company.params ? company.params->workingDate : QDate();
    env.printActive = company.printActive;
    return env;
}

} // namespace kem
