// The in-process fake: scripted answers, the call record, scripted failures and commands.
#include "platform/menu/fakemenuserver.h"

#include <QtTest>

using namespace kem;

class TstFakeMenuServer : public QObject {
    Q_OBJECT
private slots:
    void recordsEveryCallInOrder();
    void variablesIgnoreCaseAndMissingAnswersMarker();
    void personalParameters();
    void menuVarSetIsSeenLater();
    void callResultsAndHandler();
    void failOnThrows();
    void launchSelect();
    void pushCommandReturnsHandlerAnswer();
};

void TstFakeMenuServer::recordsEveryCallInOrder()
{
    FakeMenuServer menu;
    menu.MenuRegister(QStringLiteral("sock"), QStringLiteral("DIBA"), QStringLiteral("12 X"));
    menu.MenuCall(QStringLiteral("AddSeg"), QStringLiteral("Tutti"), QVariantList{42, QStringLiteral("T1")});
    menu.MenuVar(QStringLiteral("VersMenu"));
    menu.MenuUnregister();
    const QList<FakeMenuServer::Call> calls = menu.calls();
    QCOMPARE(calls.size(), 4);
    QCOMPARE(calls[0].op, QStringLiteral("MenuRegister"));
    QCOMPARE(calls[0].args, (QVariantList{QStringLiteral("sock"), QStringLiteral("DIBA"), QStringLiteral("12 X")}));
    QCOMPARE(calls[1].args.at(2), QVariant(QVariantList{42, QStringLiteral("T1")}));
    QCOMPARE(calls[2].args, (QVariantList{QStringLiteral("VersMenu"), QString()}));
    QCOMPARE(menu.callsTo(QStringLiteral("MenuUnregister")).size(), 1);
    QVERIFY(!menu.isRegistered());
    menu.clearCalls();
    QVERIFY(menu.calls().isEmpty());
}

void TstFakeMenuServer::variablesIgnoreCaseAndMissingAnswersMarker()
{
    FakeMenuServer menu;
    menu.setVar(QStringLiteral("DescAzie"), QStringLiteral("Mobili"));
    QCOMPARE(menu.MenuVar(QStringLiteral("descazie")), QStringLiteral("Mobili"));
    QCOMPARE(menu.MenuVar(QStringLiteral("NomeDBAzie")), MenuMissingMarker);
    QCOMPARE(menu.MenuVar(QStringLiteral("NomeDBAzie"), QStringLiteral("x.db")), QStringLiteral("x.db"));
    menu.removeVar(QStringLiteral("DESCAZIE"));
    QCOMPARE(menu.MenuVar(QStringLiteral("DescAzie")), MenuMissingMarker);
}

void TstFakeMenuServer::personalParameters()
{
    FakeMenuServer menu;
    menu.setPersonal(QStringLiteral("Tutti"), QStringLiteral("DataMinima"), QStringLiteral("01/01/2000"));
    QCOMPARE(menu.MenuVar(QStringLiteral("Personal.Tutti.§DataMinima")), QStringLiteral("01/01/2000"));
    QCOMPARE(menu.MenuVar(QStringLiteral("Personal.Help.§HlpSpost")), MenuMissingMarker);
}

void TstFakeMenuServer::menuVarSetIsSeenLater()
{
    FakeMenuServer menu;
    menu.MenuVarSet(QStringLiteral("SqlLogin"), QStringLiteral("sa"));
    QCOMPARE(menu.MenuVar(QStringLiteral("SqlLogin")), QStringLiteral("sa"));
    QCOMPARE(menu.var(QStringLiteral("sqllogin")).value_or(QString()), QStringLiteral("sa"));
}

void TstFakeMenuServer::callResultsAndHandler()
{
    FakeMenuServer menu;
    menu.setCallResult(QStringLiteral("PrepProcCorr"), QStringLiteral("T1"));
    QStringList seen;
    menu.setCallHandler([&seen](const QString &f, const QString &, const QVariant &p) -> QVariant {
        seen << f;
        return p.toList().value(1).toString() + QStringLiteral("+seg");
    });
    QCOMPARE(menu.MenuCall(QStringLiteral("prepproccorr"), QStringLiteral("Tutti")), QVariant(QStringLiteral("T1")));
    QCOMPARE(menu.MenuCall(QStringLiteral("AddSeg"), QStringLiteral("Tutti"), QVariantList{42, QStringLiteral("T1")}),
             QVariant(QStringLiteral("T1+seg")));
    QCOMPARE(seen, QStringList{QStringLiteral("AddSeg")});
}

void TstFakeMenuServer::failOnThrows()
{
    FakeMenuServer menu;
    menu.failOn(QStringLiteral("MenuRegister"), MenuError::NotRunning);
    try {
        menu.MenuRegister(QStringLiteral("s"), QStringLiteral("DIBA"), {});
        QFAIL("MenuRegister did not throw");
    } catch (const MenuError &e) {
        QCOMPARE(e.kind(), MenuError::NotRunning);
        QCOMPARE(e.number(), 5);
    }
    QCOMPARE(menu.callsTo(QStringLiteral("MenuRegister")).size(), 1); // the attempt is recorded
    QVERIFY(!menu.isRegistered());
    menu.clearFailures();
    menu.MenuRegister(QStringLiteral("s"), QStringLiteral("DIBA"), {});
    QVERIFY(menu.isRegistered());
}

void TstFakeMenuServer::launchSelect()
{
    FakeMenuServer menu;
    const LaunchParams first{QStringLiteral("/M s /P DIBA /F frmPrelvo"), {}, {}, {}};
    const LaunchParams second{QStringLiteral("/M s /P DIBA FrmStaFabbis /F FrmStaFabbis"), QStringLiteral("ORD"), {}, {}};
    menu.setLaunchParams(first);
    menu.setLaunchParams(QStringLiteral("FrmStaFabbis"), second);
    QCOMPARE(menu.MenuLaunchParams(), first);
    menu.MenuLaunchSelect(QStringLiteral("frmstafabbis"));
    QCOMPARE(menu.MenuLaunchParams(), second);
    menu.MenuKeyRelease(QStringLiteral("FrmStaFabbis"));
    QVERIFY_THROWS_EXCEPTION(MenuError, menu.MenuLaunchSelect(QStringLiteral("FrmStaFabbis")));
}

void TstFakeMenuServer::pushCommandReturnsHandlerAnswer()
{
    FakeMenuServer menu;
    QString gotText2;
    QVariant gotParam;
    connect(&menu, &MenuServer::EseguiComando, this,
            [&](const QString &, const QString &text2, const QString &command, const QVariant &param, QVariant &result) {
                gotText2 = text2;
                gotParam = param;
                if (command.toLower() == QLatin1String("fine"))
                    result = QStringLiteral("No Chiudi");
            });
    QCOMPARE(menu.pushCommand(QStringLiteral("FINE"), {}, QStringLiteral("k2")), QVariant(QStringLiteral("No Chiudi")));
    QCOMPARE(gotText2, QStringLiteral("k2"));
    // A handler that leaves the result alone answers an empty text.
    QCOMPARE(menu.pushCommand(QStringLiteral("passaa"), QStringLiteral("frmPrelvo")), QVariant(QString()));
    QCOMPARE(gotParam, QVariant(QStringLiteral("frmPrelvo")));
}

QTEST_GUILESS_MAIN(TstFakeMenuServer)
#include "tst_fakemenuserver.moc"
