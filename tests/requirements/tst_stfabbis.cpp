// The requirements print over a small company: the explosion into the scratch rows (a
// component met twice, stock netting, base materials, articles without links, missing
// components, a structure that contains itself), the quantity options of the ordered article
// in every layout, the component lists and the final list, page breaks per document, the
// straightforward path, the scratch rows of other users and of a killed run, and failures.
#include "requirements/stfabbis.h"
#include "tests/requirements/fabbisfixture.h"
#include "tests/requirements/requirementsfixture.h"
#include "platform/util/kemutil.h"
#include "tests/support/testcompany.h"

#include <QTemporaryDir>
#include <QtTest>

using kemtest::RequirementsRun;

namespace {

const QString kNoData = QStringLiteral("Non ci sono dati nell'intervallo richiesto");
const QString kFinal = QStringLiteral("        *****  ELENCO FINALE COMPONENTI   *****  ");

QString DocTitle(int num)
{
    return QStringLiteral("        *****  ELENCO COMPONENTI DELL' ORDINE:  %1  *****").arg(num);
}

// The lines of the list that follows `title`, up to the next title or document line.
QStringList ListAfter(const QStringList &lines, const QString &title)
{
    QStringList out;
    qsizetype i = lines.indexOf(title);
    if (i < 0)
        return {QStringLiteral("<no list>")};
    for (++i; i < lines.size(); ++i) {
        const QString &l = lines.at(i);
        if (l.contains(QStringLiteral("*****")) || l.startsWith(QStringLiteral("Nr e Data")))
            break;
        out << l;
    }
    return out;
}

// The lines that start with `prefix`.
QStringList Starting(const QStringList &lines, const QString &prefix)
{
    QStringList out;
    for (const QString &l : lines)
        if (l.startsWith(prefix))
            out << l;
    return out;
}

qint64 ScratchRows(kem::Database &db, const QString &where = {})
{
    kem::ResultSets rs;
    const QString h = rs.RsOpen(db, "SELECT Count(*) AS N FROM AppoggioTemp" + where);
    kem::RsGuard g(rs, h);
    rs.RsMoveFirst(h);
    return rs.RsField(h, "N").toLongLong();
}

} // namespace

class TestStFabbis : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void explosion_data();
    void explosion();
    void quantityToProcess_data();
    void quantityToProcess();
    void finalList_data();
    void finalList();
    void pageBreakPerDocument_data();
    void pageBreakPerDocument();
    void semiFinishedLeftOut();
    void missingDeliveryDate();
    void articleDocumentList();
    void noData();
    void straightforwardSame_data();
    void straightforwardSame();
    void scratchRowsOfOthers();
    void scratchTableFailure();
    void runError();
    void interrupted();

private:
    QTemporaryDir dir_;
    QString db_;
};

void TestStFabbis::initTestCase()
{
    QVERIFY(dir_.isValid());
    QString error;
    db_ = dir_.filePath("azienda.db");
    QVERIFY2(kemtest::BuildCompanyDb(db_, kemtest::FabbisCompany(), &error), qPrintable(error));
}

void TestStFabbis::explosion_data()
{
    QTest::addColumn<int>("doc");
    QTest::addColumn<int>("qtaMostr");
    QTest::addColumn<QStringList>("list");  // the document's component list
    QTest::newRow("a component at two depths: one row, quantities summed; a base material not exploded")
        << 1 << 0 << QStringList{"BASE3|Telaio|PZ|1,000", "MB1|Vite|PZ|10,000", "MB2|Colla|KG|2,000", "SL1|Piano|PZ|2,000"};
    QTest::newRow("stock 10 and two links of 6: 0 then 2, gross 12")
        << 2 << 1 << QStringList{"MN|Lamiera|PZ|2,000|(giac: 10,000 - 12,000)", "SA|Anta A|PZ|1,000", "SB|Anta B|PZ|1,000"};
    QTest::newRow("no netting: the gross requirement")
        << 2 << 0 << QStringList{"MN|Lamiera|PZ|12,000", "SA|Anta A|PZ|1,000", "SB|Anta B|PZ|1,000"};
    QTest::newRow("a missing component is booked without description")
        << 4 << 0 << QStringList{"ZZMISS|*** Art.Inesistente ***|PZ|2,000"};
    QTest::newRow("a structure that contains itself is walked once")
        << 5 << 0 << QStringList{"CY1|Ciclo uno|PZ|1,000", "CY2|Ciclo due|PZ|1,000", "MB1|Vite|PZ|1,000"};
    QTest::newRow("an article without links books nothing") << 3 << 0 << QStringList{"<no list>"};
}

void TestStFabbis::explosion()
{
    QFETCH(int, doc);
    QFETCH(int, qtaMostr);
    QFETCH(QStringList, list);
    RequirementsRun run(db_, dir_.path());
    run.report->olNumRifDa = doc;
    run.report->olNumRifA = doc;
    run.report->oiQtaMostr = static_cast<qint16>(qtaMostr);
    run.report->obSemilav = true;
    const QStringList lines = run.run();
    QVERIFY2(run.sink.errors.isEmpty(), qPrintable(run.sink.errors.join('\n')));
    QCOMPARE(ListAfter(lines, DocTitle(doc)), list);
    QVERIFY(!lines.contains(kFinal));  // one document
    QCOMPARE(ScratchRows(run.db), 0);
    // The cycle is told once, with the articles on it, and the run goes on.
    QCOMPARE(run.report->CyclesMet(), doc == 5 ? 1 : 0);
    if (doc == 5)
        QCOMPARE(run.sink.messages, QStringList{"Distinta ciclica: CY1 -> CY2 -> CY1: la distinta di CY1 non viene "
                                                "esplosa di nuovo, il resto della riga sì"});
}

void TestStFabbis::quantityToProcess_data()
{
    // Orders 6, 7 and 8 of PQ (stock 5, availability -2) with residuals 8, 2 and 3; what each
    // line explodes shows as the quantity of its one component MQ.
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("qtaElab");
    QTest::addColumn<QStringList>("quantities");
    QTest::newRow("document/article, Totale") << 0 << 0 << QStringList{"8,000", "2,000", "3,000"};
    QTest::newRow("document/article, Totale - disponibilità") << 0 << 1 << QStringList{"2,000", "0,000", "0,000"};
    // The second document's shortage is its own residual 2, not 3: what earlier documents took
    // beyond the stock is not counted again.
    QTest::newRow("document/article, Totale - giacenza") << 0 << 2 << QStringList{"3,000", "2,000", "3,000"};
    QTest::newRow("article/document, Totale") << 1 << 0 << QStringList{"8,000", "2,000", "3,000"};
    QTest::newRow("article/document, Totale - disponibilità") << 1 << 1 << QStringList{"2,000", "0,000", "0,000"};
    QTest::newRow("article/document, Totale - giacenza") << 1 << 2 << QStringList{"3,000", "2,000", "3,000"};
    QTest::newRow("grouped, Totale") << 2 << 0 << QStringList{"13,000"};
    QTest::newRow("grouped, Totale - disponibilità") << 2 << 1 << QStringList{"2,000"};
    QTest::newRow("grouped, Totale - giacenza") << 2 << 2 << QStringList{"8,000"};
}

void TestStFabbis::quantityToProcess()
{
    QFETCH(int, tipo);
    QFETCH(int, qtaElab);
    QFETCH(QStringList, quantities);
    RequirementsRun run(db_, dir_.path());
    run.report->osArticoloDa = "PQ";
    run.report->osArticoloA = "PQ";
    run.report->oiTipoStampa = static_cast<qint16>(tipo);
    run.report->oiQtaElab = static_cast<qint16>(qtaElab);
    run.report->obPrelvo = true;
    const QStringList lines = run.run();
    QVERIFY2(run.sink.errors.isEmpty(), qPrintable(run.sink.errors.join('\n')));
    QStringList got;
    for (const QString &l : Starting(lines, "* MQ|"))
        got << l.section('|', 3, 3);
    QCOMPARE(got, quantities);
    double total = 0;
    for (const QString &q : quantities)
        total += kem::TextToNum(q);
    QCOMPARE(ListAfter(lines, kFinal), QStringList{"MQ|Listello|PZ|" + kem::FormatNum(total, "#,##0.000")});
    QCOMPARE(ScratchRows(run.db), 0);
}

void TestStFabbis::finalList_data()
{
    QTest::addColumn<int>("last");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("one document: its list, no final list") << 1 << QStringList{DocTitle(1)};
    QTest::newRow("two documents: both lists and the final list") << 2 << QStringList{DocTitle(1), DocTitle(2), kFinal};
}

void TestStFabbis::finalList()
{
    QFETCH(int, last);
    QFETCH(QStringList, titles);
    RequirementsRun run(db_, dir_.path());
    run.report->olNumRifDa = 1;
    run.report->olNumRifA = last;
    run.report->obSemilav = true;
    const QStringList lines = run.run();
    QCOMPARE(Starting(lines, "        *****"), titles);
    if (last == 2)
        QCOMPARE(ListAfter(lines, kFinal),
                 (QStringList{"BASE3|Telaio|PZ|1,000", "MB1|Vite|PZ|10,000", "MB2|Colla|KG|2,000", "MN|Lamiera|PZ|12,000",
                              "SA|Anta A|PZ|1,000", "SB|Anta B|PZ|1,000", "SL1|Piano|PZ|2,000"}));
}

void TestStFabbis::pageBreakPerDocument_data()
{
    QTest::addColumn<bool>("saltoPag");
    QTest::addColumn<int>("page");  // of the second document
    QTest::addColumn<int>("selections");
    QTest::newRow("one page") << false << 1 << 1;
    QTest::newRow("a page per document") << true << 2 << 2;
}

void TestStFabbis::pageBreakPerDocument()
{
    QFETCH(bool, saltoPag);
    QFETCH(int, page);
    QFETCH(int, selections);
    RequirementsRun run(db_, dir_.path());
    run.report->olNumRifDa = 1;
    run.report->olNumRifA = 2;
    run.report->obSaltoPag = saltoPag;
    const QStringList lines = run.run();
    const kem::Document &doc = run.keep.report->DocumentGet();
    QCOMPARE(kemtest::PageOf(doc, "Nr e Data Rif.:|1 - "), 1);
    QCOMPARE(kemtest::PageOf(doc, "Nr e Data Rif.:|2 - "), page);
    QCOMPARE(Starting(lines, "; Codice articolo").size() + lines.filter("Ordinato per").size(), selections);
}

void TestStFabbis::semiFinishedLeftOut()
{
    RequirementsRun run(db_, dir_.path());
    run.report->olNumRifDa = 1;
    run.report->olNumRifA = 1;
    run.report->obPrelvo = true;
    run.report->obSemilav = false;
    const QStringList lines = run.run();
    // The explosion leaves out the semi-finished line, not what is below it.
    QCOMPARE(Starting(lines, "* "), (QStringList{"* BASE3|Telaio|PZ|1,000", "* MB1|Vite|PZ|4,000",
                                                 "* * MB1|Vite|PZ|6,000", "* * MB2|Colla|KG|2,000"}));
    QCOMPARE(ListAfter(lines, DocTitle(1)),
             (QStringList{"BASE3|Telaio|PZ|1,000", "MB1|Vite|PZ|10,000", "MB2|Colla|KG|2,000"}));
}

void TestStFabbis::missingDeliveryDate()
{
    RequirementsRun run(db_, dir_.path());
    run.report->olNumRifDa = 1;
    run.report->olNumRifA = 9;
    run.report->osArticoloDa = "PF1";
    run.report->osArticoloA = "PF1";
    const QStringList heads = Starting(run.run(), "Articolo:|PF1");
    QCOMPARE(heads.size(), 2);
    QVERIFY2(heads[0].contains("|Data cons.:|10/03/2024|"), qPrintable(heads[0]));  // the header's date
    QVERIFY2(heads[1].contains("|PZ|" + QString(19, ' ') + "|Giacenza:"), qPrintable(heads[1]));
}

void TestStFabbis::articleDocumentList()
{
    RequirementsRun run(db_, dir_.path());
    run.report->olNumRifDa = 1;
    run.report->olNumRifA = 2;
    run.report->oiTipoStampa = 1;
    run.report->oiQtaMostr = 1;
    run.report->obSemilav = true;
    const QStringList lines = run.run();
    // Articles by description (Armadio before Tavolo), each with its total.
    QCOMPARE(Starting(lines, "Articolo:"), (QStringList{"Articolo:|PN  Armadio|Um:|PZ|" + QString(19, ' ')
                                                            + "|Giacenza:|0,000|Quantità residua:|1,000",
                                                        "Articolo:|PF1  Tavolo|Um:|PZ|" + QString(19, ' ')
                                                            + "|Giacenza:|0,000|Quantità residua:|1,000"}));
    QCOMPARE(Starting(lines, "TOTALE"), (QStringList{"TOTALE QTA'  ART. PN:|1,000", "TOTALE QTA'  ART. PF1:|1,000"}));
    // The final list: each component with the documents that need it.
    const QStringList final = ListAfter(lines, kFinal);
    QCOMPARE(final.mid(0, 2), (QStringList{"BASE3|Telaio|PZ|1,000"}));
    const qsizetype mn = lines.indexOf("MN|Lamiera|PZ|2,000|(da giac: 10,000)");
    QVERIFY(mn > 0);
    QCOMPARE(lines.at(mn + 1), "Nr e Data Rif.:|2 - 02/03/2024|Cliente:|Rossi Srl|Q.tà:|2,000|12,000");
}

void TestStFabbis::noData()
{
    RequirementsRun run(db_, dir_.path());
    run.report->olNumRifDa = 50;
    const QStringList lines = run.run();
    QCOMPARE(run.sink.messages, QStringList{kNoData});
    QVERIFY(!run.report->LastRun().printed);
}

void TestStFabbis::straightforwardSame_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("qtaMostr");
    QTest::addColumn<int>("qtaElab");
    for (int tipo = 0; tipo < 3; ++tipo)
        for (int mostr = 0; mostr < 2; ++mostr)
            for (int elab = 0; elab < 3; ++elab)
                QTest::addRow("tipo %d, mostr %d, elab %d", tipo, mostr, elab) << tipo << mostr << elab;
}

void TestStFabbis::straightforwardSame()
{
    QFETCH(int, tipo);
    QFETCH(int, qtaMostr);
    QFETCH(int, qtaElab);
    QStringList out[2];
    for (int straight = 0; straight < 2; ++straight) {
        RequirementsRun run(db_, dir_.path());
        run.report->oiTipoStampa = static_cast<qint16>(tipo);
        run.report->oiQtaMostr = static_cast<qint16>(qtaMostr);
        run.report->oiQtaElab = static_cast<qint16>(qtaElab);
        run.report->obPrelvo = true;
        run.report->obSemilav = true;
        run.report->obStraightforward = straight == 1;
        out[straight] = run.run();
        QVERIFY2(run.sink.errors.isEmpty(), qPrintable(run.sink.errors.join('\n')));
        QCOMPARE(ScratchRows(run.db), 0);
    }
    QVERIFY(out[0].size() > 25);  // headers, explosion lines and lists
    QCOMPARE(out[1], out[0]);
}

void TestStFabbis::scratchRowsOfOthers()
{
    QStringList alone;
    {
        RequirementsRun run(db_, dir_.path());
        run.report->oiQtaMostr = 1;
        run.report->oiQtaElab = 2;
        alone = run.run();
    }
    // Another user's rows under the same program, and this user's rows left by a killed run.
    kem::Database db;
    db.DbOpen(db_);
    db.DbExecute("INSERT INTO AppoggioTemp (Utente, IdProgramma, IdCampo, AppoInte0, AppoStringa0, ValoreStringa, "
                 "AppoStringa1, AppoInte1, ValoreNumero, AppoDouble0, AppoDouble1) VALUES "
                 "('bruno','42','1',2024,'2','MN','PZ',3,99,0,99),('bruno','42','2',0,'0','MN','PZ',3,99,0,99),"
                 "('anna','42','7',2024,'1','MB1','PZ',3,50,0,50),('anna','42_art','PQ',0,NULL,NULL,NULL,0,6,0,0)");
    RequirementsRun run(db_, dir_.path());
    run.report->oiQtaMostr = 1;
    run.report->oiQtaElab = 2;
    QCOMPARE(run.run(), alone);
    QCOMPARE(ScratchRows(db, " WHERE Utente = 'anna'"), 0);
    QCOMPARE(ScratchRows(db, " WHERE Utente = 'bruno'"), 2);
    db.DbExecute("DELETE FROM AppoggioTemp");
}

void TestStFabbis::scratchTableFailure()
{
    QTemporaryDir dir;
    QString error;
    const QString path = dir.filePath("senza.db");
    QStringList rows = kemtest::FabbisCompany();
    rows << "DROP TABLE AppoggioTemp";
    QVERIFY2(kemtest::BuildCompanyDb(path, rows, &error), qPrintable(error));
    RequirementsRun run(path, dir.path());
    run.run();
    QVERIFY(run.sink.messages.contains("Errore durante la creazione del file temporaneo delle selezioni"));
    QVERIFY(!run.sink.messages.contains(kNoData));
    QCOMPARE(run.sink.errors.size(), 2);  // the database error at the start and at the end
    QVERIFY(run.report->LastRun().failed);
    QVERIFY(!run.report->LastRun().printed);
}

void TestStFabbis::runError()
{
    QTemporaryDir dir;
    QString error;
    const QString path = dir.filePath("senzaprog.db");
    QStringList rows = kemtest::FabbisCompany();
    rows << "DROP TABLE ArticoliProg";
    QVERIFY2(kemtest::BuildCompanyDb(path, rows, &error), qPrintable(error));
    RequirementsRun run(path, dir.path());
    run.report->olNumRifDa = 2;
    run.report->olNumRifA = 2;
    run.report->oiQtaMostr = 1;
    run.run();
    QCOMPARE(run.sink.errors.size(), 1);
    QVERIFY2(run.sink.errors[0].startsWith("(Stampa Fabbisogno) Errore durante la stampa"), qPrintable(run.sink.errors[0]));
    QVERIFY(run.report->LastRun().failed);
    // The run end is performed: the job is closed and the scratch rows are gone.
    QVERIFY(!run.report->obStaAtt);
    kem::Database db;
    db.DbOpen(path);
    QCOMPARE(ScratchRows(db), 0);
}

void TestStFabbis::interrupted()
{
    // The user interrupts when the cycle of order 5 is told: the run stops at the next link,
    // prints no further list and leaves no scratch rows.
    RequirementsRun run(db_, dir_.path());
    run.report->olNumRifDa = 1;
    run.report->olNumRifA = 9;
    struct StopOnMessage : kemtest::RecordingSink {
        kemtest::KeepReport *keep = nullptr;
        int msgCom(const QString &text, const QStringList &buttons, int defaultButton, const QString &caption) override
        {
            if (keep->report)
                keep->report->StopSet(1);
            return RecordingSink::msgCom(text, buttons, defaultButton, caption);
        }
    } sink;
    sink.keep = &run.keep;
    kem::StFabbis report(run.db, run.params, *run.stampe, sink);
    report.ProgressSet(&run.keep);
    report.ogOpzSta = run.options;
    report.osUtente = "anna";
    report.AvviaStampa();
    QVERIFY(report.LastRun().stopped);
    const QStringList lines = kemtest::RequirementsBody(run.keep.report->DocumentGet());
    QVERIFY(lines.contains(DocTitle(4)));
    QVERIFY(!lines.contains(DocTitle(5)));
    QVERIFY(Starting(lines, "Nr e Data Rif.:|6 -").isEmpty());
    QCOMPARE(ScratchRows(run.db), 0);
}

QTEST_MAIN(TestStFabbis)
#include "tst_stfabbis.moc"
