#include "VectorPicture.h"
#include "PostScript.h"
#include "PsOutlineFonts.h"

#include <QStringBuilder>
#include <string>

namespace VectorPicture {

namespace {

using PostScript::appendNumber;
using PostScript::drawnText;
using PostScript::kHair;
using PostScript::number;

QByteArray xmlEscaped(const QString &text) { return drawnText(text).toHtmlEscaped().toUtf8(); }

QByteArray colour(const QColor &c) { return c.name(QColor::HexRgb).toLatin1(); }

QByteArray matrix(const QTransform &t)
{
    return number(t.m11()) + ' ' + number(t.m12()) + ' ' + number(t.m21()) + ' ' + number(t.m22()) + ' '
        + number(t.dx()) + ' ' + number(t.dy());
}

} // namespace

QByteArray svg(const SymbolRenderer::Layout &layout, const SymbolRenderer::Style &style, QSize pixels,
               double dpi)
{
    // Gathered in a std::string: QByteArray checks every piece it is given
    // for overlap, and each + makes a temporary, which for a file of short
    // pieces costs more than the digits.
    std::string out;
    out.reserve(512 + 64 * size_t(layout.bars.size()));
    const auto put = [&out](const QByteArray &bytes) { out.append(bytes.constData(), size_t(bytes.size())); };
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
    appendNumber(out, pixels.width() / dpi);
    out += "in\" height=\"";
    appendNumber(out, pixels.height() / dpi);
    out += "in\" viewBox=\"0 0 ";
    appendNumber(out, pixels.width());
    out += ' ';
    appendNumber(out, pixels.height());
    out += "\" shape-rendering=\"crispEdges\">\n";
    if (style.fillBackground) {
        out += "<rect width=\"";
        appendNumber(out, pixels.width());
        out += "\" height=\"";
        appendNumber(out, pixels.height());
        out += "\" fill=\"";
        put(colour(style.backColor));
        out += "\"/>\n";
    }
    if (layout.painted) {
        out += "<g transform=\"matrix(";
        put(matrix(layout.toArea));
        out += ")\" fill=\"";
        put(colour(style.barColor));
        out += "\">\n";
        for (const QRectF &bar : layout.bars) {
            out += "<rect x=\"";
            appendNumber(out, bar.x());
            out += "\" y=\"";
            appendNumber(out, bar.y());
            out += "\" width=\"";
            appendNumber(out, bar.width());
            out += "\" height=\"";
            appendNumber(out, bar.height());
            out += "\"/>\n";
        }
        for (const SymbolRenderer::Layout::Text &text : layout.texts) {
            out += "<text x=\"";
            appendNumber(out, text.origin.x());
            out += "\" y=\"";
            appendNumber(out, text.origin.y());
            out += "\" font-family=\"";
            put(xmlEscaped(text.font->name));
            out += "\" font-size=\"";
            appendNumber(out, text.font->pixels);
            out += "\" xml:space=\"preserve\">";
            put(xmlEscaped(text.text));
            out += "</text>\n";
        }
        out += "</g>\n";
    }
    out += "</svg>\n";
    return QByteArray(out.data(), qsizetype(out.size()));
}

QByteArray eps(const SymbolRenderer::Layout &layout, const SymbolRenderer::Style &style, QSize pixels,
               double dpi)
{
    QByteArray out = PostScript::begin(pixels, dpi, "/R { rectfill } bind def\n");
    out.reserve(512 + 48 * layout.bars.size());
    if (style.fillBackground) {
        out += PostScript::setColour(style.backColor);
        out += "0 0 " + number(pixels.width()) + ' ' + number(pixels.height()) + " R\n";
    }
    if (layout.painted) {
        out += PostScript::setColour(style.barColor);
        out += '[' + matrix(layout.toArea) + "] concat\n";
        std::string bars;
        bars.reserve(48 * size_t(layout.bars.size()));
        for (const QRectF &bar : layout.bars) {
            const QRectF inside = bar.adjusted(kHair, kHair, -kHair, -kHair);
            const QRectF &drawn = inside.isValid() ? inside : bar;
            appendNumber(bars, drawn.x());
            bars += ' ';
            appendNumber(bars, drawn.y());
            bars += ' ';
            appendNumber(bars, drawn.width());
            bars += ' ';
            appendNumber(bars, drawn.height());
            bars += " R\n";
        }
        out.append(bars.data(), qsizetype(bars.size()));
        // Text beyond Latin-1 in outline fonts of its own glyphs.
        PsOutlineFonts outlines;
        for (const SymbolRenderer::Layout::Text &text : layout.texts) {
            if (const QString shown = drawnText(text.text); !PostScript::latin1(shown))
                outlines.add(*text.font, shown);
        }
        out += outlines.definitions();
        const SymbolRenderer::FontEntry *current = nullptr;
        for (const SymbolRenderer::Layout::Text &text : layout.texts) {
            const QString shown = drawnText(text.text);
            if (!PostScript::latin1(shown)) {
                out += outlines.show(*text.font, shown, text.origin);
                current = nullptr;
                continue;
            }
            if (text.font != current) {
                current = text.font;
                // The font with Latin-1 letters, as large as drawn; flipped back upright.
                out += PostScript::latin1Font(PostScript::fontName(current->name)) + ' '
                    + PostScript::setFont(current->pixels) + '\n';
            }
            out += number(text.origin.x()) + ' ' + number(text.origin.y()) + " moveto "
                + PostScript::string(shown) + " show\n";
        }
    }
    return out + PostScript::end();
}

} // namespace VectorPicture
