#include "print/frmstampaincorso.h"

#include "platform/printlib/printoptions.h"
#include "platform/printlib/printreport.h"
#include "print/frmsceltastam.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kem {

frmStampaInCorso::frmStampaInCorso(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmStampaInCorso"));
    setWindowTitle(QStringLiteral("Stampa ordini in corso"));
    // Screen adaptation reads the form's own factor under this key.
    setProperty("osRisVidKey", QStringLiteral("StaVid"));
    picLogo = new QLabel(this);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    lblStamp = new QLabel(QStringLiteral("Stampa ordine in corso."), this);
    lblStamp->setObjectName(QStringLiteral("lblStamp"));
    LblPrePag = new QLabel(QStringLiteral("In stampa la pagina:"), this);
    LblPrePag->setObjectName(QStringLiteral("LblPrePag"));
    LblPag = new QLabel(this);
    LblPag->setObjectName(QStringLiteral("LblPag"));
    ComStampa = new QPushButton(QStringLiteral("Interrompi la stampa"), this);
    ComStampa->setObjectName(QStringLiteral("ComStampa"));
    LblPrePag->setVisible(false);
    LblPag->setVisible(false);

    auto *text = new QVBoxLayout;
    text->addWidget(lblStamp);
    auto *page = new QHBoxLayout;
    page->addWidget(LblPrePag);
    page->addWidget(LblPag);
    page->addStretch();
    text->addLayout(page);
    text->addWidget(ComStampa);
    auto *top = new QHBoxLayout(this);
    top->addWidget(picLogo);
    top->addLayout(text);
    connect(ComStampa, &QPushButton::clicked, this, &frmStampaInCorso::ComStampa_Click);
}

frmStampaInCorso::~frmStampaInCorso()
{
    Bind(nullptr);
}

void frmStampaInCorso::EmailContextSet(const PrintEnv *env, std::shared_ptr<PrintOptions> options)
{
    m_env = env;
    m_options = std::move(options);
}

bool frmStampaInCorso::ChiediEmailLogPwd(QString *login, QString *pwd)
{
    if (!m_env)
        return false;
    // The dialog edits an options record; a run without one asks on a scratch record.
    std::shared_ptr<PrintOptions> options = m_options ? m_options : std::make_shared<PrintOptions>();
    FrmSceltaStam dialog(*m_env, *options, false, nullptr, this);
    if (runCredentialDialog)
        dialog.runModal = runCredentialDialog;
    return dialog.RichDatiEmail(true, true, login, pwd);
}

void frmStampaInCorso::EmailLoginAccepted(const QString &login, const QString &pwd)
{
    if (!m_options)
        return;
    m_options->ParamSet(QStringLiteral("EmailLogin"), PrintOptions::ParamAny, login);
    m_options->ParamSet(QStringLiteral("EmailPwd"), PrintOptions::ParamAny, pwd);
}

void frmStampaInCorso::LogoSet(const QPixmap &logo)
{
    picLogo->setPixmap(logo);
}

void frmStampaInCorso::Bind(PrintReport *report)
{
    if (m_report) {
        disconnect(m_pageConnection);
        if (m_report->ProgressFormGet() == this)
            m_report->ProgressFormSet(nullptr);
    }
    m_report = report;
    if (report) {
        report->ProgressFormSet(this);
        m_pageConnection = connect(report, &PrintReport::pageStarted, this, &frmStampaInCorso::PageShow);
    }
}

void frmStampaInCorso::Prepare(PrintReport &report, const QString &title)
{
    setWindowTitle(title);
    lblStamp->setText(title);
    LblPrePag->setVisible(true);
    LblPag->setVisible(true);
    LblPag->setText(QStringLiteral("000"));
    Bind(&report);
}

bool frmStampaInCorso::StartJob(PrintReport &report, bool *cancelled)
{
    bool stop = false;
    const bool ok = report.JobStart(1, &stop);
    if (cancelled)
        *cancelled = stop;
    if (ok && !stop) {
        show();
        report.JobModeSet(6);
    }
    return ok && !stop;
}

void frmStampaInCorso::PageShow(int page)
{
    LblPag->setText(QStringLiteral("%1").arg(page, 3, 10, QLatin1Char('0')));
}

void frmStampaInCorso::ComStampa_Click()
{
    if (m_report)
        m_report->StopSet(1);
}

void frmStampaInCorso::closeEvent(QCloseEvent *event)
{
    Bind(nullptr);
    QWidget::closeEvent(event);
    if (onUnload)
        onUnload();
}

} // namespace kem
