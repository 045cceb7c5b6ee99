#pragma once
// One dialect object per database engine: it turns Jet statements (as tokens) into the
// engine's text, quotes names and maps the engine's errors to Jet error numbers. The SQLite
// one is below; a PostgreSQL one sits beside it when the data-source path is built.
#include "platform/db/jetsql.h"

#include <QString>

struct sqlite3;

namespace kem {

class Dialect {
public:
    virtual ~Dialect() = default;
    virtual QString Name() const = 0;
    // The engine's text for the statement; tokens marked `param` become placeholders "?",
    // other literals are written inline in the engine's syntax.
    virtual QString Translate(QList<jet::Token> tokens) const = 0;
    virtual QString QuoteName(const QString &name) const = 0;
    // Jet error number for an engine error (native code as the driver reports it, and text).
    virtual int ErrorNumber(const QString &nativeCode, const QString &message) const = 0;
};

// Jet on SQLite. Functions that SQLite lacks are registered on the connection
// (RegisterFunctions); only what cannot be a function is rewritten: "&" concatenation,
// TOP n, "Delete * from", #date# and double-quoted literals, [names], True/False, Mod,
// qualified targets in UPDATE ... SET, and function names that clash with SQLite's own.
class SqliteDialect final : public Dialect {
public:
    QString Name() const override { return QStringLiteral("SQLite"); }
    QString Translate(QList<jet::Token> tokens) const override;
    QString QuoteName(const QString &name) const override;
    int ErrorNumber(const QString &nativeCode, const QString &message) const override;

    // Registers the Jet functions (jet_first, jet_clng, jet_cat, ...) on a connection.
    static bool RegisterFunctions(sqlite3 *handle, QString *error);
};

} // namespace kem
