// The BOM implosion print over a small company built here: one group line per component and
// one line per parent, the kinds of components each choice of "Articoli da considerare:"
// takes, the code range (either bound alone, quotes in codes), links whose parent or component
// is missing, the columns with their headings and alignments, page breaks with header and
// headings, no data, and an error with the run end performed.
#include "implosion/stimpldiba.h"
#include "tests/implosion/implosionfixture.h"
#include "tests/support/testcompany.h"

#include <QTemporaryDir>
#include <QtTest>

using kemtest::ImplosionRun;

namespace {

QString article(const QString &code, const QString &desc, const QString &um, int distBase)
{
    QString c = code, d = desc;
    c.replace(QLatin1Char('\''), QStringLiteral("''"));
    d.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("('%1','%2','%3',%4)").arg(c, d, um).arg(distBase);
}

QString link(const QString &parent, const QString &child, double qta, const QString &um)
{
    QString p = parent, c = child;
    p.replace(QLatin1Char('\''), QStringLiteral("''"));
    c.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("('%1','%2','%3',%4)").arg(p, c, um, QString::number(qta, 'g', 17));
}

QStringList companyRows(const QStringList &articles, const QStringList &links)
{
    return {
        "INSERT INTO Articoli (Articolo, Descrizione, ArtUM, DistBase) VALUES " + articles.join(','),
        "INSERT INTO ArtLegami (ArticoloPadre, ArticoloFiglio, UM, Qta) VALUES " + links.join(','),
    };
}

QStringList smallCompany()
{
    const QStringList articles = {
        article("PF1", "Prodotto finito uno", "PZ", 1),
        article("PF2", "Prodotto finito due", "PZ", 1),
        article("PF3", "Prodotto finito tre", "PZ", 1),
        article("SEM1", "Semilavorato uno", "PZ", 2),
        article("MB1", "Materiale base uno", "KG", 3),
        article("MB2", "Materiale base due", "M", 3),
        article("MB'Q", "Materiale con l'apice", "KG", 3),
        article("ALT4", "Articolo di tipo quattro", "NR", 4),
        article("ZERO", "Fuori distinta", "NR", 0),
        article("PFC", "Finito usato come componente", "PZ", 1),
    };
    const QStringList links = {
        link("PF1", "MB1", 1.5, "KG"),   link("PF2", "MB1", 250, "G"),  link("SEM1", "MB1", 0.125, "KG"),
        link("PF3", "MB2", 2, "M"),      link("MB1", "MB2", 0.5, "M"),  link("PF1", "SEM1", 2, "PZ"),
        link("PF1", "MB'Q", 3, "KG"),    link("PF2", "ALT4", 1, "NR"),  link("PF3", "ZERO", 1, "NR"),
        link("PF3", "PFC", 1, "PZ"),
        // A component missing from Articoli, and a parent missing from it.
        link("PF1", "GHOST", 4, "PZ"),   link("NOPARENT", "MB2", 7, "M"),
    };
    return companyRows(articles, links);
}

const QStringList kMBQ = {"MB'Q - Materiale con l'apice|KG|Prodotto Base",
                          "PF1|Prodotto finito uno|KG|3,000|Prodotto Finito"};
const QStringList kMB1 = {"MB1 - Materiale base uno|KG|Prodotto Base",
                          "PF1|Prodotto finito uno|KG|1,500|Prodotto Finito",
                          "PF2|Prodotto finito due|G|250,000|Prodotto Finito",
                          "SEM1|Semilavorato uno|KG|0,125|Semilavorato"};
const QStringList kMB2 = {"MB2 - Materiale base due|M|Prodotto Base",
                          "MB1|Materiale base uno|M|0,500|Prodotto Base",
                          "PF3|Prodotto finito tre|M|2,000|Prodotto Finito"};
const QStringList kSEM1 = {"SEM1 - Semilavorato uno|PZ|Semilavorato",
                           "PF1|Prodotto finito uno|PZ|2,000|Prodotto Finito"};
const QStringList kALT4 = {"ALT4 - Articolo di tipo quattro|NR|1",
                           "PF2|Prodotto finito due|NR|1,000|Prodotto Finito"};

// Two paths from one material into one product, a product used in a kit above it, and two
// semi-finished articles that contain each other.
QStringList levelsCompany()
{
    const QStringList articles = {
        article("MB", "Materiale", "KG", 3),       article("SL1", "Semi uno", "PZ", 2),
        article("SL2", "Semi due", "PZ", 2),       article("PF", "Prodotto", "PZ", 1),
        article("PF2", "Prodotto due", "PZ", 1),   article("KIT", "Kit", "PZ", 1),
        article("CY1", "Ciclo uno", "PZ", 2),      article("CY2", "Ciclo due", "PZ", 2),
    };
    const QStringList links = {
        link("SL1", "MB", 2, "KG"),   link("SL2", "MB", 0.5, "KG"), link("PF", "SL1", 4, "PZ"),
        link("PF", "SL2", 5, "PZ"),   link("PF2", "SL2", 1, "PZ"),  link("KIT", "PF", 2, "PZ"),
        link("CY1", "CY2", 2, "PZ"),  link("CY2", "CY1", 3, "PZ"),  link("PF2", "CY2", 1, "PZ"),
        // A user missing from Articoli drops out at every level.
        link("NOPARENT", "PF", 1, "PZ"),
    };
    return companyRows(articles, links);
}

} // namespace

class TestStImplDiBa : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void lines_data();
    void lines();
    void statement_data();
    void statement();
    void kindTexts_data();
    void kindTexts();
    void oneGroupLineThenOneLinePerParent();
    void headingsAndAlignments_data();
    void headingsAndAlignments();
    void pageBreakReprintsHeaderAndHeadings();
    void noDataInTheRange();
    void levels_data();
    void levels();
    void cycleIsToldOnceAndTheRunGoesOn();
    void failingStatementEndsTheRunProperly();

private:
    QTemporaryDir dir_;
    QString db_;
};

void TestStImplDiBa::initTestCase()
{
    QVERIFY(dir_.isValid());
    db_ = dir_.filePath(QStringLiteral("azienda.db"));
    QString error;
    QVERIFY2(kemtest::BuildCompanyDb(db_, smallCompany(), &error), qPrintable(error));
}

void TestStImplDiBa::lines_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("da");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QStringList>("expected");
    // Base materials: the missing component GHOST and the missing parent NOPARENT drop out.
    QTest::newRow("base materials") << 1 << "" << "" << kMBQ + kMB1 + kMB2;
    QTest::newRow("semi-finished") << 2 << "" << "" << kSEM1;
    // Every kind but 0 (ZERO) and 1 (PFC): 2, 3 and 4.
    QTest::newRow("Tutti") << 0 << "" << "" << kALT4 + kMBQ + kMB1 + kMB2 + kSEM1;
    QTest::newRow("lower bound only") << 0 << "MB2" << "" << kMB2 + kSEM1;
    QTest::newRow("lower bound only, other case") << 0 << "mb2" << "" << kMB2 + kSEM1;
    QTest::newRow("upper bound only") << 0 << "" << "MB1" << kALT4 + kMBQ + kMB1;
    QTest::newRow("one component") << 1 << "MB1" << "MB1" << kMB1;
    QTest::newRow("quote in the code") << 1 << "MB'Q" << "MB'Q" << kMBQ;
    QTest::newRow("a semi-finished outside base materials") << 1 << "SEM1" << "SEM1" << QStringList();
    QTest::newRow("a text that would end the literal") << 0 << "' OR ''='" << "' OR ''='" << QStringList();
}

void TestStImplDiBa::lines()
{
    QFETCH(int, tipo);
    QFETCH(QString, da);
    QFETCH(QString, a);
    QFETCH(QStringList, expected);
    ImplosionRun r(db_, dir_.path());
    r.report->oiTipoDibaArt = qint16(tipo);
    r.report->osArticoloDa = da;
    r.report->osArticoloA = a;
    const QStringList body = r.run();
    QCOMPARE(body, expected);
    QVERIFY2(r.sink.errors.isEmpty(), qPrintable(r.sink.errors.join('\n')));
    QCOMPARE(r.report->LastRun().printed, !expected.isEmpty());
    QCOMPARE(r.report->LastRun().lines, qint64(expected.size()));
    if (expected.isEmpty())
        QCOMPARE(r.sink.messages, QStringList{"Non ci sono dati nell'intervallo richiesto"});
}

void TestStImplDiBa::statement_data()
{
    const QString head = QStringLiteral(
        "SELECT Articoli_1.Articolo, Articoli_1.Descrizione,Articoli_1.ArtUM,"
        " Articoli.Articolo, Articoli.Descrizione,Articoli.DistBase,"
        " Articoli_1.DistBase, ArtLegami.UM, ArtLegami.Qta"
        " FROM (ArtLegami INNER JOIN Articoli ON ArtLegami.ArticoloPadre = Articoli.Articolo)"
        " INNER JOIN Articoli AS Articoli_1 ON ArtLegami.ArticoloFiglio = Articoli_1.Articolo"
        " WHERE");
    const QString order = QStringLiteral(" Order By Articoli_1.Articolo, Articoli.Articolo");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("da");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("sql");
    QTest::newRow("base materials") << 1 << "" << "" << head + " Articoli_1.distbase= 3" + order;
    QTest::newRow("semi-finished") << 2 << "" << "" << head + " Articoli_1.distbase= 2" + order;
    QTest::newRow("all") << 0 << "" << "" << head + " Articoli_1.distbase <> 0 AND Articoli_1.distbase <> 1" + order;
    QTest::newRow("both bounds") << 1 << "A" << "B"
                                 << head + " Articoli_1.distbase= 3 and Articoli_1.Articolo>='A' and Articoli_1.Articolo<='B'" + order;
    QTest::newRow("blank lower bound") << 2 << "  " << "B"
                                       << head + " Articoli_1.distbase= 2 and Articoli_1.Articolo<='B'" + order;
    QTest::newRow("quotes doubled") << 1 << "O'B" << ""
                                    << head + " Articoli_1.distbase= 3 and Articoli_1.Articolo>='O''B'" + order;
}

void TestStImplDiBa::statement()
{
    QFETCH(int, tipo);
    QFETCH(QString, da);
    QFETCH(QString, a);
    QFETCH(QString, sql);
    ImplosionRun r(db_, dir_.path());
    r.report->oiTipoDibaArt = qint16(tipo);
    r.report->osArticoloDa = da;
    r.report->osArticoloA = a;
    QCOMPARE(r.report->ComponiSql(), sql);
}

void TestStImplDiBa::kindTexts_data()
{
    QTest::addColumn<int>("distBase");
    QTest::addColumn<QString>("component");
    QTest::addColumn<QString>("parent");
    QTest::newRow("0") << 0 << "1" << "Prodotto Finito";
    QTest::newRow("1") << 1 << "1" << "Prodotto Finito";
    QTest::newRow("2") << 2 << "Semilavorato" << "Semilavorato";
    QTest::newRow("3") << 3 << "Prodotto Base" << "Prodotto Base";
    QTest::newRow("4") << 4 << "1" << "Prodotto Finito";
}

void TestStImplDiBa::kindTexts()
{
    QFETCH(int, distBase);
    QFETCH(QString, component);
    QFETCH(QString, parent);
    QCOMPARE(kem::StImplDiBa::TipoComponente(distBase), component);
    QCOMPARE(kem::StImplDiBa::TipoComposto(distBase), parent);
}

void TestStImplDiBa::oneGroupLineThenOneLinePerParent()
{
    ImplosionRun r(db_, dir_.path());
    r.report->oiTipoDibaArt = 1;
    r.report->osArticoloDa = QStringLiteral("MB1");
    r.report->osArticoloA = QStringLiteral("MB2");
    r.run();
    QVERIFY(r.keep.report);
    QList<kem::GridRow> body;
    for (const kem::GridRow &row : r.keep.report->DocumentGet().rows)
        if (kemtest::IsBodyRow(row))
            body << row;
    QCOMPARE(body.size(), 7);
    // MB1: one group line (columns 1 to 3 in "CorpoLab") and three parent lines (columns 3 to 7).
    const QList<int> group{0, 4};
    const QList<int> details{1, 2, 3, 5, 6};
    for (int i : group) {
        QCOMPARE(body.at(i).cells.size(), 3);
        QCOMPARE(body.at(i).cells.at(0).column, body.at(0).cells.at(0).column);
        QCOMPARE(body.at(i).cells.at(2).column, body.at(1).cells.at(0).column);  // kind after the unit
    }
    for (int i : details) {
        QCOMPARE(body.at(i).cells.size(), 5);
        QVERIFY(body.at(i).cells.at(0).column > body.at(0).cells.at(1).column);
    }
    QCOMPARE(body.at(4).cells.at(0).text, QStringLiteral("MB2 - Materiale base due"));
    // Styles of the two kinds of line.
    int labs = 0, campi = 0;
    for (const kem::Page &page : r.keep.report->DocumentGet().pages)
        for (const kem::TextRun &t : page.texts) {
            if (t.text == QLatin1String("MB1 - Materiale base uno") && t.style == QLatin1String("CorpoLab"))
                ++labs;
            if (t.text == QLatin1String("Semilavorato uno") && t.style == QLatin1String("CorpoCampo"))
                ++campi;
        }
    QCOMPARE(labs, 1);
    QCOMPARE(campi, 1);
}

void TestStImplDiBa::headingsAndAlignments_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("align");
    QTest::newRow("1") << 1 << "Codice e descrizione componente" << "S";
    QTest::newRow("2") << 2 << "Unità di misura" << "S";
    QTest::newRow("3") << 3 << "Composto" << "S";
    QTest::newRow("4") << 4 << "Descrizione composto" << "S";
    QTest::newRow("5") << 5 << "Um" << "C";
    QTest::newRow("6") << 6 << "Quantità" << "D";
    QTest::newRow("7") << 7 << "Tipo" << "S";
}

void TestStImplDiBa::headingsAndAlignments()
{
    QFETCH(int, column);
    QFETCH(QString, heading);
    QFETCH(QString, align);
    ImplosionRun r(db_, dir_.path());
    r.report->osArticoloDa = r.report->osArticoloA = QStringLiteral("MB1");
    r.run();
    QVERIFY(r.keep.report);
    const kem::Document &doc = r.keep.report->DocumentGet();
    const kem::GridRow *headings = nullptr, *group = nullptr, *detail = nullptr;
    for (const kem::GridRow &row : doc.rows) {
        if (!row.rule && !row.cells.isEmpty() && row.cells.first().text == kemtest::kFirstHeading)
            headings = headings ? headings : &row;
        else if (kemtest::IsBodyRow(row) && row.cells.size() == 3 && !group)
            group = &row;
        else if (kemtest::IsBodyRow(row) && row.cells.size() == 5 && !detail)
            detail = &row;
    }
    QVERIFY(headings && group && detail);
    QCOMPARE(headings->cells.size(), 7);
    const kem::GridCell &h = headings->cells.at(column - 1);
    QCOMPARE(h.text, heading);
    QCOMPARE(QString(h.align), align);
    // The column's place: each heading right of the one before.
    if (column > 1)
        QVERIFY(h.left >= headings->cells.at(column - 2).right - 0.01);
    // The body lines in the same column have the column's alignment; the group line is left-aligned.
    if (column <= 3) {
        QCOMPARE(group->cells.at(column - 1).column, h.column);
        QCOMPARE(group->cells.at(column - 1).align, QLatin1Char('S'));
    }
    if (column >= 3) {
        QCOMPARE(detail->cells.at(column - 3).column, h.column);
        QCOMPARE(QString(detail->cells.at(column - 3).align), align);
    }
    // The headings are in "CorpoLab", ruled underneath.
    const int at = int(headings - doc.rows.constData());
    QVERIFY(doc.rows.at(at + 1).rule);
    bool lab = false;
    for (const kem::TextRun &t : doc.pages.first().texts)
        lab = lab || (t.text == heading && t.style == QLatin1String("CorpoLab"));
    QVERIFY(lab);
}

void TestStImplDiBa::pageBreakReprintsHeaderAndHeadings()
{
    // 40 components, each used by three parents: several pages.
    const QString db = dir_.filePath(QStringLiteral("lunga.db"));
    QStringList articles, links;
    for (int p = 1; p <= 3; ++p)
        articles << article(QStringLiteral("PAD%1").arg(p), QStringLiteral("Padre %1").arg(p), "PZ", 1);
    for (int i = 0; i < 40; ++i) {
        const QString code = QStringLiteral("C%1").arg(i, 3, 10, QLatin1Char('0'));
        articles << article(code, "Componente " + code, "PZ", 3);
        for (int p = 1; p <= 3; ++p)
            links << link(QStringLiteral("PAD%1").arg(p), code, p, "PZ");
    }
    QString error;
    QVERIFY2(kemtest::BuildCompanyDb(db, companyRows(articles, links), &error), qPrintable(error));
    ImplosionRun r(db, dir_.path());
    const QStringList body = r.run();
    QCOMPARE(body.size(), 160);
    const kem::Document &doc = r.keep.report->DocumentGet();
    QVERIFY2(doc.pages.size() >= 3, qPrintable(QString::number(doc.pages.size())));
    QCOMPARE(r.report->LastRun().pages, int(doc.pages.size()));
    const QString title = QStringLiteral("Stampa Implosione Distinta Base");
    for (const kem::Page &page : doc.pages) {
        bool hasTitle = false, hasHeadings = false;
        double headingsY = -1, firstBodyY = -1;
        for (const kem::TextRun &t : page.texts) {
            if (t.text.contains(title))
                hasTitle = true;
            if (t.text == kemtest::kFirstHeading) {
                hasHeadings = true;
                headingsY = t.baseline;
            }
            if (firstBodyY < 0 && (t.text.startsWith(QLatin1String("C0")) || t.text.startsWith(QLatin1String("PAD"))))
                firstBodyY = t.baseline;
        }
        QVERIFY2(hasTitle, qPrintable(QStringLiteral("page %1").arg(page.number)));
        QVERIFY2(hasHeadings, qPrintable(QStringLiteral("page %1").arg(page.number)));
        QVERIFY(firstBodyY > headingsY);
        // Nothing below the bottom margin.
        for (const kem::TextRun &t : page.texts)
            QVERIFY2(t.baseline <= doc.pageSize.height() - doc.marginBottom + 0.01,
                     qPrintable(QStringLiteral("%1 on page %2").arg(t.text).arg(page.number)));
    }
    // A group line never ends a page: its first parent is on the same page.
    QList<const kem::GridRow *> rows;
    for (const kem::GridRow &row : doc.rows)
        if (kemtest::IsBodyRow(row))
            rows << &row;
    for (qsizetype i = 0; i < rows.size(); ++i)
        if (rows.at(i)->cells.size() == 3) {
            QVERIFY(i + 1 < rows.size());
            QCOMPARE(rows.at(i + 1)->page, rows.at(i)->page);
        }
}

void TestStImplDiBa::levels_data()
{
    QTest::addColumn<int>("levels");
    QTest::addColumn<QStringList>("expected");
    const QString group = QStringLiteral("MB - Materiale|KG|Prodotto Base");
    QTest::newRow("one level, as always") << 1 << QStringList{
        group, "SL1|Semi uno|KG|2,000|Semilavorato", "SL2|Semi due|KG|0,500|Semilavorato"};
    // The quantities multiply along each path, in the component's unit; both paths into PF
    // are there.
    const QStringList all{group,
                          "* SL1|Semi uno|KG|2,000|Semilavorato",
                          "* * PF|Prodotto|KG|8,000|Prodotto Finito",
                          "* * * KIT|Kit|KG|16,000|Prodotto Finito",
                          "* SL2|Semi due|KG|0,500|Semilavorato",
                          "* * PF|Prodotto|KG|2,500|Prodotto Finito",
                          "* * * KIT|Kit|KG|5,000|Prodotto Finito",
                          "* * PF2|Prodotto due|KG|0,500|Prodotto Finito"};
    QTest::newRow("to the top") << 0 << all;
    QTest::newRow("more levels than there are") << 9 << all;
    QStringList two = all;
    two.removeAll("* * * KIT|Kit|KG|16,000|Prodotto Finito");
    two.removeAll("* * * KIT|Kit|KG|5,000|Prodotto Finito");
    QTest::newRow("two levels") << 2 << two;
}

void TestStImplDiBa::levels()
{
    QFETCH(int, levels);
    QFETCH(QStringList, expected);
    const QString db = dir_.filePath(QStringLiteral("livelli.db"));
    QString error;
    if (!QFile::exists(db))
        QVERIFY2(kemtest::BuildCompanyDb(db, levelsCompany(), &error), qPrintable(error));
    ImplosionRun r(db, dir_.path());
    r.report->oiTipoDibaArt = 1;
    r.report->oiLivelli = levels;
    QCOMPARE(r.run(), expected);
    QCOMPARE(r.report->LastRun().lines, qint64(expected.size()));
    QVERIFY2(r.sink.errors.isEmpty(), qPrintable(r.sink.errors.join('\n')));
    QVERIFY(r.sink.messages.isEmpty());
}

void TestStImplDiBa::cycleIsToldOnceAndTheRunGoesOn()
{
    const QString db = dir_.filePath(QStringLiteral("ciclo.db"));
    QString error;
    QVERIFY2(kemtest::BuildCompanyDb(db, levelsCompany(), &error), qPrintable(error));
    ImplosionRun r(db, dir_.path());
    r.report->oiTipoDibaArt = 0;
    r.report->oiLivelli = 0;
    r.report->osArticoloDa = QStringLiteral("CY1");
    r.report->osArticoloA = QStringLiteral("SL1");
    const QStringList body = r.run();
    // The article met again has its line; the articles using it are not walked again, the
    // walk goes on with the other users and the next components.
    const QStringList expected{"CY1 - Ciclo uno|PZ|Semilavorato",
                               "* CY2|Ciclo due|PZ|3,000|Semilavorato",
                               "* * CY1|Ciclo uno|PZ|6,000|Semilavorato",
                               "* * PF2|Prodotto due|PZ|3,000|Prodotto Finito",
                               "CY2 - Ciclo due|PZ|Semilavorato",
                               "* CY1|Ciclo uno|PZ|2,000|Semilavorato",
                               "* * CY2|Ciclo due|PZ|6,000|Semilavorato",
                               "* PF2|Prodotto due|PZ|1,000|Prodotto Finito",
                               "MB - Materiale|KG|Prodotto Base",
                               "* SL1|Semi uno|KG|2,000|Semilavorato",
                               "* * PF|Prodotto|KG|8,000|Prodotto Finito",
                               "* * * KIT|Kit|KG|16,000|Prodotto Finito",
                               "* SL2|Semi due|KG|0,500|Semilavorato",
                               "* * PF|Prodotto|KG|2,500|Prodotto Finito",
                               "* * * KIT|Kit|KG|5,000|Prodotto Finito",
                               "* * PF2|Prodotto due|KG|0,500|Prodotto Finito",
                               "SL1 - Semi uno|PZ|Semilavorato",
                               "* PF|Prodotto|PZ|4,000|Prodotto Finito",
                               "* * KIT|Kit|PZ|8,000|Prodotto Finito"};
    QCOMPARE(body, expected);
    // One cycle, told once although both of its articles meet it, in the order of the bills.
    QCOMPARE(r.sink.messages, QStringList{"Distinta ciclica: CY1 -> CY2 -> CY1: gli articoli che usano CY1 "
                                          "non vengono seguiti di nuovo"});
    QVERIFY(r.sink.errors.isEmpty());
    QVERIFY(!r.report->LastRun().failed);
}

void TestStImplDiBa::noDataInTheRange()
{
    ImplosionRun r(db_, dir_.path());
    r.report->osArticoloDa = QStringLiteral("NONE1");
    r.report->osArticoloA = QStringLiteral("NONE2");
    QVERIFY(r.run().isEmpty());
    QCOMPARE(r.sink.messages, QStringList{"Non ci sono dati nell'intervallo richiesto"});
    QVERIFY(r.sink.errors.isEmpty());
    QVERIFY(!r.report->LastRun().printed);
    QVERIFY(!r.report->LastRun().failed);
    QVERIFY(!r.report->obStaAtt);
    QCOMPARE(r.report->oiStaAtt(), qint16(0));
}

void TestStImplDiBa::failingStatementEndsTheRunProperly()
{
    // Reading the links fails inside the engine (an integer overflow), as a damaged database
    // would; before, the database is healthy.
    const QString db = dir_.filePath(QStringLiteral("guasta.db"));
    QStringList rows = smallCompany();
    rows << "ALTER TABLE ArtLegami RENAME TO ArtLegamiT"
         << "CREATE VIEW ArtLegami AS SELECT ArticoloPadre, ArticoloFiglio, UM,"
            " CASE WHEN ArticoloFiglio = 'MB2' THEN abs(-9223372036854775807 - 1) ELSE Qta END AS Qta"
            " FROM ArtLegamiT";
    QString error;
    QVERIFY2(kemtest::BuildCompanyDb(db, rows, &error), qPrintable(error));
    ImplosionRun r(db, dir_.path());
    r.report->oiTipoDibaArt = 1;
    r.run();
    const auto &last = r.report->LastRun();
    QVERIFY(last.failed);
    const QString prefix = QStringLiteral("(Stampa Implosione Distinta Base) Errore durante la stampa : Errore(");
    QVERIFY2(last.error.startsWith(prefix), qPrintable(last.error));
    QCOMPARE(r.sink.errors, QStringList{last.error});
    QVERIFY(!r.sink.messages.contains("Non ci sono dati nell'intervallo richiesto"));
    QVERIFY(!r.report->obStaAtt);
    QCOMPARE(r.report->oiStaAtt(), qint16(0));
    // The database is usable again (no result set left open): a healthy range prints.
    r.report->osArticoloDa = r.report->osArticoloA = QStringLiteral("MB1");
    QCOMPARE(r.run(), kMB1);
    QVERIFY(!r.report->LastRun().failed);
}

QTEST_MAIN(TestStImplDiBa)
#include "tst_stimpldiba.moc"
