#pragma once
// The demo company in a temporary directory, with its database open.
#include "schema/democompany.h"
#include "platform/db/kemdb.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

struct DemoCompany {
    QTemporaryDir dir;
    kem::Database db;

    // False (with the reason in *error) when the company cannot be written or opened.
    bool open(QString *error)
    {
        if (!dir.isValid()) {
            *error = QStringLiteral("temporary directory");
            return false;
        }
        if (!kem::WriteDemoCompany(dir.path(), error))
            return false;
        try {
            db.DbOpen(dir.filePath(QStringLiteral("dati/azienda.db")));
        } catch (const kem::DbError &e) {
            *error = e.description();
            return false;
        }
        return true;
    }
    QString imageDir() const { return dir.filePath(QStringLiteral("immagini")); }
};
