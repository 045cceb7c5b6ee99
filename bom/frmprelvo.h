#pragma once
// FrmPrelvo, "Stampa distinta base": the selection and options of the BOM print, the choice of
// the print destination and the run of the report object Prelvo. The form follows the
// report-run protocol: one run at a time in the program, the report and options objects made
// on first use and kept, no closing while its report runs.
#include "bom/bomselection.h"
#include "bom/prelvo.h"
#include "reportkit/reportform.h"

#include <QHash>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kem {

class FormRegistry;

class FrmPrelvo : public ReportForm {
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

    void CheEspScal_Click();
    void CheSalPag_Click();
    void CheStampoCosti_Click();
    void CobQualePrezzo_Click();
    void CobTipoDiBaArt_Click();
    void ComStampa_Click() override;
    void ComHlp_Click(int index);
    void Txt_GotFocus(int index);
    void Txt_KeyUp(int index, int keyCode, int shift);
    void Txt_LostFocus(int index);

    // The report object (nullptr before the first run).
    Prelvo *Report() const { return static_cast<Prelvo *>(ReportForm::Report()); }
    // The selection the boxes hold.
    BomSelection Selection() const;
    // The kind filter of the article lookups (" DistBase = 1", " DistBase = 2" or blank).
    QString KindFilter() const { return kindFilter_; }
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

protected:
    void Form_Load() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    std::unique_ptr<ReportRun> CreateReport(Database &db, AziendaUtilStampe &stampe,
                                            MessageSink &sink) override;

private:
    void build();
    void connectControls();
    // The shared numeric check of a box: not a number paints it in the error colour.
    bool numericCheck(int index, const QString &format);
    int indexOf(QObject *box) const;

    QString caption_;
    QString kindFilter_;
    bool qtaDaDimen_ = false;
    int focusBack_ = 0;
    bool inHandler_ = false;  // a lookup or message of a box handler is open
};

// Adds "frmPrelvo" to the forms the dispatcher opens; the forms share `print`.
void RegisterFrmPrelvo(FormRegistry &registry, std::shared_ptr<ReportPrintServices> print);

} // namespace kem
