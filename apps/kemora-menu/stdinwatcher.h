#pragma once
// StdinWatcher: reads standard input line by line from the event loop (headless mode).
#include <QByteArray>
#include <QObject>

class QSocketNotifier;

namespace kem {

class StdinWatcher : public QObject {
    Q_OBJECT
public:
    explicit StdinWatcher(QObject *parent = nullptr);

signals:
    void lineRead(const QString &line);
    void closed(); // end of input or read error

private:
    void onReadable();

    QSocketNotifier *notifier_;
    QByteArray pending_;
};

} // namespace kem
