#include "bomcore/bompath.h"

#include "bomcore/fieldtext.h"

#include <algorithm>

namespace kem {

bool BomPath::enter(const QString &article)
{
    const qsizetype before = keys_.size();
    keys_.insert(CodeKey(article));
    if (keys_.size() == before)
        return false; // already on the path
    path_ << article;
    return true;
}

void BomPath::leave()
{
    if (!path_.isEmpty())
        keys_.remove(CodeKey(path_.takeLast()));
}

bool BomPath::contains(const QString &article) const { return keys_.contains(CodeKey(article)); }

void BomPath::clear()
{
    path_.clear();
    keys_.clear();
}

int BomPath::indexOf(const QString &article) const
{
    const QString key = CodeKey(article);
    int start = 0;
    while (start < path_.size() && CodeKey(path_.at(start)) != key)
        ++start;
    return start;
}

QString BomPath::cycleText(const QString &article) const
{
    const int start = indexOf(article);
    QStringList cycle = path_.mid(start);
    cycle << article;
    QString text = QStringLiteral("Distinta ciclica: ") + cycle.join(QStringLiteral(" -> "));
    if (start > 0 && start < path_.size())
        text += QStringLiteral(" (nella distinta di ") + path_.first() + QStringLiteral(")");
    return text;
}

QString BomPath::usedInCycleText(const QString &article) const
{
    const int start = indexOf(article);
    QStringList cycle{article};
    for (int i = int(path_.size()) - 1; i >= start; --i)
        cycle << path_.at(i);
    QString text = QStringLiteral("Distinta ciclica: ") + cycle.join(QStringLiteral(" -> "));
    if (start > 0 && start < path_.size())
        text += QStringLiteral(" (negli impieghi di ") + path_.first() + QStringLiteral(")");
    return text;
}

QString IndentedCode(int levels, const QString &code)
{
    const qsizetype marks = 2 * qsizetype(std::max(levels, 0));
    QString out(marks + code.size(), Qt::Uninitialized);
    QChar *o = out.data();
    for (qsizetype i = 0; i < marks; i += 2) {
        o[i] = QLatin1Char('*');
        o[i + 1] = QLatin1Char(' ');
    }
    std::copy(code.cbegin(), code.cend(), o + marks);
    return out;
}

} // namespace kem
