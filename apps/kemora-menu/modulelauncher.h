#pragma once
// ModuleLauncher: starts the module for a menu entry, or, when a module registered with the
// entry's program key is already connected, stores the new launch and sends it "attiva" with
// the entry's secondary key. The module is the program named by the environment variable
// KEM_DISTINTA, else "distinta" beside this executable or in ../distinta/ (the build tree).
// Launch switches: platform/menu/menulaunch.h.
#include "apps/kemora-menu/menuhost.h"
#include "platform/menu/menulaunch.h"

#include <QObject>
#include <QString>

namespace kem {

class ModuleLauncher : public QObject {
    Q_OBJECT
public:
    explicit ModuleLauncher(MenuHost &host, QObject *parent = nullptr);

    // Path of the module's executable; empty when it cannot be found.
    static QString FindModule();
    // Opens `form` for program key `programKey` with extra text `chiaveSec`. False with
    // *error when the module cannot be started.
    bool open(const QString &programKey, const QString &chiaveSec, const QString &form,
              QString *error);

    // Opens `form` for the menu entry that opens it (see MenuConfig::formFor); a form of no
    // entry opens under the first entry's program key without extra text.
    bool openForm(const QString &form, QString *error);

signals:
    void logLine(const QString &line);

private:
    MenuHost &host_;
};

} // namespace kem
