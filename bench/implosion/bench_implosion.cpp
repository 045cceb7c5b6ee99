// Where-used benchmark: on a synthetic company (by default the BOM print benchmark's: 500
// finished products, depth 4, 8 components per assembly of which 3 sub-assemblies, 54%
// shared; 19,626 articles), the implosion print of every component (every kind) to CSV,
//  - one level, against one plain query reading the print's own statement, every column;
//  - every level (--levels 0), against one recursive query reading the same paths up to the
//    products, with the quantities multiplied and the parents' columns.
// Every print runs in a child process ("distinta-batch implosion --stats"), so its peak
// memory is its own. The figures of each run are the median of --runs runs.
#include "bench/support/batchstats.h"
#include "implosion/stimpldiba.h"
#include "schema/synthcompany.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUuid>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

QTextStream out(stdout);

using Run = kembench::PrintRun;

Run runPrint(const QString &batch, const QString &company, const QString &file, const QStringList &more)
{
    return kembench::RunBatchStats(batch, QStringList{QStringLiteral("implosion"), QStringLiteral("--company"), company,
                                                      QStringLiteral("--out"), file, QStringLiteral("--tipo-diba-art"),
                                                      QStringLiteral("0"), QStringLiteral("--stats")} + more);
}

// The median run by wall time.
Run median(std::vector<Run> runs)
{
    std::sort(runs.begin(), runs.end(), [](const Run &a, const Run &b) { return a.seconds < b.seconds; });
    return runs.at(runs.size() / 2);
}

struct Query {
    qint64 rows = 0;
    qint64 groups = 0;   // distinct components
    double seconds = 0;
};

// Reads every row and column of `sql`; column 0 is the component.
std::optional<Query> readAll(const QString &dbPath, const QString &sql)
{
    const QString name = QUuid::createUuid().toString();
    std::optional<Query> result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dbPath);
        if (db.open()) {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            QElapsedTimer t;
            t.start();
            if (q.exec(sql)) {
                Query r;
                QString last;
                const int columns = q.record().count();
                qint64 touched = 0;
                while (q.next()) {
                    ++r.rows;
                    for (int c = 0; c < columns; ++c)
                        touched += q.value(c).toString().size();
                    const QString comp = q.value(0).toString();
                    if (comp != last) {
                        ++r.groups;
                        last = comp;
                    }
                }
                r.seconds = t.nsecsElapsed() / 1e9;
                (void)touched;
                result = r;
            } else {
                out << "query failed: " << q.lastError().text() << Qt::endl;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

// Every path up from each use of a component to the articles no bill uses, with the quantity
// of the component per unit of each article and the article's columns, components in code
// order (the synthetic company has no cycles).
const char *const kRecursive =
    "WITH RECURSIVE up(comp, padre, um, qta, lvl) AS ("
    " SELECT l.ArticoloFiglio, l.ArticoloPadre, l.UM, l.Qta, 1 FROM ArtLegami l"
    "  JOIN Articoli c ON c.Articolo = l.ArticoloFiglio AND c.DistBase <> 0 AND c.DistBase <> 1"
    " UNION ALL"
    " SELECT up.comp, l.ArticoloPadre, up.um, up.qta * l.Qta, up.lvl + 1 FROM up"
    "  JOIN ArtLegami l ON l.ArticoloFiglio = up.padre)"
    " SELECT up.comp, c.Descrizione, c.ArtUM, up.padre, p.Descrizione, p.DistBase, up.um, up.qta, up.lvl FROM up"
    " JOIN Articoli p ON p.Articolo = up.padre JOIN Articoli c ON c.Articolo = up.comp ORDER BY up.comp";

void row(const QString &what, qint64 rows, double wall, double cpu, qint64 memoryKb)
{
    out << QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 |")
               .arg(what)
               .arg(rows)
               .arg(wall, 0, 'f', 3)
               .arg(cpu > 0 ? QString::number(cpu, 'f', 3) : QStringLiteral("-"))
               .arg(wall > 0 ? QString::number(qint64(rows / wall)) : QStringLiteral("-"))
               .arg(memoryKb > 0 ? QString::number(memoryKb / 1024.0, 'f', 1) : QStringLiteral("-"))
        << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Where-used print of every component of a synthetic company, one level and every level, "
        "against one plain and one recursive query reading the same rows."));
    parser.addHelpOption();
    const QCommandLineOption products(QStringLiteral("products"), QStringLiteral("Finished products."), QStringLiteral("N"), QStringLiteral("500"));
    const QCommandLineOption depth(QStringLiteral("depth"), QStringLiteral("BOM levels below the products."), QStringLiteral("D"), QStringLiteral("4"));
    const QCommandLineOption components(QStringLiteral("components"), QStringLiteral("Components per assembly."), QStringLiteral("C"), QStringLiteral("8"));
    const QCommandLineOption assemblies(QStringLiteral("assemblies"), QStringLiteral("Sub-assemblies among the components (-1: all)."), QStringLiteral("S"), QStringLiteral("3"));
    const QCommandLineOption shared(QStringLiteral("shared"), QStringLiteral("Percent of shared components."), QStringLiteral("PCT"), QStringLiteral("54"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Runs of each print (the median is shown)."), QStringLiteral("N"), QStringLiteral("3"));
    const QCommandLineOption batchOpt(QStringLiteral("batch"), QStringLiteral("distinta-batch executable."), QStringLiteral("FILE"), QStringLiteral(KEM_DISTINTA_BATCH));
    const QCommandLineOption workOpt(QStringLiteral("work"), QStringLiteral("Folder for the company and outputs (default: a temporary one)."), QStringLiteral("DIR"));
    parser.addOptions({products, depth, components, assemblies, shared, runs, batchOpt, workOpt});
    parser.process(app);

    QTemporaryDir temp;
    const QString work = parser.isSet(workOpt) ? parser.value(workOpt) : temp.path();
    QDir().mkpath(work);
    const kem::SynthParams params{parser.value(products).toInt(), parser.value(depth).toInt(),
                                  parser.value(components).toInt(), parser.value(shared).toDouble(),
                                  parser.value(assemblies).toInt()};
    QString error;
    if (!kem::CheckSynthParams(params, &error)) {
        out << "bad company: " << error << Qt::endl;
        return 1;
    }
    const QString dir = QDir(work).filePath(QStringLiteral("azienda"));
    QDir(dir).removeRecursively();
    kem::SynthStats stats;
    if (!kem::WriteSynthCompany(dir, params, &error, &stats)) {
        out << "company not written: " << error << Qt::endl;
        return 1;
    }
    const QString dbPath = QDir(dir).filePath(QStringLiteral("dati/azienda.db"));
    const QString batch = parser.value(batchOpt);
    const int n = std::max(1, parser.value(runs).toInt());
    out << QStringLiteral("Company: %1 articles, %2 links").arg(stats.articles).arg(stats.links) << Qt::endl << Qt::endl;
    out << "| run | rows | wall s | cpu s | rows per s | peak MB |" << Qt::endl;
    out << "|---|---|---|---|---|---|" << Qt::endl;

    QStringList notes;
    const auto plain = readAll(dbPath, kem::StImplDiBa::ComponiSql(0, {}, {}));
    const auto recursive = readAll(dbPath, QString::fromLatin1(kRecursive));
    for (const bool every : {false, true}) {
        const auto &query = every ? recursive : plain;
        if (!query)
            return 1;
        row(every ? QStringLiteral("one recursive query reading the paths") : QStringLiteral("one plain query reading the rows"),
            query->rows, query->seconds, 0, 0);
        std::vector<Run> done;
        for (int i = 0; i < n; ++i) {
            const QString file = QDir(work).filePath(every ? QStringLiteral("livelli.csv") : QStringLiteral("un-livello.csv"));
            done.push_back(runPrint(batch, dir, file, every ? QStringList{QStringLiteral("--levels"), QStringLiteral("0")} : QStringList()));
            if (!done.back().ok) {
                out << "print failed: " << done.back().error << Qt::endl;
                return 1;
            }
        }
        const Run r = median(done);
        // The print's lines: one per row and one group line per component.
        const qint64 expected = query->rows + query->groups;
        row(every ? QStringLiteral("print, every level, CSV") : QStringLiteral("print, one level, CSV"), r.lines, r.seconds, r.cpu, r.memoryKb);
        notes << QStringLiteral("%1: %2 lines printed, %3 expected (%4 rows + %5 group lines); print %6x the query (wall), %7x (cpu against the query's wall)")
                     .arg(every ? QStringLiteral("every level") : QStringLiteral("one level"))
                     .arg(r.lines).arg(expected).arg(query->rows).arg(query->groups)
                     .arg(r.seconds / query->seconds, 0, 'f', 2)
                     .arg(r.cpu / query->seconds, 0, 'f', 2);
    }
    out << Qt::endl;
    for (const QString &note : notes)
        out << note << Qt::endl;
    return 0;
}
