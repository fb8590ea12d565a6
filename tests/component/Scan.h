#pragma once
#include <QImage>
#include <QRect>
#include <vector>

class Vantrel;

// Reading what a renderer left in an image, without any knowledge of how it
// was drawn: one line of pixels as alternating runs, and the ink's extent.
namespace Scan {

struct Runs {
    int firstDark = -1;       // pixel where the first dark run starts
    std::vector<int> lengths; // dark, light, dark, ... from firstDark to the last dark pixel
};

bool isDark(QRgb pixel);
// A horizontal line (vertical when column is true) of the image.
Runs line(const QImage &image, int index, bool column = false);
// Bounding box of the dark pixels inside area; null when there is none.
QRect inkBox(const QImage &image, const QRect &area);

// A white page of the given resolution, and v drawn on it through DrawToDevice.
QImage page(int width, int height, int dpi);
void drawOn(const Vantrel &v, QImage &page, const QRect &cell);

} // namespace Scan
