#pragma once
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

// The PNG files of the save run: two-colour (1 bit per pixel, palette) PNGs
// built directly, because Qt's general PNG writer and a synced save of every
// file cost many times the label's whole drawing.
class PngWriter {
public:
    // ink: an 8-bit grayscale image drawn black on white; dark pixels become
    // `bar`, the rest `back`, with a hard threshold (no dithering).
    static QByteArray twoColour(const QImage &ink, const QColor &back, const QColor &bar, double dpiX, double dpiY);
    // Writes a temporary file next to path and renames it into place, so a
    // failed write never leaves a half-written picture under the user's name.
    // QuillError naming the file on failure.
    static void writeFile(const QByteArray &bytes, const QString &path);
};
