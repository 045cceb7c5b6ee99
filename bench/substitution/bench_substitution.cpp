// Substitution benchmark: a synthetic company of flat bills of materials (by default 20,000
// finished products of one component each, drawn from a shared pool, about 22,500 articles),
// in which the material MAT-COMUNE is a component of every product (20,000 links), and one
// more material, MAT-NUOVO, used nowhere. Through the engine the form and the batch share,
// each step timed in one run with its checks (the plan: the links selected, the parents that
// already hold the replacement, the walk of the replacement's structure) included:
//   dry run          MAT-COMUNE -> MAT-NUOVO, the lines written to memory
//   single statement MAT-COMUNE -> MAT-NUOVO, factor 1
//   row by row       MAT-NUOVO -> MAT-COMUNE, quantities divided by 3 and rounded
//   deletion         MAT-COMUNE
// The row-by-row update should stay within 5 times the single statement over the same links.
#include "common/msgsinks.h"
#include "reportkit/company.h"
#include "schema/synthcompany.h"
#include "substitution/substitutionengine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>

namespace {

QTextStream out(stdout);

bool AddUnusedMaterial(const QString &dbFile, QString *error)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(dbFile);
        QSqlQuery q(db);
        ok = db.open() && q.exec(QStringLiteral("INSERT INTO Articoli (Articolo, Descrizione, ArtUM, DistBase) "
                                                "VALUES ('MAT-NUOVO', 'Materiale sostitutivo', 'KG', 3)"));
        if (!ok)
            *error = q.lastError().text() + db.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return ok;
}

// Seconds taken by `step`.
double Timed(const std::function<void()> &step)
{
    QElapsedTimer t;
    t.start();
    step();
    return double(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Benchmark of the component substitution and deletion."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("products"), QStringLiteral("Finished products (each a link to MAT-COMUNE)."),
                      QStringLiteral("N"), QStringLiteral("20000")});
    parser.process(app);
    const int products = parser.value(QStringLiteral("products")).toInt();

    QTemporaryDir dir;
    QString error;
    kem::SynthParams params{products, 1, 1, 100.0, -1, true};
    kem::SynthStats stats;
    if (!dir.isValid() || !kem::WriteSynthCompany(dir.path(), params, &error, &stats)) {
        out << "company not written: " << error << Qt::endl;
        return 1;
    }
    if (!AddUnusedMaterial(dir.filePath(QStringLiteral("dati/azienda.db")), &error)) {
        out << "MAT-NUOVO not added: " << error << Qt::endl;
        return 1;
    }
    out << "company: " << stats.articles + 1 << " articles, " << stats.links << " links" << Qt::endl;

    kem::RecordingMessageSink sink;
    const auto company = kem::CompanySession::Open(dir.path(), sink, &error);
    if (!company) {
        out << "company not opened: " << error << Qt::endl;
        return 1;
    }
    kem::SubstitutionEngine engine(company->db(), company->params());
    kem::SubstitutionSelection forward;
    forward.osArticolo = QStringLiteral("MAT-COMUNE");
    forward.osSostituto = QStringLiteral("MAT-NUOVO");
    kem::SubstitutionSelection back;
    back.osArticolo = QStringLiteral("MAT-NUOVO");
    back.osSostituto = QStringLiteral("MAT-COMUNE");
    back.osProporzione = QStringLiteral("3");
    back.oiOperatore = kem::SubstitutionSelection::Divisione;
    kem::SubstitutionSelection deletion;
    deletion.oiTipoOpe = kem::SubstitutionSelection::Cancellazione;
    deletion.osArticolo = QStringLiteral("MAT-COMUNE");

    try {
        qsizetype lines = 0;
        const double dry = Timed([&] { lines = engine.DryRunLines(engine.Plan(forward)).size(); });
        kem::SubstitutionEngine::Applied single, rows, deleted;
        const double one = Timed([&] { single = engine.Apply(forward); });
        qint64 told = 0;
        const double byRow = Timed([&] { rows = engine.Apply(back, [&](qint64, qint64) { ++told; }); });
        const double del = Timed([&] { deleted = engine.Apply(deletion); });
        if (!single.done || !rows.done || !deleted.done || told != rows.count) {
            out << "a step was refused: " << single.refusal << rows.refusal << deleted.refusal << Qt::endl;
            return 1;
        }
        out << QStringLiteral("dry run           %1 lines   %2 s\n").arg(lines, 6).arg(dry, 0, 'f', 3);
        out << QStringLiteral("single statement  %1 links   %2 s\n").arg(single.count, 6).arg(one, 0, 'f', 3);
        out << QStringLiteral("row by row        %1 links   %2 s  (%3 x the single statement)\n")
                   .arg(rows.count, 6).arg(byRow, 0, 'f', 3).arg(byRow / one, 0, 'f', 1);
        out << QStringLiteral("deletion          %1 links   %2 s\n").arg(deleted.count, 6).arg(del, 0, 'f', 3);
        out.flush();
        if (lines != single.count || single.count != rows.count || rows.count != deleted.count) {
            out << "the steps met different links" << Qt::endl;
            return 1;
        }
    } catch (const std::exception &e) {
        out << "error: " << e.what() << Qt::endl;
        return 1;
    }
    return 0;
}
