#pragma once
// CompanyMenuServer: the menu a run without the main menu works with (a batch run, a test): the
// company variables and personal parameters of DIR/kemora-menu.ini and the menu functions, as
// kemora-menu answers them on that company, without a running menu. Registration, activation
// and the other window operations do nothing.
#include "platform/menu/menuconfig.h"
#include "platform/menu/menudatabase.h"
#include "platform/menu/menufunctions.h"
#include "platform/menu/menuserver.h"
#include "platform/menu/menuvariables.h"

namespace kem {

class CompanyMenuServer : public MenuServer {
public:
    explicit CompanyMenuServer(MenuConfig config)
        : config_(std::move(config)), vars_(config_), menuDb_(config_.menuDbPath()),
          functions_(config_, menuDb_)
    {
    }
    const MenuConfig &config() const { return config_; }

    void MenuActivate(const QString &) override {}
    void MenuUnregister() override {}
    void MenuRegister(const QString &, const QString &, const QString &) override {}
    void MenuReturnTo(const QString &, const QString &, const QString &) override {}
    QVariant MenuCall(const QString &function, const QString &scope, const QVariant &param) override
    {
        return functions_.call(function, scope, param);
    }
    void MenuPassaA(const QString &, const QString &, const QVariant &) override {}
    QString MenuIniPath() override { return config_.iniPath(); }
    LaunchParams MenuLaunchParams() override { return {}; }
    void MenuLaunchSelect(const QString &) override {}
    void MenuKeyRelease(const QString &) override {}
    QString MenuVar(const QString &name, const QString &def) override
    {
        const std::optional<QString> v = vars_.value(name);
        return MenuVarAnswer(v.has_value(), v.value_or(QString()), def);
    }
    void MenuVarSet(const QString &name, const QString &value) override { vars_.set(name, value); }

private:
    MenuConfig config_;
    MenuVariables vars_;
    MenuDatabase menuDb_;
    MenuFunctions functions_;
};

} // namespace kem
