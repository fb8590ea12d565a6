#include "CanvasRulers.h"

#include <QPainter>
#include <array>
#include <cmath>

CanvasRuler::CanvasRuler(Qt::Orientation orientation, QWidget *parent)
    : QWidget(parent)
    , m_orientation(orientation)
{
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    setFont(small);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasRuler::setScale(double unitTwips, double origin, double pixelsPerTwip)
{
    if (unitTwips == m_unit && origin == m_origin && pixelsPerTwip == m_pixelsPerTwip)
        return;
    m_unit = unitTwips;
    m_origin = origin;
    m_pixelsPerTwip = pixelsPerTwip;
    update();
}

int CanvasRuler::thickness() const { return fontMetrics().height() + 8; }

void CanvasRuler::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    const bool across = m_orientation == Qt::Horizontal;
    const int length = across ? width() : height();
    const int depth = across ? height() : width();
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(across ? QLine(0, depth - 1, length, depth - 1)
                            : QLine(depth - 1, 0, depth - 1, length));
    // Numbers at least 50 pixels apart; a centimetre splits in tenths, an inch in eighths.
    const bool inches = m_unit > 1000;
    const double unitPixels = m_unit * m_pixelsPerTwip;
    if (unitPixels <= 0)
        return;
    double major = 0;
    for (const double fraction : inches ? std::array{0.125, 0.25, 0.5} : std::array{0.1, 0.2, 0.5})
        if (major == 0 && fraction * unitPixels >= 50)
            major = fraction;
    for (double decade = 1; major == 0; decade *= 10)
        for (const double step : {1.0, 2.0, 5.0})
            if (major == 0 && step * decade * unitPixels >= 50)
                major = step * decade;
    int parts = inches && major <= 1 ? 8 : 10;
    while (parts > 1 && major * unitPixels / parts < 5)
        parts /= 2;
    const double minorPixels = major * unitPixels / parts;
    painter.setPen(palette().color(QPalette::ButtonText));
    const long long first = std::llround(std::floor(-m_origin / minorPixels));
    const long long last = std::llround(std::ceil((length - m_origin) / minorPixels));
    for (long long tick = first; tick <= last; ++tick) {
        const int at = qRound(m_origin + tick * minorPixels);
        const bool numbered = tick % parts == 0;
        const int size = numbered ? depth : parts % 2 == 0 && tick % (parts / 2) == 0 ? depth / 2 : depth / 4;
        painter.drawLine(across ? QLine(at, depth - size, at, depth) : QLine(depth - size, at, depth, at));
        if (!numbered)
            continue;
        const QString number = QString::number(double(tick / parts) * major, 'g', 4);
        if (across) {
            painter.drawText(at + 3, fontMetrics().ascent() + 1, number);
            continue;
        }
        painter.save();
        painter.translate(fontMetrics().ascent() + 1, at - 3);
        painter.rotate(-90);
        painter.drawText(0, 0, number);
        painter.restore();
    }
}
