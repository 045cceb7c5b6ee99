// FrmPrelvo on the demo company: what the form shows after loading, the option controls, the
// checks before a run in their order with their messages, leaving "Articolo da:", a run to a
// CSV file against the batch run of the same fields, the single-run guard and the refusal to
// close while the report runs.
#include "tests/bom/frmprelvofixture.h"

#include "bom/prelvo.h"
#include "platform/printlib/printoptions.h"
#include "print/aziendautilstampe.h"
#include "startup/formregistry.h"
#include "startup/mainprelvo.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace kem;
using kemtest::FrmPrelvoFixture;

namespace {

const QString kBatch = QStringLiteral(KEM_BINARY_DIR "/apps/distinta-batch/distinta-batch");

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Types a text into a box and leaves it, as the user does.
void typeAndLeave(FrmPrelvo &form, int index, const QString &text)
{
    form.txt[index]->setText(text);
    form.Txt_LostFocus(index);
}

// The messages of a run, without those the demo data asks for on purpose (a link to an article
// that does not exist).
QStringList runMessages(const kem::RecordingMessageSink &sink)
{
    QStringList out;
    for (const QString &t : sink.texts())
        if (!t.contains(QStringLiteral("previsto come legame ma inesistente")))
            out << t;
    return out;
}

} // namespace

class TestFrmPrelvo : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void loadShowsDefaults_data();
    void loadShowsDefaults();
    void optionControls();
    void salPagUnchecksImage();
    void checksBeforeRun_data();
    void checksBeforeRun();
    void leavingArticoloDaCopiesIntoA();
    void unknownArticleMarksError();
    void functionKeysOpenLookup_data();
    void functionKeysOpenLookup();
    void runMatchesBatch_data();
    void runMatchesBatch();
    void quickPreviewRestoresDestination();
    void quickPreviewRuns();
    void singleRunGuard();
    void previewWithNothingToShowCloses();
    void closeRefusedWhilePrinting();
    void dispatcherOpensByKey_data();
    void dispatcherOpensByKey();

private:
    // Runs the form to the preview; `during` runs once the first page is shown, then the
    // preview pages stop. Returns false when no page was shown.
    bool runToPreview(const std::function<void()> &during, bool quick = false);

    std::unique_ptr<FrmPrelvoFixture> f_;
    // A registry of the program's forms and the print services its forms share; they outlive
    // the context whose forms they made.
    std::shared_ptr<ReportPrintServices> sharedPrint_;
    std::unique_ptr<FormRegistry> registry_;
};

void TestFrmPrelvo::init()
{
    f_ = std::make_unique<FrmPrelvoFixture>();
}

void TestFrmPrelvo::cleanup()
{
    f_.reset();
    registry_.reset();
    sharedPrint_.reset();
}

void TestFrmPrelvo::loadShowsDefaults_data()
{
    QTest::addColumn<QString>("qtaDaDimen");
    QTest::addColumn<bool>("dimensions");
    QTest::newRow("no dimension quantities") << "" << false;
    QTest::newRow("QtaDaDimen N") << "N" << false;
    QTest::newRow("QtaDaDimen S") << "S" << true;
    QTest::newRow("QtaDaDimen s") << "s" << true;
}

void TestFrmPrelvo::loadShowsDefaults()
{
    QFETCH(QString, qtaDaDimen);
    QFETCH(bool, dimensions);
    QVERIFY2(f_->open({{QStringLiteral("Vendite.QtaDaDimen"), qtaDaDimen}}), qPrintable(f_->error));
    FrmPrelvo &form = *f_->form;
    QVERIFY(form.windowTitle().startsWith(QStringLiteral("Stampa distinta base")));
    QCOMPARE(form.labTxt[10]->text(), QStringLiteral("Articolo da:"));
    QCOMPARE(form.labTxt[20]->text(), QStringLiteral("a:"));
    QCOMPARE(form.CobTipoDiBaArt->count(), 3);
    QCOMPARE(form.CobTipoDiBaArt->itemText(2), QStringLiteral("Solo Semilavorati"));
    QCOMPARE(form.CobTipoDiBaArt->currentText(), QStringLiteral("Solo Prodotti Finiti"));
    QCOMPARE(form.KindFilter(), QStringLiteral(" DistBase = 1"));
    QCOMPARE(form.CobQualePrezzo->count(), 5);
    QCOMPARE(form.CobQualePrezzo->currentText(), QStringLiteral("Come dich. in distinta"));
    QVERIFY(!form.txt[5]->isEnabled());
    QVERIFY(!form.ComHlp[5]->isEnabled());
    QCOMPARE(form.txt[40]->text(), QStringLiteral("1"));
    QVERIFY(form.CheEspScal->isChecked());
    QVERIFY(!form.CheSalPag->isChecked());
    QVERIFY(form.CheStampoCosti->isChecked());
    QVERIFY(!form.CheStaImg->isChecked());
    QVERIFY(!form.CheStaImgRiga->isChecked());
    QVERIFY(!form.PicCosti->isHidden());
    QCOMPARE(form.PicQtaDim->isHidden(), !dimensions);
    QCOMPARE(form.CheQtaDaDimen->isChecked(), dimensions);
    QCOMPARE(form.labTxt[40]->text(), dimensions ? QStringLiteral("Num.Pezzi:") : QStringLiteral("Quantità Prodotta:"));
    QVERIFY(form.labStaAttuale->text().startsWith(QStringLiteral("Stampante attuale:")));
    QVERIFY(form.Options());
    QVERIFY(!form.Report());
    QVERIFY(f_->sink.messages.isEmpty());
}

void TestFrmPrelvo::optionControls()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmPrelvo &form = *f_->form;
    form.CheEspScal->setChecked(false);
    QVERIFY(form.txt[30]->isHidden());
    QVERIFY(!form.labTxt[30]->isEnabled());
    form.CheEspScal->setChecked(true);
    QVERIFY(!form.txt[30]->isHidden());
    QVERIFY(form.labTxt[30]->isEnabled());

    form.CobQualePrezzo->setCurrentIndex(2);
    QVERIFY(form.txt[5]->isEnabled());
    QVERIFY(form.ComHlp[5]->isEnabled());
    typeAndLeave(form, 5, QStringLiteral("ACQ"));
    QVERIFY(!form.lab[5]->text().isEmpty());
    form.CobQualePrezzo->setCurrentIndex(3);
    QVERIFY(!form.txt[5]->isEnabled());
    QVERIFY(form.txt[5]->text().isEmpty());
    QVERIFY(form.lab[5]->text().isEmpty());

    form.CobQualePrezzo->setCurrentIndex(2);
    typeAndLeave(form, 5, QStringLiteral("ACQ"));
    form.CheStampoCosti->setChecked(false);
    QVERIFY(form.PicCosti->isHidden());
    QVERIFY(form.txt[5]->text().isEmpty());
    QVERIFY(form.lab[5]->text().isEmpty());
    form.CheStampoCosti->setChecked(true);
    QVERIFY(!form.PicCosti->isHidden());

    form.CobTipoDiBaArt->setCurrentIndex(2);
    QCOMPARE(form.KindFilter(), QStringLiteral(" DistBase = 2"));
    form.CobTipoDiBaArt->setCurrentIndex(0);
    QVERIFY(form.KindFilter().isEmpty());
}

void TestFrmPrelvo::salPagUnchecksImage()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmPrelvo &form = *f_->form;
    QVERIFY(!form.CheStaImg->isEnabled());  // no page per BOM at first
    form.CheSalPag->setChecked(true);
    QVERIFY(form.CheStaImg->isEnabled());
    form.CheStaImg->setChecked(true);
    form.CheSalPag->setChecked(false);
    QVERIFY(!form.CheStaImg->isChecked());
    QVERIFY(!form.CheStaImg->isEnabled());
}

void TestFrmPrelvo::checksBeforeRun_data()
{
    QTest::addColumn<QStringList>("fields");  // "index=text", "esp=0", "quale=2", left in order
    QTest::addColumn<QString>("message");     // first message; empty: the report runs
    QTest::addColumn<QString>("caption");     // "MsgBox" for the plain message box
    QTest::addColumn<int>("focus");           // the box that gets the focus (0: none)
    QTest::addColumn<double>("qtaProd");      // odQtaProd of the run (when it runs)

    const QString livello = QStringLiteral("Errore nel campo 'Livello di Esplosione'");
    const QString quantita = QStringLiteral("Errore nel campo 'Quantità Prodotta'");
    const QString listino = QStringLiteral("Inserire un codice listino valido'");
    const QString ordine = QStringLiteral("Si prega di inserire gli articoli in ordine crescente");
    QTest::newRow("livello 1000") << QStringList{"30=1000"} << livello << "" << 30 << 0.0;
    QTest::newRow("livello -1") << QStringList{"30=-1"} << livello << "" << 30 << 0.0;
    QTest::newRow("livello not a number") << QStringList{"30=tre"} << livello << "" << 30 << 0.0;
    QTest::newRow("livello 999 runs") << QStringList{"30=999"} << "" << "" << 0 << 1.0;
    QTest::newRow("livello 1000 ignored without scalar explosion") << QStringList{"30=1000", "esp=0"} << "" << "" << 0 << 1.0;
    QTest::newRow("quantità 0") << QStringList{"40=0"} << quantita << "" << 40 << 0.0;
    QTest::newRow("quantità -2") << QStringList{"40=-2"} << quantita << "" << 40 << 0.0;
    QTest::newRow("quantità not a number") << QStringList{"40=due"} << quantita << "" << 40 << 0.0;
    QTest::newRow("quantità blank counts as 1") << QStringList{"40="} << "" << "" << 0 << 1.0;
    QTest::newRow("quantità 2,5") << QStringList{"40=2,5"} << "" << "" << 0 << 2.5;
    QTest::newRow("listino without a code") << QStringList{"quale=2"} << listino << "" << 5 << 0.0;
    QTest::newRow("listino that does not exist") << QStringList{"quale=2", "5=NOLIST"} << listino << "" << 5 << 0.0;
    QTest::newRow("listino ACQ runs") << QStringList{"quale=2", "5=ACQ"} << "" << "" << 0 << 1.0;
    QTest::newRow("reversed article range") << QStringList{"10=TAV-ROV180", "20=ARM-2A-100"} << ordine << "MsgBox" << 0 << 0.0;
    QTest::newRow("lunghezza not a number") << QStringList{"60=lungo"} << "Errore nel campo 'Lunghezza'" << "" << 60 << 0.0;
    QTest::newRow("larghezza not a number") << QStringList{"50=x"} << "Errore nel campo 'Larghezza'" << "" << 50 << 0.0;
    QTest::newRow("altezza not a number") << QStringList{"70=x"} << "Errore nel campo 'Altezza'" << "" << 70 << 0.0;
    // The order of the checks.
    QTest::newRow("lunghezza before larghezza and altezza") << QStringList{"70=x", "50=x", "60=x"} << "Errore nel campo 'Lunghezza'" << "" << 60 << 0.0;
    QTest::newRow("dimensions before the range") << QStringList{"10=TAV-ROV180", "20=ARM-2A-100", "70=x"} << "Errore nel campo 'Altezza'" << "" << 70 << 0.0;
    QTest::newRow("range before livello") << QStringList{"30=1000", "10=TAV-ROV180", "20=ARM-2A-100"} << ordine << "MsgBox" << 0 << 0.0;
    QTest::newRow("livello before quantità") << QStringList{"40=0", "30=-1"} << livello << "" << 30 << 0.0;
    QTest::newRow("quantità before listino") << QStringList{"quale=2", "40=0"} << quantita << "" << 40 << 0.0;
}

void TestFrmPrelvo::checksBeforeRun()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, message);
    QFETCH(QString, caption);
    QFETCH(int, focus);
    QFETCH(double, qtaProd);
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmPrelvo &form = *f_->form;
    const QString out = f_->tmp.filePath(QStringLiteral("checks.csv"));
    kemtest::ToCsv(form, out);
    bool rangeGiven = false;
    for (const QString &field : fields) {
        const QString key = field.section(QLatin1Char('='), 0, 0);
        const QString value = field.section(QLatin1Char('='), 1);
        if (key == QLatin1String("esp"))
            form.CheEspScal->setChecked(value == QLatin1String("1"));
        else if (key == QLatin1String("quale"))
            form.CobQualePrezzo->setCurrentIndex(value.toInt());
        else {
            rangeGiven = rangeGiven || key == QLatin1String("10");
            form.txt[key.toInt()]->setText(value);
            form.Txt_LostFocus(key.toInt());
        }
    }
    if (!rangeGiven) {  // one BOM keeps the runs short
        typeAndLeave(form, 10, QStringLiteral("SED-FAG01"));
    }
    form.setFocus();
    f_->sink.clear();
    form.ComStampa_Click();
    if (message.isEmpty()) {
        QCOMPARE(runMessages(f_->sink), QStringList{QStringLiteral("Stampa salvata nel file ") + out});
        QVERIFY(form.Report());
        QVERIFY(form.Report()->LastRun().printed);
        QVERIFY(!form.Report()->LastRun().failed);
        QCOMPARE(form.Report()->odQtaProd, qtaProd);
        QVERIFY(QFile::exists(out));
        return;
    }
    QCOMPARE(f_->texts(), QStringList{message});
    const auto &shown = f_->sink.messages.first();
    if (caption == QLatin1String("MsgBox")) {
        QCOMPARE(shown.caption, caption);
    } else {
        QCOMPARE(shown.buttons, QStringList{QStringLiteral("&Ok")});
    }
    if (focus != 0) {
        QVERIFY(form.IsInError(focus) || form.txt[focus]->text().isEmpty());
        QCOMPARE(form.focusWidget(), form.txt[focus]);
    }
    QVERIFY(!form.Report());  // nothing ran
    QVERIFY(!QFile::exists(out));
}

void TestFrmPrelvo::leavingArticoloDaCopiesIntoA()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmPrelvo &form = *f_->form;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.txt[20]->setText(QStringLiteral("ZZZ"));
    form.txt[10]->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), form.txt[10]);
    QTest::keyClicks(form.txt[10], QStringLiteral("sed-fag01"));
    QTest::keyClick(form.txt[10], Qt::Key_Tab);
    QTRY_VERIFY(QApplication::focusWidget() != form.txt[10]);
    QCOMPARE(form.txt[10]->text(), QStringLiteral("SED-FAG01"));
    QCOMPARE(form.lab[10]->text(), QStringLiteral("Sedia faggio con seduta imbottita"));
    QCOMPARE(form.txt[20]->text(), QStringLiteral("SED-FAG01"));
    QCOMPARE(form.lab[20]->text(), QStringLiteral("Sedia faggio con seduta imbottita"));
    QVERIFY(!form.IsInError(10));
}

void TestFrmPrelvo::unknownArticleMarksError()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmPrelvo &form = *f_->form;
    // A semi-finished article is not a finished product: with the kind filter it does not decode.
    typeAndLeave(form, 10, QStringLiteral("SL-SCOCCA-SED"));
    QCOMPARE(form.lab[10]->text(), QStringLiteral("** INESISTENTE **"));
    QVERIFY(form.IsInError(10));
    QCOMPARE(form.txt[20]->text(), QStringLiteral("SL-SCOCCA-SED"));
    QVERIFY(form.IsInError(20));
    form.CobTipoDiBaArt->setCurrentIndex(2);
    typeAndLeave(form, 10, QStringLiteral("SL-SCOCCA-SED"));
    QCOMPARE(form.lab[10]->text(), QStringLiteral("Scocca sedia faggio laccata"));
    QVERIFY(!form.IsInError(10));
    QVERIFY(!form.IsInError(20));
}

void TestFrmPrelvo::functionKeysOpenLookup_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("listino");  // "Listino" chosen first
    QTest::addColumn<int>("lookups");
    QTest::newRow("F2 on Articolo da") << 10 << int(Qt::Key_F2) << 0 << false << 1;
    QTest::newRow("F5 on a:") << 20 << int(Qt::Key_F5) << 0 << false << 1;
    QTest::newRow("F6 opens nothing") << 10 << int(Qt::Key_F6) << 0 << false << 0;
    QTest::newRow("Shift+F2 opens nothing") << 10 << int(Qt::Key_F2) << int(Qt::ShiftModifier) << false << 0;
    QTest::newRow("F3 on Cod.Listino") << 5 << int(Qt::Key_F3) << 0 << true << 1;
    QTest::newRow("F2 on Livello opens nothing") << 30 << int(Qt::Key_F2) << 0 << false << 0;
}

void TestFrmPrelvo::functionKeysOpenLookup()
{
    QFETCH(int, index);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, listino);
    QFETCH(int, lookups);
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmPrelvo &form = *f_->form;
    if (listino)
        form.CobQualePrezzo->setCurrentIndex(2);
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    int shown = 0;
    connect(f_->aiuto.get(), &KemAiutoDecod::lookupShown, this, [&shown](FrmAiutoLookup *w) {
        ++shown;
        QTimer::singleShot(0, w, [w] { w->reject(); });
    });
    form.txt[index]->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), form.txt[index]);
    QTest::keyClick(form.txt[index], Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(shown, lookups);
}

void TestFrmPrelvo::runMatchesBatch_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("batch");
    QTest::newRow("defaults") << QStringList{} << QStringList{};
    QTest::newRow("all kinds, two levels, quantity 3")
        << QStringList{"tipo=0", "30=2", "40=3"} << QStringList{"--tipo-diba", "0", "--liv-esp", "2", "--qta-prod", "3"};
    QTest::newRow("list ACQ, one chair")
        << QStringList{"quale=2", "5=ACQ", "10=SED-FAG01"}
        << QStringList{"--quale-prezzo", "L", "--listino", "ACQ", "--articolo-da", "SED-FAG01", "--articolo-a", "SED-FAG01"};
    QTest::newRow("standard cost, no components")
        << QStringList{"quale=4", "esp=0", "tipo=0"} << QStringList{"--quale-prezzo", "S", "--esp-scal", "N", "--tipo-diba", "0"};
    QTest::newRow("no values, page per BOM")
        << QStringList{"costi=0", "salpag=1"} << QStringList{"--importi", "N", "--salto-pag", "S"};
}

void TestFrmPrelvo::runMatchesBatch()
{
    QFETCH(QStringList, fields);
    QFETCH(QStringList, batch);
    QVERIFY2(QFile::exists(kBatch), qPrintable(kBatch));
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmPrelvo &form = *f_->form;
    for (const QString &field : fields) {
        const QString key = field.section(QLatin1Char('='), 0, 0);
        const QString value = field.section(QLatin1Char('='), 1);
        if (key == QLatin1String("tipo"))
            form.CobTipoDiBaArt->setCurrentIndex(value.toInt());
        else if (key == QLatin1String("quale"))
            form.CobQualePrezzo->setCurrentIndex(value.toInt());
        else if (key == QLatin1String("esp"))
            form.CheEspScal->setChecked(value == QLatin1String("1"));
        else if (key == QLatin1String("costi"))
            form.CheStampoCosti->setChecked(value == QLatin1String("1"));
        else if (key == QLatin1String("salpag"))
            form.CheSalPag->setChecked(value == QLatin1String("1"));
        else
            typeAndLeave(form, key.toInt(), value);
    }
    const QString fromForm = f_->tmp.filePath(QStringLiteral("form.csv"));
    const QString fromBatch = f_->tmp.filePath(QStringLiteral("batch.csv"));
    kemtest::ToCsv(form, fromForm);
    form.ComStampa_Click();
    QCOMPARE(runMessages(f_->sink), QStringList{QStringLiteral("Stampa salvata nel file ") + fromForm});
    QVERIFY(form.Report() && form.Report()->LastRun().printed);
    QVERIFY(form.ProgressWindow());
    QVERIFY(!form.ProgressWindow()->isVisible());  // the run is over, its window gone
    QCOMPARE(f_->print->Stampe(kem::CompanyOf(*f_->ctx)).oiStaAtt, 0);

    QProcess p;
    p.start(kBatch, QStringList{"bom", "--company", f_->dir, "--out", fromBatch} + batch);
    QVERIFY(p.waitForFinished(120000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());

    const QByteArray a = fileBytes(fromForm);
    const QByteArray b = fileBytes(fromBatch);
    QVERIFY(a.count('\n') > 3);
    QCOMPARE(QString::fromUtf8(a).split(QStringLiteral("\r\n")), QString::fromUtf8(b).split(QStringLiteral("\r\n")));
}

void TestFrmPrelvo::quickPreviewRestoresDestination()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmPrelvo &form = *f_->form;
    kemtest::ToCsv(form, f_->tmp.filePath(QStringLiteral("quick.csv")));
    form.VisStaAttuale();
    const QString before = form.labStaAttuale->text();
    // A failing check ends the click before any run: only the destination switch is seen.
    typeAndLeave(form, 40, QStringLiteral("0"));
    form.cmdStaVid_Click();
    QCOMPARE(f_->texts(), QStringList{QStringLiteral("Errore nel campo 'Quantità Prodotta'")});
    QCOMPARE(form.Options()->StaVid, int(PrintOptions::File));
    QCOMPARE(form.labStaAttuale->text(), before);
}

void TestFrmPrelvo::quickPreviewRuns()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmPrelvo &form = *f_->form;
    const QString out = f_->tmp.filePath(QStringLiteral("quick.csv"));
    kemtest::ToCsv(form, out);
    int destinationDuringRun = -1;
    QVERIFY(runToPreview([&] { destinationDuringRun = form.Options()->StaVid; }, true));
    QCOMPARE(destinationDuringRun, int(PrintOptions::Preview));
    QCOMPARE(form.Options()->StaVid, int(PrintOptions::File));  // put back after the run
    QVERIFY(form.PreviewUsed());
    QVERIFY(form.PreviewWindow() && form.PreviewWindow()->isVisible());
    QVERIFY(!QFile::exists(out));
    QVERIFY(form.labStaAttuale->text().contains(QStringLiteral("quick.csv")));
    QVERIFY(form.PreviewWindow()->close());
    QCOMPARE(f_->print->Stampe(kem::CompanyOf(*f_->ctx)).oiStaAtt, 0);
}

void TestFrmPrelvo::previewWithNothingToShowCloses()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmPrelvo &form = *f_->form;
    form.Options()->StaVid = PrintOptions::Preview;
    typeAndLeave(form, 10, QStringLiteral("ZZZ1"));
    typeAndLeave(form, 20, QStringLiteral("ZZZ2"));
    f_->sink.clear();
    form.ComStampa_Click();
    QCOMPARE(runMessages(f_->sink), QStringList{QStringLiteral("Non ci sono dati nell'intervallo richiesto")});
    QVERIFY(!form.PreviewWindow() || !form.PreviewWindow()->isVisible());  // no empty "Pag.000"
    QVERIFY(!form.ProgressWindow() || !form.ProgressWindow()->isVisible());
    QCOMPARE(f_->ctx->oiStaAtt, 0);  // the next run may start
    const QString out = f_->tmp.filePath(QStringLiteral("after.csv"));
    typeAndLeave(form, 10, QStringLiteral("SED-FAG01"));
    kemtest::ToCsv(form, out);
    f_->sink.clear();
    form.ComStampa_Click();
    QCOMPARE(runMessages(f_->sink), QStringList{QStringLiteral("Stampa salvata nel file ") + out});
}

bool TestFrmPrelvo::runToPreview(const std::function<void()> &during, bool quick)
{
    FrmPrelvo &form = *f_->form;
    if (!quick)
        form.Options()->StaVid = PrintOptions::Preview;
    typeAndLeave(form, 10, QStringLiteral("ARM-2A-100"));
    typeAndLeave(form, 20, QStringLiteral("TAV-ROV180"));
    return kemtest::RunToFirstPreviewPage(
        form, [&] { quick ? form.cmdStaVid_Click() : form.ComStampa_Click(); }, during);
}

void TestFrmPrelvo::singleRunGuard()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmPrelvo &form = *f_->form;
    AziendaUtilStampe &stampe = f_->print->Stampe(kem::CompanyOf(*f_->ctx));
    QVERIFY(runToPreview([] {}));
    QVERIFY(form.PreviewUsed());
    QVERIFY(form.PreviewWindow() && form.PreviewWindow()->isVisible());
    QCOMPARE(stampe.oiStaAtt, 1);  // the preview keeps the job until it closes
    QCOMPARE(f_->ctx->oiStaAtt, 1);  // the program's one flag, which the shutdown tests drive
    QVERIFY(!form.Report()->obStaAtt);
    const int pages = form.Report()->LastRun().pages;

    f_->sink.clear();
    kemtest::ToCsv(form, f_->tmp.filePath(QStringLiteral("second.csv")));
    form.ComStampa_Click();
    QCOMPARE(f_->texts(), QStringList{QStringLiteral("Non è possibile lanciare più di una stampa alla volta")});
    QCOMPARE(f_->sink.messages.first().caption, QStringLiteral("MsgBox"));
    QVERIFY(!QFile::exists(f_->tmp.filePath(QStringLiteral("second.csv"))));
    QCOMPARE(form.Report()->LastRun().pages, pages);

    // Closing the preview ends the job: the next run goes.
    QVERIFY(form.PreviewWindow()->close());
    QCOMPARE(stampe.oiStaAtt, 0);
    QCOMPARE(f_->ctx->oiStaAtt, 0);
    f_->sink.clear();
    form.ComStampa_Click();
    QCOMPARE(runMessages(f_->sink), QStringList{QStringLiteral("Stampa salvata nel file ") + f_->tmp.filePath(QStringLiteral("second.csv"))});
    QVERIFY(QFile::exists(f_->tmp.filePath(QStringLiteral("second.csv"))));
    QCOMPARE(stampe.oiStaAtt, 0);
}

void TestFrmPrelvo::closeRefusedWhilePrinting()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmPrelvo &form = *f_->form;
    form.show();
    bool closedDuringRun = true;
    bool runningThen = false;
    QVERIFY(runToPreview([&] {
        runningThen = form.Report()->obStaAtt;
        f_->sink.clear();
        closedDuringRun = form.close();
    }));
    QVERIFY(runningThen);
    QVERIFY(!closedDuringRun);
    QCOMPARE(f_->texts(), QStringList{QStringLiteral("Stampa ancora attiva, non è possibile uscire dal programma")});
    QVERIFY(form.IsLoaded());
    QVERIFY(form.isVisible());

    // Once the run is over the form closes, and its preview with it.
    QVERIFY(!form.Report()->obStaAtt);
    QPointer<FrmVStampa> preview = form.PreviewWindow();
    QVERIFY(preview);
    QVERIFY(form.close());
    QVERIFY(!form.IsLoaded());
    QVERIFY(!preview);
    QVERIFY(!form.Report());
    QCOMPARE(f_->print->Stampe(kem::CompanyOf(*f_->ctx)).oiStaAtt, 0);
}

void TestFrmPrelvo::dispatcherOpensByKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("as the menu gives it") << "frmPrelvo";
    QTest::newRow("any case") << "FRMPRELVO";
    QTest::newRow("with blanks") << " frmprelvo ";
}

void TestFrmPrelvo::dispatcherOpensByKey()
{
    QFETCH(QString, key);
    QVERIFY2(f_->open(), qPrintable(f_->error));
    f_->form.reset();
    sharedPrint_ = std::make_shared<ReportPrintServices>(std::make_unique<ScriptedPrinterSystem>());
    registry_ = std::make_unique<FormRegistry>();
    RegisterFrmPrelvo(*registry_, sharedPrint_);
    f_->ctx->registry = registry_.get();
    FormDispatcher(*f_->ctx, key, true, QStringLiteral("frmPrelvo"), {}, {}, {});
    auto *form = dynamic_cast<FrmPrelvo *>(f_->ctx->FormInstance(QStringLiteral("frmPrelvo")));
    QVERIFY(form);
    QVERIFY(form->IsLoaded());
    QCOMPARE(form->oiLoadOk, 1);
    QVERIFY(form->isVisible());
    QCOMPARE(form->FormName(), QStringLiteral("frmPrelvo"));
    QVERIFY(form->windowTitle().startsWith(QStringLiteral("Stampa distinta base")));
    QCOMPARE(runMessages(f_->sink), QStringList());

    f_->menu->clearCalls();
    form->PassaA();
    const auto calls = f_->menu->callsTo(QStringLiteral("MenuPassaA"));
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls.first().args.value(0).toString(), QStringLiteral("Stampa Distinta Base"));
    QCOMPARE(calls.first().args.value(1).toString(), QStringLiteral("frmPrelvo"));
    QCOMPARE(calls.first().args.value(2).toString(), form->osKeySec);

    QVERIFY(form->Unload());
    QVERIFY(!form->IsLoaded());
}

QTEST_MAIN(TestFrmPrelvo)
#include "tst_frmprelvo.moc"
