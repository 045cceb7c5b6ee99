#pragma once
// Test support: the company and personal variables of a company's kemora-menu.ini loaded into
// the fake menu, so a test's menu answers like kemora-menu on that company.
#include "platform/menu/fakemenuserver.h"

#include <QFile>
#include <QString>
#include <QTextStream>

namespace kemtest {

inline void LoadCompanyMenu(kem::FakeMenuServer &menu, const QString &menuIni)
{
    QFile f(menuIni);
    if (!f.open(QIODevice::ReadOnly))
        return;
    QTextStream in(&f);
    QString section;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || line.startsWith(QLatin1Char(';')))
            continue;
        if (section == QLatin1String("Variabili"))
            menu.setVar(line.left(eq), line.mid(eq + 1));
        else if (section == QLatin1String("Personali"))
            menu.setVar(QStringLiteral("Personal.") + line.left(eq), line.mid(eq + 1));
    }
}

} // namespace kemtest
