#pragma once
// A program context over the demo company for driving a form without a menu: the fake menu
// with the company's variables, the company database, the company parameters, the code-field
// services and a message sink that records every message (the plain message box included,
// with caption "MsgBox").
#include "tests/support/testcompany.h"
#include "common/aziendautil.h"
#include "common/codefieldwidgets.h"
#include "common/formservices.h"
#include "common/msgsinks.h"
#include "platform/help/kemaiutodecod.h"
#include "platform/menu/fakemenuserver.h"
#include "schema/democompany.h"
#include "startup/dbcomponent.h"
#include "startup/moduleform.h"
#include "startup/programcontext.h"
#include "startup/scmenucomandiclie.h"
#include "startup/startupdialogs.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>

namespace kemtest {

// The plain message box of the program, into the same record as the message dialog.
class BoxesToSink : public kem::StartupDialogs {
public:
    explicit BoxesToSink(kem::RecordingMessageSink &sink) : sink_(sink) {}
    void MessageBox(const QString &text, kem::BoxStyle = kem::BoxStyle::Plain) override
    {
        sink_.msgCom(text, {QStringLiteral("OK")}, 1, QStringLiteral("MsgBox"));
    }
    QString InputBox(const QString &, const QString &, const QString &def) override { return def; }
    kem::YesNoCancel AskYesNoCancel(const QString &) override { return kem::YesNoCancel::Yes; }
    bool AskOkCancel(const QString &) override { return false; }

private:
    kem::RecordingMessageSink &sink_;
};

using kemtest::LoadCompanyMenu;

struct DemoProgramFixture {
    QTemporaryDir tmp;
    QString dir;
    QString error;
    std::shared_ptr<kem::FakeMenuServer> menu = std::make_shared<kem::FakeMenuServer>();
    kem::RecordingMessageSink sink;
    BoxesToSink boxes{sink};
    std::unique_ptr<kem::ProgramContext> ctx;
    std::unique_ptr<kem::KemAiutoDecod> aiuto;
    std::unique_ptr<kem::CodeFieldParams> codeParams;
    kem::DialogTextPrompter prompter;

    // Writes the demo company and builds the context; false (with error) when it cannot.
    // Variables set in `extraVars` override the company's.
    bool openContext(const QList<QPair<QString, QString>> &extraVars = {})
    {
        dir = tmp.filePath(QStringLiteral("azienda"));
        if (!kem::WriteDemoCompany(dir, &error))
            return false;
        LoadCompanyMenu(*menu, QDir(dir).filePath(QStringLiteral("kemora-menu.ini")));
        for (const auto &v : extraVars)
            menu->setVar(v.first, v.second);
        const QString mainIni = QDir(dir).filePath(QStringLiteral("kemwin.ini"));
        menu->setIniPath(mainIni);

        ctx = std::make_unique<kem::ProgramContext>();
        ctx->messages = &sink;
        ctx->dialogs = &boxes;
        ctx->conn.mainIniPath = mainIni;
        ctx->conn.companyIni = QDir(dir).filePath(QStringLiteral("azienda.ini"));
        ctx->start.programKey = QStringLiteral("DISTINTA");
        ctx->menuClass = std::make_unique<kem::scMenuComandiClie>(*ctx, menu);
        auto db = std::make_unique<kem::CompanyDb>();
        const QString opened = db->DbOpen(kem::CompanyVar(*menu, QStringLiteral("NomeDBAzie")), false, false,
                                          kem::CompanyVar(*menu, QStringLiteral("ConnectDBAzie")), {});
        if (opened.isEmpty() || opened.startsWith(QStringLiteral("Err:"))) {
            error = opened;
            return false;
        }
        ctx->companyDb = std::move(db);
        const kem::IniContext ini{ctx->conn.mainIniPath, ctx->conn.companyIni};
        try {
            kem::CaricaParametriAzienda(*menu, *ctx->database(), 0, ini, ctx->start.programKey, ctx->params);
        } catch (const std::exception &e) {
            error = QString::fromUtf8(e.what());
            return false;
        }
        aiuto = std::make_unique<kem::KemAiutoDecod>(*ctx->database());
        codeParams = std::make_unique<kem::CodeFieldParams>(*menu, ini);
        ctx->formServices = std::make_shared<kem::FormServices>(ctx->params, *menu, sink, *aiuto, *codeParams,
                                                                prompter, QStringLiteral("01/01/1900"));
        return true;
    }

    // The texts shown, in order.
    QStringList texts() const { return sink.texts(); }

    // What the form's PassaA offers the menu: title, form name and secondary key, one entry
    // per offer.
    QList<QStringList> OffersOf(kem::ModuleForm &form)
    {
        menu->clearCalls();
        form.PassaA();
        QList<QStringList> offers;
        for (const auto &call : menu->callsTo(QStringLiteral("MenuPassaA")))
            offers << QStringList{call.args.value(0).toString(), call.args.value(1).toString(),
                                  call.args.value(2).toString()};
        return offers;
    }
};

} // namespace kemtest
