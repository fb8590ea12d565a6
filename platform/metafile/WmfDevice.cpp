#include "WmfDevice.h"
#include "DrawingMetrics.h"
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
    return drawingMetric(metric, QSize(m_width, m_height), m_dpi);
}
