#include "platform/menu/fakemenuserver.h"

namespace kem {

FakeMenuServer::FakeMenuServer(QObject *parent) : MenuServer(parent) {}

void FakeMenuServer::setVar(const QString &name, const QString &value)
{
    vars_.insert(name.toLower(), value);
}

void FakeMenuServer::removeVar(const QString &name)
{
    vars_.remove(name.toLower());
}

void FakeMenuServer::setPersonal(const QString &section, const QString &key, const QString &value)
{
    setVar(PersonalVarName(section, key), value);
}

void FakeMenuServer::setLaunchParams(const QString &key, const LaunchParams &params)
{
    launches_.insert(key.toLower(), params);
}

void FakeMenuServer::setCallResult(const QString &function, const QVariant &result)
{
    results_.insert(function.toLower(), result);
}

void FakeMenuServer::failOn(const QString &op, MenuError::Kind kind, const QString &description)
{
    failures_.insert(op, {kind, description.isEmpty()
                                    ? QStringLiteral("Errore simulato in %1").arg(op)
                                    : description});
}

void FakeMenuServer::loseMenu()
{
    if (lost_)
        return;
    lost_ = true;
    QMetaObject::invokeMethod(this, [this] { emit menuLost(); }, Qt::QueuedConnection);
}

QList<FakeMenuServer::Call> FakeMenuServer::callsTo(const QString &op) const
{
    QList<Call> out;
    for (const Call &c : calls_) {
        if (c.op == op)
            out.append(c);
    }
    return out;
}

std::optional<QString> FakeMenuServer::var(const QString &name) const
{
    const auto it = vars_.constFind(name.toLower());
    if (it == vars_.constEnd())
        return std::nullopt;
    return *it;
}

QVariant FakeMenuServer::pushCommand(const QString &command, const QVariant &param,
                                     const QString &text2, const QString &text1)
{
    QVariant result;
    emit EseguiComando(text1, text2, command, param, result);
    return result.isValid() ? result : QVariant(QString());
}

void FakeMenuServer::record(const QString &op, const QVariantList &args)
{
    calls_.append({op, args});
    if (lost_)
        throw MenuError(MenuError::Disconnected, QStringLiteral("Il menu non è più collegato (%1)").arg(op));
    const auto it = failures_.constFind(op);
    if (it != failures_.constEnd())
        throw MenuError(it->first, it->second);
}

void FakeMenuServer::MenuActivate(const QString &scope)
{
    record(QStringLiteral("MenuActivate"), {scope});
}

void FakeMenuServer::MenuUnregister()
{
    record(QStringLiteral("MenuUnregister"), {});
    registered_ = false;
}

void FakeMenuServer::MenuRegister(const QString &menuIdentity, const QString &programKey,
                                  const QString &extraText)
{
    record(QStringLiteral("MenuRegister"), {menuIdentity, programKey, extraText});
    registered_ = true;
}

void FakeMenuServer::MenuReturnTo(const QString &launcherKey, const QString &secondaryKey,
                                  const QString &param)
{
    record(QStringLiteral("MenuReturnTo"), {launcherKey, secondaryKey, param});
}

QVariant FakeMenuServer::MenuCall(const QString &function, const QString &scope,
                                  const QVariant &param)
{
    record(QStringLiteral("MenuCall"), {function, scope, param});
    const auto it = results_.constFind(function.toLower());
    if (it != results_.constEnd())
        return *it;
    if (handler_)
        return handler_(function, scope, param);
    return QString();
}

void FakeMenuServer::MenuPassaA(const QString &formTitle, const QString &formName,
                                const QVariant &value)
{
    record(QStringLiteral("MenuPassaA"), {formTitle, formName, value});
}

QString FakeMenuServer::MenuIniPath()
{
    record(QStringLiteral("MenuIniPath"), {});
    return iniPath_;
}

LaunchParams FakeMenuServer::MenuLaunchParams()
{
    record(QStringLiteral("MenuLaunchParams"), {});
    return current_;
}

void FakeMenuServer::MenuLaunchSelect(const QString &key)
{
    record(QStringLiteral("MenuLaunchSelect"), {key});
    const auto it = launches_.constFind(key.toLower());
    if (it == launches_.constEnd())
        throw MenuError(MenuError::Remote,
                        QStringLiteral("Nessun lancio registrato con chiave \"%1\"").arg(key));
    current_ = *it;
}

void FakeMenuServer::MenuKeyRelease(const QString &key)
{
    record(QStringLiteral("MenuKeyRelease"), {key});
    launches_.remove(key.toLower());
}

QString FakeMenuServer::MenuVar(const QString &name, const QString &def)
{
    record(QStringLiteral("MenuVar"), {name, def});
    const std::optional<QString> v = var(name);
    return MenuVarAnswer(v.has_value(), v.value_or(QString()), def);
}

void FakeMenuServer::MenuVarSet(const QString &name, const QString &value)
{
    record(QStringLiteral("MenuVarSet"), {name, value});
    setVar(name, value);
}

} // namespace kem
