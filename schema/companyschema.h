#pragma once
// The company database schema (schema.sql, built into the library as a Qt resource).
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace kem {

// Creates every table and index of the company database on an open connection, inside one
// transaction. On failure nothing is left behind, *error (when given) holds the failing
// statement and the engine's message, and the result is false.
bool CreateCompanySchema(QSqlDatabase &db, QString *error);

// Creates only the named tables (with their indexes), e.g. {"MenuDett"} for the menu database.
bool CreateSchemaTables(QSqlDatabase &db, const QStringList &tables, QString *error);

// The statements of schema.sql, one per entry, comments removed.
QStringList CompanySchemaStatements();

} // namespace kem
