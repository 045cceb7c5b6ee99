#pragma once
// DbComponent: the operations the connection routines ask of a database object (named
// parameters and the open), so that the login, password and repair paths can be exercised
// with a test double. CompanyDb is the real one, over kem::Database.
#include "platform/db/kemdb.h"

#include <QString>
#include <QVariant>
#include <memory>

namespace kem {

class DbComponent {
public:
    virtual ~DbComponent() = default;
    virtual QString DbParamGet(const QString &name) const = 0;
    virtual void DbParamSet(const QString &name, const QString &value) = 0;
    // Returns the connection text; throws kem::DbError.
    virtual QString DbOpen(const QString &name, bool exclusive, bool readOnly,
                           const QString &connect, const QVariant &extra) = 0;
    virtual void DbClose() = 0;
    // The database behind the object; nullptr for a stand-in without one.
    virtual Database *database() = 0;
};

class CompanyDb : public DbComponent {
public:
    CompanyDb() : db_(std::make_unique<Database>()) {}
    QString DbParamGet(const QString &name) const override { return db_->DbParamGet(name); }
    void DbParamSet(const QString &name, const QString &value) override { db_->DbParamSet(name, value); }
    QString DbOpen(const QString &name, bool exclusive, bool readOnly, const QString &connect,
                   const QVariant &extra) override
    {
        return db_->DbOpen(name, exclusive, readOnly, connect, extra);
    }
    void DbClose() override { db_->DbClose(); }
    Database *database() override { return db_.get(); }

private:
    std::unique_ptr<Database> db_;
};

} // namespace kem
