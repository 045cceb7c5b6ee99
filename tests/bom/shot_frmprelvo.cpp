// Screenshots of the BOM print form filled on the demo company and of the article lookup
// opened from its "Articolo da:" field (run by hand under Xvfb; not a test):
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tests/bom/shot_frmprelvo docs/screenshots/frmprelvo.png docs/screenshots/lookup.png
#include "tests/bom/frmprelvofixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "uso: shot_frmprelvo MASCHERA.png RICERCA.png\n");
        return 2;
    }
    const QString formShot = QString::fromLocal8Bit(argv[1]);
    const QString lookupShot = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(QFileInfo(formShot).absolutePath());
    QDir().mkpath(QFileInfo(lookupShot).absolutePath());

    kemtest::FrmPrelvoFixture f;
    if (!f.open({{QStringLiteral("Vendite.QtaDaDimen"), QStringLiteral("S")}})) {
        std::fprintf(stderr, "%s\n", qPrintable(f.error));
        return 1;
    }
    kem::FrmPrelvo &form = *f.form;
    form.show();
    QApplication::setActiveWindow(&form);
    form.txt[40]->setFocus();
    QApplication::processEvents();
    auto fill = [&form](int index, const QString &text) {
        form.txt[index]->setText(text);
        form.Txt_LostFocus(index);
    };
    fill(10, QStringLiteral("ARM-2A-100"));
    fill(20, QStringLiteral("TAV-ROV180"));
    form.CobTipoDiBaArt->setCurrentIndex(0);
    fill(40, QStringLiteral("2"));
    fill(30, QStringLiteral("3"));
    form.CheSalPag->setChecked(true);
    form.CobQualePrezzo->setCurrentIndex(2);
    fill(5, QStringLiteral("ACQ"));
    form.CheStaImg->setChecked(true);
    QApplication::processEvents();
    bool ok = form.grab().save(formShot);
    if (!ok)
        std::fprintf(stderr, "screenshot non salvato: %s\n", qPrintable(formShot));

    // The article lookup from the "..." button of "Articolo da:" on "SED".
    form.txt[10]->setText(QStringLiteral("SED"));
    bool lookupSaved = false;
    QObject::connect(f.aiuto.get(), &kem::KemAiutoDecod::lookupShown, &form, [&](kem::FrmAiutoLookup *w) {
        QTimer::singleShot(400, w, [&, w] {
            lookupSaved = w->grab().save(lookupShot);
            w->reject();
        });
    });
    form.ComHlp_Click(10);
    if (!lookupSaved) {
        std::fprintf(stderr, "screenshot non salvato: %s\n", qPrintable(lookupShot));
        ok = false;
    }
    for (const auto &m : f.sink.messages)
        std::fprintf(stderr, "messaggio: %s\n", qPrintable(m.text));
    form.close();
    if (!ok)
        return 1;
    std::printf("%s\n%s\n", qPrintable(formShot), qPrintable(lookupShot));
    return 0;
}
