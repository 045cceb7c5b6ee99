#pragma once
// The services every form of the module uses for its code fields and its keys: focus colours,
// lookups (F2 to F5) through the help component, decoding on leaving a field, the date and
// mandatory-field checks, the form key handler (menu keyboard macros, find and replace, Enter
// as Tab), the form load, activation and key press routines, the promotion message.
// One instance per program, built by the program's context and handed to the forms:
//     KemAiutoDecod aiuto(companyDb);                 // platform/help
//     CodeFieldParams codeParams(menu, iniContext);   // personal parameters of the code fields
//     DialogTextPrompter prompter;                    // input boxes of find and replace
//     FormServices services(companyParams, menu, msgSink, aiuto, codeParams, prompter, dataMinima);
// A form then calls FormLoad / FormActivate, creates a FormKeyFilter (Form_KeyDown and
// Form_KeyPress) and either a CodeFieldBinding per code field or, from its own Txt_GotFocus,
// Txt_KeyUp and Txt_LostFocus handlers, TxtGotFocus, CodeFieldKeyUp and Decodifica.
// The code fields are QLineEdits named "txt" + index; colours are Windows colour values kept
// on the widgets (SetBackColour / BackColour in codefieldwidgets.h), so "in error" means the
// box holds the company's error colour.
#include "common/codefield.h"
#include "common/screenfactor.h"
#include "platform/help/kemaiutodecod.h"

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class QLabel;
class QLineEdit;
class QWidget;

namespace kem {

struct CompanyParams;
class HelpOpener;
class MenuServer;
class MessageSink;
class ResultSets;
class TextPrompter;

// The description shown for a code that does not exist.
inline const QString InesistenteText = QStringLiteral("** INESISTENTE **");

struct FormLoadOptions {
    QStringList colourExclusions;   // names of controls that keep their colour
    bool noSplash = false;          // the caller does not want the connection splash
    QString captionText;            // shown after the caption instead of the company description
    bool applyReadOnly = false;     // set the form's "oiAbilRW" from the "/RO" switch
    QString osParam;                // the launch switches (for "/RO")
    bool scale = false;             // scale the form (RisVid)
    double factor = -2;             // the form's factor, handed back after scaling
    ScreenSettings screen;
};

struct FormActivateOptions {
    bool keepSplash = false;
    int currentRecord = -1;          // with a line component: the record counter for "txtRiga"
    int totalRecords = -1;
};

class FormServices {
public:
    FormServices(CompanyParams &params, MenuServer &menu, MessageSink &sink, KemAiutoDecod &aiuto,
                 CodeFieldParams &codeParams, TextPrompter &prompter,
                 const QString &minimumDate = QStringLiteral("01/01/1900"));

    void setHelp(const QString &helpFile, HelpOpener *opener) { helpFile_ = helpFile; helpOpener_ = opener; }
    // The connection splash: shown with the form caption by FormLoad, closed by FormActivate.
    void setSplash(std::function<void(const QString &title)> show, std::function<void()> hide)
    {
        showSplash_ = std::move(show);
        hideSplash_ = std::move(hide);
    }
    // The program-wide Enter flag: when set, FormKeyPress lets Enter and Escape through.
    void setEnterFlag(bool on) { enterFlag_ = on; }
    QDate minimumDate() const { return minDate_; }
    KemAiutoDecod &aiuto() { return aiuto_; }

    // Focus handler: selects the whole text of the box, repaints the other txt boxes of the
    // form still in the focus colour with the lost-focus colour, and gives the box the focus
    // colour unless it shows the error colour.
    void TxtGotFocus(QWidget *form, QLineEdit *box);
    // Leaving a box: back to the lost-focus colour unless it shows the error colour.
    void TxtLostFocusColours(QLineEdit *box);
    // True when the control shows the error colour.
    bool IsInError(const QWidget *control) const;

    // Lookup opener: sets the lookup parameters on the component (column list, pass-through,
    // search keys of accounts, image options of articles, the accepted-row colour) and opens
    // the lookup. Key codes other than negative or 113 to 123 open nothing (NotOpened).
    // Errors are shown with the error message and give Cancelled.
    LookupResult ApriHelp(const QString &kind, QLineEdit *box, QLabel *label, int keyCode,
                          const QString &where = {}, const QStringList &extraColumns = {});
    // Txt_KeyUp of a code field: F2 to F5 (113 to 116) with no shift open the lookup;
    // anything else does nothing (NotOpened).
    LookupResult CodeFieldKeyUp(const QString &kind, QLineEdit *box, QLabel *label, int keyCode,
                                int shift, const QString &where = {},
                                const QStringList &extraColumns = {});
    // Help button: focus to the box, pending events processed, then the form's key-up
    // handler with the key code and shift 0.
    void ComHlpClick(QLineEdit *box, int keyCode, const std::function<void(int keyCode, int shift)> &keyUp);

    // Decode routine (Txt_LostFocus). directDecode / directDecode2: let the component decode
    // as it is (no retry). defaultText fills a blank box first. keyCode: the caller's key code
    // for the lookup opened on a code that does not exist.
    // A code that does not exist shows "** INESISTENTE **" in the label and the error colour
    // in the box; the lookup then opens (at most 3 times) when its key code asks for it.
    LookupResult Decodifica(const QString &kind, QLineEdit *box, QLabel *label,
                            const QString &where = {}, bool directDecode = false,
                            bool directDecode2 = false, const QString &defaultText = {},
                            int keyCode = 0);

    // Date check. mode 1 and 3 paint an invalid date in the error colour, modes above 1 put
    // the focus back. A date before the minimum date is invalid and, with `message`, says
    // "Data troppo piccola" (once per control until it is valid again). A valid or blank date
    // paints the box in validColour, or the normal colour. Returns true for a valid or blank date.
    bool ControllaData(QLineEdit *box, int mode, std::optional<quint32> validColour = std::nullopt,
                       bool message = true);

    // Mandatory field: a blank value shows caption + " Obbligatorio" with "&Ok" and, with
    // focus, gives the focus back to the control. Returns false when blank.
    bool CampoObbligatorio(QWidget *control, const QString &caption, bool focus, const QVariant &value);

    // Form key handler (Form_KeyDown): returns 1 when the key was consumed.
    int FormKeyDown(int keyCode, int shift, QWidget *form);
    // Key press (Form_KeyPress): the character to keep, 0 to swallow it.
    int FormKeyPress(int keyAscii);

    // Form_Load, the activation handler.
    void FormLoad(QWidget *form, FormLoadOptions &options);
    void FormActivate(QWidget *form, const FormActivateOptions &options = {});

    // Promotion message of the current row of a result set ("MessProm" "S").
    void MessaggioPromozione(ResultSets &rs, const QString &handle);

    // The last search text and comparison of find and replace.
    QString searchText() const { return searchText_; }
    Qt::CaseSensitivity searchCase() const { return searchCase_; }

private:
    bool findInBox(QWidget *box, bool forward);
    bool replaceInBox(QWidget *box);
    void typeIntoBox(QWidget *box, const QString &text);
    static QWidget *NextInTabOrder(QWidget *form, QWidget *from);

    CompanyParams &params_;
    MenuServer &menu_;
    MessageSink &sink_;
    KemAiutoDecod &aiuto_;
    CodeFieldParams &codeParams_;
    TextPrompter &prompter_;
    QDate minDate_;
    QString helpFile_;
    HelpOpener *helpOpener_ = nullptr;
    std::function<void(const QString &)> showSplash_;
    std::function<void()> hideSplash_;
    ReportedControls reported_;
    QString searchText_;
    Qt::CaseSensitivity searchCase_ = Qt::CaseInsensitive;
    int lastKeyCode_ = 0;
    int lastShift_ = 0;
    bool enterFlag_ = false;
};

// Routes a form's keys to FormServices as a form with key preview would: key presses in the
// form or its controls go to FormKeyDown (consumed keys stop there) and then to FormKeyPress.
class FormKeyFilter : public QObject {
    Q_OBJECT
public:
    FormKeyFilter(QWidget *form, FormServices &services);
    bool eventFilter(QObject *watched, QEvent *event) override;
private:
    QWidget *form_;
    FormServices &services_;
    const QEvent *lastEvent_ = nullptr;
    QPointer<QWidget> lastReceiver_;
};

// A code field wired to the services: focus colours on entering, decoding on leaving, the
// lookup with F2 to F5. The where clause is asked for each time (forms change their filters).
class CodeFieldBinding : public QObject {
    Q_OBJECT
public:
    CodeFieldBinding(FormServices &services, QWidget *form, QLineEdit *box, QLabel *label,
                     QString kind, std::function<QString()> where = {});
    bool eventFilter(QObject *watched, QEvent *event) override;
    LookupResult lastResult() const { return last_; }
private:
    FormServices &services_;
    QWidget *form_;
    QLineEdit *box_;
    QLabel *label_;
    QString kind_;
    std::function<QString()> where_;
    LookupResult last_;
    bool inLookup_ = false;
};

} // namespace kem
