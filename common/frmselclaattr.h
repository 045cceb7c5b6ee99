#pragma once
// frmSelClaAttr, "Selezione Classi e Attributi": the bounds of the article class and attribute
// levels (Articoli.ArtClasseAttr1..5) for a selection, one row per level in use ("Cla." n).
#include "common/classeattrdialog.h"

class QPushButton;

namespace kem {

class frmSelClaAttr : public ClasseAttrDialog {
    Q_OBJECT
public:
    explicit frmSelClaAttr(const ClasseAttrDialogEnv &env, QWidget *parent = nullptr);

    // The bounds of a level (1 to 5) the dialog holds.
    QString ArtClasseAttrDa(int level) const { return Bound(level, false); }
    QString ArtClasseAttrA(int level) const { return Bound(level, true); }
    void SetArtClasseAttrDa(int level, const QString &value) { SetBound(level, false, value); }
    void SetArtClasseAttrA(int level, const QString &value) { SetBound(level, true, value); }
};

// Opens the dialog modally on `range` and takes back what the user confirms (cancelled: the
// range as it was); the button's caption then tells whether any bound is set.
void ApriSelClaAttr(const ClasseAttrDialogEnv &env, ClasseAttrRange &range, QPushButton *button,
                    QWidget *parent);

} // namespace kem
