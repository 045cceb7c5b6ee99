#include "platform/printlib/papers.h"

namespace kem {

namespace {
struct Paper {
    int number;
    QPageSize::PageSizeId id;
    const char *media;
};
constexpr Paper kPapers[] = {
    {1, QPageSize::Letter, "na_letter_8.5x11in"},
    {3, QPageSize::Tabloid, "na_ledger_11x17in"},
    {5, QPageSize::Legal, "na_legal_8.5x14in"},
    {7, QPageSize::Executive, "na_executive_7.25x10.5in"},
    {8, QPageSize::A3, "iso_a3_297x420mm"},
    {9, QPageSize::A4, "iso_a4_210x297mm"},
    {11, QPageSize::A5, "iso_a5_148x210mm"},
    {12, QPageSize::B4, "jis_b4_257x364mm"},
    {13, QPageSize::B5, "jis_b5_182x257mm"},
    {20, QPageSize::Comm10E, "na_number-10_4.125x9.5in"},
    {27, QPageSize::DLE, "iso_dl_110x220mm"},
    {28, QPageSize::C5E, "iso_c5_162x229mm"},
};
const Paper *find(int n)
{
    for (const Paper &p : kPapers)
        if (p.number == n)
            return &p;
    return nullptr;
}
} // namespace

QPageSize PageSizeForPaper(int paperNumber)
{
    const Paper *p = find(paperNumber);
    return QPageSize(p ? p->id : QPageSize::A4);
}

QString CupsMediaForPaper(int paperNumber)
{
    const Paper *p = find(paperNumber);
    return p ? QString::fromLatin1(p->media) : QString();
}

QString CupsSourceForBin(int binNumber)
{
    if (binNumber >= 256)
        return QStringLiteral("tray-%1").arg(binNumber - 255);
    switch (binNumber) {
    case 1: return QStringLiteral("top");
    case 2: return QStringLiteral("bottom");
    case 3: return QStringLiteral("middle");
    case 4: return QStringLiteral("manual");
    case 5:
    case 6: return QStringLiteral("envelope");
    case 7: return QStringLiteral("auto");
    case 8: return QStringLiteral("main");
    case 11: return QStringLiteral("large-capacity");
    default: return {};
    }
}

} // namespace kem
