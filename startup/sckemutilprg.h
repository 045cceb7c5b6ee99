#pragma once
// scKemUtilPrg: receives the events of the help and decoding component.
#include "startup/kemaiuto.h"

#include <QObject>
#include <memory>

namespace kem {

class ProgramContext;

class scKemUtilPrg : public QObject {
    Q_OBJECT
public:
    explicit scKemUtilPrg(ProgramContext &ctx, QObject *parent = nullptr);
    ~scKemUtilPrg() override;

    KemAiuto *ogKemAiuto() const { return ogKemAiuto_.get(); }

private:
    void mgKemAiuto_ClsMainMenuFrm();
    void mgKemAiuto_ClsPrepDecod(PrepDecodArgs &args);
    void mgKemAiuto_LanciaKeyPrim(const QString &key);
    void mgKemAiuto_LanciaKeySec(const QString &key);

    ProgramContext &ctx_;
    std::unique_ptr<KemAiuto> ogKemAiuto_;
    KemAiuto *mgKemAiuto_ = nullptr;
};

} // namespace kem
