#include "companydbbuilder.h"

#include "companyschema.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>

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
    : query_(db), status_(status), table_(table), columns_(int(columns.size()))
{
    if (!status_.ok())
        return;
    QStringList marks;
    for (int i = 0; i < columns_; ++i)
        marks << QStringLiteral("?");
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, columns.join(QStringLiteral(", ")),
                                 marks.join(QStringLiteral(", ")));
    if (!query_.prepare(sql))
        status_.fail(sql + QStringLiteral(": ") + query_.lastError().text());
}

bool RowInserter::add(std::initializer_list<QVariant> values)
{
    if (!status_.ok())
        return false;
    if (int(values.size()) != columns_) {
        status_.fail(QStringLiteral("%1: %2 valori per %3 colonne (%4)")
                         .arg(table_).arg(values.size()).arg(columns_).arg(ValuesText(values)));
        return false;
    }
    int i = 0;
    for (const QVariant &v : values)
        query_.bindValue(i++, v);
    if (!query_.exec()) {
        status_.fail(QStringLiteral("%1 (%2): %3")
                         .arg(table_, ValuesText(values), query_.lastError().text()));
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
