#pragma once
// MenuSession: one program connected to kemora-menu. Cuts the socket's bytes into messages,
// reports calls and command answers to the host, sends replies and commands, and keeps what
// the program told the menu about itself (registration, current launch, process token).
#include "platform/menu/menuprotocol.h"
#include "platform/menu/menuserver.h"

#include <QLocalSocket>
#include <QObject>
#include <QSet>

namespace kem {

class MenuSession : public QObject {
    Q_OBJECT
public:
    struct Registration {
        bool registered = false;
        QString menuIdentity;
        QString programKey;
        QString extraText;
    };

    // Takes ownership of `socket`.
    MenuSession(int id, QLocalSocket *socket, QObject *parent = nullptr);
    ~MenuSession() override;

    int id() const { return id_; }
    void reply(qint64 callId, const QVariant &result);
    void fail(qint64 callId, const QString &error);
    // Sends EseguiComando; the answer comes back as answerReceived with the returned id.
    qint64 sendCommand(const QString &text1, const QString &text2, const QString &command,
                       const QVariant &param);
    QList<qint64> pendingCommands() const { return pending_.values(); }

    Registration registration;
    LaunchParams launch;
    QString processToken;

signals:
    void callReceived(kem::MenuSession *session, qint64 id, const QString &op,
                      const QVariantList &args);
    void answerReceived(kem::MenuSession *session, qint64 commandId, const QVariant &result);
    void protocolError(kem::MenuSession *session, const QString &error);
    void closed(kem::MenuSession *session);

private:
    void onReadyRead();
    void send(const QVariantMap &message);

    int id_;
    QLocalSocket *socket_;
    menuproto::FrameReader reader_;
    qint64 lastCommand_ = 0;
    QSet<qint64> pending_;
    bool closedEmitted_ = false;
};

} // namespace kem
