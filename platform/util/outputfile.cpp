#include "platform/util/outputfile.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kem {

namespace {

constexpr qsizetype kBufferSize = 64 * 1024;
constexpr int kMaxLinks = 40;  // as the system's own limit on a chain of links

QAtomicInt tempSequence;

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

QString SystemErrorText(int err)
{
    switch (err) {
    case ENOSPC: return QStringLiteral("spazio su disco esaurito");
    case EDQUOT: return QStringLiteral("quota del disco superata");
    case EFBIG: return QStringLiteral("il file supera la dimensione massima consentita");
    case EACCES:
    case EPERM: return QStringLiteral("accesso negato");
    case EROFS: return QStringLiteral("il disco è protetto in scrittura");
    case ENOENT: return QStringLiteral("cartella inesistente");
    case ENOTDIR: return QStringLiteral("un elemento del percorso non è una cartella");
    case EISDIR: return QStringLiteral("è una cartella");
    case EPIPE: return QStringLiteral("chi leggeva il file ha chiuso il collegamento");
    case EIO: return QStringLiteral("errore di lettura o scrittura sul disco");
    case ENAMETOOLONG: return QStringLiteral("nome del file troppo lungo");
    case ELOOP: return QStringLiteral("troppi collegamenti simbolici nel percorso");
    case EMFILE:
    case ENFILE: return QStringLiteral("troppi file aperti");
    case ENOMEM: return QStringLiteral("memoria insufficiente");
    case ENXIO: return QStringLiteral("dispositivo non disponibile");
    case ETXTBSY:
    case EBUSY: return QStringLiteral("file in uso");
    case EXDEV: return QStringLiteral("il file non può essere spostato su un altro disco");
    default: return QStringLiteral("errore di sistema %1").arg(err);
    }
}

OutputFile::OutputFile(QString path) : m_path(std::move(path)) {}

OutputFile::~OutputFile()
{
    if (!m_committed)
        discard();
}

void OutputFile::discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temp.isEmpty())
        ::unlink(native(m_temp).constData());
    m_temp.clear();
    if (isOpen())
        QIODevice::close();
}

void OutputFile::fail(int err)
{
    if (m_errno == 0 && m_error.isEmpty())
        m_errno = err != 0 ? err : EIO;
}

QString OutputFile::failureText() const
{
    const QString why = m_error.isEmpty() ? SystemErrorText(m_errno) : m_error;
    return QStringLiteral("Impossibile scrivere il file %1: %2").arg(m_path, why);
}

// Follows links to the file that is written, and tells what it is.
bool OutputFile::resolve(QString *error)
{
    QString target = QFileInfo(m_path).absoluteFilePath();
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(native(target).constData(), &st) != 0) {
            if (errno != ENOENT) {
                fail(errno);
                *error = failureText();
                return false;
            }
            m_kind = Kind::Regular;  // a new file (the end of a link that leads to none yet)
            break;
        }
        if (S_ISLNK(st.st_mode)) {
            if (hops == kMaxLinks) {
                fail(ELOOP);
                *error = failureText();
                return false;
            }
            target = QFileInfo(target).symLinkTarget();
            continue;
        }
        if (S_ISREG(st.st_mode)) {
            m_kind = Kind::Regular;
        } else if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) {
            m_kind = Kind::Special;
        } else if (S_ISDIR(st.st_mode)) {
            m_error = QStringLiteral("è una cartella");
            *error = failureText();
            return false;
        } else {
            m_error = QStringLiteral("non è un file regolare né un dispositivo");
            *error = failureText();
            return false;
        }
        break;
    }
    m_target = target;
    return true;
}

bool OutputFile::Open(QString *error)
{
    if (isOpen())
        return true;
    if (!resolve(error))
        return false;
    if (m_kind == Kind::Special) {
        m_fd = ::open(native(m_target).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (m_fd < 0) {
            fail(errno);
            *error = failureText();
            return false;
        }
    } else {
        const QFileInfo fi(m_target);
        struct stat old {};
        const bool existed = ::stat(native(m_target).constData(), &old) == 0;
        for (int attempt = 0; m_fd < 0; ++attempt) {
            m_temp = fi.absoluteDir().filePath(QStringLiteral(".%1.%2-%3.part")
                                                   .arg(fi.fileName())
                                                   .arg(QCoreApplication::applicationPid())
                                                   .arg(tempSequence.fetchAndAddRelaxed(1)));
            // 0666 as any new file: the user's umask applies
            m_fd = ::open(native(m_temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd < 0 && (errno != EEXIST || attempt > 100)) {
                fail(errno);
                m_temp.clear();
                *error = failureText();
                return false;
            }
        }
        if (existed) {  // the replacement keeps the file's permissions and, where allowed, owner
            ::fchmod(m_fd, old.st_mode & 07777);
            if (::fchown(m_fd, old.st_uid, old.st_gid) != 0) {
                // not the owner: the file becomes the user's, as any file the user writes
            }
        }
    }
    m_buffer.reserve(kBufferSize);
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return true;
}

bool OutputFile::writeAll(const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

bool OutputFile::flushBuffer()
{
    if (m_buffer.isEmpty())
        return !Failed();
    const bool ok = !Failed() && writeAll(m_buffer.constData(), m_buffer.size());
    m_buffer.resize(0);
    return ok;
}

bool OutputFile::Write(const char *data, qint64 size)
{
    if (Failed())
        return false;
    if (m_fd < 0) {
        m_error = QStringLiteral("file non aperto");
        return false;
    }
    if (m_buffer.size() + size > kBufferSize && !flushBuffer())
        return false;
    if (size >= kBufferSize)
        return writeAll(data, size);
    m_buffer.append(data, size);
    return true;
}

qint64 OutputFile::writeData(const char *data, qint64 size)
{
    return Write(data, size) ? size : -1;
}

bool OutputFile::Commit(QString *error)
{
    if (m_committed)
        return true;
    if (m_fd < 0 && !Failed() && !Open(error))
        return false;
    bool ok = flushBuffer();
    if (ok && m_kind == Kind::Regular && ::fsync(m_fd) != 0) {
        fail(errno);
        ok = false;
    }
    if (m_fd >= 0) {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 && errno != EINTR && ok) {
            fail(errno);
            ok = false;
        }
    }
    if (ok && m_kind == Kind::Regular) {
        if (::rename(native(m_temp).constData(), native(m_target).constData()) != 0) {
            fail(errno);
            ok = false;
        } else {
            m_temp.clear();
            // the new name on disk too: best effort, a folder may not allow it
            const int dir = ::open(native(QFileInfo(m_target).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
            if (dir >= 0) {
                ::fsync(dir);
                ::close(dir);
            }
        }
    }
    if (!ok) {
        if (error)
            *error = failureText();
        discard();
        return false;
    }
    m_committed = true;
    QIODevice::close();
    return true;
}

bool WriteWholeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    OutputFile file(path);
    if (!file.Open(error))
        return false;
    file.Write(bytes);
    return file.Commit(error);
}

} // namespace kem
