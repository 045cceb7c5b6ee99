#include "startup/programcontext.h"

#include "startup/connsplash.h"
#include "startup/frmprincipale.h"
#include "platform/util/kemutil.h"
#include "startup/moduleform.h"
#include "startup/scmenucomandiclie.h"
#include "startup/sckemutilprg.h"

#include <QCoreApplication>
#include <QDir>

namespace kem {

IniPlaces IniPlaces::FromEnvironment()
{
    IniPlaces p;
    p.windowsDir = WindowsDir();
    p.applicationDir = QCoreApplication::applicationDirPath();
    p.currentDir = QDir::currentPath();
    p.installIni = QDir(p.windowsDir).filePath(QStringLiteral("KemwinInst.ini"));
    return p;
}

ProgramContext::ProgramContext()
{
    makeDatabase = [] { return std::make_unique<CompanyDb>(); };
    repairDatabase = [](const QString &path) { return DbRepair(path); };
}

ProgramContext::~ProgramContext()
{
    // Forms first: their unload handlers may still reach the menu link.
    forms_.clear();
    help.reset();
    menuClass.reset();
}

MenuServer *ProgramContext::menu() const
{
    return menuClass ? menuClass->ogMenuClient() : nullptr;
}

Database *ProgramContext::database() const
{
    return companyDb ? companyDb->database() : nullptr;
}

HelpWindow *ProgramContext::helpWindow() const
{
    return help && help->ogKemAiuto() ? &help->ogKemAiuto()->Window() : nullptr;
}

ModuleForm *ProgramContext::FormInstance(const QString &name) const
{
    const auto it = forms_.find(name.trimmed().toLower());
    return it == forms_.end() ? nullptr : it->second.get();
}

ModuleForm *ProgramContext::AddFormInstance(const QString &name, std::unique_ptr<ModuleForm> form)
{
    ModuleForm *raw = form.get();
    if (!raw)
        return nullptr;
    auto &slot = forms_[name.trimmed().toLower()];
    if (slot)
        order_.removeAll(slot.get());
    slot = std::move(form);
    order_.append(raw);
    return raw;
}

QList<ModuleForm *> ProgramContext::LoadedForms() const
{
    QList<ModuleForm *> out;
    for (ModuleForm *f : order_) {
        if (f->IsLoaded())
            out.append(f);
    }
    return out;
}

ModuleForm *ProgramContext::ActiveForm() const
{
    for (ModuleForm *f : LoadedForms()) {
        if (f->IsActive())
            return f;
    }
    return nullptr;
}

} // namespace kem
