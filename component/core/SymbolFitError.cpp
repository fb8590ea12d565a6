#include "SymbolFitError.h"

#include "Numbers.h"

#include <cmath>

SymbolFitError::SymbolFitError(const SymbolRenderer::Fit &fit, double dpi, bool printer)
    : QuillError(text(fit, dpi > 0 ? dpi : 96, printer, false))
    , m_fit(fit)
    , m_dpi(dpi > 0 ? dpi : 96)
    , m_printer(printer)
{
}

QString SymbolFitError::describe(bool centimetres) const
{
    return text(m_fit, m_dpi, m_printer, centimetres);
}

QString SymbolFitError::text(const SymbolRenderer::Fit &fit, double dpi, bool printer, bool centimetres)
{
    // What is needed rounds up, so that the size shown is enough.
    const auto inUnit = [&](int pixels, bool up) {
        const double amount = pixels / dpi * (centimetres ? 2.54 : 1.0);
        return Numbers::lengthText(amount, centimetres ? QStringLiteral("cm") : QStringLiteral("in"), 2, up);
    };
    const QString dots = printer ? QStringLiteral("dots") : QStringLiteral("pixels");
    const QString surface = printer ? QStringLiteral("label") : QStringLiteral("picture");
    const QString dimension = fit.alongHeight ? QStringLiteral("height") : QStringLiteral("width");
    const QString extent = fit.alongHeight ? QStringLiteral("high") : QStringLiteral("wide");
    switch (fit.what) {
    case SymbolRenderer::Short::BarHeight:
        return QStringLiteral(
                   "The symbol does not fit: for bars a scanner can read (2 mm) it needs %1 (%2 %3) "
                   "of %4, but the %5 is %6 (%7 %3) %8.")
            .arg(inUnit(fit.needed, true), QString::number(fit.needed), dots, dimension, surface,
                 inUnit(fit.given, false), QString::number(fit.given), extent);
    case SymbolRenderer::Short::Text:
        return QStringLiteral("The symbol does not fit: its text would be %1 %2 high, and text needs %3 %2 "
                              "(3 pt at the least) to be read. Make the %4 larger, the text shorter, or "
                              "hide it.")
            .arg(QString::number(fit.given), dots, QString::number(fit.needed), surface);
    case SymbolRenderer::Short::Modules:
        break;
    }
    return QStringLiteral(
               "The symbol does not fit: with its quiet zones it needs %1 (%2 %3) of %4, but the %5 "
               "is %6 (%7 %3) %8.")
        .arg(inUnit(fit.needed, true), QString::number(fit.needed), dots, dimension, surface,
             inUnit(fit.given, false), QString::number(fit.given), extent);
}

QString SymbolFitError::describe(const QuillError &error, bool centimetres)
{
    const auto *fit = dynamic_cast<const SymbolFitError *>(&error);
    return fit ? fit->describe(centimetres) : error.description();
}
