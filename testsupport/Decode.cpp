#include "Decode.h"
#include "Files.h"

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>
#include <cmath>

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
    return {QString::fromStdString(result.text()), QString::fromStdString(ZXing::ToString(result.format()))};
}

QStringList zbarImage(const QImage &image, const QStringList &options)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("symbol.png"));
    image.save(path);
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"),
               QStringList{QStringLiteral("--quiet")} + options + QStringList{path});
    zbar.waitForFinished(30000);
    QStringList texts = QString::fromUtf8(zbar.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (QString &text : texts) // without the symbology's name
        text = text.mid(text.indexOf(u':') + 1);
    return texts;
}

QByteArray wmfTool(const QString &tool, const QByteArray &wmf, const QStringList &options)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("picture.wmf")), out = dir.filePath(QStringLiteral("out"));
    if (!plant(in, wmf))
        return {};
    QProcess process; // quiet: wmf2gd writes its progress to the terminal
    process.start(tool, options + QStringList{QStringLiteral("-o"), out, in});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    QFile result(out);
    return result.open(QIODevice::ReadOnly) ? result.readAll() : QByteArray();
}

// wmf2svg copies the text's 8-bit bytes as they are, unescaped: decode them as
// that code page (Windows-1252) and take the elements as text.
QList<SvgShape> wmfShapes(const QByteArray &wmf)
{
    static const QRegularExpression element(
        QStringLiteral("<(rect|polygon|text)\\s([^>]*)>(?:([^<]*)</text>)?"));
    static const QRegularExpression number(QStringLiteral("-?[0-9.]+"));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QList<SvgShape> shapes;
    QProcess iconv; // from the code page of the text we write
    iconv.start(QStringLiteral("iconv"), {QStringLiteral("-f"), QStringLiteral("WINDOWS-1252")});
    iconv.write(wmfTool(QStringLiteral("wmf2svg"), wmf));
    iconv.closeWriteChannel();
    iconv.waitForFinished(30000);
    for (const auto &e : element.globalMatch(QString::fromUtf8(iconv.readAllStandardOutput()))) {
        const QString attributes = e.captured(2);
        const auto value = [&](const char *name) { // an attribute (name="v") or a style property (name:v)
            const QRegularExpression re(
                QStringLiteral("(?:^|[\\s;])%1[=:]\\s*\"?([^\";]*)").arg(QLatin1String(name)));
            return re.match(attributes).captured(1).trimmed();
        };
        SvgShape shape{e.captured(1), e.captured(3).trimmed()};
        if (shape.kind == u"rect") {
            shape.box = QRectF(value("x").toDouble(), value("y").toDouble(), value("width").toDouble(),
                               value("height").toDouble());
        } else if (shape.kind == u"polygon") { // "x,y x,y ...": its bounding box
            QPolygonF polygon;
            for (const QString &point : value("points").split(blanks, Qt::SkipEmptyParts)) {
                const double x = point.section(u',', 0, 0).toDouble();
                const double y = point.section(u',', 1, 1).toDouble();
                polygon << QPointF(x, y);
            }
            shape.box = polygon.boundingRect();
        } else { // the text's "matrix(a b c d e f)": the origin is (e, f), the angle atan2(b, a)
            QList<double> n;
            for (const auto &m : number.globalMatch(value("transform")))
                n << m.captured().toDouble();
            if (n.size() == 6)
                shape.box = QRectF(n[4], n[5], 0, 0), shape.angle = std::atan2(n[1], n[0]) * 180 / M_PI;
            shape.fontSize = value("font-size").toDouble();
        }
        shapes << shape;
    }
    return shapes;
}

QRect inkBox(const QImage &image, const QRect &area, int below)
{
    const QRect r = area.intersected(image.rect());
    const QImage gray = image.copy(r).convertToFormat(QImage::Format_Grayscale8);
    QRect box;
    for (int y = 0; y < gray.height(); ++y)
        for (int x = 0; x < gray.width(); ++x)
            if (gray.constScanLine(y)[x] < below)
                box |= QRect(x, y, 1, 1);
    return box.isNull() ? box : box.translated(r.topLeft());
}

QImage label(const QImage &page, const QRect &symbol)
{
    QImage out(symbol.size() + QSize(60, 60), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter(&out).drawImage(QPoint(30, 30), page.copy(symbol));
    return out;
}

} // namespace Decode
