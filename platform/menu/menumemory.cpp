#include "platform/menu/menumemory.h"

#include <QStringList>

namespace kem {

namespace {

// The same function asked with the same scope and parameter.
QString CallKey(const QString &function, const QString &scope, const QVariant &param)
{
    QStringList parts{function.trimmed().toLower(), scope.trimmed().toLower()};
    if (param.typeId() == QMetaType::QVariantList || param.typeId() == QMetaType::QStringList) {
        for (const QVariant &v : param.toList())
            parts << v.toString();
    } else {
        parts << param.toString();
    }
    return parts.join(QLatin1Char('\n'));
}

} // namespace

MenuMemory::MenuMemory(std::shared_ptr<MenuServer> menu, QObject *parent)
    : MenuServer(parent), menu_(std::move(menu))
{
    connect(menu_.get(), &MenuServer::EseguiComando, this,
            [this](const QString &text1, const QString &text2, const QString &command,
                   const QVariant &param, QVariant &result) {
                emit EseguiComando(text1, text2, command, param, result);
            },
            Qt::DirectConnection);
    connect(menu_.get(), &MenuServer::menuLost, this, &MenuMemory::onLost);
}

MenuMemory::~MenuMemory()
{
    menu_->disconnect(this);
}

void MenuMemory::onLost()
{
    if (lost_)
        return;
    lost_ = true;
    emit menuLost();
}

void MenuMemory::MenuActivate(const QString &scope)
{
    if (!lost_)
        menu_->MenuActivate(scope);
}

void MenuMemory::MenuUnregister()
{
    if (!lost_)
        menu_->MenuUnregister();
}

void MenuMemory::MenuRegister(const QString &menuIdentity, const QString &programKey,
                              const QString &extraText)
{
    if (!lost_)
        menu_->MenuRegister(menuIdentity, programKey, extraText);
}

void MenuMemory::MenuReturnTo(const QString &launcherKey, const QString &secondaryKey,
                              const QString &param)
{
    if (!lost_)
        menu_->MenuReturnTo(launcherKey, secondaryKey, param);
}

QVariant MenuMemory::MenuCall(const QString &function, const QString &scope, const QVariant &param)
{
    const QString key = CallKey(function, scope, param);
    if (lost_) {
        if (function.trimmed().compare(QLatin1String("MsgBox"), Qt::CaseInsensitive) == 0)
            throw MenuError(MenuError::Disconnected, QStringLiteral("Il menu non è più collegato (MsgBox)"));
        const auto it = calls_.constFind(key);
        return it != calls_.constEnd() ? *it : QVariant(QString());
    }
    const QVariant answer = menu_->MenuCall(function, scope, param);
    calls_.insert(key, answer);
    return answer;
}

void MenuMemory::MenuPassaA(const QString &formTitle, const QString &formName, const QVariant &value)
{
    if (!lost_)
        menu_->MenuPassaA(formTitle, formName, value);
}

QString MenuMemory::MenuIniPath()
{
    if (lost_)
        return iniPath_.value_or(QString());
    iniPath_ = menu_->MenuIniPath();
    return *iniPath_;
}

LaunchParams MenuMemory::MenuLaunchParams()
{
    if (!lost_)
        launch_ = menu_->MenuLaunchParams();
    return launch_;
}

void MenuMemory::MenuLaunchSelect(const QString &key)
{
    if (!lost_)
        menu_->MenuLaunchSelect(key);
}

void MenuMemory::MenuKeyRelease(const QString &key)
{
    if (!lost_)
        menu_->MenuKeyRelease(key);
}

QString MenuMemory::MenuVar(const QString &name, const QString &def)
{
    const QString key = name.trimmed().toLower();
    if (!lost_) {
        const QString value = menu_->MenuVar(name, def);
        vars_.insert(key, {value, def});
        return value;
    }
    const auto it = vars_.constFind(key);
    if (it == vars_.constEnd() || it->value == MenuMissingMarker)
        return MenuVarAnswer(false, QString(), def);
    // An answer equal to the default it was asked with may stand for a missing variable: it
    // holds for the same default only.
    if (it->value == it->def && it->def != def)
        return MenuVarAnswer(false, QString(), def);
    return it->value;
}

void MenuMemory::MenuVarSet(const QString &name, const QString &value)
{
    if (!lost_)
        menu_->MenuVarSet(name, value);
    // A value set is known whatever default a later read brings.
    vars_.insert(name.trimmed().toLower(), {value, MenuMissingMarker});
}

} // namespace kem
