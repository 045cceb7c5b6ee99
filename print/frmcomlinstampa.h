#pragma once
// "Stampa dati della lista": prints the rows of a grid (all columns or the visible ones,
// portrait or landscape, in a chosen font) through the list-print object.
#include "print/gridlistprint.h"
#include "platform/printlib/printfont.h"

#include <QDialog>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QRadioButton;
class QTableView;

namespace kem {

class AziendaUtilStampe;
class PrintOptions;
class frmStampaInCorso;

class FrmComlinStampa : public QDialog {
    Q_OBJECT
public:
    FrmComlinStampa(AziendaUtilStampe &util, std::shared_ptr<PrintOptions> options, QWidget *parent = nullptr);
    ~FrmComlinStampa() override;

    // The grid whose rows are printed (its model, and which columns are hidden).
    void GridSet(QTableView *grid) { m_grid = grid; }
    void TitleSet(const QString &title) { m_title = title; }

    void CmdStampa_Click();
    void ComUsaDef_Click();
    void CmdSceFont_Click();
    void VisStaAttuale();

    // The list-print object and the progress window of the runs.
    GridListPrint &ListPrint() { return m_list; }
    frmStampaInCorso *ofrmStampaInCorso() const { return m_progress; }

    // Opens the print destination dialog on the options (set by the program).
    std::function<void(PrintOptions &)> chooseDestination;
    // Binds the preview window to the run's report object before a run to the preview.
    std::function<void(PrintReport &)> bindPreview;
    // Asks for a font, starting from the given one; false when cancelled (default: the font dialog).
    std::function<bool(PrintFont &)> chooseFont;

    QRadioButton *OptTipsta[2] = {};
    QRadioButton *OptOrientamento[2] = {};
    QPushButton *CmdSceFont = nullptr;
    QPushButton *ComUsaDef = nullptr;
    QPushButton *comSceStam = nullptr;
    QLabel *labStaAttuale = nullptr;
    QPushButton *CmdStampa = nullptr;
    QPushButton *CmdEsci = nullptr;
    PrintFont font;  // the font of the list, "Arial" at first
    QString lastError;

private:
    void tell(const QString &text);
    AziendaUtilStampe &m_util;
    std::shared_ptr<PrintOptions> m_options;
    GridListPrint m_list;
    frmStampaInCorso *m_progress = nullptr;
    QTableView *m_grid = nullptr;
    QString m_title = QStringLiteral("Stampa dati della lista");
};

} // namespace kem
