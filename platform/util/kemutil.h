#pragma once
// General utility component: the global operations every part of the module uses
// (SQL literals, blank tests, Italian number formats and rounding, text to number,
// paths, command-line switches, ini files, database repair).
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <initializer_list>

namespace kem {

// Kind of a value handed to SqlLiteral and IsBlank.
enum class VarKind { Text, Int16, Int32, Double, Date, Bool };

// A value as an SQL literal of the Jet dialect: text between single quotes with every
// embedded quote doubled; integers and doubles with a point as decimal separator; dates
// as #mm/dd/yyyy#; Booleans as True / False. A null value gives Null.
QString SqlLiteral(const QVariant &value, VarKind kind);

// Emptiness test: empty (or all-blank) text, 0, the empty (null or invalid) date, false, null.
bool IsBlank(const QVariant &value, VarKind kind);

// Builds a display format. decimals: number of decimal places; fill: character used for
// the decimal places of the "#,###" pattern ('#' optional digits, '\0' none given);
// pattern: "#,##0", "#,###" or "#,##^"; decimalPlace: character for each decimal place
// of "#,##0" ('0' fixed, '#' optional).
QString NumFormat(int decimals, QChar fill, const QString &pattern, QChar decimalPlace = QChar('0'));
// Applies a display format the Italian way: "1.234,50".
QString FormatNum(double value, const QString &format);

// Rounds value to `decimals` places in units of `step` (1 = plain rounding) with mode
// "A" (half away from zero) or "T" (truncation), exactly on the decimal value as written.
double RoundNum(double value, const QString &mode, double step, int decimals);

// Reads Italian text: "1.234,5", "2,5", "-3"; blank gives 0. ok (when given) is false for
// text that is not a number, which also gives 0.
double TextToNum(const QString &text, bool *ok = nullptr);
qint32 TextToInt(const QString &text, bool *ok = nullptr);
// A number as plain text, no thousands separator, comma as decimal separator.
QString NumText(double value);

// Joins name to drive and directory, unless name is already absolute.
QString PathJoin(const QString &name, const QString &drive, const QString &directory);
bool FileExists(const QString &path);
// The value of switch `letter` in a command line such as "/M menu1 /P PRG extra /F frmPrelvo".
QString CmdSwitch(const QString &commandLine, QChar letter);
QString WindowsDir();

double ListMax(std::initializer_list<double> values);
double ListMin(std::initializer_list<double> values);

// Private-profile ini access. IniRead returns the number of characters read as text
// ("0" when the key is missing, value then = def).
QString IniRead(const QString &file, const QString &section, const QString &key,
                const QString &def, QString &value);
bool IniWrite(const QString &file, const QString &section, const QString &key, const QString &value);
// Reads from the company ini, then the main ini (lookup order documented in the README).
QString IniReadPrg(const QString &section, const QString &key, const QString &def, QString &value,
                   const QString &mainIni, const QString &companyIni);

// Recovers what can be read of a damaged SQLite file into a fresh file at the same path,
// keeping the damaged original beside it. Returns 0 on success.
int DbRepair(const QString &path);

} // namespace kem
