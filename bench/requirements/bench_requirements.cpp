// Requirements print benchmark: one synthetic company (by default the BOM benchmark's: 500
// products, depth 4, 8 components of which 3 sub-assemblies, 54% shared, 19,626 articles) with
// a tenth of the open order lines and with all of them (2,000 by default). For each layout with
// "Fabbisogno - giacenza" and each quantity option of the ordered article: the cached path to
// CSV on both companies (time per order line shows whether the run stays linear), and the
// straightforward path on the smaller one (unless --straightforward-full), whose CSV must be
// the same. For reference, one recursive query reads the exploded paths of the open lines.
// Every print runs in a child process ("distinta-batch requirements --stats"), so its peak
// memory is its own.
#include "bench/support/batchstats.h"
#include "schema/synthcompany.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUuid>

#include <optional>

namespace {

QTextStream out(stdout);

using kembench::PrintRun;

PrintRun runPrint(const QString &batch, const QString &company, const QString &file, const QStringList &more)
{
    return kembench::RunBatchStats(batch, QStringList{QStringLiteral("requirements"), QStringLiteral("--company"), company,
                                                      QStringLiteral("--user"), QStringLiteral("bench"), QStringLiteral("--out"),
                                                      file, QStringLiteral("--stats")} +
                                              more);
}

// One recursive query reading every exploded path of the open order lines, with the
// component's columns: the lower bound of any explosion that reads from the database.
std::optional<std::pair<qint64, double>> recursiveRead(const QString &dbPath)
{
    const QString name = QUuid::createUuid().toString();
    std::optional<std::pair<qint64, double>> result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dbPath);
        if (db.open()) {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            QElapsedTimer t;
            t.start();
            const bool ok = q.exec(QStringLiteral(
                "WITH RECURSIVE tree(anno, num, figlio, um, qta) AS ("
                " SELECT d.Anno, d.NumRif, l.ArticoloFiglio, l.UM, l.Qta * (d.Qta - d.QtaEvasa)"
                "  FROM OrdVenTest t JOIN OrdVenDett d ON d.Anno = t.Anno AND d.NumRif = t.NumRif"
                "  JOIN ArtLegami l ON l.ArticoloPadre = d.Articolo"
                "  WHERE t.Tipo = '3' AND (t.Stato IS NULL OR t.Stato <> 'E') AND d.TipoRiga = 'A'"
                "   AND (d.StatoRiga IS NULL OR d.StatoRiga <> 'E')"
                " UNION ALL"
                " SELECT tree.anno, tree.num, l.ArticoloFiglio, l.UM, l.Qta * tree.qta FROM tree"
                "  JOIN Articoli c ON c.Articolo = tree.figlio AND c.DistBase <> 3"
                "  JOIN ArtLegami l ON l.ArticoloPadre = tree.figlio)"
                " SELECT tree.anno, tree.num, tree.figlio, tree.um, tree.qta, a2.Descrizione, a2.DistBase FROM tree"
                " LEFT JOIN Articoli a2 ON a2.Articolo = tree.figlio"));
            qint64 rows = 0;
            while (ok && q.next())
                ++rows;
            if (ok)
                result = std::make_pair(rows, t.nsecsElapsed() / 1e9);
            else
                out << "recursive query failed: " << q.lastError().text() << Qt::endl;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

void row(const QString &company, const QString &what, int orderLines, const PrintRun &r)
{
    if (!r.ok) {
        out << QStringLiteral("| %1 | %2 | failed: %3 |").arg(company, what, r.error) << Qt::endl;
        return;
    }
    out << QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 | %9 |")
               .arg(company, what)
               .arg(r.lines)
               .arg(r.seconds, 0, 'f', 3)
               .arg(r.cpu, 0, 'f', 3)
               .arg(r.cpu > 0 ? QString::number(qint64(r.lines / r.cpu)) : QStringLiteral("-"))
               .arg(orderLines > 0 ? r.cpu * 1000.0 / orderLines : 0, 0, 'f', 2)
               .arg(r.statements)
               .arg(r.memoryKb / 1024.0, 0, 'f', 1)
        << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Requirements print on a synthetic company: each layout with \"Fabbisogno - giacenza\" and each quantity "
        "option, cached path on a tenth and all of the order lines, straightforward path on the tenth."));
    parser.addHelpOption();
    const QCommandLineOption products(QStringLiteral("products"), QStringLiteral("Finished products."), QStringLiteral("N"), QStringLiteral("500"));
    const QCommandLineOption depth(QStringLiteral("depth"), QStringLiteral("BOM levels below the products."), QStringLiteral("D"), QStringLiteral("4"));
    const QCommandLineOption components(QStringLiteral("components"), QStringLiteral("Components per assembly."), QStringLiteral("C"), QStringLiteral("8"));
    const QCommandLineOption assemblies(QStringLiteral("assemblies"), QStringLiteral("Sub-assemblies per assembly."), QStringLiteral("S"), QStringLiteral("3"));
    const QCommandLineOption shared(QStringLiteral("shared"), QStringLiteral("Percent of shared components."), QStringLiteral("PCT"), QStringLiteral("54"));
    const QCommandLineOption lines(QStringLiteral("order-lines"), QStringLiteral("Open order lines of the larger company."), QStringLiteral("N"), QStringLiteral("2000"));
    const QCommandLineOption layouts(QStringLiteral("layouts"), QStringLiteral("Layouts to run, comma separated."), QStringLiteral("LIST"), QStringLiteral("0,1,2"));
    const QCommandLineOption fullStraight(QStringLiteral("straightforward-full"), QStringLiteral("Also run the straightforward path on all the order lines."));
    const QCommandLineOption batchOpt(QStringLiteral("batch"), QStringLiteral("distinta-batch executable."), QStringLiteral("FILE"), QStringLiteral(KEM_DISTINTA_BATCH));
    const QCommandLineOption workOpt(QStringLiteral("work"), QStringLiteral("Folder for the companies and outputs (default: a temporary one)."), QStringLiteral("DIR"));
    parser.addOptions({products, depth, components, assemblies, shared, lines, layouts, fullStraight, batchOpt, workOpt});
    parser.process(app);

    QTemporaryDir temp;
    const QString work = parser.isSet(workOpt) ? parser.value(workOpt) : temp.path();
    QDir().mkpath(work);
    const QString batch = parser.value(batchOpt);
    kem::SynthParams full{parser.value(products).toInt(), parser.value(depth).toInt(), parser.value(components).toInt(),
                          parser.value(shared).toDouble(), parser.value(assemblies).toInt()};
    full.orderLines = parser.value(lines).toInt();
    kem::SynthParams tenth = full;
    tenth.orderLines = std::max(1, full.orderLines / 10);
    QString error;
    if (!kem::CheckSynthParams(full, &error)) {
        out << "bad company: " << error << Qt::endl;
        return 1;
    }

    out << "| company | run | lines | wall s | cpu s | lines per cpu s | cpu ms per order line | statements | peak MB |" << Qt::endl;
    out << "|---|---|---|---|---|---|---|---|---|" << Qt::endl;
    QStringList notes;
    for (const auto &[label, params] : {std::pair{QStringLiteral("tenth"), tenth}, std::pair{QStringLiteral("all"), full}}) {
        const QString dir = QDir(work).filePath(label);
        kem::SynthStats stats;
        QDir(dir).removeRecursively();
        if (!kem::WriteSynthCompany(dir, params, &error, &stats)) {
            out << "company not written: " << error << Qt::endl;
            return 1;
        }
        const QString company = QStringLiteral("%1 (%2 art., %3 order lines)").arg(label).arg(stats.articles).arg(params.orderLines);
        const auto rec = recursiveRead(QDir(dir).filePath(QStringLiteral("dati/azienda.db")));
        if (rec)
            out << QStringLiteral("| %1 | one recursive query reading the exploded paths | %2 | %3 | | | | 1 | |")
                       .arg(company).arg(rec->first).arg(rec->second, 0, 'f', 3)
                << Qt::endl;
        for (const QString &layout : parser.value(layouts).split(QLatin1Char(','))) {
            for (int elab = 0; elab < 3; ++elab) {
                const QStringList opts{QStringLiteral("--tipo-stampa"), layout, QStringLiteral("--qta-mostr"), QStringLiteral("1"),
                                       QStringLiteral("--qta-elab"), QString::number(elab)};
                const QString what = QStringLiteral("layout %1, qta-elab %2").arg(layout).arg(elab);
                const QString cachedCsv = QDir(work).filePath(QStringLiteral("%1-%2-%3-cached.csv").arg(label, layout).arg(elab));
                const PrintRun cached = runPrint(batch, dir, cachedCsv, opts);
                row(company, what + QStringLiteral(", cached"), params.orderLines, cached);
                if (rec && cached.ok)
                    notes << QStringLiteral("%1, %2: cached path %3x the recursive query (wall)")
                                 .arg(label, what)
                                 .arg(rec->second > 0 ? cached.seconds / rec->second : 0, 0, 'f', 1);
                if (label == QLatin1String("tenth") || parser.isSet(fullStraight)) {
                    const QString straightCsv = QDir(work).filePath(QStringLiteral("%1-%2-%3-straight.csv").arg(label, layout).arg(elab));
                    const PrintRun straight = runPrint(batch, dir, straightCsv, opts + QStringList{QStringLiteral("--straightforward")});
                    row(company, what + QStringLiteral(", straightforward"), params.orderLines, straight);
                    notes << QStringLiteral("%1, %2: CSV of both paths %3; cached path %4x faster (cpu)")
                                 .arg(label, what, kembench::SameFile(cachedCsv, straightCsv) ? QStringLiteral("identical") : QStringLiteral("DIFFERENT"))
                                 .arg(cached.cpu > 0 ? straight.cpu / cached.cpu : 0, 0, 'f', 1);
                }
            }
        }
    }
    out << Qt::endl;
    for (const QString &n : notes)
        out << "- " << n << Qt::endl;
    return 0;
}
