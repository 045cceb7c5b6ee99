#pragma once
// Decode and list queries of the help component, through the database component.
#include "decodecatalog.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kem {

class Database;

struct DecodedCode {
    bool found = false;
    QString code;        // the code as stored (composite codes joined with ".")
    QString description;
    QString image;       // image file name (article kinds), empty otherwise
};

struct LookupRow {
    QString code;
    QString description;
    QString image;
    QStringList extra;   // the extra columns, in the order asked
};

class DecodeService {
public:
    explicit DecodeService(Database &db) : db_(db) {}

    // The row of `code` among the rows of the kind that pass `where` (Jet SQL, may be blank).
    // A code with no row gives found = false. Throws DecodeError (unknown kind) or DbError.
    DecodedCode Decode(const QString &kind, const QString &code, const QString &where = {});

    // Every row of the kind that passes `where`, ordered by code, with the extra columns
    // (plain column names, see ParseColumnList). Throws DecodeError or DbError.
    QList<LookupRow> Rows(const QString &kind, const QString &where = {},
                          const QStringList &extraColumns = {});

    // The select statement both use.
    static QString SelectStatement(const DecodeKind &kind, const QString &where,
                                   const QStringList &extraColumns);
private:
    Database &db_;
};

} // namespace kem
