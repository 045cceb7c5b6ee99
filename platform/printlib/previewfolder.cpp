#include "platform/printlib/previewfolder.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace kem {

namespace {

const QString kLockName = QStringLiteral("in-uso.lock");
QAtomicInt folderSequence;

} // namespace

QString PreviewFolder::Root()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    return QDir(base).filePath(QStringLiteral("anteprima"));
}

int PreviewFolder::RemoveStale(const QString &root)
{
    int removed = 0;
    const QDir dir(root);
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString folder = dir.filePath(name);
        QLockFile lock(QDir(folder).filePath(kLockName));
        lock.setStaleLockTime(0);  // only a holder that is gone makes the lock stale
        if (!lock.tryLock(0))
            continue;  // a running process holds it
        lock.unlock();
        if (QDir(folder).removeRecursively())
            ++removed;
    }
    return removed;
}

PreviewFolder::PreviewFolder(const QString &root)
{
    const QString where = root.isEmpty() ? Root() : root;
    if (!QDir().mkpath(where)) {
        m_error = QStringLiteral("Impossibile creare la cartella dell'anteprima %1").arg(where);
        return;
    }
    RemoveStale(where);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = QDir(where).filePath(QStringLiteral("%1-%2")
                                                      .arg(QCoreApplication::applicationPid())
                                                      .arg(folderSequence.fetchAndAddRelaxed(1)));
        if (QDir(path).exists() || !QDir().mkdir(path))
            continue;
        auto lock = std::make_unique<QLockFile>(QDir(path).filePath(kLockName));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0)) {
            QDir(path).removeRecursively();
            continue;
        }
        m_lock = std::move(lock);
        m_path = path;
        return;
    }
    m_error = QStringLiteral("Impossibile creare la cartella dell'anteprima in %1").arg(where);
}

PreviewFolder::~PreviewFolder()
{
    Remove();
}

bool PreviewFolder::Remove(QString *error)
{
    if (m_path.isEmpty())
        return true;
    if (m_lock)
        m_lock->unlock();  // removes the lock file
    m_lock.reset();
    // the pages are removed one by one by their owner: what else is there stays, and so does
    // the folder then, until a later preview finds it without a living owner
    const bool ok = QDir(m_path).isEmpty() ? QDir().rmdir(m_path) : true;
    if (!ok && error)
        *error = QStringLiteral("Impossibile cancellare la cartella dell'anteprima %1").arg(m_path);
    m_path.clear();
    return ok;
}

} // namespace kem
