#include "common/frmmsgcom.h"

#include "common/attentionsound.h"
#include "common/helpkey.h"
#include "common/risvid.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kem {

namespace {
const QString kCaption = QStringLiteral("Richiesta Comando");
// Twips per pixel at the 96 dpi the dialog is designed for.
constexpr int kTwipsPerPixel = 15;
} // namespace

frmMsgCom::frmMsgCom(const MsgComSettings &settings, QWidget *parent)
    : QDialog(parent), settings_(settings)
{
    setObjectName(QStringLiteral("frmMsgCom"));
    setWindowTitle(kCaption);
    setModal(true);

    LabMessaggio = new QLabel(this);
    LabMessaggio->setObjectName(QStringLiteral("LabMessaggio"));
    LabMessaggio->setWordWrap(true);
    LabMessaggio->hide(); // measures the message; the text box shows it

    txtMessaggio = new QPlainTextEdit(this);
    txtMessaggio->setObjectName(QStringLiteral("txtMessaggio"));
    txtMessaggio->setReadOnly(true);
    txtMessaggio->setFocusPolicy(Qt::NoFocus);

    txtComRit = new QLineEdit(this);
    txtComRit->setObjectName(QStringLiteral("txtComRit"));
    txtComRit->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LabMessaggio);
    layout->addWidget(txtMessaggio, 1);
    buttonRow_ = new QHBoxLayout; // buttons centred between two stretches
    buttonRow_->addStretch(1);
    buttonRow_->addStretch(1);
    layout->addLayout(buttonRow_);
    setButtons({QStringLiteral("OK")});
}

void frmMsgCom::setButtons(const QStringList &captions)
{
    while (ComEsegui.size() > captions.size())
        delete ComEsegui.takeLast();
    for (int i = 0; i < captions.size(); ++i) {
        if (i == ComEsegui.size()) {
            auto *b = new QPushButton(this);
            b->setObjectName(QStringLiteral("ComEsegui"));
            b->setProperty("Index", i);
            b->setAutoDefault(true); // Enter presses the button that has the focus
            connect(b, &QPushButton::clicked, this, [this, i] { ComEsegui_Click(i); });
            buttonRow_->insertWidget(buttonRow_->count() - 1, b);
            ComEsegui.append(b);
        }
        ComEsegui[i]->setText(captions[i]);
        ComEsegui[i]->setDefault(false);
    }
}

void frmMsgCom::ComEsegui_Click(int index)
{
    txtComRit->setText(QString::number(index + 1));
    done(index + 1);
}

void frmMsgCom::sizeToMessage(const QString &text, const MsgComOptions &options)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const int percent = options.widthPercent > 0 && options.widthPercent <= 100 ? options.widthPercent : 80;
    const int width = avail.width() * percent / 100;
    LabMessaggio->setText(text);
    const QFontMetrics fm(txtMessaggio->font());
    const QRect textRect = fm.boundingRect(QRect(0, 0, std::max(100, width - 40), 100000),
                                           Qt::TextWordWrap, text);
    const int extra = std::max(0, options.extraHeight) / kTwipsPerPixel;
    int buttonsHeight = 0;
    for (const QPushButton *b : ComEsegui)
        buttonsHeight = std::max(buttonsHeight, b->sizeHint().height());
    const int height = std::min(avail.height() * 9 / 10,
                                textRect.height() + 2 * fm.lineSpacing() + extra + buttonsHeight + 30);
    resize(width, height);
    move(avail.x() + (avail.width() - width) / 2, avail.y() + (avail.height() - height) / 2);
}

int frmMsgCom::msgCom(const QString &text, const QStringList &buttons, const MsgComOptions &options)
{
    if (isVisible())
        return 0;
    QStringList captions = buttons;
    if (captions.isEmpty())
        captions << QStringLiteral("OK");
    setButtons(captions);
    setWindowTitle(options.caption.isEmpty() ? kCaption : options.caption);
    txtMessaggio->setPlainText(text);
    txtComRit->clear();
    if (!loaded_) {
        // First use: scale the design with the message factor, then size to the message.
        loaded_ = true;
        double factor = settings_.messageFactor;
        RisVid(this, false, factor, {}, settings_.screen);
    }
    sizeToMessage(text, options);

    if (options.defaultButton >= 1 && options.defaultButton <= ComEsegui.size()) {
        QPushButton *def = ComEsegui[options.defaultButton - 1];
        def->setDefault(true);
        def->setFocus();
    } else {
        ComEsegui.first()->setFocus();
    }
    if (options.attention && settings_.sound)
        PlayAttention(settings_.beepCome, *settings_.sound);

    exec();
    bool ok = false;
    const int answer = txtComRit->text().toInt(&ok);
    return ok ? answer : 0;
}

int frmMsgCom::msgCom(const QString &text, const QStringList &buttons, int defaultButton,
                      const QString &caption)
{
    MsgComOptions options;
    options.defaultButton = defaultButton;
    options.caption = caption;
    return msgCom(text, buttons, options);
}

void frmMsgCom::MsgErrfrm(const QString &number, const QString &description, const QString &prefix,
                          const QString &suffix)
{
    msgCom(ErrorText(number, description, prefix, suffix), {QStringLiteral("&Ok")}, MsgComOptions{});
}

void frmMsgCom::MsgErrfrm(const ErrorInfo &current, const QString &number,
                          const QString &description, const QString &prefix, const QString &suffix)
{
    msgCom(FormatError(current, number, description, prefix, suffix), {QStringLiteral("&Ok")},
           MsgComOptions{});
}

void frmMsgCom::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && settings_.help) {
        bool handled = false;
        HelpKey(KeyCodeF1, static_cast<int>(event->modifiers()), this, handled, settings_.helpFile,
                *settings_.help);
        if (handled)
            return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace kem
