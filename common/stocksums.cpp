#include "common/stocksums.h"

#include "platform/util/kemutil.h"

namespace kem {

namespace {

const QString kSums = QStringLiteral("Select sum(QtaIniziale) As SumQtaIniziale")
    + QStringLiteral(", sum(QtaCarico) As SumQtaCarico") + QStringLiteral(", sum(QtaSCarico) As SumQtaSCarico")
    + QStringLiteral(", sum(QtaOrdFor) As SumQtaOrdFor") + QStringLiteral(", sum(QtaImpCli) As SumQtaImpCli");

// The two figures of the current row of a sums statement.
StockSums SumsOf(ResultSets &rs, const QString &h, int qtyDecimals)
{
    auto sum = [&](const char *name) { return rs.RsField(h, QString::fromLatin1(name)).toDouble(); };
    static const QString modo = QStringLiteral("A");
    const double giac = sum("SumQtaIniziale") + sum("SumQtaCarico") - sum("SumQtaSCarico");
    StockSums s;
    s.giacenza = RoundNum(giac, modo, 1, qtyDecimals);
    s.disponibilita = RoundNum(giac + sum("SumQtaOrdFor") - sum("SumQtaImpCli"), modo, 1, qtyDecimals);
    return s;
}

} // namespace

QString StockSumsSql(int year, const QString &article, const QString &warehouse)
{
    QString sql = kSums + QStringLiteral(" from ArticoliProg") + QStringLiteral(" Where Anno = ") + SqlLiteral(year, VarKind::Int16)
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
    if (rs.RsIsEmpty(h))
        return {};
    rs.RsMoveFirst(h);
    return SumsOf(rs, h, qtyDecimals);
}

StockSums StockSumsTable::get(int year, const QString &article)
{
    auto it = years_.find(year);
    if (it == years_.end()) {
        QString sql = QStringLiteral("Select Articolo, ") + kSums.mid(7) + QStringLiteral(" from ArticoliProg")
            + QStringLiteral(" Where Anno = ") + SqlLiteral(year, VarKind::Int16);
        if (!IsBlank(warehouse_, VarKind::Text))
            sql += QStringLiteral(" and Magazzino = ") + SqlLiteral(warehouse_, VarKind::Text);
        sql += QStringLiteral(" Group By Articolo");
        QHash<QString, StockSums> sums;
        ResultSets rs;
        const QString h = rs.RsOpen(db_, sql);
        RsGuard guard(rs, h);
        if (!rs.RsIsEmpty(h)) {
            rs.RsMoveFirst(h);
            while (!rs.RsEof(h)) {
                sums.insert(rs.RsField(h, QStringLiteral("Articolo")).toString().toCaseFolded(), SumsOf(rs, h, decimals_));
                rs.RsMoveNext(h);
            }
        }
        it = years_.insert(year, std::move(sums));
    }
    // An article without progressives has 0 of both, as its sums of no rows.
    return it->value(article.toCaseFolded());
}

} // namespace kem
