#include "BenchTasks.h"
#include "Decode.h"
#include "LabelSheet.h"
#include "PdfCheck.h"
#include "ProcessStats.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <vector>

namespace {

// EAN-13 modules of these labels come out 3 pixels wide or more; at 150 dpi
// gLabels' narrower symbols do not always read.
constexpr int renderDpi = 300;
constexpr int samplePages = 12;
constexpr int problemsKept = 8;

struct ShelfRow {
    QString ean; // 12 digits, as the file holds them
    QString name;
    QString price;
};

// One line of a spreadsheet's export: fields split at commas outside quotes,
// "" inside quotes standing for one quote.
QStringList csvFields(const QString &line)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == u'"' && i + 1 < line.size() && line[i + 1] == u'"')
            fields.last() += line[++i];
        else if (c == u'"')
            quoted = !quoted;
        else if (c == u',' && !quoted)
            fields << QString();
        else
            fields.last() += c;
    }
    return fields;
}

// The rows of the shelf file (ean,name,price with a header line); empty when it cannot be read.
std::vector<ShelfRow> readRows(const QString &csv)
{
    std::vector<ShelfRow> rows;
    QFile file(csv);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    file.readLine(); // the header
    while (!file.atEnd()) {
        const QStringList fields = csvFields(QString::fromUtf8(file.readLine()).trimmed());
        if (fields.size() == 3)
            rows.push_back({fields[0], fields[1], fields[2]});
    }
    return rows;
}

QString withCheckDigit(const QString &twelve)
{
    int sum = 0;
    for (int i = 0; i < twelve.size(); ++i)
        sum += twelve[i].digitValue() * (i % 2 == 0 ? 1 : 3);
    return twelve + QString::number((10 - sum % 10) % 10);
}

// The page's text lines as poppler's pdftotext reads them, trimmed.
QSet<QString> textLines(const QString &pdf, int page)
{
    QProcess pdftotext;
    const QString number = QString::number(page);
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-f"), number, QStringLiteral("-l"), number, pdf, QStringLiteral("-")});
    QSet<QString> lines;
    if (!pdftotext.waitForFinished(120000) || pdftotext.exitCode() != 0)
        return lines;
    for (const QString &line : QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\n'))
        lines.insert(line.trimmed());
    return lines;
}

struct ShelfReport {
    int pagesChecked = 0;
    qint64 labelsChecked = 0;
    qint64 symbolsWrong = 0;
    qint64 textsWrong = 0; // labels whose name or price the page's text lacks
    QStringList problems;

    void note(const QString &problem)
    {
        if (problems.size() < problemsKept)
            problems << problem;
    }
};

void checkPage(const QString &pdf, int page, const QImage &image, const std::vector<ShelfRow> &rows,
               ShelfReport &report)
{
    if (image.isNull()) {
        report.note(QStringLiteral("page %1 could not be read back").arg(page));
        return;
    }
    ++report.pagesChecked;
    const QSet<QString> lines = textLines(pdf, page);
    const double dotsPerInch = image.width() / LabelSheet::pageWidth;
    for (int index = 0; index < LabelSheet::labelsPerPage; ++index) {
        const qint64 label = qint64(page - 1) * LabelSheet::labelsPerPage + index;
        if (label >= qint64(rows.size()))
            break;
        const ShelfRow &row = rows[size_t(label)];
        ++report.labelsChecked;
        const QRectF cell = LabelSheet::cell(index);
        const QRect pixels(int(cell.x() * dotsPerInch), int(cell.y() * dotsPerInch),
                           int(cell.width() * dotsPerInch), int(cell.height() * dotsPerInch));
        const Decode::Found found = Decode::zxingRead(image.copy(pixels));
        const QString expected = withCheckDigit(row.ean);
        if (found.text != expected || found.format != QLatin1String("EAN-13")) {
            ++report.symbolsWrong;
            report.note(QStringLiteral("page %1 cell %2: expected %3, read %4")
                            .arg(page)
                            .arg(index + 1)
                            .arg(expected,
                                 found.text.isEmpty() ? QStringLiteral("nothing")
                                                      : found.format + u':' + found.text));
        }
        if (!lines.contains(row.name) || !lines.contains(row.price)) {
            ++report.textsWrong;
            report.note(QStringLiteral("page %1 cell %2: the text lacks \"%3\" or \"%4\"")
                            .arg(page)
                            .arg(index + 1)
                            .arg(row.name, row.price));
        }
    }
}

} // namespace

BenchResult runCheckShelfTask(const QString &pdf, const QString &csv, const BenchOptions &options)
{
    BenchResult result{QStringLiteral("checkshelf"), 0};
    const std::vector<ShelfRow> rows = readRows(csv);
    result.count = qint64(rows.size());
    if (rows.empty()) {
        result.fail(QStringLiteral("no rows in ") + csv);
        return result;
    }
    // The sheet's pages, and which of them to read back.
    const PdfCheck sheet(pdf, result.count, [](qint64) { return QString(); });
    const int pages = PdfCheck::pageCount(pdf);
    result.add(QStringLiteral("pages"), QString::number(pages));
    if (pages != sheet.expectedPages())
        result.fail(QStringLiteral("%1 pages, expected %2").arg(pages).arg(sheet.expectedPages()));
    if (options.check == QLatin1String("none") || pages <= 0) {
        result.verified = QStringLiteral("pages only");
        result.peakMb = ProcessStats::peakMegabytes();
        return result;
    }
    const QList<int> chosen
        = options.check == QLatin1String("all") ? sheet.allPages() : sheet.samplePages(samplePages);

    QTemporaryDir work(QDir(options.workRoot).filePath(QStringLiteral("quillbench-shelf-XXXXXX")));
    ShelfReport report;
    for (const int page : chosen) {
        const QList<QImage> images = PdfCheck::render(pdf, renderDpi, page, page, work.path());
        if (images.size() != 1) {
            report.note(QStringLiteral("pdftoppm failed on page %1").arg(page));
            break;
        }
        checkPage(pdf, page, images.first(), rows, report);
    }
    result.peakMb = ProcessStats::peakMegabytes();
    result.verified = QStringLiteral("%1/%2 symbols and %3/%2 names and prices on %4 pages (of %5)")
                          .arg(report.labelsChecked - report.symbolsWrong)
                          .arg(report.labelsChecked)
                          .arg(report.labelsChecked - report.textsWrong)
                          .arg(report.pagesChecked)
                          .arg(pages);
    if (report.pagesChecked == 0 || !report.problems.isEmpty())
        result.fail(QStringLiteral("labels read back wrong: ") + report.problems.join(QStringLiteral("; ")));
    return result;
}
