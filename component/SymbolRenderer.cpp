#include "SymbolRenderer.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
QTransform turned(const QRect &area, int quarterTurns)
{
    const double x = area.x(), y = area.y(), w = area.width(), h = area.height();
    switch (quarterTurns) {
    case 1: return QTransform(0, -1, 1, 0, x, y + h);
    case 2: return QTransform(-1, 0, 0, -1, x + w, y + h);
    case 3: return QTransform(0, 1, -1, 0, x + w, y);
    default: return QTransform(1, 0, 0, 1, x, y);
    }
}
} // namespace

int SymbolRenderer::quarterTurns(double tenthsOfDegree)
{
    if (!std::isfinite(tenthsOfDegree))
        return 0;
    const double turns = std::round(tenthsOfDegree / 900.0);
    return int(std::fmod(std::fmod(turns, 4.0) + 4.0, 4.0));
}

const SymbolRenderer::FontEntry &SymbolRenderer::fontFor(FontEntry &slot, const QString &name, double pixels,
                                                          QPaintDevice *device)
{
    const int deviceDpi = device ? device->logicalDpiY() : 96;
    if (slot.name != name || slot.pixels != pixels || slot.deviceDpi != deviceDpi) {
        slot.name = name;
        slot.pixels = pixels;
        slot.deviceDpi = deviceDpi;
        slot.font = QFont(name);
        // Points on this device, so that the text is `pixels` high whatever the
        // device's resolution (QFont::setPixelSize would round to whole pixels).
        slot.font.setPointSizeF(std::max(0.01, pixels * 72.0 / std::max(1, deviceDpi)));
        slot.metrics.emplace(slot.font, device);
        slot.raw = QRawFont::fromFont(slot.font);
        if (slot.raw.isValid())
            slot.raw.setPixelSize(pixels);
        slot.ascent = slot.metrics->ascent();
        slot.height = slot.metrics->ascent() + slot.metrics->descent();
    }
    return slot;
}

double SymbolRenderer::textWidth(const FontEntry &font, const QString &text)
{
    if (font.raw.isValid()) {
        const QList<quint32> glyphs = font.raw.glyphIndexesForString(text);
        if (!glyphs.contains(0u)) {
            double width = 0;
            for (const QPointF &advance : font.raw.advancesForGlyphIndexes(glyphs))
                width += advance.x();
            return width;
        }
    }
    return font.metrics->horizontalAdvance(text);
}

void SymbolRenderer::draw(QPainter &painter, const QRect &area, const SymbolModel &model, const Style &style)
{
    if (area.width() <= 0 || area.height() <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    if (style.fillBackground)
        painter.fillRect(area, style.backColor);
    if (model.isEmpty()) {
        painter.restore();
        return;
    }

    const bool sideways = style.quarterTurns % 2 != 0;
    const double length = sideways ? area.height() : area.width();
    const double across = sideways ? area.width() : area.height();
    painter.setTransform(turned(area, style.quarterTurns), true);

    const FontEntry *font =
        style.textPixels > 0 ? &fontFor(m_font, style.fontName, style.textPixels, painter.device()) : nullptr;
    const auto heightOf = [&](const FontEntry *f) { return f ? (style.stretch ? f->height : std::ceil(f->height)) : 0.0; };

    const int total = model.totalModules();
    // The human-readable digits must stay under their own bars (EAN and UPC
    // groups sit between the guards): a font too large for the modules the
    // surface gives is made smaller rather than run the groups into each other.
    const FontEntry *textFont = font;
    if (style.showText && font && !model.text.empty()) {
        const double roughModule = style.stretch ? length / total : std::max(1.0, std::floor(length / total));
        double fit = 1.0;
        for (const SymbolModel::TextRun &run : model.text) {
            const double room = (run.to - run.from) * roughModule;
            const double width = textWidth(*font, run.text);
            if (width > room && width > 0)
                fit = std::min(fit, room / width);
        }
        if (fit < 1.0)
            textFont = &fontFor(m_textFont, style.fontName, std::max(1.0, std::floor(style.textPixels * fit)),
                                painter.device());
    }
    const double lineHeight = heightOf(font);
    const double textLineHeight = heightOf(textFont);

    bool textUnder = false, textAbove = false;
    if (style.showText && font)
        for (const SymbolModel::TextRun &run : model.text)
            (run.above ? textAbove : textUnder) = true;
    const double titleHeight = style.title.isEmpty() || !font ? 0 : lineHeight;
    const double textHeight = textUnder ? textLineHeight : 0;
    const double barTop = titleHeight;
    const double barBottom = std::max(barTop + 1, across - textHeight);
    const double barHeight = barBottom - barTop;

    double module = length / total;
    const int rowCount = int(model.rows.size());
    if (model.squareModules)
        module = std::min(module, barHeight / (rowCount + 2.0 * model.quietLeft));
    if (!style.stretch)
        module = std::max(1.0, std::floor(module));
    const double span = total * module;
    double offset = style.alignment == 1 ? (length - span) / 2 : style.alignment == 2 ? length - span : 0;
    offset = std::max(0.0, offset);
    if (!style.stretch)
        offset = std::floor(offset);
    // Nothing may spill into a neighbouring label: a long title, a large font
    // or a symbol wider than its cell is cut at the cell's edge. Clipping only
    // then, because it is costly on printers and PDF.
    const QRectF cell(0, 0, length, across);
    bool clipped = false;
    const auto clipToCell = [&] {
        if (!clipped)
            painter.setClipRect(cell, Qt::IntersectClip);
        clipped = true;
    };
    if (span > length + 0.5 || titleHeight + textHeight + 1 > across + 0.5)
        clipToCell();
    const double symbolLeft = offset + model.quietLeft * module;

    // Guard bars run down to the middle of the text band, add-on bars start
    // below the add-on's digits.
    const double guardExtra = textUnder ? std::floor(textLineHeight / 2) : 0;
    const double addOnTop = textAbove ? textLineHeight : 0;
    const auto snap = [&](double v) { return style.stretch ? v : std::round(v); };

    double weightSum = 0;
    for (const SymbolModel::Row &row : model.rows)
        weightSum += row.weight;
    double rowTop = barTop;
    double used = 0;
    if (model.squareModules)
        rowTop = snap(barTop + (barHeight - rowCount * module) / 2);
    m_bars.clear();
    for (const SymbolModel::Row &row : model.rows) {
        double top, bottom;
        if (model.squareModules) {
            top = rowTop;
            bottom = rowTop + module;
            rowTop = bottom;
        } else {
            top = snap(barTop + barHeight * used / weightSum);
            used += row.weight;
            bottom = snap(barTop + barHeight * used / weightSum);
        }
        for (const SymbolModel::Bar &bar : row.bars) {
            double barWidth = bar.width * module;
            if (style.barReduction > 0)
                barWidth = std::max(std::min(barWidth, 1.0), barWidth - style.barReduction);
            double y0 = top, y1 = bottom;
            if (bar.kind != SymbolModel::BarKind::Normal)
                y1 += guardExtra;
            if (bar.kind == SymbolModel::BarKind::AddOn)
                y0 = std::min(y1 - 1, top + addOnTop);
            m_bars.append(QRectF(symbolLeft + bar.start * module, y0, barWidth, y1 - y0));
        }
    }
    // One call for all bars lets a printer or PDF engine set its brush once;
    // the raster engine, though, fills single rectangles much faster than it
    // rasterises a batch (which it hands to worker threads).
    if (painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster) {
        for (const QRectF &bar : std::as_const(m_bars))
            painter.fillRect(bar, style.barColor);
    } else {
        painter.setBrush(style.barColor);
        painter.drawRects(m_bars.constData(), int(m_bars.size()));
    }
    m_bars.clear();

    if (font && (titleHeight > 0 || textUnder || textAbove)) {
        painter.setPen(style.barColor);
        if (titleHeight > 0) {
            painter.setFont(font->font);
            drawCentred(painter, *font, style.title, offset + span / 2, 0, length, clipToCell);
        }
        if (style.showText) {
            painter.setFont(textFont->font);
            for (const SymbolModel::TextRun &run : model.text)
                drawCentred(painter, *textFont, run.text, symbolLeft + (run.from + run.to) / 2 * module,
                            run.above ? barTop : barBottom, length, clipToCell);
        }
    }
    painter.restore();
}

void SymbolRenderer::drawCentred(QPainter &painter, const FontEntry &font, const QString &text, double centre,
                                 double top, double length, const std::function<void()> &clipToCell)
{
    const double baseline = top + font.ascent;
    if (font.raw.isValid()) {
        const QList<quint32> glyphs = font.raw.glyphIndexesForString(text);
        if (!glyphs.contains(0u)) {
            const QList<QPointF> advances = font.raw.advancesForGlyphIndexes(glyphs);
            QList<QPointF> positions;
            positions.reserve(glyphs.size());
            double x = 0;
            for (const QPointF &advance : advances) {
                positions.append(QPointF(x, 0));
                x += advance.x();
            }
            if (centre - x / 2 < 0 || centre + x / 2 > length)
                clipToCell();
            QGlyphRun run;
            run.setRawFont(font.raw);
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
            painter.drawGlyphRun(QPointF(centre - x / 2, baseline), run);
            return;
        }
    }
    // Characters the font lacks: let Qt's text layout find another font.
    const double width = font.metrics->horizontalAdvance(text);
    if (centre - width / 2 < 0 || centre + width / 2 > length)
        clipToCell();
    painter.drawText(QPointF(centre - width / 2, baseline), text);
}

void SymbolRenderer::drawMessage(QPainter &painter, const QRect &area, const QString &message, const Style &style)
{
    painter.save();
    if (style.fillBackground)
        painter.fillRect(area, style.backColor);
    painter.setPen(style.barColor);
    painter.drawText(area.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, message);
    painter.restore();
}
