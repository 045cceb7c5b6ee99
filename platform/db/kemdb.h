#pragma once
// Database component: the company database object and the result-set service. Every
// statement of the module is Jet SQL text; only this layer knows the engine (SQLite here).
//
// Engine errors surface as kem::DbError carrying the Jet error number the callers test:
//   3024 file not found            3031 wrong password          3059 login refused / cancelled
//   3078 table not found           3061 unknown column           3075 syntax error
//   3022 duplicate key             3021 no current record        3265 item not in collection
//   3020 update without edit       3260 / 3218 locked            3343 damaged file / not a database
//   3027 read-only                 3085 unknown function         3420 closed handle
//   3151 data-source connection failed; 3000 anything else.
//
// Password stand-in: SQLite files carry no password. A company file may hold one in the
// table KemAccesso (column Password, one row); when it is present and not blank, DbOpen
// fails with 3031 unless the parameter "DbAccPWD" (either the bare password or the
// ";pwd=..." form) or a "pwd=" item of the connect text matches it exactly.
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <stdexcept>

namespace kem {

// An engine error carrying the Jet error number the callers test
// (3343 damaged or not a database, 3031 wrong password, 3059 refused login, ...).
// An error of the data access layer: its Jet number, the Italian text a user reads (with the
// object the engine named), the engine's own message and the statement.
class DbError : public std::runtime_error {
public:
    // engineMessage: what the engine (or the layer) said, in its own words.
    DbError(int number, const QString &engineMessage, const QString &statement = {});
    int number() const { return number_; }
    QString description() const { return description_; }
    QString engineMessage() const { return engineMessage_; }
    QString statement() const { return statement_; }
private:
    int number_;
    QString description_;
    QString engineMessage_;
    QString statement_;
};

struct DbStats {
    qint64 statements = 0; // statements run (queries, actions, write-backs)
    qint64 prepared = 0;   // statements prepared by the engine (statement-cache misses)
};

class DaoDatabase;

class Database {
public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens a database. A name with a "." (not ending ".dsn", not starting "ODBC;") is an
    // SQLite file, which must exist; a data-source name is not supported yet (3059 for a
    // name that needs a login, 3151 for an "ODBC;" text). readOnly opens the file read-only,
    // exclusive takes an exclusive lock. Returns the connection text; throws DbError.
    QString DbOpen(const QString &name, bool exclusive = false, bool readOnly = false,
                   const QString &connect = {}, const QVariant &extra = {});
    void DbClose();
    // Runs an action statement; returns the records affected. Throws DbError.
    qint64 DbExecute(const QString &sql);
    // Runs an action statement whose values are "?" markers, with `values` bound to them in
    // order: for statements run many times with other values, the text is translated and
    // prepared once (with the statement cache on) and never built from the values.
    qint64 DbExecute(const QString &sql, const QVariantList &values);
    // Named connection parameters ("DbAccPWD", "DbSqlPubUID", "DbSqlPubPWD", ...), names
    // without regard to case; an unknown name reads as empty text.
    QString DbParamGet(const QString &name) const;
    void DbParamSet(const QString &name, const QString &value);
    // The auxiliary data-access object on the same database.
    DaoDatabase &DbDaoGet();

    // Transactions; they nest (inner levels are savepoints). Throws DbError 3034 when there
    // is no transaction to commit or roll back.
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    int transactionDepth() const;

    bool isOpen() const;
    QString connectionText() const;
    bool TableExists(const QString &table);

    // Statement cache: on by default. Off, every statement is translated and prepared again
    // with its literals written inline.
    void setStatementCache(bool on);
    bool statementCache() const;
    DbStats stats() const;
    void resetStats();

    struct Impl;
    Impl &impl();
private:
    std::shared_ptr<Impl> d;
    std::unique_ptr<DaoDatabase> dao_;
    friend class ResultSets;
};

// Auxiliary data-access object of a Database (the one DbDaoGet returns): execute with the
// records affected, and the table-exists test.
class DaoDatabase {
public:
    explicit DaoDatabase(Database &db) : db_(db) {}
    qint64 Execute(const QString &sql);
    qint64 RecordsAffected() const { return affected_; }
    bool TableExists(const QString &table) { return db_.TableExists(table); }
private:
    Database &db_;
    qint64 affected_ = 0;
};

// Rolls back unless commit() was called.
class TransactionGuard {
public:
    explicit TransactionGuard(Database &db);
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard &) = delete;
    TransactionGuard &operator=(const TransactionGuard &) = delete;
    void commit();
private:
    Database &db_;
    bool done_ = false;
};

// A report's transaction: the statements of a run see one consistent state of the database
// and its scratch writes are batched. It commits on scope exit (what the run wrote stays,
// even when the run ends with an error, as each statement would have in autocommit).
class ReadTransaction {
public:
    explicit ReadTransaction(Database &db);
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction &) = delete;
    ReadTransaction &operator=(const ReadTransaction &) = delete;
private:
    Database &db_;
    bool active_ = false;
};

// Result-set service: one per routine; every open result set is addressed by the text
// handle RsOpen returns. Destroying the service closes what is still open.
// Field names: "Table.Column" / "Alias.Column" (any case) or a plain name (an AS alias, or
// the first column of that name). Values: QDate for DATE columns, double for DOUBLE, int for
// INTEGER, bool for BOOLEAN, QString for text, an invalid QVariant for Null.
// Result sets of one table (no join, no grouping) whose primary key is among the columns
// are updatable: RsEdit / RsAddNew, RsFieldSet, RsUpdate write back by the original key.
class ResultSets {
public:
    ResultSets();
    ~ResultSets();
    ResultSets(const ResultSets &) = delete;
    ResultSets &operator=(const ResultSets &) = delete;

    // updatable = true asks for an updatable result set and fails with 3027 when it cannot be.
    QString RsOpen(Database &db, const QString &sql, bool updatable = false);
    bool RsIsEmpty(const QString &h);
    void RsMoveFirst(const QString &h);
    void RsMoveNext(const QString &h);
    bool RsEof(const QString &h);
    qint64 RsCount(const QString &h);
    QVariant RsField(const QString &h, const QString &name);
    // The columns of a result set by position (qualified names as the column map has them).
    QStringList RsFieldNames(const QString &h);
    QVariant RsFieldAt(const QString &h, int index);
    void RsEdit(const QString &h);
    void RsAddNew(const QString &h);
    void RsFieldSet(const QString &h, const QString &name, const QVariant &value);
    void RsUpdate(const QString &h);
    void RsCancelUpdate(const QString &h);
    void RsClose(const QString &h);
    // Closes every open result set.
    void RsCloseAll();
    int openCount() const;
private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Closes one result set on scope exit.
class RsGuard {
public:
    RsGuard(ResultSets &rs, QString handle) : rs_(rs), h_(std::move(handle)) {}
    ~RsGuard();
    RsGuard(const RsGuard &) = delete;
    RsGuard &operator=(const RsGuard &) = delete;
    const QString &handle() const { return h_; }
    operator const QString &() const { return h_; }
private:
    ResultSets &rs_;
    QString h_;
};

} // namespace kem
