#pragma once
// Where the module's questions and messages go: the message dialog in the program, standard
// error with the default answer in batch runs, a recorder in tests.
#include <QString>
#include <QStringList>

namespace kem {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows text with the named buttons ("&Ok", "&Riprovare", ...); returns the number of the
    // pressed button, 1 for the first; defaultButton is the answer of a run without a user.
    virtual int msgCom(const QString &text, const QStringList &buttons, int defaultButton = 1,
                       const QString &caption = {}) = 0;
    // Shows prefix + "Errore(" + number + "): " + description + suffix with "&Ok".
    virtual void MsgErrfrm(const QString &number, const QString &description,
                           const QString &prefix = {}, const QString &suffix = {}) = 0;
};

// Formats an error the one way the module shows errors.
inline QString ErrorText(const QString &number, const QString &description,
                         const QString &prefix = {}, const QString &suffix = {})
{
    return prefix + "Errore(" + number + "): " + description + suffix;
}

} // namespace kem
