#include "startup/mainprelvo.h"

#include "startup/avvioprogramma.h"
#include "startup/formregistry.h"
#include "startup/programcontext.h"
#include "startup/utilclient.h"

namespace kem {

void MainPrelvo(ProgramContext &ctx)
{
    AvvioProgramma(ctx, kProgramId, QString());
}

void FormDispatcher(ProgramContext &ctx, const QString &formName, bool firstActivation,
                    const QString &extraText, const QString &launcher, const QString &secondaryKey,
                    const QString &launchParam)
{
    const QString name = formName.trimmed();
    const QString found = ctx.registry ? ctx.registry->Find(name) : QString();
    if (name.isEmpty() || found.isEmpty()) {
        MessaggioFatale(ctx, QStringLiteral("La form richiesta e' inesistente"));
        return;
    }
    ModuleForm *form = ctx.FormInstance(found);
    if (!form)
        form = ctx.AddFormInstance(found, ctx.registry->Create(found, ctx));
    if (!form) {
        MessaggioFatale(ctx, QStringLiteral("La form richiesta e' inesistente"));
        return;
    }
    AttivaForm(ctx, form, found, firstActivation, extraText, launcher, secondaryKey, launchParam);
}

} // namespace kem
