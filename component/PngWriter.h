#pragma once
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

// The PNG files of the save run: two-colour (1 bit per pixel, palette) PNGs
// built directly, because Qt's general PNG writer costs many times the label's
// whole drawing. The file is written through AtomicFile.
class PngWriter {
public:
    // ink: an 8-bit grayscale image drawn black on white; dark pixels become
    // `bar`, the rest `back`, with a hard threshold (no dithering).
    static QByteArray twoColour(const QImage &ink, const QColor &back, const QColor &bar, double dpiX, double dpiY);
};
