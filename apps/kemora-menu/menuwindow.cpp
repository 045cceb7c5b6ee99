#include "apps/kemora-menu/menuwindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kem {

namespace {
enum Role { ChiaveRole = Qt::UserRole, ChiaveSecRole };
}

MenuWindow::MenuWindow(MenuHost &host, ModuleLauncher &launcher, QWidget *parent)
    : QWidget(parent), host_(host), launcher_(launcher), functions_(new QTreeWidget(this)),
      programs_(new QComboBox(this)), command_(new QLineEdit(this)), param_(new QLineEdit(this)),
      text2_(new QLineEdit(this)), answer_(new QLabel(this)), log_(new QPlainTextEdit(this)),
      closing_(host)
{
    connect(&closing_, &MenuClosing::finished, this, &MenuWindow::closingFinished);
    functions_->setObjectName(QStringLiteral("functions"));
    programs_->setObjectName(QStringLiteral("programs"));
    command_->setObjectName(QStringLiteral("command"));
    param_->setObjectName(QStringLiteral("param"));
    text2_->setObjectName(QStringLiteral("text2"));
    answer_->setObjectName(QStringLiteral("answer"));
    setWindowTitle(QStringLiteral("Kemora - Menu (%1)").arg(host_.config().companyDir()));
    functions_->setHeaderLabels({QStringLiteral("Funzione"), QStringLiteral("Descrizione")});
    functions_->setRootIsDecorated(false);
    functions_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(functions_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item, int) { openEntry(item); });

    command_->setPlaceholderText(QStringLiteral("fine, passaa, attiva, esiste, ..."));
    auto *send = new QPushButton(QStringLiteral("&Invia"), this);
    connect(send, &QPushButton::clicked, this, &MenuWindow::sendCommand);
    connect(command_, &QLineEdit::returnPressed, this, &MenuWindow::sendCommand);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Programma"), programs_);
    form->addRow(QStringLiteral("Comando"), command_);
    form->addRow(QStringLiteral("Parametro"), param_);
    form->addRow(QStringLiteral("Testo 2"), text2_);
    auto *sendRow = new QHBoxLayout;
    sendRow->addWidget(send);
    sendRow->addWidget(answer_, 1);
    form->addRow(QStringLiteral("Risposta"), sendRow);

    log_->setReadOnly(true);
    log_->setMaximumBlockCount(2000);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(functions_, 2);
    layout->addLayout(form);
    layout->addWidget(log_, 1);
    resize(640, 480);

    connect(&host_, &MenuHost::logLine, this, &MenuWindow::appendLog);
    connect(&launcher_, &ModuleLauncher::logLine, this, &MenuWindow::appendLog);
    connect(&host_, &MenuHost::programsChanged, this, &MenuWindow::refreshPrograms);
    connect(&host_, &MenuHost::activateRequested, this, [this] {
        showNormal();
        raise();
        activateWindow();
    });
    connect(&host_, &MenuHost::messageRequested, this, [this](const QString &text) {
        auto *box = new QMessageBox(QMessageBox::Information, windowTitle(), text, QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    });
    connect(&host_, &MenuHost::commandAnswered, this, [this](int, qint64 id, const QVariant &r) {
        if (id == waitingFor_) {
            waitingFor_ = 0;
            answer_->setText(QLatin1Char('"') + r.toString() + QLatin1Char('"'));
        }
    });
    connect(&host_, &MenuHost::commandLost, this, [this](int, qint64 id) {
        if (id == waitingFor_) {
            waitingFor_ = 0;
            answer_->setText(QStringLiteral("(il programma si è chiuso senza rispondere)"));
        }
    });
    host_.setLoginPrompt([this](QString *login, QString *password) {
        bool ok = false;
        const QString l = QInputDialog::getText(this, QStringLiteral("Accesso SQL"), QStringLiteral("Utente"),
                                                QLineEdit::Normal, *login, &ok);
        if (!ok)
            return false;
        const QString p = QInputDialog::getText(this, QStringLiteral("Accesso SQL"), QStringLiteral("Password"),
                                                QLineEdit::Password, QString(), &ok);
        if (!ok)
            return false;
        *login = l;
        *password = p;
        return true;
    });
    loadFunctions();
    refreshPrograms();
}

void MenuWindow::loadFunctions()
{
    functions_->clear();
    try {
        for (const MenuEntry &e : host_.database().entries()) {
            auto *item = new QTreeWidgetItem(functions_, {e.caption, e.descPrg});
            item->setData(0, ChiaveRole, e.chiave);
            item->setData(0, ChiaveSecRole, e.chiaveSec);
        }
        if (functions_->topLevelItemCount() > 0)
            functions_->setCurrentItem(functions_->topLevelItem(0));
    } catch (const std::exception &e) {
        appendLog(QString::fromUtf8(e.what()));
    }
}

void MenuWindow::refreshPrograms()
{
    const int current = programs_->currentData().toInt();
    programs_->clear();
    for (const MenuHost::Program &p : host_.programs()) {
        programs_->addItem(QStringLiteral("[%1] %2 %3%4")
                               .arg(p.session)
                               .arg(p.programKey, p.extraText,
                                    p.registered ? QString() : QStringLiteral(" (non registrato)")),
                           p.session);
    }
    const int index = programs_->findData(current);
    if (index >= 0)
        programs_->setCurrentIndex(index);
}

void MenuWindow::openEntry(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const QString chiave = item->data(0, ChiaveRole).toString();
    const QString chiaveSec = item->data(0, ChiaveSecRole).toString();
    QString error;
    if (!launcher_.open(chiave, chiaveSec, host_.config().formFor(chiave, chiaveSec), &error))
        QMessageBox::warning(this, windowTitle(), error);
}

void MenuWindow::sendCommand()
{
    const QString command = command_->text().trimmed();
    if (command.isEmpty())
        return;
    const int session = programs_->currentData().toInt();
    const qint64 id = host_.sendCommand(session, QString(), text2_->text(), command,
                                        param_->text().isEmpty() ? QVariant() : QVariant(param_->text()));
    if (id == 0) {
        answer_->setText(QStringLiteral("(nessun programma collegato)"));
        return;
    }
    waitingFor_ = id;
    answer_->setText(QStringLiteral("(in attesa...)"));
}

void MenuWindow::appendLog(const QString &line)
{
    log_->appendPlainText(line);
}

void MenuWindow::closeEvent(QCloseEvent *event)
{
    if (closeAllowed_ || host_.programs().isEmpty()) {
        event->accept();
        return;
    }
    // The programs are asked first; the window closes when they have ended.
    event->ignore();
    if (!closing_.running()) {
        answer_->setText(QStringLiteral("(chiusura dei programmi in corso...)"));
        closing_.start();
    }
}

void MenuWindow::closingFinished(const QList<ProgramRefusal> &refusals)
{
    if (refusals.isEmpty()) {
        answer_->setText(QString());
        closeAllowed_ = true;
        close();
        return;
    }
    const QString answer = RefusalAnswerText(refusals);
    answer_->setText(answer);
    appendLog(QStringLiteral("Chiusura del menu rifiutata: ") + answer);
    if (askRefusal(RefusalQuestion(refusals)) == RefusalChoice::LeaveRunning) {
        appendLog(QStringLiteral("Il menu si chiude lasciando i programmi in esecuzione"));
        closeAllowed_ = true;
        close();
    }
}

RefusalChoice MenuWindow::askRefusal(const QString &question)
{
    if (refusalPrompt_)
        return refusalPrompt_(question);
    QMessageBox box(QMessageBox::Question, RefusalTitle(), question, QMessageBox::NoButton, this);
    QPushButton *back = box.addButton(GoBackButtonText(), QMessageBox::RejectRole);
    box.addButton(LeaveRunningButtonText(), QMessageBox::AcceptRole);
    box.setDefaultButton(back);
    box.setEscapeButton(back);
    box.exec();
    return box.clickedButton() == back ? RefusalChoice::GoBack : RefusalChoice::LeaveRunning;
}

} // namespace kem
