#pragma once
// The Italian texts of the data access layer's error numbers: what a user reads for an error
// of the database engine, whichever engine it came from.
#include <QString>

namespace kem {

// The text of a Jet error number, with the object the engine named (a table, a column, a
// file) when its message names one; "Errore del motore di database" for a number without a
// text of its own.
QString JetErrorText(int number, const QString &engineMessage);

} // namespace kem
