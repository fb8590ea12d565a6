#include "PdfCheck.h"
#include "Decode.h"
#include "LabelSheet.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>

namespace {

constexpr int renderDpi = 150;     // Code128 modules of these labels come out 4 pixels wide or more
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
    : m_pdf(std::move(pdf)), m_labelCount(labelCount), m_valueOf(std::move(valueOf))
{
}

int PdfCheck::pageCount(const QString &pdf)
{
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {pdf});
    if (!pdfinfo.waitForFinished(120000) || pdfinfo.exitCode() != 0)
        return -1;
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
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

PdfCheckReport PdfCheck::check(const QList<int> &pages, const QString &workFolder) const
{
    PdfCheckReport report;
    report.pages = pageCount(m_pdf);
    if (report.pages != expectedPages())
        note(report, QStringLiteral("%1 pages, expected %2").arg(report.pages).arg(expectedPages()));
    if (report.pages <= 0)
        return report;

    QDir work(workFolder);
    for (qsizetype i = 0; i < pages.size();) {
        // A run of consecutive pages, rendered by one pdftoppm.
        qsizetype end = i + 1;
        while (end < pages.size() && end - i < pagesPerRender && pages[end] == pages[end - 1] + 1)
            ++end;
        const int first = pages[i], last = pages[end - 1];
        const QString prefix = work.filePath(QStringLiteral("page"));
        QProcess render;
        render.start(QStringLiteral("pdftoppm"),
                     {QStringLiteral("-r"), QString::number(renderDpi), QStringLiteral("-gray"),
                      QStringLiteral("-f"), QString::number(first), QStringLiteral("-l"), QString::number(last),
                      m_pdf, prefix});
        if (!render.waitForFinished(600000) || render.exitCode() != 0) {
            note(report, QStringLiteral("pdftoppm failed on pages %1-%2").arg(first).arg(last));
            return report;
        }
        // pdftoppm pads the page number to the width of the document's last page number.
        const QStringList images = work.entryList({QStringLiteral("page-*.pgm")}, QDir::Files, QDir::Name);
        for (const QString &image : images) {
            const int page = image.section(u'-', -1).section(u'.', 0, 0).toInt();
            checkPage(page, work.filePath(image), report);
            QFile::remove(work.filePath(image));
        }
        i = end;
    }
    return report;
}

void PdfCheck::checkPage(int page, const QString &imagePath, PdfCheckReport &report) const
{
    const QImage image(imagePath);
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
                note(report, QStringLiteral("page %1 cell %2: a symbol after the last label").arg(page).arg(index + 1));
            }
            continue;
        }
        ++report.labelsChecked;
        const QString expected = m_valueOf(label);
        if (found.text != expected || found.format != QLatin1String("Code128")) {
            ++report.labelsWrong;
            note(report, QStringLiteral("page %1 cell %2: expected %3, read %4")
                             .arg(page).arg(index + 1).arg(expected, found.text.isEmpty() ? QStringLiteral("nothing")
                                                                                         : found.format + u':' + found.text));
        }
    }
}
