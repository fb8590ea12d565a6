#pragma once
#include "LabelPrinter.h"

#include <QImage>
#include <QPainter>
#include <memory>

// A printer a run is checked on before its pages are shown: the page and the
// dots are the real printer's, so the run meets every fault it would meet
// there, but what is drawn goes nowhere and no job is opened.
class DryRunPrinter : public LabelPrinter {
public:
    explicit DryRunPrinter(const LabelPrinter &printer)
        : m_printer(printer)
    {
    }

    QString deviceName() const override { return m_printer.deviceName(); }
    void beginJob() override;
    QPainter &painter() override;
    std::int32_t pageWidthTwips() const override { return m_printer.pageWidthTwips(); }
    std::int32_t pageHeightTwips() const override { return m_printer.pageHeightTwips(); }
    float twipsPerPixelX() const override { return m_printer.twipsPerPixelX(); }
    float twipsPerPixelY() const override { return m_printer.twipsPerPixelY(); }
    void newPage() override;
    void endJob() override { m_painter.reset(); }
    void abortJob() override { m_painter.reset(); }

private:
    const LabelPrinter &m_printer;
    QImage m_dot; // one pixel at the printer's resolution: fonts are measured as on its dots
    std::unique_ptr<QPainter> m_painter;
};
