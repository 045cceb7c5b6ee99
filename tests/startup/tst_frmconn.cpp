// The connection splash as a window (offscreen): design texts, what the opening sets, the
// caption, one instance, and the unload.
#include "startup/frmconn.h"
#include "startup/qtdialogs.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace kem;

class TestFrmConn : public QObject {
    Q_OBJECT

private slots:
    void designTexts()
    {
        frmConn splash;
        QVERIFY(!splash.isLoaded());
        splash.Load();
        QVERIFY(splash.isLoaded());
        frmConnWindow *w = splash.window();
        QCOMPARE(w->windowTitle(), QStringLiteral("Connessione al database"));
        QCOMPARE(w->labVersione->text(), QStringLiteral("Versione 9.99"));
        QCOMPARE(w->LabDataVer->text(), QStringLiteral("del 06/11/1998"));
        // Centred on the screen.
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(w->geometry().center().x() - area.center().x()) <= 1);
    }

    void openingSetsTheLabels()
    {
        frmConn splash;
        splash.Load();
        splash.setVersion(QStringLiteral("Versione 1.0"));
        splash.setVersionDate(QStringLiteral("del 01/03/2025"));
        splash.setTitle(QStringLiteral("Distinta base"));
        splash.setAccessImageVisible(false);
        splash.setDatabaseName(QStringLiteral("/srv/kem/dati/azienda.db"));
        splash.ShowModeless(QStringLiteral("Connessione primaria al database"));
        frmConnWindow *w = splash.window();
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Connessione primaria al database"));
        QCOMPARE(w->labVersione->text(), QStringLiteral("Versione 1.0"));
        QCOMPARE(w->LabDataVer->text(), QStringLiteral("del 01/03/2025"));
        QCOMPARE(w->labTitolo->text(), QStringLiteral("Distinta base"));
        QVERIFY(w->imgAccess->isHidden());
        QCOMPARE(w->txtNomeDb->text(), QStringLiteral("/srv/kem/dati/azienda.db"));
    }

    void oneInstanceAndUnload()
    {
        frmConn splash;
        splash.Load();
        QPointer<frmConnWindow> first = splash.window();
        splash.Load();
        QCOMPARE(splash.window(), first.data());
        splash.Unload();
        QVERIFY(!splash.isLoaded());
        QVERIFY(first.isNull());
        splash.Unload(); // harmless
        splash.setVersion(QStringLiteral("x")); // ignored without a window
        QVERIFY(!splash.isLoaded());
    }

    void modalWindowIsSeen()
    {
        QtDesktop desktop;
        QVERIFY(!desktop.ModalWindowOpen());
        bool seen = false;
        QTimer::singleShot(0, [&] {
            seen = desktop.ModalWindowOpen();
            if (QWidget *m = QApplication::activeModalWidget())
                m->close();
        });
        QMessageBox box(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("modale"));
        box.exec();
        QVERIFY(seen);
        QVERIFY(desktop.ScreenSize().width() > 0);
    }
};

QTEST_MAIN(TestFrmConn)
#include "tst_frmconn.moc"
