#include "Decode.h"

#include <QProcess>
#include <QTemporaryDir>
#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>
#include <algorithm>

namespace Decode {

QList<Found> zxingAll(const QImage &image, bool code39Extended)
{
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum,
                          int(gray.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setTryHarder(true);
    hints.setTryRotate(true);
    hints.setTryCode39ExtendedMode(code39Extended);
    hints.setMaxNumberOfSymbols(255);
    QList<Found> found;
    for (const auto &result : ZXing::ReadBarcodes(view, hints)) {
        if (!result.isValid())
            continue;
        const auto &pos = result.position();
        int x0 = std::min({pos[0].x, pos[1].x, pos[2].x, pos[3].x});
        int x1 = std::max({pos[0].x, pos[1].x, pos[2].x, pos[3].x});
        int y0 = std::min({pos[0].y, pos[1].y, pos[2].y, pos[3].y});
        int y1 = std::max({pos[0].y, pos[1].y, pos[2].y, pos[3].y});
        found.append({QString::fromStdString(result.text()),
                      QString::fromStdString(ZXing::ToString(result.format())),
                      QRect(QPoint(x0, y0), QPoint(x1, y1))});
    }
    std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) {
        // Rows first (with some slack for linear symbols read along one line), then columns.
        if (std::abs(a.where.center().y() - b.where.center().y()) > 8)
            return a.where.center().y() < b.where.center().y();
        return a.where.center().x() < b.where.center().x();
    });
    return found;
}

QString zxingOne(const QImage &image, bool code39Extended)
{
    const QList<Found> found = zxingAll(image, code39Extended);
    return found.size() == 1 ? found.first().text : QString();
}

QStringList zbarFile(const QString &path, const QStringList &options)
{
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), QStringList{QStringLiteral("--quiet")} + options + QStringList{path});
    zbar.waitForFinished(30000);
    QStringList texts;
    const QStringList lines = QString::fromUtf8(zbar.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const int colon = line.indexOf(u':');
        texts << (colon >= 0 ? line.mid(colon + 1) : line);
    }
    return texts;
}

QStringList zbarImage(const QImage &image, const QStringList &options)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("symbol.png"));
    image.save(path);
    return zbarFile(path, options);
}

} // namespace Decode
