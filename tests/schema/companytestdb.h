#pragma once
// Helpers of the schema tests: a read-only connection to a written company database that
// closes itself, and the whole content of a database as text for comparisons.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

class CompanyTestDb {
public:
    explicit CompanyTestDb(const QString &path)
        : name_(QStringLiteral("test_%1").arg(quintptr(this)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        open_ = db.open();
    }
    ~CompanyTestDb()
    {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    CompanyTestDb(const CompanyTestDb &) = delete;
    CompanyTestDb &operator=(const CompanyTestDb &) = delete;

    bool isOpen() const { return open_; }
    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

    // First column of the first row of a query; an invalid QVariant when it fails.
    QVariant scalar(const QString &sql) const
    {
        QSqlQuery q(db());
        if (!q.exec(sql) || !q.next())
            return {};
        return q.value(0);
    }

    QStringList columns(const QString &table) const
    {
        QStringList out;
        QSqlQuery q(db());
        if (q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
            while (q.next())
                out << q.value(1).toString();
        return out;
    }

    QStringList primaryKey(const QString &table) const
    {
        QStringList out;
        QSqlQuery q(db());
        if (q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
            while (q.next())
                if (q.value(5).toInt() > 0)
                    out << q.value(1).toString();
        return out;
    }

    // Every row of every table as text, tables and rows in a fixed order.
    QStringList dump() const
    {
        QStringList out;
        QStringList tables = db().tables();
        tables.sort();
        for (const QString &t : tables) {
            QSqlQuery q(db());
            const QString order = primaryKey(t).join(QStringLiteral(", "));
            if (!q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                            .arg(t, order.isEmpty() ? QStringLiteral("1") : order))) {
                out << t + QStringLiteral(": query failed");
                continue;
            }
            while (q.next()) {
                QStringList row;
                for (int i = 0; i < q.record().count(); ++i)
                    row << (q.value(i).isNull() ? QStringLiteral("<null>")
                                                : q.value(i).toString());
                out << t + QStringLiteral(": ") + row.join(QLatin1Char('|'));
            }
        }
        return out;
    }

private:
    QString name_;
    bool open_ = false;
};
