#include "common/classeattrdialog.h"

#include "common/codefieldwidgets.h"
#include "common/formservices.h"
#include "common/messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kem {

namespace {

constexpr int kKeyF2 = 113;
constexpr int kDescriptionWidth = 200;

size_t Slot(int level) { return static_cast<size_t>(level - 1); }

} // namespace

ClasseAttrDialog::ClasseAttrDialog(const ClasseAttrDialogEnv &env, bool pdc, const QString &title, QWidget *parent)
    : QDialog(parent), services_(env.services), messages_(env.messages)
{
    const ClasseAttrCaption &caption = env.caption;
    setWindowTitle(title);
    setModal(true);
    auto *top = new QVBoxLayout(this);
    grid_ = new QGridLayout;
    grid_->setColumnStretch(4, 1);
    grid_->setColumnStretch(8, 1);
    top->addLayout(grid_);

    const QString kindPrefix = pdc ? QStringLiteral("PdcClasseAttr") : QStringLiteral("ArtClasseAttr");
    for (int level = 1; level <= ClasseAttrRange::kLevels; ++level) {
        // "Cla." n for the articles, "PdcCla." n for the accounts.
        const QString name = pdc ? ClasseAttrCaptionName(level, true) : QStringLiteral("Cla.") + QString::number(level);
        const QString text = caption ? caption(name) : QString();
        inUse_.insert(level, !text.trimmed().isEmpty());
        auto *labClasse = new QLabel(text, this);
        labClasse->setObjectName(QStringLiteral("LabClasse%1").arg(level));
        QFont bold = labClasse->font();
        bold.setBold(true);
        labClasse->setFont(bold);
        LabClasse.insert(level, labClasse);
        grid_->addWidget(labClasse, nextRow_++, 0, 1, 9);
        const QString kind = kindPrefix + QString::number(level);
        addField(nextRow_, DaIndex(level), QStringLiteral("da:"), kind, 1);
        addField(nextRow_, AIndex(level), QStringLiteral("a:"), kind, 5);
        ++nextRow_;
        LabDa.insert(level, pairCaptions_.value(DaIndex(level)));
        LabA.insert(level, pairCaptions_.value(AIndex(level)));
    }
    showLevelsInUse();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ComOK = new QPushButton(QStringLiteral("&OK"), this);
    ComOK->setObjectName(QStringLiteral("ComOK"));
    ComOK->setDefault(true);
    ComAnnulla = new QPushButton(QStringLiteral("&Annulla"), this);
    ComAnnulla->setObjectName(QStringLiteral("ComAnnulla"));
    buttons->addWidget(ComOK);
    buttons->addWidget(ComAnnulla);
    top->addLayout(buttons);
    connect(ComOK, &QPushButton::clicked, this, [this] { ComOK_Click(); });
    connect(ComAnnulla, &QPushButton::clicked, this, [this] { ComAnnulla_Click(); });
}

ClasseAttrDialog::~ClasseAttrDialog() = default;

void ClasseAttrDialog::addField(int row, int index, const QString &caption, const QString &kind, int column)
{
    const CodeFieldRow r = AddCodeFieldRow(grid_, row, index, caption, this, 30, column, kDescriptionWidth);
    txt.insert(index, r.box);
    lab.insert(index, r.description);
    ComHlp.insert(index, r.button);
    pairCaptions_.insert(index, r.caption);
    kinds_.insert(index, kind);
    if (services_)
        new CodeFieldBinding(*services_, this, r.box, r.description, kind);
    connect(r.button, &QPushButton::clicked, this, [this, index] { lookup(index); });
}

void ClasseAttrDialog::addPair(int index, const QString &caption, const QString &kind)
{
    addField(nextRow_, index, caption, kind, 1);
    addField(nextRow_, index + 5, QStringLiteral("a:"), kind, 5);
    ++nextRow_;
}

void ClasseAttrDialog::lookup(int index)
{
    QLineEdit *box = txt.value(index);
    if (!services_ || !box || !box->isEnabled())
        return;
    const QString kind = kinds_.value(index);
    services_->ComHlpClick(box, kKeyF2, [this, box, index, kind](int keyCode, int shift) {
        services_->CodeFieldKeyUp(kind, box, lab.value(index), keyCode, shift);
    });
}

bool ClasseAttrDialog::LevelInUse(int level) const
{
    return inUse_.value(level, false);
}

void ClasseAttrDialog::showLevelsInUse()
{
    for (int level = 1; level <= ClasseAttrRange::kLevels; ++level) {
        const bool shown = LevelInUse(level);
        for (QWidget *w : {static_cast<QWidget *>(LabClasse.value(level)), static_cast<QWidget *>(LabDa.value(level)),
                           static_cast<QWidget *>(LabA.value(level))})
            w->setVisible(shown);
        for (int index : {DaIndex(level), AIndex(level)}) {
            txt.value(index)->setVisible(shown);
            lab.value(index)->setVisible(shown);
            ComHlp.value(index)->setVisible(shown);
        }
    }
}

QString ClasseAttrDialog::boxText(int index) const
{
    QLineEdit *box = txt.value(index);
    return box ? box->text().trimmed() : QString();
}

void ClasseAttrDialog::setBoxText(int index, const QString &text)
{
    if (QLineEdit *box = txt.value(index)) {
        box->setText(text);
        // The description of what the caller handed in.
        if (services_ && !text.trimmed().isEmpty())
            services_->Decodifica(kinds_.value(index), box, lab.value(index));
        else
            lab.value(index)->clear();
    }
}

void ClasseAttrDialog::SetRange(const ClasseAttrRange &range)
{
    for (int level = 1; level <= ClasseAttrRange::kLevels; ++level) {
        SetBound(level, false, range.da[Slot(level)]);
        SetBound(level, true, range.a[Slot(level)]);
    }
}

QString ClasseAttrDialog::Bound(int level, bool upper) const
{
    if (level < 1 || level > ClasseAttrRange::kLevels)
        return {};
    return (upper ? range_.a : range_.da)[Slot(level)];
}

void ClasseAttrDialog::SetBound(int level, bool upper, const QString &value)
{
    if (level < 1 || level > ClasseAttrRange::kLevels)
        return;
    (upper ? range_.a : range_.da)[Slot(level)] = value;
    setBoxText(upper ? AIndex(level) : DaIndex(level), value);
}

ClasseAttrRange ClasseAttrDialog::fieldsRange() const
{
    ClasseAttrRange r;
    for (int level = 1; level <= ClasseAttrRange::kLevels; ++level) {
        r.da[Slot(level)] = boxText(DaIndex(level));
        r.a[Slot(level)] = boxText(AIndex(level));
    }
    return r;
}

std::optional<ClasseAttrProblem> ClasseAttrDialog::check() const
{
    return ClasseAttrCheck(fieldsRange());
}

void ClasseAttrDialog::store()
{
    range_ = fieldsRange();
}

void ClasseAttrDialog::focusBox(int index)
{
    if (QLineEdit *box = txt.value(index); box && box->isVisible())
        box->setFocus(Qt::OtherFocusReason);
}

void ClasseAttrDialog::ComOK_Click()
{
    if (const auto problem = check()) {
        if (messages_)
            messages_->msgCom(problem->message, {QStringLiteral("&Ok")});
        focusBox(problem->what == ClasseAttrProblem::Categoria ? kCategoriaDa
                 : problem->what == ClasseAttrProblem::Zona    ? kZonaDa
                                                               : DaIndex(problem->level));
        return;
    }
    store();
    accept();
}

void ClasseAttrDialog::ComAnnulla_Click()
{
    reject();
}

} // namespace kem
