#include "platform/menu/menuclient.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QtDebug>

namespace kem {

using namespace menuproto;

MenuClient::MenuClient(QObject *parent) : MenuServer(parent)
{
    connect(&socket_, &QLocalSocket::readyRead, this, &MenuClient::onReadyRead);
    // A connection that closes while a call waits is announced once that call has returned.
    connect(&socket_, &QLocalSocket::disconnected, this, [this] {
        if (!inCall_)
            announceLost();
    });
}

void MenuClient::announceLost()
{
    if (lostAnnounced_)
        return;
    lostAnnounced_ = true;
    emit menuLost();
}

MenuClient::~MenuClient()
{
    socket_.disconnect(this);
    socket_.abort();
}

void MenuClient::connectToMenu(const QString &socketName, int timeoutMs)
{
    socketName_ = socketName.trimmed();
    if (socketName_.isEmpty())
        throw MenuError(MenuError::NotRunning,
                        QStringLiteral("Nessun menu indicato: manca lo switch M"));
    socket_.abort();
    socket_.connectToServer(socketName_);
    if (!socket_.waitForConnected(timeoutMs)) {
        const QString why = socket_.errorString();
        socket_.abort();
        throw MenuError(MenuError::NotRunning,
                        QStringLiteral("Il menu \"%1\" non risponde: %2").arg(socketName_, why));
    }
}

bool MenuClient::isConnected() const
{
    return socket_.state() == QLocalSocket::ConnectedState;
}

void MenuClient::readAvailable()
{
    if (socket_.bytesAvailable() > 0)
        reader_.append(socket_.readAll());
    for (;;) {
        QVariantMap message;
        QString error;
        const FrameReader::Status status = reader_.next(&message, &error);
        if (status == FrameReader::Status::NeedMore)
            return;
        if (status == FrameReader::Status::Error) {
            streamError_ = error;
            socket_.abort();
            return;
        }
        const QString kind = message.value("t").toString();
        if (kind == KindReply) {
            // Replies to calls that already timed out are dropped.
            if (inCall_ && message.value("id").toLongLong() == awaiting_) {
                reply_ = message;
                haveReply_ = true;
            }
        } else if (kind == KindCommand) {
            commands_.append(message);
        }
    }
}

QVariant MenuClient::call(const QString &op, const QVariantList &args, int timeoutMs)
{
    if (!isConnected()) {
        throw MenuError(MenuError::Disconnected,
                        QStringLiteral("Il menu non è più collegato (%1)").arg(op));
    }
    const qint64 id = ++lastId_;
    awaiting_ = id;
    haveReply_ = false;
    inCall_ = true;
    struct CallGuard {
        MenuClient *c;
        ~CallGuard()
        {
            c->inCall_ = false;
            c->awaiting_ = 0;
            if (!c->commands_.isEmpty())
                QMetaObject::invokeMethod(c, &MenuClient::dispatchCommands, Qt::QueuedConnection);
            if (!c->isConnected() && !c->lostAnnounced_)
                QMetaObject::invokeMethod(c, &MenuClient::announceLost, Qt::QueuedConnection);
        }
    } guard{this};

    socket_.write(EncodeFrame(MakeCall(id, op, args)));
    socket_.flush();
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        readAvailable();
        if (haveReply_) {
            haveReply_ = false;
            if (reply_.value("ok").toBool())
                return reply_.value("result");
            throw MenuError(MenuError::Remote, reply_.value("error").toString());
        }
        if (!streamError_.isEmpty())
            throw MenuError(MenuError::Protocol, streamError_);
        if (!isConnected()) {
            throw MenuError(MenuError::Disconnected,
                            QStringLiteral("Il menu ha chiuso il collegamento durante %1").arg(op));
        }
        if (deadline.hasExpired()) {
            throw MenuError(MenuError::Timeout,
                            QStringLiteral("Il menu non ha risposto a %1 entro %2 ms")
                                .arg(op)
                                .arg(timeoutMs));
        }
        socket_.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
}

void MenuClient::onReadyRead()
{
    if (inCall_)
        return; // the waiting call reads the data itself
    readAvailable();
    dispatchCommands();
}

void MenuClient::dispatchCommands()
{
    if (dispatching_ || inCall_)
        return;
    dispatching_ = true;
    while (!commands_.isEmpty()) {
        const QVariantMap cmd = commands_.takeFirst();
        QVariant result;
        try {
            emit EseguiComando(cmd.value("text1").toString(), cmd.value("text2").toString(),
                               cmd.value("command").toString(), cmd.value("param"), result);
        } catch (const std::exception &e) {
            qWarning("menu command %s failed: %s", qPrintable(cmd.value("command").toString()),
                     e.what());
            result = QString();
        }
        if (!result.isValid())
            result = QString();
        if (isConnected()) {
            socket_.write(EncodeFrame(MakeAnswer(cmd.value("id").toLongLong(), result)));
            socket_.flush();
        }
    }
    dispatching_ = false;
}

void MenuClient::MenuActivate(const QString &scope)
{
    call(QStringLiteral("MenuActivate"), {scope}, callTimeout_);
}

void MenuClient::MenuUnregister()
{
    call(QStringLiteral("MenuUnregister"), {}, callTimeout_);
}

void MenuClient::MenuRegister(const QString &menuIdentity, const QString &programKey,
                              const QString &extraText)
{
    call(QStringLiteral("MenuRegister"), {menuIdentity, programKey, extraText}, callTimeout_);
}

void MenuClient::MenuReturnTo(const QString &launcherKey, const QString &secondaryKey,
                              const QString &param)
{
    call(QStringLiteral("MenuReturnTo"), {launcherKey, secondaryKey, param}, callTimeout_);
}

QVariant MenuClient::MenuCall(const QString &function, const QString &scope, const QVariant &param)
{
    return call(QStringLiteral("MenuCall"), {function, scope, param}, callTimeout_);
}

void MenuClient::MenuPassaA(const QString &formTitle, const QString &formName, const QVariant &value)
{
    call(QStringLiteral("MenuPassaA"), {formTitle, formName, value}, callTimeout_);
}

QString MenuClient::MenuIniPath()
{
    return call(QStringLiteral("MenuIniPath"), {}, callTimeout_).toString();
}

LaunchParams MenuClient::MenuLaunchParams()
{
    return LaunchParamsFromMap(call(QStringLiteral("MenuLaunchParams"), {}, callTimeout_).toMap());
}

void MenuClient::MenuLaunchSelect(const QString &key)
{
    call(QStringLiteral("MenuLaunchSelect"), {key}, callTimeout_);
}

void MenuClient::MenuKeyRelease(const QString &key)
{
    call(QStringLiteral("MenuKeyRelease"), {key}, callTimeout_);
}

QString MenuClient::MenuVar(const QString &name, const QString &def)
{
    const bool asksUser = name.compare(QLatin1String("ChiediPwdSql"), Qt::CaseInsensitive) == 0;
    return call(QStringLiteral("MenuVar"), {name, def}, asksUser ? interactiveTimeout_ : callTimeout_)
        .toString();
}

void MenuClient::MenuVarSet(const QString &name, const QString &value)
{
    call(QStringLiteral("MenuVarSet"), {name, value}, callTimeout_);
}

} // namespace kem
