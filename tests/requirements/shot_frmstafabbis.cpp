// Screenshots of the requirements form filled on the demo company and of its two class and
// attribute dialogs (run by hand under Xvfb; not a test):
//   xvfb-run -a -s "-screen 0 1280x900x24" build/tests/requirements/shot_frmstafabbis
//       docs/screenshots/frmstafabbis.png docs/screenshots/frmselclaattrcf.png
//       docs/screenshots/frmselclaattr.png
#include "requirements/frmstafabbis.h"
#include "tests/support/reportformfixture.h"

#include "common/frmselclaattr.h"
#include "common/frmselclaattrcf.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>

namespace {

// Fills the dialog once it is up, saves its picture and confirms it.
template <class Dialog>
void ShootWhenShown(const QString &path, bool &saved, const std::function<void(Dialog &)> &fill)
{
    QTimer::singleShot(300, qApp, [path, &saved, fill] {
        auto *d = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!d)
            return;
        fill(*d);
        QApplication::processEvents();
        saved = d->grab().save(path);
        d->ComOK_Click();
    });
}

void Type(kem::ClasseAttrDialog &d, kem::FormServices *s, int index, const char *kind, const char *text)
{
    d.txt[index]->setText(QString::fromUtf8(text));
    if (s)
        s->Decodifica(QString::fromLatin1(kind), d.txt[index], d.lab[index]);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "uso: shot_frmstafabbis MASCHERA.png CLASSI-CF.png CLASSI-ART.png\n");
        return 2;
    }
    const QString formShot = QString::fromLocal8Bit(argv[1]);
    const QString cfShot = QString::fromLocal8Bit(argv[2]);
    const QString artShot = QString::fromLocal8Bit(argv[3]);
    for (const QString &p : {formShot, cfShot, artShot})
        QDir().mkpath(QFileInfo(p).absolutePath());

    kemtest::ReportFormFixture<kem::FrmStaFabbis> f;
    if (!f.open()) {
        std::fprintf(stderr, "%s\n", qPrintable(f.error));
        return 1;
    }
    kem::FrmStaFabbis &form = *f.form;
    kem::FormServices *services = f.ctx->formServices.get();
    form.show();
    QApplication::setActiveWindow(&form);
    QApplication::processEvents();
    auto fill = [&](int index, const char *text) {
        form.txt[index]->setText(QString::fromUtf8(text));
        if (!form.KindOf(index).isEmpty())
            services->Decodifica(form.KindOf(index), form.txt[index], form.lab[index], form.WhereOf(index));
    };
    fill(10, "OC");
    fill(20, "OW");
    fill(30, "01/01/2026");
    fill(40, "30/06/2026");
    fill(130, "04.001.000001");
    fill(140, "04.001.000006");
    fill(200, "AG01");
    fill(210, "AG02");
    fill(230, "01");
    form.OptQtaElab[2]->setChecked(true);
    form.CheSemiLav->setChecked(true);

    bool cfSaved = false, artSaved = false;
    ShootWhenShown<kem::frmSelClaAttrCF>(cfShot, cfSaved, [&](kem::frmSelClaAttrCF &d) {
        Type(d, services, 10, "PdcClasseAttr1", "A");
        Type(d, services, 15, "PdcClasseAttr1", "B");
        Type(d, services, 20, "PdcClasseAttr2", "ARR");
        Type(d, services, kem::ClasseAttrDialog::kZonaDa, "Zona", "NE");
        Type(d, services, kem::ClasseAttrDialog::kZonaA, "Zona", "NO");
    });
    form.ComSelCliFor_Click();
    ShootWhenShown<kem::frmSelClaAttr>(artShot, artSaved, [&](kem::frmSelClaAttr &d) {
        Type(d, services, 20, "ArtClasseAttr2", "LEG");
        Type(d, services, 25, "ArtClasseAttr2", "LEG");
        Type(d, services, 30, "ArtClasseAttr3", "LAC");
    });
    form.ComSelClaAttr_Click();
    QApplication::processEvents();
    const bool formSaved = form.grab().save(formShot);
    for (const auto &m : f.sink.messages)
        std::fprintf(stderr, "messaggio: %s\n", qPrintable(m.text));
    form.close();
    if (!formSaved || !cfSaved || !artSaved) {
        std::fprintf(stderr, "screenshot non salvato\n");
        return 1;
    }
    std::printf("%s\n%s\n%s\n", qPrintable(formShot), qPrintable(cfShot), qPrintable(artShot));
    return 0;
}
