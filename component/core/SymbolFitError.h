#pragma once
#include "QuillError.h"
#include "SymbolRenderer.h"

// Raised by the component's outputs when the symbol with its quiet zones needs
// more pixels than the picture or label gives (one whole pixel a module).
class SymbolFitError : public QuillError {
public:
    // dpi: the surface's resolution along the length that is short; printer:
    // the surface is a printer's (dots), not a picture (pixels).
    SymbolFitError(const SymbolRenderer::Fit &fit, double dpi, bool printer);

    // The lengths in inches or centimetres, and in pixels or dots.
    QString describe(bool centimetres) const;
    // describe() for a SymbolFitError, the description of any other error.
    static QString describe(const QuillError &error, bool centimetres);

private:
    static QString text(const SymbolRenderer::Fit &fit, double dpi, bool printer, bool centimetres);

    SymbolRenderer::Fit m_fit;
    double m_dpi;
    bool m_printer;
};
