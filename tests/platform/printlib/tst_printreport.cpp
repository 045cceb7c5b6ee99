// The report object on its own: fonts, options, styles, columns, line placement, paging,
// stopping a run and telling the owner that the job is over.
#include "tests/platform/printlib/samplereport.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using kem::PrintFont;
using kem::PrintOptions;
using kem::PrintReport;
using kemtest::SampleReport;

namespace {

QString pageText(const kem::Page &page)
{
    QStringList parts;
    for (const kem::TextRun &t : page.texts)
        parts << t.text;
    return parts.join(QLatin1Char('|'));
}

} // namespace

class TestPrintReport : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    std::shared_ptr<PrintOptions> pdfOptions(const QString &name)
    {
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::File;
        o->FileForm = PrintOptions::PdfFile;
        o->FileName = m_dir.filePath(name);
        return o;
    }

private slots:
    void fontNamesResolveToInstalledFonts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("fixedPitch");
        QTest::newRow("arial") << "arial" << "Liberation Sans" << false;
        QTest::newRow("Arial") << "Arial" << "Liberation Sans" << false;
        QTest::newRow("Courier New") << "Courier New" << "Liberation Mono" << true;
        QTest::newRow("Times New Roman") << "Times New Roman" << "Liberation Serif" << false;
    }
    void fontNamesResolveToInstalledFonts()
    {
        QFETCH(QString, name);
        QFETCH(QString, family);
        QFETCH(bool, fixedPitch);
        PrintFont f;
        f.Name = name;
        f.Size = 10;
        QVERIFY2(QFontDatabase::families().contains(family), "fonts-liberation2 is not installed");
        const QFontInfo info(f.ToQFont());
        QCOMPARE(info.family(), family);
        QCOMPARE(info.fixedPitch(), fixedPitch);
    }

    void namedParameters()
    {
        PrintOptions o;
        QCOMPARE(o.ParamGet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger), QVariant(0));
        QVERIFY(!o.ParamGet(QStringLiteral("StampaCaption")).isValid());
        QVERIFY(o.ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, QStringLiteral(" 15 ")));
        QCOMPARE(o.ParamInt(QStringLiteral("numcassetto")), 15);
        QString error;
        QVERIFY(!o.ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, QStringLiteral("basso"), &error));
        QVERIFY(error.contains(QLatin1String("NumCassetto")));
        QCOMPARE(o.ParamInt(QStringLiteral("NumCassetto")), 15);  // a refused value changes nothing
        QVERIFY(o.ParamSet(QStringLiteral("StampaCaption"), PrintOptions::ParamAny, QStringLiteral("Stampa distinta base")));
        QCOMPARE(o.ParamGet(QStringLiteral("STAMPACAPTION")).toString(), QStringLiteral("Stampa distinta base"));
    }

    void stylesAndColumns()
    {
        PrintReport r;
        r.OptionsSet(pdfOptions(QStringLiteral("cols.pdf")));
        SampleReport::styles(r);
        PrintFont f;
        QVERIFY(r.StyleFontGet(QStringLiteral("TestaTitolo"), &f));
        QCOMPARE(f.Size, 12.0);
        QVERIFY(f.Bold);
        QVERIFY(!r.StyleFontGet(QStringLiteral("Inesistente")));
        QVERIFY(r.StyleSelect(QStringLiteral("CorpoCampo")));
        QVERIFY(!r.StyleSelect(QStringLiteral("Inesistente")));
        QCOMPARE(r.StyleGet(), QStringLiteral("CorpoCampo"));  // unchanged
        QVERIFY(!r.AlignSet(QStringLiteral("X")));
        QCOMPARE(r.AlignGet(), QStringLiteral("S"));

        // a column is as wide as its sample in the current style
        r.ColumnsClear();
        const int a = r.ColumnAdd(QString(10, QLatin1Char('M')), 10, QStringLiteral("P"));
        r.StyleSelect(QStringLiteral("CorpoLab"));  // 8 points instead of 10
        r.AlignSet(QStringLiteral("D"));
        const int b = r.ColumnAdd(QString(10, QLatin1Char('M')));
        QVERIFY(a != b);
        const kem::ColumnDef *ca = r.ColumnGet(a);
        const kem::ColumnDef *cb = r.ColumnGet(b);
        QVERIFY(ca && cb);
        QCOMPARE(ca->left, double(r.MarginLeftGet()));
        QVERIFY(cb->left > ca->right);
        QVERIFY(cb->right - cb->left < ca->right - ca->left);
        QCOMPARE(cb->align, QLatin1Char('D'));
        const int c = r.ColumnAdd(QStringLiteral("M"), 1, QStringLiteral("U"));
        QCOMPARE(r.ColumnGet(c)->right, r.PageWidthGet() - r.MarginRightGet());
        const int d = r.ColumnAdd(QStringLiteral("MM"), 2, QStringLiteral("P"));
        QCOMPARE(r.ColumnGet(d)->left, double(r.MarginLeftGet()));
        r.ColumnsClear();
        QVERIFY(!r.ColumnGet(a));
    }

    void operationsOutsideADocumentAreRefused()
    {
        PrintReport r;
        QVERIFY(!r.LineEnd());
        QVERIFY(!r.LastErrorGet().isEmpty());
        QVERIFY(!r.TextPrint(0, QStringLiteral("x")));
        QVERIFY(!r.PageNew());
        QVERIFY(r.SkipGet());
        QVERIFY(!r.DocBegin());
        QVERIFY(r.DocEnd());  // closing what was never opened is harmless
    }

    void cellInUnknownColumnIsAnError()
    {
        PrintReport r;
        r.OptionsSet(pdfOptions(QStringLiteral("unknown.pdf")));
        bool cancelled = true;
        QVERIFY(r.JobStart(1, &cancelled));
        QVERIFY(r.DocBegin());
        QVERIFY(!r.CellPrint(99, QStringLiteral("x")));
        QVERIFY(r.LastErrorGet().contains(QLatin1String("99")));
    }

    void jobStartChecksTheDestination_data()
    {
        QTest::addColumn<int>("staVid");
        QTest::addColumn<int>("fileForm");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("fisRighe");
        QTest::addColumn<QString>("message");
        QTest::newRow("file without name") << 2 << 0 << "" << 66 << "In caso di stampa su file è obbligatorio specificare il nome file.";
        QTest::newRow("file in a missing folder") << 2 << 0 << "/nonexistent-kem/out.csv" << 66 << "La cartella del file di stampa non esiste";
        QTest::newRow("unknown file format") << 2 << 9 << "out.x" << 66 << "Formato del file di stampa non valido (9)";
        QTest::newRow("fixed width without name") << 3 << 0 << "" << 66 << "In caso di stampa su file è obbligatorio specificare il nome file.";
        QTest::newRow("fixed width, no room for lines") << 3 << 0 << "fixed.txt" << 5 << "Parametri della stampa a lunghezza fissa non validi";
        QTest::newRow("unknown destination") << 7 << 0 << "" << 66 << "Destinazione di stampa non valida (7)";
    }
    void jobStartChecksTheDestination()
    {
        QFETCH(int, staVid);
        QFETCH(int, fileForm);
        QFETCH(QString, fileName);
        QFETCH(int, fisRighe);
        QFETCH(QString, message);
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = staVid;
        o->FileForm = fileForm;
        const QString path = fileName.isEmpty() || fileName.startsWith(QLatin1Char('/')) ? fileName : m_dir.filePath(fileName);
        o->FileName = path;
        o->FisFileName = path;
        o->FisRighe = fisRighe;
        o->FisMrAlt = 2;
        o->FisMrBas = 3;
        PrintReport r;
        r.OptionsSet(o);
        kemtest::RecordingOwner owner;
        r.OwnerSet(&owner);
        int reason = 0;
        connect(&r, &PrintReport::jobOver, this, [&](int why) { reason = why; });
        bool cancelled = false;
        QVERIFY(!r.JobStart(1, &cancelled));
        QVERIFY(cancelled);
        QVERIFY2(r.LastErrorGet().startsWith(message), qPrintable(r.LastErrorGet()));
        QCOMPARE(owner.values, QList<int>{0});
        QCOMPARE(reason, int(PrintReport::JobCancelled));
        if (!path.isEmpty())
            QVERIFY(!QFile::exists(path));
    }

    void roomCheckBreaksPagesAndHeaderIsReprinted()
    {
        PrintReport r;
        r.OptionsSet(pdfOptions(QStringLiteral("paging.pdf")));
        SampleReport s;
        s.lines = 150;
        QVERIFY(s.run(r));
        const kem::Document &doc = r.DocumentGet();
        QCOMPARE(doc.pages.size(), 3);
        const double bottom = doc.pageSize.height() - doc.marginBottom;
        int bodyLines = 0;
        for (const kem::Page &page : doc.pages) {
            const QString text = pageText(page);
            QVERIFY(text.startsWith(QStringLiteral("Kemora 1.0|Ditta: Mobili Rossi|10/12/2026|Distinta Base|Pag. %1|Codice")
                                        .arg(page.number, 3, 10, QLatin1Char('0'))));
            QCOMPARE(page.rules.size(), 1);
            double lastBaseline = 0;
            for (const kem::TextRun &t : page.texts) {
                QVERIFY(t.baseline <= bottom);
                QVERIFY(t.baseline >= lastBaseline);  // lines go down the page in order
                lastBaseline = t.baseline;
                if (t.text == QLatin1String("PZ"))
                    ++bodyLines;
            }
        }
        QCOMPARE(bodyLines, s.lines);
        // the first page is full: one more line of the body style would not have fitted
        const kem::Page &first = doc.pages.first();
        QVERIFY(first.texts.last().baseline + r.LineHeightGet() > bottom - 5);
        // one grid row per line end: 3 x (2 header lines + headings) + body lines, plus 3 rule rows
        QCOMPARE(doc.rows.size(), 3 * 3 + s.lines + 3);
    }

    void linePastTheBottomMovesToANewPage()
    {
        PrintReport r;
        r.OptionsSet(pdfOptions(QStringLiteral("overflow.pdf")));
        bool cancelled = true;
        QVERIFY(r.JobStart(1, &cancelled));
        QVERIFY(r.DocBegin());
        for (int i = 0; i < 200; ++i) {
            QVERIFY(r.TextPrint(0, QStringLiteral("riga %1").arg(i)));
            QVERIFY(r.LineEnd());
        }
        QVERIFY(r.DocEnd());
        const kem::Document &doc = r.DocumentGet();
        QVERIFY(doc.pages.size() >= 3);
        int n = 0;
        for (const kem::Page &page : doc.pages)
            for (const kem::TextRun &t : page.texts) {
                QVERIFY(t.baseline <= doc.pageSize.height() - doc.marginBottom);
                QCOMPARE(t.text, QStringLiteral("riga %1").arg(n++));
            }
        QCOMPARE(n, 200);
    }

    void placementOfTextOnALine()
    {
        PrintReport r;
        r.OptionsSet(pdfOptions(QStringLiteral("place.pdf")));
        SampleReport::styles(r);
        bool cancelled = true;
        QVERIFY(r.JobStart(1, &cancelled));
        QVERIFY(r.DocBegin());
        r.StyleSelect(QStringLiteral("CorpoCampo"));
        const double right = r.PageWidthGet() - r.MarginRightGet();
        r.AlignSet(QStringLiteral("S"));
        double x = 0;
        QVERIFY(r.TextPrint(0, QStringLiteral("Sinistra"), true, &x));
        QCOMPARE(x, r.MarginLeftGet() + r.TextWidthGet(QStringLiteral("Sinistra")));
        r.AlignSet(QStringLiteral("D"));
        QVERIFY(r.LabelValuePrint(QStringLiteral("Giacenza:"), QStringLiteral("12,5")));
        QVERIFY(r.LabelValuePrint(QStringLiteral("Q.tà:"), QStringLiteral("1.000")));
        r.AlignSet(QStringLiteral("C"));
        QVERIFY(r.TextPrint(0, QStringLiteral("Centro")));
        QVERIFY(r.LineEnd());
        const QList<kem::TextRun> &t = r.DocumentGet().pages.last().texts;
        QCOMPARE(t.size(), 6);
        // right-aligned pairs keep their order and end at the right margin
        QCOMPARE(t[1].text, QStringLiteral("Giacenza:"));
        QVERIFY(t[1].font.Bold);
        QVERIFY(t[2].x > t[1].x + t[1].width);
        QVERIFY(t[3].x > t[2].x + t[2].width);
        QCOMPARE(t[4].text, QStringLiteral("1.000"));
        QVERIFY(qAbs(t[4].x + t[4].width - right) < 1e-9);
        const double centre = (r.MarginLeftGet() + right) / 2;
        QVERIFY(qAbs(t[5].x + t[5].width / 2 - centre) < 1e-9);
        for (const kem::TextRun &run : t)
            QCOMPARE(run.baseline, t[0].baseline);
        // right-aligned values that read as numbers are numbers for files
        const kem::GridRow &row = r.DocumentGet().rows.last();
        QCOMPARE(row.cells.size(), 6);
        QVERIFY(row.cells[2].numeric);
        QCOMPARE(row.cells[2].value.toDouble(), 12.5);
        QVERIFY(!row.cells[1].numeric);
        QVERIFY(!row.cells[0].numeric);
        QVERIFY(r.DocEnd());
    }

    void numbersInCells_data()
    {
        QTest::addColumn<QString>("align");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<double>("number");
        QTest::newRow("formatted text, right") << "D" << QVariant(QStringLiteral("1.234,56")) << "" << "1.234,56" << true << 1234.56;
        QTest::newRow("negative, right") << "D" << QVariant(QStringLiteral("-0,5")) << "" << "-0,5" << true << -0.5;
        QTest::newRow("digits, left") << "S" << QVariant(QStringLiteral("00123")) << "" << "00123" << false << 0.0;
        QTest::newRow("bad grouping, right") << "D" << QVariant(QStringLiteral("1.23,4")) << "" << "1.23,4" << false << 0.0;
        QTest::newRow("date, right") << "D" << QVariant(QStringLiteral("05/03/2024")) << "" << "05/03/2024" << false << 0.0;
        QTest::newRow("millions, right") << "D" << QVariant(QStringLiteral("1.234.567,891")) << "" << "1.234.567,891" << true << 1234567.891;
        QTest::newRow("plain digits, right") << "D" << QVariant(QStringLiteral("007")) << "" << "007" << true << 7.0;
        QTest::newRow("spaces round, right") << "D" << QVariant(QStringLiteral(" 12,5 ")) << "" << " 12,5 " << true << 12.5;
        QTest::newRow("four digits before a point") << "D" << QVariant(QStringLiteral("1234.567")) << "" << "1234.567" << false << 0.0;
        QTest::newRow("group of four") << "D" << QVariant(QStringLiteral("1.2345")) << "" << "1.2345" << false << 0.0;
        QTest::newRow("comma first") << "D" << QVariant(QStringLiteral(",5")) << "" << ",5" << false << 0.0;
        QTest::newRow("comma last") << "D" << QVariant(QStringLiteral("5,")) << "" << "5," << false << 0.0;
        QTest::newRow("minus alone") << "D" << QVariant(QStringLiteral("-")) << "" << "-" << false << 0.0;
        QTest::newRow("code, right") << "D" << QVariant(QStringLiteral("12A")) << "" << "12A" << false << 0.0;
        QTest::newRow("letter after decimals") << "D" << QVariant(QStringLiteral("1.234,5a")) << "" << "1.234,5a" << false << 0.0;
        QTest::newRow("fifteen digits, right") << "D" << QVariant(QStringLiteral("1.234.567.890,12345")) << "" << "1.234.567.890,12345" << true << 1234567890.12345;
        QTest::newRow("sixteen digits, right") << "D" << QVariant(QStringLiteral("12.345.678.901,23456")) << "" << "12.345.678.901,23456" << true << 12345678901.23456;
        QTest::newRow("twenty decimals, right") << "D" << QVariant(QStringLiteral("0,12345678901234567891")) << "" << "0,12345678901234567891" << true << 0.12345678901234567891;
        QTest::newRow("a third, right") << "D" << QVariant(QStringLiteral("0,333")) << "" << "0,333" << true << 0.333;
        QTest::newRow("double with format") << "D" << QVariant(1234.5) << "#,##0.00" << "1.234,50" << true << 1234.5;
        QTest::newRow("double without format") << "S" << QVariant(2.25) << "" << "2,25" << true << 2.25;
    }
    void numbersInCells()
    {
        QFETCH(QString, align);
        QFETCH(QVariant, value);
        QFETCH(QString, format);
        QFETCH(QString, printed);
        QFETCH(bool, numeric);
        QFETCH(double, number);
        PrintReport r;
        r.OptionsSet(pdfOptions(QStringLiteral("numbers.pdf")));
        bool cancelled = true;
        QVERIFY(r.JobStart(1, &cancelled));
        QVERIFY(r.DocBegin());
        r.AlignSet(align);
        const int col = r.ColumnAdd(QString(12, QLatin1Char('9')));
        QVERIFY(r.CellPrint(col, value, true, false, format, QString()));
        QVERIFY(r.LineEnd());
        const kem::GridCell &cell = r.DocumentGet().rows.last().cells.first();
        QCOMPARE(cell.text, printed);
        QCOMPARE(cell.numeric, numeric);
        if (numeric)  // the very double the text stands for, not one near it
            QVERIFY2(cell.value.toDouble() == number, qPrintable(QString::number(cell.value.toDouble(), 'g', 17)));
    }

    void clippedCellStaysInItsColumn()
    {
        PrintReport r;
        r.OptionsSet(pdfOptions(QStringLiteral("clip.pdf")));
        bool cancelled = true;
        QVERIFY(r.JobStart(1, &cancelled));
        QVERIFY(r.DocBegin());
        const int col = r.ColumnAdd(QStringLiteral("MMMMM"));
        const QString longText = QStringLiteral("Descrizione molto lunga che non entra");
        QVERIFY(r.CellPrint(col, longText, true, true, QString(), QString()));
        QVERIFY(r.CellPrint(col, longText, true, false, QString(), QString()));
        QVERIFY(r.LineEnd());
        const kem::ColumnDef *c = r.ColumnGet(col);
        const QList<kem::TextRun> &t = r.DocumentGet().pages.last().texts;
        QCOMPARE(t.size(), 2);
        QVERIFY(t[0].text.size() < longText.size());
        QVERIFY(t[0].text.endsWith(QChar(0x2026)));
        QVERIFY(t[0].x + t[0].width <= c->right + 1e-9);
        QCOMPARE(t[1].text, t[0].text);  // on drawn pages a cell never runs into the next column
        // files still get the whole text
        QCOMPARE(r.DocumentGet().rows.last().cells.first().fileText, longText);
    }

    void progressWindowBinding()
    {
        PrintReport r;
        QVERIFY(!r.ProgressFormGet());
        auto *window = new QObject;
        r.ProgressFormSet(window);
        QCOMPARE(r.ProgressFormGet(), window);
        delete window;  // a closed window never leaves the run holding a dangling pointer
        QVERIFY(!r.ProgressFormGet());
    }

    void stopFromTheProgressWindowEndsTheRun()
    {
        // The progress window's button acts while the library lets events through.
        PrintReport r;
        auto o = pdfOptions(QStringLiteral("stopped.pdf"));
        r.OptionsSet(o);
        r.JobModeSet(6);
        int pumps = 0;
        r.EventPumpSet([&] {
            if (++pumps == 40)
                r.StopSet(1);  // "Interrompi la stampa"
        });
        kemtest::RecordingOwner owner;
        r.OwnerSet(&owner);
        int reason = 0;
        connect(&r, &PrintReport::jobOver, this, [&](int why) { reason = why; });
        SampleReport s;
        QVERIFY(s.run(r));
        QVERIFY(r.StopGet());
        QVERIFY(r.SkipGet());
        QCOMPARE(r.PageNumGet(), 1);
        QVERIFY(!QFile::exists(o->FileName));  // no half document
        QCOMPARE(owner.values, QList<int>{0});
        QCOMPARE(reason, int(PrintReport::JobStopped));
        int lines = 0;
        for (const kem::TextRun &t : r.DocumentGet().pages.first().texts)
            lines += t.text == QLatin1String("PZ");
        QVERIFY(lines < 40);
    }

    void withoutEventModeNoEventsArePumped()
    {
        PrintReport r;
        r.OptionsSet(pdfOptions(QStringLiteral("nopump.pdf")));
        int pumps = 0;
        r.EventPumpSet([&] { ++pumps; });
        SampleReport s;
        s.lines = 5;
        QVERIFY(s.run(r));
        QCOMPARE(pumps, 0);
    }

    void stoppedPreviewKeepsItsPages()
    {
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::Preview;
        PrintReport r;
        r.OptionsSet(o);
        SampleReport s;
        s.stopAtLine = 100;  // on the second page
        QVERIFY(s.run(r));
        QCOMPARE(r.PreviewPagesGet().size(), 2);
        QVERIFY(QFile::exists(r.PreviewPageFile(2)));
        const QString page1 = r.PreviewPageFile(1);
        QVERIFY(r.PreviewPagesDelete());
        QVERIFY(!QFile::exists(page1));
    }

    void previewRunWaitsForTheWindowToAskForPages()
    {
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::Preview;
        PrintReport r;
        r.OptionsSet(o);
        r.PreviewHoldSet(true);
        // the stand-in window: looks at the newest page, then asks for the one after it
        QList<int> seen;
        r.EventPumpSet([&] {
            const int last = r.PreviewLastPageGet();
            if (seen.isEmpty() || seen.last() != last)
                seen.append(last);
            QVERIFY(QFile::exists(r.PreviewPageFile(last)));
            r.PreviewPageRequest(last + 1);
        });
        SampleReport s;
        QVERIFY(s.run(r));
        QCOMPARE(seen, (QList<int>{1, 2}));  // the run waited after pages 1 and 2
        QCOMPARE(r.PreviewLastPageGet(), 3);
        QVERIFY(r.PreviewPagesDelete());
    }

    void stopEndsAPreviewWaitingForARequest()
    {
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::Preview;
        PrintReport r;
        r.OptionsSet(o);
        r.PreviewHoldSet(true);
        int pumps = 0;
        r.EventPumpSet([&] {
            if (++pumps == 3)
                r.StopSet(2);  // the window closed without asking for more
        });
        SampleReport s;
        QVERIFY(s.run(r));
        QCOMPARE(pumps, 3);
        QCOMPARE(r.PreviewLastPageGet(), 1);
        r.PreviewClose();
        QVERIFY(!QFile::exists(r.PreviewPageFile(1)));
    }

    void releasingThePreviewRunDeletesItsFilesAndEndsTheJob()
    {
        auto o = std::make_shared<PrintOptions>();
        o->StaVid = PrintOptions::Preview;
        kemtest::RecordingOwner owner;
        QString page1;
        {
            PrintReport r;
            r.OptionsSet(o);
            r.OwnerSet(&owner);
            SampleReport s;
            s.lines = 3;
            QVERIFY(s.run(r));
            page1 = r.PreviewPageFile(1);
            QVERIFY(QFile::exists(page1));
            QVERIFY(owner.values.isEmpty());
        }
        QVERIFY(!QFile::exists(page1));
        QCOMPARE(owner.values, QList<int>{0});
    }

    void secondJobStartWhileOpenIsRefused()
    {
        PrintReport r;
        r.OptionsSet(pdfOptions(QStringLiteral("twice.pdf")));
        kemtest::RecordingOwner owner;
        r.OwnerSet(&owner);
        bool cancelled = true;
        QVERIFY(r.JobStart(1, &cancelled));
        QVERIFY(!cancelled);
        QVERIFY(!r.JobStart(1, &cancelled));
        QVERIFY(cancelled);
        QVERIFY(owner.values.isEmpty());  // the open job goes on
        QVERIFY(r.DocBegin());
        QVERIFY(r.DocEnd());
        QCOMPARE(owner.values, QList<int>{0});
    }

    void picturesArePlacedOnThePage()
    {
        PrintReport r;
        r.OptionsSet(pdfOptions(QStringLiteral("picture.pdf")));
        bool cancelled = true;
        QVERIFY(r.JobStart(1, &cancelled));
        QVERIFY(r.DocBegin());
        QImage img(200, 100, QImage::Format_RGB32);
        img.fill(Qt::red);
        img.setDotsPerMeterX(3937);  // 100 dpi: 50.8 x 25.4 mm
        img.setDotsPerMeterY(3937);
        QVERIFY(r.PicturePrint(img, 20, 30, 0, 0));
        QVERIFY(r.PicturePrint(img, 20, 60, 40, 0));
        QVERIFY(!r.PicturePrint(QImage(), 0, 0, 10, 10));
        QVERIFY(!r.PicturePrint(m_dir.filePath(QStringLiteral("missing.png")), 0, 0, 10, 10));
        const QList<kem::PictureItem> &pics = r.DocumentGet().pages.last().pictures;
        QCOMPARE(pics.size(), 2);
        QVERIFY(qAbs(pics[0].rect.width() - 50.8) < 0.05);
        QVERIFY(qAbs(pics[0].rect.height() - 25.4) < 0.05);
        QCOMPARE(pics[1].rect.height(), 20.0);  // the proportions are kept
        QVERIFY(r.DocEnd());
    }
};

QTEST_MAIN(TestPrintReport)
#include "tst_printreport.moc"
