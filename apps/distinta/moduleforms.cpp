#include "moduleforms.h"

namespace kem {

// Each report form adds itself here, in the order the dispatcher compares the names:
// "frmprelvo", "frmstimpldiba", "FrmStaFabbis", "FrmDiBaCaSo".
void RegisterModuleForms(FormRegistry &registry)
{
    (void)registry;
}

} // namespace kem
