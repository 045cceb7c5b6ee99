#pragma once
// A program connected to the menu from a thread of its own, as the module connects from its
// own process: it registers under a program key and answers "fine" with a scripted answer
// ("" ends, "No Chiudi" refuses; kLate answers only after kLateMs, too late for the menu).
#include "platform/menu/menuclient.h"

#include <QAtomicInt>
#include <QThread>

namespace menutest {

inline const QString kLate = QStringLiteral("@tardi");
constexpr int kLateMs = 1500;

class ModuleThread {
public:
    // Starts connecting; the caller spins its event loop (the menu must answer the
    // registration) until ready() or failed().
    void start(const QString &socket, const QString &programKey, const QString &fineAnswer)
    {
        context_.moveToThread(&thread_);
        thread_.start();
        QMetaObject::invokeMethod(&context_, [this, socket, programKey, fineAnswer] {
            client_ = new kem::MenuClient;
            QObject::connect(client_, &kem::MenuServer::EseguiComando, client_,
                             [this, fineAnswer](const QString &, const QString &, const QString &command,
                                                const QVariant &, QVariant &result) {
                                 if (command != QLatin1String("fine"))
                                     return;
                                 fineAsked_.ref();
                                 if (fineAnswer == kLate) {
                                     QThread::msleep(kLateMs);
                                     result = QStringLiteral("No Chiudi");
                                 } else {
                                     result = fineAnswer;
                                 }
                             },
                             Qt::DirectConnection);
            try {
                client_->connectToMenu(socket);
                client_->MenuRegister(socket, programKey, QString());
                state_.storeRelease(1);
            } catch (const kem::MenuError &) {
                state_.storeRelease(2);
            }
        });
    }
    bool ready() const { return state_.loadAcquire() == 1; }
    bool failed() const { return state_.loadAcquire() == 2; }
    int fineAsked() const { return fineAsked_.loadAcquire(); }

    ~ModuleThread()
    {
        if (!thread_.isRunning())
            return;
        QMetaObject::invokeMethod(&context_, [this] { delete client_; }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }

private:
    QThread thread_;
    QObject context_;
    kem::MenuClient *client_ = nullptr;
    QAtomicInt state_;
    QAtomicInt fineAsked_;
};

} // namespace menutest
