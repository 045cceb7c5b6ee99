// Print options: loading from the report section and "Opzioni Stampa", exclusions,
// conversions, the ini error, printer and session checks, the menu caption, quick preview,
// saving and the default printer.
#include "print/defaultprinter.h"
#include "print/optionsini.h"
#include "print/printersessions.h"
#include "platform/printlib/printoptions.h"
#include "tests/print/printtestsupport.h"

#include <QTest>

using namespace kem;
using kemtest::PrintFixture;

namespace {
const QString kReport = QStringLiteral("DIBA01");  // program key "DIBA" + osKeySec "01"
const QString kCommon = QStringLiteral("Opzioni Stampa");

QVariant valueOf(const PrintOptions &o, const QString &key)
{
    if (key == "StaVid") return o.StaVid;
    if (key == "FisStampante") return o.FisStampante;
    if (key == "NumNoForm") return o.NumNoForm;
    if (key == "Fatt") return double(o.Fatt);
    if (key == "FisColonne") return o.FisColonne;
    if (key == "SepCampi") return o.SepCampi;
    if (key == "NomeStampante") return o.NomeStampante;
    if (key == "FileName") return o.FileName;
    if (key == "Cassetto") return o.ParamInt(QStringLiteral("NumCassetto"));
    if (key == "PdfNomeAutom") return o.ParamGet(QStringLiteral("PdfAutomAbil")).toBool();
    return {};
}

struct Hooks : ReportFormHooks {
    PrintOptions *o = nullptr;
    QList<int> shown;      // StaVid at every VisStaAttuale
    int runWith = -1;      // StaVid when the report ran
    void VisStaAttuale() override { shown.append(o->StaVid); }
    void ComStampa_Click() override { runWith = o->StaVid; }
};
} // namespace

class TestPrintOptions : public QObject {
    Q_OBJECT
private slots:
    void load_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("reportValue");  // "<none>": key absent from the report section
        QTest::addColumn<QString>("commonValue");  // "<none>": absent from "Opzioni Stampa"
        QTest::addColumn<QString>("exclusions");
        QTest::addColumn<QVariant>("expected");

        const QString none = QStringLiteral("<none>");
        QTest::newRow("report section wins") << "StaVid" << "2" << "1" << "" << QVariant(2);
        QTest::newRow("common when absent") << "StaVid" << none << "1" << "" << QVariant(1);
        QTest::newRow("common when empty") << "StaVid" << "" << "3" << "" << QVariant(3);
        QTest::newRow("excluded common ignored") << "StaVid" << none << "1" << ",StaVid" << QVariant(0);
        QTest::newRow("excluded still read from report") << "StaVid" << "2" << "1" << ",StaVid" << QVariant(2);
        QTest::newRow("exclusion names only its key") << "StaVid" << none << "1" << ",StaVidX,FileName" << QVariant(1);
        QTest::newRow("bool s") << "FisStampante" << "s" << none << "" << QVariant(true);
        QTest::newRow("bool S padded") << "FisStampante" << "  S " << none << "" << QVariant(true);
        QTest::newRow("bool 0") << "FisStampante" << "0" << "-1" << "" << QVariant(false);
        QTest::newRow("bool 2") << "FisStampante" << "2" << none << "" << QVariant(true);
        QTest::newRow("bool -1") << "NumNoForm" << "-1" << none << "" << QVariant(true);
        QTest::newRow("bool N") << "NumNoForm" << "N" << "-1" << "" << QVariant(false);
        QTest::newRow("bool other text") << "NumNoForm" << "si" << none << "" << QVariant(false);
        QTest::newRow("single italian") << "Fatt" << "1,5" << none << "" << QVariant(1.5);
        QTest::newRow("integer") << "FisColonne" << "80" << "120" << "" << QVariant(80);
        QTest::newRow("integer rounded") << "FisColonne" << "79,6" << none << "" << QVariant(80);
        QTest::newRow("long") << "SepCampi" << "3" << none << "" << QVariant(3);
        QTest::newRow("text trimmed") << "FileName" << "  /tmp/x.csv " << none << "" << QVariant("/tmp/x.csv");
        QTest::newRow("named parameter") << "Cassetto" << none << "15" << "" << QVariant(15);
        QTest::newRow("named boolean") << "PdfNomeAutom" << "S" << none << "" << QVariant(true);
    }
    void load()
    {
        QFETCH(QString, key);
        QFETCH(QString, reportValue);
        QFETCH(QString, commonValue);
        QFETCH(QString, exclusions);
        QFETCH(QVariant, expected);
        PrintFixture f;
        f.printers.add(QStringLiteral("HP"));
        f.printers.defaultPrinter = QStringLiteral("HP");
        if (reportValue != QLatin1String("<none>"))
            f.ini(kReport, key, reportValue);
        if (commonValue != QLatin1String("<none>"))
            f.ini(kCommon, key, commonValue);
        f.ini(kReport, QStringLiteral("Unrelated"), QStringLiteral("1"));
        PrintOptions o;
        LoadOptionsArgs args;
        args.osKeySec = QStringLiteral("01");
        args.exclusions = exclusions;
        PrintOptionsIni(f.env).Load(o, args);
        QCOMPARE(o.SectionKey, kReport);
        if (expected.typeId() == QMetaType::Double)
            QCOMPARE(valueOf(o, key).toDouble(), expected.toDouble());
        else
            QCOMPARE(valueOf(o, key), expected);
        QVERIFY2(f.sink.messages.isEmpty(), qPrintable(f.sink.texts().join('|')));
    }

    void explicitSectionAndSuffix()
    {
        PrintFixture f;
        f.printers.add(QStringLiteral("HP"));
        f.printers.defaultPrinter = QStringLiteral("HP");
        f.ini(QStringLiteral("MiaStampaX"), QStringLiteral("FisRighe"), QStringLiteral("50"));
        PrintOptions o;
        LoadOptionsArgs args;
        args.section = QStringLiteral("MiaStampa");
        args.suffix = QStringLiteral("X");
        PrintOptionsIni(f.env).Load(o, args);
        QCOMPARE(o.SectionKey, QStringLiteral("MiaStampaX"));
        QCOMPARE(o.FisRighe, 50);
    }

    void pdfDefault()
    {
        PrintFixture f;
        f.printers.add(QStringLiteral("HP"));
        f.printers.add(QStringLiteral("PDFCreator"), QStringLiteral("cups-pdf:/"));
        f.printers.defaultPrinter = QStringLiteral("HP");
        f.menu.setVar(QStringLiteral("UsaPdfCreator"), QStringLiteral("S"));
        PrintOptions o;
        LoadOptionsArgs args;
        args.pdfAutomDefault = QStringLiteral("S");
        PrintOptionsIni(f.env).Load(o, args);
        QVERIFY(o.ParamGet(QStringLiteral("PdfAutomAbil")).toBool());
        QCOMPARE(o.NomeStampante, QStringLiteral("PDFCreator"));
        QCOMPARE(o.NomePorta, QStringLiteral("cups-pdf:/"));
    }

    void iniError_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("bad");
        QTest::newRow("not a number") << "FisColonne" << "abc";
        QTest::newRow("beyond 16 bits") << "FisColonne" << "70000";
        QTest::newRow("destination outside the table") << "FisColonne" << "12";  // see StaVid below
    }
    void iniError()
    {
        QFETCH(QString, key);
        QFETCH(QString, bad);
        PrintFixture f;
        f.printers.add(QStringLiteral("HP"));
        f.printers.defaultPrinter = QStringLiteral("HP");
        f.ini(kReport, QStringLiteral("FileName"), QStringLiteral("prima.csv"));  // before the bad key
        f.ini(kReport, QStringLiteral("FisRighe"), QStringLiteral("40"));         // after it
        if (QTest::currentDataTag() == QLatin1String("destination outside the table"))
            f.ini(kReport, QStringLiteral("StaVid"), QStringLiteral("7"));
        else
            f.ini(kReport, key, bad);
        PrintOptions o;
        LoadOptionsArgs args;
        args.osKeySec = QStringLiteral("01");
        PrintOptionsIni(f.env).Load(o, args);
        QCOMPARE(f.sink.messages.size(), 1);
        QCOMPARE(f.sink.messages[0].caption, QStringLiteral("Errore file ini"));
        QCOMPARE(f.sink.messages[0].text, QStringLiteral("(IniOpzSta) Problemi nei parametri \r\nnel file di inizializzazione. \r\nUso i valori di default"));
        QCOMPARE(o.FisRighe, PrintOptions().FisRighe);  // not reached: the initial value stands
        QCOMPARE(o.StaVid, 0);
        if (QTest::currentDataTag() != QLatin1String("destination outside the table"))
            QCOMPARE(o.FileName, QStringLiteral("prima.csv"));  // read before the error: kept
    }

    void printerChecks_data()
    {
        QTest::addColumn<int>("staVid");
        QTest::addColumn<QString>("nomeStampante");
        QTest::addColumn<QString>("defaultPrinter");
        QTest::addColumn<int>("session");
        QTest::addColumn<QStringList>("expected");
        const QString noDefault = QStringLiteral("Stampante di default non disponibile\r\n"
                                                 "Andare in selezione stampanti per scegliere una o impostare la stampante di default da windows");
        const QString otherDefault = QStringLiteral("La stampante (HP (da 4)) predefinita appartiene ad un'altra sessione\r\n"
                                                    "Scegliere una stampante o cambiare la stampante predefinita");
        const QString otherSession = QStringLiteral("Stampante di default di altra sessione (HP (da 4))\r\n"
                                                    "Andare in selezione stampanti per scegliere quella del computer in uso");
        QTest::newRow("no printer, no default") << 0 << "" << "" << 0 << QStringList{noDefault};
        QTest::newRow("preview skips the checks") << 1 << "" << "" << 0 << QStringList{};
        QTest::newRow("named printer, no default") << 0 << "HP" << "" << 0 << QStringList{};
        QTest::newRow("default of this session") << 0 << "" << "HP (da 3)" << 3 << QStringList{};
        QTest::newRow("default of another session") << 0 << "" << "HP (da 4)" << 3 << QStringList{otherDefault, otherSession};
        QTest::newRow("other session, preview") << 1 << "" << "HP (da 4)" << 3 << QStringList{otherDefault};
        QTest::newRow("not a remote session") << 0 << "" << "HP (da 4)" << 0 << QStringList{};
    }
    void printerChecks()
    {
        QFETCH(int, staVid);
        QFETCH(QString, nomeStampante);
        QFETCH(QString, defaultPrinter);
        QFETCH(int, session);
        QFETCH(QStringList, expected);
        PrintFixture f;
        f.printers.add(QStringLiteral("HP"));
        f.printers.add(QStringLiteral("HP (da 3)"));
        f.printers.add(QStringLiteral("HP (da 4)"));
        f.printers.defaultPrinter = defaultPrinter;
        f.env.terminalSession = session;
        f.ini(QStringLiteral("Stampanti"), QStringLiteral("TermSessAggNome"), QStringLiteral(" (da %§)"));
        f.ini(kReport, QStringLiteral("StaVid"), QString::number(staVid));
        f.ini(kReport, QStringLiteral("FisRighe"), QStringLiteral("44"));
        if (!nomeStampante.isEmpty())
            f.ini(kReport, QStringLiteral("NomeStampante"), nomeStampante);
        PrintOptions o;
        LoadOptionsArgs args;
        args.osKeySec = QStringLiteral("01");
        PrintOptionsIni(f.env).Load(o, args);
        QCOMPARE(f.sink.texts(), expected);
        QCOMPARE(o.FisRighe, 44);  // the record is filled whatever the checks say
    }

    void sessionMapping_data()
    {
        QTest::addColumn<int>("session");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("mapped");
        QTest::addColumn<bool>("other");
        QTest::newRow("other session mapped") << 3 << "HP (da 5)" << "HP (da 3)" << true;
        QTest::newRow("this session kept") << 3 << "HP (da 3)" << "HP (da 3)" << false;
        QTest::newRow("base name to this session") << 3 << "HP" << "HP (da 3)" << false;
        QTest::newRow("no such printer here") << 3 << "Epson (da 5)" << "Epson (da 5)" << true;
        QTest::newRow("server printer") << 3 << "Ufficio" << "Ufficio" << false;
        QTest::newRow("session 31 is not a session") << 3 << "Ufficio (da 31)" << "Ufficio (da 31)" << false;
        QTest::newRow("two digits") << 12 << "HP (da 2)" << "HP (da 12)" << true;
        QTest::newRow("session 1: no mapping") << 1 << "HP (da 5)" << "HP (da 5)" << false;
        QTest::newRow("session 0: no mapping") << 0 << "HP (da 5)" << "HP (da 5)" << false;
    }
    void sessionMapping()
    {
        QFETCH(int, session);
        QFETCH(QString, stored);
        QFETCH(QString, mapped);
        QFETCH(bool, other);
        const PrinterSessions s(QStringLiteral(" (da %§)"), session);
        const QStringList system{QStringLiteral("HP (da 3)"), QStringLiteral("HP (da 12)"), QStringLiteral("Ufficio"),
                                 QStringLiteral("HP (da 5)")};
        QCOMPARE(s.MapToThis(stored, system), mapped);
        QCOMPARE(s.BelongsToOther(stored), other);
    }

    void sessionMappingAtLoad()
    {
        PrintFixture f;
        f.printers.add(QStringLiteral("HP (da 3)"));
        f.printers.add(QStringLiteral("HP (da 7)"));
        f.printers.defaultPrinter = QStringLiteral("HP (da 3)");
        f.env.terminalSession = 3;
        f.ini(QStringLiteral("Stampanti"), QStringLiteral("TermSessAggNome"), QStringLiteral(" (da %§)"));
        f.ini(kCommon, QStringLiteral("NomeStampante"), QStringLiteral("HP (da 7)"));
        PrintOptions o;
        PrintOptionsIni(f.env).Load(o, LoadOptionsArgs{QStringLiteral("01"), {}, {}, {}, {}});
        QCOMPARE(o.NomeStampante, QStringLiteral("HP (da 3)"));
        QVERIFY(f.sink.messages.isEmpty());
    }

    void sessionFromEnvironment()
    {
        const QByteArray oldXrdp = qgetenv("XRDP_SESSION"), oldDisplay = qgetenv("DISPLAY");
        qputenv("XRDP_SESSION", "1");
        qputenv("DISPLAY", ":12.0");
        QCOMPARE(TerminalSessionFromEnvironment(), 12);
        qunsetenv("XRDP_SESSION");
        QCOMPARE(TerminalSessionFromEnvironment(), 0);
        qputenv("XRDP_SESSION", oldXrdp);
        if (oldXrdp.isNull())
            qunsetenv("XRDP_SESSION");
        qputenv("DISPLAY", oldDisplay);
        if (oldDisplay.isNull())
            qunsetenv("DISPLAY");
    }

    void menuCaption_data()
    {
        QTest::addColumn<QString>("keySec");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("desc");
        QTest::newRow("row") << "01" << QStringList{"Stampa distinta", "Distinta base"} << "Stampa distinta" << "Distinta base";
        QTest::newRow("row, empty description keeps it") << "01" << QStringList{"Stampa distinta", ""} << "Stampa distinta" << "prima";
        QTest::newRow("no row") << "01" << QStringList{} << "" << "";
        QTest::newRow("quote in the key") << "O'K" << QStringList{"X", "Y"} << "X" << "Y";
    }
    void menuCaption()
    {
        QFETCH(QString, keySec);
        QFETCH(QStringList, row);
        QFETCH(QString, caption);
        QFETCH(QString, desc);
        PrintFixture f;
        QString asked, scope;
        f.menu.setCallHandler([&](const QString &function, const QString &sc, const QVariant &) {
            asked = function;
            scope = sc;
            return QVariant(row);
        });
        PrintOptions o;
        o.ParamSet(QStringLiteral("StampaDescPrg"), PrintOptions::ParamAny, QStringLiteral("prima"));
        PrintOptionsIni(f.env).LoadMenuCaption(o, keySec);
        QString quoted = keySec;
        quoted.replace("'", "''");
        QCOMPARE(asked, QStringLiteral("GetParamDbMenu§~SELECT * From MenuDett WHERE Chiave='DIBA' AND ChiaveSec='")
                            + quoted + QStringLiteral("'§~Caption,DescPrg"));
        QCOMPARE(scope, QStringLiteral("Tutti"));
        QCOMPARE(o.ParamGet(QStringLiteral("StampaCaption")).toString(), caption);
        QCOMPARE(o.ParamGet(QStringLiteral("StampaDescPrg")).toString(), desc);
    }

    void menuCaptionMenuDown()
    {
        PrintFixture f;
        f.menu.failOn(QStringLiteral("MenuCall"), MenuError::NotRunning, QStringLiteral("menu assente"));
        PrintOptions o;
        PrintOptionsIni(f.env).LoadMenuCaption(o, QStringLiteral("01"));
        QCOMPARE(o.ParamGet(QStringLiteral("StampaCaption")).toString(), QString());
        QCOMPARE(f.sink.messages.size(), 1);
        QVERIFY(f.sink.messages[0].text.startsWith(QStringLiteral("(IniOpzSta) Errore(5): ")));
    }

    void quickPreview_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<int>("after");
        QTest::addColumn<QList<int>>("shown");
        QTest::newRow("restore") << true << 2 << QList<int>{1, 2};
        QTest::newRow("keep") << false << 1 << QList<int>{1};
    }
    void quickPreview()
    {
        QFETCH(bool, restore);
        QFETCH(int, after);
        QFETCH(QList<int>, shown);
        PrintOptions o;
        o.StaVid = 2;
        Hooks h;
        h.o = &o;
        QCOMPARE(PrintOptionsIni::QuickPreview(h, o, restore), 2);
        QCOMPARE(h.runWith, 1);
        QVERIFY(o.PreviewFlag);
        QCOMPARE(o.StaVid, after);
        QCOMPARE(h.shown, shown);
    }

    void previewScale()
    {
        PrintFixture f;
        f.env.previewScale = 1.25;
        f.ini(kCommon, QStringLiteral("Fatt"), QStringLiteral("2"));
        f.ini(kCommon, QStringLiteral("StaVid"), QStringLiteral("1"));
        PrintOptions o;
        PrintOptionsIni(f.env).Load(o, {});
        QCOMPARE(o.Fatt, 2.5f);
        // Stored divided by the factor again.
        QCOMPARE(PrintOptionsIni(f.env).StoredValue(o, QStringLiteral("Fatt")), QStringLiteral("2"));
    }

    void saveAndLoadBack()
    {
        PrintFixture f;
        f.printers.add(QStringLiteral("HP"));
        PrintOptions o;
        o.StaVid = 3;
        o.FileName = QStringLiteral("/tmp/a b.csv");
        o.NumNoForm = true;
        o.Fatt = 1.5f;
        o.FisStampante = true;
        o.FisColonne = 96;
        o.NomeStampante = QStringLiteral("HP");
        o.ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, 259);
        o.ParamSet(QStringLiteral("EmailInvia"), PrintOptions::ParamAny, true);
        const QString file = f.path(QStringLiteral("terminale.ini"));
        QString error;
        PrintOptionsIni ini(f.env);
        QVERIFY2(ini.Save(o, file, kReport, PrintOptionKeys(), &error), qPrintable(error));
        QString v;
        IniRead(file, kReport, QStringLiteral("NumNoForm"), QString(), v);
        QCOMPARE(v, QStringLiteral("-1"));
        IniRead(file, kReport, QStringLiteral("RadSepCampo"), QString(), v);
        QCOMPARE(v, QStringLiteral("0"));
        IniRead(file, kReport, QStringLiteral("Fatt"), QString(), v);
        QCOMPARE(v, QStringLiteral("1,5"));

        f.env.mainIni = file;
        PrintOptions back;
        ini.Load(back, LoadOptionsArgs{QStringLiteral("01"), {}, {}, {}, {}});
        QCOMPARE(back.StaVid, 3);
        QCOMPARE(back.FileName, o.FileName);
        QVERIFY(back.NumNoForm);
        QCOMPARE(back.Fatt, 1.5f);
        QVERIFY(back.FisStampante);
        QCOMPARE(back.FisColonne, 96);
        QCOMPARE(back.ParamInt(QStringLiteral("NumCassetto")), 259);
        QVERIFY(back.ParamGet(QStringLiteral("EmailInvia")).toBool());

        QVERIFY(ini.Save(o, file, kCommon, {QStringLiteral("StaVid")}, &error));
        QVERIFY(!ini.Save(o, file, kCommon, {QStringLiteral("NonEsiste")}, &error));
        QVERIFY(error.contains(QStringLiteral("NonEsiste")));
        // Some keys: only those go; every key: the whole section.
        QVERIFY(ini.Remove(file, kReport, {QStringLiteral("FileName")}, &error));
        IniRead(file, kReport, QStringLiteral("FileName"), QStringLiteral("<none>"), v);
        QCOMPARE(v, QStringLiteral("<none>"));
        IniRead(file, kReport, QStringLiteral("StaVid"), QStringLiteral("<none>"), v);
        QCOMPARE(v, QStringLiteral("3"));
        QVERIFY(ini.Remove(file, kReport, PrintOptionKeys(), &error));
        IniRead(file, kReport, QStringLiteral("StaVid"), QStringLiteral("<none>"), v);
        QCOMPARE(v, QStringLiteral("<none>"));
        IniRead(file, kCommon, QStringLiteral("StaVid"), QStringLiteral("<none>"), v);
        QCOMPARE(v, QStringLiteral("3"));
    }

    void setDefaultPrinter()
    {
        PrintFixture f;
        f.printers.add(QStringLiteral("HP"), QStringLiteral("usb://hp"), QStringLiteral("HP LaserJet"));
        f.printers.add(QStringLiteral("Epson"), QStringLiteral("lpd://epson"), QStringLiteral("Epson FX"));
        f.printers.defaultPrinter = QStringLiteral("HP");
        DefaultPrinter d(f.env);
        QCOMPARE(d.ProfileDevice(), QStringLiteral(",,,"));
        QVERIFY(d.SetForPrint(QStringLiteral("Epson")));
        QCOMPARE(d.Current(), QStringLiteral("Epson"));
        QCOMPARE(d.ProfileDevice(), QStringLiteral("Epson,Epson FX,lpd://epson"));
        QString v;
        IniRead(f.env.profileIni, QStringLiteral("windows"), QStringLiteral("StampanteDefOri"), QString(), v);
        QCOMPARE(v, QStringLiteral("HP,HP LaserJet,usb://hp"));
        QVERIFY(f.sink.messages.isEmpty());

        f.printers.refuseSetDefault = true;
        QVERIFY(!d.SetForPrint(QStringLiteral("HP")));
        QCOMPARE(f.sink.texts(), QStringList{QStringLiteral("Impossibile impostare la stampante predefinita\r\nLa stampa verrà fatta su Epson\r\n"
                                                            "per stampare su HP uscire dal programma e rientrare")});
        QCOMPARE(d.ProfileDevice(), QStringLiteral("Epson,Epson FX,lpd://epson"));

        f.sink.messages.clear();
        f.printers.refuseSetDefault = false;
        f.printers.defaultPrinter = QStringLiteral("Sparita");
        QVERIFY(!d.SetForPrint(QStringLiteral("HP")));
        QCOMPARE(f.sink.texts(), QStringList{QStringLiteral("Nella lista delle stampanti non è disponibile la stampante predefinita \r\n"
                                                            "Uscire dal programma e rientrare per avere impostato la stampante predefinita")});
    }

    void networkPrinter_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("expected");
        QTest::newRow("unc on NT") << "\\\\server\\hp" << "2" << true;
        QTest::newRow("unc elsewhere") << "\\\\server\\hp" << "1" << false;
        QTest::newRow("local on NT") << "HP" << "2" << false;
    }
    void networkPrinter()
    {
        QFETCH(QString, device);
        QFETCH(QString, platform);
        QFETCH(bool, expected);
        QCOMPARE(DefaultPrinter::IsNetworkPrinter(device, platform), expected);
    }
};

QTEST_GUILESS_MAIN(TestPrintOptions)
#include "tst_printoptions.moc"
