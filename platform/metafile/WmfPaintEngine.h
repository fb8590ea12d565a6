#pragma once
#include "VectorPaintEngine.h"
#include "WmfWriter.h"

#include <QFont>
#include <optional>

// Turns QPainter calls into metafile records, mapping them itself:
// rectangles under quarter-turn rotations stay rectangles, text keeps its
// angle as the font's escapement. Filled shapes are drawn with a null pen (the
// outline would widen the bars); shapes without a brush are outlined with the
// pen. Images are bitmaps over white, turned by quarter turns only; clipping
// is ignored.
class WmfPaintEngine : public VectorPaintEngine {
public:
    bool begin(QPaintDevice *device) override;
    bool end() override;

    void drawRects(const QRectF *rects, int count) override;
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override;
    void drawPath(const QPainterPath &path) override;
    void drawTextItem(const QPointF &p, const QTextItem &textItem) override;
    void drawImage(const QRectF &r, const QImage &image, const QRectF &sr,
                   Qt::ImageConversionFlags flags = Qt::AutoColor) override;

    // The file of the last finished painting.
    QByteArray bytes() const { return m_bytes; }

private:
    enum class Shape { Filled, Outlined, Skip };
    Shape prepareShape();
    void selectBrush(const QColor &color);
    void selectPen(const QColor &color, int width);
    void selectFont(const QFont &font, int escapement);
    void replace(std::optional<int> &slot, int created);
    void setFillMode(WmfWriter::PolyFillMode mode);

    WmfWriter m_writer;
    QByteArray m_bytes;
    int m_dpi = 96;
    QSize m_size;

    // What the reader has selected, so that objects are made only on change.
    std::optional<int> m_brushSlot, m_penSlot, m_fontSlot;
    std::optional<QColor> m_brushColor, m_penColor, m_textColor;
    int m_penWidth = -1;
    QString m_fontKey;
    std::optional<WmfWriter::PolyFillMode> m_fillMode;
};
