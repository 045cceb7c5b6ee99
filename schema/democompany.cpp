#include "schema/democompany.h"

#include "schema/articleimages.h"
#include "schema/companyfiles.h"
#include "schema/companyrows.h"

#include <QDir>

#include <algorithm>

namespace kem {

namespace {

const QString kCompanyName = QStringLiteral("Arredamenti Bellini S.r.l.");

// First year of the demo documents; stock and costs run from here to the current year.
constexpr int kFirstDemoYear = 2025;
constexpr int kLastDocumentYear = 2026;

QDate D(int y, int m, int d)
{
    return QDate(y, m, d);
}

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

// ------------------------------------------------------------------------------ articles

struct DemoArticle {
    const char *code;
    const char *description;
    const char *um, *umVen, *umAcq;
    double fatVen, fatAcq;
    const char *discount; // the article's own discount expression
    double length, width, height;
    const char *image;
    int distBase;
    const char *group, *subgroup, *vat;
    bool inactive;
    const char *class1, *class2, *class3;
    double cost;  // average cost of the current year
    double price; // net sales price (finished), purchase price (materials), internal (semi)
};

// DistBase: 1 finished product, 2 semi-finished, 3 base material, 0 outside every BOM.
const DemoArticle kArticles[] = {
    // Finished products
    {"TAV-ROV180", "Tavolo allungabile rovere 180x90", "PZ", "PZ", "PZ", 1, 1, "5",
     1800, 900, 750, "tav-rov180.png", 1, "MOB", "TAV", "22", false, "CLA", "LEG", "NAT", 310, 890},
    {"TAV-O'NEIL", "Tavolo O'Neil noce canaletto 160x80", "PZ", "PZ", "PZ", 1, 1, "",
     1600, 800, 760, "tav-oneil.png", 1, "MOB", "TAV", "22", false, "MOD", "LEG", "VER", 280, 790},
    {"SED-FAG01", "Sedia faggio con seduta imbottita", "PZ", "CP", "PZ", 2, 1, "5",
     450, 520, 880, "sed-fag01.png", 1, "MOB", "SED", "22", false, "CLA", "LEG", "LAC", 48, 139},
    {"ARM-2A-100", "Armadio 2 ante 100x60x200 bianco", "PZ", "PZ", "PZ", 1, 1, "3+2",
     1000, 600, 2000, "arm-2a-100.png", 1, "MOB", "ARM", "22", false, "MOD", "LEG", "LAC", 190, 520},
    {"LIB-5R-080", "Libreria 5 ripiani 80x30x180", "PZ", "PZ", "PZ", 1, 1, "",
     800, 300, 1800, "lib-5r-080.png", 1, "MOB", "LIB", "22", false, "RUS", "LEG", "NAT", 95, 260},
    {"TOP-LAM-MQ", "Piano di lavoro laminato sp.38 (al mq)", "MQ", "MQ", "MQ", 1, 1, "",
     3000, 600, 38, "top-lam-mq.png", 1, "MOB", "TOP", "22", false, "MOD", "PLA", "LAC", 38, 95},
    {"BAT-ROV-ML", "Battiscopa rovere 70 mm (al metro)", "M", "M", "M", 1, 1, "",
     2400, 15, 70, "", 1, "MOB", "COM", "22", false, "CLA", "LEG", "VER", 4.2, 11.5},
    {"CRE-3A-OTT", "Credenza 3 ante maniglie ottone (fuori catalogo)", "PZ", "PZ", "PZ", 1, 1, "",
     1500, 450, 850, "", 1, "MOB", "ARM", "22", true, "CLA", "LEG", "LAC", 240, 640},
    // Semi-finished products
    {"SL-TELAIO-180", "Telaio tavolo rovere 180", "PZ", "PZ", "PZ", 1, 1, "",
     1700, 800, 720, "", 2, "SEM", "COM", "22", false, "CLA", "LEG", "NAT", 120, 150},
    {"SL-GAMBA-ROV", "Gamba tornita rovere h.72", "PZ", "PZ", "PZ", 1, 1, "",
     0, 0, 720, "", 2, "SEM", "COM", "22", false, "CLA", "LEG", "NAT", 18, 22.5},
    {"SL-PIANO-180", "Piano tavolo rovere 180x90 sp.30", "PZ", "PZ", "PZ", 1, 1, "",
     1800, 900, 30, "", 2, "SEM", "COM", "22", false, "CLA", "LEG", "NAT", 140, 175},
    {"SL-PIANO-NOC", "Piano tavolo noce 160x80 sp.30", "PZ", "PZ", "PZ", 1, 1, "",
     1600, 800, 30, "", 2, "SEM", "COM", "22", false, "MOD", "LEG", "VER", 150, 187.5},
    {"SL-ANTA-50", "Anta nobilitata bianca 50x200 con cerniere", "PZ", "PZ", "PZ", 1, 1, "",
     500, 18, 2000, "", 2, "SEM", "COM", "22", false, "MOD", "LEG", "LAC", 42, 52.5},
    {"SL-SCOCCA-SED", "Scocca sedia faggio laccata", "PZ", "PZ", "PZ", 1, 1, "",
     0, 0, 0, "", 2, "SEM", "COM", "22", false, "CLA", "LEG", "LAC", 22, 27.5},
    {"SL-SEDUTA-IMB", "Seduta imbottita similpelle nera", "PZ", "PZ", "PZ", 1, 1, "",
     420, 420, 50, "", 2, "SEM", "COM", "22", false, "CLA", "TES", "", 11, 13.75},
    {"SL-FIANCO-LIB", "Fianco libreria 180x30 bordato", "PZ", "PZ", "PZ", 1, 1, "",
     1800, 300, 18, "", 2, "SEM", "COM", "22", false, "RUS", "LEG", "NAT", 14, 17.5},
    // Base materials
    {"LEG-ROV-45", "Listello rovere massello 45x45", "M", "M", "BAR", 1, 3, "",
     3000, 45, 45, "", 3, "LEG", "MAS", "22", false, "", "LEG", "NAT", 9.8, 10.6},
    {"LEG-FAG-40", "Listello faggio evaporato 40x40", "M", "M", "BAR", 1, 3, "",
     3000, 40, 40, "", 3, "LEG", "MAS", "22", false, "", "LEG", "NAT", 6.5, 7.0},
    {"PAN-ROV-30", "Pannello rovere massello lamellare sp.30", "MQ", "MQ", "LAS", 1, 3.125, "",
     2500, 1250, 30, "", 3, "LEG", "PAN", "22", false, "", "LEG", "NAT", 68, 73.4},
    {"PAN-NOC-30", "Pannello noce canaletto lamellare sp.30", "MQ", "MQ", "LAS", 1, 3.125, "",
     2500, 1250, 30, "", 3, "LEG", "PAN", "22", false, "", "LEG", "NAT", 82, 88.6},
    {"PAN-NOB-18", "Pannello nobilitato bianco sp.18", "MQ", "MQ", "LAS", 1, 5.06, "",
     2750, 1840, 18, "", 3, "LEG", "PAN", "22", false, "", "LEG", "LAC", 11.5, 12.4},
    {"PAN-LAM-38", "Pannello truciolare laminato sp.38", "MQ", "MQ", "LAS", 1, 5.06, "",
     2750, 1840, 38, "", 3, "LEG", "PAN", "22", false, "", "PLA", "LAC", 21, 22.7},
    {"BOR-ABS-22", "Bordo ABS 22 mm bianco preincollato", "M", "M", "ROT", 1, 100, "",
     0, 22, 1, "", 3, "FER", "GEN", "22", false, "", "PLA", "", 0.35, 0.38},
    {"COL-HOT", "Colla termofusibile in granuli", "KG", "KG", "SAC", 1, 25, "",
     0, 0, 0, "", 3, "VER", "GEN", "22", false, "", "CHI", "", 4.8, 5.2},
    {"COL-VIN", "Colla vinilica D3", "KG", "KG", "TAN", 1, 10, "",
     0, 0, 0, "", 3, "VER", "GEN", "22", false, "", "CHI", "", 3.2, 3.45},
    {"VER-ACR-TR", "Vernice acrilica trasparente opaca", "LT", "LT", "LAT", 1, 5, "",
     0, 0, 0, "", 3, "VER", "GEN", "22", false, "", "CHI", "VER", 12.5, 13.5},
    {"VER-POL-BI", "Laccatura poliuretanica bianca", "LT", "LT", "LAT", 1, 5, "",
     0, 0, 0, "", 3, "VER", "GEN", "22", false, "", "CHI", "LAC", 16, 17.3},
    {"VIT-4X40", "Vite truciolare 4x40 zincata", "PZ", "SC", "CF", 200, 500, "5",
     40, 4, 4, "", 3, "FER", "VIT", "22", false, "", "MET", "", 0.02, 0.022},
    {"VIT-EUR-5", "Vite euro 5x13 per cerniere", "PZ", "PZ", "CF", 1, 1000, "",
     13, 5, 5, "", 3, "FER", "VIT", "22", false, "", "MET", "", 0.03, 0.032},
    {"CER-35-110", "Cerniera a scodellino 35 mm 110\u00b0", "PZ", "CP", "CF", 2, 50, "",
     0, 0, 0, "", 3, "FER", "CER", "22", false, "", "MET", "", 1.6, 1.73},
    {"MAN-ACC-128", "Maniglia acciaio satinato int.128", "PZ", "PZ", "CF", 1, 20, "",
     140, 12, 30, "", 3, "FER", "MAN", "22", false, "MOD", "MET", "", 3.9, 4.2},
    {"MAN-OTT-96", "Maniglia ottone int.96 (fuori produzione)", "PZ", "PZ", "CF", 1, 20, "",
     110, 12, 28, "", 3, "FER", "MAN", "22", true, "CLA", "MET", "", 5.2, 5.6},
    {"GUI-CASS-45", "Guida cassetto 450 mm a sfere", "PZ", "CP", "CF", 2, 10, "",
     450, 12, 45, "", 3, "FER", "GUI", "22", false, "", "MET", "", 2.9, 3.1},
    {"TES-SKY-NE", "Similpelle nera h.140", "M", "M", "PEZ", 1, 30, "",
     0, 1400, 1, "", 3, "TES", "GEN", "22", false, "", "TES", "", 7.5, 8.1},
    {"GOM-PU-30", "Gommapiuma poliuretano D30 sp.30", "MQ", "MQ", "MQ", 1, 1, "",
     2000, 1000, 30, "", 3, "TES", "GEN", "22", false, "", "TES", "", 6, 6.5},
    {"IMB-CART-TAV", "Imballo cartone per tavolo", "PZ", "PZ", "PZ", 1, 1, "",
     1900, 1000, 120, "", 3, "IMB", "GEN", "22", false, "", "", "", 6.5, 7.0},
    {"PIE-FELTRO", "Piedino in feltro adesivo d.20", "PZ", "PZ", "CF", 1, 100, "",
     20, 20, 3, "", 3, "FER", "GEN", "22", false, "", "TES", "", 0.08, 0.09},
    // Outside every BOM
    {"SRV-TRASP", "Trasporto e montaggio a domicilio", "NR", "NR", "NR", 1, 1, "",
     0, 0, 0, "", 0, "SRV", "GEN", "22", false, "", "", "", 35, 60},
    {"CAT-2025", "Catalogo generale 2025", "NR", "NR", "NR", 1, 1, "",
     297, 210, 12, "", 0, "SRV", "GEN", "04", false, "", "", "", 4.5, 10},
};

struct DemoLink {
    const char *parent, *component, *um;
    double qty;
    const char *valuation; // M average, U last, S standard, L price list
    const char *list;
};

// FER-SQ-90 is used in a BOM but missing from the article master on purpose.
const DemoLink kLinks[] = {
    {"TAV-ROV180", "SL-TELAIO-180", "PZ", 1, "L", "SEM"},
    {"TAV-ROV180", "SL-PIANO-180", "PZ", 1, "M", ""},
    {"TAV-ROV180", "VIT-4X40", "CF", 0.04, "U", ""},
    {"TAV-ROV180", "VER-ACR-TR", "LT", 0.35, "S", ""},
    {"TAV-ROV180", "PIE-FELTRO", "PZ", 4, "L", "ACQ"},
    {"TAV-ROV180", "IMB-CART-TAV", "PZ", 1, "M", ""},
    {"SL-TELAIO-180", "SL-GAMBA-ROV", "PZ", 4, "M", ""},
    {"SL-TELAIO-180", "LEG-ROV-45", "M", 5.2, "S", ""},
    {"SL-TELAIO-180", "FER-SQ-90", "PZ", 4, "M", ""},
    {"SL-TELAIO-180", "VIT-4X40", "PZ", 16, "U", ""},
    {"SL-TELAIO-180", "COL-VIN", "KG", 0.15, "M", ""},
    {"SL-GAMBA-ROV", "LEG-ROV-45", "BAR", 0.25, "L", "ACQ"},
    {"SL-GAMBA-ROV", "VER-ACR-TR", "LT", 0.05, "M", ""},
    {"SL-PIANO-180", "PAN-ROV-30", "MQ", 1.7, "S", ""},
    {"SL-PIANO-180", "COL-VIN", "KG", 0.1, "M", ""},
    {"TAV-O'NEIL", "SL-PIANO-NOC", "PZ", 1, "L", "SEM"},
    {"TAV-O'NEIL", "SL-GAMBA-ROV", "PZ", 4, "M", ""},
    {"TAV-O'NEIL", "LEG-ROV-45", "M", 4.4, "M", ""},
    {"TAV-O'NEIL", "VIT-4X40", "SC", 0.1, "U", ""},
    {"TAV-O'NEIL", "VER-ACR-TR", "LT", 0.3, "M", ""},
    {"TAV-O'NEIL", "IMB-CART-TAV", "PZ", 1, "M", ""},
    {"SL-PIANO-NOC", "PAN-NOC-30", "MQ", 1.4, "U", ""},
    {"SL-PIANO-NOC", "COL-VIN", "KG", 0.1, "M", ""},
    {"SED-FAG01", "SL-SCOCCA-SED", "PZ", 1, "S", ""},
    {"SED-FAG01", "SL-SEDUTA-IMB", "PZ", 1, "M", ""},
    {"SED-FAG01", "VIT-4X40", "PZ", 8, "M", ""},
    {"SED-FAG01", "PIE-FELTRO", "PZ", 4, "M", ""},
    {"SL-SCOCCA-SED", "LEG-FAG-40", "M", 3.6, "M", ""},
    {"SL-SCOCCA-SED", "COL-VIN", "KG", 0.05, "U", ""},
    {"SL-SCOCCA-SED", "VER-POL-BI", "LT", 0.2, "S", ""},
    {"SL-SEDUTA-IMB", "PAN-NOB-18", "MQ", 0.18, "M", ""},
    {"SL-SEDUTA-IMB", "GOM-PU-30", "MQ", 0.2, "M", ""},
    {"SL-SEDUTA-IMB", "TES-SKY-NE", "M", 0.35, "L", "ACQ"},
    {"ARM-2A-100", "SL-ANTA-50", "PZ", 2, "S", ""},
    {"ARM-2A-100", "PAN-NOB-18", "LAS", 1.1, "U", ""},
    {"ARM-2A-100", "BOR-ABS-22", "M", 14, "M", ""},
    {"ARM-2A-100", "MAN-ACC-128", "PZ", 2, "M", ""},
    {"ARM-2A-100", "GUI-CASS-45", "CP", 1, "M", ""},
    {"ARM-2A-100", "VIT-EUR-5", "CF", 0.05, "U", ""},
    {"SL-ANTA-50", "PAN-NOB-18", "MQ", 1.0, "M", ""},
    {"SL-ANTA-50", "BOR-ABS-22", "M", 5, "M", ""},
    {"SL-ANTA-50", "CER-35-110", "CP", 2, "L", "ACQ"},
    // A base material with a link below it: the structure stops at the base material.
    {"BOR-ABS-22", "COL-HOT", "KG", 0.01, "M", ""},
    {"LIB-5R-080", "SL-FIANCO-LIB", "PZ", 2, "M", ""},
    {"LIB-5R-080", "PAN-NOB-18", "MQ", 1.35, "M", ""},
    {"LIB-5R-080", "BOR-ABS-22", "M", 9, "U", ""},
    {"LIB-5R-080", "VIT-EUR-5", "PZ", 24, "M", ""},
    {"SL-FIANCO-LIB", "PAN-NOB-18", "MQ", 0.55, "M", ""},
    {"SL-FIANCO-LIB", "BOR-ABS-22", "M", 3.6, "M", ""},
    {"TOP-LAM-MQ", "PAN-LAM-38", "MQ", 1.08, "S", ""},
    {"TOP-LAM-MQ", "BOR-ABS-22", "M", 1.2, "M", ""},
    {"TOP-LAM-MQ", "COL-HOT", "KG", 0.03, "M", ""},
    {"BAT-ROV-ML", "LEG-ROV-45", "M", 1.05, "M", ""},
    {"BAT-ROV-ML", "VER-ACR-TR", "LT", 0.02, "M", ""},
    {"CRE-3A-OTT", "SL-ANTA-50", "PZ", 3, "M", ""},
    {"CRE-3A-OTT", "MAN-OTT-96", "PZ", 3, "M", ""},
    {"CRE-3A-OTT", "PAN-NOB-18", "MQ", 3.2, "M", ""},
};

// Optional text: NULL when empty, as an untouched column of the suite's database.
QVariant Opt(const char *s)
{
    return *s ? QVariant(QString::fromUtf8(s)) : QVariant();
}

bool AddArticles(CompanyInserters &ins)
{
    for (const DemoArticle &a : kArticles) {
        ins.articoli.add({S(a.code), S(a.description), S(a.um), S(a.umVen), S(a.umAcq),
                          a.fatVen, a.fatAcq, Opt(a.discount), a.length, a.width, a.height,
                          Opt(a.image), a.distBase, S(a.group), S(a.subgroup), S(a.vat),
                          a.inactive ? QStringLiteral("S") : QStringLiteral("N"), Opt(a.class1),
                          Opt(a.class2), Opt(a.class3), QVariant(), QVariant()});
    }
    for (const DemoLink &l : kLinks) {
        ins.legami.add({S(l.parent), S(l.component), S(l.um), l.qty, S(l.valuation),
                        Opt(l.list)});
    }
    return ins.ok();
}

QList<int> StockYears()
{
    QList<int> years;
    const int last = std::max(CurrentYear(), kLastDocumentYear);
    for (int y = std::min(kFirstDemoYear, last - 1); y <= last; ++y)
        years << y;
    return years;
}

bool AddCostsAndStock(CompanyInserters &ins)
{
    const QList<int> years = StockYears();
    const int last = years.last();
    int index = 0;
    for (const DemoArticle &a : kArticles) {
        ++index;
        for (int year : years) {
            // Costs rise by 4% a year up to the current one.
            const double f = 1.0 / (1.0 + 0.04 * (last - year));
            AddCosts(ins, year, S(a.code), a.cost * f, a.cost * f * 1.03,
                     RoundTo(a.cost * 1.05, 0) * f);
        }
        if (a.distBase == 0)
            continue;
        // Quantities scaled to the stock unit: many screws, a few tables.
        const double scale = a.price < 0.1 ? 1000 : a.price < 20 ? 25 : 1;
        for (int year : years) {
            const int k = index + year;
            const double opening = ((k * 7) % 13) * scale;
            const double loaded = ((k * 5) % 11 + 2) * scale;
            const double unloaded = ((k * 3) % 9) * scale;
            const double ordered = (k % 4) * scale;
            const double committed = ((k * 11) % 6) * scale;
            ins.prog.add({year, S(a.code), QStringLiteral("01"), opening, loaded, unloaded,
                          ordered, committed});
            if (index % 3 != 0) // the second warehouse does not stock everything
                ins.prog.add({year, S(a.code), QStringLiteral("02"), opening / 2, loaded / 2,
                              unloaded / 2, 0.0, 0.0});
        }
    }
    return ins.ok();
}

bool AddPrices(CompanyInserters &ins)
{
    ins.listini.add({QStringLiteral("01"), S("Listino al pubblico IVA inclusa"), 1,
                     QStringLiteral("S"), QVariant()});
    ins.listini.add({QStringLiteral("02"), S("Listino rivenditori"), 0, QStringLiteral("M"),
                     QStringLiteral("10")});
    ins.listini.add({QStringLiteral("03"), S("Listino contract"), 0, QStringLiteral("S"),
                     QStringLiteral("10+5")});
    ins.listini.add({QStringLiteral("ACQ"), S("Listino acquisto fornitori"), 0,
                     QStringLiteral("S"), QVariant()});
    ins.listini.add({QStringLiteral("SEM"), S("Listino interno semilavorati"), 0,
                     QStringLiteral("S"), QVariant()});

    const QString L = QStringLiteral("L"); // take the rule of the list
    for (const DemoArticle &a : kArticles) {
        const QString code = S(a.code);
        switch (a.distBase) {
        case 0:
        case 1:
            // Public list, VAT included, with the previous year's price still on file.
            AddListPrice(ins, code, QStringLiteral("01"), D(2024, 1, 1), a.price * 0.95 * 1.22, L);
            AddListPrice(ins, code, QStringLiteral("01"), D(2025, 1, 1), a.price * 1.22, L);
            // Dealers: list discount 10 chained with the article's own discount.
            AddListPrice(ins, code, QStringLiteral("02"), D(2025, 1, 1), a.price, L);
            // Contract: the list's chained discount, or the article row's own.
            AddListPrice(ins, code, QStringLiteral("03"), D(2025, 1, 1), a.price,
                         a.distBase == 1 && a.length > 1000 ? QStringLiteral("S") : L,
                         a.distBase == 1 && a.length > 1000 ? QStringLiteral("20+10") : QString());
            break;
        case 2:
            AddListPrice(ins, code, QStringLiteral("SEM"), D(2025, 1, 1), a.price);
            break;
        case 3:
            AddListPrice(ins, code, QStringLiteral("ACQ"), D(2024, 1, 1), a.price * 0.97);
            AddListPrice(ins, code, QStringLiteral("ACQ"), D(2025, 3, 1), a.price,
                         QStringLiteral("S"),
                         code == QLatin1String("VIT-4X40") ? QStringLiteral("10+5") : QString());
            // Fittings are also sold on their own, as spare parts.
            if (QLatin1String(a.group) == QLatin1String("FER") && !a.inactive)
                AddListPrice(ins, code, QStringLiteral("01"), D(2025, 1, 1),
                             a.price * 1.8 * 1.22, L);
            break;
        }
    }
    // A price change planned far ahead: not valid yet.
    AddListPrice(ins, QStringLiteral("SED-FAG01"), QStringLiteral("01"), D(2099, 1, 1),
                 149 * 1.22, L);

    AddPromotion(ins, QStringLiteral("SED-FAG01"), QStringLiteral("01"), D(2025, 3, 1),
                 D(2099, 12, 31), 129.0, S("Promozione sedie in faggio"), true);
    AddPromotion(ins, QStringLiteral("TAV-O'NEIL"), QStringLiteral("02"), D(2025, 1, 1),
                 D(2099, 12, 31), 590.0, S("Promozione rivenditori tavolo O'Neil"), false);
    AddPromotion(ins, QStringLiteral("LEG-ROV-45"), QStringLiteral("ACQ"), D(2025, 6, 1),
                 D(2099, 12, 31), 9.5, S("Offerta fornitore listelli rovere"), false);
    AddPromotion(ins, QStringLiteral("CER-35-110"), QStringLiteral("01"), D(2025, 9, 1),
                 D(2099, 12, 31), 2.9, S("Promozione cerniere ricambio"), true);
    AddPromotion(ins, QStringLiteral("PIE-FELTRO"), QStringLiteral("ACQ"), D(2019, 1, 1),
                 D(2019, 12, 31), 0.05, S("Offerta scaduta piedini"), false);
    return ins.ok();
}

bool AddDecodes(CompanyInserters &ins)
{
    const char *groups[][2] = {{"MOB", "Mobili finiti"},       {"SEM", "Semilavorati"},
                               {"LEG", "Legnami e pannelli"},   {"FER", "Ferramenta"},
                               {"VER", "Vernici e collanti"},   {"TES", "Tessuti e imbottiture"},
                               {"IMB", "Imballi"},              {"SRV", "Servizi"}};
    for (const auto &g : groups)
        ins.gruppi.add({S(g[0]), S(g[1])});
    const char *subgroups[][2] = {{"TAV", "Tavoli"},    {"SED", "Sedute"},
                                  {"ARM", "Armadi e credenze"}, {"LIB", "Librerie"},
                                  {"TOP", "Piani di lavoro"},   {"COM", "Componenti"},
                                  {"MAS", "Massello"},  {"PAN", "Pannelli"},
                                  {"VIT", "Viteria"},   {"CER", "Cerniere"},
                                  {"MAN", "Maniglie"},  {"GUI", "Guide"},
                                  {"GEN", "Generico"}};
    for (const auto &g : subgroups)
        ins.sottoGruppi.add({S(g[0]), S(g[1])});
    const char *classesArt[][3] = {
        {"1", "CLA", "Linea classica"}, {"1", "MOD", "Linea moderna"},
        {"1", "RUS", "Linea rustica"},  {"2", "LEG", "Legno"},
        {"2", "MET", "Metallo"},        {"2", "TES", "Tessuto"},
        {"2", "PLA", "Plastica e laminati"}, {"2", "CHI", "Prodotti chimici"},
        {"3", "NAT", "Naturale"},       {"3", "LAC", "Laccato"},
        {"3", "VER", "Verniciato"}};
    for (const auto &c : classesArt)
        ins.classiArt.add({QString::fromLatin1(c[0]).toInt(), S(c[1]), S(c[2])});
    const char *classesPdc[][3] = {
        {"1", "A", "Fascia A (oltre 100.000 euro)"}, {"1", "B", "Fascia B"},
        {"1", "C", "Fascia C"},                      {"2", "ARR", "Arredamento"},
        {"2", "HOT", "Alberghiero e ristorazione"},  {"2", "EDI", "Edilizia e progettazione"},
        {"2", "PA", "Pubblica amministrazione"}};
    for (const auto &c : classesPdc)
        ins.classiPdc.add({QString::fromLatin1(c[0]).toInt(), S(c[1]), S(c[2])});
    const char *zones[][2] = {{"NO", "Nord-Ovest"}, {"NE", "Nord-Est"}, {"CE", "Centro"},
                              {"SU", "Sud"},        {"IS", "Isole"},    {"EST", "Estero"}};
    for (const auto &z : zones)
        ins.zone.add({S(z[0]), S(z[1])});
    const char *categories[][2] = {{"RIV", "Rivenditori"}, {"PRI", "Privati"},
                                   {"CON", "Contract"},    {"PA", "Enti pubblici"},
                                   {"PRO", "Professionisti"}};
    for (const auto &c : categories)
        ins.categorie.add({S(c[0]), S(c[1])});
    const char *agents[][2] = {{"AG01", "Mario Colombo"}, {"AG02", "Giulia Ferrari"},
                               {"AG03", "Paolo Esposito"}};
    for (const auto &a : agents)
        ins.agenti.add({S(a[0]), S(a[1])});
    const char *docTypes[][3] = {{"OC", "Ordine cliente", "O"}, {"OW", "Ordine da sito web", "O"},
                                 {"PR", "Preventivo", "P"},     {"PC", "Preventivo contract", "P"}};
    for (const auto &t : docTypes)
        ins.tipiDoc.add({S(t[0]), S(t[1]), S(t[2])});
    ins.magazzini.add({QStringLiteral("01"), S("Sede - magazzino centrale")});
    ins.magazzini.add({QStringLiteral("02"), S("Deposito di Seregno")});
    ins.magazzini.add({QStringLiteral("03"), S("Showroom di Milano")});
    ins.magazzini.add({QStringLiteral("CL"), S("Conto lavoro verniciatura")});
    return ins.ok();
}

bool AddAccounts(CompanyInserters &ins)
{
    struct Account {
        const char *conto, *name, *zone, *category, *class1, *class2;
        const char *mail1, *mail2, *mail3, *mail4;
    };
    const Account customers[] = {
        {"000001", "Mobilificio Rossi S.n.c.", "NO", "RIV", "A", "ARR",
         "info@mobilificiorossi.it", "ordini@mobilificiorossi.it", "", ""},
        {"000002", "Arredo Casa di Bianchi Luca", "NE", "RIV", "B", "ARR",
         "arredocasa.bianchi@example.it", "", "", ""},
        {"000003", "Hotel Bellavista S.p.A.", "CE", "CON", "A", "HOT",
         "acquisti@hotelbellavista.example.it", "direzione@hotelbellavista.example.it",
         "amministrazione@hotelbellavista.example.it", "economato@hotelbellavista.example.it"},
        {"000004", "Studio Arch. Ferri Elena", "NO", "PRO", "C", "EDI",
         "studio@architettoferri.example.it", "", "", ""},
        {"000005", "Comune di Lissone", "NO", "PA", "B", "PA",
         "protocollo@comune.lissone.example.it", "", "", ""},
        {"000006", "D'Amico Arredamenti S.r.l.", "SU", "RIV", "B", "ARR",
         "damico@example.it", "", "", ""},
        {"000007", "Ristorante La Pergola", "IS", "CON", "C", "HOT", "", "", "", ""},
        {"000008", "M\u00f6bel Huber GmbH", "EST", "RIV", "A", "ARR",
         "einkauf@moebel-huber.example.de", "", "", ""},
    };
    for (const Account &c : customers) {
        ins.pianoConti.add({QStringLiteral("04"), QStringLiteral("001"), S(c.conto), S(c.name),
                            S(c.zone), S(c.category), S(c.class1), S(c.class2), QVariant(),
                            QVariant(), QVariant(), Opt(c.mail1), Opt(c.mail2), Opt(c.mail3),
                            Opt(c.mail4), kCustomerAccount});
    }
    // A few accounts that are not customers.
    struct Other {
        const char *gruppo, *mastro, *conto, *name;
        int kind;
    };
    const Other others[] = {{"04", "000", "000000", "CREDITI VERSO CLIENTI", kOtherAccount},
                            {"30", "001", "000001", "Fornitori materie prime", kSupplierAccount},
                            {"70", "001", "000001", "Ricavi vendita prodotti finiti", kOtherAccount}};
    for (const Other &o : others) {
        const QVariant none;
        ins.pianoConti.add({S(o.gruppo), S(o.mastro), S(o.conto), S(o.name), none, none, none, none, none,
                            none, none, none, none, none, none, o.kind});
    }
    return ins.ok();
}

// ------------------------------------------------------------------------------ documents

struct DemoLine {
    const char *type;    // TipoRiga: "A" article, "D" description, "S" expense
    const char *article; // may be empty
    const char *text;    // DescrRiga
    const char *um;
    double qty, delivered;
    QDate delivery;      // invalid: the header's date applies
    const char *state;   // StatoRiga
};

struct DemoDocument {
    int year, number;
    QDate date;
    const char *docType, *kind;
    const char *customer;
    const char *agent1, *agent2, *fromStore, *toStore;
    QDate delivery;
    QVariant state; // NULL, "" or "E" (closed)
    QList<DemoLine> lines;
};

void AddDocuments(RowInserter &test, RowInserter &dett, const QList<DemoDocument> &docs)
{
    for (const DemoDocument &d : docs) {
        test.add({d.year, d.number, IsoDate(d.date), d.number, IsoDate(d.date), S(d.docType),
                  S(d.kind), QStringLiteral("04"), QStringLiteral("001"), S(d.customer),
                  S(d.agent1), Opt(d.agent2), S(d.fromStore), Opt(d.toStore),
                  IsoDate(d.delivery), d.state});
        int row = 0;
        for (const DemoLine &l : d.lines) {
            row += 10;
            dett.add({d.year, d.number, row, S(l.type), Opt(l.article), Opt(l.text), Opt(l.um),
                      l.qty, l.delivered, IsoDate(l.delivery), Opt(l.state)});
        }
    }
}

bool AddOrdersAndQuotes(CompanyInserters &ins)
{
    const QVariant open;                     // NULL state
    const QVariant blank = QStringLiteral("");  // empty state, also open
    const QVariant closed = QStringLiteral("E");
    const QDate none;
    const QList<DemoDocument> orders{
        {2025, 101, D(2025, 11, 20), "OC", "3", "000001", "AG01", "", "01", "", D(2026, 1, 15), open,
         {{"A", "TAV-ROV180", "", "PZ", 2, 0, none, ""},
          {"A", "SED-FAG01", "", "PZ", 8, 0, D(2026, 1, 30), ""},
          {"D", "", "Consegna al terzo piano senza ascensore", "", 0, 0, none, ""},
          {"A", "SRV-TRASP", "", "NR", 1, 0, none, ""}}},
        {2026, 1, D(2026, 2, 3), "OC", "3", "000003", "AG02", "AG03", "01", "02", D(2026, 4, 30),
         blank,
         {{"A", "SED-FAG01", "", "PZ", 60, 20, none, ""},
          {"A", "TAV-O'NEIL", "", "PZ", 15, 0, none, ""},
          {"A", "TOP-LAM-MQ", "", "MQ", 12.6, 0, D(2026, 5, 15), ""},
          {"S", "", "Spese di imballo", "", 1, 0, none, ""},
          {"A", "ARM-2A-100", "", "PZ", 4, 4, none, "E"}}},
        {2026, 2, D(2026, 2, 10), "OC", "3", "000002", "AG01", "", "01", "", D(2026, 3, 1), closed,
         {{"A", "LIB-5R-080", "", "PZ", 3, 3, none, "E"}}},
        {2026, 3, D(2026, 3, 5), "OW", "3", "000006", "AG03", "", "02", "", none, open,
         {{"A", "BAT-ROV-ML", "", "M", 48, 0, none, ""},
          {"A", "TAV-ROV180", "", "PZ", 1, 0, D(2026, 6, 10), ""},
          {"S", "SRV-TRASP", "Trasporto", "NR", 1, 0, none, ""}}},
        {2026, 4, D(2026, 3, 12), "OC", "1", "000005", "AG02", "", "01", "", D(2026, 5, 20), open,
         {{"A", "ARM-2A-100", "", "PZ", 6, 0, none, ""}}},
        {2026, 5, D(2026, 4, 2), "OC", "3", "000008", "AG01", "AG02", "01", "CL", D(2026, 7, 1),
         open,
         {{"A", "LIB-5R-080", "", "PZ", 10, 0, none, ""},
          {"A", "CRE-3A-OTT", "", "PZ", 2, 0, D(2026, 7, 15), ""}}},
    };
    const QList<DemoDocument> quotes{
        {2025, 12, D(2025, 10, 8), "PR", "3", "000001", "AG01", "", "01", "", D(2026, 2, 1), open,
         {{"A", "TAV-ROV180", "", "PZ", 1, 0, none, ""}}},
        {2026, 1, D(2026, 1, 20), "PR", "3", "000004", "AG01", "", "01", "", D(2026, 9, 1), open,
         {{"A", "ARM-2A-100", "", "PZ", 3, 0, none, ""},
          {"A", "LIB-5R-080", "", "PZ", 2, 0, D(2026, 9, 15), ""},
          {"D", "", "Finitura da concordare con la D.L.", "", 0, 0, none, ""}}},
        {2026, 2, D(2026, 1, 25), "PC", "3", "000003", "AG02", "", "01", "02", D(2026, 4, 30),
         closed,
         {{"A", "SED-FAG01", "", "PZ", 60, 0, none, ""}}},
        {2026, 3, D(2026, 2, 14), "PR", "3", "000007", "AG03", "", "02", "", none, blank,
         {{"A", "TAV-O'NEIL", "", "PZ", 6, 0, none, ""},
          {"A", "SED-FAG01", "", "PZ", 24, 0, none, "E"},
          {"A", "TOP-LAM-MQ", "", "MQ", 4.2, 0, D(2026, 5, 30), ""},
          {"S", "SRV-TRASP", "Trasporto e montaggio", "NR", 1, 0, none, ""}}},
    };
    AddDocuments(ins.ordTest, ins.ordDett, orders);
    AddDocuments(ins.preTest, ins.preDett, quotes);
    return ins.ok();
}

bool AddScratchRows(CompanyInserters &ins)
{
    ins.appoggio.add({QStringLiteral("NOTEDIBA"), S("Note per la stampa della distinta base"),
                      S("Le quantit\u00e0 si intendono per un pezzo del prodotto finito.\n"
                        "Gli sfridi di lavorazione sono gi\u00e0 compresi.")});
    ins.appoggio.add({QStringLiteral("CONDVEN"), S("Condizioni generali di vendita"),
                      S("Consegna franco nostro magazzino. Pagamento a 60 giorni data fattura.")});
    return ins.ok();
}

bool FillDemoDatabase(CompanyDbBuilder &builder)
{
    CompanyInserters ins(builder);
    return AddReferenceRows(ins) && AddDecodes(ins) && AddArticles(ins) && AddPrices(ins) &&
           AddCostsAndStock(ins) && AddAccounts(ins) && AddOrdersAndQuotes(ins) &&
           AddScratchRows(ins);
}

bool WriteImages(const CompanyPaths &paths, QString *error)
{
    if (!QDir().mkpath(paths.imagesDir)) {
        if (error)
            *error = QStringLiteral("Impossibile creare la cartella ") + paths.imagesDir;
        return false;
    }
    const QPair<const char *, ArticleShape> images[] = {
        {"tav-rov180.png", ArticleShape::Table},   {"tav-oneil.png", ArticleShape::Table},
        {"sed-fag01.png", ArticleShape::Chair},    {"arm-2a-100.png", ArticleShape::Wardrobe},
        {"lib-5r-080.png", ArticleShape::Bookcase}, {"top-lam-mq.png", ArticleShape::Worktop}};
    for (const auto &img : images) {
        if (!WriteArticleImage(paths.imagesDir + QLatin1Char('/') + S(img.first), img.second,
                               error))
            return false;
    }
    return true;
}

} // namespace

bool WriteDemoCompany(const QString &dir, QString *error)
{
    if (!PrepareCompanyDir(dir, error))
        return false;
    const CompanyPaths paths(dir);
    CompanyDbBuilder builder(paths.companyDb);
    if (!builder.start(error))
        return false;
    FillDemoDatabase(builder);
    if (!builder.finish(error))
        return false;

    CompanyIniInfo info;
    info.description = kCompanyName;
    info.quantityDecimals = 3;
    info.warehouseYear = CurrentYear();
    info.articleClassCaptions = {{QStringLiteral("1"), QStringLiteral("Linea")},
                                 {QStringLiteral("2"), QStringLiteral("Materiale")},
                                 {QStringLiteral("3"), QStringLiteral("Finitura")}};
    info.accountClassCaptions = {{QStringLiteral("1"), QStringLiteral("Fascia")},
                                 {QStringLiteral("2"), QStringLiteral("Settore")}};
    // E-mail through a mail server on this machine (port 2525, STARTTLS and a login), such as
    // the tests' tests/support/smtpserver.py.
    info.pdfEmail = {
        {QStringLiteral("PdfNomeFile"), QStringLiteral("§Titolo§_§DataRov§")},
        {QStringLiteral("StampeEmail"), QStringLiteral("S")},
        {QStringLiteral("EmailTipoInvio"), QStringLiteral("See")},
        {QStringLiteral("EmailServerSMTP"), QStringLiteral("127.0.0.1")},
        {QStringLiteral("EmailNumPorta"), QStringLiteral("2525")},
        {QStringLiteral("EmailUsaSSL"), QStringLiteral("N")},
        {QStringLiteral("EmailLogin"), QStringLiteral("ufficio")},
        {QStringLiteral("EmailPwd"), QStringLiteral("segreta")},
        {QStringLiteral("EmailInd"), QStringLiteral("ufficio@arredamentibellini.example")},
        {QStringLiteral("EmailCentro"), QStringLiteral("Ufficio tecnico Arredamenti Bellini")},
        {QStringLiteral("EmailReplay"), QStringLiteral("tecnico@arredamentibellini.example")},
        {QStringLiteral("EmailTo1"), QStringLiteral("cliente@example.com")},
        {QStringLiteral("EmailToNum"), QStringLiteral("1")},
        {QStringLiteral("EmailNumTesto"), QStringLiteral("1")},
        {QStringLiteral("EmailPersOggetto"), QStringLiteral("§PersOgg§ - §Titolo§ del §Data§")},
    };
    const QList<std::tuple<int, QString, QString>> texts{
        {1, QStringLiteral("Invio stampa"),
         QStringLiteral("Buongiorno,\r\nin allegato la stampa \"§Titolo§\" del §DataLong§.\r\nCordiali saluti\r\n§DescAzie§")},
    };
    return WriteMenuDatabase(paths, error, texts) && WriteImages(paths, error) &&
           WriteCompanyIniFiles(paths, info, error);
}

} // namespace kem
