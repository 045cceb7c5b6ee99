#pragma once
// MenuClient: the menu server reached over the local socket that kemora-menu listens on (the
// name the "M" switch carries). Protocol: menuprotocol.h. Every call is synchronous: it waits
// for the menu's reply up to callTimeout() ms and throws kem::MenuError when none comes.
#include "platform/menu/menuprotocol.h"
#include "platform/menu/menuserver.h"

#include <QHash>
#include <QList>
#include <QLocalSocket>

namespace kem {

class MenuClient : public MenuServer {
    Q_OBJECT
public:
    explicit MenuClient(QObject *parent = nullptr);
    ~MenuClient() override;

    // Connects to the menu listening under `socketName`. Throws MenuError (NotRunning) when
    // the name is blank, the socket does not exist or nobody accepts within timeoutMs.
    void connectToMenu(const QString &socketName, int timeoutMs = 5000);
    bool isConnected() const;
    QString socketName() const { return socketName_; }
    void setCallTimeout(int ms) { callTimeout_ = ms; }
    int callTimeout() const { return callTimeout_; }
    // Timeout of the calls that wait for the user at the menu (MenuVar "ChiediPwdSql").
    void setInteractiveTimeout(int ms) { interactiveTimeout_ = ms; }

    void MenuActivate(const QString &scope) override;
    void MenuUnregister() override;
    void MenuRegister(const QString &menuIdentity, const QString &programKey,
                      const QString &extraText) override;
    void MenuReturnTo(const QString &launcherKey, const QString &secondaryKey,
                      const QString &param) override;
    QVariant MenuCall(const QString &function, const QString &scope,
                      const QVariant &param = {}) override;
    void MenuPassaA(const QString &formTitle, const QString &formName,
                    const QVariant &value) override;
    QString MenuIniPath() override;
    LaunchParams MenuLaunchParams() override;
    void MenuLaunchSelect(const QString &key) override;
    void MenuKeyRelease(const QString &key) override;
    QString MenuVar(const QString &name, const QString &def = {}) override;
    void MenuVarSet(const QString &name, const QString &value) override;

private:
    void announceLost();

    QVariant call(const QString &op, const QVariantList &args, int timeoutMs);
    void readAvailable();
    void onReadyRead();
    void dispatchCommands();

    QLocalSocket socket_;
    QString socketName_;
    menuproto::FrameReader reader_;
    QString streamError_;
    int callTimeout_ = 10000;
    int interactiveTimeout_ = 10 * 60 * 1000;
    qint64 lastId_ = 0;
    qint64 awaiting_ = 0;
    bool haveReply_ = false;
    QVariantMap reply_;
    QList<QVariantMap> commands_;
    bool inCall_ = false;
    bool dispatching_ = false;
    bool lostAnnounced_ = false;
};

} // namespace kem
