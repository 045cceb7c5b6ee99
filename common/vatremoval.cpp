#include "common/vatremoval.h"

#include "platform/util/kemutil.h"

namespace kem {

double VatRemoval(double gross, double rate, int decimals, const QString &arrotIvaEuro)
{
    if (rate == 0)
        return gross;
    const QString mode = (arrotIvaEuro.trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0
                          || decimals < 2)
        ? QStringLiteral("T")
        : QStringLiteral("A");
    double net = RoundNum(100.0 * gross / (100.0 + rate), mode, 1, decimals);
    if (mode == QLatin1String("A")) {
        const double vat = RoundNum(net * rate / 100.0, mode, 1, decimals);
        const double sum = RoundNum(net + vat, QStringLiteral("A"), 1, 8);
        if (sum > RoundNum(gross, QStringLiteral("A"), 1, 8))
            net = RoundNum(100.0 * gross / (100.0 + rate), QStringLiteral("T"), 1, decimals);
    }
    return net;
}

} // namespace kem
