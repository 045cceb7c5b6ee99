#pragma once
// Value of a quantity of an article, walking its bill of materials down to the leaves: a leaf
// through its cost or list price, an assembly as the sum of its links.
#include "bom/bompath.h"
#include "bom/pricelookup.h"
#include "common/companyparams.h"
#include "common/messages.h"
#include "platform/db/kemdb.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
#include <deque>
#include <optional>

namespace kem {

class CostRollup {
public:
    // Straightforward: every valuation reads what it needs (one links query per assembly, one
    // article query per link). Cached: the same reads are made once per run and kept.
    enum class Path { Straightforward, Cached };

    CostRollup(Database &db, const CompanyParams &params, MessageSink &sink, PriceLookup &prices);

    // One link of an assembly, and one article, as the valuation reads them.
    struct LinkRow {
        QString figlio, um, qualeImporto, listino, listIvato;
        double qta = 0;
    };
    struct ArticleRow {
        QString artUM, artUMVen, artUMAcq, sconto, descrizione, immagine;
        double fatConVen = 1, fatConAcq = 1, aliquota = 0;
        int distBase = 0;
    };
    // The links of an assembly in the order of its own query (none for a leaf), and an
    // article's row (nullopt when there is no such article). On the cached path they come from
    // what preload() read, or are read once and kept until clearCache(); article() on the
    // straightforward path reads the database every time.
    const QVector<LinkRow> &linksOf(const QString &article);
    std::optional<ArticleRow> article(const QString &code);


    // The report's override of every leaf's valuation method, price list and list VAT flag
    // (osQualePrezzo, osListino, osListIvato); a blank method keeps each link's own.
    void setOverride(const QString &qualePrezzo, const QString &listino, const QString &listIvato);
    // Changing the path empties the cache.
    void setPath(Path path);
    Path path() const { return path_; }
    // Forgets what the cached path has read: call at the start of every report run.
    void clearCache();
    // Cached path: reads in six statements every link, article and price list of the company,
    // the working year's costs and the promotions and list prices in force on the working
    // date, so that a run over many parents reads rows in bulk instead of one query per
    // assembly, article and price. Does nothing on the straightforward path. Throws DbError
    // (the cache then stays empty and fills itself row by row).
    void preload();

    // Values pdQta of psArticolo into pdPrz (0 when it fails). psUM, pdQtaMovim and pdFattConv
    // are carried for the callers; piLivello only marks the depth (1 from the report, 2 below).
    bool CreaMovDiBaLegami(const QString &psArticolo, const QString &psUM, const QString &psSconto,
                           double pdQta, qint16 piLivello, double &pdPrz, double pdQtaMovim,
                           double pdFattConv, const QString &psQualeImporto,
                           const QString &psQualeListino, qint16 piProdDistBase);
    // Values the link on which the result set psRecDat of pgRecDat stands, for pdQta of its
    // assembly, into pdValRiga.
    bool CreaMovDiBaScar(ResultSets &pgRecDat, const QString &psRecDat, double pdQta,
                         double &pdValRiga, qint16 piLivello);

private:
    struct Price {
        double value = 0;
        bool przIvato = false;
    };
    // What a price depends on: method (trimmed, upper case), article and list codes, list VAT
    // flag, discount.
    struct PriceKey {
        QString method, article, list, flag, sconto;
        bool operator==(const PriceKey &o) const
        {
            return article == o.article && method == o.method && list == o.list && flag == o.flag
                && sconto == o.sconto;
        }
        friend size_t qHash(const PriceKey &k, size_t seed = 0)
        {
            return qHashMulti(seed, k.article, k.method, k.list, k.flag, k.sconto);
        }
    };
    // An assembly's value depends on its code and quantity only (its links carry their own
    // method, list and discount), so a value found for an assembly serves every valuation that
    // reaches it with that quantity, whatever its method.
    struct AssemblyKey {
        QString article;  // as CodeKey gives it
        quint64 qty = 0;  // exact bits of the quantity (-0 as 0)
        bool operator==(const AssemblyKey &o) const { return qty == o.qty && article == o.article; }
        friend size_t qHash(const AssemblyKey &k, size_t seed = 0) { return qHashMulti(seed, k.article, k.qty); }
    };
    // A failure is kept for its own method, list and discount only, so that another way of
    // reaching the assembly tells its messages again.
    struct FailureKey {
        AssemblyKey assembly;
        QString sconto, method, list;
        bool operator==(const FailureKey &o) const
        {
            return assembly == o.assembly && sconto == o.sconto && method == o.method && list == o.list;
        }
        friend size_t qHash(const FailureKey &k, size_t seed = 0)
        {
            return qHashMulti(seed, k.assembly, k.sconto, k.method, k.list);
        }
    };

    bool legami(const QString &article, const QString &sconto, double qta, double &prz,
                const QString &method, const QString &list, qint16 kind);
    bool legamiStraightforward(const QString &article, const QString &sconto, double qta,
                               double &prz, const QString &method, const QString &list, qint16 kind);
    bool legamiCached(const QString &article, const QString &sconto, double qta, double &prz,
                      const QString &method, const QString &list, qint16 kind);
    double leafValue(const QString &article, const QString &sconto, double qta,
                     const QString &method, const QString &list);
    bool valueLink(const LinkRow &link, double qta, double &valRiga);

    static LinkRow readLink(ResultSets &rs, const QString &h);
    static ArticleRow readArticle(ResultSets &rs, const QString &h);
    QString linksSql(const QString &article) const;
    std::optional<ArticleRow> queryArticle(const QString &code);
    // The row of an article, nullptr when it does not exist. On the cached path it stays where
    // it is until clearCache(); on the straightforward path it is read into holder.
    const ArticleRow *articleRow(const QString &code, std::optional<ArticleRow> &holder);
    QString listVatFlag(const QString &list);
    Price price(const QString &method, const QString &article, const QString &list,
                const QString &listIvato, const QString &sconto);

    // The path of assemblies being valued, outermost first, to catch a structure that
    // contains itself.
    bool enterAssembly(const QString &article);
    void leaveAssembly();

    void reportError(const std::exception &e);

    Database &db_;
    const CompanyParams &params_;
    MessageSink &sink_;
    PriceLookup &prices_;
    ResultSets rs_;
    Path path_ = Path::Straightforward;
    QString qualePrezzo_, listino_, listIvato_;

    BomPath valuing_;

    // Cache of the cached path. It lives for one report run: the company database does not
    // change under a run, so rows and values read once stay true until clearCache().
    QHash<QString, QVector<LinkRow>> links_;          // assembly -> its links, query order
    QHash<QString, const ArticleRow *> articles_; // code -> row in articleRows_, nullptr when missing
    std::deque<ArticleRow> articleRows_;          // rows read, at fixed addresses
    QHash<QString, QString> listVat_;                // list -> its VAT flag
    QHash<PriceKey, Price> pricesCache_;
    QHash<AssemblyKey, double> values_;    // assemblies valued, by code and quantity
    QSet<FailureKey> failures_;            // assemblies whose valuation failed
    bool allLinks_ = false;    // links_ holds every assembly: one not in it has no links
    bool allArticles_ = false; // articles_ holds every article: one not in it is missing
    bool allLists_ = false;    // listVat_ holds every list: one not in it has no flag
};

} // namespace kem
