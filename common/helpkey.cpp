#include "common/helpkey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace kem {

int HelpContextId(const QWidget *w)
{
    return w ? w->property("HelpContextID").toInt() : 0;
}

bool HelpKey(int keyCode, int shift, QWidget *form, bool &handled, const QString &helpFile,
             HelpOpener &opener)
{
    Q_UNUSED(shift)
    if (keyCode != KeyCodeF1 || !form || !IsHtmlHelpFile(helpFile))
        return false;
    try {
        QWidget *active = form->focusWidget();
        if (active && active != form && !form->isAncestorOf(active))
            active = nullptr;
        int context = HelpContextId(active);
        if (context == 0 && active && active->parentWidget())
            context = HelpContextId(active->parentWidget());
        if (context == 0)
            context = HelpContextId(form);
        HelpTopic(opener, helpFile, context);
        handled = true;
        return true;
    } catch (...) {
        return false; // help is a convenience: a failure never disturbs the form
    }
}

HelpKeyFilter::HelpKeyFilter(QWidget *form, QString helpFile, HelpOpener *opener)
    : QObject(form), form_(form), helpFile_(std::move(helpFile)), opener_(opener)
{
    // Keys go to the control that has the focus: watch them all and keep the form's own.
    QCoreApplication::instance()->installEventFilter(this);
}

bool HelpKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    auto *target = qobject_cast<QWidget *>(watched);
    if (event->type() == QEvent::KeyPress && opener_ && target
        && (target == form_ || form_->isAncestorOf(target))) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F1) {
            bool handled = false;
            HelpKey(KeyCodeF1, static_cast<int>(key->modifiers()), form_, handled, helpFile_, *opener_);
            if (handled)
                return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kem
