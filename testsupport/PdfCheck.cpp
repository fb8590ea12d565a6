#include "PdfCheck.h"
#include "Decode.h"
#include "LabelSheet.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>

namespace {

constexpr int renderDpi = 150; // Code128 modules of these labels come out 4 pixels wide or more
constexpr int pagesPerRender = 16; // pdftoppm is started once per run of consecutive pages
constexpr int problemsKept = 8;

void note(PdfCheckReport &report, const QString &problem)
{
    if (report.problems.size() < problemsKept)
        report.problems << problem;
}

} // namespace

QString PdfCheckReport::summary() const
{
    return QStringLiteral("%1/%2 labels on %3 pages (of %4)")
        .arg(labelsChecked - labelsWrong)
        .arg(labelsChecked)
        .arg(pagesChecked)
        .arg(pages);
}

PdfCheck::PdfCheck(QString pdf, qint64 labelCount, std::function<QString(qint64)> valueOf)
    : m_pdf(std::move(pdf))
    , m_labelCount(labelCount)
    , m_valueOf(std::move(valueOf))
{
}

int PdfCheck::pageCount(const QString &pdf)
{
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {pdf});
    if (!pdfinfo.waitForFinished(120000) || pdfinfo.exitCode() != 0)
        return -1;
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                          QRegularExpression::MultilineOption);
    const auto match = pages.match(QString::fromUtf8(pdfinfo.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

int PdfCheck::expectedPages() const
{
    return int((m_labelCount + LabelSheet::labelsPerPage - 1) / LabelSheet::labelsPerPage);
}

QList<int> PdfCheck::allPages() const
{
    QList<int> pages;
    for (int page = 1; page <= expectedPages(); ++page)
        pages << page;
    return pages;
}

QList<int> PdfCheck::samplePages(int count) const
{
    const int last = expectedPages();
    QList<int> pages;
    for (int i = 0; i < count; ++i) {
        const int page = 1 + int(qint64(last - 1) * i / std::max(1, count - 1));
        if (pages.isEmpty() || pages.last() != page)
            pages << page;
    }
    return pages;
}

QList<QImage> PdfCheck::render(const QString &pdf, int dpi, int first, int last, const QString &workFolder)
{
    QTemporaryDir work(workFolder.isEmpty() ? QDir::tempPath() + QStringLiteral("/quill-pages-XXXXXX")
                                            : QDir(workFolder).filePath(QStringLiteral("pages-XXXXXX")));
    QStringList arguments{QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                          QStringLiteral("-f"), QString::number(first)};
    if (last > 0)
        arguments << QStringLiteral("-l") << QString::number(last);
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"), arguments << pdf << work.filePath(QStringLiteral("page")));
    QList<QImage> images;
    if (!work.isValid() || !pdftoppm.waitForFinished(600000) || pdftoppm.exitCode() != 0)
        return images;
    // pdftoppm pads the page number to the width of the document's last page
    // number, so the names sort in page order.
    const QDir folder(work.path());
    for (const QString &name : folder.entryList({QStringLiteral("page-*.pgm")}, QDir::Files, QDir::Name))
        images << QImage(folder.filePath(name));
    return images;
}

PdfCheckReport PdfCheck::check(const QList<int> &pages, const QString &workFolder) const
{
    PdfCheckReport report;
    report.pages = pageCount(m_pdf);
    if (report.pages != expectedPages())
        note(report, QStringLiteral("%1 pages, expected %2").arg(report.pages).arg(expectedPages()));
    if (report.pages <= 0)
        return report;

    for (qsizetype i = 0; i < pages.size();) {
        // A run of consecutive pages, rendered by one pdftoppm.
        qsizetype end = i + 1;
        while (end < pages.size() && end - i < pagesPerRender && pages[end] == pages[end - 1] + 1)
            ++end;
        const int first = pages[i], last = pages[end - 1];
        const QList<QImage> images = render(m_pdf, renderDpi, first, last, workFolder);
        if (images.size() != last - first + 1) {
            note(report, QStringLiteral("pdftoppm failed on pages %1-%2").arg(first).arg(last));
            return report;
        }
        for (int page = first; page <= last; ++page)
            checkPage(page, images[page - first], report);
        i = end;
    }
    return report;
}

void PdfCheck::checkPage(int page, const QImage &image, PdfCheckReport &report) const
{
    if (image.isNull()) {
        note(report, QStringLiteral("page %1 could not be read back").arg(page));
        return;
    }
    ++report.pagesChecked;
    const double dotsPerInch = image.width() / LabelSheet::pageWidth;
    for (int index = 0; index < LabelSheet::labelsPerPage; ++index) {
        const qint64 label = qint64(page - 1) * LabelSheet::labelsPerPage + index + 1;
        const QRectF cell = LabelSheet::cell(index);
        const QRect pixels(int(cell.x() * dotsPerInch), int(cell.y() * dotsPerInch),
                           int(cell.width() * dotsPerInch), int(cell.height() * dotsPerInch));
        const Decode::Found found = Decode::zxingRead(image.copy(pixels));
        if (label > m_labelCount) {
            if (!found.text.isEmpty()) {
                ++report.labelsWrong;
                note(report,
                     QStringLiteral("page %1 cell %2: a symbol after the last label")
                         .arg(page)
                         .arg(index + 1));
            }
            continue;
        }
        ++report.labelsChecked;
        const QString expected = m_valueOf(label);
        if (found.text != expected || found.format != QLatin1String("Code128")) {
            ++report.labelsWrong;
            note(report,
                 QStringLiteral("page %1 cell %2: expected %3, read %4")
                     .arg(page)
                     .arg(index + 1)
                     .arg(expected,
                          found.text.isEmpty() ? QStringLiteral("nothing")
                                               : found.format + u':' + found.text));
        }
    }
}
