#pragma once
#include <QByteArray>
#include <QPaintDevice>
#include <memory>

class WmfPaintEngine;

// A paint device that records what a QPainter draws as a placeable Windows
// metafile (Aldus header, META_HEADER, GDI records), so that the one drawing
// routine that serves the screen and the printer also makes metafiles.
// Draw, end the painter, then take bytes(). Coordinates are logical pixels at
// the given resolution; the file's bounding box is the whole device.
//
// Nothing is drawn for the caller: whoever draws must fill the whole device
// with the background first, because readers fit the picture to the bounding
// box of its content, and a symbol without its background would be cropped
// to its bars.
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
