#pragma once
// "Scelta della modalità di stampa": where and how a report prints. The dialog edits the
// caller's options record in place (every change is written to it at once) and refuses to
// close while the record is not consistent.
#include "print/pdfemailpage.h"
#include "print/printenv.h"
#include "print/sceltastamlogic.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

namespace kem {

class FrmAiutoLookup;
class FrmSalvaOpzSta;
class PrintOptions;

// What the file dialog is asked and what it answers.
struct FileNameRequest {
    QString title;
    QString folder;        // where it starts
    QString fileName;      // the current name
    QStringList filters;   // "Testo (*.txt)", ...
    int filter = 1;        // the filter selected at first, 1 for the first
};
struct FileNameAnswer {
    QString fileName;
    int filter = 1;        // the chosen filter, 1 for the first
};

class FrmSceltaStam : public QDialog {
    Q_OBJECT
public:
    // printActive: a report run is going on; the dialog then shows the options and changes
    // nothing. spreadsheet: the installed spreadsheet check (nullptr: the system's).
    FrmSceltaStam(const PrintEnv &env, PrintOptions &options, bool printActive = false,
                  SpreadsheetApp *spreadsheet = nullptr, QWidget *parent = nullptr);
    ~FrmSceltaStam() override;

    // Opens the dialog modally on the record; the caller shows the new destination afterwards.
    static int Apri(const PrintEnv &env, PrintOptions &options, bool printActive, QWidget *parent = nullptr);

    // Asks for a file name; false when cancelled. Default: the save file dialog, prompting
    // before overwriting, in an existing folder, refusing read-only files.
    std::function<bool(const FileNameRequest &, FileNameAnswer *)> askFileName;
    // Runs the save/delete panel; default: exec().
    std::function<int(FrmSalvaOpzSta &)> runPanel;
    // "Cerca" of the page: a folder or file for the field, empty when cancelled. Default: the
    // folder or file dialog with the field's title and filter.
    std::function<QString(const PdfEmailField &, const QString &current)> askPath;
    // Runs the customer address lookup; default: exec().
    std::function<int(FrmAiutoLookup &)> runLookup;
    // Runs the dialog in credential mode; default: exec().
    std::function<int(FrmSceltaStam &)> runModal;

    // Credential mode: the page alone, with only the login (pbLogin) and the password (pbPwd)
    // to fill. True with the pair given on "&Ok"; false when the user gave up sending.
    static constexpr int RichDatiEmailMode = 1000;
    bool RichDatiEmail(bool pbLogin, bool pbPwd, QString *login, QString *pwd);
    int oiRichDatiEmail = 0;

    // The page "Par ini Pdf/Email".
    void ComSalvaIni_Click();
    void ComRileggiIni_Click();
    void ComCancIni_Click();
    void ComOkPdf_Click();
    void ComAnnullaPdf_Click();
    void ComCerca_Click(const QString &key);
    void ComHlpEmail_Click();   // customer address lookup for "EmailToTemp"
    // The parameters as the page shows them now.
    PdfEmailParams PdfEmailPageParams() const;
    // A field's editor (QLineEdit, QCheckBox or QComboBox), its tick box and its "Cerca".
    QWidget *PdfEmailEditor(const QString &key) const { return m_pdfEditors.value(key.toLower()); }
    QCheckBox *PdfEmailTick(const QString &key) const { return m_pdfTicks.value(key.toLower()); }
    QPushButton *PdfEmailCerca(const QString &key) const { return m_pdfCerca.value(key.toLower()); }
    // Sets a field's value as the user would.
    void PdfEmailSetValue(const QString &key, const QString &value);
    // True when the field is marked invalid.
    bool PdfEmailInvalid(const QString &key) const;
    bool PdfEmailChanged() const { return m_pdfDirty; }

    void OptStampaSu_Click(int index);
    void GriPri_Click(int row);
    void GriPorte_Click(int row);
    void ComUsaDef_Click();
    void cboCassetti_Click(int index);
    void cboTipoCarta_Click(int index);
    void ComPaperSize_Click();
    void ComOpzFile_Click();   // "Cambia": output file name and format
    void ComOpzFis_Click();    // "&Nome File": fixed-width output file
    void ComSalOpz_Click();
    void ComCancOpz_Click();
    void ComChiudi_Click();
    void VisStaAttuale();
    // The items of the bin and paper lists now.
    const QList<PaperItem> &BinItemsShown() const { return m_bins; }
    const QList<PaperItem> &SizeItemsShown() const { return m_sizes; }
    // The list of printers without bins, as normalised at load.
    const NoBinsPrinters &NoBins() const { return m_noBins; }

    // Refuses closing while the record is not consistent.
    void done(int result) override;

    QRadioButton *OptStampaSu[4] = {};
    QGroupBox *FraStampaSu[4] = {};
    QTableWidget *GriPri = nullptr;
    QTableWidget *GriPorte = nullptr;
    QPushButton *ComUsaDef = nullptr;
    QComboBox *cboCassetti = nullptr;
    QComboBox *cboTipoCarta = nullptr;
    QPushButton *ComPaperSize = nullptr;
    QCheckBox *CheForzaVert = nullptr;
    QCheckBox *CheNumPag = nullptr;
    QLineEdit *TxtPaginaDa = nullptr;
    QLineEdit *TxtPaginaA = nullptr;
    QRadioButton *OptSepCampi[4] = {};
    QRadioButton *OptDelimStr[3] = {};
    QCheckBox *CheNumNoForm = nullptr;
    QPushButton *ComOpzFile = nullptr;
    QLabel *LabFileName = nullptr;
    QLabel *LabFileForm = nullptr;
    QLineEdit *TxtFisMrAlt = nullptr;
    QLineEdit *TxtFisMrBas = nullptr;
    QLineEdit *TxtFisColonne = nullptr;
    QLineEdit *TxtFisRighe = nullptr;
    QCheckBox *CheFisUtilComp = nullptr;
    QLineEdit *TxtFisCodIniComp = nullptr;
    QLineEdit *TxtFisCodFinComp = nullptr;
    QPushButton *ComOpzFis = nullptr;
    QLabel *LabFileStampaFis = nullptr;
    QCheckBox *ChePdfAutom = nullptr;
    QCheckBox *CheInviaEmail = nullptr;
    QLabel *labStaAttuale = nullptr;
    QPushButton *ComSalOpz = nullptr;
    QPushButton *ComCancOpz = nullptr;
    QPushButton *ComChiudi = nullptr;

    QTabWidget *TabPagine = nullptr;
    QWidget *PagPdfEmail = nullptr;
    QRadioButton *OptIniPdf[2] = {};  // "Parametri comuni a tutti i terminali", "Parametri di questo terminale"
    QPushButton *ComSalvaIni = nullptr;
    QPushButton *ComRileggiIni = nullptr;
    QPushButton *ComCancIni = nullptr;
    QPushButton *ComOkPdf = nullptr;
    QPushButton *ComAnnullaPdf = nullptr;
    QPushButton *ComHlpEmail = nullptr;

private:
    void build();
    void load();
    void connectControls();
    void choosePrinter(const QString &name, const QString &port);
    void selectPrinterRow(const QString &name);
    void fillPorts();
    void fillPaperLists();
    void showFileLabels();
    void openPanel(SaveMode mode);
    void tell(const QString &text);
    QString currentPrinter() const;
    bool defaultFileDialog(const FileNameRequest &request, FileNameAnswer *answer);
    QWidget *buildPdfEmailPage();
    void showPdfEmailValues(const PdfEmailParams &params);
    void markPdfField(const QString &key);
    void showPdfBoxes();
    QStringList tickedPdfKeys() const;
    bool confirm(const QString &question);
    QString defaultPath(const PdfEmailField &field, const QString &current);

    const PrintEnv &m_env;
    PrintOptions &m_options;
    bool m_printActive;
    SpreadsheetApp *m_spreadsheet;
    std::unique_ptr<SpreadsheetApp> m_ownSpreadsheet;
    NoBinsPrinters m_noBins;
    QList<PaperItem> m_bins, m_sizes;
    bool m_loading = false;
    QHash<QString, QWidget *> m_pdfEditors;   // lower-case key -> editor
    QHash<QString, QCheckBox *> m_pdfTicks;
    QHash<QString, QPushButton *> m_pdfCerca;
    PdfEmailParams m_pdfConfirmed;             // the values of the last "&Ok" (or of the load)
    bool m_pdfDirty = false;
    bool m_cancelAsked = false;
};

} // namespace kem
