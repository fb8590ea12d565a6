#pragma once
#include <QPaintDevice>
#include <QSize>
#include <cmath>

// The metrics of a paint device that records a drawing (a metafile, an EPS
// drawing) of `pixels` at `dpi`: 24-bit colour, one device pixel a pixel.
inline int drawingMetric(QPaintDevice::PaintDeviceMetric metric, QSize pixels, double dpi)
{
    switch (metric) {
    case QPaintDevice::PdmWidth:
        return pixels.width();
    case QPaintDevice::PdmHeight:
        return pixels.height();
    case QPaintDevice::PdmDpiX:
    case QPaintDevice::PdmDpiY:
    case QPaintDevice::PdmPhysicalDpiX:
    case QPaintDevice::PdmPhysicalDpiY:
        return int(std::lround(dpi));
    case QPaintDevice::PdmWidthMM:
        return int(std::floor(pixels.width() * 25.4 / dpi + 1e-9));
    case QPaintDevice::PdmHeightMM:
        return int(std::floor(pixels.height() * 25.4 / dpi + 1e-9));
    case QPaintDevice::PdmDepth:
        return 24;
    case QPaintDevice::PdmNumColors:
        return 1 << 24;
    case QPaintDevice::PdmDevicePixelRatio:
        return 1;
    case QPaintDevice::PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    default:
        return 0;
    }
}
