#pragma once
// The help key: F1 opens the application help file at the context number of the active
// control.
#include "common/helpopener.h"

#include <QObject>
#include <QString>

class QWidget;

namespace kem {

// Key code of F1 as the forms' key handlers receive it.
inline constexpr int KeyCodeF1 = 112;

// The context number of a control: its "HelpContextID" property, 0 when it has none.
int HelpContextId(const QWidget *w);

// keyCode 112 (F1) only: when helpFile ends with ".chm", opens it at the context number of the
// form's active control, else of that control's container, else of the form; sets handled and
// returns true. Any other key, or another help file, does nothing and returns false.
// Errors are ignored.
bool HelpKey(int keyCode, int shift, QWidget *form, bool &handled, const QString &helpFile,
             HelpOpener &opener);

// Routes F1 pressed anywhere in a form to HelpKey: created with the form as parent, it previews
// the keys of the form and its controls (as an application event filter) until the form goes.
class HelpKeyFilter : public QObject {
    Q_OBJECT
public:
    HelpKeyFilter(QWidget *form, QString helpFile, HelpOpener *opener);
    bool eventFilter(QObject *watched, QEvent *event) override;
private:
    QWidget *form_;
    QString helpFile_;
    HelpOpener *opener_;
};

} // namespace kem
