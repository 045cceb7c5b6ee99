#include "startup/formregistry.h"

#include <QStringList>

namespace kem {

void FormRegistry::Add(const QString &name, Factory factory)
{
    entries_.append({name.trimmed(), std::move(factory)});
}

QString FormRegistry::Find(const QString &name) const
{
    const QString wanted = name.trimmed();
    if (wanted.isEmpty())
        return {};
    for (const Entry &e : entries_) {
        if (e.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return e.name;
    }
    return {};
}

std::unique_ptr<ModuleForm> FormRegistry::Create(const QString &name, ProgramContext &ctx) const
{
    const QString found = Find(name);
    for (const Entry &e : entries_) {
        if (!found.isEmpty() && e.name == found)
            return e.factory(ctx);
    }
    return nullptr;
}

QStringList FormRegistry::Names() const
{
    QStringList out;
    for (const Entry &e : entries_)
        out.append(e.name);
    return out;
}

} // namespace kem
