#include "Drawings.h"

#include "Decode.h"

#include <QFile>
#include <QProcess>
#include <QXmlStreamReader>
#include <QtEndian>

namespace Drawings {

namespace {

// A placeable metafile drawn by libwmf's wmf2gd at dpi, its size from its header's box and units an inch.
QImage metafile(const QString &path, int dpi)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray wmf = file.readAll();
    if (wmf.size() < 16)
        return {};
    const auto word = [&](int at) { return qFromLittleEndian<qint16>(wmf.constData() + at); };
    const double scale = double(dpi) / word(14);
    const QStringList size = {QStringLiteral("--maxwidth=%1").arg(qRound((word(10) - word(6)) * scale)),
                              QStringLiteral("--maxheight=%1").arg(qRound((word(12) - word(8)) * scale)),
                              QStringLiteral("--maxpect")};
    return QImage::fromData(Decode::wmfTool(QStringLiteral("wmf2gd"), wmf, size))
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage rasterised(const QString &path, int dpi)
{
    const QString png = path + QStringLiteral(".raster");
    const QString r = QString::number(dpi);
    QProcess tool;
    if (path.endsWith(QLatin1String(".svg")))
        tool.start(QStringLiteral("rsvg-convert"), {"-d", r, "-p", r, "-o", png + ".png", path});
    else if (path.endsWith(QLatin1String(".eps")))
        tool.start(QStringLiteral("gs"),
                   {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-r" + r, "-sDEVICE=png16m", "-o",
                    png + ".png", path});
    else if (path.endsWith(QLatin1String(".pdf")))
        tool.start(QStringLiteral("pdftoppm"), {"-r", r, "-singlefile", "-png", path, png});
    else if (path.endsWith(QLatin1String(".wmf")))
        return metafile(path, dpi);
    else
        return QImage(path).convertToFormat(QImage::Format_RGB32);
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return {};
    return QImage(png + ".png").convertToFormat(QImage::Format_RGB32);
}

QString tool(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QStringList svgTexts(const QByteArray &svg)
{
    QStringList texts;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text")
            texts << xml.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    if (xml.hasError())
        texts << QStringLiteral("XML error: ") + xml.errorString();
    return texts;
}

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) < 8 && std::abs(qGreen(a) - qGreen(b)) < 8
        && std::abs(qBlue(a) - qBlue(b)) < 8;
}

} // namespace Drawings
