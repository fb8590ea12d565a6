#include "EpsPaintEngine.h"
#include "PostScript.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>
#include <cmath>

using PostScript::number;

namespace {

// How long a unit of the transform is in the frame's pixels, on average over its directions.
double scaleOf(const QTransform &t)
{
    const double area = std::abs(t.m11() * t.m22() - t.m12() * t.m21());
    return area > 0 ? std::sqrt(area) : 1.0;
}

} // namespace

EpsPaintEngine::EpsPaintEngine(double dpi)
    : m_dpi(dpi)
{
}

bool EpsPaintEngine::begin(QPaintDevice *device)
{
    m_size = device ? QSize(device->width(), device->height()) : QSize();
    m_fontDpi = device ? device->logicalDpiY() : 96;
    m_body = "gsave\n";
    m_bytes.clear();
    m_pen = QPen();
    m_brush = QBrush();
    m_transform = QTransform();
    m_drawnTransform = QTransform();
    m_colour.reset();
    m_line.clear();
    m_font.clear();
    m_latin1Fonts.clear();
    m_outlines = PsOutlineFonts();
    m_fontsByKey.clear();
    m_fonts.clear();
    return true;
}

bool EpsPaintEngine::end()
{
    // The outline fonts are known only now, and come before the text that uses them.
    m_bytes = PostScript::begin(m_size, m_dpi,
                                "/m /moveto load def /l /lineto load def /c /curveto load def"
                                " /h /closepath load def /R { rectfill } bind def\n")
        + m_outlines.definitions() + m_body + "grestore\n" + PostScript::end();
    m_body.clear();
    return true;
}

bool EpsPaintEngine::filling() const
{
    // A see-through brush is no brush at all; patterns and gradients are filled in the brush's colour.
    return m_brush.style() != Qt::NoBrush && m_brush.color().alpha() != 0;
}

bool EpsPaintEngine::stroking() const { return m_pen.style() != Qt::NoPen && m_pen.color().alpha() != 0; }

void EpsPaintEngine::useTransform()
{
    if (m_transform == m_drawnTransform)
        return;
    // Back to the frame rather than setmatrix, which an EPS drawing must not use.
    m_body += "grestore gsave\n";
    if (!m_transform.isIdentity())
        m_body += '[' + number(m_transform.m11()) + ' ' + number(m_transform.m12()) + ' '
            + number(m_transform.m21()) + ' ' + number(m_transform.m22()) + ' ' + number(m_transform.dx())
            + ' ' + number(m_transform.dy()) + "] concat\n";
    m_drawnTransform = m_transform;
    m_colour.reset();
    m_line.clear();
    m_font.clear();
}

void EpsPaintEngine::useColour(const QColor &colour)
{
    if (m_colour == colour.rgb())
        return;
    m_colour = colour.rgb();
    m_body += PostScript::setColour(QColor(colour.rgb()));
}

void EpsPaintEngine::usePen()
{
    // A cosmetic pen is as wide in the frame's pixels whatever the transform, one pixel at least.
    const double width
        = m_pen.isCosmetic() ? std::max(1.0, m_pen.widthF()) / scaleOf(m_transform) : m_pen.widthF();
    const int cap = m_pen.capStyle() == Qt::RoundCap ? 1 : m_pen.capStyle() == Qt::SquareCap ? 2 : 0;
    const int join = m_pen.joinStyle() == Qt::RoundJoin ? 1 : m_pen.joinStyle() == Qt::BevelJoin ? 2 : 0;
    // Qt's limit is PostScript's: the miter's length over the pen's width. Below 1 PostScript refuses it.
    const double miter = std::max(1.0, m_pen.miterLimit());
    const QByteArray line = number(width) + " setlinewidth " + QByteArray::number(cap) + " setlinecap "
        + QByteArray::number(join) + " setlinejoin " + number(miter) + " setmiterlimit\n";
    if (line == m_line)
        return;
    m_line = line;
    m_body += line;
}

void EpsPaintEngine::usePoint(const QPointF &p)
{
    PostScript::appendNumber(m_body, p.x());
    m_body += ' ';
    PostScript::appendNumber(m_body, p.y());
    m_body += ' ';
}

void EpsPaintEngine::usePath(const QPainterPath &path)
{
    QPointF start;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const int next = e.isCurveTo() ? i + 3 : i + 1;
        // A subpath back at its start is closed: Qt joins its ends, and so does closepath.
        const bool closes = !e.isMoveTo() && (next >= path.elementCount() || path.elementAt(next).isMoveTo())
            && QPointF(path.elementAt(next - 1)) == start;
        if (e.isMoveTo()) {
            start = e;
            usePoint(e);
            m_body += "m\n";
        } else if (e.isLineTo() && closes) {
            m_body += "h\n";
        } else if (e.isLineTo()) {
            usePoint(e);
            m_body += "l\n";
        } else {
            usePoint(e);
            usePoint(path.elementAt(i + 1));
            usePoint(path.elementAt(i + 2));
            m_body += closes ? "c h\n" : "c\n";
            i += 2;
        }
    }
}

void EpsPaintEngine::paint(const QPainterPath &path, bool fill, bool stroke)
{
    if (path.isEmpty() || (!fill && !stroke))
        return;
    useTransform();
    if (fill) {
        useColour(m_brush.color());
        usePath(path);
        m_body += path.fillRule() == Qt::OddEvenFill ? "eofill\n" : "fill\n";
    }
    if (stroke) {
        usePen();
        useColour(m_pen.color());
        usePath(path);
        m_body += "stroke\n";
    }
}

void EpsPaintEngine::drawRects(const QRectF *rects, int count)
{
    const bool fill = filling();
    const bool stroke = stroking();
    if (!fill && !stroke)
        return;
    useTransform();
    // A hair inside in the frame's pixels, so that a bar of whole pixels fills just those.
    const double hair = PostScript::kHair / scaleOf(m_transform);
    if (fill)
        useColour(m_brush.color());
    for (int i = 0; fill && i < count; ++i) {
        const QRectF r = rects[i].normalized();
        const QRectF inside = r.adjusted(hair, hair, -hair, -hair);
        const QRectF &drawn = inside.isValid() ? inside : r;
        usePoint(drawn.topLeft());
        usePoint(QPointF(drawn.width(), drawn.height()));
        m_body += "R\n";
    }
    if (stroke) {
        usePen();
        useColour(m_pen.color());
    }
    for (int i = 0; stroke && i < count; ++i) {
        usePoint(rects[i].topLeft());
        usePoint(QPointF(rects[i].width(), rects[i].height()));
        m_body += "rectstroke\n";
    }
}

void EpsPaintEngine::drawPolygon(const QPointF *points, int count, PolygonDrawMode mode)
{
    if (count < 1)
        return;
    QPainterPath path(points[0]);
    path.setFillRule(mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
    for (int i = 1; i < count; ++i)
        path.lineTo(points[i]);
    if (mode != PolylineMode)
        path.closeSubpath();
    paint(path, mode != PolylineMode && filling(), stroking());
}

void EpsPaintEngine::drawPath(const QPainterPath &path) { paint(path, filling(), stroking()); }

const SymbolRenderer::FontEntry &EpsPaintEngine::fontEntry(const QFont &font)
{
    const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * m_fontDpi / 72.0;
    const QString key = font.key() + u'|' + QString::number(pixels);
    if (const SymbolRenderer::FontEntry *known = m_fontsByKey.value(key))
        return *known;
    SymbolRenderer::FontEntry &entry = m_fonts.emplace_back();
    entry.name = font.family();
    entry.pixels = pixels;
    entry.deviceDpi = m_fontDpi;
    entry.font = font;
    entry.raw = QRawFont::fromFont(font);
    if (entry.raw.isValid())
        entry.raw.setPixelSize(pixels);
    m_fontsByKey.insert(key, &entry);
    return entry;
}

void EpsPaintEngine::drawTextItem(const QPointF &p, const QTextItem &textItem)
{
    const QString text = PostScript::drawnText(textItem.text());
    if (text.isEmpty() || !stroking())
        return;
    useTransform();
    useColour(m_pen.color());
    const SymbolRenderer::FontEntry &font = fontEntry(textItem.font());
    if (!PostScript::latin1(text)) {
        m_outlines.add(font, text);
        m_body += m_outlines.show(font, text, p);
        m_font.clear();
        return;
    }
    const QByteArray name = PostScript::standardFont(font.font);
    if (!m_latin1Fonts.contains(name)) {
        m_latin1Fonts.insert(name);
        m_body += PostScript::latin1Font(name) + " pop\n";
    }
    const QByteArray setFont = '/' + name + "-Latin1 findfont " + PostScript::setFont(font.pixels) + '\n';
    if (setFont != m_font) {
        m_font = setFont;
        m_body += setFont;
    }
    // Each glyph where Qt puts it, whatever the widths of the reader's font.
    const QList<double> x = PsOutlineFonts::positions(font, text);
    usePoint(p);
    m_body += "moveto " + PostScript::string(text) + " [";
    for (qsizetype i = 0; i < text.size(); ++i)
        m_body += number(x[i + 1] - x[i]) + ' ';
    m_body += "] xshow\n";
}

void EpsPaintEngine::drawImage(const QRectF &r, const QImage &image, const QRectF &sr,
                               Qt::ImageConversionFlags)
{
    const QRect source = sr.toAlignedRect().intersected(image.rect());
    if (source.isEmpty() || r.isEmpty())
        return;
    // Transparent parts as on a white label.
    QImage rgb(source.size(), QImage::Format_RGB888);
    rgb.fill(Qt::white);
    QPainter(&rgb).drawImage(QPoint(0, 0), image, source);
    useTransform();
    const QByteArray w = QByteArray::number(rgb.width());
    const QByteArray h = QByteArray::number(rgb.height());
    // The image's first row at the top: the frame's y runs down.
    m_body += "gsave ";
    usePoint(r.topLeft());
    m_body += "translate ";
    usePoint(QPointF(r.width(), r.height()));
    m_body += "scale\n" + w + ' ' + h + " 8 [" + w + " 0 0 " + h
        + " 0 0] currentfile /ASCIIHexDecode filter false 3 colorimage\n";
    const qsizetype rowBytes = qsizetype(rgb.width()) * 3;
    for (int y = 0; y < rgb.height(); ++y) {
        const char *row = reinterpret_cast<const char *>(rgb.constScanLine(y));
        for (qsizetype at = 0; at < rowBytes; at += 40)
            m_body
                += QByteArray::fromRawData(row + at, std::min<qsizetype>(40, rowBytes - at)).toHex() + '\n';
    }
    m_body += ">\ngrestore\n";
}
