#pragma once
// Unit value of one article by one valuation method: a yearly cost ("M" average, "U" last,
// "S" standard) or a list price (promotion, else the most recent list price with the list's
// discount rules).
#include "common/companyparams.h"
#include "common/messages.h"
#include "platform/db/kemdb.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <array>

namespace kem {

// The value of a database flag column as the valuation compares it: a Boolean column gives
// "S" or "N", a text column its trimmed text.
QString FlagText(const QVariant &value);
// True when a flag text is "S" (any case).
bool FlagIsS(const QString &flag);

class PriceLookup {
public:
    PriceLookup(Database &db, const CompanyParams &params, MessageSink &sink);

    // Returns the value as text with piNumDecMonGes decimals, empty when no cost or price
    // applies. pbPrzIvato tells whether a list price includes VAT. psCausDest, psCausProv,
    // psUnitaDa, psUnitaA and psUM are carried for the callers and not used.
    QString CercaListinoDett(const QString &psQualeImporto, const QString &psCausDest,
                             const QString &psCausProv, const QString &psUnitaDa,
                             const QString &psUnitaA, qint16 piAnno, const QString &psArticolo,
                             const QString &psListino, const QString &psListIvato, bool &pbPrzIvato,
                             const QDate &psDataReg, const QString &psMoneta, qint16 piNumDecMonGes,
                             double pdFatConv, const QString &psUM, const QString &psSconto);

    // Reads the costs of one year of every article in one statement; cost lookups of that year
    // then read from memory. Meant for one report run, under which the database does not
    // change. Throws DbError.
    void preloadCosts(qint16 year);
    // Back to one query per cost lookup.
    void forgetPreloadedCosts();

private:
    // The six cost columns of one article and year, in the order of kCostColumns.
    using CostRow = std::array<double, 6>;

    QString yearlyCost(const QString &method, qint16 year, const QString &article,
                       const QString &currency, int decimals, double factor);
    QString listPrice(const QString &article, const QString &list, const QString &listIvato,
                      bool &przIvato, const QDate &date, const QString &currency, int decimals,
                      const QString &articleDiscount);

    Database &db_;
    const CompanyParams &params_;
    MessageSink &sink_;
    ResultSets rs_;
    qint16 costsYear_ = 0;              // year of costs_, 0 when nothing is preloaded
    QHash<QString, CostRow> costs_;     // article (as the database compares codes) -> costs
};

// A money value as the lookup returns it: rounded half away from zero to `decimals` places
// and written the Italian way.
QString MoneyText(double value, int decimals);

} // namespace kem
