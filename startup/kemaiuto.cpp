#include "startup/kemaiuto.h"

namespace kem {

QObject *KemAiuto::Init(QObject *mainForm, MenuServer *menu, Database *database,
                        const QString &connectionResult)
{
    menu_ = menu;
    database_ = database;
    connection_ = connectionResult;
    initialised_ = true;
    return mainForm;
}

} // namespace kem
