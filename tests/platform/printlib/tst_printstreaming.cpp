// Long runs: text measuring that is shaped once per font or text, and pages and rows that go
// to the destination as they are completed while the document keeps only the newest pages.
#include "tests/platform/printlib/samplereport.h"
#include "platform/printlib/textmeasure.h"

#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using kem::PrintFont;

Q_DECLARE_METATYPE(kem::PrintFont)
using kem::PrintOptions;
using kem::PrintReport;
using kemtest::SampleReport;

namespace {

PrintFont font(const char *name, double size, bool bold, bool italic)
{
    PrintFont f;
    f.Name = QString::fromLatin1(name);
    f.Size = size;
    f.Bold = bold;
    f.Italic = italic;
    return f;
}

// The width the shaper gives for the whole text on the 1200 dpi reference device, in mm.
double shapedWidth(const PrintFont &f, const QString &text)
{
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(47244);
    device.setDotsPerMeterY(47244);
    return QFontMetricsF(f.ToQFont(), &device).horizontalAdvance(text) * 1000.0 / 47244;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestPrintStreaming : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    std::shared_ptr<PrintOptions> options(int staVid, int fileForm, const QString &name)
    {
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = staVid;
        o->FileForm = fileForm;
        o->FileName = o->FisFileName = m_dir.filePath(name);
        return o;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void widthsAreWhatTheShaperGives_data()
    {
        QTest::addColumn<PrintFont>("f");
        QTest::addColumn<QString>("text");
        const QList<QPair<const char *, PrintFont>> fonts = {
            {"arial 8", font("arial", 8, false, false)},
            {"arial 10 bold", font("arial", 10, true, false)},
            {"Courier New 9", font("Courier New", 9, false, false)},
            {"Times New Roman 12 italic", font("Times New Roman", 12, false, true)},
        };
        const QStringList texts = {
            QStringLiteral("1.234.567,89"), QStringLiteral("Raffinato ffi fl AV To Wa"),
            QStringLiteral("Perché più così: àèéìòù ÀÈ"), QStringLiteral("  spazi in coda  "),
            QStringLiteral("€ 12,50 \u2014 fuori Latin-1"), QStringLiteral("tab\tdentro"), QString(),
        };
        for (const auto &[label, f] : fonts)
            for (const QString &t : texts)
                QTest::addRow("%s: %s", label, qPrintable(t)) << f << t;
    }
    void widthsAreWhatTheShaperGives()
    {
        QFETCH(PrintFont, f);
        QFETCH(QString, text);
        kem::TextMeasure m(f);
        const double expected = shapedWidth(f, text);
        QCOMPARE(m.Width(text), expected);  // exactly: positions must not move
        QCOMPARE(m.Width(text), expected);  // and again, from what was kept
    }

    void documentKeepsOnlyTheNewestPages()
    {
        // The same long run with the whole document kept and with two pages kept: the file is
        // the same, the short document holds only the newest pages and their rows.
        QByteArray files[2];
        for (int keep : {-1, 2}) {
            PrintReport r;
            r.OptionsSet(options(PrintOptions::File, PrintOptions::SpreadsheetText, QStringLiteral("keep%1.csv").arg(keep)));
            r.DocumentKeepSet(keep);
            SampleReport s;
            s.lines = 600;
            QVERIFY2(s.run(r), qPrintable(r.LastErrorGet()));
            const kem::Document &doc = r.DocumentGet();
            QVERIFY(r.PageNumGet() > 8);
            if (keep < 0) {
                QCOMPARE(doc.pages.size(), qsizetype(r.PageNumGet()));
            } else {
                QCOMPARE(doc.pages.size(), qsizetype(keep + 1));
                QCOMPARE(doc.pages.last().number, r.PageNumGet());
                QCOMPARE(doc.rows.first().page, doc.pages.first().number);
            }
            files[keep < 0 ? 0 : 1] = readAll(r.OptionsGet()->FileName);
        }
        QVERIFY(files[0].count("\r\n") > 600);
        QCOMPARE(files[1], files[0]);
    }

    // A file output written over an older file of the same name: a run stopped after pages went
    // out leaves the older file as it was, a completed run replaces it; no other file is left.
    void fileOverAnOlderOne_data()
    {
        QTest::addColumn<int>("staVid");
        QTest::addColumn<int>("fileForm");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("stopped");
        const struct {
            const char *label;
            int staVid, fileForm;
            const char *name;
        } outputs[] = {
            {"csv", int(PrintOptions::File), int(PrintOptions::SpreadsheetText), "out.csv"},
            {"text", int(PrintOptions::File), int(PrintOptions::PlainText), "out.txt"},
            {"xlsx", int(PrintOptions::File), int(PrintOptions::Xlsx), "out.xlsx"},
            {"pdf", int(PrintOptions::File), int(PrintOptions::PdfFile), "out.pdf"},
            {"fixed width", int(PrintOptions::FixedWidth), 0, "out.fix"},
        };
        for (const auto &o : outputs)
            for (const bool stopped : {true, false})
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(o.label),
                                                                      stopped ? QStringLiteral("stopped") : QStringLiteral("completed"))))
                    << o.staVid << o.fileForm << QString::fromLatin1(o.name) << stopped;
    }
    void fileOverAnOlderOne()
    {
        QFETCH(int, staVid);
        QFETCH(int, fileForm);
        QFETCH(QString, name);
        QFETCH(bool, stopped);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        auto o = options(staVid, fileForm, name);
        o->FileName = o->FisFileName = dir.filePath(name);
        {
            QFile old(o->FileName);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("vecchio");
        }
        PrintReport r;
        r.OptionsSet(o);
        SampleReport s;
        s.lines = 600;
        if (stopped)
            s.stopAtLine = 400;  // pages have gone to the output by then
        QVERIFY2(s.run(r), qPrintable(r.LastErrorGet()));
        if (stopped) {
            QVERIFY(r.PageNumGet() > 4);
            QCOMPARE(readAll(o->FileName), QByteArray("vecchio"));
        } else {
            const QByteArray data = readAll(o->FileName);
            QVERIFY(data.size() > 10000);
            QVERIFY(!data.contains("vecchio"));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
    }
};

QTEST_MAIN(TestPrintStreaming)
#include "tst_printstreaming.moc"
