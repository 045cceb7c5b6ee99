#pragma once
// The delivery options of the report subcommands: --pdf-auto names the PDF with the company's
// template ("PdfNomeFile") in the folder of --out; --email TO sends the PDF to TO with the
// company's e-mail settings once it is written, through --smtp URL instead of the configured
// server when given (--smtp-ca FILE: certificates to trust besides the system's). A send that
// fails ends with its message and a non-zero exit; the PDF stays.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <optional>

namespace kem {
class MenuServer;
class PrintOptions;
}

namespace kem::batch {

class ReportDelivery {
public:
    static QList<QCommandLineOption> Options();
    // Reads and checks the options; an exit code when the command must stop.
    std::optional<int> Read(const QCommandLineParser &parser, const QString &command);

    // The file of the run: `out`, or with --pdf-auto the automatic name in the folder of
    // `out` (options: the run's, with the form's caption and section).
    QString OutFile(MenuServer &menu, const PrintOptions &options, const QString &out) const;
    // After a run that printed (exit code ExitOk): the e-mail when asked; the exit code.
    int Send(MenuServer &menu, const PrintOptions &options, const QString &pdf, int code) const;

private:
    bool pdfAuto_ = false;
    QString emailTo_;
    QString smtp_;
    QString smtpCa_;
};

} // namespace kem::batch
