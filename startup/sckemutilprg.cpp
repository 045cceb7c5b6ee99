#include "startup/sckemutilprg.h"

#include "startup/programcontext.h"
#include "startup/utilclient.h"

namespace kem {

scKemUtilPrg::scKemUtilPrg(ProgramContext &ctx, QObject *parent)
    : QObject(parent), ctx_(ctx), ogKemAiuto_(std::make_unique<KemAiuto>())
{
    mgKemAiuto_ = ogKemAiuto_.get();
    connect(mgKemAiuto_, &KemAiuto::ClsMainMenuFrm, this, &scKemUtilPrg::mgKemAiuto_ClsMainMenuFrm,
            Qt::DirectConnection);
    connect(mgKemAiuto_, &KemAiuto::ClsPrepDecod, this, &scKemUtilPrg::mgKemAiuto_ClsPrepDecod,
            Qt::DirectConnection);
    connect(mgKemAiuto_, &KemAiuto::LanciaKeyPrim, this, &scKemUtilPrg::mgKemAiuto_LanciaKeyPrim,
            Qt::DirectConnection);
    connect(mgKemAiuto_, &KemAiuto::LanciaKeySec, this, &scKemUtilPrg::mgKemAiuto_LanciaKeySec,
            Qt::DirectConnection);
}

scKemUtilPrg::~scKemUtilPrg() = default;

void scKemUtilPrg::mgKemAiuto_ClsMainMenuFrm()
{
    TornaAlMenu(ctx_);
}

void scKemUtilPrg::mgKemAiuto_ClsPrepDecod(PrepDecodArgs &args)
{
    if (!args.key.isValid())
        args.key = 113; // F2
    if (!args.shift.isValid())
        args.shift = 1;
    args.result = true;
}

void scKemUtilPrg::mgKemAiuto_LanciaKeyPrim(const QString &key)
{
    ctx_.link.keyPrim = key;
}

void scKemUtilPrg::mgKemAiuto_LanciaKeySec(const QString &key)
{
    ctx_.link.keySec = key;
}

} // namespace kem
