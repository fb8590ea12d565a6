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
    explicit PdfPrinter(const QString &file) : m_file(file) {}
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

class CoreTest : public QObject {
    Q_OBJECT
private slots:
    // One printed sheet: the source (1 fixed text, 2 sequence, 3 import file
    // with titles, 4 without) and its values, the size as the designer shows it
    // in inches, or centimetres with "cm"; label then page margins; cell w, h,
    // symbol w, h, origin x, y in inches; the grid and each page's values (an
    // empty value an empty cell); the copies of each label.
    void sheets()
    {
        struct Sheet { const char *name; int source; QStringList values; QString size; QList<double> margins, sheet;
                       int columns, rows; QList<QStringList> pages; int copies = 1; };
        const QList<double> none(8, 0.0), whole{2, 1, 2, 1, 0, 0}, twoRows{0, 0, 0, 0, 0, 0, 1, 8};
        const QStringList v10 = sequence(1, 10, 2), v41 = sequence(1, 41, 3), v7 = sequence(1, 7, 2), imported{"A-1", "B-2"};
        const QStringList twice = copied(v7, 2);
        const Sheet sheets[] = {
            {"10 values on 4 x 2: 2 pages", 2, v10, "2.00 1.00", twoRows, {2, 1, 2, 1, 0, 1}, 4, 2, {v10.mid(0, 8), v10.mid(8)}},
            {"8 values on 4 x 2: 1 page", 2, v10.mid(0, 8), "2.00 1.00", twoRows, {2, 1, 2, 1, 0, 1}, 4, 2, {v10.mid(0, 8)}},
            {"7 values, 2 copies each, on 4 x 2: 2 pages", 2, v7, "2.00 1.00", twoRows, {2, 1, 2, 1, 0, 1},
             4, 2, {twice.mid(0, 8), twice.mid(8)}, 2},
            {"2 titled values, 3 copies each", 3, imported, "2.00 1.00", none, whole,
             4, 11, {copied(imported, 3)}, 3},
            {"left label margin", 2, v7, "2.00 1.00", {0.5, 0, 0, 0.5, 0, 0, 0, 0}, {2.5, 1.5, 2, 1, 0, 0}, 3, 7, {v7}},
            {"page margins", 2, v7, "2.00 1.00", {0, 0, 0, 0, 0.5, 1.5, 0.75, 0}, {2, 1, 2, 1, 0.5, 0.75}, 3, 10, {v7}},
            {"fixed text, 3 copies: one page still", 1, {"FIXED"}, "2.00 1.00", none, whole, 4, 11,
             {QStringList(44, "FIXED")}, 3},
            {"empty fixed text", 1, {""}, "2.00 1.00", none, whole, 4, 11, {QStringList(44, "")}},
            {"empty first value", 4, {"", "A-1", "B-2"}, "2.00 1.00", none, whole, 4, 11, {{"", "A-1", "B-2"}}},
            {"comma locale", 2, v7.mid(0, 4), "2,00 1,00", {0, 0, 0, 0, 0, 0, 0.5, 0}, {2, 1, 2, 1, 0, 0.5}, 4, 10, {v7.mid(0, 4)}},
            // 5.08 x 2.54 cm is 2880.36 x 1440.18 twips: 10 rows fit, not 11.
            {"cm", 2, v41, "5.08 2.54 cm", none, {2.032, 1.016, 2.032, 1.016, 0, 0}, 4, 10, {v41.mid(0, 40), v41.mid(40)}}};
        for (const Sheet &s : sheets) {
            QLocale::setDefault(s.size.contains(u',') ? QLocale(QLocale::German) : QLocale::system());
            QTemporaryDir dir;
            FakeControls controls;
            controls.source(s.source > 2 ? 3 : s.source);
            controls.t1 = s.values.first(), controls.t2 = s.values.first(), controls.t3 = s.values.last();
            QFile file(controls.t4 = dir.filePath("values.txt"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            for (const QString &value : s.values) // with the titles on lines of their own
                file.write(value.toLatin1() + (s.source == 3 ? "\r\nTitle " + value.toLatin1() : "") + "\r\n");
            file.close();
            Module1 data(controls);
            Watched symbol;
            symbol.setBarType(std::int16_t(Symbology::Code128)), symbol.Font().setSize(14.0);
            PrintRun::Sheet sheet;
            sheet.width = s.size.section(u' ', 0, 0), sheet.height = s.size.section(u' ', 1, 1);
            sheet.centimetres = s.size.endsWith("cm");
            sheet.twipsPerUnit = sheet.centimetres ? Numbers::kTwipsPerCm : Numbers::kTwipsPerInch;
            sheet.fixedText = s.source == 1, sheet.titled = s.source == 3;
            const auto m = [&s](int i) { return QLocale().toString(s.margins[i]); }; // as typed
            sheet.margins = {m(0), m(1), m(2), m(3), m(4), m(5), m(6), m(7)};
            const QString pdf = dir.filePath("labels.pdf");
            PdfPrinter printer(pdf);
            PrintRun run(symbol, data, printer, sheet);
            run.setCopies(s.copies);
            QVERIFY2(run.execute(), qPrintable(run.error()));
            QCOMPARE(run.labelsDrawn(), s.columns * s.rows * (s.pages.size() - 1) + s.pages.last().size());
            // The preview shows the last value in the font size it had before the run.
            QVERIFY(symbol.Font().Size() == 14 && symbol.shownSize == 14);
            const QList<QImage> pages = PdfCheck::render(pdf, kDpi);
            QVERIFY(PdfCheck::pageCount(pdf) == s.pages.size() && pages.size() == s.pages.size());
            for (int p = 0; p < s.pages.size(); ++p) {
                QVERIFY(s.sheet[5] == 0 || Decode::inkBox(pages[p], QRect(0, 0, 8.5 * kDpi, s.sheet[5] * kDpi)).isNull()); // nothing above the grid
                for (int cell = 0; cell < s.columns * s.rows; ++cell) {
                    const double x = s.sheet[4] + cell % s.columns * s.sheet[0], y = s.sheet[5] + cell / s.columns * s.sheet[1];
                    const QRect ink = Decode::inkBox(pages[p], QRect(x * kDpi, y * kDpi, s.sheet[0] * kDpi, s.sheet[1] * kDpi));
                    const QRect symbolRect(x * kDpi, y * kDpi, s.sheet[2] * kDpi, s.sheet[3] * kDpi);
                    const QString value = s.pages[p].value(cell), where = QStringLiteral("%1, page %2, cell %3").arg(s.name).arg(p).arg(cell);
                    // Everything drawn for the label stays inside its symbol rectangle.
                    QVERIFY2(ink.isNull() == value.isEmpty() && (ink.isNull() || symbolRect.adjusted(-2, -2, 2, 2).contains(ink)), qPrintable(where));
                    if (!value.isEmpty())
                        QCOMPARE(Decode::zxingOne(Decode::label(pages[p], symbolRect)), value);
                }
            }
            // Beyond one page's labels: nothing printed, the file gone, the font back.
            run.setFirstLabel(s.columns * s.rows + 1);
            QVERIFY2(!run.execute() && run.error().contains(QStringLiteral("must be from 1 to %1").arg(s.columns * s.rows)),
                     qPrintable(run.error()));
            QVERIFY(!QFile::exists(pdf) && symbol.Font().Size() == 14.0 && symbol.shownSize == 14);
            run.setFirstLabel(1);
            run.setCopies(1000);
            QVERIFY(!run.execute());
            QCOMPARE(run.error(), QStringLiteral("\"Copies of each label\" must be from 1 to 999."));
            QLocale::setDefault(QLocale::system());
        }
    }
};

QTEST_MAIN(CoreTest)
#include "tst_core.moc"
