#include "platform/menu/menudatabase.h"

#include "platform/db/kemdb.h"
#include "platform/menu/menuserver.h"

namespace kem {

namespace {
[[noreturn]] void Fail(const QString &what)
{
    throw MenuError(MenuError::Remote, what);
}

[[noreturn]] void Fail(const DbError &e, const QString &statement)
{
    Fail(QStringLiteral("Errore %1 nel database del menu: %2 (%3)")
             .arg(e.number())
             .arg(e.description(), statement));
}

QString Text(const QVariant &v)
{
    return v.isValid() && !v.isNull() ? v.toString() : QString();
}
} // namespace

MenuDatabase::MenuDatabase(const QString &path) : path_(path) {}

MenuDatabase::~MenuDatabase() = default;

Database &MenuDatabase::db()
{
    if (!db_) {
        auto db = std::make_unique<Database>();
        try {
            db->DbOpen(path_, false, true);
        } catch (const DbError &e) {
            Fail(QStringLiteral("Impossibile aprire il database del menu \"%1\": %2 (errore %3)")
                     .arg(path_, e.description())
                     .arg(e.number()));
        }
        db_ = std::move(db);
    }
    return *db_;
}

std::optional<QStringList> MenuDatabase::firstRow(const QString &statement, const QStringList &columns)
{
    if (!statement.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive))
        Fail(QStringLiteral("Il menu esegue solo interrogazioni SELECT: \"%1\"").arg(statement));
    if (columns.isEmpty())
        Fail(QStringLiteral("Nessuna colonna richiesta per \"%1\"").arg(statement));
    Database &database = db();
    try {
        ResultSets rs;
        const RsGuard h(rs, rs.RsOpen(database, statement));
        if (rs.RsIsEmpty(h))
            return std::nullopt;
        rs.RsMoveFirst(h);
        QStringList values;
        for (const QString &c : columns)
            values.append(Text(rs.RsField(h, c)));
        return values;
    } catch (const DbError &e) {
        Fail(e, statement);
    }
}

QList<MenuEntry> MenuDatabase::entries()
{
    const QString statement =
        QStringLiteral("SELECT Chiave, ChiaveSec, Caption, DescPrg FROM MenuDett ORDER BY rowid");
    Database &database = db();
    try {
        ResultSets rs;
        const RsGuard h(rs, rs.RsOpen(database, statement));
        QList<MenuEntry> out;
        if (rs.RsIsEmpty(h))
            return out;
        for (rs.RsMoveFirst(h); !rs.RsEof(h); rs.RsMoveNext(h)) {
            out.append({Text(rs.RsField(h, QStringLiteral("Chiave"))), Text(rs.RsField(h, QStringLiteral("ChiaveSec"))),
                        Text(rs.RsField(h, QStringLiteral("Caption"))), Text(rs.RsField(h, QStringLiteral("DescPrg")))});
        }
        return out;
    } catch (const DbError &e) {
        Fail(e, statement);
    }
}

} // namespace kem
