// The printing run with the core alone, without a widget or a printer driver
// (this program links nothing else): sheets drawn on a PDF writer through the
// printer interface, read back by poppler, every label cell decoded by
// zxing-cpp at its place on its page.
#include "FakeControls.h"
#include "LabelPrinter.h"
#include "Module1.h"
#include "PdfCheck.h"
#include "PrintRun.h"
#include "SymbolDesign.h"

#include "Decode.h"

#include <QPainter>
#include <QPdfWriter>
#include <QtTest>
#include <optional>

namespace {

constexpr double kDpi = 150; // of the rendered pages

// A PDF file at 300 dpi on US letter, as the printing run sees a printer.
class PdfPrinter : public LabelPrinter {
public:
    explicit PdfPrinter(const QString &file)
        : m_file(file)
    {
    }
    QString deviceName() const override { return QStringLiteral("PDF"); }
    void beginJob() override
    {
        m_writer.emplace(m_file);
        m_writer->setPageMargins(QMarginsF());
        m_writer->setResolution(300);
        m_writer->setPageSize(QPageSize(QPageSize::Letter));
        m_painter.emplace(&*m_writer);
    }
    QPainter &painter() override { return *m_painter; }
    std::int32_t pageWidthTwips() const override { return 8.5 * 1440; }
    std::int32_t pageHeightTwips() const override { return 11 * 1440; }
    float twipsPerPixelX() const override { return 1440.0f / 300; }
    float twipsPerPixelY() const override { return 1440.0f / 300; }
    void newPage() override { m_writer->newPage(); }
    void endJob() override
    {
        m_painter.reset();
        m_writer.reset();
    }
    void abortJob() override
    {
        if (!m_painter)
            return;
        endJob();
        QFile::remove(m_file);
    }

private:
    QString m_file;
    std::optional<QPdfWriter> m_writer;
    std::optional<QPainter> m_painter;
};

// The component as its preview sees it: the font size of its last redraw.
struct Watched : SymbolDesign {
    double shownSize = 0;
    void changed(bool) override { shownSize = Font().Size(); }
};

// Margins in inches, as typed into the print dialog.
struct Margins {
    double labelLeft = 0, labelRight = 0, labelTop = 0, labelBottom = 0;
    double pageLeft = 0, pageRight = 0, pageTop = 0, pageBottom = 0;
};

// Where the labels land, in inches: each cell, the symbol in it, and the grid's origin.
struct Grid {
    double cellWidth = 2, cellHeight = 1, symbolWidth = 2, symbolHeight = 1, left = 0, top = 0;
};

enum Source { FixedText = 1, Sequence = 2, TitledFile = 3, PlainFile = 4 };

// One printed sheet: the source and its values, the size as the designer shows
// it in inches, or centimetres with "cm"; the grid and each page's values (an
// empty value an empty cell); the copies of each label.
struct Sheet {
    Source source = Sequence;
    QStringList values;
    QString size = QStringLiteral("2.00 1.00");
    Margins margins = {};
    Grid grid = {};
    int columns = 4, rows = 11;
    QList<QStringList> pages;
    int copies = 1;
};

// "01".."10": the values a sequence gives, zero padded to the start's width.
QStringList sequence(int from, int to, int width)
{
    QStringList values;
    for (int i = from; i <= to; ++i)
        values << QStringLiteral("%1").arg(i, width, 10, QChar(u'0'));
    return values;
}

// Each value so many times in a row, as copies of each label print them.
QStringList copied(const QStringList &values, int copies)
{
    QStringList labels;
    for (const QString &value : values)
        labels << QStringList(copies, value);
    return labels;
}

} // namespace
Q_DECLARE_METATYPE(Sheet)

class CoreTest : public QObject {
    Q_OBJECT
private slots:
    void sheets_data()
    {
        QTest::addColumn<Sheet>("s");
        const Margins twoRows{.pageTop = 1, .pageBottom = 8};
        const Grid belowAnInch{.top = 1};
        const QStringList v8 = sequence(1, 8, 2);
        const QStringList v41 = sequence(1, 41, 3);
        const QStringList v7 = sequence(1, 7, 2);
        const QStringList imported{"A-1", "B-2"};
        const QStringList twice = copied(v7, 2);
        QTest::newRow("8 values on 4 x 2: 1 page")
            << Sheet{.values = v8, .margins = twoRows, .grid = belowAnInch, .rows = 2, .pages = {v8}};
        QTest::newRow("7 values, 2 copies each, on 4 x 2: 2 pages")
            << Sheet{.values = v7,
                     .margins = twoRows,
                     .grid = belowAnInch,
                     .rows = 2,
                     .pages = {twice.mid(0, 8), twice.mid(8)},
                     .copies = 2};
        QTest::newRow("2 titled values, 3 copies each")
            << Sheet{.source = TitledFile, .values = imported, .pages = {copied(imported, 3)}, .copies = 3};
        QTest::newRow("left label margin") << Sheet{.values = v7,
                                                    .margins = {.labelLeft = 0.5, .labelBottom = 0.5},
                                                    .grid = {.cellWidth = 2.5, .cellHeight = 1.5},
                                                    .columns = 3,
                                                    .rows = 7,
                                                    .pages = {v7}};
        QTest::newRow("page margins")
            << Sheet{.values = v7,
                     .margins = {.pageLeft = 0.5, .pageRight = 1.5, .pageTop = 0.75},
                     .grid = {.left = 0.5, .top = 0.75},
                     .columns = 3,
                     .rows = 10,
                     .pages = {v7}};
        QTest::newRow("fixed text, 3 copies: one page still") << Sheet{
            .source = FixedText, .values = {"FIXED"}, .pages = {QStringList(44, "FIXED")}, .copies = 3};
        QTest::newRow("empty fixed text")
            << Sheet{.source = FixedText, .values = {""}, .pages = {QStringList(44, "")}};
        QTest::newRow("empty first value")
            << Sheet{.source = PlainFile, .values = {"", "A-1", "B-2"}, .pages = {{"", "A-1", "B-2"}}};
        QTest::newRow("comma locale") << Sheet{.values = v7.mid(0, 4),
                                               .size = "2,00 1,00",
                                               .margins = {.pageTop = 0.5},
                                               .grid = {.top = 0.5},
                                               .rows = 10,
                                               .pages = {v7.mid(0, 4)}};
        // 5.08 x 2.54 cm is 2880.36 x 1440.18 twips: 10 rows fit, not 11.
        QTest::newRow("cm") << Sheet{
            .values = v41,
            .size = "5.08 2.54 cm",
            .grid = {.cellWidth = 2.032, .cellHeight = 1.016, .symbolWidth = 2.032, .symbolHeight = 1.016},
            .rows = 10,
            .pages = {v41.mid(0, 40), v41.mid(40)}};
    }

    void sheets()
    {
        QFETCH(Sheet, s);
        if (s.size.contains(u','))
            QLocale::setDefault(QLocale(QLocale::German));
        const auto systemLocale = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
        QTemporaryDir dir;
        FakeControls controls;
        controls.source(std::min<int>(s.source, TitledFile));
        controls.t1 = s.values.first();
        controls.t2 = s.values.first();
        controls.t3 = s.values.last();
        controls.t4 = dir.filePath("values.txt");
        QFile file(controls.t4);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (const QString &value : s.values) {
            file.write(value.toLatin1() + "\r\n");
            if (s.source == TitledFile) // with the titles on lines of their own
                file.write("Title " + value.toLatin1() + "\r\n");
        }
        file.close();
        Module1 data(controls);
        Watched symbol;
        symbol.setBarType(std::int16_t(Symbology::Code128));
        symbol.Font().setSize(14.0);
        const auto typed = [](double inches) { return QLocale().toString(inches); };
        const Margins &m = s.margins;
        PrintRun::Sheet sheet{
            .width = s.size.section(u' ', 0, 0),
            .height = s.size.section(u' ', 1, 1),
            .margins = {typed(m.labelLeft), typed(m.labelRight), typed(m.labelTop), typed(m.labelBottom),
                        typed(m.pageLeft), typed(m.pageRight), typed(m.pageTop), typed(m.pageBottom)},
            .fixedText = s.source == FixedText,
            .titled = s.source == TitledFile,
            .centimetres = s.size.endsWith("cm"),
        };
        if (sheet.centimetres)
            sheet.twipsPerUnit = Numbers::kTwipsPerCm;
        const QString pdf = dir.filePath("labels.pdf");
        PdfPrinter printer(pdf);
        PrintRun run(symbol, data, printer, sheet);
        run.setCopies(s.copies);
        QVERIFY2(run.execute(), qPrintable(run.error()));
        const int perPage = s.columns * s.rows;
        QCOMPARE(run.labelsDrawn(), perPage * (s.pages.size() - 1) + s.pages.last().size());
        // The preview shows the last value in the font size it had before the run.
        QCOMPARE(symbol.Font().Size(), 14.0);
        QCOMPARE(symbol.shownSize, 14.0);
        const QList<QImage> pages = PdfCheck::render(pdf, kDpi);
        QCOMPARE(pages.size(), s.pages.size());
        const Grid &g = s.grid;
        for (int p = 0; p < s.pages.size(); ++p) {
            const QRect pageInk = Decode::inkBox(pages[p], pages[p].rect());
            QVERIFY(pageInk.top() >= qFloor(g.top * kDpi)); // nothing above the grid
            for (int cell = 0; cell < perPage; ++cell) {
                const double x = g.left + cell % s.columns * g.cellWidth;
                const double y = g.top + cell / s.columns * g.cellHeight;
                const QRect cellRect(x * kDpi, y * kDpi, g.cellWidth * kDpi, g.cellHeight * kDpi);
                const QRect symbolRect(x * kDpi, y * kDpi, g.symbolWidth * kDpi, g.symbolHeight * kDpi);
                const QRect ink = Decode::inkBox(pages[p], cellRect);
                const QString value = s.pages[p].value(cell);
                const QString where = QStringLiteral("page %1, cell %2").arg(p).arg(cell);
                QVERIFY2(ink.isNull() == value.isEmpty(), qPrintable(where));
                if (value.isEmpty())
                    continue;
                // Everything drawn for the label stays inside its symbol rectangle.
                QVERIFY2(symbolRect.adjusted(-2, -2, 2, 2).contains(ink), qPrintable(where));
                QCOMPARE(Decode::zxingOne(Decode::label(pages[p], symbolRect)), value);
            }
        }
        // Beyond one page's labels: nothing printed, the file gone, the font back.
        run.setFirstLabel(perPage + 1);
        QVERIFY(!run.execute());
        const QString range = QStringLiteral("must be from 1 to %1").arg(perPage);
        QVERIFY2(run.error().contains(range), qPrintable(run.error()));
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(symbol.Font().Size(), 14.0);
        QCOMPARE(symbol.shownSize, 14.0);
        run.setFirstLabel(1);
        run.setCopies(1000);
        QVERIFY(!run.execute());
        QCOMPARE(run.error(), QStringLiteral("\"Copies of each label\" must be from 1 to 999."));
    }
};

QTEST_MAIN(CoreTest)
#include "tst_core.moc"
