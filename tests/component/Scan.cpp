#include "Scan.h"

#include "Decode.h"

#include <algorithm>

namespace Scan {

bool isDark(QRgb pixel) { return qGray(pixel) < 128; }

Runs line(const QImage &image, int index, bool column)
{
    const int count = column ? image.height() : image.width();
    std::vector<bool> dark(count);
    for (int i = 0; i < count; ++i)
        dark[i] = isDark(column ? image.pixel(index, i) : image.pixel(i, index));
    Runs runs;
    const auto first = std::find(dark.begin(), dark.end(), true);
    if (first == dark.end())
        return runs;
    const int from = int(first - dark.begin());
    const int to = int(dark.rend() - std::find(dark.rbegin(), dark.rend(), true)); // one past the last dark
    runs.firstDark = from;
    int start = from;
    for (int i = from + 1; i <= to; ++i)
        if (i == to || dark[i] != dark[start]) {
            runs.lengths.push_back(i - start);
            start = i;
        }
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

QRect inkBox(const QImage &image, const QRect &area)
{
    int x0 = INT_MAX, y0 = INT_MAX, x1 = -1, y1 = -1;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (isDark(image.pixel(x, y))) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    return x1 < 0 ? QRect() : QRect(QPoint(x0, y0), QPoint(x1, y1));
}

int longestDarkColumnRun(const QImage &image)
{
    int best = 0;
    for (int x = 0; x < image.width(); ++x) {
        int run = 0;
        for (int y = 0; y < image.height(); ++y) {
            run = isDark(image.pixel(x, y)) ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

QString zxingRead(const QImage &image, bool code39Extended, QString *format)
{
    const Decode::Found found = Decode::zxingRead(image, code39Extended);
    if (format)
        *format = found.format;
    return found.text;
}
} // namespace Scan
