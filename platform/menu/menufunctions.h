#pragma once
// MenuFunctions: the functions a program reaches with MenuCall.
//   "PrepProcCorr"     a new process token ("<menu pid>.<n>")
//   "AddSeg"           list (program id, token): the token with the segment appended
//                      ("<token>.<id>"); a bare program id answers an empty text
//   "TastiCtrl"        "0" (the menu takes no Ctrl keys)
//   "GetParamDbMenu§~<statement>§~<columns>"  list of the columns of the first row, empty list
//                      when there is none
//   "LeggiIniComuni"   list (file, section, key[, default]): the value; a missing key answers
//                      the default, or "§ç~$!^" when none is given
//   "ScriviIniComuni"  list (file, section, key, value): writes the key; without the value
//                      it deletes the key; answers true
//   file: 0 or a text beginning "C" = the file common to all terminals, 1 or "T" = this
//   terminal's file.
// Any other function is logged and answers an empty text ("MsgBox" is the host's).
#include "platform/menu/menuconfig.h"
#include "platform/menu/menudatabase.h"

#include <QVariant>
#include <functional>

namespace kem {

class MenuFunctions {
public:
    MenuFunctions(const MenuConfig &config, MenuDatabase &db);

    // Throws kem::MenuError (Remote) on bad parameters or failed database or file access.
    QVariant call(const QString &function, const QString &scope, const QVariant &param);
    // Where unknown functions are reported.
    void setLog(std::function<void(const QString &)> log) { log_ = std::move(log); }

private:
    QString iniFile(const QVariant &which) const;
    QVariant readIni(const QVariantList &p) const;
    QVariant writeIni(const QVariantList &p) const;

    const MenuConfig &config_;
    MenuDatabase &db_;
    std::function<void(const QString &)> log_;
    int tokens_ = 0;
};

} // namespace kem
