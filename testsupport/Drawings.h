#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// Drawings read back by other programs: rasterised by rsvg-convert (SVG),
// Ghostscript (EPS) or poppler (PDF), texts taken out of them.
namespace Drawings {

// The drawing at path rasterised at dpi by the program its suffix calls for
// (.svg, .eps, .pdf; any other is read by Qt), in RGB; null when it failed.
QImage rasterised(const QString &path, int dpi);
// What a program prints on its standard output.
QString tool(const QString &program, const QStringList &arguments);
// The text elements of an SVG drawing, as an XML reader gives them back.
QStringList svgTexts(const QByteArray &svg);
// The same colour but for a reader's rounding: each channel within 7.
bool near(QRgb a, QRgb b);

} // namespace Drawings
