#pragma once
// One renderer per destination, all fed from the same Document.
#include "pagemodel.h"
#include "printoptions.h"
#include "printsubmitter.h"

#include <QPointF>
#include <QStringList>
#include <memory>

class QPainter;

namespace kem {

class Renderer {
public:
    virtual ~Renderer() = default;
    // Page `index` of doc.pages is complete (later pages may still come).
    virtual bool PageDone(const Document &doc, int index, QString *error);
    // The run is complete: write the output.
    virtual bool Finish(const Document &doc, QString *error) = 0;
};

// Paints pages of the model; pxPerMm is the device's resolution, offset (mm) shifts everything.
void PaintPage(QPainter &painter, const Page &page, double pxPerMm, QPointF offsetMm = {});
// Pages to print: from..to (1-based), 0 meaning no limit on that side.
struct PageRange {
    int from = 0, to = 0;
    bool contains(int page) const { return (from <= 0 || page >= from) && (to <= 0 || page <= to); }
};

// Writes the pages of doc within `range` as PDF to `device` (open for writing); false when
// no page is within the range.
bool WritePdf(const Document &doc, QIODevice *device, QPointF offsetMm, PageRange range, QString *error);

// PDF file (QPdfWriter); replaces the file only when complete.
class PdfRenderer : public Renderer {
public:
    explicit PdfRenderer(QString path, PageRange range = {}) : m_path(std::move(path)), m_range(range) {}
    bool Finish(const Document &doc, QString *error) override;
private:
    QString m_path;
    PageRange m_range;
};

// Printer: the pages go to a temporary PDF that is submitted with the job options.
class PrinterRenderer : public Renderer {
public:
    PrinterRenderer(std::shared_ptr<PrintSubmitter> submitter, PrintJob job, QPointF offsetMm, PageRange range = {})
        : m_submitter(std::move(submitter)), m_job(std::move(job)), m_offset(offsetMm), m_range(range) {}
    bool Finish(const Document &doc, QString *error) override;
    int JobId() const { return m_jobId; }
private:
    std::shared_ptr<PrintSubmitter> m_submitter;
    PrintJob m_job;
    QPointF m_offset;
    PageRange m_range;
    int m_jobId = 0;
};

// Screen preview: every finished page becomes the PNG file base + "." + number as "000".
class PreviewRenderer : public Renderer {
public:
    PreviewRenderer(QString base, double dpi) : m_base(std::move(base)), m_dpi(dpi) {}
    bool PageDone(const Document &doc, int index, QString *error) override;
    bool Finish(const Document &doc, QString *error) override;
    static QString PageFile(const QString &base, int page);
    QStringList Files() const { return m_files; }
    int LastPage() const { return m_lastPage; }
private:
    QString m_base;
    double m_dpi;
    QStringList m_files;
    int m_lastPage = 0;
    QList<int> m_done;
};

// Spreadsheet-compatible text (FileForm 0): one line per line end, one field per cell.
class DelimitedTextRenderer : public Renderer {
public:
    DelimitedTextRenderer(QString path, QChar separator, QChar qualifier, bool numbersUnformatted)
        : m_path(std::move(path)), m_sep(separator), m_qual(qualifier), m_raw(numbersUnformatted) {}
    bool Finish(const Document &doc, QString *error) override;
    // One field as written: qualified when it is text and a qualifier is chosen, or whenever it
    // holds the separator, a qualifier or a line break (qualifier doubled inside).
    QString Field(const GridCell &cell) const;
private:
    QString m_path;
    QChar m_sep, m_qual;
    bool m_raw;
};

// Plain text (FileForm 1): the lines as printed, laid out in characters.
class PlainTextRenderer : public Renderer {
public:
    explicit PlainTextRenderer(QString path) : m_path(std::move(path)) {}
    bool Finish(const Document &doc, QString *error) override;
private:
    QString m_path;
};

// Excel workbook (FileForm 2), libxlsxwriter: numbers as numbers, text as text. A text holding
// the marker CompanyMarker keeps what precedes it; what follows becomes the workbook's company.
class XlsxRenderer : public Renderer {
public:
    static const QString CompanyMarker;
    explicit XlsxRenderer(QString path) : m_path(std::move(path)) {}
    bool Finish(const Document &doc, QString *error) override;
private:
    QString m_path;
};

// Fixed-width pages (StaVid 3): exactly `rows` lines of `columns` characters per page, with
// `top` and `bottom` blank lines; to a file or, through the submitter, raw to a printer.
struct FixedWidthFormat {
    int columns = 132, rows = 66, top = 0, bottom = 0;
    QByteArray compressOn, compressOff;  // written before the first and after the last line
};
class FixedWidthRenderer : public Renderer {
public:
    FixedWidthRenderer(FixedWidthFormat fmt, QString path) : m_fmt(std::move(fmt)), m_path(std::move(path)) {}
    FixedWidthRenderer(FixedWidthFormat fmt, std::shared_ptr<PrintSubmitter> submitter, PrintJob job)
        : m_fmt(std::move(fmt)), m_submitter(std::move(submitter)), m_job(std::move(job)) {}
    bool Finish(const Document &doc, QString *error) override;
    QByteArray Render(const Document &doc) const;
    // "27,15" (decimal byte codes) or a literal text.
    static QByteArray ParseSequence(const QString &text);
private:
    FixedWidthFormat m_fmt;
    QString m_path;
    std::shared_ptr<PrintSubmitter> m_submitter;
    PrintJob m_job;
};

// A grid row laid out in `width` characters: cells of columns at their character place,
// other text mapped proportionally from its position on the page; a rule row is dashes.
QString CharacterLine(const Document &doc, const GridRow &row, int width);

} // namespace kem
