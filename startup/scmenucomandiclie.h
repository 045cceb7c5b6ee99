#pragma once
// scMenuComandiClie: holds the menu server (mgMenuClient) and receives its EseguiComando
// event, remembering the last command and parameter before handing them to the command
// processor. The server is held through a MenuMemory, so that the forms still open when the
// menu goes away go on with what the menu said; the loss itself goes to MenuPerso.
#include "platform/menu/menumemory.h"
#include "platform/menu/menuserver.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>

namespace kem {

class ProgramContext;

class scMenuComandiClie : public QObject {
    Q_OBJECT
public:
    scMenuComandiClie(ProgramContext &ctx, std::shared_ptr<MenuServer> server,
                      QObject *parent = nullptr);
    ~scMenuComandiClie() override;

    MenuServer *ogMenuClient() const { return mgMenuClient_.get(); }
    void setOgMenuClient(std::shared_ptr<MenuServer> server);

    QString UltCom() const { return ultCom_; }
    QString UltParam() const { return ultParam_; }
    QVariant UltParamVar() const { return ultParamVar_; }

    void mgMenuClient_EseguiComando(const QString &text1, const QString &text2,
                                    const QString &command, const QVariant &param,
                                    QVariant &result);

private:
    ProgramContext &ctx_;
    std::shared_ptr<MenuMemory> mgMenuClient_;
    QMetaObject::Connection connection_;
    QMetaObject::Connection lostConnection_;
    QString ultCom_;
    QString ultParam_;
    QVariant ultParamVar_;
};

} // namespace kem
