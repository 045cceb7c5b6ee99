#include "kemaiuto.h"

namespace kem {

QObject *KemAiuto::Init(QObject *mainForm, MenuServer *menu, const QString &connectionResult)
{
    menu_ = menu;
    connection_ = connectionResult;
    initialised_ = true;
    return mainForm;
}

} // namespace kem
