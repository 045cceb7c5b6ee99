#pragma once
// Helpers of the valuation tests: a message sink that records, and a small company database
// built by the test itself.
#include "common/companyparams.h"
#include "common/messages.h"
#include "schema/companyschema.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>

namespace kemtest {

class RecordingSink : public kem::MessageSink {
public:
    int msgCom(const QString &text, const QStringList &buttons, int defaultButton = 1,
               const QString &caption = {}) override
    {
        Q_UNUSED(caption)
        messages << text;
        lastButtons = buttons;
        return defaultButton;
    }
    void MsgErrfrm(const QString &number, const QString &description, const QString &prefix = {},
                   const QString &suffix = {}) override
    {
        errors << kem::ErrorText(number, description, prefix, suffix);
    }
    void clear()
    {
        messages.clear();
        errors.clear();
    }
    QStringList messages;
    QStringList errors;
    QStringList lastButtons;
};

// Creates the company schema in a new SQLite file at path and runs the given statements.
inline bool BuildCompanyDb(const QString &path, const QStringList &statements, QString *error)
{
    QFile::remove(path);
    const QString name = QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            *error = db.lastError().text();
            ok = false;
        } else if (!kem::CreateCompanySchema(db, error)) {
            ok = false;
        } else {
            db.transaction();
            QSqlQuery q(db);
            for (const QString &s : statements) {
                if (!q.exec(s)) {
                    *error = s + ": " + q.lastError().text();
                    ok = false;
                    break;
                }
            }
            ok ? db.commit() : db.rollback();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// Company parameters of the fixtures: euro, 2 value decimals, 3 quantity decimals.
inline kem::CompanyParams FixtureParams()
{
    kem::CompanyParams p;
    p.numDecQta = 3;
    p.moneta = QStringLiteral("Euro");
    p.codLira = QStringLiteral("L.");
    p.codEuro = QStringLiteral("Euro");
    p.current.numDec = 2;
    p.current.numDecGest = 2;
    p.workingDate = QDate(2026, 6, 15);
    p.arrotIvaEuro = QStringLiteral("A");
    return p;
}

} // namespace kemtest
