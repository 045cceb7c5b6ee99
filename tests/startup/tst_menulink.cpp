// The menu link: the command processor, form activation, the unload protocol, the close timer
// and the end of the program, with the fake menu and forms without windows.
#include "common/aziendautil.h"
#include "startup/kemaiuto.h"
#include "startup/mainprelvo.h"
#include "startup/sckemutilprg.h"
#include "tests/startup/startupfixture.h"

#include <QSignalSpy>
#include <QTest>

using namespace kem;
using namespace kem::test;

class TestMenuLink : public QObject {
    Q_OBJECT

private:
    // A fixture with the menu connected and the help component created.
    std::unique_ptr<Fixture> linked()
    {
        auto f = std::make_unique<Fixture>();
        f->connectMenu();
        f->ctx->help = std::make_unique<scKemUtilPrg>(*f->ctx);
        return f;
    }
    TestForm *open(Fixture &f, const QString &name)
    {
        FormDispatcher(*f.ctx, name, true, {}, {}, {}, {});
        return f.form(name);
    }

private slots:
    void simpleCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("esiste") << "esiste" << QVariant(true);
        QTest::newRow("ESISTE") << "ESISTE" << QVariant(true);
        QTest::newRow("keyprgprim") << "keyprgprim" << QVariant(QStringLiteral("PRIM-1"));
        QTest::newRow("keyprgsec") << "KeyPrgSec" << QVariant(QStringLiteral("SEC-2"));
        QTest::newRow("paramprgclie") << "paramprgclie" << QVariant(QStringLiteral("$Default$"));
        QTest::newRow("comandoprgclie") << "comandoprgclie" << QVariant(QStringLiteral("CMD-3"));
        QTest::newRow("unknown") << "qualcosa" << QVariant(QString());
    }
    void simpleCommands()
    {
        QFETCH(QString, command);
        QFETCH(QVariant, expected);
        auto f = linked();
        KemAiuto *aiuto = f->ctx->help->ogKemAiuto();
        emit aiuto->LanciaKeyPrim(QStringLiteral("PRIM-1"));
        emit aiuto->LanciaKeySec(QStringLiteral("SEC-2"));
        f->ctx->link.clientCommand = QStringLiteral("CMD-3");
        const QVariant answer = f->menu->pushCommand(command, QStringLiteral("p"));
        QCOMPARE(answer, expected);
        QVERIFY(f->ctx->mainForm->isLoaded());
        QVERIFY(f->menu->callsTo(QStringLiteral("MenuUnregister")).isEmpty());
    }

    void lastCommandAndParameter()
    {
        auto f = linked();
        f->menu->pushCommand(QStringLiteral("esiste"), QVariantList{QStringLiteral("primo"), 2});
        QCOMPARE(f->ctx->menuClass->UltCom(), QStringLiteral("esiste"));
        QCOMPARE(f->ctx->menuClass->UltParam(), QStringLiteral("primo"));
        QCOMPARE(f->ctx->menuClass->UltParamVar().toList().size(), 2);
        f->menu->pushCommand(QStringLiteral("esiste"), 12);
        QCOMPARE(f->ctx->menuClass->UltParam(), QStringLiteral("12"));
    }

    void fineUpperCaseEndsTheProgram()
    {
        auto f = linked();
        QSignalSpy ended(f->ctx->mainForm.get(), &frmPrincipale::unloaded);
        const QVariant answer = f->menu->pushCommand(QStringLiteral("FINE"));
        QCOMPARE(answer.toString(), QString());
        QCOMPARE(ended.count(), 1);
        QVERIFY(!f->ctx->mainForm->isLoaded());
        QCOMPARE(f->menu->callsTo(QStringLiteral("MenuUnregister")).size(), 1);
        QVERIFY(!f->ctx->menuClass);
        QVERIFY(f->ctx->link.closing);
    }

    void fineKeepsTheServerAliveToAnswer()
    {
        Fixture f;
        auto server = std::make_shared<FakeMenuServer>();
        std::weak_ptr<FakeMenuServer> watch = server;
        FakeMenuServer *raw = server.get();
        f.ctx->menuClass = std::make_unique<scMenuComandiClie>(*f.ctx, std::move(server));
        // The program ends inside the command; the server is still there to send the answer.
        QCOMPARE(raw->pushCommand(QStringLiteral("fine")).toString(), QString());
        QVERIFY(!f.ctx->menuClass);
        QVERIFY(!watch.expired());
        QCOMPARE(raw->callsTo(QStringLiteral("MenuUnregister")).size(), 1);
        QTRY_VERIFY(watch.expired());
    }

    void fineRefusedByModalWindow()
    {
        auto f = linked();
        f->desktop.modal = true;
        QCOMPARE(f->menu->pushCommand(QStringLiteral("fine")).toString(), QStringLiteral("Maschera Modal"));
        QVERIFY(f->ctx->mainForm->isLoaded());
        QVERIFY(f->menu->callsTo(QStringLiteral("MenuUnregister")).isEmpty());
        // Once the modal window is gone the next "fine" ends.
        f->desktop.modal = false;
        QCOMPARE(f->menu->pushCommand(QStringLiteral("fine")).toString(), QString());
        QVERIFY(!f->ctx->mainForm->isLoaded());
    }

    void fineRefusedByOpenForm()
    {
        auto f = linked();
        TestForm *form = open(*f, QStringLiteral("frmProva"));
        QVERIFY(form && form->loaded);
        form->visible = false;
        QCOMPARE(f->menu->pushCommand(QStringLiteral("fine")).toString(), QStringLiteral("No Chiudi"));
        QVERIFY(form->visible); // the open form is shown
        QVERIFY(f->ctx->mainForm->isLoaded());
    }

    void ritornoaEmptyRefreshesHelpAndFocusesActiveForm()
    {
        auto f = linked();
        TestForm *form = open(*f, QStringLiteral("frmProva"));
        HelpWindow *hw = f->ctx->helpWindow();
        hw->visible = true;
        const int before = form->loads;
        f->menu->pushCommand(QStringLiteral("ritornoa"), QString());
        QCOMPARE(hw->commands, QStringList{QStringLiteral("Aggiorna")});
        QCOMPARE(form->focused, 1);
        QCOMPARE(form->loads, before);
        // Without a visible help window nothing is refreshed.
        hw->visible = false;
        f->menu->pushCommand(QStringLiteral("ritornoa"), QStringLiteral("frmNonCaricata"));
        QCOMPARE(hw->commands.size(), 1);
        QCOMPARE(form->focused, 2);
    }

    void ritornoaLoadedFormReactivatesIt()
    {
        auto f = linked();
        TestForm *form = open(*f, QStringLiteral("frmProva"));
        f->menu->setLaunchParams(LaunchParams{QStringLiteral("/M m /P DISTINTA /F frmProva"), {}, {}, {}});
        f->menu->pushCommand(QStringLiteral("ritornoa"), QStringLiteral("FRMPROVA"));
        QCOMPARE(form->activations, 1);
        QCOMPARE(form->osParam, QStringLiteral("/M m /P DISTINTA /F frmProva"));
        QCOMPARE(form->loads, 1);
    }

    void attivaSelectsLaunchAndOpensItsForm()
    {
        auto f = linked();
        f->menu->setLaunchParams(QStringLiteral("k2"),
                                 LaunchParams{QStringLiteral("/M m /P DISTINTA k2 /F FrmDiBaCaSo"),
                                              QStringLiteral("CONTAB"), QStringLiteral("S9"), QStringLiteral("X")});
        f->menu->pushCommand(QStringLiteral("attiva"), {}, QStringLiteral("k2"));
        const auto select = f->menu->callsTo(QStringLiteral("MenuLaunchSelect"));
        QCOMPARE(select.size(), 1);
        QCOMPARE(select.first().args.value(0).toString(), QStringLiteral("k2"));
        TestForm *form = f->form(QStringLiteral("FrmDiBaCaSo"));
        QVERIFY(form && form->loaded && form->visible);
        QCOMPARE(form->osKeySec, QStringLiteral("k2"));
        QCOMPARE(form->osKeyLancia, QStringLiteral("CONTAB"));
        QCOMPARE(form->osKeySecLancia, QStringLiteral("S9"));
        QCOMPARE(form->osParamLancia, QStringLiteral("X"));
    }

    void passaaOpensTheNamedForm()
    {
        auto f = linked();
        f->menu->setLaunchParams(LaunchParams{{}, QStringLiteral("ALTRO"), {}, {}});
        f->menu->pushCommand(QStringLiteral("passaa"), QStringLiteral("FrmStaFabbis"), QStringLiteral("x"));
        TestForm *form = f->form(QStringLiteral("FrmStaFabbis"));
        QVERIFY(form && form->loaded);
        QCOMPARE(form->osKeyLancia, QStringLiteral("ALTRO"));
        // An unknown name: the dispatcher's message and a close request.
        f->menu->pushCommand(QStringLiteral("passaa"), QStringLiteral("frmXYZ"));
        QVERIFY(f->dialogs.boxTexts().contains(QStringLiteral("La form richiesta e' inesistente")));
        QVERIFY(f->ctx->mainForm->timChiudi().isActive());
    }

    void preppassaaAsksEveryLoadedForm()
    {
        auto f = linked();
        TestForm *a = open(*f, QStringLiteral("frmProva"));
        TestForm *b = open(*f, QStringLiteral("frmprelvo"));
        f->menu->pushCommand(QStringLiteral("preppassaa"));
        QCOMPARE(a->passaA, 1);
        QCOMPARE(b->passaA, 1);
        QCOMPARE(f->menu->callsTo(QStringLiteral("MenuPassaA")).size(), 2);
    }

    void electronicInvoices_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QVariantList>("param");
        QTest::addColumn<QString>("message"); // empty: nothing shown
        auto p = [](const QVariant &code, const QVariant &three, const QVariant &six) {
            return QVariantList{QString(), QString(), code, three, QString(), QString(), six};
        };
        QTest::newRow("invio ok") << "FEInvio" << p(0, QString(), 1234)
                                  << "Inviate 1.234 fatture";
        QTest::newRow("invio ok with errors") << "feinvio" << p(0, QStringLiteral("FT 12"), 3)
                                              << "Inviate 3 fatture\nFatture non inviate per erroriFT 12";
        QTest::newRow("invio error") << "FEInvio" << p(17, QStringLiteral("rete assente"), 0)
                                     << "Errore nell'invio delle fatture\nErr: 17 - rete assente";
        QTest::newRow("attesa some") << "FEAttesa" << p(0, 4, 0) << "Ci sono 4 fatture in attesa";
        QTest::newRow("attesa none") << "FEAttesa" << p(0, 0, 0) << "";
        QTest::newRow("attesa error") << "FEAttesa" << p(2, QStringLiteral("x"), 0)
                                      << "Errore nella richiesta di fatture in attesa\nErr: 2 - x";
        QTest::newRow("info error") << "FEInfo" << p(9, QStringLiteral("y"), 0)
                                    << "Errore nella richiesta informazioni\nErr: 9 - y";
        QTest::newRow("info ok") << "FEInfo" << p(0, QStringLiteral("dati"), 0) << "";
    }
    void electronicInvoices()
    {
        QFETCH(QString, command);
        QFETCH(QVariantList, param);
        QFETCH(QString, message);
        auto f = linked();
        QCOMPARE(f->menu->pushCommand(command, param).toString(), QString());
        if (message.isEmpty()) {
            QVERIFY(f->sink.messages.isEmpty());
        } else {
            QCOMPARE(f->sink.messages.size(), 1);
            QCOMPARE(f->sink.messages.first().text, message);
            QCOMPARE(f->sink.messages.first().buttons, QStringList{QStringLiteral("&Ok")});
        }
    }

    void feInfoGoesToThePendingRequester()
    {
        auto f = linked();
        TestForm *idle = open(*f, QStringLiteral("frmProva"));
        TestForm *asking = open(*f, QStringLiteral("frmprelvo"));
        asking->feInfoPending = 1;
        f->menu->pushCommand(QStringLiteral("FEInfo"),
                             QVariantList{QString(), QString(), 0, QStringLiteral("stato SDI"), 0, 0, 0});
        QCOMPARE(asking->feInfo, QStringLiteral("stato SDI"));
        QCOMPARE(idle->feInfo, QString());
    }

    void startupCloseRequestRetriesOnceAfter3000ms()
    {
        auto f = linked();
        open(*f, QStringLiteral("frmProva"));
        frmPrincipale &main = *f->ctx->mainForm;
        RichiestaChiusura(*f->ctx);
        QCOMPARE(main.oiChiudi, 2);
        QVERIFY(main.timChiudi().isActive());
        main.timChiudi_Timer(); // a form is open: refused
        QVERIFY(main.timChiudi().isActive());
        QCOMPARE(main.timChiudi().interval(), 3000);
        QCOMPARE(main.oiChiudi, 2);
        main.timChiudi_Timer(); // refused again: no more retries
        QVERIFY(!main.timChiudi().isActive());
        QCOMPARE(main.timChiudi().interval(), 1);
        QVERIFY(main.isLoaded());
    }

    void userClosingAFormRetriesEvery100msUntilTheLastCloses()
    {
        auto f = linked();
        TestForm *a = open(*f, QStringLiteral("frmProva"));
        TestForm *b = open(*f, QStringLiteral("frmprelvo"));
        frmPrincipale &main = *f->ctx->mainForm;
        a->osKeyLancia = QStringLiteral("CONTAB");
        a->osKeySecLancia = QStringLiteral("S1");
        a->osParamLancia = QStringLiteral("P1");
        a->osKeySec = QStringLiteral("K1");
        QVERIFY(a->Unload());
        // Control goes back to the launcher and the key is released.
        const auto back = f->menu->callsTo(QStringLiteral("MenuReturnTo"));
        QCOMPARE(back.size(), 1);
        QCOMPARE(back.first().args, (QVariantList{QStringLiteral("CONTAB"), QStringLiteral("S1"), QStringLiteral("P1")}));
        QCOMPARE(f->menu->callsTo(QStringLiteral("MenuKeyRelease")).size(), 1);
        QCOMPARE(main.oiChiudi, 1);
        QCOMPARE(main.oiTmpAttesa, 100);
        QCOMPARE(main.timChiudi().interval(), 1);
        main.timChiudi_Timer();
        QVERIFY(main.isLoaded());
        QCOMPARE(main.timChiudi().interval(), 100);
        QVERIFY(main.timChiudi().isActive());
        main.timChiudi_Timer();
        QCOMPARE(main.timChiudi().interval(), 100);
        QVERIFY(main.timChiudi().isActive());
        // The last form closes by the user: back to the menu, then the program ends.
        QVERIFY(b->Unload());
        QVERIFY(!f->menu->callsTo(QStringLiteral("MenuActivate")).isEmpty());
        QVERIFY(!f->menu->callsTo(QStringLiteral("MenuVar")).isEmpty());
        main.timChiudi_Timer();
        QVERIFY(!main.isLoaded());
        QCOMPARE(f->menu->callsTo(QStringLiteral("MenuUnregister")).size(), 1);
    }

    void noCloseRequestAfterTheEnd()
    {
        auto f = linked();
        QVERIFY(FineProgramma(*f->ctx));
        RichiestaChiusura(*f->ctx);
        QVERIFY(!f->ctx->mainForm->timChiudi().isActive());
        RichiestaChiusuraRiprova(*f->ctx);
        QVERIFY(!f->ctx->mainForm->timChiudi().isActive());
    }

    void closeTimerRunsOnTheEventLoop()
    {
        auto f = linked();
        QSignalSpy ended(f->ctx->mainForm.get(), &frmPrincipale::unloaded);
        RichiestaChiusura(*f->ctx);
        QVERIFY(ended.wait(1000));
    }

    void formRefusesToCloseWhilePrinting()
    {
        auto f = linked();
        TestForm *a = open(*f, QStringLiteral("frmProva"));
        f->ctx->oiStaAtt = 1;
        QVERIFY(!a->Unload());
        QVERIFY(a->loaded);
        QCOMPARE(f->menu->pushCommand(QStringLiteral("fine")).toString(), QStringLiteral("No Chiudi"));
        f->ctx->oiStaAtt = 0;
        QVERIFY(a->Unload());
    }

    void unloadAfterFineDoesNotReturnToMenu()
    {
        auto f = linked();
        TestForm *a = open(*f, QStringLiteral("frmProva"));
        f->menu->pushCommand(QStringLiteral("fine"));
        f->menu->clearCalls();
        QVERIFY(a->Unload());
        QVERIFY(f->menu->callsTo(QStringLiteral("MenuActivate")).isEmpty());
        QVERIFY(f->menu->callsTo(QStringLiteral("MenuReturnTo")).isEmpty());
    }

    // The menu goes away with forms of the module open: the module says so once, the forms go on
    // with what the menu said (no menu errors), and the program ends when the last one closes.
    void menuGoneSaysSoOnceAndEndsWithTheLastForm_data()
    {
        QTest::addColumn<QStringList>("forms");
        QTest::newRow("no form open") << QStringList{};
        QTest::newRow("one form") << QStringList{QStringLiteral("frmProva")};
        QTest::newRow("two forms") << QStringList{QStringLiteral("frmProva"), QStringLiteral("frmstimpldiba")};
    }
    void menuGoneSaysSoOnceAndEndsWithTheLastForm()
    {
        QFETCH(QStringList, forms);
        const QString gone = QStringLiteral("Il menu non è più disponibile");
        auto f = linked();
        f->menu->setVar(QStringLiteral("Ditta.RagSoc"), QStringLiteral("Mobili Rossi S.r.l."));
        f->menu->setCallResult(QStringLiteral("TastiCtrl"), QStringLiteral("S"));
        QList<TestForm *> open;
        for (const QString &name : forms) {
            open << this->open(*f, name);
            QVERIFY(open.last() && open.last()->loaded);
        }
        MenuServer *menu = f->ctx->menu();
        QVERIFY(menu);
        QCOMPARE(CompanyVar(*menu, QStringLiteral("Ditta.RagSoc")), QStringLiteral("Mobili Rossi S.r.l."));
        QCOMPARE(menu->MenuCall(QStringLiteral("TastiCtrl"), QStringLiteral("Tutti"), 1), QVariant(QStringLiteral("S")));
        QSignalSpy ended(f->ctx->mainForm.get(), &frmPrincipale::unloaded);

        f->menu->loseMenu();
        QTRY_VERIFY(f->ctx->link.menuGone);
        QCOMPARE(f->dialogs.boxTexts(), QStringList{gone});
        if (!open.isEmpty()) {
            // The forms stay, and what they ask of the menu is answered as before.
            QTest::qWait(50);
            QVERIFY(f->ctx->mainForm->isLoaded());
            QCOMPARE(CompanyVar(*f->ctx->menu(), QStringLiteral("Ditta.RagSoc")), QStringLiteral("Mobili Rossi S.r.l."));
            QCOMPARE(f->ctx->menu()->MenuCall(QStringLiteral("TastiCtrl"), QStringLiteral("Tutti"), 1),
                     QVariant(QStringLiteral("S")));
            TornaAlMenu(*f->ctx);
            for (qsizetype i = 0; i + 1 < open.size(); ++i) {
                QVERIFY(open[i]->Unload());
                QTest::qWait(250);
                QVERIFY(f->ctx->mainForm->isLoaded());
            }
            QVERIFY(open.last()->Unload());
        }
        QVERIFY(ended.count() == 1 || ended.wait(5000));
        QVERIFY(!f->ctx->mainForm->isLoaded());
        // Said once, and no menu error on the way.
        QCOMPARE(f->dialogs.boxTexts(), QStringList{gone});
        QVERIFY2(f->sink.errors.isEmpty(), qPrintable(f->sink.errors.join('\n')));
        QVERIFY2(f->sink.texts().filter(QStringLiteral("Errore(")).isEmpty(), qPrintable(f->sink.texts().join('\n')));
        QVERIFY(f->menuMessages().isEmpty());
    }

    void returnToMenuWhenTheMenuIsGone()
    {
        auto f = linked();
        f->menu->failOn(QStringLiteral("MenuActivate"), MenuError::Disconnected);
        TornaAlMenu(*f->ctx);
        QCOMPARE(f->dialogs.boxTexts(), QStringList{QStringLiteral("Il menu non è più disponibile")});
    }

    void returnToMenuActivatesTheMenuProcess()
    {
        auto f = linked();
        f->menu->setVar(QStringLiteral("MenuProcId"), QStringLiteral("4242"));
        TornaAlMenu(*f->ctx);
        QCOMPARE(f->menu->callsTo(QStringLiteral("MenuActivate")).first().args.value(0).toString(), QStringLiteral("Tutti"));
        QCOMPARE(f->desktop.activated, QStringLiteral("4242"));
    }

    void activationLoadFailureClosesAtOnce()
    {
        auto f = linked();
        f->registry.Add(QStringLiteral("frmRotta"), [&f](ProgramContext &c) {
            auto form = std::make_unique<TestForm>(c, QStringLiteral("frmRotta"));
            form->loadOk = -1;
            f->created.append(form.get());
            return form;
        });
        QSignalSpy ended(f->ctx->mainForm.get(), &frmPrincipale::unloaded);
        FormDispatcher(*f->ctx, QStringLiteral("frmRotta"), true, {}, {}, {}, {});
        QVERIFY(!f->form(QStringLiteral("frmRotta"))->loaded);
        QCOMPARE(ended.count(), 1);
    }

    void activationShowFailureGoesToTheMenu()
    {
        auto f = linked();
        f->registry.Add(QStringLiteral("frmNoShow"), [&f](ProgramContext &c) {
            auto form = std::make_unique<TestForm>(c, QStringLiteral("frmNoShow"));
            form->showResult = -105;
            f->created.append(form.get());
            return form;
        });
        FormDispatcher(*f->ctx, QStringLiteral("frmNoShow"), true, {}, {}, {}, {});
        QCOMPARE(f->menuMessages(), QStringList{QStringLiteral("Impossibile aprire il programma richiesto\nErrore(5): ")});
        QVERIFY(!f->form(QStringLiteral("frmNoShow"))->loaded);
    }

    void activationWindowState_data()
    {
        QTest::addColumn<QString>("programState");
        QTest::addColumn<QString>("tipoForm");
        QTest::addColumn<int>("expected");
        QTest::newRow("maximised program") << "2" << "1" << 2;
        QTest::newRow("from the launch") << "" << "1" << 1;
        QTest::newRow("nothing") << "" << "" << 0;
    }
    void activationWindowState()
    {
        QFETCH(QString, programState);
        QFETCH(QString, tipoForm);
        QFETCH(int, expected);
        auto f = linked();
        f->ctx->params.windowState = programState;
        auto form = std::make_unique<TestForm>(*f->ctx, QStringLiteral("frmProva"));
        form->osTipoForm = tipoForm;
        TestForm *raw = static_cast<TestForm *>(f->ctx->AddFormInstance(QStringLiteral("frmProva"), std::move(form)));
        QVERIFY(AttivaForm(*f->ctx, raw, QStringLiteral("frmProva"), true, {}, {}, {}, {}));
        QCOMPARE(raw->shownState, expected);
    }

    void activationWithVisibleHelpFocusesLater()
    {
        auto f = linked();
        HelpWindow *hw = f->ctx->helpWindow();
        hw->visible = true;
        TestForm *form = open(*f, QStringLiteral("frmProva"));
        QVERIFY(!hw->visible);
        frmPrincipale &main = *f->ctx->mainForm;
        QCOMPARE(main.oiFlagVarie, 1);
        QCOMPARE(main.osNomeForm, QStringLiteral("frmProva"));
        QVERIFY(main.TimVarie().isActive());
        main.TimVarie_Timer();
        QVERIFY(!main.TimVarie().isActive());
        QCOMPARE(form->focused, 1);
    }

    void helpWindowServingAnotherFormIsHidden()
    {
        auto f = linked();
        TestForm *form = open(*f, QStringLiteral("frmProva"));
        HelpWindow *hw = f->ctx->helpWindow();
        hw->visible = true;
        hw->ofrmAttiva = nullptr;
        FormDispatcher(*f->ctx, QStringLiteral("frmProva"), false, {}, {}, {}, {});
        QCOMPARE(hw->hides, 1);
        hw->visible = true;
        hw->ofrmAttiva = form;
        FormDispatcher(*f->ctx, QStringLiteral("frmProva"), false, {}, {}, {}, {});
        QCOMPARE(hw->hides, 1);
    }

    void menuErrorMessageText()
    {
        auto f = linked();
        f->splash.Load();
        MessaggioErroreMenu(*f->ctx, QStringLiteral("Prima "), QStringLiteral("91"), QStringLiteral("oggetto"), QStringLiteral(" dopo"));
        QCOMPARE(f->menuMessages(), QStringList{QStringLiteral("Prima Errore(91): oggetto dopo")});
        QVERIFY(!f->splash.isLoaded());
    }

    void helpComponentEvents()
    {
        auto f = linked();
        KemAiuto *aiuto = f->ctx->help->ogKemAiuto();
        PrepDecodArgs args;
        emit aiuto->ClsPrepDecod(args);
        QCOMPARE(args.key.toInt(), 113);
        QCOMPARE(args.shift.toInt(), 1);
        QVERIFY(args.result);
        PrepDecodArgs given;
        given.key = 27;
        given.shift = 0;
        emit aiuto->ClsPrepDecod(given);
        QCOMPARE(given.key.toInt(), 27);
        QCOMPARE(given.shift.toInt(), 0);
        emit aiuto->ClsMainMenuFrm();
        QCOMPARE(f->menu->callsTo(QStringLiteral("MenuActivate")).size(), 1);
    }

    void releaseIgnoresUnregisterErrors()
    {
        auto f = linked();
        // End of program fails inside: the error form shows it and the program stays.
        f->menu->failOn(QStringLiteral("MenuUnregister"), MenuError::Disconnected);
        QVERIFY(FineProgramma(*f->ctx)); // unregister errors are ignored by the release
        QVERIFY(!f->ctx->mainForm->isLoaded());
    }
};

QTEST_MAIN(TestMenuLink)
#include "tst_menulink.moc"
