// The print-in-progress window bound to a run (page label, interrupt) and the grid list print
// dialog (visible or all columns, messages).
#include "print/aziendautilstampe.h"
#include "print/frmcomlinstampa.h"
#include "print/frmstampaincorso.h"
#include "platform/printlib/printoptions.h"
#include "platform/printlib/printreport.h"
#include "tests/print/printtestsupport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace kem;
using kemtest::PrintFixture;

namespace {
const QString kReport = QStringLiteral("DIBA01");

// Runs a report of `lines` body lines with the window bound, the way a report run does.
// Returns the number of lines printed.
int runWithWindow(AziendaUtilStampe &u, PrintReport &r, frmStampaInCorso &w, int lines)
{
    u.IniParamStampa(kReport, r);
    r.StopSet(0);
    w.Prepare(r, QStringLiteral("Stampa Distinta base"));
    bool cancelled = false;
    if (!w.StartJob(r, &cancelled))
        return -1;
    PrintFont working;
    u.StileTesta(r, working);
    u.StileCorpo(r, working);
    r.DocBegin();
    PageHeaderArgs h;
    h.title = QStringLiteral("Distinta base");
    u.Intestazione(r, h);
    int printed = 0;
    for (int i = 1; i <= lines && !r.StopGet(); ++i) {
        bool brk = false;
        r.RoomCheck(1, nullptr, nullptr, &brk);
        if (brk) {
            r.PageNew();
            r.VertPosLet(r.MarginTopGet());
            if (!r.SkipGet())
                u.Intestazione(r, h);
        }
        r.StyleSelect(QStringLiteral("CorpoCampo"));
        r.AlignSet(QStringLiteral("S"));
        r.TextPrint(0, QStringLiteral("Riga %1").arg(i));
        r.LineEnd();
        ++printed;
    }
    r.DocEnd();
    return printed;
}

std::shared_ptr<PrintOptions> fileOptions(const QString &path, int form)
{
    auto o = std::make_shared<PrintOptions>();
    o->StaVid = PrintOptions::File;
    o->FileForm = form;
    o->FileName = path;
    o->SepCampi = PrintOptions::SepSemicolon;
    o->DelimStr = PrintOptions::QualNone;
    return o;
}

// A grid of three columns, the middle one hidden.
struct Grid {
    QStandardItemModel model{0, 3};
    QTableView view;
    Grid()
    {
        model.setHorizontalHeaderLabels({QStringLiteral("Codice"), QStringLiteral("Descrizione"), QStringLiteral("Prezzo")});
        for (int i = 1; i <= 3; ++i) {
            QList<QStandardItem *> row;
            row << new QStandardItem(QStringLiteral("ART%1").arg(i)) << new QStandardItem(QStringLiteral("Nascosta %1").arg(i));
            auto *price = new QStandardItem;
            price->setData(i * 10.5, Qt::DisplayRole);
            row << price;
            model.appendRow(row);
        }
        view.setModel(&model);
        view.setColumnHidden(1, true);
    }
};

QStringList csvLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}
} // namespace

class TestPrintProgress : public QObject {
    Q_OBJECT
private slots:
    void pageLabel_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pages");
        QTest::newRow("3 pages") << 150 << 3;
        QTest::newRow("12 pages") << 740 << 12;
    }
    void pageLabel()
    {
        QFETCH(int, lines);
        QFETCH(int, pages);
        PrintFixture f;
        AziendaUtilStampe u(f.env);
        PrintReport r;
        r.OptionsSet(fileOptions(f.path(QStringLiteral("out.txt")), PrintOptions::PlainText));
        frmStampaInCorso w;
        QCOMPARE(w.LblPag->isVisibleTo(&w), false);
        QStringList shown;
        // Queued: looks at the label when the run next lets events through.
        connect(&r, &PrintReport::pageStarted, &w, [&] { shown.append(w.LblPag->text()); }, Qt::QueuedConnection);
        QCOMPARE(runWithWindow(u, r, w, lines), lines);
        QCoreApplication::processEvents();
        QCOMPARE(r.PageNumGet(), pages);
        QCOMPARE(w.LblPag->text(), QStringLiteral("%1").arg(pages, 3, 10, QLatin1Char('0')));
        QCOMPARE(shown.size(), pages);
        QCOMPARE(shown.last(), w.LblPag->text());
        QCOMPARE(shown.value(1), QStringLiteral("002"));  // the label follows every page
        QCOMPARE(w.windowTitle(), QStringLiteral("Stampa Distinta base"));
        QCOMPARE(w.lblStamp->text(), QStringLiteral("Stampa Distinta base"));
        QVERIFY(w.LblPrePag->isVisible() && w.isVisible());
        QCOMPARE(w.ogStampa(), &r);
        QCOMPARE(r.ProgressFormGet(), &w);
    }

    void prepareResetsLabel()
    {
        PrintReport r;
        frmStampaInCorso w;
        w.PageShow(9);
        w.Prepare(r, QStringLiteral("Stampa X"));
        QCOMPARE(w.LblPag->text(), QStringLiteral("000"));
        QCOMPARE(w.LblPrePag->text(), QStringLiteral("In stampa la pagina:"));
        QCOMPARE(w.ComStampa->text(), QStringLiteral("Interrompi la stampa"));
    }

    void interrupt()
    {
        PrintFixture f;
        AziendaUtilStampe u(f.env);
        PrintReport r;
        const QString out = f.path(QStringLiteral("out.pdf"));
        r.OptionsSet(fileOptions(out, PrintOptions::PdfFile));
        frmStampaInCorso w;
        // The user presses the button while page 3 is being produced.
        connect(&r, &PrintReport::pageStarted, &w, [&](int page) {
            if (page == 3)
                QTimer::singleShot(0, &w, [&] { QTest::mouseClick(w.ComStampa, Qt::LeftButton); });
        });
        int jobOver = 0;
        connect(&r, &PrintReport::jobOver, &w, [&](int reason) { jobOver = reason; });
        const int printed = runWithWindow(u, r, w, 2000);
        QVERIFY(printed > 0 && printed < 2000);
        QCOMPARE(r.StopCodeGet(), 1);
        QCOMPARE(r.PageNumGet(), 3);
        QCOMPARE(w.LblPag->text(), QStringLiteral("003"));
        QVERIFY(r.RunFinishedGet());
        QCOMPARE(jobOver, int(PrintReport::JobStopped));
        QVERIFY(!QFile::exists(out));

        // A second press records the stop once more and changes nothing else.
        QTest::mouseClick(w.ComStampa, Qt::LeftButton);
        QCOMPARE(r.StopCodeGet(), 1);
        QCOMPARE(r.PageNumGet(), 3);
        QVERIFY(r.RunFinishedGet());
    }

    void unloadUnbinds()
    {
        PrintReport r;
        frmStampaInCorso w;
        int unloads = 0;
        w.onUnload = [&] { ++unloads; };
        w.Prepare(r, QStringLiteral("Stampa X"));
        w.show();
        w.close();
        QCOMPARE(w.ogStampa(), nullptr);
        QCOMPARE(r.ProgressFormGet(), nullptr);
        QCOMPARE(unloads, 1);
        QTest::mouseClick(w.ComStampa, Qt::LeftButton);  // unbound: nothing to stop
        QCOMPARE(r.StopCodeGet(), 0);
        r.PageNumGet();
    }

    void gridColumns_data()
    {
        QTest::addColumn<int>("type");  // 0 all, 1 visible
        QTest::addColumn<QString>("headings");
        QTest::addColumn<QString>("firstRow");
        QTest::addColumn<QString>("lastRow");
        QTest::newRow("visible columns") << 1 << "Codice;Prezzo" << "ART1;10,5" << "ART3;31,5";
        QTest::newRow("all columns") << 0 << "Codice;Descrizione;Prezzo" << "ART1;Nascosta 1;10,5" << "ART3;Nascosta 3;31,5";
    }
    void gridColumns()
    {
        QFETCH(int, type);
        QFETCH(QString, headings);
        QFETCH(QString, firstRow);
        QFETCH(QString, lastRow);
        PrintFixture f;
        AziendaUtilStampe u(f.env);
        Grid g;
        const QString out = f.path(QStringLiteral("lista.csv"));
        FrmComlinStampa dlg(u, fileOptions(out, PrintOptions::SpreadsheetText));
        dlg.GridSet(&g.view);
        dlg.OptTipsta[type]->setChecked(true);
        dlg.OptOrientamento[1]->setChecked(true);
        dlg.CmdStampa_Click();
        QVERIFY2(f.sink.messages.isEmpty(), qPrintable(f.sink.texts().join('|')));
        const QStringList lines = csvLines(out);
        QVERIFY2(lines.contains(headings), qPrintable(lines.join('\n')));
        QVERIFY2(lines.contains(firstRow), qPrintable(lines.join('\n')));
        QVERIFY(lines.contains(lastRow));
        QCOMPARE(u.oiStaAtt, 0);
        QVERIFY(dlg.ListPrint().ogSta().DocumentGet().landscape);
    }

    void gridToPdf()
    {
        if (!kemtest::HavePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        PrintFixture f;
        AziendaUtilStampe u(f.env);
        Grid g;
        const QString out = f.path(QStringLiteral("lista.pdf"));
        FrmComlinStampa dlg(u, fileOptions(out, PrintOptions::PdfFile));
        dlg.GridSet(&g.view);
        dlg.TitleSet(QStringLiteral("Elenco articoli"));
        dlg.OptTipsta[1]->setChecked(true);
        dlg.OptOrientamento[0]->setChecked(true);
        dlg.CmdStampa_Click();
        const QString text = kemtest::PdfText(out);
        QVERIFY2(text.contains(QStringLiteral("Elenco articoli")) && text.contains(QStringLiteral("Pag. 001")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Codice")) && text.contains(QStringLiteral("Prezzo")));
        QVERIFY(text.contains(QStringLiteral("ART3")));
        QVERIFY(!text.contains(QStringLiteral("Descrizione")));
        QVERIFY(!text.contains(QStringLiteral("Nascosta")));
        QVERIFY(!dlg.ListPrint().ogSta().DocumentGet().landscape);
    }

    void gridMessages_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("running");
        QTest::addColumn<QString>("message");
        QTest::newRow("no type") << -1 << 0 << 0 << "Scegliere un tipo di stampa";
        QTest::newRow("no orientation") << 0 << -1 << 0 << "Scegliere un' orientamento";
        QTest::newRow("run in progress") << 0 << 0 << 1 << "Si può lanciare solo una stampa alla volta";
    }
    void gridMessages()
    {
        QFETCH(int, type);
        QFETCH(int, orientation);
        QFETCH(int, running);
        QFETCH(QString, message);
        PrintFixture f;
        AziendaUtilStampe u(f.env);
        u.oiStaAtt = running;
        Grid g;
        const QString out = f.path(QStringLiteral("lista.csv"));
        FrmComlinStampa dlg(u, fileOptions(out, PrintOptions::SpreadsheetText));
        dlg.GridSet(&g.view);
        if (type >= 0)
            dlg.OptTipsta[type]->setChecked(true);
        if (orientation >= 0)
            dlg.OptOrientamento[orientation]->setChecked(true);
        dlg.CmdStampa_Click();
        QCOMPARE(f.sink.texts(), QStringList{message});
        QVERIFY(!QFile::exists(out));
    }

    void gridPrinterNotSettable()
    {
        PrintFixture f;
        f.printers.add(QStringLiteral("HP"));
        f.printers.add(QStringLiteral("Epson"));
        f.printers.defaultPrinter = QStringLiteral("Epson");
        f.printers.refuseSetDefault = true;
        AziendaUtilStampe u(f.env);
        Grid g;
        auto o = std::make_shared<PrintOptions>();
        o->NomeStampante = QStringLiteral("HP");
        FrmComlinStampa dlg(u, o);
        dlg.GridSet(&g.view);
        dlg.OptTipsta[0]->setChecked(true);
        dlg.OptOrientamento[0]->setChecked(true);
        dlg.CmdStampa_Click();
        QCOMPARE(f.sink.texts(), QStringList{QStringLiteral("Impossibile impostare la stampante predefinita\r\n"
                                                            "per stampare su HP uscire dal programma e rientrare\r\n"
                                                            "Oppure scegliere un'altra stampante")});
        QCOMPARE(dlg.ListPrint().ogSta().PageNumGet(), 0);  // nothing printed
    }

    void useDefaultPrinter()
    {
        PrintFixture f;
        f.printers.add(QStringLiteral("HP (da 4)"));
        f.printers.add(QStringLiteral("Epson"));
        f.printers.defaultPrinter = QStringLiteral("Epson");
        f.ini(QStringLiteral("Stampanti"), QStringLiteral("TermSessAggNome"), QStringLiteral(" (da %§)"));
        f.env.terminalSession = 3;
        AziendaUtilStampe u(f.env);
        auto o = std::make_shared<PrintOptions>();
        o->NomeStampante = QStringLiteral("Altra");
        o->ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, 2);
        FrmComlinStampa dlg(u, o);
        dlg.ComUsaDef_Click();
        QCOMPARE(o->NomeStampante, QStringLiteral("Epson"));
        QCOMPARE(o->ParamInt(QStringLiteral("NumCassetto")), 0);
        QVERIFY(dlg.labStaAttuale->text().contains(QStringLiteral("Epson")));
        QVERIFY(f.sink.messages.isEmpty());

        f.printers.defaultPrinter = QStringLiteral("HP (da 4)");
        dlg.ComUsaDef_Click();
        QCOMPARE(o->NomeStampante, QStringLiteral("Epson"));  // refused
        QCOMPARE(f.sink.texts(), QStringList{QStringLiteral("La stampante (HP (da 4)) predefinita appartiene ad un'altra sessione\r\n"
                                                            "Scegliere una stampante o cambiare la stampante predefinita")});
    }
};

QTEST_MAIN(TestPrintProgress)
#include "tst_printprogress.moc"
