// The window-free side of the destination dialog: bin and paper items, printers without bins,
// file filters and formats, the spreadsheet check, the save panel rows and what saving and
// deleting write, the closing checks.
#include "print/optionsini.h"
#include "platform/printlib/printoptions.h"
#include "tests/print/printtestsupport.h"
#include "print/sceltastamlogic.h"

#include <QFile>
#include <QTest>

using namespace kem;
using kemtest::PrintFixture;

namespace {

const QString kAbsent = QStringLiteral("<absent>");

QString iniValue(const QString &file, const QString &section, const QString &key)
{
    QString v;
    IniRead(file, section, key, kAbsent, v);
    return v;
}

void writeFile(const QString &path, const QByteArray &content, bool executable = false)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    if (executable)
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

// Puts the environment variables back when a test ends.
struct EnvGuard {
    QList<QPair<QByteArray, QByteArray>> saved;
    void set(const char *name, const QByteArray &value)
    {
        saved.append({name, qgetenv(name)});
        qputenv(name, value);
    }
    ~EnvGuard()
    {
        for (auto it = saved.crbegin(); it != saved.crend(); ++it)
            qputenv(it->first.constData(), it->second);
    }
};

} // namespace

class TestSceltaStamLogic : public QObject {
    Q_OBJECT
private slots:
    void binItemText_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bin 15") << 15 << "Manuale" << "    15 - Manuale";
        QTest::newRow("bin 1") << 1 << "Superiore" << "     1 - Superiore";
        QTest::newRow("own tray") << 258 << "Vassoio 3" << "   258 - Vassoio 3";
        QTest::newRow("six digits fill the width") << 123456 << "X" << "123456 - X";
        QTest::newRow("longer number not cut") << 1234567 << "X" << "1234567 - X";
        QTest::newRow("name cut at NUL") << 7 << QString(QStringLiteral("Auto") + QChar(0) + QStringLiteral("garbage"))
                                         << "     7 - Auto";
    }
    void binItemText()
    {
        QFETCH(int, number);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(BinItemText(number, name), expected);
    }

    void noBinsPrinters_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("printer");
        QTest::addColumn<bool>("excluded");
        QTest::addColumn<QString>("normalised");
        QTest::newRow("listed first") << "HP,Epson" << "HP" << true << ",HP,Epson,";
        QTest::newRow("listed last") << "HP,Epson" << "Epson" << true << ",HP,Epson,";
        QTest::newRow("prefix of a listed name") << "HP Laser,Epson" << "HP" << false << ",HP Laser,Epson,";
        QTest::newRow("longer than a listed name") << "HP,Epson" << "HP2" << false << ",HP,Epson,";
        QTest::newRow("already with commas") << ",HP," << "HP" << true << ",HP,";
        QTest::newRow("tutte any case") << "TuTTe" << "Whatever" << true << "TuTTe";
        QTest::newRow("empty list") << "" << "HP" << false << "";
    }
    void noBinsPrinters()
    {
        QFETCH(QString, raw);
        QFETCH(QString, printer);
        QFETCH(bool, excluded);
        QFETCH(QString, normalised);
        const NoBinsPrinters list(raw);
        QCOMPARE(list.Excludes(printer), excluded);
        QCOMPARE(list.Normalised(), normalised);
    }

    void noBinsFromIni()
    {
        PrintFixture f;
        f.ini(QStringLiteral("Tutti"), QStringLiteral("StampantiNoCassetti"), QStringLiteral("Kyocera"));
        QCOMPARE(NoBinsPrinters::FromIni(f.env).Normalised(), QStringLiteral(",Kyocera,"));
    }

    void binItems_data()
    {
        QTest::addColumn<QString>("noBins");
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QStringList>("expected");
        const QString def = QStringLiteral("Nessuna impostazione - Default");
        const QStringList all = {def, QStringLiteral("     1 - Superiore"), QStringLiteral("    15 - Manuale")};
        QTest::newRow("bins offered") << "" << "Laser" << all;
        QTest::newRow("other printer listed") << "Ink" << "Laser" << all;
        QTest::newRow("printer listed") << "Ink,Laser" << "Laser" << QStringList{def};
        QTest::newRow("tutte") << "tutte" << "Laser" << QStringList{def};
    }
    void binItems()
    {
        QFETCH(QString, noBins);
        QFETCH(QString, printer);
        QFETCH(QStringList, expected);
        ScriptedPrinterSystem printers;
        printers.add(QStringLiteral("Laser"));
        printers.add(QStringLiteral("Ink"));
        printers.sources = {PaperChoice{1, QStringLiteral("Superiore")}, PaperChoice{15, QStringLiteral("Manuale")}};
        QList<PaperItem> items;
        QString error;
        QVERIFY(BinItems(printers, printer, NoBinsPrinters(noBins), &items, &error));
        QStringList texts;
        for (const PaperItem &i : items)
            texts.append(i.text);
        QCOMPARE(texts, expected);
        QCOMPARE(items.first().number, 0);
        if (items.size() > 2)
            QCOMPARE(items[2].number, 15);
    }

    void paperItemsUnknownPrinter()
    {
        ScriptedPrinterSystem printers;
        QList<PaperItem> items;
        QString error;
        QVERIFY(!BinItems(printers, QStringLiteral("Missing"), NoBinsPrinters(QString()), &items, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(items, (QList<PaperItem>{PaperItem{0, NoPaperSettingText()}}));
        error.clear();
        QVERIFY(!SizeItems(printers, QStringLiteral("Missing"), &items, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(items.size(), 1);
    }

    void sizeItemsAndMessage()
    {
        ScriptedPrinterSystem printers;
        printers.add(QStringLiteral("Laser"));
        printers.sizes = {PaperChoice{9, QStringLiteral("A4")}, PaperChoice{8, QStringLiteral("A3")},
                          PaperChoice{1, QStringLiteral("Letter")}};
        QList<PaperItem> items;
        QString error;
        QVERIFY(SizeItems(printers, QStringLiteral("Laser"), &items, &error));
        QCOMPARE(items, (QList<PaperItem>{{0, QStringLiteral("Nessuna impostazione - Default")},
                                          {9, QStringLiteral("A4")},
                                          {8, QStringLiteral("A3")},
                                          {1, QStringLiteral("Letter")}}));
        QCOMPARE(PaperSizesMessage(items, 8), QStringLiteral("Formati disponibili \r\nA4\r\nA3 (ATTUALE)\r\nLetter"));
        QCOMPARE(PaperSizesMessage(items, 0), QStringLiteral("Formati disponibili \r\nA4\r\nA3\r\nLetter"));
        QCOMPARE(PaperItemIndex(items, 1), 3);
        QCOMPARE(PaperItemIndex(items, 77), 0);
    }

    void fileFilter_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("dialogFilters");
        QTest::newRow("no spreadsheet") << 0 << "Compatibile Excel|*.csv;*.txt|Testo|*.txt"
                                        << QStringList{"Compatibile Excel (*.csv *.txt)", "Testo (*.txt)"};
        QTest::newRow("version 11") << 11 << "Formato Excel|*.xls|Compatibile Excel|*.csv;*.txt|Testo|*.txt"
                                    << QStringList{"Formato Excel (*.xls)", "Compatibile Excel (*.csv *.txt)", "Testo (*.txt)"};
        QTest::newRow("version 12") << 12 << "Formato Excel|*.xlsx|Compatibile Excel|*.csv;*.txt|Testo|*.txt"
                                    << QStringList{"Formato Excel (*.xlsx)", "Compatibile Excel (*.csv *.txt)", "Testo (*.txt)"};
        QTest::newRow("installed suite") << int(SystemSpreadsheetApp::InstalledVersion)
                                         << "Formato Excel|*.xlsx|Compatibile Excel|*.csv;*.txt|Testo|*.txt"
                                         << QStringList{"Formato Excel (*.xlsx)", "Compatibile Excel (*.csv *.txt)", "Testo (*.txt)"};
    }
    void fileFilter()
    {
        QFETCH(int, version);
        QFETCH(QString, filter);
        QFETCH(QStringList, dialogFilters);
        QCOMPARE(PrintFileFilter(version), filter);
        QCOMPARE(DialogFilters(filter), dialogFilters);
    }

    void fileFormForFilter_data()
    {
        QTest::addColumn<bool>("withWorkbook");
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("form");
        QTest::newRow("workbook") << true << 1 << 2;
        QTest::newRow("compatible, with workbook") << true << 2 << 0;
        QTest::newRow("text, with workbook") << true << 3 << 1;
        QTest::newRow("compatible") << false << 1 << 0;
        QTest::newRow("text") << false << 2 << 1;
    }
    void fileFormForFilter()
    {
        QFETCH(bool, withWorkbook);
        QFETCH(int, filter);
        QFETCH(int, form);
        QCOMPARE(FileFormForFilter(filter, withWorkbook), form);
    }

    void systemSpreadsheet_data()
    {
        QTest::addColumn<QString>("program");     // put on PATH; "" none
        QTest::addColumn<QByteArray>("desktop");  // desktop entry installed; "" none
        QTest::addColumn<bool>("found");
        QTest::newRow("nothing") << "" << QByteArray() << false;
        QTest::newRow("soffice on PATH") << "soffice" << QByteArray() << true;
        QTest::newRow("gnumeric on PATH") << "gnumeric" << QByteArray() << true;
        QTest::newRow("other program") << "gedit" << QByteArray() << false;
        QTest::newRow("spreadsheet entry") << ""
                                           << QByteArray("[Desktop Entry]\nName=Calc\nExec=calc\nCategories=Office;Spreadsheet;\n")
                                           << true;
        QTest::newRow("hidden entry") << ""
                                      << QByteArray("[Desktop Entry]\nName=Calc\nHidden=true\nCategories=Office;Spreadsheet;\n")
                                      << false;
        QTest::newRow("word processor entry") << ""
                                              << QByteArray("[Desktop Entry]\nName=Writer\nCategories=Office;WordProcessor;\n")
                                              << false;
        QTest::newRow("category in another group")
            << "" << QByteArray("[Desktop Entry]\nName=X\nCategories=Office;\n[Desktop Action New]\nCategories=Spreadsheet;\n")
            << false;
    }
    void systemSpreadsheet()
    {
        QFETCH(QString, program);
        QFETCH(QByteArray, desktop);
        QFETCH(bool, found);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("bin")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("data/applications")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("home/applications")));
        if (!program.isEmpty())
            writeFile(dir.filePath(QStringLiteral("bin/") + program), "#!/bin/sh\n", true);
        if (!desktop.isEmpty())
            writeFile(dir.filePath(QStringLiteral("data/applications/calc.desktop")), desktop);
        EnvGuard env;
        env.set("PATH", dir.filePath(QStringLiteral("bin")).toLocal8Bit());
        env.set("XDG_DATA_HOME", dir.filePath(QStringLiteral("home")).toLocal8Bit());
        env.set("XDG_DATA_DIRS", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        SystemSpreadsheetApp app;
        QCOMPARE(app.Version(), found ? int(SystemSpreadsheetApp::InstalledVersion) : 0);
        QCOMPARE(!SystemSpreadsheetApp::Find().isEmpty(), found);
    }

    void panelRowsAreStoredKeys()
    {
        const QStringList stored = PrintOptionKeys();
        const QList<SaveRow> &rows = SavePanelRows();
        QCOMPARE(rows.first().label, QStringLiteral("Dove stampare:"));
        QCOMPARE(rows.last().key, QStringLiteral("InviaEmail"));
        for (const SaveRow &r : rows)
            QVERIFY2(stored.contains(r.key), qPrintable(r.key));
        // Every stored key but the separator switch kept with the file options has a row.
        for (const QString &k : stored)
            if (k != QLatin1String("RadSepCampo"))
                QVERIFY2(std::any_of(rows.cbegin(), rows.cend(), [&k](const SaveRow &r) { return r.key == k; }),
                         qPrintable(k));
    }

    void panelValue_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("printer") << "StaVid" << 0 << "Stampante";
        QTest::newRow("preview") << "StaVid" << 1 << "Video";
        QTest::newRow("file") << "StaVid" << 2 << "File";
        QTest::newRow("fixed") << "StaVid" << 3 << "Fissa";
        QTest::newRow("space") << "SepCampi" << 0 << "Spazio";
        QTest::newRow("tab") << "SepCampi" << 1 << "Tab";
        QTest::newRow("semicolon") << "SepCampi" << 2 << ";";
        QTest::newRow("comma") << "SepCampi" << 3 << ",";
        QTest::newRow("no qualifier") << "DelimStr" << 0 << "Nessuno";
        QTest::newRow("double quote") << "DelimStr" << 2 << "\"";
        QTest::newRow("switch on") << "NumNoForm" << 1 << "Sì";
        QTest::newRow("switch off") << "FisUtilComp" << 0 << "No";
        QTest::newRow("bin default") << "Cassetto" << 0 << "Default";
        QTest::newRow("bin 15") << "Cassetto" << 15 << "15";
        QTest::newRow("paper default") << "TipoCarta" << 0 << "Default";
        QTest::newRow("paper 9") << "TipoCarta" << 9 << "9";
        QTest::newRow("pdf on") << "PdfNomeAutom" << 1 << "Sì";
    }
    void panelValue()
    {
        QFETCH(QString, key);
        QFETCH(int, value);
        QFETCH(QString, shown);
        PrintOptions o;
        if (key == "StaVid") o.StaVid = value;
        if (key == "SepCampi") o.SepCampi = value;
        if (key == "DelimStr") o.DelimStr = value;
        if (key == "NumNoForm") o.NumNoForm = value != 0;
        if (key == "FisUtilComp") o.FisUtilComp = value != 0;
        if (key == "Cassetto") o.ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, value);
        if (key == "TipoCarta") o.ParamSet(QStringLiteral("NumTipoCarta"), PrintOptions::ParamInteger, value);
        if (key == "PdfNomeAutom") o.ParamSet(QStringLiteral("PdfAutomAbil"), PrintOptions::ParamAny, value != 0);
        QCOMPARE(SavePanelValue(o, key), shown);
    }

    void panelValueOfFactor_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no scale") << 0.0 << "1,5";
        QTest::newRow("scale 1,5") << 1.5 << "1";
        QTest::newRow("scale 0,5") << 0.5 << "3";
    }
    void panelValueOfFactor()
    {
        QFETCH(double, scale);
        QFETCH(QString, shown);
        PrintOptions o;
        o.Fatt = 1.5f;
        QCOMPARE(SavePanelValue(o, QStringLiteral("Fatt"), scale), shown);
    }

    void save_data()
    {
        QTest::addColumn<bool>("commonFile");
        QTest::addColumn<bool>("defaultSection");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("terminal, report section") << false << false << QStringList{"StaVid", "FileName", "Cassetto"};
        QTest::newRow("terminal, defaults") << false << true << QStringList{"NumNoForm", "Fatt"};
        QTest::newRow("common, report section") << true << false << QStringList{"FisColonne"};
        QTest::newRow("common, defaults") << true << true << QStringList{"NomeStampante", "InviaEmail", "SepCampi"};
    }
    void save()
    {
        QFETCH(bool, commonFile);
        QFETCH(bool, defaultSection);
        QFETCH(QStringList, keys);
        PrintFixture f;
        f.env.companyIni = QStringLiteral("azienda.ini");
        f.env.previewScale = 2;
        PrintOptions o;
        o.SectionKey = QStringLiteral("DIBA01");
        o.StaVid = PrintOptions::File;
        o.FileName = QStringLiteral("/tmp/distinta.csv");
        o.NumNoForm = true;
        o.Fatt = 3;
        o.FisColonne = 80;
        o.SepCampi = PrintOptions::SepComma;
        o.NomeStampante = QStringLiteral("Laser");
        o.ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, 15);
        o.ParamSet(QStringLiteral("EmailInvia"), PrintOptions::ParamAny, true);

        SaveRequest r;
        r.mode = SaveMode::Save;
        r.commonFile = commonFile;
        r.defaultSection = defaultSection;
        r.keys = keys;
        QString error;
        QVERIFY2(ApplySaveRequest(f.env, o, r, &error), qPrintable(error));

        const QString file = commonFile ? f.path(QStringLiteral("azienda.ini")) : f.env.mainIni;
        const QString other = commonFile ? f.env.mainIni : f.path(QStringLiteral("azienda.ini"));
        const QString section = defaultSection ? QStringLiteral("Opzioni Stampa") : QStringLiteral("DIBA01");
        const QString otherSection = defaultSection ? QStringLiteral("DIBA01") : QStringLiteral("Opzioni Stampa");
        const PrintOptionsIni ini(f.env);
        for (const SaveRow &row : SavePanelRows()) {
            const QString stored = iniValue(file, section, row.key);
            if (keys.contains(row.key))
                QCOMPARE(stored, ini.StoredValue(o, row.key));
            else
                QCOMPARE(stored, kAbsent);
            QCOMPARE(iniValue(other, section, row.key), kAbsent);
            QCOMPARE(iniValue(file, otherSection, row.key), kAbsent);
        }
        if (keys.contains("Fatt"))
            QCOMPARE(iniValue(file, section, QStringLiteral("Fatt")), QStringLiteral("1,5"));
        if (keys.contains("Cassetto"))
            QCOMPARE(iniValue(file, section, QStringLiteral("Cassetto")), QStringLiteral("15"));
    }

    void remove_data()
    {
        QTest::addColumn<bool>("commonFile");
        QTest::addColumn<bool>("all");
        QTest::addColumn<bool>("sectionGone");
        QTest::newRow("terminal, some keys") << false << false << false;
        QTest::newRow("terminal, every key: whole section") << false << true << true;
        QTest::newRow("common, some keys") << true << false << false;
        QTest::newRow("common, every key: keys only") << true << true << false;
    }
    void remove()
    {
        QFETCH(bool, commonFile);
        QFETCH(bool, all);
        QFETCH(bool, sectionGone);
        PrintFixture f;
        f.env.companyIni = QStringLiteral("azienda.ini");
        const QString file = commonFile ? f.path(QStringLiteral("azienda.ini")) : f.env.mainIni;
        const QString section = QStringLiteral("DIBA01");
        QStringList keys;
        for (const SaveRow &row : SavePanelRows()) {
            QVERIFY(IniWrite(file, section, row.key, QStringLiteral("1")));
            keys.append(row.key);
        }
        QVERIFY(IniWrite(file, section, QStringLiteral("MostraNumPag"), QStringLiteral("-1")));
        QVERIFY(IniWrite(file, QStringLiteral("Opzioni Stampa"), QStringLiteral("StaVid"), QStringLiteral("2")));
        const QStringList ticked = all ? keys : QStringList{"StaVid", "TipoCarta"};

        PrintOptions o;
        o.SectionKey = section;
        SaveRequest r;
        r.mode = SaveMode::Delete;
        r.commonFile = commonFile;
        r.defaultSection = false;
        r.keys = ticked;
        QString error;
        QVERIFY2(ApplySaveRequest(f.env, o, r, &error), qPrintable(error));
        for (const QString &k : keys)
            QCOMPARE(iniValue(file, section, k), ticked.contains(k) ? kAbsent : QStringLiteral("1"));
        QCOMPARE(iniValue(file, section, QStringLiteral("MostraNumPag")), sectionGone ? kAbsent : QStringLiteral("-1"));
        QCOMPARE(iniValue(file, QStringLiteral("Opzioni Stampa"), QStringLiteral("StaVid")), QStringLiteral("2"));
    }

    void saveRefused_data()
    {
        QTest::addColumn<bool>("commonFile");
        QTest::addColumn<QString>("companyIni");
        QTest::addColumn<QString>("sectionKey");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("nothing ticked") << false << "azienda.ini" << "DIBA01" << QStringList();
        QTest::newRow("no common file") << true << "" << "DIBA01" << QStringList{"StaVid"};
        QTest::newRow("report without section") << false << "azienda.ini" << "" << QStringList{"StaVid"};
    }
    void saveRefused()
    {
        QFETCH(bool, commonFile);
        QFETCH(QString, companyIni);
        QFETCH(QString, sectionKey);
        QFETCH(QStringList, keys);
        PrintFixture f;
        f.env.companyIni = companyIni;
        PrintOptions o;
        o.SectionKey = sectionKey;
        SaveRequest r;
        r.commonFile = commonFile;
        r.defaultSection = false;
        r.keys = keys;
        QString error;
        QVERIFY(!ApplySaveRequest(f.env, o, r, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(f.env.mainIni));
        QVERIFY(!QFile::exists(f.path(QStringLiteral("azienda.ini"))));
    }

    void commonIniFile()
    {
        PrintEnv env;
        env.mainIni = QStringLiteral("/srv/kem/kemwin.ini");
        QCOMPARE(CommonIniFile(env), QString());
        env.companyIni = QStringLiteral("azienda.ini");
        QCOMPARE(CommonIniFile(env), QStringLiteral("/srv/kem/azienda.ini"));
        env.companyIni = QStringLiteral("/shared/ditta.ini");
        QCOMPARE(CommonIniFile(env), QStringLiteral("/shared/ditta.ini"));
        QCOMPARE(TerminalIniFile(env), env.mainIni);
    }

    void closeRefusal_data()
    {
        QTest::addColumn<int>("staVid");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("fisFileName");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("message");
        const QString noFile = QStringLiteral("In caso di stampa su file è obbligatorio specificare il nome file.");
        const QString pages = QStringLiteral("Selezione Pagina Da maggiore di Pagina A");
        QTest::newRow("file without name") << 2 << "" << "x.txt" << 0 << 0 << noFile;
        QTest::newRow("file name blank") << 2 << "   " << "" << 0 << 0 << noFile;
        QTest::newRow("file with name") << 2 << "a.csv" << "" << 0 << 0 << "";
        QTest::newRow("fixed without name") << 3 << "a.csv" << "" << 0 << 0 << noFile;
        QTest::newRow("fixed with name") << 3 << "" << "f.txt" << 0 << 0 << "";
        QTest::newRow("printer needs no name") << 0 << "" << "" << 0 << 0 << "";
        QTest::newRow("preview needs no name") << 1 << "" << "" << 0 << 0 << "";
        QTest::newRow("pages reversed") << 0 << "" << "" << 5 << 3 << pages;
        QTest::newRow("pages equal") << 0 << "" << "" << 3 << 3 << "";
        QTest::newRow("last page open") << 0 << "" << "" << 5 << 0 << "";
        QTest::newRow("file check first") << 2 << "" << "" << 5 << 3 << noFile;
    }
    void closeRefusal()
    {
        QFETCH(int, staVid);
        QFETCH(QString, fileName);
        QFETCH(QString, fisFileName);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, message);
        PrintOptions o;
        o.StaVid = staVid;
        o.FileName = fileName;
        o.FisFileName = fisFileName;
        o.ParamSet(QStringLiteral("PaginaDa"), PrintOptions::ParamInteger, from);
        o.ParamSet(QStringLiteral("PaginaA"), PrintOptions::ParamInteger, to);
        QCOMPARE(CloseRefusal(o), message);
    }

    void currentDestination_data()
    {
        QTest::addColumn<int>("staVid");
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("named printer") << 0 << "Laser" << "Stampante attuale: Laser";
        QTest::newRow("default printer") << 0 << "" << "Stampante attuale: Ufficio";
        QTest::newRow("preview") << 1 << "Laser" << "Stampante attuale: Video";
        QTest::newRow("file") << 2 << "" << "Stampante attuale: File out.csv";
        QTest::newRow("fixed") << 3 << "" << "Stampante attuale: Fissa fis.txt";
    }
    void currentDestination()
    {
        QFETCH(int, staVid);
        QFETCH(QString, printer);
        QFETCH(QString, expected);
        PrintFixture f;
        f.printers.add(QStringLiteral("Ufficio"));
        f.printers.defaultPrinter = QStringLiteral("Ufficio");
        PrintOptions o;
        o.StaVid = staVid;
        o.NomeStampante = printer;
        o.FileName = QStringLiteral("out.csv");
        o.FisFileName = QStringLiteral("fis.txt");
        QCOMPARE(CurrentDestinationText(f.env, o), expected);
    }
};

QTEST_GUILESS_MAIN(TestSceltaStamLogic)
#include "tst_sceltastamlogic.moc"
