#pragma once
// Internals of the database component shared by Database and ResultSets.
#include "platform/db/dialect.h"
#include "platform/db/kemdb.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVector>

struct sqlite3_stmt;

namespace kem {

enum class ColType { Unknown, Text, Int, Double, Bool, Date };

ColType ColTypeOf(const QString &declaredType);
// A value read from the engine as the callers see it (QDate, double, int, bool, QString).
QVariant FromEngine(const QVariant &raw, ColType type);
// A value handed by a caller as the engine stores it (dates as ISO text, Booleans 1 / 0).
QVariant ToEngine(const QVariant &value);

// Columns of a result: names for RsField and what an update needs.
struct ColumnSet {
    QStringList names;           // qualified name (or alias) of each column, for messages
    QVector<ColType> types;
    QHash<QString, int> lookup;  // lower-case field name -> column
    mutable QHash<QString, int> spelled; // field name as callers spelled it -> column (found ones)
    // Names written as literals in the code (QStringLiteral), by the address of their text: a
    // literal is the same text at the same address on every call, and never changes. Strings
    // without their own storage are taken for literals, so field names are never made with
    // QString::fromRawData over a buffer that is reused.
    struct Literal {
        const QChar *text;
        qsizetype size;
        int column;
    };
    mutable QVector<Literal> literals;
    int find(const QString &name) const
    {
        // Callers ask for the same few names, spelled the same way, on every row: each spelling
        // is resolved once through the lower-case map and kept (a result's columns never change;
        // column sets live with one connection and are used from its thread only).
        const bool literal = !name.data_ptr().isMutable() && !name.isEmpty(); // no storage of its own
        if (literal) {
            for (const Literal &l : literals)
                if (l.text == name.constData() && l.size == name.size())
                    return l.column;
        }
        auto hit = spelled.constFind(name);
        if (hit != spelled.constEnd())
            return hit.value();
        auto it = lookup.constFind(name.toLower());
        const int c = it == lookup.constEnd() ? -1 : it.value();
        if (c >= 0) {
            spelled.insert(name, c);
            if (literal && literals.size() < 256)
                literals.append({name.constData(), name.size(), c});
        }
        return c;
    }
    // Updatable result sets (one table, primary key present).
    QString baseTable;           // empty when not updatable
    QStringList baseColumns;     // column of the base table behind each result column, or ""
    QVector<int> keyColumns;     // result columns of the primary key
    QVariantList defaults;       // default of each result column for a new row
};

struct TableInfo {
    bool exists = false;
    QStringList columns;
    QStringList types;
    QVector<int> pk;             // position in the primary key (1-based), 0 when not a key column
    QVariantList defaults;
};

// One statement shape: engine text, prepared query, column map.
struct Shape {
    QString engineSql;
    std::unique_ptr<QSqlQuery> query;     // owns the prepared statement
    sqlite3_stmt *stmt = nullptr;          // its handle, stepped directly (no per-run column setup)
    std::shared_ptr<const ColumnSet> columns; // null for action statements
};

struct QueryResult {
    std::shared_ptr<const ColumnSet> columns;
    QVector<QVariant> data;      // row-major
    int rows = 0;
    qint64 affected = 0;
};

struct Database::Impl {
    ~Impl();

    QString connName;
    QSqlDatabase db;
    sqlite3 *handle = nullptr;
    SqliteDialect dialect;
    QHash<QString, QString> params;  // lower-case name -> value
    bool cacheOn = true;
    DbStats stats;
    int txDepth = 0;
    QString connText;
    QHash<QString, std::shared_ptr<Shape>> shapes;
    QHash<QString, TableInfo> tables; // lower-case table name

    void close();
    void requireOpen(const QString &sql) const;
    // Runs a Jet statement: rows for a SELECT, records affected otherwise.
    QueryResult run(const QString &sql, bool wantSelect);
    qint64 runBound(const QString &sql, const QVariantList &values);
    // Runs engine text (internal write-backs) with bound values; returns records affected.
    qint64 runEngine(const QString &engineSql, const QVariantList &values, const QString &jetForErrors);
    const TableInfo &tableInfo(const QString &table);
    bool tableExists(const QString &table);
    void execPlain(const QString &engineSql); // transaction control and pragmas
    [[noreturn]] void fail(const QSqlError &err, const QString &statement) const;

private:
    std::shared_ptr<Shape> build(const jet::Statement &st, const QString &sql);
    std::shared_ptr<const ColumnSet> buildColumns(const QList<jet::Token> &tokens, sqlite3_stmt *stmt);
    void bindAndExec(Shape &shape, const QVariantList &values, const QString &sql, QueryResult &out, bool wantSelect);
};

} // namespace kem
