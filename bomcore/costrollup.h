#pragma once
// Value of a quantity of an article, walking its bill of materials down to the leaves: a leaf
// through its cost or list price, an assembly as the sum of its links. The structure comes from
// a BomReader; values may be kept for a run (setKeepValues), when the reads do not change under
// it.
#include "bomcore/bomcycles.h"
#include "bomcore/bompath.h"
#include "bomcore/bomreader.h"
#include "bomcore/messagelog.h"
#include "bomcore/pricelookup.h"
#include "common/companyparams.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>
#include <optional>
#include <vector>

namespace kem {

class CostRollup {
public:
    // Messages go through log (the price lookup's sink should be the same log); a cycle is told
    // only the first time `cycles` meets it.
    CostRollup(BomReader &reader, PriceLookup &prices, const CompanyParams &params, MessageLog &log,
               BomCycles &cycles);

    // The report's override of every leaf's valuation method, price list and list VAT flag
    // (osQualePrezzo, osListino, osListIvato); a blank method keeps each link's own.
    void setOverride(const QString &qualePrezzo, const QString &listino, const QString &listIvato);
    // Keep prices and assembly values for the run: a value found once serves every later
    // valuation that needs it, and tells again the messages its working out told.
    void setKeepValues(bool keep);
    // Forgets the kept values: call at the start and end of every report run.
    void clearCache();

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
        QVector<MessageLog::Entry> told;
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
        // By the article and the method's letter: the few keys of one article that differ in
        // list, flag or discount are told apart by comparing them.
        friend size_t qHash(const PriceKey &k, size_t seed = 0)
        {
            const size_t letter = k.method.isEmpty() ? 0 : k.method.front().unicode();
            return qHash(k.article, seed) ^ (letter * 0x9E3779B97F4A7C15ull);
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
    struct AssemblyValue {
        double value = 0;
        QVector<MessageLog::Entry> told;
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

    // One assembly to value (or a leaf, when it has no links or kind is 3).
    struct Assembly {
        QString article, sconto;
        double qta = 0;
        QString method, list;
        qint16 kind = 0;
    };
    // An assembly being valued: its links, the next one, the total so far.
    struct Frame {
        AssemblyKey key;
        std::optional<FailureKey> failure;
        QVector<BomLink> rows;
        qsizetype next = 0;
        double qta = 0;
        double total = 0;
        qsizetype mark = 0;  // of the messages it tells (values kept)
    };
    // A value found, a failure, or an assembly whose links come first.
    enum class Step { Value, Failed, Pushed };

    bool legami(const QString &article, const QString &sconto, double qta, double &prz,
                const QString &method, const QString &list, qint16 kind);
    // A leaf or a kept value (Value), a failure (Failed), or the assembly on the stack (Pushed).
    Step start(const Assembly &a, double &value, std::vector<Frame> &stack);
    // The value of a link for qta of its assembly, or (Pushed) the sub-assembly to value.
    Step linkValue(const BomLink &link, double qta, double &valRiga, Assembly &sub);
    double leafValue(const QString &article, const QString &sconto, double qta,
                     const QString &method, const QString &list);
    bool valueLink(const BomLink &link, double qta, double &valRiga);
    Price price(const QString &method, const QString &article, const QString &list,
                const QString &listIvato, const QString &sconto);
    // The path of assemblies being valued, outermost first, to catch a structure that
    // contains itself.
    bool enterAssembly(const QString &article);
    void leaveAssembly();
    void reportError(const std::exception &e);

    BomReader &reader_;
    PriceLookup &prices_;
    const CompanyParams &params_;
    MessageLog &log_;
    BomCycles &cycles_;
    QString qualePrezzo_, listino_, listIvato_;
    bool keep_ = false;
    BomPath valuing_;

    // Kept values, for one run.
    QHash<PriceKey, Price> pricesKept_;
    QHash<AssemblyKey, AssemblyValue> values_;  // assemblies valued, by code and quantity
    QSet<FailureKey> failures_;                 // assemblies whose valuation failed
};

} // namespace kem
