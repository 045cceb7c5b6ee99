#include "bomcore/bomlinkwriter.h"

#include "bomcore/bomreader.h"
#include "platform/util/kemutil.h"

namespace kem {

QString BomLinkSelection::Condition() const
{
    QString sql = QStringLiteral(" WHERE ArtLegami.ArticoloFiglio = ") + SqlLiteral(component, VarKind::Text);
    if (!IsBlank(parentFrom, VarKind::Text))
        sql += QStringLiteral(" AND ArtLegami.ArticoloPadre >= ") + SqlLiteral(parentFrom, VarKind::Text);
    if (!IsBlank(parentTo, VarKind::Text))
        sql += QStringLiteral(" AND ArtLegami.ArticoloPadre <= ") + SqlLiteral(parentTo, VarKind::Text);
    return sql;
}

BomLink BomLinkChange::Applied(const BomLink &before, int qtyDecimals) const
{
    BomLink after = before;
    after.figlio = component;
    if (!IsBlank(um, VarKind::Text))
        after.um = um;
    if (!IsBlank(qualeImporto, VarKind::Text))
        after.qualeImporto = qualeImporto;
    if (!IsBlank(listino, VarKind::Text))
        after.listino = listino;
    if (!singleStatement()) {
        const double scaled = divide ? before.qta / factor : before.qta * factor;
        after.qta = RoundNum(scaled, QStringLiteral("A"), 1, qtyDecimals);
    }
    return after;
}

QString BomLinkWriter::ReplaceSql(const BomLinkChange &change, const BomLinkSelection &which)
{
    QString sql = QStringLiteral("UPDATE ArtLegami SET") + QStringLiteral(" ArtLegami.ArticoloFiglio = ")
        + SqlLiteral(change.component, VarKind::Text);
    if (!IsBlank(change.um, VarKind::Text))
        sql += QStringLiteral(", ArtLegami.UM = ") + SqlLiteral(change.um, VarKind::Text);
    if (!IsBlank(change.qualeImporto, VarKind::Text))
        sql += QStringLiteral(", ArtLegami.QualeImporto = ") + SqlLiteral(change.qualeImporto, VarKind::Text);
    if (!IsBlank(change.listino, VarKind::Text))
        sql += QStringLiteral(", ArtLegami.Listino = ") + SqlLiteral(change.listino, VarKind::Text);
    return sql + which.Condition();
}

QString BomLinkWriter::DeleteSql(const BomLinkSelection &which)
{
    return QStringLiteral("Delete * from ArtLegami") + which.Condition();
}

QString BomLinkWriter::SelectSql(const BomLinkSelection &which)
{
    return QStringLiteral("Select * from ArtLegami") + which.Condition();
}

QVector<BomLink> BomLinkWriter::Selected(const BomLinkSelection &which)
{
    QVector<BomLink> links;
    ResultSets rs;
    RsGuard guard(rs, rs.RsOpen(db_, SelectSql(which)));
    const QString &h = guard.handle();
    if (rs.RsIsEmpty(h))
        return links;
    links.reserve(rs.RsCount(h));
    for (rs.RsMoveFirst(h); !rs.RsEof(h); rs.RsMoveNext(h))
        links << DbBomReader::ReadLinkColumns(rs, h);
    return links;
}

qint64 BomLinkWriter::Replace(const BomLinkChange &change, const BomLinkSelection &which,
                              const std::function<void(qint64, qint64)> &progress)
{
    if (change.singleStatement())
        return db_.DbExecute(ReplaceSql(change, which));
    ResultSets rs;
    RsGuard guard(rs, rs.RsOpen(db_, SelectSql(which), true));
    const QString &h = guard.handle();
    qint64 done = 0;
    if (rs.RsIsEmpty(h))
        return done;
    const qint64 total = rs.RsCount(h);
    for (rs.RsMoveFirst(h); !rs.RsEof(h); rs.RsMoveNext(h)) {
        if (progress)
            progress(done + 1, total);
        const BomLink after = change.Applied(DbBomReader::ReadLinkColumns(rs, h), qtyDecimals_);
        rs.RsEdit(h);
        rs.RsFieldSet(h, QStringLiteral("ArticoloFiglio"), change.component);
        if (!IsBlank(change.um, VarKind::Text))
            rs.RsFieldSet(h, QStringLiteral("UM"), change.um);
        if (!IsBlank(change.qualeImporto, VarKind::Text))
            rs.RsFieldSet(h, QStringLiteral("QualeImporto"), change.qualeImporto);
        if (!IsBlank(change.listino, VarKind::Text))
            rs.RsFieldSet(h, QStringLiteral("Listino"), change.listino);
        rs.RsFieldSet(h, QStringLiteral("Qta"), after.qta);
        rs.RsUpdate(h);
        ++done;
    }
    return done;
}

qint64 BomLinkWriter::Delete(const BomLinkSelection &which)
{
    return db_.DbExecute(DeleteSql(which));
}

} // namespace kem
