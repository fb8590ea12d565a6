#include "Decode.h"

#include <QProcess>
#include <QTemporaryDir>
#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>
#include <algorithm>

namespace Decode {

Found zxingRead(const QImage &image, bool code39Extended)
{
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum,
                          int(gray.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setTryHarder(true);
    hints.setTryRotate(true);
    hints.setTryCode39ExtendedMode(code39Extended);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid())
        return {};
    const auto &pos = result.position();
    const int x0 = std::min({pos[0].x, pos[1].x, pos[2].x, pos[3].x});
    const int x1 = std::max({pos[0].x, pos[1].x, pos[2].x, pos[3].x});
    const int y0 = std::min({pos[0].y, pos[1].y, pos[2].y, pos[3].y});
    const int y1 = std::max({pos[0].y, pos[1].y, pos[2].y, pos[3].y});
    return {QString::fromStdString(result.text()), QString::fromStdString(ZXing::ToString(result.format())),
            QRect(QPoint(x0, y0), QPoint(x1, y1))};
}

QString zxingOne(const QImage &image, bool code39Extended)
{
    return zxingRead(image, code39Extended).text;
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
