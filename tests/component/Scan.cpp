#include "Scan.h"

#include "DeviceRegistry.h"
#include "Vantrel.h"

#include <QPainter>
#include <QScopeGuard>

namespace Scan {

QRect inkBox(const QImage &image, const QRect &area)
{
    QRect box;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (isDark(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

QImage page(int width, int height, int dpi)
{
    QImage page(width, height, QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(dpi / 0.0254));
    page.setDotsPerMeterY(qRound(dpi / 0.0254));
    page.fill(Qt::white);
    return page;
}

void drawOn(const Vantrel &v, QImage &page, const QRect &cell)
{
    QPainter painter(&page);
    const std::int32_t handle = DeviceRegistry::add(&painter);
    const auto remove = qScopeGuard([handle] { DeviceRegistry::remove(handle); });
    v.DrawToDevice(handle, cell.x(), cell.y(), cell.width(), cell.height());
}

} // namespace Scan
