#pragma once
#include "SymbolRenderer.h"

#include <QByteArray>
#include <QSize>

// SVG and EPS files of a symbol's layout, written straight from it: the bars
// as rectangles and the text as text in its font, in a frame of `pixels` at
// `dpi`, so that printed at that resolution every bar is whole dots.
namespace VectorPicture {

QByteArray svg(const SymbolRenderer::Layout &layout, const SymbolRenderer::Style &style, QSize pixels,
               double dpi);
QByteArray eps(const SymbolRenderer::Layout &layout, const SymbolRenderer::Style &style, QSize pixels,
               double dpi);

} // namespace VectorPicture
