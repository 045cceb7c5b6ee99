// Decode catalogue and decode queries on the demo company.
#include "tests/support/testcompany.h"

#include <QtTest>
#include "platform/help/decodeservice.h"

using namespace kem;

class TestDecodeService : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void decodeExisting_data();
    void decodeExisting();
    void decodeMissing_data();
    void decodeMissing();
    void callerWhereRestricts();
    void unknownKindThrows();
    void accountFormat_data();
    void accountFormat();
    void columnList_data();
    void columnList();
    void rowsOrderedWithExtraColumns();
    void rowsStartingWith_data();
    void rowsStartingWith();

private:
    std::unique_ptr<kemtest::DemoCompany> demo_;
};

void TestDecodeService::initTestCase()
{
    demo_ = std::make_unique<kemtest::DemoCompany>();
    QString error;
    QVERIFY2(demo_->open(&error), qPrintable(error));
}

void TestDecodeService::decodeExisting_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("description");
    QTest::newRow("article") << "Articolo" << "TAV-ROV180" << "TAV-ROV180" << "Tavolo allungabile rovere 180x90";
    QTest::newRow("article in lower case") << "articolo" << "tav-rov180" << "TAV-ROV180" << "Tavolo allungabile rovere 180x90";
    QTest::newRow("article with apostrophe") << "ArticoloCod" << "TAV-O'NEIL" << "TAV-O'NEIL" << "Tavolo O'Neil noce canaletto 160x80";
    QTest::newRow("price list") << "Listino" << "02" << "02" << "Listino rivenditori";
    QTest::newRow("warehouse") << "Magazzino" << "03" << "03" << "Showroom di Milano";
    QTest::newRow("account") << "Conto" << "04.001.000003" << "04.001.000003" << "Hotel Bellavista S.p.A.";
    QTest::newRow("group alias") << "ArtGruppo" << "FER" << "FER" << "Ferramenta";
    QTest::newRow("subgroup") << "SottoGruppo" << "VIT" << "VIT" << "Viteria";
    QTest::newRow("agent") << "Agente" << "AG02" << "AG02" << "Giulia Ferrari";
    QTest::newRow("document type") << "FattDocumento" << "PR" << "PR" << "Preventivo";
    QTest::newRow("zone") << "Zona" << "EST" << "EST" << "Estero";
    QTest::newRow("category") << "Categoria" << "RIV" << "RIV" << "Rivenditori";
    QTest::newRow("article class level 2") << "ArtClasseAttr2" << "MET" << "MET" << "Metallo";
    QTest::newRow("account class level 1") << "PdcClasseAttr1" << "A" << "A" << "Fascia A (oltre 100.000 euro)";
}

void TestDecodeService::decodeExisting()
{
    QFETCH(QString, kind);
    QFETCH(QString, code);
    QFETCH(QString, stored);
    QFETCH(QString, description);
    DecodeService s(demo_->db());
    const DecodedCode d = s.Decode(kind, code);
    QVERIFY(d.found);
    QCOMPARE(d.code, stored);
    QCOMPARE(d.description, description);
}

void TestDecodeService::decodeMissing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("code");
    QTest::newRow("unknown article") << "Articolo" << "NON-ESISTE";
    QTest::newRow("quote breaking out") << "Articolo" << "X' Or '1'='1";
    QTest::newRow("class of another level") << "ArtClasseAttr1" << "MET";
    QTest::newRow("account with two parts") << "Conto" << "04.001";
    QTest::newRow("account not padded") << "Conto" << "4.1.3";
}

void TestDecodeService::decodeMissing()
{
    QFETCH(QString, kind);
    QFETCH(QString, code);
    DecodeService s(demo_->db());
    const DecodedCode d = s.Decode(kind, code);
    QVERIFY(!d.found);
    QVERIFY(d.description.isEmpty());
}

void TestDecodeService::callerWhereRestricts()
{
    DecodeService s(demo_->db());
    QVERIFY(s.Decode("Articolo", "SL-GAMBA-ROV", " DistBase = 2").found);
    QVERIFY(!s.Decode("Articolo", "SL-GAMBA-ROV", " DistBase = 1").found);
    // An Or in the caller's clause cannot widen the code condition.
    QVERIFY(!s.Decode("Articolo", "NON-ESISTE", "DistBase = 1 Or DistBase = 2").found);
}

void TestDecodeService::unknownKindThrows()
{
    DecodeService s(demo_->db());
    QVERIFY_THROWS_EXCEPTION(DecodeError, s.Decode("Sconosciuto", "X"));
    QVERIFY(FindDecodeKind("artum"));
    QCOMPARE(FindDecodeKind("artum")->table, QStringLiteral("TabUM"));
}

void TestDecodeService::accountFormat_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("short parts") << "4.1.3" << "04.001.000003";
    QTest::newRow("blanks and dashes") << " 4 - 1 / 3 " << "04.001.000003";
    QTest::newRow("eleven digits") << "04001000003" << "04.001.000003";
    QTest::newRow("already stored") << "04.001.000003" << "04.001.000003";
    QTest::newRow("part too long") << "4.1234.3" << "4.1234.3";
    QTest::newRow("letters stay") << "AB.1.3" << "AB.1.3";
    QTest::newRow("two parts stay") << "4.1" << "4.1";
}

void TestDecodeService::accountFormat()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QCOMPARE(FormatAccountCode(typed), stored);
}

void TestDecodeService::columnList_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<bool>("valid");
    QTest::newRow("two names") << "ArtUM, DistBase" << QStringList{"ArtUM", "DistBase"} << true;
    QTest::newRow("blank items") << ",,ArtUM," << QStringList{"ArtUM"} << true;
    QTest::newRow("qualified") << "Articoli.ArtUM" << QStringList{"Articoli.ArtUM"} << true;
    QTest::newRow("statement") << "ArtUM; Drop Table Articoli" << QStringList{} << false;
    QTest::newRow("expression") << "1 Or 1=1" << QStringList{} << false;
}

void TestDecodeService::columnList()
{
    QFETCH(QString, list);
    QFETCH(QStringList, columns);
    QFETCH(bool, valid);
    if (!valid) {
        QVERIFY_THROWS_EXCEPTION(DecodeError, ParseColumnList(list));
        return;
    }
    QCOMPARE(ParseColumnList(list), columns);
}

void TestDecodeService::rowsOrderedWithExtraColumns()
{
    DecodeService s(demo_->db());
    const QList<LookupRow> rows = s.Rows("Articolo", "DistBase = 2", {"ArtUM"});
    QVERIFY(rows.size() >= 2);
    for (int i = 1; i < rows.size(); ++i)
        QVERIFY2(rows.at(i - 1).code.compare(rows.at(i).code, Qt::CaseInsensitive) < 0, qPrintable(rows.at(i).code));
    for (const LookupRow &r : rows) {
        QVERIFY(r.code.startsWith("SL-"));
        QCOMPARE(r.extra.size(), 1);
        QCOMPARE(r.extra.first(), QStringLiteral("PZ"));
    }
    const QList<LookupRow> all = s.Rows("Articolo");
    const auto tav = std::find_if(all.begin(), all.end(), [](const LookupRow &r) { return r.code == "TAV-ROV180"; });
    QVERIFY(tav != all.end());
    QCOMPARE(tav->image, QStringLiteral("tav-rov180.png"));
    const QList<LookupRow> accounts = s.Rows("Conto", "Gruppo = '04' And Mastro = '001'");
    QVERIFY(!accounts.isEmpty());
    QCOMPARE(accounts.first().code, QStringLiteral("04.001.000001"));
}

void TestDecodeService::rowsStartingWith_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("code prefix any case") << "Articolo" << "pan-n" << 0 << QStringList{"PAN-NOB-18", "PAN-NOC-30"};
    QTest::newRow("description prefix") << "Articolo" << "listello" << 0 << QStringList{"LEG-FAG-40", "LEG-ROV-45"};
    QTest::newRow("apostrophe") << "Articolo" << "TAV-O'" << 0 << QStringList{"TAV-O'NEIL"};
    QTest::newRow("limited") << "Articolo" << "s" << 3 << QStringList{"SED-FAG01", "SL-ANTA-50", "SL-FIANCO-LIB"};
    QTest::newRow("account prefix") << "Conto" << "70." << 0 << QStringList{"70.001.000001"};
    QTest::newRow("nothing") << "Listino" << "zz" << 0 << QStringList{};
}

void TestDecodeService::rowsStartingWith()
{
    QFETCH(QString, kind);
    QFETCH(QString, typed);
    QFETCH(int, limit);
    QFETCH(QStringList, codes);
    DecodeService s(demo_->db());
    QStringList got;
    for (const LookupRow &r : s.Rows(kind, {}, {}, typed, limit))
        got.append(r.code);
    QCOMPARE(got, codes);
}

QTEST_GUILESS_MAIN(TestDecodeService)
#include "tst_decodeservice.moc"
