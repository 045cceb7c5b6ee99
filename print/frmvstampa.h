#pragma once
// The preview window: shows the pages of a run to the preview one at a time while the run
// goes on, moves between them (the report waits after each page until the window asks for
// the next), scrolls a page larger than the window, and refuses to close while the run is
// still producing pages. The page images are the files the print library writes for the run
// (base name + "." + page as "000"); closing deletes them.
#include "print/previewpager.h"

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

class QLabel;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace kem {

class MessageSink;
class PrintReport;

class FrmVStampa : public QWidget {
    Q_OBJECT
public:
    // sink: where messages go (nullptr: message boxes).
    explicit FrmVStampa(MessageSink *sink = nullptr, QWidget *parent = nullptr);
    ~FrmVStampa() override;

    // Binds a run (nullptr unbinds): the report waits after each page for the window, the
    // window shows "Pag.000" and takes the page range from the run's options, and is shown.
    void ogStampaSet(PrintReport *report);
    // The same for a report object shared with the report class: the window keeps it alive
    // until the run is released on close, so a report class may drop it after its run.
    void ogStampaSet(std::shared_ptr<PrintReport> report);
    PrintReport *ogStampa() const { return m_report; }

    // Navigation image click: 1 previous, 2 first, 3 next, 4 last.
    void imaMuovi_Click(int index);
    // Goes to a page of the range: shown when produced, else asked of the run.
    void PaginaVai(int page);
    // Double click on labPage: asks for the page to go to.
    void labPage_DblClick();
    // Lets the report go on producing the page the window waits for.
    void Continua();
    // "&Esci": stops the run's preview pages (code 2) and closes when no run is in progress.
    void ComEsci_Click();

    // A run is still producing pages.
    bool RunActive() const;
    // The page on the canvas (0: none).
    int PageShown() const { return m_shown; }
    // The page the window asked for and waits for (0: none).
    int PageAwaited() const { return m_waitFor; }
    // Page keeping: pages left behind can be shown again from their files. Turned off for the
    // rest of the run when a page no longer fits in memory.
    bool KeepingOn() const { return m_keep; }
    // Puts a page image on the canvas and lays the window out again.
    void CanvasSet(const QImage &image);

    QWidget *PicPrinc = nullptr;     // viewport
    QLabel *PicSec = nullptr;        // page canvas inside the viewport
    QScrollBar *hscPosOri = nullptr;
    QScrollBar *vscPosVert = nullptr;
    QWidget *PicTasti = nullptr;     // button bar
    std::array<QToolButton *, 5> imaMuovi{};  // indexes 1 to 4
    QLabel *labPage = nullptr;
    QLabel *LabMsg = nullptr;
    QPushButton *ComEsci = nullptr;

    static constexpr int kScrollLimit = 32767;  // scroll values are 16-bit

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool runStarted() const;
    PreviewPager::RunState runState() const;
    void refresh();
    void apply(const PreviewPager::Step &step);
    bool showPage(int page);
    void updateArrows();
    void layoutWindow();
    void scrollCanvas();
    bool releaseRun();
    void unbind();
    void tell(const QString &text, const QString &caption);

    MessageSink *m_sink = nullptr;
    QPointer<PrintReport> m_report;
    std::shared_ptr<PrintReport> m_kept;  // held for a report class that shares its object
    QList<QMetaObject::Connection> m_connections;
    PreviewPager m_pager;
    QTimer m_poll;
    int m_shown = 0;
    int m_waitFor = 0;
    bool m_keep = true;
    bool m_startTried = false;  // the first page of the range was put on the canvas (or failed)
    bool m_overflowTold = false;
    bool m_closing = false;  // a close request is being handled
    QString m_staleBase;     // page-file base of a finished earlier run of the bound report
};

} // namespace kem
