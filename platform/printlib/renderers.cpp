#include "platform/printlib/renderers.h"

#include "platform/util/kemutil.h"
#include "platform/util/outputfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace kem {

namespace {
QAtomicInt spoolSequence;
} // namespace

bool Renderer::PageDone(const Document &, const Page &, QString *)
{
    return true;
}

void Renderer::RowDone(const Document &, const GridRow &)
{
}

// ---------------------------------------------------------------- painting

void PaintPage(QPainter &painter, const Page &page, double f, QPointF off)
{
    painter.save();
    for (const PictureItem &pic : page.pictures) {
        const QRectF r((pic.rect.x() + off.x()) * f, (pic.rect.y() + off.y()) * f,
                       pic.rect.width() * f, pic.rect.height() * f);
        painter.drawImage(r, pic.image);
    }
    for (const RuleItem &rule : page.rules) {
        QPen pen(Qt::black);
        pen.setWidthF(std::max(rule.pen * f, 1.0));
        painter.setPen(pen);
        painter.drawLine(QPointF((rule.x1 + off.x()) * f, (rule.y1 + off.y()) * f),
                         QPointF((rule.x2 + off.x()) * f, (rule.y2 + off.y()) * f));
    }
    painter.setPen(Qt::black);
    for (const TextRun &run : page.texts) {
        painter.setFont(run.font.ToQFont());
        painter.drawText(QPointF((run.x + off.x()) * f, (run.baseline + off.y()) * f), run.text);
    }
    painter.restore();
}

PdfPageStream::PdfPageStream(QPointF offsetMm, PageRange range) : m_offset(offsetMm), m_range(range) {}

PdfPageStream::~PdfPageStream()
{
    Close();
}

void PdfPageStream::Close()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    m_writer.reset();
}

bool PdfPageStream::Add(QIODevice *device, const Document &doc, const Page &page, QString *error)
{
    if (!Wants(page))
        return true;
    if (!m_writer) {
        m_writer = std::make_unique<QPdfWriter>(device);
        m_writer->setResolution(1200);
        m_writer->setTitle(doc.title);
        m_writer->setCreator(QStringLiteral("Kemora"));
        m_writer->setPageLayout(QPageLayout(QPageSize(doc.sheetSize, QPageSize::Millimeter), QPageLayout::Portrait,
                                            QMarginsF(0, 0, 0, 0)));
        m_painter = std::make_unique<QPainter>();
        if (!m_painter->begin(m_writer.get())) {
            *error = QStringLiteral("Impossibile creare il documento PDF");
            return false;
        }
    } else if (!m_painter->isActive()) {
        *error = QStringLiteral("Impossibile creare il documento PDF");
        return false;
    } else {
        m_writer->newPage();
    }
    PaintPage(*m_painter, page, m_writer->resolution() / 25.4, m_offset);
    ++m_pages;
    return true;
}

bool PdfPageStream::End(QString *error)
{
    if (m_pages == 0) {
        *error = QStringLiteral("Nessuna pagina da stampare nell'intervallo richiesto (%1 - %2)").arg(m_range.from).arg(m_range.to);
        return false;
    }
    if (m_painter->isActive() && !m_painter->end()) {
        *error = QStringLiteral("Impossibile creare il documento PDF");
        return false;
    }
    return true;
}

PdfRenderer::PdfRenderer(QString path, PageRange range) : m_path(std::move(path)), m_pdf({}, range) {}

PdfRenderer::~PdfRenderer() = default;

bool PdfRenderer::PageDone(const Document &doc, const Page &page, QString *error)
{
    if (!m_pdf.Wants(page))
        return true;
    if (!m_file) {
        m_file = std::make_unique<OutputFile>(m_path);
        if (!m_file->Open(error)) {
            m_error = *error;
            return false;
        }
    }
    if (!m_error.isEmpty()) {
        *error = m_error;
        return false;
    }
    if (!m_pdf.Add(m_file.get(), doc, page, error)) {
        m_error = *error;
        return false;
    }
    return true;
}

bool PdfRenderer::Finish(const Document &, QString *error)
{
    if (!m_error.isEmpty()) {
        *error = m_error;
        return false;
    }
    if (!m_pdf.End(error))
        return false;
    return m_file->Commit(error);
}

// ---------------------------------------------------------------- spool files

SpoolFile::SpoolFile(const QString &suffix)
    : m_file(QDir(QDir::tempPath()).filePath(QStringLiteral("kemspool-%1-%2%3")
                                                 .arg(QCoreApplication::applicationPid())
                                                 .arg(spoolSequence.fetchAndAddRelaxed(1))
                                                 .arg(suffix)))
{
}

SpoolFile::~SpoolFile()
{
    if (m_committed)
        QFile::remove(m_file.Target());
}

bool SpoolFile::Open(QString *error)
{
    if (m_file.Open(error))
        return true;
    *error = QStringLiteral("Impossibile creare il file temporaneo di stampa: %1").arg(*error);
    return false;
}

bool SpoolFile::Commit(QString *error)
{
    if (!m_file.Commit(error)) {
        *error = QStringLiteral("Impossibile creare il file temporaneo di stampa: %1").arg(*error);
        return false;
    }
    m_committed = true;
    return true;
}

PrinterRenderer::PrinterRenderer(std::shared_ptr<PrintSubmitter> submitter, PrintJob job, QPointF offsetMm, PageRange range)
    : m_submitter(std::move(submitter)), m_job(std::move(job)), m_pdf(offsetMm, range)
{
}

PrinterRenderer::~PrinterRenderer() = default;

bool PrinterRenderer::PageDone(const Document &doc, const Page &page, QString *error)
{
    m_anyContent = m_anyContent || !page.isEmpty();
    if (!m_pdf.Wants(page))
        return true;
    if (!m_spool) {
        m_spool = std::make_unique<SpoolFile>(QStringLiteral(".pdf"));
        if (!m_spool->Open(error)) {
            m_error = *error;
            return false;
        }
    }
    if (!m_error.isEmpty()) {
        *error = m_error;
        return false;
    }
    if (!m_pdf.Add(m_spool->Device(), doc, page, error)) {
        m_error = *error;
        return false;
    }
    return true;
}

bool PrinterRenderer::Finish(const Document &, QString *error)
{
    if (!m_anyContent)
        return true;  // nothing printed: no blank sheet
    if (!m_error.isEmpty()) {
        *error = m_error;
        return false;
    }
    if (!m_pdf.End(error))
        return false;
    m_pdf.Close();
    if (!m_spool->Commit(error))
        return false;
    PrintJob job = m_job;
    job.file = m_spool->Path();
    job.raw = false;
    const bool ok = m_submitter->Submit(job, &m_jobId, error);
    m_spool.reset();  // the temporary goes once submitted
    return ok;
}

// ---------------------------------------------------------------- preview pages

QString PreviewRenderer::PageFile(const QString &base, int page)
{
    return base + QLatin1Char('.') + QStringLiteral("%1").arg(page, 3, 10, QLatin1Char('0'));
}

bool PreviewRenderer::PageDone(const Document &doc, const Page &page, QString *error)
{
    const double f = m_dpi / 25.4;
    QImage img(int(std::ceil(doc.pageSize.width() * f)), int(std::ceil(doc.pageSize.height() * f)),
               QImage::Format_RGB32);
    if (img.isNull()) {
        *error = QStringLiteral("Memoria insufficiente per la pagina %1 dell'anteprima").arg(page.number);
        return false;
    }
    img.setDotsPerMeterX(int(std::lround(m_dpi / 0.0254)));
    img.setDotsPerMeterY(int(std::lround(m_dpi / 0.0254)));
    img.fill(Qt::white);
    {
        QPainter painter(&img);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        PaintPage(painter, page, f);
    }
    if (page.pictures.isEmpty())  // black text and rules: shades of grey are enough
        img.convertTo(QImage::Format_Grayscale8);
    const QString file = PageFile(m_base, page.number);
    OutputFile out(file);
    QString why;
    // compressed: a page of text takes tens of kilobytes instead of megabytes
    if (!out.Open(&why) || !img.save(&out, "PNG") || !out.Commit(&why)) {
        *error = why.isEmpty() ? QStringLiteral("Impossibile scrivere la pagina dell'anteprima %1").arg(file) : why;
        return false;
    }
    if (!m_files.contains(file))
        m_files.append(file);
    m_lastPage = std::max(m_lastPage, page.number);
    return true;
}

bool PreviewRenderer::Finish(const Document &, QString *)
{
    return true;  // every page was written when it was complete
}

// ---------------------------------------------------------------- streamed files

StreamedFile::StreamedFile(QString path) : m_file(std::move(path)) {}

StreamedFile::~StreamedFile() = default;  // not committed: the target stays as it was

bool StreamedFile::open()
{
    if (!m_opened) {
        m_opened = true;
        m_file.Open(&m_openError);
    }
    return m_openError.isEmpty();
}

void StreamedFile::write(const char *data, qint64 size)
{
    if (open())
        m_file.Write(data, size);
}

void StreamedFile::Write(const QByteArray &bytes)
{
    write(bytes.constData(), bytes.size());
}

void StreamedFile::Write(QStringView text)
{
    m_utf8.resize(m_encoder.requiredSpace(text.size()));
    const char *end = m_encoder.appendToBuffer(m_utf8.data(), text);
    write(m_utf8.constData(), end - m_utf8.constData());
}

bool StreamedFile::Commit(QString *error)
{
    if (!open()) {
        *error = m_openError;
        return false;
    }
    return m_file.Commit(error);
}

// ---------------------------------------------------------------- character layout

QString CharacterLine(const Document &doc, const GridRow &row, int width)
{
    if (width <= 0)
        return {};
    if (row.rule)
        return QString(width, QLatin1Char('-'));
    QString line(width, QLatin1Char(' '));
    const double pw = doc.printableWidth() > 0 ? doc.printableWidth() : 1.0;
    auto mapX = [&](double x) {
        const int c = int(std::lround((x - doc.marginLeft) / pw * width));
        return std::clamp(c, 0, width);
    };
    int cursor = 0;
    for (const GridCell &cell : row.cells) {
        QString text = cell.text;
        text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        const int len = int(text.size());
        int fieldStart, fieldEnd;
        if (cell.charStart >= 0) {
            fieldStart = cell.charStart;
            fieldEnd = fieldStart + cell.charWidth;
            if (cell.lastColumn)
                fieldEnd = std::max(fieldEnd, width);
        } else {
            fieldStart = mapX(cell.left);
            fieldEnd = std::max(mapX(cell.right), fieldStart);
        }
        int start = fieldStart;
        if (cell.align == QLatin1Char('D'))
            start = fieldEnd - len;
        else if (cell.align == QLatin1Char('C'))
            start = (fieldStart + fieldEnd - len) / 2;
        const int least = cursor > 0 ? cursor + 1 : 0;  // never over the text before it
        start = std::max(start, least);
        for (int i = 0; i < len && start + i < width; ++i)
            line[start + i] = text.at(i);
        cursor = start + len;
    }
    return line;
}

void PlainTextRenderer::RowDone(const Document &doc, const GridRow &row)
{
    QString line = CharacterLine(doc, row, doc.charColumns);
    while (line.endsWith(QLatin1Char(' ')))
        line.chop(1);
    m_file.Write(line.toUtf8() + "\r\n");
}

bool PlainTextRenderer::Finish(const Document &, QString *error)
{
    return m_file.Commit(error);
}

// ---------------------------------------------------------------- spreadsheet text

namespace {

int shownDecimals(const QString &text)
{
    const int comma = int(text.lastIndexOf(QLatin1Char(',')));
    return comma < 0 ? -1 : int(text.size()) - comma - 1;
}

// A number without thousands separator and with a decimal comma, with the decimals shown.
QString rawNumber(const GridCell &cell)
{
    const double v = cell.value.toDouble();
    const int dec = shownDecimals(cell.text);
    return dec > 0 ? FormatNum(v, QStringLiteral("0.") + QString(dec, QLatin1Char('0'))) : NumText(v);
}

} // namespace

QString DelimitedTextRenderer::Field(const GridCell &cell) const
{
    QString out;
    appendField(out, cell);
    return out;
}

void DelimitedTextRenderer::appendField(QString &out, const GridCell &cell) const
{
    QString raw;  // only for unformatted numbers
    const QString &s = cell.numeric ? (m_raw ? (raw = rawNumber(cell)) : cell.text) : cell.fileText;
    // A text with a qualifier chosen is always qualified: its characters need no search then.
    const bool quote = (!cell.numeric && !m_qual.isNull())
        || (m_qual.isNull() && s.startsWith(QLatin1Char('"'))) || needsQuoting(s);
    if (!quote) {
        out += s;
        return;
    }
    // Written in place: the qualifiers around it and, at most, every character doubled.
    const char16_t q = m_qual.isNull() ? u'"' : m_qual.unicode();
    const qsizetype at = out.size();
    out.resize(at + 2 * s.size() + 2);
    char16_t *const begin = reinterpret_cast<char16_t *>(out.data());
    char16_t *o = begin + at;
    *o++ = q;
    for (const QChar ch : s) {
        const char16_t c = ch.unicode();
        *o++ = c;
        if (c == q)
            *o++ = q;
    }
    *o++ = q;
    out.resize(o - begin);
}

bool DelimitedTextRenderer::needsQuoting(QStringView s) const
{
    for (const QChar ch : s) {
        const char16_t u = ch.unicode();
        if (u < 64 ? (m_lowSpecials >> u & 1) != 0 : (ch == m_sep || (!m_qual.isNull() && ch == m_qual)))
            return true;
    }
    return false;
}

DelimitedTextRenderer::DelimitedTextRenderer(QString path, QChar separator, QChar qualifier, bool numbersUnformatted)
    : m_file(std::move(path)), m_sep(separator), m_qual(qualifier), m_raw(numbersUnformatted)
{
    QList<QChar> specials = {m_sep, QChar(u'\n'), QChar(u'\r')};
    if (!m_qual.isNull())
        specials.append(m_qual);
    for (const QChar ch : std::as_const(specials))
        if (ch.unicode() < 64)
            m_lowSpecials |= quint64(1) << ch.unicode();
    m_file.Write("\xEF\xBB\xBF");  // UTF-8 mark: spreadsheets then read accented letters right
}

void DelimitedTextRenderer::RowDone(const Document &, const GridRow &row)
{
    if (row.rule)
        return;
    m_line.resize(0);  // keeps its room from the lines before
    bool first = true;
    for (const GridCell &cell : row.cells) {
        if (!cell.toFile)
            continue;
        if (!first)
            m_line += m_sep;
        first = false;
        appendField(m_line, cell);
    }
    m_line += QLatin1String("\r\n");
    m_file.Write(m_line);
}

bool DelimitedTextRenderer::Finish(const Document &, QString *error)
{
    return m_file.Commit(error);
}

// ---------------------------------------------------------------- xlsx

const QString XlsxRenderer::CompanyMarker = QStringLiteral("§ç^&£");

namespace {

// libxlsxwriter tells its failures on standard error besides returning them; the report tells
// them in its own words, so the library's lines are held back while it opens or closes a book.
class LibraryStderrHeld {
public:
    LibraryStderrHeld()
    {
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (m_saved >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~LibraryStderrHeld()
    {
        std::fflush(stderr);
        if (m_saved >= 0) {
            ::dup2(m_saved, STDERR_FILENO);
            ::close(m_saved);
        }
    }
    LibraryStderrHeld(const LibraryStderrHeld &) = delete;
    LibraryStderrHeld &operator=(const LibraryStderrHeld &) = delete;
private:
    int m_saved = -1;
};

QString XlsxErrorText(lxw_error err)
{
    switch (err) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED: return QStringLiteral("memoria insufficiente");
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE: return QStringLiteral("scrittura del foglio di lavoro non riuscita");
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
        return QStringLiteral("troppe righe per un foglio di lavoro (al massimo %1)").arg(LXW_ROW_MAX);
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED: return QStringLiteral("testo di una cella troppo lungo");
    default: return QStringLiteral("errore %1 della scrittura del foglio di lavoro").arg(int(err));
    }
}

} // namespace

// The workbook being written, from the first row: libxlsxwriter writes it row by row (constant
// memory) into a private temporary folder; Finish copies it into the target through an
// OutputFile, so the target is replaced whole or not at all.
struct XlsxRenderer::Book {
    QTemporaryDir dir{QDir(QDir::tempPath()).filePath(QStringLiteral("kemxlsx-XXXXXX"))};
    QString part;
    lxw_workbook *wb = nullptr;
    lxw_worksheet *ws = nullptr;
    QHash<int, lxw_format *> numberFormats;
    QList<int> widths;
    QByteArray company;
    lxw_row_t row = 0;
    lxw_error err = LXW_NO_ERROR;
    bool closed = false;

    Book()
    {
        if (!dir.isValid()) {
            err = LXW_ERROR_CREATING_TMPFILE;
            return;
        }
        part = dir.filePath(QStringLiteral("book.xlsx"));
        QByteArray tmp = QFile::encodeName(dir.path());
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = tmp.data();
        LibraryStderrHeld held;
        wb = workbook_new_opt(QFile::encodeName(part).constData(), &options);
        if (wb)
            ws = workbook_add_worksheet(wb, nullptr);
        if (!ws)
            err = LXW_ERROR_CREATING_XLSX_FILE;
    }
    ~Book()
    {
        if (wb && !closed)
            lxw_workbook_free(wb);  // abandoned: nothing is written
    }
    Book(const Book &) = delete;
    Book &operator=(const Book &) = delete;
    lxw_format *formatFor(int decimals)
    {
        decimals = std::clamp(decimals, 0, 10);
        if (!numberFormats.contains(decimals)) {
            lxw_format *f = workbook_add_format(wb);
            const QByteArray pattern = decimals > 0 ? "#,##0." + QByteArray(decimals, '0') : QByteArray("#,##0");
            format_set_num_format(f, pattern.constData());
            numberFormats.insert(decimals, f);
        }
        return numberFormats.value(decimals);
    }
    lxw_error close()
    {
        closed = true;
        LibraryStderrHeld held;
        return workbook_close(wb);
    }
};

XlsxRenderer::XlsxRenderer(QString path) : m_path(std::move(path)) {}

XlsxRenderer::~XlsxRenderer() = default;

void XlsxRenderer::RowDone(const Document &, const GridRow &row)
{
    if (!m_book)
        m_book = std::make_unique<Book>();
    Book &b = *m_book;
    if (row.rule || b.err != LXW_NO_ERROR)
        return;
    lxw_col_t c = 0;
    for (const GridCell &cell : row.cells) {
        if (!cell.toFile)
            continue;
        if (cell.numeric) {
            const int dec = shownDecimals(cell.text);
            b.err = worksheet_write_number(b.ws, b.row, c, cell.value.toDouble(), b.formatFor(dec < 0 ? 0 : dec));
        } else if (!cell.fileText.isEmpty()) {
            QString text = cell.fileText;
            const qsizetype marker = text.indexOf(CompanyMarker);
            if (marker >= 0) {
                b.company = text.mid(marker + CompanyMarker.size()).trimmed().toUtf8();
                text.truncate(marker);
            }
            b.err = worksheet_write_string(b.ws, b.row, c, text.toUtf8().constData(), nullptr);
        }
        if (b.err != LXW_NO_ERROR)
            return;
        while (b.widths.size() <= int(c))
            b.widths.append(0);
        b.widths[c] = std::max(b.widths[c], int(cell.text.size()));
        ++c;
    }
    ++b.row;
}

bool XlsxRenderer::Finish(const Document &doc, QString *error)
{
    OutputFile out(m_path);
    if (!out.Open(error))
        return false;
    if (!m_book)
        RowDone(doc, GridRow{1, true, {}});  // no rows: an empty workbook
    Book &b = *m_book;
    lxw_error err = b.err;
    for (int c = 0; c < b.widths.size() && err == LXW_NO_ERROR; ++c)
        worksheet_set_column(b.ws, lxw_col_t(c), lxw_col_t(c), std::min(b.widths[c] + 2, 80), nullptr);
    const QByteArray title = doc.title.toUtf8();
    lxw_doc_properties props{};
    props.title = const_cast<char *>(title.constData());
    props.company = const_cast<char *>(b.company.constData());
    if (err == LXW_NO_ERROR && (!title.isEmpty() || !b.company.isEmpty()))
        err = workbook_set_properties(b.wb, &props);
    if (b.wb) {
        const lxw_error closeErr = b.close();
        if (err == LXW_NO_ERROR)
            err = closeErr;
    }
    if (err != LXW_NO_ERROR) {
        *error = QStringLiteral("Impossibile scrivere il file %1: %2").arg(m_path, XlsxErrorText(err));
        return false;
    }
    QFile part(b.part);
    if (!part.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Impossibile scrivere il file %1: %2").arg(m_path, XlsxErrorText(LXW_ERROR_READING_TMPFILE));
        return false;
    }
    QByteArray chunk;
    while (!(chunk = part.read(1 << 20)).isEmpty())
        if (!out.Write(chunk))
            break;
    return out.Commit(error);
}

// ---------------------------------------------------------------- fixed width

QByteArray FixedWidthRenderer::ParseSequence(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    static const QRegularExpression codes(QStringLiteral("^\\d{1,3}([ ,;]+\\d{1,3})*$"));
    if (codes.match(t).hasMatch()) {
        QByteArray out;
        for (const QString &part : t.split(QRegularExpression(QStringLiteral("[ ,;]+")), Qt::SkipEmptyParts)) {
            const int v = part.toInt();
            if (v > 255)
                return t.toLatin1();
            out.append(char(v));
        }
        return out;
    }
    return t.toLatin1();
}

FixedWidthRenderer::FixedWidthRenderer(FixedWidthFormat fmt, QString path)
    : m_fmt(std::move(fmt)), m_file(std::make_unique<StreamedFile>(std::move(path)))
{
    put(m_fmt.compressOn);
}

FixedWidthRenderer::FixedWidthRenderer(FixedWidthFormat fmt, std::shared_ptr<PrintSubmitter> submitter, PrintJob job)
    : m_fmt(std::move(fmt)), m_submitter(std::move(submitter)), m_job(std::move(job))
{
    put(m_fmt.compressOn);
}

void FixedWidthRenderer::put(const QByteArray &bytes)
{
    if (m_file) {
        m_file->Write(bytes);
        return;
    }
    if (!m_spool) {
        m_spool = std::make_unique<SpoolFile>(QStringLiteral(".txt"));
        m_spool->Open(&m_spoolError);
    }
    if (m_spoolError.isEmpty())
        m_spool->Device()->write(bytes);
}

// Writes the page in hand: its lines between the blank lines of the margins, padded to the
// lines of a page.
void FixedWidthRenderer::emitPage()
{
    const int body = std::max(1, m_fmt.rows - m_fmt.top - m_fmt.bottom);
    const QByteArray blank = QByteArray(m_fmt.columns, ' ') + "\r\n";
    QByteArray out;
    for (int i = 0; i < m_fmt.top; ++i)
        out += blank;
    for (const QString &l : std::as_const(m_lines))
        out += l.toLatin1() + "\r\n";
    for (qsizetype i = m_lines.size(); i < body; ++i)
        out += blank;
    for (int i = 0; i < m_fmt.bottom; ++i)
        out += blank;
    put(out);
    m_lines.clear();
}

void FixedWidthRenderer::RowDone(const Document &doc, const GridRow &row)
{
    const int body = std::max(1, m_fmt.rows - m_fmt.top - m_fmt.bottom);
    if (m_rows == 0)
        m_page = row.page;
    if (row.page != m_page || m_lines.size() == body) {
        emitPage();
        m_page = row.page;
    }
    m_lines.append(CharacterLine(doc, row, m_fmt.columns));
    ++m_rows;
}

bool FixedWidthRenderer::Finish(const Document &, QString *error)
{
    if (!m_lines.isEmpty())
        emitPage();
    put(m_fmt.compressOff);
    if (m_file)
        return m_file->Commit(error);
    if (m_rows == 0)
        return true;  // nothing printed: no blank sheet
    if (!m_spoolError.isEmpty()) {
        *error = m_spoolError;
        return false;
    }
    if (!m_spool->Commit(error))
        return false;
    PrintJob job = m_job;
    job.file = m_spool->Path();
    job.raw = true;
    int id = 0;
    const bool ok = m_submitter->Submit(job, &id, error);
    m_spool.reset();  // the temporary goes once submitted
    return ok;
}

} // namespace kem
