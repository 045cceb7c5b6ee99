#include "print/defaultprinter.h"

#include "platform/util/kemutil.h"
#include "common/messages.h"
#include "platform/os/printersystem.h"

namespace kem {

namespace {
const QString kWindows = QStringLiteral("windows");
const QString kDevice = QStringLiteral("device");
const QString kOk = QStringLiteral("&Ok");
} // namespace

QString DefaultPrinter::Current() const
{
    return m_env.printers ? m_env.printers->DefaultPrinter() : QString();
}

QString DefaultPrinter::DeviceText(const SystemPrinter &p)
{
    return p.name + QLatin1Char(',') + p.driver + QLatin1Char(',') + p.port;
}

QString DefaultPrinter::ProfileDevice() const
{
    QString v;
    if (!m_env.profileIni.isEmpty())
        IniRead(m_env.profileIni, kWindows, kDevice, QStringLiteral(",,,"), v);
    return v.isEmpty() ? QStringLiteral(",,,") : v;
}

bool DefaultPrinter::Apply(const QString &wanted, QString *error) const
{
    if (!m_env.printers) {
        *error = QStringLiteral("Nessun sistema di stampa disponibile");
        return false;
    }
    SystemPrinter target, previous;
    if (!m_env.printers->Find(wanted, &target)) {
        *error = QStringLiteral("Stampante sconosciuta: %1").arg(wanted);
        return false;
    }
    const QString before = m_env.printers->DefaultPrinter();
    const bool hadDefault = m_env.printers->Find(before, &previous);
    if (!m_env.printers->SetDefaultPrinter(wanted, error))
        return false;
    if (m_env.profileIni.isEmpty())
        return true;
    if (hadDefault && before != wanted
        && !IniWrite(m_env.profileIni, kWindows, QStringLiteral("StampanteDefOri"), DeviceText(previous), error))
        return false;
    return IniWrite(m_env.profileIni, kWindows, kDevice, DeviceText(target), error);
}

bool DefaultPrinter::SetForPrint(const QString &wanted) const
{
    const QString current = Current();
    if (wanted.isEmpty() || wanted == current)
        return !wanted.isEmpty() || !current.isEmpty();
    if (!current.isEmpty() && m_env.printers && !m_env.printers->Find(current)) {
        if (m_env.sink)
            m_env.sink->msgCom(QStringLiteral("Nella lista delle stampanti non è disponibile la stampante predefinita \r\n"
                                              "Uscire dal programma e rientrare per avere impostato la stampante predefinita"),
                               {kOk});
        return false;
    }
    QString error;
    if (Apply(wanted, &error))
        return true;
    if (m_env.sink)
        m_env.sink->msgCom(QStringLiteral("Impossibile impostare la stampante predefinita\r\nLa stampa verrà fatta su ")
                               + current + QStringLiteral("\r\nper stampare su ") + wanted
                               + QStringLiteral(" uscire dal programma e rientrare"),
                           {kOk});
    return false;
}

bool DefaultPrinter::IsNetworkPrinter(const QString &device, const QString &osPlatform)
{
    return osPlatform.trimmed() == QLatin1String("2") && device.startsWith(QLatin1String("\\\\"));
}

} // namespace kem
