#pragma once
// Reading what a renderer left in an image, without any knowledge of how it
// was drawn: dark pixels and the ink's extent; a component set up as a form
// sets it. The message a call raised: raised().
#include "DeviceRegistry.h"
#include "Raised.h"
#include "Vantrel.h"

#include <QImage>
#include <QPainter>
#include <QScopeGuard>

namespace Scan {

inline bool isDark(QRgb pixel) { return qGray(pixel) < 128; }

// A white page of the given resolution.
inline QImage page(int width, int height, int dpi)
{
    QImage page(width, height, QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(dpi / 0.0254));
    page.setDotsPerMeterY(qRound(dpi / 0.0254));
    page.fill(Qt::white);
    return page;
}

// v drawn on page through DrawToDevice.
inline void drawOn(const Vantrel &v, QImage &page, const QRect &cell)
{
    QPainter painter(&page);
    const std::int32_t handle = DeviceRegistry::add(&painter);
    const auto remove = qScopeGuard([handle] { DeviceRegistry::remove(handle); });
    v.DrawToDevice(handle, cell.x(), cell.y(), cell.width(), cell.height());
}

// A component set up as a form sets it: the members in its order, the data last.
struct Setup {
    int width = 400, height = 150, barType = int(Symbology::Code128); // a list position: outside it, nothing
    QString data{};
    double fontSize = 8;
    QString title{};
    int orientation = 0, alignment = 0, scaling = 0;
};
inline void setUp(Vantrel &v, const Setup &s)
{
    v.setWidth(s.width);
    v.setHeight(s.height);
    v.setBarType(std::int16_t(s.barType));
    v.Font().setName(QStringLiteral("Liberation Sans"));
    v.Font().setSize(s.fontSize);
    v.setShowText(1);
    v.setTitle(s.title);
    v.setOrientation(s.orientation);
    v.setAlignment(std::int16_t(s.alignment));
    v.setScaling(std::int16_t(s.scaling));
    v.setCaption(s.data);
}

} // namespace Scan
