// distinta-batch substitution end to end on the demo company: the dry run's lines worked out by
// hand from the demo links, the real run with its count on standard output and the links it
// left (read back with a dry run), a deletion in a parent range, the refusals with their
// messages on standard error and a non-zero exit that leave the company as it was, and bad usage.
#include "schema/democompany.h"
#include "tests/support/batchrun.h"

#include <QTemporaryDir>
#include <QtTest>

using kemtest::RunBatch;

namespace {

QStringList Lines(const QString &out)
{
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestSubstitutionBatch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void dryRunThenRun();
    void deletionInARange();
    void refusals_data();
    void refusals();

private:
    QString demo(const QString &name);
    QStringList sub(const QString &company, const QStringList &options);
    QTemporaryDir dir_;
};

void TestSubstitutionBatch::initTestCase()
{
    QVERIFY(dir_.isValid());
    QVERIFY2(QFile::exists(kemtest::kBatch), qPrintable(kemtest::kBatch));
}

QString TestSubstitutionBatch::demo(const QString &name)
{
    const QString path = dir_.filePath(name);
    QString error;
    if (!kem::WriteDemoCompany(path, &error))
        qWarning() << error;
    return path;
}

QStringList TestSubstitutionBatch::sub(const QString &company, const QStringList &options)
{
    return QStringList{"substitution", "--company", company} + options;
}

void TestSubstitutionBatch::dryRunThenRun()
{
    const QString company = demo("run");
    const QStringList options{"--componente", "VIT-4X40", "--sostituto", "VIT-EUR-5", "--proporzione", "2", "--divisione"};
    // The four demo links of VIT-4X40, their quantities halved to three decimals.
    const QStringList expected{"SED-FAG01;VIT-4X40;PZ;8,000;VIT-EUR-5;PZ;4,000",
                               "SL-TELAIO-180;VIT-4X40;PZ;16,000;VIT-EUR-5;PZ;8,000",
                               "TAV-O'NEIL;VIT-4X40;SC;0,100;VIT-EUR-5;SC;0,050",
                               "TAV-ROV180;VIT-4X40;CF;0,040;VIT-EUR-5;CF;0,020"};
    const auto dry = RunBatch(sub(company, options + QStringList{"--dry-run"}));
    QCOMPARE(dry.exitCode, 0);
    QCOMPARE(Lines(dry.out), expected);
    // Looking changed nothing: the same lines again.
    QCOMPARE(Lines(RunBatch(sub(company, options + QStringList{"--dry-run"})).out), expected);

    const auto run = RunBatch(sub(company, options));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QStringLiteral("Sono stati aggiornati 4 elementi\n"));
    // The links the run changed are those the dry run listed, as it listed them.
    QCOMPARE(RunBatch(sub(company, {"--delete", "--componente", "VIT-4X40", "--dry-run"})).out, QString());
    QStringList after;
    for (const QString &line : Lines(RunBatch(sub(company, {"--delete", "--componente", "VIT-EUR-5", "--dry-run"})).out)) {
        const QStringList f = line.split(';');
        after << f.mid(0, 2).join(';') + ';' + f.at(2) + ';' + f.at(3);
    }
    for (const QString &line : expected) {
        const QStringList f = line.split(';');
        QVERIFY2(after.contains(QStringList{f.at(0), f.at(4), f.at(5), f.at(6)}.join(';')), qPrintable(line));
    }
}

void TestSubstitutionBatch::deletionInARange()
{
    const QString company = demo("delete");
    const QStringList options{"--delete", "--componente", "BOR-ABS-22", "--padre-da", "LIB-5R-080", "--padre-a", "SL-ANTA-50"};
    QCOMPARE(Lines(RunBatch(sub(company, options + QStringList{"--dry-run"})).out),
             (QStringList{"LIB-5R-080;BOR-ABS-22;M;9,000;;;", "SL-ANTA-50;BOR-ABS-22;M;5,000;;;"}));
    const auto run = RunBatch(sub(company, options));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QStringLiteral("Sono stati cancellati 2 elementi\n"));
    QCOMPARE(Lines(RunBatch(sub(company, {"--delete", "--componente", "BOR-ABS-22", "--dry-run"})).out),
             (QStringList{"ARM-2A-100;BOR-ABS-22;M;14,000;;;", "SL-FIANCO-LIB;BOR-ABS-22;M;3,600;;;",
                          "TOP-LAM-MQ;BOR-ABS-22;M;1,200;;;"}));
}

void TestSubstitutionBatch::refusals_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QStringList vit{"--componente", "VIT-4X40"};
    QTest::newRow("unknown replacement") << vit + QStringList{"--sostituto", "VIT-XX"} << 2
                                         << "Ci sono dei dati non validi (Articolo con cui sostituire: VIT-XX ** INESISTENTE **)";
    QTest::newRow("finished article as replacement") << vit + QStringList{"--sostituto", "TAV-ROV180"} << 2
                                                     << "Ci sono dei dati non validi (Articolo con cui sostituire: TAV-ROV180 ** INESISTENTE **)";
    QTest::newRow("component required") << QStringList{"--sostituto", "VIT-EUR-5"} << 2 << "Articolo da sostituire Obbligatorio";
    QTest::newRow("replacement required") << vit << 2 << "Articolo con cui sostituire Obbligatorio";
    QTest::newRow("factor 0") << vit + QStringList{"--sostituto", "VIT-EUR-5", "--proporzione", "0", "--divisione"} << 2
                              << "La proporzione quantità deve essere un numero maggiore di zero";
    QTest::newRow("factor not a number") << vit + QStringList{"--sostituto", "VIT-EUR-5", "--proporzione", "x"} << 2
                                         << "Ci sono dei dati non validi (Proporzione quantità: x)";
    QTest::newRow("replacement equal to the component") << vit + QStringList{"--sostituto", "vit-4x40"} << 2
                                                        << "L'articolo con cui sostituire è uguale all'articolo da sostituire";
    QTest::newRow("parents already holding the replacement")
        << vit + QStringList{"--sostituto", "PIE-FELTRO"} << 2
        << "Sostituzione non eseguita: l'articolo PIE-FELTRO è già nella distinta base di SED-FAG01, TAV-ROV180";
    QTest::newRow("replacement containing the parent")
        << QStringList{"--componente", "LEG-ROV-45", "--sostituto", "SL-TELAIO-180", "--padre-da", "SL-GAMBA-ROV",
                       "--padre-a", "SL-GAMBA-ROV", "--dry-run"}
        << 2
        << "Sostituzione non eseguita, la distinta base conterrebbe se stessa. Distinta ciclica: SL-GAMBA-ROV -> SL-TELAIO-180 -> SL-GAMBA-ROV";
    QTest::newRow("delete with a replacement") << vit + QStringList{"--delete", "--sostituto", "VIT-EUR-5"} << 2
                                               << "--sostituto non si usa con --delete";
    QTest::newRow("unknown valuation method") << vit + QStringList{"--sostituto", "VIT-EUR-5", "--quale-importo", "X"} << 2
                                              << "Valore non valido per --quale-importo: X (M, U, S o L)";
}

void TestSubstitutionBatch::refusals()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    static const QString company = demo("refusals");
    const QStringList look{"--delete", "--componente", "VIT-4X40", "--dry-run"};
    const QString before = RunBatch(sub(company, look)).out;
    QCOMPARE(Lines(before).size(), 4);
    const auto r = RunBatch(sub(company, options));
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QCOMPARE(r.out, QString());
    QCOMPARE(RunBatch(sub(company, look)).out, before);
}

QTEST_GUILESS_MAIN(TestSubstitutionBatch)
#include "tst_substitutionbatch.moc"
