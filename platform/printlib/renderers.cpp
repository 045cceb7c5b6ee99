#include "renderers.h"

#include "kemutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>

namespace kem {

bool Renderer::PageDone(const Document &, int, QString *)
{
    return true;
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

bool WritePdf(const Document &doc, QIODevice *device, QPointF offsetMm, PageRange range, QString *error)
{
    QList<int> pages;
    for (int i = 0; i < doc.pages.size(); ++i)
        if (range.contains(doc.pages.at(i).number))
            pages.append(i);
    if (pages.isEmpty()) {
        *error = QStringLiteral("Nessuna pagina da stampare nell'intervallo richiesto (%1 - %2)").arg(range.from).arg(range.to);
        return false;
    }
    QPdfWriter writer(device);
    writer.setResolution(1200);
    writer.setTitle(doc.title);
    writer.setCreator(QStringLiteral("Kemora"));
    const QPageLayout layout(QPageSize(doc.sheetSize, QPageSize::Millimeter), QPageLayout::Portrait,
                             QMarginsF(0, 0, 0, 0));
    writer.setPageLayout(layout);
    QPainter painter;
    if (!painter.begin(&writer)) {
        *error = QStringLiteral("Impossibile creare il documento PDF");
        return false;
    }
    const double f = writer.resolution() / 25.4;
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        PaintPage(painter, doc.pages.at(pages.at(i)), f, offsetMm);
    }
    painter.end();
    return true;
}

bool PdfRenderer::Finish(const Document &doc, QString *error)
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Impossibile scrivere il file %1: %2").arg(m_path, file.errorString());
        return false;
    }
    if (!WritePdf(doc, &file, {}, m_range, error))
        return false;
    if (!file.commit()) {
        *error = QStringLiteral("Impossibile scrivere il file %1: %2").arg(m_path, file.errorString());
        return false;
    }
    return true;
}

bool PrinterRenderer::Finish(const Document &doc, QString *error)
{
    if (std::all_of(doc.pages.cbegin(), doc.pages.cend(), [](const Page &p) { return p.isEmpty(); }))
        return true;  // nothing printed: no blank sheet
    QTemporaryFile tmp(QDir::tempPath() + QStringLiteral("/kemprint-XXXXXX.pdf"));
    if (!tmp.open()) {
        *error = QStringLiteral("Impossibile creare il file temporaneo di stampa: %1").arg(tmp.errorString());
        return false;
    }
    if (!WritePdf(doc, &tmp, m_offset, m_range, error))
        return false;
    tmp.flush();
    PrintJob job = m_job;
    job.file = tmp.fileName();
    job.raw = false;
    return m_submitter->Submit(job, &m_jobId, error);
}

// ---------------------------------------------------------------- preview pages

QString PreviewRenderer::PageFile(const QString &base, int page)
{
    return base + QLatin1Char('.') + QStringLiteral("%1").arg(page, 3, 10, QLatin1Char('0'));
}

bool PreviewRenderer::PageDone(const Document &doc, int index, QString *error)
{
    if (m_done.contains(index))
        return true;
    const Page &page = doc.pages.at(index);
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
    const QString file = PageFile(m_base, page.number);
    if (!img.save(file, "PNG", 100)) {  // least compression: fastest to write
        *error = QStringLiteral("Impossibile scrivere la pagina dell'anteprima %1").arg(file);
        return false;
    }
    m_done.append(index);
    if (!m_files.contains(file))
        m_files.append(file);
    m_lastPage = std::max(m_lastPage, page.number);
    return true;
}

bool PreviewRenderer::Finish(const Document &doc, QString *error)
{
    for (int i = 0; i < doc.pages.size(); ++i)
        if (!PageDone(doc, i, error))
            return false;
    return true;
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

bool PlainTextRenderer::Finish(const Document &doc, QString *error)
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Impossibile scrivere il file %1: %2").arg(m_path, file.errorString());
        return false;
    }
    QByteArray out;
    for (const GridRow &row : doc.rows) {
        QString line = CharacterLine(doc, row, doc.charColumns);
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        out += line.toUtf8() + "\r\n";
    }
    if (file.write(out) != out.size() || !file.commit()) {
        *error = QStringLiteral("Impossibile scrivere il file %1: %2").arg(m_path, file.errorString());
        return false;
    }
    return true;
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
    const QString s = cell.numeric ? (m_raw ? rawNumber(cell) : cell.text) : cell.fileText;
    const bool risky = s.contains(m_sep) || s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'))
                       || (!m_qual.isNull() && s.contains(m_qual))
                       || (m_qual.isNull() && s.startsWith(QLatin1Char('"')));
    const bool quote = (!cell.numeric && !m_qual.isNull()) || risky;
    if (!quote)
        return s;
    const QChar q = m_qual.isNull() ? QLatin1Char('"') : m_qual;
    QString inner = s;
    inner.replace(q, QString(2, q));
    return q + inner + q;
}

bool DelimitedTextRenderer::Finish(const Document &doc, QString *error)
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Impossibile scrivere il file %1: %2").arg(m_path, file.errorString());
        return false;
    }
    QByteArray out("\xEF\xBB\xBF");  // UTF-8 mark: spreadsheets then read accented letters right
    for (const GridRow &row : doc.rows) {
        if (row.rule)
            continue;
        QStringList fields;
        for (const GridCell &cell : row.cells)
            if (cell.toFile)
                fields << Field(cell);
        out += fields.join(m_sep).toUtf8() + "\r\n";
    }
    if (file.write(out) != out.size() || !file.commit()) {
        *error = QStringLiteral("Impossibile scrivere il file %1: %2").arg(m_path, file.errorString());
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- xlsx

const QString XlsxRenderer::CompanyMarker = QStringLiteral("§ç^&£");

bool XlsxRenderer::Finish(const Document &doc, QString *error)
{
    const QFileInfo target(m_path);
    if (!target.absoluteDir().exists()) {
        *error = QStringLiteral("Impossibile scrivere il file %1: cartella inesistente").arg(m_path);
        return false;
    }
    // The workbook is written beside the target and renamed when complete; the guard removes
    // it on every early return.
    struct PartFile {
        QString path;
        ~PartFile() { if (!path.isEmpty()) QFile::remove(path); }
    } part{target.absoluteDir().filePath(QStringLiteral(".%1.%2.part").arg(target.fileName()).arg(QCoreApplication::applicationPid()))};
    QFile::remove(part.path);
    const QByteArray tmpName = QFile::encodeName(part.path);

    lxw_workbook *wb = workbook_new(tmpName.constData());
    if (!wb) {
        *error = QStringLiteral("Impossibile creare il file %1").arg(m_path);
        return false;
    }
    lxw_worksheet *ws = workbook_add_worksheet(wb, nullptr);
    QByteArray company;
    QHash<int, lxw_format *> numberFormats;
    auto formatFor = [&](int decimals) {
        decimals = std::clamp(decimals, 0, 10);
        if (!numberFormats.contains(decimals)) {
            lxw_format *f = workbook_add_format(wb);
            const QByteArray pattern = decimals > 0 ? "#,##0." + QByteArray(decimals, '0') : QByteArray("#,##0");
            format_set_num_format(f, pattern.constData());
            numberFormats.insert(decimals, f);
        }
        return numberFormats.value(decimals);
    };
    QList<int> widths;
    lxw_row_t r = 0;
    lxw_error err = LXW_NO_ERROR;
    for (const GridRow &row : doc.rows) {
        if (row.rule)
            continue;
        lxw_col_t c = 0;
        for (const GridCell &cell : row.cells) {
            if (!cell.toFile)
                continue;
            if (cell.numeric) {
                const int dec = shownDecimals(cell.text);
                err = worksheet_write_number(ws, r, c, cell.value.toDouble(), formatFor(dec < 0 ? 0 : dec));
            } else if (!cell.fileText.isEmpty()) {
                QString text = cell.fileText;
                const qsizetype marker = text.indexOf(CompanyMarker);
                if (marker >= 0) {
                    company = text.mid(marker + CompanyMarker.size()).trimmed().toUtf8();
                    text.truncate(marker);
                }
                err = worksheet_write_string(ws, r, c, text.toUtf8().constData(), nullptr);
            }
            if (err != LXW_NO_ERROR)
                break;
            while (widths.size() <= int(c))
                widths.append(0);
            widths[c] = std::max(widths[c], int(cell.text.size()));
            ++c;
        }
        if (err != LXW_NO_ERROR)
            break;
        ++r;
    }
    for (int c = 0; c < widths.size() && err == LXW_NO_ERROR; ++c)
        worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), std::min(widths[c] + 2, 80), nullptr);
    const QByteArray title = doc.title.toUtf8();
    lxw_doc_properties props{};
    props.title = const_cast<char *>(title.constData());
    props.company = const_cast<char *>(company.constData());
    if (err == LXW_NO_ERROR && (!title.isEmpty() || !company.isEmpty()))
        err = workbook_set_properties(wb, &props);
    const lxw_error closeErr = workbook_close(wb);
    if (err == LXW_NO_ERROR)
        err = closeErr;
    if (err != LXW_NO_ERROR) {
        *error = QStringLiteral("Impossibile scrivere il file %1: %2").arg(m_path, QString::fromUtf8(lxw_strerror(err)));
        return false;
    }
    QFile::remove(m_path);
    if (!QFile::rename(part.path, m_path)) {
        *error = QStringLiteral("Impossibile scrivere il file %1").arg(m_path);
        return false;
    }
    part.path.clear();
    return true;
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

QByteArray FixedWidthRenderer::Render(const Document &doc) const
{
    const int body = std::max(1, m_fmt.rows - m_fmt.top - m_fmt.bottom);
    const QByteArray blank = QByteArray(m_fmt.columns, ' ') + "\r\n";
    QByteArray out = m_fmt.compressOn;
    auto emitPage = [&](const QList<QString> &lines) {
        for (int i = 0; i < m_fmt.top; ++i)
            out += blank;
        for (const QString &l : lines)
            out += l.toLatin1() + "\r\n";
        for (qsizetype i = lines.size(); i < body; ++i)
            out += blank;
        for (int i = 0; i < m_fmt.bottom; ++i)
            out += blank;
    };
    QList<QString> lines;
    int page = doc.rows.isEmpty() ? 0 : doc.rows.first().page;
    for (const GridRow &row : doc.rows) {
        if (row.page != page || lines.size() == body) {
            emitPage(lines);
            lines.clear();
            page = row.page;
        }
        lines.append(CharacterLine(doc, row, m_fmt.columns));
    }
    if (!lines.isEmpty())
        emitPage(lines);
    out += m_fmt.compressOff;
    return out;
}

bool FixedWidthRenderer::Finish(const Document &doc, QString *error)
{
    const QByteArray data = Render(doc);
    if (m_submitter) {
        if (doc.rows.isEmpty())
            return true;  // nothing printed: no blank sheet
        QTemporaryFile tmp(QDir::tempPath() + QStringLiteral("/kemfix-XXXXXX.txt"));
        if (!tmp.open() || tmp.write(data) != data.size() || !tmp.flush()) {
            *error = QStringLiteral("Impossibile creare il file temporaneo di stampa: %1").arg(tmp.errorString());
            return false;
        }
        PrintJob job = m_job;
        job.file = tmp.fileName();
        job.raw = true;
        int id = 0;
        return m_submitter->Submit(job, &id, error);
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        *error = QStringLiteral("Impossibile scrivere il file %1: %2").arg(m_path, file.errorString());
        return false;
    }
    return true;
}

} // namespace kem
