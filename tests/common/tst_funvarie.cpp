// Error text, standard error message, ini writer and the message sinks without a window.
#include "common/aziendautil.h"
#include "common/funvarie.h"
#include "common/msgsinks.h"
#include "platform/db/kemdb.h"
#include "platform/menu/menuserver.h"
#include "platform/util/kemutil.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace kem;

class TestFunVarie : public QObject {
    Q_OBJECT
private slots:
    void errorText_data();
    void errorText();
    void errorInfoFromExceptions();
    void standardErrorMessage();
    void iniWriterWrites();
    void iniWriterDeletes();
    void iniWriterFailureText_data();
    void iniWriterFailureText();
    void iniWriterReportsFailures();
    void stderrSinkAnswersDefault_data();
    void stderrSinkAnswersDefault();
    void recordingSinkAnswers();
};

void TestFunVarie::errorText_data()
{
    QTest::addColumn<QString>("curNumber");
    QTest::addColumn<QString>("curDescription");
    QTest::addColumn<QString>("curSource");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty source") << "3021" << "Nessun record corrente" << "" << "" << "" << "" << ""
                                  << "Errore(3021): Nessun record corrente";
    QTest::newRow("with source") << "3078" << "Tabella inesistente" << "DBASE" << "" << "" << "" << ""
                                 << "Errore(3078): Tabella inesistente - DBASE";
    QTest::newRow("prefix and suffix") << "5" << "Chiamata non valida" << "" << "" << ""
                                       << "(Stampa) " << " !" << "(Stampa) Errore(5): Chiamata non valida !";
    QTest::newRow("given number and description") << "0" << "ignored" << "" << "91" << "Oggetto non impostato"
                                                  << "" << "" << "Errore(91): Oggetto non impostato";
    QTest::newRow("blank source") << "7" << "Memoria esaurita" << "  " << "" << "" << "" << ""
                                  << "Errore(7): Memoria esaurita";
}

void TestFunVarie::errorText()
{
    QFETCH(QString, curNumber);
    QFETCH(QString, curDescription);
    QFETCH(QString, curSource);
    QFETCH(QString, number);
    QFETCH(QString, description);
    QFETCH(QString, prefix);
    QFETCH(QString, suffix);
    QFETCH(QString, expected);
    const ErrorInfo current{curNumber, curDescription, curSource};
    QCOMPARE(FormatError(current, number, description, prefix, suffix), expected);
}

void TestFunVarie::errorInfoFromExceptions()
{
    try {
        throw DbError(3078, QStringLiteral("Tabella 'X' inesistente"));
    } catch (...) {
        const ErrorInfo e = CurrentErrorInfo();
        QCOMPARE(e.number, QStringLiteral("3078"));
        // The data access layer's text of the number, with the table the engine named.
        QCOMPARE(e.description, QStringLiteral("Il motore di database non trova la tabella o la query di input: 'X'"));
        QCOMPARE(e.source, QStringLiteral("DBASE"));
    }
    try {
        throw std::runtime_error("stato inatteso");
    } catch (...) {
        const ErrorInfo e = CurrentErrorInfo();
        QCOMPARE(e.number, QStringLiteral("51"));  // never 0 for a failure
        QCOMPARE(e.description, QStringLiteral("Errore interno: stato inatteso"));
    }
    try {
        throw 42;
    } catch (...) {
        QCOMPARE(CurrentErrorInfo().number, QStringLiteral("51"));
    }
    try {
        throw MenuError(MenuError::NotRunning, QStringLiteral("menu assente"));
    } catch (...) {
        const ErrorInfo e = CurrentErrorInfo();
        QCOMPARE(e.number, QStringLiteral("5"));
        QCOMPARE(e.description, QStringLiteral("menu assente"));
    }
    try {
        throw ParamError("Mag.NumDecQta", "tre", "un numero intero da 0 a 15");
    } catch (...) {
        const ErrorInfo e = CurrentErrorInfo();
        QCOMPARE(e.number, QStringLiteral("13"));
        QCOMPARE(e.description, QStringLiteral("Valore non valido per Mag.NumDecQta: \"tre\" "
                                               "(atteso un numero intero da 0 a 15)"));
    }
    try {
        throw 42;
    } catch (...) {
        QCOMPARE(CurrentErrorInfo().description, QStringLiteral("Errore sconosciuto"));
    }
}

void TestFunVarie::standardErrorMessage()
{
    RecordingMessageSink sink;
    StandardErrorMessage(sink, {"3022", "Chiave duplicata", ""}, {}, {}, "Salvataggio: ", ".");
    StandardErrorMessage(sink, {"3022", "Chiave duplicata", "DBASE"}, "Articolo gi\u00e0 presente", "1");
    QCOMPARE(sink.errors, (QStringList{"Salvataggio: Errore(3022): Chiave duplicata.",
                                       "Errore(1): Articolo gi\u00e0 presente - DBASE"}));
}

void TestFunVarie::iniWriterWrites()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("kemwin.ini");
    RecordingMessageSink sink;
    QVERIFY(IniWriteValue("Opzioni Stampa", "Stampante", "HP LaserJet", file, sink));
    QVERIFY(IniWriteValue("Opzioni Stampa", "Copie", "2", file, sink));
    QVERIFY(IniWriteValue("Opzioni Stampa", "Stampante", "PDF", file, sink));
    QString v;
    IniRead(file, "Opzioni Stampa", "Stampante", "", v);
    QCOMPARE(v, QStringLiteral("PDF"));
    IniRead(file, "Opzioni Stampa", "Copie", "", v);
    QCOMPARE(v, QStringLiteral("2"));
    QVERIFY(sink.messages.isEmpty());
}

void TestFunVarie::iniWriterDeletes()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("kemwin.ini");
    RecordingMessageSink sink;
    QVERIFY(IniWriteValue("A", "uno", "1", file, sink));
    QVERIFY(IniWriteValue("A", "due", "2", file, sink));
    QVERIFY(IniWriteValue("B", "tre", "3", file, sink));
    // Empty value: the key goes.
    QVERIFY(IniWriteValue("A", "uno", "", file, sink));
    QString v;
    QCOMPARE(IniRead(file, "A", "uno", "missing", v), QStringLiteral("0"));
    QCOMPARE(v, QStringLiteral("missing"));
    IniRead(file, "A", "due", "", v);
    QCOMPARE(v, QStringLiteral("2"));
    // Empty key: the section goes, the other stays.
    QVERIFY(IniWriteValue("A", "", "", file, sink));
    IniRead(file, "A", "due", "missing", v);
    QCOMPARE(v, QStringLiteral("missing"));
    IniRead(file, "B", "tre", "", v);
    QCOMPARE(v, QStringLiteral("3"));
    QVERIFY(sink.messages.isEmpty());
}

void TestFunVarie::iniWriterFailureText_data()
{
    QTest::addColumn<int>("phase");
    QTest::addColumn<QString>("phaseText");
    QTest::newRow("search") << int(IniWritePhase::Search) << "durante la ricerca";
    QTest::newRow("update 1") << int(IniWritePhase::Update1) << "durante l' aggiornamento(1)";
    QTest::newRow("update 2") << int(IniWritePhase::Update2) << "durante l' aggiornamento(2)";
}

void TestFunVarie::iniWriterFailureText()
{
    QFETCH(int, phase);
    QFETCH(QString, phaseText);
    QCOMPARE(IniWriteFailureText("Opzioni Stampa", "Copie", "3", IniWritePhase(phase)),
             "Aggiornamento del valore : 3\nnella sezione : Opzioni Stampa\nparametro : Copie\n"
             "NON RIUSCITO.\n" + phaseText);
}

void TestFunVarie::iniWriterReportsFailures()
{
    QTemporaryDir dir;
    RecordingMessageSink sink;
    // A folder where the file should be: the search fails.
    QVERIFY(!IniWriteValue("A", "k", "v", dir.path(), sink));
    QCOMPARE(sink.messages.size(), 1);
    QVERIFY(sink.messages[0].text.endsWith("durante la ricerca"));
    QCOMPARE(sink.messages[0].buttons, QStringList{"&Ok"});
    // A file that cannot be created: the write fails.
    sink.clear();
    QVERIFY(!IniWriteValue("A", "k", "v", dir.filePath("manca/kemwin.ini"), sink));
    QCOMPARE(sink.messages.size(), 1);
    QVERIFY(sink.messages[0].text.startsWith("Aggiornamento del valore : v\n"));
    QVERIFY(sink.messages[0].text.endsWith("durante l' aggiornamento(1)"));
    QVERIFY(!QFile::exists(dir.filePath("manca/kemwin.ini")));
    // A value an ini line cannot hold does not come back as written.
    sink.clear();
    const QString file = dir.filePath("kemwin.ini");
    QVERIFY(!IniWriteValue("A", "k", "riga1\nriga2", file, sink));
    QCOMPARE(sink.messages.size(), 1);
    QVERIFY2(sink.messages[0].text.contains("durante l' aggiornamento"), qPrintable(sink.messages[0].text));
}

void TestFunVarie::stderrSinkAnswersDefault_data()
{
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("shown");
    QTest::newRow("first") << QStringList{"&Riprovare", "&Annulla"} << 1 << 1 << "-> Riprovare";
    QTest::newRow("second") << QStringList{"&Riprovare", "&Annulla"} << 2 << 2 << "-> Annulla";
    QTest::newRow("out of range") << QStringList{"&Ok"} << 3 << 1 << "-> Ok";
    QTest::newRow("zero") << QStringList{"&S\u00ec", "&No"} << 0 << 1 << "-> S\u00ec";
}

void TestFunVarie::stderrSinkAnswersDefault()
{
    QFETCH(QStringList, buttons);
    QFETCH(int, defaultButton);
    QFETCH(int, answer);
    QFETCH(QString, shown);
    QString out;
    QTextStream stream(&out);
    StderrMessageSink sink(&stream);
    QCOMPARE(sink.msgCom("Utente o password non validi per SQL", buttons, defaultButton), answer);
    QVERIFY2(out.contains("Utente o password non validi per SQL"), qPrintable(out));
    QVERIFY2(out.contains(shown), qPrintable(out));
    sink.MsgErrfrm("3031", "Password non valida", "(Distinta) ");
    QVERIFY(out.contains("(Distinta) Errore(3031): Password non valida\n"));
}

void TestFunVarie::recordingSinkAnswers()
{
    RecordingMessageSink sink;
    sink.queueAnswers({2});
    QCOMPARE(sink.msgCom("a", {"&Riprovare", "&Annulla"}), 2);
    QCOMPARE(sink.msgCom("b", {"&Riprovare", "&Annulla"}, 2), 2);
    QCOMPARE(sink.msgCom("c", {"&Riprovare", "&Annulla"}), 1);
    QCOMPARE(sink.texts(), (QStringList{"a", "b", "c"}));
    QCOMPARE(sink.messages[0].answer, 2);
}

QTEST_GUILESS_MAIN(TestFunVarie)
#include "tst_funvarie.moc"
