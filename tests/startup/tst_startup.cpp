// The start-up: command line, menu registration, handlers A, B and D, the company database
// through the menu's names, screen factors, image directory, segment registration, settings
// and the form dispatcher, on the demo company with the fake menu.
#include "startup/avvioprogramma.h"
#include "startup/kemaiuto.h"
#include "platform/menu/menumemory.h"
#include "platform/util/kemutil.h"
#include "startup/mainprelvo.h"
#include "startup/sckemutilprg.h"
#include "tests/startup/startupfixture.h"
#include "startup/utilprg.h"

#include <QDir>
#include <QTest>

using namespace kem;
using namespace kem::test;

namespace {

const QString kNotRunning = QStringLiteral("Il menu principale non è in esecuzione\nQuesto programma non può essere eseguito autonomamente");

void WriteFile(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

void AddPassword(const QString &dbPath, const QString &password)
{
    Database raw;
    raw.DbOpen(dbPath);
    raw.DbExecute(QStringLiteral("CREATE TABLE KemAccesso (Id INTEGER PRIMARY KEY, Password TEXT)"));
    raw.DbExecute(QStringLiteral("INSERT INTO KemAccesso (Id, Password) VALUES (1, '") + password + QStringLiteral("')"));
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private:
    // A fixture on the demo company, launched for `form`.
    std::unique_ptr<Fixture> launched(const QString &form = QStringLiteral("frmProva"))
    {
        auto f = std::make_unique<Fixture>();
        if (!f->demo())
            return nullptr;
        f->ctx->commandLine = QStringLiteral("/M menu-test /P DISTINTA frmProva /F ") + form;
        f->menu->setLaunchParams(LaunchParams{f->ctx->commandLine + QStringLiteral(" /H aiuto.chm"),
                                              QStringLiteral("LANCIA"), QStringLiteral("SEC"), QStringLiteral("PAR")});
        f->menu->setCallHandler([](const QString &function, const QString &, const QVariant &param) -> QVariant {
            if (function.compare(QLatin1String("AddSeg"), Qt::CaseInsensitive) == 0 && param.typeId() == QMetaType::QVariantList)
                return param.toList().value(1).toString() + QStringLiteral(".seg");
            return QString();
        });
        return f;
    }
    // Lets the close timer run until it stops.
    static void runCloseTimer(Fixture &f)
    {
        for (int i = 0; i < 5 && f.ctx->mainForm->timChiudi().isActive(); ++i)
            f.ctx->mainForm->timChiudi_Timer();
    }

private slots:
    void fullStartup()
    {
        auto f = launched();
        QVERIFY(f);
        bool hookSawDatabase = false;
        int formsBeforeHook = -1;
        f->ctx->beforeFirstForm = [&](ProgramContext &c) {
            hookSawDatabase = c.database() && c.database()->isOpen() && !c.params.descAzie.isEmpty();
            formsBeforeHook = f->created.size();
        };
        MainPrelvo(*f->ctx);
        QVERIFY(hookSawDatabase);
        QCOMPARE(formsBeforeHook, 0);
        const StartupState &s = f->ctx->start;
        QCOMPARE(s.programId, 42);
        QCOMPARE(s.menuIdentity, QStringLiteral("menu-test"));
        QCOMPARE(s.helpFile, QStringLiteral("aiuto.chm"));
        QCOMPARE(s.companyDbName, f->dir + QStringLiteral("/dati/azienda.db"));
        QVERIFY(f->ctx->database() && f->ctx->database()->isOpen());
        QVERIFY(!f->ctx->conn.connectionResult.isEmpty());
        QVERIFY(!f->ctx->conn.connectionResult.startsWith(QLatin1String("Err:")));
        QVERIFY(!f->ctx->params.descAzie.isEmpty());
        QVERIFY(f->ctx->companyDao && f->ctx->companyDao->isOpen());
        QCOMPARE(s.imageDir, f->dir + QStringLiteral("/immagini"));
        QCOMPARE(s.dataMinima, QStringLiteral("01/01/1900"));
        QCOMPARE(s.factorGeneral, 1.0);
        QCOMPARE(s.factorPreview, 1.0);
        QCOMPARE(f->splash.version, QStringLiteral("Versione 1.0"));
        QCOMPARE(f->splash.versionDate, QStringLiteral("del 01/03/2025"));
        QVERIFY(!f->splash.isLoaded());
        QVERIFY(f->ctx->help && f->ctx->help->ogKemAiuto()->IsInitialised());
        QCOMPARE(f->ctx->help->ogKemAiuto()->Settings().odRisVid, s.factorHelp);
        QCOMPARE(f->ctx->help->ogKemAiuto()->CompanyDatabase(), f->ctx->database());
        // the program's menu (the menu connected to, through what it remembers)
        QCOMPARE(f->ctx->help->ogKemAiuto()->Menu(), f->ctx->menu());
        auto *memory = qobject_cast<MenuMemory *>(f->ctx->menu());
        QVERIFY(memory);
        QCOMPARE(&memory->menu(), static_cast<MenuServer *>(f->menu.get()));
        TestForm *form = f->form(QStringLiteral("frmProva"));
        QVERIFY(form && form->loaded && form->visible);
        QCOMPARE(form->osKeySec, QStringLiteral("frmProva"));
        QCOMPARE(form->osKeyLancia, QStringLiteral("LANCIA"));
        QCOMPARE(form->osKeySecLancia, QStringLiteral("SEC"));
        QCOMPARE(form->osParamLancia, QStringLiteral("PAR"));
        QVERIFY(!f->ctx->mainForm->timChiudi().isActive());
        QVERIFY(f->sink.messages.isEmpty());
        QVERIFY(f->dialogs.shown.isEmpty());
    }

    void programKeySwitch_data()
    {
        QTest::addColumn<QString>("p");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("extra");
        QTest::newRow("with blanks") << "ABC 12 X" << "ABC" << "12 X";
        QTest::newRow("without blank") << "ABC" << "ABC" << "";
        QTest::newRow("padded") << "  DISTINTA  " << "DISTINTA" << "";
    }
    void programKeySwitch()
    {
        QFETCH(QString, p);
        QFETCH(QString, key);
        QFETCH(QString, extra);
        Fixture f;
        f.ctx->commandLine = QStringLiteral("/M  menu-x  /P ") + p + QStringLiteral(" /F frmProva");
        // The launch parameters cannot be read: handler B after the registration.
        f.menu->failOn(QStringLiteral("MenuLaunchParams"), MenuError::Remote);
        MainPrelvo(*f.ctx);
        const auto reg = f.menu->callsTo(QStringLiteral("MenuRegister"));
        QCOMPARE(reg.size(), 1);
        QCOMPARE(reg.first().args, (QVariantList{QStringLiteral("menu-x"), key, extra}));
        QCOMPARE(f.sink.messages.size(), 1);
        QCOMPARE(f.sink.messages.first().text,
                 QStringLiteral("Problemi col collegamento col menù\nForse questo programma non è stato lanciato correttamente"));
        QCOMPARE(f.sink.messages.first().buttons, QStringList{QStringLiteral("&Ok")});
        QCOMPARE(f.ctx->mainForm->oiChiudi, 2);
        QVERIFY(f.ctx->mainForm->timChiudi().isActive());
    }

    void menuUnreachable_data()
    {
        QTest::addColumn<QString>("failing"); // "" : no menu at all
        QTest::newRow("no menu") << "";
        QTest::newRow("register") << "MenuRegister";
        QTest::newRow("process token") << "MenuCall";
    }
    void menuUnreachable()
    {
        QFETCH(QString, failing);
        Fixture f;
        f.ctx->commandLine = QStringLiteral("/M m /P DISTINTA /F frmProva");
        if (failing.isEmpty())
            f.menuFails = true;
        else
            f.menu->failOn(failing, MenuError::NotRunning);
        MainPrelvo(*f.ctx);
        QCOMPARE(f.sink.messages.size(), 1);
        QCOMPARE(f.sink.messages.first().text, kNotRunning);
        QVERIFY(f.ctx->mainForm->timChiudi().isActive());
        QCOMPARE(f.ctx->mainForm->oiChiudi, 2);
        runCloseTimer(f);
        QVERIFY(!f.ctx->mainForm->isLoaded());
        QVERIFY(!f.ctx->menuClass);
    }

    void handlerD_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("style");
        QTest::newRow("menu gone") << int(MenuError::Disconnected) << kNotRunning << int(BoxStyle::Critical);
        QTest::newRow("other error") << int(MenuError::Remote)
                                     << "Errore (440): guasto\nProbabilmente il menù non è stato avviato correttamente"
                                     << int(BoxStyle::Plain);
    }
    void handlerD()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(int, style);
        Fixture f;
        f.ctx->commandLine = QStringLiteral("/M m /P DISTINTA /F frmProva");
        f.menu->failOn(QStringLiteral("MenuIniPath"), MenuError::Kind(kind), QStringLiteral("guasto"));
        MainPrelvo(*f.ctx);
        QCOMPARE(f.dialogs.boxTexts(), QStringList{text});
        QCOMPARE(int(f.dialogs.of(QStringLiteral("box")).first().style), style);
        QVERIFY(f.ctx->mainForm->timChiudi().isActive());
    }

    void noMainIniCloses()
    {
        auto f = launched();
        QVERIFY(f);
        f->menu->setIniPath(QString());
        MainPrelvo(*f->ctx);
        QCOMPARE(f->dialogs.boxTexts(), QStringList{QStringLiteral("File ini non trovato\nSistemare e rieseguire")});
        QVERIFY(f->ctx->mainForm->timChiudi().isActive());
        QVERIFY(!f->form(QStringLiteral("frmProva")));
        runCloseTimer(*f);
        QVERIFY(!f->ctx->mainForm->isLoaded());
    }

    void mainIniFromTheSwitchWhenTheMenuHasNone()
    {
        auto f = launched();
        QVERIFY(f);
        f->menu->setIniPath(QString());
        f->ctx->commandLine += QStringLiteral(" /I ") + f->dir + QStringLiteral("/kemwin.ini");
        MainPrelvo(*f->ctx);
        QCOMPARE(f->ctx->conn.mainIniPath, f->dir + QStringLiteral("/kemwin.ini"));
        QVERIFY(f->form(QStringLiteral("frmProva")));
    }

    void wrongPasswordCloses()
    {
        auto f = launched();
        QVERIFY(f);
        AddPassword(f->dir + QStringLiteral("/dati/azienda.db"), QStringLiteral("Giusta"));
        f->menu->setVar(QStringLiteral("PwdDbAzie"), QStringLiteral("sbagliata"));
        MainPrelvo(*f->ctx);
        QCOMPARE(f->ctx->conn.connectionResult, QStringLiteral("Err: 3031"));
        QCOMPARE(f->sink.messages.size(), 1);
        QCOMPARE(f->sink.messages.first().text, QStringLiteral("Password non valida per questo database"));
        QVERIFY(!f->form(QStringLiteral("frmProva")));
        QCOMPARE(f->ctx->mainForm->oiChiudi, 2);
        runCloseTimer(*f);
        QVERIFY(!f->ctx->mainForm->isLoaded());
        QCOMPARE(f->menu->callsTo(QStringLiteral("MenuUnregister")).size(), 1);
    }

    void rightPasswordOpens()
    {
        auto f = launched();
        QVERIFY(f);
        AddPassword(f->dir + QStringLiteral("/dati/azienda.db"), QStringLiteral("Giusta"));
        f->menu->setVar(QStringLiteral("PwdDbAzie"), QStringLiteral("Giusta"));
        MainPrelvo(*f->ctx);
        QVERIFY(f->form(QStringLiteral("frmProva")));
    }

    void cancelledLoginCloses()
    {
        auto f = launched();
        QVERIFY(f);
        f->menu->setVar(QStringLiteral("NomeDBAzie"), QStringLiteral("SERVERDATI"));
        f->menu->setVar(QStringLiteral("SqlLogin"), QStringLiteral("sa"));
        f->ctx->makeDatabase = [] {
            auto db = std::make_unique<DbDouble>();
            db->alwaysFail = 3059;
            return db;
        };
        f->sink.queueAnswers({1, 2});
        MainPrelvo(*f->ctx);
        QCOMPARE(f->sink.messages.size(), 2);
        QCOMPARE(f->ctx->conn.connectionResult, QString());
        QVERIFY(!f->form(QStringLiteral("frmProva")));
        QVERIFY(f->ctx->mainForm->timChiudi().isActive());
    }

    void repairedDatabaseContinues()
    {
        auto f = launched();
        QVERIFY(f);
        f->ctx->makeDatabase = [] {
            auto db = std::make_unique<DbDouble>();
            db->errors = {3343};
            db->real = std::make_unique<Database>();
            return db;
        };
        QStringList repaired;
        f->ctx->repairDatabase = [&](const QString &path) {
            repaired.append(path);
            return 0;
        };
        f->dialogs.okc = {true};
        MainPrelvo(*f->ctx);
        QCOMPARE(repaired, QStringList{f->dir + QStringLiteral("/dati/azienda.db")});
        QVERIFY(f->ctx->database()->isOpen());
        QVERIFY(f->form(QStringLiteral("frmProva")));
        QVERIFY(!f->ctx->mainForm->timChiudi().isActive());
    }

    void segmentRegistration_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("list");
        QTest::newRow("1.06") << "1.06" << false;
        QTest::newRow("1.07") << "1.07" << true;
        QTest::newRow("1,10") << "1,10" << true;
        QTest::newRow("blank") << "" << false;
    }
    void segmentRegistration()
    {
        QFETCH(QString, version);
        QFETCH(bool, list);
        auto f = launched();
        QVERIFY(f);
        f->menu->setVar(QStringLiteral("VersMenu"), version);
        MainPrelvo(*f->ctx);
        QList<FakeMenuServer::Call> addSeg;
        for (const auto &c : f->menu->callsTo(QStringLiteral("MenuCall")))
            if (c.args.value(0).toString() == QLatin1String("AddSeg"))
                addSeg.append(c);
        QCOMPARE(addSeg.size(), 1);
        QCOMPARE(addSeg.first().args.value(1).toString(), QStringLiteral("Tutti"));
        const QVariant param = addSeg.first().args.value(2);
        if (list) {
            QCOMPARE(param.toList(), (QVariantList{42, QStringLiteral("T1")}));
            QCOMPARE(f->ctx->start.processToken, QStringLiteral("T1.seg"));
        } else {
            QCOMPARE(param.typeId(), QMetaType::Int);
            QCOMPARE(param.toInt(), 42);
            QCOMPARE(f->ctx->start.processToken, QStringLiteral("T1"));
        }
    }

    void dispatcher_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("opened"); // empty: the message
        QTest::newRow("upper case") << "FRMPRELVO" << "frmprelvo";
        QTest::newRow("implosion") << "FrmStImplDiBa" << "frmstimpldiba";
        QTest::newRow("requirements") << "frmstafabbis" << "FrmStaFabbis";
        QTest::newRow("substitution") << " FrmDiBaCaSo " << "FrmDiBaCaSo";
        QTest::newRow("unknown") << "frmXYZ" << "";
        QTest::newRow("empty") << "" << "";
    }
    void dispatcher()
    {
        QFETCH(QString, name);
        QFETCH(QString, opened);
        auto f = launched(name);
        QVERIFY(f);
        MainPrelvo(*f->ctx);
        if (opened.isEmpty()) {
            QCOMPARE(f->dialogs.boxTexts(), QStringList{QStringLiteral("La form richiesta e' inesistente")});
            QVERIFY(f->ctx->LoadedForms().isEmpty());
            QVERIFY(f->ctx->mainForm->timChiudi().isActive());
            runCloseTimer(*f);
            QVERIFY(!f->ctx->mainForm->isLoaded());
        } else {
            QVERIFY(f->dialogs.boxTexts().isEmpty());
            TestForm *form = f->form(opened);
            QVERIFY(form && form->loaded);
            QCOMPARE(form->FormName(), opened);
        }
    }

    void dispatcherReusesTheForm()
    {
        auto f = launched(QStringLiteral("frmprelvo"));
        QVERIFY(f);
        MainPrelvo(*f->ctx);
        TestForm *first = f->form(QStringLiteral("frmprelvo"));
        QVERIFY(first->Unload());
        FormDispatcher(*f->ctx, QStringLiteral("FRMPRELVO"), true, {}, {}, {}, {});
        QCOMPARE(f->form(QStringLiteral("frmprelvo")), first);
        QCOMPARE(first->loads, 2);
        QCOMPARE(f->created.size(), 1);
    }

    void screenFactors_data()
    {
        QTest::addColumn<QString>("video"); // [Risoluzione Video] lines
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<double>("base");
        QTest::addColumn<double>("preview");
        QTest::addColumn<double>("message");
        QTest::newRow("StaVid -2, Generale 1,2") << "Generale=1,2\nStaVid=-2" << QSize(1024, 768) << 1.2 << 1.2 << 1.2;
        QTest::newRow("Generale -2, PersBase 0") << "Generale=-2\nPersBase=0\nStaVid=-2" << QSize(1024, 768) << 0.0 << 1.28 << 1.28;
        QTest::newRow("Generale -2, PersBase 1,5") << "Generale=-2\nPersBase=1,5" << QSize(1024, 768) << 1.5 << 1.5 << 1.5;
        QTest::newRow("nothing set, wide screen") << "" << QSize(1920, 1080) << 0.0 << 1.8 << 1.8;
        QTest::newRow("own factors") << "Generale=1\nStaVid=0,9\nMsgCom=0" << QSize(1600, 1200) << 1.0 << 0.9 << 2.0;
        QTest::newRow("no screen") << "" << QSize(0, 0) << 0.0 << 1.0 << 1.0;
    }
    void screenFactors()
    {
        QFETCH(QString, video);
        QFETCH(QSize, screen);
        QFETCH(double, base);
        QFETCH(double, preview);
        QFETCH(double, message);
        Fixture f;
        const QString ini = f.tmp.filePath(QStringLiteral("kemwin.ini"));
        WriteFile(ini, QStringLiteral("[Risoluzione Video]\n") + video + QLatin1Char('\n'));
        f.ctx->conn.mainIniPath = ini;
        f.desktop.screen = screen;
        LeggiFattoriVideo(*f.ctx);
        QCOMPARE(f.ctx->start.factorBase, base);
        QCOMPARE(f.ctx->start.factorPreview, preview);
        QCOMPARE(f.ctx->start.factorMessage, message);
    }

    void imageDirectory_data()
    {
        QTest::addColumn<QString>("base"); // [Base] lines
        QTest::addColumn<QString>("expected");
        QTest::newRow("relative with drive") << "DriveDB=D:\nDirImmagini=IMMAGINI" << "D:\\IMMAGINI";
        QTest::newRow("unc") << "DriveDB=D:\nDirImmagini=\\\\server\\img" << "\\\\server\\img";
        QTest::newRow("drive letter") << "DriveDB=D:\nDirImmagini=E:\\IMG" << "E:\\IMG";
        QTest::newRow("linux absolute") << "DriveDB=/srv/kem\nDirImmagini=/var/img" << "/var/img";
        QTest::newRow("linux relative") << "DriveDB=/srv/kem\nDirImmagini=immagini" << "/srv/kem/immagini";
        QTest::newRow("e-mail images first") << "DriveDB=D:\nDirImgEmail=MAIL\nDirImmagini=IMMAGINI" << "D:\\MAIL";
        QTest::newRow("none") << "DriveDB=D:" << "";
    }
    void imageDirectory()
    {
        QFETCH(QString, base);
        QFETCH(QString, expected);
        Fixture f;
        const QString ini = f.tmp.filePath(QStringLiteral("kemwin.ini"));
        WriteFile(ini, QStringLiteral("[Base]\n") + base + QLatin1Char('\n'));
        f.ctx->conn.mainIniPath = ini;
        QCOMPARE(CartellaImmagini(*f.ctx), expected);
    }

    void screenFactor_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<double>("factor");
        QTest::newRow("800x600") << QSize(800, 600) << 1.0;
        QTest::newRow("1024x768") << QSize(1024, 768) << 1.28;
        QTest::newRow("1366x768") << QSize(1366, 768) << 1.28;
        QTest::newRow("640x480") << QSize(640, 480) << 0.8;
        QTest::newRow("zero") << QSize(0, 768) << 1.0;
    }
    void screenFactor()
    {
        QFETCH(QSize, screen);
        QFETCH(double, factor);
        QCOMPARE(ScreenFactor(screen), factor);
    }

    void interfaceSettingsAndHelpCursor()
    {
        auto f = launched();
        QVERIFY(f);
        IniWrite(f->dir + QStringLiteral("/kemwin.ini"), QStringLiteral("Config"), QStringLiteral("LisSpostaCurs"), QStringLiteral("s"));
        IniWrite(f->dir + QStringLiteral("/kemwin.ini"), QStringLiteral("Parametri Generali"), QStringLiteral("BeepCome"), QStringLiteral("440;200"));
        f->menu->setPersonal(QStringLiteral("Help"), QStringLiteral("HlpSpost"), QStringLiteral("3"));
        f->menu->setPersonal(QStringLiteral("Tutti"), QStringLiteral("DataMinima"), QStringLiteral("01/01/2000"));
        MainPrelvo(*f->ctx);
        QVERIFY(f->ctx->start.lisSpostaCurs);
        QVERIFY(!f->ctx->start.lisClickNoSel);
        QCOMPARE(f->ctx->start.beepCome, QStringLiteral("440;200"));
        QCOMPARE(f->ctx->start.dataMinima, QStringLiteral("01/01/2000"));
        HelpWindow *hw = f->ctx->helpWindow();
        QVERIFY(hw->obLockSpostaCurs);
        QCOMPARE(hw->oiSpostaCurs, 3);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
