#pragma once
// MenuMemory: the menu as the module sees it. Every operation goes to the menu server it wraps
// while that menu is there, and what the menu answered is remembered: the variables read or
// set, the answers of its functions, the main ini and the current launch. When the menu goes
// away (the wrapped server's menuLost) the module may still have forms open; from then on the
// operations answer from what is remembered, so that those forms go on working until they are
// closed, instead of failing on every call:
//   MenuVar           the value last read or set; a variable never read reads as missing;
//   MenuCall          the answer last given to the same function, scope and parameter, else an
//                     empty text; "MsgBox" throws MenuError (Disconnected), so that the caller
//                     shows its message itself;
//   MenuIniPath, MenuLaunchParams   the last answers;
//   MenuVarSet        remembered for later reads;
//   the window and registration operations do nothing.
// Errors the menu raises while it is there reach the caller as they are. menuLost is emitted
// once, after the wrapped server's.
#include "platform/menu/menuserver.h"

#include <QHash>
#include <memory>
#include <optional>

namespace kem {

class MenuMemory : public MenuServer {
    Q_OBJECT
public:
    explicit MenuMemory(std::shared_ptr<MenuServer> menu, QObject *parent = nullptr);
    ~MenuMemory() override;

    // True once the menu has gone away.
    bool lost() const { return lost_; }
    MenuServer &menu() const { return *menu_; }

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
    // A variable as the menu answered it: the answer and the default it was asked with (an
    // answer equal to that default may mean the variable is missing).
    struct Answer {
        QString value;
        QString def;
    };
    void onLost();

    std::shared_ptr<MenuServer> menu_;
    bool lost_ = false;
    QHash<QString, Answer> vars_;       // lower-case name -> last answer
    QHash<QString, QVariant> calls_;    // CallKey() -> last answer
    std::optional<QString> iniPath_;
    LaunchParams launch_;
};

} // namespace kem
