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

} // namespace

QPixmap Artwork::iconPicture(int size)
{
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    const int m = size / 16; // one design pixel
    // A white label with a folded corner, bars and a quill stroke.
    const QRect label(m, 2 * m, size - 2 * m, size - 4 * m);
    p.fillRect(label, kWhite);
    p.setPen(QPen(kNavy, m));
    p.drawRect(label.adjusted(0, 0, -m, -m));
    drawBars(p, QRect(3 * m, 4 * m, size - 6 * m, size - 9 * m), kBlack);
    p.fillRect(QRect(3 * m, size - 4 * m, size - 6 * m, m), kTeal);
    p.setPen(QPen(kBlue, m));
    p.drawLine(size - 3 * m, m, size - 7 * m, 7 * m);
    return pixmap;
}

QIcon Artwork::windowIcon()
{
    QIcon icon;
    icon.addPixmap(iconPicture(16));
    icon.addPixmap(iconPicture(32));
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
