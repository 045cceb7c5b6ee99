#include "startup/utilprg.h"

#include "startup/connsplash.h"
#include "startup/dbcomponent.h"
#include "common/aziendautil.h"
#include "common/funvarie.h"
#include "platform/db/kemdb.h"
#include "platform/util/kemutil.h"
#include "startup/programcontext.h"
#include "startup/startupdialogs.h"
#include "startup/utilclient.h"

#include <QDir>

namespace kem {

namespace {

const QString kIniMissing = QStringLiteral("File di inizializzazioni: ");

void Critical(ProgramContext &ctx, const QString &text)
{
    if (ctx.dialogs)
        ctx.dialogs->MessageBox(text, BoxStyle::Critical);
}

int Fail(ProgramContext &ctx, const QString &text)
{
    Critical(ctx, text);
    RilasciaRisorse(ctx);
    return -1;
}

QString OpenErrorText(const QString &number, const QString &description)
{
    return QStringLiteral("Errore ") + QLatin1Char(' ') + number
           + QStringLiteral(" nell'apertura del database.\nCorreggere e riprovare. (") + description
           + QStringLiteral(") ");
}

QString NomeDbMissingText(const QString &mainIni)
{
    return kIniMissing + QLatin1Char('\n') + mainIni + QLatin1Char('\n') + QStringLiteral(" non trovato ")
           + QStringLiteral(" o con informazioni non corrette.") + QLatin1Char('\n')
           + QStringLiteral("Correggere e rieseguire il programma.");
}

QString InDir(const QString &dir, const QString &file)
{
    return QDir(dir).filePath(file);
}

void SetLogin(ProgramContext &ctx, DbComponent &db)
{
    db.DbParamSet(QStringLiteral("DbSqlPubUID"), MenuVarText(ctx, QStringLiteral("SqlLogin")));
    db.DbParamSet(QStringLiteral("DbSqlPubPWD"), MenuVarText(ctx, QStringLiteral("SqlPwd")));
}

void AskLogin(ProgramContext &ctx)
{
    if (MenuServer *menu = ctx.menu())
        menu->MenuVar(QStringLiteral("ChiediPwdSql"));
}

// Runs `open`; a damaged file is offered for repair and the open runs again after a good
// repair. Returns false after the failure message (the caller releases and returns -1).
template <typename Open>
bool OpenRepairing(ProgramContext &ctx, const QString &name, Open open)
{
    for (;;) {
        try {
            open();
            return true;
        } catch (const DbError &e) {
            if (e.number() == 3343 && ctx.dialogs
                && ctx.dialogs->AskOkCancel(QStringLiteral("Errore nell'apertura del database ") + name
                                            + QStringLiteral("\nVuoi tentare di recuperarlo"))
                && ctx.repairDatabase && ctx.repairDatabase(name) == 0) {
                continue;
            }
            Critical(ctx, OpenErrorText(QString::number(e.number()), e.description()));
            return false;
        }
    }
}

} // namespace

bool IsOdbcName(const QString &name)
{
    return name.left(5).toUpper() == QLatin1String("ODBC;");
}

bool IsDataSourceName(const QString &name)
{
    return IsOdbcName(name) || name.right(4).toLower() == QLatin1String(".dsn")
           || !name.contains(QLatin1Char('.'));
}

bool IsFileDatabase(const QString &name)
{
    return !IsOdbcName(name) && name.contains(QLatin1Char('.'));
}

bool NeedsLogin(const QString &name)
{
    return !IsOdbcName(name) && IsDataSourceName(name);
}

std::optional<QString> IniKey(const QString &file, const QString &section, const QString &key)
{
    QString value;
    IniRead(file, section, key, MenuMissingMarker, value);
    if (value == MenuMissingMarker)
        return std::nullopt;
    return value;
}

QString LeggiIniPrg(const ProgramContext &ctx, const QString &section, const QString &key,
                    const QString &def, QString &value)
{
    return IniContext{ctx.conn.mainIniPath, ctx.conn.companyIni}.read(section, key, def, value);
}

QString LeggiIniPrgPath(const ProgramContext &ctx, const QString &section, const QString &key,
                        const QString &def, QString &value)
{
    return IniContext{ctx.conn.mainIniPath, ctx.conn.companyIni}.readPath(section, key, def, value);
}

QString MenuVarText(ProgramContext &ctx, const QString &name, const QString &def)
{
    MenuServer *menu = ctx.menu();
    if (!menu)
        throw MenuError(MenuError::NotRunning, QStringLiteral("Menu non collegato"));
    const QString v = CompanyVar(*menu, name);
    return v.isEmpty() ? def : v;
}

QString CercaIniPrincipale(const ProgramContext &ctx, const ApriDbOptions &o)
{
    const QString ini = o.iniFile;
    QStringList candidates;
    candidates.append(CmdSwitch(ctx.commandLine, QLatin1Char('I')).trimmed());
    const QString installIni = o.installIni.trimmed().isEmpty() ? ctx.places.installIni : o.installIni;
    if (const auto setup = IniKey(installIni, QStringLiteral("Setup"), QStringLiteral("IniPrincipale")))
        candidates.append(setup->trimmed());
    if (!o.extraDir1.trimmed().isEmpty())
        candidates.append(InDir(o.extraDir1, ini));
    if (!o.extraDir2.trimmed().isEmpty())
        candidates.append(InDir(o.extraDir2, ini));
    if (!ctx.places.windowsDir.isEmpty())
        candidates.append(InDir(ctx.places.windowsDir, ini));
    if (!ctx.places.applicationDir.isEmpty())
        candidates.append(InDir(InDir(ctx.places.applicationDir, QStringLiteral("main")), ini));
    if (!ctx.places.currentDir.isEmpty())
        candidates.append(InDir(ctx.places.currentDir, ini));
    if (!ctx.places.applicationDir.isEmpty())
        candidates.append(InDir(ctx.places.applicationDir, ini));
    for (const QString &c : std::as_const(candidates)) {
        if (!c.isEmpty() && FileExists(c))
            return c;
    }
    return {};
}

int ApriDbAzienda(ProgramContext &ctx, DbComponent &db, QString &result, const ApriDbOptions &o)
{
    ConnectionState &c = ctx.conn;
    try {
        // 1. company password
        c.companyPwd = MenuVarText(ctx, QStringLiteral("PwdDbAzie"));
        c.companyPwdConn = IsBlank(c.companyPwd, VarKind::Text) ? QString() : QStringLiteral(";pwd=") + c.companyPwd;

        // 2. main ini
        if (c.mainIniPath.trimmed().isEmpty()) {
            c.mainIniPath = CercaIniPrincipale(ctx, o);
            if (c.mainIniPath.isEmpty())
                return Fail(ctx, QStringLiteral("File ini non trovato\nSistemare e rieseguire"));
        }

        for (;;) {
            // 3. configuration choice
            bool numOk = false;
            QString numText;
            IniRead(c.mainIniPath, QStringLiteral("Parametri Generali"), QStringLiteral("NumIni"), QStringLiteral("0"), numText);
            int numIni = numText.trimmed().toInt(&numOk);
            if (!numOk)
                numIni = 0;
            int answer = 0;
            if (numIni >= 1) {
                QString prompt = QStringLiteral("Numero di ini scelto\n(da 0 a %1)").arg(numIni);
                for (int i = 1; i <= numIni; ++i) {
                    prompt += QStringLiteral("\n%1 -> ").arg(i)
                              + IniKey(c.mainIniPath, QStringLiteral("Lista File Ini"),
                                       QString::number(i) + QStringLiteral("OrdIniDBase"))
                                    .value_or(QString());
                }
                const QString typed = ctx.dialogs ? ctx.dialogs->InputBox(prompt, QStringLiteral("Scelta dell'INI"), QStringLiteral("0"))
                                                  : QStringLiteral("0");
                answer = TextToInt(typed);
                if (answer >= 1) {
                    const auto chosen = IniKey(c.mainIniPath, QStringLiteral("Lista File Ini"),
                                               QString::number(answer) + QStringLiteral("OrdIniDBase"));
                    if (chosen)
                        c.companyIni = *chosen;
                    else
                        answer = 0;
                }
            }
            if (numIni < 1 || answer <= 0) {
                const auto ord = IniKey(c.mainIniPath, QStringLiteral("Parametri Generali"), QStringLiteral("OrdIniDBase"));
                if (!ord) {
                    return Fail(ctx, QStringLiteral("File di inizializzazione non trovato\no con informazioni non corrette.\n"
                                                    "Correggere e rieseguire il programma."));
                }
                c.companyIni = *ord;
            }
            const QString visParam = IniKey(c.mainIniPath, QStringLiteral("Parametri Generali"), QStringLiteral("VisParam")).value_or(QString());

            // 4. connection settings
            if (!o.nameFromCaller) {
                const QString section = o.section.trimmed().isEmpty() ? QStringLiteral("Connessioni") : o.section;
                QString name;
                if (LeggiIniPrg(ctx, section, QStringLiteral("NomeDB"), MenuMissingMarker, name) == QLatin1String("0")
                    && name == MenuMissingMarker) {
                    return Fail(ctx, NomeDbMissingText(c.mainIniPath));
                }
                c.dbName = name;
                if (o.resolveDrive) {
                    LeggiIniPrgPath(ctx, section, QStringLiteral("DriveDB"), QString(), c.drive);
                    c.directory.clear();
                    if (section.compare(QLatin1String("Connessioni"), Qt::CaseInsensitive) == 0)
                        LeggiIniPrg(ctx, QStringLiteral("Base"), QStringLiteral("DirDB"), QString(), c.directory);
                    if (IsFileDatabase(c.dbName))
                        c.dbName = PathJoin(c.dbName, c.drive, c.directory);
                    else
                        c.drive.clear();
                } else {
                    c.drive.clear();
                }
                LeggiIniPrg(ctx, section, QStringLiteral("Connect"), QString(), c.connect);
                LeggiIniPrg(ctx, section, QStringLiteral("Owner"), QString(), c.owner);
                QString exec;
                LeggiIniPrg(ctx, section, QStringLiteral("Exec_option"), QStringLiteral("0"), exec);
                c.execOption = TextToInt(exec);
            } else {
                c.dbName = o.callerName;
                c.connect = o.callerConnect;
            }

            // 5. parameter display
            const QString vis = visParam.trimmed().toUpper();
            if (vis == QLatin1String("TUTTO") || vis == QLatin1String("DB1")) {
                const QString text = QStringLiteral("Parametri letti:\nFile dei parametri: ") + c.companyIni
                                     + QStringLiteral("\nDatabase: ") + c.dbName
                                     + QStringLiteral("\nTipo Connessione: ") + c.connect + QLatin1Char('\n');
                const YesNoCancel a = ctx.dialogs ? ctx.dialogs->AskYesNoCancel(text) : YesNoCancel::Yes;
                if (a == YesNoCancel::No)
                    continue;
                if (a == YesNoCancel::Cancel) {
                    RilasciaRisorse(ctx);
                    return -1;
                }
            }
            break;
        }

        // 6. open
        if (o.openNow) {
            ConnSplash *s = ctx.splash;
            if (s) {
                s->Load();
                if (o.accessImage == -1 || o.accessImage == 1)
                    s->setAccessImageVisible(o.accessImage == -1);
                if (o.titleLabel == -1 || o.titleLabel == 1)
                    s->setTitleVisible(o.titleLabel == -1);
                if (!IsBlank(o.title, VarKind::Text))
                    s->setTitle(o.title);
                if (!IsBlank(o.version, VarKind::Text))
                    s->setVersion(o.version);
                if (!IsBlank(o.versionDate, VarKind::Text))
                    s->setVersionDate(o.versionDate);
                s->setDatabaseName(c.dbName);
                s->ShowModeless(QStringLiteral("Connessione primaria al database"));
            }
            QString opened;
            if (!OpenRepairing(ctx, c.dbName, [&] {
                    opened = ApriDatabase(ctx, db, c.dbName, c.companyPwd, c.connect, o.extra);
                })) {
                RilasciaRisorse(ctx);
                return -1;
            }
            c.connectionResult = opened;
            result = opened;
            if (o.unloadSplash && s)
                s->Unload();
        }

        // 7. menu database password
        c.menuPwd = MenuVarText(ctx, QStringLiteral("AccMenuPwd"));
        c.menuPwdConn = IsBlank(c.menuPwd, VarKind::Text) ? QString() : QStringLiteral(";pwd=") + c.menuPwd;
        return 0;
    } catch (const std::exception &e) {
        const ErrorInfo err = ErrorInfoFrom(e);
        return Fail(ctx, OpenErrorText(err.number, err.description));
    }
}

QString ApriDatabase(ProgramContext &ctx, DbComponent &db, const QString &name, const QString &password,
                     const QString &connect, const QVariant &extra)
{
    const bool login = NeedsLogin(name);
    if (login) {
        if (IsBlank(db.DbParamGet(QStringLiteral("DbSqlPubPWD")), VarKind::Text)) {
            if (IsBlank(MenuVarText(ctx, QStringLiteral("SqlLogin")), VarKind::Text))
                AskLogin(ctx);
            SetLogin(ctx, db);
        }
    } else {
        db.DbParamSet(QStringLiteral("DbAccPWD"), password);
    }
    for (;;) {
        try {
            return db.DbOpen(name, false, false, IsBlank(connect, VarKind::Text) ? QString() : connect, extra);
        } catch (const DbError &e) {
            if (e.number() == 3059 && login) {
                const int button = ctx.messages
                                       ? ctx.messages->msgCom(QStringLiteral("Utente o password non validi per SQL"),
                                                              {QStringLiteral("&Riprovare"), QStringLiteral("&Annulla")}, 2)
                                       : 2;
                if (button == 1) {
                    AskLogin(ctx);
                    SetLogin(ctx, db);
                    continue;
                }
                return QString();
            }
            if (e.number() == 3343)
                throw;
            const QString result = QStringLiteral("Err: ") + QString::number(e.number());
            if (ctx.messages) {
                if (e.number() == 3031)
                    ctx.messages->msgCom(QStringLiteral("Password non valida per questo database"), {QStringLiteral("&Ok")});
                else
                    ctx.messages->MsgErrfrm(QString::number(e.number()), e.description());
            }
            return result;
        }
    }
}

int KemOpenDbMenu(ProgramContext &ctx)
{
    ConnectionState &c = ctx.conn;
    try {
        QString name;
        if (LeggiIniPrg(ctx, QStringLiteral("Menu"), QStringLiteral("NomeDB"), MenuMissingMarker, name) == QLatin1String("0")
            && name == MenuMissingMarker) {
            return Fail(ctx, NomeDbMissingText(c.mainIniPath));
        }
        LeggiIniPrgPath(ctx, QStringLiteral("Menu"), QStringLiteral("DriveDB"), QString(), c.menuDrive);
        if (!IsAbsolutePathName(name))
            name = c.menuDrive + name;
        else
            c.menuDrive.clear();
        c.menuDbName = name;
        LeggiIniPrg(ctx, QStringLiteral("Menu"), QStringLiteral("Connect"), QString(), c.menuConnect);

        if (ctx.splash) {
            ctx.splash->Load();
            ctx.splash->setDatabaseName(name);
            ctx.splash->ShowModeless(QStringLiteral("Connessione database Comune"));
        }
        // The menu database gets its own object: the company connection stays as it is.
        std::unique_ptr<DbComponent> menuDb = ctx.makeDatabase();
        std::unique_ptr<Database> dao;
        QString result;
        if (!OpenRepairing(ctx, name, [&] {
                result = ApriDatabase(ctx, *menuDb, name, c.menuPwd, c.menuConnect);
                dao = DaoConnect(name, MenuVarText(ctx, QStringLiteral("SqlLogin")),
                                 MenuVarText(ctx, QStringLiteral("SqlPwd")), c.menuPwd);
            })) {
            RilasciaRisorse(ctx);
            return -1;
        }
        c.menuConnectionResult = result;
        ctx.menuDb = std::move(menuDb);
        ctx.menuDao = std::move(dao);
        if (ctx.splash)
            ctx.splash->Unload();
        return 0;
    } catch (const std::exception &e) {
        const ErrorInfo err = ErrorInfoFrom(e);
        return Fail(ctx, OpenErrorText(err.number, err.description));
    }
}

DaoPlan DaoConnectPlan(const QString &name, const QString &user, const QString &password,
                       const QString &filePassword)
{
    QString credentials;
    if (!IsBlank(user, VarKind::Text)) {
        credentials = QStringLiteral("UID=") + user;
        if (!IsBlank(password, VarKind::Text))
            credentials += QStringLiteral(";PWD=") + password;
    }
    if (IsOdbcName(name))
        return {name, {}};
    if (name.right(4).toLower() == QLatin1String(".dsn"))
        return {{}, QStringLiteral("ODBC;FIleDSN=") + name + QLatin1Char(';') + credentials};
    if (name.contains(QLatin1Char('.')))
        return {name, IsBlank(filePassword, VarKind::Text) ? QString() : QStringLiteral(";pwd=") + filePassword};
    return {{}, QStringLiteral("ODBC;DSN=") + name + QLatin1Char(';') + credentials};
}

std::unique_ptr<Database> DaoConnect(const QString &name, const QString &user, const QString &password,
                                     const QString &filePassword)
{
    const DaoPlan plan = DaoConnectPlan(name, user, password, filePassword);
    auto db = std::make_unique<Database>();
    db->DbOpen(plan.name, false, false, plan.connect);
    return db;
}

} // namespace kem
