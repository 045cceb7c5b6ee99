#pragma once
// Class and attribute ranges: articles and customer accounts carry up to five class and
// attribute codes, one per class level (Articoli.ArtClasseAttr1..5, PianoConti.PdcClasseAttr1..5),
// and a selection may bound each level from below and from above. An empty bound is no bound.
// The routines here turn a range set into statement criteria and into the printed selection
// description; the article and account dialogs fill the range sets.
#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace kem {

// The bounds of levels 1 to 5 (index 0 is level 1); empty: unset.
using ClasseAttrBounds = std::array<QString, 5>;

// A lower and an upper bound per class level.
struct ClasseAttrRange {
    static constexpr int kLevels = 5;
    ClasseAttrBounds da;
    ClasseAttrBounds a;

    // Any bound of any level set (the selection buttons' "(MOD)" caption).
    bool AnySet() const;
    // The first level (1 to 5) whose upper bound lies below its lower bound; nothing when
    // every level is in order.
    std::optional<int> FirstReversedLevel() const;
};

// The first problem of what a class and attribute dialog confirms, in the dialog's order:
// each level 1 to 5 ("Si prega di inserire gli estremi in ordine crescente"), then, for the
// account dialog, the categories and the zones.
struct ClasseAttrProblem {
    enum What { Level, Categoria, Zona };
    QString message;
    What what = Level;
    int level = 0; // the level (1 to 5) of a Level problem
};
std::optional<ClasseAttrProblem> ClasseAttrCheck(const ClasseAttrRange &range);
std::optional<ClasseAttrProblem> ClasseAttrCFCheck(const ClasseAttrRange &range, const QString &catDa,
                                                   const QString &catA, const QString &zonDa,
                                                   const QString &zonA);

// The caption of the button that opens a dialog: "Seleziona Classi/Attrib. Articoli" or
// "Seleziona Classi/Attrib. CF", followed by " (MOD)" when a bound is set.
QString ClasseAttrButtonCaption(bool pdc, bool anySet);

// Appends to crit, for each level n whose lower (upper) bound is set,
// " AND " table "." prefix n ">=" ("<=") and the bound as a text literal.
void ClasseAttrCriteri(QString &crit, const QString &table, const QString &prefix,
                       const ClasseAttrBounds &da, const ClasseAttrBounds &a);

// The caption of a class level: the company setting "cla." n (articles) or "PdcCla." n
// (accounts), as the menu answers it.
using ClasseAttrCaption = std::function<QString(const QString &settingName)>;

// Appends to desc, for each level with a bound set, "; " and the level's caption, then
// " da: " and the lower bound when set, " a: " and the upper bound when set.
void ClasseAttrDescrizione(QString &desc, const ClasseAttrBounds &da, const ClasseAttrBounds &a,
                           bool pdc, const ClasseAttrCaption &caption);

// The name of the company setting with the caption of a level (1 to 5).
QString ClasseAttrCaptionName(int level, bool pdc);

} // namespace kem

namespace kem {
class MenuServer;
// The captions as the menu holds them (a setting the menu does not have: no caption);
// nullptr menu: no captions.
ClasseAttrCaption ClasseAttrMenuCaption(MenuServer *menu);
} // namespace kem
