#pragma once
// MenuConfig: the configuration of kemora-menu for one company directory, read from
// DIR/kemora-menu.ini:
//   [Menu]       "IniPath"      main ini handed out by MenuIniPath (relative to DIR)
//                "Help"         help file passed with the "H" switch (optional)
//                "IniComuni"    file of "ScriviIniComuni"/"LeggiIniComuni" for all terminals
//                               (default: the main ini)
//                "IniTerminale" the same for this terminal only (default DIR/terminale.ini)
//   [Variabili]  company menu variables ("NomeDBAzie", "VersMenu", ...); the company database
//                file "NomeDBAzie" may be relative to DIR (the menu hands it out absolute)
//   [Personali]  personal parameters, keyed by what follows "Personal." in the variable name
//                ("Tutti.§DataMinima")
//   [Form]       optional: form opened for a menu entry, keyed "<Chiave>.<ChiaveSec>"; an entry
//                without one opens the form named by its ChiaveSec
// The menu database is the main ini's [Menu] "DriveDB" (relative to the main ini's folder) +
// "NomeDB", else DIR/menu/menu.db.
// Lookups read the file each time, so edits show at once; names ignore case.
#include <QString>
#include <optional>

namespace kem {

class MenuConfig {
public:
    // Fails (false, *error set) when DIR or DIR/kemora-menu.ini does not exist.
    static bool Load(const QString &companyDir, MenuConfig *config, QString *error);

    QString companyDir() const { return dir_; }
    QString configFile() const { return file_; }
    QString iniPath() const { return iniPath_; }
    QString helpFile() const { return help_; }
    QString menuDbPath() const { return menuDb_; }
    QString commonIniPath() const { return commonIni_; }
    QString terminalIniPath() const { return terminalIni_; }

    std::optional<QString> variable(const QString &name) const;
    // The company database file ("NomeDBAzie" made absolute); empty when the company database
    // is not a file (a data source, an "ODBC;" text) or not configured.
    QString companyDbPath() const;
    // True for a variable whose value is a file path kept relative to DIR.
    static bool IsPathVariable(const QString &name, const QString &value);
    std::optional<QString> personal(const QString &sectionDotKey) const;
    // The form a menu entry opens.
    QString formFor(const QString &chiave, const QString &chiaveSec) const;

private:
    std::optional<QString> read(const QString &file, const QString &section,
                                const QString &key) const;
    QString absolute(const QString &path) const;

    QString dir_;
    QString file_;
    QString iniPath_;
    QString help_;
    QString menuDb_;
    QString commonIni_;
    QString terminalIni_;
};

} // namespace kem
