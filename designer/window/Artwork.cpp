#include "Artwork.h"
#include "SvgIconEngine.h"

#include <QPainter>
#include <QPalette>

#include <vector>

namespace {

// The classic 16-colour palette, so the pictures look the same at any depth.
const QColor kBlack(0, 0, 0);
const QColor kNavy(0, 0, 128);
const QColor kTeal(0, 128, 128);
const QColor kWhite(255, 255, 255);
const QColor kBlue(0, 0, 255);

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

// The toolbar pictures on a grid of 16 x 16, outlines 1 wide on the half pixel:
// their edges are whole pixels at 16 and at every multiple, while the cut
// corners and rounded edges gain detail at larger sizes.
struct ToolbarShape {
    const char *element; // an SVG element without its style
    const char *fill;
    bool outlined;
};
const std::vector<ToolbarShape> kToolbarShapes[] = {
    // Copy: two sheets with a folded corner, bars on the front one.
    {{"path d=\"M1.5 1.5h6l2 2v8h-8z\"", "#ffffff", true},
     {"path d=\"M6.5 4.5h6l2 2v8h-8z\"", "#ffffff", true},
     {"path d=\"M12.5 4.5v2h2\"", "none", true},
     {"path d=\"M8 8h1v5h-1zM10 8h2v5h-2zM13 8h1v5h-1z\"", "#000080", false}},
    // Save: a diskette with a cut corner, its shutter and a label with bars.
    {{"path d=\"M1.5 1.5h11l2 2v11h-13z\"", "#000080", true},
     {"rect x=\"4\" y=\"2\" width=\"7\" height=\"4\"", "#c0c0c0", false},
     {"rect x=\"8\" y=\"3\" width=\"2\" height=\"2\"", "#000080", false},
     {"rect x=\"3\" y=\"8\" width=\"10\" height=\"6\" rx=\"0.5\"", "#ffffff", false},
     {"path d=\"M5 9h1v4h-1zM7 9h2v4h-2zM10 9h1v4h-1z\"", "#000000", false}},
    // Print: paper going in, the printer with its lamp, a label coming out.
    {{"rect x=\"4.5\" y=\"1.5\" width=\"7\" height=\"5\"", "#ffffff", true},
     {"rect x=\"1.5\" y=\"5.5\" width=\"13\" height=\"6\" rx=\"1.5\"", "#c0c0c0", true},
     {"rect x=\"11\" y=\"7\" width=\"2\" height=\"1\"", "#ffff00", false},
     {"rect x=\"4.5\" y=\"9.5\" width=\"7\" height=\"5\"", "#ffffff", true},
     {"path d=\"M6 11h1v3h-1zM8 11h2v3h-2z\"", "#808080", false}},
};

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

QByteArray Artwork::toolbarSvg(ToolbarPicture picture, const QPalette &palette)
{
    // Black outlines stand out from a light toolbar. On a dark one a halo in the
    // window text colour goes round them, drawn first so that the shapes cover
    // its inner half.
    const QByteArray halo = palette.color(QPalette::WindowText).name().toLatin1();
    const bool dark
        = palette.color(QPalette::WindowText).lightness() > palette.color(QPalette::Window).lightness();
    const std::vector<ToolbarShape> &shapes = kToolbarShapes[static_cast<int>(picture)];
    QByteArray svg
        = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\" viewBox=\"0 0 16 16\">\n";
    if (dark) {
        svg += "<g fill=\"" + halo + "\" stroke=\"" + halo
            + "\" stroke-width=\"3\" stroke-linejoin=\"round\">\n";
        for (const ToolbarShape &shape : shapes)
            svg += shape.outlined ? QByteArray("<") + shape.element + "/>\n" : QByteArray();
        svg += "</g>\n";
    }
    for (const ToolbarShape &shape : shapes)
        svg += QByteArray("<") + shape.element + " fill=\"" + shape.fill
            + (shape.outlined ? "\" stroke=\"#000000" : "") + "\"/>\n";
    return svg + "</svg>\n";
}

QIcon Artwork::toolbarIcon(ToolbarPicture picture)
{
    return QIcon(
        new SvgIconEngine([picture](const QPalette &palette) { return toolbarSvg(picture, palette); }));
}
