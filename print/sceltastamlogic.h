#pragma once
// The parts of the print destination dialog that need no window: the paper bin and paper size
// items of a printer, the printers without selectable bins, the file dialog filters and the
// format each filter gives, the installed spreadsheet application, the rows of the panel that
// saves or deletes option values and what they write, the checks made before closing and the
// current destination text.
#include "print/printenv.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kem {

class PrintOptions;
class PrintOptionsIni;
class PrinterSystem;

// ------------------------------------------------------------------------------------------
// Paper bins and sizes
// ------------------------------------------------------------------------------------------

// One entry of the bin or paper list: the number stored in the options and the shown text.
struct PaperItem {
    int number = 0;
    QString text;
    bool operator==(const PaperItem &) const = default;
};

// Text of the first item of both lists (number 0).
QString NoPaperSettingText();
// "    15 - Cassetto manuale": the bin number right-aligned in 6 characters, " - ", the name
// (cut at the first NUL character).
QString BinItemText(int number, const QString &name);

// Section "Tutti", key "StampantiNoCassetti": printers without selectable paper bins.
class NoBinsPrinters {
public:
    // The raw key value: a list of names separated by commas, or "tutte" (any case).
    explicit NoBinsPrinters(const QString &raw);
    static NoBinsPrinters FromIni(const PrintEnv &env);
    // The list as kept: ",a,b," for a list, "tutte" or "" as read.
    QString Normalised() const { return m_list; }
    bool All() const { return m_all; }
    // True when the printer's bins are not offered (the name matched as "," + name + ",").
    bool Excludes(const QString &printer) const;

private:
    QString m_list;
    bool m_all = false;
};

// The bin items of a printer: the default item, then the printer's bins unless the printer is
// excluded. False (with *error) when the printer cannot be asked; the default item is there
// also then.
bool BinItems(PrinterSystem &printers, const QString &printer, const NoBinsPrinters &noBins,
              QList<PaperItem> *out, QString *error);
// The paper size items: the default item, then the sizes the printer reports (name as text).
bool SizeItems(PrinterSystem &printers, const QString &printer, QList<PaperItem> *out, QString *error);
// Message of the "PaperSize" button: "Formati disponibili " and one line per size, the one
// whose number is `current` marked " (ATTUALE)".
QString PaperSizesMessage(const QList<PaperItem> &sizes, int current);
// Message of a driver that could not be asked for its sizes.
QString PaperSizeDriverError();
// The index of the item with that number; 0 (the default item) when none has it.
int PaperItemIndex(const QList<PaperItem> &items, int number);

// ------------------------------------------------------------------------------------------
// Spreadsheet application and file dialog filters
// ------------------------------------------------------------------------------------------

// Whether a spreadsheet application is installed, and the version the file choice goes by.
class SpreadsheetApp {
public:
    virtual ~SpreadsheetApp() = default;
    // 0 when none is installed.
    virtual int Version() = 0;
};

// Looks for an office suite the Linux way: a spreadsheet program on PATH (libreoffice,
// soffice, localc, gnumeric, calligrasheets) or an installed desktop entry of category
// "Spreadsheet" in the XDG application folders. Every suite found reads and writes workbooks,
// so it counts as version 16.
class SystemSpreadsheetApp : public SpreadsheetApp {
public:
    int Version() override;
    // The program or desktop file found, empty when none (for diagnostics).
    static QString Find();
    // Version reported for an installed suite.
    static constexpr int InstalledVersion = 16;
};

// Answers from a script (tests).
class ScriptedSpreadsheetApp : public SpreadsheetApp {
public:
    explicit ScriptedSpreadsheetApp(int version = 0) : version(version) {}
    int Version() override { return version; }
    int version;
};

// Filters in the "Name|pattern|Name|pattern" form for an installed version (0 = none).
QString PrintFileFilter(int spreadsheetVersion);
// Filter of the fixed-width output file.
QString FixedWidthFileFilter();
// The same filters as a file dialog takes them ("Testo (*.txt)"), in order.
QStringList DialogFilters(const QString &filter);
// FileForm for the chosen filter (1 for the first): with the workbook filter present, filter 1
// gives 2 and filter n gives n - 2; without it filter n gives n - 1.
int FileFormForFilter(int filterNumber, bool withWorkbook);
// Title of the file dialog.
QString PrintFileDialogTitle();

// ------------------------------------------------------------------------------------------
// Saving and deleting option values
// ------------------------------------------------------------------------------------------

struct SaveRow {
    QString label;
    QString key;
};
// The panel rows in their order.
const QList<SaveRow> &SavePanelRows();
// The value a row shows for the record; the preview factor as it is stored (divided by the
// preview scale factor when that is > 0).
QString SavePanelValue(const PrintOptions &o, const QString &key, double previewScale = 0);

// This terminal's file (the main ini) and the file common to all terminals (the company ini,
// resolved against the main ini's folder; empty when the program has none).
QString TerminalIniFile(const PrintEnv &env);
QString CommonIniFile(const PrintEnv &env);

enum class SaveMode { Save, Delete };
struct SaveRequest {
    SaveMode mode = SaveMode::Save;
    bool commonFile = false;     // "Parametri comuni a tutti i terminali"
    bool defaultSection = true;  // "Nei valori di default" ("Opzioni Stampa"), else the report's
    QStringList keys;            // ticked rows
};
// Writes (or deletes) the ticked keys. In delete mode, with this terminal's file and every row
// ticked, the whole section goes. False (with *error) when nothing could be done or a write
// failed.
bool ApplySaveRequest(const PrintEnv &env, const PrintOptions &o, const SaveRequest &r, QString *error);
// File and section the request goes to.
QString SaveRequestFile(const PrintEnv &env, const SaveRequest &r);
QString SaveRequestSection(const PrintOptions &o, const SaveRequest &r);

// ------------------------------------------------------------------------------------------
// Closing checks and the current destination
// ------------------------------------------------------------------------------------------

// The message that refuses closing the dialog; empty when the record allows it.
QString CloseRefusal(const PrintOptions &o);

// "Stampante attuale: " and where the next run goes.
QString CurrentDestinationText(const PrintEnv &env, const PrintOptions &o);

} // namespace kem
