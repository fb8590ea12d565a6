#pragma once
#include "Symbology.h"

#include <QString>

// The module (X dimension, the narrowest bar or space) of a symbol as it comes
// out on a surface, and the least module the symbology's standard allows.
class ModuleSize {
public:
    // pixels: the module in the surface's pixels (or dots) at dpi; printer:
    // the surface is a printer's, whose dots are ink on paper. exactPixels:
    // the module the symbol's size gives before it is cut to whole dots (0:
    // the same as pixels), what no resolution can make larger.
    ModuleSize(Symbology symbology, double pixels, double dpi, bool printer, double exactPixels = 0);

    double millimetres() const;
    // "0.254 mm (10 mils)"
    QString physical() const;
    // "module 0.254 mm (10 mils), 2 dots at 203 dpi"
    QString onDevice() const;
    // Why the symbol may not scan at this module, for the user to go on or
    // stop; empty when the module is sound.
    QString warning() const;

    // The printers whose single dots are too small a module: at this
    // resolution or coarser a one-dot bar is the first to fail on paper.
    static constexpr double kCoarsestOneDotDpi = 300;

private:
    QString sentenceStart() const;

    Symbology m_symbology;
    double m_pixels;
    double m_exactPixels;
    double m_dpi;
    bool m_printer;
};
