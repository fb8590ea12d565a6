#pragma once
#include "SymbolModel.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QRawFont>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <optional>

class QPaintDevice;
class QPainter;

// Draws a symbol model onto any QPainter surface: the preview, pictures,
// metafiles and printers all come through here.
class SymbolRenderer {
public:
    struct Style {
        int quarterTurns = 0; // counter-clockwise
        bool stretch = false; // false: whole device pixels per module
        int alignment = 0; // 0 left, 1 centre, 2 right
        bool showText = true;
        QString title;
        QString fontName = QStringLiteral("Arial");
        double textPixels = 0; // height of the text in the surface's pixels
        QColor barColor = Qt::black;
        QColor backColor = Qt::white;
        double barReduction = 0; // millimetres off each bar
        bool fillBackground = true;
        // Draw a symbol that does not fit with modules of less than a pixel
        // (the preview); otherwise such a symbol is not drawn at all.
        bool shrinkToFit = false;
    };

    // Whether the symbol with its quiet zones gets one whole device pixel a
    // module: needed and given are pixels along the symbol (across it for
    // matrix codes), alongHeight when that is the surface's height.
    // What is short: the length for the modules, the height for bars a
    // scanner can cross, or the room for text that can be read.
    enum class Short { Modules, BarHeight, Text };
    struct Fit {
        bool fits = true;
        int needed = 0;
        int given = 0;
        bool alongHeight = false;
        Short what = Short::Modules;
    };

    // The fonts a layout's text is drawn in, held by the renderer.
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
    // Where everything goes, in the symbol's own frame: x along the symbol,
    // y across it, both in device pixels from the area's corner the symbol
    // starts at; toArea turns that frame into the area.
    struct Layout {
        struct Text {
            QString text;
            QPointF origin; // of the baseline
            const FontEntry *font = nullptr;
        };
        Fit fit;
        bool painted = true; // false: the symbol does not fit and is not shrunk
        double module = 0; // device pixels
        double barHeight = 0; // of the full bars, device pixels
        double textPixels = 0; // the smallest text drawn, its em in device pixels; 0: none
        double reduction = 0; // device pixels off each bar, whole ones with whole-pixel modules
        double narrowestBar = 0; // device pixels, before the reduction
        QTransform toArea;
        QList<QRectF> bars;
        QList<Text> texts;
    };

    // area is in the device's pixels (the device gives the resolution the
    // fonts are measured at; none: 96 dpi). The layout is the renderer's own,
    // valid until its next call.
    const Layout &layout(const QRect &area, const SymbolModel &model, const Style &style,
                         QPaintDevice *device);
    // Paints a layout made for area; the painter is left as it was.
    void paint(QPainter &painter, const QRect &area, const Layout &layout, const Style &style) const;
    // Paints only the device rows [top, top + count) of it, each pixel as paint()
    // would, on a device that has the whole area at its place (a RowCanvas).
    // Qt rounds the edges of a turned symbol's bars that fall between pixels
    // in a way that changes when a bar is clipped, so such a bar is painted
    // whole when it covers at most `reach` rows (bandRows() for all of them),
    // and reaches as far beyond the band; a longer one is clipped, and an
    // edge of it lying on a half pixel may round the other way.
    void paintRows(QPainter &painter, const QRect &area, const Layout &layout, const Style &style, int top,
                   int count, int reach) const;
    static int bandRows(const Layout &layout);
    // Both: draws nothing, not even the background, when the symbol does not
    // fit and the style does not ask to shrink it.
    Fit draw(QPainter &painter, const QRect &area, const SymbolModel &model, const Style &style);
    void drawMessage(QPainter &painter, const QRect &area, const QString &message, const Style &style);

    // The quarter turns for an orientation in tenths of a degree, snapped to
    // the nearest quarter.
    static int quarterTurns(double tenthsOfDegree);
    // The text as drawn: each line break (CR, LF, CR LF, U+2028, U+2029) one
    // space, so that a title or value of several lines is one line on every
    // surface. Only what is drawn: the data encoded keeps its breaks.
    static QString oneLine(const QString &text);

private:
    // The fonts of the title and of the symbol's text, made smaller where they
    // would not fit; none for a line that is not drawn.
    struct TextFonts {
        const FontEntry *title = nullptr;
        const FontEntry *text = nullptr;
        bool textUnder = false;
        bool textAbove = false;
    };
    // Where the modules go along the symbol and the bars across it, in device pixels.
    struct Placement {
        double barTop = 0;
        double barBottom = 0;
        double textLineHeight = 0;
        bool wholePixels = false;
        double module = 0;
        double offset = 0; // of the left quiet zone
        double symbolLeft = 0; // of the first module
        double reduction = 0; // device pixels off each bar
    };
    TextFonts textFonts(const SymbolModel &model, const Style &style, double length, double across,
                        QPaintDevice *device);
    static double lineHeight(const FontEntry *font, bool stretch);
    static void checkFit(Fit &fit, const SymbolModel &model, double length, double across, double barHeight);
    static void placeModules(Placement &at, const SymbolModel &model, const Style &style, double length,
                             bool fits);
    static void placeBars(QList<QRectF> &bars, const SymbolModel &model, const Placement &at,
                          const TextFonts &fonts);
    static const FontEntry &fontFor(FontEntry &slot, const QString &name, double pixels,
                                    QPaintDevice *device);
    static double textWidth(const FontEntry &font, const QString &text);
    // Text centred on centre, moved inwards when it would reach past the
    // edges of [0, length).
    static Layout::Text centred(const FontEntry &font, const QString &text, double centre, double top,
                                double length);
    static void paintText(QPainter &painter, const Layout::Text &text);
    // The last fonts used (as asked, and made smaller to fit for the title and
    // the text): most runs draw every label in the same fonts.
    FontEntry m_font;
    FontEntry m_titleFont;
    FontEntry m_textFont;
    Layout m_layout; // kept between labels to save the allocations
    // The title and the texts of the model's runs as drawn: oneLine's.
    QString m_title;
    QList<QString> m_runTexts;
};
