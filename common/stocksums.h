#pragma once
// The stock of an article in a warehouse year, from its progressives (ArticoliProg): stock
// ("Giacenza") = initial + loaded - unloaded; availability ("Disponibilità") = stock + ordered
// from suppliers - committed to customers. Every warehouse and sub-level is summed unless a
// warehouse is given; an article without progressives has 0 of both.
#include "platform/db/kemdb.h"

#include <QString>

namespace kem {

struct StockSums {
    double giacenza = 0;
    double disponibilita = 0;
};

// The statement of the sums; warehouse blank: every warehouse.
QString StockSumsSql(int year, const QString &article, const QString &warehouse);
// Both figures rounded half away from zero to qtyDecimals places.
StockSums ReadStockSums(Database &db, int year, const QString &article, const QString &warehouse,
                        int qtyDecimals);

} // namespace kem
