// The module's program with one form of the tests instead of the report forms: "frmProva", a
// form without a window that unloads itself when the menu asks the open forms to offer
// themselves ("preppassaa"), or when the menu has gone away, standing in for the user closing
// it. It refuses to load without the forms' shared services.
#include "startup/distintaapp.h"
#include "startup/moduleform.h"
#include "startup/programcontext.h"
#include "startup/utilclient.h"

#include <QTimer>

namespace {

class ProvaForm : public kem::ModuleForm {
public:
    explicit ProvaForm(kem::ProgramContext &ctx) : ctx_(ctx)
    {
        // The user closes the form a little after the module said that the menu is gone.
        menuWatch_.setInterval(200);
        QObject::connect(&menuWatch_, &QTimer::timeout, [this] {
            if (ctx_.link.menuGone) {
                menuWatch_.stop();
                Unload();
            }
        });
    }
    QString FormName() const override { return QStringLiteral("frmProva"); }
    QString Caption() const override { return QStringLiteral("Form di prova"); }
    // A form cannot work without the shared services the program builds before it.
    void Load() override
    {
        loaded_ = true;
        oiLoadOk = ctx_.formServices ? 1 : -1;
        menuWatch_.start();
    }
    bool IsLoaded() const override { return loaded_; }
    bool Unload() override
    {
        if (!loaded_)
            return true;
        loaded_ = false;
        menuWatch_.stop();
        kem::ScaricaForm(ctx_, this, true);
        return true;
    }
    int ShowForm(int) override
    {
        visible_ = true;
        return 0;
    }
    bool IsVisible() const override { return visible_; }
    void MakeVisible() override { visible_ = true; }
    bool IsActive() const override { return loaded_; }
    void GiveFocus() override {}
    void AttivatoDaAltri() override {}
    void PassaA() override { Unload(); }

private:
    kem::ProgramContext &ctx_;
    bool loaded_ = false;
    bool visible_ = false;
    QTimer menuWatch_;
};

} // namespace

int main(int argc, char **argv)
{
    return kem::RunDistinta(argc, argv, [](kem::FormRegistry &registry) {
        registry.Add(QStringLiteral("frmProva"), [](kem::ProgramContext &ctx) {
            return std::make_unique<ProvaForm>(ctx);
        });
    });
}
