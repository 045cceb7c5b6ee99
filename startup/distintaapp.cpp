#include "startup/distintaapp.h"

#include "common/codefield.h"
#include "common/codefieldwidgets.h"
#include "common/formservices.h"
#include "common/frmmsgcom.h"
#include "common/helpopener.h"
#include "common/systemsoundplayer.h"
#include "common/msgsinks.h"
#include "startup/connsplash.h"
#include "startup/frmconn.h"
#include "startup/frmprincipale.h"
#include "startup/mainprelvo.h"
#include "platform/menu/menuclient.h"
#include "startup/programcontext.h"
#include "startup/qtdialogs.h"
#include "startup/utilclient.h"

#include <QApplication>
#include <QStringList>

namespace kem {

namespace {

// The message dialog with the settings the start-up has read so far (sound, help file,
// message factor): a new dialog is made when they changed and none is showing.
class MsgComWindow : public MessageSink {
public:
    explicit MsgComWindow(const ProgramContext &ctx) : ctx_(ctx) {}
    int msgCom(const QString &text, const QStringList &buttons, int defaultButton,
               const QString &caption) override
    {
        return dialog().msgCom(text, buttons, defaultButton, caption);
    }
    void MsgErrfrm(const QString &number, const QString &description, const QString &prefix,
                   const QString &suffix) override
    {
        dialog().MsgErrfrm(number, description, prefix, suffix);
    }

private:
    frmMsgCom &dialog()
    {
        MsgComSettings s;
        s.beepCome = ctx_.start.beepCome;
        s.sound = &sound_;
        s.helpFile = ctx_.start.helpFile;
        s.help = &help_;
        s.messageFactor = ctx_.start.factorMessage;
        s.screen = {ctx_.start.factorGeneral, ctx_.start.factorBase, ctx_.start.programKey,
                    IniContext{ctx_.conn.mainIniPath, ctx_.conn.companyIni}};
        const QString key = QStringList{s.beepCome, s.helpFile, QString::number(s.messageFactor),
                                        QString::number(s.screen.general), QString::number(s.screen.base),
                                        s.screen.programKey, s.screen.ini.mainIni, s.screen.ini.companyIni}
                                .join(QLatin1Char('\n'));
        if (!dialog_ || (key != key_ && !dialog_->isVisible())) {
            dialog_ = std::make_unique<frmMsgCom>(s);
            key_ = key;
        }
        return *dialog_;
    }

    const ProgramContext &ctx_;
    SystemSoundPlayer sound_;
    DesktopHelpOpener help_;
    std::unique_ptr<frmMsgCom> dialog_;
    QString key_;
};

// The forms' shared services with the objects they hold on to, kept together for the run.
struct FormServicesBundle {
    FormServicesBundle(ProgramContext &ctx, MessageSink &sink)
        : aiuto(*ctx.database()),
          codeParams(*ctx.menu(), IniContext{ctx.conn.mainIniPath, ctx.conn.companyIni}),
          services(ctx.params, *ctx.menu(), sink, aiuto, codeParams, prompter, ctx.start.dataMinima)
    {
        services.setHelp(ctx.start.helpFile, &help);
        ConnSplash *splash = ctx.splash;
        services.setSplash(
            [splash](const QString &title) {
                if (splash) {
                    splash->Load();
                    splash->ShowModeless(title);
                }
            },
            [splash] {
                if (splash)
                    splash->Unload();
            });
    }
    KemAiutoDecod aiuto;
    CodeFieldParams codeParams;
    DialogTextPrompter prompter;
    DesktopHelpOpener help;
    FormServices services;
};

bool Headless()
{
    const QByteArray env = qgetenv("KEM_HEADLESS");
    if (!env.isEmpty() && env != "0")
        return true;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}
} // namespace

int RunDistinta(int argc, char **argv, const std::function<void(FormRegistry &)> &registerForms)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("distinta"));
    QApplication::setQuitOnLastWindowClosed(false);

    FormRegistry registry;
    if (registerForms)
        registerForms(registry);

    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));

    ProgramContext ctx;
    ctx.commandLine = args.join(QLatin1Char(' '));
    ctx.places = IniPlaces::FromEnvironment();
    ctx.registry = &registry;

    const bool headless = Headless();
    StderrMessageSink batchSink;
    BatchDialogs batchDialogs;
    SplashState splashState;
    QtDialogs windowDialogs;
    QtDesktop desktop;
    std::unique_ptr<MsgComWindow> msgDialog;
    std::unique_ptr<frmConn> splashWindow;
    if (headless) {
        ctx.messages = &batchSink;
        ctx.dialogs = &batchDialogs;
        ctx.splash = &splashState;
    } else {
        msgDialog = std::make_unique<MsgComWindow>(ctx);
        splashWindow = std::make_unique<frmConn>();
        ctx.messages = msgDialog.get();
        ctx.dialogs = &windowDialogs;
        ctx.splash = splashWindow.get();
    }
    ctx.desktop = &desktop;
    ctx.connectMenu = [&ctx](const QString &identity) -> std::shared_ptr<MenuServer> {
        auto client = std::make_shared<MenuClient>();
        client->connectToMenu(identity);
        // A menu that goes away: MenuPerso, through the menu link.
        return client;
    };

    ctx.beforeFirstForm = [](ProgramContext &c) {
        if (!c.database() || !c.menu() || !c.messages)
            return;
        auto bundle = std::make_shared<FormServicesBundle>(c, *c.messages);
        c.formServices = std::shared_ptr<FormServices>(bundle, &bundle->services);
    };

    ctx.mainForm = std::make_unique<frmPrincipale>(ctx);
    QObject::connect(ctx.mainForm.get(), &frmPrincipale::unloaded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    MainPrelvo(ctx);
    if (!ctx.mainForm->isLoaded())
        return 0;
    return app.exec();
}

} // namespace kem
