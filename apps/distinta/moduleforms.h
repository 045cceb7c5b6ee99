#pragma once
// The report forms of the module, as the dispatcher opens them.
#include "formregistry.h"

namespace kem {

void RegisterModuleForms(FormRegistry &registry);

} // namespace kem
