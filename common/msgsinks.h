#pragma once
// Message sinks without a window: standard error for batch runs, a recorder for tests.
#include "common/messages.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <cstdio>

namespace kem {

// Batch runs: every message goes to standard error with its buttons and the answer given,
// which is the default button (1 when the default lies outside the buttons).
class StderrMessageSink : public MessageSink {
public:
    // out defaults to standard error; tests pass a stream over a string.
    explicit StderrMessageSink(QTextStream *out = nullptr);
    int msgCom(const QString &text, const QStringList &buttons, int defaultButton = 1,
               const QString &caption = {}) override;
    void MsgErrfrm(const QString &number, const QString &description, const QString &prefix = {},
                   const QString &suffix = {}) override;
private:
    QTextStream err_{stderr};
    QTextStream *out_;
};

// Tests: records every message and answers from a script of answers, else the default button.
class RecordingMessageSink : public MessageSink {
public:
    struct Message {
        QString text;
        QStringList buttons;
        int defaultButton = 1;
        QString caption;
        int answer = 0;
    };
    int msgCom(const QString &text, const QStringList &buttons, int defaultButton = 1,
               const QString &caption = {}) override;
    void MsgErrfrm(const QString &number, const QString &description, const QString &prefix = {},
                   const QString &suffix = {}) override;

    // The next msgCom calls answer these button numbers in order (then the default button).
    void queueAnswers(const QList<int> &answers) { answers_ += answers; }
    void clear();

    QList<Message> messages; // msgCom calls, in order
    QStringList errors;      // the texts MsgErrfrm showed
    QStringList texts() const;
private:
    QList<int> answers_;
};

// The answer of a run without a user: defaultButton when it lies between 1 and the number of
// buttons, else 1.
int DefaultAnswer(const QStringList &buttons, int defaultButton);

} // namespace kem
