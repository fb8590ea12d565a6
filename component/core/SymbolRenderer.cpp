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
    case 1:
        return QTransform(0, -1, 1, 0, x, y + h);
    case 2:
        return QTransform(-1, 0, 0, -1, x + w, y + h);
    case 3:
        return QTransform(0, 1, -1, 0, x + w, y);
    default:
        return QTransform(1, 0, 0, 1, x, y);
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

QString SymbolRenderer::oneLine(const QString &text)
{
    const auto isBreak = [](QChar c) {
        return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    };
    if (std::none_of(text.begin(), text.end(), isBreak))
        return text;
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isBreak(text[i]))
            line.append(text[i]);
        else if (!(text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n'))
            line.append(u' ');
    }
    return line;
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

const SymbolRenderer::Layout &SymbolRenderer::layout(const QRect &area, const SymbolModel &model,
                                                     const Style &style, QPaintDevice *device)
{
    Layout &layout = m_layout;
    layout.bars.clear();
    layout.texts.clear();
    layout.painted = true;
    layout.module = 0;
    layout.barHeight = 0;
    layout.textPixels = 0;
    layout.toArea = turned(area, style.quarterTurns);
    const bool sideways = style.quarterTurns % 2 != 0;
    const double length = std::max(0, sideways ? area.height() : area.width());
    const double across = std::max(0, sideways ? area.width() : area.height());
    layout.fit = {true, model.totalModules(), int(length), sideways};
    if (model.isEmpty())
        return layout;
    m_title = oneLine(style.title);
    m_runTexts.clear();
    for (const SymbolModel::TextRun &run : model.text)
        m_runTexts.append(oneLine(run.text));

    const TextFonts fonts = textFonts(model, style, length, across, device);
    Placement at;
    at.textLineHeight = lineHeight(fonts.text, style.stretch);
    at.barTop = lineHeight(fonts.title, style.stretch);
    at.barBottom = std::max(at.barTop + 1, across - (fonts.textUnder ? at.textLineHeight : 0));
    checkFit(layout.fit, model, length, across, at.barBottom - at.barTop);
    layout.painted = layout.fit.fits || style.shrinkToFit;
    if (!layout.painted)
        return layout;

    placeModules(at, model, style, length, layout.fit.fits);
    layout.module = at.module;
    if (style.barReduction > 0) {
        const int dpi = !device ? 96 : sideways ? device->logicalDpiY() : device->logicalDpiX();
        at.reduction = style.barReduction / 25.4 * dpi;
        if (at.wholePixels)
            at.reduction = std::round(at.reduction);
    }
    layout.reduction = at.reduction;
    layout.narrowestBar = 0;
    for (const SymbolModel::Row &row : model.rows)
        for (const SymbolModel::Bar &bar : row.bars)
            if (layout.narrowestBar == 0 || bar.width * at.module < layout.narrowestBar)
                layout.narrowestBar = bar.width * at.module;
    const int rowCount = int(model.rows.size());
    layout.barHeight = model.squareModules ? rowCount * at.module : at.barBottom - at.barTop;
    for (const FontEntry *f : {fonts.title, fonts.text})
        if (f && (layout.textPixels == 0 || f->pixels < layout.textPixels))
            layout.textPixels = f->pixels;
    placeBars(layout.bars, model, at, fonts);
    const double span = model.totalModules() * at.module;
    if (fonts.title)
        layout.texts.append(centred(*fonts.title, m_title, at.offset + span / 2, 0, length));
    if (fonts.text)
        for (std::size_t i = 0; i < model.text.size(); ++i) {
            const SymbolModel::TextRun &run = model.text[i];
            const double centre = at.symbolLeft + (run.from + run.to) / 2 * at.module;
            const double top = run.above ? at.barTop : at.barBottom;
            layout.texts.append(centred(*fonts.text, m_runTexts[qsizetype(i)], centre, top, length));
        }
    return layout;
}

// Text and title are never cut at the label's edge: a font too large is made
// smaller, and the lines of text together keep to half the height. EAN and UPC
// digit groups must also stay between their guards.
SymbolRenderer::TextFonts SymbolRenderer::textFonts(const SymbolModel &model, const Style &style,
                                                    double length, double across, QPaintDevice *device)
{
    TextFonts fonts;
    if (style.showText)
        for (const SymbolModel::TextRun &run : model.text)
            (run.above ? fonts.textAbove : fonts.textUnder) = true;
    const bool titled = !style.title.isEmpty();
    if (style.textPixels <= 0 || !(titled || fonts.textUnder || fonts.textAbove))
        return fonts;
    const FontEntry *font = &fontFor(m_font, style.fontName, style.textPixels, device);
    const int total = model.totalModules();
    const int lines = int(titled) + int(fonts.textUnder) + int(fonts.textAbove);
    const double tall = std::min(1.0, across / 2 / (lines * std::max(1.0, font->height)));
    const double wholeModule = std::max(1.0, std::floor(length / total));
    const double roughModule = style.stretch ? length / total : wholeModule;
    double titleScale = tall;
    double textScale = tall;
    if (titled && textWidth(*font, m_title) > length - 2)
        titleScale = std::min(tall, (length - 2) / textWidth(*font, m_title));
    for (std::size_t i = 0; i < model.text.size(); ++i) {
        const SymbolModel::TextRun &run = model.text[i];
        const bool wholeSymbol = !run.above && run.from <= 0 && run.to >= model.width;
        const double room = wholeSymbol ? length - 2 : (run.to - run.from) * roughModule - 2;
        const double width = textWidth(*font, m_runTexts[qsizetype(i)]);
        if (width > room && width > 0)
            textScale = std::min(textScale, std::max(0.0, room) / width);
    }
    const auto scaled = [&](FontEntry &slot, double scale) {
        if (scale >= 1.0)
            return font;
        return &fontFor(slot, style.fontName, std::max(1.0, std::floor(style.textPixels * scale)), device);
    };
    if (titled)
        fonts.title = scaled(m_titleFont, titleScale);
    if (fonts.textUnder || fonts.textAbove)
        fonts.text = scaled(m_textFont, textScale);
    return fonts;
}

double SymbolRenderer::lineHeight(const FontEntry *font, bool stretch)
{
    if (!font)
        return 0;
    return stretch ? font->height : std::ceil(font->height);
}

// One whole device pixel a module at the least, quiet zones included; matrix
// codes need as much across, with their quiet zones above and below.
void SymbolRenderer::checkFit(Fit &fit, const SymbolModel &model, double length, double across,
                              double barHeight)
{
    const int acrossModules = model.squareModules ? int(model.rows.size()) + 2 * model.quietLeft : 0;
    if (length < model.totalModules())
        fit.fits = false;
    else if (barHeight < acrossModules)
        fit = {false, int(std::ceil(acrossModules + across - barHeight)), int(across), !fit.alongHeight};
}

void SymbolRenderer::placeModules(Placement &at, const SymbolModel &model, const Style &style, double length,
                                  bool fits)
{
    const int total = model.totalModules();
    const double barHeight = at.barBottom - at.barTop;
    at.wholePixels = !style.stretch && fits;
    at.module = length / total;
    if (model.squareModules)
        at.module = std::min(at.module, barHeight / (int(model.rows.size()) + 2 * model.quietLeft));
    if (at.wholePixels)
        at.module = std::max(1.0, std::floor(at.module));
    const double span = total * at.module;
    double offset = style.alignment == 1 ? (length - span) / 2 : style.alignment == 2 ? length - span : 0;
    offset = std::max(0.0, offset);
    if (at.wholePixels)
        offset = std::floor(offset);
    at.offset = offset;
    at.symbolLeft = offset + model.quietLeft * at.module;
}

// Guard bars run down to the middle of the text band, add-on bars start below
// the add-on's digits.
void SymbolRenderer::placeBars(QList<QRectF> &bars, const SymbolModel &model, const Placement &at,
                               const TextFonts &fonts)
{
    const double guardExtra = fonts.textUnder ? std::floor(at.textLineHeight / 2) : 0;
    const double addOnTop = fonts.textAbove ? at.textLineHeight : 0;
    const double barHeight = at.barBottom - at.barTop;
    const auto snap = [&](double v) { return at.wholePixels ? std::round(v) : v; };

    double weightSum = 0;
    for (const SymbolModel::Row &row : model.rows)
        weightSum += row.weight;
    double rowTop = at.barTop;
    double used = 0;
    if (model.squareModules)
        rowTop = snap(at.barTop + (barHeight - int(model.rows.size()) * at.module) / 2);
    for (const SymbolModel::Row &row : model.rows) {
        double top = rowTop;
        double bottom = rowTop + at.module;
        if (model.squareModules) {
            rowTop = bottom;
        } else {
            top = snap(at.barTop + barHeight * used / weightSum);
            used += row.weight;
            bottom = snap(at.barTop + barHeight * used / weightSum);
        }
        for (const SymbolModel::Bar &bar : row.bars) {
            double barWidth = bar.width * at.module;
            if (at.reduction > 0)
                barWidth = std::max(std::min(barWidth, 1.0), barWidth - at.reduction);
            double y0 = top;
            double y1 = bottom;
            if (bar.kind != SymbolModel::BarKind::Normal)
                y1 += guardExtra;
            if (bar.kind == SymbolModel::BarKind::AddOn)
                y0 = std::min(y1 - 1, top + addOnTop);
            bars.append(QRectF(at.symbolLeft + bar.start * at.module, y0, barWidth, y1 - y0));
        }
    }
}

void SymbolRenderer::paint(QPainter &painter, const QRect &area, const Layout &layout,
                           const Style &style) const
{
    if (!layout.painted)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, !layout.fit.fits);
    painter.setPen(Qt::NoPen);
    if (style.fillBackground && !area.isEmpty())
        painter.fillRect(area, style.backColor);
    painter.setTransform(layout.toArea, true);
    // One call for all bars lets a printer or PDF engine set its brush once;
    // the raster engine, though, fills single rectangles much faster than it
    // rasterises a batch (which it hands to worker threads).
    if (painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster) {
        for (const QRectF &bar : layout.bars)
            painter.fillRect(bar, style.barColor);
    } else if (!layout.bars.isEmpty()) {
        painter.setBrush(style.barColor);
        painter.drawRects(layout.bars.constData(), int(layout.bars.size()));
    }
    painter.setPen(style.barColor);
    for (const Layout::Text &text : layout.texts)
        paintText(painter, text);
    painter.restore();
}

namespace {
// A bar Qt fills through its line rasteriser, whose rounding depends on the clip.
bool paintedWhole(const QTransform &toArea, const QRectF &onDevice)
{
    return toArea.type() >= QTransform::TxRotate && onDevice != QRectF(onDevice.toRect());
}
} // namespace

int SymbolRenderer::bandRows(const Layout &layout)
{
    int rows = 1;
    for (const QRectF &bar : layout.bars) {
        const QRectF onDevice = layout.toArea.mapRect(bar);
        if (paintedWhole(layout.toArea, onDevice))
            rows = std::max(rows, int(std::ceil(onDevice.height())) + 2);
    }
    return rows;
}

void SymbolRenderer::paintRows(QPainter &painter, const QRect &area, const Layout &layout, const Style &style,
                               int top, int count, int reach) const
{
    if (!layout.painted)
        return;
    painter.save();
    painter.setClipRect(QRect(area.left(), top, area.width(), count));
    painter.setRenderHint(QPainter::Antialiasing, !layout.fit.fits);
    painter.setPen(Qt::NoPen);
    if (style.fillBackground && !area.isEmpty())
        painter.fillRect(area, style.backColor);
    painter.setTransform(layout.toArea, true);
    for (const QRectF &bar : layout.bars) {
        const QRectF onDevice = layout.toArea.mapRect(bar);
        if (onDevice.bottom() < top - 1 || onDevice.top() > top + count + 1)
            continue;
        const bool whole = paintedWhole(layout.toArea, onDevice) && std::ceil(onDevice.height()) + 2 <= reach
            && (onDevice.top() < top + 1 || onDevice.bottom() > top + count - 1);
        if (whole)
            painter.setClipping(false);
        painter.fillRect(bar, style.barColor);
        if (whole)
            painter.setClipping(true);
    }
    painter.setPen(style.barColor);
    for (const Layout::Text &text : layout.texts)
        paintText(painter, text);
    painter.restore();
}

SymbolRenderer::Fit SymbolRenderer::draw(QPainter &painter, const QRect &area, const SymbolModel &model,
                                         const Style &style)
{
    const Layout &made = layout(area, model, style, painter.device());
    paint(painter, area, made, style);
    return made.fit;
}

SymbolRenderer::Layout::Text SymbolRenderer::centred(const FontEntry &font, const QString &text,
                                                     double centre, double top, double length)
{
    const double width = textWidth(font, text);
    return {
        text,
        QPointF(std::clamp(centre - width / 2, 1.0, std::max(1.0, length - 1 - width)), top + font.ascent),
        &font};
}

void SymbolRenderer::paintText(QPainter &painter, const Layout::Text &text)
{
    const FontEntry &font = *text.font;
    painter.setFont(font.font);
    const QList<quint32> glyphs
        = font.raw.isValid() ? font.raw.glyphIndexesForString(text.text) : QList<quint32>();
    // Characters the font lacks go through Qt's text layout, which finds
    // another font; so does text for metafiles, which keep characters, not glyphs.
    if (glyphs.isEmpty() || glyphs.contains(0u) || painter.paintEngine()->type() == QPaintEngine::User) {
        painter.drawText(text.origin, text.text);
        return;
    }
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    double x = 0;
    for (const QPointF &advance : font.raw.advancesForGlyphIndexes(glyphs)) {
        positions.append(QPointF(x, 0));
        x += advance.x();
    }
    QGlyphRun run;
    run.setRawFont(font.raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(text.origin, run);
}

void SymbolRenderer::drawMessage(QPainter &painter, const QRect &area, const QString &message,
                                 const Style &style)
{
    painter.save();
    if (style.fillBackground)
        painter.fillRect(area, style.backColor);
    painter.setPen(style.barColor);
    // As large as the painter's font, smaller when the message would not fit.
    const QRect room = area.adjusted(2, 2, -2, -2);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    QFont font = painter.font();
    for (double points = font.pointSizeF(); points > 4; points -= 0.5) {
        font.setPointSizeF(points);
        if (QFontMetricsF(font, painter.device()).boundingRect(room, flags, message).height()
            <= room.height())
            break;
    }
    painter.setFont(font);
    painter.drawText(room, flags, message);
    painter.restore();
}
