#include "print/frmvstampa.h"

#include "common/messages.h"
#include "common/waitcursor.h"
#include "platform/printlib/printoptions.h"
#include "platform/printlib/printreport.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageReader>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>

namespace kem {

namespace {

const QString kTerminata = QStringLiteral("Stampa Terminata");
const QString kCaption = QStringLiteral("Visualizzazione Stampe");

// Error numbers of the page handling, as the module reports them.
constexpr int kErrFileNotFound = 53;
constexpr int kErrFileAccess = 75;
constexpr int kErrBadPicture = 481;

QString navError(int number, const QString &description)
{
    return QStringLiteral("Errore %1 in gestione pagine a video (%2)").arg(number).arg(description);
}

} // namespace

FrmVStampa::FrmVStampa(MessageSink *sink, QWidget *parent) : QWidget(parent, Qt::Window), m_sink(sink)
{
    setObjectName(QStringLiteral("FrmVStampa"));
    setWindowTitle(QStringLiteral("Visualizzazione Stampa"));

    PicPrinc = new QWidget(this);
    PicPrinc->setObjectName(QStringLiteral("PicPrinc"));
    PicPrinc->setAutoFillBackground(true);
    QPalette grey = PicPrinc->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    PicPrinc->setPalette(grey);
    PicPrinc->installEventFilter(this);
    PicSec = new QLabel(PicPrinc);
    PicSec->setObjectName(QStringLiteral("PicSec"));
    PicSec->setAutoFillBackground(true);
    PicSec->installEventFilter(this);

    hscPosOri = new QScrollBar(Qt::Horizontal, this);
    hscPosOri->setObjectName(QStringLiteral("hscPosOri"));
    vscPosVert = new QScrollBar(Qt::Vertical, this);
    vscPosVert->setObjectName(QStringLiteral("vscPosVert"));
    for (QScrollBar *s : {hscPosOri, vscPosVert}) {
        s->setRange(0, 0);
        s->setSingleStep(20);
        s->hide();
        connect(s, &QScrollBar::valueChanged, this, &FrmVStampa::scrollCanvas);
    }

    PicTasti = new QWidget(this);
    PicTasti->setObjectName(QStringLiteral("PicTasti"));
    auto *bar = new QHBoxLayout(PicTasti);
    bar->setContentsMargins(6, 4, 6, 4);
    struct Arrow {
        int index;
        QStyle::StandardPixmap icon;
        const char *tip;
    };
    // Shown in reading order; the index is the move.
    const Arrow arrows[] = {
        {PreviewPager::First, QStyle::SP_MediaSkipBackward, "Prima pagina"},
        {PreviewPager::Previous, QStyle::SP_MediaSeekBackward, "Pagina precedente"},
        {PreviewPager::Next, QStyle::SP_MediaSeekForward, "Pagina successiva"},
        {PreviewPager::Last, QStyle::SP_MediaSkipForward, "Ultima pagina"},
    };
    for (const Arrow &a : arrows) {
        auto *b = new QToolButton(PicTasti);
        b->setObjectName(QStringLiteral("imaMuovi_%1").arg(a.index));
        b->setIcon(style()->standardIcon(a.icon));
        b->setIconSize(QSize(24, 24));
        b->setToolTip(QString::fromUtf8(a.tip));
        b->setAutoRaise(true);
        b->setEnabled(false);
        imaMuovi[a.index] = b;
        bar->addWidget(b);
        const int index = a.index;
        connect(b, &QToolButton::clicked, this, [this, index] { imaMuovi_Click(index); });
        if (a.index == PreviewPager::Previous) {
            labPage = new QLabel(PreviewPager::PageCaption(0), PicTasti);
            labPage->setObjectName(QStringLiteral("labPage"));
            labPage->setMinimumWidth(labPage->fontMetrics().horizontalAdvance(QStringLiteral("Pag.0000")) + 8);
            labPage->setAlignment(Qt::AlignCenter);
            labPage->setToolTip(QStringLiteral("Doppio clic: vai alla pagina"));
            labPage->installEventFilter(this);
            bar->addWidget(labPage);
        }
    }
    LabMsg = new QLabel(PicTasti);
    LabMsg->setObjectName(QStringLiteral("LabMsg"));
    bar->addSpacing(12);
    bar->addWidget(LabMsg, 1);
    ComEsci = new QPushButton(QStringLiteral("&Esci"), PicTasti);
    ComEsci->setObjectName(QStringLiteral("ComEsci"));
    bar->addWidget(ComEsci);
    connect(ComEsci, &QPushButton::clicked, this, &FrmVStampa::ComEsci_Click);

    m_poll.setInterval(50);
    connect(&m_poll, &QTimer::timeout, this, &FrmVStampa::refresh);
    resize(900, 700);
}

FrmVStampa::~FrmVStampa()
{
    // A window destroyed with a finished run still cleans up the run's pages.
    if (m_report && !RunActive())
        releaseRun();
    unbind();
}

void FrmVStampa::ogStampaSet(PrintReport *report)
{
    unbind();
    m_report = report;
    m_shown = 0;
    m_waitFor = 0;
    m_keep = true;
    m_startTried = false;
    m_overflowTold = false;
    PicSec->clear();
    PicSec->resize(0, 0);
    labPage->setText(PreviewPager::PageCaption(0));
    LabMsg->clear();
    if (!report) {
        m_pager.RangeSet(0, 0);
        updateArrows();
        layoutWindow();
        return;
    }
    // A report object used again keeps the earlier run's state until its next job starts.
    m_staleBase = report->RunFinishedGet() ? report->PreviewBaseGet() : QString();
    const auto options = report->OptionsGet();
    m_pager.RangeSet(options ? options->ParamInt(QStringLiteral("PaginaDa")) : 0,
                     options ? options->ParamInt(QStringLiteral("PaginaA")) : 0);
    report->PreviewHoldSet(true);
    m_connections.append(connect(report, &PrintReport::pageStarted, this, &FrmVStampa::refresh));
    m_connections.append(connect(report, &PrintReport::jobOver, this, &FrmVStampa::refresh));
    m_poll.start();
    updateArrows();
    layoutWindow();
    show();
}

void FrmVStampa::ogStampaSet(std::shared_ptr<PrintReport> report)
{
    ogStampaSet(report.get());
    m_kept = std::move(report);
}

void FrmVStampa::unbind()
{
    for (const auto &c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_poll.stop();
    if (m_report)
        m_report->PreviewHoldSet(false);
    m_report = nullptr;
    m_kept.reset();
}

bool FrmVStampa::runStarted() const
{
    // The library names the run's pages when its job starts.
    if (!m_report)
        return false;
    const QString base = m_report->PreviewBaseGet();
    return !base.isEmpty() && base != m_staleBase;
}

bool FrmVStampa::RunActive() const
{
    return runStarted() && !m_report->RunFinishedGet();
}

PreviewPager::RunState FrmVStampa::runState() const
{
    PreviewPager::RunState s;
    s.shown = m_shown;
    if (runStarted()) {
        s.produced = m_report->PreviewLastPageGet();
        s.ended = m_report->RunFinishedGet();
    } else {
        s.ended = !m_report;
    }
    return s;
}

void FrmVStampa::refresh()
{
    if (!runStarted())
        return;
    const PreviewPager::RunState s = runState();
    if (s.ended && LabMsg->text() != kTerminata)
        LabMsg->setText(kTerminata);
    if (m_waitFor > 0) {
        if (s.produced >= m_waitFor) {
            const int page = m_waitFor;
            m_waitFor = 0;
            showPage(page);
        } else if (s.ended) {
            m_waitFor = 0;
        }
    } else if (m_shown == 0 && !m_startTried) {
        const PreviewPager::Step step = m_pager.Start(s);
        // the first page is shown (or asked for) once: a page that cannot be shown is told once
        m_startTried = step.show > 0 || step.request > 0;
        apply(step);
    }
    updateArrows();
    if (s.ended)
        m_poll.stop();
}

void FrmVStampa::apply(const PreviewPager::Step &step)
{
    if (step.show > 0) {
        showPage(step.show);
    } else if (step.request > 0 && m_report) {
        m_waitFor = step.request;
        Continua();
    }
}

void FrmVStampa::Continua()
{
    if (m_report && m_waitFor > 0)
        m_report->PreviewPageRequest(m_waitFor);
}

void FrmVStampa::imaMuovi_Click(int index)
{
    if (!runStarted() || index < PreviewPager::Previous || index > PreviewPager::Last || m_waitFor > 0)
        return;
    const auto move = PreviewPager::Move(index);
    const PreviewPager::RunState s = runState();
    const PreviewPager::Step step = m_pager.Plan(move, s);
    // Without page keeping only the newest page can be put on the canvas.
    if (step.show > 0 && !m_keep && step.show != s.produced)
        return;
    apply(step);
    refresh();
}

void FrmVStampa::PaginaVai(int page)
{
    if (!runStarted() || m_waitFor > 0)
        return;
    const PreviewPager::RunState s = runState();
    const PreviewPager::Step step = m_pager.GoTo(page, s);
    if (step.show > 0 && !m_keep && step.show != s.produced)
        return;
    apply(step);
    refresh();
}

void FrmVStampa::labPage_DblClick()
{
    if (!runStarted() || m_waitFor > 0)
        return;
    const PreviewPager::RunState s = runState();
    const int first = m_pager.FirstAllowed();
    int last = s.ended ? m_pager.LastAllowed(s.produced) : (m_pager.PageTo() > 0 ? m_pager.PageTo() : 99999);
    if (last < first)
        return;
    bool ok = false;
    const int page = QInputDialog::getInt(this, windowTitle(), QStringLiteral("Vai alla pagina:"),
                                          std::clamp(m_shown, first, last), first, last, 1, &ok);
    if (ok)
        PaginaVai(page);
}

bool FrmVStampa::showPage(int page)
{
    if (!m_report)
        return false;
    const QString file = m_report->PreviewPageFile(page);
    if (file.isEmpty() || !QFile::exists(file)) {
        tell(navError(kErrFileNotFound, QStringLiteral("File non trovato: ") + file), kCaption);
        return false;
    }
    QImage image;
    {
        WaitCursor wait;
        QImageReader reader(file);
        const QSize size = reader.size();
        const qint64 limitMb = QImageReader::allocationLimit();
        if (size.isValid() && limitMb > 0 && qint64(size.width()) * size.height() * 4 > limitMb * 1024 * 1024) {
            m_keep = false;
            tell(QStringLiteral("Non c'è abbastanza memoria per memorizzare le pagine:\r\n"
                                "Provare con una dimensione di caratteri minore.\r\n"
                                "MEMORIZZAZIONE DISABILITATA"),
                 kCaption);
            updateArrows();
            return false;
        }
        image = reader.read();
        if (image.isNull()) {
            tell(navError(kErrBadPicture, reader.errorString()), kCaption);
            return false;
        }
    }
    CanvasSet(image);
    m_shown = page;
    labPage->setText(PreviewPager::PageCaption(page));
    updateArrows();
    return true;
}

void FrmVStampa::CanvasSet(const QImage &image)
{
    PicSec->setPixmap(QPixmap::fromImage(image));
    PicSec->resize(image.size());
    m_overflowTold = false;
    hscPosOri->setValue(0);
    vscPosVert->setValue(0);
    layoutWindow();
}

void FrmVStampa::updateArrows()
{
    const PreviewPager::RunState s = runState();
    for (int i = PreviewPager::Previous; i <= PreviewPager::Last; ++i) {
        const auto move = PreviewPager::Move(i);
        bool on = runStarted() && m_waitFor == 0 && m_pager.Possible(move, s);
        if (on && !m_keep) {
            const PreviewPager::Step step = m_pager.Plan(move, s);
            on = step.show == 0 || step.show == s.produced;
        }
        imaMuovi[i]->setEnabled(on);
    }
}

void FrmVStampa::layoutWindow()
{
    const int barHeight = PicTasti->sizeHint().height();
    const QRect area(0, 0, width(), std::max(0, height() - barHeight));
    PicTasti->setGeometry(0, area.bottom() + 1, width(), barHeight);
    const QSize canvas = PicSec->size();
    const bool fits = canvas.width() <= area.width() && canvas.height() <= area.height();
    if (fits) {
        hscPosOri->hide();
        vscPosVert->hide();
        PicPrinc->setGeometry(area);
    } else {
        const int sb = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        const int vw = std::max(0, area.width() - sb);
        const int vh = std::max(0, area.height() - sb);
        PicPrinc->setGeometry(0, 0, vw, vh);
        vscPosVert->setGeometry(vw, 0, sb, vh);
        hscPosOri->setGeometry(0, vh, vw, sb);
        hscPosOri->show();
        vscPosVert->show();
    }
    const int vw = PicPrinc->width();
    const int vh = PicPrinc->height();
    const qint64 hmax = std::max<qint64>(0, qint64(canvas.width()) - vw + 100);
    const qint64 vmax = qint64(canvas.height()) - vh + 100;
    hscPosOri->setMaximum(int(std::min<qint64>(hmax, kScrollLimit)));
    if (vmax > kScrollLimit) {
        // The previous maximum stays.
        if (!m_overflowTold) {
            m_overflowTold = true;
            tell(QStringLiteral("La lunghezza del foglio può essere al massimo di 32.666 mmm. "
                                "(vedi parametri stampante selezionata)"),
                 QStringLiteral("Stampa a video"));
        }
    } else {
        vscPosVert->setMaximum(int(std::max<qint64>(0, vmax)));
    }
    hscPosOri->setPageStep(std::max(1, vw));
    vscPosVert->setPageStep(std::max(1, vh));
    if (fits) {
        hscPosOri->setValue(0);
        vscPosVert->setValue(0);
    }
    scrollCanvas();
}

void FrmVStampa::scrollCanvas()
{
    PicSec->move(-hscPosOri->value(), -vscPosVert->value());
}

void FrmVStampa::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutWindow();
}

void FrmVStampa::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_PageUp:
        imaMuovi_Click(PreviewPager::Previous);
        return;
    case Qt::Key_PageDown:
        imaMuovi_Click(PreviewPager::Next);
        return;
    case Qt::Key_Home:
        if (ctrl) {
            imaMuovi_Click(PreviewPager::First);
            return;
        }
        vscPosVert->setValue(0);
        return;
    case Qt::Key_End:
        if (ctrl) {
            imaMuovi_Click(PreviewPager::Last);
            return;
        }
        vscPosVert->setValue(vscPosVert->maximum());
        return;
    case Qt::Key_Up:
        vscPosVert->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return;
    case Qt::Key_Down:
        vscPosVert->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return;
    case Qt::Key_Left:
        hscPosOri->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return;
    case Qt::Key_Right:
        hscPosOri->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool FrmVStampa::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == labPage && event->type() == QEvent::MouseButtonDblClick) {
        labPage_DblClick();
        return true;
    }
    if ((watched == PicPrinc || watched == PicSec) && event->type() == QEvent::Wheel) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        QScrollBar *bar = (wheel->modifiers() & Qt::ShiftModifier) ? hscPosOri : vscPosVert;
        if (bar->isVisible())
            QApplication::sendEvent(bar, event);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmVStampa::ComEsci_Click()
{
    if (m_report)
        m_report->StopSet(2);
    close();
}

void FrmVStampa::closeEvent(QCloseEvent *event)
{
    if (RunActive()) {
        event->ignore();
        if (!m_closing) {  // one refusal per request, even when the message lets events through
            m_closing = true;
            tell(QStringLiteral("Non si puo' uscire\r\nStampa ancora attiva"), kCaption);
            m_closing = false;
        }
        return;
    }
    if (!releaseRun()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool FrmVStampa::releaseRun()
{
    if (!m_report)
        return true;
    QString error;
    if (!m_report->PreviewPagesDelete(&error)) {
        tell(QStringLiteral("Errore %1 in chiusura stampa a video (%2)").arg(kErrFileAccess).arg(error), kCaption);
        return false;
    }
    PrintReport *report = m_report;
    const std::shared_ptr<PrintReport> keep = m_kept;  // alive until it is released below
    unbind();
    report->StopSet(1);
    if (auto *progress = qobject_cast<QWidget *>(report->ProgressFormGet()))
        progress->close();
    report->PreviewClose();  // the run is released: its owner sees the job over
    m_shown = 0;
    m_waitFor = 0;
    PicSec->clear();
    PicSec->resize(0, 0);
    labPage->setText(PreviewPager::PageCaption(0));
    LabMsg->clear();
    updateArrows();
    layoutWindow();
    return true;
}

void FrmVStampa::tell(const QString &text, const QString &caption)
{
    if (m_sink)
        m_sink->msgCom(text, {QStringLiteral("&Ok")}, 1, caption);
    else
        QMessageBox::critical(this, caption, text);
}

} // namespace kem
