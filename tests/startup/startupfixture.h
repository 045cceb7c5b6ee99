#pragma once
// Shared pieces of the start-up tests: scripted dialogs, a report form without a window, a
// database double that fails on request, and a context wired to the fake menu.
#include "tests/support/testcompany.h"
#include "common/msgsinks.h"
#include "startup/connsplash.h"
#include "startup/dbcomponent.h"
#include "schema/democompany.h"
#include "startup/desktop.h"
#include "platform/menu/fakemenuserver.h"
#include "startup/formregistry.h"
#include "startup/frmprincipale.h"
#include "startup/moduleform.h"
#include "startup/programcontext.h"
#include "startup/scmenucomandiclie.h"
#include "startup/startupdialogs.h"
#include "startup/utilclient.h"

#include <QFile>
#include <QHash>
#include <QList>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

namespace kem::test {

class ScriptedDialogs : public StartupDialogs {
public:
    struct Shown {
        QString kind; // "box", "input", "ync", "okc"
        QString text;
        QString title;
        BoxStyle style = BoxStyle::Plain;
    };
    void MessageBox(const QString &text, BoxStyle style = BoxStyle::Plain) override
    {
        shown.append({QStringLiteral("box"), text, {}, style});
    }
    QString InputBox(const QString &prompt, const QString &title, const QString &def) override
    {
        shown.append({QStringLiteral("input"), prompt, title, BoxStyle::Plain});
        return inputs.isEmpty() ? def : inputs.takeFirst();
    }
    YesNoCancel AskYesNoCancel(const QString &text) override
    {
        shown.append({QStringLiteral("ync"), text, {}, BoxStyle::Plain});
        return ync.isEmpty() ? YesNoCancel::Yes : ync.takeFirst();
    }
    bool AskOkCancel(const QString &text) override
    {
        shown.append({QStringLiteral("okc"), text, {}, BoxStyle::Plain});
        return okc.isEmpty() ? false : okc.takeFirst();
    }
    QList<Shown> of(const QString &kind) const
    {
        QList<Shown> out;
        for (const Shown &s : shown)
            if (s.kind == kind)
                out.append(s);
        return out;
    }
    QStringList boxTexts() const
    {
        QStringList out;
        for (const Shown &s : of(QStringLiteral("box")))
            out.append(s.text);
        return out;
    }

    QList<Shown> shown;
    QStringList inputs;
    QList<YesNoCancel> ync;
    QList<bool> okc;
};

// A report form without a window.
class TestForm : public ModuleForm {
public:
    TestForm(ProgramContext &ctx, const QString &name) : ctx_(ctx), name_(name) {}
    QString FormName() const override { return name_; }
    QString Caption() const override { return caption; }
    void Load() override
    {
        ++loads;
        loaded = true;
        oiLoadOk = loadOk;
    }
    bool IsLoaded() const override { return loaded; }
    bool Unload() override
    {
        if (!loaded)
            return true;
        // A form does not close while its report runs.
        if (ctx_.oiStaAtt == 1)
            return false;
        loaded = false;
        visible = false;
        active = false;
        ScaricaForm(ctx_, this, true);
        return true;
    }
    int ShowForm(int windowState) override
    {
        shownState = windowState;
        if (showResult >= 0) {
            visible = true;
            active = true;
        }
        return showResult;
    }
    bool IsVisible() const override { return visible; }
    void MakeVisible() override { visible = true; ++madeVisible; }
    bool IsActive() const override { return active; }
    void GiveFocus() override { ++focused; }
    void AttivatoDaAltri() override { ++activations; }
    void PassaA() override
    {
        ++passaA;
        if (ctx_.menu())
            ctx_.menu()->MenuPassaA(Caption(), FormName(), QVariant());
    }
    int oiFeInfo() const override { return feInfoPending; }
    void FeInfoLetto(const QString &info) override { feInfo = info; }

    QString caption = QStringLiteral("Form di prova");
    int loadOk = 0;
    int showResult = 0;
    int shownState = -1;
    bool loaded = false;
    bool visible = false;
    bool active = false;
    int loads = 0, madeVisible = 0, focused = 0, activations = 0, passaA = 0;
    int feInfoPending = 0;
    QString feInfo;

private:
    ProgramContext &ctx_;
    QString name_;
};

// A database object that fails its opens with scripted Jet numbers, then opens `real` (when
// set) or answers a fixed connection text.
class DbDouble : public DbComponent {
public:
    QString DbParamGet(const QString &name) const override { return params.value(name.toLower()); }
    void DbParamSet(const QString &name, const QString &value) override
    {
        params.insert(name.toLower(), value);
        paramLog.append(name + QLatin1Char('=') + value);
    }
    QString DbOpen(const QString &name, bool, bool, const QString &connect, const QVariant &) override
    {
        opens.append(name);
        connects.append(connect);
        if (!errors.isEmpty()) {
            const int n = errors.takeFirst();
            if (n != 0)
                throw DbError(n, QStringLiteral("errore %1").arg(n));
        }
        if (alwaysFail != 0)
            throw DbError(alwaysFail, QStringLiteral("errore %1").arg(alwaysFail));
        if (real)
            return real->DbOpen(name, false, false, connect);
        return QStringLiteral("DBQ=") + name;
    }
    void DbClose() override { closed = true; }
    Database *database() override { return real.get(); }

    QHash<QString, QString> params;
    QStringList paramLog;
    QList<int> errors;
    int alwaysFail = 0;
    QStringList opens;
    QStringList connects;
    bool closed = false;
    std::unique_ptr<Database> real;
};

using kemtest::LoadCompanyMenu;

struct Fixture {
    QTemporaryDir tmp;
    QString dir;  // company directory (when a demo company was written)
    std::shared_ptr<FakeMenuServer> menu = std::make_shared<FakeMenuServer>();
    RecordingMessageSink sink;
    ScriptedDialogs dialogs;
    SplashState splash;
    NullDesktop desktop;
    FormRegistry registry;
    std::unique_ptr<ProgramContext> ctx;
    QList<TestForm *> created;
    bool menuFails = false;

    Fixture()
    {
        for (const char *name : {"frmprelvo", "frmstimpldiba", "FrmStaFabbis", "FrmDiBaCaSo", "frmProva"}) {
            const QString n = QString::fromLatin1(name);
            registry.Add(n, [this, n](ProgramContext &c) {
                auto f = std::make_unique<TestForm>(c, n);
                created.append(f.get());
                return f;
            });
        }
        ctx = std::make_unique<ProgramContext>();
        wire(*ctx);
    }

    void wire(ProgramContext &c)
    {
        c.messages = &sink;
        c.dialogs = &dialogs;
        c.splash = &splash;
        c.desktop = &desktop;
        c.registry = &registry;
        c.places.windowsDir = tmp.filePath(QStringLiteral("windows"));
        c.places.applicationDir = tmp.filePath(QStringLiteral("app"));
        c.places.currentDir = tmp.filePath(QStringLiteral("cwd"));
        c.places.installIni = tmp.filePath(QStringLiteral("windows/KemwinInst.ini"));
        c.connectMenu = [this](const QString &) -> std::shared_ptr<MenuServer> {
            if (menuFails)
                throw MenuError(MenuError::NotRunning, QStringLiteral("nessun menu"));
            return menu;
        };
        c.mainForm = std::make_unique<frmPrincipale>(c);
    }

    // Writes the demo company into dir and points the fake menu at it.
    bool demo()
    {
        dir = tmp.filePath(QStringLiteral("azienda"));
        QString error;
        if (!WriteDemoCompany(dir, &error)) {
            qWarning("%s", qPrintable(error));
            return false;
        }
        LoadCompanyMenu(*menu, dir + QStringLiteral("/kemora-menu.ini"));
        menu->setIniPath(dir + QStringLiteral("/kemwin.ini"));
        menu->setCallResult(QStringLiteral("PrepProcCorr"), QStringLiteral("T1"));
        return true;
    }

    // A context whose menu is connected (the state after the start-up's menu steps).
    void connectMenu()
    {
        ctx->menuClass = std::make_unique<scMenuComandiClie>(*ctx, menu);
    }

    TestForm *form(const QString &name) const
    {
        return dynamic_cast<TestForm *>(ctx->FormInstance(name));
    }

    QStringList menuMessages() const
    {
        QStringList out;
        for (const auto &c : menu->callsTo(QStringLiteral("MenuCall"))) {
            if (c.args.value(0).toString() == QLatin1String("MsgBox"))
                out.append(c.args.value(2).toString());
        }
        return out;
    }
};

} // namespace kem::test
