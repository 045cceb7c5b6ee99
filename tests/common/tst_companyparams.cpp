// Loading of the company parameters: menu variables, personal parameters, Monete, the ini.
#include "common/aziendautil.h"
#include "platform/db/kemdb.h"
#include "platform/menu/fakemenuserver.h"
#include "platform/util/kemutil.h"
#include "schema/companyschema.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

using namespace kem;

namespace {

bool BuildDb(const QString &path, const QStringList &statements, QString *error)
{
    const QString name = QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open() && CreateCompanySchema(db, error);
        QSqlQuery q(db);
        for (const QString &s : statements) {
            if (ok && !q.exec(s)) {
                *error = s + ": " + q.lastError().text();
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace

class TestCompanyParams : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void defaults();
    void currencyDecimalsFromMonete();
    void currentSet_data();
    void currentSet();
    void nonZeroFlagSkipsMonete();
    void missingMoneteTableFails();
    void currencyLookupQuotesTheCode();
    void currencyLookupNullColumns();
    void quantityFormats_data();
    void quantityFormats();
    void maximised_data();
    void maximised();
    void personalSwitches();
    void colours_data();
    void colours();
    void badValueLeavesParamsUntouched_data();
    void badValueLeavesParamsUntouched();
    void workingDate_data();
    void workingDate();
    void dateFormatFromIni();
    void personalParamFallbacks();

private:
    void openDb(const QStringList &rows);
    CompanyParams load(qint16 flag = 0, const QString &programKey = QStringLiteral("PRELVO"));

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<FakeMenuServer> menu_;
    IniContext ini_;
};

void TestCompanyParams::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    menu_ = std::make_unique<FakeMenuServer>();
    ini_ = {dir_->filePath(QStringLiteral("kemwin.ini")), QStringLiteral("azienda.ini")};
    openDb({});
}

void TestCompanyParams::cleanup()
{
    db_.reset();
    menu_.reset();
    dir_.reset();
}

void TestCompanyParams::openDb(const QStringList &rows)
{
    db_.reset();
    const QString path = dir_->filePath(QUuid::createUuid().toString(QUuid::WithoutBraces) + ".db");
    QString error;
    QVERIFY2(BuildDb(path, rows, &error), qPrintable(error));
    db_ = std::make_unique<Database>();
    db_->DbOpen(path);
}

CompanyParams TestCompanyParams::load(qint16 flag, const QString &programKey)
{
    CompanyParams p;
    CaricaParametriAzienda(*menu_, *db_, flag, ini_, programKey, p);
    return p;
}

void TestCompanyParams::defaults()
{
    const CompanyParams p = load();
    QCOMPARE(p.descAzie, QString());
    QCOMPARE(p.numDecQta, qint16(0));
    QCOMPARE(p.moneta, QStringLiteral("Euro"));
    QCOMPARE(p.codLira, QStringLiteral("L."));
    QCOMPARE(p.codEuro, QStringLiteral("Euro"));
    QCOMPARE(p.operCambio, QStringLiteral("/"));
    QCOMPARE(p.cambioLiraEuro, QStringLiteral("1936,27"));
    // Neither code is in Monete: 2 and 2 for both sets.
    QCOMPARE(p.lira.numDec, qint16(2));
    QCOMPARE(p.lira.numDecGest, qint16(2));
    QCOMPARE(p.euro.numDec, qint16(2));
    QCOMPARE(p.euro.numDecGest, qint16(2));
    QCOMPARE(p.current.formats.full, QStringLiteral("#,##0.00"));
    QCOMPARE(p.colErr, 255u);
    QCOMPARE(p.colBackNormal, 0x80000005u);
    QCOMPARE(p.colHighlight, 0xFF0000u);
    QCOMPARE(p.colTextNormal, 0x80000008u);
    QCOMPARE(p.colTextDisabled, 0x80000011u);
    QCOMPARE(p.colBackGotFocus, 0xFFFF80u);
    QCOMPARE(p.colBackLostFocus, 0x80000005u);
    QCOMPARE(p.colBackForm, 0);
    QCOMPARE(p.monthNames, (QStringList{"Gennaio", "Febbraio", "Marzo", "Aprile", "Maggio", "Giugno",
                                        "Luglio", "Agosto", "Settembre", "Ottobre", "Novembre",
                                        "Dicembre"}));
    QCOMPARE(p.massimizzato, QStringLiteral(","));
    QCOMPARE(p.windowState, QString());
    QCOMPARE(p.arrotIvaEuro, QStringLiteral("A"));
    QCOMPARE(p.tastierinoVirgola, QString());
    QCOMPARE(p.decodHelpAbil, QStringLiteral("N"));
    QCOMPARE(p.decodHelpPersKey, false);
    QCOMPARE(p.dateFormat, QStringLiteral("dd/mm/yyyy"));
    QCOMPARE(p.workingDate, QDate::currentDate());
    QVERIFY(p.companyDao != nullptr);
    QVERIFY(p.companyDao->TableExists(QStringLiteral("Monete")));
}

void TestCompanyParams::currencyDecimalsFromMonete()
{
    openDb({"INSERT INTO Monete (Moneta, NumDec, NumDecGest, Operatore, Cee) VALUES ('Lit', 0, 1, '*', 'N')",
            "INSERT INTO Monete (Moneta, NumDec, NumDecGest, Operatore, Cee) VALUES ('EUR', 3, 5, '/', 'S')"});
    menu_->setVar("DescAzie", "Mobili Rossi S.r.l.");
    menu_->setVar("Ditta.CodLira", "Lit");
    menu_->setVar("Ditta.CodEuro", "EUR");
    menu_->setVar("Ditta.Moneta", "EUR");
    menu_->setVar("Ditta.OperCambio", "*");
    menu_->setVar("Ditta.CambioLiraEuro", "1936,2700");
    const CompanyParams p = load();
    QCOMPARE(p.descAzie, QStringLiteral("Mobili Rossi S.r.l."));
    QCOMPARE(p.operCambio, QStringLiteral("*"));
    QCOMPARE(p.cambioLiraEuro, QStringLiteral("1936,2700"));
    QCOMPARE(p.lira.numDec, qint16(0));
    QCOMPARE(p.lira.numDecGest, qint16(1));
    QCOMPARE(p.euro.numDec, qint16(3));
    QCOMPARE(p.euro.numDecGest, qint16(5));
    // The three formats of each decimals value.
    QCOMPARE(p.euro.formats.blankZero, QStringLiteral("#,###.000"));
    QCOMPARE(p.euro.formats.compact, QStringLiteral("#,###.###"));
    QCOMPARE(p.euro.formats.full, QStringLiteral("#,##0.000"));
    QCOMPARE(p.euro.formatsGest.full, QStringLiteral("#,##0.00000"));
    QCOMPARE(p.lira.formats.full, QStringLiteral("#,##0"));
    // What they show: zero blank, compact without trailing zeros, full with the integer digit.
    QCOMPARE(FormatNum(0, p.euro.formats.blankZero), QString());
    QCOMPARE(FormatNum(1234.5, p.euro.formats.compact), QStringLiteral("1.234,5"));
    QCOMPARE(FormatNum(0.5, p.euro.formats.full), QStringLiteral("0,500"));
    QCOMPARE(p.current.numDec, qint16(3));
    QCOMPARE(p.current.formats.full, p.euro.formats.full);
}

void TestCompanyParams::currentSet_data()
{
    QTest::addColumn<QString>("moneta");
    QTest::addColumn<bool>("lira");
    QTest::newRow("lira code, other case") << "l." << true;
    QTest::newRow("lira code, same case") << "L." << true;
    QTest::newRow("euro code") << "Euro" << false;
    QTest::newRow("blank is Euro") << "" << false;
    QTest::newRow("any other code") << "USD" << false;
}

void TestCompanyParams::currentSet()
{
    QFETCH(QString, moneta);
    QFETCH(bool, lira);
    openDb({"INSERT INTO Monete (Moneta, NumDec, NumDecGest) VALUES ('L.', 0, 0)",
            "INSERT INTO Monete (Moneta, NumDec, NumDecGest) VALUES ('Euro', 2, 4)"});
    menu_->setVar("Ditta.Moneta", moneta);
    const CompanyParams p = load();
    QCOMPARE(p.current.numDec, lira ? qint16(0) : qint16(2));
    QCOMPARE(p.current.numDecGest, lira ? qint16(0) : qint16(4));
    QCOMPARE(p.current.formatsGest.full, lira ? QStringLiteral("#,##0") : QStringLiteral("#,##0.0000"));
}

void TestCompanyParams::nonZeroFlagSkipsMonete()
{
    openDb({"INSERT INTO Monete (Moneta, NumDec, NumDecGest) VALUES ('L.', 3, 3)",
            "INSERT INTO Monete (Moneta, NumDec, NumDecGest) VALUES ('Euro', 4, 4)"});
    const CompanyParams p = load(1);
    QCOMPARE(p.lira.numDec, qint16(0));
    QCOMPARE(p.lira.numDecGest, qint16(0));
    QCOMPARE(p.euro.numDec, qint16(2));
    QCOMPARE(p.euro.numDecGest, qint16(2));
    // Not even read: without the table the load still succeeds.
    db_->DbExecute(QStringLiteral("DROP TABLE Monete"));
    QCOMPARE(load(-1).euro.numDec, qint16(2));
}

void TestCompanyParams::missingMoneteTableFails()
{
    db_->DbExecute(QStringLiteral("DROP TABLE Monete"));
    CompanyParams p;
    p.descAzie = QStringLiteral("before");
    menu_->setVar("DescAzie", "after");
    QVERIFY_THROWS_EXCEPTION(DbError, CaricaParametriAzienda(*menu_, *db_, 0, ini_, "PRELVO", p));
    QCOMPARE(p.descAzie, QStringLiteral("before"));
}

void TestCompanyParams::currencyLookupQuotesTheCode()
{
    openDb({"INSERT INTO Monete (Moneta, NumDec, NumDecGest, Operatore, Cee) VALUES ('L''it', 1, 3, '*', 'S')",
            "INSERT INTO Monete (Moneta, NumDec, NumDecGest) VALUES ('X', 4, 4)"});
    const CurrencyInfo found = CurrencyLookup(*db_, QStringLiteral("l'IT"));
    QCOMPARE(found.numDec, qint16(1));
    QCOMPARE(found.numDecGest, qint16(3));
    QCOMPARE(found.operatore, QStringLiteral("*"));
    QCOMPARE(found.cee, QStringLiteral("S"));
    // A code that tries to widen the condition finds nothing.
    const CurrencyInfo injected = CurrencyLookup(*db_, QStringLiteral("Z' or moneta = 'X"));
    QCOMPARE(injected.numDec, qint16(2));
    QCOMPARE(injected.operatore, QStringLiteral("/"));
    QCOMPARE(injected.cee, QStringLiteral("N"));
}

void TestCompanyParams::currencyLookupNullColumns()
{
    openDb({"INSERT INTO Monete (Moneta, NumDec, NumDecGest, Operatore, Cee) VALUES ('EUR', NULL, 3, NULL, NULL)"});
    const CurrencyInfo info = CurrencyLookup(*db_, QStringLiteral("EUR"));
    QCOMPARE(info.numDec, qint16(2));
    QCOMPARE(info.numDecGest, qint16(3));
    QCOMPARE(info.operatore, QStringLiteral("/"));
}

void TestCompanyParams::quantityFormats_data()
{
    QTest::addColumn<QString>("decimals");
    QTest::addColumn<qint16>("numDecQta");
    QTest::addColumn<QString>("blank");
    QTest::addColumn<QString>("plain");
    QTest::newRow("three") << "3" << qint16(3) << "#,###.###" << "#,###.000";
    QTest::newRow("none") << "0" << qint16(0) << "#,###" << "#,###";
    QTest::newRow("missing") << QString() << qint16(0) << "#,###" << "#,###";
}

void TestCompanyParams::quantityFormats()
{
    QFETCH(QString, decimals);
    QFETCH(qint16, numDecQta);
    QFETCH(QString, blank);
    QFETCH(QString, plain);
    if (!decimals.isNull())
        menu_->setVar("Mag.NumDecQta", decimals);
    const CompanyParams p = load();
    QCOMPARE(p.numDecQta, numDecQta);
    QCOMPARE(p.fmtQtaBlank, blank);
    QCOMPARE(p.fmtQta, plain);
}

void TestCompanyParams::maximised_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("programKey");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("state");
    QTest::newRow("own key, no trailing comma") << "PRELVO" << "PRELVO" << "PRELVO," << "2";
    QTest::newRow("own key among others") << "ALTRO,PRELVO,CONTAB," << "PRELVO" << "ALTRO,PRELVO,CONTAB," << "2";
    QTest::newRow("tutti,") << "tutti," << "PRELVO" << "tutti," << "2";
    QTest::newRow("Tutti without comma") << "Tutti" << "PRELVO" << "Tutti," << "2";
    QTest::newRow("other programs") << "ALTRO,CONTAB" << "PRELVO" << "ALTRO,CONTAB," << "";
    QTest::newRow("key only as part of another") << "XPRELVO,PRELVO2," << "PRELVO" << "XPRELVO,PRELVO2," << "";
    QTest::newRow("empty") << "" << "PRELVO" << "," << "";
    QTest::newRow("blank program key") << "ALTRO," << "" << "ALTRO," << "";
}

void TestCompanyParams::maximised()
{
    QFETCH(QString, value);
    QFETCH(QString, programKey);
    QFETCH(QString, list);
    QFETCH(QString, state);
    menu_->setPersonal("Tutti", "Massimizzato", value);
    const CompanyParams p = load(0, programKey);
    QCOMPARE(p.massimizzato, list);
    QCOMPARE(p.windowState, state);
}

void TestCompanyParams::personalSwitches()
{
    menu_->setPersonal("Tutti", "ArrotIvaEuro", "T");
    menu_->setPersonal("Tutti", "TastierinoVirgola", "S");
    menu_->setPersonal("Tutti", "DecodHelpAbil", "S");
    menu_->setPersonal("Tutti", "DecodHelpPersKey", "S");
    menu_->setPersonal("Tutti", "ColBackForm", "12632256");
    CompanyParams p = load();
    QCOMPARE(p.arrotIvaEuro, QStringLiteral("T"));
    QCOMPARE(p.tastierinoVirgola, QStringLiteral("S"));
    QCOMPARE(p.decodHelpAbil, QStringLiteral("S"));
    QCOMPARE(p.decodHelpPersKey, true);
    QCOMPARE(p.colBackForm, 12632256);
    menu_->setPersonal("Tutti", "DecodHelpPersKey", "N");
    QCOMPARE(load().decodHelpPersKey, false);
    // Read under the personal names, not as plain company variables.
    QVERIFY(!menu_->callsTo("MenuVar").isEmpty());
    bool askedPersonal = false;
    for (const auto &c : menu_->callsTo("MenuVar"))
        askedPersonal |= c.args.value(0).toString() == QStringLiteral("Personal.Tutti.§ArrotIvaEuro");
    QVERIFY(askedPersonal);
}

void TestCompanyParams::colours_data()
{
    QTest::addColumn<QString>("gotFocus");
    QTest::addColumn<QString>("lostFocus");
    QTest::addColumn<quint32>("gotValue");
    QTest::addColumn<quint32>("lostValue");
    QTest::newRow("blank") << "" << "" << 0xFFFF80u << 0x80000005u;
    QTest::newRow("decimal") << "65535" << "16777215" << 0xFFFFu << 0xFFFFFFu;
    QTest::newRow("hexadecimal") << "&HC0FFFF&" << "&H8000000F" << 0xC0FFFFu << 0x8000000Fu;
    QTest::newRow("system colour as a negative Long") << "-2147483643" << "0" << 0x80000005u << 0u;
}

void TestCompanyParams::colours()
{
    QFETCH(QString, gotFocus);
    QFETCH(QString, lostFocus);
    QFETCH(quint32, gotValue);
    QFETCH(quint32, lostValue);
    menu_->setVar("ColBackGotFocus", gotFocus);
    menu_->setVar("ColBacklostFocus", lostFocus);
    const CompanyParams p = load();
    QCOMPARE(p.colBackGotFocus, gotValue);
    QCOMPARE(p.colBackLostFocus, lostValue);
}

void TestCompanyParams::badValueLeavesParamsUntouched_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("decimals not a number") << "Mag.NumDecQta" << "tre";
    QTest::newRow("negative decimals") << "Mag.NumDecQta" << "-1";
    QTest::newRow("fractional decimals") << "Mag.NumDecQta" << "2,5";
    QTest::newRow("colour not a number") << "ColBackGotFocus" << "rosso";
}

void TestCompanyParams::badValueLeavesParamsUntouched()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    menu_->setVar(name, value);
    menu_->setVar("DescAzie", "new");
    CompanyParams p;
    p.descAzie = QStringLiteral("old");
    try {
        CaricaParametriAzienda(*menu_, *db_, 0, ini_, "PRELVO", p);
        QFAIL("no error for a bad value");
    } catch (const ParamError &e) {
        QCOMPARE(e.number(), 13);
        QVERIFY2(e.description().contains(name) && e.description().contains(value),
                 qPrintable(e.description()));
    }
    QCOMPARE(p.descAzie, QStringLiteral("old"));
}

void TestCompanyParams::workingDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("dd/mm/yyyy") << "15/03/2026" << QDate(2026, 3, 15);
    QTest::newRow("d/m/yyyy") << "5/3/2026" << QDate(2026, 3, 5);
    QTest::newRow("blank") << "" << QDate::currentDate();
    QTest::newRow("impossible date") << "31/02/2026" << QDate::currentDate();
    QTest::newRow("not a date") << "oggi" << QDate::currentDate();
}

void TestCompanyParams::workingDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    menu_->setVar("DataLavoro", text);
    QCOMPARE(load().workingDate, expected);
}

void TestCompanyParams::dateFormatFromIni()
{
    QVERIFY(IniWrite(ini_.mainIni, "Configurazioni", "FormatData", "yyyy-mm-dd"));
    QCOMPARE(load().dateFormat, QStringLiteral("yyyy-mm-dd"));
    // The company ini wins over the main ini.
    QVERIFY(IniWrite(dir_->filePath("azienda.ini"), "Configurazioni", "FormatData", "dd-mm-yy"));
    QCOMPARE(load().dateFormat, QStringLiteral("dd-mm-yy"));
}

void TestCompanyParams::personalParamFallbacks()
{
    FakeMenuServer &m = *menu_;
    QCOMPARE(PersonalParam(m, "Tutti", "DataMinima", QStringLiteral("01/01/1900")),
             QStringLiteral("01/01/1900"));
    QCOMPARE(PersonalParam(m, "Tutti", "DataMinima"), MenuMissingMarker);
    m.setPersonal("PRELVO", "Sezione", "from program keys");
    QCOMPARE(PersonalParam(m, "Tutti", "DataMinima", QStringLiteral("def"), "PRELVO", "Sezione"),
             QStringLiteral("from program keys"));
    // Only one program key: no second lookup.
    QCOMPARE(PersonalParam(m, "Tutti", "DataMinima", QStringLiteral("def"), "PRELVO", ""),
             QStringLiteral("def"));
    m.setPersonal("Tutti", "DataMinima", "01/01/2000");
    QCOMPARE(PersonalParam(m, "Tutti", "DataMinima", QStringLiteral("def"), "PRELVO", "Sezione"),
             QStringLiteral("01/01/2000"));
    // An empty value is a value, not a missing parameter.
    m.setPersonal("Tutti", "Vuoto", "");
    QCOMPARE(PersonalParam(m, "Tutti", "Vuoto", QStringLiteral("def")), QString());
}

QTEST_GUILESS_MAIN(TestCompanyParams)
#include "tst_companyparams.moc"
