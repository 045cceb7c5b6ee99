// Data-layer benchmark: the statements of the cost rollup (links of an assembly, then the
// article and VAT rate of every link), each with a different article literal, opened, looped
// over and closed through the result-set service; once with the statement cache and once
// without. Prints statements per second and the statements / prepared counts.
#include "platform/db/kemdb.h"
#include "platform/util/kemutil.h"
#include "schema/synthcompany.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <ctime>

namespace {

struct Run {
    qint64 statements = 0;
    qint64 prepared = 0;
    qint64 rows = 0;
    double seconds = 0;    // wall clock
    double cpuSeconds = 0; // process CPU time (the machine may be shared)
    double checksum = 0;
};

double cpuNow()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

Run valuationPass(kem::Database &db, const QStringList &assemblies, int iterations)
{
    const QString links = QStringLiteral("Select ArtLegami.*, Listini.Ivato from ArtLegami") + QStringLiteral(" Left Join Listini")
                          + QStringLiteral(" On ArtLegami.Listino = Listini.Listino") + QStringLiteral(" Where ArticoloPadre = ");
    const QString article = QStringLiteral("Select Articoli.* , TabIva.Aliquota") + QStringLiteral(" from Articoli LEFT JOIN TabIva")
                            + QStringLiteral(" ON Articoli.IvaVendite") + QStringLiteral(" = TabIva.Iva")
                            + QStringLiteral(" Where Articoli.Articolo = ");
    Run run;
    db.resetStats();
    kem::ResultSets rs;
    QElapsedTimer timer;
    timer.start();
    const double cpu0 = cpuNow();
    for (int i = 0; i < iterations; ++i) {
        const QString &parent = assemblies[i % assemblies.size()];
        kem::RsGuard h(rs, rs.RsOpen(db, links + kem::SqlLiteral(parent, kem::VarKind::Text)));
        if (rs.RsIsEmpty(h))
            continue;
        rs.RsMoveFirst(h);
        while (!rs.RsEof(h)) {
            const QString child = rs.RsField(h, QStringLiteral("ArticoloFiglio")).toString();
            const double qta = rs.RsField(h, QStringLiteral("Qta")).toDouble();
            rs.RsField(h, QStringLiteral("Listini.Ivato"));
            rs.RsField(h, QStringLiteral("Artlegami.listino"));
            kem::RsGuard a(rs, rs.RsOpen(db, article + kem::SqlLiteral(child, kem::VarKind::Text)));
            if (!rs.RsIsEmpty(a)) {
                rs.RsMoveFirst(a);
                while (!rs.RsEof(a)) {
                    run.checksum += qta * rs.RsField(a, QStringLiteral("FatConVen")).toDouble();
                    rs.RsField(a, QStringLiteral("TabIva.Aliquota"));
                    rs.RsField(a, QStringLiteral("DistBase"));
                    rs.RsField(a, QStringLiteral("Articoli.ArtUM"));
                    ++run.rows;
                    rs.RsMoveNext(a);
                }
            }
            ++run.rows;
            rs.RsMoveNext(h);
        }
    }
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    run.cpuSeconds = cpuNow() - cpu0;
    run.statements = db.stats().statements;
    run.prepared = db.stats().prepared;
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Statements per second of the cost rollup queries, with and without the statement cache."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("company"), QStringLiteral("Company directory (DIR/dati/azienda.db); the synthetic company is written there when missing."), QStringLiteral("dir")});
    parser.addOption({QStringLiteral("products"), QStringLiteral("Synthetic company: finished products."), QStringLiteral("n"), QStringLiteral("2000")});
    parser.addOption({QStringLiteral("depth"), QStringLiteral("Synthetic company: BOM depth."), QStringLiteral("n"), QStringLiteral("3")});
    parser.addOption({QStringLiteral("components"), QStringLiteral("Synthetic company: components per assembly."), QStringLiteral("n"), QStringLiteral("8")});
    parser.addOption({QStringLiteral("shared"), QStringLiteral("Synthetic company: percent of shared components."), QStringLiteral("pct"), QStringLiteral("30")});
    parser.addOption({QStringLiteral("iterations"), QStringLiteral("Assemblies valued per pass."), QStringLiteral("n"), QStringLiteral("5000")});
    parser.addOption({QStringLiteral("mode"), QStringLiteral("Passes to run: both, cache or nocache."), QStringLiteral("mode"), QStringLiteral("both")});
    parser.process(app);
    const QString mode = parser.value(QStringLiteral("mode"));

    QTextStream out(stdout);
    QTemporaryDir tmp;
    QString dir = parser.value(QStringLiteral("company"));
    if (dir.isEmpty()) {
        if (!tmp.isValid()) {
            std::fprintf(stderr, "cannot create a temporary directory\n");
            return 1;
        }
        dir = tmp.path();
    }
    if (!QFileInfo::exists(QDir(dir).filePath(QStringLiteral("dati/azienda.db")))) {
        // No company there yet: write the synthetic one (kept when --company names the place).
        QDir().mkpath(dir);
        kem::SynthParams p;
        p.products = parser.value(QStringLiteral("products")).toInt();
        p.depth = parser.value(QStringLiteral("depth")).toInt();
        p.components = parser.value(QStringLiteral("components")).toInt();
        p.sharedPct = parser.value(QStringLiteral("shared")).toDouble();
        QString error;
        kem::SynthStats st;
        if (!kem::WriteSynthCompany(dir, p, &error, &st)) {
            std::fprintf(stderr, "synthetic company: %s\n", qPrintable(error));
            return 1;
        }
        out << "synthetic company " << p.products << "x" << p.depth << "x" << p.components << " (" << p.sharedPct
            << "% shared): " << st.articles << " articles, " << st.links << " links, written in " << st.seconds << " s\n";
    }
    const int iterations = parser.value(QStringLiteral("iterations")).toInt();
    if (iterations <= 0) {
        std::fprintf(stderr, "--iterations must be a positive number\n");
        return 1;
    }
    try {
        kem::Database db;
        db.DbOpen(QDir(dir).filePath(QStringLiteral("dati/azienda.db")));
        QStringList assemblies;
        {
            kem::ResultSets rs;
            kem::RsGuard h(rs, rs.RsOpen(db, QStringLiteral("SELECT DISTINCT ArticoloPadre FROM ArtLegami ORDER BY ArticoloPadre")));
            if (!rs.RsIsEmpty(h))
                for (rs.RsMoveFirst(h); !rs.RsEof(h); rs.RsMoveNext(h))
                    assemblies << rs.RsField(h, QStringLiteral("ArticoloPadre")).toString();
        }
        if (assemblies.isEmpty()) {
            std::fprintf(stderr, "the company has no BOM links\n");
            return 1;
        }
        out << assemblies.size() << " assemblies; " << iterations << " assemblies valued per pass\n";
        out.flush();
        double perSecond[2] = {0, 0};
        double checksum[2] = {0, 0};
        for (int pass = 0; pass < 2; ++pass) {
            const bool cache = pass == 0;
            if ((cache && mode == u"nocache") || (!cache && mode == u"cache"))
                continue;
            db.setStatementCache(cache);
            const Run r = valuationPass(db, assemblies, iterations);
            perSecond[pass] = r.cpuSeconds > 0 ? double(r.statements) / r.cpuSeconds : 0;
            checksum[pass] = r.checksum;
            out << (cache ? "cache on : " : "cache off: ") << r.statements << " statements, " << r.prepared << " prepared, "
                << r.rows << " rows; wall " << r.seconds << " s ("
                << qRound64(r.seconds > 0 ? double(r.statements) / r.seconds : 0) << " statements/s); CPU " << r.cpuSeconds
                << " s (" << qRound64(perSecond[pass]) << " statements per CPU second)\n";
            out.flush();
        }
        if (mode == u"both" && checksum[0] != checksum[1]) {
            std::fprintf(stderr, "cache on and off read different values\n");
            return 1;
        }
        out << "speed-up with the cache (CPU): " << (perSecond[1] > 0 ? perSecond[0] / perSecond[1] : 0) << "x\n";
    } catch (const kem::DbError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
