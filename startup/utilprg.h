#pragma once
// Finding the suite's ini files, choosing the company configuration, opening the company
// database (with the login, password and repair paths), the common "menu" database and the
// auxiliary connections.
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

namespace kem {

class Database;
class DbComponent;
class ProgramContext;

// ---- database-name kinds (decided on the name alone)
bool IsOdbcName(const QString &name);        // begins "ODBC;" (any case)
bool IsDataSourceName(const QString &name);  // "ODBC;" name, ".dsn" file or a name without "."
bool IsFileDatabase(const QString &name);    // not "ODBC;" and with a "."
bool NeedsLogin(const QString &name);        // a ".dsn" file or a bare data-source name

// A key of an ini file; nullopt when the file, the section or the key is missing.
std::optional<QString> IniKey(const QString &file, const QString &section, const QString &key);

// The program's ini reader: the company ini, then the main ini of the run. Returns the number
// of characters read as text ("0" when the key is missing).
QString LeggiIniPrg(const ProgramContext &ctx, const QString &section, const QString &key,
                    const QString &def, QString &value);

// The same for a key that holds a path: a relative value is resolved against the folder of the
// ini file that holds it.
QString LeggiIniPrgPath(const ProgramContext &ctx, const QString &section, const QString &key,
                        const QString &def, QString &value);

// A menu variable as text; a variable the menu does not have reads as `def`.
QString MenuVarText(ProgramContext &ctx, const QString &name, const QString &def = {});

// Options of the company-database opening.
struct ApriDbOptions {
    QString iniFile = QStringLiteral("kemwin.ini");
    QVariant extra;                         // passed to DbOpen when valid
    QString section = QStringLiteral("Connessioni");
    bool nameFromCaller = false;            // true: callerName / callerConnect, no ini reading
    QString callerName;
    QString callerConnect;
    bool resolveDrive = true;               // drive and directory of a file database
    bool openNow = true;
    bool unloadSplash = false;
    int accessImage = 0;                    // -1 show, 1 hide, else unchanged
    int titleLabel = 0;                     // -1 show, 1 hide, else unchanged
    QString title;
    QString version;
    QString versionDate;
    QString extraDir1;
    QString extraDir2;
    QString installIni;                     // blank: the context's install ini
};

// The main ini when the menu gave none: the first existing file of the eight places (switch
// "I", [Setup] "IniPrincipale" of the install ini, the two extra directories, the Windows
// directory, application directory + "main", current directory, application directory).
// Empty when none exists.
QString CercaIniPrincipale(const ProgramContext &ctx, const ApriDbOptions &options);

// Opens the company database on `db`; the connection result goes to `result` (and to the
// connection state). 0 on success, -1 after a failure (message shown, resources released).
int ApriDbAzienda(ProgramContext &ctx, DbComponent &db, QString &result, const ApriDbOptions &options);

// The open routine: login or password parameters, DbOpen, and the errors a user can recover
// from (3059 ask again, 3031 wrong password). Returns the connection result: what DbOpen
// returned, "Err: " + number, or empty when the user gave up the login. A damaged file (3343)
// is thrown on to the caller, which offers the repair.
QString ApriDatabase(ProgramContext &ctx, DbComponent &db, const QString &name, const QString &password,
                     const QString &connect, const QVariant &extra = {});

// The common menu database: [Menu] "NomeDB", "DriveDB", "Connect" of the ini files; opens it on
// its own database object and makes the auxiliary connection to it. 0 on success, -1 after a
// failure (message shown, resources released).
int KemOpenDbMenu(ProgramContext &ctx);

// The auxiliary connection routine: how a name is opened, and the open itself.
struct DaoPlan {
    QString name;     // name given to the open
    QString connect;  // connect text ("" when none)
};
// filePassword: the password of a password-protected database file (";pwd=" connect text);
// the user and password are the data-source login.
DaoPlan DaoConnectPlan(const QString &name, const QString &user, const QString &password,
                       const QString &filePassword = {});
std::unique_ptr<Database> DaoConnect(const QString &name, const QString &user, const QString &password,
                                     const QString &filePassword = {});

} // namespace kem
