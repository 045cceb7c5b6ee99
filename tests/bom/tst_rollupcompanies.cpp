// The cached rollup gives exactly the values of the straightforward one on whole companies:
// every parent and every link line, as the report values them, under several methods.
#include "bomcore/bomsource.h"
#include "bomcore/pricelookup.h"
#include "schema/democompany.h"
#include "tests/support/testcompany.h"
#include "platform/db/kemdb.h"
#include "schema/synthcompany.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using kemtest::RecordingSink;
using Path = kem::BomSource::Path;

namespace {

// One valuation the report asks for: a parent line or a component line.
struct Request {
    QString article, um, sconto, method, list;
    double qty = 0;
    double factor = 1;
    qint16 kind = 0;
};

struct Result {
    bool ok = false;
    double value = 0;
};

QString text(const QVariant &v) { return v.isNull() ? QString() : v.toString(); }

// Parents at two quantities, and every link valued as the report values a component line.
QVector<Request> requests(kem::Database &db)
{
    QVector<Request> out;
    kem::ResultSets rs;
    {
        kem::RsGuard h(rs, rs.RsOpen(db, "Select Articolo, ArtUMVen, Sconto, FatConVen from Articoli"
                                         " Where DistBase > 0 AND DistBase < 3 ORDER BY Articolo"));
        for (rs.RsMoveFirst(h); !rs.RsEof(h); rs.RsMoveNext(h)) {
            for (double qty : {1.0, 2.5}) {
                Request r;
                r.article = text(rs.RsField(h, "Articolo"));
                r.um = text(rs.RsField(h, "ArtUMVen"));
                r.sconto = text(rs.RsField(h, "Sconto"));
                r.factor = rs.RsField(h, "FatConVen").toDouble();
                r.qty = qty;
                out << r;
            }
        }
    }
    kem::RsGuard h(rs, rs.RsOpen(db, "SELECT ArtLegami.ArticoloFiglio, ArtLegami.UM, ArtLegami.Qta,"
                                     " ArtLegami.QualeImporto, ArtLegami.Listino, Art2.Sconto, Art2.DistBase"
                                     " FROM ArtLegami LEFT JOIN Articoli AS Art2"
                                     " ON ArtLegami.ArticoloFiglio = Art2.Articolo"
                                     " ORDER BY ArtLegami.ArticoloPadre, ArtLegami.ArticoloFiglio"));
    for (rs.RsMoveFirst(h); !rs.RsEof(h); rs.RsMoveNext(h)) {
        Request r;
        r.article = text(rs.RsField(h, "ArtLegami.ArticoloFiglio"));
        r.um = text(rs.RsField(h, "ArtLegami.UM"));
        r.sconto = text(rs.RsField(h, "Art2.Sconto"));
        r.method = text(rs.RsField(h, "ArtLegami.QualeImporto"));
        r.list = text(rs.RsField(h, "ArtLegami.Listino"));
        r.qty = 3 * rs.RsField(h, "ArtLegami.Qta").toDouble();
        r.kind = static_cast<qint16>(rs.RsField(h, "Art2.DistBase").toInt());
        out << r;
    }
    return out;
}

QStringList lists(kem::Database &db)
{
    QStringList out;
    kem::ResultSets rs;
    kem::RsGuard h(rs, rs.RsOpen(db, "Select Listino from Listini ORDER BY Listino"));
    for (rs.RsMoveFirst(h); !rs.RsEof(h); rs.RsMoveNext(h))
        out << text(rs.RsField(h, "Listino"));
    return out;
}

QVector<Result> valueAll(kem::Database &db, const kem::CompanyParams &params, Path path,
                         bool preload, const QVector<Request> &reqs, const QString &override,
                         const QString &overrideList, QStringList *errors)
{
    kem::ReadTransaction run(db); // as a report runs
    RecordingSink sink;
    kem::BomSource source(db, params, sink, path);
    kem::CostRollup &rollup = source.rollup();
    rollup.setOverride(override, overrideList, QString());
    if (preload)
        source.beginRun();
    QVector<Result> out;
    out.reserve(reqs.size());
    for (const Request &r : reqs) {
        Result res;
        res.ok = rollup.CreaMovDiBaLegami(r.article, r.um, r.sconto, r.qty, 1, res.value, 0, r.factor,
                                          r.method, r.list, r.kind);
        out << res;
    }
    *errors = sink.errors;
    return out;
}

} // namespace

class TestRollupCompanies : public QObject {
    Q_OBJECT
private slots:
    void sameValues_data();
    void sameValues();
};

void TestRollupCompanies::sameValues_data()
{
    QTest::addColumn<QString>("company");
    QTest::newRow("demo") << "demo";
    QTest::newRow("synthetic") << "synth";
}

void TestRollupCompanies::sameValues()
{
    QFETCH(QString, company);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    if (company == QLatin1String("demo")) {
        QVERIFY2(kem::WriteDemoCompany(dir.path(), &error), qPrintable(error));
    } else {
        kem::SynthParams p;
        p.products = 8;
        p.depth = 4;
        p.components = 3;
        p.sharedPct = 50;
        QVERIFY2(kem::WriteSynthCompany(dir.path(), p, &error), qPrintable(error));
    }
    kem::Database db;
    db.DbOpen(QDir(dir.path()).filePath(QStringLiteral("dati/azienda.db")));
    kem::CompanyParams params = kemtest::FixtureParams();
    params.workingDate = QDate::currentDate();

    const QVector<Request> reqs = requests(db);
    QVERIFY(reqs.size() > 10);
    QVector<QPair<QString, QString>> overrides = {{QString(), QString()}, {"S", QString()}};
    for (const QString &l : lists(db))
        overrides.append({QStringLiteral("L"), l});

    int nonZero = 0;
    for (const auto &[method, list] : overrides) {
        QStringList straightErrors, cachedErrors, preloadedErrors;
        const QVector<Result> straight =
            valueAll(db, params, Path::Straightforward, false, reqs, method, list, &straightErrors);
        const QVector<Result> cached =
            valueAll(db, params, Path::Cached, false, reqs, method, list, &cachedErrors);
        const QVector<Result> preloaded =
            valueAll(db, params, Path::Cached, true, reqs, method, list, &preloadedErrors);
        QVERIFY2(straightErrors.isEmpty(), qPrintable(straightErrors.join('\n')));
        QVERIFY2(cachedErrors.isEmpty(), qPrintable(cachedErrors.join('\n')));
        QVERIFY2(preloadedErrors.isEmpty(), qPrintable(preloadedErrors.join('\n')));
        for (int i = 0; i < reqs.size(); ++i) {
            QVERIFY2(cached[i].ok == preloaded[i].ok && cached[i].value == preloaded[i].value,
                     qPrintable(QStringLiteral("preloaded %1 x %2: %3 against %4")
                                    .arg(reqs[i].article).arg(reqs[i].qty)
                                    .arg(preloaded[i].value, 0, 'g', 17).arg(cached[i].value, 0, 'g', 17)));
            const QString what = QStringLiteral("%1 x %2 method '%3' list '%4': %5/%6 against %7/%8")
                                     .arg(reqs[i].article).arg(reqs[i].qty).arg(method, list)
                                     .arg(straight[i].ok).arg(straight[i].value, 0, 'g', 17)
                                     .arg(cached[i].ok).arg(cached[i].value, 0, 'g', 17);
            QVERIFY2(straight[i].ok == cached[i].ok && straight[i].value == cached[i].value,
                     qPrintable(what));
            if (straight[i].value != 0)
                ++nonZero;
        }
    }
    // The comparison means something only when the companies carry values.
    QVERIFY(nonZero > reqs.size());
}

QTEST_GUILESS_MAIN(TestRollupCompanies)
#include "tst_rollupcompanies.moc"
