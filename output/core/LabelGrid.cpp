#include "LabelGrid.h"
#include "Numbers.h"
#include "QuillError.h"

#include <cmath>

namespace {

// Int: the largest whole number not greater than the quotient.
std::int32_t wholeCount(double room, double cell, const char *direction)
{
    const double quotient = std::floor(room / cell);
    if (!std::isfinite(quotient))
        throw QuillError(QStringLiteral("Overflow: the number of label %1 cannot be computed.")
                             .arg(QLatin1String(direction)));
    return Numbers::toInt32(quotient);
}

} // namespace

LabelGrid LabelGrid::compute(double f, double symbolWidth, double symbolHeight, const Margins &label,
                             const Margins &page, std::int32_t pageWidthTwips, std::int32_t pageHeightTwips)
{
    LabelGrid grid;
    grid.symbolWidth = f * symbolWidth;
    grid.symbolHeight = f * symbolHeight;
    grid.cellWidth = f * symbolWidth + f * (label.left + label.right);
    grid.cellHeight = f * symbolHeight + f * (label.top + label.bottom);
    if (grid.cellWidth == 0.0)
        throw QuillError(QStringLiteral("Division by zero: the label is 0 wide (the symbol width and the "
                                        "left and right label margins add up to 0)."));
    if (grid.cellHeight == 0.0)
        throw QuillError(QStringLiteral("Division by zero: the label is 0 high (the symbol height and the "
                                        "top and bottom label margins add up to 0)."));
    grid.columns = wholeCount(pageWidthTwips - f * (page.left + page.right), grid.cellWidth, "columns");
    grid.rows = wholeCount(pageHeightTwips - f * (page.top + page.bottom), grid.cellHeight, "rows");
    grid.originX = f * page.left;
    grid.originY = f * page.top;
    return grid;
}

bool LabelGrid::liesOnPage(std::int32_t pageWidthTwips, std::int32_t pageHeightTwips) const
{
    // Half a twip of slack: an exact fit computed in floating point stays a fit.
    constexpr double slack = 0.5;
    return symbolWidth > 0 && symbolHeight > 0 && originX > -slack && originY > -slack
        && rightEdge() < pageWidthTwips + slack && bottomEdge() < pageHeightTwips + slack;
}

LabelGrid::Rect LabelGrid::symbolRect(std::int32_t column, std::int32_t row, float twipsPerPixelX,
                                      float twipsPerPixelY) const
{
    // The printer's resolutions are single precision; the division is done in double.
    const double tppX = twipsPerPixelX;
    const double tppY = twipsPerPixelY;
    Rect rect;
    try {
        rect.x = Numbers::toInt32((column * cellWidth + originX) / tppX);
        rect.y = Numbers::toInt32((row * cellHeight + originY) / tppY);
        rect.width = Numbers::toInt32(symbolWidth / tppX);
        rect.height = Numbers::toInt32(symbolHeight / tppY);
    } catch (const QuillError &error) {
        throw QuillError(QStringLiteral("The label in column %1, row %2 is too large or too far out for the "
                                        "printer. %3")
                             .arg(column + 1)
                             .arg(row + 1)
                             .arg(error.description()));
    }
    return rect;
}
