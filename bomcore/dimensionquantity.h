#pragma once
// Quantities from dimensions: the produced quantity of a parent sold by the metre, square
// metre or cubic metre, given in pieces, turned into the parent's own unit from its length,
// width and height. The units of each kind are company settings ("Vendite.QtaDaDimUML",
// "Vendite.QtaDaDimUMQ", "Vendite.QtaDaDimUMC", lists separated by ";"), and so is the ratio
// between the unit the dimensions are given in and the quantity's ("Vendite.QtaDimenRapp").
#include <QString>
#include <optional>

namespace kem {

class MenuServer;

struct DimensionSettings {
    // Each list as ";" + list + ";": a unit U belongs to it when ";" + U + ";" occurs in it,
    // without regard to case.
    QString unitaLunghezza, unitaArea, unitaVolume;
    double rapporto = 1000;

    // The company's settings ("QtaDimenRapp" read as a number, "1000#" by default; 0 is 1000).
    static DimensionSettings Read(MenuServer &menu);
    static DimensionSettings FromTexts(const QString &lunghezza, const QString &area,
                                       const QString &volume, const QString &rapporto);
    static bool InList(const QString &list, const QString &unit);
};

struct DimensionQuantity {
    double qta = 0;
    QString text;  // "Pz. 3  di lungh.:  1200", "Pz. 3   (600 x 1200)", ...
};

// The quantity of `pezzi` pieces of an article whose unit is `unit`, from the form's
// dimensions when any of them is not 0, else from the article's; nothing when the unit is
// blank, every dimension is 0 or the unit is in no list (a unit in two lists counts as the
// first of length, area, volume).
std::optional<DimensionQuantity> CalcQtaDaDimen(const DimensionSettings &settings, const QString &unit,
                                                double pezzi, double formLunghezza, double formLarghezza,
                                                double formAltezza, double lunghezza, double larghezza,
                                                double altezza);

// A number of the dimension text: a point as decimal separator and a space before a number
// that is not negative (" 3", " 2.5", "-1").
QString DimensionNumberText(double value);

} // namespace kem
