#include "apps/kemora-menu/stdinwatcher.h"

#include <QSocketNotifier>
#include <QString>
#include <cerrno>
#include <unistd.h>

namespace kem {

StdinWatcher::StdinWatcher(QObject *parent)
    : QObject(parent), notifier_(new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this))
{
    connect(notifier_, &QSocketNotifier::activated, this, &StdinWatcher::onReadable);
}

void StdinWatcher::onReadable()
{
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (n <= 0) {
        notifier_->setEnabled(false);
        if (!pending_.isEmpty())
            emit lineRead(QString::fromUtf8(pending_).trimmed());
        pending_.clear();
        emit closed();
        return;
    }
    pending_.append(buffer, n);
    qsizetype eol;
    while ((eol = pending_.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(pending_.left(eol)).trimmed();
        pending_.remove(0, eol + 1);
        emit lineRead(line);
    }
}

} // namespace kem
