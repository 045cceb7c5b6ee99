#pragma once
// An open company as the reports see it, and the one way to open a company directory without
// the main menu (batch runs, tests).
//
// CompanyEnv is a view: where the company's settings are (main ini, company ini), the
// program's menu key, the menu, the message sink, the company database, its parameters and the
// program-wide print-active flag. The program fills one from its start-up state; a
// CompanySession owns what it points to.
#include "common/companyparams.h"
#include "common/messages.h"
#include "platform/db/kemdb.h"
#include "platform/menu/companymenuserver.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace kem {

struct CompanyEnv {
    QString mainIni;
    QString companyIni;   // "OrdIniDBase" chosen (relative to the main ini's folder) or path
    QString programKey;   // key of this program's main-menu entry
    MenuServer *menu = nullptr;
    MessageSink *sink = nullptr;
    Database *db = nullptr;
    const CompanyParams *params = nullptr;
    int *printActive = nullptr;  // the print-active flag (1 while a report runs); nullptr: own
};

// What a run on a company folder should know first: a company database file that lies
// outside the folder (a copy of the folder would still read and change that database).
QStringList CompanyFolderWarnings(const MenuConfig &config);

// A company directory opened as the module opens it: DIR/kemora-menu.ini gives the menu
// variables, the main ini and its company ini; the company database named by "NomeDBAzie"
// (with "PwdDbAzie" and "ConnectDBAzie") is opened and the company parameters loaded.
class CompanySession {
public:
    static constexpr const char *kProgramKey = "DISTINTA";

    // nullptr with *error set when the directory cannot be read; throws DbError (or another
    // std::exception) when the database cannot be opened or the parameters not loaded.
    // warn (when given) receives, before the database is opened, the warnings a run on this
    // folder deserves (CompanyFolderWarnings).
    static std::unique_ptr<CompanySession> Open(const QString &companyDir, MessageSink &sink,
                                                QString *error,
                                                const std::function<void(const QString &)> &warn = {});
    CompanySession(const CompanySession &) = delete;
    CompanySession &operator=(const CompanySession &) = delete;

    CompanyEnv Env();
    CompanyMenuServer &menu() { return menu_; }
    Database &db() { return db_; }
    const CompanyParams &params() const { return params_; }
    const QString &mainIni() const { return mainIni_; }
    const QString &companyIni() const { return companyIni_; }

private:
    CompanySession(MenuConfig config, MessageSink &sink);

    CompanyMenuServer menu_;
    MessageSink &sink_;
    Database db_;
    CompanyParams params_;
    QString mainIni_, companyIni_;
    int printActive_ = 0;
};

} // namespace kem
