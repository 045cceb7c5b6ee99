#include "apps/kemora-menu/menuhost.h"

#include "platform/menu/menuprotocol.h"
#include "apps/kemora-menu/menusession.h"

#include <QCoreApplication>
#include <QRandomGenerator>

namespace kem {

namespace {
QVariant Arg(const QVariantList &args, int i)
{
    return i < args.size() ? args.at(i) : QVariant();
}

QString Text(const QVariantList &args, int i)
{
    return Arg(args, i).toString();
}

QString Describe(const QVariant &v)
{
    if (!v.isValid())
        return QStringLiteral("-");
    if (v.typeId() == QMetaType::QVariantList) {
        QStringList parts;
        for (const QVariant &e : v.toList())
            parts.append(Describe(e));
        return QLatin1Char('(') + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return QLatin1Char('"') + v.toString() + QLatin1Char('"');
}

// Passwords never reach the log.
bool Secret(const QString &op, const QVariantList &args)
{
    if (op != QLatin1String("MenuVar") && op != QLatin1String("MenuVarSet"))
        return false;
    const QString name = Text(args, 0);
    return name.contains(QLatin1String("pwd"), Qt::CaseInsensitive) ||
           name.contains(QLatin1String("password"), Qt::CaseInsensitive);
}
} // namespace

MenuHost::MenuHost(const MenuConfig &config, QObject *parent)
    : QObject(parent), config_(config), vars_(config_), db_(config_.menuDbPath()),
      functions_(config_, db_)
{
    functions_.setLog([this](const QString &line) { log(line); });
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &MenuHost::onNewConnection);
}

MenuHost::~MenuHost()
{
    for (MenuSession *s : std::as_const(sessions_))
        s->disconnect(this);
    server_.close();
}

bool MenuHost::listen(QString *error)
{
    const QString name = QStringLiteral("kemora-menu-%1-%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    if (!server_.listen(name)) {
        *error = QStringLiteral("Impossibile aprire il socket del menu \"%1\": %2")
                     .arg(name, server_.errorString());
        return false;
    }
    log(QStringLiteral("Menu in ascolto su %1 (azienda %2)").arg(server_.fullServerName(), config_.companyDir()));
    return true;
}

QString MenuHost::socketName() const
{
    return server_.serverName();
}

QList<MenuHost::Program> MenuHost::programs() const
{
    QList<Program> out;
    for (const MenuSession *s : sessions_) {
        out.append({s->id(), s->registration.registered, s->registration.programKey,
                    s->registration.extraText});
    }
    std::sort(out.begin(), out.end(), [](const Program &a, const Program &b) { return a.session < b.session; });
    return out;
}

int MenuHost::sessionFor(const QString &programKey) const
{
    for (const Program &p : programs()) {
        if (p.registered && p.programKey.compare(programKey, Qt::CaseInsensitive) == 0)
            return p.session;
    }
    return 0;
}

QString MenuHost::launchKey(const QString &programKey, const QString &key) const
{
    return programKey.trimmed().toLower() + QLatin1Char('\n') + key.trimmed().toLower();
}

void MenuHost::storeLaunch(const QString &programKey, const QString &key, const LaunchParams &params)
{
    launches_.insert(launchKey(programKey, key), params);
}

qint64 MenuHost::sendCommand(int session, const QString &text1, const QString &text2,
                             const QString &command, const QVariant &param)
{
    MenuSession *s = sessions_.value(session);
    if (!s)
        return 0;
    const qint64 id = s->sendCommand(text1, text2, command, param);
    log(QStringLiteral("[%1] -> EseguiComando %2 %3 (text2 %4)")
            .arg(session)
            .arg(command, Describe(param), Describe(text2)));
    return id;
}

QHash<int, qint64> MenuHost::closeAll()
{
    QHash<int, qint64> asked;
    for (MenuSession *s : std::as_const(sessions_))
        asked.insert(s->id(), sendCommand(s->id(), QString(), QString(), QStringLiteral("fine"), QVariant()));
    return asked;
}

void MenuHost::log(const QString &line)
{
    emit logLine(line);
}

void MenuHost::onNewConnection()
{
    while (QLocalSocket *socket = server_.nextPendingConnection()) {
        auto *s = new MenuSession(++lastSession_, socket, this);
        sessions_.insert(s->id(), s);
        connect(s, &MenuSession::callReceived, this, &MenuHost::onCall);
        connect(s, &MenuSession::answerReceived, this, [this](MenuSession *from, qint64 id, const QVariant &r) {
            log(QStringLiteral("[%1] <- risposta %2").arg(from->id()).arg(Describe(r)));
            emit commandAnswered(from->id(), id, r);
        });
        connect(s, &MenuSession::protocolError, this, [this](MenuSession *from, const QString &e) {
            log(QStringLiteral("[%1] errore di protocollo: %2").arg(from->id()).arg(e));
        });
        connect(s, &MenuSession::closed, this, [this](MenuSession *from) {
            log(QStringLiteral("[%1] collegamento chiuso").arg(from->id()));
            sessions_.remove(from->id());
            for (qint64 id : from->pendingCommands())
                emit commandLost(from->id(), id);
            from->deleteLater();
            emit programsChanged();
        });
        log(QStringLiteral("[%1] nuovo collegamento").arg(s->id()));
        emit programsChanged();
    }
}

void MenuHost::onCall(MenuSession *s, qint64 id, const QString &op, const QVariantList &args)
{
    try {
        const QVariant result = dispatch(*s, op, args);
        s->reply(id, result);
        if (Secret(op, args))
            log(QStringLiteral("[%1] %2(\"%3\", ***)").arg(s->id()).arg(op, Text(args, 0)));
        else
            log(QStringLiteral("[%1] %2%3 = %4").arg(s->id()).arg(op, Describe(args), Describe(result)));
    } catch (const std::exception &e) {
        const QString why = QString::fromUtf8(e.what());
        s->fail(id, why);
        log(QStringLiteral("[%1] %2%3 errore: %4").arg(s->id()).arg(op, Describe(args), why));
    }
}

QString MenuHost::menuVar(const QString &name, const QString &def)
{
    QString statement;
    QStringList columns;
    if (ParseGetParamDbMenu(name, &statement, &columns)) {
        const std::optional<QStringList> row = db_.firstRow(statement, columns);
        return MenuVarAnswer(row.has_value(), row ? row->join(QStringLiteral("§~")) : QString(), def);
    }
    if (name.compare(QLatin1String("ChiediPwdSql"), Qt::CaseInsensitive) == 0) {
        QString login = vars_.value(QStringLiteral("SqlLogin")).value_or(QString());
        QString password = vars_.value(QStringLiteral("SqlPwd")).value_or(QString());
        if (!loginPrompt_) {
            log(QStringLiteral("ChiediPwdSql senza finestra: restano le credenziali configurate"));
        } else if (loginPrompt_(&login, &password)) {
            vars_.set(QStringLiteral("SqlLogin"), login);
            vars_.set(QStringLiteral("SqlPwd"), password);
        }
        return login;
    }
    const std::optional<QString> v = vars_.value(name);
    return MenuVarAnswer(v.has_value(), v.value_or(QString()), def);
}

QVariant MenuHost::dispatch(MenuSession &s, const QString &op, const QVariantList &args)
{
    if (op == QLatin1String("MenuVar"))
        return menuVar(Text(args, 0), Text(args, 1));
    if (op == QLatin1String("MenuVarSet")) {
        if (Text(args, 0).trimmed().isEmpty())
            throw MenuError(MenuError::Remote, QStringLiteral("MenuVarSet: nome della variabile vuoto"));
        vars_.set(Text(args, 0), Text(args, 1));
        return {};
    }
    if (op == QLatin1String("MenuCall")) {
        if (Text(args, 0).compare(QLatin1String("MsgBox"), Qt::CaseInsensitive) == 0) {
            emit messageRequested(Text(args, 2));
            return QString();
        }
        return functions_.call(Text(args, 0), Text(args, 1), Arg(args, 2));
    }
    if (op == QLatin1String("MenuRegister")) {
        s.registration = {true, Text(args, 0), Text(args, 1).trimmed(), Text(args, 2).trimmed()};
        s.launch = launches_.value(launchKey(s.registration.programKey, s.registration.extraText));
        emit programsChanged();
        return {};
    }
    if (op == QLatin1String("MenuUnregister")) {
        s.registration.registered = false;
        emit programsChanged();
        return {};
    }
    if (op == QLatin1String("MenuIniPath"))
        return config_.iniPath();
    if (op == QLatin1String("MenuLaunchParams"))
        return menuproto::LaunchParamsToMap(s.launch);
    if (op == QLatin1String("MenuLaunchSelect")) {
        const auto it = launches_.constFind(launchKey(s.registration.programKey, Text(args, 0)));
        if (it == launches_.constEnd()) {
            throw MenuError(MenuError::Remote,
                            QStringLiteral("Nessun lancio registrato con chiave \"%1\"").arg(Text(args, 0)));
        }
        s.launch = *it;
        return {};
    }
    if (op == QLatin1String("MenuKeyRelease")) {
        launches_.remove(launchKey(s.registration.programKey, Text(args, 0)));
        return {};
    }
    if (op == QLatin1String("MenuActivate")) {
        emit activateRequested();
        return {};
    }
    if (op == QLatin1String("MenuReturnTo")) {
        const int target = Text(args, 0).trimmed().isEmpty() ? 0 : sessionFor(Text(args, 0));
        if (target == 0 || target == s.id())
            emit activateRequested();
        else
            sendCommand(target, QString(), Text(args, 1), QStringLiteral("ritornoa"), Text(args, 2));
        return {};
    }
    if (op == QLatin1String("MenuPassaA")) {
        emit passaAOffered(s.id(), Text(args, 0), Text(args, 1), Arg(args, 2));
        return {};
    }
    throw MenuError(MenuError::Remote, QStringLiteral("Operazione del menu sconosciuta: %1").arg(op));
}

} // namespace kem
