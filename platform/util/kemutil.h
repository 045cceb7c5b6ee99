#pragma once
// General utility component: the global operations every part of the module uses
// (SQL literals, blank tests, Italian number formats and rounding, text to number,
// paths, command-line switches, ini files, database repair).
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <initializer_list>

namespace kem {

// Kind of a value handed to SqlLiteral and IsBlank.
enum class VarKind { Text, Int16, Int32, Double, Date, Bool };

// ---------------------------------------------------------------------------------------------
// SQL literals and blank tests
// ---------------------------------------------------------------------------------------------

// A value as an SQL literal of the Jet dialect:
//   Text    'text' with every embedded quote doubled (O'NEIL -> 'O''NEIL'); never breaks out of
//           the literal whatever the text holds.
//   Int16 / Int32   plain integer ("-42"); a fractional value is rounded half away from zero;
//           a text value is read the Italian way (TextToNum).
//   Double  point as decimal separator, the shortest digits that read back as the same double
//           ("2.675", "0.30000000000000004", "1e+20").
//   Date    #mm/dd/yyyy#; a text value is read as dd/mm/yyyy (also d/m/yyyy) or yyyy-mm-dd.
//   Bool    True / False (a text value: "True", "S", "1", "-1" / "False", "N", "0", "", any case).
// A null value (QVariant(), a null QDate) gives Null. A value that cannot be read as the kind
// (text "abc" as Int32, 70000 as Int16, an impossible date, NaN) also gives Null and sets *ok
// to false; *ok is true otherwise.
QString SqlLiteral(const QVariant &value, VarKind kind, bool *ok = nullptr);

// Emptiness test: null is blank for every kind; Text: empty or all-blank text; Int16/Int32/
// Double: 0 (a text value is read with TextToNum;
// text that is not a number is not blank); Date: a null or invalid date, or blank text;
// Bool: false.
bool IsBlank(const QVariant &value, VarKind kind);

// ---------------------------------------------------------------------------------------------
// Numbers: display formats, rounding, text conversion
// ---------------------------------------------------------------------------------------------

// Builds a display format for FormatNum from a pattern and a number of decimals.
//   pattern  "#,##0": integer digit always shown; "#,###": zero shows as blank;
//            "#,##^": "^" stands for the last integer place, the decimal point and the decimals
//            (so "#,##^" becomes "#,###.ddd"). Any other pattern is taken as written, the
//            decimals going where a "^" is, else at the end.
//   decimals number of decimal places (negative counts as 0).
//   fill     character of each decimal place: '#' optional digit, '0' fixed digit;
//            QChar() (none given) uses decimalPlace.
//   decimalPlace  character of each decimal place when no fill is given ('0' or '#').
// Examples: (2, none, "#,##0") -> "#,##0.00"; (2, none, "#,###") -> "#,###.00";
//           (2, '#', "#,###") -> "#,###.##"; (3, '#', "#,##^") -> "#,###.###"; (0, ..) -> "#,###".
QString NumFormat(int decimals, QChar fill, const QString &pattern, QChar decimalPlace = QChar('0'));

// Applies a display format the Italian way: point for thousands, comma for decimals
// (FormatNum(1234.5, "#,##0.00") == "1.234,50").
// Format grammar (VB-like, placeholders always written with '.' and ','):
//   format   := section [ ";" section [ ";" section ] ]
//               one section: every value; two: positive/zero ; negative (shown without sign,
//               so a negative section supplies its own "-" or brackets); three: the third is
//               used for values that round to zero.
//   section  := literal* number literal*
//   number   := integer [ "." decimals ]
//   integer  := run of '0' '#' ',' : each '0' a digit always shown (leading zeros), '#' a digit
//               shown when significant, any ',' groups the integer digits by three.
//   decimals := run of '0' '#' : '0' always shown, '#' shown unless it is a trailing zero; the
//               comma is dropped when no decimal digit is left.
//   literal  := any other character, "quoted text" or \c (one character), copied as is.
// The value is rounded half away from zero to the decimal places of the format, exactly on its
// decimal digits (2.675 with two places shows 2,68). A value that rounds to zero is shown blank
// when the integer part has no '0' (the "#,###" formats) and no zero section is given; a value
// below one otherwise keeps its integer zero ("0,5" also under "#,###.##"). A value that rounds
// to zero never shows a minus sign. An empty format gives NumText(value).
QString FormatNum(double value, const QString &format);

// Rounds value to multiples of step x 10^-decimals (step 1, or any step <= 0: plain rounding to
// `decimals` places; step 5 with 2 decimals: to multiples of 0,05; decimals may be negative:
// -2 rounds to hundreds). mode "A" (any case): half away from zero; "T": toward zero
// (truncation); any other mode rounds as "A". The arithmetic is exact on the decimal value of
// the double written with 15 significant digits, so binary noise does not leak in:
// 2.675 -> 2.68, 1.005 -> 1.01, 1.15 * 100 truncated -> 115.
double RoundNum(double value, const QString &mode, double step, int decimals);

// Reads a number written the Italian way: optional sign, digits with '.' grouping thousands,
// ',' as decimal separator: "1.234,5", "2,5", "-3", " 7 ". Blank text gives 0 and is not an
// error. When the text has no comma, a point is a thousands separator only where it groups
// exactly three digits ("1.234" = 1234, "1.234.567" = 1234567); a single point followed by some
// other number of digits is the decimal point ("1.2" = 1,2; "1.07" = 1,07).
// Anything else ("12a", "1,2,3", "--1") gives 0 with *ok = false.
double TextToNum(const QString &text, bool *ok = nullptr);
// TextToNum rounded half away from zero to an integer; a value outside the 32-bit range gives
// 0 with *ok = false.
qint32 TextToInt(const QString &text, bool *ok = nullptr);
// A number as plain text: no thousands separator, comma as decimal separator, at most 15
// significant digits, never an exponent ("1234,5", "-3", "0,3" for 0.1 + 0.2).
QString NumText(double value);

// Largest / smallest value of a list; an empty list gives 0.
double ListMax(std::initializer_list<double> values);
double ListMin(std::initializer_list<double> values);
double ListMax(const QList<double> &values);
double ListMin(const QList<double> &values);

// ---------------------------------------------------------------------------------------------
// Paths and command line
// ---------------------------------------------------------------------------------------------

// True for a name that does not depend on a drive or directory: a drive letter ("X:..."), a
// UNC name ("\\server\share"), or an absolute Linux path ("/...").
bool IsAbsolutePathName(const QString &name);

// Joins drive, directory and name with exactly one separator between non-blank parts; a name
// that is already absolute (IsAbsolutePathName) comes back unchanged. The separator follows the
// parts: the first part that shows a style decides it (a drive letter or a '\' means '\', a '/'
// means '/'); when none shows one, '/' is used. All parts blank give "\", which callers read
// as "no path".
//   ("IMMAGINI", "D:", "") -> "D:\IMMAGINI";  ("", "D:", "IMMAGINI") -> "D:\IMMAGINI";
//   ("azienda.db", "/srv/kem", "dati") -> "/srv/kem/dati/azienda.db".
QString PathJoin(const QString &name, const QString &drive, const QString &directory);

// Paths kept in ini files. A company folder is copied as a whole, so the paths its ini files
// hold are written relative to the folder of the file that holds them and resolved against
// that folder when read; absolute paths are kept as they are.
//
// IniPathResolve: a relative path (not IsAbsolutePathName and not starting with '\' or '/') is
// joined to the absolute folder of iniFile and cleaned; a trailing separator is kept
// ("menu/" -> "/srv/az/menu/", "." -> "/srv/az"). A blank path comes back blank, an absolute
// one trimmed and otherwise unchanged, and so does any path when iniFile is blank.
QString IniPathResolve(const QString &path, const QString &iniFile);
// IniPathRelative: the reverse, for a path about to be written into iniFile: an absolute Linux
// path inside the folder of iniFile (or that folder itself) becomes relative to it ("." for the
// folder); any other path comes back trimmed and otherwise unchanged.
QString IniPathRelative(const QString &path, const QString &iniFile);
// True when path (made absolute against the current directory, symbolic links followed where
// it exists) lies inside folder or below it.
bool PathIsInside(const QString &path, const QString &folder);

// True when path names an existing file (not a directory); blank and "\" give false.
bool FileExists(const QString &path);

// The value of switch `letter` (any case) in a command line. A switch is "/X" or "-X" (one
// letter) at the start of the line or after a blank, followed by a blank or the end of the
// line; its value is the text after it up to the next switch, trimmed, blanks included:
// "/M menu1 /P ABC 12 X /F frmPrelvo" gives "ABC 12 X" for 'P'. A '/' or '-' followed by more
// than one character ("/srv/kem", "-12") is part of a value. No quoting. The first occurrence
// wins; a missing switch gives "".
QString CmdSwitch(const QString &commandLine, QChar letter);

// The folder that stands in for the Windows directory: the environment variable KEM_WINDIR
// when it is set and not blank, else "/etc/kemora".
QString WindowsDir();

// ---------------------------------------------------------------------------------------------
// Ini files (Windows private-profile semantics, see IniFile in inifile.h)
// ---------------------------------------------------------------------------------------------

// Reads [section] key of file. Returns the number of characters of the value read, as text;
// a missing file, section or key gives value = def and "0" (a key present with an empty value
// gives "" and "0", as the Windows profile API does).
QString IniRead(const QString &file, const QString &section, const QString &key,
                const QString &def, QString &value);

// Writes [section] key = value, keeping every other line of the file byte for byte (comments,
// order, other sections, line ends, encoding). A missing key is added at the end of its
// section, a missing section at the end of the file, a missing file is created (UTF-8).
//   key empty (or null): deletes the whole section.
//   value null (QString()): deletes the key.  value empty but not null (""): writes "key=".
// Returns false, with *error set, when the file cannot be read or written or the value cannot
// be written in the file's encoding (a Windows-1252 file stays Windows-1252), or when a name or
// the value would change the file's structure (line breaks, "]" in section, "=" in key).
bool IniWrite(const QString &file, const QString &section, const QString &key,
              const QString &value, QString *error = nullptr);

// The program's ini lookup. Lookup order:
//   1. the company ini: companyIni, resolved against the folder of mainIni when it is a
//      relative name; skipped when companyIni is blank. A key present there wins, also when
//      its value is empty, so a company can override a setting of the main ini.
//   2. the main ini.
// Returns and sets value as IniRead does.
// *holder (when given) receives the file the value was read from, blank when neither has it.
QString IniReadPrg(const QString &section, const QString &key, const QString &def, QString &value,
                   const QString &mainIni, const QString &companyIni, QString *holder = nullptr);
// The same for a key that holds a path: a value read is resolved against the folder of the file
// that holds it (IniPathResolve); def is returned as given.
QString IniReadPrgPath(const QString &section, const QString &key, const QString &def, QString &value,
                       const QString &mainIni, const QString &companyIni);

// ---------------------------------------------------------------------------------------------
// Database repair
// ---------------------------------------------------------------------------------------------

// DbRepair results.
enum DbRepairStatus {
    DbRepairOk = 0,           // recovered file in place, damaged original kept beside it
    DbRepairNotDatabase = 1,  // missing file, not an SQLite file, or its schema unreadable
    DbRepairIoError = 2,      // the recovered file could not be written or moved into place
};

// Recovers what can be read of a damaged SQLite file: a fresh file with the schema and every
// readable row of every table (rows on damaged pages are skipped) takes the original's path;
// the damaged original (and any -journal / -wal / -shm beside it) is renamed to
// <path>.danneggiato-<yyyyMMdd-hhmmss>. Nothing is touched when nothing could be recovered.
// Returns a DbRepairStatus; *message (when given) says what was recovered or what failed.
int DbRepair(const QString &path, QString *message = nullptr);

} // namespace kem
