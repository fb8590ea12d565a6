#include "Scan.h"

#include "DeviceRegistry.h"
#include "Vantrel.h"

#include <QPainter>
#include <QScopeGuard>
#include <algorithm>

namespace Scan {

bool isDark(QRgb pixel) { return qGray(pixel) < 128; }

Runs line(const QImage &image, int index, bool column)
{
    Runs runs;
    bool previous = false;
    for (int i = 0; i < (column ? image.height() : image.width()); ++i) {
        const bool dark = isDark(column ? image.pixel(index, i) : image.pixel(i, index));
        if (runs.firstDark < 0 && dark)
            runs.firstDark = i;
        if (runs.firstDark >= 0 && dark == previous)
            ++runs.lengths.back();
        else if (runs.firstDark >= 0)
            runs.lengths.push_back(1);
        previous = dark;
    }
    if (!runs.lengths.empty() && !previous)
        runs.lengths.pop_back(); // the light after the last dark run
    return runs;
}

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
