#pragma once
// The demo company: a small Italian furniture-and-fittings firm with multi-level BOMs, price
// lists, promotions, yearly costs, stock, customers, orders and quotes, and article images.
#include <QString>

namespace kem {

// Writes the whole company directory (ini files, dati/azienda.db, menu/menu.db, immagini/)
// into dir, replacing the files of an earlier run. The data are fixed except the years of
// stock and costs, which follow the clock (the current year and the ones before it back to
// the year of the demo documents). Returns false with *error set on failure; the company
// database is then left as it was.
bool WriteDemoCompany(const QString &dir, QString *error);

} // namespace kem
