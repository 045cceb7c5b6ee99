#pragma once
// Database component: the company database object and the result-set service. Every
// statement of the module is Jet SQL text; only this layer knows the engine (SQLite here).
#include <QHash>
#include <QString>
#include <QVariant>
#include <memory>
#include <stdexcept>

namespace kem {

// An engine error carrying the Jet error number the callers test
// (3343 damaged or not a database, 3031 wrong password, 3059 refused login, ...).
class DbError : public std::runtime_error {
public:
    DbError(int number, const QString &description, const QString &statement = {});
    int number() const { return number_; }
    QString description() const { return description_; }
    QString statement() const { return statement_; }
private:
    int number_;
    QString description_;
    QString statement_;
};

struct DbStats {
    qint64 statements = 0; // statements run (queries and actions)
    qint64 prepared = 0;   // statements prepared by the engine (statement-cache misses)
};

class Database {
public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens a database: a name with a "." is an SQLite file. Returns the connection text;
    // throws DbError on failure.
    QString DbOpen(const QString &name, bool exclusive = false, bool readOnly = false,
                   const QString &connect = {}, const QVariant &extra = {});
    // Runs an action statement; returns the records affected. Throws DbError.
    qint64 DbExecute(const QString &sql);
    QString DbParamGet(const QString &name) const;
    void DbParamSet(const QString &name, const QString &value);
    // (DbDaoGet and the rest: see the implementation.)

    void BeginTrans();
    void CommitTrans();
    void Rollback();

    bool isOpen() const;
    DbStats stats() const;

    struct Impl;
    Impl &impl();
private:
    std::unique_ptr<Impl> d;
};

// Result-set service: one per routine; every open result set is addressed by the text
// handle RsOpen returns. Destroying the service closes what is still open.
class ResultSets {
public:
    ResultSets();
    ~ResultSets();
    QString RsOpen(Database &db, const QString &sql, bool updatable = false);
    bool RsIsEmpty(const QString &h);
    void RsMoveFirst(const QString &h);
    void RsMoveNext(const QString &h);
    bool RsEof(const QString &h);
    qint64 RsCount(const QString &h);
    QVariant RsField(const QString &h, const QString &name);
    void RsEdit(const QString &h);
    void RsAddNew(const QString &h);
    void RsFieldSet(const QString &h, const QString &name, const QVariant &value);
    void RsUpdate(const QString &h);
    void RsClose(const QString &h);
private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace kem
