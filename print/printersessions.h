#pragma once
// Printer names in remote-desktop sessions. Section "Stampanti", key "TermSessAggNome" holds a
// name template with the placeholder "%§"; the printers a session brings along carry the
// template with "%§" replaced by the session number (template " (da %§)": "HP (da 3)" is the
// printer "HP" of session 3). Mapping is active from session 2 on, with a template.
#include <QString>
#include <QStringList>

namespace kem {

// The session number of this program. Linux has no terminal-server session numbers; in an
// xrdp session (environment variable XRDP_SESSION set) the number is the X display number
// of DISPLAY (":10.0" gives 10), which is unique among the sessions of the server. Anything
// else gives 0 (no mapping).
int TerminalSessionFromEnvironment();

class PrinterSessions {
public:
    PrinterSessions(const QString &nameTemplate, int session)
        : m_template(nameTemplate), m_session(session) {}

    bool Active() const { return m_session >= 2 && m_template.contains(QStringLiteral("%§")); }
    int Session() const { return m_session; }
    // The template for session n ("%§" replaced by n).
    QString Marker(int n) const;
    // The session (2 to 30) whose marker the name carries; 0 when none.
    int SessionOf(const QString &printer) const;
    // True when the name carries the marker of a session (2 to 30) other than this one.
    bool BelongsToOther(const QString &printer) const;
    // A stored name as this session's printer: the name without any session marker, plus this
    // session's marker, when the system has a printer of that name; otherwise the name as given.
    QString MapToThis(const QString &printer, const QStringList &systemPrinters) const;

private:
    // The name with the session marker taken out, and which session it was.
    QString Base(const QString &printer, int *session) const;
    QString m_template;
    int m_session;
};

} // namespace kem
