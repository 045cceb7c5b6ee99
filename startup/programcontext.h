#pragma once
// ProgramContext: the program-wide state of one run of the module (what the start-up reads,
// the connection state, the menu link state, the print-active flag, the report forms) and the
// services it runs with (menu connection, dialogs, splash, desktop, form registry). main()
// creates one; tests build a fresh one with stand-in services.
#include "common/companyparams.h"
#include "startup/dbcomponent.h"
#include "platform/menu/menuserver.h"
#include "common/messages.h"

#include <QList>
#include <QString>
#include <functional>
#include <map>
#include <memory>

namespace kem {

class ConnSplash;
class Desktop;
class FormServices;
class FormRegistry;
class ModuleForm;
class StartupDialogs;
class frmPrincipale;
class scKemUtilPrg;
class scMenuComandiClie;
class HelpWindow;

// What the start-up reads (command line, menu, ini files).
struct StartupState {
    qint32 programId = 42;
    QString programIdText;
    QString menuIdentity;      // switch "M"
    QString programKey;        // switch "P" up to its first blank
    QString programExtra;      // switch "P" after its first blank
    QString formName;          // switch "F"
    QString processToken;      // "PrepProcCorr", then "AddSeg"
    QString helpFile;          // switch "H" of the launch text
    QString companyDbName;     // menu variable "NomeDBAzie"
    QString companyConnect;    // menu variable "ConnectDBAzie"
    double factorGeneral = -2; // [Risoluzione Video] factors; -2 not set, 0 from the screen
    double factorBase = -2;
    double factorPreview = -2;
    double factorHelp = -2;
    double factorMessage = -2;
    QString imageDir;
    QString beepCome;
    bool lisSpostaCurs = false;
    bool lisClickNoSel = false;
    QString dataMinima;
};

// The connection state of the company and menu databases.
struct ConnectionState {
    QString mainIniPath;
    QString companyIni;        // "OrdIniDBase" chosen
    QString dbName;
    QString drive;
    QString directory;
    QString connect;
    QString owner;
    int execOption = 0;
    QString companyPwd;        // "PwdDbAzie"
    QString companyPwdConn;    // ";pwd=" + password, empty when there is none
    QString menuPwd;           // "AccMenuPwd"
    QString menuPwdConn;
    QString connectionResult;  // what DbOpen returned, or "Err: " + number
    QString menuDbName;
    QString menuDrive;
    QString menuConnect;
    QString menuConnectionResult;
};

// The menu link state.
struct LinkState {
    bool closing = false;      // the menu sent "fine", or went away
    bool menuGone = false;     // the menu went away (the user has been told)
    QString refusal;           // "Maschera Modal" when a modal window prevented the end
    QString keyPrim;           // primary launch key (help component)
    QString keySec;            // secondary launch key
    QString clientCommand;     // client command text
};

// Where the main ini is looked for when the menu gives none. On Linux the Windows directory is
// kem::WindowsDir(), the application directory the executable's folder, the current directory
// the process's working directory.
struct IniPlaces {
    QString windowsDir;
    QString applicationDir;
    QString currentDir;
    // Stand-in for "C:\KemwinInst.ini": KemwinInst.ini in the Windows directory.
    QString installIni;
    static IniPlaces FromEnvironment();
};

class ProgramContext {
public:
    ProgramContext();
    ~ProgramContext();
    ProgramContext(const ProgramContext &) = delete;
    ProgramContext &operator=(const ProgramContext &) = delete;

    // ---- state
    QString commandLine;
    StartupState start;
    ConnectionState conn;
    LinkState link;
    CompanyParams params;
    int oiStaAtt = 0;          // the print-active flag: 1 while a report runs (one run at a time);
                               // the print services of the report forms set this one

    // ---- objects of the run
    std::unique_ptr<frmPrincipale> mainForm;
    std::unique_ptr<scMenuComandiClie> menuClass;
    std::unique_ptr<DbComponent> companyDb;
    std::unique_ptr<Database> companyDao;
    std::unique_ptr<DbComponent> menuDb;
    std::unique_ptr<Database> menuDao;
    std::unique_ptr<scKemUtilPrg> help;
    // The services of the forms' code fields and keys; built by the program in
    // beforeFirstForm (they need the open database and the loaded parameters).
    std::shared_ptr<FormServices> formServices;

    // The menu server (ogMenuClient); nullptr before the connection and after the release.
    MenuServer *menu() const;
    // The company database; nullptr when not open.
    Database *database() const;
    HelpWindow *helpWindow() const;

    // ---- report forms: created on first use, kept for the run
    ModuleForm *FormInstance(const QString &name) const;
    ModuleForm *AddFormInstance(const QString &name, std::unique_ptr<ModuleForm> form);
    // Loaded forms in the order they were created.
    QList<ModuleForm *> LoadedForms() const;
    ModuleForm *ActiveForm() const;

    // ---- services
    MessageSink *messages = nullptr;
    StartupDialogs *dialogs = nullptr;
    ConnSplash *splash = nullptr;
    Desktop *desktop = nullptr;
    const FormRegistry *registry = nullptr;
    IniPlaces places;
    // Connects to the menu named by the "M" switch; throws MenuError.
    std::function<std::shared_ptr<MenuServer>(const QString &menuIdentity)> connectMenu;
    std::function<std::unique_ptr<DbComponent>()> makeDatabase;
    std::function<int(const QString &path)> repairDatabase;
    // Runs once the start-up has everything (database, parameters, settings), just before the
    // first form is opened.
    std::function<void(ProgramContext &)> beforeFirstForm;

private:
    std::map<QString, std::unique_ptr<ModuleForm>> forms_;  // lower-case name
    QList<ModuleForm *> order_;
};

} // namespace kem
