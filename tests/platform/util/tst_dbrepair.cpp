#include "platform/util/kemutil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sqlite3.h>

namespace {

struct DbCloser {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using Db = std::unique_ptr<sqlite3, DbCloser>;
struct StmtFinalizer {
    void operator()(sqlite3_stmt *s) const { sqlite3_finalize(s); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

constexpr int kArticoli = 3000;

Db OpenDb(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    return Db(db);
}

Stmt Prepare(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    return Stmt(s);
}

bool Exec(sqlite3 *db, const char *sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

// One integer from a query, or -1 when the query fails.
qint64 Scalar(sqlite3 *db, const char *sql)
{
    Stmt s = Prepare(db, sql);
    if (!s || sqlite3_step(s.get()) != SQLITE_ROW)
        return -1;
    return sqlite3_column_int64(s.get(), 0);
}

QString Description(int i) { return QStringLiteral("Articolo numero %1, descrizione lunga per riempire le pagine").arg(i); }
double Price(int i) { return i * 1.25; }

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestDbRepair : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void repairsDamagedTable_data()
    {
        QTest::addColumn<QList<int>>("damaged"); // which leaf pages of Articoli (by order) to damage
        QTest::newRow("intact") << QList<int>{};
        QTest::newRow("middle leaf") << QList<int>{50};
        QTest::newRow("first leaf") << QList<int>{0};
        QTest::newRow("last leaf") << QList<int>{100};
        QTest::newRow("two leaves apart") << QList<int>{30, 70};
        QTest::newRow("adjacent leaves") << QList<int>{40, 41, 42};
    }

    void repairsDamagedTable()
    {
        QFETCH(QList<int>, damaged);
        QTemporaryDir dir;
        const QString path = dir.filePath("azienda.db");
        QVERIFY(buildCompany(path));

        // Leaf pages of Articoli and their row counts, then garbage over the chosen ones.
        QList<QPair<qint64, int>> leaves;
        {
            Db db = OpenDb(path);
            Stmt s = Prepare(db.get(), "SELECT pageno, ncell FROM dbstat WHERE name = 'Articoli' AND pagetype = 'leaf' ORDER BY pageno");
            if (!s)
                QSKIP("this SQLite has no dbstat table");
            while (sqlite3_step(s.get()) == SQLITE_ROW)
                leaves.append({sqlite3_column_int64(s.get(), 0), sqlite3_column_int(s.get(), 1)});
        }
        QVERIFY(leaves.size() > 20);
        int lost = 0;
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            for (int which : damaged) {
                const auto &leaf = leaves[qMin<qsizetype>(which, leaves.size() - 1)];
                lost += leaf.second;
                QVERIFY(f.seek((leaf.first - 1) * 4096));
                f.write(QByteArray(4096, char(0xA5)));
            }
        }
        const QByteArray damagedBytes = ReadAll(path);
        if (!damaged.isEmpty()) { // the fault is real: a plain scan fails
            Db db = OpenDb(path);
            QCOMPARE(Scalar(db.get(), "SELECT count(*) FROM Articoli NOT INDEXED"), qint64(-1));
        }

        QString message;
        QCOMPARE(kem::DbRepair(path, &message), int(kem::DbRepairOk));
        QVERIFY(!message.isEmpty());

        // the damaged original is kept beside it, unchanged
        const QStringList kept = QDir(dir.path()).entryList({"azienda.db.danneggiato-*"});
        QCOMPARE(kept.size(), 1);
        QCOMPARE(ReadAll(dir.filePath(kept.first())), damagedBytes);
        QVERIFY(!QFile::exists(path + ".recupero"));

        Db db = OpenDb(path);
        Stmt check = Prepare(db.get(), "PRAGMA integrity_check");
        QVERIFY(check && sqlite3_step(check.get()) == SQLITE_ROW);
        QCOMPARE(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(check.get(), 0))), QString("ok"));
        QCOMPARE(Scalar(db.get(), "SELECT count(*) FROM Piccola"), qint64(10));
        QCOMPARE(Scalar(db.get(), "SELECT count(*) FROM Registro"), qint64(5));
        QCOMPARE(Scalar(db.get(), "SELECT count(*) FROM Articoli"), qint64(kArticoli - lost));
        QCOMPARE(Scalar(db.get(), "PRAGMA user_version"), qint64(7));

        // every recovered row is exactly what was written
        Stmt rows = Prepare(db.get(), "SELECT Codice, Descrizione, Prezzo, Foto, rowid FROM Articoli");
        while (sqlite3_step(rows.get()) == SQLITE_ROW) {
            const int i = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(rows.get(), 0))).mid(3).toInt();
            QCOMPARE(sqlite3_column_int64(rows.get(), 4), qint64(i));
            QCOMPARE(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(rows.get(), 1))), Description(i));
            QCOMPARE(sqlite3_column_double(rows.get(), 2), Price(i));
            QCOMPARE(sqlite3_column_type(rows.get(), 3), i % 2 ? SQLITE_NULL : SQLITE_BLOB);
        }

        // schema objects come back: index, view, text comparison and the autoincrement counter
        QCOMPARE(Scalar(db.get(), "SELECT count(*) FROM sqlite_schema WHERE name = 'IdxDescr'"), qint64(1));
        QVERIFY(Scalar(db.get(), "SELECT count(*) FROM Cari") > 0);
        if (!damaged.contains(0))
            QCOMPARE(Scalar(db.get(), "SELECT count(*) FROM Articoli WHERE Codice = 'art00001'"), qint64(1));
        QVERIFY(Exec(db.get(), "INSERT INTO Registro (Msg) VALUES ('dopo')"));
        QCOMPARE(Scalar(db.get(), "SELECT max(Id) FROM Registro"), qint64(6));
    }

    void garbageFileIsNotTouched_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text") << QByteArray("questo non è un database\n").repeated(200);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header only") << QByteArray("SQLite format 3\0", 16);
    }

    void garbageFileIsNotTouched()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath("azienda.db");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        QString message;
        QCOMPARE(kem::DbRepair(path, &message), int(kem::DbRepairNotDatabase));
        QVERIFY(!message.isEmpty());
        QCOMPARE(ReadAll(path), content);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"azienda.db"});
    }

    void schemaPageDamaged()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("azienda.db");
        QVERIFY(buildCompany(path));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.seek(100)); // keep the file header, lose the schema table
            f.write(QByteArray(4096 - 100, char(0xA5)));
        }
        const QByteArray before = ReadAll(path);
        QCOMPARE(kem::DbRepair(path), int(kem::DbRepairNotDatabase));
        QCOMPARE(ReadAll(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"azienda.db"});
    }

    // Two repairs within the same second keep both originals under different names.
    void repairTwiceKeepsBothOriginals()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("azienda.db");
        QVERIFY(buildCompany(path));
        QCOMPARE(kem::DbRepair(path), int(kem::DbRepairOk));
        QCOMPARE(kem::DbRepair(path), int(kem::DbRepairOk));
        QCOMPARE(QDir(dir.path()).entryList({"azienda.db.danneggiato-*"}).size(), 2);
        Db db = OpenDb(path);
        QCOMPARE(Scalar(db.get(), "SELECT count(*) FROM Articoli"), qint64(kArticoli));
    }

    void missingFile()
    {
        QCOMPARE(kem::DbRepair(m_dir.filePath("manca.db")), int(kem::DbRepairNotDatabase));
    }

private:
    // A small company file: a few tables over many pages, an index, a view, an autoincrement key.
    static bool buildCompany(const QString &path)
    {
        Db db = OpenDb(path);
        if (!db)
            return false;
        bool ok = Exec(db.get(), "PRAGMA page_size = 4096; PRAGMA user_version = 7; BEGIN;"
                                 "CREATE TABLE Piccola (Id INTEGER PRIMARY KEY, Nome TEXT);"
                                 "CREATE TABLE Articoli (Codice TEXT COLLATE NOCASE PRIMARY KEY, Descrizione TEXT,"
                                 " Prezzo DOUBLE, Foto BLOB);"
                                 "CREATE TABLE Registro (Id INTEGER PRIMARY KEY AUTOINCREMENT, Msg TEXT);"
                                 "CREATE INDEX IdxDescr ON Articoli (Descrizione);"
                                 "CREATE VIEW Cari AS SELECT Codice FROM Articoli WHERE Prezzo > 100;");
        for (int i = 1; ok && i <= 10; ++i)
            ok = Exec(db.get(), QStringLiteral("INSERT INTO Piccola VALUES (%1, 'nome %1')").arg(i).toUtf8().constData());
        for (int i = 1; ok && i <= 5; ++i)
            ok = Exec(db.get(), "INSERT INTO Registro (Msg) VALUES ('voce')");
        Stmt ins = Prepare(db.get(), "INSERT INTO Articoli (rowid, Codice, Descrizione, Prezzo, Foto) VALUES (?, ?, ?, ?, ?)");
        for (int i = 1; ok && i <= kArticoli; ++i) {
            const QByteArray code = QStringLiteral("ART%1").arg(i, 5, 10, QLatin1Char('0')).toUtf8();
            const QByteArray descr = Description(i).toUtf8();
            sqlite3_bind_int(ins.get(), 1, i);
            sqlite3_bind_text(ins.get(), 2, code.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(ins.get(), 3, descr.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(ins.get(), 4, Price(i));
            if (i % 2)
                sqlite3_bind_null(ins.get(), 5);
            else
                sqlite3_bind_blob(ins.get(), 5, "\x89PNG", 4, SQLITE_STATIC);
            ok = sqlite3_step(ins.get()) == SQLITE_DONE;
            sqlite3_reset(ins.get());
        }
        return ok && Exec(db.get(), "COMMIT");
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestDbRepair)
#include "tst_dbrepair.moc"
