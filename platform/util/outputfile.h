#pragma once
// A file that is written whole or not at all.
//
// A regular file (or one not there yet) is written to a temporary in its folder, which replaces
// it only on Commit, after every write, the flush to disk and the close have succeeded: a failed
// or abandoned run leaves the previous file as it was. A symbolic link is followed: the link
// stays and the file it leads to is replaced. A FIFO or a device has nothing to replace and is
// written in place. A folder, a socket or a link that leads nowhere it can be followed is
// refused. Errors are told in Italian with the system's reason.
//
// It is a sequential QIODevice, so that writers taking a device (QPdfWriter, QImageWriter)
// write through it; what they write is buffered and every write is checked.
#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace kem {

// The system's reason for errno `err`, in Italian ("spazio su disco esaurito", ...).
QString SystemErrorText(int err);

class OutputFile : public QIODevice {
public:
    enum class Kind { Regular, Special };

    explicit OutputFile(QString path);
    ~OutputFile() override;  // not committed: the temporary goes, the target stays as it was
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Looks at the target and opens the temporary (or the special file); false with the reason.
    bool Open(QString *error);
    // Writes what is buffered, syncs, closes and puts the file in place; false with the reason,
    // and then the target is as it was. Also false when any earlier write failed.
    bool Commit(QString *error);

    bool Write(const char *data, qint64 size);
    bool Write(const QByteArray &bytes) { return Write(bytes.constData(), bytes.size()); }
    bool Failed() const { return m_errno != 0 || !m_error.isEmpty(); }

    QString Path() const { return m_path; }
    // The file written after links are followed; valid after Open.
    QString Target() const { return m_target; }
    Kind TargetKind() const { return m_kind; }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    bool resolve(QString *error);
    bool flushBuffer();
    bool writeAll(const char *data, qint64 size);
    void fail(int err);
    QString failureText() const;
    void discard();

    QString m_path;
    QString m_target;
    QString m_temp;  // the temporary being written (regular files)
    Kind m_kind = Kind::Regular;
    int m_fd = -1;
    int m_errno = 0;
    QString m_error;  // a failure that has no errno
    bool m_committed = false;
    QByteArray m_buffer;
};

// `bytes` as the whole content of `path`, replaced atomically; false with the reason.
bool WriteWholeFile(const QString &path, const QByteArray &bytes, QString *error);

} // namespace kem
