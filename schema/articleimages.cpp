#include "schema/articleimages.h"

#include <QImage>
#include <QPainter>
#include <QSaveFile>

namespace kem {

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 180;

const QColor kOak(0xB0, 0x7D, 0x48);
const QColor kDarkOak(0x7A, 0x52, 0x2C);
const QColor kWhite(0xF4, 0xF1, 0xEA);
const QColor kSteel(0x9A, 0xA0, 0xA6);
const QColor kFabric(0x3A, 0x3A, 0x40);

void DrawTable(QPainter &p)
{
    p.setBrush(kOak);
    p.drawRect(20, 60, 200, 18);                  // top
    p.setBrush(kDarkOak);
    for (int x : {30, 196})
        p.drawRect(x, 78, 14, 82);                // legs
    p.drawRect(44, 82, 152, 8);                   // rail
}

void DrawChair(QPainter &p)
{
    p.setBrush(kDarkOak);
    p.drawRect(80, 20, 12, 140);                  // back legs
    p.drawRect(148, 96, 12, 64);                  // front leg
    p.setBrush(kFabric);
    p.drawRoundedRect(76, 88, 92, 14, 4, 4);      // seat
    p.setBrush(kOak);
    for (int y : {30, 50, 70})
        p.drawRect(80, y, 12, 8);                 // back slats
}

void DrawWardrobe(QPainter &p)
{
    p.setBrush(kWhite);
    p.drawRect(60, 10, 120, 160);
    p.drawLine(120, 10, 120, 170);                // two doors
    p.setBrush(kSteel);
    p.drawRect(110, 80, 4, 24);
    p.drawRect(126, 80, 4, 24);                   // handles
}

void DrawBookcase(QPainter &p)
{
    p.setBrush(kOak);
    p.drawRect(50, 10, 140, 160);
    p.setBrush(kWhite);
    for (int i = 0; i < 5; ++i)
        p.drawRect(58, 18 + i * 30, 124, 24);     // five shelves
}

void DrawWorktop(QPainter &p)
{
    const QPoint top[] = {{20, 80}, {170, 80}, {220, 110}, {70, 110}};
    p.setBrush(kSteel);
    p.drawPolygon(top, 4);
    p.setBrush(kDarkOak);
    p.drawRect(70, 110, 150, 10);                 // edge
}

} // namespace

bool WriteArticleImage(const QString &path, ArticleShape shape, QString *error)
{
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.setPen(QPen(Qt::black, 2));
        switch (shape) {
        case ArticleShape::Table: DrawTable(p); break;
        case ArticleShape::Chair: DrawChair(p); break;
        case ArticleShape::Wardrobe: DrawWardrobe(p); break;
        case ArticleShape::Bookcase: DrawBookcase(p); break;
        case ArticleShape::Worktop: DrawWorktop(p); break;
        }
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || !img.save(&f, "PNG") || !f.commit()) {
        if (error)
            *error = QStringLiteral("Impossibile scrivere l'immagine ") + path;
        return false;
    }
    return true;
}

} // namespace kem
