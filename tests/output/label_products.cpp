// Label products read from the real template files of glabels-data, chosen in
// the print dialog and printed: the PDF, read back by pdfinfo, pdftoppm and
// zxing-cpp, must have exactly the product's columns and rows, each label
// where the product has it. Also a partly used sheet, the preview's pages, and
// runs cancelled half way.
#include "LabelProducts.h"
#include "OutputCommands.h"
#include "ScreenMetrics.h"
#include "frmPrint.h"
#include "PdfCheck.h"
#include "PrinterObject.h"
#include "StandInDesigner.h"

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
    std::optional<LabelProduct> chooseLabelProduct(const std::vector<LabelProduct> &all, const QString &) override
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


} // namespace

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
        const int width = qRound(QLocale().toDouble(designer.width) * (inches ? 1440 : 567) / 4.8); // 4.8 twips a dot
        for (int cell = 0; cell < p.columns * p.rows; ++cell) {
            const QPointF at((p.left + cell % p.columns * p.pitchX) * dot, (p.top + cell / p.columns * p.pitchY) * dot);
            const QRect label(at.toPoint(), QSize(qRound(p.labelWidth * dot), qRound(p.labelHeight * dot)));
            const QRect ink = Decode::inkBox(page, label.adjusted(-3, -3, 0, 0));
            if (cell < start - 1) {
                QVERIFY(ink.isNull());
                continue;
            }
            const QPointF corner((ink.left() + ink.right() + 1 - width) / 2.0, ink.top());
            QVERIFY2((corner - at).manhattanLength() <= 1, qPrintable(QStringLiteral("cell %1").arg(cell)));
            const int value = (cell - (start - 1)) / copies;
            QCOMPARE(Decode::zxingOne(Decode::label(page, label)), QString::number(101 + value));
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
        QCOMPARE(commands.lastRunSummary(), QStringLiteral("Saving cancelled: %1 pictures in %2 kept")
                                                .arg(files.size()).arg(dir.path()));
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
