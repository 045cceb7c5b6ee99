#include "platform/help/decodeservice.h"

#include "platform/db/kemdb.h"
#include "platform/util/kemutil.h"

namespace kem {

namespace {

QString Text(const QVariant &v)
{
    return v.isValid() ? v.toString() : QString();
}

QString Parenthesised(const QString &where)
{
    return where.trimmed().isEmpty() ? QString() : "(" + where.trimmed() + ")";
}

} // namespace

QString DecodeService::StartsWithCondition(const QString &expression, const QString &text)
{
    static const QString highest = QString::fromUcs4(U"\U0010FFFF");
    return expression + " >= " + SqlLiteral(text, VarKind::Text) + " And " + expression + " < " +
           SqlLiteral(text + highest, VarKind::Text);
}

QString DecodeService::SelectStatement(const DecodeKind &kind, const QString &where,
                                       const QStringList &extraColumns, int top)
{
    QString sql = "Select " + (top > 0 ? QStringLiteral("TOP %1 ").arg(top) : QString()) + CodeExpression(kind) + " AS KemCodice, " + kind.descColumn +
                  " AS KemDescrizione";
    if (!kind.imageColumn.isEmpty())
        sql += ", " + kind.imageColumn + " AS KemImmagine";
    for (int i = 0; i < extraColumns.size(); ++i)
        sql += QStringLiteral(", %1 AS KemExtra%2").arg(extraColumns.at(i)).arg(i);
    sql += " From " + kind.table;
    const QString w = AndWhere(Parenthesised(kind.filter), Parenthesised(where));
    if (!w.isEmpty())
        sql += " Where " + w;
    sql += " Order By " + kind.codeColumns.join(QStringLiteral(", "));
    return sql;
}

DecodedCode DecodeService::Decode(const QString &kind, const QString &code, const QString &where)
{
    const DecodeKind &k = DecodeKindOf(kind);
    ResultSets rs;
    RsGuard h(rs, rs.RsOpen(db_, SelectStatement(k, AndWhere(CodeCondition(k, code), Parenthesised(where)), {})));
    DecodedCode result;
    if (rs.RsIsEmpty(h))
        return result;
    rs.RsMoveFirst(h);
    result.found = true;
    result.code = Text(rs.RsField(h, QStringLiteral("KemCodice")));
    result.description = Text(rs.RsField(h, QStringLiteral("KemDescrizione")));
    if (!k.imageColumn.isEmpty())
        result.image = Text(rs.RsField(h, QStringLiteral("KemImmagine")));
    return result;
}

QList<LookupRow> DecodeService::Rows(const QString &kind, const QString &where,
                                     const QStringList &extraColumns, const QString &startsWith,
                                     int limit)
{
    const DecodeKind &k = DecodeKindOf(kind);
    // Column names reach the statement, so they are checked again here.
    const QStringList extra = ParseColumnList(extraColumns.join(QLatin1Char(',')));
    QString w = Parenthesised(where);
    const QString typed = startsWith.trimmed();
    if (!typed.isEmpty()) {
        const QString codeExpr = k.codeColumns.size() == 1 ? k.codeColumns.first() : "(" + CodeExpression(k) + ")";
        w = AndWhere(w, "((" + StartsWithCondition(codeExpr, typed) + ") Or (" +
                            StartsWithCondition(k.descColumn, typed) + "))");
    }
    ResultSets rs;
    RsGuard h(rs, rs.RsOpen(db_, SelectStatement(k, w, extra, limit)));
    QList<LookupRow> rows;
    if (rs.RsIsEmpty(h))
        return rows;
    rs.RsMoveFirst(h);
    while (!rs.RsEof(h)) {
        LookupRow row;
        row.code = Text(rs.RsField(h, QStringLiteral("KemCodice")));
        row.description = Text(rs.RsField(h, QStringLiteral("KemDescrizione")));
        if (!k.imageColumn.isEmpty())
            row.image = Text(rs.RsField(h, QStringLiteral("KemImmagine")));
        for (int i = 0; i < extra.size(); ++i)
            row.extra.append(Text(rs.RsField(h, QStringLiteral("KemExtra%1").arg(i))));
        rows.append(row);
        rs.RsMoveNext(h);
    }
    return rows;
}

} // namespace kem
