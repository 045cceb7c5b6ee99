#include "platform/help/decodecatalog.h"

#include "platform/util/kemutil.h"

#include <QHash>
#include <QRegularExpression>

namespace kem {

namespace {

struct Catalogue {
    QList<DecodeKind> kinds;
    QHash<QString, int> byName; // lower-case name or alias -> index

    void add(const DecodeKind &k, const QStringList &aliases = {})
    {
        kinds.append(k);
        byName.insert(k.name.toLower(), int(kinds.size() - 1));
        for (const QString &a : aliases)
            byName.insert(a.toLower(), int(kinds.size() - 1));
    }

    Catalogue()
    {
        const QString desc = QStringLiteral("Descrizione");
        add({"Articolo", "Articoli", {"Articolo"}, desc, {}, "Immagine"}, {"ArticoloCod"});
        add({"Listino", "Listini", {"Listino"}, desc, {}, {}});
        add({"Conto", "PianoConti", {"Gruppo", "Mastro", "Conto"}, desc, {}, {}});
        add({"Magazzino", "Magazzini", {"Magazzino"}, desc, {}, {}});
        add({"UM", "TabUM", {"UM"}, desc, {}, {}}, {"ArtUm", "ArtUMVen", "ArtUMAcq"});
        add({"Gruppo", "TabGruppi", {"Gruppo"}, desc, {}, {}}, {"ArtGruppo"});
        add({"SottoGruppo", "TabSottoGruppi", {"SottoGruppo"}, desc, {}, {}}, {"ArtSottoGru"});
        add({"Categoria", "TabCategorie", {"Categoria"}, desc, {}, {}});
        add({"Zona", "TabZone", {"Zona"}, desc, {}, {}});
        add({"Agente", "Agenti", {"Agente"}, desc, {}, {}});
        add({"TipoDoc", "TabTipiDoc", {"TipoDoc"}, desc, {}, {}}, {"FattDocumento"});
        for (int level = 1; level <= 5; ++level) {
            const QString lit = SqlLiteral(level, VarKind::Int16);
            add({QStringLiteral("ArtClasseAttr%1").arg(level), "TabClassiArt", {"ClasseAttr"}, desc,
                 QStringLiteral("Livello = ") + lit, {}});
            add({QStringLiteral("PdcClasseAttr%1").arg(level), "TabClassiPdc", {"ClasseAttr"}, desc,
                 QStringLiteral("Livello = ") + lit, {}});
        }
    }
};

const Catalogue &TheCatalogue()
{
    static const Catalogue c;
    return c;
}

const int kAccountWidths[3] = {2, 3, 6};

} // namespace

const DecodeKind *FindDecodeKind(const QString &kind)
{
    const Catalogue &c = TheCatalogue();
    const auto it = c.byName.constFind(kind.trimmed().toLower());
    return it == c.byName.cend() ? nullptr : &c.kinds.at(*it);
}

const DecodeKind &DecodeKindOf(const QString &kind)
{
    const DecodeKind *k = FindDecodeKind(kind);
    if (!k)
        throw DecodeError(QStringLiteral("Tipo di decodifica sconosciuto: ") + kind);
    return *k;
}

QString AccountKindFilter(int kind)
{
    return QStringLiteral(" TipoConto = ") + SqlLiteral(kind, VarKind::Int16);
}

QStringList DecodeKindNames()
{
    QStringList names;
    for (const DecodeKind &k : TheCatalogue().kinds)
        names.append(k.name);
    return names;
}

QString CodeExpression(const DecodeKind &kind)
{
    return kind.codeColumns.join(QStringLiteral(" & '.' & "));
}

QString CodeCondition(const DecodeKind &kind, const QString &code)
{
    const QStringList parts =
        kind.codeColumns.size() == 1 ? QStringList{code} : code.split(QLatin1Char('.'));
    if (parts.size() != kind.codeColumns.size())
        return QStringLiteral("1=0");
    QStringList terms;
    for (int i = 0; i < parts.size(); ++i)
        terms.append(kind.codeColumns.at(i) + " = " + SqlLiteral(parts.at(i), VarKind::Text));
    return terms.join(QStringLiteral(" And "));
}

QString AndWhere(const QString &a, const QString &b)
{
    if (a.trimmed().isEmpty())
        return b;
    if (b.trimmed().isEmpty())
        return a;
    return a + " And " + b;
}

QString FormatAccountCode(const QString &text)
{
    const QString t = text.trimmed();
    QStringList parts;
    static const QRegularExpression sep(QStringLiteral("[.\\-/\\s]+"));
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    if (digits.match(t).hasMatch() && t.size() == 11)
        parts = {t.left(2), t.mid(2, 3), t.mid(5)};
    else
        parts = t.split(sep, Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return t;
    for (int i = 0; i < 3; ++i) {
        if (!digits.match(parts.at(i)).hasMatch() || parts.at(i).size() > kAccountWidths[i])
            return t;
        parts[i] = parts.at(i).rightJustified(kAccountWidths[i], QLatin1Char('0'));
    }
    return parts.join(QLatin1Char('.'));
}

QStringList ParseColumnList(const QString &list)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*(\\.[A-Za-z_][A-Za-z0-9_]*)?$"));
    QStringList columns;
    for (const QString &raw : list.split(QLatin1Char(','))) {
        const QString c = raw.trimmed();
        if (c.isEmpty())
            continue;
        if (!name.match(c).hasMatch())
            throw DecodeError(QStringLiteral("Nome di colonna non valido nell'elenco dei campi: ") + c);
        columns.append(c);
    }
    return columns;
}

} // namespace kem
