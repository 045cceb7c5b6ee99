#include "print/frmvstapar.h"

#include <QCheckBox>
#include <QEvent>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace kem {

frmVStaPar::frmVStaPar(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmVStaPar"));
    setWindowTitle(QStringLiteral("Grandezza visualizzazione stampe"));

    VsbProp = new QScrollBar(Qt::Vertical, this);
    VsbProp->setObjectName(QStringLiteral("VsbProp"));
    VsbProp->setRange(kMinPercent, kMaxPercent);
    VsbProp->setSingleStep(1);
    VsbProp->setPageStep(10);
    VsbProp->setValue(100);
    LabProp = new QLabel(QStringLiteral("100"), this);
    LabProp->setObjectName(QStringLiteral("LabProp"));
    LabProp->setAlignment(Qt::AlignCenter);
    LabProp->setFrameShape(QFrame::Box);
    LabProp->setMinimumWidth(LabProp->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8);
    LabProp->installEventFilter(this);
    PicProva = new QLabel(this);
    PicProva->setObjectName(QStringLiteral("PicProva"));
    PicProva->setAutoFillBackground(true);
    QPalette white = PicProva->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    PicProva->setPalette(white);
    PicProva->setFrameShape(QFrame::Box);
    PicProva->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PicProva->setWordWrap(true);
    PicProva->setMinimumSize(420, 140);
    CheMemVid = new QCheckBox(QStringLiteral("Memorizza pagine"), this);
    CheMemVid->setObjectName(QStringLiteral("CheMemVid"));
    ComOK = new QPushButton(QStringLiteral("OK"), this);
    ComOK->setObjectName(QStringLiteral("ComOK"));
    ComOK->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(PicProva, 0, 0, 3, 1);
    grid->addWidget(VsbProp, 0, 1, 2, 1);
    grid->addWidget(LabProp, 2, 1);
    grid->addWidget(CheMemVid, 3, 0);
    grid->addWidget(ComOK, 3, 1);

    connect(VsbProp, &QScrollBar::valueChanged, this, &frmVStaPar::VsbProp_Change);
    connect(ComOK, &QPushButton::clicked, this, &frmVStaPar::OK_Click);
    VsbProp_Change(VsbProp->value());
}

int frmVStaPar::Percent() const
{
    return VsbProp->value();
}

void frmVStaPar::PercentSet(int percent)
{
    VsbProp->setValue(percent);  // the scroll bar keeps it within its range
}

bool frmVStaPar::MemorizzaPagine() const
{
    return CheMemVid->isChecked();
}

void frmVStaPar::VsbProp_Change(int value)
{
    LabProp->setText(QString::number(value));
    QFont sample(QStringLiteral("Arial"));
    sample.setPointSizeF(10.0 * value / 100.0);
    PicProva->clear();
    PicProva->setFont(sample);
    PicProva->setText(QStringLiteral("Testo di Prova. Grandezza dei Caratteri in stampa, ")
                      + QLatin1Char('\n') + QStringLiteral("usando come Font base Arial di grandezza 10 "));
}

void frmVStaPar::LabProp_DblClick()
{
    PercentSet(kResetPercent);
    CheMemVid->setChecked(true);
}

void frmVStaPar::OK_Click()
{
    hide();
}

bool frmVStaPar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == LabProp && event->type() == QEvent::MouseButtonDblClick) {
        LabProp_DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kem
