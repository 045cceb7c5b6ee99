// Screenshot of the menu window on the demo company (run by hand under Xvfb; not a test):
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tests/platform/menu/shot_menuwindow docs/screenshots/kemora-menu.png
#include "schema/democompany.h"
#include "platform/menu/menuconfig.h"
#include "apps/kemora-menu/menuhost.h"
#include "apps/kemora-menu/menuwindow.h"
#include "apps/kemora-menu/modulelauncher.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: shot_menuwindow FILE.png\n");
        return 2;
    }
    QTemporaryDir dir;
    QString error;
    kem::MenuConfig config;
    if (!dir.isValid() || !kem::WriteDemoCompany(dir.path(), &error)
        || !kem::MenuConfig::Load(dir.path(), &config, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    kem::MenuHost host(config);
    if (!host.listen(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    kem::ModuleLauncher launcher(host);
    kem::MenuWindow window(host, launcher);
    window.resize(720, 460);
    window.show();
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTimer::singleShot(500, [&] {
        const bool ok = window.grab().save(out);
        app.exit(ok ? 0 : 1);
    });
    return app.exec();
}
