#pragma once
// MenuWindow: the small window of kemora-menu. Lists the menu's functions (MenuDett Caption
// and DescPrg; double-click or Enter opens one), lets the user send a command by hand to a
// connected program and shows its answer, and shows what the menu does. Closing it asks the
// connected programs to end and closes only when they do, or when the user, shown the answer
// of a program that refuses, chooses to leave it running (see menuclosing.h).
#include "apps/kemora-menu/menuclosing.h"
#include "apps/kemora-menu/menuhost.h"
#include "apps/kemora-menu/modulelauncher.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace kem {

class MenuWindow : public QWidget {
    Q_OBJECT
public:
    // Asks the user what to do about programs that did not end (the question and its two
    // choices: RefusalQuestion and the button texts of menuclosing.h).
    using RefusalPrompt = std::function<RefusalChoice(const QString &question)>;

    MenuWindow(MenuHost &host, ModuleLauncher &launcher, QWidget *parent = nullptr);

    // The default prompt is a question box.
    void setRefusalPrompt(RefusalPrompt prompt) { refusalPrompt_ = std::move(prompt); }
    MenuClosing &closing() { return closing_; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void loadFunctions();
    void refreshPrograms();
    void openEntry(QTreeWidgetItem *item);
    void sendCommand();
    void appendLog(const QString &line);
    void closingFinished(const QList<ProgramRefusal> &refusals);
    RefusalChoice askRefusal(const QString &question);

    MenuHost &host_;
    ModuleLauncher &launcher_;
    QTreeWidget *functions_;
    QComboBox *programs_;
    QLineEdit *command_;
    QLineEdit *param_;
    QLineEdit *text2_;
    QLabel *answer_;
    QPlainTextEdit *log_;
    qint64 waitingFor_ = 0;
    MenuClosing closing_;
    RefusalPrompt refusalPrompt_;
    bool closeAllowed_ = false;
};

} // namespace kem
