#pragma once
#include <QByteArray>
#include <QColor>
#include <QSize>
#include <QString>
#include <cmath>

class QFont;

// The pieces of PostScript that every EPS drawing is made of: numbers, strings,
// colours, fonts with Latin-1 letters, and the frame of a drawing in pixels.
namespace PostScript {

// PostScript fills every device pixel a shape touches, so a bar ending on a
// pixel's edge would take the next pixel too: each edge of a filled rectangle
// is drawn this many pixels inside, which the rule and a pixel-centre rule both
// fill as meant.
constexpr double kHair = 1.0 / 64;

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

QByteArray number(double value);

// The characters a drawing shows: control characters (U+0001, form feed, escape, DEL, C1)
// draw nothing on any surface and have no place in XML, so they are dropped, as
// are the noncharacters U+FFFE and U+FFFF and halves of surrogate pairs.
QString drawnText(const QString &text);
// True when a font's Latin-1 encoding shows the text.
bool latin1(const QString &text);
// A PostScript string of Latin-1 characters.
QByteArray string(const QString &text);
// A family's name as a PostScript name; Helvetica when nothing of it is left.
QByteArray fontName(const QString &family);
// The one of the fonts every PostScript reader has (Helvetica, Helvetica-Narrow,
// Times, Courier) that stands for the font, in its bold and italic face.
QByteArray standardFont(const QFont &font);
// Defines name-Latin1, the font re-encoded with Latin-1 letters, and leaves it
// on the operand stack.
QByteArray latin1Font(const QByteArray &name);
// Makes the current font the one on the operand stack, `pixels` large and
// upright in the drawing's frame.
QByteArray setFont(double pixels);
QByteArray setColour(const QColor &colour);

// The start of an EPS drawing of `pixels` at `dpi`, whose frame has the top-left
// corner at 0 0, y down and one unit a pixel; definitions come before the frame
// is set up.
QByteArray begin(QSize pixels, double dpi, const QByteArray &definitions);
QByteArray end();

} // namespace PostScript
