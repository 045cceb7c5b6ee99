#pragma once
// Building a company database file in one go: a private SQLite connection on a temporary file
// next to the target, the schema, one transaction for all rows, and the finished file moved
// into place only when everything succeeded (a failed run leaves the old file untouched).
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <initializer_list>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace kem {

// First failure of a build; later statements are skipped once it is set.
class BuildStatus {
public:
    bool ok() const { return error_.isEmpty(); }
    const QString &error() const { return error_; }
    void fail(const QString &message)
    {
        if (error_.isEmpty())
            error_ = message;
    }

private:
    QString error_;
};

// A prepared INSERT into one table; columns are named once, values bound by position.
// Bulk writing goes straight to the SQLite statement under the Qt connection: the generators
// write hundreds of thousands of rows, and Qt's per-row binding costs more than SQLite itself.
class RowInserter {
public:
    RowInserter(QSqlDatabase &db, BuildStatus &status, const QString &table,
                const QStringList &columns);
    ~RowInserter();
    RowInserter(const RowInserter &) = delete;
    RowInserter &operator=(const RowInserter &) = delete;

    // Inserts one row; after the first failure of the build it does nothing and returns false.
    bool add(std::initializer_list<QVariant> values);
    qint64 count() const { return count_; }

private:
    bool bind(int index, const QVariant &v);

    sqlite3 *db_ = nullptr;
    sqlite3_stmt *stmt_ = nullptr;
    BuildStatus &status_;
    QString table_;
    int columns_ = 0;
    qint64 count_ = 0;
};

class CompanyDbBuilder {
public:
    explicit CompanyDbBuilder(const QString &targetPath);
    ~CompanyDbBuilder(); // closes the connection; removes the temporary file unless finished
    CompanyDbBuilder(const CompanyDbBuilder &) = delete;
    CompanyDbBuilder &operator=(const CompanyDbBuilder &) = delete;

    // Creates the temporary database with the given tables (all of them when empty) and
    // opens the transaction that finish() commits.
    bool start(QString *error, const QStringList &tables = {});
    QSqlDatabase &db() { return db_; }
    BuildStatus &status() { return status_; }

    // Commits, closes and moves the file into place; reports the first failure of the build.
    bool finish(QString *error);

private:
    void close();

    QString target_;
    QString temp_;
    QString connection_;
    QSqlDatabase db_;
    BuildStatus status_;
    bool finished_ = false;
};

} // namespace kem
