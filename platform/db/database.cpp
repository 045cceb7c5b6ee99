#include "platform/db/dbimpl.h"
#include "platform/db/errortexts.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlResult>
#include <QUrl>

#include <sqlite3.h>

#include <atomic>
#include <cstring>
#include <vector>

namespace kem {

// ---------------------------------------------------------------- DbError

namespace {
std::string whatOf(int number, const QString &description, const QString &statement)
{
    QString w = QStringLiteral("Errore(%1): %2").arg(number).arg(description);
    if (!statement.isEmpty())
        w += QStringLiteral(" [") + statement + u']';
    return w.toStdString();
}
} // namespace

DbError::DbError(int number, const QString &engineMessage, const QString &statement)
    : std::runtime_error(whatOf(number, JetErrorText(number, engineMessage), statement)), number_(number),
      description_(JetErrorText(number, engineMessage)), engineMessage_(engineMessage), statement_(statement)
{
}

// ---------------------------------------------------------------- values

ColType ColTypeOf(const QString &declared)
{
    const QString t = declared.toUpper();
    if (t.isEmpty())
        return ColType::Unknown;
    if (t.contains(u"BOOL") || t.contains(u"BIT"))
        return ColType::Bool;
    if (t.contains(u"DATE") || t.contains(u"TIME"))
        return ColType::Date;
    if (t.contains(u"INT"))
        return ColType::Int;
    if (t.contains(u"DOUB") || t.contains(u"REAL") || t.contains(u"FLOA") || t.contains(u"NUM")
        || t.contains(u"DEC") || t.contains(u"CURR") || t.contains(u"MONEY"))
        return ColType::Double;
    return ColType::Text;
}

namespace {
QVariant intOf(qlonglong v)
{
    if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
        return int(v);
    return v;
}

QVariant dateOf(const QString &s)
{
    if (s.size() == 10) {
        const QDate d = QDate::fromString(s, Qt::ISODate);
        if (d.isValid())
            return d;
    } else if (s.size() >= 16 && s.size() <= 19) {
        QString iso = s;
        iso[10] = u'T';
        const QDateTime dt = QDateTime::fromString(iso, Qt::ISODate);
        if (dt.isValid())
            return dt;
    }
    return {};
}
} // namespace

QVariant FromEngine(const QVariant &raw, ColType type)
{
    if (raw.isNull())
        return {};
    const int id = raw.typeId();
    switch (type) {
    case ColType::Text:
        return id == QMetaType::QString ? raw : QVariant(raw.toString());
    case ColType::Int: {
        bool ok = false;
        const qlonglong v = raw.toLongLong(&ok);
        if (ok)
            return intOf(v);
        const double d = raw.toDouble(&ok);
        return ok ? QVariant(d) : raw;
    }
    case ColType::Double: {
        bool ok = false;
        const double d = raw.toDouble(&ok);
        return ok ? QVariant(d) : raw;
    }
    case ColType::Bool:
        return raw.toLongLong() != 0;
    case ColType::Date:
        if (id == QMetaType::QString) {
            const QVariant d = dateOf(raw.toString());
            return d.isValid() ? d : raw;
        }
        return raw;
    case ColType::Unknown:
        if (id == QMetaType::LongLong)
            return intOf(raw.toLongLong());
        if (id == QMetaType::QString) {
            const QString s = raw.toString();
            if (s.size() == 10 && s.at(4) == u'-' && s.at(7) == u'-') {
                const QVariant d = dateOf(s);
                if (d.isValid())
                    return d;
            }
        }
        return raw;
    }
    return raw;
}

QVariant ToEngine(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0))
            return dt.date().toString(Qt::ISODate);
        return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return value;
    }
}

// ---------------------------------------------------------------- Impl

Database::Impl::~Impl() { close(); }

void Database::Impl::close()
{
    shapes.clear();
    tables.clear();
    handle = nullptr;
    txDepth = 0;
    connText.clear();
    if (!connName.isEmpty()) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connName);
        connName.clear();
    }
}

void Database::Impl::requireOpen(const QString &sql) const
{
    if (!handle)
        throw DbError(3420, QStringLiteral("Object invalid or no longer set: the database is not open."), sql);
}

void Database::Impl::fail(const QSqlError &err, const QString &statement) const
{
    QString message = err.databaseText();
    if (message.isEmpty())
        message = err.text();
    throw DbError(dialect.ErrorNumber(err.nativeErrorCode(), message), message, statement);
}

void Database::Impl::execPlain(const QString &engineSql)
{
    requireOpen(engineSql);
    QSqlQuery q(db);
    ++stats.statements;
    if (!q.exec(engineSql))
        fail(q.lastError(), engineSql);
}

const TableInfo &Database::Impl::tableInfo(const QString &table)
{
    const QString key = table.toLower();
    auto it = tables.find(key);
    if (it != tables.end())
        return it.value();
    TableInfo info;
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(dialect.QuoteName(table)))) {
        while (q.next()) {
            info.exists = true;
            info.columns << q.value(1).toString();
            info.types << q.value(2).toString();
            info.pk << q.value(5).toInt();
            // Defaults of a new row: plain literals only (numbers and quoted text).
            const QString def = q.value(4).toString().trimmed();
            QVariant v;
            if (def.size() >= 2 && def.startsWith(u'\'') && def.endsWith(u'\'')) {
                v = def.mid(1, def.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
            } else if (!def.isEmpty()) {
                bool ok = false;
                const qlonglong i = def.toLongLong(&ok);
                if (ok) {
                    v = i;
                } else {
                    const double d = def.toDouble(&ok);
                    if (ok)
                        v = d;
                }
            }
            info.defaults << FromEngine(v, ColTypeOf(info.types.last()));
        }
    }
    return tables.insert(key, info).value();
}

bool Database::Impl::tableExists(const QString &table)
{
    requireOpen(table);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND name = ? COLLATE NOCASE"));
    q.addBindValue(table);
    if (!q.exec())
        fail(q.lastError(), table);
    return q.next();
}

std::shared_ptr<const ColumnSet> Database::Impl::buildColumns(const QList<jet::Token> &tokens, sqlite3_stmt *stmt)
{
    auto cols = std::make_shared<ColumnSet>();
    const int n = sqlite3_column_count(stmt);
    for (int i = 0; i < n; ++i)
        cols->types << ColTypeOf(QString::fromUtf8(sqlite3_column_decltype(stmt, i)));

    struct Name {
        QString qualified, plain, baseColumn;
        bool alias = false;
    };
    QList<Name> names;
    const jet::SelectShape shape = jet::AnalyzeSelect(tokens);
    bool ok = true;
    int exprNo = 1000;
    auto refOf = [&](const QString &qual) -> const jet::TableRef * {
        for (const jet::TableRef &r : shape.from)
            if (r.refName().compare(qual, Qt::CaseInsensitive) == 0)
                return &r;
        return nullptr;
    };
    auto expand = [&](const jet::TableRef &ref) {
        if (ref.name.isEmpty()) {
            ok = false;
            return;
        }
        const TableInfo &ti = tableInfo(ref.name);
        if (!ti.exists)
            ok = false;
        for (const QString &c : ti.columns)
            names.append({ref.refName() + u'.' + c, c, c, false});
    };
    for (const jet::SelectItem &it : shape.items) {
        switch (it.kind) {
        case jet::SelectItem::Column: {
            Name nm;
            nm.qualified = it.table.isEmpty() ? QString() : it.table + u'.' + it.column;
            nm.plain = it.alias.isEmpty() ? it.column : it.alias;
            nm.alias = !it.alias.isEmpty();
            nm.baseColumn = it.column;
            names.append(nm);
            break;
        }
        case jet::SelectItem::TableStar:
            if (const jet::TableRef *r = refOf(it.table))
                expand(*r);
            else
                ok = false;
            break;
        case jet::SelectItem::Star:
            for (const jet::TableRef &r : shape.from)
                expand(r);
            break;
        case jet::SelectItem::Expr:
            names.append({QString(), it.alias.isEmpty() ? QStringLiteral("Expr%1").arg(exprNo++) : it.alias, QString(),
                          !it.alias.isEmpty()});
            break;
        }
    }
    if (!ok || names.size() != n) {
        // Shapes the analysis does not follow: the engine's own (plain) names.
        names.clear();
        for (int i = 0; i < n; ++i)
            names.append({QString(), QString::fromUtf8(sqlite3_column_name(stmt, i)), QString(), false});
    }
    for (const Name &nm : names)
        cols->names << (nm.qualified.isEmpty() ? nm.plain : nm.qualified);
    // Lookup: qualified names of plain columns first, then aliases, then plain names, then
    // the qualified names behind aliases; the first column of a name wins.
    auto add = [&](const QString &nm, int i) {
        const QString key = nm.toLower();
        if (!key.isEmpty() && !cols->lookup.contains(key))
            cols->lookup.insert(key, i);
    };
    for (int i = 0; i < names.size(); ++i)
        if (!names[i].alias)
            add(names[i].qualified, i);
    for (int i = 0; i < names.size(); ++i)
        if (names[i].alias)
            add(names[i].plain, i);
    for (int i = 0; i < names.size(); ++i)
        if (!names[i].alias)
            add(names[i].plain, i);
    for (int i = 0; i < names.size(); ++i)
        if (names[i].alias)
            add(names[i].qualified, i);

    // Updatable: one table, no grouping, the whole primary key among the columns.
    if (ok && !shape.hasJoinOrMany && !shape.grouped && !shape.distinct && shape.from.size() == 1
        && !shape.from[0].name.isEmpty()) {
        const jet::TableRef &ref = shape.from[0];
        const TableInfo &ti = tableInfo(ref.name);
        QStringList base;
        QVariantList defaults;
        for (int i = 0; i < names.size(); ++i) {
            const Name &nm = names[i];
            QString col;
            const bool ownTable = nm.qualified.isEmpty()
                                  || nm.qualified.section(u'.', 0, 0).compare(ref.refName(), Qt::CaseInsensitive) == 0;
            if (ownTable && !nm.baseColumn.isEmpty()) {
                for (int c = 0; c < ti.columns.size(); ++c)
                    if (ti.columns[c].compare(nm.baseColumn, Qt::CaseInsensitive) == 0) {
                        col = ti.columns[c];
                        defaults << ti.defaults[c];
                        break;
                    }
            }
            if (col.isEmpty())
                defaults << QVariant();
            base << col;
        }
        QVector<int> keys;
        bool complete = true;
        int keyCount = 0;
        for (int c = 0; c < ti.columns.size(); ++c)
            keyCount = qMax(keyCount, ti.pk[c]);
        for (int k = 1; k <= keyCount && complete; ++k) {
            int c = int(ti.pk.indexOf(k));
            const int at = c < 0 ? -1 : int(base.indexOf(ti.columns[c]));
            if (at < 0)
                complete = false;
            else
                keys << at;
        }
        if (keyCount > 0 && complete) {
            cols->baseTable = ti.columns.isEmpty() ? QString() : ref.name;
            cols->baseColumns = base;
            cols->keyColumns = keys;
            cols->defaults = defaults;
        }
    }
    return cols;
}

namespace {
sqlite3_stmt *statementOf(const QSqlQuery &q, const QString &sql)
{
    const QVariant hv = q.result()->handle();
    sqlite3_stmt *stmt = hv.isValid() ? *static_cast<sqlite3_stmt *const *>(hv.constData()) : nullptr;
    if (!stmt)
        throw DbError(3000, QStringLiteral("The SQLite driver gave no statement handle."), sql);
    return stmt;
}
} // namespace

std::shared_ptr<Shape> Database::Impl::build(const jet::Statement &st, const QString &sql)
{
    auto shape = std::make_shared<Shape>();
    try {
        shape->engineSql = dialect.Translate(st.tokens);
    } catch (const DbError &e) {
        throw DbError(e.number(), e.engineMessage(), sql);
    }
    shape->query = std::make_unique<QSqlQuery>(db);
    shape->query->setForwardOnly(true);
    ++stats.prepared;
    if (!shape->query->prepare(shape->engineSql))
        fail(shape->query->lastError(), sql);
    shape->stmt = statementOf(*shape->query, sql);
    if (sqlite3_column_count(shape->stmt) > 0)
        shape->columns = buildColumns(st.tokens, shape->stmt);
    return shape;
}

namespace {

bool bindValue(sqlite3_stmt *stmt, int index, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return sqlite3_bind_null(stmt, index) == SQLITE_OK;
    switch (v.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
        return sqlite3_bind_int64(stmt, index, v.toLongLong()) == SQLITE_OK;
    case QMetaType::Bool:
        return sqlite3_bind_int(stmt, index, v.toBool() ? 1 : 0) == SQLITE_OK;
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(stmt, index, v.toDouble()) == SQLITE_OK;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        return sqlite3_bind_blob(stmt, index, b.constData(), int(b.size()), SQLITE_TRANSIENT) == SQLITE_OK;
    }
    default: {
        const QString s = ToEngine(v).toString();
        return sqlite3_bind_text16(stmt, index, s.utf16(), int(s.size() * sizeof(char16_t)), SQLITE_TRANSIENT) == SQLITE_OK;
    }
    }
}

QVariant columnValue(sqlite3_stmt *stmt, int c)
{
    switch (sqlite3_column_type(stmt, c)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(stmt, c));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, c);
    case SQLITE_TEXT: {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
        return QString::fromUtf8(p, sqlite3_column_bytes(stmt, c));
    }
    case SQLITE_BLOB: {
        const auto *p = static_cast<const char *>(sqlite3_column_blob(stmt, c));
        return QByteArray(p, sqlite3_column_bytes(stmt, c));
    }
    default:
        return {};
    }
}

// The short texts of one column met last in a result (units of measure, codes of lists,
// flags, the parent of consecutive links): a text met again shares the one read before
// instead of being read into a string of its own.
class RecentTexts {
public:
    static constexpr int kMaxBytes = 16;
    // The text of the bytes p, n (0 < n <= kMaxBytes) when it is one of the recent ones.
    const QString *find(const char *p, int n) const
    {
        for (const Slot &slot : m_slots)
            if (slot.size == n && std::memcmp(slot.bytes, p, size_t(n)) == 0)
                return &slot.text;
        return nullptr;
    }
    void remember(const char *p, int n, const QString &text)
    {
        Slot &slot = m_slots[m_next];
        std::memcpy(slot.bytes, p, size_t(n));
        slot.size = n;
        slot.text = text;
        m_next = (m_next + 1) % kSlots;
    }

private:
    static constexpr int kSlots = 4;
    struct Slot {
        char bytes[kMaxBytes];
        int size = 0;  // 0: empty
        QString text;
    };
    Slot m_slots[kSlots];
    int m_next = 0;
};

// A column of the current row as a result set keeps it: FromEngine(columnValue(...)), with the
// usual cases (Null, and a value the engine holds in the column's own type) taken straight.
QVariant rowValue(sqlite3_stmt *stmt, int c, ColType type, RecentTexts &recent)
{
    switch (sqlite3_column_type(stmt, c)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_TEXT: {
        if (type != ColType::Text)
            break;
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
        const int n = sqlite3_column_bytes(stmt, c);
        if (n == 0 || n > RecentTexts::kMaxBytes)
            return QString::fromUtf8(p, n);
        if (const QString *seen = recent.find(p, n))
            return *seen;
        QString text = QString::fromUtf8(p, n);
        recent.remember(p, n, text);
        return text;
    }
    case SQLITE_FLOAT:
        if (type != ColType::Double)
            break;
        return sqlite3_column_double(stmt, c);
    case SQLITE_INTEGER:
        if (type != ColType::Int)
            break;
        return intOf(sqlite3_column_int64(stmt, c));
    default:
        break;
    }
    return FromEngine(columnValue(stmt, c), type);
}

} // namespace

void Database::Impl::bindAndExec(Shape &shape, const QVariantList &values, const QString &sql, QueryResult &out,
                                 bool wantSelect)
{
    sqlite3_stmt *stmt = shape.stmt;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (sqlite3_bind_parameter_count(stmt) != values.size())
        throw DbError(3061, QStringLiteral("Too few parameters. Expected %1.").arg(sqlite3_bind_parameter_count(stmt)), sql);
    for (int i = 0; i < values.size(); ++i)
        if (!bindValue(stmt, i + 1, values[i]))
            throw DbError(3000, QString::fromUtf8(sqlite3_errmsg(handle)), sql);
    ++stats.statements;
    out.columns = shape.columns;
    if (shape.columns && !wantSelect)
        throw DbError(3065, QStringLiteral("Cannot execute a select query."), sql);
    const int n = shape.columns ? int(shape.columns->types.size()) : 0;
    const ColType *types = n ? shape.columns->types.constData() : nullptr;
    int rc;
    std::vector<RecentTexts> recent(static_cast<size_t>(n));
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i)
            out.data.append(rowValue(stmt, i, types[i], recent[size_t(i)]));
        ++out.rows;
    }
    if (rc != SQLITE_DONE) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(handle));
        sqlite3_reset(stmt);
        throw DbError(dialect.ErrorNumber(QString::number(rc), message), message, sql);
    }
    if (!shape.columns)
        out.affected = sqlite3_changes(handle);
    sqlite3_reset(stmt); // releases the statement's read lock at once
}

QueryResult Database::Impl::run(const QString &sql, bool wantSelect)
{
    requireOpen(sql);
    QueryResult out;
    const jet::Statement st = jet::Tokenize(sql, cacheOn);
    const QString lead = jet::LeadingKeyword(st.tokens);
    const bool ddl = lead == u"CREATE" || lead == u"DROP" || lead == u"ALTER";
    if (cacheOn && !ddl) {
        std::shared_ptr<Shape> shape = shapes.value(st.key);
        if (!shape) {
            shape = build(st, sql);
            if (shapes.size() >= 512)
                shapes.clear();
            shapes.insert(st.key, shape);
        }
        bindAndExec(*shape, st.literals, sql, out, wantSelect);
    } else {
        auto shape = build(st, sql);
        bindAndExec(*shape, st.literals, sql, out, wantSelect);
    }
    if (ddl) {
        // Cached shapes and column lists may describe tables that changed.
        shapes.clear();
        tables.clear();
    }
    return out;
}

qint64 Database::Impl::runBound(const QString &sql, const QVariantList &values)
{
    requireOpen(sql);
    const QString key = QStringLiteral("\x02") + sql;
    std::shared_ptr<Shape> shape = shapes.value(key);
    if (!shape) {
        const jet::Statement st = jet::Tokenize(sql, false);
        const QString lead = jet::LeadingKeyword(st.tokens);
        if (lead != u"INSERT" && lead != u"UPDATE" && lead != u"DELETE")
            throw DbError(3000, QStringLiteral("Only INSERT, UPDATE and DELETE take bound values"), sql);
        shape = build(st, sql);
        if (cacheOn) {
            if (shapes.size() >= 512)
                shapes.clear();
            shapes.insert(key, shape);
        }
    }
    QueryResult out;
    bindAndExec(*shape, values, sql, out, false);
    return out.affected;
}

qint64 Database::Impl::runEngine(const QString &engineSql, const QVariantList &values, const QString &jetForErrors)
{
    requireOpen(jetForErrors);
    const QString key = QStringLiteral("\x01") + engineSql;
    std::shared_ptr<Shape> shape = shapes.value(key);
    if (!shape) {
        shape = std::make_shared<Shape>();
        shape->engineSql = engineSql;
        shape->query = std::make_unique<QSqlQuery>(db);
        shape->query->setForwardOnly(true);
        ++stats.prepared;
        if (!shape->query->prepare(engineSql))
            fail(shape->query->lastError(), jetForErrors);
        shape->stmt = statementOf(*shape->query, jetForErrors);
        if (cacheOn)
            shapes.insert(key, shape);
    }
    QueryResult out;
    bindAndExec(*shape, values, jetForErrors, out, false);
    return out.affected;
}

// ---------------------------------------------------------------- Database

Database::Database() : d(std::make_shared<Impl>()), dao_(std::make_unique<DaoDatabase>(*this)) {}

Database::~Database() = default;

Database::Impl &Database::impl() { return *d; }

namespace {
std::atomic<int> connectionCounter{0};

bool isOdbcName(const QString &name) { return name.left(5).toUpper() == u"ODBC;"; }
bool isDataSourceName(const QString &name)
{
    return isOdbcName(name) || name.right(4).toLower() == u".dsn" || !name.contains(u'.');
}

// "pwd=" item of a connect text such as ";pwd=secret" or "ODBC;UID=x;PWD=y".
QString passwordItem(const QString &text)
{
    for (const QString &part : text.split(u';')) {
        const QString p = part.trimmed();
        if (p.left(4).compare(QStringLiteral("pwd="), Qt::CaseInsensitive) == 0)
            return p.mid(4);
    }
    return {};
}
} // namespace

QString Database::DbOpen(const QString &name, bool exclusive, bool readOnly, const QString &connect,
                         const QVariant &extra)
{
    Q_UNUSED(extra); // no engine option uses it yet
    d->close();
    if (isDataSourceName(name)) {
        // Data sources (ODBC, later PostgreSQL) are the hook for the multi-user engine; until
        // it exists the open fails the way a refused connection does.
        if (isOdbcName(name))
            throw DbError(3151, QStringLiteral("ODBC--connection to '%1' failed: data sources are not supported "
                                               "by this installation.").arg(name));
        throw DbError(3059, QStringLiteral("Operation canceled by user: login to data source '%1' refused (data "
                                           "sources are not supported by this installation).").arg(name));
    }
    const QFileInfo fi(name);
    if (!fi.exists() || !fi.isFile())
        throw DbError(3024, QStringLiteral("Could not find file '%1'.").arg(name));

    struct Cleanup {
        Impl *impl;
        bool keep = false;
        ~Cleanup() { if (!keep) impl->close(); }
    } cleanup{d.get()};

    d->connName = QStringLiteral("kemdb-%1").arg(++connectionCounter);
    d->db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->connName);
    // URI with an explicit mode: SQLite must never create a missing company file.
    QString uri = QUrl::fromLocalFile(fi.absoluteFilePath()).toString(QUrl::FullyEncoded);
    uri += readOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw");
    d->db.setDatabaseName(uri);
    QString options = QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=3000");
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    d->db.setConnectOptions(options);
    if (!d->db.open())
        d->fail(d->db.lastError(), name);
    const QVariant hv = d->db.driver()->handle();
    d->handle = hv.isValid() ? *static_cast<sqlite3 *const *>(hv.constData()) : nullptr;
    if (!d->handle)
        throw DbError(3000, QStringLiteral("The SQLite driver gave no connection handle."), name);
    QString regError;
    if (!SqliteDialect::RegisterFunctions(d->handle, &regError))
        throw DbError(3000, regError, name);
    if (exclusive)
        d->execPlain(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"));
    // QSQLITE opens lazily: read the schema now so that a damaged file or one that is not a
    // database fails here (3343) and not at the first statement.
    d->execPlain(QStringLiteral("SELECT count(*) FROM sqlite_master"));

    if (d->tableExists(QStringLiteral("KemAccesso"))) {
        QSqlQuery q(d->db);
        if (!q.exec(QStringLiteral("SELECT Password FROM KemAccesso")))
            d->fail(q.lastError(), name);
        const QString stored = q.next() ? q.value(0).toString() : QString();
        if (!stored.isEmpty()) {
            QString given = DbParamGet(QStringLiteral("DbAccPWD"));
            if (given.startsWith(u';') || given.contains(u'='))
                given = passwordItem(given);
            if (given != stored && passwordItem(connect) != stored)
                throw DbError(3031, QStringLiteral("Not a valid password."), name);
        }
    }
    d->connText = QStringLiteral("SQLITE;DATABASE=%1%2%3")
                      .arg(fi.absoluteFilePath(), readOnly ? QStringLiteral(";READONLY") : QString(),
                           exclusive ? QStringLiteral(";EXCLUSIVE") : QString());
    cleanup.keep = true;
    return d->connText;
}

void Database::DbClose() { d->close(); }

qint64 Database::DbExecute(const QString &sql) { return d->run(sql, false).affected; }

qint64 Database::DbExecute(const QString &sql, const QVariantList &values) { return d->runBound(sql, values); }

QString Database::DbParamGet(const QString &name) const { return d->params.value(name.toLower()); }

void Database::DbParamSet(const QString &name, const QString &value) { d->params.insert(name.toLower(), value); }

DaoDatabase &Database::DbDaoGet() { return *dao_; }

void Database::BeginTrans()
{
    d->execPlain(d->txDepth == 0 ? QStringLiteral("BEGIN") : QStringLiteral("SAVEPOINT kem_tx%1").arg(d->txDepth));
    ++d->txDepth;
}

void Database::CommitTrans()
{
    if (d->txDepth == 0)
        throw DbError(3034, QStringLiteral("You tried to commit or rollback a transaction without first beginning a transaction."));
    d->execPlain(d->txDepth == 1 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE kem_tx%1").arg(d->txDepth - 1));
    --d->txDepth;
}

void Database::Rollback()
{
    if (d->txDepth == 0)
        throw DbError(3034, QStringLiteral("You tried to commit or rollback a transaction without first beginning a transaction."));
    if (d->txDepth == 1) {
        d->execPlain(QStringLiteral("ROLLBACK"));
    } else {
        d->execPlain(QStringLiteral("ROLLBACK TO kem_tx%1").arg(d->txDepth - 1));
        d->execPlain(QStringLiteral("RELEASE kem_tx%1").arg(d->txDepth - 1));
    }
    --d->txDepth;
}

int Database::transactionDepth() const { return d->txDepth; }

bool Database::isOpen() const { return d->handle != nullptr; }

QString Database::connectionText() const { return d->connText; }

bool Database::TableExists(const QString &table) { return d->tableExists(table); }

void Database::setStatementCache(bool on)
{
    d->cacheOn = on;
    if (!on)
        d->shapes.clear();
}

bool Database::statementCache() const { return d->cacheOn; }

DbStats Database::stats() const { return d->stats; }

void Database::resetStats() { d->stats = {}; }

qint64 DaoDatabase::Execute(const QString &sql)
{
    affected_ = 0;
    affected_ = db_.DbExecute(sql);
    return affected_;
}

// ---------------------------------------------------------------- transactions

TransactionGuard::TransactionGuard(Database &db) : db_(db) { db_.BeginTrans(); }

TransactionGuard::~TransactionGuard()
{
    if (done_)
        return;
    try {
        db_.Rollback();
    } catch (const DbError &) {
        // The connection is gone or the engine already rolled back; nothing left to undo.
    }
}

void TransactionGuard::commit()
{
    db_.CommitTrans();
    done_ = true;
}

ReadTransaction::ReadTransaction(Database &db) : db_(db)
{
    db_.BeginTrans();
    active_ = true;
}

ReadTransaction::~ReadTransaction()
{
    if (!active_)
        return;
    try {
        db_.CommitTrans();
    } catch (const DbError &) {
        try {
            db_.Rollback();
        } catch (const DbError &) {
        }
    }
}

} // namespace kem
