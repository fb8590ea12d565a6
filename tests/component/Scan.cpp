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

QString modules(const Runs &runs, int *module)
{
    if (runs.lengths.empty())
        return {};
    const int m = *std::min_element(runs.lengths.begin(), runs.lengths.end());
    if (module)
        *module = m;
    QString text;
    for (size_t i = 0; i < runs.lengths.size(); ++i) {
        if (runs.lengths[i] % m != 0)
            return {};
        text += QString(runs.lengths[i] / m, i % 2 == 0 ? u'#' : u'.');
    }
    return text;
}

bool cleanBars(const QImage &image, int index, bool column)
{
    QImage seen(image.size(), QImage::Format_Mono);
    seen.fill(0);
    for (int i = 0; i < (column ? image.height() : image.width()); ++i) {
        std::vector<QPoint> todo{column ? QPoint(index, i) : QPoint(i, index)};
        QRect box;
        long long count = 0;
        while (!todo.empty()) { // the 8-connected patch of ink around the line's pixel
            const QPoint p = todo.back();
            todo.pop_back();
            if (!image.rect().contains(p) || seen.pixelIndex(p) || !isDark(image.pixel(p)))
                continue;
            seen.setPixel(p, 1);
            box |= QRect(p, QSize(1, 1));
            ++count;
            for (const QPoint d : {QPoint(-1, -1), QPoint(0, -1), QPoint(1, -1), QPoint(-1, 0), QPoint(1, 0), QPoint(-1, 1), QPoint(0, 1), QPoint(1, 1)})
                todo.push_back(p + d);
        }
        if (count != qint64(box.width()) * box.height())
            return false;
    }
    return true;
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
