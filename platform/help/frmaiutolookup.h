#pragma once
// The lookup window: a grid of code and description (and extra columns) filtered by the text
// typed above it. Arrows, Page Up / Down, Home and End move through the grid while typing,
// Enter (or a double click) chooses the current row, Escape cancels. Article lookups may show
// the image of the current row beside, above or below the grid.
#include "platform/help/decodeservice.h"

#include <QColor>
#include <QDialog>
#include <functional>

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

    // Fixed rows, filtered in the window.
    void setRows(const QList<LookupRow> &rows, const QStringList &extraHeaders = {});
    // Rows asked for again whenever the filter changes (the source filters and limits them);
    // `limit` is the most rows the source returns, so the window can say when there are more.
    using RowSource = std::function<QList<LookupRow>(const QString &filter)>;
    void setRowSource(RowSource source, int limit, const QStringList &extraHeaders = {});
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
    QLabel *labStato;       // rows shown, more rows to narrow, or the error of the source

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void moveCurrent(int delta);
    void choose();
    void refreshFilter();
    void showImageOfCurrent();
    void fillModel(const QList<LookupRow> &rows);

    QStandardItemModel *model_;
    LookupFilterModel *proxy_;
    QBoxLayout *layout_;
    LookupImageOptions image_;
    QList<LookupRow> rows_;
    QStringList headers_;
    RowSource source_;
    int limit_ = 0;
    QString chosenCode_;
    QString chosenDescription_;
    QString shownImage_;
};

} // namespace kem
