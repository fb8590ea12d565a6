#pragma once
#include <QBrush>
#include <QPaintEngine>
#include <QPen>
#include <QTransform>

// What our engines that write vector files share. They claim every feature,
// so that QPainter hands over shapes and text untransformed together with the
// transform, which they map themselves; this keeps the pen, brush and
// transform the painter sets, and hands integer shapes and pixmaps on as
// their floating-point shapes and images.
class VectorPaintEngine : public QPaintEngine {
public:
    VectorPaintEngine()
        : QPaintEngine(QPaintEngine::AllFeatures)
    {
    }

    void updateState(const QPaintEngineState &changed) override;
    // Not a type of Qt's own: the renderer then hands over text as
    // characters rather than glyphs, which carry no text.
    Type type() const override { return QPaintEngine::User; }

    using QPaintEngine::drawPolygon;
    using QPaintEngine::drawRects;
    void drawRects(const QRect *rects, int count) override;
    void drawPolygon(const QPoint *points, int count, PolygonDrawMode mode) override;
    void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) override;

protected:
    QPen m_pen;
    QBrush m_brush;
    QTransform m_transform;
};
