// Closing the menu with programs connected: each is asked to end, and the menu may close only
// when all of them end; a refusal (or no answer in time) comes back with the program's answer,
// and the texts the window shows and asks name it.
#include "apps/kemora-menu/menuclosing.h"
#include "apps/kemora-menu/menuhost.h"
#include "tests/platform/menu/menufixture.h"
#include "tests/platform/menu/modulethread.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace kem;

Q_DECLARE_METATYPE(QList<kem::ProgramRefusal>)

class TstMenuClosing : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void programsAskedToEnd_data();
    void programsAskedToEnd();
    void fineAccepted_data();
    void fineAccepted();
    void refusalTexts();

private:
    std::unique_ptr<QTemporaryDir> tmp_;
    std::unique_ptr<MenuHost> host_;
    QList<std::shared_ptr<menutest::ModuleThread>> modules_;
};

void TstMenuClosing::init()
{
    qRegisterMetaType<QList<kem::ProgramRefusal>>();
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    QString error;
    QVERIFY2(menutest::WriteMenuCompany(tmp_->path(), &error), qPrintable(error));
    MenuConfig config;
    QVERIFY2(MenuConfig::Load(tmp_->path(), &config, &error), qPrintable(error));
    host_ = std::make_unique<MenuHost>(config);
    QVERIFY2(host_->listen(&error), qPrintable(error));
}

void TstMenuClosing::cleanup()
{
    modules_.clear();
    host_.reset();
}

void TstMenuClosing::programsAskedToEnd_data()
{
    QTest::addColumn<QStringList>("answers");   // one program per answer to "fine", keys DIBA1, DIBA2, ...
    QTest::addColumn<QStringList>("refusals");  // "session|key|answer"
    QTest::newRow("no program") << QStringList{} << QStringList{};
    QTest::newRow("the program ends") << QStringList{""} << QStringList{};
    QTest::newRow("the program refuses") << QStringList{"No Chiudi"} << QStringList{"1|DIBA1|No Chiudi"};
    QTest::newRow("a modal window") << QStringList{"Maschera Modal"} << QStringList{"1|DIBA1|Maschera Modal"};
    QTest::newRow("two programs, the second refuses")
        << QStringList{"", "No Chiudi"} << QStringList{"2|DIBA2|No Chiudi"};
    QTest::newRow("two programs refuse")
        << QStringList{"No Chiudi", "Maschera Modal"} << QStringList{"1|DIBA1|No Chiudi", "2|DIBA2|Maschera Modal"};
    QTest::newRow("no answer in time") << QStringList{menutest::kLate} << QStringList{"1|DIBA1|" + kNoAnswer};
}

void TstMenuClosing::programsAskedToEnd()
{
    QFETCH(QStringList, answers);
    QFETCH(QStringList, refusals);
    for (int i = 0; i < answers.size(); ++i) {
        auto m = std::make_shared<menutest::ModuleThread>();
        m->start(host_->socketName(), QStringLiteral("DIBA%1").arg(i + 1), answers[i]);
        QTRY_VERIFY_WITH_TIMEOUT(m->ready() || m->failed(), 5000);
        QVERIFY(m->ready());
        modules_ << m;
    }
    MenuClosing closing(*host_);
    closing.setAnswerTimeout(300);
    QSignalSpy finished(&closing, &MenuClosing::finished);
    closing.start();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
    QVERIFY(!closing.running());
    QStringList got;
    for (const ProgramRefusal &r : finished.first().first().value<QList<ProgramRefusal>>())
        got << QStringLiteral("%1|%2|%3").arg(r.session).arg(r.programKey, r.answer);
    QCOMPARE(got, refusals);
    for (const auto &m : std::as_const(modules_))
        QCOMPARE(m->fineAsked(), 1);
    // A late answer that still comes changes nothing.
    QTest::qWait(answers.contains(menutest::kLate) ? menutest::kLateMs : 50);
    QCOMPARE(finished.count(), 1);
}

void TstMenuClosing::fineAccepted_data()
{
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty text") << QVariant(QString()) << true;
    QTest::newRow("no value") << QVariant() << true;
    QTest::newRow("blanks") << QVariant(QStringLiteral("  ")) << true;
    QTest::newRow("No Chiudi") << QVariant(QStringLiteral("No Chiudi")) << false;
    QTest::newRow("Maschera Modal") << QVariant(QStringLiteral("Maschera Modal")) << false;
}

void TstMenuClosing::fineAccepted()
{
    QFETCH(QVariant, answer);
    QFETCH(bool, accepted);
    QCOMPARE(FineAccepted(answer), accepted);
}

void TstMenuClosing::refusalTexts()
{
    const QList<ProgramRefusal> one{{1, QStringLiteral("DISTINTA"), QStringLiteral("No Chiudi")}};
    QCOMPARE(RefusalAnswerText(one), QStringLiteral("[1] DISTINTA: \"No Chiudi\""));
    const QString question = RefusalQuestion(one);
    QVERIFY2(question.contains(QStringLiteral("[1] DISTINTA")), qPrintable(question));
    QVERIFY2(question.contains(QStringLiteral("\"No Chiudi\"")), qPrintable(question));
    QVERIFY2(question.contains(QStringLiteral("senza menu")), qPrintable(question));
    const QList<ProgramRefusal> two{{1, QStringLiteral("DISTINTA"), QStringLiteral("No Chiudi")},
                                    {3, QString(), kNoAnswer}};
    QCOMPARE(RefusalAnswerText(two), QStringLiteral("[1] DISTINTA: \"No Chiudi\"; [3] senza nome: (nessuna risposta)"));
    QVERIFY(RefusalQuestion(two).contains(QStringLiteral("\n[3] senza nome: (nessuna risposta)")));
    QVERIFY(GoBackButtonText() != LeaveRunningButtonText());
}

QTEST_MAIN(TstMenuClosing)
#include "tst_menuclosing.moc"
