// The window side of a report form: load, display states, refusal to close, the closing
// protocol run when the program or the user closes it.
#include "startup/mainprelvo.h"
#include "reportkit/reportformbase.h"
#include "tests/startup/startupfixture.h"

#include <QTest>

using namespace kem;
using namespace kem::test;

namespace {

class SampleForm : public ReportFormBase {
public:
    SampleForm(ProgramContext &ctx) : ReportFormBase(ctx, QStringLiteral("frmSample"))
    {
        setWindowTitle(QStringLiteral("Stampa di prova"));
    }
    bool busy = false;
    int loads = 0;
    int unloads = 0;
    int loadResult = 1;

protected:
    void Form_Load() override
    {
        ++loads;
        oiLoadOk = loadResult;
    }
    void Form_Unload(bool &cancel) override
    {
        ++unloads;
        cancel = busy;
    }
};

} // namespace

class TestReportFormBase : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Fixture> fixture(SampleForm **out, int loadResult = 1)
    {
        auto f = std::make_unique<Fixture>();
        f->connectMenu();
        f->registry.Add(QStringLiteral("frmSample"), [out, loadResult](ProgramContext &c) {
            auto form = std::make_unique<SampleForm>(c);
            form->loadResult = loadResult;
            *out = form.get();
            return form;
        });
        return f;
    }

private slots:
    void displayStates_data()
    {
        QTest::addColumn<QString>("programState");
        QTest::addColumn<int>("flag");
        QTest::newRow("normal") << "" << int(Qt::WindowNoState);
        QTest::newRow("maximised") << "2" << int(Qt::WindowMaximized);
    }
    void displayStates()
    {
        QFETCH(QString, programState);
        QFETCH(int, flag);
        SampleForm *form = nullptr;
        auto f = fixture(&form);
        f->ctx->params.windowState = programState;
        FormDispatcher(*f->ctx, QStringLiteral("FRMSAMPLE"), true, QStringLiteral("frmSample"), {}, {}, {});
        QVERIFY(form);
        QVERIFY(form->IsLoaded());
        QVERIFY(form->isVisible());
        QCOMPARE(form->loads, 1);
        QCOMPARE(int(form->windowState() & Qt::WindowMaximized), flag);
        QCOMPARE(form->osKeySec, QStringLiteral("frmSample"));
    }

    void busyFormRefusesToClose()
    {
        SampleForm *form = nullptr;
        auto f = fixture(&form);
        FormDispatcher(*f->ctx, QStringLiteral("frmSample"), true, {}, {}, {}, {});
        form->busy = true;
        QVERIFY(!form->Unload());
        QVERIFY(form->IsLoaded());
        QVERIFY(form->isVisible());
        QVERIFY(!form->close()); // the user's close button meets the same refusal
        QCOMPARE(f->menu->pushCommand(QStringLiteral("fine")).toString(), QStringLiteral("No Chiudi"));
    }

    void userCloseHandsBackAndEnds()
    {
        SampleForm *form = nullptr;
        auto f = fixture(&form);
        FormDispatcher(*f->ctx, QStringLiteral("frmSample"), true, QStringLiteral("frmSample"), {}, {}, {});
        QVERIFY(form->close());
        QVERIFY(!form->IsLoaded());
        QCOMPARE(form->unloads, 1);
        QCOMPARE(f->menu->callsTo(QStringLiteral("MenuActivate")).size(), 1);
        const auto released = f->menu->callsTo(QStringLiteral("MenuKeyRelease"));
        QCOMPARE(released.size(), 1);
        QCOMPARE(released.first().args.value(0).toString(), QStringLiteral("frmSample"));
        QVERIFY(f->ctx->mainForm->timChiudi().isActive());
        QTRY_VERIFY(!f->ctx->mainForm->isLoaded());
        QCOMPARE(f->menu->callsTo(QStringLiteral("MenuUnregister")).size(), 1);
    }

    void reopenedAfterClosing()
    {
        SampleForm *form = nullptr;
        auto f = fixture(&form);
        FormDispatcher(*f->ctx, QStringLiteral("frmSample"), true, {}, {}, {}, {});
        SampleForm *first = form;
        QVERIFY(form->Unload());
        FormDispatcher(*f->ctx, QStringLiteral("frmSample"), true, {}, {}, {}, {});
        QCOMPARE(form, first);
        QCOMPARE(form->loads, 2);
        QVERIFY(form->IsLoaded());
    }

    void loadFailureUnloadsAndEnds()
    {
        SampleForm *form = nullptr;
        auto f = fixture(&form, -1);
        FormDispatcher(*f->ctx, QStringLiteral("frmSample"), true, {}, {}, {}, {});
        QVERIFY(!form->IsLoaded());
        QVERIFY(!form->isVisible());
        QVERIFY(!f->ctx->mainForm->isLoaded());
    }

    void passaAOffersTheForm()
    {
        SampleForm *form = nullptr;
        auto f = fixture(&form);
        FormDispatcher(*f->ctx, QStringLiteral("frmSample"), true, {}, {}, {}, {});
        f->menu->pushCommand(QStringLiteral("preppassaa"));
        const auto offered = f->menu->callsTo(QStringLiteral("MenuPassaA"));
        QCOMPARE(offered.size(), 1);
        QCOMPARE(offered.first().args.value(0).toString(), QStringLiteral("Stampa di prova"));
        QCOMPARE(offered.first().args.value(1).toString(), QStringLiteral("frmSample"));
    }
};

QTEST_MAIN(TestReportFormBase)
#include "tst_reportformbase.moc"
