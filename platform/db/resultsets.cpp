#include "platform/db/dbimpl.h"

#include <atomic>

namespace kem {

namespace {

std::atomic<qint64> handleCounter{0};

enum class EditMode { None, Edit, Add };

struct ResultSet {
    std::weak_ptr<Database::Impl> db;
    std::shared_ptr<const ColumnSet> columns;
    QVector<QVariant> data;
    int ncols = 0;
    int rows = 0;
    int pos = 0;
    EditMode mode = EditMode::None;
    QVector<QVariant> buffer;
    QVector<bool> dirty;
    QString sql;

    const QVariant &at(int row, int col) const { return data[row * ncols + col]; }
};

[[noreturn]] void noCurrentRecord(const QString &sql)
{
    throw DbError(3021, QStringLiteral("No current record."), sql);
}

} // namespace

struct ResultSets::Impl {
    QHash<QString, ResultSet> sets;
    // The result set asked for last: callers read several fields of one row in a row. Reset
    // whenever sets gains or loses an entry (that may move its values).
    QString lastHandle;
    ResultSet *last = nullptr;

    ResultSet &get(const QString &h)
    {
        if (last && h == lastHandle)
            return *last;
        auto it = sets.find(h);
        if (it == sets.end())
            throw DbError(3420, QStringLiteral("Object invalid or no longer set: result set '%1' is not open.").arg(h));
        lastHandle = h;
        last = &it.value();
        return *last;
    }

    void forgetLast()
    {
        last = nullptr;
        lastHandle.clear();
    }

    int column(const ResultSet &rs, const QString &name)
    {
        const int c = rs.columns ? rs.columns->find(name) : -1;
        if (c < 0)
            throw DbError(3265, QStringLiteral("Item not found in this collection: '%1'.").arg(name), rs.sql);
        return c;
    }

    std::shared_ptr<Database::Impl> database(const ResultSet &rs)
    {
        auto db = rs.db.lock();
        if (!db)
            throw DbError(3420, QStringLiteral("Object invalid or no longer set: the database of the result set is closed."), rs.sql);
        return db;
    }
};

ResultSets::ResultSets() : d(std::make_unique<Impl>()) {}

ResultSets::~ResultSets() = default;

QString ResultSets::RsOpen(Database &db, const QString &sql, bool updatable)
{
    QueryResult r = db.d->run(sql, true);
    ResultSet rs;
    rs.db = db.d;
    rs.columns = std::move(r.columns);
    rs.ncols = rs.columns ? int(rs.columns->types.size()) : 0;
    rs.data = std::move(r.data);
    rs.rows = r.rows;
    rs.sql = sql;
    if (updatable && (!rs.columns || rs.columns->baseTable.isEmpty()))
        throw DbError(3027, QStringLiteral("Cannot update. Database or object is read-only: the statement is not "
                                           "one table with its primary key."), sql);
    const QString h = QStringLiteral("rs%1").arg(++handleCounter);
    d->forgetLast();
    d->sets.emplace(h, std::move(rs));
    return h;
}

bool ResultSets::RsIsEmpty(const QString &h) { return d->get(h).rows == 0; }

void ResultSets::RsMoveFirst(const QString &h)
{
    ResultSet &rs = d->get(h);
    if (rs.rows == 0)
        noCurrentRecord(rs.sql);
    rs.mode = EditMode::None;
    rs.pos = 0;
}

void ResultSets::RsMoveNext(const QString &h)
{
    ResultSet &rs = d->get(h);
    if (rs.pos >= rs.rows)
        noCurrentRecord(rs.sql);
    rs.mode = EditMode::None;
    ++rs.pos;
}

bool ResultSets::RsEof(const QString &h)
{
    const ResultSet &rs = d->get(h);
    return rs.pos >= rs.rows;
}

qint64 ResultSets::RsCount(const QString &h) { return d->get(h).rows; }

QVariant ResultSets::RsField(const QString &h, const QString &name)
{
    const ResultSet &rs = d->get(h);
    const int c = d->column(rs, name);
    if (rs.mode != EditMode::None)
        return rs.buffer[c];
    if (rs.pos >= rs.rows)
        noCurrentRecord(rs.sql);
    return rs.at(rs.pos, c);
}

QStringList ResultSets::RsFieldNames(const QString &h)
{
    const ResultSet &rs = d->get(h);
    return rs.columns ? rs.columns->names : QStringList();
}

QVariant ResultSets::RsFieldAt(const QString &h, int index)
{
    const ResultSet &rs = d->get(h);
    if (index < 0 || index >= rs.ncols)
        throw DbError(3265, QStringLiteral("Item not found in this collection: column %1.").arg(index), rs.sql);
    if (rs.mode != EditMode::None)
        return rs.buffer[index];
    if (rs.pos >= rs.rows)
        noCurrentRecord(rs.sql);
    return rs.at(rs.pos, index);
}

void ResultSets::RsEdit(const QString &h)
{
    ResultSet &rs = d->get(h);
    if (!rs.columns || rs.columns->baseTable.isEmpty())
        throw DbError(3027, QStringLiteral("Cannot update. Database or object is read-only."), rs.sql);
    if (rs.pos >= rs.rows)
        noCurrentRecord(rs.sql);
    rs.buffer = QVector<QVariant>(rs.data.cbegin() + rs.pos * rs.ncols, rs.data.cbegin() + (rs.pos + 1) * rs.ncols);
    rs.dirty = QVector<bool>(rs.ncols, false);
    rs.mode = EditMode::Edit;
}

void ResultSets::RsAddNew(const QString &h)
{
    ResultSet &rs = d->get(h);
    if (!rs.columns || rs.columns->baseTable.isEmpty())
        throw DbError(3027, QStringLiteral("Cannot update. Database or object is read-only."), rs.sql);
    rs.buffer = QVector<QVariant>(rs.columns->defaults.cbegin(), rs.columns->defaults.cend());
    rs.dirty = QVector<bool>(rs.ncols, false);
    rs.mode = EditMode::Add;
}

void ResultSets::RsFieldSet(const QString &h, const QString &name, const QVariant &value)
{
    ResultSet &rs = d->get(h);
    const int c = d->column(rs, name);
    if (rs.mode == EditMode::None)
        throw DbError(3020, QStringLiteral("Update or CancelUpdate without AddNew or Edit."), rs.sql);
    if (rs.columns->baseColumns.value(c).isEmpty())
        throw DbError(3164, QStringLiteral("Field cannot be updated: '%1'.").arg(name), rs.sql);
    rs.buffer[c] = FromEngine(ToEngine(value), rs.columns->types[c]);
    rs.dirty[c] = true;
}

void ResultSets::RsUpdate(const QString &h)
{
    ResultSet &rs = d->get(h);
    if (rs.mode == EditMode::None)
        throw DbError(3020, QStringLiteral("Update or CancelUpdate without AddNew or Edit."), rs.sql);
    auto db = d->database(rs);
    const ColumnSet &cols = *rs.columns;
    const Dialect &dia = db->dialect;
    QVariantList values;
    QString engine;
    if (rs.mode == EditMode::Edit) {
        QStringList sets;
        for (int c = 0; c < rs.ncols; ++c) {
            if (!rs.dirty[c])
                continue;
            sets << dia.QuoteName(cols.baseColumns[c]) + QStringLiteral(" = ?");
            values << ToEngine(rs.buffer[c]);
        }
        if (!sets.isEmpty()) {
            QStringList where;
            for (int k : cols.keyColumns) {
                where << dia.QuoteName(cols.baseColumns[k]) + QStringLiteral(" = ?");
                values << ToEngine(rs.at(rs.pos, k)); // the original key
            }
            engine = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                         .arg(dia.QuoteName(cols.baseTable), sets.join(QStringLiteral(", ")),
                              where.join(QStringLiteral(" AND ")));
            const qint64 n = db->runEngine(engine, values, rs.sql);
            if (n != 1)
                throw DbError(3197, QStringLiteral("The record was changed or deleted by someone else since it was read."), rs.sql);
        }
        std::copy(rs.buffer.cbegin(), rs.buffer.cend(), rs.data.begin() + rs.pos * rs.ncols);
    } else {
        QStringList names, marks;
        for (int c = 0; c < rs.ncols; ++c) {
            if (!rs.dirty[c])
                continue;
            names << dia.QuoteName(cols.baseColumns[c]);
            marks << QStringLiteral("?");
            values << ToEngine(rs.buffer[c]);
        }
        if (names.isEmpty())
            engine = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(dia.QuoteName(cols.baseTable));
        else
            engine = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(dia.QuoteName(cols.baseTable), names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        db->runEngine(engine, values, rs.sql);
        // The new row joins the set at its end; the current position does not move.
        const bool atEnd = rs.pos >= rs.rows;
        rs.data.append(rs.buffer);
        ++rs.rows;
        if (atEnd)
            rs.pos = rs.rows;
    }
    rs.mode = EditMode::None;
    rs.buffer.clear();
    rs.dirty.clear();
}

void ResultSets::RsCancelUpdate(const QString &h)
{
    ResultSet &rs = d->get(h);
    rs.mode = EditMode::None;
    rs.buffer.clear();
    rs.dirty.clear();
}

void ResultSets::RsClose(const QString &h)
{
    d->forgetLast();
    d->sets.remove(h);
}

void ResultSets::RsCloseAll()
{
    d->forgetLast();
    d->sets.clear();
}

int ResultSets::openCount() const { return int(d->sets.size()); }

RsGuard::~RsGuard() { rs_.RsClose(h_); }

} // namespace kem
