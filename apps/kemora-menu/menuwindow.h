#pragma once
// MenuWindow: the small window of kemora-menu. Lists the menu's functions (MenuDett Caption
// and DescPrg; double-click or Enter opens one), lets the user send a command by hand to a
// connected program and shows its answer, and shows what the menu does.
#include "apps/kemora-menu/menuhost.h"
#include "apps/kemora-menu/modulelauncher.h"

#include <QWidget>

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
    MenuWindow(MenuHost &host, ModuleLauncher &launcher, QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void loadFunctions();
    void refreshPrograms();
    void openEntry(QTreeWidgetItem *item);
    void sendCommand();
    void appendLog(const QString &line);

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
};

} // namespace kem
