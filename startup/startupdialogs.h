#pragma once
// The plain dialogs the start-up and the shutdown ask through (message box, input box, Yes/No/
// Cancel and OK/Cancel questions). The program shows them as windows; batch runs and tests
// answer them without a user.
#include <QString>

namespace kem {

enum class BoxStyle { Plain, Critical, Exclamation };
enum class YesNoCancel { Yes, No, Cancel };

class StartupDialogs {
public:
    virtual ~StartupDialogs() = default;
    virtual void MessageBox(const QString &text, BoxStyle style = BoxStyle::Plain) = 0;
    // Returns the typed text; an empty text when the user cancels.
    virtual QString InputBox(const QString &prompt, const QString &title, const QString &def) = 0;
    virtual YesNoCancel AskYesNoCancel(const QString &text) = 0;
    // True for OK.
    virtual bool AskOkCancel(const QString &text) = 0;
};

// Writes every dialog to standard error and answers with its default: the input box with its
// default text, Yes, and Cancel for the OK/Cancel question (a repair is never started unseen).
class BatchDialogs : public StartupDialogs {
public:
    void MessageBox(const QString &text, BoxStyle style = BoxStyle::Plain) override;
    QString InputBox(const QString &prompt, const QString &title, const QString &def) override;
    YesNoCancel AskYesNoCancel(const QString &text) override;
    bool AskOkCancel(const QString &text) override;
};

} // namespace kem
