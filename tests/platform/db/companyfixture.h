#pragma once
// A small company database for the database-layer tests: the real schema plus a handful of
// rows written here, so that each statement of the module has rows to find and rows to miss.
#include <QString>
#include <QTemporaryDir>

namespace kemtest {

// Creates DIR/azienda.db with the company schema and the fixture rows. Returns the file
// path, or an empty text with *error set.
QString CreateFixtureCompany(const QString &dir, QString *error);

// Writes an empty SQLite file with the schema only.
QString CreateEmptyCompany(const QString &dir, const QString &fileName, QString *error);

// Runs plain SQLite statements on a file outside the layer under test.
bool RunOnFile(const QString &file, const QStringList &statements, QString *error);

} // namespace kemtest
