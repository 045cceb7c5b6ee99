#include "platform/os/printersystem.h"

#include "platform/printlib/papers.h"

#include <cups/cups.h>

#include <memory>

namespace kem {

bool PrinterSystem::Find(const QString &name, SystemPrinter *out)
{
    for (const SystemPrinter &p : Printers())
        if (p.name == name) {
            if (out)
                *out = p;
            return true;
        }
    return false;
}

// ---------------------------------------------------------------- CUPS

namespace {

// The destinations list of CUPS, freed on scope exit.
struct Dests {
    cups_dest_t *list = nullptr;
    int count = 0;
    Dests() { count = cupsGetDests2(CUPS_HTTP_DEFAULT, &list); }
    ~Dests() { cupsFreeDests(count, list); }
    Dests(const Dests &) = delete;
    Dests &operator=(const Dests &) = delete;
    cups_dest_t *find(const QString &name) const
    {
        return cupsGetDest(name.toUtf8().constData(), nullptr, count, list);
    }
};

QString destOption(const cups_dest_t *d, const char *name)
{
    return QString::fromUtf8(cupsGetOption(name, d->num_options, d->options));
}

// The values a printer supports for one IPP attribute ("media-source", "media").
bool supportedValues(const QString &printer, const char *attribute, QStringList *out, QString *error)
{
    Dests dests;
    cups_dest_t *d = dests.find(printer);
    if (!d) {
        *error = QStringLiteral("Stampante sconosciuta: %1").arg(printer);
        return false;
    }
    std::unique_ptr<cups_dinfo_t, void (*)(cups_dinfo_t *)> info(
        cupsCopyDestInfo(CUPS_HTTP_DEFAULT, d), cupsFreeDestInfo);
    if (!info) {
        *error = QStringLiteral("La stampante %1 non risponde: %2").arg(printer, QString::fromUtf8(cupsLastErrorString()));
        return false;
    }
    out->clear();
    if (ipp_attribute_t *a = cupsFindDestSupported(CUPS_HTTP_DEFAULT, d, info.get(), attribute))
        for (int i = 0; i < ippGetCount(a); ++i)
            out->append(QString::fromUtf8(ippGetString(a, i, nullptr)));
    return true;
}

} // namespace

QList<SystemPrinter> CupsPrinterSystem::Printers()
{
    Dests dests;
    QList<SystemPrinter> out;
    for (int i = 0; i < dests.count; ++i) {
        const cups_dest_t *d = &dests.list[i];
        if (d->instance)
            continue;
        out.append(SystemPrinter{QString::fromUtf8(d->name), destOption(d, "device-uri"),
                                 destOption(d, "printer-make-and-model")});
    }
    return out;
}

QString CupsPrinterSystem::DefaultPrinter()
{
    Dests dests;
    const cups_dest_t *d = cupsGetDest(nullptr, nullptr, dests.count, dests.list);
    return d ? QString::fromUtf8(d->name) : QString();
}

bool CupsPrinterSystem::SetDefaultPrinter(const QString &name, QString *error)
{
    Dests dests;
    cups_dest_t *wanted = dests.find(name);
    if (!wanted) {
        *error = QStringLiteral("Stampante sconosciuta: %1").arg(name);
        return false;
    }
    for (int i = 0; i < dests.count; ++i)
        dests.list[i].is_default = 0;
    wanted->is_default = 1;
    if (cupsSetDests2(CUPS_HTTP_DEFAULT, dests.count, dests.list) != 0) {
        *error = QStringLiteral("Impossibile salvare la stampante predefinita: %1")
                     .arg(QString::fromUtf8(cupsLastErrorString()));
        return false;
    }
    return true;
}

bool CupsPrinterSystem::PaperSources(const QString &printer, QList<PaperChoice> *out, QString *error)
{
    QStringList values;
    if (!supportedValues(printer, CUPS_MEDIA_SOURCE, &values, error))
        return false;
    out->clear();
    for (const QString &v : values) {
        int number = 0;
        if (v.startsWith(QLatin1String("tray-")))
            number = 255 + v.mid(5).toInt();
        for (int n = 1; n <= 11 && number == 0; ++n)
            if (CupsSourceForBin(n) == v)
                number = n;
        if (number > 0)
            out->append(PaperChoice{number, v});
    }
    return true;
}

bool CupsPrinterSystem::PaperSizes(const QString &printer, QList<PaperChoice> *out, QString *error)
{
    QStringList values;
    if (!supportedValues(printer, CUPS_MEDIA, &values, error))
        return false;
    out->clear();
    for (const QString &v : values)
        for (int n = 1; n <= 28; ++n)
            if (CupsMediaForPaper(n) == v) {
                out->append(PaperChoice{n, PageSizeForPaper(n).name()});
                break;
            }
    return true;
}

// ---------------------------------------------------------------- scripted

bool ScriptedPrinterSystem::SetDefaultPrinter(const QString &name, QString *error)
{
    setDefaultCalls.append(name);
    if (refuseSetDefault || !Find(name)) {
        *error = QStringLiteral("Stampante non impostabile: %1").arg(name);
        return false;
    }
    defaultPrinter = name;
    return true;
}

bool ScriptedPrinterSystem::PaperSources(const QString &printer, QList<PaperChoice> *out, QString *error)
{
    if (!Find(printer)) {
        *error = QStringLiteral("Stampante sconosciuta: %1").arg(printer);
        return false;
    }
    *out = sources;
    return true;
}

bool ScriptedPrinterSystem::PaperSizes(const QString &printer, QList<PaperChoice> *out, QString *error)
{
    if (!Find(printer)) {
        *error = QStringLiteral("Stampante sconosciuta: %1").arg(printer);
        return false;
    }
    *out = sizes;
    return true;
}

} // namespace kem
