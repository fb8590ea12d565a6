#pragma once
#include "SymbolRenderer.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>

// Text that a PostScript font's Latin-1 encoding cannot show (CJK, the euro,
// Polish letters...) as Type 3 fonts of the glyphs' own outlines, so that an EPS
// draws it exactly as the other pictures do without any font of the reader's.
// Each glyph is named after its characters (uni65E5, uni20AC), from which
// readers such as Ghostscript's text extraction get the text back. A font holds
// 256 glyphs; more take further fonts.
class PsOutlineFonts {
public:
    // Takes in the text's glyphs; call for every text before definitions().
    void add(const SymbolRenderer::FontEntry &font, const QString &text);
    // The definitions of every font that add() filled.
    QByteArray definitions() const;
    // PostScript that draws the text, after add() took it in, from the start of
    // its baseline, in the font's pixels upright in a frame whose y runs down.
    QByteArray show(const SymbolRenderer::FontEntry &font, const QString &text, QPointF origin) const;
    // Where each character of the text starts along the baseline as Qt lays it
    // out, in pixels, and last where the text ends: text.size() + 1 values.
    static QList<double> positions(const SymbolRenderer::FontEntry &font, const QString &text);

private:
    // One run of glyphs of one font, drawn from x (pixels along the text's baseline).
    struct Run {
        QByteArray fontName;
        double x = 0;
        QByteArray codes; // one byte a glyph
        QList<double> advances; // pixels from each glyph to the next, for xshow
    };

    QList<Run> runs(const SymbolRenderer::FontEntry &font, const QString &text) const;

    struct Glyph {
        QByteArray name;
        QByteArray outline; // PostScript path in 1/1000 em, y up
        double width = 0;
    };
    struct Font {
        QByteArray name;
        QList<Glyph> glyphs;
    };
    // The clusters of characters that show as one glyph.
    static QStringList clusters(const QString &text);
    static Glyph glyphOf(const QFont &font, const QString &cluster);
    static QFont emFont(const SymbolRenderer::FontEntry &font, const QString &text);

    QList<Font> m_fonts;
    // (font entry, cluster) -> (index in m_fonts, code)
    QHash<QString, std::pair<int, int>> m_codes;
    QHash<const SymbolRenderer::FontEntry *, int> m_lastFont;
};
