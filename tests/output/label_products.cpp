// Label products read from the real template files of glabels-data, chosen in
// the print dialog and printed: the PDF, read back by pdfinfo, pdftoppm and
// zxing-cpp, must have exactly the product's columns and rows, each label
// where the product has it. Also a partly used sheet, the preview's pages, and
// runs cancelled half way.
#include "LabelProducts.h"
#include "OutputCommands.h"
#include "PdfCheck.h"
#include "PrinterObject.h"
#include "ScreenMetrics.h"
#include "StandInDesigner.h"
#include "frmPrint.h"

#include "Decode.h"
#include "Files.h"

#include <QPrintPreviewWidget>
#include <QtTest>
#include <QtWidgets>
#include <cmath>

namespace {

// The chooser picks the product asked for, the preview counts its pages and
// shows the first whole, the save dialog tells where it opened.
struct SheetDialogs : StandInDialogs {
    QString product, folder;
    int previewPages = -1;
    QImage previewPage; // its white paper, as the preview widget draws it
    std::optional<LabelProduct> chooseLabelProduct(const std::vector<LabelProduct> &all,
                                                   const QString &) override
    {
        return *LabelProducts::search(all, product).front();
    }
    bool printPreview(QPrintPreviewWidget &preview) override
    {
        preview.resize(850, 1100);
        preview.setViewMode(QPrintPreviewWidget::SinglePageView);
        preview.updatePreview();
        previewPages = preview.pageCount();
        const QImage shown = preview.grab().toImage();
        QRect paper;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) == qRgb(255, 255, 255))
                    paper |= QRect(x, y, 1, 1);
        previewPage = shown.copy(paper);
        return false;
    }
    std::optional<QString> saveFileIn(const QString &in, const QString &f, const QString &e, const QString &n,
                                      int &i) override
    {
        folder = in;
        return saveFile(f, e, n, i);
    }
};

// A product chosen in the print dialog and printed at 300 dpi from label
// "start", each value "copies" times.
struct SheetCase {
    bool inches = true; // the dialog's unit
    int start = 1;
    int values = 0;
    int copies = 1;
    int pages = 1;
    QString pageLeft = {}, labelRight = {}; // as the dialog's fields show them
    double mostOffMm = 0; // how far the dialog's grid may lie from the product's places
};

} // namespace

Q_DECLARE_METATYPE(SheetCase)

class LabelProductsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        ScreenMetrics::overrideDpi(96, 96);
        QString error;
        m_products = LabelProducts::load(LabelProducts::defaultFolder(), &error);
        QVERIFY2(m_products.size() > 500, "glabels-data is installed by make test");
        QCOMPARE(error, QString()); // no message beside the products
    }

    void searchAndMissingTemplates()
    {
        const auto a4 = LabelProducts::search(m_products, "", "A4");
        QVERIFY(a4.size() > 100 && a4.size() < m_products.size());
        QVERIFY(std::all_of(a4.begin(), a4.end(), [](const LabelProduct *p) { return p->paperId == "A4"; }));
        // Two layouts on a sheet (CD labels and their middles) are no grid of labels.
        QVERIFY(LabelProducts::search(m_products, "Begalabel M-600 (medium)").empty());
        // A disc is as wide and high as it is across: Avery 5824's CD labels, 5193's round ones.
        for (const auto &[name, across] : {std::pair{"Avery 5824", 333.0}, std::pair{"Avery 5193", 117.0}}) {
            const auto found = LabelProducts::search(m_products, name);
            QVERIFY2(!found.empty(), name);
            QCOMPARE(found.front()->labelWidth, across);
            QCOMPARE(found.front()->labelHeight, across);
        }
        // One column that gives no pitch: one label's width is the pitch.
        QVERIFY(!LabelProducts::search(m_products, "Begalabel M-600 (box1)").empty());
        // A grid without a column, or of labels without a width, holds no label.
        QTemporaryDir folder;
        const QString product = R"(<Template brand="Q" part="P" size="Other" width="99" height="99">)"
                                R"(<Label-rectangle width="%1" height="9"><Layout nx="%2" ny="1"/>)"
                                R"(</Label-rectangle></Template>)";
        const QString products = product.arg(9).arg(0) + product.arg(0).arg(1);
        QVERIFY(plant(folder.filePath("own-templates.xml"),
                      ("<Glabels-templates>" + products + "</Glabels-templates>").toUtf8()));
        QString error;
        QVERIFY(LabelProducts::load(folder.path(), &error).empty());
        QVERIFY(LabelProducts::load(QStringLiteral("/nonexistent"), &error).empty());
        QVERIFY(error.contains("apt-get install glabels-data"));
        // Listed by brand, then by part, as the chooser shows them.
        const auto at = [this](const char *name) { return LabelProducts::search(m_products, name).front(); };
        QVERIFY(at("Avery 5160") < at("Avery 5161"));
        QVERIFY(at("Avery 5161") < at("Zweckform 3474"));
        // A paper of the label's own size: named by its size, and the PDF printer's first choice.
        const QPageSize own(QSizeF(2.25, 1.25), QPageSize::Inch, QString());
        QCOMPARE(PrinterObject::paperName(own), QStringLiteral("2.25 × 1.25 in"));
        PrinterObject printer;
        printer.selectPdfFile(QDir::temp().filePath("unused.pdf"));
        printer.setMedia(own, QPageLayout::Portrait);
        QVERIFY(printer.mediaSizes().front().isEquivalentTo(own));
    }

    void printedSheet_data()
    {
        QTest::addColumn<SheetCase>("sheet");
        QTest::newRow("Avery 5160, in: tight to the page's right edge, from label 5, 3 copies each")
            << SheetCase{.start = 5,
                         .values = 20,
                         .copies = 3,
                         .pages = 3,
                         .pageLeft = "0.16",
                         .labelRight = "0.16",
                         .mostOffMm = 0.1};
        QTest::newRow("Zweckform 3474, cm: A4 filled to its edges") << SheetCase{
            .inches = false, .values = 24, .pageLeft = "0.01", .labelRight = "0", .mostOffMm = 0.1};
        // A grid whose last gap runs past the page must shrink its cells.
        QTest::newRow("Avery 5167, in: the last gap past the page")
            << SheetCase{.values = 80, .pageLeft = "0.3", .labelRight = "0.3", .mostOffMm = 0.48};
        QTest::newRow("Dymo 11354, cm: a roll, paper of its label's size, a page a label")
            << SheetCase{.inches = false, .values = 2, .pages = 2, .pageLeft = "0", .labelRight = "0"};
    }
    // The print dialog's numbers for the product (whose unit the designer takes
    // on): none below 0, none with more than two decimals, no label further from
    // the product's place than the row allows. Printed: every cell of the first
    // page empty before "start", then decoded in order, its top left within a
    // dot of where the dialog's numbers put it; the preview shows as many pages
    // as the PDF has.
    void printedSheet()
    {
        QFETCH(SheetCase, sheet);
        const QString query = QString(QTest::currentDataTag()).section(u',', 0, 0);
        const LabelProduct &p = *LabelProducts::search(m_products, query).front();
        SheetDialogs dialogs;
        StandInDesigner designer(dialogs);
        dialogs.product = query;
        designer.sequence("101", QString::number(100 + sheet.values));
        designer.vantrel().setAlignment(1); // centred
        const QString pdf = designer.dir.filePath("sheet.pdf");
        designer.printer.selectPdfFile(pdf);
        designer.printer.setResolution(300);
        frmPrint dialog(designer, dialogs, designer.printer);
        (sheet.inches ? dialog.Option4 : dialog.Option5)->click();
        dialog.LabelProductButton_Click();
        QCOMPARE(designer.o4, sheet.inches);
        QCOMPARE(dialog.Text6->text(), sheet.pageLeft);
        QCOMPARE(dialog.Text2->text(), sheet.labelRight);
        const QLocale locale;
        const QList<QLineEdit *> fields{dialog.Text1, dialog.Text2, dialog.Text4, dialog.Text5,
                                        dialog.Text6, dialog.Text7, dialog.Text8, dialog.Text9};
        for (const QLineEdit *field : fields) {
            QVERIFY2(locale.toDouble(field->text()) >= 0, qPrintable(field->text()));
            QVERIFY2(field->text().section(locale.decimalPoint(), 1).size() <= 2, qPrintable(field->text()));
        }
        dialog.StartLabel->setValue(sheet.start);
        dialog.Copies->setValue(sheet.copies);
        dialog.PreviewButton_Click();
        QCOMPARE(dialog.runSummary(), QString()); // the preview printed nothing
        dialog.OKButton_Click();
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.allText()));
        QCOMPARE(dialogs.previewPages, sheet.pages);
        QCOMPARE(PdfCheck::pageCount(pdf), sheet.pages);
        const QString summary
            = QStringLiteral("%1 labels on %2 page").arg(sheet.values * sheet.copies).arg(sheet.pages);
        QVERIFY2(dialog.runSummary().startsWith(summary), qPrintable(dialog.runSummary()));

        const QImage page = PdfCheck::render(pdf, 300, 1, 1).value(0); // the first page at 300 dpi
        const double dot = 300.0 / 72; // dots a point
        // The product's paper, to a whole point as a PDF page has it.
        QVERIFY(qAbs(page.width() - p.paperWidth * dot) < dot
                && qAbs(page.height() - p.paperHeight * dot) < dot);
        // The symbol is centred across its width: its left edge is found from its ink.
        const double unit = dialog.twipsPerUnit / 4.8; // dots, 4.8 twips a dot
        const auto dots = [&](const QString &text) { return locale.toDouble(text) * unit; };
        const int width = qRound(dots(designer.width));
        const double cellWidth
            = dots(designer.width) + dots(dialog.Text1->text()) + dots(dialog.Text2->text());
        const double cellHeight
            = dots(designer.height) + dots(dialog.Text4->text()) + dots(dialog.Text5->text());
        const double mostOff = sheet.mostOffMm / 25.4 * 300 + 0.1;
        for (int cell = 0; cell < p.columns * p.rows; ++cell) {
            const int column = cell % p.columns;
            const int row = cell / p.columns;
            const QPointF at(dots(dialog.Text6->text()) + column * cellWidth,
                             dots(dialog.Text8->text()) + row * cellHeight);
            const QPointF place((p.left + column * p.pitchX) * dot, (p.top + row * p.pitchY) * dot);
            const QString where = QStringLiteral("cell %1").arg(cell);
            QVERIFY2(qAbs(at.x() - place.x()) <= mostOff && qAbs(at.y() - place.y()) <= mostOff,
                     qPrintable(where));
            const QRect label(at.toPoint(), QSize(qRound(p.labelWidth * dot), qRound(p.labelHeight * dot)));
            const QRect ink = Decode::inkBox(page, label.adjusted(-3, -3, 0, 0));
            if (cell < sheet.start - 1) {
                QVERIFY(ink.isNull());
                // The middle of its left edge: the outline in the preview, nothing at all on paper.
                const QRect edge(label.left() - 9, label.top() + label.height() / 3, 19, label.height() / 3);
                QVERIFY(Decode::inkBox(page, edge, 250).isNull());
                const double shown = double(dialogs.previewPage.width()) / page.width();
                const QRect shownEdge(edge.topLeft() * shown, edge.size() * shown);
                QVERIFY(!Decode::inkBox(dialogs.previewPage, shownEdge, 250).isNull());
                continue;
            }
            const QPointF off = QPointF((ink.left() + ink.right() + 1 - width) / 2.0, ink.top()) - at;
            QVERIFY2(qAbs(off.x()) <= 1 && qAbs(off.y()) <= 1, qPrintable(where));
            const int value = (cell - (sheet.start - 1)) / sheet.copies;
            QCOMPARE(Decode::zxingOne(Decode::label(page, label)), QString::number(101 + value));
        }
    }

    // Cancel half way: the print sends nothing and leaves no file; the save
    // keeps whole files, says how many, and the next save opens where it went.
    void cancelledRuns()
    {
        SheetDialogs dialogs;
        StandInDesigner designer(dialogs);
        designer.sequence("1", "100000");
        designer.printer.selectPdfFile(designer.dir.filePath("sheet.pdf"));
        designer.printer.setMedia(QPageSize(QPageSize::Letter), QPageLayout::Portrait);
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, [] {
            if (auto *progress = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget()))
                progress->cancel();
        });
        cancel.start(100);
        frmPrint dialog(designer, dialogs, designer.printer);
        dialog.OKButton_Click();
        QVERIFY(dialogs.messages.isEmpty() && !dialog.isUnloaded());
        QVERIFY(dialog.runSummary().startsWith("Printing cancelled: nothing was sent"));
        const QDir dir(designer.dir.path());
        QCOMPARE(dir.entryList({"*.pdf*", "*.job"}, QDir::Files | QDir::Hidden), QStringList());

        dialogs.saveAnswer = dir.filePath("p.bmp");
        OutputCommands commands(designer, dialogs, designer.printer);
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
