#include "PngWriter.h"

#include "QuillError.h"

#include <QFile>
#include <QFileInfo>
#include <QCoreApplication>
#include <cmath>
#include <cstdio>
#include <vector>
#include <zlib.h>

namespace {
void put32(QByteArray &out, quint32 v)
{
    const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(bytes, 4);
}

void chunk(QByteArray &out, const char *type, const QByteArray &data)
{
    put32(out, quint32(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data);
    const auto *typed = reinterpret_cast<const Bytef *>(out.constData() + start);
    put32(out, quint32(crc32(crc32(0, nullptr, 0), typed, uInt(out.size() - start))));
}
} // namespace

QByteArray PngWriter::twoColour(const QImage &ink, const QColor &back, const QColor &bar, double dpiX, double dpiY)
{
    const int width = ink.width(), height = ink.height();
    const int rowBytes = (width + 7) / 8 + 1; // filter byte first
    std::vector<Bytef> raw(size_t(rowBytes) * height, 0);
    for (int y = 0; y < height; ++y) {
        const uchar *line = ink.constScanLine(y);
        Bytef *row = raw.data() + size_t(y) * rowBytes + 1;
        for (int x = 0; x < width; ++x)
            if (line[x] < 128)
                row[x >> 3] |= Bytef(0x80 >> (x & 7));
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    QByteArray packed(qsizetype(packedSize), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef *>(packed.data()), &packedSize, raw.data(), uLong(raw.size()), Z_BEST_SPEED) != Z_OK)
        throw QuillError(QStringLiteral("Not enough memory for the PNG picture."));
    packed.resize(qsizetype(packedSize));

    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    put32(header, quint32(width));
    put32(header, quint32(height));
    header.append("\x01\x03\x00\x00\x00", 5); // 1 bit, palette, deflate, no filter, no interlace
    chunk(out, "IHDR", header);
    QByteArray palette;
    for (const QColor &c : {back, bar}) {
        palette.append(char(c.red()));
        palette.append(char(c.green()));
        palette.append(char(c.blue()));
    }
    chunk(out, "PLTE", palette);
    QByteArray physical;
    put32(physical, quint32(std::lround(dpiX / 0.0254)));
    put32(physical, quint32(std::lround(dpiY / 0.0254)));
    physical.append('\x01'); // per metre
    chunk(out, "pHYs", physical);
    chunk(out, "IDAT", packed);
    chunk(out, "IEND", QByteArray());
    return out;
}

void PngWriter::writeFile(const QByteArray &bytes, const QString &path)
{
    const QString temporary = path + QStringLiteral(".~%1.tmp").arg(QCoreApplication::applicationPid());
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw QuillError(QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString()));
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    // Not synced to disk one by one: a save run writes thousands of labels.
    if (!written || file.error() != QFileDevice::NoError
        || std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        const QString reason = written ? QStringLiteral("the file cannot be replaced") : file.errorString();
        QFile::remove(temporary);
        throw QuillError(QStringLiteral("Cannot write \"%1\": %2").arg(path, reason));
    }
}
