#pragma once
// Which screen factor a form is scaled with.
#include "common/funvarie.h"

#include <QString>
#include <optional>

namespace kem {

// The factors read at start-up ([Risoluzione Video] "Generale" and the base factor), the
// program key and the ini the per-form factors are read from. -2 means not set.
struct ScreenSettings {
    double general = -2;
    double base = -2;
    QString programKey;
    IniContext ini;
};

// The factor of a form: a general factor of -1 disables scaling (the result is -1); any other
// general factor but -2 is used unchanged; otherwise [Risoluzione Video] key, read with default
// "-2", where key is risVidKey, or when that is blank programKey + "-" + keySec (no key when
// the form has no secondary key); a missing key, a value of -2 or a value that is not a number
// gives the base factor.
double ResolveFormFactor(const ScreenSettings &settings, const QString &risVidKey,
                         const std::optional<QString> &keySec);

} // namespace kem
