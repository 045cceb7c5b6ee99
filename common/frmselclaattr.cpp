#include "common/frmselclaattr.h"

#include <QPushButton>

namespace kem {

frmSelClaAttr::frmSelClaAttr(const ClasseAttrDialogEnv &env, QWidget *parent)
    : ClasseAttrDialog(env, false, QStringLiteral("Selezione Classi e Attributi"), parent)
{
    setObjectName(QStringLiteral("frmSelClaAttr"));
}

void ApriSelClaAttr(const ClasseAttrDialogEnv &env, ClasseAttrRange &range, QPushButton *button, QWidget *parent)
{
    frmSelClaAttr dialog(env, parent);
    dialog.SetRange(range);
    dialog.exec();
    range = dialog.Range();
    if (button)
        button->setText(ClasseAttrButtonCaption(false, range.AnySet()));
}

} // namespace kem
