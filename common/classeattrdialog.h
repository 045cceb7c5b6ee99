#pragma once
// ClasseAttrDialog: what the two class and attribute dialogs share. One row per class level
// in use (a level whose caption the company settings leave empty is hidden): the level's
// caption, its lower and upper bound with a lookup button and a description each. The bounds
// the caller hands in are kept as the dialog's values; "&OK" checks the fields and stores
// them, "&Annulla" closes and leaves the values as they were handed in.
// Boxes: txt(10 * level) the lower bound, txt(10 * level + 5) the upper one.
#include "common/classeattr.h"

#include <QDialog>
#include <QHash>
#include <optional>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kem {

class FormServices;
class MessageSink;

// What the dialogs run with: the code fields' decoding and lookups (none without services),
// where their messages go, and the level captions.
struct ClasseAttrDialogEnv {
    FormServices *services = nullptr;
    MessageSink *messages = nullptr;
    ClasseAttrCaption caption;
};

class ClasseAttrDialog : public QDialog {
    Q_OBJECT
public:
    ~ClasseAttrDialog() override;

    // The boxes of a level's bounds.
    static int DaIndex(int level) { return 10 * level; }
    static int AIndex(int level) { return 10 * level + 5; }
    // The category and zone pairs of the account dialog.
    static constexpr int kCategoriaDa = 60, kCategoriaA = 65, kZonaDa = 70, kZonaA = 75;
    // The level has a caption (its row is shown).
    bool LevelInUse(int level) const;

    // The class bounds the dialog holds: what the caller handed in, or what "&OK" stored.
    const ClasseAttrRange &Range() const { return range_; }
    void SetRange(const ClasseAttrRange &range);
    // One bound of a level (1 to 5); empty for a level out of range.
    QString Bound(int level, bool upper) const;
    void SetBound(int level, bool upper, const QString &value);

    // "&OK": the checks (the message, and the dialog stays) and the values stored.
    void ComOK_Click();
    // "&Annulla": closes without storing.
    void ComAnnulla_Click();

    // Per level (1 to 5): the caption, "da:" and "a:".
    QHash<int, QLabel *> LabClasse, LabDa, LabA;
    // The code boxes, their descriptions and lookup buttons, by box index.
    QHash<int, QLineEdit *> txt;
    QHash<int, QLabel *> lab;
    QHash<int, QPushButton *> ComHlp;
    QPushButton *ComOK = nullptr;
    QPushButton *ComAnnulla = nullptr;

protected:
    // pdc: the account levels ("PdcCla." n, lookups "PdcClasseAttr" n), else the article ones
    // ("Cla." n, "ArtClasseAttr" n).
    ClasseAttrDialog(const ClasseAttrDialogEnv &env, bool pdc, const QString &title, QWidget *parent);

    // Adds a code field pair (lower at index, upper at index + 5) below the levels.
    void addPair(int index, const QString &caption, const QString &kind);
    // The range the boxes hold.
    ClasseAttrRange fieldsRange() const;
    // Levels shown by their captions (ImpostaVisible).
    void showLevelsInUse();
    void focusBox(int index);

    // The first problem of the boxes; stores them once there is none.
    virtual std::optional<ClasseAttrProblem> check() const;
    virtual void store();

    QString boxText(int index) const;
    void setBoxText(int index, const QString &text);

    QGridLayout *grid_ = nullptr;
    QLabel *pairCaption(int index) const { return pairCaptions_.value(index); }

private:
    void addField(int row, int index, const QString &caption, const QString &kind, int column);
    void lookup(int index);

    FormServices *services_;
    MessageSink *messages_;
    ClasseAttrRange range_;
    QHash<int, QString> kinds_;
    QHash<int, QLabel *> pairCaptions_;
    QHash<int, bool> inUse_;
    int nextRow_ = 0;
};

} // namespace kem
