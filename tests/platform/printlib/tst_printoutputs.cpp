// One small report run once per destination and read back from what each destination wrote.
#include "tests/platform/printlib/samplereport.h"
#include "platform/printlib/previewfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QSysInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <sys/wait.h>
#include <unistd.h>

using kem::PreviewFolder;
using kem::PrintOptions;
using kem::PrintReport;
using kemtest::SampleReport;

namespace {

QString runTool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestPrintOutputs : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    std::shared_ptr<PrintOptions> fileOptions(int form, const QString &name)
    {
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::File;
        o->FileForm = form;
        o->FileName = m_dir.filePath(name);
        return o;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void pdfShowsHeaderTitlePagesAndCellsInOrder()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        PrintReport r;
        r.OptionsSet(fileOptions(PrintOptions::PdfFile, QStringLiteral("sample.pdf")));
        kemtest::RecordingOwner owner;
        r.OwnerSet(&owner);
        SampleReport s;
        QVERIFY2(s.run(r), qPrintable(r.LastErrorGet()));
        QCOMPARE(r.PageNumGet(), 3);
        QCOMPARE(owner.values, QList<int>{0});

        const QString text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), m_dir.filePath(QStringLiteral("sample.pdf")), QStringLiteral("-")});
        const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 3);
        int next = 0;
        for (int p = 0; p < 3; ++p) {
            const QStringList lines = pages[p].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            QVERIFY(lines.size() > 4);
            QVERIFY2(lines[0].contains(QLatin1String("Kemora 1.0")) && lines[0].contains(QLatin1String("Ditta: Mobili Rossi")), qPrintable(lines[0]));
            QVERIFY2(QRegularExpression(QStringLiteral("10/12/2026\\s+Distinta Base\\s+Pag\\. %1$").arg(p + 1, 3, 10, QLatin1Char('0')))
                         .match(lines[1].trimmed()).hasMatch(), qPrintable(lines[1]));
            QVERIFY2(QRegularExpression(QStringLiteral("Codice\\s+Descrizione articolo\\s+Um\\s+Quantità")).match(lines[2]).hasMatch(), qPrintable(lines[2]));
            for (int l = 3; l < lines.size(); ++l) {
                if (lines[l].trimmed().isEmpty())
                    continue;
                const QRegularExpression row(QStringLiteral("^\\s*%1\\s+%2\\s+PZ\\s+%3\\s*$")
                                                 .arg(SampleReport::code(next), SampleReport::desc(next),
                                                      QRegularExpression::escape(SampleReport::qtyText(next))));
                QVERIFY2(row.match(lines[l]).hasMatch(), qPrintable(QStringLiteral("page %1: %2").arg(p + 1).arg(lines[l])));
                ++next;
            }
        }
        QCOMPARE(next, s.lines);
    }

    void csvFieldsAndSeparators_data()
    {
        QTest::addColumn<int>("sep");
        QTest::addColumn<int>("qual");
        QTest::addColumn<bool>("raw");
        QTest::addColumn<QString>("line");
        // Cells: code "0012" (left), text with separators and quotes (left), "1.234,50" (right).
        QTest::newRow("space, none") << 0 << 0 << false << QStringLiteral("0012 \"Vite; 4,5 \"\"M\"\" 'x'\" 1.234,50");
        QTest::newRow("tab, none") << 1 << 0 << false << QStringLiteral("0012\tVite; 4,5 \"M\" 'x'\t1.234,50");
        QTest::newRow("semicolon, double") << 2 << 2 << false << QStringLiteral("\"0012\";\"Vite; 4,5 \"\"M\"\" 'x'\";1.234,50");
        QTest::newRow("semicolon, none") << 2 << 0 << false << QStringLiteral("0012;\"Vite; 4,5 \"\"M\"\" 'x'\";1.234,50");
        QTest::newRow("comma, single") << 3 << 1 << false << QStringLiteral("'0012','Vite; 4,5 \"M\" ''x''','1.234,50'");
        QTest::newRow("comma, double, unformatted") << 3 << 2 << true << QStringLiteral("\"0012\",\"Vite; 4,5 \"\"M\"\" 'x'\",\"1234,50\"");
        QTest::newRow("tab, single, unformatted") << 1 << 1 << true << QStringLiteral("'0012'\t'Vite; 4,5 \"M\" ''x'''\t1234,50");
        QTest::newRow("semicolon, none, unformatted") << 2 << 0 << true << QStringLiteral("0012;\"Vite; 4,5 \"\"M\"\" 'x'\";1234,50");
    }
    void csvFieldsAndSeparators()
    {
        QFETCH(int, sep);
        QFETCH(int, qual);
        QFETCH(bool, raw);
        QFETCH(QString, line);
        auto o = fileOptions(PrintOptions::SpreadsheetText, QStringLiteral("grid.csv"));
        o->SepCampi = sep;
        o->DelimStr = qual;
        o->NumNoForm = raw;
        PrintReport r;
        r.OptionsSet(o);
        SampleReport::styles(r);
        bool cancelled = true;
        QVERIFY(r.JobStart(1, &cancelled));
        QVERIFY(r.DocBegin());
        r.StyleSelect(QStringLiteral("CorpoCampo"));
        r.AlignSet(QStringLiteral("S"));
        const int a = r.ColumnAdd(QStringLiteral("MMMMMM"), 6, QStringLiteral("P"));
        const int b = r.ColumnAdd(QString(20, QLatin1Char('M')));
        r.AlignSet(QStringLiteral("D"));
        const int c = r.ColumnAdd(QStringLiteral("999,999,999"));
        r.AlignSet(QStringLiteral("S"));
        QVERIFY(r.CellPrint(a, QStringLiteral("0012")));
        QVERIFY(r.CellPrint(b, QStringLiteral("Vite; 4,5 \"M\" 'x'")));
        r.AlignSet(QStringLiteral("D"));
        QVERIFY(r.CellPrint(c, QStringLiteral("1.234,50")));
        QVERIFY(r.LineEnd());
        QVERIFY(r.LineEnd());  // an empty line end is an empty line
        r.AlignSet(QStringLiteral("S"));
        QVERIFY(r.CellPrint(a, QStringLiteral("Z")));
        QVERIFY(r.DocEnd());

        const QByteArray data = readAll(o->FileName);
        QVERIFY(data.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(data.mid(3)).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 4);  // three lines and the text after the last line end
        QCOMPARE(lines[0], line);
        QCOMPARE(lines[1], QString());
        QCOMPARE(lines[2], qual == 1 ? QStringLiteral("'Z'") : qual == 2 ? QStringLiteral("\"Z\"") : QStringLiteral("Z"));
        QCOMPARE(lines[3], QString());
    }

    void badSeparatorCancelsWithoutFile()
    {
        auto o = fileOptions(PrintOptions::SpreadsheetText, QStringLiteral("bad.csv"));
        o->SepCampi = 7;
        PrintReport r;
        r.OptionsSet(o);
        kemtest::RecordingOwner owner;
        r.OwnerSet(&owner);
        bool cancelled = false;
        QVERIFY(!r.JobStart(1, &cancelled));
        QVERIFY(cancelled);
        QVERIFY(r.LastErrorGet().contains(QLatin1String("Separatore")));
        QCOMPARE(owner.values, QList<int>{0});
        QVERIFY(!r.DocBegin());
        QVERIFY(r.DocEnd());
        QCOMPARE(owner.values, QList<int>{0});  // told once
        QVERIFY(!QFile::exists(o->FileName));
    }

    void plainTextIsTheLinesAsPrinted()
    {
        auto o = fileOptions(PrintOptions::PlainText, QStringLiteral("sample.txt"));
        o->FisColonne = 100;
        PrintReport r;
        r.OptionsSet(o);
        SampleReport s;
        s.lines = 10;
        QVERIFY2(s.run(r), qPrintable(r.LastErrorGet()));
        const QStringList lines = QString::fromUtf8(readAll(o->FileName)).split(QStringLiteral("\r\n"));
        QVERIFY(lines[0].startsWith(QLatin1String("Kemora 1.0")));
        QVERIFY(lines[0].endsWith(QLatin1String("Ditta: Mobili Rossi")));
        QCOMPARE(lines[0].size(), 100);  // right-aligned text ends at the last column
        QVERIFY(lines[1].startsWith(QLatin1String("10/12/2026")));
        QVERIFY(lines[1].endsWith(QLatin1String("Pag. 001")));
        QVERIFY(lines[1].contains(QLatin1String("Distinta Base")));
        QCOMPARE(lines[3], QString(100, QLatin1Char('-')));
        // columns at their character places: code 12 wide, description 20, unit 2, quantity 12
        const QString expected = QStringLiteral("%1 %2 %3 %4").arg(SampleReport::code(0), -12).arg(SampleReport::desc(0), -20)
                                     .arg(QStringLiteral("PZ")).arg(SampleReport::qtyText(0), 12);
        QCOMPARE(lines[4], expected);
    }

    void xlsxHoldsNumbersAsNumbers()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
            QSKIP("unzip is not installed");
        auto o = fileOptions(PrintOptions::Xlsx, QStringLiteral("sample.xlsx"));
        PrintReport r;
        r.OptionsSet(o);
        SampleReport s;
        QVERIFY2(s.run(r), qPrintable(r.LastErrorGet()));
        const QString sheet = runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), o->FileName, QStringLiteral("xl/worksheets/sheet1.xml")});
        const QString &strings = sheet;  // written row by row: texts are held in their cells
        // rows 1-3: header lines and headings (the rule is no row); first body line is row 4
        QVERIFY2(QRegularExpression(QStringLiteral("<c r=\"A4\"[^>]* t=\"inlineStr\"")).match(sheet).hasMatch(), qPrintable(sheet.left(2000)));
        QVERIFY(QRegularExpression(QStringLiteral("<c r=\"B4\"[^>]* t=\"inlineStr\"")).match(sheet).hasMatch());
        const auto qty = QRegularExpression(QStringLiteral("<c r=\"D4\"( s=\"\\d+\")?><v>([^<]+)</v>")).match(sheet);
        QVERIFY2(qty.hasMatch(), qPrintable(sheet.left(2000)));
        QCOMPARE(qty.captured(2).toDouble(), SampleReport::qty(0));
        QVERIFY(QRegularExpression(QStringLiteral("<c r=\"C2\"[^>]* t=\"inlineStr\"")).match(sheet).hasMatch());  // "Pag. 001"
        // every number in the sheet is a quantity: one per body line
        QCOMPARE(sheet.count(QRegularExpression(QStringLiteral("<c r=\"[A-Z]+\\d+\"( s=\"\\d+\")?><v>"))), s.lines);
        QVERIFY(strings.contains(QLatin1String("<t>00000</t>")));  // a code made of digits stays text
        QVERIFY(strings.contains(QLatin1String("Pag. 003")));
        // an ordinary file: the same permissions as any file made here, no leftovers
        QFile plain(m_dir.filePath(QStringLiteral("plain.txt")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QCOMPARE(QFileInfo(o->FileName).permissions(), plain.permissions());
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden), QStringList());
    }

    void xlsxSecondCompanyTextBecomesTheWorkbookCompany()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
            QSKIP("unzip is not installed");
        auto o = fileOptions(PrintOptions::Xlsx, QStringLiteral("company.xlsx"));
        PrintReport r;
        r.OptionsSet(o);
        r.TitleSet(QStringLiteral("Stampa Distinta Base"));
        bool cancelled = true;
        QVERIFY(r.JobStart(1, &cancelled));
        QVERIFY(r.DocBegin());
        QVERIFY(r.TextPrint(0, QStringLiteral("Ditta: Mobili Rossi§ç^&£Rossi Holding")));
        QVERIFY(r.LineEnd());
        QVERIFY(r.DocEnd());
        const QString strings = runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), o->FileName, QStringLiteral("xl/worksheets/sheet1.xml")});
        const QString app = runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), o->FileName, QStringLiteral("docProps/app.xml")});
        const QString core = runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), o->FileName, QStringLiteral("docProps/core.xml")});
        QVERIFY2(strings.contains(QLatin1String("<t>Ditta: Mobili Rossi</t>")), qPrintable(strings));
        QVERIFY(app.contains(QLatin1String("<Company>Rossi Holding</Company>")));
        QVERIFY(core.contains(QLatin1String("Stampa Distinta Base")));
    }

    void pageRangeLimitsPrintedPages_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("pages");  // page labels found in the submitted PDF
        QTest::newRow("all") << 0 << 0 << "001 002 003";
        QTest::newRow("second only") << 2 << 2 << "002";
        QTest::newRow("from the second") << 2 << 0 << "002 003";
        QTest::newRow("up to the second") << 0 << 2 << "001 002";
        QTest::newRow("beyond the last") << 5 << 6 << "";
    }
    void pageRangeLimitsPrintedPages()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, pages);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        auto o = std::make_shared<PrintOptions>();
        o->NomeStampante = QStringLiteral("Ufficio");
        QVERIFY(o->ParamSet(QStringLiteral("PaginaDa"), PrintOptions::ParamInteger, from));
        QVERIFY(o->ParamSet(QStringLiteral("PaginaA"), PrintOptions::ParamInteger, to));
        auto fake = std::make_shared<kemtest::FakeSubmitter>();
        PrintReport r;
        r.OptionsSet(o);
        r.SubmitterSet(fake);
        SampleReport s;
        const bool ok = s.run(r);
        QCOMPARE(ok, !pages.isEmpty());
        if (pages.isEmpty()) {
            QVERIFY(fake->jobs.isEmpty());
            QVERIFY(r.LastErrorGet().contains(QLatin1String("Nessuna pagina")));
            return;
        }
        const QString pdf = m_dir.filePath(QStringLiteral("range.pdf"));
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(fake->files.value(0));
        f.close();
        const QString text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QStringList found;
        for (const auto &m : QRegularExpression(QStringLiteral("Pag\\. (\\d{3})")).globalMatch(text))
            found << m.captured(1);
        QCOMPARE(found.join(QLatin1Char(' ')), pages);
    }

    void fixedWidthPagesHaveExactSize_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::newRow("80x30, 2 top, 3 bottom") << 80 << 30 << 2 << 3;
        QTest::newRow("132x66, no blank lines") << 132 << 66 << 0 << 0;
        QTest::newRow("60x12, 1 top, 1 bottom") << 60 << 12 << 1 << 1;
    }
    void fixedWidthPagesHaveExactSize()
    {
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(int, top);
        QFETCH(int, bottom);
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::FixedWidth;
        o->FisFileName = m_dir.filePath(QStringLiteral("fixed.txt"));
        o->FisColonne = columns;
        o->FisRighe = rows;
        o->FisMrAlt = top;
        o->FisMrBas = bottom;
        PrintReport r;
        r.OptionsSet(o);
        SampleReport s;
        s.lines = 100;
        QVERIFY2(s.run(r), qPrintable(r.LastErrorGet()));
        QByteArray data = readAll(o->FisFileName);
        QVERIFY(data.endsWith("\r\n"));
        data.chop(1);
        const QList<QByteArray> lines = data.split('\n');
        QCOMPARE(lines.size() % rows, 0);
        const int pages = int(lines.size()) / rows;
        const int body = rows - top - bottom;
        const int perPage = body - 4;  // two header lines, headings, rule
        QCOMPARE(pages, (s.lines + perPage - 1) / perPage);
        QCOMPARE(r.PageNumGet(), pages);
        int next = 0;
        for (int p = 0; p < pages; ++p) {
            for (int l = 0; l < rows; ++l) {
                QByteArray line = lines[p * rows + l];
                QVERIFY(line.endsWith('\r'));
                line.chop(1);
                QCOMPARE(line.size(), columns);
                const bool blank = l < top || l >= rows - bottom;
                if (blank)
                    QCOMPARE(line, QByteArray(columns, ' '));
                else if (l == top)
                    QVERIFY(line.startsWith("Kemora 1.0") && line.trimmed().endsWith("Ditta: Mobili Rossi"));
                else if (l == top + 1)
                    QVERIFY(line.trimmed().endsWith(QStringLiteral("Pag. %1").arg(p + 1, 3, 10, QLatin1Char('0')).toLatin1()));
                else if (l == top + 3)
                    QCOMPARE(line, QByteArray(columns, '-'));
                else if (l > top + 3 && next < s.lines && !line.trimmed().isEmpty())
                    QVERIFY2(line.startsWith(SampleReport::code(next++).toLatin1()), line.constData());
            }
        }
        QCOMPARE(next, s.lines);
    }

    void fixedWidthOverflowGoesOnNextPage()
    {
        // Lines written without any room check still land on pages of exactly FisRighe lines.
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::FixedWidth;
        o->FisFileName = m_dir.filePath(QStringLiteral("overflow.txt"));
        o->FisColonne = 20;
        o->FisRighe = 10;
        o->FisMrAlt = 1;
        o->FisMrBas = 1;
        PrintReport r;
        r.OptionsSet(o);
        bool cancelled = true;
        QVERIFY(r.JobStart(1, &cancelled));
        QVERIFY(r.DocBegin());
        for (int i = 0; i < 20; ++i) {
            r.TextPrint(0, QStringLiteral("L%1").arg(i, 2, 10, QLatin1Char('0')));
            r.LineEnd();
        }
        QVERIFY(r.DocEnd());
        const QList<QByteArray> lines = readAll(o->FisFileName).split('\n');
        QCOMPARE(lines.size(), 3 * 10 + 1);  // 20 lines on pages of 8: three pages
        QCOMPARE(lines[1].trimmed(), QByteArray("L00"));
        QCOMPARE(lines[8].trimmed(), QByteArray("L07"));
        QCOMPARE(lines[11].trimmed(), QByteArray("L08"));
        QCOMPARE(lines[24].trimmed(), QByteArray("L19"));
        QCOMPARE(lines[25].trimmed(), QByteArray());
    }

    void fixedWidthCompressedSequences_data()
    {
        QTest::addColumn<QString>("on");
        QTest::addColumn<QString>("off");
        QTest::addColumn<QByteArray>("onBytes");
        QTest::addColumn<QByteArray>("offBytes");
        QTest::newRow("decimal codes") << QStringLiteral("27,15") << QStringLiteral("18") << QByteArray("\x1b\x0f") << QByteArray("\x12");
        QTest::newRow("codes with spaces") << QStringLiteral("27 77") << QStringLiteral("27 80") << QByteArray("\x1bM") << QByteArray("\x1bP");
        QTest::newRow("literal text") << QStringLiteral("<C>") << QStringLiteral("</C>") << QByteArray("<C>") << QByteArray("</C>");
    }
    void fixedWidthCompressedSequences()
    {
        QFETCH(QString, on);
        QFETCH(QString, off);
        QFETCH(QByteArray, onBytes);
        QFETCH(QByteArray, offBytes);
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::FixedWidth;
        o->FisStampante = true;
        o->NomeStampante = QStringLiteral("Aghi");
        o->FisColonne = 40;
        o->FisRighe = 20;
        o->FisUtilComp = true;
        o->FisCodIniComp = on;
        o->FisCodFinComp = off;
        auto fake = std::make_shared<kemtest::FakeSubmitter>();
        PrintReport r;
        r.OptionsSet(o);
        r.SubmitterSet(fake);
        SampleReport s;
        s.lines = 5;
        QVERIFY2(s.run(r), qPrintable(r.LastErrorGet()));
        QCOMPARE(fake->jobs.size(), 1);
        QVERIFY(fake->jobs[0].raw);
        QCOMPARE(fake->jobs[0].printer, QStringLiteral("Aghi"));
        const QByteArray data = fake->files[0];
        QVERIFY(data.startsWith(onBytes + "Kemora 1.0"));
        QVERIFY(data.endsWith("\r\n" + offBytes));
        QCOMPARE(data.size(), onBytes.size() + 20 * (40 + 2) + offBytes.size());
    }

    void previewPagesNamedAndDeletedPerRun()
    {
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::Preview;
        PrintReport r;
        r.OptionsSet(o);
        kemtest::RecordingOwner owner;
        r.OwnerSet(&owner);
        QList<int> started;
        connect(&r, &PrintReport::pageStarted, this, [&](int p) { started.append(p); });
        SampleReport s;
        QVERIFY2(s.run(r), qPrintable(r.LastErrorGet()));
        QCOMPARE(started, (QList<int>{1, 2, 3}));
        const QString base = r.PreviewBaseGet();
        // the run's own folder under the preview root
        QCOMPARE(QFileInfo(QFileInfo(base).absolutePath()).absolutePath(), QDir(PreviewFolder::Root()).absolutePath());
        const QStringList files = r.PreviewPagesGet();
        QCOMPARE(files, (QStringList{base + QStringLiteral(".001"), base + QStringLiteral(".002"), base + QStringLiteral(".003")}));
        QCOMPARE(r.PreviewPageFile(7), base + QStringLiteral(".007"));
        QCOMPARE(r.PreviewLastPageGet(), 3);
        for (const QString &f : files) {
            QImage img;
            QVERIFY(img.load(f, "PNG"));
            QVERIFY(img.height() > img.width());  // a portrait sheet
        }
        QVERIFY(owner.values.isEmpty());  // the job lasts until the preview closes

        // files that only look alike survive; so do another run's pages
        PrintReport other;
        other.OptionsSet(o);
        SampleReport small;
        small.lines = 3;
        QVERIFY(small.run(other));
        const QStringList decoys{base + QStringLiteral("0.001"), base + QStringLiteral(".txt"), base + QStringLiteral(".1234x")};
        for (const QString &d : decoys) {
            QFile f(d);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        r.PreviewClose();
        for (const QString &f : files)
            QVERIFY(!QFile::exists(f));
        for (const QString &d : decoys) {
            QVERIFY(QFile::exists(d));
            QFile::remove(d);
        }
        QVERIFY(QFile::exists(other.PreviewPageFile(1)));
        QCOMPARE(owner.values, QList<int>{0});
        other.PreviewClose();
        QVERIFY(!QFile::exists(other.PreviewPageFile(1)));
    }

    // A page of text is a compressed image of tens of kilobytes, not megabytes, also at twice
    // the usual size.
    void previewPagesAreSmall_data()
    {
        QTest::addColumn<int>("factor");
        QTest::newRow("factor 1") << 1;
        QTest::newRow("factor 2") << 2;
    }

    void previewPagesAreSmall()
    {
        QFETCH(int, factor);
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::Preview;
        PrintReport r;
        r.OptionsSet(o);
        r.FattLet(float(factor));
        SampleReport s;
        QVERIFY2(s.run(r), qPrintable(r.LastErrorGet()));
        const QStringList files = r.PreviewPagesGet();
        QVERIFY(!files.isEmpty());
        for (const QString &f : files) {
            QVERIFY2(QFileInfo(f).size() < 300 * 1024, qPrintable(QStringLiteral("%1: %2 bytes").arg(f).arg(QFileInfo(f).size())));
            QImage img;
            QVERIFY(img.load(f, "PNG"));
        }
        r.PreviewClose();
        QVERIFY(!QFileInfo::exists(QFileInfo(files.first()).absolutePath()));  // the run's folder went too
    }

    // The page folders of a process that no longer runs are removed when the next preview
    // starts; those of a running process stay.
    void deadProcessPageFoldersRemoved()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(0);
        QVERIFY(child > 0);
        QCOMPARE(::waitpid(child, nullptr, 0), child);  // its pid now names no process
        const QString dead = QDir(root.path()).filePath(QStringLiteral("%1-0").arg(child));
        QVERIFY(QDir().mkpath(dead));
        {
            QFile lock(QDir(dead).filePath(QStringLiteral("in-uso.lock")));
            QVERIFY(lock.open(QIODevice::WriteOnly));
            lock.write(QByteArray::number(child) + "\n" + QCoreApplication::applicationName().toUtf8() + "\n"
                       + QSysInfo::machineHostName().toUtf8() + "\n");
        }
        QFile page(QDir(dead).filePath(QStringLiteral("pagina.001")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();
        PreviewFolder living(root.path());
        QVERIFY(living.Valid());
        QVERIFY(QFileInfo::exists(dead) == false);
        PreviewFolder next(root.path());  // the living one's folder stays
        QVERIFY(QFileInfo::exists(living.Path()));
        QVERIFY(QFileInfo::exists(next.Path()));
        QVERIFY(living.Path() != next.Path());
    }

    void printerGetsJobOptions_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("bin");
        QTest::addColumn<int>("forzaVert");
        QTest::addColumn<QString>("media");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("orientation");
        QTest::newRow("A4, lower bin, portrait forced") << 9 << 2 << 1 << "iso_a4_210x297mm" << "bottom" << "3";
        QTest::newRow("A3, manual feed") << 8 << 4 << 0 << "iso_a3_297x420mm" << "manual" << "";
        QTest::newRow("defaults") << 0 << 0 << 0 << "" << "" << "";
        QTest::newRow("letter, printer's own tray 3") << 1 << 258 << 0 << "na_letter_8.5x11in" << "tray-3" << "";
    }
    void printerGetsJobOptions()
    {
        QFETCH(int, paper);
        QFETCH(int, bin);
        QFETCH(int, forzaVert);
        QFETCH(QString, media);
        QFETCH(QString, source);
        QFETCH(QString, orientation);
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::Printer;
        o->NomeStampante = QStringLiteral("Ufficio");
        o->ForzaVert = forzaVert;
        QVERIFY(o->ParamSet(QStringLiteral("NumTipoCarta"), PrintOptions::ParamInteger, paper));
        QVERIFY(o->ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, bin));
        auto fake = std::make_shared<kemtest::FakeSubmitter>();
        PrintReport r;
        r.OptionsSet(o);
        r.SubmitterSet(fake);
        r.LandscapeLet(true);
        r.TitleSet(QStringLiteral("Stampa Distinta Base"));
        kemtest::RecordingOwner owner;
        r.OwnerSet(&owner);
        SampleReport s;
        s.lines = 20;
        QVERIFY2(s.run(r), qPrintable(r.LastErrorGet()));
        QCOMPARE(fake->jobs.size(), 1);
        const kem::PrintJob &job = fake->jobs[0];
        QCOMPARE(job.printer, QStringLiteral("Ufficio"));
        QCOMPARE(job.title, QStringLiteral("Stampa Distinta Base"));
        QVERIFY(!job.raw);
        QCOMPARE(job.option(QStringLiteral("media")), media);
        QCOMPARE(job.option(QStringLiteral("media-source")), source);
        QCOMPARE(job.option(QStringLiteral("InputSlot")), source);
        QCOMPARE(job.option(QStringLiteral("orientation-requested")), orientation);
        QVERIFY(fake->files[0].startsWith("%PDF"));
        QVERIFY(!QFile::exists(job.file));  // the temporary PDF is gone after the job
        const QSizeF page = r.DocumentGet().pageSize;
        QCOMPARE(page.width() < page.height(), forzaVert == 1);  // landscape unless forced upright
        QCOMPARE(owner.values, QList<int>{0});
    }

    void printerPositionsStartAtThePrintableArea()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        // words' boxes (points) in the submitted PDF, for a printer without and with dead margins
        auto wordBox = [&](const QMarginsF &margins, const QString &word, double *pageWidth, double *usableWidth) {
            auto o = std::make_shared<PrintOptions>();
            o->NomeStampante = QStringLiteral("Ufficio");
            auto fake = std::make_shared<kemtest::FakeSubmitter>();
            fake->margins = margins;
            PrintReport r;
            r.OptionsSet(o);
            r.SubmitterSet(fake);
            SampleReport s;
            s.lines = 3;
            if (!s.run(r))
                return QRectF();
            *usableWidth = r.PageWidthGet();
            const QString pdf = m_dir.filePath(QStringLiteral("hw.pdf"));
            QFile f(pdf);
            if (!f.open(QIODevice::WriteOnly))
                return QRectF();
            f.write(fake->files.value(0));
            f.close();
            const QString html = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
            const auto page = QRegularExpression(QStringLiteral("<page width=\"([\\d.]+)\"")).match(html);
            *pageWidth = page.captured(1).toDouble();
            const auto m = QRegularExpression(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">%1</word>").arg(word)).match(html);
            return m.hasMatch() ? QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                         QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))
                                : QRectF();
        };
        const double mmToPt = 72.0 / 25.4;
        double sheet0 = 0, sheet1 = 0, usable0 = 0, usable1 = 0;
        const QRectF left0 = wordBox({}, QStringLiteral("Kemora"), &sheet0, &usable0);
        const QRectF left1 = wordBox({4, 5, 6, 7}, QStringLiteral("Kemora"), &sheet1, &usable1);
        QVERIFY(!left0.isNull() && !left1.isNull());
        QVERIFY(qAbs(sheet0 - 210 * mmToPt) < 1);  // the sheet stays A4
        QVERIFY(qAbs(sheet1 - 210 * mmToPt) < 1);
        QVERIFY(qAbs(usable1 - (usable0 - 10)) < 1e-6);
        QVERIFY(qAbs(left1.left() - left0.left() - 4 * mmToPt) < 0.5);
        QVERIFY(qAbs(left1.top() - left0.top() - 5 * mmToPt) < 0.5);
        const QRectF right1 = wordBox({4, 5, 6, 7}, QStringLiteral("Rossi"), &sheet1, &usable1);
        QVERIFY(right1.right() <= (210 - 6) * mmToPt);  // flush right ends inside the printable area
        QVERIFY(right1.right() > (210 - 6 - 2) * mmToPt);
    }

    void printerWithoutDefaultIsCancelled()
    {
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::Printer;
        auto fake = std::make_shared<kemtest::FakeSubmitter>();
        PrintReport r;
        r.OptionsSet(o);
        r.SubmitterSet(fake);
        kemtest::RecordingOwner owner;
        r.OwnerSet(&owner);
        SampleReport s;
        QVERIFY(!s.run(r));
        QCOMPARE(r.LastErrorGet(), QStringLiteral("Stampante di default non disponibile"));
        QVERIFY(fake->jobs.isEmpty());
        QCOMPARE(owner.values, QList<int>{0});

        fake->defaultPrinter = QStringLiteral("Predefinita");
        PrintReport again;
        again.OptionsSet(o);
        again.SubmitterSet(fake);
        QVERIFY(s.run(again));
        QCOMPARE(fake->jobs.value(0).printer, QStringLiteral("Predefinita"));
    }

    void emptyRunSendsNoSheetToThePrinter_data()
    {
        QTest::addColumn<int>("staVid");
        QTest::newRow("printer") << int(PrintOptions::Printer);
        QTest::newRow("fixed width to printer") << int(PrintOptions::FixedWidth);
    }
    void emptyRunSendsNoSheetToThePrinter()
    {
        QFETCH(int, staVid);
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = staVid;
        o->FisStampante = true;
        o->NomeStampante = QStringLiteral("Ufficio");
        auto fake = std::make_shared<kemtest::FakeSubmitter>();
        PrintReport r;
        r.OptionsSet(o);
        r.SubmitterSet(fake);
        kemtest::RecordingOwner owner;
        r.OwnerSet(&owner);
        bool cancelled = true;
        QVERIFY(r.JobStart(1, &cancelled));
        QVERIFY(r.DocBegin());
        QVERIFY(r.DocEnd());
        QVERIFY(fake->jobs.isEmpty());
        QCOMPARE(owner.values, QList<int>{0});
    }

    void refusedSubmissionIsReported()
    {
        auto o = std::make_shared<PrintOptions>();
        o->NomeStampante = QStringLiteral("Ufficio");
        auto fake = std::make_shared<kemtest::FakeSubmitter>();
        fake->refuse = true;
        PrintReport r;
        r.OptionsSet(o);
        r.SubmitterSet(fake);
        int reason = 0;
        connect(&r, &PrintReport::jobOver, this, [&](int why) { reason = why; });
        SampleReport s;
        s.lines = 5;
        QVERIFY(!s.run(r));
        QCOMPARE(r.LastErrorGet(), QStringLiteral("stampante spenta"));
        QCOMPARE(reason, int(PrintReport::JobFailed));
    }

    void realCupsWithUnknownPrinterFailsCleanly()
    {
        auto o = std::make_shared<PrintOptions>();
        o->NomeStampante = QStringLiteral("kem-stampante-inesistente");
        PrintReport r;  // the CUPS submitter
        r.OptionsSet(o);
        SampleReport s;
        s.lines = 3;
        QVERIFY(!s.run(r));
        QVERIFY2(r.LastErrorGet().contains(QLatin1String("kem-stampante-inesistente")), qPrintable(r.LastErrorGet()));
    }

    void automaticPdfReplacesThePrinter()
    {
        auto o = std::make_shared<PrintOptions>();
        o->NomeStampante = QStringLiteral("PDFCreator");
        auto fake = std::make_shared<kemtest::FakeSubmitter>();
        PrintReport r;
        r.OptionsSet(o);
        r.SubmitterSet(fake);
        QVERIFY(!r.CommandRun(QStringLiteral("ComandoIgnoto")));
        QVERIFY(r.CommandRun(QStringLiteral("AttivaPdfAutom")));
        r.ParamSet(QStringLiteral("PdfAutomImpPar"), m_dir.filePath(QStringLiteral("auto.pdf")));
        r.ParamSet(QStringLiteral("AttendiPdfNoStampa"), 0);
        SampleReport s;
        s.lines = 5;
        QVERIFY2(s.run(r), qPrintable(r.LastErrorGet()));
        QVERIFY(fake->jobs.isEmpty());
        QVERIFY(readAll(m_dir.filePath(QStringLiteral("auto.pdf"))).startsWith("%PDF"));
    }
};

QTEST_MAIN(TestPrintOutputs)
#include "tst_printoutputs.moc"
