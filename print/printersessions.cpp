#include "print/printersessions.h"

#include <QRegularExpression>

namespace kem {

int TerminalSessionFromEnvironment()
{
    if (qEnvironmentVariableIsEmpty("XRDP_SESSION"))
        return 0;
    static const QRegularExpression display(QStringLiteral("^[^:]*:(\\d+)"));
    const auto m = display.match(qEnvironmentVariable("DISPLAY"));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QString PrinterSessions::Marker(int n) const
{
    QString m = m_template;
    return m.replace(QStringLiteral("%§"), QString::number(n));
}

QString PrinterSessions::Base(const QString &printer, int *session) const
{
    *session = 0;
    if (!m_template.contains(QStringLiteral("%§")))
        return printer;
    // The template as a pattern: its text literally, the placeholder as a number.
    QString pattern = QRegularExpression::escape(m_template);
    pattern.replace(QRegularExpression::escape(QStringLiteral("%§")), QStringLiteral("(\\d+)"));
    const QRegularExpression re(pattern);
    auto it = re.globalMatch(printer);
    while (it.hasNext()) {
        const auto m = it.next();
        const int n = m.captured(1).toInt();
        if (n >= 2 && n <= 30 && m.captured(1) == QString::number(n)) {
            *session = n;
            return printer.left(m.capturedStart()) + printer.mid(m.capturedEnd());
        }
    }
    return printer;
}

int PrinterSessions::SessionOf(const QString &printer) const
{
    int n = 0;
    Base(printer, &n);
    return n;
}

bool PrinterSessions::BelongsToOther(const QString &printer) const
{
    if (!Active())
        return false;
    const int n = SessionOf(printer);
    return n != 0 && n != m_session;
}

QString PrinterSessions::MapToThis(const QString &printer, const QStringList &systemPrinters) const
{
    if (!Active() || printer.isEmpty())
        return printer;
    int n = 0;
    const QString base = Base(printer, &n);
    const QString mine = base + Marker(m_session);
    return systemPrinters.contains(mine) ? mine : printer;
}

} // namespace kem
