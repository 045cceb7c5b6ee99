#pragma once
// Page setup of a run: margins, preview factor, offsets, line spacing and the force-portrait
// switch from the initialisation file (report section, then "Opzioni Stampa", then the
// defaults), then the corrections of the printer's own section.
#include "print/printenv.h"

#include <QString>
#include <array>
#include <optional>

namespace kem {

class PrintReport;

// The nine page-setup values, in key order: "MrSin", "MrDes", "MrAlt", "MrBas", "Fatt", "Dx",
// "Dy", "Interl", "ForzaVert".
struct PageSetupValues {
    float MrSin = 1, MrDes = 1, MrAlt = 10, MrBas = 10, Fatt = 1, Dx = 1, Dy = 1, Interl = 0;
    int ForzaVert = 0;
};

// Corrections of a printer section, and the pre-printed-form offsets they move.
struct PrinterCorrections {
    static constexpr int kCount = 8;
    // "MrSin", "MrDes", "MrAlt", "MrBas", "ModMrSin", "ModMrAlt", "ModColSin", "ModRigheAlt".
    static const std::array<const char *, kCount> &Keys();
    std::array<double, kCount> applied{};  // correction last applied, per key
    float ModMrSin = 0, ModMrAlt = 0;      // pre-printed-form offsets (library units)
    int ModColSin = 0, ModRigheAlt = 0;    // column and row shifts
};

// Program-wide state of the page services.
struct PrintLayoutState {
    PrintReport *current = nullptr;  // print object of the current run
    PrinterCorrections corrections;
};

class PageSetup {
public:
    PageSetup(const PrintEnv &env, PrintLayoutState &state) : m_env(env), m_state(state) {}

    // Prepares a run on `report`: report key, current print object, the default printer when
    // the destination is the printer, user fonts, the nine keys, the printer corrections, the
    // preview factor. Returns false when the values fell back to the defaults.
    bool Run(const QString &reportKey, PrintReport &report,
             const std::optional<PageSetupValues> &defaults = std::nullopt);

    // Reads the nine keys; false (values = defaults) on a value that is not a number.
    bool Read(const QString &reportKey, const PageSetupValues &defaults, PageSetupValues *out) const;
    // Applies [printer] corrections to the report's margins and the offsets: a key present
    // moves by (its value − the value applied last time); a missing key takes back what was
    // applied. Applying the same section twice leaves everything as after once.
    void ApplyCorrections(const QString &printer, PrintReport &report);
    // The section of the printer corrections: the options' printer, else the system default.
    QString PrinterSection(const PrintReport &report) const;

private:
    const PrintEnv &m_env;
    PrintLayoutState &m_state;
};

} // namespace kem
