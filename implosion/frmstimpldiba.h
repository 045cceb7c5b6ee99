#pragma once
// FrmStImplDiBa, "Implosione distinta": the range of components and their kind for the BOM
// implosion print, the choice of the print destination and the run of the report object
// StImplDiBa. The form follows the report-run protocol of the report forms (one run at a time,
// the report object kept, no closing while its report runs). "Tutti i livelli" also prints
// the articles that use each parent, up to the top.
#include "implosion/implosionselection.h"
#include "implosion/stimpldiba.h"
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

class FrmStImplDiBa : public ReportForm {
    Q_OBJECT
public:
    // The key the menu opens it by.
    static constexpr const char *kFormName = "frmStImplDiBa";

    FrmStImplDiBa(ProgramContext &ctx, ReportPrintServices &print, QWidget *parent = nullptr);
    ~FrmStImplDiBa() override;

    // Offers the form to the menu: "Implosione Distinta Base", "frmStImplDiBa" and osKeySec.
    void PassaA() override;

    // The lookup filter of the code fields for the kind chosen.
    void CobTipoDiBaArt_Click();
    void ComStampa_Click() override;
    // Lookups (F2 to F5) and the help buttons of the two code fields (10 and 20).
    void Txt_KeyUp(int index, int keyCode, int shift);
    void ComHlp_Click(int index);

    // The report object (nullptr before the first run).
    StImplDiBa *Report() const { return static_cast<StImplDiBa *>(ReportForm::Report()); }
    // The selection the boxes hold.
    ImplosionSelection Selection() const;
    // The kind filter of the article lookups.
    QString KindFilter() const { return kindFilter_; }

    // The code boxes ("Articolo da:" 10, "a:" 20), their descriptions, lookup buttons and captions.
    QHash<int, QLineEdit *> txt;
    QHash<int, QLabel *> lab;
    QHash<int, QPushButton *> ComHlp;
    QHash<int, QLabel *> labTxt;
    QLabel *LabTipoDiBaArt = nullptr;
    QComboBox *CobTipoDiBaArt = nullptr;
    QCheckBox *CheTuttiLivelli = nullptr;

protected:
    void Form_Load() override;
    std::unique_ptr<ReportRun> CreateReport(Database &db, AziendaUtilStampe &stampe,
                                            MessageSink &sink) override;

private:
    void build();
    void bindCodeFields();

    bool bound_ = false;
    QString caption_;
    QString kindFilter_;
};

// Adds "frmStImplDiBa" to the forms the dispatcher opens; the forms share `print`.
void RegisterFrmStImplDiBa(FormRegistry &registry, std::shared_ptr<ReportPrintServices> print);

} // namespace kem
