#include "bomcore/bomcycles.h"

#include "bomcore/fieldtext.h"

#include <QStringList>

#include <algorithm>

namespace kem {

bool BomCycles::firstTime(const BomPath &path, const QString &article)
{
    // The articles of the cycle from `article` on, turned to start at the smallest code.
    const QStringList &on = path.articles();
    const QString key = CodeKey(article);
    qsizetype start = 0;
    while (start < on.size() && CodeKey(on.at(start)) != key)
        ++start;
    QStringList cycle;
    for (qsizetype i = start; i < on.size(); ++i)
        cycle << CodeKey(on.at(i));
    if (cycle.isEmpty())
        cycle << key;
    const auto smallest = std::min_element(cycle.cbegin(), cycle.cend()) - cycle.cbegin();
    const QStringList turned = cycle.mid(smallest) + cycle.mid(0, smallest);
    const QString id = turned.join(QChar(0x1f));
    if (seen_.contains(id))
        return false;
    seen_.insert(id);
    return true;
}

} // namespace kem
