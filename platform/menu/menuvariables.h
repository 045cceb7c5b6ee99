#pragma once
// MenuVariables: the menu variables kemora-menu serves. A variable set with MenuVarSet wins for
// the rest of the session; otherwise company variables come from [Variabili] and personal
// parameters ("Personal." + section + ".§" + key) from [Personali] of kemora-menu.ini. Two
// variables are the menu's own unless configured: "MenuProcId" (this process) and
// "Terminale" (the host name). Names ignore case.
#include "platform/menu/menuconfig.h"

#include <QHash>
#include <QString>
#include <optional>

namespace kem {

class MenuVariables {
public:
    explicit MenuVariables(const MenuConfig &config) : config_(config) {}

    std::optional<QString> value(const QString &name) const;
    void set(const QString &name, const QString &value);

private:
    const MenuConfig &config_;
    QHash<QString, QString> overrides_; // lower-case name -> value
};

} // namespace kem
