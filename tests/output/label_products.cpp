// Label products read from the real template files of glabels-data, chosen in
// the print dialog and printed: the PDF, read back by pdfinfo, pdftoppm and
// zxing-cpp, must have exactly the product's columns and rows, each label
// where the product has it. Also a partly used sheet, the preview's pages, and
// runs cancelled half way.
#include "LabelGrid.h"
#include "LabelProducts.h"
#include "OutputCommands.h"
#include "PdfCheck.h"
#include "PrinterObject.h"
#include "ScreenMetrics.h"
#include "StandInDesigner.h"
#include "frmPrint.h"

#include "Decode.h"

#include <QPrintPreviewWidget>
#include <QtTest>
#include <QtWidgets>
#include <cmath>

namespace {

// The chooser picks the product asked for, the preview counts its pages, the
// save dialog tells where it opened.
struct SheetDialogs : StandInDialogs {
    QString product, folder;
    int previewPages = -1;
    std::optional<LabelProduct> chooseLabelProduct(const std::vector<LabelProduct> &all,
                                                   const QString &) override
    {
        return *LabelProducts::search(all, product).front();
    }
    bool printPreview(QPrintPreviewWidget &preview) override
    {
        preview.updatePreview();
        previewPages = preview.pageCount();
        return false;
    }
    std::optional<QString> saveFileIn(const QString &in, const QString &f, const QString &e, const QString &n,
                                      int &i) override
    {
        folder = in;
        return saveFile(f, e, n, i);
    }
};

// What the print dialog shows for a product, and how far the furthest label
// may lie from the product's place.
struct FillCase {
    bool inches = true;
    QString pageLeft, labelRight; // as the fields show them
    double mostOffMm = 0;
};

} // namespace

Q_DECLARE_METATYPE(FillCase)

class LabelProductsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        ScreenMetrics::overrideDpi(96, 96);
        m_products = LabelProducts::load(LabelProducts::defaultFolder());
        QVERIFY2(m_products.size() > 500, "glabels-data is installed by make test");
    }

    void searchAndMissingTemplates()
    {
        QVERIFY(LabelProducts::search(m_products, "Avery 5160", "A4").empty());
        const auto a4 = LabelProducts::search(m_products, "", "A4");
        QVERIFY(a4.size() > 100 && a4.size() < m_products.size());
        QString error;
        QVERIFY(LabelProducts::load(QStringLiteral("/nonexistent"), &error).empty());
        QVERIFY(error.contains("apt-get install glabels-data"));
    }

    // Chosen in the print dialog (whose unit the designer takes on), printed
    // at 300 dpi from label "start": every cell of the first page empty before
    // it, then decoded in order (each value "copies" times), its top left within
    // a dot of the product's; the preview shows as many pages as the PDF has.
    void printedSheet_data()
    {
        for (const char *column : {"inches", "start", "values", "copies", "pages"})
            QTest::addColumn<int>(column);
        QTest::newRow("Avery 5160, cm, from label 5: 2 pages") << 0 << 5 << 56 << 1 << 2;
        QTest::newRow("Avery 5160, from label 5, 3 copies each: 3 pages") << 1 << 5 << 20 << 3 << 3;
        QTest::newRow("Avery 5260, the same sheet by another number") << 1 << 1 << 30 << 1 << 1;
        QTest::newRow("Zweckform 3474, cm") << 0 << 1 << 24 << 1 << 1;
        QTest::newRow("Zweckform 3474, in: 17 pages") << 1 << 1 << 385 << 1 << 17;
        QTest::newRow("Brother DK-1201, a roll: a page a label") << 0 << 1 << 2 << 1 << 2;
    }
    void printedSheet()
    {
        const QString query = QString(QTest::currentDataTag()).section(u',', 0, 0);
        QFETCH(int, inches);
        QFETCH(int, start);
        QFETCH(int, values);
        QFETCH(int, copies);
        QFETCH(int, pages);
        StandInDesigner designer;
        SheetDialogs dialogs;
        dialogs.product = query;
        designer.sequence("101", QString::number(100 + values));
        designer.vantrel().setAlignment(1); // centred
        const QString pdf = designer.dir.filePath("sheet.pdf");
        PrinterObject::current().selectPdfFile(pdf);
        PrinterObject::current().setResolution(300);
        frmPrint dialog(designer);
        (inches ? dialog.Option4 : dialog.Option5)->click();
        dialog.LabelProductButton_Click();
        QCOMPARE(designer.o4, bool(inches));
        dialog.StartLabel->setValue(start);
        dialog.Copies->setValue(copies);
        dialog.PreviewButton_Click();
        dialog.OKButton_Click();
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.allText()));
        QCOMPARE(dialogs.previewPages, pages);
        QCOMPARE(PdfCheck::pageCount(pdf), pages);
        const QString summary = QStringLiteral("%1 labels on %2 page").arg(values * copies).arg(pages);
        QVERIFY2(dialog.runSummary().startsWith(summary), qPrintable(dialog.runSummary()));

        const LabelProduct &p = *LabelProducts::search(m_products, query).front();
        const QImage page = PdfCheck::render(pdf, 300, 1, 1).value(0); // the first page at 300 dpi
        const double dot = 300.0 / 72;
        QVERIFY(qAbs(page.width() - p.paperWidth * dot) < 2 && qAbs(page.height() - p.paperHeight * dot) < 2);
        // The symbol is centred across its width: its left edge is found from its ink.
        const QLocale locale;
        const double unit = (inches ? 1440 : 567) / 4.8; // dots, 4.8 twips a dot
        const auto dots = [&](const QString &text) { return locale.toDouble(text) * unit; };
        const int width = qRound(dots(designer.width));
        // Where the dialog's numbers put each label; the fills table bounds how
        // far that may lie from the product's place.
        const double gapAcross = dots(dialog.Text1->text()) + dots(dialog.Text2->text());
        const double gapDown = dots(dialog.Text4->text()) + dots(dialog.Text5->text());
        const double cellWidth = dots(designer.width) + gapAcross;
        const double cellHeight = dots(designer.height) + gapDown;
        for (int cell = 0; cell < p.columns * p.rows; ++cell) {
            const double x = dots(dialog.Text6->text()) + cell % p.columns * cellWidth;
            const double y = dots(dialog.Text8->text()) + cell / p.columns * cellHeight;
            const QPointF at(x, y);
            const QRect label(at.toPoint(), QSize(qRound(p.labelWidth * dot), qRound(p.labelHeight * dot)));
            const QRect ink = Decode::inkBox(page, label.adjusted(-3, -3, 0, 0));
            if (cell < start - 1) {
                QVERIFY(ink.isNull());
                continue;
            }
            const QPointF corner((ink.left() + ink.right() + 1 - width) / 2.0, ink.top());
            const QPointF off = corner - at;
            const QString where = QStringLiteral("cell %1").arg(cell);
            QVERIFY2(qAbs(off.x()) <= 1 && qAbs(off.y()) <= 1, qPrintable(where));
            const int value = (cell - (start - 1)) / copies;
            QCOMPARE(Decode::zxingOne(Decode::label(page, label)), QString::number(101 + value));
        }
    }

    // The print dialog's numbers for a product: none below 0, none with more
    // than two decimals, and the grid the run computes from them has the
    // product's columns and rows, no label further from its place than the
    // row allows (a grid whose last gap runs past the page must shrink its cells).
    void fills_data()
    {
        QTest::addColumn<FillCase>("fill");
        QTest::newRow("Avery 5160, in: tight to the page's right edge")
            << FillCase{.inches = true, .pageLeft = "0.16", .labelRight = "0.16", .mostOffMm = 0.1};
        QTest::newRow("Avery 5160, cm")
            << FillCase{.inches = false, .pageLeft = "0.4", .labelRight = "0.4", .mostOffMm = 0.04};
        QTest::newRow("Avery 5163, in: roomy")
            << FillCase{.inches = true, .pageLeft = "0.18", .labelRight = "0.16", .mostOffMm = 0.45};
        QTest::newRow("Zweckform 3474, cm: A4 filled to its edges")
            << FillCase{.inches = false, .pageLeft = "0.01", .labelRight = "0", .mostOffMm = 0.1};
        QTest::newRow("Avery 5167, in: the last gap past the page")
            << FillCase{.inches = true, .pageLeft = "0.3", .labelRight = "0.3", .mostOffMm = 0.48};
        QTest::newRow("Dymo 11354, cm: paper of its own size")
            << FillCase{.inches = false, .pageLeft = "0", .labelRight = "0", .mostOffMm = 0};
    }
    void fills()
    {
        QFETCH(FillCase, fill);
        const QString query = QString(QTest::currentDataTag()).section(u',', 0, 0);
        const LabelProduct &p = *LabelProducts::search(m_products, query).front();
        StandInDesigner designer;
        SheetDialogs dialogs;
        dialogs.product = query;
        PrinterObject::current().selectPdfFile(designer.dir.filePath("sheet.pdf"));
        frmPrint dialog(designer);
        (fill.inches ? dialog.Option4 : dialog.Option5)->click();
        dialog.LabelProductButton_Click();
        QCOMPARE(dialog.Text6->text(), fill.pageLeft);
        QCOMPARE(dialog.Text2->text(), fill.labelRight);
        const QLocale locale;
        const QLineEdit *const fields[] = {dialog.Text1, dialog.Text2, dialog.Text4, dialog.Text5,
                                           dialog.Text6, dialog.Text7, dialog.Text8, dialog.Text9};
        QList<double> m;
        for (const QLineEdit *field : fields) {
            const double value = locale.toDouble(field->text());
            QVERIFY2(value >= 0, qPrintable(field->text()));
            QVERIFY2(field->text().section(locale.decimalPoint(), 1).size() <= 2, qPrintable(field->text()));
            m << value;
        }
        const double f = dialog.twipsPerUnit;
        const double width = locale.toDouble(designer.width);
        const double height = locale.toDouble(designer.height);
        const LabelGrid::Margins label{.left = m[0], .right = m[1], .top = m[2], .bottom = m[3]};
        const LabelGrid::Margins page{.left = m[4], .right = m[5], .top = m[6], .bottom = m[7]};
        const std::int32_t pageWidth = PrinterObject::current().pageWidthTwips();
        const std::int32_t pageHeight = PrinterObject::current().pageHeightTwips();
        const LabelGrid grid = LabelGrid::compute(f, width, height, label, page, pageWidth, pageHeight);
        QCOMPARE(grid.columns, p.columns);
        QCOMPARE(grid.rows, p.rows);
        const double twipsPerMm = 1440 / 25.4;
        const double mostOff = fill.mostOffMm * twipsPerMm + 0.5;
        for (int column : {0, p.columns - 1}) {
            const double placed = grid.originX + column * grid.cellWidth;
            const double product = (p.left + column * p.pitchX) * 20;
            QVERIFY2(std::abs(placed - product) <= mostOff, qPrintable(QString::number(column)));
        }
        for (int row : {0, p.rows - 1}) {
            const double placed = grid.originY + row * grid.cellHeight;
            const double product = (p.top + row * p.pitchY) * 20;
            QVERIFY2(std::abs(placed - product) <= mostOff, qPrintable(QString::number(row)));
        }
    }

    // Cancel half way: the print sends nothing and leaves no file; the save
    // keeps whole files, says how many, and the next save opens where it went.
    void cancelledRuns()
    {
        StandInDesigner designer;
        SheetDialogs dialogs;
        designer.sequence("1", "100000");
        PrinterObject::current().selectPdfFile(designer.dir.filePath("sheet.pdf"));
        PrinterObject::current().setMedia(QPageSize(QPageSize::Letter), QPageLayout::Portrait);
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, [] {
            if (auto *progress = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget()))
                progress->cancel();
        });
        cancel.start(100);
        frmPrint dialog(designer);
        dialog.OKButton_Click();
        QVERIFY(dialogs.messages.isEmpty() && !dialog.isUnloaded());
        QVERIFY(dialog.runSummary().startsWith("Printing cancelled: nothing was sent"));
        const QDir dir(designer.dir.path());
        QCOMPARE(dir.entryList({"*.pdf*", "*.job"}, QDir::Files | QDir::Hidden), QStringList());

        dialogs.saveAnswer = dir.filePath("p.bmp");
        OutputCommands commands(designer);
        commands.mnuSave_Click();
        const QStringList files = dir.entryList({"p*.bmp"}, QDir::Files);
        QVERIFY(files.size() > 1 && files.size() < 100000);
        QCOMPARE(
            commands.lastRunSummary(),
            QStringLiteral("Saving cancelled: %1 pictures in %2 kept").arg(files.size()).arg(dir.path()));
        for (const QString &file : files)
            QVERIFY2(!QImage(dir.filePath(file)).isNull(), qPrintable(file));
        QCOMPARE(dialogs.folder, QString());
        dialogs.saveAnswer.reset();
        commands.mnuSave_Click();
        QCOMPARE(dialogs.folder, dir.path());
        QCOMPARE(dialogs.askedName, QString());
    }

private:
    std::vector<LabelProduct> m_products;
};

QTEST_MAIN(LabelProductsTest)
#include "label_products.moc"
