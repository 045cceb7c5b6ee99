#pragma once
// Hands a finished file to the printing system. CupsSubmitter talks to CUPS; tests put a
// recording fake in its place.
#include <QByteArray>
#include <QList>
#include <QMarginsF>
#include <QPair>
#include <QString>

namespace kem {

struct PrintJob {
    QString printer;   // never empty when handed to Submit
    QString title;
    QString file;      // file to print
    bool raw = false;  // true: bytes go to the printer untouched (fixed-width print)
    QList<QPair<QString, QString>> options;  // CUPS job options ("media", "media-source", ...)
    QString option(const QString &name) const;
};

class PrintSubmitter {
public:
    virtual ~PrintSubmitter() = default;
    // The system default printer; empty when there is none.
    virtual QString DefaultPrinter() = 0;
    // The margins (mm) the printer cannot print in for that media ("" = its default media);
    // zero when unknown.
    virtual QMarginsF HardwareMargins(const QString &printer, const QString &media)
    {
        Q_UNUSED(printer);
        Q_UNUSED(media);
        return {};
    }
    // Submits the job; false with an error text when the printing system refuses it.
    virtual bool Submit(const PrintJob &job, int *jobId, QString *error) = 0;
};

class CupsSubmitter : public PrintSubmitter {
public:
    QString DefaultPrinter() override;
    QMarginsF HardwareMargins(const QString &printer, const QString &media) override;
    bool Submit(const PrintJob &job, int *jobId, QString *error) override;
};

} // namespace kem
