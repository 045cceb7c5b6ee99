#include "reportkit/reportformbase.h"

#include "common/formservices.h"

#include "common/funvarie.h"
#include "common/messages.h"
#include "platform/menu/menuserver.h"
#include "startup/startupdialogs.h"
#include "startup/programcontext.h"
#include "startup/utilclient.h"

#include <QCloseEvent>

namespace kem {

ReportFormBase::ReportFormBase(ProgramContext &ctx, const QString &formName, QWidget *parent)
    : QWidget(parent, Qt::Window), ctx_(ctx), formName_(formName)
{
}

void ReportFormBase::Load()
{
    if (loaded_)
        return;
    loaded_ = true;
    Form_Load();
}

bool ReportFormBase::Unload()
{
    if (!loaded_)
        return true;
    close();
    return !loaded_;
}

int ReportFormBase::ShowForm(int windowState)
{
    switch (windowState) {
    case 1:
        showMinimized();
        break;
    case 2:
        showMaximized();
        break;
    default:
        showNormal();
        break;
    }
    raise();
    activateWindow();
    return 0;
}

void ReportFormBase::MakeVisible()
{
    show();
    raise();
}

void ReportFormBase::GiveFocus()
{
    raise();
    activateWindow();
    setFocus();
}

void ReportFormBase::PassaA()
{
    try {
        if (MenuServer *menu = ctx_.menu())
            menu->MenuPassaA(Caption(), FormName(), QVariant());
    } catch (const std::exception &) {
    }
}

void ReportFormBase::closeEvent(QCloseEvent *event)
{
    if (!loaded_) {
        event->accept();
        return;
    }
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    loaded_ = false;
    event->accept();
    ScaricaForm(ctx_, this, true);
}

FormServices *ReportFormBase::services() const { return ctx_.formServices.get(); }

void ReportFormBase::LoadWithServices()
{
    FormServices *s = services();
    if (!s)
        return;
    FormLoadOptions load;
    s->FormLoad(this, load);
    if (!keyFilter_)
        keyFilter_ = new FormKeyFilter(this, *s);
}

void ReportFormBase::ActivateWithServices()
{
    if (FormServices *s = services())
        s->FormActivate(this);
}

void ReportFormBase::OfferToMenu(const QString &title)
{
    try {
        if (MenuServer *menu = ctx_.menu())
            menu->MenuPassaA(title, FormName(), osKeySec);
    } catch (const std::exception &) {
    }
}

void ReportFormBase::messageBox(const QString &text)
{
    if (ctx_.dialogs)
        ctx_.dialogs->MessageBox(text);
    else if (ctx_.messages)
        ctx_.messages->msgCom(text, {QStringLiteral("&Ok")});
}

void ReportFormBase::fieldError(const QString &text, QWidget *focus)
{
    if (ctx_.messages)
        ctx_.messages->msgCom(text, {QStringLiteral("&Ok")});
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
}

void ReportFormBase::formError(const std::exception &e, const QString &caption)
{
    if (ctx_.messages)
        StandardErrorMessage(*ctx_.messages, ErrorInfoFrom(e), {}, {}, caption + QStringLiteral("\r\n"));
}

} // namespace kem
