#pragma once
#include <QImage>
#include <QString>
#include <vector>

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
// "#" for each dark module and "." for each light one, with the module the
// smallest run; empty when some run is not a whole number of modules.
QString modules(const Runs &runs, int *module = nullptr);
// Bounding box of the dark pixels inside area; null when there is none.
QRect inkBox(const QImage &image, const QRect &area);
// The longest vertical dark run in the image.
int longestDarkColumnRun(const QImage &image);

} // namespace Scan

namespace Scan {
// zxing-cpp's reading of the one symbol in the image, with its format's name.
QString zxingRead(const QImage &image, bool code39Extended = false, QString *format = nullptr);
} // namespace Scan
