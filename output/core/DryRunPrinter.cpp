#include "DryRunPrinter.h"
#include "Numbers.h"
#include "QuillError.h"

#include <cmath>

void DryRunPrinter::beginJob()
{
    if (m_painter)
        return; // the job goes on
    const auto perMetre = [](float twipsPerPixel) {
        const double dpi = twipsPerPixel > 0 ? Numbers::kTwipsPerInch / twipsPerPixel : 96.0;
        return int(std::lround(dpi / 0.0254));
    };
    m_dot = QImage(1, 1, QImage::Format_RGB32);
    m_dot.setDotsPerMeterX(perMetre(twipsPerPixelX()));
    m_dot.setDotsPerMeterY(perMetre(twipsPerPixelY()));
    m_painter = std::make_unique<QPainter>(&m_dot);
}

QPainter &DryRunPrinter::painter()
{
    if (!m_painter)
        throw QuillError(QStringLiteral("The printer has no open print job to draw on."));
    return *m_painter;
}

void DryRunPrinter::newPage()
{
    if (!m_painter)
        throw QuillError(QStringLiteral("The printer has no open print job."));
    m_painter->resetTransform();
}
