#include "platform/db/dialect.h"
#include "platform/db/kemdb.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QRegularExpression>

#include <sqlite3.h>

#include <cmath>
#include <limits>

namespace kem {

using jet::Tok;
using jet::Token;

namespace {

Token mk(Tok kind, const QString &text)
{
    Token t;
    t.kind = kind;
    t.text = text;
    if (kind == Tok::Ident)
        t.up = text.toUpper();
    return t;
}

// Jet functions and the names they are registered under (SQLite's own iif is used as is).
const QHash<QString, QString> &functionNames()
{
    static const QHash<QString, QString> map = {
        {QStringLiteral("FIRST"), QStringLiteral("jet_first")}, {QStringLiteral("LAST"), QStringLiteral("jet_last")},
        {QStringLiteral("CLNG"), QStringLiteral("jet_clng")},   {QStringLiteral("CINT"), QStringLiteral("jet_cint")},
        {QStringLiteral("CDBL"), QStringLiteral("jet_cdbl")},   {QStringLiteral("CSTR"), QStringLiteral("jet_cstr")},
        {QStringLiteral("ISNULL"), QStringLiteral("jet_isnull")},
        {QStringLiteral("UCASE"), QStringLiteral("jet_ucase")}, {QStringLiteral("LCASE"), QStringLiteral("jet_lcase")},
        {QStringLiteral("LEN"), QStringLiteral("jet_len")},     {QStringLiteral("LEFT"), QStringLiteral("jet_left")},
        {QStringLiteral("RIGHT"), QStringLiteral("jet_right")}, {QStringLiteral("MID"), QStringLiteral("jet_mid")},
        {QStringLiteral("TRIM"), QStringLiteral("jet_trim")},   {QStringLiteral("LTRIM"), QStringLiteral("jet_ltrim")},
        {QStringLiteral("RTRIM"), QStringLiteral("jet_rtrim")}, {QStringLiteral("NZ"), QStringLiteral("jet_nz")},
        {QStringLiteral("VAL"), QStringLiteral("jet_val")},     {QStringLiteral("DATE"), QStringLiteral("jet_date")},
        {QStringLiteral("NOW"), QStringLiteral("jet_now")},
    };
    return map;
}

bool isName(const Token &t) { return t.kind == Tok::Ident || t.kind == Tok::QuotedIdent; }

// Operand boundaries for "&": Jet binds & looser than arithmetic and tighter than comparisons.
bool concatBoundary(const Token &t, int depth)
{
    if (t.depth < depth)
        return true;
    if (t.depth > depth)
        return false;
    if (t.kind == Tok::Op) {
        static const QStringList ops = {QStringLiteral(","),  QStringLiteral("="),  QStringLiteral("<"),
                                        QStringLiteral(">"),  QStringLiteral("<="), QStringLiteral(">="),
                                        QStringLiteral("<>"), QStringLiteral("!="), QStringLiteral("=="),
                                        QStringLiteral("&"),  QStringLiteral(";")};
        return ops.contains(t.text);
    }
    if (t.kind == Tok::Ident) {
        static const QStringList kws = {
            QStringLiteral("AND"),   QStringLiteral("OR"),     QStringLiteral("NOT"),     QStringLiteral("XOR"),
            QStringLiteral("LIKE"),  QStringLiteral("BETWEEN"), QStringLiteral("IN"),     QStringLiteral("IS"),
            QStringLiteral("SELECT"), QStringLiteral("WHERE"), QStringLiteral("ON"),      QStringLiteral("HAVING"),
            QStringLiteral("WHEN"),  QStringLiteral("THEN"),   QStringLiteral("ELSE"),    QStringLiteral("CASE"),
            QStringLiteral("END"),   QStringLiteral("SET"),    QStringLiteral("BY"),      QStringLiteral("AS"),
            QStringLiteral("FROM"),  QStringLiteral("DISTINCT"), QStringLiteral("TOP"),   QStringLiteral("ORDER"),
            QStringLiteral("GROUP"), QStringLiteral("ASC"),    QStringLiteral("DESC"),    QStringLiteral("INNER"),
            QStringLiteral("JOIN"),  QStringLiteral("UNION"),  QStringLiteral("VALUES"),  QStringLiteral("COLLATE"),
            QStringLiteral("ESCAPE"), QStringLiteral("LIMIT")};
        return kws.contains(t.up);
    }
    return false;
}

// Keywords that a parenthesis follows with a space ("FROM (", "IN (") unlike a function call.
bool spacedKeyword(const Token &t)
{
    static const QStringList kws = {
        QStringLiteral("SELECT"), QStringLiteral("FROM"),  QStringLiteral("IN"),     QStringLiteral("ON"),
        QStringLiteral("AND"),    QStringLiteral("OR"),    QStringLiteral("NOT"),    QStringLiteral("WHERE"),
        QStringLiteral("JOIN"),   QStringLiteral("AS"),    QStringLiteral("BY"),     QStringLiteral("EXISTS"),
        QStringLiteral("SET"),    QStringLiteral("VALUES"), QStringLiteral("WHEN"),  QStringLiteral("THEN"),
        QStringLiteral("ELSE"),   QStringLiteral("CASE"),  QStringLiteral("HAVING"), QStringLiteral("UNION"),
        QStringLiteral("INTO"),   QStringLiteral("LIKE"),  QStringLiteral("IS"),     QStringLiteral("DISTINCT")};
    return kws.contains(t.up);
}

QString quoteText(const QString &s)
{
    QString out = s;
    out.replace(u'\'', QStringLiteral("''"));
    return u'\'' + out + u'\'';
}

} // namespace

QString SqliteDialect::QuoteName(const QString &name) const
{
    QString out = name;
    out.replace(u'"', QStringLiteral("\"\""));
    return u'"' + out + u'"';
}

QString SqliteDialect::Translate(QList<Token> tk) const
{
    const QString lead = jet::LeadingKeyword(tk);

    // "Delete * from T" and "Delete T.* from T" -> "DELETE FROM T".
    if (lead == u"DELETE" && tk.size() > 1) {
        if (tk[1].isOp(QLatin1StringView("*")))
            tk.removeAt(1);
        else if (tk.size() > 3 && isName(tk[1]) && tk[2].isOp(QLatin1StringView(".")) && tk[3].isOp(QLatin1StringView("*")))
            tk.remove(1, 3);
    }

    // UPDATE T SET T.col = ...: SQLite takes bare column names as assignment targets.
    if (lead == u"UPDATE") {
        int k = 0;
        while (k < tk.size() && !(tk[k].depth == 0 && tk[k].isKw(QLatin1StringView("SET"))))
            ++k;
        for (int p = k + 1; p + 3 < tk.size(); ++p) {
            if (tk[p].depth == 0 && tk[p].isKw(QLatin1StringView("WHERE")))
                break;
            const Token &prev = tk[p - 1];
            if (prev.depth == 0 && (prev.isKw(QLatin1StringView("SET")) || prev.isOp(QLatin1StringView(",")))
                && isName(tk[p]) && tk[p + 1].isOp(QLatin1StringView(".")) && isName(tk[p + 2])
                && tk[p + 3].isOp(QLatin1StringView("="))) {
                tk.remove(p, 2);
            }
        }
    }

    // SELECT [DISTINCT] TOP n ... -> SELECT [DISTINCT] ... LIMIT n (at the end of that SELECT).
    for (int k = 0; k < tk.size(); ++k) {
        if (!tk[k].isKw(QLatin1StringView("TOP")) || k == 0)
            continue;
        const Token &prev = tk[k - 1];
        if (!(prev.isKw(QLatin1StringView("SELECT")) || prev.isKw(QLatin1StringView("DISTINCT"))
              || prev.isKw(QLatin1StringView("DISTINCTROW")) || prev.isKw(QLatin1StringView("ALL"))))
            continue;
        if (k + 1 >= tk.size() || tk[k + 1].kind != Tok::Number)
            throw DbError(3075, QStringLiteral("Syntax error: TOP needs a number"), QString());
        if (k + 2 < tk.size() && tk[k + 2].isKw(QLatin1StringView("PERCENT")))
            throw DbError(3000, QStringLiteral("TOP n PERCENT is not supported by this database"), QString());
        const Token count = tk[k + 1];
        const int depth = tk[k].depth;
        tk.remove(k, 2);
        int end = k;
        while (end < tk.size() && tk[end].depth >= depth && !(tk[end].depth == depth && tk[end].isOp(QLatin1StringView(";"))))
            ++end;
        Token limit = mk(Tok::Ident, QStringLiteral("LIMIT"));
        Token n = mk(Tok::Number, count.text);
        limit.depth = n.depth = depth;
        tk.insert(end, n);
        tk.insert(end, limit);
    }

    // Names, functions, True/False, Mod, DISTINCTROW.
    const auto &fn = functionNames();
    for (int k = 0; k < tk.size(); ++k) {
        Token &t = tk[k];
        if (t.kind != Tok::Ident)
            continue;
        const bool qualified = k > 0 && tk[k - 1].isOp(QLatin1StringView("."));
        const bool call = k + 1 < tk.size() && tk[k + 1].isOp(QLatin1StringView("("));
        if (qualified)
            continue;
        if (call) {
            auto it = fn.constFind(t.up);
            if (it != fn.constEnd()) {
                t.text = it.value();
                t.up = t.text.toUpper();
            }
        } else if (t.up == u"TRUE" || t.up == u"FALSE") {
            t.kind = Tok::Number; // Booleans are stored as 1 / 0
            t.text = t.up == u"TRUE" ? QStringLiteral("1") : QStringLiteral("0");
        } else if (t.up == u"MOD") {
            t.kind = Tok::Op;
            t.text = QStringLiteral("%");
        } else if (t.up == u"DISTINCTROW") {
            t.text = QStringLiteral("DISTINCT");
            t.up = t.text;
        }
    }

    // Text results of functions compare without regard to case, like the text columns:
    // f(...) -> (f(...) COLLATE NOCASE). Collation does not touch numbers.
    jet::RecomputeDepths(tk);
    static const QStringList caseless = {
        QStringLiteral("JET_UCASE"), QStringLiteral("JET_LCASE"), QStringLiteral("JET_TRIM"),  QStringLiteral("JET_LTRIM"),
        QStringLiteral("JET_RTRIM"), QStringLiteral("JET_LEFT"),  QStringLiteral("JET_RIGHT"), QStringLiteral("JET_MID"),
        QStringLiteral("JET_CSTR"),  QStringLiteral("JET_NZ"),    QStringLiteral("JET_FIRST"), QStringLiteral("JET_LAST"),
        QStringLiteral("IIF")};
    for (int k = 0; k + 1 < tk.size(); ++k) {
        if (tk[k].kind != Tok::Ident || !tk[k + 1].isOp(QLatin1StringView("(")) || !caseless.contains(tk[k].up)
            || (k > 0 && tk[k - 1].isOp(QLatin1StringView("."))))
            continue;
        const int depth = tk[k + 1].depth;
        int close = k + 2;
        while (close < tk.size() && !(tk[close].isOp(QLatin1StringView(")")) && tk[close].depth == depth))
            ++close;
        if (close >= tk.size())
            throw DbError(3075, QStringLiteral("Syntax error: missing ) after %1(").arg(tk[k].text), QString());
        tk.insert(close + 1, mk(Tok::Op, QStringLiteral(")")));
        tk.insert(close + 1, mk(Tok::Ident, QStringLiteral("NOCASE")));
        tk.insert(close + 1, mk(Tok::Ident, QStringLiteral("COLLATE")));
        tk.insert(k, mk(Tok::Op, QStringLiteral("(")));
        jet::RecomputeDepths(tk);
        ++k; // past the inserted parenthesis; nested calls are met further on
    }

    // a & b & c -> (jet_cat(a, b, c) COLLATE NOCASE): Null operands count as empty text and
    // the result compares without regard to case, as text columns do.
    jet::RecomputeDepths(tk);
    for (int i = 0; i < tk.size(); ++i) {
        if (!tk[i].isOp(QLatin1StringView("&")))
            continue;
        const int d = tk[i].depth;
        int s = i - 1;
        while (s >= 0 && !concatBoundary(tk[s], d))
            --s;
        ++s;
        if (s == i)
            throw DbError(3075, QStringLiteral("Syntax error: missing operand before &"), QString());
        QList<Token> rep;
        rep << mk(Tok::Op, QStringLiteral("(")) << mk(Tok::Ident, QStringLiteral("jet_cat")) << mk(Tok::Op, QStringLiteral("("));
        rep.append(tk.mid(s, i - s));
        int j = i;
        while (j < tk.size() && tk[j].isOp(QLatin1StringView("&")) && tk[j].depth == d) {
            int e = j + 1;
            while (e < tk.size() && !concatBoundary(tk[e], d))
                ++e;
            if (e == j + 1)
                throw DbError(3075, QStringLiteral("Syntax error: missing operand after &"), QString());
            rep << mk(Tok::Op, QStringLiteral(","));
            rep.append(tk.mid(j + 1, e - j - 1));
            j = e;
        }
        rep << mk(Tok::Op, QStringLiteral(")")) << mk(Tok::Ident, QStringLiteral("COLLATE"))
            << mk(Tok::Ident, QStringLiteral("NOCASE")) << mk(Tok::Op, QStringLiteral(")"));
        tk.remove(s, j - s);
        for (int r = 0; r < rep.size(); ++r)
            tk.insert(s + r, rep[r]);
        jet::RecomputeDepths(tk);
        i = s;
    }

    // Text.
    QString out;
    out.reserve(tk.size() * 8);
    for (int k = 0; k < tk.size(); ++k) {
        const Token &t = tk[k];
        if (k > 0) {
            const Token &p = tk[k - 1];
            const bool noSpace = t.isOp(QLatin1StringView(".")) || t.isOp(QLatin1StringView(","))
                                 || t.isOp(QLatin1StringView(")")) || p.isOp(QLatin1StringView("."))
                                 || p.isOp(QLatin1StringView("("))
                                 || (t.isOp(QLatin1StringView("(")) && p.kind == Tok::Ident && !spacedKeyword(p));
            if (!noSpace)
                out += u' ';
        }
        switch (t.kind) {
        case Tok::Ident:
            out += t.text;
            break;
        case Tok::QuotedIdent:
            out += QuoteName(t.text);
            break;
        case Tok::Number:
            out += t.param ? QStringLiteral("?") : t.text;
            break;
        case Tok::String:
        case Tok::Date:
            out += t.param ? QStringLiteral("?") : quoteText(t.text);
            break;
        case Tok::Op:
            out += t.text == u"==" ? QStringLiteral("=") : t.text;
            break;
        }
    }
    return out;
}

int SqliteDialect::ErrorNumber(const QString &nativeCode, const QString &message) const
{
    const int code = nativeCode.toInt() & 0xff;
    const QString m = message.toLower();
    if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT || m.contains(u"file is not a database")
        || m.contains(u"malformed"))
        return 3343; // unrecognized database format / damaged file
    if (code == SQLITE_BUSY || m.contains(u"database is locked"))
        return 3260; // locked by another user
    if (code == SQLITE_LOCKED || m.contains(u"table is locked"))
        return 3218; // could not update; currently locked
    if (code == SQLITE_READONLY || m.contains(u"readonly"))
        return 3027; // database or object is read-only
    if (code == SQLITE_CANTOPEN || m.contains(u"unable to open"))
        return 3024; // could not find file
    if (code == SQLITE_FULL)
        return 3035; // system resource exceeded
    if (code == SQLITE_CONSTRAINT || m.contains(u"constraint failed")) {
        if (m.contains(u"unique") || m.contains(u"primary key"))
            return 3022; // duplicate values in the index, primary key or relationship
        if (m.contains(u"not null"))
            return 3314; // field cannot contain a Null value
        return 3317;     // validation rule violated
    }
    if (m.contains(u"no such table"))
        return 3078; // cannot find the input table or query
    if (m.contains(u"no such column"))
        return 3061; // too few parameters (an unknown name is a parameter to Jet)
    if (m.contains(u"ambiguous column"))
        return 3079; // the field could refer to more than one table
    if (m.contains(u"no such function") || m.contains(u"wrong number of arguments"))
        return 3085; // undefined function in expression
    if (m.contains(u"data type mismatch"))
        return 3464;
    if (m.contains(u"invalid use of null"))
        return 94;
    if (m.contains(u"overflow"))
        return 6;
    if (m.contains(u"syntax error") || m.contains(u"incomplete input") || m.contains(u"unrecognized token")
        || m.contains(u"near \""))
        return 3075; // syntax error in query expression
    return 3000;
}

// ---------------------------------------------------------------- registered functions

namespace {

QString argText(sqlite3_value *v)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

void resultText(sqlite3_context *ctx, const QString &s)
{
    const QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

// A value as a number the way Jet converts it; false when it is not numeric.
bool argNumber(sqlite3_value *v, double *out)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        *out = double(sqlite3_value_int64(v));
        return true;
    case SQLITE_FLOAT:
        *out = sqlite3_value_double(v);
        return true;
    case SQLITE_TEXT: {
        QString s = argText(v).trimmed();
        bool ok = false;
        double d = s.toDouble(&ok);
        if (!ok) {
            s.replace(u',', u'.');
            d = s.toDouble(&ok);
        }
        *out = d;
        return ok;
    }
    default:
        return false;
    }
}

// CLng / CInt: round half to even, Null is an error, text must be numeric.
void convertInt(sqlite3_context *ctx, sqlite3_value *v, double lo, double hi)
{
    if (sqlite3_value_type(v) == SQLITE_NULL) {
        sqlite3_result_error(ctx, "Invalid use of Null", -1);
        return;
    }
    double d = 0;
    if (!argNumber(v, &d)) {
        sqlite3_result_error(ctx, "Data type mismatch in conversion", -1);
        return;
    }
    const double r = std::nearbyint(d); // default rounding mode: ties to even, as Jet does
    if (r < lo || r > hi) {
        sqlite3_result_error(ctx, "Overflow", -1);
        return;
    }
    sqlite3_result_int64(ctx, sqlite3_int64(r));
}

void fnClng(sqlite3_context *ctx, int, sqlite3_value **a) { convertInt(ctx, a[0], -2147483648.0, 2147483647.0); }
void fnCint(sqlite3_context *ctx, int, sqlite3_value **a) { convertInt(ctx, a[0], -32768.0, 32767.0); }

void fnCdbl(sqlite3_context *ctx, int, sqlite3_value **a)
{
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) {
        sqlite3_result_error(ctx, "Invalid use of Null", -1);
        return;
    }
    double d = 0;
    if (!argNumber(a[0], &d)) {
        sqlite3_result_error(ctx, "Data type mismatch in conversion", -1);
        return;
    }
    sqlite3_result_double(ctx, d);
}

void fnCstr(sqlite3_context *ctx, int, sqlite3_value **a)
{
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) {
        sqlite3_result_error(ctx, "Invalid use of Null", -1);
        return;
    }
    resultText(ctx, argText(a[0]));
}

void fnIsNull(sqlite3_context *ctx, int, sqlite3_value **a)
{
    sqlite3_result_int(ctx, sqlite3_value_type(a[0]) == SQLITE_NULL ? 1 : 0);
}

template <QString (*F)(const QString &)>
void textFn(sqlite3_context *ctx, int, sqlite3_value **a)
{
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    resultText(ctx, F(argText(a[0])));
}
QString upperOf(const QString &s) { return s.toUpper(); }
QString lowerOf(const QString &s) { return s.toLower(); }
QString trimOf(const QString &s)
{
    int b = 0, e = int(s.size());
    while (b < e && s.at(b) == u' ') ++b;
    while (e > b && s.at(e - 1) == u' ') --e;
    return s.mid(b, e - b);
}
QString ltrimOf(const QString &s)
{
    int b = 0;
    while (b < s.size() && s.at(b) == u' ') ++b;
    return s.mid(b);
}
QString rtrimOf(const QString &s)
{
    int e = int(s.size());
    while (e > 0 && s.at(e - 1) == u' ') --e;
    return s.left(e);
}

void fnLen(sqlite3_context *ctx, int, sqlite3_value **a)
{
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, argText(a[0]).size());
}

bool countArg(sqlite3_context *ctx, sqlite3_value *v, qsizetype *n)
{
    double d = 0;
    if (!argNumber(v, &d) || d < 0) {
        sqlite3_result_error(ctx, "Invalid procedure call or argument", -1);
        return false;
    }
    *n = qsizetype(std::nearbyint(d));
    return true;
}

void fnLeft(sqlite3_context *ctx, int, sqlite3_value **a)
{
    qsizetype n = 0;
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) { sqlite3_result_null(ctx); return; }
    if (!countArg(ctx, a[1], &n)) return;
    resultText(ctx, argText(a[0]).left(n));
}

void fnRight(sqlite3_context *ctx, int, sqlite3_value **a)
{
    qsizetype n = 0;
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) { sqlite3_result_null(ctx); return; }
    if (!countArg(ctx, a[1], &n)) return;
    resultText(ctx, argText(a[0]).right(n));
}

void fnMid(sqlite3_context *ctx, int argc, sqlite3_value **a)
{
    qsizetype start = 0, len = -1;
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) { sqlite3_result_null(ctx); return; }
    if (!countArg(ctx, a[1], &start)) return;
    if (start < 1) {
        sqlite3_result_error(ctx, "Invalid procedure call or argument", -1);
        return;
    }
    if (argc > 2 && !countArg(ctx, a[2], &len)) return;
    resultText(ctx, argText(a[0]).mid(start - 1, len));
}

void fnNz(sqlite3_context *ctx, int argc, sqlite3_value **a)
{
    if (sqlite3_value_type(a[0]) != SQLITE_NULL)
        sqlite3_result_value(ctx, a[0]);
    else if (argc > 1)
        sqlite3_result_value(ctx, a[1]);
    else
        sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
}

// Val: the number at the start of the text (blanks ignored), 0 when there is none.
void fnVal(sqlite3_context *ctx, int, sqlite3_value **a)
{
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) {
        sqlite3_result_error(ctx, "Invalid use of Null", -1);
        return;
    }
    if (sqlite3_value_type(a[0]) != SQLITE_TEXT) {
        sqlite3_result_value(ctx, a[0]);
        return;
    }
    QString s = argText(a[0]);
    s.remove(u' ');
    static const QRegularExpression num(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)"));
    const auto m = num.match(s);
    sqlite3_result_double(ctx, m.hasMatch() ? m.captured(0).toDouble() : 0.0);
}

void fnDate(sqlite3_context *ctx, int, sqlite3_value **)
{
    resultText(ctx, QDate::currentDate().toString(Qt::ISODate));
}

void fnNow(sqlite3_context *ctx, int, sqlite3_value **)
{
    resultText(ctx, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

// a & b & ...: Null operands are empty text; all operands Null gives Null.
void fnCat(sqlite3_context *ctx, int argc, sqlite3_value **a)
{
    QByteArray out;
    bool any = false;
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(a[i]) == SQLITE_NULL)
            continue;
        any = true;
        const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(a[i]));
        out.append(p, sqlite3_value_bytes(a[i]));
    }
    if (!any)
        sqlite3_result_null(ctx);
    else
        sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

// First / Last aggregates: the value of the first (last) row of the group, Null included.
struct PickState {
    sqlite3_value *value;
    bool set;
};

template <bool Last>
void pickStep(sqlite3_context *ctx, int, sqlite3_value **a)
{
    auto *st = static_cast<PickState *>(sqlite3_aggregate_context(ctx, sizeof(PickState)));
    if (!st)
        return;
    if (st->set && !Last)
        return;
    if (st->value)
        sqlite3_value_free(st->value);
    st->value = sqlite3_value_dup(a[0]);
    st->set = true;
}

void pickFinal(sqlite3_context *ctx)
{
    auto *st = static_cast<PickState *>(sqlite3_aggregate_context(ctx, 0));
    if (st && st->value) {
        sqlite3_result_value(ctx, st->value);
        sqlite3_value_free(st->value);
        st->value = nullptr;
    } else {
        sqlite3_result_null(ctx);
    }
}

} // namespace

bool SqliteDialect::RegisterFunctions(sqlite3 *h, QString *error)
{
    struct Scalar {
        const char *name;
        int args;
        void (*fn)(sqlite3_context *, int, sqlite3_value **);
        bool deterministic;
    };
    static const Scalar scalars[] = {
        {"jet_clng", 1, fnClng, true},   {"jet_cint", 1, fnCint, true},   {"jet_cdbl", 1, fnCdbl, true},
        {"jet_cstr", 1, fnCstr, true},   {"jet_isnull", 1, fnIsNull, true},
        {"jet_ucase", 1, textFn<upperOf>, true}, {"jet_lcase", 1, textFn<lowerOf>, true},
        {"jet_trim", 1, textFn<trimOf>, true},   {"jet_ltrim", 1, textFn<ltrimOf>, true},
        {"jet_rtrim", 1, textFn<rtrimOf>, true}, {"jet_len", 1, fnLen, true},
        {"jet_left", 2, fnLeft, true},   {"jet_right", 2, fnRight, true}, {"jet_mid", 2, fnMid, true},
        {"jet_mid", 3, fnMid, true},     {"jet_nz", 1, fnNz, true},       {"jet_nz", 2, fnNz, true},
        {"jet_val", 1, fnVal, true},     {"jet_date", 0, fnDate, false},  {"jet_now", 0, fnNow, false},
        {"jet_cat", -1, fnCat, true},
    };
    for (const Scalar &s : scalars) {
        const int flags = SQLITE_UTF8 | (s.deterministic ? SQLITE_DETERMINISTIC : 0);
        if (sqlite3_create_function_v2(h, s.name, s.args, flags, nullptr, s.fn, nullptr, nullptr, nullptr) != SQLITE_OK) {
            if (error)
                *error = QStringLiteral("cannot register %1: %2").arg(QLatin1StringView(s.name), QString::fromUtf8(sqlite3_errmsg(h)));
            return false;
        }
    }
    if (sqlite3_create_function_v2(h, "jet_first", 1, SQLITE_UTF8, nullptr, nullptr, pickStep<false>, pickFinal, nullptr) != SQLITE_OK
        || sqlite3_create_function_v2(h, "jet_last", 1, SQLITE_UTF8, nullptr, nullptr, pickStep<true>, pickFinal, nullptr) != SQLITE_OK) {
        if (error)
            *error = QStringLiteral("cannot register First/Last: %1").arg(QString::fromUtf8(sqlite3_errmsg(h)));
        return false;
    }
    return true;
}

} // namespace kem
