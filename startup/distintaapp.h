#pragma once
// The module's program: builds the context, connects to the menu named by the "M" switch, runs
// the start-up and lives until the close timer ends it.
#include "startup/formregistry.h"

#include <functional>

namespace kem {

// Runs the program with the forms registerForms adds. Messages and dialogs are windows,
// except when the environment variable KEM_HEADLESS is set (not "0") or the Qt platform is
// "offscreen" or "minimal": they go to standard error with their default answers then.
int RunDistinta(int argc, char **argv, const std::function<void(FormRegistry &)> &registerForms);

} // namespace kem
