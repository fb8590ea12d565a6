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
    symbol->whitespace_width = 10;
    symbol->show_hrt = 0;
    const QByteArray data = text.toUtf8();
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    ZBarcode_Encode_and_Buffer(symbol.get(), bytes, int(data.size()), 0);
    const int width = symbol->bitmap_width;
    const QImage rgb(symbol->bitmap, width, symbol->bitmap_height, 3 * width, QImage::Format_RGB888);
    return rgb.convertToFormat(QImage::Format_Mono);
}

constexpr qint64 kLabels = 40; // the last page part full

enum Fault { None, Swapped, Missing, ExtraAfterLast, ExtraPage };

// The value drawn for label or file k of `count` under the fault; 0 for none.
qint64 drawnFor(qint64 k, qint64 count, Fault fault)
{
    if (fault == Missing && k == 5)
        return 0;
    if (k > count)
        return fault == ExtraAfterLast && k == count + 1 ? k : 0;
    return fault == Swapped && (k == 2 || k == 3) ? 5 - k : k;
}

void writeSheet(const QString &path, Fault fault)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(300);
    QPainter painter(&writer);
    const qint64 perPage = LabelSheet::labelsPerPage;
    const qint64 pages = (kLabels + perPage - 1) / perPage + (fault == ExtraPage);
    const QSizeF symbol = QSizeF(LabelSheet::symbolWidth, LabelSheet::symbolHeight) * 300;
    for (qint64 k = 1; k <= pages * perPage; ++k) {
        const int index = int((k - 1) % perPage);
        if (k > 1 && index == 0)
            writer.newPage();
        if (const qint64 drawn = drawnFor(k, kLabels, fault))
            painter.drawImage(QRectF(LabelSheet::cell(index).topLeft() * 300, symbol), code128(value(drawn)));
    }
}

} // namespace

Q_DECLARE_METATYPE(Fault)

class SupportChecks : public QObject {
    Q_OBJECT
private slots:
    void outsideChecks_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<qint64>("pdfWrong");
        QTest::newRow("sound") << None << qint64(0);
        QTest::newRow("two swapped") << Swapped << qint64(2);
        QTest::newRow("one missing") << Missing << qint64(1);
        QTest::newRow("a symbol after the last label") << ExtraAfterLast << qint64(1);
        QTest::newRow("an empty page at the end") << ExtraPage << qint64(0);
    }
    void outsideChecks()
    {
        QFETCH(Fault, fault);
        QFETCH(qint64, pdfWrong);
        QTemporaryDir work;
        const QString pdf = work.filePath(QStringLiteral("sheet.pdf"));
        writeSheet(pdf, fault);
        const PdfCheck check(pdf, kLabels, value);
        const PdfCheckReport report = check.check(check.allPages(), work.path());
        QCOMPARE(report.ok(), fault == None);
        QCOMPARE(report.labelsChecked, kLabels);
        QCOMPARE(report.labelsWrong, pdfWrong);

        QTemporaryDir pictures;
        for (int k = 1; k <= 12; ++k) {
            const qint64 drawn = drawnFor(k, 12, fault);
            const QString name
                = k == 1 ? QStringLiteral("item.png") : QStringLiteral("item_%1.png").arg(value(k));
            if (drawn)
                QVERIFY(code128(value(drawn)).save(pictures.filePath(name)));
        }
        // Every one of the twelve files is sampled, so every fault among them is seen; faults
        // past them leave the check content.
        const SaveCheck saveCheck(pictures.path(), QStringLiteral("item.png"), 12, value);
        QCOMPARE(saveCheck.check(12).ok(), fault != Swapped && fault != Missing);
    }
};

QTEST_MAIN(SupportChecks)
#include "tst_support_checks.moc"
