#pragma once
// SubstitutionEngine: the one place where a component is replaced or deleted in the bills of
// materials, for the form and for the batch run. A request is planned first (the links it
// selects and what each becomes, the parents that would get the replacement twice, a cycle
// the replacement would close), which is also the dry run; applying it runs the plan's checks
// and the change inside one database transaction, so that a refusal, an error at any row or
// the program ending half-way leaves every link as it was.
#include "bomcore/bomrows.h"
#include "substitution/substitutionselection.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <exception>
#include <functional>
#include <optional>

namespace kem {

class BomReader;
class Database;
class DecodeService;
class MessageSink;
struct CompanyParams;

struct SubstitutionPlan {
    bool deletion = false;
    bool singleStatement = false;   // one UPDATE statement (the quantities stay)
    QVector<BomLink> before;        // the links selected, in the order the update meets them
    QVector<BomLink> after;         // what each becomes (a replacement only)
    QStringList duplicateParents;   // parents that already have the replacement as a component
    QString cycle;                  // "Distinta ciclica: P -> R -> ... -> P", when one would arise
    QString refusal;                // why the change must not run; empty when it can

    bool canRun() const { return refusal.isEmpty(); }
};

class SubstitutionEngine {
public:
    // progress(done, total): told before each link of a row-by-row update.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    SubstitutionEngine(Database &db, const CompanyParams &params);

    // What a request Validate accepted would do. Reads only. Throws DbError.
    SubstitutionPlan Plan(const SubstitutionSelection &selection);
    // The dry run: one line per link selected, "parent;component;unit;quantity before;
    // replacement;unit after;quantity after" (the last three empty for a deletion), the
    // quantities as the company shows them.
    QStringList DryRunLines(const SubstitutionPlan &plan) const;

    struct Applied {
        bool done = false;  // false: refused, nothing changed (refusal tells why)
        qint64 count = 0;   // links changed or deleted
        QString refusal;
        QString message;    // "Sono stati aggiornati N elementi" / "Sono stati cancellati N elementi"
    };
    // Checks and changes in one transaction. Throws DbError after rolling everything back.
    Applied Apply(const SubstitutionSelection &selection, const Progress &progress = {});

    // The whole run behind "&Esegui" and "distinta-batch substitution", after the boxes'
    // colours: the validation (decoding the codes when `codes` is given), the plan's checks,
    // the confirmation "Confermi elaborazione" when `confirm` (the batch asks nothing), and the
    // change. Refusals and errors go to `sink`; the count message is returned, for the caller
    // to show. `started` is told once, after the confirmation, before anything changes.
    enum class Outcome { Refused, Cancelled, Done, Failed };
    struct RunResult {
        Outcome outcome = Outcome::Refused;
        SubstitutionSelection::Field field = SubstitutionSelection::None;  // the box refused
        qint64 count = 0;
        QString message;  // the count message (Done) or what was refused or failed
    };
    RunResult Run(const SubstitutionSelection &selection, MessageSink &sink, bool confirm,
                  DecodeService *codes = nullptr, const Progress &progress = {},
                  const std::function<void()> &started = {});

    // The dry run behind "distinta-batch substitution --dry-run": the same validation and checks
    // as Run, then the plan's lines into *lines (Outcome::Done); nothing is changed.
    RunResult DryRun(const SubstitutionSelection &selection, MessageSink &sink, DecodeService *codes,
                     QStringList *lines);

    static QString UpdatedMessage(qint64 count);
    static QString DeletedMessage(qint64 count);

private:
    // The validation and the plan's checks of a run; the plan when it may go on, else nothing
    // with the refusal told to the sink and set in r.
    std::optional<SubstitutionPlan> prepare(const SubstitutionSelection &selection, MessageSink &sink,
                                            DecodeService *codes, RunResult &r);
    static void failed(const std::exception &e, MessageSink &sink, RunResult &r);
    QString findCycle(BomReader &reader, const QString &replacement, const QSet<QString> &parents) const;

    Database &db_;
    const CompanyParams &params_;
};

} // namespace kem
