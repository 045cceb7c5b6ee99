#pragma once
// The print options of a report form and the initialisation file: loading (report section,
// then "Opzioni Stampa"), the printer checks made at load, the menu caption, quick preview,
// and saving or deleting stored values.
#include "print/printenv.h"

#include <QString>
#include <QStringList>

namespace kem {

class PrintOptions;

// What a report form offers to quick preview.
class ReportFormHooks {
public:
    virtual ~ReportFormHooks() = default;
    virtual void VisStaAttuale() = 0;     // show the current destination
    virtual void ComStampa_Click() = 0;   // run the report
};

struct LoadOptionsArgs {
    QString osKeySec;        // the report form's secondary key
    QString section;         // explicit section (instead of program key + osKeySec)
    QString suffix;          // appended to the section
    QString exclusions;      // ",Key1,Key2": keys never taken from "Opzioni Stampa"
    QString pdfAutomDefault; // default of "PdfNomeAutom"
};

// Every stored option key, in the order of the options record.
QStringList PrintOptionKeys();

// Boolean ini value: a number (non-zero is true) or a text that is "S" trimmed and in upper case.
bool IniBool(const QString &text);

class PrintOptionsIni {
public:
    explicit PrintOptionsIni(const PrintEnv &env) : m_env(env) {}

    // Fills the record. Values that cannot be converted stop the reading with the message
    // "Errore file ini" (values read so far are kept, the rest keep what the record holds).
    void Load(PrintOptions &o, const LoadOptionsArgs &args) const;

    // "StampaCaption" and "StampaDescPrg" from the menu's entry of this program and osKeySec.
    void LoadMenuCaption(PrintOptions &o, const QString &osKeySec) const;
    // The statement sent for it.
    static QString MenuCaptionStatement(const QString &programKey, const QString &osKeySec);

    // The printer checks of a load for destination printer; false when a message was shown.
    bool CheckPrinter(const PrintOptions &o) const;

    // Quick preview: remembers StaVid, sets the preview flag and StaVid 1, shows the destination
    // and runs the report; with restore, puts the old destination back and shows it again.
    // Returns the previous destination.
    static int QuickPreview(ReportFormHooks &form, PrintOptions &o, bool restore);

    // Writes the named keys of the record into [section] of file (Booleans -1 / 0, Fatt
    // divided by the preview scale factor when that is > 0, "PathDefault" relative to the
    // file's folder when it lies inside it, as it is read back). False with *error on the first
    // key that cannot be written; keys written before it stay.
    bool Save(const PrintOptions &o, const QString &file, const QString &section,
              const QStringList &keys, QString *error) const;
    // Deletes the named keys from [section] of file; every key of PrintOptionKeys() deletes
    // the whole section.
    bool Remove(const QString &file, const QString &section, const QStringList &keys,
                QString *error) const;
    // The text a key is stored with.
    QString StoredValue(const PrintOptions &o, const QString &key) const;

private:
    const PrintEnv &m_env;
};

} // namespace kem
