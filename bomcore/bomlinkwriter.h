#pragma once
// BomLinkWriter: the changes to the links of the bills of materials (ArtLegami): one component
// replaced by another in every link that uses it, optionally with a new unit, valuation method,
// price list and a proportion applied to the quantity, or every such link deleted; both may be
// limited to a range of parent articles.
#include "bomcore/bomrows.h"
#include "platform/db/kemdb.h"

#include <QString>
#include <QVector>
#include <functional>

namespace kem {

// Which links: those of `component`, with a parent from parentFrom to parentTo (blank: no bound).
struct BomLinkSelection {
    QString component, parentFrom, parentTo;
    // " WHERE ArtLegami.ArticoloFiglio = ..." with the parent bounds.
    QString Condition() const;
};

// What a replacement sets; blank texts keep what the link has.
struct BomLinkChange {
    QString component;     // the new component
    QString um;
    QString qualeImporto;  // one letter (M, U, S, L)
    QString listino;
    double factor = 1;     // applied to the quantity; 1 leaves it as it is
    bool divide = false;   // the quantity is divided by the factor, else multiplied

    // One statement changes every link (the quantities stay as they are).
    bool singleStatement() const { return factor == 1; }
    // The link as the replacement leaves it: the new component, the texts given, and (unless
    // singleStatement) the quantity scaled and rounded half away from zero to qtyDecimals places.
    BomLink Applied(const BomLink &before, int qtyDecimals) const;
};

class BomLinkWriter {
public:
    // Quantities scaled are rounded half away from zero to qtyDecimals places.
    BomLinkWriter(Database &db, int qtyDecimals) : db_(db), qtyDecimals_(qtyDecimals) {}

    // The single statement of a replacement that keeps the quantities.
    static QString ReplaceSql(const BomLinkChange &change, const BomLinkSelection &which);
    static QString DeleteSql(const BomLinkSelection &which);
    // The links selected, as the row-by-row replacement reads them.
    static QString SelectSql(const BomLinkSelection &which);
    // The links selected, in the order of SelectSql. Throws DbError.
    QVector<BomLink> Selected(const BomLinkSelection &which);
    // Replaces the component; returns the links changed. With a factor other than 1 the links
    // are changed one by one, `progress(done, total)` told before each. Throws DbError; links
    // already changed stay changed.
    qint64 Replace(const BomLinkChange &change, const BomLinkSelection &which,
                   const std::function<void(qint64 done, qint64 total)> &progress = {});
    // Deletes the links; returns how many. Throws DbError.
    qint64 Delete(const BomLinkSelection &which);

private:
    Database &db_;
    int qtyDecimals_;
};

} // namespace kem
