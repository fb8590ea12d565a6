#include "WmfWriter.h"

#include <QtEndian>
#include <algorithm>

namespace {

enum Function : std::uint16_t {
    MetaEof = 0x0000,
    MetaSetBkMode = 0x0102,
    MetaSetMapMode = 0x0103,
    MetaSetPolyFillMode = 0x0106,
    MetaSetTextColor = 0x0209,
    MetaSetWindowOrg = 0x020B,
    MetaSetWindowExt = 0x020C,
    MetaSelectObject = 0x012D,
    MetaSetTextAlign = 0x012E,
    MetaDeleteObject = 0x01F0,
    MetaCreatePenIndirect = 0x02FA,
    MetaCreateFontIndirect = 0x02FB,
    MetaCreateBrushIndirect = 0x02FC,
    MetaPolygon = 0x0324,
    MetaPolyline = 0x0325,
    MetaRectangle = 0x041B,
    MetaStretchDib = 0x0F43,
    MetaPolyPolygon = 0x0538,
    MetaExtTextOut = 0x0A32,
};

constexpr std::uint16_t kBrushSolid = 0, kBrushNull = 1;
constexpr std::uint16_t kPenSolid = 0, kPenNull = 5;
constexpr int kFaceNameBytes = 32;

std::uint16_t coord(int value) { return std::uint16_t(std::int16_t(std::clamp(value, -32768, 32767))); }

// COLORREF: red in the low byte.
void putColor(std::vector<std::uint16_t> &params, const QColor &color)
{
    params.push_back(std::uint16_t(color.red() | (color.green() << 8)));
    params.push_back(std::uint16_t(color.blue()));
}

// Bytes packed two to a word, low byte first, padded with a zero byte.
void putBytes(std::vector<std::uint16_t> &params, const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const auto low = std::uint8_t(bytes[i]);
        const auto high = i + 1 < bytes.size() ? std::uint8_t(bytes[i + 1]) : std::uint8_t(0);
        params.push_back(std::uint16_t(low | (high << 8)));
    }
}

void putPoints(std::vector<std::uint16_t> &params, const QPolygon &points)
{
    for (const QPoint &p : points) {
        params.push_back(coord(p.x()));
        params.push_back(coord(p.y()));
    }
}

// Windows-1252 at 0x80 to 0x9F; 0 where it has no character.
constexpr char16_t kWindows1252[32]
    = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
       0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
       0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The character's byte in Windows-1252, the code page of ANSI_CHARSET; -1 for none.
int ansiByte(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= 0x20 && u < 0x7f) || (u >= 0xa0 && u <= 0xff))
        return u;
    const char16_t *const at = std::find(std::begin(kWindows1252), std::end(kWindows1252), u);
    return u != 0 && at != std::end(kWindows1252) ? int(0x80 + (at - std::begin(kWindows1252))) : -1;
}

// Control characters draw nothing: they are left out.
QByteArray ansiBytes(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        if (const int b = ansiByte(c); b >= 0)
            bytes.append(char(b));
        else if (!c.isNonCharacter() && c.category() != QChar::Other_Control)
            bytes.append('?');
    }
    return bytes;
}

void append16(QByteArray &out, std::uint16_t v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void append32(QByteArray &out, std::uint32_t v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

void WmfWriter::record(std::uint16_t function, const std::vector<std::uint16_t> &params)
{
    const auto words = std::uint32_t(3 + params.size());
    m_maxRecordWords = std::max(m_maxRecordWords, words);
    append32(m_records, words);
    append16(m_records, function);
    for (std::uint16_t p : params)
        append16(m_records, p);
}

int WmfWriter::takeSlot()
{
    auto free = std::find(m_slots.begin(), m_slots.end(), false);
    if (free != m_slots.end()) {
        *free = true;
        return int(free - m_slots.begin());
    }
    m_slots.push_back(true);
    return int(m_slots.size()) - 1;
}

void WmfWriter::setMapMode(std::uint16_t mode) { record(MetaSetMapMode, {mode}); }
// The format keeps y before x.
void WmfWriter::setWindowOrg(int x, int y) { record(MetaSetWindowOrg, {coord(y), coord(x)}); }
void WmfWriter::setWindowExt(int width, int height)
{
    record(MetaSetWindowExt, {coord(height), coord(width)});
}
void WmfWriter::setBkMode(BackgroundMode mode) { record(MetaSetBkMode, {mode}); }
void WmfWriter::setPolyFillMode(PolyFillMode mode) { record(MetaSetPolyFillMode, {mode}); }
void WmfWriter::setTextAlign(std::uint16_t align) { record(MetaSetTextAlign, {align}); }

void WmfWriter::setTextColor(const QColor &color)
{
    std::vector<std::uint16_t> params;
    putColor(params, color);
    record(MetaSetTextColor, params);
}

int WmfWriter::createBrushIndirect(const QColor &color)
{
    std::vector<std::uint16_t> params{color.isValid() ? kBrushSolid : kBrushNull};
    putColor(params, color.isValid() ? color : QColor(Qt::black));
    params.push_back(0); // hatch
    record(MetaCreateBrushIndirect, params);
    return takeSlot();
}

int WmfWriter::createPenIndirect(const QColor &color, int width)
{
    std::vector<std::uint16_t> params{color.isValid() ? kPenSolid : kPenNull, coord(std::max(width, 0)), 0};
    putColor(params, color.isValid() ? color : QColor(Qt::black));
    record(MetaCreatePenIndirect, params);
    return takeSlot();
}

int WmfWriter::createFontIndirect(int height, int escapement, int orientation, int weight, bool italic,
                                  bool underline, bool strikeOut, const QString &faceName)
{
    // A negative height asks for the character height rather than the cell height.
    std::vector<std::uint16_t> params{coord(-std::abs(height)), 0, coord(escapement), coord(orientation),
                                      coord(weight)};
    QByteArray tail;
    tail.append(char(italic ? 1 : 0));
    tail.append(char(underline ? 1 : 0));
    tail.append(char(strikeOut ? 1 : 0));
    tail.append(char(0)); // ANSI_CHARSET
    tail.append(char(0)); // OUT_DEFAULT_PRECIS
    tail.append(char(0)); // CLIP_DEFAULT_PRECIS
    tail.append(char(0)); // DEFAULT_QUALITY
    tail.append(char(0)); // DEFAULT_PITCH | FF_DONTCARE
    QByteArray face = ansiBytes(faceName).left(kFaceNameBytes - 1);
    face.append(QByteArray(kFaceNameBytes - face.size(), '\0'));
    tail.append(face);
    putBytes(params, tail);
    record(MetaCreateFontIndirect, params);
    return takeSlot();
}

void WmfWriter::selectObject(int handle) { record(MetaSelectObject, {std::uint16_t(handle)}); }

void WmfWriter::deleteObject(int handle)
{
    record(MetaDeleteObject, {std::uint16_t(handle)});
    if (handle >= 0 && handle < int(m_slots.size()))
        m_slots[size_t(handle)] = false;
}

// The format keeps the corners in reverse order: bottom, right, top, left.
void WmfWriter::stretchDib(const QRect &destination, const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QByteArray dib;
    append32(dib, 40); // BITMAPINFOHEADER
    append32(dib, std::uint32_t(rgb.width()));
    append32(dib, std::uint32_t(rgb.height())); // rows bottom up
    append16(dib, 1); // planes
    append16(dib, 24);
    for (int i = 0; i < 6; ++i) // no compression, image size, resolution and palette left to the reader
        append32(dib, 0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            dib.append(char(qBlue(row[x])));
            dib.append(char(qGreen(row[x])));
            dib.append(char(qRed(row[x])));
        }
        dib.append((4 - rgb.width() * 3 % 4) % 4, '\0');
    }
    std::vector<std::uint16_t> params{0x0020,
                                      0x00CC,
                                      0, // SRCCOPY, DIB_RGB_COLORS
                                      std::uint16_t(rgb.height()),
                                      std::uint16_t(rgb.width()),
                                      0,
                                      0,
                                      coord(destination.height()),
                                      coord(destination.width()),
                                      coord(destination.top()),
                                      coord(destination.left())};
    for (qsizetype i = 0; i + 1 < dib.size(); i += 2)
        params.push_back(std::uint16_t(std::uint8_t(dib[i]) | std::uint8_t(dib[i + 1]) << 8));
    record(MetaStretchDib, params);
}

void WmfWriter::rectangle(int left, int top, int right, int bottom)
{
    record(MetaRectangle, {coord(bottom), coord(right), coord(top), coord(left)});
}

// A point or polygon count is 16 bits in the format. A longer outline becomes a
// fan of parts from its first point: the edges added between the parts run both
// ways and cancel, so either fill rule fills the same area. (A pen would draw
// them; the outlines the painter fills come without one.)
constexpr qsizetype kMaxCount = 65535;

void WmfWriter::polygon(const QPolygon &points)
{
    if (points.size() > kMaxCount)
        return polyPolygon({points});
    std::vector<std::uint16_t> params{std::uint16_t(points.size())};
    putPoints(params, points);
    record(MetaPolygon, params);
}

void WmfWriter::polyline(const QPolygon &points)
{
    // Parts share their end points, so the line runs on unbroken.
    for (qsizetype start = 0; start == 0 || start + 1 < points.size(); start += kMaxCount - 1) {
        const QPolygon part = points.mid(start, kMaxCount);
        std::vector<std::uint16_t> params{std::uint16_t(part.size())};
        putPoints(params, part);
        record(MetaPolyline, params);
    }
}

void WmfWriter::polyPolygon(const QList<QPolygon> &polygons)
{
    QList<QPolygon> parts;
    for (const QPolygon &p : polygons) {
        if (p.size() <= kMaxCount) {
            parts << p;
            continue;
        }
        for (qsizetype start = 1; start + 1 < p.size(); start += kMaxCount - 2)
            parts << (QPolygon{p.first()} + p.mid(start, kMaxCount - 1));
    }
    for (qsizetype first = 0; first < parts.size(); first += kMaxCount) {
        const QList<QPolygon> some = parts.mid(first, kMaxCount);
        std::vector<std::uint16_t> params{std::uint16_t(some.size())};
        for (const QPolygon &p : some)
            params.push_back(std::uint16_t(p.size()));
        for (const QPolygon &p : some)
            putPoints(params, p);
        record(MetaPolyPolygon, params);
    }
}

void WmfWriter::extTextOut(int x, int y, const QString &text)
{
    const QByteArray bytes = ansiBytes(text);
    std::vector<std::uint16_t> params{coord(y), coord(x), std::uint16_t(bytes.size()), 0};
    putBytes(params, bytes);
    record(MetaExtTextOut, params);
}

bool WmfWriter::ansiText(const QString &text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return ansiByte(c) >= 0 || c.category() == QChar::Other_Control; });
}

std::uint16_t WmfWriter::placeableChecksum(const QByteArray &header)
{
    std::uint16_t sum = 0;
    for (int i = 0; i < 10 && 2 * i + 1 < header.size(); ++i)
        sum ^= qFromLittleEndian<std::uint16_t>(header.constData() + 2 * i);
    return sum;
}

QByteArray WmfWriter::finish(const QRect &bounds, int unitsPerInch) const
{
    QByteArray out;
    // Aldus placeable header, 22 bytes.
    append32(out, 0x9AC6CDD7u);
    append16(out, 0); // hmf
    append16(out, coord(bounds.left()));
    append16(out, coord(bounds.top()));
    append16(out, coord(bounds.left() + bounds.width()));
    append16(out, coord(bounds.top() + bounds.height()));
    append16(out, std::uint16_t(unitsPerInch));
    append32(out, 0); // reserved
    append16(out, placeableChecksum(out));

    constexpr std::uint32_t kHeaderWords = 9;
    constexpr std::uint32_t kEofWords = 3;
    const auto totalWords = std::uint32_t(kHeaderWords + m_records.size() / 2 + kEofWords);
    append16(out, 1); // memory metafile
    append16(out, kHeaderWords);
    append16(out, 0x0300);
    append32(out, totalWords);
    append16(out, std::uint16_t(m_slots.size()));
    append32(out, m_maxRecordWords);
    append16(out, 0);

    out.append(m_records);
    append32(out, kEofWords);
    append16(out, MetaEof);
    return out;
}
