// The message dialog driven without a user: buttons are pressed from single-shot timers.
#include "common/attentionsound.h"
#include "common/frmmsgcom.h"
#include "common/helpopener.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace kem;

namespace {

class RecordingPlayer : public SoundPlayer {
public:
    void beep() override { calls << QStringLiteral("beep"); }
    void playWav(const QByteArray &) override { calls << QStringLiteral("wav"); }
    void playFile(const QString &path) override { calls << path; }
    QStringList calls;
};

class RecordingOpener : public HelpOpener {
public:
    void openContext(const QString &file, int id) override { opened << file + "#" + QString::number(id); }
    void openIndex(const QString &file, const QString &kw) override { opened << file + "?" + kw; }
    QStringList opened;
};

// Runs `action` once the dialog is on screen (and closes it as a safety net if the action
// did not).
void WhenShown(frmMsgCom &dlg, std::function<void()> action)
{
    QTimer::singleShot(0, &dlg, [&dlg, action] {
        QTRY_VERIFY_WITH_TIMEOUT(dlg.isVisible(), 2000);
        action();
        if (dlg.isVisible())
            dlg.reject();
    });
}

} // namespace

class TestFrmMsgCom : public QObject {
    Q_OBJECT
private slots:
    void design();
    void pressedButtonNumber_data();
    void pressedButtonNumber();
    void returnsZeroWhenAlreadyVisible();
    void defaultButton_data();
    void defaultButton();
    void closedWithoutButton();
    void attentionSound();
    void errorForm();
    void helpKey();
    void messageFactorScalesFonts();
};

void TestFrmMsgCom::design()
{
    frmMsgCom dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Richiesta Comando"));
    QVERIFY(dlg.findChild<QLabel *>("LabMessaggio"));
    QVERIFY(dlg.findChild<QPlainTextEdit *>("txtMessaggio"));
    QVERIFY(dlg.findChild<QLineEdit *>("txtComRit"));
    QCOMPARE(dlg.ComEsegui.size(), 1);
    QCOMPARE(dlg.ComEsegui[0]->text(), QStringLiteral("OK"));
}

void TestFrmMsgCom::pressedButtonNumber_data()
{
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("press");
    QTest::newRow("&Riprovare") << QStringList{"&Riprovare", "&Annulla"} << 0;
    QTest::newRow("&Annulla") << QStringList{"&Riprovare", "&Annulla"} << 1;
    QTest::newRow("third of three") << QStringList{"&S\u00ec", "&No", "&Annulla"} << 2;
    QTest::newRow("only &Ok") << QStringList{"&Ok"} << 0;
}

void TestFrmMsgCom::pressedButtonNumber()
{
    QFETCH(QStringList, buttons);
    QFETCH(int, press);
    frmMsgCom dlg;
    QStringList captions;
    QString shown;
    bool comRitHidden = false;
    WhenShown(dlg, [&] {
        for (QPushButton *b : dlg.ComEsegui)
            captions << b->text();
        shown = dlg.txtMessaggio->toPlainText();
        comRitHidden = !dlg.txtComRit->isVisible();
        dlg.ComEsegui[press]->click();
    });
    const int answer = dlg.msgCom("Utente o password non validi per SQL", buttons, MsgComOptions{});
    QCOMPARE(answer, press + 1);
    QCOMPARE(captions, buttons);
    QCOMPARE(shown, QStringLiteral("Utente o password non validi per SQL"));
    QVERIFY(comRitHidden);
    QCOMPARE(dlg.txtComRit->text(), QString::number(press + 1));
    QVERIFY(!dlg.isVisible());
}

void TestFrmMsgCom::returnsZeroWhenAlreadyVisible()
{
    frmMsgCom dlg;
    int nested = -1;
    QString textDuringNested;
    WhenShown(dlg, [&] {
        nested = dlg.msgCom("second message", {"&Ok", "&No"}, 2);
        textDuringNested = dlg.txtMessaggio->toPlainText();
        dlg.ComEsegui[1]->click();
    });
    QCOMPARE(dlg.msgCom("first message", {"&S\u00ec", "&No"}), 2);
    QCOMPARE(nested, 0);
    QCOMPARE(textDuringNested, QStringLiteral("first message"));
}

void TestFrmMsgCom::defaultButton_data()
{
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("answer");
    QTest::newRow("first") << 1 << 1;
    QTest::newRow("second") << 2 << 2;
    QTest::newRow("out of range: first has the focus") << 5 << 1;
}

void TestFrmMsgCom::defaultButton()
{
    QFETCH(int, defaultButton);
    QFETCH(int, answer);
    frmMsgCom dlg;
    WhenShown(dlg, [&] {
        QTest::keyClick(dlg.focusWidget() ? dlg.focusWidget() : &dlg, Qt::Key_Return);
    });
    MsgComOptions options;
    options.defaultButton = defaultButton;
    QCOMPARE(dlg.msgCom("Confermi?", {"&S\u00ec", "&No"}, options), answer);
}

void TestFrmMsgCom::closedWithoutButton()
{
    frmMsgCom dlg;
    WhenShown(dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); });
    QCOMPARE(dlg.msgCom("Confermi?", {"&S\u00ec", "&No"}), 0);
}

void TestFrmMsgCom::attentionSound()
{
    RecordingPlayer player;
    MsgComSettings settings;
    settings.sound = &player;
    settings.beepCome = QStringLiteral("660;120");
    frmMsgCom dlg(settings);
    WhenShown(dlg, [&] { dlg.ComEsegui[0]->click(); });
    dlg.msgCom("senza suono", {"&Ok"}, MsgComOptions{});
    QCOMPARE(player.calls, QStringList{});
    MsgComOptions options;
    options.attention = true;
    WhenShown(dlg, [&] { dlg.ComEsegui[0]->click(); });
    dlg.msgCom("con suono", {"&Ok"}, options);
    QCOMPARE(player.calls, QStringList{"wav"});
}

void TestFrmMsgCom::errorForm()
{
    frmMsgCom dlg;
    QString shown;
    QStringList captions;
    WhenShown(dlg, [&] {
        shown = dlg.txtMessaggio->toPlainText();
        for (QPushButton *b : dlg.ComEsegui)
            captions << b->text();
        dlg.ComEsegui[0]->click();
    });
    dlg.MsgErrfrm(ErrorInfo{"3078", "Tabella inesistente", ""}, {}, {}, "(Distinta) ");
    QCOMPARE(shown, QStringLiteral("(Distinta) Errore(3078): Tabella inesistente"));
    QCOMPARE(captions, QStringList{"&Ok"});
    // Through the sink interface, as the engines call it.
    MessageSink &sink = dlg;
    WhenShown(dlg, [&] {
        shown = dlg.txtMessaggio->toPlainText();
        dlg.ComEsegui[0]->click();
    });
    sink.MsgErrfrm("3031", "Password non valida");
    QCOMPARE(shown, QStringLiteral("Errore(3031): Password non valida"));
}

void TestFrmMsgCom::helpKey()
{
    RecordingOpener opener;
    MsgComSettings settings;
    settings.help = &opener;
    settings.helpFile = QStringLiteral("/opt/kem/distinta.chm");
    frmMsgCom dlg(settings);
    dlg.setProperty("HelpContextID", 4100);
    WhenShown(dlg, [&] {
        QTest::keyClick(&dlg, Qt::Key_F1);
        dlg.ComEsegui[0]->click();
    });
    dlg.msgCom("aiuto", {"&Ok"}, MsgComOptions{});
    QCOMPARE(opener.opened, QStringList{"/opt/kem/distinta.chm#4100"});
}

void TestFrmMsgCom::messageFactorScalesFonts()
{
    MsgComSettings settings;
    settings.messageFactor = 2;
    frmMsgCom plain;
    frmMsgCom scaled(settings);
    qreal plainSize = 0, scaledSize = 0;
    WhenShown(plain, [&] {
        plainSize = plain.txtMessaggio->font().pointSizeF();
        plain.ComEsegui[0]->click();
    });
    plain.msgCom("a", {"&Ok"}, MsgComOptions{});
    WhenShown(scaled, [&] {
        scaledSize = scaled.txtMessaggio->font().pointSizeF();
        scaled.ComEsegui[0]->click();
    });
    scaled.msgCom("a", {"&Ok"}, MsgComOptions{});
    QVERIFY(plainSize > 0);
    QCOMPARE(scaledSize, plainSize * 2);
    QCOMPARE(scaled.property("odRisVidVal").toDouble(), 2.0);
}

QTEST_MAIN(TestFrmMsgCom)
#include "tst_frmmsgcom.moc"
