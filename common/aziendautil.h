#pragma once
// Company parameters: the loading routine run once after the company database is open, the
// currency lookup on Monete, the display formats and the personal-parameter reader.
#include "common/companyparams.h"
#include "common/funvarie.h"

#include <QString>
#include <optional>
#include <stdexcept>

namespace kem {

class MenuServer;
class Database;

// A company or personal parameter whose value cannot be used (for example a number of
// decimals that is not a number). number() is 13, the run-time "type mismatch".
class ParamError : public std::runtime_error {
public:
    ParamError(const QString &name, const QString &value, const QString &expected);
    int number() const { return 13; }
    QString description() const { return description_; }
private:
    QString description_;
};

// A company variable of the menu; a variable the menu does not have reads as empty text.
QString CompanyVar(MenuServer &menu, const QString &name);

// A personal parameter: menu variable "Personal." + section + ".§" + key read with an empty
// default. When the menu does not have it and both program keys are given, "Personal." +
// programKey1 + ".§" + programKey2 is tried. When that is missing too the result is def, or
// the missing marker ("§ç~$!^") when the caller gives no default.
QString PersonalParam(MenuServer &menu, const QString &section, const QString &key,
                      const std::optional<QString> &def = std::nullopt,
                      const QString &programKey1 = {}, const QString &programKey2 = {});

// The three display formats of one number of decimals.
AmountFormats BuildAmountFormats(int decimals);

// A row of Monete.
struct CurrencyInfo {
    qint16 numDec = 2;
    qint16 numDecGest = 2;
    QString operatore = QStringLiteral("/");
    QString cee = QStringLiteral("N");
};

// Looks the currency up in Monete ("Select * from Monete where moneta = 'code'"); a code the
// table does not hold gives 2 and 2 decimals, operator "/" and EU flag "N". Null columns read
// as those same defaults. Database errors propagate (kem::DbError).
CurrencyInfo CurrencyLookup(Database &db, const QString &code);

// The program's own maximised-forms rule: "2" when the list (items separated by ",") holds
// programKey or the item "tutti", compared without regard to case; empty otherwise.
QString MaximisedWindowState(const QString &massimizzato, const QString &programKey);

// Loads the company parameters (company variables of the menu, personal parameters, the
// Monete table, [Configurazioni] "FormatData" of the ini) into params. flag 0 reads the
// currency decimals from Monete; a non-zero flag gives lira 0 / 0 and euro 2 / 2 without
// reading the table. programKey decides the window state of the forms.
// The working date is the menu variable "DataLavoro" (dd/mm/yyyy); when it is blank or not a
// valid date, today's date is used.
// Errors (kem::MenuError, kem::DbError, kem::ParamError) propagate to the caller; params is
// only written when every value was loaded.
void CaricaParametriAzienda(MenuServer &menu, Database &db, qint16 flag, const IniContext &ini,
                            const QString &programKey, CompanyParams &params);

} // namespace kem
