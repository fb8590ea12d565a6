#pragma once
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

// Writes the records of a placeable Windows metafile as plain bytes. Object
// handles follow the playback rule of GDI: a created object takes the lowest
// free slot of the handle table, and deleting it frees the slot again, so the
// indices returned here are the ones a reader will use. All coordinates are
// logical units, clamped to the 16-bit range the format holds.
class WmfWriter {
public:
    enum MapMode : std::uint16_t { MapAnisotropic = 8 };
    enum BackgroundMode : std::uint16_t { Transparent = 1, Opaque = 2 };
    enum PolyFillMode : std::uint16_t { Alternate = 1, Winding = 2 };
    // Reference point of text: left edge on the baseline.
    static constexpr std::uint16_t kAlignBaselineLeft = 24;

    void setMapMode(std::uint16_t mode);
    void setWindowOrg(int x, int y);
    void setWindowExt(int width, int height);
    void setBkMode(BackgroundMode mode);
    void setPolyFillMode(PolyFillMode mode);
    void setTextAlign(std::uint16_t align);
    void setTextColor(const QColor &color);

    // A null colour (QColor()) gives a hollow brush / a null pen.
    int createBrushIndirect(const QColor &color);
    int createPenIndirect(const QColor &color, int width);
    // height: character (em) height in logical units; angles in tenths of a
    // degree, counter-clockwise.
    int createFontIndirect(int height, int escapement, int orientation, int weight, bool italic,
                           bool underline, bool strikeOut, const QString &faceName);
    void selectObject(int handle);
    void deleteObject(int handle);

    // Corners as GDI takes them: right and bottom are one past the last unit.
    void rectangle(int left, int top, int right, int bottom);
    void polygon(const QPolygon &points);
    void polyline(const QPolygon &points);
    void polyPolygon(const QList<QPolygon> &polygons);
    // The image stretched into the rectangle (right and bottom one past the
    // last unit), as a 24-bit device-independent bitmap; transparent parts white.
    void stretchDib(const QRect &destination, const QImage &image);
    // Text in the Windows "ANSI" code page, Windows-1252; characters beyond it
    // become "?" (see ansiText), control characters are left out.
    void extTextOut(int x, int y, const QString &text);
    // True when every character of the text has its byte in Windows-1252.
    static bool ansiText(const QString &text);

    // The finished file: placeable header (bounding box in logical units,
    // unitsPerInch logical units to the inch), META_HEADER, the records, EOF.
    QByteArray finish(const QRect &bounds, int unitsPerInch) const;

    static std::uint16_t placeableChecksum(const QByteArray &header);

private:
    void record(std::uint16_t function, const std::vector<std::uint16_t> &params);
    int takeSlot();

    QByteArray m_records;
    std::uint32_t m_maxRecordWords = 3; // EOF
    std::vector<bool> m_slots;
};
