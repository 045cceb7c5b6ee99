#pragma once
// The panel of the destination dialog that stores option values in an ini file or deletes
// them: every storable option with its current value and a tick box, the file (this
// terminal's or the common one) and the section (the defaults or this report's own).
#include "print/printenv.h"
#include "print/sceltastamlogic.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kem {

class PrintOptions;

class FrmSalvaOpzSta : public QDialog {
    Q_OBJECT
public:
    FrmSalvaOpzSta(const PrintEnv &env, const PrintOptions &options, SaveMode mode, QWidget *parent = nullptr);

    SaveMode Mode() const { return m_mode; }
    // The request the ticks and choices make now.
    SaveRequest Request() const;

    void SelezionaTutto(bool on);
    // Writes or deletes the ticked options; the panel closes when that worked, otherwise the
    // reason is shown and the panel stays open.
    void ComConferma_Click();

    QGroupBox *FraDove = nullptr;        // "Dove salvare" / "Dove cancellare"
    QRadioButton *OptFile[2] = {};       // this terminal, all terminals
    QRadioButton *OptSezione[2] = {};    // "Opzioni Stampa", the report's section
    QList<QCheckBox *> CheOpz;           // one per row of SavePanelRows(), caption = row label
    QList<QLabel *> LabValore;           // the current value of each row
    QPushButton *ComSelTutto = nullptr;
    QPushButton *ComDeselTutto = nullptr;
    QPushButton *ComConferma = nullptr;  // "&Salvare" / "&Cancellare"
    QPushButton *ComAnnulla = nullptr;

private:
    const PrintEnv &m_env;
    const PrintOptions &m_options;
    SaveMode m_mode;
};

} // namespace kem
