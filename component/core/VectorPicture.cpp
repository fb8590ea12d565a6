#include "VectorPicture.h"
#include "PsOutlineFonts.h"

#include <QStringBuilder>
#include <algorithm>
#include <cmath>
#include <string>

namespace VectorPicture {

namespace {

// Coordinates with at most four decimals and no exponent: readers differ on the rest.
// Written digit by digit, since a save run writes them by the million; out is a
// QByteArray or a std::string.
template <typename Bytes> void appendNumber(Bytes &out, double value)
{
    const double tenThousandths = std::round(value * 10000.0);
    // Beyond this a double's own steps exceed the last decimal; NaN goes there too.
    if (!(std::abs(tenThousandths) < 1e13)) {
        QByteArray text = QByteArray::number(tenThousandths / 10000.0, 'f', 4);
        while (text.endsWith('0'))
            text.chop(1);
        if (text.endsWith('.'))
            text.chop(1);
        if (text == "-0")
            text = "0";
        out.append(text.constData(), text.size());
        return;
    }
    const bool negative = tenThousandths < 0;
    const long long n = static_cast<long long>(std::abs(tenThousandths));
    char digits[24];
    char *const end = digits + sizeof digits;
    char *p = end;
    long long whole = n / 10000;
    int fraction = int(n % 10000);
    int places = 4;
    while (fraction != 0 && fraction % 10 == 0) {
        fraction /= 10;
        --places;
    }
    if (fraction != 0) {
        for (int i = 0; i < places; ++i) {
            *--p = char('0' + fraction % 10);
            fraction /= 10;
        }
        *--p = '.';
    }
    do {
        *--p = char('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    if (negative && n != 0)
        *--p = '-';
    out.append(p, end - p);
}

QByteArray number(double value)
{
    QByteArray text;
    appendNumber(text, value);
    return text;
}

// The characters a drawing shows: control characters (U+0001, form feed, escape, DEL, C1)
// draw nothing on any surface and have no place in XML, so they are dropped, as
// are the noncharacters U+FFFE and U+FFFF and halves of surrogate pairs.
QString drawnText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        const bool pair = QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pair) {
            shown += text[i];
            shown += text[++i];
        } else if ((u >= 0x20 || u == u'\t' || u == u'\n' || u == u'\r') && (u < 0x7f || u > 0x9f)
                   && !QChar::isSurrogate(u) && u != 0xfffe && u != 0xffff) {
            shown += QChar(u);
        }
    }
    return shown;
}

QByteArray xmlEscaped(const QString &text) { return drawnText(text).toHtmlEscaped().toUtf8(); }

QByteArray colour(const QColor &c) { return c.name(QColor::HexRgb).toLatin1(); }

// True when the design's font shows the text through its Latin-1 encoding.
bool latin1(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xff; });
}

// A PostScript string of Latin-1 characters.
QByteArray psString(const QString &text)
{
    QByteArray out = "(";
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'(' || u == u')' || u == u'\\')
            out += '\\' + QByteArray(1, char(u));
        else if (u >= 0x20 && u < 0x7f)
            out += char(u);
        else
            out += '\\' + QByteArray::number(u, 8);
    }
    return out + ')';
}

QByteArray psName(const QString &family)
{
    QByteArray name;
    for (const QChar c : family) {
        const char16_t u = c.unicode();
        if (u > 0x20 && u < 0x7f && !QByteArrayView("()<>[]{}/%").contains(char(u)))
            name += char(u);
    }
    return name.isEmpty() ? QByteArray("Helvetica") : name;
}

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
    // Points are 1/72 in; the frame's y runs down, PostScript's up.
    const double scale = 72.0 / dpi;
    const int boxWidth = int(std::ceil(pixels.width() * scale - 1e-9));
    const int boxHeight = int(std::ceil(pixels.height() * scale - 1e-9));
    QByteArray out;
    out.reserve(512 + 48 * layout.bars.size());
    out += "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 " + QByteArray::number(boxWidth) + ' '
        + QByteArray::number(boxHeight) + "\n%%HiResBoundingBox: 0 0 " + number(pixels.width() * scale) + ' '
        + number(pixels.height() * scale) + "\n%%Creator: Quillmark\n%%EndComments\n"
        + "save\n/R { rectfill } bind def\n" + number(scale) + ' ' + number(-scale) + " scale 0 "
        + number(-pixels.height()) + " translate\n";
    const auto setColour = [&](const QColor &c) {
        out += number(c.redF()) + ' ' + number(c.greenF()) + ' ' + number(c.blueF()) + " setrgbcolor\n";
    };
    if (style.fillBackground) {
        setColour(style.backColor);
        out += "0 0 " + number(pixels.width()) + ' ' + number(pixels.height()) + " R\n";
    }
    if (layout.painted) {
        setColour(style.barColor);
        out += '[' + matrix(layout.toArea) + "] concat\n";
        // PostScript fills every device pixel a shape touches, so a bar ending on
        // a pixel's edge would take the next pixel too: each edge is drawn a hair
        // inside, which the rule and a pixel-centre rule both fill as meant.
        constexpr double kHair = 1.0 / 64;
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
            if (const QString shown = drawnText(text.text); !latin1(shown))
                outlines.add(*text.font, shown);
        }
        out += outlines.definitions();
        const SymbolRenderer::FontEntry *current = nullptr;
        for (const SymbolRenderer::Layout::Text &text : layout.texts) {
            const QString shown = drawnText(text.text);
            const QByteArray size = '[' + number(text.font->pixels) + " 0 0 " + number(-text.font->pixels)
                + " 0 0] makefont setfont ";
            if (!latin1(shown)) {
                for (const PsOutlineFonts::Run &run : outlines.runs(*text.font, shown)) {
                    out += number(text.origin.x() + run.x) + ' ' + number(text.origin.y()) + " moveto /"
                        + run.fontName + " findfont " + size + '<' + run.codes.toHex() + "> [";
                    for (const double advance : run.advances)
                        out += number(advance) + ' ';
                    out += "] xshow\n";
                }
                current = nullptr;
                continue;
            }
            if (text.font != current) {
                current = text.font;
                // The font with Latin-1 letters, as large as drawn; flipped back upright.
                // ISOLatin1Encoding has a minus at "-" and curly quotes at "'" and "`":
                // the characters typed are the hyphen and the straight quote and accent.
                const QByteArray name = psName(current->name);
                out += '/' + name
                    + " findfont dup length dict begin { 1 index /FID ne { def } { pop pop } ifelse } forall"
                      " /Encoding ISOLatin1Encoding 256 array copy dup 8#055 /hyphen put"
                      " dup 8#047 /quotesingle put dup 8#140 /grave put def currentdict end /"
                    + name + "-Latin1 exch definefont " + size.trimmed() + '\n';
            }
            out += number(text.origin.x()) + ' ' + number(text.origin.y()) + " moveto " + psString(shown)
                + " show\n";
        }
    }
    return out + "restore\nshowpage\n%%EOF\n";
}

} // namespace VectorPicture
