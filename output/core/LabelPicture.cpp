#include "LabelPicture.h"
#include "AtomicFile.h"
#include "EpsDevice.h"
#include "LabelRenderer.h"
#include "PictureWriters.h"
#include "SteadyPdf.h"
#include "WmfDevice.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

using PictureNames::Format;

namespace LabelPicture {

namespace {

// Draws the label on a device whose whole surface it is, its background first.
void paint(LabelRenderer &renderer, const LabelRecord &record, QPaintDevice &device, QSize pixels)
{
    QPainter painter(&device);
    painter.fillRect(QRect(QPoint(), pixels), renderer.background());
    renderer.draw(painter, QRect(QPoint(), pixels), record);
}

QByteArray raster(LabelRenderer &renderer, const LabelRecord &record, Format format, QSize pixels, double dpi)
{
    QImage image(pixels, QImage::Format_RGB32);
    const int metre = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(metre);
    image.setDotsPerMeterY(metre);
    paint(renderer, record, image, pixels);
    if (format == Format::Bitmap) {
        QByteArray bytes = PictureWriters::bmpHeader(pixels.width(), pixels.height(), metre, metre);
        for (int y = pixels.height() - 1; y >= 0; --y)
            PictureWriters::appendBmpRow(bytes, image.constScanLine(y), pixels.width());
        return bytes;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(image);
    return bytes;
}

QByteArray pdf(LabelRenderer &renderer, const LabelRecord &record, QSize pixels, double dpi)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Quillmark"));
        writer.setResolution(int(std::lround(dpi)));
        writer.setPageMargins(QMarginsF());
        writer.setPageSize(QPageSize(QSizeF(pixels.width() / dpi, pixels.height() / dpi), QPageSize::Inch,
                                     QString(), QPageSize::ExactMatch));
        paint(renderer, record, writer, pixels);
    }
    SteadyPdf::dropDate(bytes);
    SteadyPdf::setPageSize(bytes, QSizeF(pixels.width() / dpi * 72, pixels.height() / dpi * 72));
    return bytes;
}

QByteArray svg(LabelRenderer &renderer, const LabelRecord &record, QSize pixels, double dpi)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(int(std::lround(dpi)));
    generator.setSize(pixels);
    generator.setViewBox(QRect(QPoint(), pixels));
    generator.setTitle(record.value);
    paint(renderer, record, generator, pixels);
    return bytes;
}

} // namespace

void write(LabelRenderer &renderer, const LabelRecord &record, Format format, const QString &path,
           QSize pixels, double dpi)
{
    PictureWriters::checkSize(pixels.width(), pixels.height(),
                              format == Format::Png || format == Format::Bitmap
                                  ? PictureWriters::Kind::Bitmap
                                  : PictureWriters::Kind::Vector);
    QByteArray bytes;
    switch (format) {
    case Format::Png:
    case Format::Bitmap:
        bytes = raster(renderer, record, format, pixels, dpi);
        break;
    case Format::Metafile: {
        WmfDevice device(pixels.width(), pixels.height(), int(std::lround(dpi)));
        paint(renderer, record, device, pixels);
        bytes = device.bytes();
        break;
    }
    case Format::Svg:
        bytes = svg(renderer, record, pixels, dpi);
        break;
    case Format::Eps: {
        EpsDevice device(pixels.width(), pixels.height(), dpi);
        paint(renderer, record, device, pixels);
        bytes = device.bytes();
        break;
    }
    case Format::Pdf:
        bytes = pdf(renderer, record, pixels, dpi);
        break;
    }
    AtomicFile::write(path, bytes);
}

} // namespace LabelPicture
