#include "apps/kemora-menu/menusession.h"

namespace kem {

using namespace menuproto;

MenuSession::MenuSession(int id, QLocalSocket *socket, QObject *parent)
    : QObject(parent), id_(id), socket_(socket)
{
    socket_->setParent(this);
    connect(socket_, &QLocalSocket::readyRead, this, &MenuSession::onReadyRead);
    connect(socket_, &QLocalSocket::disconnected, this, [this] {
        if (!closedEmitted_) {
            closedEmitted_ = true;
            emit closed(this);
        }
    });
}

MenuSession::~MenuSession()
{
    socket_->disconnect(this);
}

void MenuSession::send(const QVariantMap &message)
{
    if (socket_->state() != QLocalSocket::ConnectedState)
        return;
    socket_->write(EncodeFrame(message));
    socket_->flush();
}

void MenuSession::reply(qint64 callId, const QVariant &result)
{
    send(MakeReply(callId, result));
}

void MenuSession::fail(qint64 callId, const QString &error)
{
    send(MakeFailure(callId, error));
}

qint64 MenuSession::sendCommand(const QString &text1, const QString &text2, const QString &command,
                                const QVariant &param)
{
    const qint64 id = ++lastCommand_;
    pending_.insert(id);
    send(MakeCommand(id, text1, text2, command, param));
    return id;
}

void MenuSession::onReadyRead()
{
    reader_.append(socket_->readAll());
    for (;;) {
        QVariantMap message;
        QString error;
        const FrameReader::Status status = reader_.next(&message, &error);
        if (status == FrameReader::Status::NeedMore)
            return;
        if (status == FrameReader::Status::Error) {
            emit protocolError(this, error);
            socket_->abort();
            return;
        }
        const QString kind = message.value("t").toString();
        const qint64 id = message.value("id").toLongLong();
        if (kind == KindCall) {
            emit callReceived(this, id, message.value("op").toString(), message.value("args").toList());
        } else if (kind == KindAnswer && pending_.remove(id)) {
            emit answerReceived(this, id, message.value("result"));
        }
    }
}

} // namespace kem
