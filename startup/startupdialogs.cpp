#include "startup/startupdialogs.h"

#include <cstdio>

namespace kem {

namespace {
void Err(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}
} // namespace

void BatchDialogs::MessageBox(const QString &text, BoxStyle style)
{
    const char *kind = style == BoxStyle::Critical ? "Errore" : style == BoxStyle::Exclamation ? "Attenzione" : "Messaggio";
    Err(QStringLiteral("%1: %2").arg(QLatin1String(kind), text));
}

QString BatchDialogs::InputBox(const QString &prompt, const QString &title, const QString &def)
{
    Err(QStringLiteral("%1: %2 [risposta: %3]").arg(title, prompt, def));
    return def;
}

YesNoCancel BatchDialogs::AskYesNoCancel(const QString &text)
{
    Err(QStringLiteral("Domanda: %1 [risposta: Sì]").arg(text));
    return YesNoCancel::Yes;
}

bool BatchDialogs::AskOkCancel(const QString &text)
{
    Err(QStringLiteral("Domanda: %1 [risposta: Annulla]").arg(text));
    return false;
}

} // namespace kem
