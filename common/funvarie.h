#pragma once
// General routines of the module: the program's ini reader and writer, the error text rule
// and the standard error message.
#include "common/messages.h"

#include <QString>
#include <exception>

namespace kem {

// Where the program reads its settings: the main ini and the company ini chosen at start-up.
// read() hands both to IniReadPrg (company ini first, then the main ini) and returns the
// number of characters read as text, "0" when the key is missing (value = def then).
struct IniContext {
    QString mainIni;
    QString companyIni;

    QString read(const QString &section, const QString &key, const QString &def,
                 QString &value) const;
    // The value alone.
    QString value(const QString &section, const QString &key, const QString &def = {}) const;
    // A key that holds a path: a relative value is resolved against the folder of the file
    // that holds it (IniReadPrgPath); def comes back as given.
    QString readPath(const QString &section, const QString &key, const QString &def,
                     QString &value) const;
    QString path(const QString &section, const QString &key, const QString &def = {}) const;
};

// Error numbers of the module's own failures.
constexpr int kErrOutOfMemory = 7;
constexpr int kErrInternal = 51;
constexpr int kErrPrint = 482;  // the print library could not do what it was asked

// The error a routine caught: number, description and source (which component raised it).
struct ErrorInfo {
    QString number = QStringLiteral("0");
    QString description;
    QString source;
};

// What a caught exception says: kem::DbError gives its Jet number and description (source
// "DBASE"), kem::MenuError its number and description (source "Menu"), kem::ParamError 13 and
// its description, std::bad_alloc 7 "Memoria esaurita", any other exception 51 and
// "Errore interno: " + its what() text (no failure is ever shown with number 0).
ErrorInfo ErrorInfoFrom(const std::exception &e);
// The same for the exception being handled (call inside a catch block); an unknown exception
// gives 51 and "Errore sconosciuto".
ErrorInfo CurrentErrorInfo();

// Description of an error as it is shown: the description, then " - " + source when the
// source is not blank.
QString ErrorDescription(const QString &description, const QString &source);

// The error text: prefix + "Errore(" + number + "): " + description [+ " - " + source] + suffix.
// A blank number or description given by the caller is taken from `current`.
QString FormatError(const ErrorInfo &current, const QString &number = {},
                    const QString &description = {}, const QString &prefix = {},
                    const QString &suffix = {});

// The standard error message: the error text shown with "&Ok" through the sink.
void StandardErrorMessage(MessageSink &sink, const ErrorInfo &current,
                          const QString &description = {}, const QString &number = {},
                          const QString &prefix = {}, const QString &suffix = {});

// Phases of a failed ini write, as the failure message names them.
enum class IniWritePhase { Search, Update1, Update2 };

// The failure message of the ini writer.
QString IniWriteFailureText(const QString &section, const QString &key, const QString &value,
                            IniWritePhase phase);

// The ini writer: writes [section] key = value into file. An empty key deletes the whole
// section, an empty value deletes the key. Phases: the file must be readable when it exists
// ("durante la ricerca"), the write itself ("durante l' aggiornamento(1)"), then the value is
// read back and must match ("durante l' aggiornamento(2)"). A failure is shown through the
// sink with "&Ok" and gives false; the file is then left as it was or as the write left it.
bool IniWriteValue(const QString &section, const QString &key, const QString &value,
                   const QString &file, MessageSink &sink);

} // namespace kem
