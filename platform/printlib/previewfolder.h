#pragma once
// The folder of one preview's page files, under the user's cache folder ("anteprima"), held by
// a lock file while the process that made it lives. Making one removes the folders that
// processes no longer running left behind (a module that was killed, say).
#include <QLockFile>
#include <QString>
#include <memory>

namespace kem {

class PreviewFolder {
public:
    // The folder that holds every preview's folder.
    static QString Root();
    // Removes the folders under root whose process is gone; returns how many.
    static int RemoveStale(const QString &root);

    // Makes a new folder under root (Root() when empty); Valid() tells whether it was made.
    explicit PreviewFolder(const QString &root = QString());
    ~PreviewFolder();  // as Remove
    PreviewFolder(const PreviewFolder &) = delete;
    PreviewFolder &operator=(const PreviewFolder &) = delete;

    bool Valid() const { return !m_path.isEmpty(); }
    QString Path() const { return m_path; }
    QString Error() const { return m_error; }
    // Lets the folder go: its lock is removed, and so is the folder when nothing else is in it
    // (the pages are removed by their owner first); false with the reason.
    bool Remove(QString *error = nullptr);

private:
    QString m_path;
    QString m_error;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace kem
