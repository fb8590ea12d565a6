#pragma once
#include "SymbolModel.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QRawFont>
#include <QRectF>
#include <QRect>
#include <QString>
#include <optional>

class QPaintDevice;
class QPainter;

// Draws a symbol model onto any QPainter surface: the preview, pictures,
// metafiles and printers all come through here.
class SymbolRenderer {
public:
    struct Style {
        int quarterTurns = 0;     // counter-clockwise
        bool stretch = false;     // false: whole device pixels per module
        int alignment = 0;        // 0 left, 1 centre, 2 right
        bool showText = true;
        QString title;
        QString fontName = QStringLiteral("Arial");
        double textPixels = 0;    // height of the text in the surface's pixels
        QColor barColor = Qt::black;
        QColor backColor = Qt::white;
        int barReduction = 0;     // device pixels off each bar
        bool fillBackground = true;
        // Draw a symbol that does not fit with modules of less than a pixel
        // (the preview); otherwise such a symbol is not drawn at all.
        bool shrinkToFit = false;
    };

    // Whether the symbol with its quiet zones gets one whole device pixel a
    // module: needed and given are pixels along the symbol (across it for
    // matrix codes), alongHeight when that is the surface's height.
    struct Fit {
        bool fits = true;
        int needed = 0;
        int given = 0;
        bool alongHeight = false;
    };

    // area is in the painter's device pixels; the painter is left as it was.
    // Draws nothing, not even the background, when the symbol does not fit
    // and the style does not ask to shrink it.
    Fit draw(QPainter &painter, const QRect &area, const SymbolModel &model, const Style &style);
    void drawMessage(QPainter &painter, const QRect &area, const QString &message, const Style &style);

    // The quarter turns for an orientation in tenths of a degree, snapped to
    // the nearest quarter.
    static int quarterTurns(double tenthsOfDegree);

private:
    struct FontEntry {
        QString name;
        double pixels = -1;
        int deviceDpi = 0;
        QFont font;
        double ascent = 0;
        double height = 0;
        std::optional<QFontMetricsF> metrics;
        QRawFont raw; // glyphs looked up directly: no text layout per label
    };
    static const FontEntry &fontFor(FontEntry &slot, const QString &name, double pixels, QPaintDevice *device);
    static double textWidth(const FontEntry &font, const QString &text);
    // Text centred on centre, moved inwards when it would reach past the
    // edges of [0, length).
    static void drawCentred(QPainter &painter, const FontEntry &font, const QString &text, double centre, double top,
                            double length);
    // The last fonts used (as asked, and made smaller to fit for the title and
    // the text): most runs draw every label in the same fonts.
    FontEntry m_font;
    FontEntry m_titleFont;
    FontEntry m_textFont;
    QList<QRectF> m_bars; // kept between labels to save the allocation
};
