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

    // Paths of an ini file are relative to the folder of the file that holds them.
    void iniPathResolve_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("iniFile");
        QTest::addColumn<QString>("expected");
        QTest::newRow("name in the folder") << "dati/azienda.db" << "/srv/az/kemora-menu.ini" << "/srv/az/dati/azienda.db";
        QTest::newRow("the folder itself") << "." << "/srv/az/kemwin.ini" << "/srv/az";
        QTest::newRow("trailing separator kept") << "menu/" << "/srv/az/kemwin.ini" << "/srv/az/menu/";
        QTest::newRow("parent folder") << "../comune/menu.db" << "/srv/az/kemwin.ini" << "/srv/comune/menu.db";
        QTest::newRow("blanks trimmed") << "  stampe " << "/srv/az/azienda.ini" << "/srv/az/stampe";
        QTest::newRow("linux absolute unchanged") << "/var/kem/azienda.db" << "/srv/az/kemwin.ini" << "/var/kem/azienda.db";
        QTest::newRow("drive letter unchanged") << "D:\\KEM" << "/srv/az/kemwin.ini" << "D:\\KEM";
        QTest::newRow("unc unchanged") << "\\\\server\\kem" << "/srv/az/kemwin.ini" << "\\\\server\\kem";
        QTest::newRow("rooted unchanged") << "\\KEM" << "/srv/az/kemwin.ini" << "\\KEM";
        QTest::newRow("blank") << "" << "/srv/az/kemwin.ini" << "";
        QTest::newRow("no ini file") << "dati" << "" << "dati";
    }

    void iniPathResolve()
    {
        QFETCH(QString, path);
        QFETCH(QString, iniFile);
        QFETCH(QString, expected);
        QCOMPARE(kem::IniPathResolve(path, iniFile), expected);
    }

    void iniPathRelative_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("iniFile");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file below") << "/srv/az/dati/azienda.db" << "/srv/az/kemora-menu.ini" << "dati/azienda.db";
        QTest::newRow("the folder") << "/srv/az" << "/srv/az/kemwin.ini" << ".";
        QTest::newRow("trailing separator kept") << "/srv/az/menu/" << "/srv/az/kemwin.ini" << "menu/";
        QTest::newRow("unclean path") << "/srv/az/x/../stampe" << "/srv/az/azienda.ini" << "stampe";
        QTest::newRow("outside unchanged") << "/srv/altro/azienda.db" << "/srv/az/kemwin.ini" << "/srv/altro/azienda.db";
        QTest::newRow("same prefix is not inside") << "/srv/az2/stampe" << "/srv/az/kemwin.ini" << "/srv/az2/stampe";
        QTest::newRow("relative unchanged") << "stampe" << "/srv/az/azienda.ini" << "stampe";
        QTest::newRow("drive letter unchanged") << "D:\\STAMPE" << "/srv/az/azienda.ini" << "D:\\STAMPE";
        QTest::newRow("blank") << "" << "/srv/az/azienda.ini" << "";
    }

    void iniPathRelative()
    {
        QFETCH(QString, path);
        QFETCH(QString, iniFile);
        QFETCH(QString, expected);
        const QString relative = kem::IniPathRelative(path, iniFile);
        QCOMPARE(relative, expected);
        // what is written reads back as the same place
        if (path.startsWith('/'))
            QCOMPARE(QDir::cleanPath(kem::IniPathResolve(relative, iniFile)), QDir::cleanPath(path));
    }

    void pathIsInside_data()
    {
        QTest::addColumn<QString>("path");   // below the temporary folder
        QTest::addColumn<QString>("folder"); // below the temporary folder
        QTest::addColumn<bool>("inside");
        QTest::newRow("file below") << "az/dati/azienda.db" << "az" << true;
        QTest::newRow("file still to be made") << "az/dati/nuovo.db" << "az" << true;
        QTest::newRow("the folder itself") << "az" << "az" << true;
        QTest::newRow("through a link into the folder") << "link/dati/azienda.db" << "az" << true;
        QTest::newRow("parent folder") << "az/../fuori/azienda.db" << "az" << false;
        QTest::newRow("same prefix") << "az2/azienda.db" << "az" << false;
        QTest::newRow("folder above") << "." << "az" << false;
    }

    void pathIsInside()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(bool, inside);
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        QDir d(tmp.path());
        QVERIFY(d.mkpath("az/dati") && d.mkpath("fuori") && d.mkpath("az2"));
        QFile db(d.filePath("az/dati/azienda.db"));
        QVERIFY(db.open(QIODevice::WriteOnly));
        db.close();
        QVERIFY(QFile::link(d.filePath("az"), d.filePath("link")));
        QCOMPARE(kem::PathIsInside(d.filePath(path), d.filePath(folder)), inside);
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
