#include "schema/companydbbuilder.h"

#include "schema/companyschema.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

namespace kem {

namespace {

QString ValuesText(std::initializer_list<QVariant> values)
{
    QStringList parts;
    for (const QVariant &v : values)
        parts << (v.isNull() ? QStringLiteral("NULL") : v.toString());
    return parts.join(QStringLiteral(", "));
}

QString NextConnectionName()
{
    static QAtomicInteger<int> serial = 0;
    return QStringLiteral("kem_company_builder_%1").arg(serial.fetchAndAddRelaxed(1));
}

} // namespace

RowInserter::RowInserter(QSqlDatabase &db, BuildStatus &status, const QString &table,
                         const QStringList &columns)
    : status_(status), table_(table), columns_(int(columns.size()))
{
    if (!status_.ok())
        return;
    const QVariant handle = db.isValid() && db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0 ||
        !(db_ = *static_cast<sqlite3 *const *>(handle.constData()))) {
        status_.fail(table + QStringLiteral(": connessione SQLite non aperta"));
        return;
    }
    QStringList marks;
    for (int i = 0; i < columns_; ++i)
        marks << QStringLiteral("?");
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, columns.join(QStringLiteral(", ")),
                                 marks.join(QStringLiteral(", ")));
    if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &stmt_, nullptr) != SQLITE_OK) {
        status_.fail(sql + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db_)));
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
}

RowInserter::~RowInserter()
{
    sqlite3_finalize(stmt_);
}

bool RowInserter::bind(int index, const QVariant &v)
{
    // A null QString is NULL, as Qt's own binding has it; an empty one is ''.
    if (v.isNull() ||
        (v.typeId() == QMetaType::QString && static_cast<const QString *>(v.constData())->isNull()))
        return sqlite3_bind_null(stmt_, index) == SQLITE_OK;
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return sqlite3_bind_int64(stmt_, index, v.toLongLong()) == SQLITE_OK;
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(stmt_, index, v.toDouble()) == SQLITE_OK;
    case QMetaType::QDate:
        return bind(index, v.toDate().toString(Qt::ISODate));
    default: {
        const QByteArray text = v.toString().toUtf8();
        return sqlite3_bind_text(stmt_, index, text.constData(), int(text.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    }
    }
}

bool RowInserter::add(std::initializer_list<QVariant> values)
{
    if (!status_.ok() || !stmt_)
        return false;
    if (int(values.size()) != columns_) {
        status_.fail(QStringLiteral("%1: %2 valori per %3 colonne (%4)")
                         .arg(table_).arg(values.size()).arg(columns_).arg(ValuesText(values)));
        return false;
    }
    int i = 0;
    bool bound = true;
    for (const QVariant &v : values)
        bound = bind(++i, v) && bound;
    const int rc = bound ? sqlite3_step(stmt_) : SQLITE_MISUSE;
    sqlite3_reset(stmt_);
    if (rc != SQLITE_DONE) {
        status_.fail(QStringLiteral("%1 (%2): %3")
                         .arg(table_, ValuesText(values), QString::fromUtf8(sqlite3_errmsg(db_))));
        return false;
    }
    ++count_;
    return true;
}

CompanyDbBuilder::CompanyDbBuilder(const QString &targetPath)
    : target_(targetPath), temp_(targetPath + QStringLiteral(".tmp")),
      connection_(NextConnectionName())
{
}

CompanyDbBuilder::~CompanyDbBuilder()
{
    close();
    if (!finished_)
        QFile::remove(temp_);
}

void CompanyDbBuilder::close()
{
    if (db_.isValid()) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
    }
}

bool CompanyDbBuilder::start(QString *error, const QStringList &tables)
{
    auto fail = [&](const QString &m) {
        status_.fail(m);
        if (error)
            *error = m;
        return false;
    };
    if (!QDir().mkpath(QFileInfo(target_).absolutePath()))
        return fail(QStringLiteral("Impossibile creare la cartella di ") + target_);
    if (QFile::exists(temp_) && !QFile::remove(temp_))
        return fail(QStringLiteral("Impossibile rimuovere ") + temp_);
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db_.setDatabaseName(temp_);
    if (!db_.open())
        return fail(temp_ + QStringLiteral(": ") + db_.lastError().text());
    {
        // The file is only moved into place after a successful commit, so the journal
        // buys nothing here: keep writing fast.
        QSqlQuery q(db_);
        for (const char *pragma : {"PRAGMA journal_mode=OFF", "PRAGMA synchronous=OFF",
                                   "PRAGMA cache_size=-65536"}) {
            if (!q.exec(QString::fromLatin1(pragma)))
                return fail(QString::fromLatin1(pragma) + QStringLiteral(": ") +
                            q.lastError().text());
        }
    }
    QString err;
    const bool created = tables.isEmpty() ? CreateCompanySchema(db_, &err)
                                          : CreateSchemaTables(db_, tables, &err);
    if (!created)
        return fail(err);
    if (!db_.transaction())
        return fail(db_.lastError().text());
    return true;
}

bool CompanyDbBuilder::finish(QString *error)
{
    auto fail = [&](const QString &m) {
        status_.fail(m);
        if (error)
            *error = status_.error();
        return false;
    };
    if (!db_.isValid() || !db_.isOpen())
        return fail(QStringLiteral("Database non aperto: ") + target_);
    if (!status_.ok()) {
        db_.rollback();
        return fail(status_.error());
    }
    if (!db_.commit()) {
        const QString m = db_.lastError().text();
        db_.rollback();
        return fail(m);
    }
    close();
    if (QFile::exists(target_) && !QFile::remove(target_))
        return fail(QStringLiteral("Impossibile sostituire ") + target_);
    if (!QFile::rename(temp_, target_))
        return fail(QStringLiteral("Impossibile scrivere ") + target_);
    finished_ = true;
    return true;
}

} // namespace kem
