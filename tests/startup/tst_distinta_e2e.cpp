// End to end: the menu launches the module, talks to it and sees it end; the module started
// without a menu says so and ends.
#include "schema/democompany.h"
#include "platform/menu/menuconfig.h"
#include "apps/kemora-menu/menuclosing.h"
#include "apps/kemora-menu/menuhost.h"
#include "apps/kemora-menu/modulelauncher.h"
#include "platform/menu/menulaunch.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kem;

namespace {
const QString kBin = QStringLiteral(KEM_BINARY_DIR);
} // namespace

class TestDistintaE2e : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    QString company_;

    // Sends a command and waits for its answer.
    static QVariant Ask(MenuHost &host, int session, const QString &command)
    {
        QVariant answer;
        bool got = false;
        const qint64 id = host.sendCommand(session, QString(), QString(), command, QVariant());
        auto c = QObject::connect(&host, &MenuHost::commandAnswered, [&](int s, qint64 cid, const QVariant &r) {
            if (s == session && cid == id) {
                answer = r;
                got = true;
            }
        });
        const bool answered = QTest::qWaitFor([&] { return got; }, 10000);
        QObject::disconnect(c);
        return answered ? answer : QVariant(QStringLiteral("<nessuna risposta>"));
    }

private slots:
    void initTestCase()
    {
        qputenv("KEM_HEADLESS", "1");
        company_ = tmp_.filePath(QStringLiteral("azienda"));
        QString error;
        QVERIFY2(WriteDemoCompany(company_, &error), qPrintable(error));
    }

    void menuLaunchesTalksAndEnds_data()
    {
        QTest::addColumn<bool>("fineFirst");
        QTest::newRow("fine, then the form closes") << true;
        QTest::newRow("the form closes") << false;
    }
    void menuLaunchesTalksAndEnds()
    {
        QFETCH(bool, fineFirst);
        qputenv("KEM_DISTINTA", (kBin + QStringLiteral("/tests/startup/distinta_testhost")).toLocal8Bit());
        MenuConfig config;
        QString error;
        QVERIFY2(MenuConfig::Load(company_, &config, &error), qPrintable(error));
        MenuHost host(config);
        QStringList log;
        connect(&host, &MenuHost::logLine, this, [&](const QString &l) { log.append(l); });
        QSignalSpy activated(&host, &MenuHost::activateRequested);
        QVERIFY2(host.listen(&error), qPrintable(error));
        ModuleLauncher launcher(host);
        QVERIFY2(launcher.openForm(QStringLiteral("frmProva"), &error), qPrintable(error));

        QTRY_VERIFY_WITH_TIMEOUT(host.sessionFor(QStringLiteral("DISTINTA")) != 0, 15000);
        const int session = host.sessionFor(QStringLiteral("DISTINTA"));
        QCOMPARE(Ask(host, session, QStringLiteral("esiste")).toBool(), true);
        if (fineFirst) {
            // The form is open: the module refuses to end.
            QCOMPARE(Ask(host, session, QStringLiteral("fine")).toString(), QStringLiteral("No Chiudi"));
            QVERIFY(host.sessionFor(QStringLiteral("DISTINTA")) != 0);
        }
        // The form goes away and the module ends; control goes back to the menu unless the
        // menu itself asked the module to end.
        Ask(host, session, QStringLiteral("preppassaa"));
        QTRY_VERIFY_WITH_TIMEOUT(host.programs().isEmpty(), 15000);
        QCOMPARE(activated.count() > 0, !fineFirst);
        QVERIFY2(log.filter(QStringLiteral("MenuUnregister")).size() == 1, qPrintable(log.join('\n')));
        QVERIFY(log.filter(QStringLiteral("AddSeg")).size() == 1);
    }

    // The menu starts the module on each of its report forms: the form opens in its window and
    // offers itself to the menu under its own title.
    void menuOpensTheReportForms_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("title");
        QTest::newRow("BOM print") << "frmPrelvo" << "Stampa Distinta Base";
        QTest::newRow("implosion") << "frmStImplDiBa" << "Implosione Distinta Base";
        // The requirements form offers itself under the title the suite has always used for it.
        QTest::newRow("requirements") << "frmStaFabbis" << "Stampa Distinta Base";
    }
    void menuOpensTheReportForms()
    {
        QFETCH(QString, form);
        QFETCH(QString, title);
        MenuConfig config;
        QString error;
        QVERIFY2(MenuConfig::Load(company_, &config, &error), qPrintable(error));
        MenuHost host(config);
        QSignalSpy offered(&host, &MenuHost::passaAOffered);
        QVERIFY2(host.listen(&error), qPrintable(error));
        ModuleLaunch launch;
        launch.socketName = host.socketName();
        launch.programKey = QStringLiteral("DISTINTA");
        launch.form = form;
        launch.iniPath = config.iniPath();
        host.storeLaunch(launch.programKey, launch.extraText, LaunchParams{ModuleCommandLine(launch), {}, {}, {}});
        QProcess module;
        module.setWorkingDirectory(company_);
        module.start(kBin + QStringLiteral("/apps/distinta/distinta"), ModuleArguments(launch));
        QVERIFY(module.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(host.sessionFor(QStringLiteral("DISTINTA")) != 0, 20000);
        const int session = host.sessionFor(QStringLiteral("DISTINTA"));
        // Every open form offers itself; one form is open, the one asked for.
        Ask(host, session, QStringLiteral("preppassaa"));
        QTRY_COMPARE_WITH_TIMEOUT(offered.count(), 1, 10000);
        QCOMPARE(offered.first().at(1).toString(), title);
        QCOMPARE(offered.first().at(2).toString(), form);
        // Its window keeps the module from ending.
        QCOMPARE(Ask(host, session, QStringLiteral("fine")).toString(), QStringLiteral("No Chiudi"));
        QCOMPARE(module.state(), QProcess::Running);
        const QString err = QString::fromLocal8Bit(module.readAllStandardError());
        QVERIFY2(!err.contains(QStringLiteral("inesistente")), qPrintable(err));
        module.kill();
        QVERIFY(module.waitForFinished(10000));
    }

    // Closing the menu while the module has a form open: the module refuses with its answer, the
    // user leaves it running, the menu goes; the module says once that the menu is gone and
    // ends when its form closes, without menu errors.
    void menuClosedWhileAFormIsOpen()
    {
        MenuConfig config;
        QString error;
        QVERIFY2(MenuConfig::Load(company_, &config, &error), qPrintable(error));
        auto host = std::make_unique<MenuHost>(config);
        QVERIFY2(host->listen(&error), qPrintable(error));
        ModuleLaunch launch;
        launch.socketName = host->socketName();
        launch.programKey = QStringLiteral("DISTINTA");
        launch.form = QStringLiteral("frmProva");
        launch.iniPath = config.iniPath();
        host->storeLaunch(launch.programKey, launch.extraText, LaunchParams{ModuleCommandLine(launch), {}, {}, {}});
        QProcess module;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KEM_HEADLESS"), QStringLiteral("1"));
        module.setProcessEnvironment(env);
        module.setWorkingDirectory(company_);
        module.start(kBin + QStringLiteral("/tests/startup/distinta_testhost"), ModuleArguments(launch));
        QVERIFY(module.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(host->sessionFor(QStringLiteral("DISTINTA")) != 0, 15000);

        MenuClosing closing(*host);
        QList<ProgramRefusal> refusals;
        bool done = false;
        connect(&closing, &MenuClosing::finished, this, [&](const QList<ProgramRefusal> &r) {
            refusals = r;
            done = true;
        });
        closing.start();
        QTRY_VERIFY_WITH_TIMEOUT(done, 15000);
        QCOMPARE(refusals.size(), 1);
        QCOMPARE(refusals.first().answer, QStringLiteral("No Chiudi"));
        QCOMPARE(refusals.first().programKey, QStringLiteral("DISTINTA"));
        QCOMPARE(module.state(), QProcess::Running);

        host.reset(); // the user closes the menu anyway
        QVERIFY(module.waitForFinished(20000));
        QCOMPARE(module.exitStatus(), QProcess::NormalExit);
        QCOMPARE(module.exitCode(), 0);
        const QString err = QString::fromLocal8Bit(module.readAllStandardError());
        QCOMPARE(err.count(QStringLiteral("Il menu non è più disponibile")), 1);
        QVERIFY2(!err.contains(QStringLiteral("Errore(")), qPrintable(err));
    }

    void headlessMenuWithUnknownForm()
    {
        QProcess menu;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KEM_DISTINTA"), kBin + QStringLiteral("/apps/distinta/distinta"));
        env.insert(QStringLiteral("KEM_HEADLESS"), QStringLiteral("1"));
        menu.setProcessEnvironment(env);
        menu.start(kBin + QStringLiteral("/apps/kemora-menu/kemora-menu"),
                   {QStringLiteral("--company"), company_, QStringLiteral("--open"), QStringLiteral("frmXYZ"),
                    QStringLiteral("--headless")});
        QVERIFY(menu.waitForStarted(5000));
        QString err;
        QTRY_VERIFY_WITH_TIMEOUT((err += QString::fromLocal8Bit(menu.readAllStandardError()),
                                  err.contains(QStringLiteral("collegamento chiuso"))),
                                 20000);
        QVERIFY2(err.contains(QStringLiteral("La form richiesta e' inesistente")), qPrintable(err));
        QVERIFY2(err.contains(QStringLiteral("MenuRegister")), qPrintable(err));
        QVERIFY2(err.contains(QStringLiteral("MenuUnregister")), qPrintable(err));
        menu.write("quit\n");
        menu.closeWriteChannel();
        QVERIFY(menu.waitForFinished(10000));
    }

    void moduleWithoutMenu()
    {
        QProcess module;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KEM_HEADLESS"), QStringLiteral("1"));
        module.setProcessEnvironment(env);
        module.start(kBin + QStringLiteral("/apps/distinta/distinta"),
                     {QStringLiteral("/M"), QStringLiteral("kemora-menu-nessuno"), QStringLiteral("/P"),
                      QStringLiteral("DISTINTA"), QStringLiteral("/F"), QStringLiteral("frmPrelvo")});
        QVERIFY(module.waitForFinished(20000));
        QCOMPARE(module.exitStatus(), QProcess::NormalExit);
        QCOMPARE(module.exitCode(), 0);
        const QString err = QString::fromLocal8Bit(module.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("Il menu principale non è in esecuzione")), qPrintable(err));
        QVERIFY2(err.contains(QStringLiteral("Questo programma non può essere eseguito autonomamente")), qPrintable(err));
    }
};

QTEST_MAIN(TestDistintaE2e)
#include "tst_distinta_e2e.moc"
