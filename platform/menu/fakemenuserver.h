#pragma once
// FakeMenuServer: an in-process menu for the module's tests. It answers from scripted
// variables, launch parameters and function results, records every call in order, can be
// told to fail an operation (to drive the module's error paths), and pushes EseguiComando
// commands to the module, handing back the module's answer.
#include "platform/menu/menuserver.h"

#include <QHash>
#include <QList>
#include <functional>
#include <optional>

namespace kem {

class FakeMenuServer : public MenuServer {
    Q_OBJECT
public:
    struct Call {
        QString op;         // operation name, e.g. "MenuVar"
        QVariantList args;  // its arguments in order
    };
    using CallHandler =
        std::function<QVariant(const QString &function, const QString &scope, const QVariant &param)>;

    explicit FakeMenuServer(QObject *parent = nullptr);

    // Scripting. Variable names and function names are matched without regard to case.
    void setVar(const QString &name, const QString &value);
    void removeVar(const QString &name);
    void setPersonal(const QString &section, const QString &key, const QString &value);
    void setIniPath(const QString &path) { iniPath_ = path; }
    // The launch parameters MenuLaunchParams answers now.
    void setLaunchParams(const LaunchParams &params) { current_ = params; }
    // Launch parameters stored under a key, made current by MenuLaunchSelect(key).
    void setLaunchParams(const QString &key, const LaunchParams &params);
    // MenuCall(function, ...) answers `result`; functions without a result go to the handler,
    // and without a handler answer an empty text.
    void setCallResult(const QString &function, const QVariant &result);
    void setCallHandler(CallHandler handler) { handler_ = std::move(handler); }
    // From now on operation `op` ("MenuRegister", "MenuVar", ...) throws MenuError(kind).
    void failOn(const QString &op, MenuError::Kind kind, const QString &description = {});
    void clearFailures() { failures_.clear(); }
    // The menu goes away: from now on every operation throws MenuError (Disconnected), and
    // menuLost is emitted from the event loop.
    void loseMenu();

    // Inspection.
    QList<Call> calls() const { return calls_; }
    QList<Call> callsTo(const QString &op) const;
    void clearCalls() { calls_.clear(); }
    bool isRegistered() const { return registered_; }
    std::optional<QString> var(const QString &name) const;

    // Emits EseguiComando and returns the module's answer (an empty text when it gave none).
    QVariant pushCommand(const QString &command, const QVariant &param = {},
                         const QString &text2 = {}, const QString &text1 = {});

    void MenuActivate(const QString &scope) override;
    void MenuUnregister() override;
    void MenuRegister(const QString &menuIdentity, const QString &programKey,
                      const QString &extraText) override;
    void MenuReturnTo(const QString &launcherKey, const QString &secondaryKey,
                      const QString &param) override;
    QVariant MenuCall(const QString &function, const QString &scope,
                      const QVariant &param = {}) override;
    void MenuPassaA(const QString &formTitle, const QString &formName,
                    const QVariant &value) override;
    QString MenuIniPath() override;
    LaunchParams MenuLaunchParams() override;
    void MenuLaunchSelect(const QString &key) override;
    void MenuKeyRelease(const QString &key) override;
    QString MenuVar(const QString &name, const QString &def = {}) override;
    void MenuVarSet(const QString &name, const QString &value) override;

private:
    void record(const QString &op, const QVariantList &args);

    QList<Call> calls_;
    QHash<QString, QString> vars_;                 // lower-case name -> value
    QHash<QString, QVariant> results_;             // lower-case function -> result
    QHash<QString, LaunchParams> launches_;        // lower-case key -> params
    QHash<QString, QPair<MenuError::Kind, QString>> failures_; // op -> failure
    CallHandler handler_;
    QString iniPath_;
    LaunchParams current_;
    bool registered_ = false;
    bool lost_ = false;
};

} // namespace kem
