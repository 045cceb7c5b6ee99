// A company folder is copied as a whole ("cp -a"): its ini files hold paths relative to the
// folder of the file that holds them, so the copy opens, prints and writes its own files, and
// the original stays byte for byte as it was. A company database outside the folder is named
// in a warning before a batch run starts.
#include "platform/menu/menuconfig.h"
#include "platform/util/kemutil.h"
#include "platform/printlib/printoptions.h"
#include "print/aziendautilstampe.h"
#include "print/sceltastamlogic.h"
#include "reportkit/company.h"
#include "reportkit/reportprintservices.h"
#include "tests/support/testcompany.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace kem;

namespace {

const QString kBatch = QStringLiteral(KEM_BINARY_DIR "/apps/distinta-batch/distinta-batch");
const QString kArticle = QStringLiteral("TAV-ROV180");
const QString kCopyDescription = QStringLiteral("Tavolo della copia");

struct Result {
    int code = -1;
    QString err;
};

// distinta-batch run from `workingDir` (never the company folder).
Result Batch(const QStringList &args, const QString &workingDir)
{
    QProcess p;
    p.setWorkingDirectory(workingDir);
    p.start(kBatch, args);
    Result r;
    if (!p.waitForFinished(120000))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

bool CopyFolder(const QString &from, const QString &to)
{
    QProcess cp;
    cp.start(QStringLiteral("cp"), {QStringLiteral("-a"), from, to});
    return cp.waitForFinished(60000) && cp.exitStatus() == QProcess::NormalExit && cp.exitCode() == 0;
}

// Every file below dir (hidden ones too) with its bytes, by path relative to dir.
QMap<QString, QByteArray> Snapshot(const QString &dir)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        out.insert(QDir(dir).relativeFilePath(path), f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("?"));
    }
    return out;
}

QString Describe(const QMap<QString, QByteArray> &before, const QMap<QString, QByteArray> &after)
{
    QStringList changed;
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (!after.contains(it.key()) || after.value(it.key()) != it.value())
            changed << it.key();
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (!before.contains(it.key()))
            changed << it.key() + QStringLiteral(" (nuovo)");
    return changed.join(QStringLiteral(", "));
}

QString Description(const QString &dbFile, const QString &article)
{
    QString out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("lettura"));
        db.setDatabaseName(dbFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            q.prepare(QStringLiteral("SELECT Descrizione FROM Articoli WHERE Articolo = ?"));
            q.addBindValue(article);
            if (q.exec() && q.next())
                out = q.value(0).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("lettura"));
    return out;
}

QString FileText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class TstCompanyFolder : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void copyPointsAtItself();
    void writeGoesToTheCopy();
    void batchPrintsTheCopy();
    void settingsWrittenBackStayRelative_data();
    void settingsWrittenBackStayRelative();
    void originalUntouched();
    void warnsOfADatabaseOutside_data();
    void warnsOfADatabaseOutside();

private:
    QTemporaryDir tmp_;
    QString original_, copy_;
    QMap<QString, QByteArray> before_;
};

void TstCompanyFolder::initTestCase()
{
    QVERIFY(tmp_.isValid());
    QVERIFY2(QFile::exists(kBatch), qPrintable(kBatch));
    original_ = tmp_.filePath(QStringLiteral("originale"));
    const Result demo = Batch({QStringLiteral("demo"), original_}, tmp_.path());
    QVERIFY2(demo.code == 0, qPrintable(demo.err));
    QVERIFY(QDir().mkpath(tmp_.filePath(QStringLiteral("altrove"))));
    copy_ = tmp_.filePath(QStringLiteral("altrove/copia"));
    QVERIFY(CopyFolder(original_, copy_));
    before_ = Snapshot(original_);
    QVERIFY(before_.contains(QStringLiteral("dati/azienda.db")));
    QCOMPARE(Snapshot(copy_).keys(), before_.keys());
}

void TstCompanyFolder::copyPointsAtItself()
{
    MenuConfig config;
    QString error;
    QVERIFY2(MenuConfig::Load(copy_, &config, &error), qPrintable(error));
    QCOMPARE(config.iniPath(), copy_ + QStringLiteral("/kemwin.ini"));
    QCOMPARE(config.companyDbPath(), copy_ + QStringLiteral("/dati/azienda.db"));
    QCOMPARE(QDir::cleanPath(config.menuDbPath()), copy_ + QStringLiteral("/menu/menu.db"));
    QVERIFY(CompanyFolderWarnings(config).isEmpty());
}

void TstCompanyFolder::writeGoesToTheCopy()
{
    RecordingMessageSink sink;
    QString error;
    QStringList warnings;
    {
        const auto session = CompanySession::Open(copy_, sink, &error,
                                                  [&](const QString &w) { warnings << w; });
        QVERIFY2(session, qPrintable(error));
        QCOMPARE(session->mainIni(), copy_ + QStringLiteral("/kemwin.ini"));
        QCOMPARE(session->db().DbExecute(QStringLiteral("UPDATE Articoli SET Descrizione = '%1' WHERE Articolo = '%2'")
                                             .arg(kCopyDescription, kArticle)),
                 qint64(1));
    }
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
    QCOMPARE(Description(copy_ + QStringLiteral("/dati/azienda.db"), kArticle), kCopyDescription);
    QVERIFY(Description(original_ + QStringLiteral("/dati/azienda.db"), kArticle) != kCopyDescription);
}

void TstCompanyFolder::batchPrintsTheCopy()
{
    const QString csv = tmp_.filePath(QStringLiteral("copia.csv"));
    const Result r = Batch({QStringLiteral("bom"), QStringLiteral("--company"), copy_, QStringLiteral("--out"), csv},
                           tmp_.path());
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY2(!r.err.contains(QStringLiteral("Attenzione")), qPrintable(r.err));
    // the copy's own database was read
    const QString text = FileText(csv);
    QVERIFY2(text.contains(kCopyDescription), qPrintable(text.left(800)));
}

void TstCompanyFolder::settingsWrittenBackStayRelative_data()
{
    QTest::addColumn<bool>("commonFile");
    QTest::addColumn<QString>("file"); // in the copy
    QTest::newRow("this terminal") << false << "kemwin.ini";
    QTest::newRow("all terminals") << true << "azienda.ini";
}

// The print options of the copy: the default folder read from its azienda.ini is the copy's,
// and what the destination dialog saves goes into the copy's files, the folder still relative.
void TstCompanyFolder::settingsWrittenBackStayRelative()
{
    QFETCH(bool, commonFile);
    QFETCH(QString, file);
    RecordingMessageSink sink;
    QString error;
    const auto session = CompanySession::Open(copy_, sink, &error);
    QVERIFY2(session, qPrintable(error));
    AziendaUtilStampe stampe(ReportPrintServices::EnvOf(session->Env(), nullptr));
    LoadOptionsArgs load;
    load.osKeySec = QStringLiteral("frmPrelvo");
    PrintOptions options;
    stampe.IniOpzSta(options, load);
    QCOMPARE(options.PathDefault, copy_ + QStringLiteral("/stampe"));

    options.StaVid = PrintOptions::File;
    SaveRequest request;
    request.commonFile = commonFile;
    request.defaultSection = false;
    request.keys = QStringList{QStringLiteral("PathDefault"), QStringLiteral("StaVid")};
    QCOMPARE(SaveRequestFile(stampe.Env(), request), copy_ + QLatin1Char('/') + file);
    QVERIFY2(ApplySaveRequest(stampe.Env(), options, request, &error), qPrintable(error));
    QString stored;
    IniRead(copy_ + QLatin1Char('/') + file, options.SectionKey, QStringLiteral("PathDefault"), QString(), stored);
    QCOMPARE(stored, QStringLiteral("stampe"));

    PrintOptions again;
    stampe.IniOpzSta(again, load);
    QCOMPARE(again.PathDefault, copy_ + QStringLiteral("/stampe"));
    QCOMPARE(again.StaVid, int(PrintOptions::File));
}

void TstCompanyFolder::originalUntouched()
{
    const QMap<QString, QByteArray> after = Snapshot(original_);
    QVERIFY2(after == before_, qPrintable(Describe(before_, after)));
}

void TstCompanyFolder::warnsOfADatabaseOutside_data()
{
    QTest::addColumn<QString>("nomeDb"); // NomeDBAzie; @ABS@ the temporary folder, @DIR@ the company's
    QTest::addColumn<QString>("warned"); // the database named in the warning, "" for none
    QTest::newRow("absolute outside") << "@ABS@/fuori/azienda.db" << "@ABS@/fuori/azienda.db";
    QTest::newRow("relative outside") << "../fuori/azienda.db" << "@ABS@/fuori/azienda.db";
    QTest::newRow("absolute inside") << "@DIR@/dati/azienda.db" << "";
    QTest::newRow("relative inside") << "dati/azienda.db" << "";
}

void TstCompanyFolder::warnsOfADatabaseOutside()
{
    QFETCH(QString, nomeDb);
    QFETCH(QString, warned);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString dir = root.filePath(QStringLiteral("azienda"));
    QVERIFY(CopyFolder(original_, dir));
    QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("fuori"))));
    QVERIFY(QFile::copy(original_ + QStringLiteral("/dati/azienda.db"), root.filePath(QStringLiteral("fuori/azienda.db"))));
    auto place = [&](QString s) {
        return s.replace(QStringLiteral("@ABS@"), root.path()).replace(QStringLiteral("@DIR@"), dir);
    };
    QString error;
    QVERIFY2(IniWrite(dir + QStringLiteral("/kemora-menu.ini"), QStringLiteral("Variabili"), QStringLiteral("NomeDBAzie"),
                      place(nomeDb), &error), qPrintable(error));

    const Result r = Batch({QStringLiteral("bom"), QStringLiteral("--company"), dir, QStringLiteral("--out"),
                            root.filePath(QStringLiteral("distinta.csv"))},
                           tmp_.path());
    // the run goes on
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY(QFile::exists(root.filePath(QStringLiteral("distinta.csv"))));
    const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (warned.isEmpty()) {
        QVERIFY2(!r.err.contains(QStringLiteral("Attenzione")), qPrintable(r.err));
        return;
    }
    // the first thing the run says
    QVERIFY(!lines.isEmpty());
    QCOMPARE(lines.first(), QStringLiteral("Attenzione: il database dell'azienda %1 non è nella cartella %2")
                                .arg(place(warned), dir));
    QCOMPARE(r.err.count(QStringLiteral("Attenzione")), 1);
}

QTEST_GUILESS_MAIN(TstCompanyFolder)
#include "tst_companyfolder.moc"
