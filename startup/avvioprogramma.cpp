#include "startup/avvioprogramma.h"

#include "common/aziendautil.h"
#include "common/funvarie.h"
#include "startup/connsplash.h"
#include "startup/desktop.h"
#include "startup/frmprincipale.h"
#include "platform/util/kemutil.h"
#include "startup/mainprelvo.h"
#include "startup/programcontext.h"
#include "startup/scmenucomandiclie.h"
#include "startup/sckemutilprg.h"
#include "startup/utilclient.h"
#include "startup/utilprg.h"

#include <new>

namespace kem {

namespace {

const QString kNotRunning = QStringLiteral("Il menu principale non è in esecuzione");
const QString kNotAlone = QStringLiteral("Questo programma non può essere eseguito autonomamente");
const QString kVideo = QStringLiteral("Risoluzione Video");

double IniNumber(const ProgramContext &ctx, const QString &section, const QString &key, const QString &def)
{
    QString value;
    LeggiIniPrg(ctx, section, key, def, value);
    return TextToNum(value);
}

QString IniText(const ProgramContext &ctx, const QString &section, const QString &key, const QString &def)
{
    QString value;
    LeggiIniPrg(ctx, section, key, def, value);
    return value;
}

MenuServer &Menu(ProgramContext &ctx)
{
    MenuServer *menu = ctx.menu();
    if (!menu)
        throw MenuError(MenuError::NotRunning, QStringLiteral("Menu non collegato"));
    return *menu;
}

void HandlerD(ProgramContext &ctx, const QString &number, const QString &description)
{
    if (ctx.dialogs) {
        if (number == NumText(5))
            ctx.dialogs->MessageBox(kNotRunning + QLatin1Char('\n') + kNotAlone, BoxStyle::Critical);
        else if (number == NumText(7))
            ctx.dialogs->MessageBox(QStringLiteral("Memoria esaurita\nChiudere qualche programma e riprovare"),
                                    BoxStyle::Critical);
        else
            ctx.dialogs->MessageBox(QStringLiteral("Errore (") + number + QStringLiteral("): ") + description
                                    + QStringLiteral("\nProbabilmente il menù non è stato avviato correttamente"));
    }
    RichiestaChiusura(ctx);
}

void Message(ProgramContext &ctx, const QString &text)
{
    if (ctx.messages)
        ctx.messages->msgCom(text, {QStringLiteral("&Ok")});
}

} // namespace

void SplitProgramKey(const QString &pSwitch, QString *key, QString *extra)
{
    const QString p = pSwitch.trimmed();
    const int blank = p.indexOf(QLatin1Char(' '));
    if (blank >= 0) {
        *key = p.left(blank);
        *extra = p.mid(blank + 1);
    } else {
        *key = p;
        extra->clear();
    }
}

double ScreenFactor(QSize screen)
{
    const float w = float(screen.width()) / 800.0f;
    const float h = float(screen.height()) / 600.0f;
    const double f = RoundNum(ListMin({double(w), double(h)}), QStringLiteral("A"), 1, 2);
    return f == 0 ? 1.0 : f;
}

void LeggiFattoriVideo(ProgramContext &ctx)
{
    StartupState &s = ctx.start;
    s.factorGeneral = IniNumber(ctx, kVideo, QStringLiteral("Generale"), QStringLiteral("0"));
    s.factorBase = s.factorGeneral != -2 ? s.factorGeneral
                                         : IniNumber(ctx, kVideo, QStringLiteral("PersBase"), QStringLiteral("0"));
    const QSize screen = ctx.desktop ? ctx.desktop->ScreenSize() : QSize(800, 600);
    auto factor = [&](const QString &key) {
        double f = IniNumber(ctx, kVideo, key, QStringLiteral("-2"));
        if (f == -2)
            f = s.factorGeneral != -2 ? s.factorGeneral : s.factorBase;
        if (f == 0 || f == -2)
            f = ScreenFactor(screen);
        return f;
    };
    s.factorPreview = factor(QStringLiteral("StaVid"));
    s.factorHelp = factor(QStringLiteral("Help"));
    s.factorMessage = factor(QStringLiteral("MsgCom"));
}

QString CartellaImmagini(const ProgramContext &ctx)
{
    QString dir;
    if (LeggiIniPrg(ctx, QStringLiteral("Base"), QStringLiteral("DirImgEmail"), QString(), dir) == QLatin1String("0"))
        LeggiIniPrg(ctx, QStringLiteral("Base"), QStringLiteral("DirImmagini"), QString(), dir);
    if (dir.isEmpty() || IsAbsolutePathName(dir))
        return dir;
    QString drive;
    LeggiIniPrgPath(ctx, QStringLiteral("Base"), QStringLiteral("DriveDB"), QString(), drive);
    return PathJoin(QString(), drive, dir);
}

void VisualizzaVersione(ProgramContext &ctx, bool load, bool showAccessImage)
{
    ConnSplash *s = ctx.splash;
    if (!s)
        return;
    if (load)
        s->Load();
    if (!s->isLoaded())
        return;
    s->setVersion(QStringLiteral("Versione ") + MenuVarText(ctx, QStringLiteral("Versione")));
    s->setVersionDate(QStringLiteral("del ") + MenuVarText(ctx, QStringLiteral("DataVersione")));
    s->setAccessImageVisible(showAccessImage);
}

void AvvioProgramma(ProgramContext &ctx, qint32 programId, const QString &programIdText)
{
    StartupState &s = ctx.start;
    s.programId = programId;
    s.programIdText = programIdText;

    // 1. command line
    s.menuIdentity = CmdSwitch(ctx.commandLine, QLatin1Char('M')).trimmed();
    SplitProgramKey(CmdSwitch(ctx.commandLine, QLatin1Char('P')), &s.programKey, &s.programExtra);

    // 2. main form
    if (!ctx.mainForm)
        ctx.mainForm = std::make_unique<frmPrincipale>(ctx);

    // 3. menu connection (handler A)
    try {
        if (!ctx.connectMenu)
            throw MenuError(MenuError::NotRunning, QStringLiteral("Nessun menu"));
        std::shared_ptr<MenuServer> server = ctx.connectMenu(s.menuIdentity);
        if (!server)
            throw MenuError(MenuError::NotRunning, QStringLiteral("Nessun menu"));
        ctx.menuClass = std::make_unique<scMenuComandiClie>(ctx, std::move(server));
        MenuServer &menu = Menu(ctx);
        menu.MenuRegister(s.menuIdentity, s.programKey, s.programExtra);
        s.processToken = menu.MenuCall(QStringLiteral("PrepProcCorr"), QStringLiteral("Tutti")).toString();
    } catch (const std::exception &) {
        Message(ctx, kNotRunning + QLatin1Char('\n') + kNotAlone);
        RichiestaChiusura(ctx);
        return;
    }

    // 4. help file (handler B)
    try {
        s.helpFile = CmdSwitch(Menu(ctx).MenuLaunchParams().osParam, QLatin1Char('H')).trimmed();
    } catch (const std::exception &) {
        Message(ctx, QStringLiteral("Problemi col collegamento col menù\nForse questo programma non è stato lanciato correttamente"));
        RichiestaChiusura(ctx);
        return;
    }

    // 5 .. 15 (handler D)
    try {
        MenuServer &menu = Menu(ctx);
        ctx.conn.mainIniPath = menu.MenuIniPath();
        VisualizzaVersione(ctx, true, true);
        s.companyDbName = MenuVarText(ctx, QStringLiteral("NomeDBAzie"));
        s.companyConnect = MenuVarText(ctx, QStringLiteral("ConnectDBAzie"));

        // 6. company database
        ctx.companyDb = ctx.makeDatabase();
        ApriDbOptions o;
        o.iniFile = QStringLiteral("kemwin.ini");
        o.installIni = ctx.places.installIni;
        o.nameFromCaller = true;
        o.callerName = s.companyDbName;
        o.callerConnect = s.companyConnect;
        o.openNow = true;
        o.unloadSplash = false;
        o.accessImage = -1;
        QString result;
        if (ApriDbAzienda(ctx, *ctx.companyDb, result, o) != 0) {
            RichiestaChiusura(ctx);
            return;
        }
        ctx.conn.connectionResult = result;
        if (IsBlank(result, VarKind::Text) || result.left(4) == QLatin1String("Err:")) {
            RichiestaChiusura(ctx);
            return;
        }

        // 7. company parameters
        Database *db = ctx.database();
        if (!db)
            throw DbError(3000, QStringLiteral("Database dell'azienda non disponibile"));
        CaricaParametriAzienda(menu, *db, 0, IniContext{ctx.conn.mainIniPath, ctx.conn.companyIni},
                               s.programKey, ctx.params);
        // The auxiliary connection on the company database that the parameters ask for.
        ctx.companyDao = DaoConnect(s.companyDbName, MenuVarText(ctx, QStringLiteral("SqlLogin")),
                                    MenuVarText(ctx, QStringLiteral("SqlPwd")), ctx.conn.companyPwd);

        // 8. screen factors
        LeggiFattoriVideo(ctx);

        // 9. image directory
        s.imageDir = CartellaImmagini(ctx);

        // 10. help component
        ctx.help = std::make_unique<scKemUtilPrg>(ctx);
        KemAiuto *aiuto = ctx.help->ogKemAiuto();
        aiuto->Settings().odRisVid = s.factorHelp;
        aiuto->Init(ctx.mainForm.get(), &menu, db, ctx.conn.connectionResult);
        const QString spost = PersonalParam(menu, QStringLiteral("Help"), QStringLiteral("HlpSpost"), QString());
        if (!IsBlank(spost, VarKind::Text)) {
            aiuto->Window().obLockSpostaCurs = true;
            aiuto->Window().oiSpostaCurs = TextToInt(spost);
        }

        // 11. form name
        s.formName = CmdSwitch(ctx.commandLine, QLatin1Char('F')).trimmed();

        // 12. segment registration
        const double versMenu = TextToNum(MenuVarText(ctx, QStringLiteral("VersMenu")));
        const QVariant id = programId == -1 ? QVariant(programIdText) : QVariant(programId);
        if (versMenu >= 1.07) {
            s.processToken = menu.MenuCall(QStringLiteral("AddSeg"), QStringLiteral("Tutti"),
                                           QVariantList{id, s.processToken}).toString();
        } else {
            menu.MenuCall(QStringLiteral("AddSeg"), QStringLiteral("Tutti"), QVariant(programId));
        }

        // 13. interface settings
        s.beepCome = IniText(ctx, QStringLiteral("Parametri Generali"), QStringLiteral("BeepCome"), QString());
        s.lisSpostaCurs = IniText(ctx, QStringLiteral("Config"), QStringLiteral("LisSpostaCurs"), QStringLiteral("N")).toUpper() == QLatin1String("S");
        s.lisClickNoSel = IniText(ctx, QStringLiteral("Config"), QStringLiteral("LisClickNoSel"), QStringLiteral("N")).toUpper() == QLatin1String("S");

        // 14. minimum date
        s.dataMinima = PersonalParam(menu, QStringLiteral("Tutti"), QStringLiteral("DataMinima"), QStringLiteral("01/01/1900"));

        // 15. the first form
        if (ctx.beforeFirstForm)
            ctx.beforeFirstForm(ctx);
        const LaunchParams lp = menu.MenuLaunchParams();
        FormDispatcher(ctx, s.formName, true, s.programExtra, lp.osChiLancia, lp.osKeySecLancia, lp.osParamLancia);
        if (ctx.splash)
            ctx.splash->Unload();
    } catch (const std::bad_alloc &) {
        HandlerD(ctx, NumText(7), QString());
    } catch (const std::exception &e) {
        const ErrorInfo err = ErrorInfoFrom(e);
        HandlerD(ctx, err.number, err.description);
    }
}

} // namespace kem
