#pragma once
// Device-independent result of a run, built once and read by every renderer.
// Units: millimetres from the top-left corner of the sheet; font sizes in points.
#include "platform/printlib/printfont.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVariant>

namespace kem {

// The items below are relocatable (every member moves by its bytes), so the lists of a page and
// of the grid grow without moving their elements one by one.

// One piece of text, already placed: x is its left edge, baseline its base line.
struct TextRun {
    double x = 0;
    double baseline = 0;
    double width = 0;
    QString style;   // name of the style it was printed in
    PrintFont font;  // that style's font at the time of printing
    QString text;
};

} // namespace kem
Q_DECLARE_TYPEINFO(kem::TextRun, Q_RELOCATABLE_TYPE);
namespace kem {

struct RuleItem {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double pen = 0.2;  // line width
};

struct PictureItem {
    QImage image;
    QRectF rect;
};

struct Page {
    int number = 0;  // 1, 2, ...
    QList<TextRun> texts;
    QList<RuleItem> rules;
    QList<PictureItem> pictures;
    bool isEmpty() const { return texts.isEmpty() && rules.isEmpty() && pictures.isEmpty(); }
};

} // namespace kem
Q_DECLARE_TYPEINFO(kem::Page, Q_RELOCATABLE_TYPE);
namespace kem {

// One cell of the grid that file outputs read.
struct GridCell {
    QString text;          // formatted, as printed
    QString fileText;      // what spreadsheet outputs write for a text cell (usually = text)
    QVariant value;        // raw value: double for numbers, else the text
    bool numeric = false;
    bool toFile = true;    // false: printed only, left out of spreadsheet outputs
    QChar align = QLatin1Char('S');  // "S" left, "C" centre, "D" right
    double left = 0, right = 0;      // horizontal extent on the page (mm)
    int column = 0;        // column identifier, 0 for text at the current position
    int charStart = -1;    // column place in character outputs (-1: mapped from left/right)
    int charWidth = 0;
    bool lastColumn = false;  // the column runs to the right edge
};

} // namespace kem
Q_DECLARE_TYPEINFO(kem::GridCell, Q_RELOCATABLE_TYPE);
namespace kem {

// One row per line end (or one per rule, marked as such).
struct GridRow {
    int page = 1;
    bool rule = false;
    QList<GridCell> cells;
};

} // namespace kem
Q_DECLARE_TYPEINFO(kem::GridRow, Q_RELOCATABLE_TYPE);
namespace kem {

// A column of the current column set.
struct ColumnDef {
    int id = 0;
    double left = 0, right = 0;  // mm
    double sampleWidth = 0;      // measured width of the sample, mm
    QChar align = QLatin1Char('S');
    int number = 0;              // width in characters for character outputs (0: from the sample)
    QString option;              // "P" first column of a set, "U" last (runs to the right margin)
    bool lastColumn = false;     // option holds "U"
    int charStart = 0, charWidth = 0;  // placement in character outputs
};

struct Document {
    QSizeF sheetSize{210, 297};  // the paper, mm, orientation applied
    QSizeF pageSize{210, 297};   // the area positions refer to: the sheet, or for printers the
                                 // printable area, whose corner is then the origin
    bool landscape = false;
    double marginLeft = 1, marginRight = 1, marginTop = 10, marginBottom = 10;
    QString title;
    QList<Page> pages;
    QList<GridRow> rows;
    int charColumns = 132;       // width of character outputs
    double printableWidth() const { return pageSize.width() - marginLeft - marginRight; }
};

} // namespace kem
