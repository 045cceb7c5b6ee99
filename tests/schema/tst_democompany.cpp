// The demo company: shape of the database, promised content, determinism, companion files.
#include "schema/companyfiles.h"
#include "tests/schema/companytestdb.h"
#include "schema/democompany.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TstDemoCompany : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void tableHasColumns_data();
    void tableHasColumns();
    void everyTableHasPrimaryKey();
    void promisedContent_data();
    void promisedContent();
    void scratchTableEmpty();
    void menuDatabase();
    void imagesExistAndLoad();
    void iniFilesPointAtTheCompany();
    void sameDataEveryRun();
    void rewritesAnEarlierCompany();
    void unwritableDirectoryFails();

private:
    QTemporaryDir tmp_;
    QString dir_;
    std::unique_ptr<CompanyTestDb> db_;
};

void TstDemoCompany::initTestCase()
{
    QVERIFY(tmp_.isValid());
    dir_ = tmp_.filePath(QStringLiteral("demo"));
    QString err;
    QVERIFY2(kem::WriteDemoCompany(dir_, &err), qPrintable(err));
    db_ = std::make_unique<CompanyTestDb>(kem::CompanyPaths(dir_).companyDb);
    QVERIFY(db_->isOpen());
}

void TstDemoCompany::tableHasColumns_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<bool>("filled");

    QTest::newRow("Articoli") << "Articoli"
        << QStringList{"Articolo", "Descrizione", "ArtUM", "ArtUMVen", "ArtUMAcq", "FatConVen",
                       "FatConAcq", "Sconto", "Lunghezza", "Larghezza", "Altezza", "Immagine",
                       "DistBase", "ArtGruppo", "ArtSottoGru", "IvaVendite", "Inattivo",
                       "ArtClasseAttr1", "ArtClasseAttr2", "ArtClasseAttr3", "ArtClasseAttr4",
                       "ArtClasseAttr5"} << true;
    QTest::newRow("ArtLegami") << "ArtLegami"
        << QStringList{"ArticoloPadre", "ArticoloFiglio", "UM", "Qta", "QualeImporto", "Listino"}
        << true;
    QTest::newRow("Listini") << "Listini"
        << QStringList{"Listino", "Ivato", "ScoSomSost", "Sconto"} << true;
    QTest::newRow("ArtListini") << "ArtListini"
        << QStringList{"Articolo", "Listino", "Livello1", "Livello2", "DataInizio", "Prezzo",
                       "PrezzoLire", "ScoSomSost", "Sconto"} << true;
    QTest::newRow("ArtLisPromozioni") << "ArtLisPromozioni"
        << QStringList{"Articolo", "Listino", "Livello1", "Livello2", "DataInizioProm",
                       "DataFineProm", "Prezzo", "PrezzoLire", "Descrizione", "MessProm"} << true;
    QTest::newRow("ArticoliCosti") << "ArticoliCosti"
        << QStringList{"Anno", "Articolo", "Livello1", "Livello2", "MedioPonderale",
                       "MedioPonderaleLire", "CostoUltimo", "CostoUltimoLire", "Standard",
                       "StandardLire"} << true;
    QTest::newRow("TabIva") << "TabIva" << QStringList{"Iva", "Aliquota"} << true;
    QTest::newRow("ArticoliProg") << "ArticoliProg"
        << QStringList{"Anno", "Articolo", "Magazzino", "Livello1", "Livello2", "QtaIniziale",
                       "QtaCarico", "QtaSCarico", "QtaOrdFor", "QtaImpCli"} << true;
    const QStringList head{"Anno", "NumRif", "DataRif", "NumDoc", "DataDoc", "FattDocumento",
                           "Tipo", "GruppoCli", "MastroCli", "ContoCli", "Agente1", "Agente2",
                           "MagazzProv", "MagazzDest", "Stato", "DataCons"};
    const QStringList lines{"Anno", "NumRif", "RigDet", "Articolo", "Qta", "QtaEvasa",
                            "DataCons", "StatoRiga", "TipoRiga", "Um"};
    QTest::newRow("OrdVenTest") << "OrdVenTest" << head << true;
    QTest::newRow("OrdVenDett") << "OrdVenDett" << lines << true;
    QTest::newRow("PreVenTest") << "PreVenTest" << head << true;
    QTest::newRow("PreVenDett") << "PreVenDett" << lines << true;
    QTest::newRow("PianoConti") << "PianoConti"
        << QStringList{"Gruppo", "Mastro", "Conto", "Descrizione", "Zona", "Categoria",
                       "PdcClasseAttr1", "PdcClasseAttr2", "PdcClasseAttr3", "PdcClasseAttr4",
                       "PdcClasseAttr5", "Email", "Email2", "Email3", "Email4"} << true;
    QTest::newRow("Magazzini") << "Magazzini" << QStringList{"Magazzino", "Descrizione"} << true;
    QTest::newRow("AppoggioTemp") << "AppoggioTemp"
        << QStringList{"Utente", "IdProgramma", "IdCampo", "AppoInte0", "AppoInte1",
                       "AppoStringa0", "AppoStringa1", "AppoStringa2", "ValoreStringa",
                       "ValoreNumero", "AppoDouble0", "AppoDouble1"} << false;
    QTest::newRow("Appoggio") << "Appoggio" << QStringList{"Codice", "Descr", "Memo"} << true;
    QTest::newRow("Monete") << "Monete"
        << QStringList{"Moneta", "NumDec", "NumDecGest", "Operatore", "Cee"} << true;
    QTest::newRow("MenuDett") << "MenuDett"
        << QStringList{"Chiave", "ChiaveSec", "Caption", "DescPrg"} << true;
    QTest::newRow("StaLasFontPers") << "StaLasFontPers"
        << QStringList{"Progressivo", "Nome", "Size", "Bold", "Italic", "Strike", "Underline"}
        << true;
    // Decode tables.
    for (const char *t : {"TabUM", "TabTipiDoc", "Agenti", "TabGruppi", "TabSottoGruppi",
                          "TabCategorie", "TabZone", "TabClassiArt", "TabClassiPdc"})
        QTest::newRow(t) << QString::fromLatin1(t) << QStringList{"Descrizione"} << true;
}

void TstDemoCompany::tableHasColumns()
{
    QFETCH(QString, table);
    QFETCH(QStringList, columns);
    QFETCH(bool, filled);
    const QStringList actual = db_->columns(table);
    QVERIFY2(!actual.isEmpty(), qPrintable(table + " missing"));
    for (const QString &c : columns)
        QVERIFY2(actual.contains(c), qPrintable(table + "." + c + " missing"));
    if (filled)
        QVERIFY2(db_->scalar("SELECT COUNT(*) FROM " + table).toInt() > 0,
                 qPrintable(table + " has no rows"));
}

void TstDemoCompany::everyTableHasPrimaryKey()
{
    const QStringList tables = db_->db().tables();
    QVERIFY(tables.size() >= 28);
    for (const QString &t : tables)
        QVERIFY2(!db_->primaryKey(t).isEmpty(), qPrintable(t + " has no primary key"));
    QCOMPARE(db_->primaryKey("ArtLegami"), (QStringList{"ArticoloPadre", "ArticoloFiglio"}));
}

void TstDemoCompany::promisedContent_data()
{
    QTest::addColumn<QString>("sql"); // counts the rows that keep the promise

    QTest::newRow("three BOM levels below a product")
        << "WITH RECURSIVE walk(a, d) AS ("
           " SELECT Articolo, 0 FROM Articoli WHERE DistBase = 1"
           " UNION ALL SELECT l.ArticoloFiglio, w.d + 1 FROM walk w"
           " JOIN ArtLegami l ON l.ArticoloPadre = w.a WHERE w.d < 20)"
           " SELECT COUNT(*) FROM walk WHERE d >= 3";
    for (int code = 0; code <= 3; ++code)
        QTest::addRow("DistBase %d", code)
            << QStringLiteral("SELECT COUNT(*) FROM Articoli WHERE DistBase = %1").arg(code);
    QTest::newRow("link in the sales unit")
        << "SELECT COUNT(*) FROM ArtLegami l JOIN Articoli a ON a.Articolo = l.ArticoloFiglio"
           " WHERE l.UM <> a.ArtUM AND l.UM = a.ArtUMVen AND a.FatConVen <> 1";
    QTest::newRow("link in the purchase unit")
        << "SELECT COUNT(*) FROM ArtLegami l JOIN Articoli a ON a.Articolo = l.ArticoloFiglio"
           " WHERE l.UM <> a.ArtUM AND l.UM = a.ArtUMAcq AND a.FatConAcq <> 1";
    for (const char *v : {"M", "U", "S", "L"})
        QTest::addRow("valuation %s", v)
            << QStringLiteral("SELECT COUNT(*) FROM ArtLegami WHERE QualeImporto = '%1'").arg(v);
    QTest::newRow("semi-finished link priced from its own list")
        << "SELECT COUNT(*) FROM ArtLegami l JOIN Articoli a ON a.Articolo = l.ArticoloFiglio"
           " JOIN ArtListini p ON p.Articolo = l.ArticoloFiglio AND p.Listino = l.Listino"
           " WHERE a.DistBase = 2 AND l.QualeImporto = 'L'";
    QTest::newRow("promotion valid today")
        << "SELECT COUNT(*) FROM ArtLisPromozioni WHERE DataInizioProm <= date('now')"
           " AND DataFineProm >= date('now') AND Livello1 = '~ç~' AND Livello2 = '~ç~'";
    QTest::newRow("promotion that shows its message")
        << "SELECT COUNT(*) FROM ArtLisPromozioni WHERE MessProm = 'S'";
    QTest::newRow("chained discount on a list")
        << "SELECT COUNT(*) FROM Listini WHERE Sconto LIKE '%+%'";
    QTest::newRow("chained discount on an article price")
        << "SELECT COUNT(*) FROM ArtListini WHERE Sconto LIKE '%+%'";
    QTest::newRow("list discount chained with the article's (rule M)")
        << "SELECT COUNT(*) FROM ArtListini p JOIN Listini l ON l.Listino = p.Listino"
           " JOIN Articoli a ON a.Articolo = p.Articolo"
           " WHERE p.ScoSomSost = 'L' AND l.ScoSomSost = 'M' AND a.Sconto <> ''";
    QTest::newRow("VAT-inclusive list with prices")
        << "SELECT COUNT(*) FROM Listini l JOIN ArtListini p ON p.Listino = l.Listino"
           " WHERE l.Ivato = 1";
    QTest::newRow("price dated after today")
        << "SELECT COUNT(*) FROM ArtListini WHERE DataInizio > date('now')";
    QTest::newRow("two prices of one article in one list")
        << "SELECT COUNT(*) FROM (SELECT Articolo FROM ArtListini"
           " WHERE DataInizio <= date('now') GROUP BY Articolo, Listino HAVING COUNT(*) > 1)";
    QTest::newRow("every article has a known VAT code")
        << "SELECT CASE WHEN EXISTS (SELECT 1 FROM Articoli a LEFT JOIN TabIva i"
           " ON i.Iva = a.IvaVendite WHERE i.Iva IS NULL) THEN 0 ELSE 1 END";
    QTest::newRow("lira prices")
        << "SELECT COUNT(*) FROM ArtListini WHERE PrezzoLire > 0"
           " AND abs(PrezzoLire - Prezzo * 1936.27) < 1";
    QTest::newRow("lira promotion prices")
        << "SELECT COUNT(*) FROM ArtLisPromozioni WHERE PrezzoLire > 0";
    QTest::newRow("lira costs")
        << "SELECT COUNT(*) FROM ArticoliCosti WHERE MedioPonderaleLire > 0"
           " AND CostoUltimoLire > 0 AND StandardLire > 0";
    QTest::newRow("costs of the current year")
        << "SELECT COUNT(*) FROM ArticoliCosti WHERE Anno = CAST(strftime('%Y','now') AS INTEGER)"
           " AND Livello1 = '~ç~' AND Livello2 = '~ç~'";
    QTest::newRow("costs of the previous year")
        << "SELECT COUNT(*) FROM ArticoliCosti"
           " WHERE Anno = CAST(strftime('%Y','now') AS INTEGER) - 1";
    QTest::newRow("stock of the current year in two warehouses")
        << "SELECT COUNT(DISTINCT Magazzino) - 1 FROM ArticoliProg"
           " WHERE Anno = CAST(strftime('%Y','now') AS INTEGER)";
    QTest::newRow("stock of the previous year")
        << "SELECT COUNT(*) FROM ArticoliProg"
           " WHERE Anno = CAST(strftime('%Y','now') AS INTEGER) - 1";
    QTest::newRow("inactive article")
        << "SELECT COUNT(*) FROM Articoli WHERE upper(Inattivo) = 'S'";
    QTest::newRow("active articles are marked so, not left empty")
        << "SELECT CASE WHEN EXISTS (SELECT 1 FROM Articoli WHERE Inattivo IS NULL)"
           " THEN 0 ELSE 1 END";
    QTest::newRow("component missing from the article master")
        << "SELECT COUNT(*) FROM ArtLegami l LEFT JOIN Articoli a"
           " ON a.Articolo = l.ArticoloFiglio WHERE a.Articolo IS NULL";
    QTest::newRow("code with an apostrophe")
        << "SELECT COUNT(*) FROM ArtLegami WHERE ArticoloPadre LIKE '%''%'";
    QTest::newRow("base material with links below it")
        << "SELECT COUNT(*) FROM ArtLegami l JOIN Articoli a ON a.Articolo = l.ArticoloPadre"
           " WHERE a.DistBase = 3";
    QTest::newRow("article with dimensions in an area unit")
        << "SELECT COUNT(*) FROM Articoli WHERE ArtUM = 'MQ' AND DistBase = 1"
           " AND Lunghezza > 0 AND Larghezza > 0";
    QTest::newRow("customers with classes, zones, categories and e-mails")
        << "SELECT COUNT(*) FROM PianoConti WHERE Zona <> '' AND Categoria <> ''"
           " AND PdcClasseAttr1 <> '' AND Email LIKE '%@%'";
    QTest::newRow("customer with four e-mails")
        << "SELECT COUNT(*) FROM PianoConti WHERE Email4 LIKE '%@%'";
    QTest::newRow("customer class codes decode")
        << "SELECT COUNT(*) FROM PianoConti p JOIN TabClassiPdc c"
           " ON c.Livello = 1 AND c.ClasseAttr = p.PdcClasseAttr1";
    QTest::newRow("article class codes decode")
        << "SELECT COUNT(*) FROM Articoli a JOIN TabClassiArt c"
           " ON c.Livello = 2 AND c.ClasseAttr = a.ArtClasseAttr2";
    for (const char *t : {"OrdVen", "PreVen"}) {
        const QString h = QString::fromLatin1(t) + "Test", d = QString::fromLatin1(t) + "Dett";
        QTest::addRow("%s open", t)
            << "SELECT COUNT(*) FROM " + h + " WHERE Tipo = '3' AND (Stato <> 'E' OR Stato IS NULL)";
        QTest::addRow("%s closed", t) << "SELECT COUNT(*) FROM " + h + " WHERE Stato = 'E'";
        QTest::addRow("%s lines of type A", t)
            << "SELECT COUNT(*) FROM " + d + " WHERE TipoRiga = 'A'";
        QTest::addRow("%s lines of another type", t)
            << "SELECT COUNT(*) FROM " + d + " WHERE TipoRiga <> 'A'";
        QTest::addRow("%s closed line in an open document", t)
            << "SELECT COUNT(*) FROM " + d + " l JOIN " + h +
                   " h ON h.Anno = l.Anno AND h.NumRif = l.NumRif"
                   " WHERE l.StatoRiga = 'E' AND (h.Stato IS NULL OR h.Stato <> 'E')";
        QTest::addRow("%s lines with a delivery date", t)
            << "SELECT COUNT(*) FROM " + d + " WHERE TipoRiga = 'A' AND DataCons IS NOT NULL";
        QTest::addRow("%s lines taking the header's delivery date", t)
            << "SELECT COUNT(*) FROM " + d + " l JOIN " + h +
                   " h ON h.Anno = l.Anno AND h.NumRif = l.NumRif"
                   " WHERE l.TipoRiga = 'A' AND l.DataCons IS NULL AND h.DataCons IS NOT NULL";
        QTest::addRow("%s lines with no delivery date at all", t)
            << "SELECT COUNT(*) FROM " + d + " l JOIN " + h +
                   " h ON h.Anno = l.Anno AND h.NumRif = l.NumRif"
                   " WHERE l.TipoRiga = 'A' AND l.DataCons IS NULL AND h.DataCons IS NULL";
        QTest::addRow("%s customers exist", t)
            << "SELECT CASE WHEN EXISTS (SELECT 1 FROM " + h + " h LEFT JOIN PianoConti p"
                   " ON p.Gruppo = h.GruppoCli AND p.Mastro = h.MastroCli AND p.Conto = h.ContoCli"
                   " WHERE p.Conto IS NULL) THEN 0 ELSE 1 END";
    }
    QTest::newRow("order of another kind than 3")
        << "SELECT COUNT(*) FROM OrdVenTest WHERE Tipo <> '3'";
    QTest::newRow("euro with managed decimals")
        << "SELECT COUNT(*) FROM Monete WHERE Moneta = 'Euro' AND NumDec = 2 AND NumDecGest > 2";
    QTest::newRow("lira without decimals")
        << "SELECT COUNT(*) FROM Monete WHERE Moneta = 'L.' AND NumDec = 0 AND NumDecGest = 0";
    QTest::newRow("user fonts above 99")
        << "SELECT COUNT(*) FROM StaLasFontPers WHERE Progressivo > 99";
    QTest::newRow("dates stored as ISO text")
        << "SELECT CASE WHEN EXISTS (SELECT 1 FROM OrdVenTest WHERE DataRif NOT GLOB"
           " '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]') THEN 0 ELSE 1 END";
}

void TstDemoCompany::promisedContent()
{
    QFETCH(QString, sql);
    const QVariant n = db_->scalar(sql);
    QVERIFY2(n.isValid(), qPrintable("query failed: " + sql));
    QVERIFY2(n.toInt() > 0, qPrintable(sql));
}

void TstDemoCompany::scratchTableEmpty()
{
    QCOMPARE(db_->scalar("SELECT COUNT(*) FROM AppoggioTemp").toInt(), 0);
}

void TstDemoCompany::menuDatabase()
{
    const QStringList expected{
        "DISTINTA|FrmDiBaCaSo|Sostituzione/cancellazione componenti",
        "DISTINTA|FrmStaFabbis|Stampa fabbisogni",
        "DISTINTA|frmPrelvo|Stampa distinta base",
        "DISTINTA|frmStImplDiBa|Stampa implosione distinta base"};
    for (const QString &path : {kem::CompanyPaths(dir_).menuDb, kem::CompanyPaths(dir_).companyDb}) {
        CompanyTestDb menu(path);
        QVERIFY(menu.isOpen());
        QSqlQuery q(menu.db());
        QVERIFY(q.exec("SELECT Chiave, ChiaveSec, Caption, DescPrg FROM MenuDett"
                       " ORDER BY ChiaveSec COLLATE BINARY"));
        QStringList rows;
        while (q.next()) {
            rows << q.value(0).toString() + "|" + q.value(1).toString() + "|" +
                        q.value(2).toString();
            QVERIFY(!q.value(3).toString().isEmpty());
        }
        QCOMPARE(rows, expected);
    }
    CompanyTestDb menu(kem::CompanyPaths(dir_).menuDb);
    QStringList tables = menu.db().tables();
    tables.sort();
    QCOMPARE(tables, (QStringList{"MenuDett", "TestiEmail"}));
    // The stored e-mail text the company's settings name ("EmailNumTesto" 1).
    QSqlQuery t(menu.db());
    QVERIFY(t.exec("SELECT Oggetto, Testo FROM TestiEmail WHERE Numero = 1"));
    QVERIFY(t.next());
    QCOMPARE(t.value(0).toString(), QStringLiteral("Invio stampa"));
    QVERIFY(t.value(1).toString().contains(QStringLiteral("§Titolo§")));
}

void TstDemoCompany::imagesExistAndLoad()
{
    QSqlQuery q(db_->db());
    QVERIFY(q.exec("SELECT Immagine FROM Articoli WHERE Immagine <> ''"));
    int count = 0;
    while (q.next()) {
        const QString file = kem::CompanyPaths(dir_).imagesDir + "/" + q.value(0).toString();
        QImage img(file);
        QVERIFY2(!img.isNull(), qPrintable(file));
        QVERIFY(img.width() > 0 && img.height() > 0);
        ++count;
    }
    QVERIFY(count >= 3);
}

static QMap<QString, QString> ReadIniSection(const QString &path, const QString &section)
{
    QMap<QString, QString> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    bool inside = false;
    for (const QString &raw : QString::fromUtf8(f.readAll()).split('\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith('['))
            inside = line.compare("[" + section + "]", Qt::CaseInsensitive) == 0;
        else if (inside && line.contains('='))
            out.insert(line.section('=', 0, 0), line.section('=', 1));
    }
    return out;
}

void TstDemoCompany::iniFilesPointAtTheCompany()
{
    const kem::CompanyPaths p(dir_);
    const auto general = ReadIniSection(p.mainIni, "Parametri Generali");
    QCOMPARE(general.value("OrdIniDBase"), QString("azienda.ini"));
    QCOMPARE(general.value("NumIni"), QString("0"));
    QVERIFY(QFile::exists(p.dir + "/" + general.value("OrdIniDBase")));
    // Every path is relative to the folder of the file that holds it (all three files lie in
    // the company folder), so that a copy of the folder is a company of its own.
    const auto base = ReadIniSection(p.mainIni, "Base");
    const auto conn = ReadIniSection(p.mainIni, "Connessioni");
    const auto menu = ReadIniSection(p.mainIni, "Menu");
    const auto menuIni = ReadIniSection(p.menuIni, "Menu");
    const auto vars = ReadIniSection(p.menuIni, "Variabili");
    const auto printOptions = ReadIniSection(p.companyIni, "Opzioni Stampa");
    const QList<QPair<const char *, QString>> paths{
        {"[Base] DriveDB", base.value("DriveDB")},
        {"[Connessioni] DriveDB", conn.value("DriveDB")},
        {"[Menu] DriveDB", menu.value("DriveDB")},
        {"IniPath", menuIni.value("IniPath")},
        {"NomeDBAzie", vars.value("NomeDBAzie")},
        {"PathDefault", printOptions.value("PathDefault")},
    };
    for (const auto &[key, path] : paths) {
        QVERIFY2(!path.isEmpty(), key);
        QVERIFY2(QDir::isRelativePath(path), qPrintable(QString::fromLatin1(key) + "=" + path));
    }
    auto inDir = [&](const QString &path) { return QDir::cleanPath(p.dir + "/" + path); };
    QCOMPARE(inDir(base.value("DriveDB")), p.dir);
    QCOMPARE(inDir(conn.value("DriveDB")), p.dir);
    QVERIFY(QFile::exists(inDir(base.value("DriveDB")) + "/" + base.value("DirDB") + "/" +
                          conn.value("NomeDB")));
    QVERIFY(QFileInfo(inDir(base.value("DriveDB")) + "/" + base.value("DirImmagini")).isDir());
    // the menu database's name is appended to its drive as it stands
    QVERIFY(menu.value("DriveDB").endsWith('/'));
    QVERIFY(QFile::exists(p.dir + "/" + menu.value("DriveDB") + menu.value("NomeDB")));
    QCOMPARE(inDir(printOptions.value("PathDefault")), p.dir + "/stampe");

    QCOMPARE(inDir(menuIni.value("IniPath")), p.mainIni);
    QCOMPARE(inDir(vars.value("NomeDBAzie")), p.companyDb);
    QCOMPARE(vars.value("DescAzie"), QString("Arredamenti Bellini S.r.l."));
    // the page headers' company text ("ditta.ragsoc")
    QCOMPARE(vars.value("Ditta.RagSoc"), QString("Arredamenti Bellini S.r.l."));
    QCOMPARE(vars.value("Ditta.CodLira"), QString("L."));
    QCOMPARE(vars.value("Ditta.CodEuro"), QString("Euro"));
    QVERIFY(!vars.value("Mag.NumDecQta").isEmpty());
    QVERIFY(!vars.value("Cla.1").isEmpty());
    const auto personal = ReadIniSection(p.menuIni, "Personali");
    QCOMPARE(personal.value("Tutti.§DataMinima"), QString("01/01/1900"));
}

static QByteArray FileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TstDemoCompany::sameDataEveryRun()
{
    const QString second = tmp_.filePath("demo2");
    QString err;
    QVERIFY2(kem::WriteDemoCompany(second, &err), qPrintable(err));
    CompanyTestDb other(kem::CompanyPaths(second).companyDb);
    const QStringList a = db_->dump(), b = other.dump();
    QVERIFY(a.size() > 300);
    QCOMPARE(a, b);
    // Not only the same rows: the same file, byte for byte.
    const QByteArray fileA = FileBytes(kem::CompanyPaths(dir_).companyDb);
    QVERIFY(!fileA.isEmpty());
    QVERIFY(fileA == FileBytes(kem::CompanyPaths(second).companyDb));
    for (const char *img : {"tav-rov180.png", "sed-fag01.png"}) {
        const QByteArray x = FileBytes(kem::CompanyPaths(dir_).imagesDir + "/" + img);
        QVERIFY(!x.isEmpty());
        QCOMPARE(x, FileBytes(kem::CompanyPaths(second).imagesDir + "/" + img));
    }
    // The ini files differ only by the directory they name.
    QString iniA = QString::fromUtf8(FileBytes(kem::CompanyPaths(dir_).menuIni));
    QString iniB = QString::fromUtf8(FileBytes(kem::CompanyPaths(second).menuIni));
    iniA.replace(kem::CompanyPaths(dir_).dir, "DIR");
    iniB.replace(kem::CompanyPaths(second).dir, "DIR");
    QCOMPARE(iniA, iniB);
}

void TstDemoCompany::rewritesAnEarlierCompany()
{
    const QString dir = tmp_.filePath("again");
    QString err;
    QVERIFY2(kem::WriteDemoCompany(dir, &err), qPrintable(err));
    {
        CompanyTestDb db(kem::CompanyPaths(dir).companyDb);
        QVERIFY(db.isOpen());
    }
    QVERIFY2(kem::WriteDemoCompany(dir, &err), qPrintable(err));
    CompanyTestDb db(kem::CompanyPaths(dir).companyDb);
    QCOMPARE(db.dump(), db_->dump());
    QVERIFY(!QFile::exists(kem::CompanyPaths(dir).companyDb + ".tmp"));
}

void TstDemoCompany::unwritableDirectoryFails()
{
    // "dati" is a plain file: the database cannot be written, and the call says so.
    const QString dir = tmp_.filePath("blocked");
    QVERIFY(QDir().mkpath(dir));
    QFile blocker(dir + "/dati");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString err;
    QVERIFY(!kem::WriteDemoCompany(dir, &err));
    QVERIFY(!err.isEmpty());
    QVERIFY(!QFile::exists(dir + "/kemwin.ini"));
    // A blank name is refused rather than taken as the working directory.
    QVERIFY(!kem::WriteDemoCompany("  ", &err));
    QVERIFY(!QFile::exists(QDir::current().filePath("kemwin.ini")));
}

QTEST_GUILESS_MAIN(TstDemoCompany)
#include "tst_democompany.moc"
