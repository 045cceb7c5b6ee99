// kemora-menu: the main menu the module runs under.
//   kemora-menu --company DIR [--open FORM] [--headless]
// Reads DIR/kemora-menu.ini, serves the menu operations on a local socket with a unique name
// and shows the menu's functions. --open FORM launches the module on that form at once.
// --headless runs without a window: it prints the socket name as the first line of standard
// output, logs to standard error, and serves until standard input ends or reads "quit".
#include "platform/menu/menuconfig.h"
#include "apps/kemora-menu/menuhost.h"
#include "apps/kemora-menu/menuwindow.h"
#include "apps/kemora-menu/modulelauncher.h"
#include "apps/kemora-menu/stdinwatcher.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

bool WantsHeadless(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headless") == 0)
            return true;
    }
    return false;
}

void Err(const QString &line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace

int main(int argc, char **argv)
{
    const bool headless = WantsHeadless(argc, argv);
    std::unique_ptr<QCoreApplication> app(headless ? new QCoreApplication(argc, argv)
                                                   : new QApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("kemora-menu"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Menu principale per il modulo distinta base"));
    parser.addHelpOption();
    const QCommandLineOption company(QStringLiteral("company"), QStringLiteral("Directory dell'azienda"),
                                     QStringLiteral("DIR"));
    const QCommandLineOption open(QStringLiteral("open"), QStringLiteral("Form da aprire subito"),
                                  QStringLiteral("FORM"));
    const QCommandLineOption noWindow(QStringLiteral("headless"), QStringLiteral("Senza finestra"));
    parser.addOptions({company, open, noWindow});
    parser.process(*app);

    auto fail = [headless](const QString &text) {
        Err(text);
        if (!headless)
            QMessageBox::critical(nullptr, QStringLiteral("kemora-menu"), text);
        return 1;
    };
    if (!parser.isSet(company))
        return fail(QStringLiteral("Manca --company DIR"));

    kem::MenuConfig config;
    QString error;
    if (!kem::MenuConfig::Load(parser.value(company), &config, &error))
        return fail(error);
    kem::MenuHost host(config);
    kem::ModuleLauncher launcher(host);

    std::unique_ptr<kem::MenuWindow> window;
    std::unique_ptr<kem::StdinWatcher> input;
    if (headless) {
        QObject::connect(&host, &kem::MenuHost::logLine, &Err);
        QObject::connect(&launcher, &kem::ModuleLauncher::logLine, &Err);
        QObject::connect(&host, &kem::MenuHost::messageRequested,
                         [](const QString &text) { Err(QStringLiteral("MsgBox: ") + text); });
        if (!host.listen(&error))
            return fail(error);
        std::printf("%s\n", host.socketName().toLocal8Bit().constData());
        std::fflush(stdout);
        input = std::make_unique<kem::StdinWatcher>();
        QObject::connect(input.get(), &kem::StdinWatcher::closed, app.get(), &QCoreApplication::quit);
        QObject::connect(input.get(), &kem::StdinWatcher::lineRead, app.get(), [](const QString &line) {
            if (line.compare(QLatin1String("quit"), Qt::CaseInsensitive) == 0)
                QCoreApplication::quit();
        });
    } else {
        window = std::make_unique<kem::MenuWindow>(host, launcher);
        if (!host.listen(&error))
            return fail(error);
        window->show();
    }
    if (parser.isSet(open) && !launcher.openForm(parser.value(open), &error))
        fail(error);
    return app->exec();
}
