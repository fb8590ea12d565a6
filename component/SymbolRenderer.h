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
#include <functional>
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
    };

    // area is in the painter's device pixels; the painter is left as it was.
    void draw(QPainter &painter, const QRect &area, const SymbolModel &model, const Style &style);
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
    static void drawCentred(QPainter &painter, const FontEntry &font, const QString &text, double centre, double top,
                            double length, const std::function<void()> &clipToCell);
    // The last fonts used (the title's, and the digits' when they had to be made
    // smaller to fit): most runs draw every label in the same fonts.
    FontEntry m_font;
    FontEntry m_textFont;
    QList<QRectF> m_bars; // kept between labels to save the allocation
};
