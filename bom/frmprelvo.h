#pragma once
// FrmPrelvo, "Stampa distinta base": the selection and options of the BOM print, the choice of
// the print destination and the run of the report object Prelvo. The form follows the
// report-run protocol: one run at a time in the program, the report and options objects made
// on first use and kept, no closing while its report runs.
#include "platform/printlib/printreport.h"
#include "print/frmstampaincorso.h"
#include "print/frmvstampa.h"
#include "startup/reportformbase.h"

#include <QHash>
#include <QPointer>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kem {

class FormKeyFilter;
class FormRegistry;
class FormServices;
class Prelvo;
class PrintOptions;
class ReportPrintServices;

class FrmPrelvo : public ReportFormBase {
    Q_OBJECT
public:
    // The key the menu opens it by.
    static constexpr const char *kFormName = "frmPrelvo";

    FrmPrelvo(ProgramContext &ctx, ReportPrintServices &print, QWidget *parent = nullptr);
    ~FrmPrelvo() override;

    // Hands control back to the main menu.
    void MenuFrm();
    // Offers the form to the menu: "Stampa Distinta Base", "frmPrelvo" and osKeySec.
    void PassaA() override;
    // labStaAttuale shows where the next run goes.
    void VisStaAttuale();

    void CheEspScal_Click();
    void CheSalPag_Click();
    void CheStampoCosti_Click();
    void CobQualePrezzo_Click();
    void CobTipoDiBaArt_Click();
    void ComStampa_Click();
    void cmdStaVid_Click();
    void comSceStam_Click();
    void ComChiudi_Click();
    void ComHlp_Click(int index);
    void Txt_GotFocus(int index);
    void Txt_KeyUp(int index, int keyCode, int shift);
    void Txt_LostFocus(int index);

    // The report object (nullptr before the first run) and the print options object.
    Prelvo *Report() const { return report_.get(); }
    PrintOptions *Options() const { return ogOpzSta_.get(); }
    // The kind filter of the article lookups (" DistBase = 1", " DistBase = 2" or blank).
    QString KindFilter() const { return kindFilter_; }
    bool PreviewUsed() const { return previewUsed_; }
    frmStampaInCorso *ProgressWindow() const { return progress_; }
    FrmVStampa *PreviewWindow() const { return preview_; }
    // A box is in error when its background is the company's error colour.
    bool IsInError(int index) const;

    // The code and number boxes by index (5, 10, 20, 30, 40, 50, 60, 70), their description
    // labels (5, 10, 20) and lookup buttons (5, 10, 20); labTxt the caption of each box.
    QHash<int, QLineEdit *> txt;
    QHash<int, QLabel *> lab;
    QHash<int, QPushButton *> ComHlp;
    QHash<int, QLabel *> labTxt;
    QLabel *LabTipoDiBaArt = nullptr;
    QComboBox *CobTipoDiBaArt = nullptr;
    QCheckBox *CheEspScal = nullptr;
    QCheckBox *CheSalPag = nullptr;
    QCheckBox *CheStampoCosti = nullptr;
    QWidget *PicCosti = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *CobQualePrezzo = nullptr;
    QCheckBox *CheStaImg = nullptr;
    QCheckBox *CheStaImgRiga = nullptr;
    QWidget *PicQtaDim = nullptr;
    QCheckBox *CheQtaDaDimen = nullptr;
    QLabel *labStaAttuale = nullptr;
    QPushButton *cmdStaVid = nullptr;
    QPushButton *ComStampa = nullptr;
    QPushButton *comSceStam = nullptr;
    QPushButton *ComChiudi = nullptr;

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class RunWindows;

    void build();
    void connectControls();
    PrintOptions &options();
    Prelvo &report();
    FormServices *services() const;
    // Plain message box with an OK button (system box of the program).
    void messageBox(const QString &text);
    // A failed field check: the message with "&Ok", the focus to the box.
    void fieldError(const QString &text, int index);
    // The shared numeric check of a box: not a number paints it in the error colour.
    bool numericCheck(int index, const QString &format);
    int indexOf(QObject *box) const;

    ReportPrintServices &print_;
    std::unique_ptr<Prelvo> report_;
    std::shared_ptr<PrintOptions> ogOpzSta_;
    std::unique_ptr<RunWindows> runWindows_;
    QPointer<frmStampaInCorso> progress_;
    QPointer<FrmVStampa> preview_;
    FormKeyFilter *keyFilter_ = nullptr;
    QString caption_;
    bool previewUsed_ = false;
    QString kindFilter_;
    bool qtaDaDimen_ = false;
    int focusBack_ = 0;
    bool inHandler_ = false;  // a lookup or message of a box handler is open
};

// Adds "frmPrelvo" to the forms the dispatcher opens; the forms share `print`.
void RegisterFrmPrelvo(FormRegistry &registry, std::shared_ptr<ReportPrintServices> print);

} // namespace kem
