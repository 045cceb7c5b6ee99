// The help key: F1 only, ".chm" files only, context of the active control, its container, the form.
#include "common/helpkey.h"

#include <QLineEdit>
#include <QtTest>

using namespace kem;

namespace {

class RecordingOpener : public HelpOpener {
public:
    void openContext(const QString &file, int id) override { opened << file + "#" + QString::number(id); }
    void openIndex(const QString &file, const QString &kw) override { opened << file + "?" + kw; }
    QStringList opened;
};

} // namespace

class TestHelpKey : public QObject {
    Q_OBJECT
private slots:
    void contextOfActiveControl_data();
    void contextOfActiveControl();
    void otherFilesOrKeysDoNothing_data();
    void otherFilesOrKeysDoNothing();
    void topicAndIndexWithWindow();
    void filterRoutesF1();
};

void TestHelpKey::contextOfActiveControl_data()
{
    QTest::addColumn<int>("control");
    QTest::addColumn<int>("container");
    QTest::addColumn<int>("form");
    QTest::addColumn<int>("expected");
    QTest::newRow("control") << 300 << 200 << 100 << 300;
    QTest::newRow("container") << 0 << 200 << 100 << 200;
    QTest::newRow("form") << 0 << 0 << 100 << 100;
    QTest::newRow("none") << 0 << 0 << 0 << 0;
}

void TestHelpKey::contextOfActiveControl()
{
    QFETCH(int, control);
    QFETCH(int, container);
    QFETCH(int, form);
    QFETCH(int, expected);
    QWidget w;
    w.setProperty("HelpContextID", form);
    auto *frame = new QWidget(&w);
    frame->setProperty("HelpContextID", container);
    auto *txt = new QLineEdit(frame);
    txt->setProperty("HelpContextID", control);
    w.show();
    txt->setFocus();
    QCOMPARE(w.focusWidget(), txt);
    RecordingOpener opener;
    bool handled = false;
    QVERIFY(HelpKey(112, 0, &w, handled, "/opt/kem/Distinta.CHM", opener));
    QVERIFY(handled);
    QCOMPARE(opener.opened, QStringList{"/opt/kem/Distinta.CHM#" + QString::number(expected)});
}

void TestHelpKey::otherFilesOrKeysDoNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("file");
    QTest::newRow("not .chm") << 112 << "/opt/kem/distinta.hlp";
    QTest::newRow(".chm inside the name") << 112 << "/opt/kem/distinta.chm.txt";
    QTest::newRow("no help file") << 112 << "";
    QTest::newRow("F2") << 113 << "/opt/kem/distinta.chm";
    QTest::newRow("Enter") << 13 << "/opt/kem/distinta.chm";
}

void TestHelpKey::otherFilesOrKeysDoNothing()
{
    QFETCH(int, key);
    QFETCH(QString, file);
    QWidget w;
    w.setProperty("HelpContextID", 10);
    RecordingOpener opener;
    bool handled = false;
    QVERIFY(!HelpKey(key, 0, &w, handled, file, opener));
    QVERIFY(!handled);
    QVERIFY(opener.opened.isEmpty());
}

void TestHelpKey::topicAndIndexWithWindow()
{
    RecordingOpener opener;
    HelpTopic(opener, "/opt/kem/distinta.chm", 55, "Principale");
    HelpIndex(opener, "/opt/kem/distinta.chm", "Distinta base");
    QCOMPARE(opener.opened, (QStringList{"/opt/kem/distinta.chm>Principale#55",
                                         "/opt/kem/distinta.chm?Distinta base"}));
    QCOMPARE(HelpFilePart("/opt/kem/distinta.chm>Principale"), QStringLiteral("/opt/kem/distinta.chm"));
    QVERIFY(IsHtmlHelpFile("/opt/kem/distinta.chm>Principale"));
}

void TestHelpKey::filterRoutesF1()
{
    QWidget w;
    w.setProperty("HelpContextID", 7);
    auto *txt = new QLineEdit(&w);
    RecordingOpener opener;
    new HelpKeyFilter(&w, "/opt/kem/distinta.chm", &opener);
    QWidget other;
    auto *otherTxt = new QLineEdit(&other);
    other.show();
    w.show();
    txt->setFocus();
    QTest::keyClick(txt, Qt::Key_F1);
    QTest::keyClick(txt, Qt::Key_A);
    QTest::keyClick(otherTxt, Qt::Key_F1); // another window: not this form's help
    QCOMPARE(opener.opened, QStringList{"/opt/kem/distinta.chm#7"});
    QCOMPARE(txt->text(), QStringLiteral("a"));
}

QTEST_MAIN(TestHelpKey)
#include "tst_helpkey.moc"
