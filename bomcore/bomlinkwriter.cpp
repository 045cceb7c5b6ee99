#include "bomcore/bomlinkwriter.h"

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

qint64 BomLinkWriter::Replace(const BomLinkChange &change, const BomLinkSelection &which,
                              const std::function<void(qint64, qint64)> &progress)
{
    if (change.factor == 1)
        return db_.DbExecute(ReplaceSql(change, which));
    ResultSets rs;
    RsGuard guard(rs, rs.RsOpen(db_, QStringLiteral("Select * from ArtLegami") + which.Condition(), true));
    const QString &h = guard.handle();
    qint64 done = 0;
    if (rs.RsIsEmpty(h))
        return done;
    const qint64 total = rs.RsCount(h);
    for (rs.RsMoveFirst(h); !rs.RsEof(h); rs.RsMoveNext(h)) {
        if (progress)
            progress(done + 1, total);
        const double qta = rs.RsField(h, QStringLiteral("Qta")).toDouble();
        const double scaled = change.divide ? qta / change.factor : qta * change.factor;
        rs.RsEdit(h);
        rs.RsFieldSet(h, QStringLiteral("ArticoloFiglio"), change.component);
        if (!IsBlank(change.um, VarKind::Text))
            rs.RsFieldSet(h, QStringLiteral("UM"), change.um);
        if (!IsBlank(change.qualeImporto, VarKind::Text))
            rs.RsFieldSet(h, QStringLiteral("QualeImporto"), change.qualeImporto);
        if (!IsBlank(change.listino, VarKind::Text))
            rs.RsFieldSet(h, QStringLiteral("Listino"), change.listino);
        rs.RsFieldSet(h, QStringLiteral("Qta"), RoundNum(scaled, QStringLiteral("A"), 1, qtyDecimals_));
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
