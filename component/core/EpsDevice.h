#pragma once
#include <QByteArray>
#include <QPaintDevice>
#include <memory>

class EpsPaintEngine;

// A paint device that records what a QPainter draws as an Encapsulated
// PostScript drawing, so that the one drawing routine that serves the screen,
// the printer and metafiles also makes EPS. Draw, end the painter, then take
// bytes(). Coordinates are pixels at the given resolution from the top-left
// corner; the drawing's bounding box is the whole device, in points.
class EpsDevice : public QPaintDevice {
public:
    EpsDevice(int widthPixels, int heightPixels, double dpi);
    ~EpsDevice() override;

    QPaintEngine *paintEngine() const override;
    QByteArray bytes() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int m_width;
    int m_height;
    double m_dpi;
    std::unique_ptr<EpsPaintEngine> m_engine;
};
