#pragma once
#include <cstdint>

// The grid of label cells on a printed page. Lengths are twips; the symbol
// sits at the top-left corner of its cell, the label margins only widen the
// cell, and the page right and bottom margins only reduce the counts.
class LabelGrid {
public:
    struct Margins {
        double left = 0, right = 0, top = 0, bottom = 0;
    };
    struct Rect {
        std::int32_t x = 0, y = 0, width = 0, height = 0;
    };

    // f: twips per unit; symbol width/height, label and page margins in that
    // unit; page size in twips. Raises QuillError when a cell is 0 long or a
    // count does not fit in a 32-bit integer.
    static LabelGrid compute(double f, double symbolWidth, double symbolHeight, const Margins &label,
                             const Margins &page, std::int32_t pageWidthTwips, std::int32_t pageHeightTwips);

    double cellWidth = 0, cellHeight = 0; // twips
    double originX = 0, originY = 0; // twips
    double symbolWidth = 0, symbolHeight = 0; // twips
    std::int32_t columns = 0, rows = 0; // 0 or less: no label fits that way

    bool fitsALabel() const { return columns > 0 && rows > 0; }
    // Every symbol of the grid wholly inside the page (twips), and not empty.
    bool liesOnPage(std::int32_t pageWidthTwips, std::int32_t pageHeightTwips) const;
    double rightEdge() const { return originX + (columns - 1) * cellWidth + symbolWidth; }
    double bottomEdge() const { return originY + (rows - 1) * cellHeight + symbolHeight; }
    // Where the symbol of a cell goes, in device pixels (rounded halves to even).
    Rect symbolRect(std::int32_t column, std::int32_t row, float twipsPerPixelX, float twipsPerPixelY) const;
};
