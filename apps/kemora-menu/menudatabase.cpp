#include "menudatabase.h"

#include "menuserver.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace kem {

namespace {
QAtomicInt gConnections;

[[noreturn]] void Fail(const QString &what)
{
    throw MenuError(MenuError::Remote, what);
}
} // namespace

MenuDatabase::MenuDatabase(const QString &path)
    : path_(path), connection_(QStringLiteral("kemora-menu-db-%1").arg(gConnections.fetchAndAddOrdered(1)))
{
}

MenuDatabase::~MenuDatabase()
{
    if (opened_) {
        {
            QSqlDatabase db = QSqlDatabase::database(connection_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(connection_);
    }
}

void MenuDatabase::open()
{
    if (opened_)
        return;
    if (!QFileInfo(path_).isFile())
        Fail(QStringLiteral("Database del menu inesistente: \"%1\"").arg(path_));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    opened_ = true; // the connection exists from here on and is removed by the destructor
    db.setDatabaseName(path_);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open()) {
        const QString why = db.lastError().text();
        Fail(QStringLiteral("Impossibile aprire il database del menu \"%1\": %2").arg(path_, why));
    }
}

std::optional<QStringList> MenuDatabase::firstRow(const QString &statement, const QStringList &columns)
{
    if (!statement.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive))
        Fail(QStringLiteral("Il menu esegue solo interrogazioni SELECT: \"%1\"").arg(statement));
    if (columns.isEmpty())
        Fail(QStringLiteral("Nessuna colonna richiesta per \"%1\"").arg(statement));
    open();
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(statement)) {
        Fail(QStringLiteral("Errore nell'interrogazione del database del menu: %1 (%2)")
                 .arg(query.lastError().text(), statement));
    }
    if (!query.next())
        return std::nullopt;
    const QSqlRecord record = query.record();
    QStringList values;
    for (const QString &c : columns) {
        const int i = record.indexOf(c);
        if (i < 0)
            Fail(QStringLiteral("Colonna \"%1\" assente in \"%2\"").arg(c, statement));
        values.append(query.value(i).isNull() ? QString() : query.value(i).toString());
    }
    return values;
}

QList<MenuEntry> MenuDatabase::entries()
{
    open();
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT Chiave, ChiaveSec, Caption, DescPrg FROM MenuDett ORDER BY rowid"))) {
        Fail(QStringLiteral("Errore nella lettura delle voci del menu: %1").arg(query.lastError().text()));
    }
    QList<MenuEntry> out;
    while (query.next()) {
        out.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                    query.value(3).toString()});
    }
    return out;
}

} // namespace kem
