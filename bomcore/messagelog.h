#pragma once
// MessageLog: a message sink that passes every message on to the user's and keeps what it
// passed, so that a value kept for a run can tell again, when it is used again, the messages
// that working it out told (a promotion's notice, say): a kept value then shows what a
// valuation made anew would show.
#include "common/messages.h"

#include <QVector>

namespace kem {

class MessageLog : public MessageSink {
public:
    struct Entry {
        bool error = false;  // MsgErrfrm; else msgCom
        QString text, number, prefix, suffix;
        QStringList buttons;
        int defaultButton = 1;
        QString caption;
    };
    explicit MessageLog(MessageSink &target) : target_(target) {}

    int msgCom(const QString &text, const QStringList &buttons, int defaultButton = 1,
               const QString &caption = {}) override
    {
        if (keeping_ > 0)
            entries_.append(Entry{false, text, {}, {}, {}, buttons, defaultButton, caption});
        return target_.msgCom(text, buttons, defaultButton, caption);
    }
    void MsgErrfrm(const QString &number, const QString &description, const QString &prefix = {},
                   const QString &suffix = {}) override
    {
        if (keeping_ > 0)
            entries_.append(Entry{true, description, number, prefix, suffix, {}, 1, {}});
        target_.MsgErrfrm(number, description, prefix, suffix);
    }

    // Messages are kept between begin() and the end() of the same mark; marks nest.
    qsizetype begin()
    {
        ++keeping_;
        return entries_.size();
    }
    // The messages told since the mark.
    QVector<Entry> end(qsizetype mark)
    {
        QVector<Entry> told = entries_.mid(mark);
        if (--keeping_ == 0)
            entries_.clear();
        return told;
    }
    // Tells kept messages again.
    void retell(const QVector<Entry> &told)
    {
        for (const Entry &e : told) {
            if (e.error)
                MsgErrfrm(e.number, e.text, e.prefix, e.suffix);
            else
                msgCom(e.text, e.buttons, e.defaultButton, e.caption);
        }
    }
    MessageSink &target() { return target_; }

private:
    MessageSink &target_;
    QVector<Entry> entries_;
    int keeping_ = 0;
};

} // namespace kem
