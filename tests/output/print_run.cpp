// The print dialog and the printing run, printed to PDF files and read back
// from outside: pdfinfo counts the pages, pdftoppm renders them and zxing-cpp
// decodes every label cell, so each value is checked at its place on its page.
#include "OutputCommands.h"
#include "ScreenMetrics.h"
#include "frmPrint.h"
#include "print_standins.h"

#include "common/Decode.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QPrinter>
#include <QRadioButton>
#include <QtTest>

namespace {

constexpr double kDpi = 150; // of the rendered pages; the sheets are US letter
const QStringList kSections{"Label margins", "Page margins"}, kSides{"Left", "Right", "Top", "Bottom"};

// "01".."10": the values a sequence gives, zero padded to the start's width.
QStringList sequence(int from, int to, int width)
{
    QStringList values;
    for (int i = from; i <= to; ++i)
        values << QStringLiteral("%1").arg(i, width, 10, QLatin1Char('0'));
    return values;
}

// Bounding box of the dark pixels inside an area given in inches; null when blank.
QRect inkBox(const QImage &page, double x, double y, double w, double h)
{
    const QImage gray = page.copy(x * kDpi, y * kDpi, w * kDpi, h * kDpi).convertToFormat(QImage::Format_Grayscale8);
    QRect box;
    for (int row = 0; row < gray.height(); ++row)
        for (int column = 0; column < gray.width(); ++column)
            if (gray.constScanLine(row)[column] < 128)
                box |= QRect(column, row, 1, 1);
    return box.isNull() ? box : box.translated(x * kDpi, y * kDpi);
}

QString usePdfFile(StandInDesigner &designer, const QString &name = QStringLiteral("labels.pdf"))
{
    PrinterObject::current().selectPdfFile(name.isEmpty() ? QString() : designer.dir.filePath(name));
    PrinterObject::current().qprinter().setPageSize(QPageSize(QPageSize::Letter));
    return designer.dir.filePath(name);
}

// The eight margin fields in the order of the store's entries.
QList<QLineEdit *> fields(frmPrint &d) { return {d.Text1, d.Text2, d.Text4, d.Text5, d.Text6, d.Text7, d.Text8, d.Text9}; }

} // namespace

class PrintRunTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ScreenMetrics::overrideDpi(96, 96); }

    // The focus order, first on the page left margin; the unit follows the
    // designer; what the store holds after each way of closing, from "1" in
    // every entry and the page left margin edited to "2,5".
    void dialog()
    {
        for (const QString &how : {"Cancel", "Esc", "close box"}) {
            StandInDesigner designer;
            for (int i = 0; i < 8; ++i)
                designer.store.write(kSections[i / 4], kSides[i % 4], "1");
            designer.o4 = how != "Cancel", designer.o5 = how == "Cancel";
            {
                frmPrint d(designer);
                QCOMPARE(d.twipsPerUnit, how == "Cancel" ? 567.0 : 1440.0);
                d.show();
                QVERIFY(QTest::qWaitForWindowActive(&d));
                const QList<QWidget *> order{d.Text6, d.Text7, d.Text8, d.Text9, d.Text1, d.Text2, d.Text4, d.Text5,
                                             d.OKButton, d.CancelButton, d.Command1, d.Text3};
                for (QWidget *want : order) {
                    QCOMPARE(QApplication::focusWidget(), want);
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                }
                QTest::mouseClick(d.Option5, Qt::LeftButton, {}, QPoint(6, d.Option5->height() / 2));
                QCOMPARE(d.twipsPerUnit, 567.0);
                d.Text6->setText("2,5");
                how == "Cancel" ? d.CancelButton->click() : how == "Esc" ? QTest::keyClick(&d, Qt::Key_Escape) : (void)d.close();
                QVERIFY(d.isUnloaded() && !d.isVisible());
            }
            QCOMPARE(frmPrint(designer).Text6->text(), how == "close box" ? "2,5" : "1");
            QCOMPARE(designer.store.read("Page margins", "Left", "<none>"), how == "close box" ? "2,5" : "1");
        }
        // Toolbar button 3 opens it modally; closing it from the designer stores the edits.
        StandInDesigner designer;
        OutputCommands commands(designer);
        QMetaObject::invokeMethod(this, [&] { // inside the dialog's own event loop
            auto *d = qobject_cast<frmPrint *>(QApplication::activeModalWidget());
            QVERIFY(d && commands.isPrintDialogOpen() && !d->parentWidget());
            d->Text8->setText("3");
            commands.closePrintDialog();
        }, Qt::QueuedConnection);
        commands.Toolbar1_ButtonClick(3);
        QCOMPARE(designer.store.read("Page margins", "Top", "<none>"), QStringLiteral("3"));
    }

    // One printed sheet: the source (1 fixed text, 2 sequence, 3 import file
    // with titles, 4 without) and its values, the size as the designer shows it
    // in inches, or centimetres with "cm"; label then page margins; cell w, h,
    // symbol w, h, origin x, y in inches; the grid and each page's values (an
    // empty value an empty cell).
    void sheets()
    {
        struct Sheet { const char *name; int source; QStringList values; QString size; QList<double> margins, sheet;
                       int columns, rows; QList<QStringList> pages; };
        const QList<double> none(8, 0.0), whole{2, 1, 2, 1, 0, 0}, twoRows{0, 0, 0, 0, 0, 0, 1, 8};
        const QStringList v10 = sequence(1, 10, 2), v41 = sequence(1, 41, 3), v7 = sequence(1, 7, 2);
        const QStringList imported{"A-1", "B-2", "C-3"};
        const double cm = 567.0 / 1440.0;
        const Sheet sheets[] = {
            {"44 labels", 2, sequence(1, 44, 3), "2.00 1.00", none, whole, 4, 11, {sequence(1, 44, 3)}},
            {"10 values on 4 x 2: 2 pages", 2, v10, "2.00 1.00", twoRows, {2, 1, 2, 1, 0, 1}, 4, 2, {v10.mid(0, 8), v10.mid(8)}},
            {"8 values on 4 x 2: 1 page", 2, v10.mid(0, 8), "2.00 1.00", twoRows, {2, 1, 2, 1, 0, 1}, 4, 2, {v10.mid(0, 8)}},
            {"left label margin", 2, v7, "2.00 1.00", {0.5, 0, 0, 0.5, 0, 0, 0, 0}, {2.5, 1.5, 2, 1, 0, 0}, 3, 7, {v7}},
            {"page margins", 2, v7, "2.00 1.00", {0, 0, 0, 0, 0.5, 1.5, 0.75, 0}, {2, 1, 2, 1, 0.5, 0.75}, 3, 10, {v7}},
            {"fixed text", 1, {"FIXED"}, "2.00 1.00", none, whole, 4, 11, {QStringList(44, "FIXED")}},
            {"empty fixed text", 1, {""}, "2.00 1.00", none, whole, 4, 11, {QStringList(44, "")}},
            {"titles", 3, imported, "2.00 1.00", none, whole, 4, 11, {imported}},
            {"empty first value", 4, {"", "A-1", "B-2"}, "2.00 1.00", none, whole, 4, 11, {{"", "A-1", "B-2"}}},
            {"comma locale", 2, v7.mid(0, 4), "2,00 1,00", {0, 0, 0, 0, 0, 0, 0.5, 0}, {2, 1, 2, 1, 0, 0.5}, 4, 10, {v7.mid(0, 4)}},
            // 5.08 x 2.54 cm is 2880.36 x 1440.18 twips: 10 rows fit, not 11.
            {"cm", 2, v41, "5.08 2.54 cm", none, {2.032, 1.016, 2.032, 1.016, 0, 0}, 4, 10, {v41.mid(0, 40), v41.mid(40)}}};
        for (const Sheet &s : sheets) {
            QLocale::setDefault(s.size.contains(u',') ? QLocale(QLocale::German) : QLocale::system());
            StandInDesigner designer;
            StandInDialogs dialogs;
            designer.o4 = !s.size.endsWith("cm"), designer.o5 = !designer.o4;
            designer.width = s.size.section(u' ', 0, 0), designer.height = s.size.section(u' ', 1, 1);
            designer.source(s.source > 2 ? 3 : s.source);
            designer.t1 = s.values.first(), designer.t2 = s.values.first(), designer.t3 = s.values.last();
            designer.check3 = s.source == 3;
            QFile file(designer.t4 = designer.dir.filePath("values.txt"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            for (const QString &value : s.values)
                file.write(value.toLatin1() + (s.source == 3 ? "\r\nTitle " + value.toLatin1() : "") + "\r\n");
            file.close();
            const QString pdf = usePdfFile(designer);
            frmPrint dialog(designer);
            for (int i = 0; i < 8; ++i)
                fields(dialog)[i]->setText(QLocale().toString(s.margins[i]));
            dialog.OKButton_Click();
            QLocale::setDefault(QLocale::system());
            QVERIFY2(dialogs.messages.isEmpty() && dialog.isUnloaded(), qPrintable(dialogs.allText()));
            const QList<QImage> pages = PdfPages::render(pdf, kDpi);
            QCOMPARE(PdfPages::count(pdf), s.pages.size());
            QCOMPARE(pages.size(), s.pages.size());
            for (int p = 0; p < s.pages.size(); ++p) {
                QVERIFY(s.sheet[5] == 0 || inkBox(pages[p], 0, 0, 8.5, s.sheet[5]).isNull()); // nothing above the grid
                for (int cell = 0; cell < s.columns * s.rows; ++cell) {
                    const double x = s.sheet[4] + cell % s.columns * s.sheet[0], y = s.sheet[5] + cell / s.columns * s.sheet[1];
                    const QRect ink = inkBox(pages[p], x, y, s.sheet[0], s.sheet[1]);
                    const QRect symbol(x * kDpi, y * kDpi, s.sheet[2] * kDpi, s.sheet[3] * kDpi);
                    const QString value = s.pages[p].value(cell), where = QStringLiteral("%1, page %2, cell %3").arg(s.name).arg(p).arg(cell);
                    // Everything drawn for the label stays inside its symbol rectangle.
                    QVERIFY2(ink.isNull() == value.isEmpty() && (ink.isNull() || symbol.adjusted(-2, -2, 2, 2).contains(ink)), qPrintable(where));
                    if (!value.isEmpty())
                        QCOMPARE(Decode::zxingOne(PdfPages::label(pages[p], symbol)), value);
                }
            }
        }
    }

    // A spoiled field stops the run with one message; nothing is printed, the
    // file printed before stays whole, the font size is as before and the dialog
    // stays open. Corrected, OK prints, and the preview shows the last value
    // printed in the font size it had before the run.
    void failures()
    {
        const QList<std::array<const char *, 3>> rows{
            {"Text6", "", "Page margins \"Left\": A number is needed"},
            {"Text2", "abc", "Barcode margins \"Right\": \"abc\" is not a number"},
            {"Text9", "1in", "Page margins \"Bottom\": \"1in\""},
            {"width", "", "Symbol \"Width\""},
            {"width", "0", "0 wide"},
            {"width", "0.000000001", "Overflow"},
            {"Text1", "0.5;0", "would not lie wholly on the page"}, // a symbol 0 wide in a wider cell
            {"Text8", "10.5", "No label fits on the page: a label of 2 × 1 in (symbol and barcode margins) leaves "
                              "room for 4 column(s) and 0 row(s)"},
            {"Text6", "-100", "reach from -100 to 8 in across and from 0 to 11 in down, on a page of 8.5 × 11 in"},
            {"Text6", "-0.5", "would not lie wholly on the page"},
            {"Text7", "-3", "reach from 0 to 10 in across"},
            {"bartype", "", "No symbology is chosen"},
            {"bartype", "EAN-2", "Label 100 (page 3), value \"100\": "},
            {"printer", "", "\"Printer setup\""},
            {"printer", "gone/labels.pdf", "gone/labels.pdf cannot be written"}};
        for (const auto &[what, typed, says] : rows) {
            StandInDesigner designer;
            StandInDialogs dialogs;
            Vantrel &vantrel = designer.vantrel();
            designer.sequence("01", "05");
            vantrel.Font().setSize(9.5);
            vantrel.setWidth(192), vantrel.setHeight(96);
            QFile earlier(usePdfFile(designer));
            QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("printed yesterday") > 0);
            earlier.close();
            if (QString(what) == "printer")
                usePdfFile(designer, typed);
            frmPrint dialog(designer);
            dialog.show();
            QLineEdit *spoiled = QMap<QString, QLineEdit *>{{"Text1", dialog.Text1}, {"Text2", dialog.Text2},
                {"Text6", dialog.Text6}, {"Text7", dialog.Text7}, {"Text8", dialog.Text8}, {"Text9", dialog.Text9}}.value(what);
            if (spoiled)
                spoiled->setText(QString(typed).section(u';', 0, 0));
            if (QString(what) == "width" || QString(typed).contains(u';'))
                designer.width = QString(typed).section(u';', -1);
            if (QString(what) == "bartype" && !*typed)
                vantrel.setBarType(-1);
            if (QString(typed) == "EAN-2") // a value EAN-2 cannot take, on the third page
                vantrel.setBarType(3), designer.sequence("1", "100");
            dialog.OKButton_Click();
            QCOMPARE(dialogs.messages.size(), 1);
            QCOMPARE(dialogs.messages[0].title, QStringLiteral("Printing error!"));
            QVERIFY2(dialogs.messages[0].text.contains(says), qPrintable(dialogs.messages[0].text));
            QVERIFY(!dialog.isUnloaded() && dialog.isVisible() && !PrinterObject::current().isPrinting());
            QCOMPARE(vantrel.Font().Size(), 9.5);
            QVERIFY(earlier.open(QIODevice::ReadOnly));
            QCOMPARE(earlier.readAll(), QByteArray("printed yesterday"));
            earlier.close();
            QCOMPARE(QDir(designer.dir.path()).entryList({"*.pdf", "*.part*"}, QDir::Files | QDir::Hidden), QStringList{"labels.pdf"});

            if (spoiled)
                spoiled->setText("0");
            designer.width = "2.00";
            designer.sequence("01", "05");
            vantrel.setBarType(8);
            usePdfFile(designer);
            dialog.OKButton_Click();
            QVERIFY(dialog.isUnloaded() && dialogs.messages.size() == 1);
            QCOMPARE(vantrel.Font().Size(), 9.5);
            QCOMPARE(vantrel.Caption(), QStringLiteral("05"));
            const QImage shown = vantrel.grab().toImage();
            vantrel.Refresh(); // draws with the font as it is now
            QCOMPARE(shown, vantrel.grab().toImage());
            const QImage page = PdfPages::render(earlier.fileName(), kDpi).value(0);
            QCOMPARE(Decode::zxingOne(PdfPages::label(page, QRect(0, 150, 300, 150))), QStringLiteral("05"));
        }
    }

    // A long sequence goes out page by page: the peak memory after 100,000
    // labels is hardly above the one after 2,000.
    void longSequenceStreams()
    {
        auto peakKiB = [] {
            QFile status("/proc/self/status");
            const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
            return text.contains("VmHWM:") ? text.mid(text.indexOf("VmHWM:") + 6).trimmed().split(' ')[0].toLongLong() : -1;
        };
        StandInDesigner designer;
        StandInDialogs dialogs;
        designer.width = "0.5", designer.height = "0.25";
        const QString pdf = usePdfFile(designer);
        long long peaks[2] = {0, 0};
        for (int i = 0; i < 2; ++i) {
            designer.sequence("1", i ? "100000" : "2000");
            frmPrint(designer).OKButton_Click();
            QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.allText()));
            peaks[i] = peakKiB();
        }
        QCOMPARE(PdfPages::count(pdf), (100000 + 747) / 748); // 17 x 44 labels a page
        QVERIFY2(peaks[1] - peaks[0] < 64 * 1024, qPrintable(QString::number(peaks[1] - peaks[0]) + " KiB more"));
    }
};

QTEST_MAIN(PrintRunTest)
#include "print_run.moc"
