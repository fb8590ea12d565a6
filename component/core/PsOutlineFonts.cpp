#include "PsOutlineFonts.h"
#include "PostScript.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kEm = 1000; // glyph space units an em
constexpr int kCodes = 256;

// A coordinate of a glyph, to a tenth of a unit.
QByteArray unit(double value)
{
    const double tenths = std::round(value * 10.0) / 10.0;
    return QByteArray::number(tenths == 0 ? 0.0 : tenths, 'g', 10);
}

// uni and four hex digits a character where all are in the Basic Multilingual
// Plane, else u and each code point, joined by "_", as glyph names are made for
// characters.
QByteArray glyphName(const QString &cluster)
{
    const QList<uint> points = cluster.toUcs4();
    const bool basic = std::all_of(points.begin(), points.end(), [](uint p) { return p <= 0xffff; });
    QByteArray name = basic ? "uni" : "";
    for (const uint point : points) {
        const QByteArray hex = QByteArray::number(point, 16).toUpper().rightJustified(4, '0');
        name += basic ? hex : (name.isEmpty() ? "u" : "_u") + hex;
    }
    return name;
}

QString keyOf(const SymbolRenderer::FontEntry &font, const QString &cluster)
{
    return QString::number(quintptr(&font), 16) + u'|' + cluster;
}

} // namespace

QStringList PsOutlineFonts::clusters(const QString &text)
{
    QStringList parts;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() > 0) {
        parts << text.mid(start, finder.position() - start);
        start = finder.position();
    }
    return parts;
}

QFont PsOutlineFonts::emFont(const SymbolRenderer::FontEntry &font, const QString &text)
{
    QFont em = font.font;
    em.setPixelSize(kEm);
    // Text the design's font holds whole is drawn glyph after glyph, without kerning.
    const bool whole = font.raw.isValid() && !font.raw.glyphIndexesForString(text).contains(0u);
    em.setKerning(!whole);
    return em;
}

PsOutlineFonts::Glyph PsOutlineFonts::glyphOf(const QFont &font, const QString &cluster)
{
    QPainterPath path;
    path.addText(0, 0, font, cluster);
    Glyph glyph{glyphName(cluster), {}, QFontMetricsF(font).horizontalAdvance(cluster)};
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo() && i > 0)
            glyph.outline += "h ";
        glyph.outline += unit(e.x) + ' ' + unit(-e.y);
        if (e.isMoveTo())
            glyph.outline += " m ";
        else if (e.isLineTo())
            glyph.outline += " l ";
        else if (e.type == QPainterPath::CurveToDataElement
                 && (i + 1 == path.elementCount() || path.elementAt(i + 1).type != e.type))
            glyph.outline += " c ";
        else
            glyph.outline += ' ';
    }
    if (!path.isEmpty())
        glyph.outline += "h fill";
    return glyph;
}

void PsOutlineFonts::add(const SymbolRenderer::FontEntry &font, const QString &text)
{
    const QFont em = emFont(font, text);
    for (const QString &cluster : clusters(text)) {
        const QString key = keyOf(font, cluster);
        if (m_codes.contains(key))
            continue;
        int index = m_lastFont.value(&font, -1);
        if (index < 0 || m_fonts[index].glyphs.size() == kCodes) {
            index = int(m_fonts.size());
            m_fonts.append({"QuillGlyphs" + QByteArray::number(index + 1), {}});
            m_lastFont[&font] = index;
        }
        m_codes[key] = {index, int(m_fonts[index].glyphs.size())};
        m_fonts[index].glyphs.append(glyphOf(em, cluster));
    }
}

QByteArray PsOutlineFonts::definitions() const
{
    QByteArray out;
    for (const Font &font : m_fonts) {
        out += QByteArray("12 dict begin\n/FontType 3 def /FontMatrix [0.001 0 0 0.001 0 0] def\n")
            + "/FontBBox [-1000 -1000 2000 2000] def\n"
            + "/Encoding 256 array def 0 1 255 { Encoding exch /.notdef put } for\n"
            + "/m /moveto load def /l /lineto load def /c /curveto load def /h /closepath load def\n"
            + "/CharProcs " + QByteArray::number(font.glyphs.size() + 1)
            + " dict def CharProcs begin\n/.notdef { 0 0 setcharwidth } def\n";
        QByteArray codes;
        for (int code = 0; code < font.glyphs.size(); ++code) {
            const Glyph &glyph = font.glyphs[code];
            out += '/' + glyph.name + " { " + unit(glyph.width) + " 0 setcharwidth " + glyph.outline
                + " } def\n";
            codes += "Encoding " + QByteArray::number(code) + " /" + glyph.name + " put\n";
        }
        out += "end\n" + codes
            + "/BuildGlyph { exch begin CharProcs exch 2 copy known not { pop /.notdef } if get exec end } "
              "bind def\n"
              "/BuildChar { 1 index /Encoding get exch get 1 index /BuildGlyph get exec } bind def\n"
              "currentdict end /"
            + font.name + " exch definefont pop\n";
    }
    return out;
}

QList<double> PsOutlineFonts::positions(const SymbolRenderer::FontEntry &font, const QString &text)
{
    QTextLayout layout(text, emFont(font, text));
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e7);
    layout.endLayout();
    const double scale = font.pixels / kEm;
    QList<double> xs;
    xs.reserve(text.size() + 1);
    for (int at = 0; at <= text.size(); ++at)
        xs.append(line.cursorToX(at) * scale);
    return xs;
}

QList<PsOutlineFonts::Run> PsOutlineFonts::runs(const SymbolRenderer::FontEntry &font,
                                                const QString &text) const
{
    const QList<double> xs = positions(font, text);
    QList<Run> runs;
    int at = 0;
    for (const QString &cluster : clusters(text)) {
        const auto [index, code] = m_codes.value(keyOf(font, cluster), {-1, 0});
        const double x = xs[at];
        at += int(cluster.size());
        if (index < 0)
            continue;
        if (runs.isEmpty() || runs.last().fontName != m_fonts[index].name)
            runs.append({m_fonts[index].name, x, {}, {}});
        runs.last().codes += char(code);
        runs.last().advances += xs[at] - x;
    }
    return runs;
}

QByteArray PsOutlineFonts::show(const SymbolRenderer::FontEntry &font, const QString &text,
                                QPointF origin) const
{
    QByteArray out;
    for (const Run &run : runs(font, text)) {
        out += PostScript::number(origin.x() + run.x) + ' ' + PostScript::number(origin.y()) + " moveto /"
            + run.fontName + " findfont " + PostScript::setFont(font.pixels) + " <" + run.codes.toHex()
            + "> [";
        for (const double advance : run.advances)
            out += PostScript::number(advance) + ' ';
        out += "] xshow\n";
    }
    return out;
}
