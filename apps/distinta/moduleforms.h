#pragma once
// The report forms of the module, as the dispatcher opens them.
#include "startup/formregistry.h"

namespace kem {

void RegisterModuleForms(FormRegistry &registry);

} // namespace kem
