// Label products read from the real template files of glabels-data: the
// numbers the chooser fills in must give the printing run's grid exactly the
// product's columns and rows, each label where the product has it.
#include "LabelGrid.h"
#include "LabelProducts.h"

#include <QTest>
#include <cmath>

class LabelProductsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_products = LabelProducts::load(LabelProducts::defaultFolder());
        QVERIFY2(m_products.size() > 500, "glabels-data is installed by make test");
    }

    void productGrid_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("paper");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<double>("twipsPerUnit");
        QTest::newRow("Avery 5160, inches") << "Avery 5160" << "US-Letter" << 3 << 10 << 1440.0;
        QTest::newRow("Avery 5160, cm") << "avery 5160" << "" << 3 << 10 << 567.0;
        QTest::newRow("Avery 5260, same sheet by another number") << "Avery 5260" << "" << 3 << 10 << 1440.0;
        QTest::newRow("Zweckform 3474, cm") << "Zweckform 3474" << "A4" << 3 << 8 << 567.0;
        QTest::newRow("Zweckform 3474, inches") << "zweckform 3474" << "" << 3 << 8 << 1440.0;
        QTest::newRow("Brother DK-1201 roll") << "Brother DK-1201" << "" << 1 << 1 << 567.0;
    }
    void productGrid()
    {
        QFETCH(QString, query);
        QFETCH(QString, paper);
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(double, twipsPerUnit);
        const auto found = LabelProducts::search(m_products, query, paper);
        QVERIFY(!found.empty());
        const LabelProduct &p = *found.front();
        QCOMPARE(p.name().toLower(), query.toLower());
        QCOMPARE(p.columns, columns);
        QCOMPARE(p.rows, rows);
        const LabelProductFill f = LabelProducts::fill(p, twipsPerUnit);
        QVERIFY(f.width * twipsPerUnit <= p.labelWidth * 20 && f.height * twipsPerUnit <= p.labelHeight * 20);
        const auto grid = LabelGrid::compute(twipsPerUnit, f.width, f.height,
                                             {f.labelLeft, f.labelRight, f.labelTop, f.labelBottom},
                                             {f.pageLeft, f.pageRight, f.pageTop, f.pageBottom},
                                             std::lround(p.paperWidth * 20), std::lround(p.paperHeight * 20));
        QCOMPARE(grid.columns, columns);
        QCOMPARE(grid.rows, rows);
        // Every label's corner within one dot of the product's, at 203 and 1200 dpi.
        for (float tpp : {1440.f / 203, 1440.f / 1200}) {
            for (int c = 0; c < columns; ++c) {
                for (int r = 0; r < rows; ++r) {
                    const auto rect = grid.symbolRect(c, r, tpp, tpp);
                    QVERIFY(std::abs(rect.x - (p.left + c * p.pitchX) * 20 / tpp) <= 1);
                    QVERIFY(std::abs(rect.y - (p.top + r * p.pitchY) * 20 / tpp) <= 1);
                }
            }
        }
    }

    void searchAndMissingTemplates()
    {
        QVERIFY(LabelProducts::search(m_products, "Avery 5160", "A4").empty());
        const auto a4 = LabelProducts::search(m_products, "", "A4");
        QVERIFY(a4.size() > 100 && a4.size() < m_products.size());
        QCOMPARE(m_products.front().summary().isEmpty(), false);
        QString error;
        QVERIFY(LabelProducts::load(QStringLiteral("/nonexistent"), &error).empty());
        QVERIFY(error.contains("apt-get install glabels-data"));
    }

private:
    std::vector<LabelProduct> m_products;
};

QTEST_GUILESS_MAIN(LabelProductsTest)
#include "label_products.moc"
