// The preview window on runs to the preview: moving between pages while the run goes on
// within the page range, the refusal to close during a run, the run's page files deleted on
// close (and no other file), the scroll limits of a page larger than the window, page keeping
// turned off when a page does not fit in memory, and the character-size dialog.
#include "print/frmstampaincorso.h"
#include "print/frmvstampa.h"
#include "print/frmvstapar.h"
#include "tests/print/previewtestsupport.h"
#include "tests/print/printtestsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

using namespace kem;
using kemtest::PrintFixture;
using kemtest::SampleOwner;

namespace {

const QString kRefusal = QStringLiteral("Non si puo' uscire\r\nStampa ancora attiva");

// Plays a list of user actions on the window, one at a time, each once the window shows a
// page and waits for none; runs from the event loop, so it acts between the report's steps.
class Player : public QObject {
public:
    Player(FrmVStampa &w, QStringList actions, std::function<void()> finished = {})
        : m_w(w), m_actions(std::move(actions)), m_finished(std::move(finished))
    {
        connect(&m_timer, &QTimer::timeout, this, &Player::step);
        m_timer.start(5);
    }
    bool done = false;
    int page = -1;  // page shown after the last action
    QString caption;

    static void act(FrmVStampa &w, const QString &a)
    {
        if (a == QLatin1String("prev"))
            w.imaMuovi[PreviewPager::Previous]->click();
        else if (a == QLatin1String("first"))
            w.imaMuovi[PreviewPager::First]->click();
        else if (a == QLatin1String("next"))
            w.imaMuovi[PreviewPager::Next]->click();
        else if (a == QLatin1String("last"))
            w.imaMuovi[PreviewPager::Last]->click();
        else if (a == QLatin1String("PgUp"))
            QTest::keyClick(&w, Qt::Key_PageUp);
        else if (a == QLatin1String("PgDn"))
            QTest::keyClick(&w, Qt::Key_PageDown);
        else if (a == QLatin1String("C-Home"))
            QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
        else if (a == QLatin1String("C-End"))
            QTest::keyClick(&w, Qt::Key_End, Qt::ControlModifier);
        else if (a.startsWith(QLatin1String("goto:")))
            w.PaginaVai(a.mid(5).toInt());
        else if (a == QLatin1String("call:prev"))  // the move itself, whether or not its image is enabled
            w.imaMuovi_Click(PreviewPager::Previous);
        else if (a == QLatin1String("call:first"))
            w.imaMuovi_Click(PreviewPager::First);
        else
            QFAIL(qPrintable(QStringLiteral("unknown action ") + a));
    }

private:
    void step()
    {
        if (done || m_w.PageShown() == 0 || m_w.PageAwaited() > 0)
            return;
        if (m_next < m_actions.size()) {
            act(m_w, m_actions.at(m_next++));
            return;
        }
        done = true;
        page = m_w.PageShown();
        caption = m_w.labPage->text();
        m_timer.stop();
        if (m_finished)
            m_finished();
    }
    FrmVStampa &m_w;
    QStringList m_actions;
    std::function<void()> m_finished;
    int m_next = 0;
    QTimer m_timer;
};

// A run of the sample report to the preview with its window: the owner outlives the report,
// which tells it when the job is over, and the window goes before the report.
struct PreviewRun {
    SampleOwner owner;
    PrintReport r;
    FrmVStampa w;
    explicit PreviewRun(MessageSink *sink, std::shared_ptr<PrintOptions> options = kemtest::PreviewOptions())
        : w(sink)
    {
        r.OptionsSet(std::move(options));
        w.ogStampaSet(&r);
    }
};

QStringList filesOf(const QString &base)
{
    const QFileInfo fi(base);
    return fi.absoluteDir().entryList({fi.fileName() + QStringLiteral(".*")}, QDir::Files, QDir::Name);
}

} // namespace

class TestFrmVStampa : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_fx = std::make_unique<PrintFixture>();
        m_util = std::make_unique<AziendaUtilStampe>(m_fx->env);
    }
    void cleanup()
    {
        m_util.reset();
        m_fx.reset();
        QImageReader::setAllocationLimit(m_allocationLimit);
    }

    void navigation_data()
    {
        QTest::addColumn<int>("pageFrom");
        QTest::addColumn<int>("pageTo");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<int>("expected");
        QTest::newRow("from 3: starts on 3") << 3 << 0 << QStringList{} << 3;
        QTest::newRow("from 3: previous on 3") << 3 << 0 << QStringList{"call:prev"} << 3;
        QTest::newRow("from 3: first on 3") << 3 << 0 << QStringList{"call:first"} << 3;
        QTest::newRow("from 3: PgUp on 3") << 3 << 0 << QStringList{"PgUp"} << 3;
        QTest::newRow("from 3: next") << 3 << 0 << QStringList{"next"} << 4;
        QTest::newRow("from 3: PgDn") << 3 << 0 << QStringList{"PgDn"} << 4;
        QTest::newRow("from 3: next next previous") << 3 << 0 << QStringList{"next", "next", "prev"} << 4;
        QTest::newRow("from 3: previous stops at 3") << 3 << 0 << QStringList{"next", "next", "prev", "prev", "call:prev"} << 3;
        QTest::newRow("from 3: first from 5") << 3 << 0 << QStringList{"next", "next", "first"} << 3;
        QTest::newRow("from 3: Ctrl+Home from 5") << 3 << 0 << QStringList{"PgDn", "PgDn", "C-Home"} << 3;
        QTest::newRow("from 3: last is the newest produced") << 3 << 0 << QStringList{"next", "next", "first", "last"} << 5;
        QTest::newRow("from 3: Ctrl+End") << 3 << 0 << QStringList{"PgDn", "PgDn", "PgUp", "PgUp", "C-End"} << 5;
        QTest::newRow("from 3: to the end of the run") << 3 << 0 << QStringList{"next", "next", "next"} << 6;
        QTest::newRow("from 3: next after the end") << 3 << 0 << QStringList{"next", "next", "next", "PgDn", "PgDn"} << 6;
        QTest::newRow("from 3: back after the end") << 3 << 0 << QStringList{"next", "next", "next", "first", "prev", "PgDn"} << 4;
        QTest::newRow("from 3 to 4: next stops at 4") << 3 << 4 << QStringList{"next", "PgDn", "PgDn"} << 4;
        QTest::newRow("from 3: go to 5 ahead of the run") << 3 << 0 << QStringList{"goto:5"} << 5;
        QTest::newRow("from 3: go to 5 and back to 4") << 3 << 0 << QStringList{"goto:5", "goto:4"} << 4;
        QTest::newRow("from 3: go to 2 refused") << 3 << 0 << QStringList{"next", "goto:2"} << 4;
        QTest::newRow("from 3 to 4: go to 5 refused") << 3 << 4 << QStringList{"goto:5"} << 3;
        QTest::newRow("no range: starts on 1") << 0 << 0 << QStringList{} << 1;
        QTest::newRow("no range: previous on 1") << 0 << 0 << QStringList{"call:prev", "PgUp"} << 1;
        QTest::newRow("no range: next previous") << 0 << 0 << QStringList{"next", "next", "prev"} << 2;
        QTest::newRow("no range: first") << 0 << 0 << QStringList{"next", "next", "C-Home"} << 1;
    }

    // The run produces 6 pages; the window moves while the run goes on and waits after each
    // page until the window asks for the next.
    void navigation()
    {
        QFETCH(int, pageFrom);
        QFETCH(int, pageTo);
        QFETCH(QStringList, actions);
        QFETCH(int, expected);
        PreviewRun run(&m_fx->sink, kemtest::PreviewOptions(pageFrom, pageTo));
        auto &[owner, r, w] = run;
        QCOMPARE(w.labPage->text(), QStringLiteral("Pag.000"));
        Player player(w, actions, [&r] { r.StopSet(2); });
        QVERIFY(kemtest::RunSamplePreview(*m_util, r, owner, 6));
        QTRY_VERIFY(player.done);
        QCOMPARE(player.page, expected);
        QCOMPARE(player.caption, QStringLiteral("Pag.%1").arg(expected, 3, 10, QLatin1Char('0')));
        // the arrows follow the page: nothing before the first allowed page
        const bool atFirst = expected == std::max(1, pageFrom);
        QCOMPARE(w.imaMuovi[PreviewPager::Previous]->isEnabled(), !atFirst);
        QCOMPARE(w.imaMuovi[PreviewPager::First]->isEnabled(), !atFirst);
        QVERIFY(m_fx->sink.messages.isEmpty());
        QVERIFY(w.close());
    }

    // The page shown while the run goes on is the newest one; the run holds after it.
    void runWaitsForTheWindow()
    {
        PreviewRun run(&m_fx->sink);
        auto &[owner, r, w] = run;
        int producedWhileShowingOne = -1;
        Player player(w, {}, [&] {
            producedWhileShowingOne = r.PreviewLastPageGet();
            QVERIFY(w.RunActive());
            QVERIFY(w.LabMsg->text().isEmpty());
            QVERIFY(w.imaMuovi[PreviewPager::Next]->isEnabled());
            QVERIFY(!w.imaMuovi[PreviewPager::Last]->isEnabled());
            r.StopSet(2);
        });
        QVERIFY(kemtest::RunSamplePreview(*m_util, r, owner, 5));
        QVERIFY(player.done);
        QCOMPARE(producedWhileShowingOne, 1);
        QTRY_COMPARE(w.LabMsg->text(), QStringLiteral("Stampa Terminata"));
    }

    // The report object of a form is used again for the next run: until that run starts the
    // window shows nothing of the earlier one.
    void secondRunOnTheSameReport()
    {
        PreviewRun run(&m_fx->sink);
        auto &[owner, r, w] = run;
        Player first(w, {"next"});
        QVERIFY(kemtest::RunSamplePreview(*m_util, r, owner, 2));
        QTRY_VERIFY(first.done);
        const QString firstBase = r.PreviewBaseGet();
        QVERIFY(w.close());

        w.ogStampaSet(&r);
        QTest::qWait(120);  // the window looks at the run several times before it starts
        QCOMPARE(w.PageShown(), 0);
        QCOMPARE(w.labPage->text(), QStringLiteral("Pag.000"));
        QVERIFY(w.LabMsg->text().isEmpty());
        QVERIFY(!w.RunActive());
        for (int i = PreviewPager::Previous; i <= PreviewPager::Last; ++i)
            QVERIFY(!w.imaMuovi[i]->isEnabled());
        bool activeOnPageOne = false;
        Player second(w, {}, [&] {
            activeOnPageOne = w.RunActive();
            w.imaMuovi_Click(PreviewPager::Next);
        });
        QVERIFY(kemtest::RunSamplePreview(*m_util, r, owner, 2));
        QVERIFY(second.done);
        QCOMPARE(second.page, 1);
        QVERIFY(activeOnPageOne);
        QTRY_COMPARE(w.PageShown(), 2);
        QVERIFY(r.PreviewBaseGet() != firstBase);
        QVERIFY(m_fx->sink.messages.isEmpty());
        QVERIFY(w.close());
    }

    // A report class that drops its report object after the run: the window keeps it (and its
    // pages) until it closes, then lets it go together with the run's progress window.
    void sharedReportKeptUntilClose()
    {
        SampleOwner owner;
        auto r = std::make_shared<PrintReport>();
        r->OptionsSet(kemtest::PreviewOptions());
        frmStampaInCorso progress;
        progress.Bind(r.get());
        progress.show();
        FrmVStampa w(&m_fx->sink);
        w.ogStampaSet(r);
        Player player(w, {"next", "next"});
        QVERIFY(kemtest::RunSamplePreview(*m_util, *r, owner, 3));
        QTRY_VERIFY(player.done);
        const QString base = r->PreviewBaseGet();
        std::weak_ptr<PrintReport> watch = r;
        r.reset();
        QVERIFY(!watch.expired());
        w.imaMuovi_Click(PreviewPager::First);
        QCOMPARE(w.PageShown(), 1);
        QCOMPARE(filesOf(base).size(), 3);
        QVERIFY(progress.isVisible());
        QVERIFY(w.close());
        QVERIFY(!progress.isVisible());  // the run's progress window goes with it
        QCOMPARE(progress.ogStampa(), nullptr);
        QVERIFY(watch.expired());
        QCOMPARE(owner.oiStaAtt, 0);
        QVERIFY(filesOf(base).isEmpty());
        QVERIFY(m_fx->sink.messages.isEmpty());
    }

    // After the run the next image is greyed on the last page and a click asks for nothing.
    void nextAfterTheRunRequestsNothing()
    {
        PreviewRun run(&m_fx->sink);
        auto &[owner, r, w] = run;
        Player player(w, {"next", "next"});
        QVERIFY(kemtest::RunSamplePreview(*m_util, r, owner, 3));
        QTRY_VERIFY(player.done);
        QCOMPARE(w.PageShown(), 3);
        QCOMPARE(w.LabMsg->text(), QStringLiteral("Stampa Terminata"));
        const int requested = r.PreviewPageRequestedGet();
        QVERIFY(!w.imaMuovi[PreviewPager::Next]->isEnabled());
        w.imaMuovi_Click(PreviewPager::Next);
        QCOMPARE(w.PageShown(), 3);
        QCOMPARE(w.PageAwaited(), 0);
        QCOMPARE(r.PreviewPageRequestedGet(), requested);
    }

    void closeRefusedDuringRunAllowedAfter()
    {
        PreviewRun run(&m_fx->sink);
        auto &[owner, r, w] = run;
        bool closedDuringRun = true;
        bool visibleAfterRefusal = false;
        QStringList filesDuringRun;
        Player player(w, {"next"}, [&] {
            filesDuringRun = r.PreviewPagesGet();
            closedDuringRun = w.close();              // the window's close button
            visibleAfterRefusal = w.isVisible();
            w.ComEsci_Click();                         // "&Esci": stops the run, still refused now
        });
        QVERIFY(kemtest::RunSamplePreview(*m_util, r, owner, 8));
        QVERIFY(player.done);
        QVERIFY(!closedDuringRun);
        QVERIFY(visibleAfterRefusal);
        QCOMPARE(m_fx->sink.messages.size(), 2);
        for (const auto &m : m_fx->sink.messages) {
            QCOMPARE(m.text, kRefusal);
            QCOMPARE(m.caption, QStringLiteral("Visualizzazione Stampe"));
        }
        // the stop from "&Esci" ended the run early: pages 1 and 2 produced, the rest not
        QCOMPARE(r.StopCodeGet(), 2);
        QCOMPARE(filesDuringRun.size(), 2);
        QVERIFY(r.RunFinishedGet());
        QVERIFY(r.PreviewLastPageGet() < 8);
        QCOMPARE(owner.oiStaAtt, 1);  // the run is held until the window lets it go
        w.ComEsci_Click();
        QVERIFY(!w.isVisible());
        QCOMPARE(m_fx->sink.messages.size(), 2);
        QCOMPARE(owner.oiStaAtt, 0);
        QCOMPARE(w.ogStampa(), nullptr);
        QCOMPARE(w.labPage->text(), QStringLiteral("Pag.000"));
    }

    // Closing deletes every page file of the run and nothing else: another run's pages and
    // a file whose name only starts like the run's base stay.
    void closeDeletesOnlyThisRunsPages()
    {
        SampleOwner otherOwner;
        PrintReport other;
        other.OptionsSet(kemtest::PreviewOptions());
        QVERIFY(kemtest::RunSamplePreview(*m_util, other, otherOwner, 2));
        const QStringList otherFiles = other.PreviewPagesGet();
        QCOMPARE(otherFiles.size(), 2);

        PreviewRun run(&m_fx->sink);
        auto &[owner, r, w] = run;
        QString lookAlike;
        Player player(w, {"next", "next", "next"}, [&] {
            lookAlike = r.PreviewBaseGet() + QStringLiteral("0.001");
            QFile f(lookAlike);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("x");
        });
        QVERIFY(kemtest::RunSamplePreview(*m_util, r, owner, 4));
        QTRY_VERIFY(player.done);
        const QString base = r.PreviewBaseGet();
        QCOMPARE(filesOf(base).size(), 4);
        QVERIFY(r.PreviewPageFile(4).endsWith(QStringLiteral(".004")));
        QVERIFY(w.close());
        QVERIFY(filesOf(base).isEmpty());
        for (const QString &f : otherFiles)
            QVERIFY2(QFile::exists(f), qPrintable(f));
        QVERIFY(QFile::exists(lookAlike));
        QFile::remove(lookAlike);
        QVERIFY(m_fx->sink.messages.isEmpty());
    }

    // A page file that disappeared: the move reports it and the page stays.
    void missingPageFile()
    {
        PreviewRun run(&m_fx->sink);
        auto &[owner, r, w] = run;
        Player player(w, {"next", "next"});
        QVERIFY(kemtest::RunSamplePreview(*m_util, r, owner, 3));
        QTRY_VERIFY(player.done);
        QVERIFY(QFile::remove(r.PreviewPageFile(2)));
        w.imaMuovi_Click(PreviewPager::Previous);
        QCOMPARE(w.PageShown(), 3);
        QCOMPARE(m_fx->sink.messages.size(), 1);
        QVERIFY2(m_fx->sink.messages.first().text.startsWith(QStringLiteral("Errore 53 in gestione pagine a video (")),
                 qPrintable(m_fx->sink.messages.first().text));
        QVERIFY(w.close());  // the missing file does not stop the clean-up
        QVERIFY(filesOf(r.PreviewBaseGet()).isEmpty());
    }

    // A page image larger than memory allows: the message, page keeping off, earlier pages
    // no longer offered.
    void pageTooLargeForMemory()
    {
        PreviewRun run(&m_fx->sink);
        auto &[owner, r, w] = run;
        // on page 2 memory shrinks to 1 MB and the user asks for page 3 (an A4 page of 3.5 MB)
        Player player(w, {"next"}, [&] {
            QImageReader::setAllocationLimit(1);
            w.imaMuovi_Click(PreviewPager::Next);
        });
        QVERIFY(kemtest::RunSamplePreview(*m_util, r, owner, 3));
        QVERIFY(player.done);
        QTRY_VERIFY(!w.KeepingOn());
        QCOMPARE(w.PageShown(), 2);
        QCOMPARE(w.PageAwaited(), 0);
        QCOMPARE(m_fx->sink.messages.size(), 1);
        QCOMPARE(m_fx->sink.messages.first().text,
                 QStringLiteral("Non c'è abbastanza memoria per memorizzare le pagine:\r\n"
                                "Provare con una dimensione di caratteri minore.\r\nMEMORIZZAZIONE DISABILITATA"));
        QImageReader::setAllocationLimit(m_allocationLimit);
        QVERIFY(!w.imaMuovi[PreviewPager::Previous]->isEnabled());
        QVERIFY(!w.imaMuovi[PreviewPager::First]->isEnabled());
        w.imaMuovi_Click(PreviewPager::Previous);
        QCOMPARE(w.PageShown(), 2);
        w.imaMuovi_Click(PreviewPager::Last);  // the newest page still shows
        QCOMPARE(w.PageShown(), 3);
    }

    // The first page already does not fit: said once, however often the window looks at the
    // run; "&Esci" still stops the run.
    void firstPageTooLargeToldOnce()
    {
        PreviewRun run(&m_fx->sink);
        auto &[owner, r, w] = run;
        QImageReader::setAllocationLimit(1);
        // once the page was refused, let the window look at the run a few more times, then stop
        int looks = 0;
        QTimer user;
        connect(&user, &QTimer::timeout, &w, [&] {
            if (!w.KeepingOn() && ++looks == 10) {
                user.stop();
                w.ComEsci_Click();
            }
        });
        user.start(20);
        QVERIFY(kemtest::RunSamplePreview(*m_util, r, owner, 3));
        QCOMPARE(r.PreviewLastPageGet(), 1);
        QCOMPARE(m_fx->sink.texts(),
                 QStringList({QStringLiteral("Non c'è abbastanza memoria per memorizzare le pagine:\r\n"
                                             "Provare con una dimensione di caratteri minore.\r\nMEMORIZZAZIONE DISABILITATA"),
                              kRefusal}));
        QCOMPARE(w.PageShown(), 0);
        QVERIFY(w.close());
    }

    void scrollLimits_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QSize>("canvas");
        QTest::addColumn<bool>("bars");
        QTest::newRow("A4 page in a small window") << QSize(600, 450) << QSize(794, 1123) << true;
        QTest::newRow("taller only") << QSize(900, 500) << QSize(600, 1500) << true;
        QTest::newRow("wider only") << QSize(500, 900) << QSize(1400, 300) << true;
        QTest::newRow("fits") << QSize(900, 700) << QSize(600, 500) << false;
    }

    void scrollLimits()
    {
        QFETCH(QSize, window);
        QFETCH(QSize, canvas);
        QFETCH(bool, bars);
        FrmVStampa w(&m_fx->sink);
        w.resize(window);
        w.show();
        QImage page(canvas, QImage::Format_RGB32);
        page.fill(Qt::white);
        w.CanvasSet(page);
        QCOMPARE(w.hscPosOri->isVisible(), bars);
        QCOMPARE(w.vscPosVert->isVisible(), bars);
        const QSize view = w.PicPrinc->size();
        // the viewport fills the window above the button bar, less the bars when shown
        QCOMPARE(w.PicTasti->geometry().top(), view.height() + (bars ? w.hscPosOri->height() : 0));
        QCOMPARE(w.PicTasti->geometry().bottom(), window.height() - 1);
        QCOMPARE(w.hscPosOri->maximum(), std::max(0, canvas.width() - view.width() + 100));
        QCOMPARE(w.vscPosVert->maximum(), std::max(0, canvas.height() - view.height() + 100));
        // at the far end of both bars the page's right and bottom edges are in view
        w.hscPosOri->setValue(w.hscPosOri->maximum());
        w.vscPosVert->setValue(w.vscPosVert->maximum());
        QCOMPARE(w.PicSec->pos(), QPoint(-w.hscPosOri->value(), -w.vscPosVert->value()));
        if (bars) {
            QVERIFY(w.PicSec->geometry().right() < view.width() || canvas.width() <= view.width());
            QVERIFY(w.PicSec->geometry().bottom() < view.height());
        }
        // the keys scroll too
        QTest::keyClick(&w, Qt::Key_Home);
        QCOMPARE(w.vscPosVert->value(), 0);
        QVERIFY(m_fx->sink.messages.isEmpty());
    }

    // A page whose height does not fit the 16-bit scroll value: the message, the previous
    // maximum stays.
    void scrollOverflow()
    {
        FrmVStampa w(&m_fx->sink);
        w.resize(800, 600);
        w.show();
        QImage page(QSize(794, 1123), QImage::Format_RGB32);
        page.fill(Qt::white);
        w.CanvasSet(page);
        const int before = w.vscPosVert->maximum();
        QVERIFY(before > 0);
        QImage tall(QSize(200, 40000), QImage::Format_Mono);
        tall.fill(1);
        w.CanvasSet(tall);
        QCOMPARE(w.vscPosVert->maximum(), before);
        QCOMPARE(m_fx->sink.messages.size(), 1);
        QCOMPARE(m_fx->sink.messages.first().text,
                 QStringLiteral("La lunghezza del foglio può essere al massimo di 32.666 mmm. (vedi parametri stampante selezionata)"));
        QCOMPARE(m_fx->sink.messages.first().caption, QStringLiteral("Stampa a video"));
    }

    void sizeDialog()
    {
        frmVStaPar d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Grandezza visualizzazione stampe"));
        QCOMPARE(d.LabProp->text(), QStringLiteral("100"));
        QCOMPARE(d.PicProva->font().family(), QStringLiteral("Arial"));
        QCOMPARE(d.PicProva->font().pointSizeF(), 10.0);
        QVERIFY(d.PicProva->text().startsWith(QStringLiteral("Testo di Prova. Grandezza dei Caratteri in stampa, ")));
        QVERIFY(d.PicProva->text().endsWith(QStringLiteral("usando come Font base Arial di grandezza 10 ")));
        d.VsbProp->setValue(150);
        QCOMPARE(d.LabProp->text(), QStringLiteral("150"));
        QCOMPARE(d.PicProva->font().pointSizeF(), 15.0);
        QVERIFY(!d.MemorizzaPagine());
        d.show();
        QTest::mouseDClick(d.LabProp, Qt::LeftButton);
        QCOMPARE(d.Percent(), 67);
        QCOMPARE(d.LabProp->text(), QStringLiteral("67"));
        QCOMPARE(d.PicProva->font().pointSizeF(), 6.7);
        QVERIFY(d.MemorizzaPagine());
        QVERIFY(d.CheMemVid->text() == QStringLiteral("Memorizza pagine"));
        d.ComOK->click();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.Factor(), 0.67);
    }

private:
    std::unique_ptr<PrintFixture> m_fx;
    std::unique_ptr<AziendaUtilStampe> m_util;
    const int m_allocationLimit = QImageReader::allocationLimit();
};

QTEST_MAIN(TestFrmVStampa)
#include "tst_frmvstampa.moc"
