// The core alone, without a widget or a printer driver (this program links
// nothing else): a printing run drawn on a PDF writer through the printer
// interface, its sheets read back by poppler and every label decoded; a failed
// run leaves no job and the font as it was.
#include "DeviceRegistry.h"
#include "FakeControls.h"
#include "LabelPrinter.h"
#include "LabelSheet.h"
#include "Module1.h"
#include "PdfCheck.h"
#include "PrintRun.h"
#include "SymbolDesign.h"


#include <QPdfWriter>
#include <QtTest>
#include <optional>

namespace {

// A PDF file at 300 dpi on US letter, as the printing run sees a printer.
class PdfPrinter : public LabelPrinter {
public:
    explicit PdfPrinter(const QString &file) : m_file(file) {}
    QString deviceName() const override { return QStringLiteral("PDF"); }
    void setScaleMode(std::int16_t) override {}
    void printEmptyLine() override
    {
        if (!m_painter) {
            m_writer.emplace(m_file), m_writer->setPageMargins(QMarginsF()), m_writer->setResolution(300);
            m_writer->setPageSize(QPageSize(QPageSize::Letter));
            m_hdc = DeviceRegistry::add(&m_painter.emplace(&*m_writer));
        }
    }
    std::int32_t pageWidthTwips() const override { return 8.5 * 1440; }
    std::int32_t pageHeightTwips() const override { return 11 * 1440; }
    float twipsPerPixelX() const override { return 1440.0f / 300; }
    float twipsPerPixelY() const override { return 1440.0f / 300; }
    std::int32_t hDC() const override { return m_hdc; }
    void newPage() override { m_writer->newPage(); }
    void endDoc() override { DeviceRegistry::remove(m_hdc), m_painter.reset(), m_writer.reset(); }
    void abortDoc() override
    {
        if (m_painter)
            endDoc(), QFile::remove(m_file);
    }

private:
    QString m_file;
    std::optional<QPdfWriter> m_writer;
    std::optional<QPainter> m_painter;
    std::int32_t m_hdc = 0;
};

PrintRun::Sheet labelSheet()
{
    PrintRun::Sheet sheet;
    sheet.width = LabelSheet::text(LabelSheet::symbolWidth);
    sheet.height = LabelSheet::text(LabelSheet::symbolHeight);
    sheet.margins = {LabelSheet::text(LabelSheet::labelLeft), LabelSheet::text(LabelSheet::labelRight),
                     LabelSheet::text(LabelSheet::labelTop),  LabelSheet::text(LabelSheet::labelBottom),
                     LabelSheet::text(LabelSheet::pageLeft),  LabelSheet::text(LabelSheet::pageRight),
                     LabelSheet::text(LabelSheet::pageTop),   LabelSheet::text(LabelSheet::pageBottom)};
    return sheet;
}

} // namespace

class CoreTest : public QObject {
    Q_OBJECT
private slots:
    void printRun()
    {
        QTemporaryDir dir;
        FakeControls controls;
        controls.source(2), controls.t2 = QStringLiteral("1"), controls.t3 = QStringLiteral("45");
        Module1 data(controls);
        SymbolDesign symbol;
        symbol.setBarType(std::int16_t(Symbology::Code128)), symbol.Font().setSize(14.0);
        const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
        PdfPrinter printer(pdf);
        PrintRun run(symbol, data, printer, labelSheet());
        QVERIFY2(run.execute(), qPrintable(run.error()));
        QVERIFY(run.labelsDrawn() == 45 && run.pagesStarted() == 2 && symbol.Font().Size() == 14.0);
        const PdfCheck check(pdf, 45, [](qint64 k) { return sequenceValue(k, QStringLiteral("1")); });
        const PdfCheckReport report = check.check(check.allPages(), dir.path());
        QVERIFY2(report.ok(), qPrintable(report.summary()));

        // Beyond one page's labels: nothing printed, the file gone, the font back.
        QFile::remove(pdf);
        run.setFirstLabel(31);
        QVERIFY(!run.execute() && run.error().contains("\"Start at label\" must be from 1 to 30"));
        QVERIFY(!QFile::exists(pdf) && symbol.Font().Size() == 14.0);
    }
};

QTEST_MAIN(CoreTest)
#include "tst_core.moc"
