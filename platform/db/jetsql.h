#pragma once
// Jet SQL text as tokens: the one place that reads the dialect's lexical rules (string
// literals in '...' and "...", #date# literals, [bracketed] names). The engine dialects
// rewrite these tokens; nothing ever rewrites inside a literal because literals are tokens.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace kem::jet {

enum class Tok {
    Ident,       // name or keyword, as written (up holds it in upper case)
    QuotedIdent, // [name]: text holds the name without brackets
    Number,      // numeric literal as written
    String,      // text literal: text holds the value (quotes removed, doubled quotes undone)
    Date,        // #date# literal: text holds the ISO form 'YYYY-MM-DD' (or 'YYYY-MM-DD HH:MM:SS')
    Op,          // punctuation and operators: ( ) , . * + - / = < > <= >= <> & ; ? and others
};

struct Token {
    Tok kind = Tok::Op;
    QString text;
    QString up;          // upper-case text for Ident tokens (keyword tests)
    int depth = 0;       // parenthesis depth the token sits at ('(' and ')' have the outer depth)
    bool param = false;  // literal taken out of the text as a bound parameter

    bool isOp(QLatin1StringView op) const { return kind == Tok::Op && text == op; }
    bool isKw(QLatin1StringView kw) const { return kind == Tok::Ident && up == kw; }
    bool isLiteral() const { return kind == Tok::String || kind == Tok::Number || kind == Tok::Date; }
};

// A statement split into tokens. With extractLiterals, the text, date and number literals
// (except numbers after TOP and inside ORDER BY / GROUP BY) are marked as parameters: `key`
// is then the statement's shape (the text with those literals as ?) and `literals` their
// values in order. Throws kem::DbError 3075 on an unterminated literal.
struct Statement {
    QList<Token> tokens;
    QString key;
    QVariantList literals;
};
Statement Tokenize(const QString &sql, bool extractLiterals);

// Recomputes Token::depth after tokens were inserted or removed.
void RecomputeDepths(QList<Token> &tokens);

// A value of a literal token as the engine receives it (QString, qlonglong or double).
QVariant LiteralValue(const Token &t);

// ---- the parts of a SELECT that the column map needs

struct SelectItem {
    enum Kind { Column, TableStar, Star, Expr } kind = Expr;
    QString table;  // qualifier as written (Column, TableStar)
    QString column; // column name (Column)
    QString alias;  // AS alias, empty when none
};

struct TableRef {
    QString name;   // table name as written; empty for a sub-query
    QString alias;  // alias, or empty
    QString refName() const { return alias.isEmpty() ? name : alias; }
};

struct SelectShape {
    bool isSelect = false;
    bool distinct = false;
    bool grouped = false;      // GROUP BY or an aggregate-only shape
    bool hasJoinOrMany = false;
    QList<SelectItem> items;   // top-level select list
    QList<TableRef> from;      // tables of the top-level FROM, in order
};
SelectShape AnalyzeSelect(const QList<Token> &tokens);

// First keyword of the statement in upper case ("SELECT", "DELETE", "CREATE", ...).
QString LeadingKeyword(const QList<Token> &tokens);

} // namespace kem::jet
