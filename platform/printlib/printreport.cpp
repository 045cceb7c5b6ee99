#include "platform/printlib/printreport.h"

#include "platform/printlib/columnfit.h"
#include "platform/util/kemutil.h"
#include "platform/printlib/papers.h"
#include "platform/printlib/previewfolder.h"
#include "platform/printlib/renderers.h"
#include "platform/printlib/textmeasure.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <string>

namespace kem {

namespace {

// "1.234,50", "-12", "0,5": a number written the Italian way, thousands grouped by points.
// Only text of exactly this shape counts as a number (codes such as "12A" or dates do not):
// an optional minus, then either plain digits or groups of three after one to three leading
// digits, then optionally a comma and digits. Every right-aligned cell of a report passes here,
// so the shape is checked in one scan and the digits are converted without copies.
bool readItalianNumber(const QString &text, double *value)
{
    const QStringView t = QStringView(text).trimmed();
    char buffer[64];
    std::string spill;  // only for numbers longer than the buffer
    const qsizetype n = t.size();
    char *out = n < qsizetype(sizeof buffer) ? buffer : (spill.resize(size_t(n) + 1), spill.data());
    char *o = out;
    qsizetype i = 0;
    auto digit = [&](qsizetype k) { return k < n && t[k] >= u'0' && t[k] <= u'9'; };
    if (i < n && t[i] == u'-')
        *o++ = '-', ++i;
    const qsizetype start = i;
    while (digit(i))
        *o++ = char(t[i++].unicode());
    const qsizetype lead = i - start;
    if (lead == 0)
        return false;
    if (i < n && t[i] == u'.') {
        if (lead > 3)
            return false;
        while (i < n && t[i] == u'.') {
            if (!(digit(i + 1) && digit(i + 2) && digit(i + 3)) || digit(i + 4))
                return false;
            for (int k = 1; k <= 3; ++k)
                *o++ = char(t[i + k].unicode());
            i += 4;
        }
    }
    if (i < n && t[i] == u',') {
        ++i;
        if (!digit(i))
            return false;
        *o++ = '.';
        while (digit(i))
            *o++ = char(t[i++].unicode());
    }
    if (i != n)
        return false;
    // Up to 15 digits the digits make an exact integer and the decimal places an exact power
    // of ten: their quotient, rounded once, is the double nearest to the text, as from_chars
    // finds it.
    static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10,
                                        1e11, 1e12, 1e13, 1e14, 1e15};
    const bool minus = *out == '-';
    const char *digits = out + (minus ? 1 : 0);
    if (o - digits <= 15) {
        quint64 m = 0;
        int places = -1;
        for (const char *c = digits; c != o; ++c) {
            if (*c == '.') {
                places = 0;
                continue;
            }
            m = m * 10 + quint64(*c - '0');
            if (places >= 0)
                ++places;
        }
        const double d = double(m) / kPow10[places < 0 ? 0 : places];
        *value = minus ? -d : d;
        return true;
    }
    double d = 0;
    const auto res = std::from_chars(out, o, d);
    if (res.ec != std::errc() || res.ptr != o || !std::isfinite(d))
        return false;
    *value = d;
    return true;
}

bool isNumberVariant(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

// A number in a display format such as "#,##0.00"; without a format, as plain text.
QString formatNumber(double v, const QString &format)
{
    return format.isEmpty() ? NumText(v) : FormatNum(v, format);
}

} // namespace

PrintReport::PrintReport(QObject *parent) : QObject(parent)
{
    m_doc.pageSize = m_doc.sheetSize = PageSizeForPaper(0).size(QPageSize::Millimeter);
}

PrintReport::~PrintReport()
{
    PreviewPagesDelete();
    if (m_state != State::Idle && !m_jobOverSent)
        jobFinished(m_state == State::Ended ? JobPreviewClosed : JobCancelled);
}

bool PrintReport::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool PrintReport::ready(const char *op)
{
    Q_UNUSED(op)  // names the routine for who reads the code; the user is told what is wrong
    if (m_state != State::InDoc)
        return fail(QStringLiteral("Nessun documento di stampa aperto"));
    return true;
}

void PrintReport::StopSet(int code)
{
    m_stop = code;
}

// ---------------------------------------------------------------- styles and measuring

bool PrintReport::FontAdd(const QString &name, const PrintFont &font)
{
    if (name.trimmed().isEmpty())
        return fail(QStringLiteral("Stile di stampa senza nome"));
    if (font.Size <= 0)
        return fail(QStringLiteral("Dimensione del carattere non valida per lo stile di stampa %1").arg(name));
    m_styles.insert(name.trimmed().toLower(), Style{font});
    refreshCurrentFont();
    return true;
}

bool PrintReport::StyleSelect(const QString &name)
{
    // Reports select their body style once per line: selecting the current style again
    // changes nothing (the working font follows every FontAdd already), so it costs no lookup.
    if (!m_style.isEmpty() && name == m_style)
        return true;
    if (!m_styles.contains(name.trimmed().toLower()))
        return fail(QStringLiteral("Stile inesistente: %1").arg(name));
    m_style = name.trimmed();
    refreshCurrentFont();
    return true;
}

bool PrintReport::StyleFontGet(const QString &name, PrintFont *font) const
{
    const auto it = m_styles.constFind(name.trimmed().toLower());
    if (it == m_styles.constEnd())
        return false;
    if (font)
        *font = it->font;
    return true;
}

void PrintReport::refreshCurrentFont()
{
    m_currentFont = PrintFont();  // a fresh working font: arial 8
    StyleFontGet(m_style, &m_currentFont);
    m_currentMeasure = nullptr;
}

TextMeasure &PrintReport::measure(const PrintFont &font) const
{
    return m_measures.For(font);
}

TextMeasure &PrintReport::currentMeasure() const
{
    if (!m_currentMeasure)
        m_currentMeasure = &measure(m_currentFont);
    return *m_currentMeasure;
}

PrintReport::Metrics PrintReport::metricsFor(const PrintFont &font) const
{
    const TextMeasure &m = measure(font);
    return Metrics{m.Ascent(), m.Descent(), m.LineSpacing()};
}

double PrintReport::TextWidthGet(const QString &text) const
{
    return currentMeasure().Width(text);
}

double PrintReport::LineHeightGet() const
{
    return currentMeasure().LineSpacing() + m_interl;
}

bool PrintReport::AlignSet(const QString &code)
{
    if (code.size() == 1) {
        const QChar c = code.at(0);
        if (c == QLatin1Char('S') || c == QLatin1Char('C') || c == QLatin1Char('D')) {
            m_align = c;
            return true;
        }
    }
    const QString c = code.trimmed().toUpper();
    if (c != QLatin1String("S") && c != QLatin1String("C") && c != QLatin1String("D"))
        return fail(QStringLiteral("Allineamento non valido: %1").arg(code));
    m_align = c.at(0);
    return true;
}

// ---------------------------------------------------------------- columns

void PrintReport::ColumnsClear()
{
    m_columns.clear();
}

int PrintReport::ColumnAdd(const QString &sample, qint16 piNumber, const QString &option)
{
    const QString opt = option.trimmed().toUpper();
    ColumnDef c;
    c.id = m_nextColumn++;
    const bool first = m_columns.isEmpty() || opt.contains(QLatin1Char('P'));
    c.sampleWidth = TextWidthGet(sample);
    c.align = m_align;
    c.number = piNumber;
    c.option = opt;
    c.lastColumn = opt.contains(QLatin1Char('U'));
    c.charWidth = piNumber > 0 ? piNumber : int(sample.size());
    c.charStart = first ? 0 : m_columns.last().charStart + m_columns.last().charWidth + 1;
    m_columns.append(c);
    // The set, from its first column on, is placed again as a whole: on drawn pages it is narrowed
    // to fit between the margins, while the outputs made of cells keep the measured widths.
    qsizetype from = m_columns.size() - 1;
    while (from > 0 && !m_columns.at(from).option.contains(QLatin1Char('P')))
        --from;
    QList<ColumnFitItem> items;
    for (qsizetype i = from; i < m_columns.size(); ++i)
        items.append({m_columns.at(i).sampleWidth, m_columns.at(i).option.contains(QLatin1Char('U'))});
    const QList<ColumnSpan> spans = FitColumns(items, m_doc.marginLeft, m_doc.pageSize.width() - m_doc.marginRight,
                                               2.0, DrawsPages());
    for (qsizetype i = 0; i < spans.size(); ++i) {
        m_columns[from + i].left = spans.at(i).left;
        m_columns[from + i].right = spans.at(i).right;
    }
    return c.id;
}

const ColumnDef *PrintReport::ColumnGet(int id) const
{
    for (const ColumnDef &c : m_columns)
        if (c.id == id)
            return &c;
    return nullptr;
}

// ---------------------------------------------------------------- job

bool PrintReport::JobStart(int piMode, bool *pbCancelled)
{
    bool dummy = false;
    bool &cancelled = pbCancelled ? *pbCancelled : dummy;
    cancelled = false;
    if (m_state == State::Started || m_state == State::InDoc) {
        cancelled = true;
        return fail(QStringLiteral("Un lavoro di stampa è già aperto su questo oggetto"));
    }
    if (m_state == State::Ended)
        PreviewPagesDelete();
    m_renderers.clear();
    m_preview = nullptr;
    m_jobOverSent = false;
    m_previewClosed = false;
    m_previewRequested = 1;
    m_error.clear();
    m_doc.pages.clear();
    m_doc.rows.clear();
    m_pageNum = 0;
    m_run = m_options ? *m_options : PrintOptions();
    auto cancel = [&](const QString &why) {
        fail(why);
        cancelled = true;
        m_state = State::Ended;
        jobFinished(JobCancelled);
        return false;
    };
    if (piMode != 1)
        return cancel(QStringLiteral("Modalità di stampa %1 non prevista").arg(piMode));

    const bool portrait = m_forzaVert == 1 || m_run.ForzaVert == 1;
    m_doc.landscape = m_landscape && !portrait;
    QSizeF size = PageSizeForPaper(m_run.ParamInt(QStringLiteral("NumTipoCarta"))).size(QPageSize::Millimeter);
    if (m_doc.landscape)
        size.transpose();
    m_doc.pageSize = m_doc.sheetSize = size;
    m_doc.charColumns = m_run.FisColonne > 0 ? m_run.FisColonne : 132;
    if (!buildRenderers())
        return cancel(m_error);
    if (m_doc.printableWidth() <= 0 || m_doc.pageSize.height() - m_doc.marginTop - m_doc.marginBottom <= 0)
        return cancel(QStringLiteral("Margini non validi: non resta spazio sulla pagina"));
    m_state = State::Started;
    return true;
}

PageRange PrintReport::pageRange() const
{
    return PageRange{m_run.ParamInt(QStringLiteral("PaginaDa")), m_run.ParamInt(QStringLiteral("PaginaA"))};
}

PrintJob PrintReport::printerJob(const QString &printer) const
{
    PrintJob job;
    job.printer = printer;
    job.title = !m_doc.title.isEmpty() ? m_doc.title : m_reportKey;
    const QString media = CupsMediaForPaper(m_run.ParamInt(QStringLiteral("NumTipoCarta")));
    if (!media.isEmpty())
        job.options.append({QStringLiteral("media"), media});
    const QString source = CupsSourceForBin(m_run.ParamInt(QStringLiteral("NumCassetto")));
    if (!source.isEmpty()) {
        job.options.append({QStringLiteral("media-source"), source});
        job.options.append({QStringLiteral("InputSlot"), source});
    }
    if (!m_doc.landscape && (m_forzaVert == 1 || m_run.ForzaVert == 1))
        job.options.append({QStringLiteral("orientation-requested"), QStringLiteral("3")});
    return job;
}

bool PrintReport::buildRenderers()
{
    if (!m_submitter)
        m_submitter = std::make_shared<CupsSubmitter>();
    auto printerName = [&](QString *name) {
        *name = m_run.NomeStampante.trimmed();
        if (name->isEmpty())
            *name = m_submitter->DefaultPrinter();
        if (name->isEmpty())
            return fail(QStringLiteral("Stampante di default non disponibile"));
        return true;
    };
    auto folderOk = [&](const QString &path) {
        const QFileInfo fi(path);
        if (!fi.absoluteDir().exists())
            return fail(QStringLiteral("La cartella del file di stampa non esiste: %1").arg(fi.absolutePath()));
        if (fi.isDir())
            return fail(QStringLiteral("Il nome del file di stampa indica una cartella: %1").arg(path));
        return true;
    };
    const QString noFile = QStringLiteral("In caso di stampa su file è obbligatorio specificare il nome file.");

    switch (m_run.StaVid) {
    case PrintOptions::Printer: {
        if (m_pdfAuto) {
            QVariant p = ParamGet(QStringLiteral("PdfAutomImpPar"));
            if (!p.isValid())
                p = m_run.ParamGet(QStringLiteral("PdfAutomImpPar"));
            const QString path = p.toString().trimmed();
            if (path.isEmpty())
                return fail(QStringLiteral("Nome del file PDF automatico non indicato"));
            if (!folderOk(path))
                return false;
            m_renderers.push_back(std::make_unique<PdfRenderer>(path, pageRange()));
            return true;
        }
        QString printer;
        if (!printerName(&printer))
            return false;
        // As on the printers' own drivers, positions start at the corner of the printable area.
        const PrintJob job = printerJob(printer);
        QMarginsF hw = m_submitter->HardwareMargins(printer, job.option(QStringLiteral("media")));
        if (m_doc.landscape) {
            const double m = std::max({hw.left(), hw.top(), hw.right(), hw.bottom()});
            hw = QMarginsF(m, m, m, m);
        }
        m_doc.pageSize = QSizeF(m_doc.sheetSize.width() - hw.left() - hw.right(),
                                m_doc.sheetSize.height() - hw.top() - hw.bottom());
        m_renderers.push_back(std::make_unique<PrinterRenderer>(
            m_submitter, job, QPointF(hw.left() + m_dx, hw.top() + m_dy), pageRange()));
        return true;
    }
    case PrintOptions::Preview: {
        m_previewFolder = std::make_unique<PreviewFolder>();
        if (!m_previewFolder->Valid())
            return fail(m_previewFolder->Error());
        m_previewBase = QDir(m_previewFolder->Path()).filePath(QStringLiteral("pagina"));
        // 96 dpi at factor 1; the factor is kept between 0.25 and 4 so a page image stays small
        const double dpi = 96.0 * (m_fatt > 0 ? std::clamp(double(m_fatt), 0.25, 4.0) : 1.0);
        auto r = std::make_unique<PreviewRenderer>(m_previewBase, dpi);
        m_preview = r.get();
        m_renderers.push_back(std::move(r));
        return true;
    }
    case PrintOptions::File: {
        const QString path = m_run.FileName.trimmed();
        if (path.isEmpty())
            return fail(noFile);
        if (!folderOk(path))
            return false;
        switch (m_run.FileForm) {
        case PrintOptions::SpreadsheetText: {
            QChar sep, qual;
            if (!m_run.SeparatorChar(&sep, &m_error) || !m_run.QualifierChar(&qual, &m_error))
                return false;
            m_renderers.push_back(std::make_unique<DelimitedTextRenderer>(path, sep, qual, m_run.NumNoForm));
            return true;
        }
        case PrintOptions::PlainText:
            m_renderers.push_back(std::make_unique<PlainTextRenderer>(path));
            return true;
        case PrintOptions::Xlsx:
            m_renderers.push_back(std::make_unique<XlsxRenderer>(path));
            return true;
        case PrintOptions::PdfFile:
            m_renderers.push_back(std::make_unique<PdfRenderer>(path, pageRange()));
            return true;
        }
        return fail(QStringLiteral("Formato del file di stampa non valido (%1)").arg(m_run.FileForm));
    }
    case PrintOptions::FixedWidth: {
        FixedWidthFormat fmt;
        fmt.columns = m_run.FisColonne;
        fmt.rows = m_run.FisRighe;
        fmt.top = m_run.FisMrAlt;
        fmt.bottom = m_run.FisMrBas;
        if (fmt.columns < 1 || fmt.rows < 1 || fmt.top < 0 || fmt.bottom < 0 || fmt.top + fmt.bottom >= fmt.rows)
            return fail(QStringLiteral("Parametri della stampa a lunghezza fissa non validi: colonne %1, righe %2, "
                                       "righe vuote in alto %3, in basso %4")
                            .arg(fmt.columns).arg(fmt.rows).arg(fmt.top).arg(fmt.bottom));
        if (m_run.FisUtilComp) {
            fmt.compressOn = FixedWidthRenderer::ParseSequence(m_run.FisCodIniComp);
            fmt.compressOff = FixedWidthRenderer::ParseSequence(m_run.FisCodFinComp);
        }
        if (m_run.FisStampante) {
            QString printer;
            if (!printerName(&printer))
                return false;
            PrintJob job = printerJob(printer);
            job.options.clear();  // raw text: the printer's own paper and bin
            m_renderers.push_back(std::make_unique<FixedWidthRenderer>(fmt, m_submitter, job));
            return true;
        }
        const QString path = m_run.FisFileName.trimmed();
        if (path.isEmpty())
            return fail(noFile);
        if (!folderOk(path))
            return false;
        m_renderers.push_back(std::make_unique<FixedWidthRenderer>(fmt, path));
        return true;
    }
    }
    return fail(QStringLiteral("Destinazione di stampa non valida (%1)").arg(m_run.StaVid));
}

bool PrintReport::DocBegin()
{
    if (m_state != State::Started)
        return fail(QStringLiteral("Il lavoro di stampa non è aperto"));
    m_state = State::InDoc;
    m_line.clear();
    startPage();
    return true;
}

bool PrintReport::DocEnd()
{
    if (m_state == State::Started) {  // document never begun
        m_state = State::Ended;
        jobFinished(m_previewClosed ? JobPreviewClosed : m_stop ? JobStopped : JobCancelled);
        return true;
    }
    if (m_state != State::InDoc)
        return true;
    const bool preview = m_preview != nullptr;
    if (!m_line.isEmpty() && (!m_stop || preview))
        placeLine();
    m_line.clear();
    const bool lastPageBlank = m_pageNum > 1 && m_doc.pages.last().isEmpty();
    if (lastPageBlank)
        m_doc.pages.removeLast();
    m_state = State::Ended;
    if (preview && m_previewClosed) {
        PreviewPagesDelete();
        jobFinished(JobPreviewClosed);
        return true;
    }
    if (m_stop && !preview) {
        m_renderers.clear();
        jobFinished(JobStopped);
        return true;
    }
    bool ok = true;
    QString error;
    if (!lastPageBlank)
        for (auto &r : m_renderers)
            if (!r->PageDone(m_doc, m_doc.pages.last(), &error)) {
                ok = false;
                break;
            }
    for (auto &r : m_renderers)
        if (ok && !r->Finish(m_doc, &error)) {
            ok = false;
            break;
        }
    if (!ok) {
        fail(error);
        jobFinished(JobFailed);
        return false;
    }
    if (!preview)
        jobFinished(JobPrinted);
    return true;
}

void PrintReport::jobFinished(int reason)
{
    if (m_jobOverSent)
        return;
    m_jobOverSent = true;
    if (m_owner)
        m_owner->oiStaAttLet(0);
    emit jobOver(reason);
}

void PrintReport::letEvents()
{
    if (!(m_jobMode & ModeLetEvents))
        return;
    if (m_pump)
        m_pump();
    else if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

// ---------------------------------------------------------------- pages and lines

void PrintReport::trimDocument()
{
    if (m_keepPages < 0)
        return;
    while (m_doc.pages.size() > m_keepPages) {
        const int dropped = m_doc.pages.first().number;
        m_doc.pages.removeFirst();
        while (!m_doc.rows.isEmpty() && m_doc.rows.first().page <= dropped)
            m_doc.rows.removeFirst();
    }
}

void PrintReport::startPage()
{
    trimDocument();
    Page p;
    p.number = ++m_pageNum;
    // Pages of a run hold about as many texts as the one before.
    if (!m_doc.pages.isEmpty())
        p.texts.reserve(m_doc.pages.last().texts.size());
    m_doc.pages.append(std::move(p));
    m_y = m_doc.marginTop;
    m_x = m_doc.marginLeft;
    m_pageLines = 0;
    emit pageStarted(m_pageNum);
}

bool PrintReport::finishPage()
{
    if (!m_line.isEmpty())
        placeLine();
    QString error;
    for (auto &r : m_renderers)
        if (!r->PageDone(m_doc, m_doc.pages.last(), &error))
            return fail(error);
    return true;
}

bool PrintReport::PageNew()
{
    if (!ready("PageNew"))
        return false;
    if (m_stop)
        return true;
    const bool ok = nextPage();
    letEvents();
    return ok;
}

bool PrintReport::nextPage()
{
    const bool ok = finishPage();
    holdForPreview(m_pageNum + 1);
    startPage();
    return ok;
}

void PrintReport::holdForPreview(int page)
{
    if (!m_preview || !m_previewHold)
        return;
    while (!m_stop && m_previewRequested < page) {
        if (m_pump)
            m_pump();
        else if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        else
            return;
    }
}

bool PrintReport::placeLine()
{
    // The items are taken out of m_line (whatever lays the line out may print again), and
    // handed back emptied afterwards so that the next line reuses their room.
    QList<Pending> items;
    items.swap(m_line);
    const double rightEdge = m_doc.pageSize.width() - m_doc.marginRight;
    double groupWidth = 0;
    int lastRight = -1;
    for (int i = 0; i < items.size(); ++i)
        if (items[i].rightGroup) {
            groupWidth += items[i].run.width + items[i].gapAfter;
            lastRight = i;
        }
    if (lastRight >= 0) {
        groupWidth -= items[lastRight].gapAfter;
        double x = rightEdge - groupWidth;
        for (Pending &p : items)
            if (p.rightGroup) {
                p.run.x = x;
                p.cell.left = x;
                p.cell.right = x + p.run.width;
                x += p.run.width + p.gapAfter;
            }
    }
    double ascent = 0, descent = 0, spacing = 0;
    if (items.isEmpty()) {
        const Metrics m = metricsFor(currentFont());  // the current style's line
        ascent = m.ascent;
        descent = m.descent;
        spacing = m.lineSpacing;
    }
    for (const Pending &p : items) {
        ascent = std::max(ascent, p.m.ascent);
        descent = std::max(descent, p.m.descent);
        spacing = std::max(spacing, p.m.lineSpacing);
    }
    const double height = std::max(spacing, ascent + descent) + m_interl;

    // A line that would run off the sheet goes to a new page rather than being lost.
    const double bottom = m_doc.pageSize.height() - m_doc.marginBottom;
    if (!fixedMode() && m_y + height > bottom + 1e-6 && !m_doc.pages.last().isEmpty())
        nextPage();
    Page &page = m_doc.pages.last();
    GridRow row;
    row.page = m_pageNum;
    row.cells.reserve(items.size());
    for (Pending &p : items) {
        p.run.baseline = m_y + ascent;
        page.texts.append(std::move(p.run));
        if (p.hasCell)
            row.cells.append(std::move(p.cell));
    }
    m_doc.rows.append(std::move(row));
    if (m_line.isEmpty()) {
        items.clear();
        m_line.swap(items);
    }
    for (auto &r : m_renderers)
        r->RowDone(m_doc, m_doc.rows.last());
    m_y += height;
    m_x = m_doc.marginLeft;
    ++m_pageLines;
    return true;
}

bool PrintReport::LineEnd()
{
    if (!ready("LineEnd"))
        return false;
    if (m_stop)
        return true;
    placeLine();
    letEvents();
    return true;
}

bool PrintReport::RoomCheck(int lines, QString *psText, double *pdRoom, bool *pbBreak)
{
    if (psText)
        psText->clear();
    bool brk = false;
    double room = 0;
    if (!ready("RoomCheck")) {
        brk = false;
    } else if (fixedMode()) {
        room = (m_run.FisRighe - m_run.FisMrAlt - m_run.FisMrBas) - m_pageLines;
        brk = lines > room;
    } else {
        room = m_doc.pageSize.height() - m_doc.marginBottom - m_y;
        brk = lines * LineHeightGet() > room + 1e-6;
    }
    if (pdRoom)
        *pdRoom = room;
    if (pbBreak)
        *pbBreak = brk;
    return brk;
}

bool PrintReport::SkipGet() const
{
    return m_state != State::InDoc || m_stop != 0;
}

void PrintReport::placeItem(Pending &p, const PrintFont &font, const TextMeasure &tm, QString text, double x,
                            double width, bool rightGroup, double gapAfter)
{
    p.run.x = x;
    p.run.width = width;
    p.run.style = m_style;
    p.run.font = font;
    p.run.text = std::move(text);
    p.m = Metrics{tm.Ascent(), tm.Descent(), tm.LineSpacing()};
    p.rightGroup = rightGroup;
    p.gapAfter = gapAfter;
}

void PrintReport::addItem(const PrintFont &font, const TextMeasure &tm, const QString &text, double x,
                          double width, QChar align, bool rightGroup, double gapAfter, GridCell *cell)
{
    Pending &p = m_line.emplace_back();
    placeItem(p, font, tm, text, x, width, rightGroup, gapAfter);
    if (cell) {
        p.cell = std::move(*cell);
        p.cell.align = align;
        p.hasCell = true;
    }
}

// ---------------------------------------------------------------- printing

bool PrintReport::CellPrint(int column, const QVariant &value, bool pbLineData, bool pbClip,
                            const QString &psFormat, const QString &psFileValue)
{
    if (!ready("CellPrint"))
        return false;
    if (m_stop)
        return true;
    const ColumnDef *col = ColumnGet(column);
    if (!col)
        return fail(QStringLiteral("Colonna di stampa inesistente (%1)").arg(column));
    // The cell is made where the line keeps it: every line prints several.
    Pending &p = m_line.emplace_back();
    GridCell &cell = p.cell;
    double number = 0;
    if (isNumberVariant(value)) {
        cell.numeric = true;
        cell.value = value.toDouble();
        cell.text = formatNumber(value.toDouble(), psFormat);
    } else {
        cell.text = value.toString();
        if (m_align == QLatin1Char('D') && readItalianNumber(cell.text, &number)) {
            cell.numeric = true;
            cell.value = number;
        } else {
            cell.value = cell.text;
        }
    }
    if (!psFileValue.isEmpty()) {
        bool ok = false;
        number = psFileValue.trimmed().toDouble(&ok);
        cell.numeric = ok;
        cell.value = ok ? QVariant(number) : QVariant(psFileValue);
        cell.fileText = psFileValue;
    } else {
        cell.fileText = cell.text;
    }
    const PrintFont &font = currentFont();
    TextMeasure &tm = currentMeasure();
    const double colWidth = col->right - col->left;
    QString shown = cell.text;
    double width = tm.Width(shown);
    if ((pbClip || DrawsPages()) && width > colWidth) {  // never over the next column on paper
        shown = tm.Elided(shown, colWidth);
        width = tm.Width(shown);
    }
    double x = col->left;
    if (m_align == QLatin1Char('D'))
        x = col->right - width;
    else if (m_align == QLatin1Char('C'))
        x = col->left + (colWidth - width) / 2;
    cell.left = col->left;
    cell.right = col->right;
    cell.column = col->id;
    cell.charStart = col->charStart;
    cell.charWidth = col->charWidth;
    cell.lastColumn = col->lastColumn;
    cell.toFile = pbLineData;
    cell.align = m_align;
    p.hasCell = true;
    placeItem(p, font, tm, std::move(shown), x, width, false, 0);
    m_x = std::max(x + width, col->right);
    return true;
}

bool PrintReport::TextPrint(double pdWidth, const QString &text, bool pbLineData, double *pdOutX)
{
    if (!ready("TextPrint"))
        return false;
    if (m_stop)
        return true;
    const PrintFont &font = currentFont();
    TextMeasure &tm = currentMeasure();
    const double w = tm.Width(text);
    const double field = pdWidth > 0 ? pdWidth : w;
    GridCell cell;
    cell.text = cell.fileText = text;
    cell.value = text;
    cell.toFile = pbLineData;
    bool rightGroup = false;
    double x = m_x;
    cell.left = m_x;
    cell.right = m_x + field;
    if (m_align == QLatin1Char('D')) {
        if (pdWidth > 0)
            x = m_x + field - w;
        else
            rightGroup = true;
    } else if (m_align == QLatin1Char('C')) {
        if (pdWidth > 0) {
            x = m_x + (field - w) / 2;
        } else {
            x = m_doc.marginLeft + (m_doc.printableWidth() - w) / 2;
            cell.left = m_doc.marginLeft;
            cell.right = m_doc.pageSize.width() - m_doc.marginRight;
        }
    }
    addItem(font, tm, text, x, w, m_align, rightGroup, 0, &cell);
    if (!rightGroup)
        m_x = pdWidth > 0 ? m_x + field : x + w;
    if (pdOutX)
        *pdOutX = m_x;
    return true;
}

bool PrintReport::LabelValuePrint(const QString &label, const QVariant &value, double pdWidth,
                                  bool pbLabelBold, bool pbLineData, double pdGap, bool pbValueBold)
{
    if (!ready("LabelValuePrint"))
        return false;
    if (m_stop)
        return true;
    const PrintFont &base = currentFont();
    PrintFont labelFont = base, valueFont = base;
    labelFont.Bold = base.Bold || pbLabelBold;
    valueFont.Bold = base.Bold || pbValueBold;

    GridCell lc;
    lc.text = lc.fileText = label;
    lc.value = label;
    lc.toFile = pbLineData;
    GridCell vc;
    vc.toFile = pbLineData;
    double number = 0;
    if (isNumberVariant(value)) {
        vc.numeric = true;
        vc.value = value.toDouble();
        vc.text = formatNumber(value.toDouble(), QString());
    } else {
        vc.text = value.toString();
        vc.numeric = m_align == QLatin1Char('D') && readItalianNumber(vc.text, &number);
        vc.value = vc.numeric ? QVariant(number) : QVariant(vc.text);
    }
    vc.fileText = vc.text;
    TextMeasure &labelMeasure = measure(labelFont);
    TextMeasure &valueMeasure = measure(valueFont);
    const double space = currentMeasure().Width(QStringLiteral(" "));
    const double gap = pdGap < 0 ? 2 * space : pdGap;
    const double lw = labelMeasure.Width(label);
    const double vw = valueMeasure.Width(vc.text);
    if (m_align == QLatin1Char('D') && pdWidth <= 0) {
        addItem(labelFont, labelMeasure, label, 0, lw, m_align, true, space, &lc);
        addItem(valueFont, valueMeasure, vc.text, 0, vw, m_align, true, gap, &vc);
        return true;
    }
    const double field = pdWidth > 0 ? std::max(pdWidth, vw) : vw;
    const double lx = m_x;
    const double vStart = lx + lw + space;
    const double vx = (vc.numeric || m_align == QLatin1Char('D')) ? vStart + field - vw : vStart;
    lc.left = lx;
    lc.right = lx + lw;
    vc.left = vStart;
    vc.right = vStart + field;
    addItem(labelFont, labelMeasure, label, lx, lw, QLatin1Char('S'), false, 0, &lc);
    addItem(valueFont, valueMeasure, vc.text, vx, vw, vc.numeric ? QLatin1Char('D') : QLatin1Char('S'), false, 0, &vc);
    m_x = vStart + field + gap;
    return true;
}

bool PrintReport::RulePrint(int piPen, int piAbove, int piBelow)
{
    if (!ready("RulePrint"))
        return false;
    if (m_stop)
        return true;
    if (!m_line.isEmpty())
        placeLine();
    const double pen = std::max(piPen, 1) * 0.1;
    const double above = std::max(piAbove, 0) * 25.4 / 72.0;
    const double below = std::max(piBelow, 0) * 25.4 / 72.0;
    const double y = m_y + above;
    m_doc.pages.last().rules.append(RuleItem{m_doc.marginLeft, y, m_doc.pageSize.width() - m_doc.marginRight, y, pen});
    m_y = y + pen + below;
    GridRow row;
    row.page = m_pageNum;
    row.rule = true;
    m_doc.rows.append(row);
    for (auto &r : m_renderers)
        r->RowDone(m_doc, m_doc.rows.last());
    ++m_pageLines;
    return true;
}

bool PrintReport::PicturePrint(const QImage &picture, double x, double y, double width, double height)
{
    if (!ready("PicturePrint"))
        return false;
    if (m_stop)
        return true;
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        return fail(QStringLiteral("Immagine da stampare non valida"));
    const double dpmX = picture.dotsPerMeterX() > 0 ? picture.dotsPerMeterX() : 96 / 0.0254;
    const double dpmY = picture.dotsPerMeterY() > 0 ? picture.dotsPerMeterY() : 96 / 0.0254;
    const double naturalW = picture.width() * 1000.0 / dpmX;
    const double naturalH = picture.height() * 1000.0 / dpmY;
    if (width <= 0 && height <= 0) {
        width = naturalW;
        height = naturalH;
    } else if (width <= 0) {
        width = naturalW * height / naturalH;
    } else if (height <= 0) {
        height = naturalH * width / naturalW;
    }
    m_doc.pages.last().pictures.append(PictureItem{picture, QRectF(x, y, width, height)});
    return true;
}

bool PrintReport::PicturePrint(const QString &file, double x, double y, double width, double height)
{
    const QImage img(file);
    if (img.isNull())
        return fail(QStringLiteral("Impossibile leggere l'immagine %1").arg(file));
    return PicturePrint(img, x, y, width, height);
}

// ---------------------------------------------------------------- commands and parameters

bool PrintReport::CommandRun(const QString &name, const QVariantList &args)
{
    Q_UNUSED(args);
    if (name.compare(QLatin1String("AttivaPdfAutom"), Qt::CaseInsensitive) == 0) {
        if (m_state == State::Started || m_state == State::InDoc)
            return fail(QStringLiteral("Il PDF automatico non si può attivare: il lavoro di stampa è già aperto"));
        m_pdfAuto = true;
        return true;
    }
    return fail(QStringLiteral("Comando sconosciuto: %1").arg(name));
}

void PrintReport::ParamSet(const QString &name, const QVariant &value)
{
    m_params.insert(name.trimmed().toLower(), value);
}

QVariant PrintReport::ParamGet(const QString &name) const
{
    return m_params.value(name.trimmed().toLower());
}

// ---------------------------------------------------------------- preview page store

QString PrintReport::PreviewPageFile(int page) const
{
    return m_previewBase.isEmpty() ? QString() : PreviewRenderer::PageFile(m_previewBase, page);
}

QStringList PrintReport::PreviewPagesGet() const
{
    return m_preview ? m_preview->Files() : QStringList();
}

int PrintReport::PreviewLastPageGet() const
{
    return m_preview ? m_preview->LastPage() : 0;
}

bool PrintReport::PreviewPagesDelete(QString *error)
{
    if (m_previewBase.isEmpty())
        return true;
    const QFileInfo base(m_previewBase);
    const QDir dir = base.absoluteDir();
    static const QRegularExpression pageSuffix(QStringLiteral("^\\d{3,}$"));
    bool ok = true;
    const QString prefix = base.fileName() + QLatin1Char('.');
    for (const QString &name : dir.entryList({prefix + QLatin1Char('*')}, QDir::Files)) {
        if (!pageSuffix.match(name.mid(prefix.size())).hasMatch())
            continue;
        QFile f(dir.filePath(name));
        if (f.exists() && !f.remove()) {
            ok = false;
            if (error)
                *error = QStringLiteral("Impossibile cancellare %1: %2").arg(f.fileName(), f.errorString());
        }
    }
    if (m_previewFolder)
        m_previewFolder->Remove();
    m_previewFolder.reset();
    return ok;
}

void PrintReport::PreviewClose()
{
    PreviewPagesDelete();
    if (m_state == State::InDoc || m_state == State::Started) {
        m_previewClosed = true;
        StopSet(2);
        return;
    }
    if (m_state == State::Ended)
        jobFinished(JobPreviewClosed);
}

} // namespace kem
