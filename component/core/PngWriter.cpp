#include "PngWriter.h"

#include "QuillError.h"

#include <cmath>
#include <cstring>

namespace {
// Compressed data goes out in IDAT chunks of at most this size; a label's
// whole picture usually fits one.
constexpr size_t kChunkBytes = 64 * 1024;

void put32(QByteArray &out, quint32 v)
{
    const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(bytes, 4);
}

void chunk(QByteArray &out, const char *type, const char *data, qsizetype size)
{
    put32(out, quint32(size));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data, size);
    const auto *typed = reinterpret_cast<const Bytef *>(out.constData() + start);
    put32(out, quint32(crc32(crc32(0, nullptr, 0), typed, uInt(out.size() - start))));
}

void chunk(QByteArray &out, const char *type, const QByteArray &data)
{
    chunk(out, type, data.constData(), data.size());
}

[[noreturn]] void outOfMemory()
{
    throw QuillError(QStringLiteral("Not enough memory for the PNG picture."));
}
} // namespace

PngWriter::PngWriter(int width, int height, const QColor &back, const QColor &bar, double dpiX, double dpiY,
                     QByteArray &out)
    : m_out(out)
    , m_width(width)
    , m_row(size_t((width + 7) / 8 + 1), 0)
    , m_lastInk(size_t(width))
    , m_packed(kChunkBytes)
{
    // A small window and hash: deflate's defaults allocate and clear far more
    // memory than a label has pixels, and a repeated row is found anyway.
    if (deflateInit2(&m_stream, Z_BEST_SPEED, Z_DEFLATED, 12, 4, Z_DEFAULT_STRATEGY) != Z_OK)
        outOfMemory();
    m_stream.next_out = m_packed.data();
    m_stream.avail_out = uInt(m_packed.size());

    out.append("\x89PNG\r\n\x1a\n", 8);
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
}

PngWriter::~PngWriter() { deflateEnd(&m_stream); }

void PngWriter::deflateRow(int flush)
{
    for (;;) {
        const int status = deflate(&m_stream, flush);
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
            outOfMemory();
        const bool full = m_stream.avail_out == 0;
        const qsizetype made = qsizetype(m_packed.size() - m_stream.avail_out);
        if (made > 0 && (full || status == Z_STREAM_END)) {
            chunk(m_out, "IDAT", reinterpret_cast<const char *>(m_packed.data()), made);
            m_stream.next_out = m_packed.data();
            m_stream.avail_out = uInt(m_packed.size());
        }
        if (status == Z_STREAM_END || (!full && m_stream.avail_in == 0 && flush == Z_NO_FLUSH))
            return;
    }
}

void PngWriter::addRows(const QImage &ink, int top, int count)
{
    const int whole = m_width / 8;
    Bytef *row = m_row.data() + 1;
    for (int y = top; y < top + count; ++y) {
        const uchar *line = ink.constScanLine(y);
        const uchar *above = y > top ? ink.constScanLine(y - 1) : m_lastInk.data();
        // Rows through the bars repeat: pack only the ones that differ.
        if (!m_haveRow || std::memcmp(line, above, size_t(m_width)) != 0) {
            for (int i = 0; i < whole; ++i) {
                const uchar *p = line + i * 8;
                row[i] = Bytef((p[0] < 128) << 7 | (p[1] < 128) << 6 | (p[2] < 128) << 5 | (p[3] < 128) << 4
                               | (p[4] < 128) << 3 | (p[5] < 128) << 2 | (p[6] < 128) << 1 | (p[7] < 128));
            }
            if (whole * 8 < m_width) {
                Bytef last = 0;
                for (int x = whole * 8; x < m_width; ++x)
                    if (line[x] < 128)
                        last |= Bytef(0x80 >> (x & 7));
                row[whole] = last;
            }
        }
        m_haveRow = true;
        m_stream.next_in = m_row.data();
        m_stream.avail_in = uInt(m_row.size());
        deflateRow(Z_NO_FLUSH);
    }
    if (count > 0)
        std::memcpy(m_lastInk.data(), ink.constScanLine(top + count - 1), size_t(m_width));
}

void PngWriter::finish()
{
    m_stream.next_in = nullptr;
    m_stream.avail_in = 0;
    deflateRow(Z_FINISH);
    chunk(m_out, "IEND", nullptr, 0);
}

QByteArray PngWriter::twoColour(const QImage &ink, const QColor &back, const QColor &bar, double dpiX,
                                double dpiY)
{
    QByteArray out;
    PngWriter writer(ink.width(), ink.height(), back, bar, dpiX, dpiY, out);
    writer.addRows(ink, 0, ink.height());
    writer.finish();
    return out;
}
