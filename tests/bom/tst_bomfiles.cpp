// distinta-batch bom and the files it writes, for every file kind: a write that fails (a file
// size limit, a FIFO whose reader goes away) ends the run with an error and leaves the previous
// file as it was; a link to a file keeps the link and replaces the file; a FIFO is written in
// place with what a file would hold.
#include "schema/democompany.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QString kBatch = QStringLiteral(KEM_BINARY_DIR "/apps/distinta-batch/distinta-batch");

struct Result {
    int exitCode = -1;
    QString err;
};

// A run of the BOM print to `out`; with `sizeLimit` the process may write no file longer than
// that (SIGXFSZ ignored: the write fails instead).
Result printTo(const QString &company, const QString &out, rlim_t sizeLimit = RLIM_INFINITY)
{
    QProcess p;
    p.setChildProcessModifier([sizeLimit] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim {};
        getrlimit(RLIMIT_FSIZE, &lim);
        lim.rlim_cur = sizeLimit;
        setrlimit(RLIMIT_FSIZE, &lim);
    });
    p.start(kBatch, {QStringLiteral("bom"), QStringLiteral("--company"), company, QStringLiteral("--out"), out});
    Result r;
    if (!p.waitForFinished(120000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// What a print of each kind starts with, so that a file is known to be a whole new print.
QByteArray magic(const QString &ext)
{
    if (ext == QLatin1String("xlsx"))
        return "PK";
    if (ext == QLatin1String("pdf"))
        return "%PDF";
    if (ext == QLatin1String("csv"))
        return "\xEF\xBB\xBF";
    return {};
}

// Text outputs are the same bytes every time; the workbook and the PDF carry their time.
bool repeatable(const QString &ext)
{
    return ext != QLatin1String("xlsx") && ext != QLatin1String("pdf");
}

void kinds()
{
    QTest::addColumn<QString>("ext");
    for (const char *ext : {"csv", "txt", "fix", "xlsx", "pdf"})
        QTest::newRow(ext) << QString::fromLatin1(ext);
}

} // namespace

class TestBomFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_company = m_dir.filePath(QStringLiteral("demo"));
        QString error;
        QVERIFY2(kem::WriteDemoCompany(m_company, &error), qPrintable(error));
        m_out = m_dir.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(m_out));
    }

    void init()
    {
        QDir d(m_out);
        for (const QString &name : d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
            QVERIFY(QFile::remove(d.filePath(name)));
    }

    void failedWriteLeavesThePreviousFile_data() { kinds(); }
    void failedWriteLeavesThePreviousFile()
    {
        QFETCH(QString, ext);
        const QString target = QDir(m_out).filePath(QStringLiteral("stampa.") + ext);
        writeFile(target, "the good print\n");
        const Result r = printTo(m_company, target, 1024);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QStringLiteral("Impossibile scrivere il file %1").arg(target)), qPrintable(r.err));
        QVERIFY2(!r.err.contains(QLatin1String("stampata in")), qPrintable(r.err));
        QCOMPARE(fileBytes(target), QByteArray("the good print\n"));
        QCOMPARE(entries(), QStringList{QStringLiteral("stampa.") + ext});  // no temporary left
    }

    void linkKeptAndItsFileReplaced_data() { kinds(); }
    void linkKeptAndItsFileReplaced()
    {
        QFETCH(QString, ext);
        const QString real = QDir(m_out).filePath(QStringLiteral("real.") + ext);
        const QString link = QDir(m_out).filePath(QStringLiteral("link.") + ext);
        writeFile(real, "old");
        QVERIFY(QFile::link(QStringLiteral("real.") + ext, link));  // a relative link
        const Result r = printTo(m_company, link);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QFileInfo(link).symLinkTarget(), real);
        const QByteArray printed = fileBytes(real);
        QVERIFY(printed.size() > 100);
        QVERIFY(printed.startsWith(magic(ext)));
        QCOMPARE(entries(), (QStringList{QStringLiteral("link.") + ext, QStringLiteral("real.") + ext}));
    }

    void fifoWrittenInPlace_data() { kinds(); }
    void fifoWrittenInPlace()
    {
        QFETCH(QString, ext);
        const QString plain = QDir(m_out).filePath(QStringLiteral("plain.") + ext);
        QCOMPARE(printTo(m_company, plain).exitCode, 0);
        const QString fifo = QDir(m_out).filePath(QStringLiteral("pipe.") + ext);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QProcess reader;
        reader.start(QStringLiteral("cat"), {fifo});
        QVERIFY(reader.waitForStarted());
        const Result r = printTo(m_company, fifo);
        QVERIFY(reader.waitForFinished(60000));
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QByteArray read = reader.readAllStandardOutput();
        if (repeatable(ext))
            QCOMPARE(read, fileBytes(plain));
        else
            QVERIFY(read.startsWith(magic(ext)) && read.size() > 100);
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(fifo).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));  // still the FIFO, nothing renamed over it
    }

    // The reader of a FIFO goes away before the print is written: the run fails, it is not
    // ended by the signal.
    void fifoReaderGone()
    {
        const QString fifo = QDir(m_out).filePath(QStringLiteral("pipe.csv"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QProcess reader;  // opens the FIFO and closes it at once
        reader.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec 3<\"$1\"; exec 3<&-; sleep 0"), QStringLiteral("sh"), fifo});
        QVERIFY(reader.waitForStarted());
        const Result r = printTo(m_company, fifo);
        QVERIFY(reader.waitForFinished(60000));
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QStringLiteral("Impossibile scrivere il file %1: chi leggeva il file ha chiuso il collegamento").arg(fifo)),
                 qPrintable(r.err));
    }

private:
    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList entries() const
    {
        return QDir(m_out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    }
    QTemporaryDir m_dir;
    QString m_company, m_out;
};

QTEST_GUILESS_MAIN(TestBomFiles)
#include "tst_bomfiles.moc"
