// distinta-batch requirements end to end: the demo company printed to CSV in each layout and
// compared with rows worked out by hand from the demo data, two users printing at the same time
// on one company, and bad usage.
#include "platform/db/kemdb.h"
#include "schema/democompany.h"
#include "tests/support/batchrun.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using kemtest::CsvLines;
using kemtest::RunBatch;

namespace {

// The body of a CSV print: below the page header and the selection line, blank lines left out.
QStringList Body(const QString &file)
{
    QStringList out;
    bool body = false;
    for (const QString &l : CsvLines(file)) {
        if (l.contains("Ordinato per ")) {
            body = true;
            continue;
        }
        if (body && !l.trimmed().isEmpty() && !l.contains(";Pag. ") && !l.startsWith("Kemora"))
            out << l;
    }
    return out;
}

} // namespace

class TestRequirementsBatch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void csvOnTheDemoCompany_data();
    void csvOnTheDemoCompany();
    void twoUsersAtOnce();
    void badUsage_data();
    void badUsage();

private:
    QStringList args(const QString &user, const QString &out, const QStringList &more) const
    {
        return QStringList{"requirements", "--company", demo_, "--user", user, "--out", out} + more;
    }
    QTemporaryDir dir_;
    QString demo_;
};

void TestRequirementsBatch::initTestCase()
{
    QVERIFY(dir_.isValid());
    QVERIFY2(QFile::exists(kemtest::kBatch), qPrintable(kemtest::kBatch));
    demo_ = dir_.filePath("demo");
    QString error;
    QVERIFY2(kem::WriteDemoCompany(demo_, &error), qPrintable(error));
}

void TestRequirementsBatch::csvOnTheDemoCompany_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("expected");
    // Order 3 of 2026 (D'Amico), line TAV-ROV180 x1, exploded by hand from the demo links:
    // the frame (4 legs of 0,25 BAR and 0,05 LT each, 5,2 M, 4 FER-SQ-90 that is no article,
    // 16 screws, 0,15 KG glue), the top (1,7 MQ, 0,1 KG glue), 0,04 CF of screws, 0,35 LT of
    // varnish, 4 felt feet, one box. Glue 0,15 + 0,1; varnish 0,35 + 4 x 0,05.
    const QString doc = "Nr e Data Rif.:;3 - 05/03/2026;Cliente:;D'Amico Arredamenti S.r.l.;Q.tà:;";
    const QStringList comps{"COL-VIN;Colla vinilica D3;KG;0,250",
                            "FER-SQ-90;*** Art.Inesistente ***;PZ;4,000",
                            "IMB-CART-TAV;Imballo cartone per tavolo;PZ;1,000",
                            "LEG-ROV-45;Listello rovere massello 45x45;BAR;1,000",
                            "LEG-ROV-45;Listello rovere massello 45x45;M;5,200",
                            "PAN-ROV-30;Pannello rovere massello lamellare sp.30;MQ;1,700",
                            "PIE-FELTRO;Piedino in feltro adesivo d.20;PZ;4,000",
                            "SL-GAMBA-ROV;Gamba tornita rovere h.72;PZ;4,000",
                            "SL-PIANO-180;Piano tavolo rovere 180x90 sp.30;PZ;1,000",
                            "SL-TELAIO-180;Telaio tavolo rovere 180;PZ;1,000",
                            "VER-ACR-TR;Vernice acrilica trasparente opaca;LT;0,550",
                            "VIT-4X40;Vite truciolare 4x40 zincata;CF;0,040",
                            "VIT-4X40;Vite truciolare 4x40 zincata;PZ;16,000"};
    const QStringList sel{"--num-rif-da", "3", "--num-rif-a", "3", "--articolo-da", "TAV-ROV180", "--articolo-a",
                          "TAV-ROV180", "--semilav", "S"};
    // Stock of TAV-ROV180 in 2026: 9.
    QTest::newRow("Documento/Articolo")
        << sel + QStringList{"--tipo-stampa", "0"}
        << QStringList{doc + "1,000;Nr e Data Doc.:;3 - 05/03/2026",
                       "Articolo:;TAV-ROV180  Tavolo allungabile rovere 180x90;Um:;PZ;Data cons.:;10/06/2026;"
                       "Giacenza:;9,000;Quantità residua:;1,000",
                       "        *****  ELENCO COMPONENTI DELL' ORDINE:  3  *****"}
               + comps;
    // The article's list names the document under each component; FER-SQ-90, no article, is
    // not in it.
    QStringList byArticle;
    for (const QString &c : comps) {
        if (c.startsWith("FER-"))
            continue;
        byArticle << c << doc + c.section(';', 3, 3);
    }
    QTest::newRow("Articolo/Documento")
        << sel + QStringList{"--tipo-stampa", "1"}
        << QStringList{"Articolo:;TAV-ROV180  Tavolo allungabile rovere 180x90;Um:;PZ;                   ;"
                       "Giacenza:;9,000;Quantità residua:;1,000",
                       doc + "1,000;Nr e Data Doc.:;3 - 05/03/2026", "TOTALE QTA'  ART. TAV-ROV180:;1,000",
                       "        *****  ELENCO FINALE COMPONENTI   *****  "}
               + byArticle;
    QTest::newRow("Raggrupp. per articolo")
        << sel + QStringList{"--tipo-stampa", "2"}
        << QStringList{"Articolo:;TAV-ROV180  Tavolo allungabile rovere 180x90;Um:;PZ;Giacenza:;9,000;"
                       "Quantità residua:;1,000;Qta:;1,000",
                       "        *****  ELENCO FINALE COMPONENTI   *****  "}
               + comps;
}

void TestRequirementsBatch::csvOnTheDemoCompany()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, expected);
    const QString out = dir_.filePath("fabbisogno.csv");
    const auto r = RunBatch(args("anna", out, options));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(Body(out), expected);
}

void TestRequirementsBatch::twoUsersAtOnce()
{
    // Each alone, then both at once on the same company: each prints what it printed alone and
    // no scratch row is left.
    const QStringList a{"--tipo-stampa", "0", "--qta-mostr", "1", "--qta-elab", "2", "--prelvo", "S", "--semilav", "S"};
    const QStringList b{"--tipo-stampa", "1", "--qta-mostr", "1", "--qta-elab", "1", "--ord-pre", "O"};
    const QString aloneA = dir_.filePath("soloA.csv"), aloneB = dir_.filePath("soloB.csv");
    QCOMPARE(RunBatch(args("anna", aloneA, a)).exitCode, 0);
    QCOMPARE(RunBatch(args("bruno", aloneB, b)).exitCode, 0);
    for (int round = 0; round < 3; ++round) {
        const QString outA = dir_.filePath("insiemeA.csv"), outB = dir_.filePath("insiemeB.csv");
        QProcess pa, pb;
        pa.start(kemtest::kBatch, args("anna", outA, a));
        pb.start(kemtest::kBatch, args("bruno", outB, b));
        QVERIFY(pa.waitForFinished(120000) && pb.waitForFinished(120000));
        QVERIFY2(pa.exitCode() == 0, pa.readAllStandardError().constData());
        QVERIFY2(pb.exitCode() == 0, pb.readAllStandardError().constData());
        QCOMPARE(Body(outA), Body(aloneA));
        QCOMPARE(Body(outB), Body(aloneB));
    }
    kem::Database db;
    db.DbOpen(QDir(demo_).filePath("dati/azienda.db"));
    kem::ResultSets rs;
    const QString h = rs.RsOpen(db, "SELECT Count(*) AS N FROM AppoggioTemp");
    rs.RsMoveFirst(h);
    QCOMPARE(rs.RsField(h, "N").toInt(), 0);
    rs.RsClose(h);
}

void TestRequirementsBatch::badUsage_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");
    QTest::newRow("no user") << QStringList{"--user", ""} << "Manca --user";
    QTest::newRow("document kind") << QStringList{"--ord-pre", "X"} << "Valore non valido per --ord-pre";
    QTest::newRow("reversed reference dates")
        << QStringList{"--data-rif-da", "02/01/2026", "--data-rif-a", "01/01/2026"}
        << "Si prega di inserire le date di riferimento in ordine crescente";
    QTest::newRow("bad date") << QStringList{"--prev-cons-a", "31/02/2026"} << "Data non valida per --prev-cons-a";
    QTest::newRow("class level out of range") << QStringList{"--art-classe-attr-da", "6=A"}
                                              << "Valore non valido per --art-classe-attr-da";
    QTest::newRow("reversed class bounds")
        << QStringList{"--pdc-classe-attr-da", "2=Z", "--pdc-classe-attr-a", "2=A"}
        << "Si prega di inserire gli estremi in ordine crescente";
    QTest::newRow("print type") << QStringList{"--tipo-stampa", "3"} << "Errore nel campo 'Tipo stampa:'";
}

void TestRequirementsBatch::badUsage()
{
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    const QString out = dir_.filePath("errato.csv");
    QFile::remove(out);
    const auto r = RunBatch(args("anna", out, {}) + options);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFile::exists(out));
}

QTEST_GUILESS_MAIN(TestRequirementsBatch)
#include "tst_requirementsbatch.moc"
