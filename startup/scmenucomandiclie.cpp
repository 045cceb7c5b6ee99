#include "startup/scmenucomandiclie.h"

#include "startup/utilclient.h"

#include <QCoreApplication>
#include <utility>

namespace kem {

scMenuComandiClie::scMenuComandiClie(ProgramContext &ctx, std::shared_ptr<MenuServer> server,
                                     QObject *parent)
    : QObject(parent), ctx_(ctx)
{
    setOgMenuClient(std::move(server));
}

scMenuComandiClie::~scMenuComandiClie()
{
    setOgMenuClient(nullptr);
}

void scMenuComandiClie::setOgMenuClient(std::shared_ptr<MenuServer> server)
{
    if (connection_)
        disconnect(connection_);
    if (lostConnection_)
        disconnect(lostConnection_);
    // The link may be released from inside one of the server's own commands ("fine"): the
    // server object stays alive until the event loop is back, so it can still answer.
    std::shared_ptr<MenuMemory> previous = std::exchange(
        mgMenuClient_, server ? std::make_shared<MenuMemory>(std::move(server)) : nullptr);
    if (previous && QCoreApplication::instance()) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), [keep = std::move(previous)] {},
                                  Qt::QueuedConnection);
    }
    if (mgMenuClient_) {
        connection_ = connect(mgMenuClient_.get(), &MenuServer::EseguiComando, this,
                              &scMenuComandiClie::mgMenuClient_EseguiComando, Qt::DirectConnection);
        lostConnection_ = connect(mgMenuClient_.get(), &MenuServer::menuLost, this, [this] { MenuPerso(ctx_); });
    }
}

void scMenuComandiClie::mgMenuClient_EseguiComando(const QString &text1, const QString &text2,
                                                   const QString &command, const QVariant &param,
                                                   QVariant &result)
{
    ultCom_ = command;
    ultParamVar_ = param;
    ultParam_ = param.typeId() == QMetaType::QVariantList || param.typeId() == QMetaType::QStringList
                    ? (param.toList().isEmpty() ? QString() : param.toList().first().toString())
                    : param.toString();
    ElaboraComando(ctx_, text1, text2, command, param, result);
}

} // namespace kem
