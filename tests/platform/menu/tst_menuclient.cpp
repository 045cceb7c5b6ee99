// MenuClient against the real kemora-menu server (MenuHost) running on its own thread, on a
// company directory the test writes itself; plus a silent server for the timeout.
#include "platform/util/kemutil.h"
#include "platform/menu/menuclient.h"
#include "tests/platform/menu/menufixture.h"
#include "apps/kemora-menu/menuhost.h"
#include "apps/kemora-menu/modulelauncher.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

using namespace kem;

namespace {

// Runs a MenuHost on a thread of its own, as kemora-menu runs it on its main thread.
class HostThread {
public:
    bool start(const QString &dir, QString *error)
    {
        MenuConfig config;
        if (!MenuConfig::Load(dir, &config, error))
            return false;
        context_.moveToThread(&thread_);
        thread_.start();
        bool ok = false;
        QMetaObject::invokeMethod(&context_, [&] {
            host_ = new MenuHost(config);
            ok = host_->listen(error);
        }, Qt::BlockingQueuedConnection);
        return ok;
    }
    ~HostThread()
    {
        if (thread_.isRunning()) {
            QMetaObject::invokeMethod(&context_, [this] { delete host_; }, Qt::BlockingQueuedConnection);
            thread_.quit();
            thread_.wait();
        }
    }
    MenuHost *host() const { return host_; }
    // Runs f on the server's thread and waits for it.
    template <typename F> void run(F f) { QMetaObject::invokeMethod(&context_, f, Qt::BlockingQueuedConnection); }

private:
    QThread thread_;
    QObject context_;
    MenuHost *host_ = nullptr;
};

} // namespace

class TstMenuClient : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void variables_data();
    void variables();
    void personalParameters_data();
    void personalParameters();
    void menuVarSetIsSeenLater();
    void iniPathAndLaunchParams();
    void launchSelectAndRelease();
    void getParamDbMenu();
    void getParamDbMenuNoRow();
    void getParamDbMenuAsVariable();
    void getParamDbMenuRefusesChanges_data();
    void getParamDbMenuRefusesChanges();
    void processToken();
    void iniComuniWriteReadDelete();
    void commandAnsweredByHandler();
    void commandHandlerMayCallTheMenu();
    void commandDuringCallWaitsForIt();
    void openingForRunningModuleSendsAttiva();
    void returnToLauncherSendsRitornoa();
    void missingSocketFailsClearly();
    void blankSocketFailsClearly();
    void silentMenuTimesOut();
    void menuGoneDuringCall();

private:
    void connectClient(MenuClient &client);
    int sessionOf(const QString &programKey);

    std::unique_ptr<QTemporaryDir> tmp_;
    QString dir_;
    std::unique_ptr<HostThread> server_;
};

void TstMenuClient::init()
{
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    dir_ = tmp_->path();
    QString error;
    QVERIFY2(menutest::WriteMenuCompany(dir_, &error), qPrintable(error));
    server_ = std::make_unique<HostThread>();
    QVERIFY2(server_->start(dir_, &error), qPrintable(error));
}

void TstMenuClient::cleanup()
{
    server_.reset();
}

void TstMenuClient::connectClient(MenuClient &client)
{
    client.connectToMenu(server_->host()->socketName());
    client.MenuRegister(server_->host()->socketName(), QStringLiteral("DIBA"), QStringLiteral("frmPrelvo"));
}

int TstMenuClient::sessionOf(const QString &programKey)
{
    int session = 0;
    server_->run([&] { session = server_->host()->sessionFor(programKey); });
    return session;
}

void TstMenuClient::variables_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("def");
    QTest::addColumn<QString>("expected");
    QTest::newRow("company variable") << "DescAzie" << "" << "Mobilificio Rossi S.r.l.";
    QTest::newRow("name in other case") << "descazie" << "" << "Mobilificio Rossi S.r.l.";
    QTest::newRow("numeric text") << "VersMenu" << "" << "1,07";
    QTest::newRow("present but empty") << "Vuota" << "x" << "";
    QTest::newRow("unknown") << "ConnectDBAzie" << "" << MenuMissingMarker;
    QTest::newRow("unknown with default") << "ConnectDBAzie" << "ODBC;" << "ODBC;";
    QTest::newRow("menu process") << "MenuProcId" << "" << QString::number(QCoreApplication::applicationPid());
}

void TstMenuClient::variables()
{
    QFETCH(QString, name);
    QFETCH(QString, def);
    QFETCH(QString, expected);
    MenuClient client;
    connectClient(client);
    QCOMPARE(client.MenuVar(name, def), expected);
}

void TstMenuClient::personalParameters_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("present") << "Tutti" << "DataMinima" << "01/01/1900";
    QTest::newRow("other section") << "Help" << "HlpSpost" << "3";
    QTest::newRow("section in other case") << "TUTTI" << "dataminima" << "01/01/1900";
    QTest::newRow("missing key") << "Tutti" << "ColBackForm" << MenuMissingMarker;
    QTest::newRow("key of another section") << "Help" << "DataMinima" << MenuMissingMarker;
}

void TstMenuClient::personalParameters()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    MenuClient client;
    connectClient(client);
    QCOMPARE(client.MenuVar(PersonalVarName(section, key)), expected);
}

void TstMenuClient::menuVarSetIsSeenLater()
{
    MenuClient client;
    connectClient(client);
    client.MenuVarSet(QStringLiteral("SqlLogin"), QStringLiteral("operatore"));
    client.MenuVarSet(QStringLiteral("DescAzie"), QStringLiteral("Altra"));
    QCOMPARE(client.MenuVar(QStringLiteral("sqllogin")), QStringLiteral("operatore"));
    QCOMPARE(client.MenuVar(QStringLiteral("DescAzie")), QStringLiteral("Altra"));
    QVERIFY_THROWS_EXCEPTION(MenuError, client.MenuVarSet(QStringLiteral("  "), QStringLiteral("x")));
}

void TstMenuClient::iniPathAndLaunchParams()
{
    const LaunchParams launch{QStringLiteral("/M s /P DIBA frmPrelvo /F frmPrelvo /H guida.chm"), {}, {}, {}};
    server_->run([&] { server_->host()->storeLaunch(QStringLiteral("DIBA"), QStringLiteral("frmPrelvo"), launch); });
    MenuClient client;
    connectClient(client);
    QCOMPARE(client.MenuIniPath(), QDir(dir_).filePath(QStringLiteral("kemwin.ini")));
    QCOMPARE(client.MenuLaunchParams(), launch);
    QCOMPARE(CmdSwitch(client.MenuLaunchParams().osParam, QLatin1Char('H')), QStringLiteral("guida.chm"));
}

void TstMenuClient::launchSelectAndRelease()
{
    const LaunchParams other{QStringLiteral("/M s /P DIBA FrmStaFabbis /F FrmStaFabbis"), QStringLiteral("ORD"),
                             QStringLiteral("k"), QStringLiteral("p")};
    MenuClient client;
    connectClient(client);
    QCOMPARE(client.MenuLaunchParams(), LaunchParams{}); // nothing stored for this launch
    server_->run([&] { server_->host()->storeLaunch(QStringLiteral("diba"), QStringLiteral("FrmStaFabbis"), other); });
    client.MenuLaunchSelect(QStringLiteral("frmstafabbis"));
    QCOMPARE(client.MenuLaunchParams(), other);
    client.MenuKeyRelease(QStringLiteral("FrmStaFabbis"));
    QVERIFY_THROWS_EXCEPTION(MenuError, client.MenuLaunchSelect(QStringLiteral("FrmStaFabbis")));
}

void TstMenuClient::getParamDbMenu()
{
    MenuClient client;
    connectClient(client);
    const QString statement = QStringLiteral("SELECT * From MenuDett") + QStringLiteral(" WHERE Chiave=") +
                              SqlLiteral(QStringLiteral("diba"), VarKind::Text) + QStringLiteral(" AND ChiaveSec=") +
                              SqlLiteral(QStringLiteral("frmPrelvo"), VarKind::Text);
    const QVariant row = client.MenuCall(GetParamDbMenuRequest(statement, QStringLiteral("Caption,DescPrg")),
                                         QStringLiteral("Tutti"));
    QCOMPARE(row, QVariant(QVariantList{QStringLiteral("Stampa distinta base"), QStringLiteral("Distinta base")}));
    // A null column comes back as an empty text.
    const QVariant other = client.MenuCall(
        GetParamDbMenuRequest(QStringLiteral("SELECT * From MenuDett WHERE Chiave='DIBA' AND ChiaveSec='FrmStaFabbis'"),
                              QStringLiteral("Caption,DescPrg")),
        QStringLiteral("Tutti"));
    QCOMPARE(other, QVariant(QVariantList{QStringLiteral("Stampa fabbisogni"), QString()}));
    // Statements are read in the Jet dialect.
    const QVariant jet = client.MenuCall(
        GetParamDbMenuRequest(QStringLiteral("SELECT * From MenuDett WHERE UCase(ChiaveSec)=\"FRMPRELVO\""),
                              QStringLiteral("Caption")),
        QStringLiteral("Tutti"));
    QCOMPARE(jet, QVariant(QVariantList{QStringLiteral("Stampa distinta base")}));
}

void TstMenuClient::getParamDbMenuNoRow()
{
    MenuClient client;
    connectClient(client);
    const QVariant row = client.MenuCall(
        GetParamDbMenuRequest(QStringLiteral("SELECT * From MenuDett WHERE Chiave='DIBA' AND ChiaveSec='nessuna'"),
                              QStringLiteral("Caption,DescPrg")),
        QStringLiteral("Tutti"));
    QCOMPARE(row.typeId(), QMetaType::QVariantList);
    QVERIFY(row.toList().isEmpty());
}

void TstMenuClient::getParamDbMenuAsVariable()
{
    MenuClient client;
    connectClient(client);
    const QString found = GetParamDbMenuRequest(
        QStringLiteral("SELECT * From MenuDett WHERE Chiave='DIBA' AND ChiaveSec='frmPrelvo'"), QStringLiteral("DescPrg,Caption"));
    QCOMPARE(client.MenuVar(found), QStringLiteral("Distinta base§~Stampa distinta base"));
    const QString none = GetParamDbMenuRequest(
        QStringLiteral("SELECT * From MenuDett WHERE Chiave='X' AND ChiaveSec='Y'"), QStringLiteral("Caption"));
    QCOMPARE(client.MenuVar(none), MenuMissingMarker);
}

void TstMenuClient::getParamDbMenuRefusesChanges_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("columns");
    QTest::newRow("delete") << "DELETE FROM MenuDett" << "Caption";
    QTest::newRow("second statement") << "SELECT * FROM MenuDett; DELETE FROM MenuDett" << "Caption";
    QTest::newRow("write through select") << "SELECT 1 AS Caption; DROP TABLE MenuDett" << "Caption";
    QTest::newRow("unknown column") << "SELECT * FROM MenuDett" << "Nessuna";
    QTest::newRow("bad sql") << "SELECT * FROM Nessuna" << "Caption";
    QTest::newRow("no column") << "SELECT * FROM MenuDett" << "";
}

void TstMenuClient::getParamDbMenuRefusesChanges()
{
    QFETCH(QString, statement);
    QFETCH(QString, columns);
    MenuClient client;
    connectClient(client);
    try {
        client.MenuCall(GetParamDbMenuRequest(statement, columns), QStringLiteral("Tutti"));
        QFAIL("the menu ran the statement");
    } catch (const MenuError &e) {
        QCOMPARE(e.kind(), MenuError::Remote);
        QVERIFY(!e.description().isEmpty());
    }
    // Nothing was changed and the connection still serves.
    const QVariant count = client.MenuCall(
        GetParamDbMenuRequest(QStringLiteral("SELECT COUNT(*) AS N FROM MenuDett"), QStringLiteral("N")), QStringLiteral("Tutti"));
    QCOMPARE(count, QVariant(QVariantList{QStringLiteral("2")}));
}

void TstMenuClient::processToken()
{
    MenuClient client;
    connectClient(client);
    const QString token = client.MenuCall(QStringLiteral("PrepProcCorr"), QStringLiteral("Tutti")).toString();
    QVERIFY(!token.isEmpty());
    QVERIFY(client.MenuCall(QStringLiteral("PrepProcCorr"), QStringLiteral("Tutti")).toString() != token);
    const QString segmented =
        client.MenuCall(QStringLiteral("AddSeg"), QStringLiteral("Tutti"), QVariantList{42, token}).toString();
    QCOMPARE(segmented, token + QStringLiteral(".42"));
    QCOMPARE(client.MenuCall(QStringLiteral("AddSeg"), QStringLiteral("Tutti"), 42), QVariant(QString()));
}

void TstMenuClient::iniComuniWriteReadDelete()
{
    MenuClient client;
    connectClient(client);
    const QString scope = QStringLiteral("Tutti");
    QVERIFY(client.MenuCall(QStringLiteral("ScriviIniComuni"), scope,
                            QVariantList{1, QStringLiteral("Email"), QStringLiteral("EmailNumPorta"), QStringLiteral("465")})
                .toBool());
    QCOMPARE(client.MenuCall(QStringLiteral("LeggiIniComuni"), scope,
                             QVariantList{QStringLiteral("T"), QStringLiteral("email"), QStringLiteral("emailnumporta")}),
             QVariant(QStringLiteral("465")));
    // The terminal's file is not the common one (the main ini).
    QCOMPARE(client.MenuCall(QStringLiteral("LeggiIniComuni"), scope,
                             QVariantList{0, QStringLiteral("Email"), QStringLiteral("EmailNumPorta"), QStringLiteral("25")}),
             QVariant(QStringLiteral("25")));
    QString onDisk;
    IniRead(QDir(dir_).filePath(QStringLiteral("terminale.ini")), QStringLiteral("Email"),
            QStringLiteral("EmailNumPorta"), {}, onDisk);
    QCOMPARE(onDisk, QStringLiteral("465"));
    // Without a value the key goes away.
    client.MenuCall(QStringLiteral("ScriviIniComuni"), scope,
                    QVariantList{1, QStringLiteral("Email"), QStringLiteral("EmailNumPorta")});
    QCOMPARE(client.MenuCall(QStringLiteral("LeggiIniComuni"), scope,
                             QVariantList{1, QStringLiteral("Email"), QStringLiteral("EmailNumPorta")}),
             QVariant(MenuMissingMarker));
    QVERIFY_THROWS_EXCEPTION(MenuError, client.MenuCall(QStringLiteral("ScriviIniComuni"), scope,
                                                        QVariantList{7, QStringLiteral("Email"), QStringLiteral("K"), 1}));
}

void TstMenuClient::commandAnsweredByHandler()
{
    MenuClient client;
    connectClient(client);
    QString gotCommand, gotText2;
    QVariant gotParam;
    connect(&client, &MenuServer::EseguiComando, this,
            [&](const QString &, const QString &text2, const QString &command, const QVariant &param, QVariant &result) {
                gotCommand = command;
                gotText2 = text2;
                gotParam = param;
                result = QStringLiteral("No Chiudi");
            });
    QVariant answer;
    qint64 answeredId = -1;
    connect(server_->host(), &MenuHost::commandAnswered, this, [&](int, qint64 id, const QVariant &r) {
        answeredId = id;
        answer = r;
    });
    const int session = sessionOf(QStringLiteral("DIBA"));
    QVERIFY(session != 0);
    qint64 id = 0;
    server_->run([&] { id = server_->host()->sendCommand(session, {}, QStringLiteral("k2"), QStringLiteral("fine"),
                                                         QVariantList{0, QStringLiteral("x")}); });
    QVERIFY(id > 0);
    QTRY_COMPARE(answeredId, id);
    QCOMPARE(answer, QVariant(QStringLiteral("No Chiudi")));
    QCOMPARE(gotCommand, QStringLiteral("fine"));
    QCOMPARE(gotText2, QStringLiteral("k2"));
    QCOMPARE(gotParam, QVariant(QVariantList{0, QStringLiteral("x")}));
}

void TstMenuClient::commandHandlerMayCallTheMenu()
{
    const LaunchParams launch{QStringLiteral("/M s /P DIBA FrmStaFabbis /F FrmStaFabbis"), {}, {}, {}};
    server_->run([&] { server_->host()->storeLaunch(QStringLiteral("DIBA"), QStringLiteral("FrmStaFabbis"), launch); });
    MenuClient client;
    connectClient(client);
    // "attiva": select the launch named by text2 and answer its form.
    connect(&client, &MenuServer::EseguiComando, this,
            [&](const QString &, const QString &text2, const QString &command, const QVariant &, QVariant &result) {
                if (command == QLatin1String("attiva")) {
                    client.MenuLaunchSelect(text2);
                    result = CmdSwitch(client.MenuLaunchParams().osParam, QLatin1Char('F'));
                }
            });
    QVariant answer;
    connect(server_->host(), &MenuHost::commandAnswered, this, [&](int, qint64, const QVariant &r) { answer = r; });
    const int session = sessionOf(QStringLiteral("DIBA"));
    server_->run([&] { server_->host()->sendCommand(session, {}, QStringLiteral("FrmStaFabbis"), QStringLiteral("attiva"), {}); });
    QTRY_COMPARE(answer, QVariant(QStringLiteral("FrmStaFabbis")));
}

void TstMenuClient::commandDuringCallWaitsForIt()
{
    MenuClient client;
    connectClient(client);
    int handled = 0;
    connect(&client, &MenuServer::EseguiComando, this,
            [&](const QString &, const QString &, const QString &, const QVariant &, QVariant &result) {
                ++handled;
                result = true;
            });
    QVariant answer;
    connect(server_->host(), &MenuHost::commandAnswered, this, [&](int, qint64, const QVariant &r) { answer = r; });
    const int session = sessionOf(QStringLiteral("DIBA"));
    // The command is on the wire before the call goes out: the call still gets its own reply
    // and the command waits for the event loop.
    server_->run([&] { server_->host()->sendCommand(session, {}, {}, QStringLiteral("esiste"), {}); });
    QCOMPARE(client.MenuVar(QStringLiteral("DescAzie")), QStringLiteral("Mobilificio Rossi S.r.l."));
    QCOMPARE(handled, 0);
    QTRY_COMPARE(handled, 1);
    QTRY_COMPARE(answer, QVariant(true));
}

void TstMenuClient::openingForRunningModuleSendsAttiva()
{
    MenuClient client;
    connectClient(client);
    QString text2;
    connect(&client, &MenuServer::EseguiComando, this,
            [&](const QString &, const QString &t2, const QString &command, const QVariant &, QVariant &result) {
                if (command == QLatin1String("attiva")) {
                    text2 = t2;
                    client.MenuLaunchSelect(t2);
                    result = CmdSwitch(client.MenuLaunchParams().osParam, QLatin1Char('F'));
                }
            });
    QVariant answer;
    connect(server_->host(), &MenuHost::commandAnswered, this, [&](int, qint64, const QVariant &r) { answer = r; });
    // No module may be started: the running one gets the request.
    qputenv("KEM_DISTINTA", QDir(dir_).filePath(QStringLiteral("nessun-programma")).toLocal8Bit());
    bool opened = false;
    QString error;
    server_->run([&] {
        ModuleLauncher launcher(*server_->host());
        opened = launcher.open(QStringLiteral("diba"), QStringLiteral("FrmStaFabbis"), QStringLiteral("FrmStaFabbis"), &error);
    });
    qunsetenv("KEM_DISTINTA");
    QVERIFY2(opened, qPrintable(error));
    QTRY_COMPARE(answer, QVariant(QStringLiteral("FrmStaFabbis")));
    QCOMPARE(text2, QStringLiteral("FrmStaFabbis"));
}

void TstMenuClient::returnToLauncherSendsRitornoa()
{
    MenuClient launcher;
    launcher.connectToMenu(server_->host()->socketName());
    launcher.MenuRegister(server_->host()->socketName(), QStringLiteral("ORD"), {});
    QString command, param, text2;
    connect(&launcher, &MenuServer::EseguiComando, this,
            [&](const QString &, const QString &t2, const QString &c, const QVariant &p, QVariant &) {
                command = c;
                param = p.toString();
                text2 = t2;
            });
    MenuClient client;
    connectClient(client);
    client.MenuReturnTo(QStringLiteral("ord"), QStringLiteral("sec"), QStringLiteral("frmOrdini"));
    QTRY_COMPARE(command, QStringLiteral("ritornoa"));
    QCOMPARE(param, QStringLiteral("frmOrdini"));
    QCOMPARE(text2, QStringLiteral("sec"));
}

void TstMenuClient::missingSocketFailsClearly()
{
    MenuClient client;
    try {
        client.connectToMenu(QStringLiteral("kemora-menu-nessuno-%1").arg(QCoreApplication::applicationPid()), 1000);
        QFAIL("connected to a menu that does not exist");
    } catch (const MenuError &e) {
        QCOMPARE(e.kind(), MenuError::NotRunning);
        QCOMPARE(e.number(), 5);
        QVERIFY(e.description().contains(QStringLiteral("kemora-menu-nessuno")));
    }
    QVERIFY(!client.isConnected());
    try {
        client.MenuVar(QStringLiteral("DescAzie"));
        QFAIL("a call without a menu succeeded");
    } catch (const MenuError &e) {
        QCOMPARE(e.number(), 5);
    }
}

void TstMenuClient::blankSocketFailsClearly()
{
    MenuClient client;
    QVERIFY_THROWS_EXCEPTION(MenuError, client.connectToMenu(QStringLiteral("  ")));
}

void TstMenuClient::silentMenuTimesOut()
{
    QLocalServer silent;
    QVERIFY(silent.listen(QStringLiteral("kemora-menu-muto-%1").arg(QCoreApplication::applicationPid())));
    MenuClient client;
    client.connectToMenu(silent.serverName());
    client.setCallTimeout(300);
    QElapsedTimer clock;
    clock.start();
    try {
        client.MenuVar(QStringLiteral("DescAzie"));
        QFAIL("a call to a silent menu returned");
    } catch (const MenuError &e) {
        QCOMPARE(e.kind(), MenuError::Timeout);
        QVERIFY(e.description().contains(QStringLiteral("MenuVar")));
        QVERIFY(e.description().contains(QStringLiteral("300")));
    }
    QVERIFY(clock.elapsed() >= 290);
}

void TstMenuClient::menuGoneDuringCall()
{
    QLocalServer menu;
    QVERIFY(menu.listen(QStringLiteral("kemora-menu-chiude-%1").arg(QCoreApplication::applicationPid())));
    MenuClient client;
    client.connectToMenu(menu.serverName());
    QVERIFY(menu.waitForNewConnection(2000));
    QSignalSpy lost(&client, &MenuServer::menuLost);
    delete menu.nextPendingConnection(); // the menu drops the program
    client.setCallTimeout(5000);
    try {
        client.MenuIniPath();
        QFAIL("a call to a closed menu returned");
    } catch (const MenuError &e) {
        QCOMPARE(e.kind(), MenuError::Disconnected);
        QCOMPARE(e.number(), 5);
    }
    // The loss is announced once, also when the call met it first.
    QTRY_COMPARE_WITH_TIMEOUT(lost.count(), 1, 2000);
    QTest::qWait(50);
    QCOMPARE(lost.count(), 1);
}

QTEST_GUILESS_MAIN(TstMenuClient)
#include "tst_menuclient.moc"
