#include "platform/db/errortexts.h"

#include <QRegularExpression>

namespace kem {

namespace {

QString baseText(int number)
{
    switch (number) {
    case 6: return QStringLiteral("Overflow");
    case 94: return QStringLiteral("Uso non valido di Null");
    case 3020: return QStringLiteral("Aggiornamento senza modifica o aggiunta del record");
    case 3021: return QStringLiteral("Nessun record corrente");
    case 3022: return QStringLiteral("Le modifiche non sono state apportate: creerebbero valori duplicati nell'indice, nella chiave primaria o nella relazione");
    case 3024: return QStringLiteral("Impossibile trovare il file");
    case 3027: return QStringLiteral("Impossibile aggiornare: il database o l'oggetto è di sola lettura");
    case 3031: return QStringLiteral("Password non valida");
    case 3034: return QStringLiteral("Conferma o annullamento di una transazione mai iniziata");
    case 3035: return QStringLiteral("Risorse di sistema esaurite (spazio su disco o memoria)");
    case 3059: return QStringLiteral("Accesso all'origine dati rifiutato");
    case 3061: return QStringLiteral("Parametri insufficienti: un nome della query non è una colonna");
    case 3065: return QStringLiteral("Impossibile eseguire una query di selezione");
    case 3075: return QStringLiteral("Errore di sintassi nell'espressione della query");
    case 3078: return QStringLiteral("Il motore di database non trova la tabella o la query di input");
    case 3079: return QStringLiteral("Il campo può riferirsi a più di una tabella");
    case 3085: return QStringLiteral("Funzione non definita nell'espressione");
    case 3151: return QStringLiteral("Connessione all'origine dati non riuscita");
    case 3164: return QStringLiteral("Impossibile aggiornare il campo");
    case 3197: return QStringLiteral("Il record è stato modificato o eliminato da un altro utente dopo la lettura");
    case 3218: return QStringLiteral("Impossibile aggiornare: il record è bloccato");
    case 3260: return QStringLiteral("Impossibile aggiornare: il database è bloccato da un altro utente");
    case 3265: return QStringLiteral("Elemento non trovato");
    case 3314: return QStringLiteral("Il campo non può contenere un valore Null");
    case 3317: return QStringLiteral("Violazione di una regola di convalida");
    case 3343: return QStringLiteral("Formato di database non riconosciuto o file danneggiato");
    case 3420: return QStringLiteral("Oggetto non valido o non più impostato");
    case 3464: return QStringLiteral("Tipo di dati non corrispondente nell'espressione");
    default: return QStringLiteral("Errore del motore di database");
    }
}

// The object an engine message names: a quoted name, or what follows the engine's own
// "no such table:", "no such column:" and the like.
QString objectOf(const QString &message)
{
    static const QRegularExpression quoted(QStringLiteral("'([^']+)'"));
    static const QRegularExpression named(QStringLiteral(
        "(?:no such (?:table|column|function)|ambiguous column name|UNIQUE constraint failed|NOT NULL constraint failed):\\s*(\\S[^,]*)"),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto m = named.match(message); m.hasMatch())
        return m.captured(1).trimmed();
    if (const auto m = quoted.match(message); m.hasMatch())
        return m.captured(1);
    return {};
}

} // namespace

QString JetErrorText(int number, const QString &engineMessage)
{
    QString text = baseText(number);
    // A number without a text of its own: the engine's words are all there is to tell.
    if (text == baseText(-1))
        return engineMessage.trimmed().isEmpty() ? text : text + QStringLiteral(": ") + engineMessage.trimmed();
    const QString object = objectOf(engineMessage);
    if (!object.isEmpty())
        text += QStringLiteral(": '") + object + QLatin1Char('\'');
    return text;
}

} // namespace kem
