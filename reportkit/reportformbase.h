#pragma once
// ReportFormBase: the window side of a report form. It implements what the dispatcher and the
// shutdown ask of a form (ModuleForm) on a top-level widget, and runs the shared closing
// protocol (ScaricaForm) when the form really unloads, whether the program or the user closes
// it, and gives the messages every form shows. A module form derives from it and fills in
// Form_Load and Form_Unload.
#include "startup/moduleform.h"

#include <QWidget>

#include <exception>

namespace kem {

class FormKeyFilter;
class FormServices;
class ProgramContext;

class ReportFormBase : public QWidget, public ModuleForm {
    Q_OBJECT
public:
    ReportFormBase(ProgramContext &ctx, const QString &formName, QWidget *parent = nullptr);

    QString FormName() const override { return formName_; }
    QString Caption() const override { return windowTitle(); }
    void Load() override;
    bool IsLoaded() const override { return loaded_; }
    bool Unload() override;
    // 0 normal, 1 minimised, 2 maximised; always succeeds (0).
    int ShowForm(int windowState) override;
    bool IsVisible() const override { return isVisible(); }
    void MakeVisible() override;
    bool IsActive() const override { return isActiveWindow(); }
    void GiveFocus() override;
    void AttivatoDaAltri() override {}
    // Offers the form to the menu with its caption and name (errors ignored).
    void PassaA() override;

protected:
    // The form's own load; sets oiLoadOk (-1 when the form cannot work).
    virtual void Form_Load() {}
    // The form's own unload; setting cancel keeps the form open (a run still active).
    virtual void Form_Unload(bool &cancel) { (void)cancel; }
    void closeEvent(QCloseEvent *event) override;

    // The code-field services of the program (nullptr without them).
    FormServices *services() const;
    // The first and the last step of a Form_Load with the services: the form's load routine
    // with its key handler (menu keyboard macros, find and replace, Enter as Tab), and the
    // activation routine. Nothing without services.
    void LoadWithServices();
    void ActivateWithServices();
    // PassaA of a form: offers it to the menu under `title`, with its name and osKeySec
    // (errors ignored).
    void OfferToMenu(const QString &title);
    // Plain message box with an OK button (system box of the program).
    void messageBox(const QString &text);
    // A failed field check: the message with "&Ok", the focus to the box.
    void fieldError(const QString &text, QWidget *focus);
    // A failure of the form itself: the shared error dialog with the caption.
    void formError(const std::exception &e, const QString &caption);

    ProgramContext &ctx_;

private:
    QString formName_;
    bool loaded_ = false;
    FormKeyFilter *keyFilter_ = nullptr;
};

} // namespace kem
