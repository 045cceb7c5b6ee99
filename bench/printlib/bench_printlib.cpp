// Print library benchmark: a BOM-like listing (level, code, description, unit, quantity, cost)
// with a page header and column headings on every page, printed to a PDF file and to a CSV file
// for each line count asked. Every print runs in a child process (this program started again
// with --child), which reports its own resident memory before the run and its peak (VmHWM), so
// the figures belong to one destination and one size: memory that grows with the line count
// means pages are being kept.
#include "platform/printlib/printreport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

namespace {

// Resident-memory line ("VmRSS", "VmHWM") of /proc/self/status, in kB; -1 when unreadable.
qint64 statusKb(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (QByteArray line = f.readLine(); !line.isEmpty(); line = f.readLine())
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).simplified().split(' ').value(0).toLongLong();
    return -1;
}

// The listing one child prints.
class Listing {
public:
    explicit Listing(int lines) : m_lines(lines) {}

    bool run(kem::PrintReport &r)
    {
        styles(r);
        r.StopSet(0);
        bool cancelled = false;
        if (!r.JobStart(1, &cancelled) || cancelled) {
            r.DocEnd();
            return false;
        }
        r.DocBegin();
        columns(r);
        header(r);
        const QLocale it(QLocale::Italian);
        for (int i = 0; i < m_lines; ++i) {
            if (r.RoomCheck(1)) {
                r.PageNew();
                header(r);
            }
            if (r.SkipGet())
                break;
            r.StyleSelect(QStringLiteral("CorpoCampo"));
            r.AlignSet(QStringLiteral("C"));
            r.CellPrint(m_level, 1 + i % 6);
            r.AlignSet(QStringLiteral("S"));
            r.CellPrint(m_code, QStringLiteral("ART%1").arg(i, 7, 10, QLatin1Char('0')));
            r.CellPrint(m_desc, QStringLiteral("Componente %1 verniciato").arg(i));
            r.AlignSet(QStringLiteral("C"));
            r.CellPrint(m_um, i % 3 ? QStringLiteral("PZ") : QStringLiteral("KG"));
            r.AlignSet(QStringLiteral("D"));
            r.CellPrint(m_qty, it.toString((i % 97 + 1) * 0.25, 'f', 2));
            r.CellPrint(m_cost, it.toString((i % 1013) * 12.34 + 0.5, 'f', 2));
            r.LineEnd();
        }
        return r.DocEnd();
    }

private:
    static void styles(kem::PrintReport &r)
    {
        auto add = [&](const char *name, const char *family, double size, bool bold) {
            kem::PrintFont f;
            f.Name = QString::fromLatin1(family);
            f.Size = size;
            f.Bold = bold;
            r.FontAdd(QString::fromLatin1(name), f);
        };
        add("TestaTitolo", "arial", 12, true);
        add("TestaData", "arial", 10, false);
        add("CorpoLab", "arial", 8, true);
        add("CorpoCampo", "arial", 9, false);
    }

    void columns(kem::PrintReport &r)
    {
        r.StyleSelect(QStringLiteral("CorpoCampo"));
        r.ColumnsClear();
        r.AlignSet(QStringLiteral("C"));
        m_level = r.ColumnAdd(QStringLiteral("MM"), 2, QStringLiteral("P"));
        r.AlignSet(QStringLiteral("S"));
        m_code = r.ColumnAdd(QString(12, QLatin1Char('M')), 12);
        m_desc = r.ColumnAdd(QString(26, QLatin1Char('M')), 30);
        r.AlignSet(QStringLiteral("C"));
        m_um = r.ColumnAdd(QStringLiteral("MMM"), 2);
        r.AlignSet(QStringLiteral("D"));
        m_qty = r.ColumnAdd(QStringLiteral("999.999,99"), 10);
        m_cost = r.ColumnAdd(QStringLiteral("9.999.999,99"), 12);
    }

    void header(kem::PrintReport &r)
    {
        r.VertPosLet(r.MarginTopGet());
        r.StyleSelect(QStringLiteral("TestaData"));
        r.AlignSet(QStringLiteral("S"));
        r.TextPrint(0, QStringLiteral("10/12/2026"));
        r.StyleSelect(QStringLiteral("TestaTitolo"));
        r.AlignSet(QStringLiteral("C"));
        r.TextPrint(0, QStringLiteral("Distinta Base"));
        r.StyleSelect(QStringLiteral("TestaData"));
        r.AlignSet(QStringLiteral("D"));
        r.TextPrint(0, QStringLiteral("Pag. %1").arg(r.PageNumGet(), 3, 10, QLatin1Char('0')));
        r.LineEnd();
        r.StyleSelect(QStringLiteral("CorpoLab"));
        r.AlignSet(QStringLiteral("C"));
        r.CellPrint(m_level, QStringLiteral("Liv"));
        r.AlignSet(QStringLiteral("S"));
        r.CellPrint(m_code, QStringLiteral("Codice"));
        r.CellPrint(m_desc, QStringLiteral("Descrizione"));
        r.AlignSet(QStringLiteral("C"));
        r.CellPrint(m_um, QStringLiteral("Um"));
        r.AlignSet(QStringLiteral("D"));
        r.CellPrint(m_qty, QStringLiteral("Quantità"));
        r.CellPrint(m_cost, QStringLiteral("Costo"));
        r.LineEnd();
        r.RulePrint(2, 2, 2);
    }

    int m_lines;
    int m_level = 0, m_code = 0, m_desc = 0, m_um = 0, m_qty = 0, m_cost = 0;
};

// Child: prints once and writes "pagine P secondi S base_kb B picco_kb K" on standard output.
int childMain(int argc, char **argv, const QString &destination, int lines, const QString &file)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    auto o = std::make_shared<kem::PrintOptions>();
    o->StaVid = kem::PrintOptions::File;
    o->FileForm = destination == QLatin1String("pdf") ? kem::PrintOptions::PdfFile
                                                      : kem::PrintOptions::SpreadsheetText;
    o->FileName = file;
    kem::PrintReport r;
    r.OptionsSet(o);
    Listing listing(lines);
    const qint64 baseKb = statusKb("VmRSS");
    QElapsedTimer t;
    t.start();
    const bool ok = listing.run(r);
    const double seconds = t.nsecsElapsed() / 1e9;
    if (!ok) {
        QTextStream(stderr) << "print failed: " << r.LastErrorGet() << '\n';
        return 1;
    }
    QTextStream(stdout) << "pagine " << r.PageNumGet() << " secondi " << seconds << " base_kb " << baseKb
                        << " picco_kb " << statusKb("VmHWM") << '\n';
    return 0;
}

struct Result {
    bool ok = false;
    int pages = 0;
    double seconds = 0;
    qint64 baseKb = 0, peakKb = 0, fileBytes = 0;
    QString error;
};

Result runChild(const QString &destination, int lines, const QString &file)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--child"), destination, QString::number(lines), file});
    Result r;
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        r.error = QString::fromUtf8(p.readAllStandardError()).trimmed().right(400);
        return r;
    }
    const QStringList w = QString::fromUtf8(p.readAllStandardOutput()).simplified().split(QLatin1Char(' '));
    auto value = [&](const char *key) { return w.value(w.indexOf(QLatin1String(key)) + 1); };
    r.pages = value("pagine").toInt();
    r.seconds = value("secondi").toDouble();
    r.baseKb = value("base_kb").toLongLong();
    r.peakKb = value("picco_kb").toLongLong();
    r.fileBytes = QFileInfo(file).size();
    r.ok = r.seconds > 0 && r.peakKb > 0;
    if (!r.ok)
        r.error = QStringLiteral("unreadable child report: %1").arg(w.join(QLatin1Char(' ')));
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 5 && QByteArray(argv[1]) == "--child")
        return childMain(argc, argv, QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt(),
                         QString::fromLocal8Bit(argv[4]));

    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints a BOM-like listing through the print library to PDF and to CSV, each run in its own "
        "child process, and reports lines per second and peak resident memory per run."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("lines"), QStringLiteral("Comma-separated line counts (default 10000,100000)."),
                      QStringLiteral("list"), QStringLiteral("10000,100000")});
    parser.addOption({QStringLiteral("out"), QStringLiteral("Folder for the output files (default: a temporary "
                                                            "folder removed at the end)."),
                      QStringLiteral("dir")});
    parser.process(app);

    QList<int> counts;
    for (const QString &s : parser.value(QStringLiteral("lines")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = s.trimmed().toInt(&ok);
        if (!ok || n <= 0) {
            QTextStream(stderr) << "--lines: not a positive number: " << s << '\n';
            return 2;
        }
        counts << n;
    }
    QTemporaryDir tmp;
    QString dir = parser.value(QStringLiteral("out"));
    if (dir.isEmpty()) {
        if (!tmp.isValid()) {
            QTextStream(stderr) << "no temporary folder\n";
            return 2;
        }
        dir = tmp.path();
    } else if (!QDir().mkpath(dir)) {
        QTextStream(stderr) << "--out: cannot create " << dir << '\n';
        return 2;
    }

    QTextStream out(stdout);
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
               .arg(QStringLiteral("dest"), -5)
               .arg(QStringLiteral("lines"), 8)
               .arg(QStringLiteral("pages"), 6)
               .arg(QStringLiteral("seconds"), 8)
               .arg(QStringLiteral("lines/s"), 9)
               .arg(QStringLiteral("base MB"), 8)
               .arg(QStringLiteral("peak MB"), 8)
               .arg(QStringLiteral("file MB"), 8);
    out.flush();
    int failures = 0;
    for (int lines : counts) {
        for (const char *dest : {"pdf", "csv"}) {
            const QString destination = QString::fromLatin1(dest);
            const QString file = QDir(dir).filePath(QStringLiteral("listing-%1.%2").arg(lines).arg(destination));
            const Result r = runChild(destination, lines, file);
            if (!r.ok) {
                out << destination << ' ' << lines << " FAILED: " << r.error << '\n';
                ++failures;
                continue;
            }
            out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
                       .arg(destination, -5)
                       .arg(lines, 8)
                       .arg(r.pages, 6)
                       .arg(r.seconds, 8, 'f', 2)
                       .arg(lines / r.seconds, 9, 'f', 0)
                       .arg(r.baseKb / 1024.0, 8, 'f', 1)
                       .arg(r.peakKb / 1024.0, 8, 'f', 1)
                       .arg(r.fileBytes / 1048576.0, 8, 'f', 1);
            out.flush();
        }
    }
    return failures ? 1 : 0;
}
