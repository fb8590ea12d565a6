#include "PngWriter.h"

#include "QuillError.h"

#include <cmath>
#include <cstring>
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
    const int whole = width / 8;
    for (int y = 0; y < height; ++y) {
        const uchar *line = ink.constScanLine(y);
        Bytef *row = raw.data() + size_t(y) * rowBytes + 1;
        // Rows through the bars repeat: pack only the ones that differ.
        if (y > 0 && std::memcmp(line, ink.constScanLine(y - 1), size_t(width)) == 0) {
            std::memcpy(row, row - rowBytes, size_t(rowBytes - 1));
            continue;
        }
        for (int i = 0; i < whole; ++i) {
            const uchar *p = line + i * 8;
            row[i] = Bytef((p[0] < 128) << 7 | (p[1] < 128) << 6 | (p[2] < 128) << 5 | (p[3] < 128) << 4
                           | (p[4] < 128) << 3 | (p[5] < 128) << 2 | (p[6] < 128) << 1 | (p[7] < 128));
        }
        for (int x = whole * 8; x < width; ++x)
            if (line[x] < 128)
                row[x >> 3] |= Bytef(0x80 >> (x & 7));
    }
    // A small window and hash: deflate's defaults allocate and clear far more
    // memory than a label has pixels, and a repeated row is found anyway.
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 12, 4, Z_DEFAULT_STRATEGY) != Z_OK)
        throw QuillError(QStringLiteral("Not enough memory for the PNG picture."));
    QByteArray packed(qsizetype(deflateBound(&stream, uLong(raw.size()))), Qt::Uninitialized);
    stream.next_in = raw.data();
    stream.avail_in = uInt(raw.size());
    stream.next_out = reinterpret_cast<Bytef *>(packed.data());
    stream.avail_out = uInt(packed.size());
    const int status = deflate(&stream, Z_FINISH);
    packed.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    if (status != Z_STREAM_END)
        throw QuillError(QStringLiteral("Not enough memory for the PNG picture."));

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
