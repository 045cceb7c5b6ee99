#pragma once
// Form scaling: multiplies the geometry and the fonts of a form and its controls by the
// form's screen factor.
#include "common/screenfactor.h"

#include <QStringList>

class QWidget;

namespace kem {

// Scales form. Properties the form may carry (dynamic properties, read by name):
//   odRisVidVal  set to 1 first, then to the factor applied;
//   osRisVidKey  ini key of the form's own factor;
//   osKeySec     secondary key, for the default key programKey + "-" + osKeySec.
// factor -2 (not set) is resolved with ResolveFormFactor and handed back. A factor of 1, a
// factor that is not positive (-1: scaling disabled) or the skip flag leave the form as it is.
// Otherwise the position and size of the form and of every control whose objectName is not in
// exclusions (any case) are multiplied by the factor, and so are their font sizes (header
// views included); controls held by a layout get their fixed sizes scaled and their place from
// the layout; pictures are stretched to their new size; excluded controls keep their font.
void RisVid(QWidget *form, bool skip, double &factor, const QStringList &exclusions,
            const ScreenSettings &settings);

} // namespace kem
