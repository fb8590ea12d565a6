#pragma once
#include "WmfWriter.h"

#include <QBrush>
#include <QFont>
#include <QPaintEngine>
#include <QPen>
#include <QTransform>
#include <optional>

// Turns QPainter calls into metafile records. It claims every feature so that
// QPainter hands over shapes and text untransformed together with the
// transform, and maps them itself: rectangles under quarter-turn rotations
// stay rectangles, text keeps its angle as the font's escapement. Filled
// shapes are drawn with a null pen (the outline would widen the bars); shapes
// without a brush are outlined with the pen. Images and clipping are ignored.
class WmfPaintEngine : public QPaintEngine {
public:
    WmfPaintEngine();

    bool begin(QPaintDevice *device) override;
    bool end() override;
    void updateState(const QPaintEngineState &changed) override;
    Type type() const override { return QPaintEngine::User; }

    void drawRects(const QRectF *rects, int count) override;
    void drawRects(const QRect *rects, int count) override;
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override;
    void drawPolygon(const QPoint *points, int count, PolygonDrawMode mode) override;
    void drawPath(const QPainterPath &path) override;
    void drawTextItem(const QPointF &p, const QTextItem &textItem) override;
    void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) override;
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
    QPen m_pen;
    QBrush m_brush;
    QTransform m_transform;
    int m_dpi = 96;
    QSize m_size;

    // What the reader has selected, so that objects are made only on change.
    std::optional<int> m_brushSlot, m_penSlot, m_fontSlot;
    std::optional<QColor> m_brushColor, m_penColor, m_textColor;
    int m_penWidth = -1;
    QString m_fontKey;
    std::optional<WmfWriter::PolyFillMode> m_fillMode;
};
