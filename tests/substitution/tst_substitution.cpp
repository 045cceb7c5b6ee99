// The substitution engine that the form and the batch share, on the small company of
// substitutionfixture.h: replacements in one statement and row by row (rounding to the quantity
// decimals), parent ranges, the unit, valuation method and list set only when given, deletions,
// codes with quotes; the refusals (duplicate links, cycles directly and through two levels, a
// replacement with a cycle of its own that must not hang), an error half-way that leaves every
// link as it was, the dry run against the real run, the confirmation, and the validation of the
// boxes with and without decoding.
#include "substitution/substitutionengine.h"
#include "substitution/substitutionselection.h"
#include "common/msgsinks.h"
#include "platform/help/decodeservice.h"
#include "platform/util/kemutil.h"
#include "tests/substitution/substitutionfixture.h"

#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using kem::SubstitutionEngine;
using kem::SubstitutionSelection;

namespace {

QString L(const QString &p, const QString &f, const QString &um, const QString &qta, const QString &qi = {},
          const QString &lis = {})
{
    return QStringLiteral("%1>%2 %3 %4 %5 %6").arg(p, f, um, qta, qi, lis);
}

// The four links of MB1 as the fixture has them.
const QStringList kMB1 = {L("NOPADRE", "MB1", "KG", "3"), L("PF1", "MB1", "KG", "1.5", "M", "L1"),
                          L("PF2", "MB1", "G", "250", "U"), L("SEM1", "MB1", "KG", "0.125", "S")};

QStringList Sorted(QStringList l)
{
    std::sort(l.begin(), l.end());
    return l;
}

SubstitutionSelection Replace(const QString &comp, const QString &sost, const QString &prop = QStringLiteral("1"),
                              bool divide = false)
{
    SubstitutionSelection s;
    s.osArticolo = comp;
    s.osSostituto = sost;
    s.osProporzione = prop;
    s.oiOperatore = divide ? SubstitutionSelection::Divisione : SubstitutionSelection::Moltiplicazione;
    return s;
}

SubstitutionSelection Delete(const QString &comp)
{
    SubstitutionSelection s;
    s.oiTipoOpe = SubstitutionSelection::Cancellazione;
    s.osArticolo = comp;
    return s;
}

} // namespace

Q_DECLARE_METATYPE(SubstitutionSelection)

class TestSubstitution : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void apply_data();
    void apply();
    void refusals_data();
    void refusals();
    void errorHalfWayChangesNothing_data();
    void errorHalfWayChangesNothing();
    void dryRunLines();
    void dryRunMatchesRun_data();
    void dryRunMatchesRun();
    void run_data();
    void run();
    void validation_data();
    void validation();
    void decodedValidation_data();
    void decodedValidation();

private:
    QString fresh();
    QTemporaryDir dir_;
    kemtest::SubstitutionCompany company_;
    kem::CompanyParams params_ = kemtest::FixtureParams();
    QStringList original_;
    int copies_ = 0;
};

void TestSubstitution::initTestCase()
{
    QVERIFY(dir_.isValid());
    QString error;
    QVERIFY2(company_.build(dir_.path(), &error), qPrintable(error));
    kem::Database db;
    db.DbOpen(company_.master());
    original_ = kemtest::AllLinks(db);
    QCOMPARE(original_.size(), 16);
}

QString TestSubstitution::fresh()
{
    return company_.copy(QStringLiteral("case%1.db").arg(++copies_));
}

void TestSubstitution::apply_data()
{
    QTest::addColumn<SubstitutionSelection>("selection");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QStringList>("gone");
    QTest::addColumn<QStringList>("added");

    QStringList nuovo;
    for (const QString &l : kMB1)
        nuovo << QString(l).replace(QStringLiteral(">MB1 "), QStringLiteral(">NUOVO "));
    QTest::newRow("factor 1 changes only the component") << Replace("MB1", "NUOVO") << qint64(4) << kMB1 << nuovo;
    QTest::newRow("divided by 2, rounded to 3 decimals")
        << Replace("MB1", "NUOVO", "2", true) << qint64(4) << kMB1
        << QStringList{L("NOPADRE", "NUOVO", "KG", "1.5"), L("PF1", "NUOVO", "KG", "0.75", "M", "L1"),
                       L("PF2", "NUOVO", "G", "125", "U"), L("SEM1", "NUOVO", "KG", "0.063", "S")};
    QTest::newRow("multiplied by 1,5")
        << Replace("MB1", "NUOVO", "1,5") << qint64(4) << kMB1
        << QStringList{L("NOPADRE", "NUOVO", "KG", "4.5"), L("PF1", "NUOVO", "KG", "2.25", "M", "L1"),
                       L("PF2", "NUOVO", "G", "375", "U"), L("SEM1", "NUOVO", "KG", "0.188", "S")};
    QTest::newRow("divided by 3")
        << Replace("MB1", "NUOVO", "3", true) << qint64(4) << kMB1
        << QStringList{L("NOPADRE", "NUOVO", "KG", "1"), L("PF1", "NUOVO", "KG", "0.5", "M", "L1"),
                       L("PF2", "NUOVO", "G", "83.333", "U"), L("SEM1", "NUOVO", "KG", "0.042", "S")};

    SubstitutionSelection range = Replace("MB1", "NUOVO");
    range.osPadreDa = "PF1";
    range.osPadreA = "pf2";
    QTest::newRow("parent range") << range << qint64(2) << kMB1.mid(1, 2) << nuovo.mid(1, 2);
    SubstitutionSelection from = Replace("MB1", "NUOVO", "2");
    from.osPadreDa = "PF2";
    QTest::newRow("lower bound only, row by row")
        << from << qint64(2) << kMB1.mid(2, 2)
        << QStringList{L("PF2", "NUOVO", "G", "500", "U"), L("SEM1", "NUOVO", "KG", "0.25", "S")};
    SubstitutionSelection to = Replace("MB1", "NUOVO");
    to.osPadreA = "PF1";
    QTest::newRow("upper bound only") << to << qint64(2) << kMB1.mid(0, 2) << nuovo.mid(0, 2);

    SubstitutionSelection all = Replace("MB1", "NUOVO");
    all.osUm = "NR";
    all.oiQualeImporto = 4;
    all.osListino = "L2";
    QTest::newRow("unit, method and list given")
        << all << qint64(4) << kMB1
        << QStringList{L("NOPADRE", "NUOVO", "NR", "3", "L", "L2"), L("PF1", "NUOVO", "NR", "1.5", "L", "L2"),
                       L("PF2", "NUOVO", "NR", "250", "L", "L2"), L("SEM1", "NUOVO", "NR", "0.125", "L", "L2")};
    SubstitutionSelection method = Replace("MB1", "NUOVO", "2");
    method.oiQualeImporto = 2;
    QTest::newRow("method alone, row by row")
        << method << qint64(4) << kMB1
        << QStringList{L("NOPADRE", "NUOVO", "KG", "6", "U"), L("PF1", "NUOVO", "KG", "3", "U", "L1"),
                       L("PF2", "NUOVO", "G", "500", "U"), L("SEM1", "NUOVO", "KG", "0.25", "U")};

    QTest::newRow("deletion") << Delete("MB1") << qint64(4) << kMB1 << QStringList();
    SubstitutionSelection delRange = Delete("MB1");
    delRange.osPadreDa = "SEM1";
    QTest::newRow("deletion in a range") << delRange << qint64(1) << kMB1.mid(3) << QStringList();
    QTest::newRow("deletion of an unused component") << Delete("NUOVO") << qint64(0) << QStringList() << QStringList();

    QTest::newRow("code with a quote")
        << Replace("MB'Q", "NUOVO") << qint64(1) << QStringList{L("PF3", "MB'Q", "KG", "1")}
        << QStringList{L("PF3", "NUOVO", "KG", "1")};
    QTest::newRow("a quote does not break out of the literal")
        << Delete("MB1' OR '1'='1") << qint64(0) << QStringList() << QStringList();
    SubstitutionSelection quoteRange = Replace("MB1", "NUOVO");
    quoteRange.osPadreA = "PF1' OR ArticoloPadre <> '";
    QTest::newRow("a quote in the parent range")
        << quoteRange << qint64(2) << kMB1.mid(0, 2) << nuovo.mid(0, 2);

    QTest::newRow("replacement holding a cycle of its own")
        << Replace("MB3", "LOOP") << qint64(2) << QStringList{L("PF2", "MB3", "NR", "12"), L("SEM2", "MB3", "NR", "8")}
        << QStringList{L("PF2", "LOOP", "NR", "12"), L("SEM2", "LOOP", "NR", "8")};
    SubstitutionSelection outOfReach = Replace("MB3", "CYC1", "4", true);
    outOfReach.osPadreDa = outOfReach.osPadreA = "PF2";
    QTest::newRow("range keeps the cycle out")
        << outOfReach << qint64(1) << QStringList{L("PF2", "MB3", "NR", "12")} << QStringList{L("PF2", "CYC1", "NR", "3")};
}

void TestSubstitution::apply()
{
    QFETCH(SubstitutionSelection, selection);
    QFETCH(qint64, count);
    QFETCH(QStringList, gone);
    QFETCH(QStringList, added);
    QVERIFY(!selection.Validate());
    kem::Database db;
    db.DbOpen(fresh());
    SubstitutionEngine engine(db, params_);
    qint64 told = 0;
    const auto result = engine.Apply(selection, [&](qint64 done, qint64 total) {
        QCOMPARE(total, count);
        QCOMPARE(done, ++told);
    });
    QVERIFY2(result.done, qPrintable(result.refusal));
    QCOMPARE(result.count, count);
    QCOMPARE(result.message, (selection.deletion() ? QStringLiteral("Sono stati cancellati %1 elementi")
                                                   : QStringLiteral("Sono stati aggiornati %1 elementi")).arg(count));
    // One statement unless the quantities change; row by row each link is told.
    const bool rowByRow = !selection.deletion() && selection.factor() != 1;
    QCOMPARE(told, rowByRow ? count : 0);
    QCOMPARE(db.transactionDepth(), 0);

    QStringList expected = original_;
    for (const QString &g : gone)
        QVERIFY2(expected.removeOne(g), qPrintable(g));
    expected += added;
    QCOMPARE(Sorted(kemtest::AllLinks(db)), Sorted(expected));
}

void TestSubstitution::refusals_data()
{
    QTest::addColumn<SubstitutionSelection>("selection");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("duplicates");

    QTest::newRow("a parent already holds the replacement")
        << Replace("MB1", "MB2") << "Sostituzione non eseguita: l'articolo MB2 è già nella distinta base di PF2"
        << QStringList{"PF2"};
    QTest::newRow("duplicates found row by row too")
        << Replace("MB1", "SEM1", "2") << "Sostituzione non eseguita: l'articolo SEM1 è già nella distinta base di PF1"
        << QStringList{"PF1"};
    QTest::newRow("replacement contains a parent directly")
        << Replace("MB3", "CYC1")
        << "Sostituzione non eseguita, la distinta base conterrebbe se stessa. Distinta ciclica: SEM2 -> CYC1 -> SEM2"
        << QStringList();
    QTest::newRow("replacement contains a parent through two levels")
        << Replace("MB3", "CYC2", "2", true)
        << "Sostituzione non eseguita, la distinta base conterrebbe se stessa. Distinta ciclica: SEM2 -> CYC2 -> CYC3 -> SEM2"
        << QStringList();
    SubstitutionSelection self = Replace("MB1", "sem1");
    self.osPadreDa = self.osPadreA = "SEM1";
    QTest::newRow("replacement is the parent")
        << self << "Sostituzione non eseguita, la distinta base conterrebbe se stessa. Distinta ciclica: sem1 -> sem1"
        << QStringList();
}

void TestSubstitution::refusals()
{
    QFETCH(SubstitutionSelection, selection);
    QFETCH(QString, message);
    QFETCH(QStringList, duplicates);
    kem::Database db;
    db.DbOpen(fresh());
    SubstitutionEngine engine(db, params_);
    const kem::SubstitutionPlan plan = engine.Plan(selection);
    QCOMPARE(plan.refusal, message);
    QCOMPARE(plan.duplicateParents, duplicates);
    const auto result = engine.Apply(selection);
    QVERIFY(!result.done);
    QCOMPARE(result.refusal, message);
    QCOMPARE(result.count, qint64(0));
    QCOMPARE(kemtest::AllLinks(db), original_);
    QCOMPARE(db.transactionDepth(), 0);
}

void TestSubstitution::errorHalfWayChangesNothing_data()
{
    QTest::addColumn<SubstitutionSelection>("selection");
    QTest::addColumn<QString>("trigger");
    const QString onUpdate = "CREATE TRIGGER forced BEFORE UPDATE ON ArtLegami WHEN OLD.ArticoloPadre = 'PF2' "
                             "BEGIN SELECT RAISE(ABORT, 'errore forzato'); END";
    QTest::newRow("row by row") << Replace("MB1", "NUOVO", "2") << onUpdate;
    QTest::newRow("single statement") << Replace("MB1", "NUOVO") << onUpdate;
    QTest::newRow("deletion") << Delete("MB1")
                              << "CREATE TRIGGER forced BEFORE DELETE ON ArtLegami WHEN OLD.ArticoloPadre = 'PF2' "
                                 "BEGIN SELECT RAISE(ABORT, 'errore forzato'); END";
}

void TestSubstitution::errorHalfWayChangesNothing()
{
    QFETCH(SubstitutionSelection, selection);
    QFETCH(QString, trigger);
    const QString file = fresh();
    QString error;
    QVERIFY2(kemtest::RunOnFile(file, {trigger}, &error), qPrintable(error));
    kem::Database db;
    db.DbOpen(file);
    SubstitutionEngine engine(db, params_);
    qint64 told = 0;
    QVERIFY_THROWS_EXCEPTION(kem::DbError, engine.Apply(selection, [&](qint64, qint64) { ++told; }));
    if (selection.factor() != 1 && !selection.deletion())
        QVERIFY(told >= 2);  // rows before PF2 were written, and are undone
    QCOMPARE(db.transactionDepth(), 0);
    QCOMPARE(kemtest::AllLinks(db), original_);
    // The same error through the run the form and the batch use: told, nothing changed.
    kem::RecordingMessageSink sink;
    const auto run = engine.Run(selection, sink, false);
    QCOMPARE(int(run.outcome), int(SubstitutionEngine::Outcome::Failed));
    QCOMPARE(sink.errors.size(), 1);
    QVERIFY2(sink.errors.first().startsWith(QStringLiteral("Errore(3317): ")), qPrintable(sink.errors.first()));
    QCOMPARE(kemtest::AllLinks(db), original_);
}

void TestSubstitution::dryRunLines()
{
    kem::Database db;
    db.DbOpen(fresh());
    SubstitutionEngine engine(db, params_);
    SubstitutionSelection s = Replace("MB1", "NUOVO", "2", true);
    s.osUm = "G";
    QCOMPARE(Sorted(engine.DryRunLines(engine.Plan(s))),
             Sorted({"NOPADRE;MB1;KG;3,000;NUOVO;G;1,500", "PF1;MB1;KG;1,500;NUOVO;G;0,750",
                     "PF2;MB1;G;250,000;NUOVO;G;125,000", "SEM1;MB1;KG;0,125;NUOVO;G;0,063"}));
    QCOMPARE(Sorted(engine.DryRunLines(engine.Plan(Delete("MB1")))),
             Sorted({"NOPADRE;MB1;KG;3,000;;;", "PF1;MB1;KG;1,500;;;", "PF2;MB1;G;250,000;;;", "SEM1;MB1;KG;0,125;;;"}));
    QCOMPARE(engine.DryRunLines(engine.Plan(Delete("NUOVO"))), QStringList());
    QCOMPARE(kemtest::AllLinks(db), original_);
}

void TestSubstitution::dryRunMatchesRun_data()
{
    QTest::addColumn<SubstitutionSelection>("selection");
    QTest::newRow("single statement") << Replace("MB1", "NUOVO");
    SubstitutionSelection rows = Replace("MB1", "NUOVO", "0,3", true);
    rows.osUm = "NR";
    rows.osPadreDa = "PF1";
    QTest::newRow("row by row in a range") << rows;
    QTest::newRow("quote") << Replace("MB'Q", "MB3", "7");
    QTest::newRow("deletion") << Delete("MB2");
}

void TestSubstitution::dryRunMatchesRun()
{
    QFETCH(SubstitutionSelection, selection);
    kem::Database db;
    db.DbOpen(fresh());
    SubstitutionEngine engine(db, params_);
    const QStringList lines = engine.DryRunLines(engine.Plan(selection));
    QVERIFY(!lines.isEmpty());
    QCOMPARE(kemtest::AllLinks(db), original_);  // the dry run changed nothing
    const auto result = engine.Apply(selection);
    QVERIFY(result.done);
    QCOMPARE(result.count, qint64(lines.size()));
    // Nothing of the selection is left, and each line's after part is what the link now holds.
    kem::BomLinkWriter writer(db, params_.numDecQta);
    QCOMPARE(writer.Selected(selection.which()).size(), 0);
    const QString fmt = kem::NumFormat(params_.numDecQta, QChar(), QStringLiteral("#,##0"));
    QStringList now;
    for (const kem::BomLink &l : writer.Selected({selection.deletion() ? selection.osArticolo : selection.osSostituto, {}, {}}))
        now << l.padre + ';' + l.figlio + ';' + l.um + ';' + kem::FormatNum(l.qta, fmt);
    QStringList told;
    for (const QString &line : lines) {
        const QStringList f = line.split(';');
        QCOMPARE(f.size(), 7);
        if (!selection.deletion())
            told << f.at(0) + ';' + f.at(4) + ';' + f.at(5) + ';' + f.at(6);
    }
    if (selection.deletion()) {
        QCOMPARE(now, QStringList());
        QCOMPARE(kemtest::AllLinks(db).size(), original_.size() - lines.size());
    } else {
        // The replacement's links: the changed ones, plus those it already had outside the range.
        for (const QString &t : told)
            QVERIFY2(now.contains(t), qPrintable(t));
    }
}

void TestSubstitution::run_data()
{
    QTest::addColumn<SubstitutionSelection>("selection");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("changed");
    using O = SubstitutionEngine::Outcome;
    QTest::newRow("confirmed") << Replace("MB1", "NUOVO") << QList<int>{1} << true << int(O::Done)
                               << QStringList{"Confermi elaborazione"} << true;
    QTest::newRow("Annulla changes nothing") << Replace("MB1", "NUOVO", "2") << QList<int>{2} << true << int(O::Cancelled)
                                             << QStringList{"Confermi elaborazione"} << false;
    QTest::newRow("Annulla before a deletion") << Delete("MB1") << QList<int>{2} << true << int(O::Cancelled)
                                               << QStringList{"Confermi elaborazione"} << false;
    QTest::newRow("batch asks nothing") << Delete("MB1") << QList<int>{2} << false << int(O::Done) << QStringList() << true;
    QTest::newRow("required field before the question")
        << Replace("", "NUOVO") << QList<int>{1} << true << int(O::Refused) << QStringList{"Articolo da sostituire Obbligatorio"} << false;
    QTest::newRow("refusal before the question")
        << Replace("MB1", "MB2") << QList<int>{1} << true << int(O::Refused)
        << QStringList{"Sostituzione non eseguita: l'articolo MB2 è già nella distinta base di PF2"} << false;
}

void TestSubstitution::run()
{
    QFETCH(SubstitutionSelection, selection);
    QFETCH(QList<int>, answers);
    QFETCH(bool, confirm);
    QFETCH(int, outcome);
    QFETCH(QStringList, messages);
    QFETCH(bool, changed);
    kem::Database db;
    db.DbOpen(fresh());
    SubstitutionEngine engine(db, params_);
    kem::RecordingMessageSink sink;
    sink.queueAnswers(answers);
    const auto r = engine.Run(selection, sink, confirm);
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(sink.texts(), messages);
    if (messages.value(0) == QLatin1String("Confermi elaborazione"))
        QCOMPARE(sink.messages.first().buttons, (QStringList{"&Ok", "&Annulla"}));
    QCOMPARE(kemtest::AllLinks(db) != original_, changed);
    if (r.outcome == SubstitutionEngine::Outcome::Done)
        QCOMPARE(r.message, (selection.deletion() ? QStringLiteral("Sono stati cancellati 4 elementi")
                                                  : QStringLiteral("Sono stati aggiornati 4 elementi")));
}

void TestSubstitution::validation_data()
{
    QTest::addColumn<SubstitutionSelection>("selection");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("field");
    using S = SubstitutionSelection;
    const QString factor = "La proporzione quantità deve essere un numero maggiore di zero";
    QTest::newRow("ready") << Replace("MB1", "NUOVO", "0,5", true) << QString() << int(S::None);
    QTest::newRow("component required") << Replace(" ", "NUOVO") << "Articolo da sostituire Obbligatorio" << int(S::Articolo);
    QTest::newRow("component to delete required") << Delete("") << "Articolo da cancellare Obbligatorio" << int(S::Articolo);
    QTest::newRow("replacement required") << Replace("MB1", "") << "Articolo con cui sostituire Obbligatorio" << int(S::Sostituto);
    QTest::newRow("factor required") << Replace("MB1", "NUOVO", "") << "Proporzione quantità Obbligatorio" << int(S::Proporzione);
    QTest::newRow("factor 0") << Replace("MB1", "NUOVO", "0") << factor << int(S::Proporzione);
    QTest::newRow("factor 0 dividing") << Replace("MB1", "NUOVO", "0,000", true) << factor << int(S::Proporzione);
    QTest::newRow("negative factor") << Replace("MB1", "NUOVO", "-2") << factor << int(S::Proporzione);
    QTest::newRow("factor not a number") << Replace("MB1", "NUOVO", "due") << factor << int(S::Proporzione);
    QTest::newRow("replacement equal to the component")
        << Replace("MB1", "mb1") << "L'articolo con cui sostituire è uguale all'articolo da sostituire" << int(S::Sostituto);
    SubstitutionSelection del = Delete("MB1");
    del.osSostituto = "MB1";
    del.osProporzione = "0";
    QTest::newRow("deletion ignores the substitution data") << del << QString() << int(S::None);
    SubstitutionSelection method = Replace("MB1", "NUOVO");
    method.oiQualeImporto = 5;
    QTest::newRow("valuation method out of the list") << method << "Errore nel campo 'Quale importo'" << int(S::QualeImporto);
}

void TestSubstitution::validation()
{
    QFETCH(SubstitutionSelection, selection);
    QFETCH(QString, message);
    QFETCH(int, field);
    const auto problem = selection.Validate();
    QCOMPARE(problem ? problem->message : QString(), message);
    QCOMPARE(problem ? int(problem->field) : int(SubstitutionSelection::None), field);
}

void TestSubstitution::decodedValidation_data()
{
    QTest::addColumn<SubstitutionSelection>("selection");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("detail");
    using S = SubstitutionSelection;
    SubstitutionSelection full = Replace("mb1", "NUOVO", "2");
    full.osUm = "nr";
    full.osListino = "L2";
    full.osPadreDa = "PF1";
    full.osPadreA = "SEM2";
    QTest::newRow("every code exists") << full << int(S::None) << QString();
    QTest::newRow("unknown component") << Replace("XX", "NUOVO") << int(S::Articolo)
                                       << "Articolo da sostituire: XX ** INESISTENTE **";
    QTest::newRow("finished article as replacement") << Replace("MB1", "PF1") << int(S::Sostituto)
                                                     << "Articolo con cui sostituire: PF1 ** INESISTENTE **";
    SubstitutionSelection parent = Delete("MB1");
    parent.osPadreA = "MB2";
    QTest::newRow("base material as parent bound") << parent << int(S::PadreA)
                                                   << "Aggiornare solo le distinte base degli articoli a: MB2 ** INESISTENTE **";
    SubstitutionSelection um = Replace("MB1", "NUOVO");
    um.osUm = "XY";
    QTest::newRow("unknown unit") << um << int(S::Um) << "Unità di misura: XY ** INESISTENTE **";
    SubstitutionSelection list = Replace("MB1", "NUOVO");
    list.osListino = "L'9";
    QTest::newRow("unknown list with a quote") << list << int(S::Listino) << "Listino: L'9 ** INESISTENTE **";
    QTest::newRow("factor not a number") << Replace("MB1", "NUOVO", "1,2,3") << int(S::Proporzione)
                                         << "Proporzione quantità: 1,2,3";
    SubstitutionSelection del = Delete("MB1");
    del.osSostituto = "PF1";
    del.osUm = "XY";
    QTest::newRow("deletion decodes only its boxes") << del << int(S::None) << QString();
}

void TestSubstitution::decodedValidation()
{
    QFETCH(SubstitutionSelection, selection);
    QFETCH(int, field);
    QFETCH(QString, detail);
    kem::Database db;
    db.DbOpen(company_.master());
    kem::DecodeService codes(db);
    const auto problem = selection.Validate(&codes);
    QCOMPARE(problem ? int(problem->field) : int(SubstitutionSelection::None), field);
    if (problem) {
        QCOMPARE(problem->message, QStringLiteral("Ci sono dei dati non validi"));
        QCOMPARE(problem->detail, detail);
    }
}

QTEST_GUILESS_MAIN(TestSubstitution)
#include "tst_substitution.moc"
