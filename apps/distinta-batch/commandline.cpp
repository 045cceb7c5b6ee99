#include "apps/distinta-batch/commandline.h"

#include "apps/distinta-batch/batchcommand.h"

#include <QDir>
#include <QRegularExpression>
#include <QFileInfo>

namespace kem::batch {

QString UsageErrorText(const QCommandLineParser &parser)
{
    // Qt words its parse errors in English: say them again in Italian.
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("Opzione sconosciuta: ") + (unknown.first().size() == 1 ? "-" : "--") + unknown.first();
    static const QRegularExpression missing(QStringLiteral("^Missing value after '(.+)'\\.$"));
    static const QRegularExpression unexpected(QStringLiteral("^Unexpected value after '(.+)'\\.$"));
    const QString text = parser.errorText();
    if (const auto m = missing.match(text); m.hasMatch())
        return QStringLiteral("Manca il valore di %1").arg(m.captured(1));
    if (const auto m = unexpected.match(text); m.hasMatch())
        return QStringLiteral("L'opzione %1 non vuole un valore").arg(m.captured(1));
    return QStringLiteral("Argomenti non validi");
}

QString ItalianHelp(QString helpText)
{
    helpText.replace(QStringLiteral(" [options]"), QStringLiteral(" [opzioni]"));
    helpText.replace(QStringLiteral("\nOptions:\n"), QStringLiteral("\nOpzioni:\n"));
    helpText.replace(QStringLiteral("\nArguments:\n"), QStringLiteral("\nArgomenti:\n"));
    helpText.replace(QStringLiteral("[default: "), QStringLiteral("[predefinito: "));
    return helpText;
}

std::optional<int> ParseArguments(QCommandLineParser &parser, const QString &name,
                                  const QStringList &args)
{
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Mostra questo aiuto."));
    parser.addOption(help);
    if (!parser.parse(QStringList{QStringLiteral("distinta-batch ") + name} + args)) {
        PrintError(UsageErrorText(parser));
        PrintError(QStringLiteral("Usare \"distinta-batch %1 --help\" per l'aiuto.").arg(name));
        return ExitUsage;
    }
    if (parser.isSet(help)) {
        // Qt names the executable path in the first line; name the subcommand instead.
        QString text = parser.helpText();
        const qsizetype eol = text.indexOf(QLatin1Char('\n'));
        const QString first = text.left(eol);
        const qsizetype opts = first.indexOf(QStringLiteral(" ["));
        text.replace(0, eol, QStringLiteral("Uso: distinta-batch ") + name +
                                 (opts >= 0 ? first.mid(opts) : QString()));
        PrintOut(ItalianHelp(text));
        return ExitOk;
    }
    return std::nullopt;
}

std::optional<int> IntOption(const QCommandLineParser &parser, const QString &option)
{
    bool ok = false;
    const QString text = parser.value(option).trimmed();
    const int value = text.toInt(&ok);
    if (!ok) {
        PrintError(QStringLiteral("Valore non valido per --%1: \"%2\" (serve un numero intero)")
                       .arg(option, parser.value(option)));
        return std::nullopt;
    }
    return value;
}

std::optional<double> NumberOption(const QCommandLineParser &parser, const QString &option)
{
    bool ok = false;
    QString text = parser.value(option).trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.')); // "12,5" as well as "12.5"
    const double value = text.toDouble(&ok);
    if (!ok) {
        PrintError(QStringLiteral("Valore non valido per --%1: \"%2\" (serve un numero)")
                       .arg(option, parser.value(option)));
        return std::nullopt;
    }
    return value;
}

std::optional<QString> TargetDirectory(const QCommandLineParser &parser, const QString &name,
                                       bool force)
{
    const QStringList pos = parser.positionalArguments();
    if (pos.size() != 1) {
        PrintError(pos.isEmpty()
                       ? QStringLiteral("Manca la cartella DIR dell'azienda.")
                       : QStringLiteral("Una sola cartella DIR, non %1 argomenti.").arg(pos.size()));
        PrintError(QStringLiteral("Usare \"distinta-batch %1 --help\" per l'aiuto.").arg(name));
        return std::nullopt;
    }
    const QString dir = pos.first();
    const QFileInfo info(dir);
    if (info.isDir() && !force &&
        !QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty()) {
        PrintError(QStringLiteral("La cartella %1 non è vuota: usare --force per riscrivere "
                                  "l'azienda al suo interno.")
                       .arg(dir));
        return std::nullopt;
    }
    return dir;
}

std::optional<bool> FlagOption(const QCommandLineParser &parser, const QString &option)
{
    const QString v = parser.value(option).trimmed().toUpper();
    if (v == QLatin1String("S") || v == QLatin1String("SI") || v == QLatin1String("1") || v == QLatin1String("TRUE"))
        return true;
    if (v == QLatin1String("N") || v == QLatin1String("NO") || v == QLatin1String("0") || v == QLatin1String("FALSE"))
        return false;
    PrintError(QStringLiteral("Valore non valido per --%1: \"%2\" (S oppure N)").arg(option, parser.value(option)));
    return std::nullopt;
}

std::optional<QDate> DateOption(const QCommandLineParser &parser, const QString &option)
{
    const QString v = parser.value(option).trimmed();
    if (v.isEmpty())
        return QDate();
    const QDate d = QDate::fromString(v, QStringLiteral("d/M/yyyy"));
    if (!d.isValid()) {
        PrintError(QStringLiteral("Data non valida per --%1: \"%2\" (gg/mm/aaaa)").arg(option, v));
        return std::nullopt;
    }
    return d;
}

} // namespace kem::batch
