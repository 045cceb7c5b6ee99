#pragma once
// ModuleForm: what the form dispatcher, the form activation and the shutdown need of a report
// form. Each report form (a widget) implements it; its unload handler calls
// UtilClient::FormUnload so that control goes back to whoever launched it.
#include <QString>

namespace kem {

class ModuleForm {
public:
    virtual ~ModuleForm() = default;

    // The form's name as the dispatcher knows it ("FrmPrelvo") and its title bar text.
    virtual QString FormName() const = 0;
    virtual QString Caption() const = 0;

    // Loads the form (its load handler runs and sets oiLoadOk: -1 when it cannot work).
    virtual void Load() = 0;
    virtual bool IsLoaded() const = 0;
    // Unloads it. A form may refuse (a report of its own is running): false then.
    virtual bool Unload() = 0;

    // The general display operation: shows the form with a window state (0 normal,
    // 1 minimised, 2 maximised). A negative result is a failure (-100 - error number).
    virtual int ShowForm(int windowState) = 0;
    virtual bool IsVisible() const = 0;
    virtual void MakeVisible() = 0;
    virtual bool IsActive() const = 0;
    virtual void GiveFocus() = 0;

    // Asked by the menu for another activation of an open form.
    virtual void AttivatoDaAltri() = 0;
    // Offers the form in the menu's list of forms to pass to (MenuPassaA).
    virtual void PassaA() = 0;

    // Electronic-invoice information request pending on this form (0: none).
    virtual int oiFeInfo() const { return 0; }
    virtual void FeInfoLetto(const QString &info) { (void)info; }

    // Launch data given by the activation.
    QString osKeySec;
    QString osKeyLancia;
    QString osKeySecLancia;
    QString osParamLancia;
    QString osParam;
    QString osTipoForm;
    int oiLoadOk = 0;
};

} // namespace kem
