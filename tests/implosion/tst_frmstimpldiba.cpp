// FrmStImplDiBa on the demo company: what the form shows after loading, the lookup filter of
// each kind and what the code fields decode under it, the reversed range, a run to a CSV file
// against the batch run of the same fields, the preview, the destination dialog, the
// single-run guard, the refusal to close while the report runs, and the dispatcher opening it.
#include "implosion/frmstimpldiba.h"
#include "tests/support/batchrun.h"
#include "tests/support/reportformfixture.h"
#include "tests/support/smtptestserver.h"

#include "platform/printlib/printoptions.h"
#include "print/aziendautilstampe.h"
#include "print/frmsceltastam.h"
#include "startup/formregistry.h"
#include "startup/mainprelvo.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace kem;
using Fixture = kemtest::ReportFormFixture<FrmStImplDiBa>;

namespace {

// Types a code into a box and leaves it for the next one, as the user does.
void typeAndLeave(FrmStImplDiBa &form, int index, const QString &text)
{
    // A lookup or a message window that closed leaves no window active.
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QLineEdit *box = form.txt[index];
    box->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), box);
    box->setText(text);
    form.CobTipoDiBaArt->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), form.CobTipoDiBaArt);
}

} // namespace

class TestFrmStImplDiBa : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadShowsDefaults();
    void kindSetsTheLookupFilter_data();
    void kindSetsTheLookupFilter();
    void reversedRangeIsRefused();
    void runMatchesBatch_data();
    void runMatchesBatch();
    void previewRunsAndRestoresDestination();
    void destinationDialogOpens();
    void singleRunGuardAndCloseRefusedWhilePrinting();
    void dispatcherOpensByKey();
    void automaticPdfSentByEmail_data();
    void automaticPdfSentByEmail();

private:
    bool runToPreview(const std::function<void()> &during, bool quick = false);

    std::unique_ptr<Fixture> f_;
    std::shared_ptr<ReportPrintServices> sharedPrint_;
    std::unique_ptr<FormRegistry> registry_;
};

void TestFrmStImplDiBa::init()
{
    f_ = std::make_unique<Fixture>();
}

void TestFrmStImplDiBa::cleanup()
{
    f_.reset();
    registry_.reset();
    sharedPrint_.reset();
}

void TestFrmStImplDiBa::loadShowsDefaults()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmStImplDiBa &form = *f_->form;
    QVERIFY(form.windowTitle().startsWith(QStringLiteral("Implosione distinta")));
    QCOMPARE(form.property("HelpContextID").toInt(), 55055);
    QCOMPARE(form.labTxt[10]->text(), QStringLiteral("Articolo da:"));
    QCOMPARE(form.labTxt[20]->text(), QStringLiteral("a:"));
    QCOMPARE(form.LabTipoDiBaArt->text(), QStringLiteral("Articoli da considerare:"));
    QCOMPARE(form.CobTipoDiBaArt->count(), 3);
    QCOMPARE(form.CobTipoDiBaArt->itemText(0), QStringLiteral("Tutti"));
    QCOMPARE(form.CobTipoDiBaArt->itemText(1), QStringLiteral("Solo Materiale di base"));
    QCOMPARE(form.CobTipoDiBaArt->itemText(2), QStringLiteral("Solo Semilavorati"));
    QCOMPARE(form.CobTipoDiBaArt->currentIndex(), 1);
    QCOMPARE(form.KindFilter(), QStringLiteral(" DistBase = 3"));
    QVERIFY(!form.CheTuttiLivelli->isChecked());
    QCOMPARE(form.CheTuttiLivelli->text(), QStringLiteral("Tutti i livelli"));
    QCOMPARE(form.ComStampa->text(), QStringLiteral("&Stampa"));
    QCOMPARE(form.cmdStaVid->text(), QStringLiteral("&Stampa a Video"));
    QCOMPARE(form.comSceStam->text(), QStringLiteral("Seleziona Destinazione Stampa"));
    QCOMPARE(form.ComChiudi->text(), QStringLiteral("&Chiudi"));
    QVERIFY(form.labStaAttuale->text().startsWith(QStringLiteral("Stampante attuale:")));
    const ImplosionSelection s = form.Selection();
    QCOMPARE(s.oiTipoDibaArt, qint16(1));
    QCOMPARE(s.oiLivelli, 1);
    QVERIFY(form.Options());
    QVERIFY(!form.Report());
    QVERIFY(f_->sink.messages.isEmpty());
}

void TestFrmStImplDiBa::kindSetsTheLookupFilter_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("kinds");  // DistBase values the lookup lists
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("decoded");
    const QString none = QStringLiteral("** INESISTENTE **");
    QTest::newRow("Tutti, a semi-finished") << 0 << " (DistBase = 2 OR  DistBase = 3)" << "2,3" << "SL-ANTA-50"
                                            << "Anta nobilitata bianca 50x200 con cerniere";
    QTest::newRow("Tutti, a base material") << 0 << " (DistBase = 2 OR  DistBase = 3)" << "2,3" << "COL-VIN"
                                            << "Colla vinilica D3";
    QTest::newRow("Tutti, a finished product") << 0 << " (DistBase = 2 OR  DistBase = 3)" << "2,3" << "SED-FAG01" << none;
    QTest::newRow("base materials, a base material") << 1 << " DistBase = 3" << "3" << "col-vin" << "Colla vinilica D3";
    QTest::newRow("base materials, a semi-finished") << 1 << " DistBase = 3" << "3" << "SL-ANTA-50" << none;
    QTest::newRow("semi-finished, a semi-finished") << 2 << " DistBase = 2" << "2" << "SL-GAMBA-ROV"
                                                    << "Gamba tornita rovere h.72";
    QTest::newRow("semi-finished, a base material") << 2 << " DistBase = 2" << "2" << "COL-VIN" << none;
}

void TestFrmStImplDiBa::kindSetsTheLookupFilter()
{
    QFETCH(int, kind);
    QFETCH(QString, filter);
    QFETCH(QString, kinds);
    QFETCH(QString, code);
    QFETCH(QString, decoded);
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmStImplDiBa &form = *f_->form;
    form.CobTipoDiBaArt->setCurrentIndex(kind);
    QCOMPARE(form.KindFilter(), filter);
    QVERIFY(kemtest::ShowActive(form));

    // F2 lists the articles of those kinds only.
    ResultSets rs;
    const QString h = rs.RsOpen(*f_->ctx->database(),
                                QStringLiteral("SELECT COUNT(*) AS N FROM Articoli WHERE DistBase IN (%1)").arg(kinds));
    rs.RsMoveFirst(h);
    const int expected = rs.RsField(h, QStringLiteral("N")).toInt();
    rs.RsCloseAll();
    QVERIFY(expected > 0);
    int listed = -1;
    connect(f_->aiuto.get(), &KemAiutoDecod::lookupShown, this, [&listed](FrmAiutoLookup *w) {
        QTimer::singleShot(0, w, [w, &listed] {
            listed = w->visibleRowCount();
            w->reject();
        });
    });
    form.txt[10]->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), form.txt[10]);
    QTest::keyClick(form.txt[10], Qt::Key_F2);
    QCOMPARE(listed, expected);

    // Leaving the box decodes the code under the same filter.
    typeAndLeave(form, 20, code);
    QCOMPARE(form.lab[20]->text(), decoded);
}

void TestFrmStImplDiBa::reversedRangeIsRefused()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmStImplDiBa &form = *f_->form;
    QVERIFY(kemtest::ShowActive(form));
    const QString out = f_->tmp.filePath(QStringLiteral("reversed.csv"));
    kemtest::ToCsv(form, out);
    typeAndLeave(form, 10, QStringLiteral("VIT-4X40"));
    typeAndLeave(form, 20, QStringLiteral("COL-VIN"));
    f_->sink.clear();
    form.ComStampa_Click();
    QCOMPARE(f_->texts(), QStringList{QStringLiteral("Si prega di inserire gli articoli in ordine crescente")});
    QCOMPARE(f_->sink.messages.first().caption, QStringLiteral("MsgBox"));
    QVERIFY(!QFile::exists(out));
    QVERIFY(!form.Report() || !form.Report()->LastRun().printed);
    QTRY_COMPARE(QApplication::focusWidget(), form.txt[10]);
}

void TestFrmStImplDiBa::runMatchesBatch_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("allLevels");
    QTest::addColumn<QStringList>("batch");
    QTest::newRow("base materials, the form's defaults") << 1 << "" << "" << false << QStringList();
    QTest::newRow("every kind from SL-G") << 0 << "SL-G" << "" << false
                                          << QStringList{"--tipo-diba-art", "0", "--articolo-da", "SL-G"};
    QTest::newRow("semi-finished, every level") << 2 << "" << "" << true
                                                << QStringList{"--tipo-diba-art", "2", "--levels", "0"};
}

void TestFrmStImplDiBa::runMatchesBatch()
{
    QFETCH(int, kind);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, allLevels);
    QFETCH(QStringList, batch);
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmStImplDiBa &form = *f_->form;
    QVERIFY(kemtest::ShowActive(form));
    form.CobTipoDiBaArt->setCurrentIndex(kind);
    if (!from.isEmpty())
        typeAndLeave(form, 10, from);
    if (!to.isEmpty())
        typeAndLeave(form, 20, to);
    form.CheTuttiLivelli->setChecked(allLevels);
    const QString fromForm = f_->tmp.filePath(QStringLiteral("form.csv"));
    const QString fromBatch = f_->tmp.filePath(QStringLiteral("batch.csv"));
    kemtest::ToCsv(form, fromForm);
    f_->sink.clear();
    form.ComStampa_Click();
    QCOMPARE(f_->texts(), QStringList{QStringLiteral("Stampa salvata nel file ") + fromForm});
    QVERIFY(form.Report() && form.Report()->LastRun().printed);
    QCOMPARE(form.Report()->oiLivelli, allLevels ? 0 : 1);
    QVERIFY(!form.ProgressWindow() || !form.ProgressWindow()->isVisible());
    QCOMPARE(f_->print->Stampe(kem::CompanyOf(*f_->ctx)).oiStaAtt, 0);

    const kemtest::BatchResult r =
        kemtest::RunBatch(QStringList{"implosion", "--company", f_->dir, "--out", fromBatch} + batch);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QStringList a = kemtest::CsvLines(fromForm);
    QVERIFY(a.size() > 4);
    QCOMPARE(a, kemtest::CsvLines(fromBatch));
    // Every level: the articles above the parents are there.
    QCOMPARE(a.join('\n').contains(QStringLiteral("* * ")), allLevels);
}

bool TestFrmStImplDiBa::runToPreview(const std::function<void()> &during, bool quick)
{
    FrmStImplDiBa &form = *f_->form;
    if (!quick)
        form.Options()->StaVid = PrintOptions::Preview;
    // Every kind and every level: several pages.
    form.CobTipoDiBaArt->setCurrentIndex(0);
    form.CheTuttiLivelli->setChecked(true);
    return kemtest::RunToFirstPreviewPage(
        form, [&] { quick ? form.cmdStaVid_Click() : form.ComStampa_Click(); }, during);
}

void TestFrmStImplDiBa::previewRunsAndRestoresDestination()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmStImplDiBa &form = *f_->form;
    const QString out = f_->tmp.filePath(QStringLiteral("quick.csv"));
    kemtest::ToCsv(form, out);
    int destinationDuringRun = -1;
    QVERIFY(runToPreview([&] { destinationDuringRun = form.Options()->StaVid; }, true));
    QCOMPARE(destinationDuringRun, int(PrintOptions::Preview));
    QCOMPARE(form.Options()->StaVid, int(PrintOptions::File));  // put back after the run
    QVERIFY(form.PreviewUsed());
    QVERIFY(form.PreviewWindow() && form.PreviewWindow()->isVisible());
    QVERIFY(form.Report()->LastRun().pages >= 1);
    QVERIFY(!QFile::exists(out));
    QVERIFY(form.labStaAttuale->text().contains(QStringLiteral("quick.csv")));
    QVERIFY(form.PreviewWindow()->close());
    QCOMPARE(f_->print->Stampe(kem::CompanyOf(*f_->ctx)).oiStaAtt, 0);
}

void TestFrmStImplDiBa::destinationDialogOpens()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmStImplDiBa &form = *f_->form;
    QVERIFY(kemtest::ShowActive(form));
    QString seen;
    QTimer::singleShot(50, this, [&seen] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            seen = QString::fromLatin1(w->metaObject()->className());
            w->close();
        }
    });
    form.comSceStam_Click();
    QCOMPARE(seen, QStringLiteral("kem::FrmSceltaStam"));
    QVERIFY(form.labStaAttuale->text().startsWith(QStringLiteral("Stampante attuale:")));
}

void TestFrmStImplDiBa::singleRunGuardAndCloseRefusedWhilePrinting()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmStImplDiBa &form = *f_->form;
    form.show();
    AziendaUtilStampe &stampe = f_->print->Stampe(kem::CompanyOf(*f_->ctx));
    const QString second = f_->tmp.filePath(QStringLiteral("second.csv"));
    bool runningThen = false, closedDuringRun = true;
    QStringList guard, refusal;
    QVERIFY(runToPreview([&] {
        runningThen = form.Report()->obStaAtt;
        f_->sink.clear();
        closedDuringRun = form.close();
        refusal = f_->texts();
    }));
    QVERIFY(runningThen);
    QVERIFY(!closedDuringRun);
    QCOMPARE(refusal, QStringList{QStringLiteral("Stampa ancora attiva, non è possibile uscire dal programma")});
    QVERIFY(form.IsLoaded());

    // The preview keeps the job until it closes: a second run is refused.
    QCOMPARE(stampe.oiStaAtt, 1);
    f_->sink.clear();
    kemtest::ToCsv(form, second);
    form.ComStampa_Click();
    guard = f_->texts();
    QCOMPARE(guard, QStringList{QStringLiteral("Non è possibile lanciare più di una stampa alla volta")});
    QVERIFY(!QFile::exists(second));

    // Closing the preview ends the job: the next run goes, and the form closes.
    QVERIFY(form.PreviewWindow()->close());
    QCOMPARE(stampe.oiStaAtt, 0);
    f_->sink.clear();
    form.ComStampa_Click();
    QCOMPARE(f_->texts(), QStringList{QStringLiteral("Stampa salvata nel file ") + second});
    QVERIFY(form.close());
    QVERIFY(!form.IsLoaded());
    QVERIFY(!form.Report());
}

void TestFrmStImplDiBa::dispatcherOpensByKey()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    f_->form.reset();
    sharedPrint_ = std::make_shared<ReportPrintServices>(std::make_unique<ScriptedPrinterSystem>());
    registry_ = std::make_unique<FormRegistry>();
    RegisterFrmStImplDiBa(*registry_, sharedPrint_);
    f_->ctx->registry = registry_.get();
    FormDispatcher(*f_->ctx, QStringLiteral("FRMSTIMPLDIBA"), true, QStringLiteral("frmStImplDiBa"), {}, {}, {});
    auto *form = dynamic_cast<FrmStImplDiBa *>(f_->ctx->FormInstance(QStringLiteral("frmStImplDiBa")));
    QVERIFY(form);
    QVERIFY(form->IsLoaded());
    QCOMPARE(form->oiLoadOk, 1);
    QVERIFY(form->isVisible());
    QVERIFY(form->windowTitle().startsWith(QStringLiteral("Implosione distinta")));

    QCOMPARE(f_->OffersOf(*form), (QList<QStringList>{{QStringLiteral("Implosione Distinta Base"), QStringLiteral("frmStImplDiBa"), form->osKeySec}}));
    QVERIFY(form->Unload());
    QVERIFY(!form->IsLoaded());
}

void TestFrmStImplDiBa::automaticPdfSentByEmail_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");
    QTest::newRow("sent") << "segreta" << "Email inviata a cliente@example.com";
    QTest::newRow("refused login") << "sbagliata" << "Login o password non valida per spedizione email";
    QTest::newRow("missing password") << "" << "Mancano dati necessari per l'invio dell'email";
}

void TestFrmStImplDiBa::automaticPdfSentByEmail()
{
    // "Nome file Pdf autom." and "Invia per Email" on a printer run: the PDF takes the
    // template's name in the default folder, then goes to the recipient.
    QFETCH(QString, password);
    QFETCH(QString, message);
    kemtest::SmtpTestServer smtp;
    QString error;
    QVERIFY2(smtp.start(false, &error), qPrintable(error));
    QVERIFY2(f_->open(), qPrintable(f_->error));
    const QList<QPair<const char *, QString>> settings{
        {"PdfNomeFile", QStringLiteral("impieghi_§DataRov§")}, {"EmailTipoInvio", QStringLiteral("See")},
        {"EmailServerSMTP", QStringLiteral("127.0.0.1")},     {"EmailNumPorta", QString::number(smtp.port())},
        {"EmailLogin", QStringLiteral("ufficio")},            {"EmailPwd", password},
        {"EmailInd", QStringLiteral("ufficio@example.com")},  {"EmailTo1", QStringLiteral("cliente@example.com")},
        {"EmailCertificati", smtp.cert()}};
    for (const auto &[key, value] : settings)
        f_->menu->setVar(QString::fromLatin1(key), value);
    FrmStImplDiBa &form = *f_->form;
    PrintOptions &o = *form.Options();
    o.StaVid = PrintOptions::Printer;
    o.PathDefault = f_->tmp.path();
    o.ParamSet(QStringLiteral("PdfAutomAbil"), PrintOptions::ParamAny, true);
    o.ParamSet(QStringLiteral("EmailInvia"), PrintOptions::ParamAny, true);
    f_->sink.clear();
    // A refused login asks for another pair: the dialog is given up ("&Annulla", then "&Sì").
    int asked = 0;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, &form, [&] {
        if (auto *d = qobject_cast<kem::FrmSceltaStam *>(QApplication::activeModalWidget())) {
            asked += d->oiRichDatiEmail == kem::FrmSceltaStam::RichDatiEmailMode ? 1 : 100;
            d->ComAnnullaPdf->click();
        }
    });
    driver.start(20);
    form.ComStampa_Click();
    driver.stop();
    QCOMPARE(asked, password == QLatin1String("sbagliata") ? 1 : 0);
    const QString pdf = f_->tmp.filePath(QStringLiteral("impieghi_") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".pdf"));
    QVERIFY2(kemtest::FileBytes(pdf).startsWith("%PDF"), qPrintable(f_->texts().join('\n')));
    const QString shown = f_->texts().join('\n');
    QVERIFY2(shown.contains(message), qPrintable(shown));
    if (password == QLatin1String("sbagliata"))
        QVERIFY2(shown.contains(QStringLiteral("Invio dell'email annullato\r\nEmail non inviata; il PDF resta in ")), qPrintable(shown));
    if (password == QLatin1String("segreta")) {
        QTRY_VERIFY(!smtp.received(1, QFileInfo(pdf).fileName()).isEmpty());
        QCOMPARE(smtp.received(1, QFileInfo(pdf).fileName()), kemtest::FileBytes(pdf));
    } else {
        QVERIFY(!smtp.hasMessage(1));
    }
    QCOMPARE(f_->print->Stampe(kem::CompanyOf(*f_->ctx)).oiStaAtt, 0);
}

QTEST_MAIN(TestFrmStImplDiBa)
#include "tst_frmstimpldiba.moc"
