#pragma once
// Widget helpers of the code fields: Windows colour values on widgets, key codes and shift
// states as the forms' key handlers take them, the input and message boxes of find and replace.
#include <QColor>
#include <QString>
#include <QtGlobal>
#include <optional>

class QGridLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kem {

// A colour value of the Windows convention (0x00BBGGRR, or 0x800000nn for system colour nn)
// as a Qt colour; system colours come from the application palette.
QColor WinColour(quint32 value);

// Paints the background of a control (the text area of a box, the surface of anything else)
// and remembers the value, so BackColour answers exactly what was set.
void SetBackColour(QWidget *w, quint32 value);
// The value last set with SetBackColour; `normal` for a control never painted.
quint32 BackColour(const QWidget *w, quint32 normal);

// Key codes of the forms' key handlers: F1 112 ... F12 123, Enter 13, Escape 27, Page Up 33,
// Page Down 34, letters their capital's code, digits 48-57, keypad decimal 110. 0 when the key
// has no code.
int VbKeyCode(const QKeyEvent *event);
// Shift state: 1 Shift, 2 Ctrl, 4 Alt, added up.
int VbShift(Qt::KeyboardModifiers modifiers);

// One code field of a form on a row of a grid: its caption ("labTxt" + index) in column 0,
// the box ("txt" + index) in column 1, the lookup button ("ComHlp" + index, "...", out of the
// tab order) in column 2 and the description label ("lab" + index) in column 3; with
// `column`, in the four columns from there. Forms with two fields on a row (lower and upper
// bound) place the second one at column 4.
struct CodeFieldRow {
    QLabel *caption = nullptr;
    QLineEdit *box = nullptr;
    QPushButton *button = nullptr;
    QLabel *description = nullptr;
};
CodeFieldRow AddCodeFieldRow(QGridLayout *grid, int row, int index, const QString &caption,
                             QWidget *parent, int maxLength = 30, int column = 0,
                             int descriptionWidth = 260);

// Input and message boxes of find and replace; tests script them.
class TextPrompter {
public:
    virtual ~TextPrompter() = default;
    // An input box; nullopt when cancelled.
    virtual std::optional<QString> InputBox(const QString &prompt, const QString &def) = 0;
    virtual void MsgBox(const QString &text) = 0;
};

class DialogTextPrompter : public TextPrompter {
public:
    explicit DialogTextPrompter(QWidget *parent = nullptr) : parent_(parent) {}
    std::optional<QString> InputBox(const QString &prompt, const QString &def) override;
    void MsgBox(const QString &text) override;
private:
    QWidget *parent_;
};

} // namespace kem
