// The menu window: the functions of MenuDett, opening one, a command with no program, and
// closing it with programs connected.
#include "tests/platform/menu/menufixture.h"
#include "tests/platform/menu/modulethread.h"
#include "apps/kemora-menu/menuhost.h"
#include "apps/kemora-menu/menuwindow.h"
#include "apps/kemora-menu/modulelauncher.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace kem;

class TstMenuWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listsTheFunctions();
    void activatingAFunctionLaunchesTheModule();
    void commandWithoutProgram();
    void closesAtOnceWithoutPrograms();
    void closesWhenTheProgramEnds();
    void staysOpenWhileTheProgramRefuses();

private:
    std::unique_ptr<QTemporaryDir> tmp_;
    MenuConfig config_;
    std::unique_ptr<MenuHost> host_;
    std::unique_ptr<ModuleLauncher> launcher_;
    std::unique_ptr<MenuWindow> window_;
    std::unique_ptr<menutest::ModuleThread> module_;

    void connectModule(const QString &fineAnswer);
};

void TstMenuWindow::connectModule(const QString &fineAnswer)
{
    module_ = std::make_unique<menutest::ModuleThread>();
    module_->start(host_->socketName(), QStringLiteral("DISTINTA"), fineAnswer);
    QTRY_VERIFY_WITH_TIMEOUT(module_->ready() || module_->failed(), 5000);
    QVERIFY(module_->ready());
    QTRY_COMPARE(host_->programs().size(), 1);
}

void TstMenuWindow::init()
{
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    QString error;
    QVERIFY2(menutest::WriteMenuCompany(tmp_->path(), &error), qPrintable(error));
    QVERIFY2(MenuConfig::Load(tmp_->path(), &config_, &error), qPrintable(error));
    host_ = std::make_unique<MenuHost>(config_);
    QVERIFY2(host_->listen(&error), qPrintable(error));
    launcher_ = std::make_unique<ModuleLauncher>(*host_);
    window_ = std::make_unique<MenuWindow>(*host_, *launcher_);
}

void TstMenuWindow::cleanup()
{
    module_.reset();
    window_.reset();
    launcher_.reset();
    host_.reset();
    qunsetenv("KEM_DISTINTA");
}

void TstMenuWindow::listsTheFunctions()
{
    auto *list = window_->findChild<QTreeWidget *>(QStringLiteral("functions"));
    QVERIFY(list);
    QCOMPARE(list->topLevelItemCount(), 2);
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + QLatin1Char('|') + list->topLevelItem(i)->text(1);
    // In the order of the table, a missing description left blank.
    QCOMPARE(rows, (QStringList{QStringLiteral("Stampa distinta base|Distinta base"),
                                QStringLiteral("Stampa fabbisogni|")}));
}

void TstMenuWindow::activatingAFunctionLaunchesTheModule()
{
    const QString argsFile = QDir(tmp_->path()).filePath(QStringLiteral("args.txt"));
    const QString module = QDir(tmp_->path()).filePath(QStringLiteral("modulo.sh"));
    QVERIFY(menutest::WriteText(module, "#!/bin/sh\necho \"$*\" > \"" + argsFile.toUtf8() + ".tmp\"\nmv \"" +
                                            argsFile.toUtf8() + ".tmp\" \"" + argsFile.toUtf8() + "\"\n"));
    QFile::setPermissions(module, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("KEM_DISTINTA", module.toLocal8Bit());

    auto *list = window_->findChild<QTreeWidget *>(QStringLiteral("functions"));
    QVERIFY(list);
    QTreeWidgetItem *item = list->findItems(QStringLiteral("Stampa distinta base"), Qt::MatchExactly).value(0);
    QVERIFY(item);
    emit list->itemActivated(item, 0);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(argsFile), 5000);
    QFile f(argsFile);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()).trimmed(),
             QStringLiteral("/M %1 /P DIBA frmPrelvo /F frmPrelvo /I %2")
                 .arg(host_->socketName(), QDir(tmp_->path()).filePath(QStringLiteral("kemwin.ini"))));
}

void TstMenuWindow::commandWithoutProgram()
{
    auto *command = window_->findChild<QLineEdit *>(QStringLiteral("command"));
    auto *answer = window_->findChild<QLabel *>(QStringLiteral("answer"));
    QVERIFY(command && answer);
    command->setText(QStringLiteral("esiste"));
    emit command->returnPressed();
    QVERIFY(answer->text().contains(QStringLiteral("nessun programma")));
}

void TstMenuWindow::closesAtOnceWithoutPrograms()
{
    window_->show();
    QVERIFY(window_->close());
    QVERIFY(!window_->isVisible());
}

void TstMenuWindow::closesWhenTheProgramEnds()
{
    connectModule(QString());
    int asked = 0;
    window_->setRefusalPrompt([&](const QString &) {
        ++asked;
        return RefusalChoice::GoBack;
    });
    window_->show();
    window_->close();
    QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), 5000);
    QCOMPARE(module_->fineAsked(), 1);
    QCOMPARE(asked, 0);
}

// A program that refuses keeps the window open with its answer shown; going back leaves it
// open, and the knowing choice closes it with the program still connected.
void TstMenuWindow::staysOpenWhileTheProgramRefuses()
{
    connectModule(QStringLiteral("No Chiudi"));
    QStringList questions;
    RefusalChoice choice = RefusalChoice::GoBack;
    window_->setRefusalPrompt([&](const QString &question) {
        questions << question;
        return choice;
    });
    auto *answer = window_->findChild<QLabel *>(QStringLiteral("answer"));
    QVERIFY(answer);
    window_->show();
    QVERIFY(!window_->close());
    QTRY_COMPARE_WITH_TIMEOUT(questions.size(), 1, 5000);
    QVERIFY(window_->isVisible());
    QVERIFY2(answer->text().contains(QStringLiteral("\"No Chiudi\"")), qPrintable(answer->text()));
    QVERIFY2(answer->text().contains(QStringLiteral("DISTINTA")), qPrintable(answer->text()));
    QVERIFY2(questions.first().contains(QStringLiteral("\"No Chiudi\"")), qPrintable(questions.first()));
    QTest::qWait(100);
    QVERIFY(window_->isVisible());
    QCOMPARE(host_->programs().size(), 1);

    choice = RefusalChoice::LeaveRunning;
    window_->close();
    QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), 5000);
    QCOMPARE(questions.size(), 2);
    QCOMPARE(module_->fineAsked(), 2);
    QCOMPARE(host_->programs().size(), 1);
}

QTEST_MAIN(TstMenuWindow)
#include "tst_menuwindow.moc"
