#pragma once
// FrmStaFabbis, "Stampa Fabbisogni": the documents (orders or quotes), the ranges of the open
// lines to consider, the print type and the quantity options of the requirements print, and
// the run of the report object StFabbis. The form follows the report-run protocol of the
// report forms (one run at a time, the report object kept, no closing while its report runs);
// its checks are those of RequirementsSelection, so the batch run refuses the same selections.
// Boxes (control array txt): 10/20 document types, 30/40 reference dates, 55/60 reference
// numbers, 70/80 document dates, 90/100 document numbers, 110/120 delivery dates, 130/140
// customers, 150/160 articles, 170/180 article groups, 190 subgroup, 200/210 agents,
// 230 warehouse.
#include "requirements/requirementsselection.h"
#include "requirements/stfabbis.h"
#include "reportkit/reportform.h"

#include <QHash>
#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kem {

class FormRegistry;
struct ClasseAttrDialogEnv;

class FrmStaFabbis : public ReportForm {
    Q_OBJECT
public:
    static constexpr const char *kFormName = "frmStaFabbis";
    // The account kind the customer lookups list (PianoConti.TipoConto).
    static constexpr int kCustomerAccounts = 3;

    FrmStaFabbis(ProgramContext &ctx, ReportPrintServices &print, QWidget *parent = nullptr);
    ~FrmStaFabbis() override;

    // Offers the form to the menu: "Stampa Distinta Base", "frmStaFabbis" and osKeySec.
    void PassaA() override;

    // "Ordini" gives the document kind "O", "Preventivi" "P".
    void OptOrdPre_Click();
    // Lookups (F2 to F5) of the code boxes, and their "..." buttons.
    void Txt_KeyUp(int index, int keyCode, int shift);
    void ComHlp_Click(int index);
    // The account class and attribute dialog (with categories and zones), and the article one.
    void ComSelCliFor_Click();
    void ComSelClaAttr_Click();
    void ComStampa_Click() override;

    // "O" orders, "P" quotes.
    QString DocumentKind() const { return ordPre_; }
    // The filter of the document type boxes: "tipo='O'" or "tipo='P'".
    QString TipoDocFilter() const;
    // The lookup kind and filter of a code box; empty kind for the date and number boxes.
    QString KindOf(int index) const;
    QString WhereOf(int index) const;

    // The selection the form shows, or the message and the box of a date or number it cannot
    // read.
    struct Reading {
        RequirementsSelection selection;
        QString message;
        int box = 0;
    };
    Reading Selection() const;

    // The ranges of the two dialogs.
    ClasseAttrRange PdcClasseAttr() const { return pdcClasseAttr_; }
    ClasseAttrRange ArtClasseAttr() const { return artClasseAttr_; }
    QString CatDa() const { return catDa_; }
    QString CatA() const { return catA_; }
    QString ZonDa() const { return zonDa_; }
    QString ZonA() const { return zonA_; }

    StFabbis *Report() const { return static_cast<StFabbis *>(ReportForm::Report()); }

    QRadioButton *OptOrdPre[2] = {};
    QHash<int, QLineEdit *> txt;
    QHash<int, QLabel *> lab;       // descriptions of the code boxes
    QHash<int, QLabel *> labTxt;    // captions
    QHash<int, QPushButton *> ComHlp;
    QLabel *LabelClienteda = nullptr;
    QPushButton *ComSelCliFor = nullptr;
    QPushButton *ComSelClaAttr = nullptr;
    QRadioButton *OptTipoSta[3] = {};
    QRadioButton *OptQtaMostr[2] = {};
    QRadioButton *OptQtaElab[3] = {};
    QCheckBox *ChePrelvo = nullptr;
    QCheckBox *CheSemiLav = nullptr;
    QCheckBox *CheSalPag = nullptr;

protected:
    void Form_Load() override;
    std::unique_ptr<ReportRun> CreateReport(Database &db, AziendaUtilStampe &stampe,
                                            MessageSink &sink) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void addCode(QGridLayout *grid, int row, int index, const QString &caption, int column);
    void addPlain(QGridLayout *grid, int row, int index, const QString &caption, int column, bool date);
    void bindCodeFields();
    ClasseAttrDialogEnv dialogEnv() const;
    QWidget *boxOf(RequirementsSelection::Field field) const;
    // The user and program of the scratch rows.
    QString scratchUser() const;

    QString caption_;
    QString ordPre_ = QStringLiteral("O");
    ClasseAttrRange pdcClasseAttr_, artClasseAttr_;
    QString catDa_, catA_, zonDa_, zonA_;
    QHash<int, bool> dateBox_;
    bool bound_ = false;
};

// The three parts (group, ledger, account) of an account code as the customer boxes hold it,
// in the stored form; missing parts empty.
std::array<QString, 3> AccountParts(const QString &code);

void RegisterFrmStaFabbis(FormRegistry &registry, std::shared_ptr<ReportPrintServices> print);

} // namespace kem
