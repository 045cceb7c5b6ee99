#include "reportprintservices.h"

#include "platform/os/printersystem.h"
#include "startup/programcontext.h"

namespace kem {

ReportPrintServices::ReportPrintServices(std::unique_ptr<PrinterSystem> printers)
    : printers_(printers ? std::move(printers) : std::make_unique<CupsPrinterSystem>())
{
}

ReportPrintServices::~ReportPrintServices() = default;

AziendaUtilStampe &ReportPrintServices::Stampe(ProgramContext &ctx)
{
    if (!stampe_) {
        PrintEnv env;
        env.mainIni = ctx.conn.mainIniPath;
        env.companyIni = ctx.conn.companyIni;
        env.programKey = ctx.start.programKey;
        env.menu = ctx.menu();
        env.sink = ctx.messages;
        env.printers = printers_.get();
        env.db = ctx.database();
        env.workingDate = ctx.params.workingDate;
        stampe_ = std::make_unique<AziendaUtilStampe>(std::move(env));
    }
    return *stampe_;
}

} // namespace kem
