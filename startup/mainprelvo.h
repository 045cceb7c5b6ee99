#pragma once
// The entry routine of the module and its form dispatcher.
#include <QString>

namespace kem {

class ProgramContext;

// Identifier of this program for the menu.
constexpr qint32 kProgramId = 42;

// Entry routine: runs the start-up with the program's identifier.
void MainPrelvo(ProgramContext &ctx);

// Opens the requested report form (names compared without regard to case) through the form
// activation; any other name gives "La form richiesta e' inesistente" and a close.
void FormDispatcher(ProgramContext &ctx, const QString &formName, bool firstActivation,
                    const QString &extraText, const QString &launcher, const QString &secondaryKey,
                    const QString &launchParam);

} // namespace kem
