#pragma once
// The stock of an article in a warehouse year, from its progressives (ArticoliProg): stock
// ("Giacenza") = initial + loaded - unloaded; availability ("Disponibilità") = stock + ordered
// from suppliers - committed to customers. Every warehouse and sub-level is summed unless a
// warehouse is given; an article without progressives has 0 of both.
#include "platform/db/kemdb.h"

#include <QHash>
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

// The sums of every article of a warehouse year, read in one grouped statement the first time
// the year is asked for and kept: what ReadStockSums gives article by article, for runs that
// ask for many articles.
class StockSumsTable {
public:
    StockSumsTable(Database &db, QString warehouse, int qtyDecimals)
        : db_(db), warehouse_(std::move(warehouse)), decimals_(qtyDecimals) {}
    StockSums get(int year, const QString &article);
    void clear() { years_.clear(); }

private:
    Database &db_;
    QString warehouse_;
    int decimals_;
    QHash<int, QHash<QString, StockSums>> years_; // year -> folded article code -> sums
};

} // namespace kem
