#include "bom/costrollup.h"

#include "common/vatremoval.h"
#include "bom/fieldtext.h"
#include "platform/util/kemutil.h"

#include <cstring>
#include <deque>

namespace kem {

namespace {

bool sameText(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The exact bits of a quantity, so that a cached value is reused only for the very same one.
quint64 qtyBits(double qta)
{
    if (qta == 0)
        qta = 0; // -0 and 0 value alike
    quint64 bits = 0;
    static_assert(sizeof bits == sizeof qta);
    std::memcpy(&bits, &qta, sizeof bits);
    return bits;
}

} // namespace

CostRollup::CostRollup(Database &db, const CompanyParams &params, MessageSink &sink,
                       PriceLookup &prices)
    : db_(db), params_(params), sink_(sink), prices_(prices)
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

void CostRollup::setPath(Path path)
{
    if (path != path_)
        clearCache(); // what one path read is no business of the other
    path_ = path;
}

void CostRollup::clearCache()
{
    links_.clear();
    articles_.clear();
    articleRows_.clear();
    listVat_.clear();
    pricesCache_.clear();
    values_.clear();
    failures_.clear();
    allLinks_ = false;
    allArticles_ = false;
    allLists_ = false;
    prices_.forgetPreloaded();
}

void CostRollup::preload()
{
    if (path_ != Path::Cached)
        return;
    clearCache();
    // Read into locals first: a read that fails half-way must not leave partial link lists
    // that would pass for complete ones.
    QHash<QString, QVector<LinkRow>> links;
    QHash<QString, const ArticleRow *> articles;
    std::deque<ArticleRow> articleRows;
    QHash<QString, QString> listVat;
    {
        // Ordered as the links of one assembly come from their own query (by the key).
        RsGuard rs(rs_, rs_.RsOpen(db_, "Select ArtLegami.*, Listini.Ivato from ArtLegami"
                                        " Left Join Listini On ArtLegami.Listino = Listini.Listino"
                                        " ORDER BY ArtLegami.ArticoloPadre, ArtLegami.ArticoloFiglio"));
        if (!rs_.RsIsEmpty(rs.handle())) {
            for (rs_.RsMoveFirst(rs.handle()); !rs_.RsEof(rs.handle()); rs_.RsMoveNext(rs.handle())) {
                const QString parent = CodeKey(FieldText(rs_.RsField(rs.handle(), QStringLiteral("ArticoloPadre"))));
                links[parent] << readLink(rs_, rs.handle());
            }
        }
    }
    {
        // The columns readArticle() takes, not the whole row: articles have many columns.
        RsGuard rs(rs_, rs_.RsOpen(db_, "Select Articoli.Articolo, Articoli.ArtUM, Articoli.ArtUMVen,"
                                        " Articoli.ArtUMAcq, Articoli.FatConVen, Articoli.FatConAcq,"
                                        " Articoli.Sconto, Articoli.DistBase, Articoli.Descrizione,"
                                        " Articoli.Immagine, TabIva.Aliquota from Articoli"
                                        " LEFT JOIN TabIva ON Articoli.IvaVendite = TabIva.Iva"));
        if (!rs_.RsIsEmpty(rs.handle())) {
            for (rs_.RsMoveFirst(rs.handle()); !rs_.RsEof(rs.handle()); rs_.RsMoveNext(rs.handle())) {
                const QString code = CodeKey(FieldText(rs_.RsField(rs.handle(), QStringLiteral("Articoli.Articolo"))));
                articles.insert(code, &articleRows.emplace_back(readArticle(rs_, rs.handle())));
            }
        }
    }
    {
        RsGuard rs(rs_, rs_.RsOpen(db_, QStringLiteral("Select Listini.* from Listini")));
        if (!rs_.RsIsEmpty(rs.handle())) {
            for (rs_.RsMoveFirst(rs.handle()); !rs_.RsEof(rs.handle()); rs_.RsMoveNext(rs.handle())) {
                listVat.insert(CodeKey(FieldText(rs_.RsField(rs.handle(), QStringLiteral("Listini.Listino")))),
                               FlagText(rs_.RsField(rs.handle(), QStringLiteral("Listini.Ivato"))));
            }
        }
    }
    prices_.preload(static_cast<qint16>(params_.workingDate.year()), params_.workingDate);
    links_ = std::move(links);
    articles_ = std::move(articles);
    articleRows_ = std::move(articleRows); // moving a deque keeps its elements where they are
    listVat_ = std::move(listVat);
    allLinks_ = true;
    allArticles_ = true;
    allLists_ = true;
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
        return valueLink(readLink(pgRecDat, psRecDat), pdQta, pdValRiga);
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
    return path_ == Path::Cached ? legamiCached(article, sconto, qta, prz, method, list, kind)
                                 : legamiStraightforward(article, sconto, qta, prz, method, list, kind);
}

bool CostRollup::legamiStraightforward(const QString &article, const QString &sconto, double qta,
                                       double &prz, const QString &method, const QString &list,
                                       qint16 kind)
{
    bool entered = false;
    try {
        RsGuard links(rs_, rs_.RsOpen(db_, linksSql(article)));
        if (rs_.RsIsEmpty(links.handle()) || kind == 3) {
            prz = leafValue(article, sconto, qta, method, list);
            return true;
        }
        if (!enterAssembly(article))
            return false;
        entered = true;
        double total = 0;
        rs_.RsMoveFirst(links.handle());
        while (!rs_.RsEof(links.handle())) {
            double value = 0;
            if (!CreaMovDiBaScar(rs_, links.handle(), qta, value, 2)) {
                leaveAssembly();
                return false;
            }
            total += value;
            rs_.RsMoveNext(links.handle());
        }
        leaveAssembly();
        prz = total;
        return true;
    } catch (const std::exception &e) {
        if (entered)
            leaveAssembly();
        reportError(e);
        prz = 0;
        return false;
    }
}

bool CostRollup::legamiCached(const QString &article, const QString &sconto, double qta,
                              double &prz, const QString &method, const QString &list, qint16 kind)
{
    QVector<LinkRow> rows;
    try {
        rows = linksOf(article); // a shared copy: the hash may grow below
    } catch (const std::exception &e) {
        reportError(e);
        prz = 0;
        return false;
    }
    if (rows.isEmpty() || kind == 3) {
        // A leaf: its price is kept by price(), the rest is one multiplication.
        try {
            prz = leafValue(article, sconto, qta, method, list);
        } catch (const std::exception &e) {
            reportError(e);
            prz = 0;
            return false;
        }
        return true;
    }
    const AssemblyKey key{CodeKey(article), qtyBits(qta)};
    if (const auto hit = values_.constFind(key); hit != values_.constEnd()) {
        prz = *hit;
        return true;
    }
    FailureKey failure{key, sconto, method.trimmed().toUpper(), CodeKey(list)};
    if (failures_.contains(failure))
        return false;
    if (!enterAssembly(article))
        return false;
    try {
        double total = 0;
        for (const LinkRow &link : rows) {
            double value = 0;
            if (!valueLink(link, qta, value)) {
                leaveAssembly();
                // A failure below never depends on the path it was reached by: an article that
                // reaches one of the assemblies being valued lies on a cycle itself.
                failures_.insert(std::move(failure));
                return false;
            }
            total += value;
        }
        leaveAssembly();
        prz = total;
        values_.insert(key, total);
        return true;
    } catch (const std::exception &e) {
        leaveAssembly();
        reportError(e);
        prz = 0;
        return false;
    }
}

const QVector<CostRollup::LinkRow> &CostRollup::linksOf(const QString &article)
{
    static const QVector<LinkRow> none;
    const QString key = CodeKey(article);
    auto found = links_.constFind(key);
    if (found != links_.constEnd())
        return *found;
    if (allLinks_)
        return none;
    QVector<LinkRow> rows;
    RsGuard rs(rs_, rs_.RsOpen(db_, linksSql(article)));
    if (!rs_.RsIsEmpty(rs.handle())) {
        for (rs_.RsMoveFirst(rs.handle()); !rs_.RsEof(rs.handle()); rs_.RsMoveNext(rs.handle()))
            rows << readLink(rs_, rs.handle());
    }
    return *links_.insert(key, rows);
}

double CostRollup::leafValue(const QString &article, const QString &sconto, double qta,
                             const QString &method, const QString &list)
{
    const QString flag = list.trimmed().isEmpty() ? QString() : listVatFlag(list);
    const Price p = price(method, article, list, flag, sconto);
    double value = p.value;
    // VAT comes off only a list price that includes it, at the article's own rate.
    if (p.przIvato) {
        std::optional<ArticleRow> holder;
        const ArticleRow *row = articleRow(article, holder);
        value = VatRemoval(value, row ? row->aliquota : 0, params_.current.numDecGest,
                           params_.arrotIvaEuro);
    }
    if (qta != 0)
        value = RoundNum(value * qta, QStringLiteral("A"), 1, params_.current.numDec);
    return value;
}

bool CostRollup::valueLink(const LinkRow &link, double qta, double &valRiga)
{
    std::optional<ArticleRow> holder;
    const ArticleRow *art = articleRow(link.figlio, holder);
    if (!art) {
        sink_.msgCom("Prodotto " + link.figlio + " previsto come legame ma inesistente",
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

CostRollup::LinkRow CostRollup::readLink(ResultSets &rs, const QString &h)
{
    LinkRow link;
    link.figlio = FieldText(rs.RsField(h, QStringLiteral("ArticoloFiglio")));
    link.um = FieldText(rs.RsField(h, QStringLiteral("UM")));
    link.qta = rs.RsField(h, QStringLiteral("Qta")).toDouble();
    link.qualeImporto = FieldText(rs.RsField(h, QStringLiteral("QualeImporto")));
    link.listino = FieldText(rs.RsField(h, QStringLiteral("Artlegami.listino")));
    link.listIvato = FlagText(rs.RsField(h, QStringLiteral("Listini.Ivato")));
    return link;
}

QString CostRollup::linksSql(const QString &article) const
{
    return "Select ArtLegami.*, Listini.Ivato from ArtLegami" + QString(" Left Join Listini")
        + " On ArtLegami.Listino = Listini.Listino" + " Where ArticoloPadre = "
        + SqlLiteral(article, VarKind::Text);
}

std::optional<CostRollup::ArticleRow> CostRollup::article(const QString &code)
{
    std::optional<ArticleRow> holder;
    const ArticleRow *row = articleRow(code, holder);
    return row ? std::optional<ArticleRow>(*row) : std::nullopt;
}

const CostRollup::ArticleRow *CostRollup::articleRow(const QString &code,
                                                     std::optional<ArticleRow> &holder)
{
    if (path_ == Path::Straightforward) {
        holder = queryArticle(code);
        return holder ? &*holder : nullptr;
    }
    const QString key = CodeKey(code);
    if (const auto found = articles_.constFind(key); found != articles_.constEnd())
        return *found;
    if (allArticles_)
        return nullptr;
    holder = queryArticle(code);
    const ArticleRow *row = holder ? &articleRows_.emplace_back(*holder) : nullptr;
    articles_.insert(key, row);
    return row;
}

std::optional<CostRollup::ArticleRow> CostRollup::queryArticle(const QString &code)
{
    const QString sql = "Select Articoli.* , TabIva.Aliquota" + QString(" from Articoli LEFT JOIN TabIva")
        + " ON Articoli.IvaVendite" + " = TabIva.Iva" + " Where Articoli.Articolo = "
        + SqlLiteral(code, VarKind::Text);
    RsGuard rs(rs_, rs_.RsOpen(db_, sql));
    if (rs_.RsIsEmpty(rs.handle()))
        return std::nullopt;
    rs_.RsMoveFirst(rs.handle());
    return readArticle(rs_, rs.handle());
}

CostRollup::ArticleRow CostRollup::readArticle(ResultSets &rs, const QString &h)
{
    ArticleRow row;
    row.artUM = FieldText(rs.RsField(h, QStringLiteral("Articoli.ArtUM")));
    row.artUMVen = FieldText(rs.RsField(h, QStringLiteral("Articoli.ArtUMVen")));
    row.artUMAcq = FieldText(rs.RsField(h, QStringLiteral("Articoli.ArtUMAcq")));
    row.fatConVen = rs.RsField(h, QStringLiteral("Articoli.FatConVen")).toDouble();
    row.fatConAcq = rs.RsField(h, QStringLiteral("Articoli.FatConAcq")).toDouble();
    row.sconto = FieldText(rs.RsField(h, QStringLiteral("Articoli.sconto")));
    row.distBase = rs.RsField(h, QStringLiteral("Articoli.DistBase")).toInt();
    row.aliquota = rs.RsField(h, QStringLiteral("TabIva.Aliquota")).toDouble();
    row.descrizione = FieldText(rs.RsField(h, QStringLiteral("Articoli.Descrizione")));
    row.immagine = FieldText(rs.RsField(h, QStringLiteral("Articoli.Immagine")));
    return row;
}

QString CostRollup::listVatFlag(const QString &list)
{
    const QString key = CodeKey(list);
    if (path_ == Path::Cached) {
        if (const auto hit = listVat_.constFind(key); hit != listVat_.constEnd())
            return *hit;
        if (allLists_)
            return {};
    }
    const QString sql = "Select Listini.* from Listini" + QString(" Where Listini.Listino = ")
        + SqlLiteral(list, VarKind::Text);
    QString flag;
    {
        RsGuard rs(rs_, rs_.RsOpen(db_, sql));
        if (!rs_.RsIsEmpty(rs.handle())) {
            rs_.RsMoveFirst(rs.handle());
            flag = FlagText(rs_.RsField(rs.handle(), QStringLiteral("Listini.Ivato")));
        }
    }
    if (path_ == Path::Cached)
        listVat_.insert(key, flag);
    return flag;
}

CostRollup::Price CostRollup::price(const QString &method, const QString &article,
                                    const QString &list, const QString &listIvato,
                                    const QString &sconto)
{
    PriceKey key;
    if (path_ == Path::Cached) {
        key = {method.trimmed().toUpper(), CodeKey(article), CodeKey(list), FlagText(listIvato), sconto};
        if (const auto hit = pricesCache_.constFind(key); hit != pricesCache_.constEnd())
            return *hit;
    }
    const QString none;
    Price p;
    const QDate date = params_.workingDate;
    const QString found = prices_.CercaListinoDett(
        method, none, none, none, none, static_cast<qint16>(date.year()), article, list, listIvato,
        p.przIvato, date, params_.moneta, params_.current.numDecGest, 1, none, sconto);
    p.value = TextToNum(found);
    if (path_ == Path::Cached)
        pricesCache_.insert(key, p);
    return p;
}

bool CostRollup::enterAssembly(const QString &article)
{
    if (valuing_.enter(article))
        return true;
    sink_.msgCom(valuing_.cycleText(article), {QStringLiteral("&Ok")});
    return false;
}

void CostRollup::leaveAssembly()
{
    valuing_.leave();
}

void CostRollup::reportError(const std::exception &e)
{
    if (const auto *db = dynamic_cast<const DbError *>(&e))
        sink_.MsgErrfrm(QString::number(db->number()), db->description());
    else
        sink_.MsgErrfrm(QStringLiteral("0"), QString::fromLocal8Bit(e.what()));
}

} // namespace kem
