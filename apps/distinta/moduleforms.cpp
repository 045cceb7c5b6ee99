#include "apps/distinta/moduleforms.h"

#include "bom/frmprelvo.h"
#include "implosion/frmstimpldiba.h"
#include "reportkit/reportprintservices.h"
#include "requirements/frmstafabbis.h"
#include "substitution/frmdibacaso.h"

namespace kem {

// Each form adds itself here, in the order the dispatcher compares the names:
// "frmprelvo", "frmstimpldiba", "FrmStaFabbis", "FrmDiBaCaSo".
void RegisterModuleForms(FormRegistry &registry)
{
    // One set of print services for all the report forms: one run at a time in the program.
    auto print = std::make_shared<ReportPrintServices>();
    RegisterFrmPrelvo(registry, print);
    RegisterFrmStImplDiBa(registry, print);
    RegisterFrmStaFabbis(registry, print);
    RegisterFrmDiBaCaSo(registry);
}

} // namespace kem
