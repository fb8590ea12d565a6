#include "PictureWriters.h"
#include "QuillError.h"

#include <QLocale>
#include <QtEndian>
#include <algorithm>

namespace PictureWriters {

namespace {
void put16(QByteArray &out, int offset, quint16 v) { qToLittleEndian<quint16>(v, out.data() + offset); }
void put32(QByteArray &out, int offset, quint32 v) { qToLittleEndian<quint32>(v, out.data() + offset); }
} // namespace

void checkSize(qint64 width, qint64 height, Kind kind)
{
    const bool fits = width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide
        && (kind == Kind::Vector || width * height <= kMaxBitmapPixels);
    if (!fits) {
        const QLocale c = QLocale::c();
        throw QuillError(
            QStringLiteral("A picture of %1 x %2 pixels cannot be saved: a picture is at most %3 pixels "
                           "on a side, a bitmap at most %4 pixels in all.")
                .arg(c.toString(width), c.toString(height), c.toString(kMaxSide),
                     c.toString(kMaxBitmapPixels)));
    }
}

QByteArray bmpHeader(int width, int height, int dotsPerMeterX, int dotsPerMeterY)
{
    checkSize(width, height, Kind::Bitmap);
    const qsizetype rowBytes = (qsizetype(width) * 3 + 3) & ~3;
    const qsizetype headerSize = 14 + 40;
    QByteArray out(headerSize, '\0');
    // BITMAPFILEHEADER
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, quint32(headerSize + rowBytes * height));
    put32(out, 10, headerSize);
    // BITMAPINFOHEADER
    put32(out, 14, 40);
    put32(out, 18, quint32(width));
    put32(out, 22, quint32(height));
    put16(out, 26, 1);
    put16(out, 28, 24);
    put32(out, 30, 0); // BI_RGB
    put32(out, 34, quint32(rowBytes * height));
    put32(out, 38, quint32(qMax(0, dotsPerMeterX)));
    put32(out, 42, quint32(qMax(0, dotsPerMeterY)));
    return out;
}

void appendBmpRow(QByteArray &out, const uchar *rgb32, int width)
{
    const qsizetype rowBytes = (qsizetype(width) * 3 + 3) & ~3;
    const qsizetype at = out.size();
    out.resize(at + rowBytes);
    char *dst = out.data() + at;
    const QRgb *src = reinterpret_cast<const QRgb *>(rgb32);
    for (int x = 0; x < width; ++x) {
        dst[x * 3 + 0] = char(qBlue(src[x]));
        dst[x * 3 + 1] = char(qGreen(src[x]));
        dst[x * 3 + 2] = char(qRed(src[x]));
    }
    std::fill(dst + qsizetype(width) * 3, dst + rowBytes, '\0');
}

} // namespace PictureWriters
