#include "tests/support/testcompany.h"

#include "schema/companyschema.h"
#include "schema/democompany.h"
#include "platform/menu/menuconfig.h"

#include <QFile>
#include <QTextStream>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QFileInfo>
#include <QUuid>

namespace kemtest {

namespace {

// Rows of the fixture. Articles: two finished products (PF1 table, PF2 chair), one
// semi-finished (SL1 top), two base materials (MB1 screw, MB2 wood); PF2 also links to XX9,
// which is missing from Articoli. Orders: 2024/1 open (two article lines and a descriptive
// one), 2024/2 closed, 2024/3 open with one closed line; one quote 2024/7.
const char *const fixtureRows[] = {
    "INSERT INTO Articoli (Articolo, Descrizione, ArtUM, ArtUMVen, ArtUMAcq, FatConVen, FatConAcq, Sconto, "
    "Lunghezza, Larghezza, Altezza, Immagine, DistBase, ArtGruppo, ArtSottoGru, IvaVendite, Inattivo) VALUES "
    "('PF1', 'Tavolo', 'PZ', 'PZ', 'PZ', 1, 1, '5', 1200, 800, 750, 'pf1.png', 1, 'MOB', 'TAV', '22', 'N'),"
    "('PF2', 'Sedia', 'PZ', 'PZ', 'PZ', 1, 1, NULL, 0, 0, 0, NULL, 1, 'MOB', 'SED', '22', 'N'),"
    "('SL1', 'Piano', 'PZ', 'PZ', 'PZ', 1, 1, NULL, 0, 0, 0, NULL, 2, 'SEM', NULL, '22', 'N'),"
    "('MB1', 'Vite', 'PZ', 'PZ', 'CF', 1, 100, NULL, 0, 0, 0, NULL, 3, 'MAT', NULL, '22', 'N'),"
    "('MB2', 'Legno', 'MQ', 'MQ', 'MQ', 1, 1, NULL, 0, 0, 0, NULL, 3, 'MAT', NULL, '22', 's')",
    "INSERT INTO ArtLegami (ArticoloPadre, ArticoloFiglio, UM, Qta, QualeImporto, Listino) VALUES "
    "('PF1', 'SL1', 'PZ', 1, 'L', 'LIS1'),"
    "('PF1', 'MB1', 'PZ', 8, 'M', NULL),"
    "('SL1', 'MB2', 'MQ', 0.96, 'S', NULL),"
    "('SL1', 'MB1', 'PZ', 4, 'U', NULL),"
    "('PF2', 'MB1', 'PZ', 6, 'M', NULL),"
    "('PF2', 'XX9', 'PZ', 1, 'M', NULL)",
    "INSERT INTO Listini (Listino, Descrizione, Ivato, ScoSomSost, Sconto) VALUES "
    "('LIS1', 'Listino al pubblico', 1, 'M', '10'), ('LIS2', 'Listino rivenditori', 0, NULL, NULL)",
    "INSERT INTO TabIva (Iva, Descrizione, Aliquota) VALUES ('22', 'Ordinaria', 22)",
    "INSERT INTO ArtListini (Articolo, Listino, DataInizio, Prezzo, PrezzoLire, ScoSomSost, Sconto) VALUES "
    "('SL1', 'LIS1', '2024-01-01', 100, 193627, 'L', NULL),"
    "('SL1', 'LIS1', '2024-06-01', 110, 212990, 'L', NULL),"
    "('SL1', 'LIS1', '2025-01-01', 120, 232352, 'L', NULL)",
    "INSERT INTO ArtLisPromozioni (Articolo, Listino, DataInizioProm, DataFineProm, Prezzo, Descrizione, MessProm) "
    "VALUES ('MB1', 'LIS1', '2024-03-01', '2024-03-31', 0.5, 'Promo marzo', 'S')",
    "INSERT INTO ArticoliCosti (Anno, Articolo, MedioPonderale, CostoUltimo, Standard) VALUES "
    "(2024, 'MB1', 0.1, 0.12, 0.11), (2024, 'MB2', 12.5, 13, 12)",
    "INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Operatore, Cee) VALUES "
    "('Euro', 'Euro', 2, 2, '/', 'S'), ('L.', 'Lire', 0, 0, '*', 'N')",
    "INSERT INTO ArticoliProg (Anno, Articolo, Magazzino, QtaIniziale, QtaCarico, QtaSCarico, QtaOrdFor, QtaImpCli) "
    "VALUES (2024, 'MB1', '01', 100, 50, 30, 10, 5), (2024, 'MB1', '02', 20, 0, 0, 0, 0)",
    "INSERT INTO Magazzini (Magazzino, Descrizione) VALUES ('01', 'Centrale'), ('02', 'Esterno')",
    "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione, Zona, Categoria) VALUES "
    "('C', '01', '0001', 'Rossi Mobili', 'NO', 'A'), ('C', '01', '0002', 'Bianchi Arredo', 'MI', 'B')",
    "INSERT INTO OrdVenTest (Anno, NumRif, DataRif, NumDoc, DataDoc, FattDocumento, Tipo, GruppoCli, MastroCli, "
    "ContoCli, Agente1, Agente2, MagazzProv, MagazzDest, DataCons, Stato) VALUES "
    "(2024, 1, '2024-02-01', 10, '2024-02-02', 'OC', '3', 'C', '01', '0001', 'AG1', NULL, '01', '02', '2024-03-15', NULL),"
    "(2024, 2, '2024-02-05', 11, '2024-02-06', 'OC', '3', 'C', '01', '0001', 'AG1', NULL, '01', '01', '2024-03-20', 'E'),"
    "(2024, 3, '2024-02-10', 12, '2024-02-11', 'OC', '3', 'C', '01', '0002', 'AG1', 'AG2', '01', '01', '2024-05-01', '')",
    "INSERT INTO OrdVenDett (Anno, NumRif, RigDet, TipoRiga, Articolo, DescrRiga, Um, Qta, QtaEvasa, DataCons, StatoRiga) "
    "VALUES (2024, 1, 1, 'A', 'PF1', NULL, 'PZ', 5, 1, NULL, NULL),"
    "(2024, 1, 2, 'A', 'PF2', NULL, 'PZ', 2, 0, '2024-04-10', NULL),"
    "(2024, 1, 3, 'D', NULL, 'Consegna al piano', NULL, 0, 0, NULL, NULL),"
    "(2024, 2, 1, 'A', 'PF1', NULL, 'PZ', 3, 0, NULL, NULL),"
    "(2024, 3, 1, 'A', 'PF1', NULL, 'PZ', 4, 0, NULL, 'E'),"
    "(2024, 3, 2, 'A', 'PF2', NULL, 'PZ', 1, 0, NULL, NULL)",
    "INSERT INTO PreVenTest (Anno, NumRif, DataRif, NumDoc, DataDoc, FattDocumento, Tipo, GruppoCli, MastroCli, "
    "ContoCli, MagazzProv, MagazzDest, DataCons) VALUES "
    "(2024, 7, '2024-01-20', 70, '2024-01-20', 'PR', '3', 'C', '01', '0002', '01', '01', '2024-06-30')",
    "INSERT INTO PreVenDett (Anno, NumRif, RigDet, TipoRiga, Articolo, Um, Qta, QtaEvasa) VALUES "
    "(2024, 7, 1, 'A', 'PF2', 'PZ', 9, 0)",
    "INSERT INTO AppoggioTemp (Utente, IdProgramma, IdCampo, AppoInte0, AppoInte1, AppoStringa0, AppoStringa1, "
    "AppoStringa2, ValoreStringa, ValoreNumero, AppoDouble0, AppoDouble1) VALUES "
    "('mario', 'FABB', '1', 2024, 3, '1', 'PZ', 'Vite', 'MB1', 40, 0, 0),"
    "('mario', 'FABB', '2', 2024, 2, '1', 'PZ', 'Piano', 'SL1', 5, 0, 0),"
    "('mario', 'FABB', '3', 0, 3, '0', 'PZ', 'Vite', 'MB1', 52, 0, 0),"
    "('mario', 'FABB_art', 'PF1', 0, 0, NULL, NULL, NULL, NULL, 4, 0, 0),"
    "('luigi', 'FABB', '1', 2024, 3, '1', 'PZ', 'Vite', 'MB1', 99, 0, 0)",
    "INSERT INTO StaLasFontPers (Progressivo, Nome, Size, Bold, Italic, Strike, Underline) VALUES "
    "(5, 'Arial', 10, 1, 0, 0, 0), (120, 'Courier New', 8, 0, 1, 0, 0)",
};

struct Connection {
    QString name = QUuid::createUuid().toString();
    ~Connection() { QSqlDatabase::removeDatabase(name); }
};

} // namespace

bool RunOnFile(const QString &file, const QStringList &statements, QString *error)
{
    Connection c;
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), c.name);
        db.setDatabaseName(file);
        if (!db.open()) {
            *error = db.lastError().text();
            return false;
        }
        QSqlQuery q(db);
        for (const QString &s : statements) {
            if (!q.exec(s)) {
                *error = s + QStringLiteral(": ") + q.lastError().text();
                ok = false;
                break;
            }
        }
        q.finish();
        db.close();
    }
    return ok;
}

QString CreateEmptyCompany(const QString &dir, const QString &fileName, QString *error)
{
    const QString file = dir + u'/' + fileName;
    Connection c;
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), c.name);
        db.setDatabaseName(file);
        if (!db.open()) {
            *error = db.lastError().text();
            return {};
        }
        ok = kem::CreateCompanySchema(db, error);
        db.close();
    }
    return ok ? file : QString();
}

QString CreateFixtureCompany(const QString &dir, QString *error)
{
    const QString file = CreateEmptyCompany(dir, QStringLiteral("azienda.db"), error);
    if (file.isEmpty())
        return {};
    QStringList rows;
    for (const char *r : fixtureRows)
        rows << QString::fromUtf8(r);
    return RunOnFile(file, rows, error) ? file : QString();
}

kem::CompanyParams FixtureParams()
{
    kem::CompanyParams p;
    p.numDecQta = 3;
    p.moneta = QStringLiteral("Euro");
    p.codLira = QStringLiteral("L.");
    p.codEuro = QStringLiteral("Euro");
    p.current.numDec = 2;
    p.current.numDecGest = 2;
    p.workingDate = QDate(2026, 6, 15);
    p.arrotIvaEuro = QStringLiteral("A");
    return p;
}

bool BuildCompanyDb(const QString &path, const QStringList &statements, QString *error)
{
    QFile::remove(path);
    const QFileInfo info(path);
    if (CreateEmptyCompany(info.absolutePath(), info.fileName(), error).isEmpty())
        return false;
    QStringList all{QStringLiteral("BEGIN")};
    all << statements << QStringLiteral("COMMIT");
    return RunOnFile(path, all, error);
}

void LoadCompanyMenu(kem::FakeMenuServer &menu, const QString &menuIni)
{
    // The values as kemora-menu hands them out (a relative company database made absolute).
    kem::MenuConfig config;
    QString error;
    const bool configured = kem::MenuConfig::Load(QFileInfo(menuIni).absolutePath(), &config, &error)
                            && QFileInfo(config.configFile()) == QFileInfo(menuIni);
    QFile f(menuIni);
    if (!f.open(QIODevice::ReadOnly))
        return;
    QTextStream in(&f);
    QString section;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || line.startsWith(QLatin1Char(';')))
            continue;
        if (section == QLatin1String("Variabili"))
            menu.setVar(line.left(eq), configured ? config.variable(line.left(eq)).value_or(line.mid(eq + 1))
                                                  : line.mid(eq + 1));
        else if (section == QLatin1String("Personali"))
            menu.setVar(QStringLiteral("Personal.") + line.left(eq), line.mid(eq + 1));
    }
}

bool DemoCompany::open(QString *error)
{
    if (!dir_.isValid()) {
        *error = QStringLiteral("temporary directory");
        return false;
    }
    if (!kem::WriteDemoCompany(dir_.path(), error))
        return false;
    try {
        session_ = kem::CompanySession::Open(dir_.path(), sink, error);
    } catch (const kem::DbError &e) {
        *error = e.description();
        return false;
    } catch (const std::exception &e) {
        *error = QString::fromLocal8Bit(e.what());
        return false;
    }
    return session_ != nullptr;
}

} // namespace kemtest
