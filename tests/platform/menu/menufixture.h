#pragma once
// A small company directory for the menu tests, written by the test itself:
//   DIR/kemora-menu.ini, DIR/kemwin.ini, DIR/menu/menu.db (MenuDett with two entries).
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

namespace menutest {

inline bool WriteText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
}

// Writes the company directory into `dir`; false with *error on failure.
inline bool WriteMenuCompany(const QString &dir, QString *error)
{
    const QDir d(dir);
    if (!d.mkpath(QStringLiteral("menu"))) {
        *error = QStringLiteral("cannot create menu/");
        return false;
    }
    const QByteArray menuIni =
        "[Menu]\n"
        "IniPath=kemwin.ini\n"
        "IniTerminale=terminale.ini\n"
        "\n"
        "[Variabili]\n"
        "NomeDBAzie=" + d.filePath("dati/azienda.db").toUtf8() + "\n"
        "DescAzie=Mobilificio Rossi S.r.l.\n"
        "Mag.NumDecQta=3\n"
        "VersMenu=1,07\n"
        "Vuota=\n"
        "PwdDbAzie=segreta1\n"
        "\n"
        "[Personali]\n"
        "Tutti.§DataMinima=01/01/1900\n"
        "Help.§HlpSpost=3\n";
    const QByteArray mainIni = "[Parametri Generali]\nOrdIniDBase=azienda.ini\n\n[Menu]\nNomeDB=menu.db\nDriveDB=" +
                               d.filePath("menu").toUtf8() + "/\n";
    if (!WriteText(d.filePath("kemora-menu.ini"), menuIni) || !WriteText(d.filePath("kemwin.ini"), mainIni)) {
        *error = QStringLiteral("cannot write the ini files");
        return false;
    }
    const QString connection = QStringLiteral("menufixture");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(d.filePath("menu/menu.db"));
        ok = db.open();
        QSqlQuery q(db);
        for (const char *sql :
             {"CREATE TABLE MenuDett (Chiave TEXT COLLATE NOCASE NOT NULL, ChiaveSec TEXT COLLATE NOCASE "
              "NOT NULL, Caption TEXT COLLATE NOCASE, DescPrg TEXT COLLATE NOCASE, PRIMARY KEY (Chiave, ChiaveSec))",
              "INSERT INTO MenuDett VALUES ('DIBA', 'frmPrelvo', 'Stampa distinta base', 'Distinta base')",
              "INSERT INTO MenuDett VALUES ('DIBA', 'FrmStaFabbis', 'Stampa fabbisogni', NULL)"}) {
            if (ok && !q.exec(QString::fromLatin1(sql))) {
                *error = q.lastError().text();
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

} // namespace menutest
