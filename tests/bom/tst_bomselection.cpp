// The checks of the BOM print, once: each row of the table is run through the selection
// object, through "distinta-batch bom" and through the form "Stampa distinta base", and all
// three give the same first message (or all three run).
#include "bom/bomselection.h"
#include "tests/bom/frmprelvofixture.h"

#include <QComboBox>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

using namespace kem;

namespace {

const QString kBatch = QStringLiteral(KEM_BINARY_DIR "/apps/distinta-batch/distinta-batch");

// The batch options of a row as "option=value", in the order a user fills the form.
using Fields = QStringList;

BomSelection selectionOf(const Fields &fields)
{
    BomSelection s;
    for (const QString &f : fields) {
        const QString key = f.section(QLatin1Char('='), 0, 0);
        const QString value = f.section(QLatin1Char('='), 1);
        if (key == QLatin1String("articolo-da"))
            s.osArticoloDa = s.osArticoloA = value;  // leaving "da:" copies it into "a:"
        else if (key == QLatin1String("articolo-a"))
            s.osArticoloA = value;
        else if (key == QLatin1String("esp-scal"))
            s.obEspScal = value == QLatin1String("S");
        else if (key == QLatin1String("liv-esp"))
            s.livEsp = value;
        else if (key == QLatin1String("qta-prod"))
            s.qtaProd = value;
        else if (key == QLatin1String("quale-prezzo"))
            s.osQualePrezzo = value;
        else if (key == QLatin1String("listino"))
            s.osListino = value;
        else if (key == QLatin1String("lunghezza"))
            s.lunghezza = value;
        else if (key == QLatin1String("larghezza"))
            s.larghezza = value;
        else if (key == QLatin1String("altezza"))
            s.altezza = value;
    }
    return s;
}

// The form's box of a batch option.
int boxOf(const QString &key)
{
    static const QHash<QString, int> boxes{{"articolo-da", 10}, {"articolo-a", 20}, {"liv-esp", 30},
                                           {"qta-prod", 40},    {"listino", 5},     {"larghezza", 50},
                                           {"lunghezza", 60},   {"altezza", 70}};
    return boxes.value(key);
}

} // namespace

class TestBomSelection : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void sameChecksEverywhere_data();
    void sameChecksEverywhere();

private:
    kemtest::FrmPrelvoFixture f_;
};

void TestBomSelection::initTestCase()
{
    QVERIFY2(f_.open(), qPrintable(f_.error));
}

void TestBomSelection::sameChecksEverywhere_data()
{
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<QString>("message");  // the first message; empty: the report runs
    const QString livello = QStringLiteral("Errore nel campo 'Livello di Esplosione'");
    const QString quantita = QStringLiteral("Errore nel campo 'Quantità Prodotta'");
    const QString listino = QStringLiteral("Inserire un codice listino valido'");
    const QString ordine = QStringLiteral("Si prega di inserire gli articoli in ordine crescente");
    const QString one = QStringLiteral("articolo-da=SED-FAG01");  // one BOM keeps the runs short
    QTest::newRow("defaults run") << Fields{one} << "";
    QTest::newRow("livello 1000") << Fields{one, "liv-esp=1000"} << livello;
    QTest::newRow("livello -1") << Fields{one, "liv-esp=-1"} << livello;
    QTest::newRow("livello not a number") << Fields{one, "liv-esp=tre"} << livello;
    QTest::newRow("livello 999 runs") << Fields{one, "liv-esp=999"} << "";
    QTest::newRow("livello 1000 ignored without scalar explosion") << Fields{one, "esp-scal=N", "liv-esp=1000"} << "";
    QTest::newRow("quantità 0") << Fields{one, "qta-prod=0"} << quantita;
    QTest::newRow("quantità -2") << Fields{one, "qta-prod=-2"} << quantita;
    QTest::newRow("quantità not a number") << Fields{one, "qta-prod=due"} << quantita;
    QTest::newRow("quantità nan") << Fields{one, "qta-prod=nan"} << quantita;
    QTest::newRow("quantità inf") << Fields{one, "qta-prod=inf"} << quantita;
    QTest::newRow("quantità 1e300") << Fields{one, "qta-prod=1e300"} << quantita;
    QTest::newRow("quantità wider than its column")
        << Fields{one, "qta-prod=1000000000000"} << quantita;
    QTest::newRow("quantità 2,5 runs") << Fields{one, "qta-prod=2,5"} << "";
    QTest::newRow("listino without a code") << Fields{one, "quale-prezzo=L"} << listino;
    QTest::newRow("listino that does not exist") << Fields{one, "quale-prezzo=L", "listino=NOPE"} << listino;
    QTest::newRow("listino 01 runs") << Fields{one, "quale-prezzo=L", "listino=01"} << "";
    QTest::newRow("reversed article range") << Fields{"articolo-da=TAV-ROV180", "articolo-a=ARM-2A-100"} << ordine;
    QTest::newRow("lunghezza not a number") << Fields{one, "lunghezza=lungo"} << "Errore nel campo 'Lunghezza'";
    QTest::newRow("larghezza not a number") << Fields{one, "larghezza=x"} << "Errore nel campo 'Larghezza'";
    QTest::newRow("altezza not a number") << Fields{one, "altezza=x"} << "Errore nel campo 'Altezza'";
    // The order of the checks.
    QTest::newRow("lunghezza before larghezza and altezza")
        << Fields{one, "altezza=x", "larghezza=x", "lunghezza=x"} << "Errore nel campo 'Lunghezza'";
    QTest::newRow("dimensions before the range")
        << Fields{"articolo-da=TAV-ROV180", "articolo-a=ARM-2A-100", "altezza=x"} << "Errore nel campo 'Altezza'";
    QTest::newRow("range before livello")
        << Fields{"liv-esp=1000", "articolo-da=TAV-ROV180", "articolo-a=ARM-2A-100"} << ordine;
    QTest::newRow("livello before quantità") << Fields{one, "qta-prod=0", "liv-esp=-1"} << livello;
    QTest::newRow("quantità before listino") << Fields{one, "quale-prezzo=L", "qta-prod=0"} << quantita;
}

void TestBomSelection::sameChecksEverywhere()
{
    QFETCH(Fields, fields);
    QFETCH(QString, message);

    // The selection object.
    const auto problem = selectionOf(fields).Validate(
        [this](const QString &code) { return BomSelection::ListExists(*f_.ctx->database(), code); });
    QCOMPARE(problem ? problem->message : QString(), message);

    // The batch.
    const QString batchOut = f_.tmp.filePath(QStringLiteral("batch.csv"));
    QFile::remove(batchOut);
    QStringList args{QStringLiteral("bom"), QStringLiteral("--company"), f_.dir, QStringLiteral("--out"), batchOut};
    for (const QString &field : fields)
        args << QStringLiteral("--") + field.section(QLatin1Char('='), 0, 0) << field.section(QLatin1Char('='), 1);
    QProcess p;
    p.start(kBatch, args);
    QVERIFY(p.waitForFinished(120000));
    QStringList errLines = QString::fromUtf8(p.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // Qt's own warning about the runtime folder, not a message of the program.
    errLines.removeIf([](const QString &line) { return line.startsWith(QLatin1String("QStandardPaths:")); });
    if (message.isEmpty()) {
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(QFile::exists(batchOut));
    } else {
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(!errLines.isEmpty());
        QCOMPARE(errLines.first(), message);
        QVERIFY(!QFile::exists(batchOut));
    }

    // The form, filled in the same order.
    FrmPrelvo &form = *f_.form;
    form.CheEspScal->setChecked(true);
    form.CobQualePrezzo->setCurrentIndex(0);
    for (int box : {10, 20, 30, 50, 60, 70}) {
        form.txt[box]->clear();
        form.Txt_LostFocus(box);
    }
    form.txt[40]->setText(QStringLiteral("1"));
    form.Txt_LostFocus(40);
    for (const QString &field : fields) {
        const QString key = field.section(QLatin1Char('='), 0, 0);
        const QString value = field.section(QLatin1Char('='), 1);
        if (key == QLatin1String("esp-scal"))
            form.CheEspScal->setChecked(value == QLatin1String("S"));
        else if (key == QLatin1String("quale-prezzo"))
            form.CobQualePrezzo->setCurrentIndex(QStringList{"", "U", "L", "M", "S"}.indexOf(value));
        else {
            form.txt[boxOf(key)]->setText(value);
            form.Txt_LostFocus(boxOf(key));
        }
    }
    const QString formOut = f_.tmp.filePath(QStringLiteral("form.csv"));
    QFile::remove(formOut);
    PrintOptions &o = *form.Options();
    o.StaVid = PrintOptions::File;
    o.FileForm = PrintOptions::SpreadsheetText;
    o.FileName = formOut;
    f_.sink.clear();
    form.ComStampa_Click();
    if (message.isEmpty()) {
        QVERIFY(form.Report());
        QVERIFY(form.Report()->LastRun().printed);
        QVERIFY(QFile::exists(formOut));
    } else {
        QVERIFY(!f_.texts().isEmpty());
        QCOMPARE(f_.texts().first(), message);
        QVERIFY(!QFile::exists(formOut));
    }
}

QTEST_MAIN(TestBomSelection)
#include "tst_bomselection.moc"
