#pragma once
// The menu link: the command processor of the menu's EseguiComando, the form activation for
// the menu, the protocol a form follows when it unloads, the return to the menu, the close
// requests and the negotiated end of the program.
#include "startup/startupdialogs.h"

#include <QString>
#include <QVariant>

namespace kem {

class ModuleForm;
class ProgramContext;

// Command processor: (text1, text2, command, parameter, result). The command is compared in
// lower case; unknown commands answer an empty text.
void ElaboraComando(ProgramContext &ctx, const QString &text1, const QString &text2,
                    const QString &command, const QVariant &param, QVariant &result);

// Brings `form` up for the menu; true when the form is up.
bool AttivaForm(ProgramContext &ctx, ModuleForm *form, const QString &formName, bool firstActivation,
                const QString &extraText, const QString &launcher, const QString &secondaryKey,
                const QString &launchParam, const QString &captionFragment = {});

// Called by each report form from its unload handler.
void ScaricaForm(ProgramContext &ctx, ModuleForm *form, bool unloading);

// Brings the menu forward ("Il menu non è più disponibile" when it cannot be reached; nothing
// once the menu has gone away).
void TornaAlMenu(ProgramContext &ctx);

// The menu has gone away: says so once ("Il menu non è più disponibile") and asks to end; the
// program ends at once, or when its last form closes (the forms go on with what the menu said,
// see MenuMemory). Later calls do nothing.
void MenuPerso(ProgramContext &ctx);

// Close requests: start-up failures (mode 2, first retry after 3000 ms, then no more), retry
// mode (mode 1, every 100 ms until no other form is open), immediate (one attempt now).
void RichiestaChiusura(ProgramContext &ctx);
void RichiestaChiusuraRiprova(ProgramContext &ctx);
void RichiestaChiusuraImmediata(ProgramContext &ctx);

// Close attempt: mode 0 ends at once; any other mode ends only when no report form is open.
bool TentaChiusura(ProgramContext &ctx, int mode);

// End of program; false when a modal window ("Maschera Modal") or an open form prevents it.
bool FineProgramma(ProgramContext &ctx);

// Releases the database connections, unregisters from the menu and drops the menu link.
// Errors are ignored; harmless when repeated.
void RilasciaRisorse(ProgramContext &ctx);

// Fatal message: a message box with the text, then, when asked, a close request.
void MessaggioFatale(ProgramContext &ctx, const QString &text, BoxStyle style = BoxStyle::Plain,
                     bool closeAfter = true);

// Sends prefix + "Errore(" + number + "): " + description + suffix to the menu to show.
void MessaggioErroreMenu(ProgramContext &ctx, const QString &prefix, const QString &number,
                         const QString &description, const QString &suffix = {});

} // namespace kem
