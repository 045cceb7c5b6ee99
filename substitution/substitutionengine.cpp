#include "substitution/substitutionengine.h"

#include "bomcore/bomlinkwriter.h"
#include "bomcore/bompath.h"
#include "bomcore/bomreader.h"
#include "bomcore/fieldtext.h"
#include "common/companyparams.h"
#include "common/funvarie.h"
#include "common/messages.h"
#include "platform/db/kemdb.h"
#include "platform/util/kemutil.h"

#include <QSet>

namespace kem {

namespace {

const QString kOk = QStringLiteral("&Ok");
// How many parents a refusal names before it counts the rest.
constexpr qsizetype kNamedParents = 20;

QString NamedList(const QStringList &codes)
{
    QString text = codes.mid(0, kNamedParents).join(QStringLiteral(", "));
    if (codes.size() > kNamedParents)
        text += QStringLiteral(" e altri %1").arg(codes.size() - kNamedParents);
    return text;
}

} // namespace

SubstitutionEngine::SubstitutionEngine(Database &db, const CompanyParams &params) : db_(db), params_(params) {}

QString SubstitutionEngine::UpdatedMessage(qint64 count)
{
    return QStringLiteral("Sono stati aggiornati ") + QString::number(count) + QStringLiteral(" elementi");
}

QString SubstitutionEngine::DeletedMessage(qint64 count)
{
    return QStringLiteral("Sono stati cancellati ") + QString::number(count) + QStringLiteral(" elementi");
}

QString SubstitutionEngine::findCycle(BomReader &reader, const QString &replacement, const QSet<QString> &parents) const
{
    // After the change every parent in `parents` has the replacement as a component: a cycle
    // arises exactly when the replacement's structure, as it is now, reaches one of them. Each
    // article is walked once, so a structure that holds a cycle of its own ends too.
    BomPath path;
    QSet<QString> seen;
    QString found;
    const std::function<bool(const QString &)> walk = [&](const QString &code) {
        const QString key = CodeKey(code);
        if (parents.contains(key)) {
            BomPath cycle;
            cycle.enter(code);
            for (const QString &a : path.articles())
                cycle.enter(a);
            found = cycle.cycleText(code);
            return true;
        }
        if (seen.contains(key))
            return false;
        seen.insert(key);
        const BomPathStep step(path, code);
        if (!step.entered())
            return false;
        for (const BomLink &link : reader.linksOf(code)) {
            if (walk(link.figlio))
                return true;
        }
        return false;
    };
    walk(replacement);
    return found;
}

SubstitutionPlan SubstitutionEngine::Plan(const SubstitutionSelection &s)
{
    SubstitutionPlan plan;
    plan.deletion = s.deletion();
    BomLinkWriter writer(db_, params_.numDecQta);
    plan.before = writer.Selected(s.which());
    if (plan.deletion)
        return plan;
    const BomLinkChange change = s.change();
    plan.singleStatement = change.singleStatement();
    plan.after.reserve(plan.before.size());
    QSet<QString> parents;
    for (const BomLink &l : plan.before) {
        plan.after << change.Applied(l, params_.numDecQta);
        parents.insert(CodeKey(l.padre));
    }
    if (plan.before.isEmpty())
        return plan;

    DbBomReader reader(db_);
    QSet<QString> holding;
    for (const BomLink &l : reader.parentsOf(change.component))
        holding.insert(CodeKey(l.padre));
    for (const BomLink &l : plan.before) {
        if (holding.contains(CodeKey(l.padre)))
            plan.duplicateParents << l.padre;
    }
    if (!plan.duplicateParents.isEmpty()) {
        plan.refusal = QStringLiteral("Sostituzione non eseguita: l'articolo ") + change.component
            + QStringLiteral(" è già nella distinta base di ") + NamedList(plan.duplicateParents);
        return plan;
    }
    plan.cycle = findCycle(reader, change.component, parents);
    if (!plan.cycle.isEmpty())
        plan.refusal = QStringLiteral("Sostituzione non eseguita, la distinta base conterrebbe se stessa. ") + plan.cycle;
    return plan;
}

QStringList SubstitutionEngine::DryRunLines(const SubstitutionPlan &plan) const
{
    const QString fmt = NumFormat(params_.numDecQta, QChar(), QStringLiteral("#,##0"));
    const QChar sep(QLatin1Char(';'));
    QStringList lines;
    lines.reserve(plan.before.size());
    for (qsizetype i = 0; i < plan.before.size(); ++i) {
        const BomLink &b = plan.before.at(i);
        QString line = b.padre + sep + b.figlio + sep + b.um + sep + FormatNum(b.qta, fmt) + sep;
        if (i < plan.after.size()) {
            const BomLink &a = plan.after.at(i);
            line += a.figlio + sep + a.um + sep + FormatNum(a.qta, fmt);
        } else {
            line += sep;
            line += sep;
        }
        lines << line;
    }
    return lines;
}

SubstitutionEngine::Applied SubstitutionEngine::Apply(const SubstitutionSelection &s, const Progress &progress)
{
    Applied result;
    TransactionGuard transaction(db_);
    const SubstitutionPlan plan = Plan(s);
    if (!plan.canRun()) {
        result.refusal = plan.refusal;
        return result;
    }
    BomLinkWriter writer(db_, params_.numDecQta);
    if (plan.deletion) {
        result.count = writer.Delete(s.which());
        result.message = DeletedMessage(result.count);
    } else {
        result.count = writer.Replace(s.change(), s.which(), progress);
        result.message = UpdatedMessage(result.count);
    }
    transaction.commit();
    result.done = true;
    return result;
}

std::optional<SubstitutionPlan> SubstitutionEngine::prepare(const SubstitutionSelection &s, MessageSink &sink,
                                                            DecodeService *codes, RunResult &r)
{
    r.outcome = Outcome::Refused;
    if (const auto problem = s.Validate(codes)) {
        r.field = problem->field;
        r.message = problem->detail.isEmpty() ? problem->message
                                              : problem->message + QStringLiteral(" (") + problem->detail + QLatin1Char(')');
        sink.msgCom(r.message, {kOk});
        return std::nullopt;
    }
    SubstitutionPlan plan = Plan(s);
    if (!plan.canRun()) {
        r.field = SubstitutionSelection::Sostituto;
        r.message = plan.refusal;
        sink.msgCom(plan.refusal, {kOk});
        return std::nullopt;
    }
    return plan;
}

SubstitutionEngine::RunResult SubstitutionEngine::Run(const SubstitutionSelection &s, MessageSink &sink, bool confirm,
                                                      DecodeService *codes, const Progress &progress,
                                                      const std::function<void()> &started)
{
    RunResult r;
    try {
        if (!prepare(s, sink, codes, r))
            return r;
        if (confirm && sink.msgCom(QStringLiteral("Confermi elaborazione"), {kOk, QStringLiteral("&Annulla")}) == 2) {
            r.outcome = Outcome::Cancelled;
            return r;
        }
        if (started)
            started();
        const Applied applied = Apply(s, progress);
        if (!applied.done) {  // the company changed since the plan
            r.message = applied.refusal;
            sink.msgCom(applied.refusal, {kOk});
            return r;
        }
        r.outcome = Outcome::Done;
        r.count = applied.count;
        r.message = applied.message;
    } catch (const std::exception &e) {
        failed(e, sink, r);
    }
    return r;
}

SubstitutionEngine::RunResult SubstitutionEngine::DryRun(const SubstitutionSelection &s, MessageSink &sink,
                                                         DecodeService *codes, QStringList *lines)
{
    RunResult r;
    try {
        const std::optional<SubstitutionPlan> plan = prepare(s, sink, codes, r);
        if (!plan)
            return r;
        *lines = DryRunLines(*plan);
        r.outcome = Outcome::Done;
        r.count = lines->size();
    } catch (const std::exception &e) {
        failed(e, sink, r);
    }
    return r;
}

void SubstitutionEngine::failed(const std::exception &e, MessageSink &sink, RunResult &r)
{
    const ErrorInfo info = ErrorInfoFrom(e);
    r.outcome = Outcome::Failed;
    r.message = ErrorDescription(info.description, info.source);
    sink.MsgErrfrm(info.number, r.message);
}

} // namespace kem
