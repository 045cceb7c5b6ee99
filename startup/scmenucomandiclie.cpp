#include "scmenucomandiclie.h"

#include "utilclient.h"

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
    mgMenuClient_ = std::move(server);
    if (mgMenuClient_) {
        connection_ = connect(mgMenuClient_.get(), &MenuServer::EseguiComando, this,
                              &scMenuComandiClie::mgMenuClient_EseguiComando, Qt::DirectConnection);
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
