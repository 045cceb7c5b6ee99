#pragma once
// Report object of the print library: one per run. The report class that drives a run calls
// these operations; the object builds a device-independent Document (pages of placed text,
// rules and pictures, in millimetres, plus one grid row per line end) and hands it to the
// renderer of the destination chosen in the options (printer, preview pages, file, PDF, fixed
// width). Needs a QGuiApplication (fonts); never uses widgets.
//
// Units: millimetres for positions, margins and widths; points for font sizes.
//
// Owner notification: when the job is over (output written or submitted, preview closed by
// PreviewClose, job cancelled or stopped) the owner's oiStaAttLet(0) is called once and
// jobOver(reason) is emitted.
#include "platform/printlib/pagemodel.h"
#include "platform/printlib/printfont.h"
#include "platform/printlib/printoptions.h"
#include "platform/printlib/printsubmitter.h"
#include "platform/printlib/textmeasure.h"

#include <QFontMetricsF>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace kem {

class Renderer;

namespace detail {
// What PrintReport keeps of the line in progress.
struct LineMetrics {
    double ascent = 0, descent = 0, lineSpacing = 0;
};
struct PendingItem {
    TextRun run;
    GridCell cell;
    bool hasCell = false;
    bool rightGroup = false;
    double gapAfter = 0;
    LineMetrics m;
};
} // namespace detail

} // namespace kem
// The items of a line move by their bytes, as their parts do (see pagemodel.h).
Q_DECLARE_TYPEINFO(kem::detail::PendingItem, Q_RELOCATABLE_TYPE);
namespace kem {

class PreviewRenderer;
class PreviewFolder;
struct PageRange;

// Implemented by the report class that drives a run.
class PrintOwner {
public:
    virtual ~PrintOwner() = default;
    virtual void oiStaAttLet(qint16 value) = 0;
};

class PrintReport : public QObject {
    Q_OBJECT
public:
    enum JobEnd { JobPrinted = 1, JobPreviewClosed = 2, JobCancelled = 3, JobStopped = 4, JobFailed = 5 };
    Q_ENUM(JobEnd)
    // Bits of JobModeSet.
    enum JobModeBits { ModeLetEvents = 2 };

    explicit PrintReport(QObject *parent = nullptr);
    ~PrintReport() override;

    // 1. The report object driving the run (nullptr detaches it).
    void OwnerSet(PrintOwner *owner) { m_owner = owner; }
    // 2. 0 at run start, 1 interrupt from the progress window, 2 preview closed.
    void StopSet(int code);
    // 3.
    std::shared_ptr<PrintOptions> OptionsGet() const { return m_options; }
    void OptionsSet(std::shared_ptr<PrintOptions> options) { m_options = std::move(options); }
    // 4. The run's print-in-progress window (a widget of the print framework; any QObject here).
    QObject *ProgressFormGet() const { return m_progressForm; }
    void ProgressFormSet(QObject *form) { m_progressForm = form; }
    // 5. Preview page store: page files base + "." + number as "000".
    QString PreviewBaseGet() const { return m_previewBase; }
    QString PreviewPageFile(int page) const;
    QStringList PreviewPagesGet() const;   // files written so far, in page order
    int PreviewLastPageGet() const;        // newest page produced, 0 before the first
    bool RunFinishedGet() const { return m_state == State::Ended; }
    bool PreviewPagesDelete(QString *error = nullptr);  // this run's page files only
    void PreviewClose();                   // the preview window closed: files deleted, job over
    // With hold on, a preview run waits after each finished page, letting events through, until
    // the preview window requests the next page (PreviewPageRequest) or the run is stopped.
    void PreviewHoldSet(bool hold) { m_previewHold = hold; }
    void PreviewPageRequest(int page) { m_previewRequested = std::max(m_previewRequested, page); }
    int PreviewPageRequestedGet() const { return m_previewRequested; }
    bool StopGet() const { return m_stop != 0; }
    int StopCodeGet() const { return m_stop; }
    // 6. Margins (mm).
    float MarginLeftGet() const { return float(m_doc.marginLeft); }
    void MarginLeftLet(float v) { m_doc.marginLeft = v; }
    float MarginRightGet() const { return float(m_doc.marginRight); }
    void MarginRightLet(float v) { m_doc.marginRight = v; }
    float MarginTopGet() const { return float(m_doc.marginTop); }
    void MarginTopLet(float v) { m_doc.marginTop = v; }
    float MarginBottomGet() const { return float(m_doc.marginBottom); }
    void MarginBottomLet(float v) { m_doc.marginBottom = v; }
    // 7. "S" left, "C" centre, "D" right; false for any other code (alignment unchanged).
    bool AlignSet(const QString &code);
    QString AlignGet() const { return QString(m_align); }
    // 8.
    QString ReportKeyGet() const { return m_reportKey; }
    void ReportKeySet(const QString &key) { m_reportKey = key; }
    // 9. Value at a column of the current line, in the current style and alignment.
    //    pbLineData: the cell goes to spreadsheet outputs too; pbClip: cut the text to the
    //    column width; psFormat: display format for a numeric value ("#,##0.00"; empty: as
    //    few decimals as needed); psFileValue: when not empty, the value spreadsheet outputs
    //    receive instead of the printed text (a number when it reads as one, "1234.5").
    //    A right-aligned text that reads as an Italian number ("1.234,50") is a number in files.
    bool CellPrint(int column, const QVariant &value, bool pbLineData = true, bool pbClip = false,
                   const QString &psFormat = QString(), const QString &psFileValue = QString());
    // 10. Defines (or redefines) a style.
    bool FontAdd(const QString &name, const PrintFont &font);
    // 11. Opens the job (piMode 1). pbCancelled true: the run must not go on (see LastErrorGet).
    bool JobStart(int piMode, bool *pbCancelled);
    // 12. Vertical position (mm from the top of the sheet).
    double VertPosGet() const { return m_y; }
    void VertPosLet(double y) { m_y = y; }
    // 13. Picture at x, y with width and height (mm); 0 width and height: natural size.
    bool PicturePrint(const QImage &picture, double x, double y, double width, double height);
    bool PicturePrint(const QString &file, double x, double y, double width, double height);
    // 14. True when nothing more goes on the page (run stopped or not in a document).
    bool SkipGet() const;
    // 15.
    int PageNumGet() const { return m_pageNum; }
    // 16. Text at the current position. pdWidth > 0: field width (mm) in which the text is
    //     aligned; "C" without width centres on the page, "D" without width sets the text
    //     flush right at the end of the line. pbLineData as in CellPrint. pdOutX: position
    //     after the text.
    bool TextPrint(double pdWidth, const QString &text, bool pbLineData = true, double *pdOutX = nullptr);
    // 17.
    bool DocBegin();
    bool DocEnd();
    // 18.
    bool PageNew();
    // 19.
    bool LineEnd();
    // 20.
    bool StyleSelect(const QString &name);
    QString StyleGet() const { return m_style; }
    bool StyleFontGet(const QString &name, PrintFont *font = nullptr) const;
    // 21. Label and value at the current position: label (bold when pbLabelBold), one space,
    //     value in a field of pdWidth mm (0: as wide as the value), then pdGap mm of space
    //     (< 0: two spaces). Both go to spreadsheet outputs when pbLineData.
    bool LabelValuePrint(const QString &label, const QVariant &value, double pdWidth = 0,
                         bool pbLabelBold = true, bool pbLineData = true, double pdGap = -1,
                         bool pbValueBold = false);
    // 22. Break true when `lines` lines of the current style no longer fit on the page
    //     (fixed-width destination: lines counted against its lines per page). pdRoom: room left
    //     (mm; lines for fixed width). psText: cleared.
    bool RoomCheck(int lines, QString *psText = nullptr, double *pdRoom = nullptr, bool *pbBreak = nullptr);
    // 23. "AttivaPdfAutom": printer output goes to the PDF file named by the parameter
    //     "PdfAutomImpPar" (ParamSet or the options' named parameter).
    bool CommandRun(const QString &name, const QVariantList &args = {});
    void ParamSet(const QString &name, const QVariant &value);
    QVariant ParamGet(const QString &name) const;

    // Columns: ColumnsClear drops the set; ColumnAdd places the next column after the last one
    // (option "P": at the left margin; "U": up to the right margin), as wide as the sample text
    // in the current style, in the current alignment. piNumber: the column's width in characters
    // for fixed-width and plain-text output (<= 0: the sample's length).
    void ColumnsClear();
    int ColumnAdd(const QString &sample, qint16 piNumber = 0, const QString &option = QString());
    const ColumnDef *ColumnGet(int id) const;
    // Horizontal rule from margin to margin: pen in tenths of mm, space above and below in points.
    bool RulePrint(int piPen = 2, int piAbove = 2, int piBelow = 2);
    // 6 after the progress window is shown: bit 2 lets window events through between lines
    // and pages (the progress window's stop button and the preview act then); pageStarted is
    // emitted for every new page in any mode.
    void JobModeSet(int mode) { m_jobMode = mode; }
    int JobModeGet() const { return m_jobMode; }

    // Page geometry and measuring: the area positions refer to (for printers the printable
    // area, known from JobStart on; else the sheet).
    // True when the destination of the job paints pages (printer, preview or PDF), false for
    // the outputs made of cells (spreadsheet text, plain text, workbook, fixed width).
    bool DrawsPages() const
    {
        return m_run.StaVid == PrintOptions::Printer || m_run.StaVid == PrintOptions::Preview ||
               (m_run.StaVid == PrintOptions::File && m_run.FileForm == PrintOptions::PdfFile);
    }
    double PageWidthGet() const { return m_doc.pageSize.width(); }
    double PageHeightGet() const { return m_doc.pageSize.height(); }
    double TextWidthGet(const QString &text) const;  // in the current style, mm
    double LineHeightGet() const;                    // of the current style, mm
    // Page setup values.
    void LandscapeLet(bool landscape) { m_landscape = landscape; }
    void ForzaVertLet(int v) { m_forzaVert = v; }
    void FattLet(float f) { m_fatt = f; }
    float FattGet() const { return m_fatt; }
    void OffsetXLet(float dx) { m_dx = dx; }   // "Dx": printer offset, mm
    void OffsetYLet(float dy) { m_dy = dy; }   // "Dy"
    void InterlLet(float v) { m_interl = v; }  // extra line spacing, mm
    void TitleSet(const QString &title) { m_doc.title = title; }

    // Submission to printers (CUPS unless replaced, e.g. by a test double).
    void SubmitterSet(std::shared_ptr<PrintSubmitter> s) { m_submitter = std::move(s); }
    // Called between lines when ModeLetEvents is on (default: process the event queue).
    void EventPumpSet(std::function<void()> pump) { m_pump = std::move(pump); }

    QString LastErrorGet() const { return m_error; }
    // The document of the run: its pages and grid rows go to the destination as they are
    // completed, and the document keeps only the newest `pages` finished pages (and their rows)
    // besides the page in progress, so memory does not grow with the length of a run; < 0 keeps
    // every page. Default: kDocumentKeepPages.
    static constexpr int kDocumentKeepPages = 100;
    void DocumentKeepSet(int pages) { m_keepPages = pages; }
    const Document &DocumentGet() const { return m_doc; }

signals:
    void pageStarted(int page);
    void jobOver(int reason);

private:
    enum class State { Idle, Started, InDoc, Ended };
    struct Style {
        PrintFont font;
    };
    using Metrics = detail::LineMetrics;
    using Pending = detail::PendingItem;

    bool fail(const QString &text);
    bool ready(const char *op);
    TextMeasure &measure(const PrintFont &font) const;
    TextMeasure &currentMeasure() const;
    Metrics metricsFor(const PrintFont &font) const;
    const PrintFont &currentFont() const { return m_currentFont; }
    void refreshCurrentFont();
    void placeItem(Pending &p, const PrintFont &font, const TextMeasure &tm, QString text, double x, double width,
                   bool rightGroup, double gapAfter);
    void addItem(const PrintFont &font, const TextMeasure &tm, const QString &text, double x, double width,
                 QChar align, bool rightGroup, double gapAfter, GridCell *cell);
    bool placeLine();
    bool finishPage();
    void startPage();
    void trimDocument();
    bool nextPage();
    void holdForPreview(int page);
    void jobFinished(int reason);
    bool buildRenderers();
    PrintJob printerJob(const QString &printer) const;
    PageRange pageRange() const;
    void letEvents();
    bool fixedMode() const { return m_run.StaVid == PrintOptions::FixedWidth; }

    PrintOwner *m_owner = nullptr;
    std::shared_ptr<PrintOptions> m_options;
    PrintOptions m_run;  // copy taken at JobStart
    QPointer<QObject> m_progressForm;
    std::shared_ptr<PrintSubmitter> m_submitter;
    std::function<void()> m_pump;
    QHash<QString, Style> m_styles;  // by lower-case name
    mutable TextMeasures m_measures;  // widths on the reference device, by font
    QString m_style;
    PrintFont m_currentFont;          // the font of m_style
    mutable TextMeasure *m_currentMeasure = nullptr;  // its measure, once asked for
    QChar m_align = QLatin1Char('S');
    QList<ColumnDef> m_columns;
    int m_nextColumn = 1;
    QString m_reportKey;
    QHash<QString, QVariant> m_params;
    Document m_doc;
    State m_state = State::Idle;
    int m_stop = 0;
    bool m_jobOverSent = false;
    bool m_pdfAuto = false;
    bool m_previewClosed = false;
    bool m_previewHold = false;
    int m_previewRequested = 1;
    int m_jobMode = 0;
    int m_pageNum = 0;
    int m_keepPages = kDocumentKeepPages;
    int m_pageLines = 0;  // lines on the current page (fixed width)
    double m_y = 10;
    double m_x = 0;
    bool m_landscape = false;
    int m_forzaVert = 0;
    float m_fatt = 1, m_dx = 0, m_dy = 0, m_interl = 0;
    QList<Pending> m_line;
    std::vector<std::unique_ptr<Renderer>> m_renderers;
    PreviewRenderer *m_preview = nullptr;  // owned by m_renderers
    QString m_previewBase;
    std::unique_ptr<PreviewFolder> m_previewFolder;  // holds this run's page files
    QString m_error;
};

} // namespace kem
