// The benchmark's figures, and the tests that read output through the same
// checks, mean something only if those checks refuse wrong output. Label
// sheets and picture folders with known faults are built here with libzint
// directly.
#include "LabelSheet.h"
#include "PdfCheck.h"
#include "SaveCheck.h"

#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <zint.h>

namespace {

QString value(qint64 k) { return sequenceValue(k, QStringLiteral("00001")); }

// Code128 bars of the text, two pixels a module and ten modules of quiet zone
// each side, no text; one bit a pixel, as a PDF keeps it.
QImage code128(const QString &text)
{
    std::unique_ptr<zint_symbol, void (*)(zint_symbol *)> symbol(ZBarcode_Create(), ZBarcode_Delete);
    symbol->symbology = BARCODE_CODE128;
    const QByteArray data = text.toUtf8();
    ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char *>(data.constData()),
                    int(data.size()));
    QImage image(2 * (symbol->width + 20), 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int column = 0; column < symbol->width; ++column)
        if (symbol->encoded_data[0][column / 8] & (1 << (column % 8)))
            QPainter(&image).fillRect(2 * (10 + column), 0, 2, 60, Qt::black);
    return image.convertToFormat(QImage::Format_Mono);
}

enum Fault { None, Swapped, Missing, WrongValue, ExtraAfterLast, ExtraPage, Shifted };

// The value drawn for label or file k of `count` under the fault; 0 for none.
qint64 drawnFor(qint64 k, qint64 count, Fault fault)
{
    if (fault == Missing && k == 5)
        return 0;
    if (k > count)
        return fault == ExtraAfterLast && k == count + 1 ? k : 0;
    if (fault == Swapped && (k == 2 || k == 3))
        return 5 - k;
    return fault == WrongValue && k == 4 ? 9 : k;
}

void writeSheet(const QString &path, qint64 labels, Fault fault)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(300);
    QPainter painter(&writer);
    const qint64 pages
        = (labels + LabelSheet::labelsPerPage - 1) / LabelSheet::labelsPerPage + (fault == ExtraPage);
    for (qint64 k = 1; k <= pages * LabelSheet::labelsPerPage; ++k) {
        const int index = int((k - 1) % LabelSheet::labelsPerPage);
        if (k > 1 && index == 0)
            writer.newPage();
        QRectF cell = LabelSheet::cell(index);
        if (fault == Shifted && k == 7)
            cell.translate(LabelSheet::cellWidth(), 0); // drawn over its neighbour's cell
        if (const qint64 drawn = drawnFor(k, labels, fault))
            painter.drawImage(
                QRectF(cell.topLeft() * 300, QSizeF(LabelSheet::symbolWidth, LabelSheet::symbolHeight) * 300),
                code128(value(drawn)));
    }
}

} // namespace

Q_DECLARE_METATYPE(Fault)

class SupportChecks : public QObject {
    Q_OBJECT
private slots:
    // The save check sees twelve files, so faults past them leave it content.
    void outsideChecks_data()
    {
        QTest::addColumn<qint64>("labels");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<qint64>("pdfWrong"); // -1: at least one
        QTest::newRow("sound, last page part full") << qint64(40) << None << qint64(0);
        QTest::newRow("two swapped") << qint64(40) << Swapped << qint64(2);
        QTest::newRow("one missing") << qint64(40) << Missing << qint64(1);
        QTest::newRow("another value") << qint64(40) << WrongValue << qint64(1);
        QTest::newRow("a symbol after the last label") << qint64(40) << ExtraAfterLast << qint64(1);
        QTest::newRow("an empty page at the end") << qint64(60) << ExtraPage << qint64(0);
        // Its own cell reads empty; the neighbour's two symbols may still read as one.
        QTest::newRow("a label in its neighbour's cell") << qint64(40) << Shifted << qint64(-1);
    }
    void outsideChecks()
    {
        QFETCH(qint64, labels);
        QFETCH(Fault, fault);
        QFETCH(qint64, pdfWrong);
        QTemporaryDir work;
        const QString pdf = work.filePath(QStringLiteral("sheet.pdf"));
        writeSheet(pdf, labels, fault);
        const PdfCheck check(pdf, labels, value);
        const PdfCheckReport report = check.check(check.allPages(), work.path());
        QCOMPARE(report.ok(), fault == None);
        QCOMPARE(report.labelsChecked, labels);
        QVERIFY2(pdfWrong < 0 ? report.labelsWrong > 0 : report.labelsWrong == pdfWrong,
                 qPrintable(report.summary()));

        QTemporaryDir pictures;
        const int files = 12;
        bool filesSound = true;
        for (int k = 1; k <= files; ++k) {
            const qint64 drawn = drawnFor(k, files, fault);
            filesSound &= drawn == k;
            const QString name
                = k == 1 ? QStringLiteral("item.png") : QStringLiteral("item_%1.png").arg(value(k));
            QVERIFY(!drawn || code128(value(drawn)).save(pictures.filePath(name)));
        }
        // Every file is sampled, so every fault is seen.
        const SaveCheckReport saved
            = SaveCheck(pictures.path(), QStringLiteral("item.png"), files, value).check(files);
        QCOMPARE(saved.ok(), filesSound);
    }
};

QTEST_MAIN(SupportChecks)
#include "tst_support_checks.moc"
