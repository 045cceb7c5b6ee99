#include "common/stocksums.h"

#include "platform/util/kemutil.h"

namespace kem {

QString StockSumsSql(int year, const QString &article, const QString &warehouse)
{
    QString sql = QStringLiteral("Select sum(QtaIniziale) As SumQtaIniziale")
        + QStringLiteral(", sum(QtaCarico) As SumQtaCarico") + QStringLiteral(", sum(QtaSCarico) As SumQtaSCarico")
        + QStringLiteral(", sum(QtaOrdFor) As SumQtaOrdFor") + QStringLiteral(", sum(QtaImpCli) As SumQtaImpCli")
        + QStringLiteral(" from ArticoliProg") + QStringLiteral(" Where Anno = ") + SqlLiteral(year, VarKind::Int16)
        + QStringLiteral(" and Articolo = ") + SqlLiteral(article, VarKind::Text);
    if (!IsBlank(warehouse, VarKind::Text))
        sql += QStringLiteral(" and Magazzino = ") + SqlLiteral(warehouse, VarKind::Text);
    return sql;
}

StockSums ReadStockSums(Database &db, int year, const QString &article, const QString &warehouse,
                        int qtyDecimals)
{
    ResultSets rs;
    const QString h = rs.RsOpen(db, StockSumsSql(year, article, warehouse));
    RsGuard guard(rs, h);
    StockSums s;
    if (rs.RsIsEmpty(h))
        return s;
    rs.RsMoveFirst(h);
    auto sum = [&](const char *name) { return rs.RsField(h, QString::fromLatin1(name)).toDouble(); };
    static const QString modo = QStringLiteral("A");
    const double giac = sum("SumQtaIniziale") + sum("SumQtaCarico") - sum("SumQtaSCarico");
    s.giacenza = RoundNum(giac, modo, 1, qtyDecimals);
    s.disponibilita = RoundNum(giac + sum("SumQtaOrdFor") - sum("SumQtaImpCli"), modo, 1, qtyDecimals);
    return s;
}

} // namespace kem
