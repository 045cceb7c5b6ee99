#pragma once
// What the start-up and the shutdown need of the window system: pending events, the modal
// window test, the screen size, bringing another process's window forward. The program uses
// the Qt application (desktopqt.h); tests use a scripted stand-in.
#include <QSize>
#include <QString>

namespace kem {

class Desktop {
public:
    virtual ~Desktop() = default;
    virtual void ProcessEvents() = 0;
    // True while a modal window (message, dialog) is open.
    virtual bool ModalWindowOpen() = 0;
    virtual QSize ScreenSize() = 0;
    // Brings forward the window of the process with that identifier (the menu's).
    virtual void ActivateProcess(const QString &processId) = 0;
};

// A desktop without windows: a fixed screen, no modal window unless told.
class NullDesktop : public Desktop {
public:
    void ProcessEvents() override {}
    bool ModalWindowOpen() override { return modal; }
    QSize ScreenSize() override { return screen; }
    void ActivateProcess(const QString &processId) override { activated = processId; }

    bool modal = false;
    QSize screen{1024, 768};
    QString activated;
};

} // namespace kem
