#pragma once
// The system default printer: read from the printing system, set through it, and mirrored in
// the profile file's section "windows", key "device" ("name,driver,port"; ",,," for none),
// with the default found before the change kept under "StampanteDefOri".
#include "print/printenv.h"

#include <QString>

namespace kem {

struct SystemPrinter;

class DefaultPrinter {
public:
    explicit DefaultPrinter(const PrintEnv &env) : m_env(env) {}

    // The system default printer; empty when there is none.
    QString Current() const;
    // The profile's "windows"/"device" text (",,," when not set).
    QString ProfileDevice() const;
    // Makes `wanted` the default printer, without messages; false with *error when it is not
    // a system printer or the system refuses. The profile is updated on success.
    bool Apply(const QString &wanted, QString *error) const;
    // The same before printing to a printer, telling the user what went wrong:
    // "Nella lista delle stampanti non è disponibile la stampante predefinita ..." when the
    // current default is missing from the printer list, "Impossibile impostare la stampante
    // predefinita ..." when the change fails. True when `wanted` is the default afterwards.
    bool SetForPrint(const QString &wanted) const;

    // True when the menu parameter "OSPlatform" is 2 and the device name begins with "\\".
    static bool IsNetworkPrinter(const QString &device, const QString &osPlatform);
    // "name,driver,port".
    static QString DeviceText(const SystemPrinter &p);

private:
    const PrintEnv &m_env;
};

} // namespace kem
