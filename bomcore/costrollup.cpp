#include "bomcore/costrollup.h"

#include "bomcore/fieldtext.h"
#include "common/funvarie.h"
#include "common/vatremoval.h"
#include "platform/util/kemutil.h"

#include <cstring>

namespace kem {

namespace {

bool sameText(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The exact bits of a quantity, so that a kept value is reused only for the very same one.
quint64 qtyBits(double qta)
{
    if (qta == 0)
        qta = 0; // -0 and 0 value alike
    quint64 bits = 0;
    static_assert(sizeof bits == sizeof qta);
    std::memcpy(&bits, &qta, sizeof bits);
    return bits;
}

// Keeps the messages told while it lives (when keeping at all).
class Telling {
public:
    Telling(MessageLog &log, bool keep) : log_(log), keep_(keep), mark_(keep ? log.begin() : 0) {}
    ~Telling()
    {
        if (keep_)
            log_.end(mark_);
    }
    Telling(const Telling &) = delete;
    Telling &operator=(const Telling &) = delete;
    // What was told so far; ends the keeping.
    QVector<MessageLog::Entry> told()
    {
        keep_ = false;
        return log_.end(mark_);
    }

private:
    MessageLog &log_;
    bool keep_;
    qsizetype mark_;
};

} // namespace

CostRollup::CostRollup(BomReader &reader, PriceLookup &prices, const CompanyParams &params,
                       MessageLog &log, BomCycles &cycles)
    : reader_(reader), prices_(prices), params_(params), log_(log), cycles_(cycles)
{
}

void CostRollup::setOverride(const QString &qualePrezzo, const QString &listino,
                             const QString &listIvato)
{
    qualePrezzo_ = qualePrezzo;
    listino_ = listino;
    listIvato_ = listIvato;
    values_.clear(); // values depend on the override
    failures_.clear();
}

void CostRollup::setKeepValues(bool keep)
{
    if (keep != keep_)
        clearCache();
    keep_ = keep;
}

void CostRollup::clearCache()
{
    pricesKept_.clear();
    values_.clear();
    failures_.clear();
}

bool CostRollup::CreaMovDiBaLegami(const QString &psArticolo, const QString &psUM,
                                   const QString &psSconto, double pdQta, qint16 piLivello,
                                   double &pdPrz, double pdQtaMovim, double pdFattConv,
                                   const QString &psQualeImporto, const QString &psQualeListino,
                                   qint16 piProdDistBase)
{
    Q_UNUSED(psUM)
    Q_UNUSED(piLivello)
    Q_UNUSED(pdQtaMovim)
    Q_UNUSED(pdFattConv)
    return legami(psArticolo, psSconto, pdQta, pdPrz, psQualeImporto, psQualeListino,
                  piProdDistBase);
}

bool CostRollup::CreaMovDiBaScar(ResultSets &pgRecDat, const QString &psRecDat, double pdQta,
                                 double &pdValRiga, qint16 piLivello)
{
    Q_UNUSED(piLivello)
    pdValRiga = 0;
    try {
        return valueLink(DbBomReader::ReadLink(pgRecDat, psRecDat), pdQta, pdValRiga);
    } catch (const std::exception &e) {
        reportError(e);
        pdValRiga = 0;
        return false;
    }
}

bool CostRollup::legami(const QString &article, const QString &sconto, double qta, double &prz,
                        const QString &method, const QString &list, qint16 kind)
{
    prz = 0;
    QVector<BomLink> rows;
    try {
        rows = reader_.linksOf(article);
        if (rows.isEmpty() || kind == 3) {
            prz = leafValue(article, sconto, qta, method, list);
            return true;
        }
    } catch (const std::exception &e) {
        reportError(e);
        prz = 0;
        return false;
    }
    const AssemblyKey key{keep_ ? CodeKey(article) : QString(), keep_ ? qtyBits(qta) : 0};
    std::optional<FailureKey> failure;
    if (keep_) {
        if (const auto hit = values_.constFind(key); hit != values_.constEnd()) {
            log_.retell(hit->told);
            prz = hit->value;
            return true;
        }
        failure = FailureKey{key, sconto, method.trimmed().toUpper(), CodeKey(list)};
        if (failures_.contains(*failure))
            return false;
    }
    Telling telling(log_, keep_);
    if (!enterAssembly(article))
        return false;
    double total = 0;
    for (const BomLink &link : rows) {
        double value = 0;
        bool ok = false;
        try {
            ok = valueLink(link, qta, value);
        } catch (const std::exception &e) {
            leaveAssembly();
            reportError(e);
            prz = 0;
            return false;
        }
        if (!ok) {
            leaveAssembly();
            // A failure below never depends on the path it was reached by: an article that
            // reaches one of the assemblies being valued lies on a cycle itself.
            if (failure)
                failures_.insert(std::move(*failure));
            return false;
        }
        total += value;
    }
    leaveAssembly();
    prz = total;
    if (keep_)
        values_.insert(key, AssemblyValue{total, telling.told()});
    return true;
}

double CostRollup::leafValue(const QString &article, const QString &sconto, double qta,
                             const QString &method, const QString &list)
{
    const QString flag = list.trimmed().isEmpty() ? QString() : reader_.listVatFlag(list);
    const Price p = price(method, article, list, flag, sconto);
    double value = p.value;
    // VAT comes off only a list price that includes it, at the article's own rate.
    if (p.przIvato) {
        const ArticlePtr row = reader_.article(article);
        value = VatRemoval(value, row ? row->aliquota : 0, params_.current.numDecGest,
                           params_.arrotIvaEuro);
    }
    if (qta != 0)
        value = RoundNum(value * qta, QStringLiteral("A"), 1, params_.current.numDec);
    return value;
}

bool CostRollup::valueLink(const BomLink &link, double qta, double &valRiga)
{
    const ArticlePtr art = reader_.article(link.figlio);
    if (!art) {
        log_.msgCom("Prodotto " + link.figlio + " previsto come legame ma inesistente",
                    {QStringLiteral("&Ok")});
        return false;
    }
    const QString one = QStringLiteral("A");
    const double quantity = RoundNum(link.qta * qta, one, 1, params_.numDecQta);
    double factor = 1;
    double stockQty = quantity;
    if (sameText(link.um, art->artUM)) {
        factor = 1;
    } else if (sameText(link.um, art->artUMVen)) {
        factor = art->fatConVen;
        stockQty = RoundNum(quantity * factor, one, 1, params_.numDecQta);
    } else if (sameText(link.um, art->artUMAcq)) {
        factor = art->fatConAcq;
        stockQty = RoundNum(quantity * factor, one, 1, params_.numDecQta);
    }

    if (art->distBase == 1 || art->distBase == 2) {
        const QString list = art->distBase == 2 ? link.listino : QString();
        double value = 0;
        if (!legami(link.figlio, art->sconto, stockQty, value, QString(), list, 0))
            return false;
        valRiga = value;
        return true;
    }

    const bool overridden = !qualePrezzo_.trimmed().isEmpty();
    const QString method = overridden ? qualePrezzo_ : link.qualeImporto;
    const QString list = overridden ? listino_ : link.listino;
    const QString flag = overridden ? listIvato_ : link.listIvato;
    const Price p = price(method, link.figlio, list, flag, art->sconto);
    double value = p.value;
    if (p.przIvato)
        value = VatRemoval(value, art->aliquota, params_.current.numDecGest, params_.arrotIvaEuro);
    if (stockQty != 0)
        value = RoundNum(value * stockQty, one, 1, params_.current.numDec);
    valRiga = value;
    return true;
}

CostRollup::Price CostRollup::price(const QString &method, const QString &article,
                                    const QString &list, const QString &listIvato,
                                    const QString &sconto)
{
    PriceKey key;
    if (keep_) {
        key = {method.trimmed().toUpper(), CodeKey(article), CodeKey(list), FlagText(listIvato), sconto};
        if (const auto hit = pricesKept_.constFind(key); hit != pricesKept_.constEnd()) {
            log_.retell(hit->told);
            return *hit;
        }
    }
    Telling telling(log_, keep_);
    const QString none;
    Price p;
    const QDate date = params_.workingDate;
    const QString found = prices_.CercaListinoDett(
        method, none, none, none, none, static_cast<qint16>(date.year()), article, list, listIvato,
        p.przIvato, date, params_.moneta, params_.current.numDecGest, 1, none, sconto);
    p.value = TextToNum(found);
    if (keep_) {
        p.told = telling.told();
        pricesKept_.insert(key, p);
    }
    return p;
}

bool CostRollup::enterAssembly(const QString &article)
{
    if (valuing_.enter(article))
        return true;
    if (cycles_.firstTime(valuing_, article))
        log_.msgCom(valuing_.cycleText(article), {QStringLiteral("&Ok")});
    return false;
}

void CostRollup::leaveAssembly()
{
    valuing_.leave();
}

void CostRollup::reportError(const std::exception &e)
{
    const ErrorInfo info = ErrorInfoFrom(e);
    log_.MsgErrfrm(info.number, info.description);
}

} // namespace kem
