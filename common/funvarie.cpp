#include "common/funvarie.h"

#include <new>

#include "common/aziendautil.h"
#include "platform/db/kemdb.h"
#include "platform/menu/menuserver.h"
#include "platform/util/kemutil.h"

#include <QFileInfo>

namespace kem {

QString IniContext::read(const QString &section, const QString &key, const QString &def,
                         QString &value) const
{
    return IniReadPrg(section, key, def, value, mainIni, companyIni);
}

QString IniContext::value(const QString &section, const QString &key, const QString &def) const
{
    QString v;
    read(section, key, def, v);
    return v;
}

QString IniContext::readPath(const QString &section, const QString &key, const QString &def,
                             QString &value) const
{
    return IniReadPrgPath(section, key, def, value, mainIni, companyIni);
}

QString IniContext::path(const QString &section, const QString &key, const QString &def) const
{
    QString v;
    readPath(section, key, def, v);
    return v;
}

ErrorInfo ErrorInfoFrom(const std::exception &e)
{
    if (const auto *db = dynamic_cast<const DbError *>(&e))
        return {QString::number(db->number()), db->description(), QStringLiteral("DBASE")};
    if (const auto *menu = dynamic_cast<const MenuError *>(&e))
        return {QString::number(menu->number()), menu->description(), QStringLiteral("Menu")};
    if (const auto *param = dynamic_cast<const ParamError *>(&e))
        return {QString::number(param->number()), param->description(), {}};
    if (dynamic_cast<const std::bad_alloc *>(&e))
        return {QString::number(kErrOutOfMemory), QStringLiteral("Memoria esaurita"), {}};
    return {QString::number(kErrInternal), QStringLiteral("Errore interno: ") + QString::fromLocal8Bit(e.what()), {}};
}

ErrorInfo CurrentErrorInfo()
{
    try {
        throw;
    } catch (const std::exception &e) {
        return ErrorInfoFrom(e);
    } catch (...) {
        return {QString::number(kErrInternal), QStringLiteral("Errore sconosciuto"), {}};
    }
}

QString ErrorDescription(const QString &description, const QString &source)
{
    if (source.trimmed().isEmpty())
        return description;
    return description + QStringLiteral(" - ") + source;
}

QString FormatError(const ErrorInfo &current, const QString &number, const QString &description,
                    const QString &prefix, const QString &suffix)
{
    const QString desc = description.isEmpty()
                             ? ErrorDescription(current.description, current.source)
                             : ErrorDescription(description, current.source);
    const QString num = number.isEmpty() ? current.number : number;
    return ErrorText(num, desc, prefix, suffix);
}

void StandardErrorMessage(MessageSink &sink, const ErrorInfo &current, const QString &description,
                          const QString &number, const QString &prefix, const QString &suffix)
{
    const QString desc = ErrorDescription(description.isEmpty() ? current.description : description,
                                          current.source);
    sink.MsgErrfrm(number.isEmpty() ? current.number : number, desc, prefix, suffix);
}

QString IniWriteFailureText(const QString &section, const QString &key, const QString &value,
                            IniWritePhase phase)
{
    QString phaseText;
    switch (phase) {
    case IniWritePhase::Search: phaseText = QStringLiteral("durante la ricerca"); break;
    case IniWritePhase::Update1: phaseText = QStringLiteral("durante l' aggiornamento(1)"); break;
    case IniWritePhase::Update2: phaseText = QStringLiteral("durante l' aggiornamento(2)"); break;
    }
    const QString nl = QStringLiteral("\n");
    return QStringLiteral("Aggiornamento del valore : ") + value + nl
           + QStringLiteral("nella sezione : ") + section + nl
           + QStringLiteral("parametro : ") + key + nl
           + QStringLiteral("NON RIUSCITO.") + nl + phaseText;
}

bool IniWriteValue(const QString &section, const QString &key, const QString &value,
                   const QString &file, MessageSink &sink)
{
    const auto fail = [&](IniWritePhase phase) {
        sink.msgCom(IniWriteFailureText(section, key, value, phase), {QStringLiteral("&Ok")});
        return false;
    };

    const QFileInfo info(file);
    if (file.trimmed().isEmpty() || section.trimmed().isEmpty() || info.isDir()
        || (info.exists() && !info.isReadable()))
        return fail(IniWritePhase::Search);

    const QString keyArg = key.isEmpty() ? QString() : key;
    const QString valueArg = value.isEmpty() ? QString() : value;
    if (!IniWrite(file, section, keyArg, valueArg))
        return fail(IniWritePhase::Update1);

    if (!key.isEmpty()) {
        // Read the value back: a written value must come back as written, a deleted key must
        // be gone.
        const QString marker = MenuMissingMarker;
        QString back;
        IniRead(file, section, key, marker, back);
        const bool ok = value.isEmpty() ? back == marker : back == value.trimmed();
        if (!ok)
            return fail(IniWritePhase::Update2);
    }
    return true;
}

} // namespace kem
