// The CUPS printer system on a machine whose print server cannot be reached: no printers,
// no default, clear errors, and the load-time message a user then sees.
#include "print/optionsini.h"
#include "platform/os/printersystem.h"
#include "platform/printlib/printoptions.h"
#include "tests/print/printtestsupport.h"

#include <QTest>

using namespace kem;

class TestPrinterSystem : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A server socket that does not exist and a home without CUPS options files.
        qputenv("CUPS_SERVER", QFile::encodeName(m_home.filePath(QStringLiteral("no-cupsd.sock"))));
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qunsetenv("LPDEST");
        qunsetenv("PRINTER");
    }

    void unreachableServer()
    {
        CupsPrinterSystem cups;
        QVERIFY(cups.Printers().isEmpty());
        QCOMPARE(cups.DefaultPrinter(), QString());
        QString error;
        QVERIFY(!cups.SetDefaultPrinter(QStringLiteral("HP"), &error));
        QCOMPARE(error, QStringLiteral("Stampante sconosciuta: HP"));
        QList<PaperChoice> bins;
        QVERIFY(!cups.PaperSources(QStringLiteral("HP"), &bins, &error));
        QVERIFY(!cups.PaperSizes(QStringLiteral("HP"), &bins, &error));
        QVERIFY(!cups.Find(QStringLiteral("HP")));
    }

    void loadWithoutPrinters()
    {
        kemtest::PrintFixture f;
        CupsPrinterSystem cups;
        f.env.printers = &cups;
        PrintOptions o;
        PrintOptionsIni(f.env).Load(o, {});
        QCOMPARE(f.sink.texts(), QStringList{QStringLiteral("Stampante di default non disponibile\r\n"
                                                            "Andare in selezione stampanti per scegliere una o impostare la stampante di default da windows")});
    }

private:
    QTemporaryDir m_home;
};

QTEST_GUILESS_MAIN(TestPrinterSystem)
#include "tst_printersystem.moc"
