#pragma once
// The two-line page header of every report (version and company; date, title and page
// number), for graphic destinations and for the fixed-width destination, and the item list.
#include "print/printenv.h"

#include <QDate>
#include <QHash>
#include <QString>

namespace kem {

class PrintReport;
class PrintOptions;

// The marker that separates the second company text in the header of an xlsx file.
inline const QString kSecondCompanyMarker = QStringLiteral("§ç^&£");

// True when the destination is a file (StaVid 2) in format 2.
bool FileFormatTwo(const PrintOptions &o);

struct PageHeaderArgs {
    QString title;
    int pageNumber = 0;       // > 0: printed as given; 0: the library's current page
    QDate date;               // null: the suite's working date
    bool hideVersion = false;
    QString extraText;        // after the company text
    QString secondCompany;    // after the marker, in format-2 files
    QString company;          // empty: the menu's "ditta.ragsoc"
    bool blankLine = false;   // a blank line after line 1
    int mode = 0;             // 1: no header; 2: no header on files
};

// The menu parameters and settings the header shows are read once and kept until Reset()
// (called at the start of every run), so long reports do not ask the menu on every page.
class PageHeader {
public:
    explicit PageHeader(const PrintEnv &env) : m_env(env) {}
    void Reset() { m_cache.clear(); }

    // Draws the header at the current position; the progress window shows the page number.
    void Draw(PrintReport &report, const PageHeaderArgs &args) const;

    // The texts of the header.
    QString VersionText(bool hide) const;
    QString CompanyText(const PageHeaderArgs &args) const;
    QString DateText(const QDate &date) const;
    static QString PageText(int page);
    // The two fixed-width lines in `columns` characters.
    static QString FixedLine1(const QString &version, const QString &company, int columns);
    static QString FixedLine2(const QString &date, const QString &title, const QString &page, int columns);

private:
    QString menuVar(const QString &name) const;
    bool versionShown() const;
    const PrintEnv &m_env;
    mutable QHash<QString, QString> m_cache;
};

// Prints a list of items separated by ";" as left-aligned lines in "CorpoCampo", as many
// whole items per line as fit in the printable width (in characters on the fixed-width
// destination). Texts shorter than 3 characters print nothing. style and align: another
// style and alignment for the lines.
void ItemListPrint(PrintReport &report, const QString &text, const QString &style = QStringLiteral("CorpoCampo"),
                   const QString &align = QStringLiteral("S"));

} // namespace kem
