#pragma once
// The start-up dialogs and the desktop as windows of the Qt application.
#include "startup/desktop.h"
#include "startup/startupdialogs.h"

namespace kem {

class QtDialogs : public StartupDialogs {
public:
    void MessageBox(const QString &text, BoxStyle style = BoxStyle::Plain) override;
    QString InputBox(const QString &prompt, const QString &title, const QString &def) override;
    YesNoCancel AskYesNoCancel(const QString &text) override;
    bool AskOkCancel(const QString &text) override;
};

class QtDesktop : public Desktop {
public:
    void ProcessEvents() override;
    bool ModalWindowOpen() override;
    QSize ScreenSize() override;
    // Linux window managers do not let a program raise another's window: the menu raises
    // itself when it receives MenuActivate, so nothing is left to do here.
    void ActivateProcess(const QString &processId) override { (void)processId; }
};

} // namespace kem
