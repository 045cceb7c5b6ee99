// The menu's company configuration: the paths of kemora-menu.ini and of the main ini are read
// relative to the folder of the file that holds them, so that a copied company folder is a
// company of its own; absolute paths and database names that are not files stay as written.
#include "platform/menu/companymenuserver.h"
#include "platform/menu/menuconfig.h"
#include "platform/menu/menuserver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace kem;

namespace {

bool WriteText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
}

} // namespace

class TstMenuConfig : public QObject {
    Q_OBJECT
private slots:
    void companyDatabase_data();
    void companyDatabase();
    void mainIniAndMenuDatabase_data();
    void mainIniAndMenuDatabase();
};

void TstMenuConfig::companyDatabase_data()
{
    QTest::addColumn<QString>("written");  // NomeDBAzie in kemora-menu.ini
    QTest::addColumn<QString>("served");   // what the menu hands out ("@" + below DIR)
    QTest::addColumn<bool>("file");        // companyDbPath() is that file
    QTest::newRow("relative file") << "dati/azienda.db" << "@dati/azienda.db" << true;
    QTest::newRow("relative parent") << "../comune/azienda.db" << "@../comune/azienda.db" << true;
    QTest::newRow("absolute file") << "/srv/kem/azienda.db" << "/srv/kem/azienda.db" << true;
    QTest::newRow("data source") << "SERVERDATI" << "SERVERDATI" << false;
    QTest::newRow("odbc text") << "ODBC;DSN=dati.x" << "ODBC;DSN=dati.x" << false;
}

void TstMenuConfig::companyDatabase()
{
    QFETCH(QString, written);
    QFETCH(QString, served);
    QFETCH(bool, file);
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString dir = tmp.filePath("az");
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(WriteText(dir + "/kemora-menu.ini", "[Menu]\nIniPath=kemwin.ini\n[Variabili]\nNomeDBAzie=" + written.toUtf8()
                                                    + "\nDescAzie=Prova.srl\n"));
    const QString expected = served.startsWith('@') ? QDir::cleanPath(dir + "/" + served.mid(1)) : served;
    MenuConfig config;
    QString error;
    // from another working directory: nothing may depend on it
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
    const bool loaded = MenuConfig::Load(dir, &config, &error);
    QDir::setCurrent(cwd);
    QVERIFY2(loaded, qPrintable(error));
    QCOMPARE(config.variable("NomeDBAzie").value_or("?"), expected);
    QCOMPARE(config.variable("nomedbazie").value_or("?"), expected);
    // the menu serves it that way
    CompanyMenuServer menu(config);
    QCOMPARE(menu.MenuVar("NomeDBAzie", QString()), expected);
    // a variable that is no path keeps its text, dots and all
    QCOMPARE(config.variable("DescAzie").value_or("?"), QString("Prova.srl"));
    QCOMPARE(config.companyDbPath(), file ? expected : QString());
}

void TstMenuConfig::mainIniAndMenuDatabase_data()
{
    QTest::addColumn<QString>("iniPath");   // [Menu] IniPath in kemora-menu.ini
    QTest::addColumn<QString>("menuDrive"); // [Menu] DriveDB in the main ini
    QTest::addColumn<QString>("mainIni");   // below the temporary folder
    QTest::addColumn<QString>("menuDb");    // below the temporary folder
    QTest::newRow("beside") << "kemwin.ini" << "menu/" << "az/kemwin.ini" << "az/menu/menu.db";
    // the menu drive belongs to the main ini: it is read against the main ini's folder
    QTest::newRow("main ini elsewhere") << "../comune/kemwin.ini" << "menu" << "comune/kemwin.ini" << "comune/menu/menu.db";
    QTest::newRow("absolute main ini") << "@comune/kemwin.ini" << "." << "comune/kemwin.ini" << "comune/menu.db";
    QTest::newRow("absolute drive") << "kemwin.ini" << "@comune/menu" << "az/kemwin.ini" << "comune/menu/menu.db";
}

void TstMenuConfig::mainIniAndMenuDatabase()
{
    QFETCH(QString, iniPath);
    QFETCH(QString, menuDrive);
    QFETCH(QString, mainIni);
    QFETCH(QString, menuDb);
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QDir root(tmp.path());
    QVERIFY(root.mkpath("az") && root.mkpath("comune"));
    auto place = [&](const QString &v) { return v.startsWith('@') ? root.filePath(v.mid(1)) : v; };
    QVERIFY(WriteText(root.filePath("az/kemora-menu.ini"), "[Menu]\nIniPath=" + place(iniPath).toUtf8() + "\n"));
    const QByteArray main = "[Menu]\nNomeDB=menu.db\nDriveDB=" + place(menuDrive).toUtf8() + "\n";
    QVERIFY(WriteText(root.filePath("az/kemwin.ini"), main));
    QVERIFY(WriteText(root.filePath("comune/kemwin.ini"), main));
    MenuConfig config;
    QString error;
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
    const bool loaded = MenuConfig::Load(root.filePath("az"), &config, &error);
    QDir::setCurrent(cwd);
    QVERIFY2(loaded, qPrintable(error));
    QCOMPARE(config.iniPath(), QDir::cleanPath(root.filePath(mainIni)));
    QCOMPARE(QDir::cleanPath(config.menuDbPath()), QDir::cleanPath(root.filePath(menuDb)));
}

QTEST_GUILESS_MAIN(TstMenuConfig)
#include "tst_menuconfig.moc"
