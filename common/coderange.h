#pragma once
// The range check of the code fields: a lower bound after the upper one, compared as the
// database compares codes (without regard to case). A blank bound is no bound.
#include <QString>

namespace kem {

inline bool CodeRangeReversed(const QString &from, const QString &to)
{
    return !from.trimmed().isEmpty() && !to.trimmed().isEmpty()
        && from.compare(to, Qt::CaseInsensitive) > 0;
}

} // namespace kem
