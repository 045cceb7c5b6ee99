// The checks of a requirements selection, in the form's order, with their messages.
#include "requirements/requirementsselection.h"
#include "requirements/stfabbis.h"

#include <QtTest>
#include <functional>

using Change = std::function<void(kem::RequirementsSelection &)>;
Q_DECLARE_METATYPE(Change)

class TestRequirementsSelection : public QObject {
    Q_OBJECT
private slots:
    void validate_data();
    void validate();
};

void TestRequirementsSelection::validate_data()
{
    using S = kem::RequirementsSelection;
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("message");  // empty: accepted
    QTest::addColumn<int>("field");
    QTest::newRow("defaults") << Change([](S &) {}) << "" << int(S::None);
    QTest::newRow("bounds in order, one bound alone")
        << Change([](S &s) {
               s.osTipoDocDa = "A";
               s.osTipoDocA = "b";
               s.otDataRifDa = QDate(2024, 1, 1);
               s.olNumRifA = 5;
               s.artClasseAttr.a[2] = "Z";
           })
        << "" << int(S::None);
    QTest::newRow("document types") << Change([](S &s) { s.osTipoDocDa = "Z"; s.osTipoDocA = "A"; })
                                    << "Si prega di inserire i tipi documento Ddt in ordine crescente" << int(S::TipoDocDa);
    QTest::newRow("reference dates")
        << Change([](S &s) { s.otDataRifDa = QDate(2024, 2, 1); s.otDataRifA = QDate(2024, 1, 1); })
        << "Si prega di inserire le date di riferimento in ordine crescente" << int(S::DataRifDa);
    QTest::newRow("first reversed pair wins")
        << Change([](S &s) {
               s.osArticoloDa = "Z";
               s.osArticoloA = "A";
               s.olNumRifDa = 9;
               s.olNumRifA = 1;
           })
        << "Si prega di inserire i numeri di riferimento in ordine crescente" << int(S::NumRifDa);
    QTest::newRow("document dates")
        << Change([](S &s) { s.otDataDocDa = QDate(2024, 2, 1); s.otDataDocA = QDate(2024, 1, 1); })
        << "Si prega di inserire le date di ddt in ordine crescente" << int(S::DataDocDa);
    QTest::newRow("document numbers") << Change([](S &s) { s.olNumDocDa = 9; s.olNumDocA = 1; })
                                      << "Si prega di inserire i numeri documento in ordine crescente" << int(S::NumDocDa);
    QTest::newRow("delivery dates")
        << Change([](S &s) { s.otPrevConsDa = QDate(2024, 2, 1); s.otPrevConsA = QDate(2024, 1, 1); })
        << "Si prega di inserire le date di prevista consegna in ordine crescente" << int(S::PrevConsDa);
    QTest::newRow("customers")
        << Change([](S &s) {
               s.osGruppoCliDa = "1";
               s.osMastroCliDa = "10";
               s.osContoCliDa = "009";
               s.osGruppoCliA = "1";
               s.osMastroCliA = "10";
               s.osContoCliA = "001";
           })
        << "Si prega di inserire i codici in ordine crescente" << int(S::ClienteDa);
    QTest::newRow("articles") << Change([](S &s) { s.osArticoloDa = "Z"; s.osArticoloA = "A"; })
                              << "Si prega di inserire gli articoli in ordine crescente" << int(S::ArticoloDa);
    QTest::newRow("groups") << Change([](S &s) { s.osArtGruppoDa = "Z"; s.osArtGruppoA = "A"; })
                            << "Si prega di inserire i gruppi articoli in ordine crescente" << int(S::ArtGruppoDa);
    QTest::newRow("agents") << Change([](S &s) { s.osAgenteDa = "Z"; s.osAgenteA = "A"; })
                            << "Si prega di inserire i codici in ordine crescente" << int(S::AgenteDa);
    QTest::newRow("article classes") << Change([](S &s) { s.artClasseAttr.da[4] = "Z"; s.artClasseAttr.a[4] = "A"; })
                                     << "Si prega di inserire gli estremi in ordine crescente" << int(S::ClasseAttrArt);
    QTest::newRow("categories") << Change([](S &s) { s.osCatDa = "Z"; s.osCatA = "A"; })
                                << "Si prega di inserire le categorie in ordine crescente" << int(S::Categoria);
    QTest::newRow("zones") << Change([](S &s) { s.osZonDa = "Z"; s.osZonA = "A"; })
                           << "Si prega di inserire le Zone in ordine crescente" << int(S::Zona);
    QTest::newRow("print type") << Change([](S &s) { s.oiTipoStampa = 3; })
                                << "Errore nel campo 'Tipo stampa:' (0, 1 o 2)" << int(S::TipoStampa);
    QTest::newRow("quantity to process") << Change([](S &s) { s.oiQtaElab = -1; })
                                         << "Errore nel campo 'Quantità da elaborare' (0, 1 o 2)" << int(S::QtaElab);
}

void TestRequirementsSelection::validate()
{
    QFETCH(Change, change);
    QFETCH(QString, message);
    QFETCH(int, field);
    kem::RequirementsSelection s;
    change(s);
    const auto problem = s.Validate();
    QCOMPARE(problem ? problem->message : QString(), message);
    QCOMPARE(problem ? int(problem->field) : int(kem::RequirementsSelection::None), field);
}

QTEST_GUILESS_MAIN(TestRequirementsSelection)
#include "tst_requirementsselection.moc"
