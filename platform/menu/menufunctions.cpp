#include "platform/menu/menufunctions.h"

#include "platform/util/kemutil.h"
#include "platform/menu/menuserver.h"

#include <QCoreApplication>

namespace kem {

namespace {
[[noreturn]] void Fail(const QString &what)
{
    throw MenuError(MenuError::Remote, what);
}

bool Is(const QString &a, const char *b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}
} // namespace

MenuFunctions::MenuFunctions(const MenuConfig &config, MenuDatabase &db) : config_(config), db_(db) {}

QVariant MenuFunctions::call(const QString &function, const QString &scope, const QVariant &param)
{
    QString statement;
    QStringList columns;
    if (ParseGetParamDbMenu(function, &statement, &columns)) {
        const std::optional<QStringList> row = db_.firstRow(statement, columns);
        QVariantList out;
        if (row) {
            for (const QString &v : *row)
                out.append(v);
        }
        return out;
    }
    if (Is(function, "PrepProcCorr"))
        return QStringLiteral("%1.%2").arg(QCoreApplication::applicationPid()).arg(++tokens_);
    if (Is(function, "AddSeg")) {
        if (param.typeId() != QMetaType::QVariantList)
            return QString();
        const QVariantList p = param.toList();
        if (p.size() < 2)
            Fail(QStringLiteral("AddSeg: attesi (programma, token)"));
        return p.at(1).toString() + QLatin1Char('.') + p.at(0).toString();
    }
    if (Is(function, "TastiCtrl"))
        return QStringLiteral("0");
    if (Is(function, "LeggiIniComuni"))
        return readIni(param.toList());
    if (Is(function, "ScriviIniComuni"))
        return writeIni(param.toList());
    if (log_) {
        log_(QStringLiteral("MenuCall %1 (%2) non gestita: risposta vuota")
                 .arg(function, scope));
    }
    return QString();
}

QString MenuFunctions::iniFile(const QVariant &which) const
{
    const QString w = which.toString().trimmed();
    if (w == QLatin1String("0") || w.startsWith(QLatin1Char('C'), Qt::CaseInsensitive))
        return config_.commonIniPath();
    if (w == QLatin1String("1") || w.startsWith(QLatin1Char('T'), Qt::CaseInsensitive))
        return config_.terminalIniPath();
    Fail(QStringLiteral("File dei parametri sconosciuto: \"%1\" (0 comune, 1 terminale)").arg(w));
}

QVariant MenuFunctions::readIni(const QVariantList &p) const
{
    if (p.size() < 3)
        Fail(QStringLiteral("LeggiIniComuni: attesi (file, sezione, chiave[, predefinito])"));
    const QString file = iniFile(p.at(0));
    QString value;
    IniRead(file, p.at(1).toString(), p.at(2).toString(), MenuMissingMarker, value);
    const bool found = value != MenuMissingMarker;
    return MenuVarAnswer(found, value, p.size() > 3 ? p.at(3).toString() : QString());
}

QVariant MenuFunctions::writeIni(const QVariantList &p) const
{
    if (p.size() < 3)
        Fail(QStringLiteral("ScriviIniComuni: attesi (file, sezione, chiave[, valore])"));
    const QString file = iniFile(p.at(0));
    if (file.isEmpty())
        Fail(QStringLiteral("ScriviIniComuni: nessun file configurato"));
    if (p.at(1).toString().trimmed().isEmpty() || p.at(2).toString().trimmed().isEmpty())
        Fail(QStringLiteral("ScriviIniComuni: sezione o chiave vuota"));
    // Without a value the key is deleted.
    const QString value = p.size() > 3 ? p.at(3).toString() : QString();
    QString error;
    if (!IniWrite(file, p.at(1).toString(), p.at(2).toString(),
                  p.size() > 3 && value.isNull() ? QStringLiteral("") : value, &error))
        Fail(QStringLiteral("Impossibile scrivere \"%1\": %2").arg(file, error));
    return true;
}

} // namespace kem
