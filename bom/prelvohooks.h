#pragma once
// What the BOM report asks of the parts that are not its own: the article images and the
// quantities from dimensions (settings read at the start of a run, the pictures drawn on the
// page). The defaults do what a run without those features does: no image lines, no dimension
// quantity; the report's own implementation reads the company's settings.
#include <QString>

namespace kem {

class PrintReport;
struct RigaDiBa;

// Image settings of a run.
struct ImageSettings {
    qint16 numRighe = 0;  // lines per row image; 0: no row images
    bool destra = false;  // images at the right of their column
};

class PrelvoExtras {
public:
    virtual ~PrelvoExtras() = default;
    // Image switch, image directory and line count of the run (images requested).
    virtual ImageSettings ReadImageSettings() { return {}; }
    // Unit lists and ratio of the dimension quantities (obQtaDaDimen on).
    virtual void ReadDimensionSettings() {}
    // Dimension quantity and text of a parent line record whose quantity is the produced
    // quantity; false (quantity 0) when none applies. Form dimensions given in lunghezza,
    // larghezza, altezza (all 0: the article's own).
    virtual bool CalcQtaDaDimen(const RigaDiBa &riga, double lunghezza, double larghezza,
                                double altezza, double &qta, QString &text)
    {
        (void)riga, (void)lunghezza, (void)larghezza, (void)altezza;
        qta = 0;
        text.clear();
        return false;
    }
    // Height limit of row images.
    virtual float CalcLimAlt(PrintReport &report, qint16 numRighe)
    {
        (void)report, (void)numRighe;
        return 0;
    }
    // Row image of the current line in the image column; true when a picture was drawn (the
    // report then leaves room for it).
    virtual bool StaImg(PrintReport &report, int imageColumn, const QString &psImmagine,
                        bool pbDestra, float pnLimAlt)
    {
        (void)report, (void)imageColumn, (void)psImmagine, (void)pbDestra, (void)pnLimAlt;
        return false;
    }
    // The parent's image at the end of its page.
    virtual void StaImgFinePagina(PrintReport &report, const RigaDiBa &parent)
    {
        (void)report, (void)parent;
    }
};

} // namespace kem
