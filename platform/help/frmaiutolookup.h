#pragma once
// The lookup window: a grid of code and description (and extra columns) filtered by the text
// typed above it. Arrows, Page Up / Down, Home and End move through the grid while typing,
// Enter (or a double click) chooses the current row, Escape cancels. Article lookups may show
// the image of the current row beside, above or below the grid.
#include "decodeservice.h"

#include <QColor>
#include <QDialog>

class QLabel;
class QLineEdit;
class QTableView;
class QStandardItemModel;
class QBoxLayout;

namespace kem {

class LookupFilterModel;

struct LookupImageOptions {
    bool show = false;         // "Immagini" "S"
    QString directory;         // absolute directory of the image files
    QString where = QStringLiteral("D"); // "A" above, "B" below, anything else beside the grid
    int spacePixels = 0;       // room given to the image (height for "A"/"B", else width)
    double ratio = 0;          // "ImgRapVertOriz": height / width of the image box; 0 square
    bool realSize = false;     // "ImgDimReali" "S": never enlarge a smaller picture
};

class FrmAiutoLookup : public QDialog {
    Q_OBJECT
public:
    explicit FrmAiutoLookup(QWidget *parent = nullptr);
    ~FrmAiutoLookup() override;

    void setRows(const QList<LookupRow> &rows, const QStringList &extraHeaders = {});
    void setFilterText(const QString &text);
    void setImageOptions(const LookupImageOptions &options);
    void setRowColour(const QColor &colour);
    void setListMargins(int left, int top, int right, int bottom);

    // The rows that pass the filter, and the current one (-1 none).
    int visibleRowCount() const;
    int currentRow() const;
    QString currentCode() const;
    // What the user chose (valid after accept()).
    QString chosenCode() const { return chosenCode_; }
    QString chosenDescription() const { return chosenDescription_; }
    // The file shown in the image box (empty: none).
    QString shownImage() const { return shownImage_; }

    QLineEdit *txtFiltro;
    QTableView *GriLista;
    QLabel *PicImmagine;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void moveCurrent(int delta);
    void choose();
    void refreshFilter();
    void showImageOfCurrent();

    QStandardItemModel *model_;
    LookupFilterModel *proxy_;
    QBoxLayout *layout_;
    LookupImageOptions image_;
    QList<LookupRow> rows_;
    QString chosenCode_;
    QString chosenDescription_;
    QString shownImage_;
};

} // namespace kem
