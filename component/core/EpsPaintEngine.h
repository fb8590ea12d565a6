#pragma once
#include "PsOutlineFonts.h"
#include "SymbolRenderer.h"
#include "VectorPaintEngine.h"

#include <QHash>
#include <QSet>
#include <deque>
#include <optional>

// Turns QPainter calls into PostScript. The transform is applied with concat:
// text and images turn with the shapes. Shapes are filled with the brush's
// colour and then outlined with the pen, solid; alpha is not kept. Text is
// text: Latin-1 in the standard font that stands for its family, the rest in
// outline fonts of its glyphs, placed glyph by glyph where Qt lays them out.
// Clipping is ignored.
class EpsPaintEngine : public VectorPaintEngine {
public:
    explicit EpsPaintEngine(double dpi);

    bool begin(QPaintDevice *device) override;
    bool end() override;

    void drawRects(const QRectF *rects, int count) override;
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override;
    void drawPath(const QPainterPath &path) override;
    void drawTextItem(const QPointF &p, const QTextItem &textItem) override;
    void drawImage(const QRectF &r, const QImage &image, const QRectF &sr,
                   Qt::ImageConversionFlags flags = Qt::AutoColor) override;

    // The drawing of the last finished painting.
    QByteArray bytes() const { return m_bytes; }

private:
    bool filling() const;
    bool stroking() const;
    void useTransform();
    void useColour(const QColor &colour);
    void usePen();
    void usePoint(const QPointF &p);
    void usePath(const QPainterPath &path);
    void paint(const QPainterPath &path, bool fill, bool stroke);
    const SymbolRenderer::FontEntry &fontEntry(const QFont &font);

    double m_dpi;
    int m_fontDpi = 96;
    QSize m_size;
    QByteArray m_body;
    QByteArray m_bytes;

    // What the drawing has set, so that it is written only on change. Each
    // transform starts from the frame's graphics state (grestore gsave), which
    // sets the rest back to PostScript's defaults.
    QTransform m_drawnTransform;
    std::optional<QRgb> m_colour;
    QByteArray m_line;
    QByteArray m_font;

    QSet<QByteArray> m_latin1Fonts; // defined in the drawing
    PsOutlineFonts m_outlines;
    std::deque<SymbolRenderer::FontEntry> m_fonts; // stay in place: m_outlines knows them by address
    QHash<QString, const SymbolRenderer::FontEntry *> m_fontsByKey;
};
