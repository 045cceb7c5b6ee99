#include "platform/util/kemutil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPaths : public QObject
{
    Q_OBJECT

private slots:
    void pathJoin_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("drive");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("expected");
        QTest::newRow("drive and directory") << "" << "D:" << "IMMAGINI" << "D:\\IMMAGINI";
        QTest::newRow("name on drive") << "IMMAGINI" << "D:" << "" << "D:\\IMMAGINI";
        QTest::newRow("unc unchanged") << "\\\\server\\img" << "D:" << "IMMAGINI" << "\\\\server\\img";
        QTest::newRow("drive letter unchanged") << "C:\\x" << "D:" << "IMMAGINI" << "C:\\x";
        QTest::newRow("linux absolute unchanged") << "/var/img" << "D:" << "x" << "/var/img";
        QTest::newRow("linux parts") << "azienda.db" << "/srv/kem" << "dati" << "/srv/kem/dati/azienda.db";
        QTest::newRow("linux trailing separators") << "azienda.db" << "/srv/kem/" << "/dati/" << "/srv/kem/dati/azienda.db";
        QTest::newRow("linux root drive") << "azienda.db" << "/" << "dati" << "/dati/azienda.db";
        QTest::newRow("windows separators") << "foto.png" << "D:\\" << "\\IMMAGINI\\" << "D:\\IMMAGINI\\foto.png";
        QTest::newRow("unc drive") << "a.db" << "\\\\server\\share" << "dati" << "\\\\server\\share\\dati\\a.db";
        QTest::newRow("no style shown") << "a.db" << "" << "dati" << "dati/a.db";
        QTest::newRow("directory only") << "" << "" << "/srv/img" << "/srv/img";
        QTest::newRow("all blank") << "" << "" << "" << "\\";
        QTest::newRow("all blanks") << " " << "" << "  " << "\\";
    }

    void pathJoin()
    {
        QFETCH(QString, name);
        QFETCH(QString, drive);
        QFETCH(QString, directory);
        QFETCH(QString, expected);
        QCOMPARE(kem::PathJoin(name, drive, directory), expected);
    }

    void fileExists()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath("kemwin.ini");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(kem::FileExists(file));
        QVERIFY(!kem::FileExists(dir.path()));              // a folder is not a file
        QVERIFY(!kem::FileExists(dir.filePath("manca.ini")));
        QVERIFY(!kem::FileExists(""));
        QVERIFY(!kem::FileExists("\\"));
    }

    void cmdSwitch_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QChar>("letter");
        QTest::addColumn<QString>("expected");
        const QString line = QStringLiteral("/M menu1 /P ABC 12 X /F frmPrelvo");
        QTest::newRow("P with blanks") << line << QChar('P') << "ABC 12 X";
        QTest::newRow("M") << line << QChar('M') << "menu1";
        QTest::newRow("F last") << line << QChar('F') << "frmPrelvo";
        QTest::newRow("lower-case letter") << line << QChar('f') << "frmPrelvo";
        QTest::newRow("missing") << line << QChar('I') << "";
        QTest::newRow("dash switches") << "-m menu1 -p PRG -f FrmStaFabbis" << QChar('P') << "PRG";
        QTest::newRow("lower-case switch") << "/m menu1 /p PRG" << QChar('M') << "menu1";
        QTest::newRow("path value") << "/I /srv/kem/kemwin.ini /F frmPrelvo" << QChar('I') << "/srv/kem/kemwin.ini";
        QTest::newRow("negative number value") << "/P PRG -12 /F x" << QChar('P') << "PRG -12";
        QTest::newRow("empty value") << "/P /F frmPrelvo" << QChar('P') << "";
        QTest::newRow("first wins") << "/F a /F b" << QChar('F') << "a";
        QTest::newRow("letter inside a word") << "/M xP y" << QChar('P') << "";
        QTest::newRow("empty line") << "" << QChar('M') << "";
    }

    void cmdSwitch()
    {
        QFETCH(QString, commandLine);
        QFETCH(QChar, letter);
        QFETCH(QString, expected);
        QCOMPARE(kem::CmdSwitch(commandLine, letter), expected);
    }

    void windowsDir()
    {
        const QByteArray saved = qgetenv("KEM_WINDIR");
        qputenv("KEM_WINDIR", "/tmp/kemwin");
        QCOMPARE(kem::WindowsDir(), QStringLiteral("/tmp/kemwin"));
        qputenv("KEM_WINDIR", " ");
        QCOMPARE(kem::WindowsDir(), QStringLiteral("/etc/kemora"));
        qunsetenv("KEM_WINDIR");
        QCOMPARE(kem::WindowsDir(), QStringLiteral("/etc/kemora"));
        if (!saved.isNull())
            qputenv("KEM_WINDIR", saved);
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
