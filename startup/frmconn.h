#pragma once
// frmConn: the splash shown while a database is being opened.
#include "startup/connsplash.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;

namespace kem {

class frmConnWindow : public QWidget {
    Q_OBJECT
public:
    explicit frmConnWindow(QWidget *parent = nullptr);
    QLabel *labTitolo;
    QLabel *labVersione;
    QLabel *LabDataVer;
    QLabel *imgLogo;
    QLabel *imgAccess;
    QLabel *imgOracle;
    QLineEdit *txtNomeDb;
};

// The splash as a window; one instance per program, created by Load, destroyed by Unload.
class frmConn : public ConnSplash {
public:
    ~frmConn() override;
    void Load() override;
    void Unload() override;
    bool isLoaded() const override { return !window_.isNull(); }
    void setAccessImageVisible(bool visible) override;
    void setTitleVisible(bool visible) override;
    void setTitle(const QString &text) override;
    void setVersion(const QString &text) override;
    void setVersionDate(const QString &text) override;
    void setDatabaseName(const QString &text) override;
    void ShowModeless(const QString &caption) override;
    frmConnWindow *window() const { return window_; }

private:
    QPointer<frmConnWindow> window_;
};

} // namespace kem
