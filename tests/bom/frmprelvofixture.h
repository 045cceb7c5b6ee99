#pragma once
// A program context over the demo company for driving FrmPrelvo without a menu or a printer:
// the fake menu with the company's variables, the company database, the company parameters,
// the code-field services, a message sink that records every message (the plain message box
// included, with caption "MsgBox") and a scripted printer system.
#include "tests/support/demoprogramfixture.h"
#include "bom/frmprelvo.h"
#include "reportkit/reportprintservices.h"
#include "common/aziendautil.h"
#include "common/codefieldwidgets.h"
#include "common/formservices.h"
#include "common/msgsinks.h"
#include "platform/menu/fakemenuserver.h"
#include "platform/os/printersystem.h"
#include "schema/democompany.h"
#include "startup/dbcomponent.h"
#include "startup/frmprincipale.h"
#include "startup/programcontext.h"
#include "startup/scmenucomandiclie.h"
#include "startup/startupdialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

namespace kemtest {

struct FrmPrelvoFixture : DemoProgramFixture {
    kem::ScriptedPrinterSystem *printers = nullptr;
    std::unique_ptr<kem::ReportPrintServices> print;
    std::unique_ptr<kem::FrmPrelvo> form;

    // Writes the demo company, builds the context and loads the form; false (with error) when
    // it cannot. Variables set in `extraVars` override the company's.
    bool open(const QList<QPair<QString, QString>> &extraVars = {})
    {
        if (!openContext(extraVars))
            return false;
        auto scripted = std::make_unique<kem::ScriptedPrinterSystem>();
        scripted->add(QStringLiteral("Ufficio"), QStringLiteral("ipp://localhost/printers/Ufficio"), QStringLiteral("Generic PCL"));
        scripted->defaultPrinter = QStringLiteral("Ufficio");
        printers = scripted.get();
        print = std::make_unique<kem::ReportPrintServices>(std::move(scripted));
        form = std::make_unique<kem::FrmPrelvo>(*ctx, *print);
        form->Load();
        return form->oiLoadOk == 1;
    }
};

} // namespace kemtest
