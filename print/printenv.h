#pragma once
// What the print framework needs from the running program, handed in explicitly: where the
// settings are read, the program's menu key, the menu server, the message sink, the printers
// of the system, the terminal session and the preview scale factor.
#include <QDate>
#include <QString>

namespace kem {

class MenuServer;
class MessageSink;
class PrinterSystem;
class Database;

struct PrintEnv {
    QString mainIni;          // main ini path
    QString companyIni;       // company ini name (relative to the main ini's folder) or path
    QString profileIni;       // stand-in for the system profile ("windows"/"device")
    QString programKey;       // key of this program's main-menu entry
    MenuServer *menu = nullptr;
    MessageSink *sink = nullptr;
    PrinterSystem *printers = nullptr;
    Database *db = nullptr;   // company database (user fonts); nullptr: none
    int terminalSession = 0;  // 0 or 1: not a remote session, no printer name mapping
    double previewScale = 0;  // > 0: preview factors are multiplied by it
    QDate workingDate;        // the suite's working date (page header)
    bool showMessages = true; // page setup reports bad margins with a message
    int *printActive = nullptr; // the program-wide print-active flag; nullptr: the services' own

    // [section] key of the program's settings (company ini first, then the main ini),
    // trimmed; def when the key is missing or empty.
    QString ini(const QString &section, const QString &key, const QString &def = {}) const;
    // The same for a key that holds a path: a relative value is resolved against the folder of
    // the file that holds it.
    QString iniPath(const QString &section, const QString &key, const QString &def = {}) const;
    // A menu variable; "" when the menu has none (or there is no menu).
    QString menuVar(const QString &name) const;
};

} // namespace kem
