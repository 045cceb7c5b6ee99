#pragma once
// MenuHost: the menu server of kemora-menu. Listens on a local socket with a unique name,
// serves every menu operation to the connected programs (protocol: platform/menu/
// menuprotocol.h), keeps the launch parameters the programs ask for, and sends them
// EseguiComando commands, reporting each answer as it arrives. No widgets: the window and
// the headless runner sit on top of its signals.
#include "platform/menu/menudatabase.h"
#include "platform/menu/menufunctions.h"
#include "platform/menu/menuconfig.h"
#include "platform/menu/menuserver.h"
#include "platform/menu/menuvariables.h"

#include <QHash>
#include <QLocalServer>
#include <QObject>
#include <functional>

namespace kem {

class MenuSession;

class MenuHost : public QObject {
    Q_OBJECT
public:
    struct Program {
        int session = 0;
        bool registered = false;
        QString programKey;
        QString extraText;
    };
    // Asks the user for the SQL login ("ChiediPwdSql"); false when cancelled.
    using LoginPrompt = std::function<bool(QString *login, QString *password)>;

    explicit MenuHost(const MenuConfig &config, QObject *parent = nullptr);
    ~MenuHost() override;

    // Starts listening under a fresh unique name. False with *error on failure.
    bool listen(QString *error);
    QString socketName() const;
    const MenuConfig &config() const { return config_; }
    MenuDatabase &database() { return db_; }
    void setLoginPrompt(LoginPrompt prompt) { loginPrompt_ = std::move(prompt); }

    QList<Program> programs() const;
    // The session of the registered program with that key; 0 when none.
    int sessionFor(const QString &programKey) const;

    // Keeps the launch parameters of program `programKey` under secondary key `key`: the
    // program gets them when it registers with that key or selects it (MenuLaunchSelect).
    void storeLaunch(const QString &programKey, const QString &key, const LaunchParams &params);

    // Sends EseguiComando to a connected program; the answer arrives as commandAnswered.
    // Returns 0 when there is no such session.
    qint64 sendCommand(int session, const QString &text1, const QString &text2,
                       const QString &command, const QVariant &param);
    // Sends "fine" to every connected program; the sessions asked, each with its command id
    // (its answer arrives as commandAnswered, or commandLost when the program goes away).
    QHash<int, qint64> closeAll();

signals:
    void logLine(const QString &line);
    void commandAnswered(int session, qint64 commandId, const QVariant &result);
    // A command that will get no answer because the program went away.
    void commandLost(int session, qint64 commandId);
    void programsChanged();
    void messageRequested(const QString &text); // MenuCall "MsgBox"
    void activateRequested();                   // MenuActivate, MenuReturnTo to the menu
    void passaAOffered(int session, const QString &title, const QString &form, const QVariant &value);

private:
    void onNewConnection();
    void onCall(MenuSession *s, qint64 id, const QString &op, const QVariantList &args);
    QVariant dispatch(MenuSession &s, const QString &op, const QVariantList &args);
    QString menuVar(const QString &name, const QString &def);
    QString launchKey(const QString &programKey, const QString &key) const;
    void log(const QString &line);

    MenuConfig config_;
    MenuVariables vars_;
    MenuDatabase db_;
    MenuFunctions functions_;
    QLocalServer server_;
    QHash<int, MenuSession *> sessions_;
    QHash<QString, LaunchParams> launches_; // launchKey() -> params
    LoginPrompt loginPrompt_;
    int lastSession_ = 0;
};

} // namespace kem
