#pragma once
// Menu server interface: what the module asks of the suite's main menu, and the commands the
// main menu sends back to the module.
//
// Implementations:
//   MenuClient      (menuclient.h)     talks to a running kemora-menu over a local socket;
//   FakeMenuServer  (fakemenuserver.h) in-process stand-in for tests;
//   MenuMemory      (menumemory.h)     the module's view of one of them: what the menu said
//                                      stays available after the menu has gone away.
//
// Errors. Every operation throws kem::MenuError when the menu cannot answer: menu not running
// (the socket does not exist or refuses the connection), connection lost, no answer within the
// timeout, or a failure reported by the menu itself (for example a bad GetParamDbMenu query).
// MenuError::number() is 5 when the menu cannot be reached, which start-up turns into its
// "Il menu principale non è in esecuzione" message; other failures carry 440.
//
// Menu variables. MenuVar answers the variable's value. For a variable the menu does not have
// it answers the caller's default when that is not empty, else MenuMissingMarker ("§ç~$!^").
// Variable names are compared without regard to case. Personal parameters are variables
// named PersonalVarName(section, key) = "Personal." + section + ".§" + key.
//
// Commands from the menu. The menu sends a command as the signal EseguiComando(text1, text2,
// command, parameter, result). The receiver (connected directly, on the thread that owns the
// server object) writes its answer into `result`; that value goes back to the menu. A command
// never interrupts a call in progress: commands that arrive while the module waits for an
// answer are delivered after that call returns, from the event loop.
#include <QObject>
#include <QString>
#include <QVariant>
#include <stdexcept>

namespace kem {

// The answer for a menu variable that does not exist.
inline const QString MenuMissingMarker = QStringLiteral("§ç~$!^");

// "Personal." + section + ".§" + key.
QString PersonalVarName(const QString &section, const QString &key);

// Request text of the menu database query: "GetParamDbMenu" + "§~" + statement + "§~" +
// columns (comma separated). Sent as the function name of MenuCall, whose answer is the list
// of the requested columns of the first row (empty list when no row), or as a MenuVar name,
// whose answer is those values joined by "§~" (or the missing-variable answer when no row).
QString GetParamDbMenuRequest(const QString &statement, const QString &columns);
// Splits such a request; false when `text` is not one.
bool ParseGetParamDbMenu(const QString &text, QString *statement, QStringList *columns);

// MenuVar's answer for a lookup: the value when found, else the default when not empty,
// else MenuMissingMarker.
QString MenuVarAnswer(bool found, const QString &value, const QString &def);

class MenuError : public std::runtime_error {
public:
    enum Kind { NotRunning, Disconnected, Timeout, Protocol, Remote };
    MenuError(Kind kind, const QString &description);
    Kind kind() const { return kind_; }
    // 5 when the menu cannot be reached (NotRunning, Disconnected), 440 otherwise.
    int number() const;
    QString description() const { return description_; }
private:
    Kind kind_;
    QString description_;
};

// What the menu knows of the current launch of the program.
struct LaunchParams {
    QString osParam;        // the switch text of the launch ("/M ... /P ... /F ... /H ...")
    QString osChiLancia;    // key of the program that asked for the launch (blank: the menu)
    QString osKeySecLancia; // its secondary key
    QString osParamLancia;  // its parameter
    bool operator==(const LaunchParams &) const = default;
};

class MenuServer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~MenuServer() override = default;

    // Operations, in the server's interface order.
    virtual void MenuActivate(const QString &scope) = 0;
    virtual void MenuUnregister() = 0;
    virtual void MenuRegister(const QString &menuIdentity, const QString &programKey,
                              const QString &extraText) = 0;
    virtual void MenuReturnTo(const QString &launcherKey, const QString &secondaryKey,
                              const QString &param) = 0;
    // param: invalid (none), text, number or list (QVariantList).
    virtual QVariant MenuCall(const QString &function, const QString &scope,
                              const QVariant &param = {}) = 0;
    virtual void MenuPassaA(const QString &formTitle, const QString &formName,
                            const QVariant &value) = 0;
    virtual QString MenuIniPath() = 0;
    virtual LaunchParams MenuLaunchParams() = 0;
    virtual void MenuLaunchSelect(const QString &key) = 0;
    virtual void MenuKeyRelease(const QString &key) = 0;
    virtual QString MenuVar(const QString &name, const QString &def = {}) = 0;
    virtual void MenuVarSet(const QString &name, const QString &value) = 0;

signals:
    // A command from the menu ("fine", "passaa", "attiva", "esiste", ...). Connect directly;
    // the slot writes its answer into `result` (left invalid it answers an empty text).
    void EseguiComando(const QString &text1, const QString &text2, const QString &command,
                       const QVariant &param, QVariant &result);
    // The menu has gone away (its connection is closed): no operation will reach it again.
    // Emitted once, from the event loop, never from inside an operation.
    void menuLost();
};

} // namespace kem
