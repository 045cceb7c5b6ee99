#pragma once
// The module's message dialog: a message with named buttons; the answer is the number of the
// pressed button.
#include "common/funvarie.h"
#include "common/messages.h"
#include "common/screenfactor.h"

#include <QDialog>
#include <QList>
#include <QStringList>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QHBoxLayout;

namespace kem {

class SoundPlayer;
class HelpOpener;

// What the dialog takes from start-up: the attention sound, the help file, the message factor.
struct MsgComSettings {
    QString beepCome;              // [Parametri Generali] "BeepCome"
    SoundPlayer *sound = nullptr;  // plays it; none: no sound
    QString helpFile;              // application help file (F1)
    HelpOpener *help = nullptr;
    double messageFactor = -2;     // [Risoluzione Video] "MsgCom" as resolved at start-up
    ScreenSettings screen;         // for a message factor still at -2
};

// Options of one msgCom call; the defaults are what the module's callers pass.
struct MsgComOptions {
    int widthPercent = 80;   // dialog width as a percentage of the screen width
    bool attention = false;  // play the attention sound
    int extraHeight = 600;   // twips added below the message
    int defaultButton = 1;   // used when between 1 and the number of buttons
    qint16 flag = 0;         // reserved, always 0
    QString caption;         // window caption; empty: "Richiesta Comando"
};

class frmMsgCom : public QDialog, public MessageSink {
    Q_OBJECT
public:
    explicit frmMsgCom(const MsgComSettings &settings = {}, QWidget *parent = nullptr);

    // Shows text with one button per caption (none: the design button "OK") and waits for a
    // button: returns its number, 1 for the first. Returns 0 at once, showing nothing, when
    // the dialog is already visible; closing the dialog without a button (Esc, the window's
    // close button) also gives 0.
    int msgCom(const QString &text, const QStringList &buttons, const MsgComOptions &options);

    // MessageSink
    int msgCom(const QString &text, const QStringList &buttons, int defaultButton = 1,
               const QString &caption = {}) override;
    void MsgErrfrm(const QString &number, const QString &description, const QString &prefix = {},
                   const QString &suffix = {}) override;
    // The error form with the caught error: given number and description, else current's.
    void MsgErrfrm(const ErrorInfo &current, const QString &number, const QString &description,
                   const QString &prefix = {}, const QString &suffix = {});

    QLabel *LabMessaggio;
    QPlainTextEdit *txtMessaggio;
    QList<QPushButton *> ComEsegui;
    QLineEdit *txtComRit;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setButtons(const QStringList &captions);
    void ComEsegui_Click(int index);
    void sizeToMessage(const QString &text, const MsgComOptions &options);

    MsgComSettings settings_;
    QHBoxLayout *buttonRow_;
    bool loaded_ = false;
};

} // namespace kem
