#include "decodeservice.h"

#include "platform/db/kemdb.h"

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

QString DecodeService::SelectStatement(const DecodeKind &kind, const QString &where,
                                       const QStringList &extraColumns)
{
    QString sql = "Select " + CodeExpression(kind) + " AS KemCodice, " + kind.descColumn +
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
                                     const QStringList &extraColumns)
{
    const DecodeKind &k = DecodeKindOf(kind);
    // Column names reach the statement, so they are checked again here.
    const QStringList extra = ParseColumnList(extraColumns.join(QLatin1Char(',')));
    ResultSets rs;
    RsGuard h(rs, rs.RsOpen(db_, SelectStatement(k, where, extra)));
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
