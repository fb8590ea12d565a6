#pragma once
#include <QIconEngine>
#include <QPalette>

#include <functional>

// An icon drawn from an SVG text each time it is asked for, at the size and
// pixel ratio of the screen it is shown on. The text is made for the
// application palette of that moment, so the icon follows a change from a light
// palette to a dark one.
class SvgIconEngine : public QIconEngine {
public:
    using Drawing = std::function<QByteArray(const QPalette &palette)>;
    explicit SvgIconEngine(Drawing drawing);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QIconEngine *clone() const override;

private:
    Drawing m_drawing;
};
