#pragma once
// The named text styles every report uses, the user-defined fonts of table StaLasFontPers
// ("FFPers-§-" + number) and the per-report font settings ("FontPersTes", "FontPersCor").
#include "print/printenv.h"

#include <QString>

namespace kem {

class Database;
class PrintReport;
class PrintFont;

// "FFPers-§-" + progressivo as "00" up to 99, as "0000" above.
QString UserFontStyleName(int progressivo);

// Registers one style per row of StaLasFontPers (when the table exists); returns how many.
// Rows whose font cannot be defined (size 0 or less) are skipped.
int RegisterUserFonts(Database &db, PrintReport &report);

class ReportStyles {
public:
    explicit ReportStyles(const PrintEnv &env) : m_env(env) {}

    // "TestaAzienda", "Titolo", "TestaData", "TestaTitolo", then the settings of "FontPersTes".
    // `font` is the working font: reset to arial 8, then set to each style in turn.
    void HeaderStyles(PrintReport &report, PrintFont &font) const;
    // "CorpoLab", "CorpoLab2", "CorpoCampo", "CorpoLabComp", "CorpoCampoComp",
    // "LarghezzaFissa", then the settings of "FontPersCor".
    void BodyStyles(PrintReport &report, PrintFont &font) const;
    // The per-report font settings of key ("FontPersTes" or "FontPersCor").
    void ApplyFontSettings(PrintReport &report, const QString &key) const;

private:
    const PrintEnv &m_env;
};

} // namespace kem
