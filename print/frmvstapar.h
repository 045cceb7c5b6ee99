#pragma once
// Character size of the preview: a percent of the printed size (100 = as printed), shown on a
// sample text in Arial 10 at that percent, and whether the preview keeps its pages. "OK" hides
// the dialog; whoever opened it reads Percent() and MemorizzaPagine().
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollBar;

namespace kem {

class frmVStaPar : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinPercent = 25;   // the preview factor runs from 0.25
    static constexpr int kMaxPercent = 400;  // to 4
    static constexpr int kResetPercent = 67;

    explicit frmVStaPar(QWidget *parent = nullptr);

    int Percent() const;
    void PercentSet(int percent);
    bool MemorizzaPagine() const;
    // The preview factor that the percent stands for.
    double Factor() const { return Percent() / 100.0; }

    // Double click on the percent: back to 67 with page keeping ticked.
    void LabProp_DblClick();
    void OK_Click();

    QScrollBar *VsbProp = nullptr;
    QLabel *LabProp = nullptr;
    QLabel *PicProva = nullptr;
    QCheckBox *CheMemVid = nullptr;
    QPushButton *ComOK = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void VsbProp_Change(int value);
};

} // namespace kem
