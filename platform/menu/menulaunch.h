#pragma once
// How the menu starts the module, and the switch syntax both sides share.
//
// The module is started with separate arguments
//     /M <socket>  /P <program key>[ <extra text>]  /F <form>  [/I <main ini>]  [/H <help file>]
// A program joins its arguments with single blanks into one command line and reads each
// switch with kem::CmdSwitch (platform/util): the value of "/X" runs from after the blank that
// follows "/X" up to the blank before the next switch, trimmed; so a value may contain
// blanks ("/P DIBA frmPrelvo" gives program key "DIBA" and extra text "frmPrelvo").
//   M  the name of the menu's local socket (menu identity, passed back in MenuRegister)
//   P  program key (MenuDett.Chiave), then a blank and the extra text (MenuDett.ChiaveSec)
//   F  the form to open
//   I  the main ini file (only when the menu has one)
//   H  the application help file (only when configured)
// The same joined text is what MenuLaunchParams().osParam answers for that launch.
#include <QString>
#include <QStringList>

namespace kem {

struct ModuleLaunch {
    QString socketName;
    QString programKey;
    QString extraText;
    QString form;
    QString iniPath;
    QString helpFile;
};

// The argument list of the module's process.
QStringList ModuleArguments(const ModuleLaunch &launch);
// The arguments joined with blanks: the module's command line and the launch's osParam.
QString ModuleCommandLine(const ModuleLaunch &launch);

} // namespace kem
