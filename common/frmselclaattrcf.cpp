#include "common/frmselclaattrcf.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kem {

frmSelClaAttrCF::frmSelClaAttrCF(const ClasseAttrDialogEnv &env, QWidget *parent)
    : ClasseAttrDialog(env, true, QStringLiteral("Selezione Classi e Attributi Clienti/Fornitori"), parent)
{
    setObjectName(QStringLiteral("frmSelClaAttrCF"));
    addPair(kCategoriaDa, QStringLiteral("Categoria da:"), QStringLiteral("Categoria"));
    addPair(kZonaDa, QStringLiteral("Zona da:"), QStringLiteral("Zona"));
    ImpostaVisible();
}

void frmSelClaAttrCF::setOther(QString &value, int index, const QString &text)
{
    if (hidden_)
        return;
    value = text;
    setBoxText(index, text);
}

void frmSelClaAttrCF::SetCategoriaDa(const QString &value) { setOther(catDa_, kCategoriaDa, value); }
void frmSelClaAttrCF::SetCategoriaA(const QString &value) { setOther(catA_, kCategoriaA, value); }
void frmSelClaAttrCF::SetZonaDa(const QString &value) { setOther(zonDa_, kZonaDa, value); }
void frmSelClaAttrCF::SetZonaA(const QString &value) { setOther(zonA_, kZonaA, value); }

void frmSelClaAttrCF::NascondiAltreSelez()
{
    hidden_ = true;
    catDa_.clear();
    catA_.clear();
    zonDa_.clear();
    zonA_.clear();
    for (int index : {kCategoriaDa, kCategoriaA, kZonaDa, kZonaA}) {
        txt.value(index)->clear();
        txt.value(index)->hide();
        lab.value(index)->hide();
        ComHlp.value(index)->hide();
        pairCaption(index)->hide();
    }
}

std::optional<ClasseAttrProblem> frmSelClaAttrCF::check() const
{
    if (hidden_)
        return ClasseAttrDialog::check();
    return ClasseAttrCFCheck(fieldsRange(), boxText(kCategoriaDa), boxText(kCategoriaA), boxText(kZonaDa),
                             boxText(kZonaA));
}

void frmSelClaAttrCF::store()
{
    ClasseAttrDialog::store();
    if (hidden_)
        return;
    catDa_ = boxText(kCategoriaDa);
    catA_ = boxText(kCategoriaA);
    zonDa_ = boxText(kZonaDa);
    zonA_ = boxText(kZonaA);
}

void ApriSelClaAttrCF(const ClasseAttrDialogEnv &env, ClasseAttrRange &range, QPushButton *button,
                      bool nascondiAltre, QString &catDa, QString &catA, QString &zonDa, QString &zonA,
                      QWidget *parent)
{
    frmSelClaAttrCF dialog(env, parent);
    if (nascondiAltre)
        dialog.NascondiAltreSelez();
    dialog.SetRange(range);
    if (!nascondiAltre) {
        dialog.SetCategoriaDa(catDa);
        dialog.SetCategoriaA(catA);
        dialog.SetZonaDa(zonDa);
        dialog.SetZonaA(zonA);
    }
    dialog.exec();
    range = dialog.Range();
    if (!nascondiAltre) {
        catDa = dialog.CategoriaDa();
        catA = dialog.CategoriaA();
        zonDa = dialog.ZonaDa();
        zonA = dialog.ZonaA();
    }
    if (button)
        button->setText(ClasseAttrButtonCaption(true, range.AnySet()));
}

} // namespace kem
