#pragma once
// The connection splash `frmConn` as the start-up sees it. The program shows a window
// (frmconn.h); batch runs and tests keep only its state (SplashState).
#include <QString>

namespace kem {

class ConnSplash {
public:
    virtual ~ConnSplash() = default;
    virtual void Load() = 0;                // creates the window (centred on the screen)
    virtual void Unload() = 0;              // destroys it; harmless when not loaded
    virtual bool isLoaded() const = 0;
    virtual void setAccessImageVisible(bool visible) = 0;   // imgAccess
    virtual void setTitleVisible(bool visible) = 0;         // labTitolo
    virtual void setTitle(const QString &text) = 0;         // labTitolo
    virtual void setVersion(const QString &text) = 0;       // labVersione (made visible)
    virtual void setVersionDate(const QString &text) = 0;   // LabDataVer (made visible)
    virtual void setDatabaseName(const QString &text) = 0;  // txtNomeDb
    virtual void ShowModeless(const QString &caption) = 0;  // shows and repaints
};

// The splash without a window: remembers what a window would show.
class SplashState : public ConnSplash {
public:
    void Load() override;
    void Unload() override;
    bool isLoaded() const override { return loaded_; }
    void setAccessImageVisible(bool visible) override { accessImage = visible; }
    void setTitleVisible(bool visible) override { titleVisible = visible; }
    void setTitle(const QString &text) override { title = text; }
    void setVersion(const QString &text) override { version = text; }
    void setVersionDate(const QString &text) override { versionDate = text; }
    void setDatabaseName(const QString &text) override { databaseName = text; }
    void ShowModeless(const QString &text) override { caption = text; shown = true; }

    // Design values of the window.
    QString title;
    QString version = QStringLiteral("Versione 9.99");
    QString versionDate = QStringLiteral("del 06/11/1998");
    QString databaseName;
    QString caption = QStringLiteral("Connessione al database");
    bool accessImage = true;
    bool titleVisible = true;
    bool shown = false;
    int loads = 0;

private:
    bool loaded_ = false;
};

} // namespace kem
