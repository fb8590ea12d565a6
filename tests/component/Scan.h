#pragma once
#include <QImage>
#include <QRect>

class Vantrel;

// Reading what a renderer left in an image, without any knowledge of how it
// was drawn: dark pixels and the ink's extent.
namespace Scan {

inline bool isDark(QRgb pixel) { return qGray(pixel) < 128; }
// Bounding box of the dark pixels inside area; null when there is none.
QRect inkBox(const QImage &image, const QRect &area);

// A white page of the given resolution, and v drawn on it through DrawToDevice.
QImage page(int width, int height, int dpi);
void drawOn(const Vantrel &v, QImage &page, const QRect &cell);

} // namespace Scan
