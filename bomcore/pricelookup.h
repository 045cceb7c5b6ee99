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
#include <optional>

namespace kem {

// The value of a database flag column as the valuation compares it: a Boolean column gives
// "S" or "N", a text column its trimmed text.
QString FlagText(const QVariant &value);
// The same for a flag already read as text.
QString FlagText(const QString &text);
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

    // Reads in three statements the costs of one year, the promotions active on a date and the
    // list prices in force on that date, of every article and list; lookups of that year and
    // date then read from memory. Meant for one report run, under which the database does not
    // change. Throws DbError (and then keeps nothing).
    void preload(qint16 year, const QDate &date);
    // Back to one query per lookup.
    void forgetPreloaded();

private:
    // The six cost columns of one article and year, in the order of kCostColumns.
    using CostRow = std::array<double, 6>;
    // The row of the promotion that applies.
    struct PromoRow {
        double prezzo = 0, prezzoLire = 0;
        QString messProm, descrizione;
    };
    // The list price row that applies, with its list's discount rule.
    struct ListRow {
        double prezzo = 0, prezzoLire = 0;
        QString rule, discount, listRule, listDiscount;
    };
    static PromoRow readPromo(ResultSets &rs, const QString &h);
    static ListRow readList(ResultSets &rs, const QString &h);
    std::optional<PromoRow> promotion(const QString &article, const QString &list, const QDate &date);
    std::optional<ListRow> listRow(const QString &article, const QString &list, const QDate &date);

    QString yearlyCost(const QString &method, qint16 year, const QString &article,
                       const QString &currency, int decimals, double factor);
    QString listPrice(const QString &article, const QString &list, const QString &listIvato,
                      bool &przIvato, const QDate &date, const QString &currency, int decimals,
                      const QString &articleDiscount);

    Database &db_;
    const CompanyParams &params_;
    MessageSink &sink_;
    ResultSets rs_;
    // What preload() read; keys are codes as the database compares them.
    qint16 costsYear_ = 0;              // year of costs_, 0 when nothing is preloaded
    QDate pricesDate_;                  // date of promotions_ and lists_, null when none
    QHash<QString, CostRow> costs_;     // article -> costs
    QHash<QString, PromoRow> promotions_; // article, list -> promotion
    QHash<QString, ListRow> lists_;       // article, list -> list price
};

// A money value as the lookup returns it: rounded half away from zero to `decimals` places
// and written the Italian way.
QString MoneyText(double value, int decimals);

} // namespace kem
