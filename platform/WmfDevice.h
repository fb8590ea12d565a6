#pragma once
#include <QByteArray>
#include <QPaintDevice>
#include <memory>

class WmfPaintEngine;

// A paint device that records what a QPainter draws as a placeable Windows
// metafile (Aldus header, META_HEADER, GDI records). Draw, end the painter,
// then take bytes(). Coordinates are logical pixels at the given resolution.
class WmfDevice : public QPaintDevice {
public:
    WmfDevice(int widthPixels, int heightPixels, int dpi = 96);
    ~WmfDevice() override;

    QPaintEngine *paintEngine() const override;
    QByteArray bytes() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int m_width;
    int m_height;
    int m_dpi;
    std::unique_ptr<WmfPaintEngine> m_engine;
};
