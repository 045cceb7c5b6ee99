// FrmStaFabbis on the demo company: what the form shows after loading, the lookups and
// decoding of the document types (by kind) and of the customers, the range checks in their
// order, the report object filled from every field and option, runs to a CSV file against the
// batch run of the same fields, and the dispatcher opening it.
#include "requirements/frmstafabbis.h"
#include "tests/support/batchrun.h"
#include "tests/support/reportformfixture.h"

#include "common/frmselclaattr.h"
#include "common/frmselclaattrcf.h"
#include "platform/printlib/printoptions.h"
#include "print/aziendautilstampe.h"
#include "startup/formregistry.h"
#include "startup/mainprelvo.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

using namespace kem;
using Fixture = kemtest::ReportFormFixture<FrmStaFabbis>;

using Boxes = QList<QPair<int, QString>>;

namespace {

// Types a code into a box and leaves it for the next one, as the user does.
void typeAndLeave(FrmStaFabbis &form, int index, const QString &text)
{
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QLineEdit *box = form.txt[index];
    box->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), box);
    box->setText(text);
    form.ChePrelvo->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), form.ChePrelvo);
}

int Count(Database &db, const QString &sql)
{
    ResultSets rs;
    const QString h = rs.RsOpen(db, sql);
    rs.RsMoveFirst(h);
    const int n = rs.RsField(h, QStringLiteral("N")).toInt();
    rs.RsCloseAll();
    return n;
}

// The rows the lookup of a box lists on F2.
int Listed(Fixture &f, FrmStaFabbis &form, int index)
{
    int listed = -1;
    QMetaObject::Connection c = QObject::connect(f.aiuto.get(), &KemAiutoDecod::lookupShown, &form,
                                                 [&listed](FrmAiutoLookup *w) {
                                                     QTimer::singleShot(0, w, [w, &listed] {
                                                         listed = w->visibleRowCount();
                                                         w->reject();
                                                     });
                                                 });
    form.txt[index]->setFocus();
    if (!QTest::qWaitFor([&] { return QApplication::focusWidget() == form.txt[index]; }))
        return -2;
    QTest::keyClick(form.txt[index], Qt::Key_F2);
    QObject::disconnect(c);
    return listed;
}

} // namespace

class TestFrmStaFabbis : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadShowsDefaults();
    void documentTypesFollowTheKind_data();
    void documentTypesFollowTheKind();
    void customerBoxesListAndDecodeCustomers();
    void rangeChecksInOrder_data();
    void rangeChecksInOrder();
    void unreadableDatesAndNumbersAreRefused_data();
    void unreadableDatesAndNumbersAreRefused();
    void reportReceivesEveryField();
    void runMatchesBatch_data();
    void runMatchesBatch();
    void dispatcherOpensByKey();

private:
    std::unique_ptr<Fixture> f_;
    std::shared_ptr<ReportPrintServices> sharedPrint_;
    std::unique_ptr<FormRegistry> registry_;
};

void TestFrmStaFabbis::init()
{
    f_ = std::make_unique<Fixture>();
}

void TestFrmStaFabbis::cleanup()
{
    f_.reset();
    registry_.reset();
    sharedPrint_.reset();
}

void TestFrmStaFabbis::loadShowsDefaults()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmStaFabbis &form = *f_->form;
    QVERIFY(form.windowTitle().startsWith(QStringLiteral("Stampa Fabbisogni")));
    QCOMPARE(form.property("HelpContextID").toInt(), 55060);
    QCOMPARE(form.OptOrdPre[0]->text(), QStringLiteral("Ordini"));
    QCOMPARE(form.OptOrdPre[1]->text(), QStringLiteral("Preventivi"));
    QVERIFY(form.OptOrdPre[0]->isChecked());
    QCOMPARE(form.DocumentKind(), QStringLiteral("O"));
    const QList<QPair<int, QString>> captions{
        {10, "Tipo Documento da:"}, {20, "al:"}, {30, "Riferimento:  data dal:"}, {40, "al:"},
        {55, "Numero dal:"}, {60, "al:"}, {70, "Documento:  data dal:"}, {80, "al:"}, {90, "Numero dal:"},
        {100, "al:"}, {110, "Prevista consegna:  data dal:"}, {120, "al:"}, {130, "Cliente da:"}, {140, "a"},
        {150, "Articolo da:"}, {160, "a"}, {170, "Gruppo da:"}, {180, "a"}, {190, "Sottogruppo:"},
        {200, "Agente da:"}, {210, "a"}, {230, "Magazzino:"}};
    for (const auto &[index, caption] : captions) {
        QVERIFY2(form.txt.contains(index), qPrintable(QString::number(index)));
        QCOMPARE(form.labTxt[index]->text(), caption);
        QVERIFY(form.txt[index]->text().isEmpty());
    }
    QCOMPARE(form.LabelClienteda, form.labTxt[130]);
    QCOMPARE(form.ComSelCliFor->text(), QStringLiteral("Seleziona Classi/Attrib. CF"));
    QCOMPARE(form.ComSelClaAttr->text(), QStringLiteral("Seleziona Classi/Attrib. Articoli"));
    QCOMPARE(form.OptTipoSta[2]->text(), QStringLiteral("Raggrupp. per articolo "));
    QCOMPARE(form.OptQtaMostr[1]->text(), QStringLiteral("Fabbisogno - giacenza"));
    QCOMPARE(form.OptQtaElab[1]->text(), QStringLiteral("Totale - disponibilità"));
    QVERIFY(form.OptTipoSta[0]->isChecked() && form.OptQtaMostr[0]->isChecked() && form.OptQtaElab[0]->isChecked());
    QCOMPARE(form.ChePrelvo->text(), QStringLiteral("Stampo DiBa articoli"));
    QCOMPARE(form.CheSemiLav->text(), QStringLiteral("Includere anche i semilavorati:"));
    QCOMPARE(form.CheSalPag->text(), QStringLiteral("Salto Pagina ad ogni Nuovo Ordine:"));
    QVERIFY(!form.ChePrelvo->isChecked() && !form.CheSemiLav->isChecked() && !form.CheSalPag->isChecked());
    QCOMPARE(form.ComStampa->text(), QStringLiteral("&Stampa"));
    QCOMPARE(form.cmdStaVid->text(), QStringLiteral("&Stampa a Video"));
    QCOMPARE(form.comSceStam->text(), QStringLiteral("Seleziona Destinazione Stampa"));
    QCOMPARE(form.ComChiudi->text(), QStringLiteral("&Chiudi"));
    QVERIFY(form.labStaAttuale->text().startsWith(QStringLiteral("Stampante attuale:")));
    QVERIFY(form.Options());
    QVERIFY(!form.Report());
    QVERIFY(f_->sink.messages.isEmpty());
}

void TestFrmStaFabbis::documentTypesFollowTheKind_data()
{
    QTest::addColumn<bool>("quotes");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("decoded");
    const QString none = QStringLiteral("** INESISTENTE **");
    QTest::newRow("orders, an order type") << false << "tipo='O'" << "ow" << "Ordine da sito web";
    QTest::newRow("orders, a quote type") << false << "tipo='O'" << "PR" << none;
    QTest::newRow("quotes, a quote type") << true << "tipo='P'" << "PC" << "Preventivo contract";
    QTest::newRow("quotes, an order type") << true << "tipo='P'" << "OC" << none;
}

void TestFrmStaFabbis::documentTypesFollowTheKind()
{
    QFETCH(bool, quotes);
    QFETCH(QString, filter);
    QFETCH(QString, code);
    QFETCH(QString, decoded);
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmStaFabbis &form = *f_->form;
    QVERIFY(kemtest::ShowActive(form));
    form.OptOrdPre[quotes ? 1 : 0]->setChecked(true);
    QCOMPARE(form.DocumentKind(), quotes ? QStringLiteral("P") : QStringLiteral("O"));
    QCOMPARE(form.TipoDocFilter(), filter);
    QCOMPARE(form.WhereOf(20), filter);

    const int expected = Count(*f_->ctx->database(),
                               QStringLiteral("SELECT COUNT(*) AS N FROM TabTipiDoc WHERE ") + filter);
    QCOMPARE(expected, 2);
    const int all = Count(*f_->ctx->database(), QStringLiteral("SELECT COUNT(*) AS N FROM TabTipiDoc"));
    QVERIFY(all > expected);
    QCOMPARE(Listed(*f_, form, 10), expected);

    typeAndLeave(form, 20, code);
    QCOMPARE(form.lab[20]->text(), decoded);
}

void TestFrmStaFabbis::customerBoxesListAndDecodeCustomers()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmStaFabbis &form = *f_->form;
    QVERIFY(kemtest::ShowActive(form));
    const int customers = Count(*f_->ctx->database(),
                                QStringLiteral("SELECT COUNT(*) AS N FROM PianoConti WHERE TipoConto = 3"));
    const int accounts = Count(*f_->ctx->database(), QStringLiteral("SELECT COUNT(*) AS N FROM PianoConti"));
    QVERIFY(customers > 0 && accounts > customers);
    QCOMPARE(Listed(*f_, form, 130), customers);

    typeAndLeave(form, 130, QStringLiteral("4.1.3"));
    QCOMPARE(form.txt[130]->text(), QStringLiteral("04.001.000003"));
    QCOMPARE(form.lab[130]->text(), QStringLiteral("Hotel Bellavista S.p.A."));
    // A supplier is not a customer.
    typeAndLeave(form, 140, QStringLiteral("30.001.000001"));
    QCOMPARE(form.lab[140]->text(), QStringLiteral("** INESISTENTE **"));
    typeAndLeave(form, 140, QStringLiteral("04001000007"));
    QCOMPARE(form.lab[140]->text(), QStringLiteral("Ristorante La Pergola"));

    // The report gets the three parts of each bound.
    const RequirementsSelection s = form.Selection().selection;
    QCOMPARE(QStringList({s.osGruppoCliDa, s.osMastroCliDa, s.osContoCliDa}), QStringList({"04", "001", "000003"}));
    QCOMPARE(QStringList({s.osGruppoCliA, s.osMastroCliA, s.osContoCliA}), QStringList({"04", "001", "000007"}));
    QCOMPARE(AccountParts(QString()), (std::array<QString, 3>{}));
}

void TestFrmStaFabbis::rangeChecksInOrder_data()
{
    QTest::addColumn<QList<int>>("boxes");     // pairs: lower box, upper box
    QTest::addColumn<QStringList>("values");   // lower, upper for each pair
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focus");
    QTest::newRow("document types") << QList<int>{10, 20} << QStringList{"OW", "OC"}
                                    << "Si prega di inserire i tipi documento Ddt in ordine crescente" << 10;
    QTest::newRow("reference dates") << QList<int>{30, 40} << QStringList{"02/03/2026", "01/03/2026"}
                                     << "Si prega di inserire le date di riferimento in ordine crescente" << 30;
    QTest::newRow("reference numbers") << QList<int>{55, 60} << QStringList{"10", "9"}
                                       << "Si prega di inserire i numeri di riferimento in ordine crescente" << 55;
    QTest::newRow("document dates") << QList<int>{70, 80} << QStringList{"1/1/2027", "31/12/2026"}
                                    << "Si prega di inserire le date di ddt in ordine crescente" << 70;
    QTest::newRow("document numbers") << QList<int>{90, 100} << QStringList{"5", "4"}
                                      << "Si prega di inserire i numeri documento in ordine crescente" << 90;
    QTest::newRow("delivery dates") << QList<int>{110, 120} << QStringList{"30/06/2026", "01/06/2026"}
                                    << "Si prega di inserire le date di prevista consegna in ordine crescente" << 110;
    QTest::newRow("customers") << QList<int>{130, 140} << QStringList{"04.001.000005", "04.001.000002"}
                               << "Si prega di inserire i codici in ordine crescente" << 130;
    QTest::newRow("articles") << QList<int>{150, 160} << QStringList{"TAV-ROV180", "SED-FAG01"}
                              << "Si prega di inserire gli articoli in ordine crescente" << 150;
    QTest::newRow("article groups") << QList<int>{170, 180} << QStringList{"SED", "ARM"}
                                    << "Si prega di inserire i gruppi articoli in ordine crescente" << 170;
    QTest::newRow("agents") << QList<int>{200, 210} << QStringList{"AG03", "AG01"}
                            << "Si prega di inserire i codici in ordine crescente" << 200;
    // Two reversed pairs: the earlier one in the form's order is told.
    QTest::newRow("articles and reference dates") << QList<int>{150, 160, 30, 40}
                                                  << QStringList{"TAV", "SED", "02/03/2026", "01/03/2026"}
                                                  << "Si prega di inserire le date di riferimento in ordine crescente"
                                                  << 30;
    QTest::newRow("agents and document numbers") << QList<int>{200, 210, 90, 100}
                                                 << QStringList{"AG02", "AG01", "7", "3"}
                                                 << "Si prega di inserire i numeri documento in ordine crescente" << 90;
}

void TestFrmStaFabbis::rangeChecksInOrder()
{
    QFETCH(QList<int>, boxes);
    QFETCH(QStringList, values);
    QFETCH(QString, message);
    QFETCH(int, focus);
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmStaFabbis &form = *f_->form;
    QVERIFY(kemtest::ShowActive(form));
    const QString out = f_->tmp.filePath(QStringLiteral("reversed.csv"));
    kemtest::ToCsv(form, out);
    for (qsizetype i = 0; i < boxes.size(); ++i)
        form.txt[boxes[i]]->setText(values[i]);
    f_->sink.clear();
    form.ComStampa_Click();
    QCOMPARE(f_->texts(), QStringList{message});
    QVERIFY(!form.Report());
    QVERIFY(!QFile::exists(out));
    QTRY_COMPARE(QApplication::focusWidget(), form.txt[focus]);

    // The same pairs in order print.
    for (qsizetype i = 0; i < boxes.size(); i += 2)
        form.txt[boxes[i + 1]]->setText(values[i]);
    f_->sink.clear();
    form.ComStampa_Click();
    QVERIFY(!f_->texts().contains(message));
    QVERIFY(form.Report());
}

void TestFrmStaFabbis::unreadableDatesAndNumbersAreRefused_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("31 February") << 40 << "31/02/2026" << "Data non valida: \"31/02/2026\" (gg/mm/aaaa)";
    QTest::newRow("words") << 110 << "domani" << "Data non valida: \"domani\" (gg/mm/aaaa)";
    QTest::newRow("before the minimum date") << 70 << "31/12/1899" << "Data troppo piccola";
}

void TestFrmStaFabbis::unreadableDatesAndNumbersAreRefused()
{
    QFETCH(int, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmStaFabbis &form = *f_->form;
    QVERIFY(kemtest::ShowActive(form));
    form.txt[box]->setText(text);
    f_->sink.clear();
    form.ComStampa_Click();
    QCOMPARE(f_->texts(), QStringList{message});
    QVERIFY(!form.Report());
    QTRY_COMPARE(QApplication::focusWidget(), form.txt[box]);
    // The number boxes take digits only.
    form.txt[55]->clear();
    QTest::keyClicks(form.txt[55], QStringLiteral("1a2-3"));
    QCOMPARE(form.txt[55]->text(), QStringLiteral("123"));
}

void TestFrmStaFabbis::reportReceivesEveryField()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmStaFabbis &form = *f_->form;
    QVERIFY(kemtest::ShowActive(form));
    form.OptOrdPre[1]->setChecked(true);
    const QList<QPair<int, QString>> boxes{
        {10, "PC"}, {20, "PR"}, {30, "01/01/2025"}, {40, "31/12/2026"}, {55, "1"}, {60, "99"},
        {70, "01/10/2025"}, {80, "30/06/2026"}, {90, "1"}, {100, "12"}, {110, "01/01/2026"}, {120, "31/12/2026"},
        {130, "04.001.000001"}, {140, "04.001.000008"}, {150, "ARM"}, {160, "TAV-ROV180"}, {170, "ARM"},
        {180, "TAV"}, {190, "MAS"}, {200, "AG01"}, {210, "AG03"}, {230, "01"}};
    for (const auto &[index, text] : boxes)
        typeAndLeave(form, index, text);
    QCOMPARE(form.lab[200]->text(), QStringLiteral("Mario Colombo"));
    form.OptTipoSta[1]->setChecked(true);
    form.OptQtaMostr[1]->setChecked(true);
    form.OptQtaElab[2]->setChecked(true);
    form.ChePrelvo->setChecked(true);
    form.CheSemiLav->setChecked(true);
    form.CheSalPag->setChecked(true);
    // The two dialogs, confirmed.
    kemtest::WhenShown<frmSelClaAttrCF>([](frmSelClaAttrCF &d) {
        d.txt[10]->setText(QStringLiteral("A"));
        d.txt[25]->setText(QStringLiteral("HOT"));
        d.txt[ClasseAttrDialog::kCategoriaDa]->setText(QStringLiteral("CON"));
        d.txt[ClasseAttrDialog::kCategoriaA]->setText(QStringLiteral("RIV"));
        d.txt[ClasseAttrDialog::kZonaDa]->setText(QStringLiteral("CE"));
        d.txt[ClasseAttrDialog::kZonaA]->setText(QStringLiteral("SU"));
        d.ComOK_Click();
    });
    form.ComSelCliFor_Click();
    QCOMPARE(form.ComSelCliFor->text(), QStringLiteral("Seleziona Classi/Attrib. CF (MOD)"));
    kemtest::WhenShown<frmSelClaAttr>([](frmSelClaAttr &d) {
        d.txt[20]->setText(QStringLiteral("LEG"));
        d.txt[35]->setText(QStringLiteral("VER"));
        d.ComOK_Click();
    });
    form.ComSelClaAttr_Click();
    QCOMPARE(form.ComSelClaAttr->text(), QStringLiteral("Seleziona Classi/Attrib. Articoli (MOD)"));

    kemtest::ToCsv(form, f_->tmp.filePath(QStringLiteral("every.csv")));
    form.ComStampa_Click();
    StFabbis *r = form.Report();
    QVERIFY(r);
    QCOMPARE(r->osOrdPre, QStringLiteral("P"));
    QCOMPARE(QStringList({r->osTipoDocDa, r->osTipoDocA}), QStringList({"PC", "PR"}));
    QCOMPARE(r->otDataRifDa, QDate(2025, 1, 1));
    QCOMPARE(r->otDataRifA, QDate(2026, 12, 31));
    QCOMPARE(r->olNumRifDa, 1);
    QCOMPARE(r->olNumRifA, 99);
    QCOMPARE(r->otDataDocDa, QDate(2025, 10, 1));
    QCOMPARE(r->otDataDocA, QDate(2026, 6, 30));
    QCOMPARE(r->olNumDocDa, 1);
    QCOMPARE(r->olNumDocA, 12);
    QVERIFY(r->obOrdNumdoc);
    QCOMPARE(r->otPrevConsDa, QDate(2026, 1, 1));
    QCOMPARE(r->otPrevConsA, QDate(2026, 12, 31));
    QCOMPARE(QStringList({r->osGruppoCliDa, r->osMastroCliDa, r->osContoCliDa, r->osGruppoCliA, r->osMastroCliA,
                          r->osContoCliA}),
             QStringList({"04", "001", "000001", "04", "001", "000008"}));
    QCOMPARE(QStringList({r->osArticoloDa, r->osArticoloA, r->osArtGruppoDa, r->osArtGruppoA, r->osArtSottoGru,
                          r->osMagazzino}),
             QStringList({"ARM", "TAV-ROV180", "ARM", "TAV", "MAS", "01"}));
    QCOMPARE(QStringList({r->osAgenteDa, r->osDesAgenteDa, r->osAgenteA, r->osDesAgenteA}),
             QStringList({"AG01", "Mario Colombo", "AG03", "Paolo Esposito"}));
    QCOMPARE(r->osPdcClasseAttrDa[0], QStringLiteral("A"));
    QCOMPARE(r->osPdcClasseAttrA[1], QStringLiteral("HOT"));
    QCOMPARE(QStringList({r->osCatDa, r->osCatA, r->osZonDa, r->osZonA}), QStringList({"CON", "RIV", "CE", "SU"}));
    QCOMPARE(r->osArtClasseAttrDa[1], QStringLiteral("LEG"));
    QCOMPARE(r->osArtClasseAttrA[2], QStringLiteral("VER"));
    QCOMPARE(r->osArtClasseAttrA[0], QString());
    QCOMPARE(r->oiTipoStampa, qint16(1));
    QCOMPARE(r->oiQtaMostr, qint16(1));
    QCOMPARE(r->oiQtaElab, qint16(2));
    QVERIFY(r->obPrelvo && r->obSemilav && r->obSaltoPag);
    QCOMPARE(r->osUtente, QStringLiteral("ufficio"));
    QCOMPARE(r->osIdProgramma, QString::number(f_->ctx->start.programId));
    QCOMPARE(f_->print->Stampe(kem::CompanyOf(*f_->ctx)).oiStaAtt, 0);

    // Only one document number: the reference order again.
    form.txt[100]->clear();
    form.ComStampa_Click();
    QVERIFY(!form.Report()->obOrdNumdoc);
    QCOMPARE(form.Report()->olNumDocA, 0);
}

void TestFrmStaFabbis::runMatchesBatch_data()
{
    QTest::addColumn<bool>("quotes");
    QTest::addColumn<int>("tipoSta");
    QTest::addColumn<int>("qtaMostr");
    QTest::addColumn<int>("qtaElab");
    QTest::addColumn<bool>("prelvo");
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<QStringList>("batch");
    QTest::newRow("orders, the form's defaults") << false << 0 << 0 << 0 << false << Boxes()
                                                 << QStringList();
    QTest::newRow("quotes, article/document, less stock")
        << true << 1 << 1 << 0 << false << Boxes()
        << QStringList{"--ord-pre", "P", "--tipo-stampa", "1", "--qta-mostr", "1"};
    QTest::newRow("orders grouped, net of stock, customers 3 to 8, BOM lines")
        << false << 2 << 0 << 2 << true
        << Boxes{{130, "04.001.000003"}, {140, "04.001.000008"}, {40, "31/12/2026"}}
        << QStringList{"--tipo-stampa", "2", "--qta-elab", "2", "--prelvo", "S", "--gruppo-cli-da", "04",
                       "--mastro-cli-da", "001", "--conto-cli-da", "000003", "--gruppo-cli-a", "04",
                       "--mastro-cli-a", "001", "--conto-cli-a", "000008", "--data-rif-a", "31/12/2026"};
}

void TestFrmStaFabbis::runMatchesBatch()
{
    QFETCH(bool, quotes);
    QFETCH(int, tipoSta);
    QFETCH(int, qtaMostr);
    QFETCH(int, qtaElab);
    QFETCH(bool, prelvo);
    QFETCH(Boxes, boxes);
    QFETCH(QStringList, batch);
    QVERIFY2(f_->open(), qPrintable(f_->error));
    FrmStaFabbis &form = *f_->form;
    QVERIFY(kemtest::ShowActive(form));
    form.OptOrdPre[quotes ? 1 : 0]->setChecked(true);
    form.OptTipoSta[tipoSta]->setChecked(true);
    form.OptQtaMostr[qtaMostr]->setChecked(true);
    form.OptQtaElab[qtaElab]->setChecked(true);
    form.ChePrelvo->setChecked(prelvo);
    for (const auto &[index, text] : boxes)
        typeAndLeave(form, index, text);
    const QString fromForm = f_->tmp.filePath(QStringLiteral("form.csv"));
    const QString fromBatch = f_->tmp.filePath(QStringLiteral("batch.csv"));
    kemtest::ToCsv(form, fromForm);
    f_->sink.clear();
    form.ComStampa_Click();
    QCOMPARE(f_->texts(), QStringList{QStringLiteral("Stampa salvata nel file ") + fromForm});
    QVERIFY(form.Report() && form.Report()->LastRun().printed);
    QCOMPARE(f_->print->Stampe(kem::CompanyOf(*f_->ctx)).oiStaAtt, 0);

    const kemtest::BatchResult r = kemtest::RunBatch(
        QStringList{"requirements", "--company", f_->dir, "--user", "batch", "--out", fromBatch} + batch);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QStringList a = kemtest::CsvLines(fromForm);
    QVERIFY(a.size() > 4);
    QCOMPARE(a, kemtest::CsvLines(fromBatch));
}

void TestFrmStaFabbis::dispatcherOpensByKey()
{
    QVERIFY2(f_->open(), qPrintable(f_->error));
    f_->form.reset();
    sharedPrint_ = std::make_shared<ReportPrintServices>(std::make_unique<ScriptedPrinterSystem>());
    registry_ = std::make_unique<FormRegistry>();
    RegisterFrmStaFabbis(*registry_, sharedPrint_);
    f_->ctx->registry = registry_.get();
    FormDispatcher(*f_->ctx, QStringLiteral("FRMSTAFABBIS"), true, QStringLiteral("frmStaFabbis"), {}, {}, {});
    auto *form = dynamic_cast<FrmStaFabbis *>(f_->ctx->FormInstance(QStringLiteral("frmStaFabbis")));
    QVERIFY(form);
    QVERIFY(form->IsLoaded());
    QCOMPARE(form->oiLoadOk, 1);
    QVERIFY(form->isVisible());
    QVERIFY(form->windowTitle().startsWith(QStringLiteral("Stampa Fabbisogni")));

    QCOMPARE(f_->OffersOf(*form), (QList<QStringList>{{QStringLiteral("Stampa Distinta Base"), QStringLiteral("frmStaFabbis"), form->osKeySec}}));
    QVERIFY(form->Unload());
    QVERIFY(!form->IsLoaded());
}

QTEST_MAIN(TestFrmStaFabbis)
#include "tst_frmstafabbis.moc"
