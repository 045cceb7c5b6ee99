#include "platform/menu/menuserver.h"

#include <QStringList>

namespace kem {

namespace {
const QString kDbMenuPrefix = QStringLiteral("GetParamDbMenu");
const QString kDbMenuSep = QStringLiteral("§~");
} // namespace

QString PersonalVarName(const QString &section, const QString &key)
{
    return QStringLiteral("Personal.") + section + QStringLiteral(".§") + key;
}

QString GetParamDbMenuRequest(const QString &statement, const QString &columns)
{
    return kDbMenuPrefix + kDbMenuSep + statement + kDbMenuSep + columns;
}

bool ParseGetParamDbMenu(const QString &text, QString *statement, QStringList *columns)
{
    if (!text.startsWith(kDbMenuPrefix + kDbMenuSep, Qt::CaseInsensitive))
        return false;
    const QString rest = text.mid(kDbMenuPrefix.size() + kDbMenuSep.size());
    const qsizetype sep = rest.lastIndexOf(kDbMenuSep);
    if (sep < 0)
        return false;
    if (statement)
        *statement = rest.left(sep).trimmed();
    if (columns) {
        columns->clear();
        const QStringList parts = rest.mid(sep + kDbMenuSep.size()).split(QLatin1Char(','));
        for (const QString &c : parts) {
            if (!c.trimmed().isEmpty())
                columns->append(c.trimmed());
        }
    }
    return true;
}

QString MenuVarAnswer(bool found, const QString &value, const QString &def)
{
    if (found)
        return value;
    return def.isEmpty() ? MenuMissingMarker : def;
}

MenuError::MenuError(Kind kind, const QString &description)
    : std::runtime_error(description.toStdString()), kind_(kind), description_(description)
{
}

int MenuError::number() const
{
    return (kind_ == NotRunning || kind_ == Disconnected) ? 5 : 440;
}

} // namespace kem
