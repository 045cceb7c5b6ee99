#pragma once
// frmPrincipale: the hidden main form of the program. It carries the close mode and the two
// timers: timChiudi runs the close attempts, TimVarie gives a form the focus after its
// activation. It has no window of its own; `unloaded` ends the program.
#include <QObject>
#include <QString>
#include <QTimer>

namespace kem {

class ProgramContext;

class frmPrincipale : public QObject {
    Q_OBJECT
public:
    explicit frmPrincipale(ProgramContext &ctx, QObject *parent = nullptr);

    static QString caption() { return QStringLiteral("Form Principale del programma"); }
    static QString lblChiusura() { return QStringLiteral("Chiusura in corso"); }

    // 0 close now, non-zero close when no other form is open.
    int oiChiudi = 0;
    int oiTmpAttesa = 3000;
    bool obRiprova = true;
    int oiFlagVarie = 0;
    QString osNomeForm;

    QTimer &timChiudi() { return timChiudi_; }
    QTimer &TimVarie() { return timVarie_; }

    // The timer handlers (also called by tests instead of waiting).
    void timChiudi_Timer();
    void TimVarie_Timer();

    bool isLoaded() const { return loaded_; }
    bool isVisible() const { return visible_; }
    void Show() { visible_ = true; }
    void Hide() { visible_ = false; }
    void Unload();

signals:
    void unloaded();

private:
    ProgramContext &ctx_;
    QTimer timChiudi_;
    QTimer timVarie_;
    bool loaded_ = true;
    bool visible_ = false;
};

} // namespace kem
