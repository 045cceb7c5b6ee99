#pragma once
// Paper sizes and paper sources by the numbers the options store ("NumTipoCarta",
// "NumCassetto"), as page sizes for the page model and as CUPS job option values.
#include <QPageSize>
#include <QString>

namespace kem {

// Paper: 1 Letter, 3 Tabloid, 5 Legal, 7 Executive, 8 A3, 9 A4, 11 A5, 12 B4, 13 B5,
// 20 envelope #10, 27 DL, 28 C5. 0 (no setting) and unknown numbers give A4 / empty media.
QPageSize PageSizeForPaper(int paperNumber);
QString CupsMediaForPaper(int paperNumber);
// Bins: 1 upper, 2 lower, 3 middle, 4 manual, 5 and 6 envelope, 7 auto, 8 main (tractor),
// 11 large capacity, 256 + n the printer's own tray n + 1. 0 and unknown numbers: empty.
QString CupsSourceForBin(int binNumber);

} // namespace kem
