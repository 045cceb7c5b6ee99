#pragma once
// The path of articles being walked down a bill of materials, outermost first, to catch a
// structure that contains itself (directly or through other articles).
#include <QSet>
#include <QString>
#include <QStringList>

namespace kem {

class BomPath {
public:
    // Adds article to the path; false when it is already on it (a cycle): the path is then
    // left as it was and cycleText() describes the cycle.
    bool enter(const QString &article);
    // Takes the innermost article off the path.
    void leave();
    bool contains(const QString &article) const;
    int depth() const { return path_.size(); }
    const QStringList &articles() const { return path_; }
    void clear();

    // "Distinta ciclica: A -> B -> A", followed by " (nella distinta di P)" when the cycle
    // starts below the outermost article P.
    QString cycleText(const QString &article) const;
    // The same for a path walked up through the articles that use each other (each article
    // is a component of the next): the cycle in the order of the bills, each article
    // containing the next, followed by " (negli impieghi di C)" when it starts above the
    // first article C.
    QString usedInCycleText(const QString &article) const;

private:
    // The position of article on the path; depth() when it is not on it.
    int indexOf(const QString &article) const;

    QStringList path_;
    QSet<QString> keys_;  // codes as the database compares them
};

// The code of a line `levels` levels down a walk (or up it): "* " once per level, then the code.
QString IndentedCode(int levels, const QString &code);

// Enters an article on scope entry and leaves it on scope exit, when entering succeeded.
class BomPathStep {
public:
    BomPathStep(BomPath &path, const QString &article) : path_(path), entered_(path.enter(article)) {}
    ~BomPathStep()
    {
        if (entered_)
            path_.leave();
    }
    BomPathStep(const BomPathStep &) = delete;
    BomPathStep &operator=(const BomPathStep &) = delete;
    bool entered() const { return entered_; }

private:
    BomPath &path_;
    bool entered_;
};

} // namespace kem
