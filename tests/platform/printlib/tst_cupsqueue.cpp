// The printer destination against a real CUPS scheduler: a private cupsd on a loopback port with
// one queue that writes its jobs to a file. The sample report goes through the library's own CUPS
// submitter; the test reads the job back from the scheduler (size, paper source, orientation) and
// the file the queue wrote. Where cupsd cannot run here the whole test is a visible skip.
#include "platform/printlib/papers.h"
#include "tests/platform/printlib/samplereport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cups/cups.h>

#include <memory>
#include <unistd.h>

using kem::PrintOptions;
using kem::PrintReport;
using kemtest::SampleReport;

namespace {

constexpr double kMarginPt = 12;  // unprintable border of every size in the queue's PPD
constexpr int kWaitMs = 20000;    // longest wait for anything the scheduler does

// A PDF printer with three sizes and five paper sources; jobs pass through pdftopdf unchanged.
const char kPpd[] = R"PPD(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "KEMTEST.PPD"
*Manufacturer: "Kemora"
*Product: "(Test Queue)"
*ModelName: "Kemora Test Queue"
*ShortNickName: "Kemora Test Queue"
*NickName: "Kemora Test Queue"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsVersion: 2.4
*cupsFilter: "application/vnd.cups-pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*PageSize A3/A3: "<</PageSize[842 1191]>>setpagedevice"
*PageSize Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*PageRegion A3/A3: "<</PageSize[842 1191]>>setpagedevice"
*PageRegion Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "12 12 583 830"
*ImageableArea A3/A3: "12 12 830 1179"
*ImageableArea Letter/US Letter: "12 12 600 780"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*PaperDimension A3/A3: "842 1191"
*PaperDimension Letter/US Letter: "612 792"
*OpenUI *InputSlot/Media Source: PickOne
*OrderDependency: 20 AnySetup *InputSlot
*DefaultInputSlot: Auto
*InputSlot Auto/Automatic: ""
*InputSlot Upper/Upper Tray: ""
*InputSlot Lower/Lower Tray: ""
*InputSlot Manual/Manual Feed: ""
*InputSlot Tray1/Tray 1: ""
*CloseUI: *InputSlot
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
)PPD";

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs a tool to its end (or the time limit); false with its output as the error otherwise.
bool runTool(const QString &program, const QStringList &args, QString *out, QString *error)
{
    QProcess p;
    p.start(program, args);
    const bool done = p.waitForFinished(kWaitMs);
    *out = QString::fromUtf8(p.readAllStandardOutput());
    if (!done)
        p.kill();
    if (!done || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = QStringLiteral("%1 %2 failed: %3").arg(program, args.join(QLatin1Char(' ')),
                                                         done ? QString::fromUtf8(p.readAllStandardError())
                                                              : QStringLiteral("timed out"));
        return false;
    }
    return true;
}

// A throwaway cupsd: private configuration, spool and logs in a temporary folder, listening on a
// free loopback port, stopped when the object goes.
class ThrowawayCups {
public:
    ~ThrowawayCups() { stop(); }

    // False with the reason when no scheduler could be brought up here.
    bool start(QString *why)
    {
        const QString cupsd = QStringLiteral("/usr/sbin/cupsd");
        if (!QFileInfo(cupsd).isExecutable()) {
            *why = QStringLiteral("%1 is not installed (Debian package cups-daemon)").arg(cupsd);
            return false;
        }
        m_lpadmin = QStandardPaths::findExecutable(QStringLiteral("lpadmin"));
        if (m_lpadmin.isEmpty())
            m_lpadmin = QStandardPaths::findExecutable(QStringLiteral("lpadmin"), {QStringLiteral("/usr/sbin")});
        if (m_lpadmin.isEmpty()) {
            *why = QStringLiteral("lpadmin is not installed (Debian package cups-client)");
            return false;
        }
        if (!m_dir.isValid()) {
            *why = QStringLiteral("no temporary folder");
            return false;
        }
        // Filters run as the scheduler's user and must reach the spool inside this folder.
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                | QFileDevice::ReadGroup | QFileDevice::ExeGroup
                                                | QFileDevice::ReadOther | QFileDevice::ExeOther);
        const QDir d(m_dir.path());
        for (const char *sub : {"spool/tmp", "cache", "state", "log", "ppd"})
            d.mkpath(QString::fromLatin1(sub));

        QTcpServer probe;  // a port nobody listens on now
        if (!probe.listen(QHostAddress::LocalHost, 0)) {
            *why = QStringLiteral("no free loopback port: %1").arg(probe.errorString());
            return false;
        }
        m_port = probe.serverPort();
        probe.close();

        const QByteArray conf = QStringLiteral(
            "Listen 127.0.0.1:%1\n"
            "Browsing No\n"
            "LogLevel debug\n"
            "DefaultAuthType None\n"
            "PreserveJobHistory Yes\n"
            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n").arg(m_port).toUtf8();
        QString files = QStringLiteral(
            "ServerRoot %1\nCacheDir %1/cache\nStateDir %1/state\nRequestRoot %1/spool\n"
            "TempDir %1/spool/tmp\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
            "PageLog %1/log/page_log\nFileDevice Yes\n").arg(m_dir.path());
        if (geteuid() == 0)  // as root cupsd drops to this user for filters
            files += QStringLiteral("User lp\nGroup lp\nSystemGroup root\n");
        if (!writeFile(d.filePath(QStringLiteral("cupsd.conf")), conf)
            || !writeFile(d.filePath(QStringLiteral("cups-files.conf")), files.toUtf8())
            || !writeFile(d.filePath(QStringLiteral("testqueue.ppd")), QByteArray(kPpd))) {
            *why = QStringLiteral("cannot write the scheduler's configuration");
            return false;
        }

        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        m_cupsd.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), d.filePath(QStringLiteral("cupsd.conf")),
                              QStringLiteral("-s"), d.filePath(QStringLiteral("cups-files.conf"))});
        if (!m_cupsd.waitForStarted(kWaitMs)) {
            *why = QStringLiteral("cupsd did not start: %1").arg(m_cupsd.errorString());
            return false;
        }
        if (!waitListening()) {
            *why = QStringLiteral("cupsd is not answering on 127.0.0.1:%1: %2 %3")
                       .arg(m_port).arg(QString::fromUtf8(m_cupsd.readAll()), logTail());
            stop();
            return false;
        }
        return true;
    }

    // Adds the file queue and makes it the server's default destination.
    bool addQueue(const QString &name, QString *why)
    {
        m_output = QDir(m_dir.path()).filePath(QStringLiteral("out.prn"));
        const QString host = server();
        QString out;
        return runTool(m_lpadmin, {QStringLiteral("-h"), host, QStringLiteral("-p"), name, QStringLiteral("-E"),
                                   QStringLiteral("-v"), QStringLiteral("file://") + m_output,
                                   QStringLiteral("-P"), QDir(m_dir.path()).filePath(QStringLiteral("testqueue.ppd"))},
                       &out, why)
               && runTool(m_lpadmin, {QStringLiteral("-h"), host, QStringLiteral("-d"), name}, &out, why);
    }

    void stop()
    {
        if (m_cupsd.state() == QProcess::NotRunning)
            return;
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(5000)) {
            m_cupsd.kill();
            m_cupsd.waitForFinished(5000);
        }
    }

    QString server() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    int port() const { return m_port; }
    QString output() const { return m_output; }
    QString logTail() const
    {
        const QByteArray log = readFile(QDir(m_dir.path()).filePath(QStringLiteral("log/error_log")));
        return QString::fromUtf8(log.right(2000));
    }

private:
    bool waitListening()
    {
        const QDeadlineTimer deadline(kWaitMs);
        while (!deadline.hasExpired()) {
            if (m_cupsd.state() == QProcess::NotRunning)
                return false;
            if (http_t *http = httpConnect2("127.0.0.1", m_port, nullptr, AF_INET, HTTP_ENCRYPTION_NEVER, 1, 500,
                                            nullptr)) {
                httpClose(http);
                return true;
            }
            m_cupsd.waitForFinished(100);  // also notices an early exit
        }
        return false;
    }

    // Under /tmp rather than $TMPDIR: filters run as the scheduler's own user, who must be able to
    // reach the spool, and a private TMPDIR (e.g. under /root) would shut it out.
    QTemporaryDir m_dir{QStringLiteral("/tmp/kem-cupsd-XXXXXX")};
    QProcess m_cupsd;
    QString m_lpadmin;
    QString m_output;
    quint16 m_port = 0;
};

// What the scheduler recorded for one job.
struct JobRecord {
    int state = 0;
    QHash<QString, QString> attrs;  // text of single-valued attributes by name
};

class IppConnection {
public:
    explicit IppConnection(int port)
        : m_http(httpConnect2("127.0.0.1", port, nullptr, AF_INET, HTTP_ENCRYPTION_NEVER, 1, 5000, nullptr))
    {
    }
    ~IppConnection() { httpClose(m_http); }
    IppConnection(const IppConnection &) = delete;
    IppConnection &operator=(const IppConnection &) = delete;
    http_t *get() const { return m_http; }

private:
    http_t *m_http;
};

// Highest job id the server knows for the queue (0 for none).
int newestJob(int port, const char *queue)
{
    IppConnection http(port);
    if (!http.get())
        return -1;
    cups_job_t *jobs = nullptr;
    const int n = cupsGetJobs2(http.get(), &jobs, queue, 0, CUPS_WHICHJOBS_ALL);
    int newest = 0;
    for (int i = 0; i < n; ++i)
        newest = std::max(newest, jobs[i].id);
    cupsFreeJobs(n, jobs);
    return newest;
}

JobRecord jobAttributes(int port, int jobId)
{
    JobRecord rec;
    IppConnection http(port);
    if (!http.get())
        return rec;
    ipp_t *request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const QByteArray uri = QStringLiteral("ipp://127.0.0.1:%1/jobs/%2").arg(port).arg(jobId).toUtf8();
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
    ipp_t *response = cupsDoRequest(http.get(), request, "/jobs/");
    if (!response)
        return rec;
    for (ipp_attribute_t *a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
        const char *name = ippGetName(a);
        if (!name || ippGetGroupTag(a) != IPP_TAG_JOB)
            continue;
        char text[1024];
        ippAttributeString(a, text, sizeof text);
        rec.attrs.insert(QString::fromUtf8(name), QString::fromUtf8(text));
        if (!strcmp(name, "job-state"))
            rec.state = ippGetInteger(a, 0);
    }
    ippDelete(response);
    return rec;
}

// Waits until the job has finished one way or the other.
JobRecord waitForJob(int port, int jobId)
{
    const QDeadlineTimer deadline(kWaitMs);
    JobRecord rec = jobAttributes(port, jobId);
    while (rec.state < IPP_JSTATE_CANCELED && !deadline.hasExpired()) {
        QThread::msleep(100);
        rec = jobAttributes(port, jobId);
    }
    return rec;
}

// "Page size: 841.89 x 1190.55 pts (A3)" of the first page, in points.
QSizeF pdfPageSize(const QString &file, QString *error)
{
    QString info;
    if (!runTool(QStringLiteral("pdfinfo"), {file}, &info, error))
        return {};
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

} // namespace

class TestCupsQueue : public QObject {
    Q_OBJECT
    std::unique_ptr<ThrowawayCups> m_cups;
    const QString m_queue = QStringLiteral("TestQueue");

    std::shared_ptr<PrintOptions> options(const QString &printer, int paper, int bin, int forzaVert = 0)
    {
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::Printer;
        o->NomeStampante = printer;
        o->ForzaVert = forzaVert;
        if (paper)
            o->ParamSet(QStringLiteral("NumTipoCarta"), PrintOptions::ParamInteger, paper);
        if (bin)
            o->ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, bin);
        return o;
    }

private slots:
    void initTestCase()
    {
        for (const char *tool : {"pdfinfo", "pdftotext"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP("pdfinfo/pdftotext (poppler-utils) are not installed");
        m_cups = std::make_unique<ThrowawayCups>();
        QString why;
        if (!m_cups->start(&why))
            QSKIP(qPrintable(QStringLiteral("no CUPS scheduler here: ") + why));
        if (!m_cups->addQueue(m_queue, &why))
            QSKIP(qPrintable(QStringLiteral("the scheduler refused the test queue: ") + why));
        // The library talks to whatever server libcups is pointed at; lpoptions-style defaults
        // from the environment would override the server's default destination.
        qputenv("CUPS_SERVER", m_cups->server().toUtf8());
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
        cupsSetServer(m_cups->server().toUtf8().constData());
    }

    void cleanupTestCase()
    {
        if (m_cups)
            m_cups->stop();
        cupsSetServer(nullptr);
    }

    void jobArrivesWithSizeAndSource_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("bin");
        QTest::addColumn<int>("forzaVert");
        QTest::addColumn<QString>("media");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QSizeF>("sheetPt");
        QTest::newRow("A3, upper tray") << 8 << 1 << 0 << "iso_a3_297x420mm" << "top" << QSizeF(842, 1191);
        QTest::newRow("A4, manual feed, portrait forced")
            << 9 << 4 << 1 << "iso_a4_210x297mm" << "manual" << QSizeF(595, 842);
        QTest::newRow("Letter, first tray") << 1 << 256 << 0 << "na_letter_8.5x11in" << "tray-1" << QSizeF(612, 792);
    }
    void jobArrivesWithSizeAndSource()
    {
        QFETCH(int, paper);
        QFETCH(int, bin);
        QFETCH(int, forzaVert);
        QFETCH(QString, media);
        QFETCH(QString, source);
        QFETCH(QSizeF, sheetPt);

        const int before = newestJob(m_cups->port(), nullptr);
        QVERIFY2(before >= 0, "cannot reach the test scheduler");
        QFile::remove(m_cups->output());

        PrintReport r;
        r.OptionsSet(options(m_queue, paper, bin, forzaVert));
        SampleReport s;
        s.lines = 80;
        QVERIFY2(s.run(r), qPrintable(r.LastErrorGet()));

        const int job = newestJob(m_cups->port(), nullptr);
        QVERIFY2(job > before, "no job reached the scheduler");
        const JobRecord rec = waitForJob(m_cups->port(), job);
        QVERIFY2(rec.state == IPP_JSTATE_COMPLETED,
                 qPrintable(QStringLiteral("job %1 ended in state %2\n%3").arg(job).arg(rec.state).arg(m_cups->logTail())));
        QCOMPARE(rec.attrs.value(QStringLiteral("job-printer-uri")).section(QLatin1Char('/'), -1), m_queue);
        QCOMPARE(rec.attrs.value(QStringLiteral("media")), media);
        QCOMPARE(rec.attrs.value(QStringLiteral("media-source")), source);
        QCOMPARE(rec.attrs.value(QStringLiteral("InputSlot")), source);
        QCOMPARE(rec.attrs.value(QStringLiteral("orientation-requested")),
                 forzaVert ? QStringLiteral("portrait") : QString());

        // Positions start at the corner of the area the queue can print for that size.
        const double marginMm = kMarginPt * 25.4 / 72;
        const QSizeF sheetMm = kem::PageSizeForPaper(paper).size(QPageSize::Millimeter);
        QVERIFY2(qAbs(r.PageWidthGet() - (sheetMm.width() - 2 * marginMm)) < 0.1,
                 qPrintable(QString::number(r.PageWidthGet())));
        QVERIFY2(qAbs(r.PageHeightGet() - (sheetMm.height() - 2 * marginMm)) < 0.1,
                 qPrintable(QString::number(r.PageHeightGet())));

        // The queue wrote the document: a PDF of that size holding the report.
        QVERIFY2(readFile(m_cups->output()).startsWith("%PDF-"), qPrintable(m_cups->output()));
        QString error;
        const QSizeF size = pdfPageSize(m_cups->output(), &error);
        QVERIFY2(size.isValid(), qPrintable(error));
        QVERIFY2(qAbs(size.width() - sheetPt.width()) < 1.5 && qAbs(size.height() - sheetPt.height()) < 1.5,
                 qPrintable(QStringLiteral("%1 x %2 pt").arg(size.width()).arg(size.height())));
        QString text;
        QVERIFY2(runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), m_cups->output(), QStringLiteral("-")},
                         &text, &error),
                 qPrintable(error));
        QVERIFY2(text.contains(QLatin1String("Distinta Base")), qPrintable(text.left(500)));
        QVERIFY(text.contains(SampleReport::desc(79)));
        QVERIFY(text.contains(QLatin1String("Pag. 001")));
    }

    void noPrinterNamedGoesToServerDefault()
    {
        const int before = newestJob(m_cups->port(), nullptr);
        PrintReport r;
        r.OptionsSet(options(QString(), 9, 2));
        SampleReport s;
        s.lines = 10;
        QVERIFY2(s.run(r), qPrintable(r.LastErrorGet()));
        const int job = newestJob(m_cups->port(), m_queue.toUtf8().constData());
        QVERIFY2(job > before, "the job did not reach the default queue");
        const JobRecord rec = waitForJob(m_cups->port(), job);
        QCOMPARE(rec.state, int(IPP_JSTATE_COMPLETED));
        QCOMPARE(rec.attrs.value(QStringLiteral("media-source")), QStringLiteral("bottom"));
    }

    // The scheduler here completes raw jobs on a file queue without writing them out, so only the
    // job itself can be checked: it reaches the queue untouched by filters.
    void fixedWidthGoesRawToQueue()
    {
        const int before = newestJob(m_cups->port(), nullptr);
        auto o = options(m_queue, 0, 0);
        o->StaVid = PrintOptions::FixedWidth;
        o->FisStampante = true;
        o->FisColonne = 80;
        o->FisRighe = 40;
        PrintReport r;
        r.OptionsSet(o);
        SampleReport s;
        s.lines = 10;
        QVERIFY2(s.run(r), qPrintable(r.LastErrorGet()));
        const int job = newestJob(m_cups->port(), nullptr);
        QVERIFY2(job > before, "no job reached the scheduler");
        const JobRecord rec = waitForJob(m_cups->port(), job);
        QCOMPARE(rec.state, int(IPP_JSTATE_COMPLETED));
        QCOMPARE(rec.attrs.value(QStringLiteral("document-format")), QStringLiteral("application/vnd.cups-raw"));
    }

    void unknownQueueIsRefusedWithItsName()
    {
        const int before = newestJob(m_cups->port(), nullptr);
        PrintReport r;
        kemtest::RecordingOwner owner;
        r.OwnerSet(&owner);
        r.OptionsSet(options(QStringLiteral("CodaInesistente"), 9, 1));
        SampleReport s;
        s.lines = 10;
        QVERIFY(!s.run(r));
        QVERIFY2(r.LastErrorGet().contains(QLatin1String("CodaInesistente")), qPrintable(r.LastErrorGet()));
        QCOMPARE(newestJob(m_cups->port(), nullptr), before);
        QCOMPARE(owner.values, QList<int>{0});
    }
};

QTEST_MAIN(TestCupsQueue)
#include "tst_cupsqueue.moc"
