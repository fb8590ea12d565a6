#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

// Bitmap files' bytes and the size limit of every saved picture; failures
// raise QuillError with the reason.
namespace PictureWriters {

// The largest picture: 32,767 pixels on a side (what PNG sizes and metafile
// coordinates hold), and for a bitmap at most 2^28 pixels in all (a 768 MB
// file).
constexpr qint64 kMaxSide = 32767;
constexpr qint64 kMaxBitmapPixels = qint64(1) << 28;
enum class Kind { Bitmap, Vector };
// Raises QuillError when a picture of that size cannot be made; called before
// anything of that size is allocated.
void checkSize(qint64 width, qint64 height, Kind kind);

// Windows bitmaps, 24 bits per pixel, written as their rows are drawn: the
// headers of a bitmap of that size (resolution in dots per metre), then each
// row bottom row first, from a row of QImage::Format_RGB32 pixels, padded to
// a multiple of 4 bytes.
QByteArray bmpHeader(int width, int height, int dotsPerMeterX, int dotsPerMeterY);
void appendBmpRow(QByteArray &out, const uchar *rgb32, int width);

} // namespace PictureWriters
