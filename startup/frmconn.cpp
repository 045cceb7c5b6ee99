#include "startup/frmconn.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace kem {

frmConnWindow::frmConnWindow(QWidget *parent) : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Connessione al database"));
    auto *layout = new QVBoxLayout(this);
    labTitolo = new QLabel(this);
    QFont big = labTitolo->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    labTitolo->setFont(big);
    labVersione = new QLabel(QStringLiteral("Versione 9.99"), this);
    LabDataVer = new QLabel(QStringLiteral("del 06/11/1998"), this);
    imgLogo = new QLabel(this);
    imgLogo->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    imgAccess = new QLabel(this);
    imgAccess->setPixmap(style()->standardIcon(QStyle::SP_DriveHDIcon).pixmap(32, 32));
    imgOracle = new QLabel(this);
    imgOracle->setPixmap(style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(32, 32));
    imgOracle->hide();
    txtNomeDb = new QLineEdit(this);
    txtNomeDb->setReadOnly(true);
    auto *images = new QHBoxLayout;
    images->addWidget(imgLogo);
    images->addStretch();
    images->addWidget(imgAccess);
    images->addWidget(imgOracle);
    layout->addLayout(images);
    layout->addWidget(labTitolo);
    layout->addWidget(labVersione);
    layout->addWidget(LabDataVer);
    layout->addWidget(txtNomeDb);
    resize(420, 220);
}

frmConn::~frmConn()
{
    Unload();
}

void frmConn::Load()
{
    if (window_)
        return;
    window_ = new frmConnWindow;
    window_->setAttribute(Qt::WA_DeleteOnClose);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window_->move(area.center() - window_->rect().center());
    }
}

void frmConn::Unload()
{
    if (window_)
        delete window_.data();
}

void frmConn::setAccessImageVisible(bool visible)
{
    if (window_)
        window_->imgAccess->setVisible(visible);
}

void frmConn::setTitleVisible(bool visible)
{
    if (window_)
        window_->labTitolo->setVisible(visible);
}

void frmConn::setTitle(const QString &text)
{
    if (window_)
        window_->labTitolo->setText(text);
}

void frmConn::setVersion(const QString &text)
{
    if (window_) {
        window_->labVersione->setText(text);
        window_->labVersione->setVisible(true);
    }
}

void frmConn::setVersionDate(const QString &text)
{
    if (window_) {
        window_->LabDataVer->setText(text);
        window_->LabDataVer->setVisible(true);
    }
}

void frmConn::setDatabaseName(const QString &text)
{
    if (window_)
        window_->txtNomeDb->setText(text);
}

void frmConn::ShowModeless(const QString &caption)
{
    if (!window_)
        Load();
    window_->setWindowTitle(caption);
    window_->show();
    window_->repaint();
    QApplication::processEvents();
}

} // namespace kem
