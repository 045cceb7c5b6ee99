#pragma once
// One renderer per destination, all fed from the same Document.
#include "platform/printlib/pagemodel.h"
#include "platform/printlib/printoptions.h"
#include "platform/printlib/printsubmitter.h"

#include "platform/util/outputfile.h"

#include <QPointF>
#include <QStringEncoder>
#include <QStringList>
#include <memory>

class QPainter;
class QPdfWriter;

namespace kem {

// Renderers receive the run as it is made: every grid row when its line ends, every page when
// it is complete (in order, each once), then Finish. Outputs are written as the run goes, so a
// renderer keeps no more than the page or row in hand; errors met while writing are reported
// by Finish.
class Renderer {
public:
    virtual ~Renderer() = default;
    // `page` is complete (later pages may still come).
    virtual bool PageDone(const Document &doc, const Page &page, QString *error);
    // `row` is complete.
    virtual void RowDone(const Document &doc, const GridRow &row);
    // The run is complete: finish the output.
    virtual bool Finish(const Document &doc, QString *error) = 0;
};

// Paints pages of the model; pxPerMm is the device's resolution, offset (mm) shifts everything.
void PaintPage(QPainter &painter, const Page &page, double pxPerMm, QPointF offsetMm = {});
// Pages to print: from..to (1-based), 0 meaning no limit on that side.
struct PageRange {
    int from = 0, to = 0;
    bool contains(int page) const { return (from <= 0 || page >= from) && (to <= 0 || page <= to); }
};

// PDF written page by page to a device open for writing: the document starts with the first
// page within the range; End closes it, false when no page was within the range.
class PdfPageStream {
public:
    PdfPageStream(QPointF offsetMm, PageRange range);
    ~PdfPageStream();
    bool Wants(const Page &page) const { return m_range.contains(page.number); }
    bool Add(QIODevice *device, const Document &doc, const Page &page, QString *error);
    bool End(QString *error);
    void Close();  // lets the device go (ends the document if End was not called)
private:
    QPointF m_offset;
    PageRange m_range;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    int m_pages = 0;
};

// PDF file (QPdfWriter); replaces the file only when complete.
class PdfRenderer : public Renderer {
public:
    explicit PdfRenderer(QString path, PageRange range = {});
    ~PdfRenderer() override;
    bool PageDone(const Document &doc, const Page &page, QString *error) override;
    bool Finish(const Document &doc, QString *error) override;
private:
    QString m_path;
    std::unique_ptr<OutputFile> m_file;
    PdfPageStream m_pdf;  // declared after the file: closed before it
    QString m_error;
};

// A temporary file handed to the printing system: written and checked as any output, removed
// when it goes.
class SpoolFile {
public:
    explicit SpoolFile(const QString &suffix);
    ~SpoolFile();
    SpoolFile(const SpoolFile &) = delete;
    SpoolFile &operator=(const SpoolFile &) = delete;
    bool Open(QString *error);
    bool Commit(QString *error);
    QIODevice *Device() { return &m_file; }
    QString Path() const { return m_file.Path(); }
private:
    OutputFile m_file;
    bool m_committed = false;
};

// Printer: the pages go to a temporary PDF that is submitted with the job options.
class PrinterRenderer : public Renderer {
public:
    PrinterRenderer(std::shared_ptr<PrintSubmitter> submitter, PrintJob job, QPointF offsetMm, PageRange range = {});
    ~PrinterRenderer() override;
    bool PageDone(const Document &doc, const Page &page, QString *error) override;
    bool Finish(const Document &doc, QString *error) override;
    int JobId() const { return m_jobId; }
private:
    std::shared_ptr<PrintSubmitter> m_submitter;
    PrintJob m_job;
    std::unique_ptr<SpoolFile> m_spool;
    PdfPageStream m_pdf;  // declared after the file: closed before it
    bool m_anyContent = false;
    QString m_error;
    int m_jobId = 0;
};

// Screen preview: every finished page becomes the PNG file base + "." + number as "000".
class PreviewRenderer : public Renderer {
public:
    PreviewRenderer(QString base, double dpi) : m_base(std::move(base)), m_dpi(dpi) {}
    bool PageDone(const Document &doc, const Page &page, QString *error) override;
    bool Finish(const Document &doc, QString *error) override;
    static QString PageFile(const QString &base, int page);
    QStringList Files() const { return m_files; }
    int LastPage() const { return m_lastPage; }
private:
    QString m_base;
    double m_dpi;
    QStringList m_files;
    int m_lastPage = 0;
};

// A file written as the run goes (an OutputFile): without Commit the target stays as it was.
class StreamedFile {
public:
    explicit StreamedFile(QString path);
    ~StreamedFile();
    void Write(const QByteArray &bytes);
    void Write(QStringView text);  // as UTF-8
    bool Commit(QString *error);
private:
    bool open();
    void write(const char *data, qint64 size);
    OutputFile m_file;
    bool m_opened = false;
    QString m_openError;
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
    QByteArray m_utf8;  // reused for every text written
};

// Spreadsheet-compatible text (FileForm 0): one line per line end, one field per cell.
class DelimitedTextRenderer : public Renderer {
public:
    DelimitedTextRenderer(QString path, QChar separator, QChar qualifier, bool numbersUnformatted);
    void RowDone(const Document &doc, const GridRow &row) override;
    bool Finish(const Document &doc, QString *error) override;
    // One field as written: qualified when it is text and a qualifier is chosen, or whenever it
    // holds the separator, a qualifier or a line break (qualifier doubled inside).
    QString Field(const GridCell &cell) const;
private:
    void appendField(QString &out, const GridCell &cell) const;
    // s holds the separator, the qualifier or a line break.
    bool needsQuoting(QStringView s) const;
    StreamedFile m_file;
    QChar m_sep, m_qual;
    bool m_raw;
    quint64 m_lowSpecials = 0;  // those of them below 64, one bit each
    QString m_line;  // reused for every line
};

// Plain text (FileForm 1): the lines as printed, laid out in characters.
class PlainTextRenderer : public Renderer {
public:
    explicit PlainTextRenderer(QString path) : m_file(std::move(path)) {}
    void RowDone(const Document &doc, const GridRow &row) override;
    bool Finish(const Document &doc, QString *error) override;
private:
    StreamedFile m_file;
};

// Excel workbook (FileForm 2), libxlsxwriter: numbers as numbers, text as text. A text holding
// the marker CompanyMarker keeps what precedes it; what follows becomes the workbook's company.
class XlsxRenderer : public Renderer {
public:
    static const QString CompanyMarker;
    explicit XlsxRenderer(QString path);
    ~XlsxRenderer() override;
    void RowDone(const Document &doc, const GridRow &row) override;
    bool Finish(const Document &doc, QString *error) override;
private:
    struct Book;
    QString m_path;
    std::unique_ptr<Book> m_book;  // the workbook being written, from the first row on
};

// Fixed-width pages (StaVid 3): exactly `rows` lines of `columns` characters per page, with
// `top` and `bottom` blank lines; to a file or, through the submitter, raw to a printer.
struct FixedWidthFormat {
    int columns = 132, rows = 66, top = 0, bottom = 0;
    QByteArray compressOn, compressOff;  // written before the first and after the last line
};
class FixedWidthRenderer : public Renderer {
public:
    FixedWidthRenderer(FixedWidthFormat fmt, QString path);
    FixedWidthRenderer(FixedWidthFormat fmt, std::shared_ptr<PrintSubmitter> submitter, PrintJob job);
    void RowDone(const Document &doc, const GridRow &row) override;
    bool Finish(const Document &doc, QString *error) override;
    // "27,15" (decimal byte codes) or a literal text.
    static QByteArray ParseSequence(const QString &text);
private:
    void put(const QByteArray &bytes);
    void emitPage();
    FixedWidthFormat m_fmt;
    std::unique_ptr<StreamedFile> m_file;     // to a file
    std::shared_ptr<PrintSubmitter> m_submitter;  // or raw to a printer, through a temporary
    PrintJob m_job;
    std::unique_ptr<SpoolFile> m_spool;
    QString m_spoolError;
    QList<QString> m_lines;  // lines of the page in hand
    int m_page = 0;
    qint64 m_rows = 0;
};

// A grid row laid out in `width` characters: cells of columns at their character place,
// other text mapped proportionally from its position on the page; a rule row is dashes.
QString CharacterLine(const Document &doc, const GridRow &row, int width);

} // namespace kem
