#include "startup/frmprincipale.h"

#include "startup/moduleform.h"
#include "startup/programcontext.h"
#include "startup/utilclient.h"

namespace kem {

frmPrincipale::frmPrincipale(ProgramContext &ctx, QObject *parent) : QObject(parent), ctx_(ctx)
{
    // Design values; the load sets the retry interval and the retry flag.
    timChiudi_.setInterval(1);
    timVarie_.setInterval(1);
    oiTmpAttesa = 3000;
    obRiprova = true;
    connect(&timChiudi_, &QTimer::timeout, this, &frmPrincipale::timChiudi_Timer);
    connect(&timVarie_, &QTimer::timeout, this, &frmPrincipale::TimVarie_Timer);
}

void frmPrincipale::timChiudi_Timer()
{
    timChiudi_.stop();
    const int mode = oiChiudi;
    if (TentaChiusura(ctx_, oiChiudi))
        return;
    oiChiudi = mode;
    if (timChiudi_.interval() != 3000) {
        timChiudi_.setInterval(oiTmpAttesa);
        timChiudi_.start();
    } else {
        // One slow retry only: nothing more until the next request.
        timChiudi_.setInterval(1);
    }
}

void frmPrincipale::TimVarie_Timer()
{
    timVarie_.stop();
    if (oiFlagVarie != 1)
        return;
    oiFlagVarie = 0;
    for (ModuleForm *f : ctx_.LoadedForms()) {
        if (f->FormName().compare(osNomeForm, Qt::CaseInsensitive) == 0) {
            f->GiveFocus();
            return;
        }
    }
}

void frmPrincipale::Unload()
{
    if (!loaded_)
        return;
    timChiudi_.stop();
    timVarie_.stop();
    loaded_ = false;
    visible_ = false;
    emit unloaded();
}

} // namespace kem
