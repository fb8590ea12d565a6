#include "VectorPaintEngine.h"

#include <QPixmap>
#include <QPolygonF>

void VectorPaintEngine::updateState(const QPaintEngineState &changed)
{
    const DirtyFlags flags = changed.state();
    if (flags & DirtyPen)
        m_pen = changed.pen();
    if (flags & DirtyBrush)
        m_brush = changed.brush();
    if (flags & DirtyTransform)
        m_transform = changed.transform();
}

void VectorPaintEngine::drawRects(const QRect *rects, int count)
{
    for (int i = 0; i < count; ++i) {
        const QRectF r(rects[i]);
        drawRects(&r, 1);
    }
}

void VectorPaintEngine::drawPolygon(const QPoint *points, int count, PolygonDrawMode mode)
{
    QPolygonF polygon;
    polygon.reserve(count);
    for (int i = 0; i < count; ++i)
        polygon << QPointF(points[i]);
    drawPolygon(polygon.constData(), count, mode);
}

void VectorPaintEngine::drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr)
{
    drawImage(r, pm.toImage(), sr);
}
