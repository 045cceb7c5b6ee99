#pragma once
// Closing the menu while programs are connected. Every program is asked to end ("fine"); the
// menu closes when all of them end. A program that refuses (it has a form open and answers,
// for example, "No Chiudi"), or gives no answer in time, keeps the menu open: its answer is
// shown and the user chooses between going back to the program to close that form first and
// closing the menu anyway, leaving the program running without its menu (the program then
// says that the menu is no longer there and ends when its forms close).
// No widgets here: the window shows the texts and asks the question.
#include "apps/kemora-menu/menuhost.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

namespace kem {

// A program that did not end when asked.
struct ProgramRefusal {
    int session = 0;
    QString programKey;
    QString answer;     // the program's answer; kNoAnswer when none came in time
    bool operator==(const ProgramRefusal &) const = default;
};

inline const QString kNoAnswer = QStringLiteral("(nessuna risposta)");

// A program's answer to "fine" that means it is ending: an empty text.
bool FineAccepted(const QVariant &answer);

// What the window's answer field shows: each refusing program and its answer.
QString RefusalAnswerText(const QList<ProgramRefusal> &refusals);
// The question put to the user, naming the programs and their answers.
QString RefusalQuestion(const QList<ProgramRefusal> &refusals);
enum class RefusalChoice { GoBack, LeaveRunning };
QString GoBackButtonText();        // the default choice
QString LeaveRunningButtonText();
QString RefusalTitle();

class MenuClosing : public QObject {
    Q_OBJECT
public:
    explicit MenuClosing(MenuHost &host, QObject *parent = nullptr);

    // How long the programs have to answer (default 10 s); a program still silent then
    // counts as refusing with kNoAnswer.
    void setAnswerTimeout(int ms) { timeout_ = ms; }
    // Asks every connected program to end; finished follows once every one has answered or
    // gone away, or the timeout has passed (at once when no program is connected). A start
    // while an attempt runs does nothing.
    void start();
    bool running() const { return running_; }

signals:
    // The programs that did not end, by session; empty when the menu may close.
    void finished(const QList<kem::ProgramRefusal> &refusals);

private:
    void answered(int session, qint64 id, const QVariant &result);
    void lost(int session, qint64 id);
    void finishIfDone();
    void finish();

    MenuHost &host_;
    int timeout_ = 10000;
    bool running_ = false;
    QHash<int, qint64> pending_;       // session -> id of its "fine"
    QHash<int, QString> keys_;         // session -> program key when asked
    QList<ProgramRefusal> refusals_;
    QTimer timer_;
};

} // namespace kem
