#include "ModuleSize.h"

#include "Numbers.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kMmPerInch = 25.4;

// The least X dimension, in millimetres, one table for every symbology:
// - EAN/UPC and their add-ons, ISBN and ISSN (EAN-13): 0.264 mm, 80 %
//   magnification, the least the GS1 General Specifications allow for
//   symbols scanned at a retail point of sale.
// - GS1-128: 0.495 mm, the least the GS1 General Specifications allow for
//   symbols scanned in general distribution: the cartons and pallets that
//   SSCC and logistics labels go on, what label printers print it for. Only
//   healthcare items never scanned in distribution may go down to 0.170 mm;
//   a warning, not a refusal, leaves that to the user.
// - The other linear and the 2-D codes: 0.191 mm (7.5 mils). ISO/IEC 15417
//   (Code 128), 16388 (Code 39), 16390 (Interleaved 2 of 5) and the 2-D
//   code standards leave the least X dimension to the application; 7.5 mils
//   is the least of the AIM uniform symbology specifications, the finest that
//   scanners of general use are made for.
// - POSTNET: none; its bars are set by the postal rules, not in modules.
double leastModule(Symbology symbology)
{
    switch (symbology) {
    case Symbology::Ean13:
    case Symbology::Ean8:
    case Symbology::Ean5:
    case Symbology::Ean2:
    case Symbology::UpcA:
    case Symbology::UpcE:
    case Symbology::Issn:
    case Symbology::Isbn:
        return 0.264;
    case Symbology::Ean128:
        return 0.495;
    case Symbology::Postnet:
        return 0;
    default:
        return 0.191;
    }
}

QString number(double value, int decimals)
{
    return Numbers::regionalPlainText(std::round(value * std::pow(10, decimals)) / std::pow(10, decimals));
}
} // namespace

ModuleSize::ModuleSize(Symbology symbology, double pixels, double dpi, bool printer, double exactPixels)
    : m_symbology(symbology)
    , m_pixels(pixels)
    , m_exactPixels(std::max(pixels, exactPixels))
    , m_dpi(dpi > 0 ? dpi : 96)
    , m_printer(printer)
{
}

double ModuleSize::millimetres() const { return m_pixels / m_dpi * kMmPerInch; }

QString ModuleSize::physical() const
{
    const double mils = m_pixels / m_dpi * 1000;
    return QStringLiteral("%1 (%2)").arg(Numbers::lengthText(millimetres(), QStringLiteral("mm")),
                                         Numbers::lengthText(mils, QStringLiteral("mils"), 1));
}

QString ModuleSize::onDevice() const
{
    const QString dots = m_printer ? QStringLiteral("dots") : QStringLiteral("pixels");
    const bool one = std::abs(m_pixels - 1) < 1e-9;
    return QStringLiteral("module %1, %2 %3 at %4 dpi")
        .arg(physical(), number(m_pixels, 2), one ? dots.chopped(1) : dots, number(m_dpi, 0));
}

QString ModuleSize::sentenceStart() const
{
    return QStringLiteral("The ") + onDevice(); // "The module 0.254 mm (10 mils), 2 dots at 203 dpi"
}

QString ModuleSize::warning() const
{
    if (m_pixels <= 0)
        return {};
    const double least = leastModule(m_symbology);
    // A hair below the figure is the figure: 1 pixel at 96 dpi is 0.2646 mm.
    if (millimetres() < least - 0.0005) {
        // Finer dots help only where whole dots made the module smaller than the size gives.
        const bool finerHelps = m_exactPixels / m_dpi * kMmPerInch >= least - 0.0005;
        const QString remedy = finerHelps
            ? QStringLiteral("Make the symbol wider or use a finer resolution.")
            : QStringLiteral("Make the symbol larger: at this size no resolution gives a larger module.");
        return QStringLiteral("%1, is below the %2 its symbology's standard asks for: scanners may not "
                              "read the symbol. %3")
            .arg(sentenceStart(), Numbers::lengthText(least, QStringLiteral("mm")), remedy);
    }
    if (m_printer && m_pixels < 2 && m_dpi <= kCoarsestOneDotDpi)
        return QStringLiteral("%1, is a single dot: on paper bars one dot wide are the first to fail. Make "
                              "the symbol wider or print at a finer resolution.")
            .arg(sentenceStart());
    return {};
}
