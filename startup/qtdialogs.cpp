#include "startup/qtdialogs.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>

namespace kem {

namespace {
QString Title()
{
    return QCoreApplication::applicationName();
}
} // namespace

void QtDialogs::MessageBox(const QString &text, BoxStyle style)
{
    switch (style) {
    case BoxStyle::Critical:
        QMessageBox::critical(nullptr, Title(), text);
        break;
    case BoxStyle::Exclamation:
        QMessageBox::warning(nullptr, Title(), text);
        break;
    case BoxStyle::Plain:
        QMessageBox::information(nullptr, Title(), text);
        break;
    }
}

QString QtDialogs::InputBox(const QString &prompt, const QString &title, const QString &def)
{
    bool ok = false;
    const QString text = QInputDialog::getText(nullptr, title, prompt, QLineEdit::Normal, def, &ok);
    return ok ? text : QString();
}

YesNoCancel QtDialogs::AskYesNoCancel(const QString &text)
{
    switch (QMessageBox::question(nullptr, Title(), text,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return YesNoCancel::Yes;
    case QMessageBox::No:
        return YesNoCancel::No;
    default:
        return YesNoCancel::Cancel;
    }
}

bool QtDialogs::AskOkCancel(const QString &text)
{
    return QMessageBox::question(nullptr, Title(), text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok)
           == QMessageBox::Ok;
}

void QtDesktop::ProcessEvents()
{
    QCoreApplication::processEvents();
}

bool QtDesktop::ModalWindowOpen()
{
    return QApplication::activeModalWidget() != nullptr;
}

QSize QtDesktop::ScreenSize()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(800, 600);
}

} // namespace kem
