#include "PictureWriters.h"
#include "AtomicFile.h"
#include "QuillError.h"

#include <QLocale>
#include <QPainter>
#include <QtEndian>

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
        throw QuillError(QStringLiteral("A picture of %1 x %2 pixels cannot be saved: a picture is at most %3 pixels "
                                        "on a side, a bitmap at most %4 pixels in all.")
                             .arg(c.toString(width), c.toString(height), c.toString(kMaxSide),
                                  c.toString(kMaxBitmapPixels)));
    }
}

QByteArray bmpBytes(const QImage &source)
{
    checkSize(source.width(), source.height(), Kind::Bitmap);
    QImage image = source.convertToFormat(QImage::Format_RGB888);
    if (source.hasAlphaChannel()) {
        // Bitmaps have no transparency: show what is see-through over white,
        // not over the black that dropping the alpha would give.
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.drawImage(0, 0, source);
    }
    const qsizetype width = image.width();
    const qsizetype height = image.height();
    const qsizetype rowBytes = (width * 3 + 3) & ~3;
    const qsizetype headerSize = 14 + 40;
    QByteArray out(headerSize + rowBytes * height, '\0');
    // BITMAPFILEHEADER
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, quint32(out.size()));
    put32(out, 10, headerSize);
    // BITMAPINFOHEADER
    put32(out, 14, 40);
    put32(out, 18, quint32(width));
    put32(out, 22, quint32(height));
    put16(out, 26, 1);
    put16(out, 28, 24);
    put32(out, 30, 0); // BI_RGB
    put32(out, 34, quint32(rowBytes * height));
    put32(out, 38, quint32(qMax(0, image.dotsPerMeterX())));
    put32(out, 42, quint32(qMax(0, image.dotsPerMeterY())));
    char *pixels = out.data() + headerSize;
    for (qsizetype y = 0; y < height; ++y) {
        const uchar *src = image.constScanLine(int(height - 1 - y)); // rows run bottom-up
        char *dst = pixels + y * rowBytes;
        for (qsizetype x = 0; x < width; ++x) {
            dst[x * 3 + 0] = char(src[x * 3 + 2]);
            dst[x * 3 + 1] = char(src[x * 3 + 1]);
            dst[x * 3 + 2] = char(src[x * 3 + 0]);
        }
    }
    return out;
}

void writeBmp(const QImage &image, const QString &path)
{
    if (image.isNull())
        throw QuillError(QStringLiteral("Cannot write \"%1\": the picture is empty.").arg(path));
    AtomicFile::write(path, bmpBytes(image));
}

} // namespace PictureWriters
