// The printing run, printed to PDF files and read back from outside: pdfinfo
// counts the pages, pdftoppm renders them and zxing-cpp decodes every label
// cell, so each value is checked at its place on its page.
#include "PrinterObject.h"
#include "ScreenMetrics.h"
#include "frmPrint.h"
#include "print_standins.h"

#include "common/Decode.h"

#include <QLineEdit>
#include <QPushButton>
#include <QPrinter>
#include <QtTest>

namespace {

constexpr int kDpi = 150;

// "01".."10": the values a sequence gives, zero padded to the start's width.
QStringList sequence(int from, int to, int width)
{
    QStringList values;
    for (int i = from; i <= to; ++i)
        values << QStringLiteral("%1").arg(i, width, 10, QLatin1Char('0'));
    return values;
}

// A rectangle given in inches, in the rendered page's pixels.
QRect pixels(double left, double top, double width, double height)
{
    return QRect(qRound(left * kDpi), qRound(top * kDpi), qRound(width * kDpi), qRound(height * kDpi));
}

QString decodeAt(const QImage &page, const QRect &symbol) { return Decode::zxingOne(PdfPages::label(page, symbol)); }

// Bounding box of the dark pixels inside an area; null when it is blank.
QRect inkBox(const QImage &page, const QRect &area)
{
    const QImage gray = page.copy(area).convertToFormat(QImage::Format_Grayscale8);
    QRect box;
    for (int y = 0; y < gray.height(); ++y) {
        for (int x = 0; x < gray.width(); ++x) {
            if (gray.constScanLine(y)[x] < 128)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box.isNull() ? box : box.translated(area.topLeft());
}

// Whatever a print job left in a folder: finished or half-written PDFs.
QStringList jobFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.pdf"), QStringLiteral("*.part*"), QStringLiteral("*.job")},
                                  QDir::Files | QDir::Hidden);
}

// The tests' sheets are US letter, 8.5 x 11 inches.
QString usePdfFile(StandInDesigner &designer, const QString &name = QStringLiteral("labels.pdf"))
{
    const QString path = name.isEmpty() ? QString() : designer.dir.filePath(name);
    PrinterObject::current().selectPdfFile(path);
    PrinterObject::current().qprinter().setPageSize(QPageSize(QPageSize::Letter));
    return path;
}

void writeLines(StandInDesigner &designer, const QStringList &lines)
{
    QFile file(designer.dir.filePath("values.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(lines.join('\n').toLatin1() + '\n');
    designer.source(3);
    designer.t4 = file.fileName();
}

// One printed sheet: the source (1 fixed text, 2 sequence, 3 import file with
// titles) and its values, the size as the designer shows it ("cm" for
// centimetres), label then page margins in the unit, the expected cell w, h,
// symbol w, h and origin x, y in inches, the grid and each page's values.
struct Sheet {
    int source;
    QStringList values;
    QString size;
    QList<double> margins, sheet;
    int columns, rows;
    QList<QStringList> pages;
};

} // namespace

Q_DECLARE_METATYPE(Sheet)

class PrintRunTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ScreenMetrics::overrideDpi(96, 96); }

    void sheets_data()
    {
        QTest::addColumn<Sheet>("s");
        const QList<double> none(8, 0.0), whole{2, 1, 2, 1, 0, 0};
        const QStringList v10 = sequence(1, 10, 2), v41 = sequence(1, 41, 3);
        QTest::newRow("letter page, 2 x 1 in: 44 labels")
            << Sheet{2, sequence(1, 44, 3), "2.00 1.00", none, whole, 4, 11, {sequence(1, 44, 3)}};
        // Page margins top 1 and bottom 8 leave room for two rows of four.
        const QList<double> twoRows{0, 0, 0, 0, 0, 0, 1, 8}, twoRowsSheet{2, 1, 2, 1, 0, 1};
        QTest::newRow("10 values on a 4 x 2 grid: 2 pages")
            << Sheet{2, v10, "2.00 1.00", twoRows, twoRowsSheet, 4, 2, {v10.mid(0, 8), v10.mid(8)}};
        QTest::newRow("8 values on a 4 x 2 grid: 1 page")
            << Sheet{2, v10.mid(0, 8), "2.00 1.00", twoRows, twoRowsSheet, 4, 2, {v10.mid(0, 8)}};
        QTest::newRow("left label margin: symbol at the cell's left") << Sheet{2, sequence(1, 7, 2), "2.00 1.00",
            {0.5, 0, 0, 0.5, 0, 0, 0, 0}, {2.5, 1.5, 2, 1, 0, 0}, 3, 7, {sequence(1, 7, 2)}};
        QTest::newRow("right label margin: the same places") << Sheet{2, sequence(1, 7, 2), "2.00 1.00",
            {0, 0.5, 0.5, 0, 0, 0, 0, 0}, {2.5, 1.5, 2, 1, 0, 0}, 3, 7, {sequence(1, 7, 2)}};
        QTest::newRow("page margins move the grid") << Sheet{2, sequence(1, 6, 2), "2.00 1.00",
            {0, 0, 0, 0, 0.5, 1.5, 0.75, 0}, {2, 1, 2, 1, 0.5, 0.75}, 3, 10, {sequence(1, 6, 2)}};
        QTest::newRow("fixed text fills one page")
            << Sheet{1, {"FIXED"}, "2.00 1.00", none, whole, 4, 11, {QStringList(44, "FIXED")}};
        const QStringList imported{"A-1", "B-2", "C-3", "D-4", "E-5"};
        QTest::newRow("import file with titles: titles are not values")
            << Sheet{3, imported, "2.00 1.00", none, whole, 4, 11, {imported}};
        // Numbers in the user's regional format: with a comma locale the
        // designer's "2,00" and a margin of "0,5" are two inches and half an inch.
        QTest::newRow("comma locale") << Sheet{2, sequence(1, 4, 1), "2,00 1,00", {0, 0, 0, 0, 0, 0, 0.5, 0},
            {2, 1, 2, 1, 0, 0.5}, 4, 10, {sequence(1, 4, 1)}};
        // 5.08 x 2.54 cm is 2880.36 x 1440.18 twips: 10 rows fit, not 11.
        const double cm = 567.0 / 1440.0;
        QTest::newRow("centimetres as the designer shows them") << Sheet{2, v41, "5.08 2.54 cm", none,
            {5.08 * cm, 2.54 * cm, 5.08 * cm, 2.54 * cm, 0, 0}, 4, 10, {v41.mid(0, 40), v41.mid(40)}};
    }
    void sheets()
    {
        QFETCH(Sheet, s);
        if (s.size.contains(u','))
            QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
        StandInDesigner designer;
        StandInDialogs dialogs;
        const QStringList sizeParts = s.size.split(u' ');
        designer.inches(sizeParts.size() == 2);
        designer.width = sizeParts[0];
        designer.height = sizeParts[1];
        if (s.source == 1) {
            designer.source(1);
            designer.t1 = s.values.first();
        } else if (s.source == 2) {
            designer.sequence(s.values.first(), s.values.last());
        } else {
            // A title line after each value, "has title" ticked.
            QStringList lines;
            for (const QString &value : s.values)
                lines << value << "Title " + value;
            writeLines(designer, lines);
            designer.check3 = 1;
        }
        const QString pdf = usePdfFile(designer);

        frmPrint dialog(designer);
        const QList<QLineEdit *> fields{dialog.Text1, dialog.Text2, dialog.Text4, dialog.Text5,
                                        dialog.Text6, dialog.Text7, dialog.Text8, dialog.Text9};
        for (int i = 0; i < 8; ++i)
            fields[i]->setText(QLocale().toString(s.margins[i]));
        dialog.OKButton_Click();
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.allText()));
        QVERIFY(dialog.isUnloaded());
        QCOMPARE(PdfPages::count(pdf), s.pages.size());

        const QList<QImage> images = PdfPages::render(pdf, kDpi);
        QCOMPARE(images.size(), s.pages.size());
        const double cellW = s.sheet[0], cellH = s.sheet[1];
        for (int p = 0; p < s.pages.size(); ++p) {
            if (s.sheet[5] > 0) // nothing above the grid
                QVERIFY(inkBox(images[p], pixels(0, 0, 8.5, s.sheet[5])).isNull());
            for (int cell = 0; cell < s.columns * s.rows; ++cell) {
                const int column = cell % s.columns, row = cell / s.columns;
                const double x = s.sheet[4] + column * cellW, y = s.sheet[5] + row * cellH;
                const QRect symbol = pixels(x, y, s.sheet[2], s.sheet[3]);
                const QString where = QStringLiteral("page %1, column %2, row %3").arg(p + 1).arg(column).arg(row);
                const QRect ink = inkBox(images[p], pixels(x, y, cellW, cellH));
                if (cell >= s.pages[p].size()) {
                    QVERIFY2(ink.isNull(), qPrintable(where + " should be empty"));
                    continue;
                }
                QVERIFY2(!ink.isNull(), qPrintable(where + " is empty"));
                // Everything drawn for the label stays inside its symbol rectangle.
                QVERIFY2(symbol.adjusted(-2, -2, 2, 2).contains(ink),
                         qPrintable(QStringLiteral("%1: ink at %2,%3 %4x%5 outside the symbol")
                                        .arg(where).arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
                QCOMPARE(decodeAt(images[p], symbol), s.pages[p].at(cell));
            }
        }
    }

    void failures_data()
    {
        QTest::addColumn<QString>("what"); // the field to spoil
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("says");
        auto row = [](const char *name, const char *what, const char *typed, const char *says) {
            QTest::newRow(name) << QString(what) << QString(typed) << QString::fromUtf8(says);
        };
        row("empty page margin", "Text6", "", "Page margins \"Left\": A number is needed");
        row("letters in a label margin", "Text2", "abc", "Barcode margins \"Right\": \"abc\" is not a number");
        row("letters after a number", "Text9", "1in", "Page margins \"Bottom\": \"1in\"");
        row("designer width empty", "width", "", "Symbol \"Width\"");
        row("width 0 with zero label margins", "width", "0", "0 wide");
        row("no label fits the page", "Text8", "10.5", "No label fits on the page: a label of 2 × 1 in (symbol "
            "and barcode margins) leaves room for 4 column(s) and 0 row(s)");
        row("PDF file printer without a file", "printer", "", "\"Printer setup\"");
        row("PDF file in a folder that is gone", "printer", "gone/labels.pdf", "gone/labels.pdf cannot be written");
    }
    // A spoiled field stops the run with one message; nothing is printed, the
    // font size is as before and the dialog stays open; corrected, OK prints.
    void failures()
    {
        QFETCH(QString, what);
        QFETCH(QString, typed);
        QFETCH(QString, says);
        StandInDesigner designer;
        StandInDialogs dialogs;
        designer.sequence("01", "05");
        designer.vantrel().Font().setSize(9.5);
        designer.vantrel().setShowText(1);
        const QString pdf = usePdfFile(designer);
        if (what == "printer")
            usePdfFile(designer, typed);
        const double fontSize = designer.vantrel().Font().Size();

        frmPrint dialog(designer);
        dialog.show();
        const QHash<QString, QLineEdit *> fields{{"Text2", dialog.Text2}, {"Text6", dialog.Text6},
                                                 {"Text8", dialog.Text8}, {"Text9", dialog.Text9}};
        QLineEdit *spoiled = fields.value(what);
        if (spoiled)
            spoiled->setText(typed);
        else if (what == "width")
            designer.width = typed;

        QTest::mouseClick(dialog.OKButton, Qt::LeftButton);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Printing error!"));
        QVERIFY2(dialogs.messages[0].text.contains(says), qPrintable(dialogs.messages[0].text));
        QVERIFY(!dialog.isUnloaded());
        QVERIFY(dialog.isVisible());
        QCOMPARE(designer.vantrel().Font().Size(), fontSize);
        if (spoiled)
            QCOMPARE(spoiled->text(), typed);
        // Nothing printed, and no half-written job left beside the settings.
        QVERIFY(!PrinterObject::current().isPrinting());
        QCOMPARE(jobFiles(designer.dir.path()), QStringList{});

        // Corrected, OK prints over an earlier file of that name, and the
        // preview shows the last value printed in the font size it had.
        if (spoiled)
            spoiled->setText("0");
        designer.width = "2.00";
        usePdfFile(designer);
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("not a PDF") > 0);
        old.close();
        QTest::mouseClick(dialog.OKButton, Qt::LeftButton);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialog.isUnloaded());
        QCOMPARE(designer.vantrel().Caption(), QStringLiteral("05"));
        QCOMPARE(designer.vantrel().ShowText(), 1);
        QCOMPARE(designer.store.read("Page margins", "Right", "<none>"), QStringLiteral("0"));
        QCOMPARE(PdfPages::count(pdf), 1);
        const QImage page = PdfPages::render(pdf, kDpi).value(0);
        QStringList texts;
        for (int cell = 0; cell < 5; ++cell)
            texts << decodeAt(page, pixels(cell % 4 * 2.0, cell / 4 * 1.0, 2, 1));
        QCOMPARE(texts, sequence(1, 5, 2));
        QCOMPARE(designer.vantrel().Font().Size(), fontSize);
    }

    // A value the symbology cannot take, on the second page: the run stops
    // there and the job is thrown away, so not even its first page reaches the
    // file, and the file printed before stays whole.
    void failureMidRunSendsNothing()
    {
        StandInDesigner designer;
        StandInDialogs dialogs;
        designer.vantrel().setBarType(0); // EAN-13: digits only
        QStringList lines;
        for (int i = 0; i < 50; ++i)
            lines << QStringLiteral("4006381333%1").arg(i % 10) + u'0';
        writeLines(designer, lines << QStringLiteral("NOT A NUMBER"));
        QFile earlier(usePdfFile(designer));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("the sheet printed yesterday");
        earlier.close();
        const double fontSize = designer.vantrel().Font().Size();

        frmPrint dialog(designer);
        dialog.OKButton_Click();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Printing error!"));
        QVERIFY2(dialogs.messages[0].text.startsWith("Label 51 (page 2), value \"NOT A NUMBER\": "),
                 qPrintable(dialogs.messages[0].text));
        QVERIFY(!dialog.isUnloaded());
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("the sheet printed yesterday"));
        QCOMPARE(jobFiles(designer.dir.path()), QStringList{"labels.pdf"});
        QCOMPARE(designer.vantrel().Font().Size(), fontSize);
    }

    // A long sequence goes out page by page: the peak memory after 100,000
    // labels is hardly above the one after 2,000.
    void longSequenceStreams()
    {
        auto peakKiB = [] {
            QFile status("/proc/self/status");
            if (status.open(QIODevice::ReadOnly)) {
                for (const QByteArray &line : status.readAll().split('\n')) {
                    if (line.startsWith("VmHWM:"))
                        return line.mid(6).trimmed().split(' ').value(0).toLongLong();
                }
            }
            return -1LL;
        };
        StandInDesigner designer;
        StandInDialogs dialogs;
        designer.width = "0.5";
        designer.height = "0.25";
        const QString pdf = usePdfFile(designer);
        long long peaks[2] = {0, 0};
        const QString ends[2] = {"2000", "100000"};
        for (int i = 0; i < 2; ++i) {
            designer.sequence("1", ends[i]);
            frmPrint dialog(designer);
            dialog.OKButton_Click();
            QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.allText()));
            QCOMPARE(designer.vantrel().Caption(), ends[i]);
            peaks[i] = peakKiB();
        }
        if (peaks[0] < 0)
            QSKIP("no /proc/self/status to read the peak memory from");
        QCOMPARE(PdfPages::count(pdf), (100000 + 747) / 748); // 17 x 44 labels a page
        QVERIFY2(peaks[1] - peaks[0] < 64 * 1024, qPrintable(QStringLiteral("peak grew by %1 KiB").arg(peaks[1] - peaks[0])));
    }
};

QTEST_MAIN(PrintRunTest)
#include "print_run.moc"
