#pragma once
// The start-up routine: command line, menu connection and registration, ini files, company
// database, company parameters, screen factors, interface settings, help component, segment
// registration, and the first form. Every failure ends in a message and a close request.
#include <QSize>
#include <QString>

namespace kem {

class ProgramContext;

void AvvioProgramma(ProgramContext &ctx, qint32 programId, const QString &programIdText);

// Splits the "P" switch: the key up to the first blank, the extra text after it.
void SplitProgramKey(const QString &pSwitch, QString *key, QString *extra);

// The factor of the screen: the smaller of width / 800 and height / 600, rounded; 0 gives 1.
double ScreenFactor(QSize screen);

// The screen factors of [Risoluzione Video] into the context's start-up state.
void LeggiFattoriVideo(ProgramContext &ctx);

// The image directory: [Base] "DirImgEmail", else "DirImmagini", made absolute with "DriveDB".
QString CartellaImmagini(const ProgramContext &ctx);

// Shows the connection splash with the menu's version and date.
void VisualizzaVersione(ProgramContext &ctx, bool load, bool showAccessImage);

} // namespace kem
