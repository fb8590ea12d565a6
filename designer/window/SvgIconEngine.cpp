#include "SvgIconEngine.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

SvgIconEngine::SvgIconEngine(Drawing drawing)
    : m_drawing(std::move(drawing))
{
}

void SvgIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(rect, scaledPixmap(rect.size() * ratio, mode, state, ratio));
}

QPixmap SvgIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return scaledPixmap(size, mode, state, 1.0);
}

// The size asked for is in device pixels already; QIcon sets the pixel ratio.
QPixmap SvgIconEngine::scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State, qreal)
{
    const QPalette palette = QGuiApplication::palette();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(m_drawing(palette));
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    if (mode == QIcon::Normal || mode == QIcon::Active || !qobject_cast<QApplication *>(qApp))
        return pixmap;
    // Disabled and selected looks come from the style, as for any other icon.
    QStyleOption option;
    option.palette = palette;
    return QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
}

QIconEngine *SvgIconEngine::clone() const { return new SvgIconEngine(m_drawing); }
