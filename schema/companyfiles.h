#pragma once
// The files of a company directory other than the rows of the company database:
//   DIR/kemwin.ini, DIR/azienda.ini, DIR/kemora-menu.ini, DIR/menu/menu.db,
//   DIR/dati/azienda.db (path only), DIR/immagini/ (path only).
#include <QList>
#include <QPair>
#include <QString>
#include <tuple>

namespace kem {

class RowInserter;

struct CompanyPaths {
    explicit CompanyPaths(const QString &dir);
    QString dir;          // absolute, without trailing separator
    QString mainIni;      // DIR/kemwin.ini
    QString companyIni;   // DIR/azienda.ini
    QString menuIni;      // DIR/kemora-menu.ini
    QString dataDir;      // DIR/dati
    QString companyDb;    // DIR/dati/azienda.db
    QString menuDir;      // DIR/menu
    QString menuDb;       // DIR/menu/menu.db
    QString imagesDir;    // DIR/immagini
};

// What the ini files say about one company.
struct CompanyIniInfo {
    QString description;          // "DescAzie"
    int quantityDecimals = 3;     // "Mag.NumDecQta"
    int warehouseYear = 0;        // "Mag.AnnoCorr"
    QList<QPair<QString, QString>> articleClassCaptions; // "Cla.n" (level, caption)
    QList<QPair<QString, QString>> accountClassCaptions; // "PdcCla.n"
    QList<QPair<QString, QString>> pdfEmail;  // section "PdfEmail" of the file common to all terminals
};

// The program key of the module in the menu and the four entries it offers.
struct MenuEntry {
    QString chiave;
    QString chiaveSec;
    QString caption;
    QString descPrg;
};
QList<MenuEntry> ModuleMenuEntries();
bool AddMenuEntries(RowInserter &menuDett);

// The year the program runs in: the only value of the generated data taken from the clock
// (stock and costs must exist for the current year).
int CurrentYear();

// Creates the company directory; refuses a blank name and a path that is not a directory.
bool PrepareCompanyDir(const QString &dir, QString *error);

// Writes the three ini files (each replaced as a whole, never half-written).
bool WriteCompanyIniFiles(const CompanyPaths &paths, const CompanyIniInfo &info, QString *error);

// Writes DIR/menu/menu.db holding the table MenuDett with the module's entries.
// The menu database: the menu entries and the stored e-mail texts (number, subject, text).
bool WriteMenuDatabase(const CompanyPaths &paths, QString *error,
                       const QList<std::tuple<int, QString, QString>> &emailTexts = {});

} // namespace kem
