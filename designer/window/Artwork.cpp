#include "Artwork.h"

#include <QPainter>

namespace {

// The classic 16-colour palette, so the pictures look the same at any depth.
const QColor kBlack(0, 0, 0);
const QColor kNavy(0, 0, 128);
const QColor kTeal(0, 128, 128);
const QColor kGrey(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kWhite(255, 255, 255);
const QColor kYellow(255, 255, 0);
const QColor kBlue(0, 0, 255);

QPixmap blank(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Bars of a barcode-like pattern across a rectangle, in whole pixels.
void drawBars(QPainter &p, const QRect &area, const QColor &colour)
{
    static const int widths[] = {1, 1, 2, 1, 1, 2, 1, 3, 1, 1, 2, 1, 1};
    int x = area.left();
    bool bar = true;
    for (int w : widths) {
        const int scaled = std::max(1, w * area.width() / 24);
        if (x + scaled > area.right() + 1)
            break;
        if (bar)
            p.fillRect(QRect(x, area.top(), scaled, area.height()), colour);
        x += scaled;
        bar = !bar;
    }
}

// The program's icon on a grid of 16 x 16 design pixels: a white label with a
// navy edge, bars, a teal text line and a blue quill stroke. The same shapes
// draw the window icon and write the installed SVG, so both show one picture.
struct IconRect {
    QRect rect;
    QColor colour;
};
const IconRect kIconRects[] = {
    {QRect(1, 2, 14, 12), kWhite}, {QRect(1, 2, 14, 1), kNavy},  {QRect(1, 13, 14, 1), kNavy},
    {QRect(1, 2, 1, 12), kNavy},   {QRect(14, 2, 1, 12), kNavy}, {QRect(3, 4, 1, 7), kBlack},
    {QRect(5, 4, 2, 7), kBlack},   {QRect(8, 4, 1, 7), kBlack},  {QRect(10, 4, 2, 7), kBlack},
    {QRect(3, 12, 10, 1), kTeal},
};
const QLine kQuill(13, 1, 9, 7);

} // namespace

QImage Artwork::iconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const int m = std::max(1, size / 16); // one design pixel
    for (const IconRect &r : kIconRects)
        p.fillRect(QRect(r.rect.topLeft() * m, r.rect.size() * m), r.colour);
    p.setPen(QPen(kBlue, m, Qt::SolidLine, Qt::SquareCap));
    const QPointF half(m / 2.0, m / 2.0);
    p.drawLine(QPointF(kQuill.p1() * m) + half, QPointF(kQuill.p2() * m) + half);
    return image;
}

QPixmap Artwork::iconPicture(int size) { return QPixmap::fromImage(iconImage(size)); }

QByteArray Artwork::iconSvg()
{
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                     "viewBox=\"0 0 16 16\" shape-rendering=\"crispEdges\">\n";
    for (const IconRect &r : kIconRects)
        svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>\n")
                   .arg(r.rect.x())
                   .arg(r.rect.y())
                   .arg(r.rect.width())
                   .arg(r.rect.height())
                   .arg(r.colour.name())
                   .toUtf8();
    svg += QStringLiteral("  <line x1=\"%1.5\" y1=\"%2.5\" x2=\"%3.5\" y2=\"%4.5\" stroke=\"%5\" "
                          "stroke-width=\"1\" stroke-linecap=\"square\"/>\n</svg>\n")
               .arg(kQuill.x1())
               .arg(kQuill.y1())
               .arg(kQuill.x2())
               .arg(kQuill.y2())
               .arg(kBlue.name())
               .toUtf8();
    return svg;
}

QIcon Artwork::windowIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(iconPicture(size));
    return icon;
}

QPixmap Artwork::copyPicture()
{
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    p.setPen(kBlack);
    // Two overlapping sheets, the front one with bars.
    p.fillRect(QRect(1, 1, 9, 11), kWhite);
    p.drawRect(QRect(1, 1, 8, 10));
    p.fillRect(QRect(6, 4, 9, 11), kWhite);
    p.drawRect(QRect(6, 4, 8, 10));
    drawBars(p, QRect(8, 6, 5, 6), kNavy);
    return pixmap;
}

QPixmap Artwork::savePicture()
{
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    // A diskette: body, shutter and a label with bars.
    p.fillRect(QRect(1, 1, 14, 14), kNavy);
    p.fillRect(QRect(4, 1, 8, 5), kSilver);
    p.fillRect(QRect(9, 2, 2, 3), kNavy);
    p.fillRect(QRect(3, 8, 10, 6), kWhite);
    drawBars(p, QRect(4, 9, 8, 4), kBlack);
    return pixmap;
}

QPixmap Artwork::printPicture()
{
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    p.setPen(kBlack);
    // Paper in, printer body, label out.
    p.fillRect(QRect(4, 1, 8, 5), kWhite);
    p.drawRect(QRect(4, 1, 7, 4));
    p.fillRect(QRect(1, 6, 14, 6), kSilver);
    p.drawRect(QRect(1, 6, 13, 5));
    p.fillRect(QRect(11, 8, 2, 1), kYellow);
    p.fillRect(QRect(4, 10, 8, 5), kWhite);
    p.drawRect(QRect(4, 10, 7, 4));
    drawBars(p, QRect(5, 11, 6, 3), kGrey);
    return pixmap;
}
