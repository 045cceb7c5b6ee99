#include "platform/db/jetsql.h"

#include "platform/db/kemdb.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>

namespace kem::jet {

namespace {

bool isIdentStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isIdentChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

[[noreturn]] void syntaxError(const QString &sql, const QString &what)
{
    throw DbError(3075, QStringLiteral("Syntax error in query expression: %1").arg(what), sql);
}

// Jet date literal content: m/d/yyyy (or yyyy-mm-dd), optionally followed by a time.
QString isoDate(const QString &body, const QString &sql)
{
    static const QRegularExpression us(
        QStringLiteral(R"(^\s*(\d{1,2})/(\d{1,2})/(\d{2}|\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    static const QRegularExpression iso(
        QStringLiteral(R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:[\sT]+(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0;
    bool hasTime = false;
    if (auto r = us.match(body); r.hasMatch()) {
        m = r.captured(1).toInt();
        d = r.captured(2).toInt();
        y = r.captured(3).toInt();
        if (r.captured(3).size() == 2)
            y += y < 30 ? 2000 : 1900; // Jet's two-digit year window
        hasTime = r.capturedLength(4) > 0;
        hh = r.captured(4).toInt(); mm = r.captured(5).toInt(); ss = r.captured(6).toInt();
    } else if (auto r2 = iso.match(body); r2.hasMatch()) {
        y = r2.captured(1).toInt();
        m = r2.captured(2).toInt();
        d = r2.captured(3).toInt();
        hasTime = r2.capturedLength(4) > 0;
        hh = r2.captured(4).toInt(); mm = r2.captured(5).toInt(); ss = r2.captured(6).toInt();
    } else {
        syntaxError(sql, QStringLiteral("invalid date #%1#").arg(body));
    }
    const QDate date(y, m, d);
    const QTime time(hh, mm, ss);
    if (!date.isValid() || !time.isValid())
        syntaxError(sql, QStringLiteral("invalid date #%1#").arg(body));
    if (!hasTime || time == QTime(0, 0))
        return date.toString(Qt::ISODate);
    return date.toString(Qt::ISODate) + u' ' + time.toString(QStringLiteral("HH:mm:ss"));
}

bool clauseEndKeyword(const Token &t)
{
    static const QStringList kws = {QStringLiteral("HAVING"), QStringLiteral("LIMIT"), QStringLiteral("UNION"),
                                    QStringLiteral("WHERE"),  QStringLiteral("FROM"),  QStringLiteral("SELECT")};
    return t.kind == Tok::Ident && kws.contains(t.up);
}

} // namespace

Statement Tokenize(const QString &sql, bool extractLiterals)
{
    Statement st;
    const int n = sql.size();
    st.tokens.reserve(n / 4 + 4);
    int depth = 0;
    int i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        if (c.isSpace()) { ++i; continue; }
        Token t;
        t.depth = depth;
        if (c == u'\'' || c == u'"') {
            QString value;
            int j = i + 1;
            bool closed = false;
            while (j < n) {
                if (sql.at(j) == c) {
                    if (j + 1 < n && sql.at(j + 1) == c) { value += c; j += 2; continue; }
                    closed = true;
                    ++j;
                    break;
                }
                value += sql.at(j++);
            }
            if (!closed)
                syntaxError(sql, QStringLiteral("unterminated text literal"));
            t.kind = Tok::String;
            t.text = value;
            i = j;
        } else if (c == u'#') {
            const int close = sql.indexOf(u'#', i + 1);
            if (close < 0)
                syntaxError(sql, QStringLiteral("unterminated date literal"));
            t.kind = Tok::Date;
            t.text = isoDate(sql.mid(i + 1, close - i - 1), sql);
            i = close + 1;
        } else if (c == u'[') {
            const int close = sql.indexOf(u']', i + 1);
            if (close < 0)
                syntaxError(sql, QStringLiteral("unterminated [name]"));
            t.kind = Tok::QuotedIdent;
            t.text = sql.mid(i + 1, close - i - 1);
            t.up = t.text.toUpper();
            i = close + 1;
        } else if (c.isDigit()) {
            int j = i;
            while (j < n && sql.at(j).isDigit()) ++j;
            if (j < n && sql.at(j) == u'.' && j + 1 < n && sql.at(j + 1).isDigit()) {
                ++j;
                while (j < n && sql.at(j).isDigit()) ++j;
            }
            if (j < n && (sql.at(j) == u'e' || sql.at(j) == u'E')) {
                int k = j + 1;
                if (k < n && (sql.at(k) == u'+' || sql.at(k) == u'-')) ++k;
                if (k < n && sql.at(k).isDigit()) {
                    while (k < n && sql.at(k).isDigit()) ++k;
                    j = k;
                }
            }
            t.kind = Tok::Number;
            t.text = sql.mid(i, j - i);
            i = j;
        } else if (isIdentStart(c)) {
            int j = i + 1;
            while (j < n && isIdentChar(sql.at(j))) ++j;
            t.kind = Tok::Ident;
            t.text = sql.mid(i, j - i);
            t.up = t.text.toUpper();
            i = j;
        } else {
            t.kind = Tok::Op;
            const QString two = sql.mid(i, 2);
            if (two == u"<=" || two == u">=" || two == u"<>" || two == u"!=" || two == u"||" || two == u"==") {
                t.text = two;
                i += 2;
            } else {
                t.text = QString(c);
                ++i;
            }
            if (c == u'(') {
                ++depth;
            } else if (c == u')') {
                --depth;
                t.depth = depth;
            }
        }
        st.tokens.append(std::move(t));
    }

    // Literals to parameters (data statements only: DDL takes no parameters), and the key.
    if (extractLiterals) {
        const QString lead = LeadingKeyword(st.tokens);
        extractLiterals = lead == u"SELECT" || lead == u"INSERT" || lead == u"UPDATE" || lead == u"DELETE";
    }
    QList<bool> orderBy; // per depth: inside ORDER BY / GROUP BY
    st.key.reserve(sql.size());
    for (int k = 0; k < st.tokens.size(); ++k) {
        Token &t = st.tokens[k];
        const int d = qMax(0, t.depth);
        if (orderBy.size() <= d + 1)
            orderBy.resize(d + 2);
        if (t.isOp(QLatin1StringView(")")))
            orderBy[d + 1] = false;
        if (t.isKw(QLatin1StringView("BY")) && k > 0
            && (st.tokens[k - 1].isKw(QLatin1StringView("ORDER")) || st.tokens[k - 1].isKw(QLatin1StringView("GROUP"))))
            orderBy[d] = true;
        else if (clauseEndKeyword(t))
            orderBy[d] = false;
        bool inOrder = false;
        for (int x = 0; x <= d && x < orderBy.size(); ++x)
            inOrder = inOrder || orderBy[x];
        const bool afterTop = k > 0 && st.tokens[k - 1].isKw(QLatin1StringView("TOP"));
        if (extractLiterals && t.isLiteral() && !inOrder && !(afterTop && t.kind == Tok::Number)) {
            t.param = true;
            st.literals.append(LiteralValue(t));
        }
        if (!st.key.isEmpty())
            st.key += u' ';
        if (t.param)
            st.key += u'?';
        else if (t.kind == Tok::String)
            st.key += u'\'' + t.text + u'\'';
        else if (t.kind == Tok::Date)
            st.key += u'#' + t.text + u'#';
        else if (t.kind == Tok::QuotedIdent)
            st.key += u'[' + t.text + u']';
        else
            st.key += t.text;
    }
    return st;
}

void RecomputeDepths(QList<Token> &tokens)
{
    int depth = 0;
    for (Token &t : tokens) {
        if (t.isOp(QLatin1StringView(")")))
            --depth;
        t.depth = depth;
        if (t.isOp(QLatin1StringView("(")))
            ++depth;
    }
}

QVariant LiteralValue(const Token &t)
{
    if (t.kind == Tok::Number) {
        bool ok = false;
        const qlonglong v = t.text.toLongLong(&ok);
        if (ok)
            return v;
        return t.text.toDouble();
    }
    return t.text;
}

QString LeadingKeyword(const QList<Token> &tokens)
{
    for (const Token &t : tokens) {
        if (t.kind == Tok::Ident)
            return t.up;
        if (!t.isOp(QLatin1StringView("(")))
            break;
    }
    return {};
}

namespace {

bool isJoinWord(const Token &t)
{
    static const QStringList kws = {QStringLiteral("ON"),    QStringLiteral("INNER"), QStringLiteral("LEFT"),
                                    QStringLiteral("RIGHT"), QStringLiteral("FULL"),  QStringLiteral("OUTER"),
                                    QStringLiteral("CROSS"), QStringLiteral("JOIN"),  QStringLiteral("WHERE"),
                                    QStringLiteral("GROUP"), QStringLiteral("ORDER"), QStringLiteral("HAVING"),
                                    QStringLiteral("UNION"), QStringLiteral("LIMIT"), QStringLiteral("NATURAL")};
    return t.kind == Tok::Ident && kws.contains(t.up);
}

bool isName(const Token &t) { return t.kind == Tok::Ident || t.kind == Tok::QuotedIdent; }

SelectItem itemOf(const QList<Token> &tk, int b, int e)
{
    SelectItem it;
    // Trailing "AS alias".
    if (e - b >= 3 && tk[e - 2].isKw(QLatin1StringView("AS")) && isName(tk[e - 1])) {
        it.alias = tk[e - 1].text;
        e -= 2;
    }
    const int len = e - b;
    if (len == 1 && tk[b].isOp(QLatin1StringView("*"))) {
        it.kind = SelectItem::Star;
    } else if (len == 3 && isName(tk[b]) && tk[b + 1].isOp(QLatin1StringView(".")) && tk[b + 2].isOp(QLatin1StringView("*"))) {
        it.kind = SelectItem::TableStar;
        it.table = tk[b].text;
    } else if (len == 3 && isName(tk[b]) && tk[b + 1].isOp(QLatin1StringView(".")) && isName(tk[b + 2])) {
        it.kind = SelectItem::Column;
        it.table = tk[b].text;
        it.column = tk[b + 2].text;
    } else if (len == 1 && isName(tk[b]) && !tk[b].isKw(QLatin1StringView("NULL"))) {
        it.kind = SelectItem::Column;
        it.column = tk[b].text;
    } else {
        it.kind = SelectItem::Expr;
    }
    return it;
}

} // namespace

SelectShape AnalyzeSelect(const QList<Token> &tk)
{
    SelectShape s;
    int k = 0;
    while (k < tk.size() && tk[k].isOp(QLatin1StringView("(")))
        ++k;
    if (k >= tk.size() || !tk[k].isKw(QLatin1StringView("SELECT")))
        return s;
    s.isSelect = true;
    const int base = tk[k].depth;
    ++k;
    while (k < tk.size() && tk[k].kind == Tok::Ident
           && (tk[k].up == u"DISTINCT" || tk[k].up == u"DISTINCTROW" || tk[k].up == u"ALL" || tk[k].up == u"TOP")) {
        if (tk[k].up == u"DISTINCT")
            s.distinct = true;
        if (tk[k].up == u"TOP") {
            ++k; // the count
            if (k + 1 < tk.size() && tk[k + 1].isKw(QLatin1StringView("PERCENT")))
                ++k;
        }
        ++k;
    }
    // Select list up to FROM at the statement's depth.
    int itemStart = k;
    for (; k < tk.size(); ++k) {
        const Token &t = tk[k];
        if (t.depth < base)
            break;
        if (t.depth == base && (t.isOp(QLatin1StringView(",")) || t.isKw(QLatin1StringView("FROM")))) {
            if (k > itemStart)
                s.items.append(itemOf(tk, itemStart, k));
            itemStart = k + 1;
            if (t.isKw(QLatin1StringView("FROM")))
                break;
        }
    }
    if (k >= tk.size() || !tk[k].isKw(QLatin1StringView("FROM"))) {
        if (k > itemStart)
            s.items.append(itemOf(tk, itemStart, qMin<int>(k, tk.size())));
        return s;
    }
    ++k;
    // FROM clause: table references follow FROM, JOIN, ',' or '('.
    int tables = 0;
    for (; k < tk.size(); ++k) {
        const Token &t = tk[k];
        if (t.depth < base)
            break;
        if (t.depth == base && t.kind == Tok::Ident
            && (t.up == u"WHERE" || t.up == u"GROUP" || t.up == u"ORDER" || t.up == u"HAVING" || t.up == u"UNION"))
            break;
        const Token *prev = k > 0 ? &tk[k - 1] : nullptr;
        const bool refPos = prev
                            && (prev->isKw(QLatin1StringView("FROM")) || prev->isKw(QLatin1StringView("JOIN"))
                                || prev->isOp(QLatin1StringView(",")) || prev->isOp(QLatin1StringView("(")));
        if (!refPos)
            continue;
        if (t.isOp(QLatin1StringView("(")) && k + 1 < tk.size() && tk[k + 1].isKw(QLatin1StringView("SELECT"))) {
            // Sub-query: skip to its closing parenthesis, then its alias.
            int j = k + 1;
            while (j < tk.size() && !(tk[j].isOp(QLatin1StringView(")")) && tk[j].depth == t.depth))
                ++j;
            TableRef ref;
            int a = j + 1;
            if (a < tk.size() && tk[a].isKw(QLatin1StringView("AS")))
                ++a;
            if (a < tk.size() && isName(tk[a]) && !isJoinWord(tk[a]))
                ref.alias = tk[a].text;
            s.from.append(ref);
            ++tables;
            k = j;
            continue;
        }
        if (!isName(t) || isJoinWord(t))
            continue;
        // A table name is followed by its alias, a join word, ',' or ')', never by an operator
        // (that is a column in an ON condition such as "ON (Anno = ...").
        if (k + 1 < tk.size() && tk[k + 1].kind == Tok::Op && !tk[k + 1].isOp(QLatin1StringView(","))
            && !tk[k + 1].isOp(QLatin1StringView(")")))
            continue;
        TableRef ref;
        ref.name = t.text;
        int a = k + 1;
        if (a < tk.size() && tk[a].isKw(QLatin1StringView("AS")))
            ++a;
        if (a < tk.size() && isName(tk[a]) && !isJoinWord(tk[a])) {
            ref.alias = tk[a].text;
            k = a;
        }
        s.from.append(ref);
        ++tables;
    }
    s.hasJoinOrMany = tables != 1;
    for (; k < tk.size(); ++k) {
        if (tk[k].depth == base && tk[k].isKw(QLatin1StringView("GROUP")))
            s.grouped = true;
    }
    return s;
}

} // namespace kem::jet
