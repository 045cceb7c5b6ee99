#pragma once
// The catalogue of decode kinds: for every kind of code field ("Articolo", "Listino",
// "Conto", ...) the table, the code column(s), the description column and a fixed filter.
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace kem {

struct DecodeKind {
    QString name;            // canonical name
    QString table;
    QStringList codeColumns; // one column, or the parts of a composite code (accounts)
    QString descColumn;
    QString filter;          // fixed where clause (Jet SQL), empty for none
    QString imageColumn;     // column naming the image file, empty for none
};

// A kind the catalogue does not know, or a column list that is not plain column names.
class DecodeError : public std::runtime_error {
public:
    explicit DecodeError(const QString &description)
        : std::runtime_error(description.toStdString()), description_(description) {}
    QString description() const { return description_; }
private:
    QString description_;
};

// The kind of that name (any case, aliases included: "ArticoloCod", "ArtUm", "ArtGruppo",
// "ArtSottoGru", "FattDocumento", "ArtClasseAttr1".."5", "PdcClasseAttr1".."5"); nullptr when
// the catalogue has none.
const DecodeKind *FindDecodeKind(const QString &kind);
// As FindDecodeKind, throwing DecodeError for an unknown kind.
const DecodeKind &DecodeKindOf(const QString &kind);
// Canonical names of every kind.
QStringList DecodeKindNames();

// The code as text in the select list: the column, or for a composite code its parts joined
// with "." (Jet "&").
QString CodeExpression(const DecodeKind &kind);
// The where condition that matches one code (every value as an SQL literal). A composite code
// is split at "."; a code with the wrong number of parts matches nothing ("1=0").
QString CodeCondition(const DecodeKind &kind, const QString &code);
// a + " And " + b, either side may be blank.
QString AndWhere(const QString &a, const QString &b);

// Account codes: "group.ledger.account" stored as 2, 3 and 6 digits ("04.001.000001").
// FormatAccountCode turns what the user typed into the stored form: parts separated by ".",
// "-", "/" or blanks, numeric parts padded with leading zeros to their width; eleven digits
// in a row are split 2 + 3 + 6. Anything else comes back trimmed and unchanged.
QString FormatAccountCode(const QString &text);

// The accounts of one kind (PianoConti.TipoConto: 3 customers, 2 suppliers, 1 any other), the
// further argument of the account lookups: " TipoConto = " and the kind.
QString AccountKindFilter(int kind);

// The column names of a lookup column list: comma separated, blanks dropped. A name must be
// a plain column name (letters, digits, "_", "." for Table.Column); anything else throws
// DecodeError so that no typed text reaches a statement.
QStringList ParseColumnList(const QString &list);

} // namespace kem
