#include "bomcore/costrollup.h"

#include "bomcore/fieldtext.h"
#include "common/funvarie.h"
#include "common/vatremoval.h"
#include "platform/util/kemutil.h"

#include <cstring>

namespace kem {

namespace {

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

CostRollup::Step CostRollup::start(const Assembly &a, double &value, std::vector<Frame> &stack)
{
    value = 0;
    QVector<BomLink> rows;
    try {
        rows = reader_.linksOf(a.article);
        if (rows.isEmpty() || a.kind == 3) {
            value = leafValue(a.article, a.sconto, a.qta, a.method, a.list);
            return Step::Value;
        }
    } catch (const std::exception &e) {
        reportError(e);
        value = 0;
        return Step::Failed;
    }
    Frame f;
    if (keep_) {
        f.key = AssemblyKey{CodeKey(a.article), qtyBits(a.qta)};
        if (const auto hit = values_.constFind(f.key); hit != values_.constEnd()) {
            log_.retell(hit->told);
            value = hit->value;
            return Step::Value;
        }
        f.failure = FailureKey{f.key, a.sconto, a.method.trimmed().toUpper(), CodeKey(a.list)};
        if (failures_.contains(*f.failure))
            return Step::Failed;
    }
    if (!enterAssembly(a.article))
        return Step::Failed;
    f.qta = a.qta;
    f.rows = std::move(rows);
    f.mark = keep_ ? log_.begin() : 0;
    stack.push_back(std::move(f));
    return Step::Pushed;
}

bool CostRollup::legami(const QString &article, const QString &sconto, double qta, double &prz,
                        const QString &method, const QString &list, qint16 kind)
{
    // The assemblies being valued, outermost first: a structure of any depth is walked without
    // recursion.
    std::vector<Frame> stack;
    prz = 0;
    double value = 0;
    const Step first = start(Assembly{article, sconto, qta, method, list, kind}, value, stack);
    if (first != Step::Pushed) {
        prz = first == Step::Value ? value : 0;
        return first == Step::Value;
    }
    // Unwinds after a failure: the assemblies being valued fail with it. `thrown`: the
    // innermost failed on an exception (it is told, and not kept as a failure).
    auto fail = [&](bool thrown) {
        for (auto f = stack.rbegin(); f != stack.rend(); ++f) {
            leaveAssembly();
            if (keep_)
                log_.end(f->mark);
            if (f->failure && !(thrown && f == stack.rbegin()))
                failures_.insert(*f->failure);
        }
        stack.clear();
        prz = 0;
        return false;
    };
    while (!stack.empty()) {
        Frame &f = stack.back();
        if (f.next == f.rows.size()) {
            leaveAssembly();
            const double total = f.total;
            if (keep_)
                values_.insert(f.key, AssemblyValue{total, log_.end(f.mark)});
            stack.pop_back();
            if (stack.empty()) {
                prz = total;
                return true;
            }
            stack.back().total += total;
            continue;
        }
        // In the links' buffer, which stays where it is when the stack grows (used before that).
        const BomLink &link = f.rows.at(f.next++);
        Assembly sub;
        Step step;
        try {
            step = linkValue(link, f.qta, value, sub);
        } catch (const std::exception &e) {
            reportError(e);
            return fail(true);
        }
        if (step == Step::Pushed)  // a sub-assembly: its own links first
            step = start(sub, value, stack);
        if (step == Step::Failed)
            return fail(false);
        if (step == Step::Value)
            stack.back().total += value;
    }
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

CostRollup::Step CostRollup::linkValue(const BomLink &link, double qta, double &valRiga, Assembly &sub)
{
    valRiga = 0;
    const ArticlePtr art = reader_.article(link.figlio);
    if (!art) {
        log_.msgCom("Prodotto " + link.figlio + " previsto come legame ma inesistente",
                    {QStringLiteral("&Ok")});
        return Step::Failed;
    }
    const QString one = QStringLiteral("A");
    const double quantity = RoundNum(link.qta * qta, one, 1, params_.numDecQta);
    double factor = 1;
    double stockQty = quantity;
    if (SameText(link.um, art->artUM)) {
        factor = 1;
    } else if (SameText(link.um, art->artUMVen)) {
        factor = art->fatConVen;
        stockQty = RoundNum(quantity * factor, one, 1, params_.numDecQta);
    } else if (SameText(link.um, art->artUMAcq)) {
        factor = art->fatConAcq;
        stockQty = RoundNum(quantity * factor, one, 1, params_.numDecQta);
    }

    if (art->distBase == 1 || art->distBase == 2) {
        sub = Assembly{link.figlio, art->sconto, stockQty, QString(),
                       art->distBase == 2 ? link.listino : QString(), 0};
        return Step::Pushed;
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
    return Step::Value;
}

bool CostRollup::valueLink(const BomLink &link, double qta, double &valRiga)
{
    Assembly sub;
    const Step step = linkValue(link, qta, valRiga, sub);
    if (step == Step::Pushed)
        return legami(sub.article, sub.sconto, sub.qta, valRiga, sub.method, sub.list, sub.kind);
    return step == Step::Value;
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
