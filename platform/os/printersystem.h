#pragma once
// What the operating system tells about printers: the installed printers with their ports,
// the default printer, and the paper sources and sizes of one printer. CupsPrinterSystem asks
// CUPS; ScriptedPrinterSystem answers from a script (tests, machines without CUPS).
#include <QList>
#include <QString>
#include <QStringList>

namespace kem {

struct SystemPrinter {
    QString name;    // device name
    QString port;    // where it prints (the CUPS device URI)
    QString driver;  // make and model
    bool operator==(const SystemPrinter &) const = default;
};

// A paper source or size with the number the print options store ("NumCassetto",
// "NumTipoCarta"; the numbering of papers.h).
struct PaperChoice {
    int number = 0;
    QString name;
    bool operator==(const PaperChoice &) const = default;
};

class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    virtual QList<SystemPrinter> Printers() = 0;
    // The default printer's device name; empty when there is none.
    virtual QString DefaultPrinter() = 0;
    // Makes `name` the default printer of this user; false (with *error) when it is not
    // among Printers() or the system refuses.
    virtual bool SetDefaultPrinter(const QString &name, QString *error) = 0;
    // Paper sources and sizes of a printer; false (with *error) when the printer cannot be asked.
    virtual bool PaperSources(const QString &printer, QList<PaperChoice> *out, QString *error) = 0;
    virtual bool PaperSizes(const QString &printer, QList<PaperChoice> *out, QString *error) = 0;

    // The printer of that name (exact device name), or nullptr.
    bool Find(const QString &name, SystemPrinter *out = nullptr);
};

class CupsPrinterSystem : public PrinterSystem {
public:
    QList<SystemPrinter> Printers() override;
    QString DefaultPrinter() override;
    // Stored in the user's CUPS options (~/.cups/lpoptions), as lpoptions -d does.
    bool SetDefaultPrinter(const QString &name, QString *error) override;
    bool PaperSources(const QString &printer, QList<PaperChoice> *out, QString *error) override;
    bool PaperSizes(const QString &printer, QList<PaperChoice> *out, QString *error) override;
};

class ScriptedPrinterSystem : public PrinterSystem {
public:
    QList<SystemPrinter> printers;
    QString defaultPrinter;
    bool refuseSetDefault = false;   // SetDefaultPrinter fails even for a known printer
    QList<PaperChoice> sources, sizes;
    QStringList setDefaultCalls;     // names SetDefaultPrinter was asked for

    void add(const QString &name, const QString &port = {}, const QString &driver = {})
    {
        printers.append(SystemPrinter{name, port, driver});
    }
    QList<SystemPrinter> Printers() override { return printers; }
    QString DefaultPrinter() override { return defaultPrinter; }
    bool SetDefaultPrinter(const QString &name, QString *error) override;
    bool PaperSources(const QString &printer, QList<PaperChoice> *out, QString *error) override;
    bool PaperSizes(const QString &printer, QList<PaperChoice> *out, QString *error) override;
};

} // namespace kem
