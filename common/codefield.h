#pragma once
// Rules of the code fields that need no window: the inactive-article filter, the key code of
// the lookup retry, the lookup column list, the date check, the personal parameters the code
// fields read, and the search inside a text.
#include "common/funvarie.h"

#include <QDate>
#include <QSet>
#include <QString>
#include <optional>

namespace kem {

class MenuServer;

// Where clause that keeps inactive articles from decoding. An article is inactive when its
// Inattivo is "S" (any case); a Null Inattivo counts as active, so it is tested explicitly
// (ucase(Null)<>'S' alone would be Null and drop the row).
inline const QString InactiveArticleFilter = QStringLiteral(" (Inattivo Is Null Or ucase(Inattivo)<>'S') ");

// where + " And " + clause (just clause when where is blank).
QString AddWhereClause(const QString &where, const QString &clause);

// Key code of the lookup opened on a code that does not exist: the personal [Tutti] value
// kind + "Hlp" as an integer plus 111 when it is not 0 (2 gives 113, F2), else callerKey.
int LookupRetryKeyCode(const QString &personalValue, int callerKey);

// The lookup column list from personal [Help] "Campi" + kind: a value whose first four
// characters are ",No," counts as empty; the caller's extra columns are appended.
QString LookupColumnList(const QString &campi, const QString &extraColumns = {});

// A date typed into a field: dd/mm/yyyy (also d/m/yyyy, "-" or "." as separators, ddmmyyyy,
// and two-digit years, 00-49 in 2000-2049 and 50-99 in 1950-1999). Blank or unreadable text
// gives an invalid date.
QDate ParseFieldDate(const QString &text);

enum class DateCheck { Blank, Valid, Invalid, TooSmall };
// Blank text is Blank; an unreadable date Invalid; a date before minDate TooSmall.
DateCheck CheckFieldDate(const QString &text, const QDate &minDate);

// The controls already told "Data troppo piccola", held as "|<" + name + ">|" entries.
class ReportedControls {
public:
    bool contains(const QString &name) const { return text_.contains("|<" + name + ">|"); }
    void add(const QString &name);
    void remove(const QString &name) { text_.remove("|<" + name + ">|"); }
    QString text() const { return text_; }
private:
    QString text_;
};

// Search inside a text for find and replace: the first occurrence of needle at or after
// `from` (forward) or starting before `from` (backward); -1 when there is none.
int FindInText(const QString &text, const QString &needle, int from, bool forward,
               Qt::CaseSensitivity cs);

// Image settings of article lookups (personal [Articoli] and the ini's [Base] directories).
struct ArticleImageSettings {
    bool show = false;     // "Immagini" "S"
    QString directory;     // [Base] "DirImgArt", else "DirImmagini", made absolute with "DriveDB"
    QString ratio;         // "ImgRapVertOriz"
    QString realSize;      // "ImgDimReali"
    QString where;         // "ImgDove", default "D"
    QString space;         // "ImgSpazio", default "2000" for "A"/"B", "5000" otherwise
    QString mostraImg;     // "MostraImg"
    QString doveMostraImg; // "DoveMostraImg"
};

// A directory read from the ini made absolute: a directory that is not absolute (no drive
// letter, no "\\" start, no "/" start) is joined to driveDb.
QString AbsoluteIniDirectory(const QString &directory, const QString &driveDb);

// The personal parameters the code fields read, from the menu; "NoDecInattivi" is read once.
class CodeFieldParams {
public:
    CodeFieldParams(MenuServer &menu, IniContext ini) : menu_(menu), ini_(std::move(ini)) {}

    bool noDecInattivi();                     // [Articoli] "NoDecInattivi" = "S" (default "N")
    QString retryKeyValue(const QString &kind); // [Tutti] kind + "Hlp", default "0"
    QString columnList(const QString &kind);    // [Help] "Campi" + kind, default empty
    bool passThrough(const QString &kind);      // [Help] "SQLPass" + kind = "S"
    QString cfHelpRic(const QString &key);      // [Tutti] "CFHelpRic11" / "CFHelpRic12"
    ArticleImageSettings articleImages();
    QString personal(const QString &section, const QString &key, const QString &def);
private:
    MenuServer &menu_;
    IniContext ini_;
    std::optional<bool> noDecInattivi_;
};

} // namespace kem
