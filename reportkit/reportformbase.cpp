#include "reportkit/reportformbase.h"

#include "platform/menu/menuserver.h"
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

} // namespace kem
