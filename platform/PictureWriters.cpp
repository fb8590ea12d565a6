#include "PictureWriters.h"
#include "QuillError.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>
#include <QtEndian>

namespace PictureWriters {

namespace {
void put16(QByteArray &out, int offset, quint16 v) { qToLittleEndian<quint16>(v, out.data() + offset); }
void put32(QByteArray &out, int offset, quint32 v) { qToLittleEndian<quint32>(v, out.data() + offset); }
} // namespace

QByteArray bmpBytes(const QImage &source)
{
    QImage image = source.convertToFormat(QImage::Format_RGB888);
    if (source.hasAlphaChannel()) {
        // Bitmaps have no transparency: show what is see-through over white,
        // not over the black that dropping the alpha would give.
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.drawImage(0, 0, source);
    }
    const int width = image.width();
    const int height = image.height();
    const int rowBytes = (width * 3 + 3) & ~3;
    const int headerSize = 14 + 40;
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
    for (int y = 0; y < height; ++y) {
        const uchar *src = image.constScanLine(height - 1 - y); // rows run bottom-up
        char *dst = pixels + y * rowBytes;
        for (int x = 0; x < width; ++x) {
            dst[x * 3 + 0] = char(src[x * 3 + 2]);
            dst[x * 3 + 1] = char(src[x * 3 + 1]);
            dst[x * 3 + 2] = char(src[x * 3 + 0]);
        }
    }
    return out;
}

void writeBytes(const QByteArray &bytes, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw QuillError(QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw QuillError(QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString()));
}

void writeBmp(const QImage &image, const QString &path)
{
    if (image.isNull())
        throw QuillError(QStringLiteral("Cannot write \"%1\": the picture is empty.").arg(path));
    writeBytes(bmpBytes(image), path);
}

void writePng(const QImage &image, const QString &path)
{
    if (image.isNull())
        throw QuillError(QStringLiteral("Cannot write \"%1\": the picture is empty.").arg(path));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw QuillError(QStringLiteral("Cannot encode \"%1\" as PNG.").arg(path));
    writeBytes(bytes, path);
}

} // namespace PictureWriters
