#include "WmfDevice.h"
#include "WmfPaintEngine.h"

WmfDevice::WmfDevice(int widthPixels, int heightPixels, int dpi)
    : m_width(widthPixels)
    , m_height(heightPixels)
    , m_dpi(dpi > 0 ? dpi : 96)
    , m_engine(std::make_unique<WmfPaintEngine>())
{
}

WmfDevice::~WmfDevice() = default;

QPaintEngine *WmfDevice::paintEngine() const { return m_engine.get(); }

QByteArray WmfDevice::bytes() const { return m_engine->bytes(); }

int WmfDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_width;
    case PdmHeight:
        return m_height;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return m_dpi;
    case PdmWidthMM:
        return m_width * 254 / (m_dpi * 10);
    case PdmHeightMM:
        return m_height * 254 / (m_dpi * 10);
    case PdmDepth:
        return 24;
    case PdmNumColors:
        return 1 << 24;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    default:
        return 0;
    }
}
