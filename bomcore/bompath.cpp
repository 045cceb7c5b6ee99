#include "bomcore/bompath.h"

#include "bomcore/fieldtext.h"

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

QString BomPath::cycleText(const QString &article) const
{
    const QString key = CodeKey(article);
    int start = 0;
    while (start < path_.size() && CodeKey(path_.at(start)) != key)
        ++start;
    QStringList cycle = path_.mid(start);
    cycle << article;
    QString text = QStringLiteral("Distinta ciclica: ") + cycle.join(QStringLiteral(" -> "));
    if (start > 0 && start < path_.size())
        text += QStringLiteral(" (nella distinta di ") + path_.first() + QStringLiteral(")");
    return text;
}

} // namespace kem
