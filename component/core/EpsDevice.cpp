#include "EpsDevice.h"
#include "DrawingMetrics.h"
#include "EpsPaintEngine.h"

EpsDevice::EpsDevice(int widthPixels, int heightPixels, double dpi)
    : m_width(widthPixels)
    , m_height(heightPixels)
    , m_dpi(dpi > 0 ? dpi : 96)
    , m_engine(std::make_unique<EpsPaintEngine>(m_dpi))
{
}

EpsDevice::~EpsDevice() = default;

QPaintEngine *EpsDevice::paintEngine() const { return m_engine.get(); }

QByteArray EpsDevice::bytes() const { return m_engine->bytes(); }

int EpsDevice::metric(PaintDeviceMetric metric) const
{
    return drawingMetric(metric, QSize(m_width, m_height), m_dpi);
}
