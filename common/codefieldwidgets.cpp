#include "common/codefieldwidgets.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>

namespace kem {

namespace {
const char *const kBackProperty = "kemBackColour";

bool IsTextBox(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w) ||
           qobject_cast<const QTextEdit *>(w);
}
} // namespace

QColor WinColour(quint32 value)
{
    if ((value & 0xFF000000u) == 0x80000000u) {
        const QPalette p = QApplication::palette();
        switch (value & 0xFFu) {
        case 0x05: return p.color(QPalette::Base);            // window background
        case 0x08: return p.color(QPalette::Text);            // window text
        case 0x0D: return p.color(QPalette::Highlight);
        case 0x0E: return p.color(QPalette::HighlightedText);
        case 0x0F: return p.color(QPalette::Button);          // button face
        case 0x11: return p.color(QPalette::Disabled, QPalette::Text); // grey text
        case 0x12: return p.color(QPalette::ButtonText);
        default: return p.color(QPalette::Window);
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

void SetBackColour(QWidget *w, quint32 value)
{
    if (!w)
        return;
    w->setProperty(kBackProperty, QVariant::fromValue<quint32>(value));
    QPalette p = w->palette();
    if (IsTextBox(w)) {
        p.setColor(QPalette::Base, WinColour(value));
    } else {
        p.setColor(QPalette::Window, WinColour(value));
        w->setAutoFillBackground(true);
    }
    w->setPalette(p);
}

quint32 BackColour(const QWidget *w, quint32 normal)
{
    const QVariant v = w ? w->property(kBackProperty) : QVariant();
    return v.isValid() ? v.value<quint32>() : normal;
}

int VbKeyCode(const QKeyEvent *event)
{
    const int k = event->key();
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12)
        return 112 + (k - Qt::Key_F1);
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return 65 + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9 && !(event->modifiers() & Qt::KeypadModifier))
        return 48 + (k - Qt::Key_0);
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return 96 + (k - Qt::Key_0);
    switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Super_L: return 91;
    case Qt::Key_Super_R: return 92;
    case Qt::Key_Comma:
    case Qt::Key_Period:
        if (event->modifiers() & Qt::KeypadModifier)
            return 110;
        return k == Qt::Key_Comma ? 188 : 190;
    default: return 0;
    }
}

int VbShift(Qt::KeyboardModifiers modifiers)
{
    int s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= 1;
    if (modifiers & Qt::ControlModifier)
        s |= 2;
    if (modifiers & Qt::AltModifier)
        s |= 4;
    return s;
}

CodeFieldRow AddCodeFieldRow(QGridLayout *grid, int row, int index, const QString &caption,
                             QWidget *parent, int maxLength, int column, int descriptionWidth)
{
    CodeFieldRow r;
    r.caption = new QLabel(caption, parent);
    r.caption->setObjectName(QStringLiteral("labTxt%1").arg(index));
    grid->addWidget(r.caption, row, column);
    r.box = new QLineEdit(parent);
    r.box->setObjectName(QStringLiteral("txt%1").arg(index));
    r.box->setMaxLength(maxLength);
    grid->addWidget(r.box, row, column + 1);
    r.button = new QPushButton(QStringLiteral("..."), parent);
    r.button->setObjectName(QStringLiteral("ComHlp%1").arg(index));
    r.button->setFixedWidth(28);
    r.button->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(r.button, row, column + 2);
    r.description = new QLabel(parent);
    r.description->setObjectName(QStringLiteral("lab%1").arg(index));
    r.description->setFrameShape(QFrame::StyledPanel);
    r.description->setMinimumWidth(descriptionWidth);
    grid->addWidget(r.description, row, column + 3);
    return r;
}

std::optional<QString> DialogTextPrompter::InputBox(const QString &prompt, const QString &def)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, QString(), prompt, QLineEdit::Normal, def, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

void DialogTextPrompter::MsgBox(const QString &text)
{
    QMessageBox::information(parent_, QString(), text);
}

} // namespace kem
