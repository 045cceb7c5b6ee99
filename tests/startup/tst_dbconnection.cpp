// Database connection: name kinds, the main-ini search, the configuration choice, the
// parameter box, the open with login, password and repair paths, the menu database.
#include "platform/util/kemutil.h"
#include "tests/startup/startupfixture.h"
#include "startup/utilprg.h"

#include <QDir>
#include <QTest>

using namespace kem;
using namespace kem::test;

namespace {

void WriteFile(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

} // namespace

class TestDbConnection : public QObject {
    Q_OBJECT

private:
    // A fixture with a connected menu and a main ini written from `text`.
    std::unique_ptr<Fixture> withIni(const QString &text)
    {
        auto f = std::make_unique<Fixture>();
        f->connectMenu();
        const QString ini = f->tmp.filePath(QStringLiteral("conf/kemwin.ini"));
        WriteFile(ini, text);
        f->ctx->conn.mainIniPath = ini;
        return f;
    }
    static QString BaseIni(const QString &generali)
    {
        return QStringLiteral("[Parametri Generali]\n") + generali
               + QStringLiteral("\n[Lista File Ini]\n1OrdIniDBase=uno.ini\n2OrdIniDBase=due.ini\n3OrdIniDBase=tre.ini\n"
                                "[Connessioni]\nNomeDB=azienda.db\nDriveDB=/srv/kem\nConnect=;x=1\nOwner=dbo\nExec_option=3\n"
                                "[Base]\nDirDB=dati\n[Altra]\nNomeDB=SERVERDATI\nDriveDB=/srv/altro\n");
    }

private slots:
    void nameKinds_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("odbc");
        QTest::addColumn<bool>("dataSource");
        QTest::addColumn<bool>("file");
        QTest::addColumn<bool>("login");
        QTest::newRow("bare data source") << "SERVERDATI" << false << true << false << true;
        QTest::newRow("dsn file") << "SERVERDATI.DSN" << false << true << true << true;
        QTest::newRow("windows file") << "C:\\DATI\\COMPANY.MDB" << false << false << true << false;
        QTest::newRow("linux file") << "/srv/kem/dati/azienda.db" << false << false << true << false;
        QTest::newRow("odbc lower") << "odbc;DSN=x" << true << true << false << false;
        QTest::newRow("odbc with dot") << "ODBC;DATABASE=a.b" << true << true << false << false;
    }
    void nameKinds()
    {
        QFETCH(QString, name);
        QFETCH(bool, odbc);
        QFETCH(bool, dataSource);
        QFETCH(bool, file);
        QFETCH(bool, login);
        QCOMPARE(IsOdbcName(name), odbc);
        QCOMPARE(IsDataSourceName(name), dataSource);
        QCOMPARE(IsFileDatabase(name), file);
        QCOMPARE(NeedsLogin(name), login);
    }

    void daoPlan_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("filePassword");
        QTest::addColumn<QString>("openName");
        QTest::addColumn<QString>("connect");
        QTest::newRow("odbc") << "ODBC;DSN=x" << "u" << "p" << "f" << "ODBC;DSN=x" << "";
        QTest::newRow("dsn file") << "a.Dsn" << "u" << "p" << "f" << "" << "ODBC;FIleDSN=a.Dsn;UID=u;PWD=p";
        QTest::newRow("file") << "/d/a.db" << "u" << "p" << "" << "/d/a.db" << "";
        QTest::newRow("protected file") << "/d/a.db" << "u" << "p" << "f" << "/d/a.db" << ";pwd=f";
        QTest::newRow("data source") << "SERVER" << "u" << "" << "f" << "" << "ODBC;DSN=SERVER;UID=u";
        QTest::newRow("no user") << "SERVER" << "" << "p" << "" << "" << "ODBC;DSN=SERVER;";
    }
    void daoPlan()
    {
        QFETCH(QString, name);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, filePassword);
        QFETCH(QString, openName);
        QFETCH(QString, connect);
        const DaoPlan plan = DaoConnectPlan(name, user, password, filePassword);
        QCOMPARE(plan.name, openName);
        QCOMPARE(plan.connect, connect);
    }

    void mainIniSearch_data()
    {
        QTest::addColumn<QList<int>>("existing"); // places 1..8 holding a kemwin.ini
        QTest::addColumn<int>("expected");        // 0: none
        for (int i = 1; i <= 8; ++i)
            QTest::addRow("only place %d", i) << QList<int>{i} << i;
        QTest::newRow("extra dir before cwd") << QList<int>{7, 3} << 3;
        QTest::newRow("windows before app") << QList<int>{8, 6, 5} << 5;
        QTest::newRow("switch first") << QList<int>{1, 2, 8} << 1;
        QTest::newRow("none") << QList<int>{} << 0;
    }
    void mainIniSearch()
    {
        QFETCH(QList<int>, existing);
        QFETCH(int, expected);
        Fixture f;
        const QString t = f.tmp.path();
        ApriDbOptions o;
        o.extraDir1 = t + QStringLiteral("/extra1");
        o.extraDir2 = t + QStringLiteral("/extra2");
        const QStringList places{
            t + QStringLiteral("/switch/scelto.ini"),
            t + QStringLiteral("/setup/principale.ini"),
            o.extraDir1 + QStringLiteral("/kemwin.ini"),
            o.extraDir2 + QStringLiteral("/kemwin.ini"),
            f.ctx->places.windowsDir + QStringLiteral("/kemwin.ini"),
            f.ctx->places.applicationDir + QStringLiteral("/main/kemwin.ini"),
            f.ctx->places.currentDir + QStringLiteral("/kemwin.ini"),
            f.ctx->places.applicationDir + QStringLiteral("/kemwin.ini"),
        };
        f.ctx->commandLine = QStringLiteral("/M m /I ") + places[0] + QStringLiteral(" /F x");
        WriteFile(f.ctx->places.installIni, QStringLiteral("[Setup]\nIniPrincipale=") + places[1] + QLatin1Char('\n'));
        for (int i : existing)
            WriteFile(places[i - 1], QStringLiteral("[Parametri Generali]\n"));
        QCOMPARE(CercaIniPrincipale(*f.ctx, o), expected == 0 ? QString() : places[expected - 1]);
    }

    void missingMainIniReleasesAndFails()
    {
        Fixture f;
        f.connectMenu();
        DbDouble db;
        QString result;
        QCOMPARE(ApriDbAzienda(*f.ctx, db, result, {}), -1);
        QCOMPARE(f.dialogs.boxTexts(), QStringList{QStringLiteral("File ini non trovato\nSistemare e rieseguire")});
        QCOMPARE(f.dialogs.of(QStringLiteral("box")).first().style, BoxStyle::Critical);
        QCOMPARE(f.menu->callsTo(QStringLiteral("MenuUnregister")).size(), 1);
        QVERIFY(db.opens.isEmpty());
    }

    void configurationChoice_data()
    {
        QTest::addColumn<QString>("generali");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("companyIni");
        QTest::newRow("no list") << "NumIni=0\nOrdIniDBase=base.ini" << "" << false << "base.ini";
        QTest::newRow("answer 2") << "NumIni=3\nOrdIniDBase=base.ini" << "2" << true << "due.ini";
        QTest::newRow("answer 0") << "NumIni=3\nOrdIniDBase=base.ini" << "0" << true << "base.ini";
        QTest::newRow("answer 5 of 3") << "NumIni=3\nOrdIniDBase=base.ini" << "5" << true << "base.ini";
        QTest::newRow("answer not a number") << "NumIni=3\nOrdIniDBase=base.ini" << "abc" << true << "base.ini";
        QTest::newRow("empty OrdIniDBase") << "NumIni=0\nOrdIniDBase=" << "" << false << "";
    }
    void configurationChoice()
    {
        QFETCH(QString, generali);
        QFETCH(QString, answer);
        QFETCH(bool, asked);
        QFETCH(QString, companyIni);
        auto f = withIni(BaseIni(generali));
        f->dialogs.inputs = QStringList{answer};
        DbDouble db;
        QString result;
        QCOMPARE(ApriDbAzienda(*f->ctx, db, result, {}), 0);
        QCOMPARE(f->ctx->conn.companyIni, companyIni);
        const auto inputs = f->dialogs.of(QStringLiteral("input"));
        QCOMPARE(inputs.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(inputs.first().title, QStringLiteral("Scelta dell'INI"));
            QCOMPARE(inputs.first().text, QStringLiteral("Numero di ini scelto\n(da 0 a 3)\n1 -> uno.ini\n2 -> due.ini\n3 -> tre.ini"));
        }
        QCOMPARE(result, QStringLiteral("DBQ=/srv/kem/dati/azienda.db"));
    }

    void missingOrdIniDBase()
    {
        auto f = withIni(QStringLiteral("[Parametri Generali]\nNumIni=0\n"));
        DbDouble db;
        QString result;
        QCOMPARE(ApriDbAzienda(*f->ctx, db, result, {}), -1);
        QCOMPARE(f->dialogs.boxTexts(),
                 QStringList{QStringLiteral("File di inizializzazione non trovato\no con informazioni non corrette.\nCorreggere e rieseguire il programma.")});
        QCOMPARE(f->menu->callsTo(QStringLiteral("MenuUnregister")).size(), 1);
    }

    void connectionSettingsFromTheIni()
    {
        auto f = withIni(BaseIni(QStringLiteral("OrdIniDBase=base.ini")));
        DbDouble db;
        QString result;
        QCOMPARE(ApriDbAzienda(*f->ctx, db, result, {}), 0);
        const ConnectionState &c = f->ctx->conn;
        QCOMPARE(c.dbName, QStringLiteral("/srv/kem/dati/azienda.db"));
        QCOMPARE(c.drive, QStringLiteral("/srv/kem"));
        QCOMPARE(c.directory, QStringLiteral("dati"));
        QCOMPARE(c.connect, QStringLiteral(";x=1"));
        QCOMPARE(c.owner, QStringLiteral("dbo"));
        QCOMPARE(c.execOption, 3);
        QCOMPARE(db.connects, QStringList{QStringLiteral(";x=1")});
        QCOMPARE(c.connectionResult, result);
        QVERIFY(f->splash.isLoaded());
        QCOMPARE(f->splash.caption, QStringLiteral("Connessione primaria al database"));
    }

    void dataSourceSectionClearsTheDrive()
    {
        auto f = withIni(BaseIni(QStringLiteral("OrdIniDBase=base.ini")));
        f->menu->setVar(QStringLiteral("SqlLogin"), QStringLiteral("sa"));
        DbDouble db;
        QString result;
        ApriDbOptions o;
        o.section = QStringLiteral("Altra");
        o.unloadSplash = true;
        QCOMPARE(ApriDbAzienda(*f->ctx, db, result, o), 0);
        QCOMPARE(f->ctx->conn.dbName, QStringLiteral("SERVERDATI"));
        QCOMPARE(f->ctx->conn.drive, QString());
        QCOMPARE(f->ctx->conn.directory, QString());
        QVERIFY(!f->splash.isLoaded());
    }

    void missingNomeDB()
    {
        auto f = withIni(QStringLiteral("[Parametri Generali]\nOrdIniDBase=base.ini\n"));
        DbDouble db;
        QString result;
        QCOMPARE(ApriDbAzienda(*f->ctx, db, result, {}), -1);
        QCOMPARE(f->dialogs.boxTexts(),
                 QStringList{QStringLiteral("File di inizializzazioni: \n") + f->ctx->conn.mainIniPath
                             + QStringLiteral("\n non trovato  o con informazioni non corrette.\nCorreggere e rieseguire il programma.")});
    }

    void visParam_data()
    {
        QTest::addColumn<QString>("visParam");
        QTest::addColumn<QList<YesNoCancel>>("answers");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("choices");
        QTest::newRow("none") << "" << QList<YesNoCancel>{} << 0 << 0 << 1;
        QTest::newRow("db1 yes") << "db1" << QList<YesNoCancel>{YesNoCancel::Yes} << 0 << 1 << 1;
        QTest::newRow("Tutto no then yes") << "Tutto" << QList<YesNoCancel>{YesNoCancel::No, YesNoCancel::Yes} << 0 << 2 << 2;
        QTest::newRow("DB1 cancel") << "DB1" << QList<YesNoCancel>{YesNoCancel::Cancel} << -1 << 1 << 1;
        QTest::newRow("other value") << "db2" << QList<YesNoCancel>{} << 0 << 0 << 1;
    }
    void visParam()
    {
        QFETCH(QString, visParam);
        QFETCH(QList<YesNoCancel>, answers);
        QFETCH(int, status);
        QFETCH(int, boxes);
        QFETCH(int, choices);
        auto f = withIni(BaseIni(QStringLiteral("NumIni=2\nOrdIniDBase=base.ini\nVisParam=") + visParam));
        f->dialogs.ync = answers;
        f->dialogs.inputs = QStringList{QStringLiteral("1"), QStringLiteral("2")};
        DbDouble db;
        QString result;
        QCOMPARE(ApriDbAzienda(*f->ctx, db, result, {}), status);
        QCOMPARE(f->dialogs.of(QStringLiteral("ync")).size(), boxes);
        QCOMPARE(f->dialogs.of(QStringLiteral("input")).size(), choices);
        if (boxes > 0) {
            QCOMPARE(f->dialogs.of(QStringLiteral("ync")).first().text,
                     QStringLiteral("Parametri letti:\nFile dei parametri: uno.ini\nDatabase: /srv/kem/dati/azienda.db\nTipo Connessione: ;x=1\n"));
        }
        if (status == 0 && choices == 2)
            QCOMPARE(f->ctx->conn.companyIni, QStringLiteral("due.ini"));
        QCOMPARE(db.opens.size(), status == 0 ? 1 : 0);
    }

    void passwordParameter_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accPwd");
        QTest::newRow("file") << "C:\\DATI\\COMPANY.MDB" << true;
        QTest::newRow("odbc") << "odbc;DSN=x" << true;
        QTest::newRow("data source") << "SERVERDATI" << false;
        QTest::newRow("dsn") << "SERVERDATI.DSN" << false;
    }
    void passwordParameter()
    {
        QFETCH(QString, name);
        QFETCH(bool, accPwd);
        Fixture f;
        f.connectMenu();
        f.menu->setVar(QStringLiteral("SqlLogin"), QStringLiteral("sa"));
        f.menu->setVar(QStringLiteral("SqlPwd"), QStringLiteral("segreta"));
        DbDouble db;
        const QString result = ApriDatabase(*f.ctx, db, name, QStringLiteral("pw"), QString());
        QCOMPARE(result, QStringLiteral("DBQ=") + name);
        QCOMPARE(db.opens, QStringList{name});
        if (accPwd) {
            QCOMPARE(db.paramLog, QStringList{QStringLiteral("DbAccPWD=pw")});
        } else {
            QCOMPARE(db.paramLog, (QStringList{QStringLiteral("DbSqlPubUID=sa"), QStringLiteral("DbSqlPubPWD=segreta")}));
            QVERIFY(f.menu->callsTo(QStringLiteral("MenuVar")).size() >= 3);
        }
    }

    void loginAskedWhenMenuHasNone()
    {
        Fixture f;
        f.connectMenu();
        DbDouble db;
        ApriDatabase(*f.ctx, db, QStringLiteral("SERVERDATI"), QString(), QString());
        bool asked = false;
        for (const auto &c : f.menu->callsTo(QStringLiteral("MenuVar")))
            asked = asked || c.args.value(0).toString() == QLatin1String("ChiediPwdSql");
        QVERIFY(asked);
    }

    void refusedLoginRetriesThenCancels()
    {
        Fixture f;
        f.connectMenu();
        f.menu->setVar(QStringLiteral("SqlLogin"), QStringLiteral("sa"));
        DbDouble db;
        db.alwaysFail = 3059;
        f.sink.queueAnswers({1, 1, 2});
        const QString result = ApriDatabase(*f.ctx, db, QStringLiteral("SERVERDATI"), QString(), QString());
        QCOMPARE(result, QString());
        QCOMPARE(db.opens.size(), 3);
        QCOMPARE(f.sink.messages.size(), 3);
        QCOMPARE(f.sink.messages.first().text, QStringLiteral("Utente o password non validi per SQL"));
        QCOMPARE(f.sink.messages.first().buttons, (QStringList{QStringLiteral("&Riprovare"), QStringLiteral("&Annulla")}));
    }

    void refusedLoginRetrySucceeds()
    {
        Fixture f;
        f.connectMenu();
        f.menu->setVar(QStringLiteral("SqlLogin"), QStringLiteral("sa"));
        DbDouble db;
        db.errors = {3059, 3059};
        f.sink.queueAnswers({1, 1});
        QCOMPARE(ApriDatabase(*f.ctx, db, QStringLiteral("SERVERDATI"), QString(), QString()),
                 QStringLiteral("DBQ=SERVERDATI"));
        QCOMPARE(db.opens.size(), 3);
        int asked = 0;
        for (const auto &c : f.menu->callsTo(QStringLiteral("MenuVar")))
            asked += c.args.value(0).toString() == QLatin1String("ChiediPwdSql");
        QCOMPARE(asked, 2);
    }

    void refusedLoginOnFileIsAnError()
    {
        Fixture f;
        f.connectMenu();
        DbDouble db;
        db.alwaysFail = 3059;
        QCOMPARE(ApriDatabase(*f.ctx, db, QStringLiteral("/d/a.db"), QString(), QString()), QStringLiteral("Err: 3059"));
        QCOMPARE(f.sink.errors.size(), 1);
    }

    void wrongPassword()
    {
        Fixture f;
        f.connectMenu();
        DbDouble db;
        db.alwaysFail = 3031;
        QCOMPARE(ApriDatabase(*f.ctx, db, QStringLiteral("/d/a.db"), QStringLiteral("x"), QString()),
                 QStringLiteral("Err: 3031"));
        QCOMPARE(f.sink.messages.size(), 1);
        QCOMPARE(f.sink.messages.first().text, QStringLiteral("Password non valida per questo database"));
        QCOMPARE(f.sink.messages.first().buttons, QStringList{QStringLiteral("&Ok")});
    }

    void otherOpenErrorGoesToTheErrorForm()
    {
        Fixture f;
        f.connectMenu();
        DbDouble db;
        db.alwaysFail = 3024;
        QCOMPARE(ApriDatabase(*f.ctx, db, QStringLiteral("/d/a.db"), QString(), QString()), QStringLiteral("Err: 3024"));
        QCOMPARE(f.sink.errors.size(), 1);
        QVERIFY(f.sink.errors.first().contains(QStringLiteral("3024")));
    }

    void damagedFile_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("repairResult");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("repairs");
        QTest::newRow("repaired") << true << 0 << 0 << 1;
        QTest::newRow("repair fails") << true << 1 << -1 << 1;
        QTest::newRow("cancelled") << false << 0 << -1 << 0;
    }
    void damagedFile()
    {
        QFETCH(bool, ok);
        QFETCH(int, repairResult);
        QFETCH(int, status);
        QFETCH(int, repairs);
        auto f = withIni(BaseIni(QStringLiteral("OrdIniDBase=base.ini")));
        QStringList repaired;
        f->ctx->repairDatabase = [&](const QString &path) {
            repaired.append(path);
            return repairResult;
        };
        f->dialogs.okc = {ok};
        DbDouble db;
        db.errors = {3343};
        QString result;
        QCOMPARE(ApriDbAzienda(*f->ctx, db, result, {}), status);
        QCOMPARE(repaired.size(), repairs);
        QCOMPARE(f->dialogs.of(QStringLiteral("okc")).first().text,
                 QStringLiteral("Errore nell'apertura del database /srv/kem/dati/azienda.db\nVuoi tentare di recuperarlo"));
        if (status == 0) {
            QCOMPARE(result, QStringLiteral("DBQ=/srv/kem/dati/azienda.db"));
            QCOMPARE(db.opens.size(), 2);
            QVERIFY(f->dialogs.boxTexts().isEmpty());
        } else {
            QCOMPARE(f->dialogs.boxTexts(),
                     QStringList{QStringLiteral("Errore  3343 nell'apertura del database.\nCorreggere e riprovare. (Formato di database non riconosciuto o file danneggiato) ")});
            QCOMPARE(f->menu->callsTo(QStringLiteral("MenuUnregister")).size(), 1);
        }
    }

    void realPasswordProtectedCompany_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("opens");
        QTest::newRow("right") << "Segreto1" << true;
        QTest::newRow("wrong") << "sbagliata" << false;
    }
    void realPasswordProtectedCompany()
    {
        QFETCH(QString, password);
        QFETCH(bool, opens);
        Fixture f;
        QVERIFY(f.demo());
        {
            Database raw;
            raw.DbOpen(f.dir + QStringLiteral("/dati/azienda.db"));
            raw.DbExecute(QStringLiteral("CREATE TABLE KemAccesso (Id INTEGER PRIMARY KEY, Password TEXT)"));
            raw.DbExecute(QStringLiteral("INSERT INTO KemAccesso (Id, Password) VALUES (1, 'Segreto1')"));
        }
        f.connectMenu();
        CompanyDb db;
        const QString result = ApriDatabase(*f.ctx, db, f.dir + QStringLiteral("/dati/azienda.db"), password, QString());
        QCOMPARE(result.startsWith(QLatin1String("Err:")), !opens);
        QCOMPARE(db.database()->isOpen(), opens);
        if (!opens)
            QCOMPARE(result, QStringLiteral("Err: 3031"));
    }

    void menuDatabase()
    {
        Fixture f;
        QVERIFY(f.demo());
        f.connectMenu();
        f.ctx->conn.mainIniPath = f.dir + QStringLiteral("/kemwin.ini");
        f.ctx->conn.companyIni = QStringLiteral("azienda.ini");
        QCOMPARE(KemOpenDbMenu(*f.ctx), 0);
        QCOMPARE(f.ctx->conn.menuDbName, f.dir + QStringLiteral("/menu/menu.db"));
        QVERIFY(!f.ctx->conn.menuConnectionResult.isEmpty());
        QVERIFY(f.ctx->menuDb && f.ctx->menuDb->database()->isOpen());
        QVERIFY(f.ctx->menuDao && f.ctx->menuDao->isOpen());
        QVERIFY(f.ctx->menuDb->database()->TableExists(QStringLiteral("MenuDett")));
        QVERIFY(!f.splash.isLoaded());
        QCOMPARE(f.splash.loads, 1);
    }

    void menuDatabaseWithoutName()
    {
        auto f = withIni(QStringLiteral("[Parametri Generali]\nOrdIniDBase=base.ini\n"));
        QCOMPARE(KemOpenDbMenu(*f->ctx), -1);
        QCOMPARE(f->dialogs.boxTexts().size(), 1);
        QVERIFY(f->dialogs.boxTexts().first().startsWith(QLatin1String("File di inizializzazioni: ")));
    }

    void menuDatabaseFileMissing()
    {
        auto f = withIni(QStringLiteral("[Menu]\nNomeDB=menu.db\nDriveDB=") + QDir::tempPath()
                         + QStringLiteral("/nessuna-cartella-kem/\n"));
        QCOMPARE(KemOpenDbMenu(*f->ctx), -1);
        QCOMPARE(f->dialogs.boxTexts().size(), 1);
        QVERIFY(f->dialogs.boxTexts().first().startsWith(QLatin1String("Errore  ")));
        QVERIFY(!f->ctx->menuClass);
    }
};

QTEST_MAIN(TestDbConnection)
#include "tst_dbconnection.moc"
