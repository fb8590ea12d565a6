#pragma once
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

// Outside decoders for what we draw: zxing-cpp in process, zbar through zbarimg.
namespace Decode {

struct Found {
    QString text;
    QString format; // zxing-cpp's name of the symbology, e.g. "Code128"
};

// The one symbol zxing-cpp finds in the image (try harder, rotations); an
// empty text when there is none. Crop a page to one label first: zxing-cpp 1.4
// asserts when it merges several linear symbols of one image.
// code39Extended reads Code 39 in its full-ASCII mode.
Found zxingRead(const QImage &image, bool code39Extended = false);
// Just the text of zxingRead.
inline QString zxingOne(const QImage &image, bool code39Extended = false)
{
    return zxingRead(image, code39Extended).text;
}

// zbarimg on the image with extra -S options (e.g. "-Sean2.enable"); the
// decoded texts without their symbology prefix.
QStringList zbarImage(const QImage &image, const QStringList &options = {});

// A metafile through one of libwmf's tools ("wmf2svg", "wmf2gd"): the output
// file's bytes, empty when the tool failed.
QByteArray wmfTool(const QString &tool, const QByteArray &wmf, const QStringList &options = {});

// What wmf2svg drew, in order: rectangles, polygons and texts (all our symbols hold).
struct SvgShape {
    QString kind, text; // kind: "rect", "polygon" or "text"
    QRectF box = {}; // shapes: bounding box; text: origin in topLeft
    double angle = 0, fontSize = 0; // text: clockwise degrees, pixels
};
QList<SvgShape> wmfShapes(const QByteArray &wmf);

// Bounding box of the pixels darker than below (grey 0 to 255) inside area; null when there is none.
QRect inkBox(const QImage &image, const QRect &area, int below = 128);
// One symbol cut from a page onto a white ground with room around it, as a
// scanner sees a label.
QImage label(const QImage &page, const QRect &symbol);

} // namespace Decode
