#include "startup/utilclient.h"

#include "startup/connsplash.h"
#include "startup/desktop.h"
#include "common/funvarie.h"
#include "startup/frmprincipale.h"
#include "startup/kemaiuto.h"
#include "platform/util/kemutil.h"
#include "startup/mainprelvo.h"
#include "startup/moduleform.h"
#include "startup/programcontext.h"
#include "startup/scmenucomandiclie.h"

namespace kem {

namespace {

const QString kOk = QStringLiteral("&Ok");
const QString kMenuGone = QStringLiteral("Il menu non è più disponibile");

QVariant Element(const QVariant &param, int i)
{
    const QVariantList list = param.toList();
    return i < list.size() ? list.at(i) : QVariant();
}

QString ElementText(const QVariant &param, int i)
{
    return Element(param, i).toString();
}

bool Succeeded(const QVariant &param)
{
    bool ok = false;
    const qint32 code = TextToInt(ElementText(param, 2).trimmed(), &ok);
    return ok && code == 0;
}

QString ErrLine(const QVariant &param)
{
    return QStringLiteral("Err: ") + ElementText(param, 2) + QStringLiteral(" - ") + ElementText(param, 3);
}

void Show(ProgramContext &ctx, const QString &text)
{
    if (ctx.messages)
        ctx.messages->msgCom(text, {kOk});
}

void FeInvio(ProgramContext &ctx, const QVariant &param)
{
    if (Succeeded(param)) {
        QString text = QStringLiteral("Inviate ")
                       + FormatNum(TextToNum(ElementText(param, 6)), QStringLiteral("#,##0")).trimmed()
                       + QStringLiteral(" fatture");
        if (!IsBlank(ElementText(param, 3), VarKind::Text))
            text += QStringLiteral("\nFatture non inviate per errori") + ElementText(param, 3);
        Show(ctx, text);
    } else {
        Show(ctx, QStringLiteral("Errore nell'invio delle fatture\n") + ErrLine(param));
    }
}

void FeAttesa(ProgramContext &ctx, const QVariant &param)
{
    if (Succeeded(param)) {
        if (TextToNum(ElementText(param, 3)) > 0)
            Show(ctx, QStringLiteral("Ci sono ") + ElementText(param, 3) + QStringLiteral(" fatture in attesa"));
    } else {
        Show(ctx, QStringLiteral("Errore nella richiesta di fatture in attesa\n") + ErrLine(param));
    }
}

void FeInfo(ProgramContext &ctx, const QVariant &param)
{
    if (!Succeeded(param)) {
        Show(ctx, QStringLiteral("Errore nella richiesta informazioni\n") + ErrLine(param));
        return;
    }
    const QString info = ElementText(param, 3);
    if (IsBlank(info, VarKind::Text))
        return;
    for (ModuleForm *f : ctx.LoadedForms()) {
        if (f->oiFeInfo() != 0) {
            f->FeInfoLetto(info);
            return;
        }
    }
}

bool FormLoaded(ProgramContext &ctx, const QString &name)
{
    for (ModuleForm *f : ctx.LoadedForms()) {
        if (f->FormName().compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

void ElaboraComando(ProgramContext &ctx, const QString &text1, const QString &text2,
                    const QString &command, const QVariant &param, QVariant &result)
{
    Q_UNUSED(text1);
    result = QString();
    const QString cmd = command.toLower();
    try {
        if (cmd == QLatin1String("fine")) {
            ctx.link.closing = true;
            if (FineProgramma(ctx))
                result = QString();
            else
                result = ctx.link.refusal.isEmpty() ? QStringLiteral("No Chiudi") : ctx.link.refusal;
        } else if (cmd == QLatin1String("esiste")) {
            result = true;
        } else if (cmd == QLatin1String("ritornoa")) {
            const QString name = param.toString();
            if (IsBlank(name, VarKind::Text) || !FormLoaded(ctx, name)) {
                HelpWindow *hw = ctx.helpWindow();
                if (hw && hw->visible)
                    hw->ButtonComando(QStringLiteral("Aggiorna"));
                try {
                    if (ModuleForm *active = ctx.ActiveForm())
                        active->GiveFocus();
                } catch (const std::exception &) {
                }
            } else {
                FormDispatcher(ctx, name, false, {}, {}, {}, {});
            }
        } else if (cmd == QLatin1String("attiva")) {
            MenuServer *menu = ctx.menu();
            if (!menu)
                throw MenuError(MenuError::NotRunning, QStringLiteral("Menu non collegato"));
            menu->MenuLaunchSelect(text2);
            const LaunchParams lp = menu->MenuLaunchParams();
            FormDispatcher(ctx, CmdSwitch(lp.osParam, QLatin1Char('F')).trimmed(), true, text2,
                           lp.osChiLancia, lp.osKeySecLancia, lp.osParamLancia);
        } else if (cmd == QLatin1String("preppassaa")) {
            for (ModuleForm *f : ctx.LoadedForms()) {
                try {
                    f->PassaA();
                } catch (const std::exception &) {
                }
            }
        } else if (cmd == QLatin1String("passaa")) {
            MenuServer *menu = ctx.menu();
            if (!menu)
                throw MenuError(MenuError::NotRunning, QStringLiteral("Menu non collegato"));
            const LaunchParams lp = menu->MenuLaunchParams();
            FormDispatcher(ctx, param.toString(), false, text2, lp.osChiLancia, lp.osKeySecLancia,
                           lp.osParamLancia);
        } else if (cmd == QLatin1String("keyprgprim")) {
            result = ctx.link.keyPrim;
        } else if (cmd == QLatin1String("keyprgsec")) {
            result = ctx.link.keySec;
        } else if (cmd == QLatin1String("paramprgclie")) {
            result = QStringLiteral("$Default$");
        } else if (cmd == QLatin1String("comandoprgclie")) {
            result = ctx.link.clientCommand;
        } else if (cmd == QLatin1String("feinvio")) {
            FeInvio(ctx, param);
        } else if (cmd == QLatin1String("feattesa")) {
            FeAttesa(ctx, param);
        } else if (cmd == QLatin1String("feinfo")) {
            FeInfo(ctx, param);
        }
    } catch (const std::exception &e) {
        const ErrorInfo err = ErrorInfoFrom(e);
        MessaggioErroreMenu(ctx, {}, err.number, err.description);
    }
}

bool AttivaForm(ProgramContext &ctx, ModuleForm *form, const QString &formName, bool firstActivation,
                const QString &extraText, const QString &launcher, const QString &secondaryKey,
                const QString &launchParam, const QString &captionFragment)
{
    Q_UNUSED(firstActivation);
    try {
        MenuServer *menu = ctx.menu();
        HelpWindow *hw = ctx.helpWindow();
        // The form's own secondary key is the extra text of its launch (the key the menu keeps
        // the launch under and MenuKeyRelease gives back); the launcher's keys follow.
        auto giveLaunch = [&] {
            form->osKeySec = extraText;
            form->osKeyLancia = launcher;
            form->osKeySecLancia = secondaryKey;
            form->osParamLancia = launchParam;
            form->osParam = menu ? menu->MenuLaunchParams().osParam : QString();
        };
        if (form->IsLoaded()) {
            if (!form->IsVisible())
                form->MakeVisible();
            if (form->IsActive()
                && (captionFragment.isEmpty() || form->Caption().contains(captionFragment))) {
                giveLaunch();
                form->AttivatoDaAltri();
            }
            if (hw && hw->visible && hw->ofrmAttiva != form)
                hw->HideFrm();
            return true;
        }

        bool helpHidden = false;
        if (hw && hw->visible) {
            hw->HideFrm();
            helpHidden = true;
        }
        bool numeric = false;
        int windowState = TextToInt(ctx.params.windowState.trimmed(), &numeric);
        if (!numeric || ctx.params.windowState.trimmed().isEmpty())
            windowState = TextToInt(form->osTipoForm);
        giveLaunch();
        form->Load();
        if (form->oiLoadOk == -1) {
            form->Unload();
            RichiestaChiusuraImmediata(ctx);
            return false;
        }
        const int shown = form->ShowForm(windowState);
        if (shown < 0) {
            MessaggioErroreMenu(ctx, QStringLiteral("Impossibile aprire il programma richiesto\n"),
                                QString::number(-(shown + 100)), QString());
            form->Unload();
            return false;
        }
        if (helpHidden && ctx.mainForm) {
            ctx.mainForm->oiFlagVarie = 1;
            ctx.mainForm->osNomeForm = formName;
            ctx.mainForm->TimVarie().start();
        }
        return true;
    } catch (const std::exception &e) {
        const ErrorInfo err = ErrorInfoFrom(e);
        MessaggioErroreMenu(ctx, {}, err.number, err.description);
        RichiestaChiusura(ctx);
        return false;
    }
}

void ScaricaForm(ProgramContext &ctx, ModuleForm *form, bool unloading)
{
    if (unloading && !ctx.link.closing) {
        if (IsBlank(form->osKeyLancia, VarKind::Text)) {
            TornaAlMenu(ctx);
        } else {
            try {
                if (MenuServer *menu = ctx.menu())
                    menu->MenuReturnTo(form->osKeyLancia, form->osKeySecLancia, form->osParamLancia);
            } catch (const std::exception &) {
                TornaAlMenu(ctx);
            }
        }
    }
    RichiestaChiusuraRiprova(ctx);
    try {
        if (!IsBlank(form->osKeySec, VarKind::Text)) {
            if (MenuServer *menu = ctx.menu())
                menu->MenuKeyRelease(form->osKeySec);
        }
    } catch (const std::exception &) {
    }
}

void TornaAlMenu(ProgramContext &ctx)
{
    if (ctx.link.menuGone)
        return;
    try {
        MenuServer *menu = ctx.menu();
        if (!menu)
            throw MenuError(MenuError::NotRunning, QStringLiteral("Menu non collegato"));
        menu->MenuActivate(QStringLiteral("Tutti"));
        const QString pid = menu->MenuVar(QStringLiteral("MenuProcId"));
        if (ctx.desktop)
            ctx.desktop->ActivateProcess(pid);
    } catch (const std::exception &) {
        if (ctx.dialogs)
            ctx.dialogs->MessageBox(kMenuGone);
    }
}

void MenuPerso(ProgramContext &ctx)
{
    if (ctx.link.menuGone)
        return;
    ctx.link.menuGone = true;
    // Nobody to hand control back to: the program ends with its forms.
    ctx.link.closing = true;
    if (ctx.dialogs)
        ctx.dialogs->MessageBox(kMenuGone);
    RichiestaChiusura(ctx);
}

void RichiestaChiusura(ProgramContext &ctx)
{
    if (!ctx.mainForm || !ctx.mainForm->isLoaded())
        return;
    ctx.mainForm->oiChiudi = 2;
    ctx.mainForm->timChiudi().start();
}

void RichiestaChiusuraRiprova(ProgramContext &ctx)
{
    if (!ctx.mainForm || !ctx.mainForm->isLoaded())
        return;
    ctx.mainForm->oiChiudi = 1;
    ctx.mainForm->oiTmpAttesa = 100;
    ctx.mainForm->timChiudi().setInterval(1);
    ctx.mainForm->timChiudi().start();
}

void RichiestaChiusuraImmediata(ProgramContext &ctx)
{
    try {
        TentaChiusura(ctx, 1);
    } catch (const std::exception &) {
        if (ctx.dialogs)
            ctx.dialogs->MessageBox(QStringLiteral("Non riesco a chiudere il programma"));
    }
}

bool TentaChiusura(ProgramContext &ctx, int mode)
{
    if (mode == 0) {
        FineProgramma(ctx);
        return true;
    }
    if (!ctx.LoadedForms().isEmpty())
        return false;
    FineProgramma(ctx);
    return true;
}

bool FineProgramma(ProgramContext &ctx)
{
    try {
        // A refusal answers only for the attempt that met it.
        ctx.link.refusal.clear();
        if (ctx.desktop)
            ctx.desktop->ProcessEvents();
        if (ctx.desktop && ctx.desktop->ModalWindowOpen()) {
            ctx.link.refusal = QStringLiteral("Maschera Modal");
            return false;
        }
        if (ctx.mainForm)
            ctx.mainForm->Show();
        const QList<ModuleForm *> open = ctx.LoadedForms();
        if (!open.isEmpty()) {
            open.first()->MakeVisible();
            return false;
        }
        if (HelpWindow *hw = ctx.helpWindow())
            hw->ChiudiAiuto();
        RilasciaRisorse(ctx);
        if (ctx.splash)
            ctx.splash->Unload();
        if (ctx.mainForm)
            ctx.mainForm->Unload();
        return true;
    } catch (const std::exception &e) {
        const ErrorInfo err = ErrorInfoFrom(e);
        if (ctx.messages)
            ctx.messages->MsgErrfrm(err.number, err.description);
        return false;
    }
}

void RilasciaRisorse(ProgramContext &ctx)
{
    auto quietly = [](auto &&step) {
        try {
            step();
        } catch (const std::exception &) {
        }
    };
    quietly([&] { ctx.formServices.reset(); });
    quietly([&] { ctx.companyDao.reset(); });
    quietly([&] {
        if (ctx.companyDb)
            ctx.companyDb->DbClose();
        ctx.companyDb.reset();
    });
    quietly([&] {
        ctx.menuDao.reset();
        if (ctx.menuDb)
            ctx.menuDb->DbClose();
        ctx.menuDb.reset();
    });
    quietly([&] {
        if (MenuServer *menu = ctx.menu())
            menu->MenuUnregister();
    });
    quietly([&] { ctx.menuClass.reset(); });
}

void MessaggioFatale(ProgramContext &ctx, const QString &text, BoxStyle style, bool closeAfter)
{
    try {
        if (ctx.splash)
            ctx.splash->Unload();
        // The main form counts as the first loaded form: with two report forms or more the
        // second one comes forward, otherwise the main form.
        const QList<ModuleForm *> open = ctx.LoadedForms();
        if (open.size() >= 2)
            open.at(1)->MakeVisible();
        else if (ctx.mainForm)
            ctx.mainForm->Show();
        if (ctx.dialogs)
            ctx.dialogs->MessageBox(text, style);
        if (ctx.mainForm)
            ctx.mainForm->Hide();
        if (closeAfter)
            RichiestaChiusura(ctx);
    } catch (const std::exception &e) {
        const ErrorInfo err = ErrorInfoFrom(e);
        MessaggioErroreMenu(ctx, text + QLatin1Char('\n'), err.number, err.description);
        RichiestaChiusura(ctx);
    }
}

void MessaggioErroreMenu(ProgramContext &ctx, const QString &prefix, const QString &number,
                         const QString &description, const QString &suffix)
{
    const QString text = ErrorText(number, description, prefix, suffix);
    bool shown = false;
    try {
        if (MenuServer *menu = ctx.menu()) {
            menu->MenuCall(QStringLiteral("MsgBox"), QStringLiteral("Tutti"), text);
            shown = true;
        }
    } catch (const std::exception &) {
    }
    // Without the menu the message is shown here, so it is not lost.
    if (!shown && ctx.dialogs)
        ctx.dialogs->MessageBox(text, BoxStyle::Critical);
    if (ctx.splash)
        ctx.splash->Unload();
}

} // namespace kem
