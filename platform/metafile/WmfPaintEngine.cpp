#include "WmfPaintEngine.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTextItem>
#include <cmath>

namespace {

QPoint devicePoint(const QPointF &p) { return QPoint(int(std::lround(p.x())), int(std::lround(p.y()))); }

// True for the identity, mirrors and turns by multiples of 90 degrees: the
// image of a rectangle is then a rectangle again.
bool keepsRectangles(const QTransform &t)
{
    const bool axesKept = qFuzzyIsNull(t.m12()) && qFuzzyIsNull(t.m21());
    const bool axesSwapped = qFuzzyIsNull(t.m11()) && qFuzzyIsNull(t.m22());
    return t.type() <= QTransform::TxRotate && (axesKept || axesSwapped);
}

} // namespace

bool WmfPaintEngine::begin(QPaintDevice *device)
{
    m_writer = WmfWriter();
    m_bytes.clear();
    m_pen = QPen();
    m_brush = QBrush();
    m_transform = QTransform();
    m_brushSlot.reset();
    m_penSlot.reset();
    m_fontSlot.reset();
    m_brushColor.reset();
    m_penColor.reset();
    m_textColor.reset();
    m_penWidth = -1;
    m_fontKey.clear();
    m_fillMode.reset();
    m_dpi = device ? device->logicalDpiY() : 96;
    m_size = device ? QSize(device->width(), device->height()) : QSize();

    m_writer.setMapMode(WmfWriter::MapAnisotropic);
    m_writer.setWindowOrg(0, 0);
    m_writer.setWindowExt(m_size.width(), m_size.height());
    m_writer.setBkMode(WmfWriter::Transparent);
    m_writer.setTextAlign(WmfWriter::kAlignBaselineLeft);
    return true;
}

bool WmfPaintEngine::end()
{
    // Leave nothing in the reader's handle table.
    for (std::optional<int> *slot : {&m_brushSlot, &m_penSlot, &m_fontSlot}) {
        if (*slot)
            m_writer.deleteObject(**slot);
        slot->reset();
    }
    m_bytes = m_writer.finish(QRect(QPoint(0, 0), m_size), m_dpi);
    return true;
}

void WmfPaintEngine::replace(std::optional<int> &slot, int created)
{
    m_writer.selectObject(created);
    // The old object is no longer selected, so it can go.
    if (slot)
        m_writer.deleteObject(*slot);
    slot = created;
}

void WmfPaintEngine::selectBrush(const QColor &color)
{
    if (m_brushSlot && m_brushColor == color)
        return;
    const int created = m_writer.createBrushIndirect(color);
    replace(m_brushSlot, created);
    m_brushColor = color;
}

void WmfPaintEngine::selectPen(const QColor &color, int width)
{
    if (m_penSlot && m_penColor == color && m_penWidth == width)
        return;
    const int created = m_writer.createPenIndirect(color, width);
    replace(m_penSlot, created);
    m_penColor = color;
    m_penWidth = width;
}

void WmfPaintEngine::selectFont(const QFont &font, int escapement)
{
    double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * m_dpi / 72.0;
    // Scaling in the transform scales the text as well.
    pixels *= std::hypot(m_transform.m21(), m_transform.m22());
    const int height = std::max(1, int(std::lround(pixels)));
    const int weight = std::clamp(int(font.weight()), 1, 1000); // Qt 6 weights are the Windows scale
    const QString key = QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                            .arg(height)
                            .arg(escapement)
                            .arg(weight)
                            .arg(font.italic())
                            .arg(font.underline())
                            .arg(font.strikeOut())
                            .arg(font.family());
    if (m_fontSlot && key == m_fontKey)
        return;
    const int created = m_writer.createFontIndirect(height, escapement, escapement, weight, font.italic(),
                                                    font.underline(), font.strikeOut(), font.family());
    replace(m_fontSlot, created);
    m_fontKey = key;
}

void WmfPaintEngine::setFillMode(WmfWriter::PolyFillMode mode)
{
    if (m_fillMode == mode)
        return;
    m_writer.setPolyFillMode(mode);
    m_fillMode = mode;
}

WmfPaintEngine::Shape WmfPaintEngine::prepareShape()
{
    // The format has no transparency: a see-through brush is no brush at all,
    // not a black one.
    if (m_brush.style() != Qt::NoBrush && m_brush.color().alpha() != 0) {
        // Gradients and patterns come out in their main colour.
        selectBrush(m_brush.color());
        selectPen(QColor(), 0);
        return Shape::Filled;
    }
    if (m_pen.style() == Qt::NoPen || m_pen.color().alpha() == 0)
        return Shape::Skip;
    selectBrush(QColor());
    const double scale = std::hypot(m_transform.m11(), m_transform.m12());
    selectPen(m_pen.color(), m_pen.isCosmetic() ? 0 : int(std::lround(m_pen.widthF() * scale)));
    return Shape::Outlined;
}

void WmfPaintEngine::drawRects(const QRectF *rects, int count)
{
    const Shape shape = prepareShape();
    if (shape == Shape::Skip)
        return;
    for (int i = 0; i < count; ++i) {
        const QRectF &r = rects[i];
        if (!keepsRectangles(m_transform)) {
            m_writer.polygon(m_transform.map(QPolygonF(r)).toPolygon());
            continue;
        }
        const QRectF d = m_transform.mapRect(r);
        const QPoint topLeft = devicePoint(d.topLeft());
        const QPoint bottomRight = devicePoint(d.bottomRight());
        // Windows fills a rectangle without a pen one unit short on the right
        // and at the bottom, so a bar one unit wide would vanish; a polygon
        // through the same corners fills exactly up to them, and other readers
        // take both the same way.
        if (shape == Shape::Filled)
            m_writer.polygon(QPolygon({topLeft, QPoint(bottomRight.x(), topLeft.y()), bottomRight,
                                       QPoint(topLeft.x(), bottomRight.y())}));
        else
            m_writer.rectangle(topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y());
    }
}

void WmfPaintEngine::drawPolygon(const QPointF *points, int count, PolygonDrawMode mode)
{
    QPolygon device;
    device.reserve(count);
    for (int i = 0; i < count; ++i)
        device << devicePoint(m_transform.map(points[i]));
    if (mode == PolylineMode) {
        if (m_pen.style() == Qt::NoPen || m_pen.color().alpha() == 0)
            return;
        const double scale = std::hypot(m_transform.m11(), m_transform.m12());
        selectPen(m_pen.color(), m_pen.isCosmetic() ? 0 : int(std::lround(m_pen.widthF() * scale)));
        m_writer.polyline(device);
        return;
    }
    if (prepareShape() == Shape::Skip)
        return;
    setFillMode(mode == WindingMode ? WmfWriter::Winding : WmfWriter::Alternate);
    m_writer.polygon(device);
}

void WmfPaintEngine::drawPath(const QPainterPath &path)
{
    if (path.isEmpty())
        return;
    const Shape shape = prepareShape();
    if (shape == Shape::Skip)
        return;
    setFillMode(path.fillRule() == Qt::WindingFill ? WmfWriter::Winding : WmfWriter::Alternate);
    QList<QPolygon> polygons;
    for (const QPolygonF &sub : path.toSubpathPolygons(m_transform)) {
        QPolygon device;
        for (const QPointF &p : sub)
            device << devicePoint(p);
        if (device.size() >= 2)
            polygons << device;
    }
    // A stroked path may be open (a line); a closed one ends on its start point.
    if (shape == Shape::Outlined) {
        for (const QPolygon &polygon : std::as_const(polygons))
            m_writer.polyline(polygon);
    } else if (polygons.size() == 1)
        m_writer.polygon(polygons.constFirst());
    else if (!polygons.isEmpty())
        m_writer.polyPolygon(polygons);
}

void WmfPaintEngine::drawTextItem(const QPointF &p, const QTextItem &textItem)
{
    const QString text = textItem.text();
    if (text.isEmpty() || m_pen.style() == Qt::NoPen || m_pen.color().alpha() == 0)
        return;
    // Qt turns clockwise on the y-down page; the font's escapement counts
    // counter-clockwise, in tenths of a degree.
    const double degrees = std::atan2(m_transform.m12(), m_transform.m11()) * 180.0 / M_PI;
    int escapement = int(std::lround(-degrees * 10.0)) % 3600;
    if (escapement < 0)
        escapement += 3600;
    if (!WmfWriter::ansiText(text)) {
        // No code page of the format holds every character (CJK beside the euro,
        // say), and each reader maps code pages to fonts its own way: the glyphs'
        // outlines, filled in the text's colour, draw exactly the same everywhere.
        QPainterPath outline;
        outline.setFillRule(Qt::WindingFill);
        outline.addText(p, textItem.font(), text);
        const QBrush brush = m_brush;
        m_brush = QBrush(m_pen.color());
        drawPath(outline);
        m_brush = brush;
        return;
    }
    selectFont(textItem.font(), escapement);
    const QColor color = m_pen.color();
    if (m_textColor != color) {
        m_writer.setTextColor(color);
        m_textColor = color;
    }
    const QPoint origin = devicePoint(m_transform.map(p));
    m_writer.extTextOut(origin.x(), origin.y(), text);
}

void WmfPaintEngine::drawImage(const QRectF &r, const QImage &image, const QRectF &sr,
                               Qt::ImageConversionFlags)
{
    QImage part(sr.toAlignedRect().size(), QImage::Format_RGB32);
    part.fill(Qt::white);
    QPainter(&part).drawImage(QPointF(), image, sr);
    // A bitmap cannot turn: its pixels are turned with the painter, its scale left to the reader.
    const auto sign = [](double v) { return v > 1e-9 ? 1.0 : v < -1e-9 ? -1.0 : 0.0; };
    const QTransform turn(sign(m_transform.m11()), sign(m_transform.m12()), sign(m_transform.m21()),
                          sign(m_transform.m22()), 0, 0);
    const QRectF d = m_transform.mapRect(r);
    const QPoint topLeft = devicePoint(d.topLeft());
    const QPoint bottomRight = devicePoint(d.bottomRight());
    m_writer.stretchDib(QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y())),
                        part.transformed(turn));
}
