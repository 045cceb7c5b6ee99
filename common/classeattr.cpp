#include "common/classeattr.h"

#include "common/coderange.h"
#include "platform/util/kemutil.h"

namespace kem {

namespace {

bool Set(const QString &bound) { return !IsBlank(bound, VarKind::Text); }

} // namespace

bool ClasseAttrRange::AnySet() const
{
    for (int i = 0; i < kLevels; ++i)
        if (Set(da[static_cast<size_t>(i)]) || Set(a[static_cast<size_t>(i)]))
            return true;
    return false;
}

std::optional<int> ClasseAttrRange::FirstReversedLevel() const
{
    for (int i = 0; i < kLevels; ++i)
        if (CodeRangeReversed(da[static_cast<size_t>(i)], a[static_cast<size_t>(i)]))
            return i + 1;
    return std::nullopt;
}

std::optional<ClasseAttrProblem> ClasseAttrCheck(const ClasseAttrRange &range)
{
    if (const auto level = range.FirstReversedLevel())
        return ClasseAttrProblem{QStringLiteral("Si prega di inserire gli estremi in ordine crescente"),
                                 ClasseAttrProblem::Level, *level};
    return std::nullopt;
}

std::optional<ClasseAttrProblem> ClasseAttrCFCheck(const ClasseAttrRange &range, const QString &catDa,
                                                   const QString &catA, const QString &zonDa,
                                                   const QString &zonA)
{
    if (auto problem = ClasseAttrCheck(range))
        return problem;
    if (CodeRangeReversed(catDa, catA))
        return ClasseAttrProblem{QStringLiteral("Si prega di inserire le categorie in ordine crescente"),
                                 ClasseAttrProblem::Categoria};
    if (CodeRangeReversed(zonDa, zonA))
        return ClasseAttrProblem{QStringLiteral("Si prega di inserire le Zone in ordine crescente"),
                                 ClasseAttrProblem::Zona};
    return std::nullopt;
}

QString ClasseAttrButtonCaption(bool pdc, bool anySet)
{
    return (pdc ? QStringLiteral("Seleziona Classi/Attrib. CF") : QStringLiteral("Seleziona Classi/Attrib. Articoli"))
        + (anySet ? QStringLiteral(" (MOD)") : QString());
}

void ClasseAttrCriteri(QString &crit, const QString &table, const QString &prefix,
                       const ClasseAttrBounds &da, const ClasseAttrBounds &a)
{
    for (int n = 1; n <= ClasseAttrRange::kLevels; ++n) {
        const QString &lo = da[static_cast<size_t>(n - 1)];
        const QString &hi = a[static_cast<size_t>(n - 1)];
        const QString column = table + QLatin1Char('.') + prefix + QString::number(n);
        if (Set(lo))
            crit += QStringLiteral(" AND ") + column + QStringLiteral(">=") + SqlLiteral(lo, VarKind::Text);
        if (Set(hi))
            crit += QStringLiteral(" AND ") + column + QStringLiteral("<=") + SqlLiteral(hi, VarKind::Text);
    }
}

QString ClasseAttrCaptionName(int level, bool pdc)
{
    return (pdc ? QStringLiteral("PdcCla.") : QStringLiteral("cla.")) + QString::number(level);
}

void ClasseAttrDescrizione(QString &desc, const ClasseAttrBounds &da, const ClasseAttrBounds &a,
                           bool pdc, const ClasseAttrCaption &caption)
{
    for (int n = 1; n <= ClasseAttrRange::kLevels; ++n) {
        const QString &lo = da[static_cast<size_t>(n - 1)];
        const QString &hi = a[static_cast<size_t>(n - 1)];
        if (!Set(lo) && !Set(hi))
            continue;
        desc += QStringLiteral("; ") + (caption ? caption(ClasseAttrCaptionName(n, pdc)) : QString());
        if (Set(lo))
            desc += QStringLiteral(" da: ") + lo;
        if (Set(hi))
            desc += QStringLiteral(" a: ") + hi;
    }
}

} // namespace kem

#include "platform/menu/menuserver.h"

namespace kem {

ClasseAttrCaption ClasseAttrMenuCaption(MenuServer *menu)
{
    return [menu](const QString &name) {
        if (!menu)
            return QString();
        const QString v = menu->MenuVar(name, QString());
        return v == MenuMissingMarker ? QString() : v;
    };
}

} // namespace kem
