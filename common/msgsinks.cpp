#include "common/msgsinks.h"

namespace kem {

int DefaultAnswer(const QStringList &buttons, int defaultButton)
{
    return defaultButton >= 1 && defaultButton <= buttons.size() ? defaultButton : 1;
}

StderrMessageSink::StderrMessageSink(QTextStream *out) : out_(out ? out : &err_) {}

int StderrMessageSink::msgCom(const QString &text, const QStringList &buttons, int defaultButton,
                              const QString &caption)
{
    const int answer = DefaultAnswer(buttons, defaultButton);
    QStringList names;
    for (QString b : buttons)
        names << b.remove(QLatin1Char('&'));
    QTextStream &out = *out_;
    out << (caption.isEmpty() ? QStringLiteral("Richiesta Comando") : caption) << ": "
        << QString(text).replace(QLatin1Char('\n'), QStringLiteral("\n  ")) << '\n';
    if (!names.isEmpty())
        out << "  [" << names.join(QStringLiteral("] [")) << "] -> "
            << names.value(answer - 1) << '\n';
    out.flush();
    return answer;
}

void StderrMessageSink::MsgErrfrm(const QString &number, const QString &description,
                                  const QString &prefix, const QString &suffix)
{
    QTextStream &out = *out_;
    out << ErrorText(number, description, prefix, suffix) << '\n';
    out.flush();
}

int RecordingMessageSink::msgCom(const QString &text, const QStringList &buttons, int defaultButton,
                                 const QString &caption)
{
    const int answer = answers_.isEmpty() ? DefaultAnswer(buttons, defaultButton)
                                          : answers_.takeFirst();
    messages.append({text, buttons, defaultButton, caption, answer});
    return answer;
}

void RecordingMessageSink::MsgErrfrm(const QString &number, const QString &description,
                                     const QString &prefix, const QString &suffix)
{
    errors << ErrorText(number, description, prefix, suffix);
}

void RecordingMessageSink::clear()
{
    messages.clear();
    errors.clear();
    answers_.clear();
}

QStringList RecordingMessageSink::texts() const
{
    QStringList out;
    for (const Message &m : messages)
        out << m.text;
    return out;
}

} // namespace kem
