#include "platform/util/inifile.h"
#include "platform/util/kemutil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

// A main ini as the suite writes it: CRLF line ends, comments, odd spacing, a duplicate section.
const QByteArray kMainIni =
    "; configurazione principale\r\n"
    "[Parametri Generali]\r\n"
    "OrdIniDBase=azienda.ini\r\n"
    "NumIni = 0\r\n"
    "  VisParam   =   db1  \r\n"
    ";NumIni=9\r\n"
    "\r\n"
    "[ Base ]\r\n"
    "DriveDB=/srv/kem\r\n"
    "DirDB=dati\r\n"
    "DirImmagini=\r\n"
    "Titolo=\"  tra virgolette  \"\r\n"
    "Nota=a ; b\r\n"
    "Doppia=prima\r\n"
    "doppia=seconda\r\n"
    "senza uguale\r\n"
    "\r\n"
    "[Base]\r\n"
    "Extra=nella seconda\r\n";

} // namespace

class TestIni : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void read_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("count");
        QTest::newRow("plain") << "Parametri Generali" << "OrdIniDBase" << "azienda.ini" << "11";
        QTest::newRow("case of section and key") << "PARAMETRI generali" << "numini" << "0" << "1";
        QTest::newRow("spaces around") << "Parametri Generali" << "VisParam" << "db1" << "3";
        QTest::newRow("section with spaces") << "Base" << "DirDB" << "dati" << "4";
        QTest::newRow("empty value") << "Base" << "DirImmagini" << "" << "0";
        QTest::newRow("quotes removed") << "Base" << "Titolo" << "  tra virgolette  " << "18";
        QTest::newRow("semicolon inside value") << "Base" << "Nota" << "a ; b" << "5";
        QTest::newRow("first key wins") << "Base" << "DOPPIA" << "prima" << "5";
        QTest::newRow("first section wins") << "Base" << "Extra" << "DEF" << "0";
        QTest::newRow("comment is no key") << "Parametri Generali" << ";NumIni" << "DEF" << "0";
        QTest::newRow("line without equals") << "Base" << "senza uguale" << "DEF" << "0";
        QTest::newRow("missing key") << "Base" << "Manca" << "DEF" << "0";
        QTest::newRow("missing section") << "Manca" << "DriveDB" << "DEF" << "0";
    }

    void read()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, count);
        const QString file = m_dir.filePath("kemwin.ini");
        WriteBytes(file, kMainIni);
        QString actual = "untouched";
        QCOMPARE(kem::IniRead(file, section, key, "DEF", actual), count);
        QCOMPARE(actual, value);
    }

    void missingFile()
    {
        QString value;
        QCOMPARE(kem::IniRead(m_dir.filePath("manca.ini"), "Base", "DriveDB", "predefinito", value), QString("0"));
        QCOMPARE(value, QString("predefinito"));
    }

    void write_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        const QByteArray base = "; c\r\n[A]\r\nk = 1\r\nx=2\r\n\r\n[B]\r\nk=3\r\n";
        QTest::newRow("change key")
            << base << "A" << "K" << "9" << QByteArray("; c\r\n[A]\r\nk=9\r\nx=2\r\n\r\n[B]\r\nk=3\r\n");
        QTest::newRow("change key any case of section")
            << base << "b" << "k" << "4" << QByteArray("; c\r\n[A]\r\nk = 1\r\nx=2\r\n\r\n[B]\r\nk=4\r\n");
        QTest::newRow("add key at end of its section")
            << base << "A" << "nuova" << "5" << QByteArray("; c\r\n[A]\r\nk = 1\r\nx=2\r\nnuova=5\r\n\r\n[B]\r\nk=3\r\n");
        QTest::newRow("add key to last section")
            << base << "B" << "j" << "6" << QByteArray("; c\r\n[A]\r\nk = 1\r\nx=2\r\n\r\n[B]\r\nk=3\r\nj=6\r\n");
        QTest::newRow("add section at end")
            << base << "C" << "k" << "1" << QByteArray("; c\r\n[A]\r\nk = 1\r\nx=2\r\n\r\n[B]\r\nk=3\r\n[C]\r\nk=1\r\n");
        QTest::newRow("empty value written")
            << base << "A" << "x" << "" << QByteArray("; c\r\n[A]\r\nk = 1\r\nx=\r\n\r\n[B]\r\nk=3\r\n");
        QTest::newRow("null value deletes key")
            << base << "A" << "x" << QString() << QByteArray("; c\r\n[A]\r\nk = 1\r\n\r\n[B]\r\nk=3\r\n");
        QTest::newRow("null value on missing key")
            << base << "A" << "manca" << QString() << base;
        QTest::newRow("empty key deletes section")
            << base << "a" << "" << "x" << QByteArray("; c\r\n[B]\r\nk=3\r\n");
        QTest::newRow("first of duplicate sections")
            << QByteArray("[A]\nk=1\n[A]\nk=2\n") << "A" << "k" << "7" << QByteArray("[A]\nk=7\n[A]\nk=2\n");
        QTest::newRow("unterminated last line changed")
            << QByteArray("[A]\nk=1") << "A" << "k" << "5" << QByteArray("[A]\nk=5");
        QTest::newRow("unterminated last line kept")
            << QByteArray("[A]\nk=1") << "A" << "j" << "2" << QByteArray("[A]\nk=1\nj=2\n");
        QTest::newRow("lf file stays lf")
            << QByteArray("[A]\nk=1\n") << "Z" << "k" << "2" << QByteArray("[A]\nk=1\n[Z]\nk=2\n");
        QTest::newRow("utf8 bom kept")
            << QByteArray("\xEF\xBB\xBF[A]\nk=città\n") << "A" << "k" << "perché"
            << QByteArray("\xEF\xBB\xBF[A]\nk=perché\n");
        QTest::newRow("windows-1252 stays windows-1252")
            << QByteArray("; caff\xE8\r\n[A]\r\nk=\x80 5\r\n") << "A" << "k" << "à €"
            << QByteArray("; caff\xE8\r\n[A]\r\nk=\xE0 \x80\r\n");
    }

    void write()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        const QString file = m_dir.filePath("scrivi.ini");
        WriteBytes(file, before);
        QString error;
        QVERIFY2(kem::IniWrite(file, section, key, value, &error), qPrintable(error));
        QCOMPARE(ReadBytes(file), after);
        if (!key.isEmpty() && !value.isNull()) {
            QString back;
            kem::IniRead(file, section, key, "DEF", back);
            QCOMPARE(back, value);
        }
    }

    void readWindows1252()
    {
        const QString file = m_dir.filePath("vecchio.ini");
        WriteBytes(file, "[Ditta]\r\nDescrizione=Caff\xE8 & C. \x80\r\n");
        QString value;
        QCOMPARE(kem::IniRead(file, "Ditta", "Descrizione", "", value), QString("12"));
        QCOMPARE(value, QString::fromUtf8("Caffè & C. €"));
    }

    void windows1252CannotHoldText()
    {
        const QString file = m_dir.filePath("vecchio.ini");
        const QByteArray before("[A]\r\nk=caff\xE8\r\n");
        WriteBytes(file, before);
        QString error;
        QVERIFY(!kem::IniWrite(file, "A", "k", QString::fromUtf8("Łódź"), &error));
        QVERIFY(error.contains("Windows-1252"));
        QCOMPARE(ReadBytes(file), before); // nothing half-written
    }

    void structureBreakingTextIsRefused_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("line break in value") << "A" << "k" << "x\n[Base]\nDriveDB=/tmp";
        QTest::newRow("carriage return in value") << "A" << "k" << "x\rk2=y";
        QTest::newRow("equals in key") << "A" << "k=1" << "x";
        QTest::newRow("comment key") << "A" << ";k" << "x";
        QTest::newRow("bracket in section") << "A]x" << "k" << "x";
        QTest::newRow("line break in section") << "A\nB" << "k" << "x";
    }

    void structureBreakingTextIsRefused()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QString file = m_dir.filePath("struttura.ini");
        const QByteArray before("[A]\nk=1\n");
        WriteBytes(file, before);
        QString error;
        QVERIFY(!kem::IniWrite(file, section, key, value, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(ReadBytes(file), before);
    }

    void writeCreatesFile()
    {
        const QString file = m_dir.filePath("nuovo.ini");
        QVERIFY(kem::IniWrite(file, "Base", "DirDB", "dati"));
        QCOMPARE(ReadBytes(file), QByteArray("[Base]\nDirDB=dati\n"));
    }

    void deleteOnMissingFileCreatesNothing()
    {
        const QString file = m_dir.filePath("niente.ini");
        QVERIFY(kem::IniWrite(file, "Base", "DirDB", QString()));
        QVERIFY(kem::IniWrite(file, "Base", "", "x"));
        QVERIFY(!QFile::exists(file));
    }

    void writeToMissingFolderFails()
    {
        QString error;
        QVERIFY(!kem::IniWrite(m_dir.filePath("manca/x.ini"), "A", "k", "1", &error));
        QVERIFY(!error.isEmpty());
    }

    void iniFileEncoding()
    {
        const QString file = m_dir.filePath("enc.ini");
        WriteBytes(file, "[A]\nk=\xE8\n");
        kem::IniFile ini;
        QVERIFY(ini.load(file));
        QCOMPARE(ini.encoding(), kem::IniFile::Encoding::Windows1252);
        WriteBytes(file, "[A]\nk=\xC3\xA8\n");
        QVERIFY(ini.load(file));
        QCOMPARE(ini.encoding(), kem::IniFile::Encoding::Utf8);
        QCOMPARE(ini.value("a", "K").value_or("?"), QString::fromUtf8("è"));
    }

    // Company ini first (relative to the main ini's folder), then the main ini.
    void readPrg_data()
    {
        QTest::addColumn<QString>("companyIni");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("count");
        QTest::newRow("company wins") << "azienda.ini" << "DirImmagini" << "img-azienda" << "11";
        QTest::newRow("main when company lacks it") << "azienda.ini" << "DriveDB" << "/srv/kem" << "8";
        QTest::newRow("company empty value wins") << "azienda.ini" << "DirDB" << "" << "0";
        QTest::newRow("neither") << "azienda.ini" << "Manca" << "DEF" << "0";
        QTest::newRow("no company ini") << "" << "DirImmagini" << "img-main" << "8";
        QTest::newRow("company ini missing") << "manca.ini" << "DirImmagini" << "img-main" << "8";
        QTest::newRow("absolute company ini") << "@ABS@" << "DirImmagini" << "img-altrove" << "11";
    }

    void readPrg()
    {
        QFETCH(QString, companyIni);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, count);
        const QString mainIni = m_dir.filePath("kemwin.ini");
        WriteBytes(mainIni, "[Base]\nDriveDB=/srv/kem\nDirDB=dati\nDirImmagini=img-main\n");
        WriteBytes(m_dir.filePath("azienda.ini"), "[base]\nDirImmagini=img-azienda\ndirdb=\n");
        QVERIFY(QDir(m_dir.path()).mkpath("altrove"));
        WriteBytes(m_dir.filePath("altrove/azienda.ini"), "[Base]\nDirImmagini=img-altrove\n");
        if (companyIni == "@ABS@")
            companyIni = m_dir.filePath("altrove/azienda.ini");
        // run from another folder: the relative company ini must not depend on it
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(QDir::tempPath());
        QString actual;
        const QString actualCount = kem::IniReadPrg("Base", key, "DEF", actual, mainIni, companyIni);
        QDir::setCurrent(cwd);
        QCOMPARE(actualCount, count);
        QCOMPARE(actual, value);
    }

    // A path read from the program's ini files is resolved against the folder of the file that
    // holds it, whichever of the two that is, and whatever the current directory.
    void readPrgPath_data()
    {
        QTest::addColumn<QString>("companyIni");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected"); // below the temporary folder ("" for none)
        QTest::newRow("main ini") << "azienda.ini" << "DriveDB" << "main/.";
        QTest::newRow("company ini beside it") << "azienda.ini" << "PathDefault" << "main/stampe";
        QTest::newRow("company ini elsewhere") << "@ABS@" << "PathDefault" << "altrove/stampe-altrove";
        QTest::newRow("menu drive keeps its separator") << "azienda.ini" << "MenuDrive" << "main/menu/";
        QTest::newRow("absolute kept") << "azienda.ini" << "Assoluto" << "@/var/kem/immagini";
        QTest::newRow("missing gives the default") << "azienda.ini" << "Manca" << "@DEF";
    }

    void readPrgPath()
    {
        QFETCH(QString, companyIni);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QVERIFY(QDir(m_dir.path()).mkpath("main") && QDir(m_dir.path()).mkpath("altrove"));
        const QString mainIni = m_dir.filePath("main/kemwin.ini");
        WriteBytes(mainIni, "[Base]\nDriveDB=.\nMenuDrive=menu/\nAssoluto=/var/kem/immagini\n");
        WriteBytes(m_dir.filePath("main/azienda.ini"), "[Base]\nPathDefault=stampe\n");
        WriteBytes(m_dir.filePath("altrove/azienda.ini"), "[Base]\nPathDefault=stampe-altrove\n");
        if (companyIni == "@ABS@")
            companyIni = m_dir.filePath("altrove/azienda.ini");
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(QDir::tempPath());
        QString actual;
        kem::IniReadPrgPath("Base", key, "DEF", actual, mainIni, companyIni);
        QDir::setCurrent(cwd);
        if (expected.startsWith('@'))
            QCOMPARE(actual, expected.mid(1));
        else
            QCOMPARE(QDir::cleanPath(actual) + (actual.endsWith('/') ? "/" : ""),
                     QDir::cleanPath(m_dir.filePath(expected)) + (expected.endsWith('/') ? "/" : ""));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
