// Files written whole or not at all: a failed write (size limit at the final flush or in the
// middle, a FIFO whose reader went away) fails the commit with its reason and leaves the
// previous file as it was; links are followed and kept; FIFOs are written in place; folders
// and sockets are refused; settings written back fail the same way.
#include "platform/util/inifile.h"
#include "platform/util/outputfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kem;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The process may write no file longer than `bytes` while it lives (SIGXFSZ ignored, so the
// write fails with EFBIG instead).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lim = m_old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }
private:
    rlimit m_old {};
};

} // namespace

class TestOutputFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        std::signal(SIGXFSZ, SIG_IGN);
        std::signal(SIGPIPE, SIG_IGN);
        QVERIFY(m_dir.isValid());
    }

    void init()
    {
        // every case starts from a folder holding only the good file
        QDir d(m_dir.path());
        for (const QString &name : d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
            QVERIFY(QFile::remove(d.filePath(name)) || QDir(d.filePath(name)).removeRecursively());
        writeFile(path(QStringLiteral("out.csv")), "good file\n");
    }

    void replacedWholeKeepingPermissions()
    {
        const QString target = path(QStringLiteral("out.csv"));
        QCOMPARE(::chmod(QFile::encodeName(target).constData(), 0640), 0);
        OutputFile f(target);
        QString error;
        QVERIFY2(f.Open(&error), qPrintable(error));
        QVERIFY(f.Write(QByteArray(200000, 'x')));  // more than the buffer: written as it goes
        QVERIFY(f.Write("end"));
        QCOMPARE(fileBytes(target), QByteArray("good file\n"));  // nothing replaced before the commit
        QVERIFY2(f.Commit(&error), qPrintable(error));
        QCOMPARE(fileBytes(target), QByteArray(200000, 'x') + "end");
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(target).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
        QCOMPARE(entries(), QStringList{QStringLiteral("out.csv")});
    }

    void abandonedLeavesTheFile()
    {
        {
            OutputFile f(path(QStringLiteral("out.csv")));
            QString error;
            QVERIFY(f.Open(&error));
            QVERIFY(f.Write(QByteArray(100000, 'y')));
        }
        QCOMPARE(fileBytes(path(QStringLiteral("out.csv"))), QByteArray("good file\n"));
        QCOMPARE(entries(), QStringList{QStringLiteral("out.csv")});
    }

    void failedWrites_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<QString>("reason");
        // a small file is all in the buffer until the commit: the final flush fails
        QTest::newRow("size limit, final flush") << "limit" << 3000 << "il file supera la dimensione massima consentita";
        QTest::newRow("size limit, mid-run") << "limit" << 300000 << "il file supera la dimensione massima consentita";
        QTest::newRow("FIFO reader gone") << "fifo" << 300000 << "chi leggeva il file ha chiuso il collegamento";
    }

    void failedWrites()
    {
        QFETCH(QString, how);
        QFETCH(int, bytes);
        QFETCH(QString, reason);
        QString target = path(QStringLiteral("out.csv"));
        int reader = -1;
        if (how == QLatin1String("fifo")) {
            target = path(QStringLiteral("pipe.csv"));
            QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
            reader = ::open(QFile::encodeName(target).constData(), O_RDONLY | O_NONBLOCK);
            QVERIFY(reader >= 0);
        }
        OutputFile f(target);
        QString error;
        bool committed = true;
        {
            FileSizeLimit limit(how == QLatin1String("limit") ? 1000 : RLIM_INFINITY);
            QVERIFY2(f.Open(&error), qPrintable(error));
            if (reader >= 0)
                ::close(reader);  // the reader goes away before anything is written
            for (int i = 0; i < bytes / 100; ++i)
                f.Write(QByteArray(100, 'z'));
            committed = f.Commit(&error);
        }
        QVERIFY(!committed);
        QCOMPARE(error, QStringLiteral("Impossibile scrivere il file %1: %2").arg(target, reason));
        QCOMPARE(fileBytes(path(QStringLiteral("out.csv"))), QByteArray("good file\n"));
        QVERIFY(!entries().join(' ').contains(QLatin1String(".part")));
        if (how == QLatin1String("fifo"))
            QVERIFY(QFileInfo(target).isFile() == false && QFileInfo::exists(target));  // still the FIFO
    }

    void linkKeptAndItsFileReplaced()
    {
        const QString real = path(QStringLiteral("out.csv"));
        const QString link = path(QStringLiteral("link.csv"));
        const QString link2 = path(QStringLiteral("link2.csv"));
        QVERIFY(QFile::link(real, link));
        QVERIFY(QFile::link(link, link2));  // a chain of links
        QString error;
        QVERIFY2(WriteWholeFile(link2, "new", &error), qPrintable(error));
        QVERIFY(QFileInfo(link2).isSymLink());
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(fileBytes(real), QByteArray("new"));
        QCOMPARE(entries(), (QStringList{QStringLiteral("link.csv"), QStringLiteral("link2.csv"), QStringLiteral("out.csv")}));
    }

    void fifoWrittenInPlace()
    {
        const QString fifo = path(QStringLiteral("pipe.csv"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        QString error;
        QVERIFY2(WriteWholeFile(fifo, "through the pipe", &error), qPrintable(error));
        char buf[64] = {};
        QCOMPARE(::read(reader, buf, sizeof buf), qsizetype(16));
        ::close(reader);
        QCOMPARE(QByteArray(buf), QByteArray("through the pipe"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(fifo).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
    }

    void refusedTargets_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder") << "folder" << "è una cartella";
        QTest::newRow("socket") << "socket" << "non è un file regolare né un dispositivo";
        QTest::newRow("missing folder") << "missing" << "cartella inesistente";
    }

    void refusedTargets()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QString target = path(QStringLiteral("x.csv"));
        QLocalServer server;
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(target));
        else if (kind == QLatin1String("socket"))
            QVERIFY(server.listen(target));
        else
            target = path(QStringLiteral("nowhere/x.csv"));
        QString error;
        QVERIFY(!WriteWholeFile(target, "data", &error));
        QCOMPARE(error, QStringLiteral("Impossibile scrivere il file %1: %2").arg(target, reason));
        QCOMPARE(fileBytes(path(QStringLiteral("out.csv"))), QByteArray("good file\n"));
    }

    // Settings written back go through the same file: a failed save leaves the ini as it was.
    void settingsWrittenBackFailWhole()
    {
        const QString ini = path(QStringLiteral("prog.ini"));
        writeFile(ini, "[Stampa]\r\nA=1\r\n");
        IniFile file;
        QVERIFY(file.load(ini));
        file.setValue(QStringLiteral("Stampa"), QStringLiteral("B"), QString(5000, QLatin1Char('b')));
        QString error;
        bool saved = true;
        {
            FileSizeLimit limit(1000);
            saved = file.save(ini, &error);
        }
        QVERIFY(!saved);
        QVERIFY2(error.contains(QLatin1String("il file supera la dimensione massima consentita")), qPrintable(error));
        QCOMPARE(fileBytes(ini), QByteArray("[Stampa]\r\nA=1\r\n"));
    }

private:
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    }
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestOutputFile)
#include "tst_outputfile.moc"
