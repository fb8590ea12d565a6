#include "CanvasItems.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <algorithm>
#include <cmath>

namespace {

// A box of device pixels, its corners rounded to the nearest pixel edge.
QRect pixelRect(const QRectF &box)
{
    return QRect(QPoint(qRound(box.left()), qRound(box.top())),
                 QPoint(qRound(box.right()) - 1, qRound(box.bottom()) - 1));
}

QColor paperColour(const CanvasSource &source)
{
    return source.renderer ? source.renderer->background() : QColor(Qt::white);
}

} // namespace

PaperItem::PaperItem(const CanvasSource &source)
    : m_source(source)
{
    setFlag(ItemUsesExtendedStyleOption);
    setZValue(-1);
    // Its see-through shadow is drawn once a zoom, not on every frame of a drag.
    setCacheMode(DeviceCoordinateCache);
}

void PaperItem::setPixelTwips(double twips)
{
    prepareGeometryChange();
    m_pixel = twips;
}

void PaperItem::setGrid(double stepTwips, bool shown)
{
    m_grid = shown ? std::max(stepTwips, 0.0) : 0;
    update();
}

QRectF PaperItem::boundingRect() const
{
    const double shadow = 8 * m_pixel;
    return QRectF(QPointF(0, 0), m_source.label)
        .adjusted(-shadow, -shadow, shadow + 2 * m_pixel, shadow + 2 * m_pixel);
}

void PaperItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    const QRectF paper(QPointF(0, 0), m_source.label);
    painter->setPen(Qt::NoPen);
    // The shadow: rings, each a little darker within the last.
    painter->setBrush(QColor(0, 0, 0, 14));
    for (int ring = 6; ring >= 1; --ring) {
        const double out = ring * m_pixel;
        painter->drawRect(paper.translated(2 * m_pixel, 2 * m_pixel).adjusted(-out, -out, out, out));
    }
    const QColor back = paperColour(m_source);
    painter->fillRect(paper, back);
    if (m_grid <= 0)
        return;
    double step = m_grid;
    while (step < 6 * m_pixel) // the dots at least six pixels apart
        step *= 2;
    const QRectF exposed = option->exposedRect & paper;
    QList<QPointF> dots;
    for (double y = std::ceil(exposed.top() / step) * step; y <= exposed.bottom(); y += step)
        for (double x = std::ceil(exposed.left() / step) * step; x <= exposed.right(); x += step)
            dots.append(QPointF(x, y));
    QPen pen(back.lightness() > 128 ? QColor(0, 0, 0, 110) : QColor(255, 255, 255, 130), 1.5);
    pen.setCosmetic(true);
    painter->setPen(pen);
    painter->drawPoints(dots);
}

ObjectItem::ObjectItem(const CanvasSource &source, std::size_t index, const QRectF &box, double pad)
    : m_source(source)
    , m_index(index)
    , m_box(box.normalized())
    , m_origin(m_box.topLeft())
    , m_pad(pad)
{
    setPos(m_origin);
    setZValue(double(index));
    setCacheMode(DeviceCoordinateCache);
}

void ObjectItem::setOffset(const QPointF &offset) { setPos(m_origin + offset); }

void ObjectItem::setPreview(const std::optional<QRectF> &box, double pixelsPerTwip, qreal ratio)
{
    if (box && !m_preview)
        m_picture = picture(pixelsPerTwip * ratio);
    prepareGeometryChange();
    m_preview = box;
    if (!box)
        m_picture = {};
}

void ObjectItem::setExtraFault(const QString &reason)
{
    m_extraFault = reason;
    setToolTip(fault());
    update();
}

QString ObjectItem::fault() const
{
    QStringList reasons;
    for (const QString &reason : {m_extraFault, m_drawFault})
        if (!reason.isEmpty())
            reasons.append(reason);
    return reasons.join('\n');
}

void ObjectItem::checkFaults()
{
    // At the screen's size, no picture larger than 1024 pixels.
    picture(std::min(1 / 15.0, 1024 / std::max({m_box.width(), m_box.height(), 1.0})));
}

QRectF ObjectItem::boundingRect() const
{
    QRectF box(QPointF(0, 0), m_box.size());
    if (m_preview)
        box |= m_preview->normalized().translated(-m_origin);
    return box.adjusted(-m_pad, -m_pad, m_pad, m_pad);
}

void ObjectItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (!m_source.renderer)
        return;
    if (m_preview) {
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        const QRectF box = m_preview->normalized().translated(-m_origin);
        painter->drawImage(box.adjusted(-m_pad, -m_pad, m_pad, m_pad), m_picture);
        return;
    }
    // The label's area in the device's own pixels, drawn without a transform:
    // fonts, strokes and bars at the screen's resolution.
    const qreal ratio = painter->device()->devicePixelRatio();
    const QTransform toDevice = painter->worldTransform() * QTransform::fromScale(ratio, ratio);
    painter->save();
    painter->setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    drawObject(*painter, pixelRect(toDevice.mapRect(QRectF(-m_origin, m_source.label))));
    painter->restore();
    markFault(*painter);
}

QImage ObjectItem::picture(double pixelsPerTwip)
{
    const QRectF box = QRectF(QPointF(0, 0), m_box.size()).adjusted(-m_pad, -m_pad, m_pad, m_pad);
    QImage image(std::max(1, int(std::ceil(box.width() * pixelsPerTwip))),
                 std::max(1, int(std::ceil(box.height() * pixelsPerTwip))),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!m_source.renderer)
        return image;
    const QPointF origin = (m_origin + box.topLeft()) * pixelsPerTwip;
    QPainter painter(&image);
    drawObject(painter, pixelRect(QRectF(-origin, m_source.label * pixelsPerTwip)));
    return image;
}

void ObjectItem::drawObject(QPainter &painter, const QRect &area)
{
    QStringList faults;
    m_source.renderer->draw(painter, area, m_source.record, &faults,
                            [this](std::size_t index) { return index == m_index; });
    m_drawFault = faults.join('\n');
    if (toolTip() != fault())
        setToolTip(fault());
}

void ObjectItem::markFault(QPainter &painter) const
{
    if (fault().isEmpty())
        return;
    painter.save();
    const QRectF box = painter.worldTransform().mapRect(QRectF(QPointF(0, 0), m_box.size()));
    painter.resetTransform();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen dashes(QColor(220, 0, 0), 2, Qt::DashLine);
    dashes.setCosmetic(true);
    painter.setPen(dashes);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(1, 1, -1, -1));
    // A warning sign inside the top-right corner.
    constexpr double kSide = 14;
    const QPointF corner = box.topRight() + QPointF(-kSide - 3, 3);
    painter.setPen(QPen(QColor(140, 0, 0), 1));
    painter.setBrush(QColor(255, 200, 0));
    painter.drawPolygon(QPolygonF{corner + QPointF(kSide / 2, 0), corner + QPointF(kSide, kSide),
                                  corner + QPointF(0, kSide)});
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(corner + QPointF(0, 3), QSizeF(kSide, kSide - 3)), Qt::AlignCenter,
                     QStringLiteral("!"));
    painter.restore();
}
