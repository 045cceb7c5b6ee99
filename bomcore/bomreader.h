#pragma once
// BomReader: the reads of a bill of materials. Two implementations: DbBomReader reads the
// database at every call (one statement each, nothing kept); CachedBomReader reads the whole
// structure of the company in bulk at the start of a run and answers from memory until the run
// ends (under a run the company database does not change: it is read inside one read
// transaction). Both answer alike, in the same order.
#include "bomcore/bomrows.h"
#include "platform/db/kemdb.h"

#include <QHash>
#include <QString>
#include <QVector>

namespace kem {

class BomReader {
public:
    virtual ~BomReader() = default;
    // The links of an assembly in key order (none for a leaf), with their lists' VAT flags.
    virtual QVector<BomLink> linksOf(const QString &parent) = 0;
    // An article; nullptr when there is no such article.
    virtual ArticlePtr article(const QString &code) = 0;
    // The components of a parent that exists in Articoli, in key order, each with its
    // component's row; none when the parent does not exist or has no links.
    virtual QVector<BomComponent> componentsOf(const QString &parent) = 0;
    // The links that use a component, by parent.
    virtual QVector<BomLink> parentsOf(const QString &component) = 0;
    // "Listini.Ivato" of a price list as FlagText gives it; empty when there is no such list.
    virtual QString listVatFlag(const QString &list) = 0;
    // A run starts or ends: what a reader keeps lives for one run.
    virtual void beginRun() {}
    virtual void endRun() {}
};

class DbBomReader : public BomReader {
public:
    explicit DbBomReader(Database &db) : db_(db) {}
    QVector<BomLink> linksOf(const QString &parent) override;
    ArticlePtr article(const QString &code) override;
    QVector<BomComponent> componentsOf(const QString &parent) override;
    QVector<BomLink> parentsOf(const QString &component) override;
    QString listVatFlag(const QString &list) override;

    // The statements.
    static QString LinksSql(const QString &parent);
    static QString ArticleSql(const QString &code);
    static QString ComponentsSql(const QString &parent);
    static QString ParentsSql(const QString &component);
    static QString ListSql(const QString &list);
    // A link row of LinksSql, ParentsSql or of any statement with "ArtLegami.*" and
    // "Listini.Ivato".
    static BomLink ReadLink(ResultSets &rs, const QString &h);
    // The columns of ArtLegami alone (listIvato left empty), of any statement that has them.
    static BomLink ReadLinkColumns(ResultSets &rs, const QString &h);
    // An article row of ArticleSql (columns "Articoli.*" and "TabIva.Aliquota").
    static BomArticle ReadArticle(ResultSets &rs, const QString &h);
    // A row of ComponentsSql, or of any statement with its columns (ArtLegami's, the parent
    // "Articoli.Articolo" and the component "Art2.*").
    static BomComponent ReadComponent(ResultSets &rs, const QString &h);

private:
    QVector<BomLink> readLinks(const QString &sql);

    Database &db_;
    ResultSets rs_;
};

class CachedBomReader : public BomReader {
public:
    explicit CachedBomReader(Database &db) : db_(db), direct_(db) {}
    QVector<BomLink> linksOf(const QString &parent) override;
    ArticlePtr article(const QString &code) override;
    QVector<BomComponent> componentsOf(const QString &parent) override;
    QVector<BomLink> parentsOf(const QString &component) override;
    QString listVatFlag(const QString &list) override;
    // Reads every link, article and price list of the company in three statements. On a
    // failure (DbError, thrown on) nothing is kept and the reader fills itself call by call.
    void beginRun() override;
    void endRun() override { clear(); }
    void clear();

private:
    Database &db_;
    DbBomReader direct_;  // reads what the bulk read did not bring
    ResultSets rs_;
    QHash<QString, QVector<BomLink>> links_;       // parent -> links, key order
    QHash<QString, ArticlePtr> articles_;          // code -> row, nullptr when missing
    QHash<QString, QString> listVat_;              // list -> VAT flag
    QHash<QString, QVector<BomComponent>> components_;
    QHash<QString, QVector<BomLink>> parents_;     // component -> links (every link read)
    bool allRead_ = false;  // the bulk read succeeded: what is not in the tables does not exist
};

} // namespace kem
