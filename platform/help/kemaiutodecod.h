#pragma once
// The help and decoding component the forms call: lookups in the lookup window and decoding
// of a code into its description, both writing into the form's text box and label.
// Parameters are handed over by name with ovLeggiPar before each call and dropped after it.
#include "platform/help/decodeservice.h"
#include "platform/help/frmaiutolookup.h"

#include <QHash>
#include <QObject>
#include <QVariant>

class QLabel;
class QLineEdit;
class QWidget;

namespace kem {

class Database;

enum class LookupOutcome {
    Found,     // a code was chosen or decoded; box and label filled
    NotFound,  // the code has no row (or the field is blank)
    Cancelled, // the lookup window was closed without a choice; box and label untouched
    NotOpened, // the key code does not open a lookup
};

struct LookupResult {
    LookupOutcome outcome = LookupOutcome::NotFound;
    QString code;
    QString description;
    QString image;
};

// The list object of the lookup window (pass-through switch and margins).
struct ComLin {
    bool forzaPassThrough = false;
    int margSopra = 0, margSotto = 0, margSin = 0, margDestra = 0;
    // "ForzaPassThrough", "MargSopra", "MargSotto", "MargSin", "MargDestra"; false for others.
    bool ovLeggiPar(const QString &name, const QVariant &value);
};

class KemAiutoDecod : public QObject {
    Q_OBJECT
public:
    explicit KemAiutoDecod(Database &db, QObject *parent = nullptr);

    // The window the lookup window belongs to.
    void setParentWindow(QWidget *w) { parentWindow_ = w; }

    // A parameter of the next call ("RetZeroRec", "Campi" (column list), "CFHelpRic11",
    // "Immagini", "DirImmagini", "ImgDove", "ImgSpazio", ...); names without regard to case.
    void ovLeggiPar(const QString &name, const QVariant &value);
    QVariant ovPar(const QString &name) const;
    ComLin &ogComlin() { return comlin_; }
    // Background colour of the accepted rows; stays set across calls.
    QColor olColBackOk() const { return colBackOk_; }
    void setOlColBackOk(const QColor &c) { colBackOk_ = c; }

    // True for the key codes that open a lookup: negative (forced) or 113 to 123 (F2 to F12).
    static bool AcceptsKeyCode(int keyCode);

    // Opens the lookup window of `kind` on the rows that pass `where`, the filter starting
    // with the text of `box`. A choice puts the code into box and the description into label.
    // Throws DecodeError or DbError (nothing is shown then).
    LookupResult Lookup(const QString &kind, QLineEdit *box, QLabel *label, int keyCode,
                        const QString &where = {}, const QStringList &extraColumns = {});

    // Decodes the text of box: found puts the stored code into box and the description into
    // label. A blank box clears the label (NotFound). A code with no row gives NotFound when
    // "RetZeroRec" is set, else throws DecodeError ("Codice inesistente").
    LookupResult Decode(const QString &kind, QLineEdit *box, QLabel *label, const QString &where = {});

    // The account formatter: the stored form of an account code.
    QString FormatConto(const QString &text) const { return FormatAccountCode(text); }

    // The lookup window while it is open (nullptr otherwise).
    FrmAiutoLookup *openWindow() const { return window_; }

signals:
    // Emitted when the lookup window is about to run, so the caller can watch or drive it.
    void lookupShown(kem::FrmAiutoLookup *window);

private:
    LookupImageOptions imageOptions(const DecodeKind &kind) const;
    QString textPar(const QString &name) const;

    DecodeService decoder_;
    QWidget *parentWindow_ = nullptr;
    QHash<QString, QVariant> params_;
    ComLin comlin_;
    QColor colBackOk_;
    FrmAiutoLookup *window_ = nullptr;
};

} // namespace kem
