#pragma once
// FrmDiBaCaSo, "Sostituzione / Cancellazione articoli di base e/o semilavorati": replaces one
// component by another in every bill of materials of a range of parents (optionally with a new
// unit, valuation method, price list and a proportion applied to the quantities), or deletes
// it. The boxes decode as every code field does; "&Esegui" runs the substitution engine the
// batch shares, which asks for the confirmation and changes everything in one transaction.
// The form refuses to close while the change runs.
#include "reportkit/reportformbase.h"
#include "substitution/substitutionselection.h"

#include <QElapsedTimer>
#include <QHash>
#include <memory>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kem {

class CodeFieldBinding;
class FormRegistry;

class FrmDiBaCaSo : public ReportFormBase {
    Q_OBJECT
public:
    // The key the menu opens it by.
    static constexpr const char *kFormName = "frmDiBaCaSo";

    explicit FrmDiBaCaSo(ProgramContext &ctx, QWidget *parent = nullptr);
    ~FrmDiBaCaSo() override;

    // Hands control back to the main menu.
    void MenuFrm();
    // Offers the form to the menu with its title, "frmDiBaCaSo" and osKeySec.
    void PassaA() override;

    void OptTipoOpe_Click();
    void ComOk_Click();
    void ComChiudi_Click();
    void ComHlp_Click(int index);

    // The request the boxes hold.
    SubstitutionSelection Selection() const;
    // A box is in error when its background is the company's error colour.
    bool IsInError(int index) const;
    bool Processing() const { return processing_; }

    // Boxes 10 (component), 20 (replacement), 30 (unit), 40 (proportion), 50 (list), 60 and 70
    // (parents); description labels 10, 20, 30, 50, 60, 70; lookup buttons of the code boxes;
    // labTxt the caption of each box.
    QHash<int, QLineEdit *> txt;
    QHash<int, QLabel *> lab;
    QHash<int, QPushButton *> ComHlp;
    QHash<int, QLabel *> labTxt;
    QFrame *Frame1 = nullptr;
    QRadioButton *OptTipoOpe[2] = {nullptr, nullptr};
    QFrame *FraDatiSost = nullptr;
    QComboBox *CobQualeImporto = nullptr;
    QFrame *Frame2 = nullptr;
    QRadioButton *OptOperatore[2] = {nullptr, nullptr};
    QFrame *PictInElab = nullptr;
    QLineEdit *txtInElab = nullptr;
    QLineEdit *txtTotElab = nullptr;
    QPushButton *ComOk = nullptr;
    QPushButton *ComChiudi = nullptr;

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    QString whereOf(int index) const;
    // Leaving txt(20) with a new code: txt(30) gets the new article's stock unit.
    void replacementLeft();
    // Leaving txt(40): a number, shown with "#,##0.#####"; else the error colour.
    void proportionLeft();
    // The progress of a row-by-row update: the interface let through at every row, the boxes
    // repainted at most every 100 ms.
    void showProgress(qint64 done, qint64 total);
    void setProcessing(bool on);

    QList<CodeFieldBinding *> bindings_;
    QString caption_;
    QString entered20_;  // txt(20) when it got the focus
    bool processing_ = false;
    QElapsedTimer painted_;
};

// Adds "frmDiBaCaSo" to the forms the dispatcher opens.
void RegisterFrmDiBaCaSo(FormRegistry &registry);

} // namespace kem
