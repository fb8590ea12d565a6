// The label grid as plain arithmetic: the edge cases of counting and rounding,
// and the cases that must be refused rather than printed wrongly. The common
// sheets are checked on rendered pages by print_run.
#include "LabelGrid.h"
#include "QuillError.h"

#include <QtTest>

struct Count { double w; LabelGrid::Margins label, page; int columns, rows; };
struct Position { double f, w, h, pageLeft, pageTop; float tpp; int column, row; QList<int> rect; };
struct Refusal { double w, h, labelSides; QString says; };
Q_DECLARE_METATYPE(Count)
Q_DECLARE_METATYPE(Position)
Q_DECLARE_METATYPE(Refusal)

class PrintGridTest : public QObject {
    Q_OBJECT
private slots:
    // Symbol w x 1 in on a letter page.
    void counts_data()
    {
        QTest::addColumn<Count>("c");
        QTest::newRow("exact fit counts the last cell") << Count{2.125, {}, {}, 4, 11};
        QTest::newRow("page margins wider than the page") << Count{2.0, {}, {5, 5, 0, 0}, -1, 11};
        QTest::newRow("symbol wider than the page") << Count{9.0, {}, {}, 0, 11};
        QTest::newRow("negative label margin narrows the cell") << Count{2.0, {-0.5, 0, 0, 0}, {}, 5, 11};
    }
    void counts()
    {
        QFETCH(Count, c);
        const LabelGrid grid = LabelGrid::compute(1440, c.w, 1.0, c.label, c.page, 12240, 15840);
        QCOMPARE(grid.columns, c.columns);
        QCOMPARE(grid.rows, c.rows);
        QCOMPARE(grid.fitsALabel(), c.columns > 0 && c.rows > 0);
    }

    void positions_data()
    {
        QTest::addColumn<Position>("p");
        // 720 dpi: 2 twips a pixel exactly, so 5 twips is 2.5 pixels (to 2) and 7 is 3.5 (to 4).
        QTest::newRow("half pixels round to even") << Position{1, 2.5, 1.3, 5, 7, 2.0f, 0, 0, {2, 4, 1, 1}};
        // The printer's 1.2 twips a pixel is a single-precision number a little above 1.2.
        QTest::newRow("centimetres at 1200 dpi") << Position{567, 2, 1, 1, 1, 1.2f, 1, 0, {1417, 472, 945, 472}};
    }
    void positions()
    {
        QFETCH(Position, p);
        const LabelGrid grid = LabelGrid::compute(p.f, p.w, p.h, {}, {p.pageLeft, 0, p.pageTop, 0}, 12240, 15840);
        const LabelGrid::Rect at = grid.symbolRect(p.column, p.row, p.tpp, p.tpp);
        QCOMPARE((QList<int>{at.x, at.y, at.width, at.height}), p.rect);
    }

    void refused_data()
    {
        QTest::addColumn<Refusal>("r");
        QTest::newRow("width 0, no label margins") << Refusal{0, 1, 0, "0 wide"};
        QTest::newRow("height 0, no label margins") << Refusal{2, 0, 0, "0 high"};
        QTest::newRow("margins cancel the width") << Refusal{2, 1, -1, "0 wide"};
        QTest::newRow("count beyond 32 bits") << Refusal{1e-9, 1, 0, "Overflow"};
        QTest::newRow("pixels beyond 32 bits") << Refusal{1e9, 1, 0, "Overflow"};
    }
    void refused()
    {
        QFETCH(Refusal, r);
        try {
            LabelGrid::compute(1440, r.w, r.h, {r.labelSides, r.labelSides, 0, 0}, {}, 12240, 15840)
                .symbolRect(0, 0, 2.4f, 2.4f);
            QFAIL("no error raised");
        } catch (const QuillError &error) {
            QVERIFY2(error.description().contains(r.says), qPrintable(error.description()));
        }
    }
};

QTEST_APPLESS_MAIN(PrintGridTest)
#include "print_grid.moc"
