#pragma once
// frmSelClaAttrCF, "Selezione Classi e Attributi Clienti/Fornitori": the bounds of the account
// class and attribute levels (PianoConti.PdcClasseAttr1..5, one row per level in use,
// "PdcCla." n) and, unless the caller hides them, a category range and a zone range.
#include "common/classeattrdialog.h"

class QPushButton;

namespace kem {

class frmSelClaAttrCF : public ClasseAttrDialog {
    Q_OBJECT
public:
    explicit frmSelClaAttrCF(const ClasseAttrDialogEnv &env, QWidget *parent = nullptr);

    QString PdcClasseAttrDa(int level) const { return Bound(level, false); }
    QString PdcClasseAttrA(int level) const { return Bound(level, true); }
    void SetPdcClasseAttrDa(int level, const QString &value) { SetBound(level, false, value); }
    void SetPdcClasseAttrA(int level, const QString &value) { SetBound(level, true, value); }

    // The category and zone bounds the dialog holds (empty while hidden).
    QString CategoriaDa() const { return catDa_; }
    QString CategoriaA() const { return catA_; }
    QString ZonaDa() const { return zonDa_; }
    QString ZonaA() const { return zonA_; }
    void SetCategoriaDa(const QString &value);
    void SetCategoriaA(const QString &value);
    void SetZonaDa(const QString &value);
    void SetZonaA(const QString &value);

    // Hides the category and zone fields: the dialog then neither shows nor returns them.
    void NascondiAltreSelez();
    bool AltreSelezNascoste() const { return hidden_; }
    // Shows the class levels that have a caption ("PdcCla." n).
    void ImpostaVisible() { showLevelsInUse(); }

protected:
    std::optional<ClasseAttrProblem> check() const override;
    void store() override;

private:
    void setOther(QString &value, int index, const QString &text);

    QString catDa_, catA_, zonDa_, zonA_;
    bool hidden_ = false;
};

// Opens the dialog modally on the account range and, unless `nascondiAltre`, the category and
// zone bounds, and takes back what the user confirms (cancelled: everything as it was); the
// button's caption then tells whether any class bound is set.
void ApriSelClaAttrCF(const ClasseAttrDialogEnv &env, ClasseAttrRange &range, QPushButton *button,
                      bool nascondiAltre, QString &catDa, QString &catA, QString &zonDa, QString &zonA,
                      QWidget *parent);

} // namespace kem
