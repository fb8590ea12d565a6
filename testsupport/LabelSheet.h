#pragma once
#include <QRectF>
#include <QString>

// The sheet every benchmark prints on, the layout of Avery 5160: 3 x 10
// labels of 2.625 x 1 inch on US letter, 30 a page. All lengths are inches and
// exact in binary, so that the printing run's grid counts come out whole:
// (8.5 - 0.15625) / (2.5 + 0.125 + 0.15625) is exactly 3 columns and
// (11 - 0.5 - 0.5) / (0.75 + 0.25) exactly 10 rows. The symbol width and height
// have at most two decimals because the designer shows two.
struct LabelSheet {
    static constexpr double pageWidth = 8.5;
    static constexpr double pageHeight = 11.0;
    static constexpr double symbolWidth = 2.5;
    static constexpr double symbolHeight = 0.75;
    static constexpr double labelLeft = 0.125;
    static constexpr double labelRight = 0.15625;
    static constexpr double labelTop = 0.25;
    static constexpr double labelBottom = 0.0;
    static constexpr double pageLeft = 0.15625;
    static constexpr double pageRight = 0.0;
    static constexpr double pageTop = 0.5;
    static constexpr double pageBottom = 0.5;
    static constexpr int columns = 3;
    static constexpr int rows = 10;
    static constexpr int labelsPerPage = columns * rows;

    static constexpr double cellWidth() { return symbolWidth + labelLeft + labelRight; }
    static constexpr double cellHeight() { return symbolHeight + labelTop + labelBottom; }

    // The cell of the index-th label of a page (0 top left, filled by rows), in inches.
    static QRectF cell(int indexOnPage);

    // A length as typed into the program's boxes: "." as the decimal point.
    static QString text(double inches);
};

// The values of the sequence source for a start text such as "00001": the start
// as typed, then each further number zero-padded to the start text's length.
QString sequenceValue(qint64 position, const QString &start); // position 1 = the start
