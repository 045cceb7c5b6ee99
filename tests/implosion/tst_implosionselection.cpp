// The checks of the implosion print's selection, which the form and the batch share, and the
// fields it hands to the report.
#include "implosion/implosionselection.h"
#include "implosion/stimpldiba.h"
#include "tests/implosion/implosionfixture.h"

#include <QTemporaryDir>
#include <QtTest>

using kem::ImplosionSelection;

Q_DECLARE_METATYPE(ImplosionSelection::Field)

class TestImplosionSelection : public QObject {
    Q_OBJECT
private slots:
    void validate_data();
    void validate();
    void applyTo();
};

void TestImplosionSelection::validate_data()
{
    QTest::addColumn<QString>("da");
    QTest::addColumn<QString>("a");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("livelli");
    QTest::addColumn<QString>("message");  // empty: accepted
    QTest::addColumn<ImplosionSelection::Field>("field");
    const QString ordine = QStringLiteral("Si prega di inserire gli articoli in ordine crescente");
    const auto none = ImplosionSelection::None;
    QTest::newRow("no bounds") << "" << "" << 1 << 1 << "" << none;
    QTest::newRow("increasing") << "A" << "B" << 0 << 1 << "" << none;
    QTest::newRow("equal") << "MB1" << "MB1" << 2 << 1 << "" << none;
    QTest::newRow("equal but for case") << "mb1" << "MB1" << 1 << 1 << "" << none;
    QTest::newRow("lower bound only") << "Z" << "" << 1 << 1 << "" << none;
    QTest::newRow("upper bound only") << "" << "A" << 1 << 1 << "" << none;
    QTest::newRow("blank upper bound") << "Z" << "   " << 1 << 1 << "" << none;
    QTest::newRow("reversed") << "B" << "A" << 1 << 1 << ordine << ImplosionSelection::ArticoloDa;
    QTest::newRow("reversed, other case") << "b" << "A" << 1 << 1 << ordine << ImplosionSelection::ArticoloDa;
    QTest::newRow("reversed and bad kind: the range first") << "B" << "A" << 7 << 1 << ordine << ImplosionSelection::ArticoloDa;
    QTest::newRow("kind outside the combo") << "" << "" << 3 << 1 << "Errore nel campo 'Articoli da considerare'"
                                            << ImplosionSelection::TipoDibaArt;
    QTest::newRow("every level") << "" << "" << 0 << 0 << "" << none;
    QTest::newRow("three levels") << "" << "" << 0 << 3 << "" << none;
    QTest::newRow("negative levels") << "" << "" << 0 << -2
                                     << "Il numero di livelli non può essere negativo (0: tutti i livelli)"
                                     << ImplosionSelection::Livelli;
    QTest::newRow("negative kind") << "" << "" << -1 << 1 << "Errore nel campo 'Articoli da considerare'"
                                   << ImplosionSelection::TipoDibaArt;
}

void TestImplosionSelection::validate()
{
    QFETCH(QString, da);
    QFETCH(QString, a);
    QFETCH(int, tipo);
    QFETCH(int, livelli);
    QFETCH(QString, message);
    QFETCH(ImplosionSelection::Field, field);
    ImplosionSelection s;
    s.osArticoloDa = da;
    s.osArticoloA = a;
    s.oiTipoDibaArt = qint16(tipo);
    s.oiLivelli = livelli;
    const auto problem = s.Validate();
    QCOMPARE(problem.has_value(), !message.isEmpty());
    if (problem) {
        QCOMPARE(problem->message, message);
        QCOMPARE(problem->field, field);
    }
}

void TestImplosionSelection::applyTo()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    const QString db = kemtest::CreateEmptyCompany(dir.path(), QStringLiteral("azienda.db"), &error);
    QVERIFY2(!db.isEmpty(), qPrintable(error));
    kemtest::ImplosionRun r(db, dir.path());
    QCOMPARE(r.report->oiTipoDibaArt, qint16(1));  // the form's initial entry
    ImplosionSelection s;
    QCOMPARE(s.oiTipoDibaArt, qint16(1));
    QCOMPARE(r.report->oiLivelli, 1);  // one level unless asked
    QCOMPARE(s.oiLivelli, 1);
    s.osArticoloDa = QStringLiteral("A");
    s.osArticoloA = QStringLiteral("B");
    s.oiTipoDibaArt = 2;
    s.oiLivelli = 0;
    s.ApplyTo(*r.report);
    QCOMPARE(r.report->osArticoloDa, QStringLiteral("A"));
    QCOMPARE(r.report->osArticoloA, QStringLiteral("B"));
    QCOMPARE(r.report->oiTipoDibaArt, qint16(2));
    QCOMPARE(r.report->oiLivelli, 0);
}

QTEST_MAIN(TestImplosionSelection)
#include "tst_implosionselection.moc"
