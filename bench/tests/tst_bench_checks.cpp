// The benchmark's outside checks must catch wrong output, or its "met" lines
// mean nothing: label sheets and picture folders with known faults are built
// here with libzint directly and must be refused, the sound ones accepted.
#include "BenchResult.h"
#include "LabelSheet.h"
#include "PdfCheck.h"
#include "ProcessStats.h"
#include "SaveCheck.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <ctime>
#include <memory>
#include <vector>
#include <zint.h>

namespace {

const QString start = QStringLiteral("00001");
QString value(qint64 k) { return sequenceValue(k, start); }

// Code128 bars of the value across `area`, plain rectangles, no text.
void drawCode128(QPainter &painter, const QRectF &area, const QString &text)
{
    std::unique_ptr<zint_symbol, void (*)(zint_symbol *)> symbol(ZBarcode_Create(), ZBarcode_Delete);
    symbol->symbology = BARCODE_CODE128;
    const QByteArray data = text.toUtf8();
    QVERIFY(ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char *>(data.constData()), int(data.size())) < ZINT_ERROR);
    const int quiet = 10;
    const double module = area.width() / (symbol->width + 2 * quiet);
    for (int column = 0; column < symbol->width; ++column)
        if (symbol->encoded_data[0][column / 8] & (1 << (column % 8)))
            painter.fillRect(QRectF(area.x() + (quiet + column) * module, area.y(), module, area.height()), Qt::black);
}

enum class Fault { None, Swapped, Missing, ExtraAfterLast, ExtraPage, Shifted };

// A PDF of `labels` labels on the benchmark's sheet, with one fault put in.
void writeSheet(const QString &path, qint64 labels, Fault fault)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(300);
    QPainter painter(&writer);
    const double dpi = 300;
    const qint64 pages = (labels + LabelSheet::labelsPerPage - 1) / LabelSheet::labelsPerPage
                         + (fault == Fault::ExtraPage ? 1 : 0);
    for (qint64 page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        for (int index = 0; index < LabelSheet::labelsPerPage; ++index) {
            qint64 label = page * LabelSheet::labelsPerPage + index + 1;
            if (label > labels && !(fault == Fault::ExtraAfterLast && label == labels + 1))
                continue;
            if (fault == Fault::Missing && label == 5)
                continue;
            if (fault == Fault::Swapped && (label == 2 || label == 3))
                label = label == 2 ? 3 : 2;
            QRectF cell = LabelSheet::cell(index);
            if (fault == Fault::Shifted && label == 7)
                cell.translate(LabelSheet::cellWidth(), 0); // drawn over its neighbour's cell
            const QRectF symbol(cell.x() * dpi, cell.y() * dpi, LabelSheet::symbolWidth * dpi,
                                LabelSheet::symbolHeight * dpi);
            drawCode128(painter, symbol, value(label));
        }
    }
}

} // namespace

class BenchChecks : public QObject {
    Q_OBJECT
private slots:
    void sequenceValues_data();
    void sequenceValues();
    void sheetGridIsExact();
    void pdfCheck_data();
    void pdfCheck();
    void saveCheck_data();
    void saveCheck();
    void peakMemoryIsInMegabytes();
    void launchTime();
    void resultLineSplitsOnBlanks();
};

void BenchChecks::sequenceValues_data()
{
    QTest::addColumn<QString>("startText");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<QString>("expected");
    QTest::newRow("start as typed") << "00001" << qint64(1) << "00001";
    QTest::newRow("padded") << "00001" << qint64(2) << "00002";
    QTest::newRow("full width") << "00001" << qint64(10000) << "10000";
    QTest::newRow("wider than the start") << "00001" << qint64(100000) << "100000";
    QTest::newRow("no zero, no padding") << "7" << qint64(3) << "9";
    QTest::newRow("padding follows the start") << "0009" << qint64(2) << "0010";
}

void BenchChecks::sequenceValues()
{
    QFETCH(QString, startText);
    QFETCH(qint64, position);
    QFETCH(QString, expected);
    QCOMPARE(sequenceValue(position, startText), expected);
}

// The printing run counts columns and rows with Int() of twips quotients; a
// sheet whose quotients are not exact could lose a row to rounding.
void BenchChecks::sheetGridIsExact()
{
    const double f = 1440;
    const double cellWidth = f * LabelSheet::symbolWidth + f * (LabelSheet::labelLeft + LabelSheet::labelRight);
    const double cellHeight = f * LabelSheet::symbolHeight + f * (LabelSheet::labelTop + LabelSheet::labelBottom);
    const double across = (12240 - f * (LabelSheet::pageLeft + LabelSheet::pageRight)) / cellWidth;
    const double down = (15840 - f * (LabelSheet::pageTop + LabelSheet::pageBottom)) / cellHeight;
    QCOMPARE(across, double(LabelSheet::columns));
    QCOMPARE(down, double(LabelSheet::rows));
    QCOMPARE(std::floor(across) * std::floor(down), 30.0);
}

void BenchChecks::pdfCheck_data()
{
    QTest::addColumn<qint64>("labels");
    QTest::addColumn<int>("fault");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("wrong");
    QTest::addColumn<bool>("exactly"); // else at least
    QTest::newRow("sound, last page part full") << qint64(40) << int(Fault::None) << true << qint64(0) << true;
    QTest::newRow("sound, pages exactly full") << qint64(60) << int(Fault::None) << true << qint64(0) << true;
    QTest::newRow("two labels swapped") << qint64(40) << int(Fault::Swapped) << false << qint64(2) << true;
    QTest::newRow("a label missing") << qint64(40) << int(Fault::Missing) << false << qint64(1) << true;
    QTest::newRow("a symbol after the last label") << qint64(40) << int(Fault::ExtraAfterLast) << false << qint64(1) << true;
    QTest::newRow("an empty page at the end") << qint64(60) << int(Fault::ExtraPage) << false << qint64(0) << true;
    // Its own cell reads empty; the neighbour's two symbols may still read as one.
    QTest::newRow("a label in its neighbour's cell") << qint64(40) << int(Fault::Shifted) << false << qint64(1) << false;
}

void BenchChecks::pdfCheck()
{
    QFETCH(qint64, labels);
    QFETCH(int, fault);
    QFETCH(bool, ok);
    QFETCH(qint64, wrong);
    QFETCH(bool, exactly);
    QTemporaryDir work;
    const QString pdf = work.filePath(QStringLiteral("sheet.pdf"));
    writeSheet(pdf, labels, Fault(fault));
    const PdfCheck check(pdf, labels, value);
    const PdfCheckReport report = check.check(check.allPages(), work.path());
    QCOMPARE(report.ok(), ok);
    if (exactly)
        QCOMPARE(report.labelsWrong, wrong);
    else
        QVERIFY(report.labelsWrong >= wrong);
    QCOMPARE(report.labelsChecked, labels);
}

void BenchChecks::saveCheck_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("ok");
    QTest::newRow("sound") << "" << true;
    QTest::newRow("a file holds another value") << "wrong value" << false;
    QTest::newRow("a file missing") << "missing" << false;
    QTest::newRow("the chosen name missing") << "no first" << false;
}

void BenchChecks::saveCheck()
{
    QFETCH(QString, fault);
    QFETCH(bool, ok);
    QTemporaryDir work;
    const int files = 12;
    for (int k = 1; k <= files; ++k) {
        if ((fault == QLatin1String("missing") && k == 6) || (fault == QLatin1String("no first") && k == 1))
            continue;
        QImage picture(240, 72, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        drawCode128(painter, QRectF(0, 0, 240, 72), value(fault == QLatin1String("wrong value") && k == 4 ? 9 : k));
        painter.end();
        const QString name = k == 1 ? QStringLiteral("item.png") : QStringLiteral("item_%1.png").arg(value(k));
        QVERIFY(picture.save(work.filePath(name)));
    }
    // Every file is sampled, so every fault is seen.
    const SaveCheckReport report = SaveCheck(work.path(), QStringLiteral("item.png"), files, value).check(files);
    QCOMPARE(report.ok(), ok);
    QCOMPARE(report.format, QStringLiteral("png"));
}

void BenchChecks::peakMemoryIsInMegabytes()
{
    const double before = ProcessStats::peakMegabytes();
    QVERIFY(before > 1 && before < 1000);
    std::vector<char> block(64 * 1024 * 1024);
    for (size_t i = 0; i < block.size(); i += 4096)
        block[i] = char(i);
    const double after = ProcessStats::peakMegabytes();
    QVERIFY2(after - before > 60 && after - before < 70, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
}

// bench/run passes the launch time in; without it the kernel's start time is used.
void BenchChecks::launchTime()
{
    const double sinceStart = ProcessStats::secondsSinceLaunch();
    QVERIFY2(sinceStart > 0 && sinceStart < 60, qPrintable(QString::number(sinceStart)));
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const qint64 twoSecondsAgo = qint64(now.tv_sec - 2) * 1000000000 + now.tv_nsec;
    qputenv("QUILLBENCH_LAUNCH_NS", QByteArray::number(twoSecondsAgo));
    const double sinceLaunch = ProcessStats::secondsSinceLaunch();
    qunsetenv("QUILLBENCH_LAUNCH_NS");
    QVERIFY2(sinceLaunch >= 2.0 && sinceLaunch < 3.0, qPrintable(QString::number(sinceLaunch)));
}

// bench/run reads "key=value" fields split on blanks; a value with blanks or
// an empty one must not shift the fields after it.
void BenchChecks::resultLineSplitsOnBlanks()
{
    BenchResult result(QStringLiteral("save"), 10);
    result.seconds = 0.5;
    result.peakMb = 30.25;
    result.verified = QStringLiteral("3/3 sampled png files");
    result.add(QStringLiteral("format"), QString());
    result.fail(QStringLiteral("a message box"));
    const QStringList fields = result.resultLine().split(u' ');
    QCOMPARE(fields.first(), QStringLiteral("RESULT"));
    QVERIFY(fields.contains(QStringLiteral("per_second=20.0")));
    QVERIFY(fields.contains(QStringLiteral("peak_mb=30.2")) || fields.contains(QStringLiteral("peak_mb=30.3")));
    QVERIFY(fields.contains(QStringLiteral("status=failed")));
    QVERIFY(fields.contains(QStringLiteral("verified=3/3_sampled_png_files")));
    QCOMPARE(fields.last(), QStringLiteral("format=-"));
}

QTEST_MAIN(BenchChecks)
#include "tst_bench_checks.moc"
