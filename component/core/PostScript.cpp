#include "PostScript.h"

#include <QFont>
#include <QFontInfo>
#include <algorithm>

namespace PostScript {

QByteArray number(double value)
{
    QByteArray text;
    appendNumber(text, value);
    return text;
}

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

bool latin1(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xff; });
}

QByteArray string(const QString &text)
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

QByteArray fontName(const QString &family)
{
    QByteArray name;
    for (const QChar c : family) {
        const char16_t u = c.unicode();
        if (u > 0x20 && u < 0x7f && !QByteArrayView("()<>[]{}/%").contains(char(u)))
            name += char(u);
    }
    return name.isEmpty() ? QByteArray("Helvetica") : name;
}

QByteArray standardFont(const QFont &font)
{
    const QString family = font.family().toLower();
    const auto named = [&family](std::initializer_list<const char *> words) {
        return std::any_of(words.begin(), words.end(),
                           [&family](const char *w) { return family.contains(w); });
    };
    const int face
        = (font.weight() >= QFont::DemiBold ? 1 : 0) + (font.style() != QFont::StyleNormal ? 2 : 0);
    const char *const obliqueFaces[] = {"", "-Bold", "-Oblique", "-BoldOblique"};
    const char *const italicFaces[] = {"-Roman", "-Bold", "-Italic", "-BoldItalic"};
    if (named({"courier", "mono", "consol", "typewriter"}) || QFontInfo(font).fixedPitch())
        return QByteArray("Courier") + obliqueFaces[face];
    if (!named({"sans"}) && named({"serif", "times", "roman", "georgia", "garamond", "cambria", "book"}))
        return QByteArray("Times") + italicFaces[face];
    if (named({"narrow", "condensed"}))
        return QByteArray("Helvetica-Narrow") + obliqueFaces[face];
    return QByteArray("Helvetica") + obliqueFaces[face];
}

QByteArray latin1Font(const QByteArray &name)
{
    // ISOLatin1Encoding has a minus at "-" and curly quotes at "'" and "`":
    // the characters typed are the hyphen and the straight quote and accent.
    return '/' + name
        + " findfont dup length dict begin { 1 index /FID ne { def } { pop pop } ifelse } forall"
          " /Encoding ISOLatin1Encoding 256 array copy dup 8#055 /hyphen put"
          " dup 8#047 /quotesingle put dup 8#140 /grave put def currentdict end /"
        + name + "-Latin1 exch definefont";
}

QByteArray setFont(double pixels)
{
    return '[' + number(pixels) + " 0 0 " + number(-pixels) + " 0 0] makefont setfont";
}

QByteArray setColour(const QColor &colour)
{
    return number(colour.redF()) + ' ' + number(colour.greenF()) + ' ' + number(colour.blueF())
        + " setrgbcolor\n";
}

QByteArray begin(QSize pixels, double dpi, const QByteArray &definitions)
{
    // Points are 1/72 in; the frame's y runs down, PostScript's up.
    const double scale = 72.0 / dpi;
    const int boxWidth = int(std::ceil(pixels.width() * scale - 1e-9));
    const int boxHeight = int(std::ceil(pixels.height() * scale - 1e-9));
    return "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 " + QByteArray::number(boxWidth) + ' '
        + QByteArray::number(boxHeight) + "\n%%HiResBoundingBox: 0 0 " + number(pixels.width() * scale) + ' '
        + number(pixels.height() * scale) + "\n%%Creator: Quillmark\n%%EndComments\nsave\n" + definitions
        + number(scale) + ' ' + number(-scale) + " scale 0 " + number(-pixels.height()) + " translate\n";
}

QByteArray end() { return "restore\nshowpage\n%%EOF\n"; }

} // namespace PostScript
