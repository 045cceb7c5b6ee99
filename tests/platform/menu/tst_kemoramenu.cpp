// kemora-menu as a process: headless serving, end of input and "quit", --open launching the
// module with its switches, and a missing company.
#include "platform/util/kemutil.h"
#include "platform/menu/menuclient.h"
#include "tests/platform/menu/menufixture.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace kem;

namespace {
const QString kMenuExe = QStringLiteral(KEM_BINARY_DIR "/apps/kemora-menu/kemora-menu");
}

class TstKemoraMenu : public QObject {
    Q_OBJECT
private slots:
    void init();
    void headlessServesUntilInputEnds();
    void quitLineStops();
    void openLaunchesModuleWithSwitches_data();
    void openLaunchesModuleWithSwitches();
    void missingCompanyFails();

private:
    // Starts kemora-menu --headless (plus extra arguments) and returns the socket name it prints.
    QString startMenu(QProcess &p, const QStringList &extra = {});

    std::unique_ptr<QTemporaryDir> tmp_;
    QString dir_;
};

void TstKemoraMenu::init()
{
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    dir_ = tmp_->path();
    QString error;
    QVERIFY2(menutest::WriteMenuCompany(dir_, &error), qPrintable(error));
}

QString TstKemoraMenu::startMenu(QProcess &p, const QStringList &extra)
{
    p.setProgram(kMenuExe);
    p.setArguments(QStringList{QStringLiteral("--company"), dir_, QStringLiteral("--headless")} + extra);
    p.start();
    if (!p.waitForStarted(5000))
        return {};
    while (!p.canReadLine()) {
        if (!p.waitForReadyRead(5000))
            return {};
    }
    return QString::fromLocal8Bit(p.readLine()).trimmed();
}

void TstKemoraMenu::headlessServesUntilInputEnds()
{
    QProcess menu;
    const QString socket = startMenu(menu);
    QVERIFY2(socket.startsWith(QStringLiteral("kemora-menu-")), qPrintable(menu.readAllStandardError()));
    {
        MenuClient client;
        client.connectToMenu(socket);
        client.MenuRegister(socket, QStringLiteral("DIBA"), {});
        QCOMPARE(client.MenuVar(QStringLiteral("Mag.NumDecQta")), QStringLiteral("3"));
        QCOMPARE(client.MenuVar(PersonalVarName(QStringLiteral("Tutti"), QStringLiteral("DataMinima"))),
                 QStringLiteral("01/01/1900"));
        QCOMPARE(client.MenuVar(QStringLiteral("PwdDbAzie")), QStringLiteral("segreta1"));
        client.MenuVarSet(QStringLiteral("SqlPwd"), QStringLiteral("segreta2"));
        client.MenuUnregister();
    }
    menu.closeWriteChannel();
    QVERIFY(menu.waitForFinished(5000));
    QCOMPARE(menu.exitStatus(), QProcess::NormalExit);
    QCOMPARE(menu.exitCode(), 0);
    // The log shows what was served, passwords excepted.
    const QByteArray log = menu.readAllStandardError();
    QVERIFY(log.contains("Mag.NumDecQta"));
    QVERIFY(log.contains("PwdDbAzie"));
    QVERIFY(!log.contains("segreta"));
}

void TstKemoraMenu::quitLineStops()
{
    QProcess menu;
    const QString socket = startMenu(menu);
    QVERIFY(!socket.isEmpty());
    menu.write("quit\n");
    QVERIFY(menu.waitForFinished(5000));
    QCOMPARE(menu.exitCode(), 0);
    MenuClient client;
    QVERIFY_THROWS_EXCEPTION(MenuError, client.connectToMenu(socket, 1000));
}

void TstKemoraMenu::openLaunchesModuleWithSwitches_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("programSwitch");
    QTest::newRow("entry of the form") << "frmPrelvo" << "DIBA frmPrelvo";
    QTest::newRow("form in other case") << "FRMSTAFABBIS" << "DIBA FrmStaFabbis";
    QTest::newRow("form of no entry") << "frmStImplDiBa" << "DIBA";
}

void TstKemoraMenu::openLaunchesModuleWithSwitches()
{
    QFETCH(QString, form);
    QFETCH(QString, programSwitch);
    // A stand-in module that writes its command line and its working directory.
    const QString argsFile = QDir(dir_).filePath(QStringLiteral("args.txt"));
    const QString module = QDir(dir_).filePath(QStringLiteral("distinta-finta.sh"));
    QVERIFY(menutest::WriteText(module, "#!/bin/sh\necho \"$*\" > \"" + argsFile.toUtf8() + ".tmp\"\npwd >> \"" +
                                            argsFile.toUtf8() + ".tmp\"\nmv \"" + argsFile.toUtf8() + ".tmp\" \"" +
                                            argsFile.toUtf8() + "\"\n"));
    QFile::setPermissions(module, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcess menu;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KEM_DISTINTA"), module);
    menu.setProcessEnvironment(env);
    const QString socket = startMenu(menu, {QStringLiteral("--open"), form});
    QVERIFY(!socket.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(argsFile), 5000);
    QFile f(argsFile);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    const QString commandLine = lines.value(0);
    QCOMPARE(CmdSwitch(commandLine, QLatin1Char('M')), socket);
    QCOMPARE(CmdSwitch(commandLine, QLatin1Char('P')), programSwitch);
    QCOMPARE(CmdSwitch(commandLine, QLatin1Char('F')), form);
    QCOMPARE(CmdSwitch(commandLine, QLatin1Char('I')), QDir(dir_).filePath(QStringLiteral("kemwin.ini")));
    QCOMPARE(CmdSwitch(commandLine, QLatin1Char('H')), QString());
    QCOMPARE(QDir(lines.value(1)).canonicalPath(), QDir(dir_).canonicalPath());
    menu.closeWriteChannel();
    QVERIFY(menu.waitForFinished(5000));
}

void TstKemoraMenu::missingCompanyFails()
{
    QProcess menu;
    menu.start(kMenuExe, {QStringLiteral("--company"), QDir(dir_).filePath(QStringLiteral("nessuna")),
                          QStringLiteral("--headless")});
    QVERIFY(menu.waitForFinished(5000));
    QCOMPARE(menu.exitCode(), 1);
    QVERIFY(menu.readAllStandardOutput().isEmpty());
    QVERIFY(QString::fromLocal8Bit(menu.readAllStandardError()).contains(QStringLiteral("nessuna")));
}

QTEST_GUILESS_MAIN(TstKemoraMenu)
#include "tst_kemoramenu.moc"
