#pragma once
// FormRegistry: the report forms the dispatcher can open, by name (compared without regard to
// case, in the order they were added). The program registers its four forms; tests register
// forms of their own.
#include "startup/moduleform.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

namespace kem {

class ProgramContext;

class FormRegistry {
public:
    using Factory = std::function<std::unique_ptr<ModuleForm>(ProgramContext &)>;

    void Add(const QString &name, Factory factory);
    // The registered name matching `name` (trimmed, any case); empty when none.
    QString Find(const QString &name) const;
    // Creates the form registered under `name` (as Find); nullptr when none.
    std::unique_ptr<ModuleForm> Create(const QString &name, ProgramContext &ctx) const;
    QStringList Names() const;

private:
    struct Entry {
        QString name;
        Factory factory;
    };
    QList<Entry> entries_;
};

} // namespace kem
