// Page layout: page setup with its fallbacks and printer corrections, styles and user fonts,
// the font settings per report, the page header on graphic and fixed-width destinations, and
// the item list.
#include "print/aziendautilstampe.h"
#include "schema/companyschema.h"
#include "platform/db/kemdb.h"
#include "platform/printlib/printoptions.h"
#include "platform/printlib/printreport.h"
#include "tests/print/printtestsupport.h"

#include <QFile>
#include <QGuiApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace kem;
using kemtest::PrintFixture;

namespace {
const QString kReport = QStringLiteral("DIBA01");
const QString kCommon = QStringLiteral("Opzioni Stampa");
const QString kTitle = QStringLiteral("Distinta base di prova");

// A small report through the page services: header on every page, three columns of body lines.
void runReport(AziendaUtilStampe &u, PrintReport &r, int lines, const PageHeaderArgs &header = {})
{
    u.IniParamStampa(kReport, r);
    bool cancelled = false;
    QVERIFY2(r.JobStart(1, &cancelled) && !cancelled, qPrintable(r.LastErrorGet()));
    PrintFont working;
    u.StileTesta(r, working);
    u.StileCorpo(r, working);
    QVERIFY(r.DocBegin());
    PageHeaderArgs h = header;
    if (h.title.isEmpty())
        h.title = kTitle;
    u.Intestazione(r, h);
    r.StyleSelect(QStringLiteral("CorpoCampo"));
    r.ColumnsClear();
    r.AlignSet(QStringLiteral("S"));
    const int code = r.ColumnAdd(QStringLiteral("MMMMMMMMMM"), 10, QStringLiteral("P"));
    const int desc = r.ColumnAdd(QStringLiteral("MMMMMMMMMMMMMMMMMMMM"), 20);
    r.AlignSet(QStringLiteral("D"));
    const int qty = r.ColumnAdd(QStringLiteral("999.999,99"), 10);
    for (int i = 1; i <= lines && !r.StopGet(); ++i) {
        bool brk = false;
        r.RoomCheck(1, nullptr, nullptr, &brk);
        if (brk) {
            r.PageNew();
            r.VertPosLet(r.MarginTopGet());
            u.Intestazione(r, h);
        }
        r.StyleSelect(QStringLiteral("CorpoCampo"));
        r.AlignSet(QStringLiteral("S"));
        r.CellPrint(code, QStringLiteral("ART%1").arg(i, 4, 10, QLatin1Char('0')));
        r.CellPrint(desc, QStringLiteral("Componente %1").arg(i));
        r.AlignSet(QStringLiteral("D"));
        r.CellPrint(qty, i * 1.5, true, false, QStringLiteral("#,##0.00"));
        r.LineEnd();
    }
    QVERIFY2(r.DocEnd(), qPrintable(r.LastErrorGet()));
}

QStringList pageTexts(const PrintReport &r, int page)
{
    QStringList out;
    for (const TextRun &t : r.DocumentGet().pages.at(page).texts)
        out.append(t.text);
    return out;
}
} // namespace

class TestPageLayout : public QObject {
    Q_OBJECT
private slots:
    void pageSetupFallbacks_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("reportValue");
        QTest::addColumn<QString>("commonValue");
        QTest::addColumn<bool>("callerDefaults");
        QTest::addColumn<double>("expected");
        const QString none = QStringLiteral("<none>");
        QTest::newRow("MrAlt absent: 10") << "MrAlt" << none << none << false << 10.0;
        QTest::newRow("MrAlt empty, common 5") << "MrAlt" << "" << "5" << false << 5.0;
        QTest::newRow("MrAlt report wins") << "MrAlt" << "7" << "5" << false << 7.0;
        QTest::newRow("MrAlt caller default") << "MrAlt" << none << none << true << 3.0;
        QTest::newRow("MrSin absent: 1") << "MrSin" << none << none << false << 1.0;
        QTest::newRow("MrSin decimal") << "MrSin" << "2,5" << none << false << 2.5;
        QTest::newRow("MrDes common") << "MrDes" << none << "4" << false << 4.0;
        QTest::newRow("MrBas absent: 10") << "MrBas" << none << none << false << 10.0;
        QTest::newRow("MrBas report") << "MrBas" << "12" << none << false << 12.0;
        QTest::newRow("Fatt absent: 1") << "Fatt" << none << none << false << 1.0;
        QTest::newRow("Fatt common") << "Fatt" << none << "1,5" << false << 1.5;
    }
    void pageSetupFallbacks()
    {
        QFETCH(QString, key);
        QFETCH(QString, reportValue);
        QFETCH(QString, commonValue);
        QFETCH(bool, callerDefaults);
        QFETCH(double, expected);
        PrintFixture f;
        if (reportValue != QLatin1String("<none>"))
            f.ini(kReport, key, reportValue);
        if (commonValue != QLatin1String("<none>"))
            f.ini(kCommon, key, commonValue);
        f.ini(kReport, QStringLiteral("Altro"), QStringLiteral("x"));
        AziendaUtilStampe u(f.env);
        PrintReport r;
        std::optional<PageSetupValues> defaults;
        if (callerDefaults) {
            defaults = PageSetupValues();
            defaults->MrAlt = 3;
        }
        QVERIFY(u.IniParamStampa(kReport, r, defaults));
        const QHash<QString, double> got{{"MrSin", r.MarginLeftGet()}, {"MrDes", r.MarginRightGet()},
                                         {"MrAlt", r.MarginTopGet()}, {"MrBas", r.MarginBottomGet()},
                                         {"Fatt", r.FattGet()}};
        QCOMPARE(got.value(key), expected);
        QCOMPARE(r.ReportKeyGet(), kReport);
        QCOMPARE(u.State().current, &r);
        QVERIFY(f.sink.messages.isEmpty());
    }

    void pageSetupBadValue()
    {
        PrintFixture f;
        f.ini(kReport, QStringLiteral("MrAlt"), QStringLiteral("5"));
        f.ini(kReport, QStringLiteral("Interl"), QStringLiteral("due"));
        AziendaUtilStampe u(f.env);
        PrintReport r;
        QVERIFY(!u.IniParamStampa(kReport, r));
        QCOMPARE(r.MarginTopGet(), 10.0f);  // all nine defaults, also the values read before
        QCOMPARE(f.sink.messages.size(), 1);
        QCOMPARE(f.sink.messages[0].caption, QStringLiteral("Errore file ini"));
        QCOMPARE(f.sink.messages[0].text, QStringLiteral("(IniParamStampa) Problemi nei parametri dei margini\r\n"
                                                         "nel file di inizializzazione. \r\nUso i valori di default"));
        f.sink.messages.clear();
        u.Env().showMessages = false;
        QVERIFY(!u.IniParamStampa(kReport, r));
        QVERIFY(f.sink.messages.isEmpty());
    }

    void previewFactorScaled()
    {
        PrintFixture f;
        f.env.previewScale = 2;
        f.ini(kCommon, QStringLiteral("Fatt"), QStringLiteral("1,5"));
        AziendaUtilStampe u(f.env);
        PrintReport r;
        u.IniParamStampa(kReport, r);
        QCOMPARE(r.FattGet(), 3.0f);
    }

    void correctionsIdempotent_data()
    {
        QTest::addColumn<bool>("namedPrinter");  // false: the system default printer's section
        QTest::newRow("options printer") << true;
        QTest::newRow("default printer") << false;
    }
    void correctionsIdempotent()
    {
        QFETCH(bool, namedPrinter);
        PrintFixture f;
        f.printers.add(QStringLiteral("HP"));
        f.printers.defaultPrinter = namedPrinter ? QString() : QStringLiteral("HP");
        f.ini(QStringLiteral("HP"), QStringLiteral("MrSin"), QStringLiteral("2"));
        f.ini(QStringLiteral("HP"), QStringLiteral("MrAlt"), QStringLiteral("3,5"));
        f.ini(QStringLiteral("HP"), QStringLiteral("MrBas"), QStringLiteral("-2"));
        f.ini(QStringLiteral("HP"), QStringLiteral("ModMrSin"), QStringLiteral("1,5"));
        f.ini(QStringLiteral("HP"), QStringLiteral("ModColSin"), QStringLiteral("4"));
        AziendaUtilStampe u(f.env);
        PrintReport r;
        auto o = std::make_shared<PrintOptions>();
        if (namedPrinter)
            o->NomeStampante = QStringLiteral("HP");
        r.OptionsSet(o);
        auto check = [&](const char *when) {
            QVERIFY2(r.MarginLeftGet() == 3.0f && r.MarginTopGet() == 13.5f && r.MarginBottomGet() == 8.0f
                         && r.MarginRightGet() == 1.0f,
                     when);
            QCOMPARE(u.State().corrections.ModMrSin, 1.5f);
            QCOMPARE(u.State().corrections.ModColSin, 4);
        };
        u.IniParamStampa(kReport, r);
        check("after one page setup");
        u.IniParamStampa(kReport, r);
        check("after two page setups");
        PageSetup setup(u.Env(), u.State());
        setup.ApplyCorrections(QStringLiteral("HP"), r);
        check("after the corrections applied again");

        // A key taken out of the printer section takes its correction back.
        f.ini(QStringLiteral("HP"), QStringLiteral("MrSin"), QString());
        f.ini(QStringLiteral("HP"), QStringLiteral("ModColSin"), QString());
        u.IniParamStampa(kReport, r);
        QCOMPARE(r.MarginLeftGet(), 1.0f);
        QCOMPARE(r.MarginTopGet(), 13.5f);
        QCOMPARE(u.State().corrections.ModColSin, 0);
        setup.ApplyCorrections(QStringLiteral("Altra"), r);  // a printer without corrections
        QCOMPARE(r.MarginTopGet(), 10.0f);
        QCOMPARE(u.State().corrections.ModMrSin, 0.0f);
    }

    void userFontNames_data()
    {
        QTest::addColumn<int>("progressivo");
        QTest::addColumn<QString>("name");
        QTest::newRow("5") << 5 << "FFPers-§-05";
        QTest::newRow("99") << 99 << "FFPers-§-99";
        QTest::newRow("100") << 100 << "FFPers-§-0100";
        QTest::newRow("120") << 120 << "FFPers-§-0120";
    }
    void userFontNames()
    {
        QFETCH(int, progressivo);
        QFETCH(QString, name);
        QCOMPARE(UserFontStyleName(progressivo), name);
    }

    void userFontsAndSettings()
    {
        PrintFixture f;
        const QString dbPath = f.path(QStringLiteral("azienda.db"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fonts"));
            db.setDatabaseName(dbPath);
            QVERIFY(db.open());
            QString error;
            QVERIFY2(CreateSchemaTables(db, {QStringLiteral("StaLasFontPers")}, &error), qPrintable(error));
            QSqlQuery q(db);
            QVERIFY(q.exec("INSERT INTO StaLasFontPers VALUES (5, 'Courier New', 11, 1, 0, 0, 1)"));
            QVERIFY(q.exec("INSERT INTO StaLasFontPers VALUES (120, 'arial', 7, 0, 1, 1, 0)"));
            QVERIFY(q.exec("INSERT INTO StaLasFontPers VALUES (3, 'arial', 0, 0, 0, 0, 0)"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fonts"));
        Database db;
        db.DbOpen(dbPath);
        f.env.db = &db;
        // Body settings in the report section, header settings only in the common one.
        f.ini(kReport, QStringLiteral("FontPersCor"), QStringLiteral("3"));
        f.ini(kReport, QStringLiteral("CodiceFontCor1"), QStringLiteral("CorpoCampo"));
        f.ini(kReport, QStringLiteral("CorpoCampo_Size"), QStringLiteral("14"));
        f.ini(kReport, QStringLiteral("CorpoCampo_Bold"), QStringLiteral("Vero"));
        f.ini(kReport, QStringLiteral("CorpoCampo_Name"), QStringLiteral("Courier New"));
        f.ini(kReport, QStringLiteral("CodiceFontCor2"), QStringLiteral("NonEsiste"));
        f.ini(kReport, QStringLiteral("NonEsiste_Size"), QStringLiteral("20"));
        f.ini(kReport, QStringLiteral("CodiceFontCor3"), QStringLiteral("CorpoLab"));
        f.ini(kReport, QStringLiteral("CorpoLab_Progr"), QStringLiteral("120"));
        f.ini(kCommon, QStringLiteral("FontPersTes"), QStringLiteral("1"));
        f.ini(kCommon, QStringLiteral("CodiceFontCor1"), QStringLiteral("TestaTitolo"));
        f.ini(kCommon, QStringLiteral("TestaTitolo_Progr"), QStringLiteral("5"));

        AziendaUtilStampe u(f.env);
        PrintReport r;
        u.IniParamStampa(kReport, r);
        PrintFont font;
        QVERIFY(r.StyleFontGet(QStringLiteral("FFPers-§-05"), &font));
        QCOMPARE(font.Name, QStringLiteral("Courier New"));
        QCOMPARE(font.Size, 11.0);
        QVERIFY(font.Bold && font.Underline && !font.Italic && !font.Strikethrough);
        QVERIFY(r.StyleFontGet(QStringLiteral("FFPers-§-0120"), &font));
        QVERIFY(font.Italic && font.Strikethrough && !font.Bold);
        QVERIFY(!r.StyleFontGet(QStringLiteral("FFPers-§-03")));  // size 0: no font

        PrintFont working;
        u.StileTesta(r, working);
        u.StileCorpo(r, working);
        QVERIFY(r.StyleFontGet(QStringLiteral("TestaTitolo"), &font));
        QCOMPARE(font.Name, QStringLiteral("Courier New"));
        QCOMPARE(font.Size, 11.0);
        QVERIFY(font.Underline);
        QVERIFY(r.StyleFontGet(QStringLiteral("CorpoCampo"), &font));
        QCOMPARE(font.Name, QStringLiteral("Courier New"));
        QCOMPARE(font.Size, 14.0);
        QVERIFY(font.Bold);
        QVERIFY(!r.StyleFontGet(QStringLiteral("NonEsiste")));
        QVERIFY(r.StyleFontGet(QStringLiteral("CorpoLab"), &font));
        QCOMPARE(font.Size, 7.0);
        QVERIFY(font.Italic);
        QVERIFY(r.StyleFontGet(QStringLiteral("TestaData"), &font));  // untouched
        QCOMPARE(font.Size, 10.0);
    }

    void noFontTable()
    {
        PrintFixture f;
        const QString dbPath = f.path(QStringLiteral("vuoto.db"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("empty"));
            db.setDatabaseName(dbPath);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("CREATE TABLE Altro (x INTEGER PRIMARY KEY)"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("empty"));
        Database db;
        db.DbOpen(dbPath);
        PrintReport r;
        QCOMPARE(RegisterUserFonts(db, r), 0);
    }

    void styles_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("font");
        QTest::addColumn<double>("size");
        QTest::addColumn<bool>("bold");
        QTest::newRow("TestaAzienda") << "TestaAzienda" << "arial" << 9.0 << false;
        QTest::newRow("Titolo") << "Titolo" << "arial" << 9.0 << true;
        QTest::newRow("TestaData") << "TestaData" << "arial" << 10.0 << false;
        QTest::newRow("TestaTitolo") << "TestaTitolo" << "arial" << 12.0 << true;
        QTest::newRow("CorpoLab") << "CorpoLab" << "arial" << 8.0 << true;
        QTest::newRow("CorpoLab2") << "CorpoLab2" << "arial" << 10.0 << false;
        QTest::newRow("CorpoCampo") << "CorpoCampo" << "arial" << 10.0 << false;
        QTest::newRow("CorpoLabComp") << "CorpoLabComp" << "arial" << 7.0 << true;
        QTest::newRow("CorpoCampoComp") << "CorpoCampoComp" << "arial" << 7.0 << false;
        QTest::newRow("LarghezzaFissa") << "LarghezzaFissa" << "Courier New" << 8.0 << false;
    }
    void styles()
    {
        QFETCH(QString, style);
        QFETCH(QString, font);
        QFETCH(double, size);
        QFETCH(bool, bold);
        PrintFixture f;
        AziendaUtilStampe u(f.env);
        PrintReport r;
        PrintFont working;
        working.Italic = true;  // leftovers of a previous use do not leak into the styles
        u.StileTesta(r, working);
        u.StileCorpo(r, working);
        PrintFont got;
        QVERIFY(r.StyleFontGet(style, &got));
        QCOMPARE(got.Name, font);
        QCOMPARE(got.Size, size);
        QCOMPARE(got.Bold, bold);
        QVERIFY(!got.Italic && !got.Underline && !got.Strikethrough);
    }

    void headerToPdf()
    {
        if (!kemtest::HavePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        PrintFixture f;
        AziendaUtilStampe u(f.env);
        PrintReport r;
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::File;
        o->FileForm = PrintOptions::PdfFile;
        o->FileName = f.path(QStringLiteral("distinta.pdf"));
        r.OptionsSet(o);
        runReport(u, r, 150);
        const QStringList pages = kemtest::PdfText(o->FileName).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 3);
        for (int i = 0; i < pages.size(); ++i) {
            const QStringList lines = pages[i].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            QVERIFY(lines.size() > 3);
            const QString first = lines[0].simplified(), second = lines[1].simplified();
            QVERIFY2(first.startsWith(QStringLiteral("Kemora 4.2")) && first.endsWith(QStringLiteral("Ditta: Mobili Rossi Srl")),
                     qPrintable(first));
            const QString page = QStringLiteral("Pag. %1").arg(i + 1, 3, 10, QLatin1Char('0'));
            QVERIFY2(second.startsWith(QStringLiteral("10/12/2026")) && second.contains(kTitle) && second.endsWith(page),
                     qPrintable(second));
            QVERIFY(second.indexOf(QStringLiteral("10/12/2026")) < second.indexOf(kTitle));
        }
        QVERIFY(pages[0].contains(QStringLiteral("ART0001")));
        QVERIFY(pages[2].contains(QStringLiteral("ART0150")));
    }

    void headerFixedWidth()
    {
        PrintFixture f;
        f.menu.setVar(QStringLiteral("studio"), QStringLiteral("Bianchi"));
        AziendaUtilStampe u(f.env);
        PrintReport r;
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::FixedWidth;
        o->FisFileName = f.path(QStringLiteral("distinta.txt"));
        o->FisColonne = 80;
        o->FisRighe = 30;
        o->FisMrAlt = 2;
        o->FisMrBas = 1;
        r.OptionsSet(o);
        runReport(u, r, 60);
        QFile file(o->FisFileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.size() % 30, 0);
        const int pages = int(lines.size() / 30);
        QVERIFY(pages >= 3);
        const QString company = QStringLiteral("Studio: Bianchi Ditta: Mobili Rossi Srl");
        for (int p = 0; p < pages; ++p) {
            const QString l1 = lines[p * 30 + 2], l2 = lines[p * 30 + 3];
            QCOMPARE(l1.size(), 80);
            QVERIFY2(l1.startsWith(QStringLiteral("Kemora 4.2 ")), qPrintable(l1));
            QVERIFY2(l1.endsWith(company), qPrintable(l1));
            QVERIFY2(l2.startsWith(QStringLiteral("10/12/2026")), qPrintable(l2));
            QVERIFY2(l2.endsWith(QStringLiteral("Pag. %1").arg(p + 1, 3, 10, QLatin1Char('0'))), qPrintable(l2));
            QCOMPARE(l2.indexOf(kTitle), (80 - int(kTitle.size())) / 2);
            QVERIFY(lines[p * 30].trimmed().isEmpty() && lines[p * 30 + 1].trimmed().isEmpty());
        }
    }

    void headerAsksTheMenuOncePerRun()
    {
        PrintFixture f;
        AziendaUtilStampe u(f.env);
        PrintReport r;
        r.OptionsSet(std::make_shared<PrintOptions>());
        r.OptionsGet()->StaVid = PrintOptions::File;
        r.OptionsGet()->FileForm = PrintOptions::PlainText;
        r.OptionsGet()->FileName = f.path(QStringLiteral("out.txt"));
        auto versionCalls = [&] {
            int n = 0;
            for (const auto &c : f.menu.callsTo(QStringLiteral("MenuVar")))
                n += c.args.value(0).toString() == QLatin1String("versione");
            return n;
        };
        runReport(u, r, 150);
        QCOMPARE(r.PageNumGet(), 3);
        QCOMPARE(versionCalls(), 1);
        // The next run reads the parameters again.
        f.menu.setVar(QStringLiteral("versione"), QStringLiteral("5.0"));
        runReport(u, r, 10);
        QCOMPARE(versionCalls(), 2);
        QCOMPARE(pageTexts(r, 0).value(0), QStringLiteral("Kemora 5.0"));
    }

    void fixedLines_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("company");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("line");
        QTest::newRow("room") << "V1" << "Ditta: X" << 20 << "V1          Ditta: X";
        QTest::newRow("company cut to the room") << "V1" << "Ditta: Lunghissima" << 12 << "V1 Ditta: Lu";
        QTest::newRow("hidden version") << "  " << "D" << 6 << "     D";
    }
    void fixedLines()
    {
        QFETCH(QString, version);
        QFETCH(QString, company);
        QFETCH(int, columns);
        QFETCH(QString, line);
        QCOMPARE(PageHeader::FixedLine1(version, company, columns), line);
    }

    void headerTexts_data()
    {
        QTest::addColumn<QString>("stampaVersione");
        QTest::addColumn<bool>("hide");
        QTest::addColumn<int>("fileForm");
        QTest::addColumn<int>("pageNumber");
        QTest::addColumn<QString>("firstLeft");
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("page");
        QTest::newRow("plain") << "" << false << 1 << 0 << "Kemora 4.2" << "Ditta: Mobili Rossi Srl extra" << "Pag. 001";
        QTest::newRow("page 7") << "" << false << 1 << 7 << "Kemora 4.2" << "Ditta: Mobili Rossi Srl extra" << "Pag. 007";
        QTest::newRow("version off") << "N" << false << 1 << 0 << "          " << "Ditta: Mobili Rossi Srl extra" << "Pag. 001";
        QTest::newRow("version hidden") << "S" << true << 1 << 0 << "          " << "Ditta: Mobili Rossi Srl extra" << "Pag. 001";
        QTest::newRow("format 2 marker") << "" << false << 2 << 0 << "Kemora 4.2"
                                         << "Ditta: Mobili Rossi Srl extra§ç^&£Sede 2" << "Pag. 001";
    }
    void headerTexts()
    {
        QFETCH(QString, stampaVersione);
        QFETCH(bool, hide);
        QFETCH(int, fileForm);
        QFETCH(int, pageNumber);
        QFETCH(QString, firstLeft);
        QFETCH(QString, company);
        QFETCH(QString, page);
        PrintFixture f;
        if (!stampaVersione.isEmpty())
            f.ini(QStringLiteral("Stampe"), QStringLiteral("StampaVersione"), stampaVersione);
        AziendaUtilStampe u(f.env);
        PrintReport r;
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::File;
        o->FileForm = fileForm;
        o->FileName = f.path(fileForm == 2 ? QStringLiteral("out.xlsx") : QStringLiteral("out.txt"));
        r.OptionsSet(o);
        PageHeaderArgs h;
        h.hideVersion = hide;
        h.pageNumber = pageNumber;
        h.extraText = QStringLiteral("extra");
        h.secondCompany = QStringLiteral("Sede 2");
        runReport(u, r, 1, h);
        const QStringList texts = pageTexts(r, 0);
        QCOMPARE(texts.value(0), firstLeft);
        QCOMPARE(texts.value(1), company);
        QCOMPARE(texts.value(2), QStringLiteral("10/12/2026"));
        QCOMPARE(texts.value(3), kTitle);
        QCOMPARE(texts.value(4), page);
    }

    void headerModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("staVid");
        QTest::addColumn<bool>("header");
        QTest::newRow("mode 0 file") << 0 << 2 << true;
        QTest::newRow("mode 1 file") << 1 << 2 << false;
        QTest::newRow("mode 1 fixed") << 1 << 3 << false;
        QTest::newRow("mode 2 file") << 2 << 2 << false;
        QTest::newRow("mode 2 fixed") << 2 << 3 << true;
    }
    void headerModes()
    {
        QFETCH(int, mode);
        QFETCH(int, staVid);
        QFETCH(bool, header);
        PrintFixture f;
        AziendaUtilStampe u(f.env);
        PrintReport r;
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = staVid;
        o->FileForm = PrintOptions::PlainText;
        o->FileName = o->FisFileName = f.path(QStringLiteral("out.txt"));
        r.OptionsSet(o);
        PageHeaderArgs h;
        h.mode = mode;
        runReport(u, r, 1, h);
        const QString all = pageTexts(r, 0).join(QLatin1Char('|'));
        QCOMPARE(all.contains(QStringLiteral("Pag. 001")), header);
        QVERIFY(all.contains(QStringLiteral("ART0001")));
    }

    void itemListFixedWidth()
    {
        PrintFixture f;
        AziendaUtilStampe u(f.env);
        PrintReport r;
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::FixedWidth;
        o->FisFileName = f.path(QStringLiteral("lista.txt"));
        o->FisColonne = 20;
        o->FisRighe = 40;
        r.OptionsSet(o);
        u.IniParamStampa(kReport, r);
        bool cancelled = false;
        QVERIFY(r.JobStart(1, &cancelled));
        PrintFont w;
        u.StileCorpo(r, w);
        r.DocBegin();
        u.StampaElenco(r, QStringLiteral("AAAA;BBBB;CCCC;DDDD;EEEEEEEEEEEEEEEEEEEEEEEE;F; "));
        u.StampaElenco(r, QStringLiteral("AB"));  // too short: nothing
        QVERIFY(r.DocEnd());
        QStringList got;
        for (const TextRun &t : r.DocumentGet().pages.at(0).texts)
            got.append(t.text);
        QCOMPARE(got, (QStringList{QStringLiteral("AAAA;BBBB;CCCC;DDDD"), QStringLiteral("EEEEEEEEEEEEEEEEEEEEEEEE"),
                                   QStringLiteral("F")}));
        for (const TextRun &t : r.DocumentGet().pages.at(0).texts)
            QCOMPARE(t.style, QStringLiteral("CorpoCampo"));
    }

    void itemListGraphic()
    {
        PrintFixture f;
        f.ini(kReport, QStringLiteral("MrSin"), QStringLiteral("70"));
        f.ini(kReport, QStringLiteral("MrDes"), QStringLiteral("70"));
        AziendaUtilStampe u(f.env);
        PrintReport r;
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::File;
        o->FileForm = PrintOptions::PlainText;
        o->FileName = f.path(QStringLiteral("lista.txt"));
        r.OptionsSet(o);
        u.IniParamStampa(kReport, r);
        bool cancelled = false;
        QVERIFY(r.JobStart(1, &cancelled));
        PrintFont w;
        u.StileCorpo(r, w);
        r.DocBegin();
        QStringList items;
        for (int i = 1; i <= 30; ++i)
            items.append(QStringLiteral("Articolo %1").arg(i));
        u.StampaElenco(r, items.join(QLatin1Char(';')));
        QVERIFY(r.DocEnd());
        const double limit = 210 - 70 - 70 - 2;
        QStringList back;
        const auto &texts = r.DocumentGet().pages.at(0).texts;
        QVERIFY(texts.size() > 3);
        for (const TextRun &t : texts) {
            QVERIFY2(t.width <= limit + 1e-9, qPrintable(t.text));
            back += t.text.split(QLatin1Char(';'));
        }
        QCOMPARE(back, items);  // every item whole, in order
    }
};

QTEST_MAIN(TestPageLayout)
#include "tst_pagelayout.moc"
