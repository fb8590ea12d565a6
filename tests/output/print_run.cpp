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
#include <QPainter>
#include <QtTest>

namespace {

constexpr int kDpi = 150;

struct Sheet {
    double cellW = 0, cellH = 0, symbolW = 0, symbolH = 0, left = 0, top = 0; // inches
    int columns = 0, rows = 0;
};

// "01".."10": the values a sequence gives, zero padded to the start's width.
QStringList sequence(int from, int to, int width)
{
    QStringList values;
    for (int i = from; i <= to; ++i)
        values << QStringLiteral("%1").arg(i, width, 10, QLatin1Char('0'));
    return values;
}

QRect pixels(double left, double top, double width, double height)
{
    return QRect(qRound(left * kDpi), qRound(top * kDpi), qRound(width * kDpi), qRound(height * kDpi));
}

// The cell's symbol on a white ground with room around it, as a scanner sees a label.
QImage symbolImage(const QImage &page, const QRect &symbol)
{
    QImage out(symbol.size() + QSize(60, 60), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(QPoint(30, 30), page.copy(symbol));
    return out;
}

// Bounding box of the dark pixels inside an area; null when it is blank.
QRect inkBox(const QImage &page, const QRect &area)
{
    const QImage gray = page.copy(area).convertToFormat(QImage::Format_Grayscale8);
    int x0 = gray.width(), y0 = gray.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < gray.height(); ++y) {
        const uchar *line = gray.constScanLine(y);
        for (int x = 0; x < gray.width(); ++x) {
            if (line[x] < 128) {
                x0 = std::min(x0, x); x1 = std::max(x1, x);
                y0 = std::min(y0, y); y1 = std::max(y1, y);
            }
        }
    }
    if (x1 < 0)
        return {};
    return QRect(QPoint(x0, y0), QPoint(x1, y1)).translated(area.topLeft());
}

// Whatever a print job left in a folder: finished or half-written PDFs.
QStringList jobFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.pdf"), QStringLiteral("*.part*"), QStringLiteral("*.job")},
                                  QDir::Files | QDir::Hidden);
}

// The tests' sheets are US letter, 8.5 x 11 inches.
void usePdfFile(const QString &path)
{
    PrinterObject::current().selectPdfFile(path);
    PrinterObject::current().qprinter().setPageSize(QPageSize(QPageSize::Letter));
}

} // namespace

Q_DECLARE_METATYPE(QList<QStringList>)

class PrintRunTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void sheets_data();
    void sheets();
    void failures_data();
    void failures();
    void failureMidRunSendsNothing();
    void afterTheRun();
    void commaLocale();
    void longSequenceStreams();

private:
    static void typeMargins(frmPrint &dialog, const QList<double> &label, const QList<double> &page);
};

void PrintRunTest::initTestCase()
{
    ScreenMetrics::overrideDpi(96, 96);
}

void PrintRunTest::typeMargins(frmPrint &dialog, const QList<double> &label, const QList<double> &page)
{
    QLineEdit *fields[] = {dialog.Text1, dialog.Text2, dialog.Text4, dialog.Text5,
                           dialog.Text6, dialog.Text7, dialog.Text8, dialog.Text9};
    for (int i = 0; i < 4; ++i) {
        fields[i]->setText(QString::number(label.value(i)));
        fields[4 + i]->setText(QString::number(page.value(i)));
    }
}

void PrintRunTest::sheets_data()
{
    QTest::addColumn<int>("source");           // 1 fixed text, 2 sequence, 3 import file with titles
    QTest::addColumn<QStringList>("values");   // the values in order, or the fixed text alone
    QTest::addColumn<bool>("inches");
    QTest::addColumn<QString>("width");        // as the designer shows it
    QTest::addColumn<QString>("height");
    QTest::addColumn<QList<double>>("label");  // left, right, top, bottom, in the unit
    QTest::addColumn<QList<double>>("page");
    QTest::addColumn<QList<double>>("sheet");  // in inches: cell w, h, symbol w, h, origin x, y
    QTest::addColumn<QList<int>>("grid");      // columns, rows
    QTest::addColumn<QList<QStringList>>("pages");

    const QList<double> none{0, 0, 0, 0};
    const QStringList v44 = sequence(1, 44, 3);
    QTest::newRow("letter page, 2 x 1 in: 44 labels") << 2 << v44 << true << "2.00" << "1.00" << none << none
        << QList<double>{2, 1, 2, 1, 0, 0} << QList<int>{4, 11} << QList<QStringList>{v44};
    // Page margins top 1 and bottom 8 leave room for two rows of four.
    const QStringList v10 = sequence(1, 10, 2);
    QTest::newRow("10 values on a 4 x 2 grid: 2 pages") << 2 << v10 << true << "2.00" << "1.00" << none
        << QList<double>{0, 0, 1, 8} << QList<double>{2, 1, 2, 1, 0, 1} << QList<int>{4, 2}
        << QList<QStringList>{v10.mid(0, 8), v10.mid(8)};
    const QStringList v8 = sequence(1, 8, 2);
    QTest::newRow("8 values on a 4 x 2 grid: 1 page") << 2 << v8 << true << "2.00" << "1.00" << none
        << QList<double>{0, 0, 1, 8} << QList<double>{2, 1, 2, 1, 0, 1} << QList<int>{4, 2}
        << QList<QStringList>{v8};
    const QStringList v7 = sequence(1, 7, 2);
    QTest::newRow("left label margin: symbol at the cell's left") << 2 << v7 << true << "2.00" << "1.00"
        << QList<double>{0.5, 0, 0, 0.5} << none << QList<double>{2.5, 1.5, 2, 1, 0, 0} << QList<int>{3, 7}
        << QList<QStringList>{v7};
    QTest::newRow("right label margin: the same places") << 2 << v7 << true << "2.00" << "1.00"
        << QList<double>{0, 0.5, 0.5, 0} << none << QList<double>{2.5, 1.5, 2, 1, 0, 0} << QList<int>{3, 7}
        << QList<QStringList>{v7};
    const QStringList v6 = sequence(1, 6, 2);
    QTest::newRow("page margins move the grid") << 2 << v6 << true << "2.00" << "1.00" << none
        << QList<double>{0.5, 1.5, 0.75, 0} << QList<double>{2, 1, 2, 1, 0.5, 0.75} << QList<int>{3, 10}
        << QList<QStringList>{v6};
    QTest::newRow("fixed text fills one page") << 1 << QStringList{"FIXED"} << true << "2.00" << "1.00" << none << none
        << QList<double>{2, 1, 2, 1, 0, 0} << QList<int>{4, 11} << QList<QStringList>{QStringList(44, "FIXED")};
    const QStringList imported{"A-1", "B-2", "C-3", "D-4", "E-5"};
    QTest::newRow("import file with titles: titles are not values") << 3 << imported << true << "2.00" << "1.00"
        << none << none << QList<double>{2, 1, 2, 1, 0, 0} << QList<int>{4, 11} << QList<QStringList>{imported};
    // 5.08 x 2.54 cm is 2880.36 x 1440.18 twips: 10 rows fit, not 11.
    const QStringList v41 = sequence(1, 41, 3);
    const double cm = 567.0 / 1440.0;
    QTest::newRow("centimetres as the designer shows them") << 2 << v41 << false << "5.08" << "2.54" << none << none
        << QList<double>{5.08 * cm, 2.54 * cm, 5.08 * cm, 2.54 * cm, 0, 0} << QList<int>{4, 10}
        << QList<QStringList>{v41.mid(0, 40), v41.mid(40)};
}

void PrintRunTest::sheets()
{
    QFETCH(int, source);
    QFETCH(QStringList, values);
    QFETCH(bool, inches);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QList<double>, label);
    QFETCH(QList<double>, page);
    QFETCH(QList<double>, sheet);
    QFETCH(QList<int>, grid);
    QFETCH(QList<QStringList>, pages);

    StandInDesigner designer;
    StandInDialogs dialogs;
    designer.inches(inches);
    designer.width = width;
    designer.height = height;
    if (source == 1) {
        designer.source(1);
        designer.t1 = values.first();
    } else if (source == 2) {
        designer.sequence(values.first(), values.last());
    } else {
        // An import file with a title line after each value, "has title" ticked.
        QFile file(designer.dir.filePath("values.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (const QString &value : values)
            file.write((value + "\nTitle " + value + "\n").toLatin1());
        file.close();
        designer.source(3);
        designer.t4 = file.fileName();
        designer.check3 = 1;
    }
    const QString pdf = designer.dir.filePath("labels.pdf");
    usePdfFile(pdf);

    frmPrint dialog(designer);
    typeMargins(dialog, label, page);
    dialog.OKButton_Click();
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.value(0).text));
    QVERIFY(dialog.isUnloaded());
    QCOMPARE(PdfPages::count(pdf), pages.size());

    const QList<QImage> images = PdfPages::render(pdf, kDpi);
    QCOMPARE(images.size(), pages.size());
    const Sheet s{sheet[0], sheet[1], sheet[2], sheet[3], sheet[4], sheet[5], grid[0], grid[1]};
    for (int p = 0; p < pages.size(); ++p) {
        for (int cell = 0; cell < s.columns * s.rows; ++cell) {
            const int column = cell % s.columns, row = cell / s.columns;
            const double x = s.left + column * s.cellW, y = s.top + row * s.cellH;
            const QRect symbol = pixels(x, y, s.symbolW, s.symbolH);
            const QRect wholeCell = pixels(x, y, s.cellW, s.cellH);
            const QString where = QStringLiteral("page %1, column %2, row %3").arg(p + 1).arg(column).arg(row);
            const QRect ink = inkBox(images[p], wholeCell);
            if (cell >= pages[p].size()) {
                QVERIFY2(ink.isNull(), qPrintable(where + " should be empty"));
                continue;
            }
            QVERIFY2(!ink.isNull(), qPrintable(where + " is empty"));
            // Everything drawn for the label stays inside its symbol rectangle.
            QVERIFY2(symbol.adjusted(-2, -2, 2, 2).contains(ink),
                     qPrintable(QStringLiteral("%1: ink at %2,%3 %4x%5 outside the symbol")
                                    .arg(where).arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
            QCOMPARE(Decode::zxingOne(symbolImage(images[p], symbol)), pages[p].at(cell));
        }
    }
}

void PrintRunTest::failures_data()
{
    QTest::addColumn<QString>("what");   // the field to spoil
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("says");

    QTest::newRow("empty page margin") << "Text6" << "" << "Page margins \"Left\": A number is needed";
    QTest::newRow("letters in a label margin") << "Text2" << "abc" << "Barcode margins \"Right\": \"abc\" is not a number";
    QTest::newRow("letters after a number") << "Text9" << "1in" << "Page margins \"Bottom\": \"1in\"";
    QTest::newRow("designer width empty") << "width" << "" << "Symbol \"Width\"";
    QTest::newRow("width 0 with zero label margins") << "width" << "0" << "0 wide";
    QTest::newRow("no label fits the page") << "Text8" << "10.5"
                                            << "No label fits on the page: a label of 2 × 1 in (symbol and barcode margins) leaves room for 4 column(s) and 0 row(s)";
    QTest::newRow("PDF file printer without a file") << "printer" << "" << "\"Printer setup\"";
    QTest::newRow("PDF file in a folder that is gone") << "printer" << "gone/labels.pdf"
                                                       << "gone/labels.pdf cannot be written";
}

// A spoiled field stops the run with one message; nothing is printed, the font
// size is as before and the dialog stays open; corrected, OK prints.
void PrintRunTest::failures()
{
    QFETCH(QString, what);
    QFETCH(QString, typed);
    QFETCH(QString, says);

    StandInDesigner designer;
    StandInDialogs dialogs;
    designer.sequence("01", "05");
    const QString pdf = designer.dir.filePath("labels.pdf");
    usePdfFile(what != "printer" ? pdf : typed.isEmpty() ? QString() : designer.dir.filePath(typed));
    const double fontSize = designer.vantrel().Font().Size();

    frmPrint dialog(designer);
    dialog.show();
    QLineEdit *spoiled = nullptr;
    if (what.startsWith("Text")) {
        const QHash<QString, QLineEdit *> fields{{"Text2", dialog.Text2}, {"Text6", dialog.Text6},
                                                 {"Text8", dialog.Text8}, {"Text9", dialog.Text9}};
        spoiled = fields.value(what);
        spoiled->setText(typed);
    } else if (what == "width") {
        designer.width = typed;
    }

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

    if (spoiled)
        spoiled->setText("0");
    designer.width = "2.00";
    usePdfFile(pdf);
    QTest::mouseClick(dialog.OKButton, Qt::LeftButton);
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialog.isUnloaded());
    QCOMPARE(PdfPages::count(pdf), 1);
    const QImage page = PdfPages::render(pdf, kDpi).value(0);
    QStringList texts;
    for (int cell = 0; cell < 5; ++cell)
        texts << Decode::zxingOne(symbolImage(page, pixels(cell % 4 * 2.0, cell / 4 * 1.0, 2, 1)));
    QCOMPARE(texts, sequence(1, 5, 2));
    QCOMPARE(designer.vantrel().Font().Size(), fontSize);
}

// A value the symbology cannot take, on the second page: the run stops there
// and the job is thrown away, so not even its first page reaches the file.
void PrintRunTest::failureMidRunSendsNothing()
{
    StandInDesigner designer;
    StandInDialogs dialogs;
    designer.vantrel().setBarType(0); // EAN-13: digits only
    QStringList lines;
    for (int i = 0; i < 50; ++i)
        lines << QStringLiteral("4006381333%1").arg(i % 10) + QStringLiteral("0");
    lines << QStringLiteral("NOT A NUMBER");
    QFile file(designer.dir.filePath("values.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(lines.join('\n').toLatin1() + '\n');
    file.close();
    designer.source(3);
    designer.t4 = file.fileName();
    const QString pdf = designer.dir.filePath("labels.pdf");
    usePdfFile(pdf);
    const double fontSize = designer.vantrel().Font().Size();
    QFile earlier(pdf);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("the sheet printed yesterday");
    earlier.close();

    frmPrint dialog(designer);
    dialog.OKButton_Click();
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("Printing error!"));
    QVERIFY2(dialogs.messages[0].text.startsWith("Label 51 (page 2), value \"NOT A NUMBER\": "),
             qPrintable(dialogs.messages[0].text));
    QVERIFY(!dialog.isUnloaded());
    // The file from before is untouched and nothing half-written is left beside it.
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("the sheet printed yesterday"));
    QCOMPARE(jobFiles(designer.dir.path()), QStringList{"labels.pdf"});
    QCOMPARE(designer.vantrel().Font().Size(), fontSize);
}

void PrintRunTest::afterTheRun()
{
    StandInDesigner designer;
    StandInDialogs dialogs;
    designer.sequence("1", "12");
    designer.vantrel().Font().setSize(9.5);
    designer.vantrel().setShowText(1);
    const QString pdf = designer.dir.filePath("labels.pdf");
    usePdfFile(pdf);
    // An earlier file of that name is replaced whole.
    QFile old(pdf);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("not a PDF");
    old.close();

    frmPrint dialog(designer);
    dialog.OKButton_Click();
    QVERIFY(dialogs.messages.isEmpty());
    // The preview shows the last value printed, in the font size it had.
    QCOMPARE(designer.vantrel().Caption(), QStringLiteral("12"));
    QCOMPARE(designer.vantrel().Font().Size(), 9.5);
    QCOMPARE(designer.vantrel().ShowText(), 1);
    QCOMPARE(PdfPages::count(pdf), 1);
    QCOMPARE(designer.store.read("Page margins", "Right", "<none>"), QStringLiteral("0"));
}

// Numbers are read in the user's regional format: with a comma locale the
// designer's "2,00" and a margin of "0,5" are two inches and half an inch.
void PrintRunTest::commaLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
    StandInDesigner designer;
    StandInDialogs dialogs;
    designer.sequence("1", "4");
    designer.width = "2,00";
    designer.height = "1,00";
    const QString pdf = designer.dir.filePath("labels.pdf");
    usePdfFile(pdf);

    frmPrint dialog(designer);
    dialog.Text8->setText("0,5");
    dialog.OKButton_Click();
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.value(0).text));
    const QImage page = PdfPages::render(pdf, kDpi).value(0);
    QVERIFY(inkBox(page, pixels(0, 0, 8.5, 0.5)).isNull());
    for (int cell = 0; cell < 4; ++cell)
        QCOMPARE(Decode::zxingOne(symbolImage(page, pixels(cell * 2.0, 0.5, 2, 1))), QString::number(cell + 1));
}

// A long sequence goes out page by page: the peak memory after 100,000 labels
// is hardly above the one after 2,000.
void PrintRunTest::longSequenceStreams()
{
    auto peakKiB = [] {
        QFile status("/proc/self/status");
        if (!status.open(QIODevice::ReadOnly))
            return -1LL;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
        return -1LL;
    };
    StandInDesigner designer;
    StandInDialogs dialogs;
    designer.width = "0.5";
    designer.height = "0.25";
    const QString pdf = designer.dir.filePath("labels.pdf");
    usePdfFile(pdf);

    long long peaks[2] = {0, 0};
    const QString ends[2] = {"2000", "100000"};
    for (int i = 0; i < 2; ++i) {
        designer.sequence("1", ends[i]);
        frmPrint dialog(designer);
        dialog.OKButton_Click();
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.value(0).text));
        QCOMPARE(designer.vantrel().Caption(), ends[i]);
        peaks[i] = peakKiB();
    }
    if (peaks[0] < 0)
        QSKIP("no /proc/self/status to read the peak memory from");
    // 17 x 44 labels a page.
    QCOMPARE(PdfPages::count(pdf), (100000 + 747) / 748);
    QVERIFY2(peaks[1] - peaks[0] < 64 * 1024,
             qPrintable(QStringLiteral("peak grew by %1 KiB").arg(peaks[1] - peaks[0])));
}

QTEST_MAIN(PrintRunTest)
#include "print_run.moc"
