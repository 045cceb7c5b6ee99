// Frame codec, request helpers and the launch switch syntax (read back with kem::CmdSwitch).
#include "platform/util/kemutil.h"
#include "platform/menu/menulaunch.h"
#include "platform/menu/menuprotocol.h"
#include "platform/menu/menuserver.h"

#include <QtTest>

using namespace kem;
using namespace kem::menuproto;

class TstMenuProtocol : public QObject {
    Q_OBJECT
private slots:
    void roundTripKeepsTypes_data();
    void roundTripKeepsTypes();
    void framesSplitAnywhere();
    void oversizedFrameIsRefused();
    void garbageIsRefused();
    void launchParamsMap();
    void getParamDbMenuRequest();
    void getParamDbMenuRejectsOtherText();
    void menuVarAnswer_data();
    void menuVarAnswer();
    void switchesReadBack_data();
    void switchesReadBack();
    void errorNumbers();
};

void TstMenuProtocol::roundTripKeepsTypes_data()
{
    QTest::addColumn<QVariant>("param");
    QTest::newRow("none") << QVariant();
    QTest::newRow("text") << QVariant(QStringLiteral("Personal.Tutti.§DataMinima àèìòù"));
    QTest::newRow("int") << QVariant(42);
    QTest::newRow("double") << QVariant(1.07);
    QTest::newRow("list") << QVariant(QVariantList{42, QStringLiteral("1234.1")});
    QTest::newRow("nested") << QVariant(QVariantList{0, QVariantList{QStringLiteral("a"), 2.5}});
}

void TstMenuProtocol::roundTripKeepsTypes()
{
    QFETCH(QVariant, param);
    const QVariantMap sent = MakeCall(7, QStringLiteral("MenuCall"), {QStringLiteral("AddSeg"), QStringLiteral("Tutti"), param});
    FrameReader reader;
    reader.append(EncodeFrame(sent));
    QVariantMap got;
    QString error;
    QCOMPARE(reader.next(&got, &error), FrameReader::Status::Message);
    QCOMPARE(got.value("id").toLongLong(), 7);
    const QVariant back = got.value("args").toList().value(2);
    QCOMPARE(back.isValid(), param.isValid());
    if (param.isValid()) {
        QCOMPARE(back.typeId(), param.typeId());
        QCOMPARE(back, param);
    }
    QCOMPARE(reader.next(&got, &error), FrameReader::Status::NeedMore);
}

void TstMenuProtocol::framesSplitAnywhere()
{
    const QByteArray stream = EncodeFrame(MakeReply(1, QStringLiteral("uno"))) +
                              EncodeFrame(MakeCommand(2, {}, QStringLiteral("k"), QStringLiteral("fine"), {}));
    FrameReader reader;
    QList<QVariantMap> out;
    for (char c : stream) {
        reader.append(QByteArray(1, c));
        QVariantMap m;
        QString error;
        while (reader.next(&m, &error) == FrameReader::Status::Message)
            out.append(m);
    }
    QCOMPARE(out.size(), 2);
    QCOMPARE(out[0].value("result").toString(), QStringLiteral("uno"));
    QCOMPARE(out[1].value("command").toString(), QStringLiteral("fine"));
    QCOMPARE(out[1].value("text2").toString(), QStringLiteral("k"));
}

void TstMenuProtocol::oversizedFrameIsRefused()
{
    QByteArray header(4, '\0');
    qToBigEndian<quint32>(MaxFrameBytes + 1, header.data());
    FrameReader reader;
    reader.append(header);
    QVariantMap m;
    QString error;
    QCOMPARE(reader.next(&m, &error), FrameReader::Status::Error);
    QVERIFY(!error.isEmpty());
    reader.append(EncodeFrame(MakeReply(1, 1))); // the stream stays unusable
    QCOMPARE(reader.next(&m, &error), FrameReader::Status::Error);
}

void TstMenuProtocol::garbageIsRefused()
{
    QByteArray frame(4, '\0');
    qToBigEndian<quint32>(5, frame.data());
    frame.append("xxxxx");
    FrameReader reader;
    reader.append(frame);
    QVariantMap m;
    QString error;
    QCOMPARE(reader.next(&m, &error), FrameReader::Status::Error);
}

void TstMenuProtocol::launchParamsMap()
{
    const LaunchParams p{QStringLiteral("/M s /P DIBA /F frmPrelvo"), QStringLiteral("ORD"),
                         QStringLiteral("sec"), QStringLiteral("par")};
    QCOMPARE(LaunchParamsFromMap(LaunchParamsToMap(p)), p);
}

void TstMenuProtocol::getParamDbMenuRequest()
{
    const QString statement = QStringLiteral("SELECT * From MenuDett WHERE Chiave='DIBA' AND ChiaveSec='x'");
    const QString request = GetParamDbMenuRequest(statement, QStringLiteral("Caption,DescPrg"));
    QCOMPARE(request, QStringLiteral("GetParamDbMenu§~") + statement + QStringLiteral("§~Caption,DescPrg"));
    QString s;
    QStringList columns;
    QVERIFY(ParseGetParamDbMenu(request, &s, &columns));
    QCOMPARE(s, statement);
    QCOMPARE(columns, (QStringList{QStringLiteral("Caption"), QStringLiteral("DescPrg")}));
}

void TstMenuProtocol::getParamDbMenuRejectsOtherText()
{
    QVERIFY(!ParseGetParamDbMenu(QStringLiteral("NomeDBAzie"), nullptr, nullptr));
    QVERIFY(!ParseGetParamDbMenu(QStringLiteral("GetParamDbMenu§~SELECT 1"), nullptr, nullptr));
}

void TstMenuProtocol::menuVarAnswer_data()
{
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("def");
    QTest::addColumn<QString>("expected");
    QTest::newRow("found") << true << "x" << "d" << "x";
    QTest::newRow("found empty") << true << "" << "d" << "";
    QTest::newRow("missing, default") << false << "" << "d" << "d";
    QTest::newRow("missing, no default") << false << "" << "" << MenuMissingMarker;
}

void TstMenuProtocol::menuVarAnswer()
{
    QFETCH(bool, found);
    QFETCH(QString, value);
    QFETCH(QString, def);
    QFETCH(QString, expected);
    QCOMPARE(MenuVarAnswer(found, value, def), expected);
}

void TstMenuProtocol::switchesReadBack_data()
{
    QTest::addColumn<QString>("extra");
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("help");
    QTest::addColumn<QString>("expectedP");
    QTest::newRow("minimal") << "" << "" << "" << "DIBA";
    QTest::newRow("extra text") << "frmPrelvo" << "" << "" << "DIBA frmPrelvo";
    QTest::newRow("paths with blanks") << "FrmStaFabbis" << "/tmp/my company/kemwin.ini"
                                       << "/opt/kem/help/distinta base.chm" << "DIBA FrmStaFabbis";
}

void TstMenuProtocol::switchesReadBack()
{
    QFETCH(QString, extra);
    QFETCH(QString, ini);
    QFETCH(QString, help);
    QFETCH(QString, expectedP);
    const ModuleLaunch launch{QStringLiteral("kemora-menu-1-abc"), QStringLiteral("DIBA"), extra,
                              QStringLiteral("frmPrelvo"), ini, help};
    const QString line = ModuleCommandLine(launch);
    QCOMPARE(line, ModuleArguments(launch).join(QLatin1Char(' ')));
    QCOMPARE(CmdSwitch(line, QLatin1Char('M')), QStringLiteral("kemora-menu-1-abc"));
    QCOMPARE(CmdSwitch(line, QLatin1Char('P')), expectedP);
    QCOMPARE(CmdSwitch(line, QLatin1Char('F')), QStringLiteral("frmPrelvo"));
    QCOMPARE(CmdSwitch(line, QLatin1Char('I')), ini);
    QCOMPARE(CmdSwitch(line, QLatin1Char('H')), help);
    QCOMPARE(ModuleArguments(launch).contains(QStringLiteral("/I")), !ini.isEmpty());
}

void TstMenuProtocol::errorNumbers()
{
    QCOMPARE(MenuError(MenuError::NotRunning, "x").number(), 5);
    QCOMPARE(MenuError(MenuError::Disconnected, "x").number(), 5);
    QCOMPARE(MenuError(MenuError::Timeout, "x").number(), 440);
    QCOMPARE(MenuError(MenuError::Remote, "x").number(), 440);
    QCOMPARE(PersonalVarName(QStringLiteral("Tutti"), QStringLiteral("DataMinima")),
             QStringLiteral("Personal.Tutti.§DataMinima"));
}

QTEST_GUILESS_MAIN(TstMenuProtocol)
#include "tst_menuprotocol.moc"
