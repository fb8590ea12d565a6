// The label grid as plain arithmetic: counts, positions and the cases that must
// be refused rather than printed wrongly.
#include "LabelGrid.h"
#include "QuillError.h"

#include <QtTest>

class PrintGridTest : public QObject {
    Q_OBJECT
private slots:
    void counts_data();
    void counts();
    void positions_data();
    void positions();
    void labelMarginsWidenTheCellOnly();
    void refused_data();
    void refused();
};

void PrintGridTest::counts_data()
{
    QTest::addColumn<double>("f");
    QTest::addColumn<double>("w");
    QTest::addColumn<double>("h");
    QTest::addColumn<QList<double>>("label"); // left, right, top, bottom
    QTest::addColumn<QList<double>>("page");
    QTest::addColumn<int>("pageW");
    QTest::addColumn<int>("pageH");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");

    const QList<double> none{0, 0, 0, 0};
    QTest::newRow("letter, 2 x 1 in: 44 a page") << 1440.0 << 2.0 << 1.0 << none << none << 12240 << 15840 << 4 << 11;
    // 5.08 cm is 2880.36 twips: still 4 columns, but 2.54 cm rows leave only 10.
    QTest::newRow("letter, 5.08 x 2.54 cm") << 567.0 << 5.08 << 2.54 << none << none << 12240 << 15840 << 4 << 10;
    QTest::newRow("A4, 2 x 1 in") << 1440.0 << 2.0 << 1.0 << none << none << 11900 << 16840 << 4 << 11;
    QTest::newRow("4 x 2 grid from page margins") << 1440.0 << 2.0 << 1.0 << none << QList<double>{0, 0, 1, 8}
                                                    << 12240 << 15840 << 4 << 2;
    QTest::newRow("label margins widen the cell") << 1440.0 << 2.0 << 1.0 << QList<double>{0.5, 0.5, 0.25, 0.25}
                                                  << none << 12240 << 15840 << 2 << 7;
    QTest::newRow("exact fit counts the last cell") << 1440.0 << 2.125 << 1.0 << none << none << 12240 << 15840 << 4 << 11;
    QTest::newRow("page margins wider than the page") << 1440.0 << 2.0 << 1.0 << none << QList<double>{5, 5, 0, 0}
                                                      << 12240 << 15840 << -1 << 11;
    QTest::newRow("symbol wider than the page") << 1440.0 << 9.0 << 1.0 << none << none << 12240 << 15840 << 0 << 11;
    QTest::newRow("negative label margin narrows the cell") << 1440.0 << 2.0 << 1.0 << QList<double>{-0.5, 0, 0, 0}
                                                            << none << 12240 << 15840 << 5 << 11;
}

void PrintGridTest::counts()
{
    QFETCH(double, f);
    QFETCH(double, w);
    QFETCH(double, h);
    QFETCH(QList<double>, label);
    QFETCH(QList<double>, page);
    QFETCH(int, pageW);
    QFETCH(int, pageH);
    QFETCH(int, columns);
    QFETCH(int, rows);
    const LabelGrid grid = LabelGrid::compute(f, w, h, {label[0], label[1], label[2], label[3]},
                                              {page[0], page[1], page[2], page[3]}, pageW, pageH);
    QCOMPARE(grid.columns, columns);
    QCOMPARE(grid.rows, rows);
    QCOMPARE(grid.fitsALabel(), columns > 0 && rows > 0);
}

void PrintGridTest::positions_data()
{
    QTest::addColumn<double>("f");
    QTest::addColumn<double>("pageLeft");
    QTest::addColumn<double>("pageTop");
    QTest::addColumn<double>("tpp");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<int>>("expected"); // x, y, width, height in device pixels

    // 600 dpi: 2.4 twips a pixel.
    QTest::newRow("first cell at 600 dpi") << 1440.0 << 0.0 << 0.0 << 2.4 << 0 << 0 << QList<int>{0, 0, 1200, 600};
    QTest::newRow("cell 3,10 at 600 dpi") << 1440.0 << 0.0 << 0.0 << 2.4 << 3 << 10 << QList<int>{3600, 6000, 1200, 600};
    QTest::newRow("page margins move the origin") << 1440.0 << 0.5 << 0.25 << 2.4 << 1 << 1
                                                   << QList<int>{1500, 750, 1200, 600};
    // 720 dpi: 2 twips a pixel exactly, so 5 twips is 2.5 pixels (to 2) and 7 is 3.5 (to 4).
    QTest::newRow("half pixels round to even") << 1.0 << 5.0 << 7.0 << 2.0 << 0 << 0
                                               << QList<int>{2, 4, 1, 1};
    // The printer's 1.2 twips a pixel is a single-precision number a little above 1.2.
    QTest::newRow("centimetres at 1200 dpi") << 567.0 << 1.0 << 1.0 << 1.2 << 1 << 0
                                             << QList<int>{1417, 472, 945, 472};
}

void PrintGridTest::positions()
{
    QFETCH(double, f);
    QFETCH(double, pageLeft);
    QFETCH(double, pageTop);
    QFETCH(double, tpp);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QList<int>, expected);
    // Symbol 2 x 1 units except for the rounding rows, which use 2.5 x 1.3 twips.
    const bool tiny = f == 1.0;
    const double w = tiny ? 2.5 : 2.0, h = tiny ? 1.3 : 1.0;
    const LabelGrid grid = LabelGrid::compute(f, w, h, {}, {pageLeft, 0, pageTop, 0}, 12240, 15840);
    const LabelGrid::Rect at = grid.symbolRect(column, row, float(tpp), float(tpp));
    QCOMPARE((QList<int>{at.x, at.y, at.width, at.height}), expected);
}

void PrintGridTest::labelMarginsWidenTheCellOnly()
{
    // Left 0.5 with right 0, or left 0 with right 0.5: the same places on paper,
    // and the symbol keeps its size at the cell's top-left corner.
    const LabelGrid a = LabelGrid::compute(1440, 2, 1, {0.5, 0, 0, 0}, {}, 12240, 15840);
    const LabelGrid b = LabelGrid::compute(1440, 2, 1, {0, 0.5, 0, 0}, {}, 12240, 15840);
    QCOMPARE(a.columns, b.columns);
    for (int column = 0; column < a.columns; ++column) {
        const LabelGrid::Rect ra = a.symbolRect(column, 1, 2.4f, 2.4f);
        const LabelGrid::Rect rb = b.symbolRect(column, 1, 2.4f, 2.4f);
        QCOMPARE(ra.x, rb.x);
        QCOMPARE(ra.x, column * 1500); // 2.5 in cells at 600 dpi
        QCOMPARE(ra.width, 1200);
    }
}

void PrintGridTest::refused_data()
{
    QTest::addColumn<double>("w");
    QTest::addColumn<double>("h");
    QTest::addColumn<double>("labelSides");
    QTest::addColumn<double>("tpp");
    QTest::addColumn<QString>("says");

    QTest::newRow("width 0, no label margins") << 0.0 << 1.0 << 0.0 << 2.4 << "0 wide";
    QTest::newRow("height 0, no label margins") << 2.0 << 0.0 << 0.0 << 2.4 << "0 high";
    QTest::newRow("margins cancel the width") << 2.0 << 1.0 << -1.0 << 2.4 << "0 wide";
    QTest::newRow("count beyond 32 bits") << 1e-9 << 1.0 << 0.0 << 2.4 << "Overflow";
    QTest::newRow("pixels beyond 32 bits") << 1e9 << 1.0 << 0.0 << 2.4 << "Overflow";
}

void PrintGridTest::refused()
{
    QFETCH(double, w);
    QFETCH(double, h);
    QFETCH(double, labelSides);
    QFETCH(double, tpp);
    QFETCH(QString, says);
    try {
        const LabelGrid grid = LabelGrid::compute(1440, w, h, {labelSides, labelSides, 0, 0}, {}, 12240, 15840);
        grid.symbolRect(0, 0, float(tpp), float(tpp));
        QFAIL("no error raised");
    } catch (const QuillError &error) {
        QVERIFY2(error.description().contains(says), qPrintable(error.description()));
    }
}

QTEST_APPLESS_MAIN(PrintGridTest)
#include "print_grid.moc"
