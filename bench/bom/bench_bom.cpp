// BOM print benchmark: synthetic companies (a tenth and the whole of the given size), the full
// valued BOM print of every finished product (the form's defaults) to CSV through the
// straightforward and the cached path, to a workbook and to PDF through the cached path; on the whole
// company also a cached PDF of only the first tenth of the products, whose peak memory set
// against the full PDF's shows whether memory grows with the pages (same company, same caches,
// ten times the pages), and the same tenth to CSV, so that what the PDF adds over the CSV of
// the same print shows what the pages themselves cost. Every print runs in a child process ("distinta-batch bom --stats"), so
// its peak memory is its own. For reference, the time one recursive query takes to read the
// printed rows is measured in the same run.
//
// The default company: 500 finished products, 5 levels counting the products' own (depth 4),
// 8 components per assembly of which 3 sub-assemblies and 5 materials, 54% of the components
// from the shared pools: 19,626 articles and 160,500 printed lines (each product 1 + 8 x
// (1 + 3 + 9 + 27) lines).
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

#include <cstdio>
#include <optional>

namespace {

QTextStream out(stdout);

using kembench::PrintRun;

// `more`: further options of the print (the path, the range of articles).
PrintRun runPrint(const QString &batch, const QString &company, const QString &file, const QStringList &more = {})
{
    return kembench::RunBatchStats(batch, QStringList{QStringLiteral("bom"), QStringLiteral("--company"), company,
                                                      QStringLiteral("--out"), file, QStringLiteral("--stats")} +
                                              more);
}

// One recursive query reading the rows the print shows (every link below every parent, with
// the component's columns), the lower bound of any explosion that reads from the database.
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
                "WITH RECURSIVE tree(figlio, um, qta, lvl) AS ("
                " SELECT l.ArticoloFiglio, l.UM, l.Qta, 0 FROM ArtLegami l JOIN Articoli a ON l.ArticoloPadre = a.Articolo"
                "  WHERE a.DistBase = 1"
                " UNION ALL"
                " SELECT l.ArticoloFiglio, l.UM, l.Qta * tree.qta, tree.lvl + 1 FROM tree"
                "  JOIN Articoli c ON c.Articolo = tree.figlio AND c.DistBase <> 3"
                "  JOIN ArtLegami l ON l.ArticoloPadre = tree.figlio)"
                " SELECT tree.figlio, tree.um, tree.qta, a2.Descrizione, a2.DistBase, a2.ArtUM FROM tree"
                " LEFT JOIN Articoli a2 ON a2.Articolo = tree.figlio"));
            qint64 rows = 0;
            double sum = 0;
            while (ok && q.next()) {
                ++rows;
                sum += q.value(2).toDouble() + q.value(3).toString().size();
            }
            if (ok)
                result = std::make_pair(rows + qint64(sum * 0), t.nsecsElapsed() / 1e9);
            else
                out << "recursive query failed: " << q.lastError().text() << Qt::endl;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

void row(const QString &company, const QString &what, const PrintRun &r)
{
    if (!r.ok) {
        out << QStringLiteral("| %1 | %2 | failed: %3 |").arg(company, what, r.error) << Qt::endl;
        return;
    }
    out << QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 | %9 |")
               .arg(company, what)
               .arg(r.lines)
               .arg(r.pages)
               .arg(r.seconds, 0, 'f', 3)
               .arg(r.cpu, 0, 'f', 3)
               .arg(r.cpu > 0 ? QString::number(qint64(r.lines / r.cpu)) : QStringLiteral("-"))
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
        "BOM print on synthetic companies: straightforward and cached path to CSV, cached path to PDF "
        "(on the whole company also for a tenth of the products)."));
    parser.addHelpOption();
    const QCommandLineOption products(QStringLiteral("products"), QStringLiteral("Finished products of the whole company."), QStringLiteral("N"), QStringLiteral("500"));
    const QCommandLineOption depth(QStringLiteral("depth"), QStringLiteral("BOM levels below the products."), QStringLiteral("D"), QStringLiteral("4"));
    const QCommandLineOption components(QStringLiteral("components"), QStringLiteral("Components per assembly."), QStringLiteral("C"), QStringLiteral("8"));
    const QCommandLineOption assemblies(QStringLiteral("assemblies"), QStringLiteral("Of the components of an assembly above the last level, how many are sub-assemblies (the rest are materials; -1: all)."), QStringLiteral("S"), QStringLiteral("3"));
    const QCommandLineOption shared(QStringLiteral("shared"), QStringLiteral("Percent of shared components."), QStringLiteral("PCT"), QStringLiteral("54"));
    const QCommandLineOption fullStraight(QStringLiteral("straightforward-full"), QStringLiteral("Also run the straightforward path on the whole company (minutes)."));
    const QCommandLineOption batchOpt(QStringLiteral("batch"), QStringLiteral("distinta-batch executable."), QStringLiteral("FILE"), QStringLiteral(KEM_DISTINTA_BATCH));
    const QCommandLineOption workOpt(QStringLiteral("work"), QStringLiteral("Folder for the companies and outputs (default: a temporary one)."), QStringLiteral("DIR"));
    parser.addOptions({products, depth, components, assemblies, shared, fullStraight, batchOpt, workOpt});
    parser.process(app);

    QTemporaryDir temp;
    const QString work = parser.isSet(workOpt) ? parser.value(workOpt) : temp.path();
    QDir().mkpath(work);
    const QString batch = parser.value(batchOpt);
    const int n = parser.value(products).toInt();
    const kem::SynthParams full{n, parser.value(depth).toInt(), parser.value(components).toInt(), parser.value(shared).toDouble(),
                                parser.value(assemblies).toInt()};
    const kem::SynthParams tenth{std::max(1, n / 10), full.depth, full.components, full.sharedPct, full.subAssemblies};
    QString error;
    if (!kem::CheckSynthParams(full, &error)) {
        out << "bad company: " << error << Qt::endl;
        return 1;
    }

    out << "| company | run | lines | pages | wall s | cpu s | lines per cpu s | statements | peak MB |" << Qt::endl;
    out << "|---|---|---|---|---|---|---|---|---|" << Qt::endl;
    QStringList notes;
    for (const auto &[label, params] : {std::pair{QStringLiteral("tenth"), tenth}, std::pair{QStringLiteral("whole"), full}}) {
        const QString dir = QDir(work).filePath(label);
        kem::SynthStats stats;
        QDir(dir).removeRecursively();
        if (!kem::WriteSynthCompany(dir, params, &error, &stats)) {
            out << "company not written: " << error << Qt::endl;
            return 1;
        }
        const QString company = QStringLiteral("%1 (%2 art., %3 links)").arg(label).arg(stats.articles).arg(stats.links);
        const auto rec = recursiveRead(QDir(dir).filePath(QStringLiteral("dati/azienda.db")));
        if (rec)
            out << QStringLiteral("| %1 | one recursive query reading the rows | %2 | | %3 | | | 1 | |")
                       .arg(company).arg(rec->first).arg(rec->second, 0, 'f', 3)
                << Qt::endl;
        const QString cachedCsv = QDir(work).filePath(label + QStringLiteral("-cached.csv"));
        const PrintRun cached = runPrint(batch, dir, cachedCsv);
        row(company, QStringLiteral("cached, CSV"), cached);
        if (label == QLatin1String("tenth") || parser.isSet(fullStraight)) {
            const QString straightCsv = QDir(work).filePath(label + QStringLiteral("-straightforward.csv"));
            const PrintRun straight = runPrint(batch, dir, straightCsv, {QStringLiteral("--straightforward")});
            row(company, QStringLiteral("straightforward, CSV"), straight);
            notes << QStringLiteral("%1: CSV of both paths %2; cached path %3x faster (cpu), %4x (wall)")
                         .arg(label, kembench::SameFile(cachedCsv, straightCsv) ? QStringLiteral("identical") : QStringLiteral("DIFFERENT"))
                         .arg(cached.cpu > 0 ? straight.cpu / cached.cpu : 0, 0, 'f', 1)
                         .arg(cached.seconds > 0 ? straight.seconds / cached.seconds : 0, 0, 'f', 1);
        }
        // The workbook goes out row by row: its peak memory stays near the CSV's.
        const PrintRun book = runPrint(batch, dir, QDir(work).filePath(label + QStringLiteral("-cached.xlsx")));
        row(company, QStringLiteral("cached, workbook"), book);
        if (book.ok && cached.ok)
            notes << QStringLiteral("%1: workbook peak %2 MB, CSV peak %3 MB (+%4 MB)")
                         .arg(label)
                         .arg(book.memoryKb / 1024.0, 0, 'f', 1)
                         .arg(cached.memoryKb / 1024.0, 0, 'f', 1)
                         .arg((book.memoryKb - cached.memoryKb) / 1024.0, 0, 'f', 1);
        const PrintRun pdf = runPrint(batch, dir, QDir(work).filePath(label + QStringLiteral(".pdf")));
        row(company, QStringLiteral("cached, PDF"), pdf);
        if (pdf.ok && pdf.cpu > 0)
            notes << QStringLiteral("%1: PDF %2 pages per cpu second, peak %3 MB")
                         .arg(label).arg(qint64(pdf.pages / pdf.cpu)).arg(pdf.memoryKb / 1024.0, 0, 'f', 1);
        if (label == QLatin1String("whole")) {
            // The first tenth of the products: same company and caches, a tenth of the pages.
            const int first = std::max(1, params.products / 10);
            const PrintRun part = runPrint(batch, dir, QDir(work).filePath(label + QStringLiteral("-tenth-of-products.pdf")),
                                           {QStringLiteral("--articolo-da"), kem::SynthProductCode(1),
                                            QStringLiteral("--articolo-a"), kem::SynthProductCode(first)});
            row(company, QStringLiteral("cached, PDF, products 1-%1").arg(first), part);
            // The same print to CSV: what the PDF adds over it is what the pages cost.
            const PrintRun partCsv = runPrint(batch, dir, QDir(work).filePath(label + QStringLiteral("-tenth-of-products.csv")),
                                              {QStringLiteral("--articolo-da"), kem::SynthProductCode(1),
                                               QStringLiteral("--articolo-a"), kem::SynthProductCode(first)});
            row(company, QStringLiteral("cached, CSV, products 1-%1").arg(first), partCsv);
            if (pdf.ok && part.ok && cached.ok && partCsv.ok)
                notes << QStringLiteral("%1: the PDF adds %2 MB of peak memory to the CSV of the same print for %3 pages, "
                                        "%4 MB for %5 pages")
                             .arg(label)
                             .arg((part.memoryKb - partCsv.memoryKb) / 1024.0, 0, 'f', 1)
                             .arg(part.pages)
                             .arg((pdf.memoryKb - cached.memoryKb) / 1024.0, 0, 'f', 1)
                             .arg(pdf.pages);
            if (pdf.ok && part.ok && part.memoryKb > 0)
                notes << QStringLiteral("%1: PDF of products 1-%2 %3 pages, peak %4 MB; of all %5 pages (%6x), peak %7 MB (%8x)")
                             .arg(label)
                             .arg(first)
                             .arg(part.pages)
                             .arg(part.memoryKb / 1024.0, 0, 'f', 1)
                             .arg(pdf.pages)
                             .arg(part.pages > 0 ? double(pdf.pages) / double(part.pages) : 0, 0, 'f', 1)
                             .arg(pdf.memoryKb / 1024.0, 0, 'f', 1)
                             .arg(double(pdf.memoryKb) / double(part.memoryKb), 0, 'f', 2);
        }
        if (rec && cached.ok)
            notes << QStringLiteral("%1: cached CSV print %2x the recursive query (wall)")
                         .arg(label).arg(cached.seconds / rec->second, 0, 'f', 1);
    }
    for (const QString &note : notes)
        out << note << Qt::endl;
    return 0;
}
