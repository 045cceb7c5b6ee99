#include "bomcore/bomreader.h"

#include "bomcore/fieldtext.h"
#include "bomcore/pricelookup.h"
#include "platform/util/kemutil.h"

namespace kem {

const ArticlePtr &MissingArticle()
{
    static const ArticlePtr missing = [] {
        BomArticle a;
        a.fatConVen = 0;
        a.fatConAcq = 0;
        a.exists = false;
        return std::make_shared<const BomArticle>(a);
    }();
    return missing;
}

// ---------------------------------------------------------------------------------------------
// DbBomReader

QString DbBomReader::LinksSql(const QString &parent)
{
    return "Select ArtLegami.*, Listini.Ivato from ArtLegami" + QString(" Left Join Listini")
        + " On ArtLegami.Listino = Listini.Listino" + " Where ArticoloPadre = "
        + SqlLiteral(parent, VarKind::Text);
}

QString DbBomReader::ArticleSql(const QString &code)
{
    return "Select Articoli.* , TabIva.Aliquota" + QString(" from Articoli LEFT JOIN TabIva")
        + " ON Articoli.IvaVendite" + " = TabIva.Iva" + " Where Articoli.Articolo = "
        + SqlLiteral(code, VarKind::Text);
}

QString DbBomReader::ComponentsSql(const QString &parent)
{
    return QStringLiteral("SELECT Articoli.Articolo, Articoli.Descrizione, Articoli.ArtUM,Articoli.FatConVen,Articoli.sconto")
        + QStringLiteral(", Articoli.DistBase, ArtLegami.ArticoloFiglio, ArtLegami.UM, ArtLegami.Qta")
        + QStringLiteral(", ArtLegami.QualeImporto, ArtLegami.Listino, Art2.Descrizione, Art2.DistBase")
        + QStringLiteral(", Art2.Sconto,Art2.ArtUM,Art2.ArtUMVen,Art2.ArtUMAcq,Art2.FatConVen,Art2.FatConAcq, Art2.Immagine")
        + QStringLiteral(" FROM (ArtLegami INNER JOIN Articoli ON ArtLegami.ArticoloPadre = Articoli.Articolo)")
        + QStringLiteral(" LEFT JOIN Articoli AS Art2 ON ArtLegami.ArticoloFiglio = Art2.Articolo")
        + QStringLiteral(" WHERE Articoli.articolo = ") + SqlLiteral(parent, VarKind::Text)
        + QStringLiteral(" ORDER By Articoli.Articolo");
}

QString DbBomReader::ParentsSql(const QString &component)
{
    return "Select ArtLegami.*, Listini.Ivato from ArtLegami" + QString(" Left Join Listini")
        + " On ArtLegami.Listino = Listini.Listino" + " Where ArticoloFiglio = "
        + SqlLiteral(component, VarKind::Text) + " ORDER BY ArtLegami.ArticoloPadre";
}

QString DbBomReader::ListSql(const QString &list)
{
    return "Select Listini.* from Listini" + QString(" Where Listini.Listino = ")
        + SqlLiteral(list, VarKind::Text);
}

BomLink DbBomReader::ReadLink(ResultSets &rs, const QString &h)
{
    BomLink link = ReadLinkColumns(rs, h);
    link.listIvato = FlagText(rs.RsField(h, QStringLiteral("Listini.Ivato")));
    return link;
}

BomLink DbBomReader::ReadLinkColumns(ResultSets &rs, const QString &h)
{
    BomLink link;
    link.padre = FieldText(rs.RsField(h, QStringLiteral("ArticoloPadre")));
    link.figlio = FieldText(rs.RsField(h, QStringLiteral("ArticoloFiglio")));
    link.um = FieldText(rs.RsField(h, QStringLiteral("UM")));
    link.qta = rs.RsField(h, QStringLiteral("Qta")).toDouble();
    link.qualeImporto = FieldText(rs.RsField(h, QStringLiteral("QualeImporto")));
    link.listino = FieldText(rs.RsField(h, QStringLiteral("Artlegami.listino")));
    return link;
}

BomArticle DbBomReader::ReadArticle(ResultSets &rs, const QString &h)
{
    BomArticle row;
    row.articolo = FieldText(rs.RsField(h, QStringLiteral("Articoli.Articolo")));
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

QVector<BomLink> DbBomReader::readLinks(const QString &sql)
{
    QVector<BomLink> rows;
    RsGuard rs(rs_, rs_.RsOpen(db_, sql));
    if (!rs_.RsIsEmpty(rs.handle())) {
        for (rs_.RsMoveFirst(rs.handle()); !rs_.RsEof(rs.handle()); rs_.RsMoveNext(rs.handle()))
            rows << ReadLink(rs_, rs.handle());
    }
    return rows;
}

QVector<BomLink> DbBomReader::linksOf(const QString &parent)
{
    return readLinks(LinksSql(parent));
}

ArticlePtr DbBomReader::article(const QString &code)
{
    RsGuard rs(rs_, rs_.RsOpen(db_, ArticleSql(code)));
    if (rs_.RsIsEmpty(rs.handle()))
        return nullptr;
    rs_.RsMoveFirst(rs.handle());
    return std::make_shared<const BomArticle>(ReadArticle(rs_, rs.handle()));
}

BomComponent DbBomReader::ReadComponent(ResultSets &rs, const QString &h)
{
    auto text = [&](const char *name) { return FieldText(rs.RsField(h, QString::fromLatin1(name))); };
    BomComponent c;
    c.link.padre = text("Articoli.Articolo");
    c.link.figlio = text("ArtLegami.ArticoloFiglio");
    c.link.um = text("ArtLegami.UM");
    c.link.qta = rs.RsField(h, QStringLiteral("ArtLegami.Qta")).toDouble();
    c.link.qualeImporto = text("Artlegami.QualeImporto");
    c.link.listino = text("Artlegami.listino");
    // The component's columns come from the outer join: all Null when it does not exist.
    const QVariant distBase = rs.RsField(h, QStringLiteral("Art2.DistBase"));
    const QVariant descrizione = rs.RsField(h, QStringLiteral("Art2.Descrizione"));
    const QVariant artUM = rs.RsField(h, QStringLiteral("Art2.ArtUM"));
    if (distBase.isNull() && descrizione.isNull() && artUM.isNull()) {
        c.article = MissingArticle();
        return c;
    }
    BomArticle a;
    a.articolo = c.link.figlio;
    a.descrizione = FieldText(descrizione);
    a.distBase = distBase.toInt();
    a.sconto = text("Art2.Sconto");
    a.artUM = FieldText(artUM);
    a.artUMVen = text("Art2.ArtUMVen");
    a.artUMAcq = text("Art2.ArtUMAcq");
    a.fatConVen = rs.RsField(h, QStringLiteral("Art2.FatConVen")).toDouble();
    a.fatConAcq = rs.RsField(h, QStringLiteral("Art2.FatConAcq")).toDouble();
    a.immagine = text("Art2.Immagine");
    c.article = std::make_shared<const BomArticle>(std::move(a));
    return c;
}

QVector<BomComponent> DbBomReader::componentsOf(const QString &parent)
{
    QVector<BomComponent> rows;
    RsGuard rs(rs_, rs_.RsOpen(db_, ComponentsSql(parent)));
    if (rs_.RsIsEmpty(rs.handle()))
        return rows;
    for (rs_.RsMoveFirst(rs.handle()); !rs_.RsEof(rs.handle()); rs_.RsMoveNext(rs.handle()))
        rows << ReadComponent(rs_, rs.handle());
    return rows;
}

QVector<BomLink> DbBomReader::parentsOf(const QString &component)
{
    return readLinks(ParentsSql(component));
}

QString DbBomReader::listVatFlag(const QString &list)
{
    RsGuard rs(rs_, rs_.RsOpen(db_, ListSql(list)));
    if (rs_.RsIsEmpty(rs.handle()))
        return {};
    rs_.RsMoveFirst(rs.handle());
    return FlagText(rs_.RsField(rs.handle(), QStringLiteral("Listini.Ivato")));
}

// ---------------------------------------------------------------------------------------------
// CachedBomReader

void CachedBomReader::clear()
{
    links_.clear();
    articles_.clear();
    listVat_.clear();
    components_.clear();
    parents_.clear();
    allRead_ = false;
}

void CachedBomReader::beginRun()
{
    clear();
    // Read into locals first: a read that fails half-way must not leave partial link lists
    // that would pass for complete ones.
    QHash<QString, QVector<BomLink>> links;
    QHash<QString, ArticlePtr> articles;
    QHash<QString, QString> listVat;
    {
        // Ordered as the links of one assembly come from their own query (by the key).
        RsGuard rs(rs_, rs_.RsOpen(db_, "Select ArtLegami.*, Listini.Ivato from ArtLegami"
                                        " Left Join Listini On ArtLegami.Listino = Listini.Listino"
                                        " ORDER BY ArtLegami.ArticoloPadre, ArtLegami.ArticoloFiglio"));
        if (!rs_.RsIsEmpty(rs.handle())) {
            QString lastKey;
            QVector<BomLink> *current = nullptr;
            for (rs_.RsMoveFirst(rs.handle()); !rs_.RsEof(rs.handle()); rs_.RsMoveNext(rs.handle())) {
                BomLink link = DbBomReader::ReadLink(rs_, rs.handle());
                QString key = CodeKey(link.padre);
                if (!current || key != lastKey) {
                    current = &links[key];
                    lastKey = std::move(key);
                }
                current->append(std::move(link));
            }
        }
    }
    {
        // The columns ReadArticle() takes, not the whole row: articles have many columns.
        RsGuard rs(rs_, rs_.RsOpen(db_, "Select Articoli.Articolo, Articoli.ArtUM, Articoli.ArtUMVen,"
                                        " Articoli.ArtUMAcq, Articoli.FatConVen, Articoli.FatConAcq,"
                                        " Articoli.Sconto, Articoli.DistBase, Articoli.Descrizione,"
                                        " Articoli.Immagine, TabIva.Aliquota from Articoli"
                                        " LEFT JOIN TabIva ON Articoli.IvaVendite = TabIva.Iva"));
        if (!rs_.RsIsEmpty(rs.handle())) {
            articles.reserve(rs_.RsCount(rs.handle()));
            for (rs_.RsMoveFirst(rs.handle()); !rs_.RsEof(rs.handle()); rs_.RsMoveNext(rs.handle())) {
                auto row = std::make_shared<const BomArticle>(DbBomReader::ReadArticle(rs_, rs.handle()));
                articles.insert(CodeKey(row->articolo), std::move(row));
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
    links_ = std::move(links);
    articles_ = std::move(articles);
    listVat_ = std::move(listVat);
    allRead_ = true;
}

QVector<BomLink> CachedBomReader::linksOf(const QString &parent)
{
    const QString key = CodeKey(parent);
    if (const auto found = links_.constFind(key); found != links_.constEnd())
        return *found;
    if (allRead_)
        return {};
    return *links_.insert(key, direct_.linksOf(parent));
}

ArticlePtr CachedBomReader::article(const QString &code)
{
    const QString key = CodeKey(code);
    if (const auto found = articles_.constFind(key); found != articles_.constEnd())
        return *found;
    if (allRead_)
        return nullptr;
    return *articles_.insert(key, direct_.article(code));
}

QVector<BomComponent> CachedBomReader::componentsOf(const QString &parent)
{
    // What the components statement gives, put together from the links and articles: the
    // links of a parent that exists, each with its component's row.
    const QString key = CodeKey(parent);
    if (const auto found = components_.constFind(key); found != components_.constEnd())
        return *found;
    QVector<BomComponent> rows;
    if (article(parent)) {
        const QVector<BomLink> links = linksOf(parent);
        rows.reserve(links.size());
        for (const BomLink &link : links) {
            ArticlePtr component = article(link.figlio);
            rows.append(BomComponent{link, component ? std::move(component) : MissingArticle()});
        }
    }
    return *components_.insert(key, rows);
}

QVector<BomLink> CachedBomReader::parentsOf(const QString &component)
{
    if (!allRead_)
        return direct_.parentsOf(component);
    if (parents_.isEmpty()) {
        // Every link by its component, parents in key order as the links were read.
        QStringList parents = links_.keys();
        std::sort(parents.begin(), parents.end());
        for (const QString &p : parents)
            for (const BomLink &link : links_.value(p))
                parents_[CodeKey(link.figlio)].append(link);
    }
    return parents_.value(CodeKey(component));
}

QString CachedBomReader::listVatFlag(const QString &list)
{
    const QString key = CodeKey(list);
    if (const auto hit = listVat_.constFind(key); hit != listVat_.constEnd())
        return *hit;
    if (allRead_)
        return {};
    return *listVat_.insert(key, direct_.listVatFlag(list));
}

} // namespace kem
