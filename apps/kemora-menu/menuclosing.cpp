#include "apps/kemora-menu/menuclosing.h"

#include <algorithm>

namespace kem {

namespace {

QString Named(const ProgramRefusal &r)
{
    const QString key = r.programKey.trimmed().isEmpty() ? QStringLiteral("senza nome") : r.programKey.trimmed();
    return QStringLiteral("[%1] %2").arg(r.session).arg(key);
}

QString Quoted(const ProgramRefusal &r)
{
    return r.answer == kNoAnswer ? r.answer : QLatin1Char('"') + r.answer + QLatin1Char('"');
}

} // namespace

bool FineAccepted(const QVariant &answer)
{
    return answer.toString().trimmed().isEmpty();
}

QString RefusalAnswerText(const QList<ProgramRefusal> &refusals)
{
    QStringList parts;
    for (const ProgramRefusal &r : refusals)
        parts << Named(r) + QStringLiteral(": ") + Quoted(r);
    return parts.join(QStringLiteral("; "));
}

QString RefusalQuestion(const QList<ProgramRefusal> &refusals)
{
    QString text = refusals.size() == 1 ? QStringLiteral("Il programma %1 non si è chiuso e ha risposto: %2.")
                                              .arg(Named(refusals.first()), Quoted(refusals.first()))
                                        : QStringLiteral("Questi programmi non si sono chiusi:");
    if (refusals.size() > 1)
        for (const ProgramRefusal &r : refusals)
            text += QStringLiteral("\n%1: %2").arg(Named(r), Quoted(r));
    text += QStringLiteral("\n\nTornare al programma per chiudere prima le maschere aperte, oppure chiudere "
                           "il menu lasciando il programma in esecuzione senza menu?");
    return text;
}

QString GoBackButtonText()
{
    return QStringLiteral("&Torna al programma");
}

QString LeaveRunningButtonText()
{
    return QStringLiteral("&Chiudi il menu");
}

QString RefusalTitle()
{
    return QStringLiteral("Chiusura del menu");
}

MenuClosing::MenuClosing(MenuHost &host, QObject *parent) : QObject(parent), host_(host)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &MenuClosing::finish);
    connect(&host_, &MenuHost::commandAnswered, this, &MenuClosing::answered);
    connect(&host_, &MenuHost::commandLost, this, &MenuClosing::lost);
}

void MenuClosing::start()
{
    if (running_)
        return;
    running_ = true;
    refusals_.clear();
    keys_.clear();
    for (const MenuHost::Program &p : host_.programs())
        keys_.insert(p.session, p.programKey);
    pending_ = host_.closeAll();
    if (pending_.isEmpty()) {
        finish();
        return;
    }
    timer_.start(timeout_);
}

void MenuClosing::answered(int session, qint64 id, const QVariant &result)
{
    if (!running_ || pending_.value(session) != id)
        return;
    pending_.remove(session);
    if (!FineAccepted(result))
        refusals_.append({session, keys_.value(session), result.toString()});
    finishIfDone();
}

void MenuClosing::lost(int session, qint64 id)
{
    // A program that goes away while asked has ended.
    if (!running_ || pending_.value(session) != id)
        return;
    pending_.remove(session);
    finishIfDone();
}

void MenuClosing::finishIfDone()
{
    if (pending_.isEmpty())
        finish();
}

void MenuClosing::finish()
{
    timer_.stop();
    for (auto it = pending_.cbegin(); it != pending_.cend(); ++it)
        refusals_.append({it.key(), keys_.value(it.key()), kNoAnswer});
    pending_.clear();
    std::sort(refusals_.begin(), refusals_.end(),
              [](const ProgramRefusal &a, const ProgramRefusal &b) { return a.session < b.session; });
    running_ = false;
    emit finished(refusals_);
}

} // namespace kem
