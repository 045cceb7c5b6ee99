#pragma once
// The help and decoding component as the start-up and the menu link see it: its settings
// object, its help window (lookup window) and its events. The lookups themselves live with the
// code fields; this object carries the program-wide part.
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace kem {

class Database;
class MenuServer;

// Arguments of the ClsPrepDecod event, passed by reference so the receiver can complete them.
struct PrepDecodArgs {
    QString text1;
    QString text2;
    QString text3;
    QVariant key;    // invalid: not given
    QVariant shift;  // invalid: not given
    bool result = false;
};

// The help window (caption "Aiuto").
class HelpWindow {
public:
    QString caption() const { return QStringLiteral("Aiuto"); }
    bool visible = false;
    const void *ofrmAttiva = nullptr;   // the form the window currently serves
    bool obLockSpostaCurs = false;
    int oiSpostaCurs = 0;
    QStringList commands;               // ButtonComando calls, in order
    int hides = 0;
    bool closed = false;

    void ButtonComando(const QString &command) { commands.append(command); }
    void HideFrm() { visible = false; ++hides; }
    void ChiudiAiuto() { visible = false; closed = true; }
};

struct HelpSettings {
    double odRisVid = -2;
};

class KemAiuto : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    HelpSettings &Settings() { return settings_; }
    // Initialises the component with the program's context; hands back the main form.
    QObject *Init(QObject *mainForm, MenuServer *menu, Database *database,
                  const QString &connectionResult);
    MenuServer *Menu() const { return menu_; }
    Database *CompanyDatabase() const { return database_; }
    HelpWindow &Window() { return window_; }
    bool IsInitialised() const { return initialised_; }
    QString ConnectionResult() const { return connection_; }

signals:
    void ClsMainMenuFrm();
    void ClsPrepDecod(PrepDecodArgs &args);
    void LanciaKeyPrim(const QString &key);
    void LanciaKeySec(const QString &key);

private:
    HelpSettings settings_;
    HelpWindow window_;
    MenuServer *menu_ = nullptr;
    Database *database_ = nullptr;
    QString connection_;
    bool initialised_ = false;
};

} // namespace kem
