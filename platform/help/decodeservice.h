#pragma once
// Decode and list queries of the help component, through the database component.
#include "platform/help/decodecatalog.h"

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

    // The rows of the kind that pass `where`, ordered by code, with the extra columns
    // (plain column names, see ParseColumnList). A non-blank `startsWith` keeps the rows whose
    // code or description begins with it (any case; range conditions, so the indexes of the
    // code and description serve large tables); limit > 0 returns at most that many rows.
    // Throws DecodeError or DbError.
    QList<LookupRow> Rows(const QString &kind, const QString &where = {},
                          const QStringList &extraColumns = {}, const QString &startsWith = {},
                          int limit = 0);

    // The select statement both use (top > 0: "Select TOP top ...").
    static QString SelectStatement(const DecodeKind &kind, const QString &where,
                                   const QStringList &extraColumns, int top = 0);
    // The condition "expression begins with text" as a range: expression >= text And
    // expression < text followed by the highest character.
    static QString StartsWithCondition(const QString &expression, const QString &text);
private:
    Database &db_;
};

} // namespace kem
