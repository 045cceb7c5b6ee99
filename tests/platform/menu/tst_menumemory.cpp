// MenuMemory: the module's view of its menu. While the menu is there every operation reaches
// it; once it has gone away the operations answer what it said before, quietly.
#include "platform/menu/fakemenuserver.h"
#include "platform/menu/menumemory.h"

#include <QSignalSpy>
#include <QtTest>

using namespace kem;

class TstMenuMemory : public QObject {
    Q_OBJECT
private slots:
    void init();
    void forwardsWhileTheMenuIsThere();
    void lossIsAnnouncedOnce();
    void variablesAfterTheLoss_data();
    void variablesAfterTheLoss();
    void functionsAfterTheLoss_data();
    void functionsAfterTheLoss();
    void messageBoxAfterTheLossIsLeftToTheCaller();
    void windowOperationsAfterTheLossDoNothing();
    void commandsReachTheModule();

private:
    void lose();
    std::shared_ptr<FakeMenuServer> fake_;
    std::unique_ptr<MenuMemory> memory_;
};

void TstMenuMemory::init()
{
    fake_ = std::make_shared<FakeMenuServer>();
    memory_ = std::make_unique<MenuMemory>(fake_);
    fake_->setVar(QStringLiteral("DescAzie"), QStringLiteral("Mobili Rossi"));
    fake_->setVar(QStringLiteral("Vuota"), QString());
    fake_->setIniPath(QStringLiteral("/srv/az/kemwin.ini"));
    fake_->setLaunchParams(LaunchParams{QStringLiteral("/M x /F frmPrelvo"), {}, {}, {}});
    fake_->setCallHandler([](const QString &function, const QString &, const QVariant &param) -> QVariant {
        return function + QLatin1Char(':') + param.toString();
    });
}

void TstMenuMemory::lose()
{
    fake_->loseMenu();
    QTRY_VERIFY(memory_->lost());
}

void TstMenuMemory::forwardsWhileTheMenuIsThere()
{
    QCOMPARE(memory_->MenuVar(QStringLiteral("DescAzie")), QStringLiteral("Mobili Rossi"));
    QCOMPARE(memory_->MenuCall(QStringLiteral("TastiCtrl"), QStringLiteral("Tutti"), 3), QVariant(QStringLiteral("TastiCtrl:3")));
    memory_->MenuRegister(QStringLiteral("m"), QStringLiteral("DISTINTA"), QString());
    memory_->MenuActivate(QStringLiteral("Tutti"));
    QCOMPARE(memory_->MenuIniPath(), QStringLiteral("/srv/az/kemwin.ini"));
    QStringList ops;
    for (const FakeMenuServer::Call &c : fake_->calls())
        ops << c.op;
    QCOMPARE(ops, (QStringList{"MenuVar", "MenuCall", "MenuRegister", "MenuActivate", "MenuIniPath"}));
    QVERIFY(fake_->isRegistered());
    // the menu's own errors reach the caller
    fake_->failOn(QStringLiteral("MenuVar"), MenuError::Remote, QStringLiteral("guasto"));
    QVERIFY_THROWS_EXCEPTION(MenuError, memory_->MenuVar(QStringLiteral("DescAzie")));
    QVERIFY(!memory_->lost());
}

void TstMenuMemory::lossIsAnnouncedOnce()
{
    QSignalSpy spy(memory_.get(), &MenuServer::menuLost);
    fake_->loseMenu();
    QVERIFY(spy.wait(1000));
    emit fake_->menuLost();
    QTest::qWait(20);
    QCOMPARE(spy.count(), 1);
    QVERIFY(memory_->lost());
}

void TstMenuMemory::variablesAfterTheLoss_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("defBefore"); // default of the read before the loss; "-" no read
    QTest::addColumn<QString>("defAfter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("read before") << "DescAzie" << "" << "" << "Mobili Rossi";
    QTest::newRow("read before, another case") << "descazie" << "" << "x" << "Mobili Rossi";
    QTest::newRow("empty value") << "Vuota" << "" << "" << "";
    QTest::newRow("never read") << "Mag.NumDecQta" << "-" << "" << MenuMissingMarker;
    QTest::newRow("never read, default") << "Mag.NumDecQta" << "-" << "3" << "3";
    QTest::newRow("missing") << "Manca" << "" << "" << MenuMissingMarker;
    QTest::newRow("missing, default after") << "Manca" << "" << "N" << "N";
    QTest::newRow("answered its default, same default") << "Manca" << "S" << "S" << "S";
    QTest::newRow("answered its default, another default") << "Manca" << "S" << "N" << "N";
}

void TstMenuMemory::variablesAfterTheLoss()
{
    QFETCH(QString, name);
    QFETCH(QString, defBefore);
    QFETCH(QString, defAfter);
    QFETCH(QString, expected);
    if (defBefore != QLatin1String("-"))
        memory_->MenuVar(name, defBefore);
    lose();
    fake_->clearCalls();
    QCOMPARE(memory_->MenuVar(name, defAfter), expected);
    QVERIFY(fake_->calls().isEmpty());
}

void TstMenuMemory::functionsAfterTheLoss_data()
{
    QTest::addColumn<QVariant>("paramBefore");
    QTest::addColumn<QVariant>("paramAfter");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("same call") << QVariant(3) << QVariant(3) << QVariant(QStringLiteral("TastiCtrl:3"));
    QTest::newRow("list parameter") << QVariant(QVariantList{1, QStringLiteral("a")})
                                    << QVariant(QVariantList{1, QStringLiteral("a")})
                                    << QVariant(QStringLiteral("TastiCtrl:"));
    QTest::newRow("another parameter") << QVariant(3) << QVariant(4) << QVariant(QString());
}

void TstMenuMemory::functionsAfterTheLoss()
{
    QFETCH(QVariant, paramBefore);
    QFETCH(QVariant, paramAfter);
    QFETCH(QVariant, expected);
    memory_->MenuCall(QStringLiteral("TastiCtrl"), QStringLiteral("Tutti"), paramBefore);
    lose();
    QCOMPARE(memory_->MenuCall(QStringLiteral("tastictrl"), QStringLiteral("Tutti"), paramAfter), expected);
}

void TstMenuMemory::messageBoxAfterTheLossIsLeftToTheCaller()
{
    lose();
    try {
        memory_->MenuCall(QStringLiteral("MsgBox"), QStringLiteral("Tutti"), QStringLiteral("Attenzione"));
        QFAIL("a message for a menu that is gone was swallowed");
    } catch (const MenuError &e) {
        QCOMPARE(e.kind(), MenuError::Disconnected);
    }
}

void TstMenuMemory::windowOperationsAfterTheLossDoNothing()
{
    QCOMPARE(memory_->MenuLaunchParams().osParam, QStringLiteral("/M x /F frmPrelvo"));
    memory_->MenuIniPath();
    lose();
    fake_->clearCalls();
    memory_->MenuActivate(QStringLiteral("Tutti"));
    memory_->MenuReturnTo(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"));
    memory_->MenuPassaA(QStringLiteral("t"), QStringLiteral("f"), {});
    memory_->MenuLaunchSelect(QStringLiteral("k"));
    memory_->MenuKeyRelease(QStringLiteral("k"));
    memory_->MenuUnregister();
    memory_->MenuVarSet(QStringLiteral("SqlPwd"), QStringLiteral("nuova"));
    QCOMPARE(memory_->MenuVar(QStringLiteral("SqlPwd"), QStringLiteral("x")), QStringLiteral("nuova"));
    QCOMPARE(memory_->MenuIniPath(), QStringLiteral("/srv/az/kemwin.ini"));
    QCOMPARE(memory_->MenuLaunchParams().osParam, QStringLiteral("/M x /F frmPrelvo"));
    QVERIFY(fake_->calls().isEmpty());
}

void TstMenuMemory::commandsReachTheModule()
{
    QString seen;
    connect(memory_.get(), &MenuServer::EseguiComando, this,
            [&](const QString &, const QString &, const QString &command, const QVariant &, QVariant &result) {
                seen = command;
                result = QStringLiteral("No Chiudi");
            },
            Qt::DirectConnection);
    QCOMPARE(fake_->pushCommand(QStringLiteral("fine")).toString(), QStringLiteral("No Chiudi"));
    QCOMPARE(seen, QStringLiteral("fine"));
}

QTEST_GUILESS_MAIN(TstMenuMemory)
#include "tst_menumemory.moc"
