#include "platform/printlib/printsubmitter.h"

#include <QFile>

#include <cups/cups.h>

namespace kem {

QString PrintJob::option(const QString &name) const
{
    for (const auto &o : options)
        if (o.first == name)
            return o.second;
    return {};
}

QString CupsSubmitter::DefaultPrinter()
{
    // A null name asks for the user's (lpoptions) or the server's default destination.
    cups_dest_t *d = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    if (!d)
        return {};
    const QString name = QString::fromUtf8(d->name);
    cupsFreeDests(1, d);
    return name;
}

QMarginsF CupsSubmitter::HardwareMargins(const QString &printer, const QString &media)
{
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(), nullptr);
    if (!dest)
        return {};
    cups_size_t size{};
    int found = 0;
    if (cups_dinfo_t *info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        found = media.isEmpty()
                    ? cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT, &size)
                    : cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest, info, media.toUtf8().constData(),
                                             CUPS_MEDIA_FLAGS_DEFAULT, &size);
        cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    if (!found)
        return {};
    // hundredths of a millimetre
    return QMarginsF(size.left / 100.0, size.top / 100.0, size.right / 100.0, size.bottom / 100.0);
}

bool CupsSubmitter::Submit(const PrintJob &job, int *jobId, QString *error)
{
    if (job.printer.isEmpty()) {
        *error = QStringLiteral("Nessuna stampante indicata");
        return false;
    }
    QFile in(job.file);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Impossibile leggere il file di stampa %1: %2").arg(job.file, in.errorString());
        return false;
    }
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, job.printer.toUtf8().constData(), nullptr);
    if (!dest) {
        *error = QStringLiteral("La stampante %1 non è disponibile (%2)")
                     .arg(job.printer, QString::fromUtf8(cupsLastErrorString()));
        return false;
    }
    cupsFreeDests(1, dest);
    cups_option_t *opts = nullptr;
    int nopts = 0;
    for (const auto &o : job.options)
        nopts = cupsAddOption(o.first.toUtf8().constData(), o.second.toUtf8().constData(), nopts, &opts);

    const QByteArray printer = job.printer.toUtf8();
    const QByteArray title = job.title.toUtf8();
    const int id = cupsCreateJob(CUPS_HTTP_DEFAULT, printer.constData(), title.constData(), nopts, opts);
    bool ok = id > 0;
    if (ok) {
        const char *format = job.raw ? CUPS_FORMAT_RAW : CUPS_FORMAT_PDF;
        ok = cupsStartDocument(CUPS_HTTP_DEFAULT, printer.constData(), id, title.constData(), format, 1)
             == HTTP_STATUS_CONTINUE;
        if (ok) {
            while (ok && !in.atEnd()) {
                const QByteArray chunk = in.read(64 * 1024);
                ok = cupsWriteRequestData(CUPS_HTTP_DEFAULT, chunk.constData(), size_t(chunk.size()))
                     == HTTP_STATUS_CONTINUE;
            }
            const ipp_status_t finish = cupsFinishDocument(CUPS_HTTP_DEFAULT, printer.constData());
            ok = ok && finish <= IPP_STATUS_OK_CONFLICTING;
        }
        if (!ok)
            cupsCancelJob2(CUPS_HTTP_DEFAULT, printer.constData(), id, 0);
    }
    if (!ok)
        *error = QStringLiteral("Stampa su %1 non riuscita: %2")
                     .arg(job.printer, QString::fromUtf8(cupsLastErrorString()));
    else if (jobId)
        *jobId = id;
    cupsFreeOptions(nopts, opts);
    return ok;
}

} // namespace kem
