#include "print/frmsalvaopzsta.h"

#include "common/messages.h"
#include "platform/printlib/printoptions.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kem {

FrmSalvaOpzSta::FrmSalvaOpzSta(const PrintEnv &env, const PrintOptions &options, SaveMode mode, QWidget *parent)
    : QDialog(parent), m_env(env), m_options(options), m_mode(mode)
{
    const bool save = mode == SaveMode::Save;
    const QString title = save ? QStringLiteral("Dove salvare") : QStringLiteral("Dove cancellare");
    setObjectName(QStringLiteral("FrmSalvaOpzSta"));
    setWindowTitle(title);

    FraDove = new QGroupBox(title, this);
    auto *where = new QGridLayout(FraDove);
    OptFile[0] = new QRadioButton(QStringLiteral("Parametri di questo terminale"), FraDove);
    OptFile[1] = new QRadioButton(QStringLiteral("Parametri comuni a tutti i terminali"), FraDove);
    OptSezione[0] = new QRadioButton(QStringLiteral("Nei valori di default"), FraDove);
    OptSezione[1] = new QRadioButton(QStringLiteral("Solo per questa stampa"), FraDove);
    auto *fileGroup = new QWidget(FraDove);
    auto *fileLayout = new QVBoxLayout(fileGroup);
    fileLayout->setContentsMargins(0, 0, 0, 0);
    fileLayout->addWidget(OptFile[0]);
    fileLayout->addWidget(OptFile[1]);
    auto *sectionGroup = new QWidget(FraDove);
    auto *sectionLayout = new QVBoxLayout(sectionGroup);
    sectionLayout->setContentsMargins(0, 0, 0, 0);
    sectionLayout->addWidget(OptSezione[0]);
    sectionLayout->addWidget(OptSezione[1]);
    where->addWidget(fileGroup, 0, 0);
    where->addWidget(sectionGroup, 0, 1);
    OptFile[0]->setChecked(true);
    OptSezione[1]->setChecked(true);
    // Without a company ini there is no file common to all terminals.
    OptFile[1]->setEnabled(!CommonIniFile(env).isEmpty());
    OptSezione[1]->setEnabled(!options.SectionKey.isEmpty());
    if (options.SectionKey.isEmpty())
        OptSezione[0]->setChecked(true);

    auto *rowsWidget = new QWidget;
    auto *rows = new QGridLayout(rowsWidget);
    rows->setVerticalSpacing(2);
    rows->setHorizontalSpacing(12);
    int r = 0;
    for (const SaveRow &row : SavePanelRows()) {
        auto *tick = new QCheckBox(row.label, rowsWidget);
        tick->setObjectName(QStringLiteral("CheOpz_") + row.key);
        auto *value = new QLabel(SavePanelValue(options, row.key, env.previewScale), rowsWidget);
        value->setObjectName(QStringLiteral("LabValore_") + row.key);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        rows->addWidget(tick, r, 0);
        rows->addWidget(value, r, 1);
        CheOpz.append(tick);
        LabValore.append(value);
        ++r;
    }
    rows->setColumnStretch(1, 1);
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(rowsWidget);
    scroll->setWidgetResizable(true);

    ComSelTutto = new QPushButton(QStringLiteral("Seleziona &tutto"), this);
    ComDeselTutto = new QPushButton(QStringLiteral("Deseleziona t&utto"), this);
    ComConferma = new QPushButton(save ? QStringLiteral("&Salvare") : QStringLiteral("&Cancellare"), this);
    ComAnnulla = new QPushButton(QStringLiteral("Annu&lla"), this);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(ComSelTutto);
    buttons->addWidget(ComDeselTutto);
    buttons->addStretch();
    buttons->addWidget(ComConferma);
    buttons->addWidget(ComAnnulla);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FraDove);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
    resize(680, 740);

    connect(ComSelTutto, &QPushButton::clicked, this, [this] { SelezionaTutto(true); });
    connect(ComDeselTutto, &QPushButton::clicked, this, [this] { SelezionaTutto(false); });
    connect(ComConferma, &QPushButton::clicked, this, &FrmSalvaOpzSta::ComConferma_Click);
    connect(ComAnnulla, &QPushButton::clicked, this, &QDialog::reject);
}

SaveRequest FrmSalvaOpzSta::Request() const
{
    SaveRequest r;
    r.mode = m_mode;
    r.commonFile = OptFile[1]->isChecked();
    r.defaultSection = OptSezione[0]->isChecked();
    const QList<SaveRow> &rows = SavePanelRows();
    for (int i = 0; i < rows.size(); ++i)
        if (CheOpz[i]->isChecked())
            r.keys.append(rows[i].key);
    return r;
}

void FrmSalvaOpzSta::SelezionaTutto(bool on)
{
    for (QCheckBox *c : CheOpz)
        c->setChecked(on);
}

void FrmSalvaOpzSta::ComConferma_Click()
{
    QString error;
    if (!ApplySaveRequest(m_env, m_options, Request(), &error)) {
        if (m_env.sink)
            m_env.sink->msgCom(error, {QStringLiteral("&Ok")});
        return;
    }
    accept();
}

} // namespace kem
