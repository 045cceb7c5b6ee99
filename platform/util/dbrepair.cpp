// Recovery of a damaged SQLite file: schema and every readable row copied into a fresh file.
#include "platform/util/kemutil.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <limits>
#include <memory>
#include <sqlite3.h>

namespace kem {

namespace {

struct DbCloser {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using DbHandle = std::unique_ptr<sqlite3, DbCloser>;

struct StmtFinalizer {
    void operator()(sqlite3_stmt *s) const { sqlite3_finalize(s); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

Stmt Prepare(sqlite3 *db, const QString &sql)
{
    sqlite3_stmt *s = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &s, nullptr) != SQLITE_OK) {
        sqlite3_finalize(s);
        return nullptr;
    }
    return Stmt(s);
}

bool Exec(sqlite3 *db, const QString &sql)
{
    return sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

DbHandle Open(const QString &path, int flags)
{
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    DbHandle handle(db);
    if (rc != SQLITE_OK)
        return nullptr;
    return handle;
}

QString QuoteName(QString name) { return QLatin1Char('"') + name.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"'); }

QString Text(sqlite3_stmt *s, int col)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(s, col));
    return p ? QString::fromUtf8(p) : QString();
}

struct SchemaEntry {
    QString type, name, sql;
};

struct Counts {
    qint64 rows = 0;
    int tables = 0;
    int damagedTables = 0;
    int failures = 0; // schema objects or rows the new file refused
};

// Copies the rows of one table. Rowid tables are read in rowid order; when a read fails on a
// damaged page the scan resumes at the first rowid whose page can be reached again.
class TableCopy
{
public:
    TableCopy(sqlite3 *src, sqlite3 *dst, const QString &table, Counts &counts)
        : m_src(src), m_dst(dst), m_table(QuoteName(table)), m_counts(counts)
    {
    }

    bool damaged() const { return m_damaged; }

    void run()
    {
        if (Prepare(m_src, QStringLiteral("SELECT rowid FROM %1 LIMIT 0").arg(m_table)))
            copyRowidTable();
        else
            copyScan(QStringLiteral("SELECT * FROM %1").arg(m_table), false);
    }

private:
    static constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    static constexpr qint64 kMax = std::numeric_limits<qint64>::max();

    // Does a seek to the first rowid >= from succeed?
    bool reachable(qint64 from)
    {
        Stmt s = Prepare(m_src, QStringLiteral("SELECT rowid FROM %1 WHERE rowid >= ?1 ORDER BY rowid LIMIT 1").arg(m_table));
        if (!s)
            return false;
        sqlite3_bind_int64(s.get(), 1, from);
        const int rc = sqlite3_step(s.get());
        return rc == SQLITE_ROW || rc == SQLITE_DONE;
    }

    void copyRowidTable()
    {
        qint64 from = kMin;
        for (;;) {
            qint64 last = from;
            bool any = false;
            const QString sql = QStringLiteral("SELECT rowid, * FROM %1 WHERE rowid >= %2 ORDER BY rowid").arg(m_table).arg(from);
            if (copyScan(sql, true, &last, &any))
                return;
            m_damaged = true;
            // Probe past the damage with growing gaps, then narrow down to the first reachable rowid.
            qint64 failed = any ? last : from; // strictly increases, so the loop ends
            qint64 ok = 0;
            bool found = false;
            for (qint64 gap = 1; failed < kMax; gap = gap > kMax / 2 ? kMax : gap * 2) {
                const qint64 probe = failed > kMax - gap ? kMax : failed + gap;
                if (reachable(probe)) {
                    ok = probe;
                    found = true;
                    break;
                }
                failed = probe;
            }
            if (!found)
                return;
            // the distance may exceed qint64 when failed is negative: measure it unsigned
            while (quint64(ok) - quint64(failed) > 1) {
                const qint64 mid = qint64(quint64(failed) + (quint64(ok) - quint64(failed)) / 2);
                (reachable(mid) ? ok : failed) = mid;
            }
            from = ok;
        }
    }

    // Copies the rows of a SELECT (the first column the rowid when withRowid). True when the
    // scan reached its end, false when a read failed.
    bool copyScan(const QString &sql, bool withRowid, qint64 *last = nullptr, bool *any = nullptr)
    {
        Stmt read = Prepare(m_src, sql);
        if (!read) {
            m_damaged = true;
            return true;
        }
        Stmt insert;
        int rc;
        while ((rc = sqlite3_step(read.get())) == SQLITE_ROW) {
            if (!insert)
                insert = prepareInsert(read.get(), withRowid);
            if (!insert) {
                ++m_counts.failures;
                return true;
            }
            const int n = sqlite3_column_count(read.get());
            for (int i = 0; i < n; ++i)
                sqlite3_bind_value(insert.get(), i + 1, sqlite3_column_value(read.get(), i));
            if (sqlite3_step(insert.get()) == SQLITE_DONE)
                ++m_counts.rows;
            else
                ++m_counts.failures;
            sqlite3_reset(insert.get());
            if (withRowid && last && any) {
                *last = sqlite3_column_int64(read.get(), 0);
                *any = true;
            }
        }
        if (rc != SQLITE_DONE && !withRowid)
            m_damaged = true;
        return rc == SQLITE_DONE;
    }

    Stmt prepareInsert(sqlite3_stmt *read, bool withRowid)
    {
        QStringList columns, params;
        const int n = sqlite3_column_count(read);
        for (int i = 0; i < n; ++i) {
            columns << (withRowid && i == 0 ? QStringLiteral("rowid")
                                            : QuoteName(QString::fromUtf8(sqlite3_column_name(read, i))));
            params << QStringLiteral("?%1").arg(i + 1);
        }
        return Prepare(m_dst, QStringLiteral("INSERT INTO %1(%2) VALUES(%3)")
                                  .arg(m_table, columns.join(QLatin1Char(',')), params.join(QLatin1Char(','))));
    }

    sqlite3 *m_src;
    sqlite3 *m_dst;
    QString m_table;
    Counts &m_counts;
    bool m_damaged = false;
};

bool HasSqliteHeader(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3\0", 16);
}

// Builds the recovered copy of src in the file at target. False when the schema is unreadable.
bool Rebuild(sqlite3 *src, const QString &target, Counts &counts, QString &problem)
{
    QList<SchemaEntry> schema;
    {
        Stmt s = Prepare(src, QStringLiteral("SELECT type, name, sql FROM sqlite_schema"));
        if (!s) {
            problem = QString::fromUtf8(sqlite3_errmsg(src));
            return false;
        }
        int rc;
        while ((rc = sqlite3_step(s.get())) == SQLITE_ROW)
            schema.append({Text(s.get(), 0), Text(s.get(), 1), Text(s.get(), 2)});
        if (rc != SQLITE_DONE && schema.isEmpty()) {
            problem = QString::fromUtf8(sqlite3_errmsg(src));
            return false;
        }
    }
    DbHandle dst = Open(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!dst || !Exec(dst.get(), QStringLiteral("BEGIN"))) {
        problem = QStringLiteral("impossibile creare %1").arg(target);
        return false;
    }
    for (const char *pragma : {"user_version", "application_id"}) {
        Stmt s = Prepare(src, QStringLiteral("PRAGMA %1").arg(QLatin1String(pragma)));
        if (s && sqlite3_step(s.get()) == SQLITE_ROW)
            Exec(dst.get(), QStringLiteral("PRAGMA %1 = %2").arg(QLatin1String(pragma)).arg(sqlite3_column_int64(s.get(), 0)));
    }
    static const QRegularExpression virtualTable(QStringLiteral("^\\s*CREATE\\s+VIRTUAL\\b"),
                                                 QRegularExpression::CaseInsensitiveOption);
    QStringList tables;
    for (const SchemaEntry &e : schema) {
        if (e.type != QLatin1String("table") || e.name.startsWith(QLatin1String("sqlite_"))
            || virtualTable.match(e.sql).hasMatch())
            continue;
        if (Exec(dst.get(), e.sql))
            tables << e.name;
        else
            ++counts.failures;
    }
    const bool hasSequence = std::any_of(schema.cbegin(), schema.cend(), [](const SchemaEntry &e) {
        return e.name == QLatin1String("sqlite_sequence");
    });
    if (hasSequence) {
        Exec(dst.get(), QStringLiteral("DELETE FROM sqlite_sequence"));
        tables << QStringLiteral("sqlite_sequence");
    }
    for (const QString &t : tables) {
        TableCopy copy(src, dst.get(), t, counts);
        copy.run();
        ++counts.tables;
        if (copy.damaged())
            ++counts.damagedTables;
    }
    for (const SchemaEntry &e : schema) {
        if (e.type == QLatin1String("table") || e.sql.isEmpty())
            continue;
        if (!Exec(dst.get(), e.sql))
            ++counts.failures;
    }
    if (!Exec(dst.get(), QStringLiteral("COMMIT"))) {
        problem = QString::fromUtf8(sqlite3_errmsg(dst.get()));
        return false;
    }
    return true;
}

} // namespace

int DbRepair(const QString &path, QString *message)
{
    auto report = [&](int status, const QString &text) {
        if (message)
            *message = text;
        return status;
    };
    if (!QFile::exists(path) || !HasSqliteHeader(path))
        return report(DbRepairNotDatabase, QStringLiteral("%1 non è un database SQLite").arg(path));

    const QString temp = path + QStringLiteral(".recupero");
    QFile::remove(temp);
    Counts counts;
    QString problem;
    bool rebuilt = false;
    {
        DbHandle src = Open(path, SQLITE_OPEN_READONLY);
        rebuilt = src && Rebuild(src.get(), temp, counts, problem);
    }
    if (!rebuilt) {
        QFile::remove(temp);
        return report(DbRepairNotDatabase,
                      QStringLiteral("Nessun dato recuperabile da %1 (%2)").arg(path, problem));
    }

    const QString stamped = path + QStringLiteral(".danneggiato-")
                            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString backup = stamped;
    for (int n = 2; QFile::exists(backup); ++n)
        backup = stamped + QStringLiteral("-%1").arg(n);
    if (!QFile::rename(path, backup)) {
        QFile::remove(temp);
        return report(DbRepairIoError, QStringLiteral("Impossibile rinominare %1 in %2").arg(path, backup));
    }
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        if (QFile::exists(path + QLatin1String(suffix)))
            QFile::rename(path + QLatin1String(suffix), backup + QLatin1String(suffix));
    if (!QFile::rename(temp, path)) {
        QFile::rename(backup, path);
        return report(DbRepairIoError, QStringLiteral("Impossibile mettere %1 al posto di %2").arg(temp, path));
    }
    return report(DbRepairOk,
                  QStringLiteral("Recuperate %1 righe di %2 tabelle (%3 danneggiate, %4 elementi non ricreati); "
                                 "l'originale è conservato in %5")
                      .arg(counts.rows)
                      .arg(counts.tables)
                      .arg(counts.damagedTables)
                      .arg(counts.failures)
                      .arg(backup));
}

} // namespace kem
