#include "BenchDesigner.h"
#include "BenchTasks.h"
#include "Form1.h"
#include "LabelSheet.h"
#include "PdfCheck.h"
#include "PrinterObject.h"
#include "ProcessStats.h"
#include "ScriptedDialogs.h"
#include "frmPrint.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPageSize>
#include <QPrinter>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

const QString sequenceStart = QStringLiteral("00001");
constexpr int samplePages = 12;
constexpr qint64 checkAllUpTo = 10000;

void fillMargins(frmPrint &dialog)
{
    dialog.Option4->click();
    dialog.Text1->setText(LabelSheet::text(LabelSheet::labelLeft));
    dialog.Text2->setText(LabelSheet::text(LabelSheet::labelRight));
    dialog.Text4->setText(LabelSheet::text(LabelSheet::labelTop));
    dialog.Text5->setText(LabelSheet::text(LabelSheet::labelBottom));
    dialog.Text6->setText(LabelSheet::text(LabelSheet::pageLeft));
    dialog.Text7->setText(LabelSheet::text(LabelSheet::pageRight));
    dialog.Text8->setText(LabelSheet::text(LabelSheet::pageTop));
    dialog.Text9->setText(LabelSheet::text(LabelSheet::pageBottom));
}

QList<int> pagesToCheck(const PdfCheck &check, qint64 labels, const BenchOptions &options)
{
    if (options.check == QLatin1String("none"))
        return {};
    if (options.check == QLatin1String("all") || (options.check.isEmpty() && labels <= checkAllUpTo))
        return check.allPages();
    return check.samplePages(samplePages);
}

void addCheck(BenchResult &result, const PdfCheckReport &report, bool checked)
{
    result.add(QStringLiteral("pages"), QString::number(report.pages));
    if (!checked) {
        result.verified = QStringLiteral("pages only");
        if (report.pages <= 0)
            result.fail(QStringLiteral("pdfinfo could not read the PDF"));
        return;
    }
    result.verified = report.summary();
    if (!report.ok())
        result.fail(QStringLiteral("labels read back wrong: ") + report.problems.join(QStringLiteral("; ")));
}

} // namespace

BenchResult runPrintTask(qint64 labels, const BenchOptions &options)
{
    BenchResult result{QStringLiteral("print"), labels};
    QTemporaryDir work(QDir(options.workRoot).filePath(QStringLiteral("quillbench-print-XXXXXX")));
    work.setAutoRemove(!options.keep);
    ScriptedDialogs dialogs;
    BenchDesigner designer(work.path(), dialogs);
    designer.useCode128();
    designer.useSymbolSizeInInches(LabelSheet::symbolWidth, LabelSheet::symbolHeight);
    designer.useSequence(sequenceStart, labels);

    const QString pdf = work.filePath(QStringLiteral("labels.pdf"));
    PrinterObject &printer = designer.printer();
    printer.selectPdfFile(pdf);
    printer.qprinter().setPageSize(QPageSize(QPageSize::Letter));

    // Shown without exec(), which would wait for a person; the constructor has
    // already loaded the stored margins, which the typing below replaces.
    frmPrint dialog(designer.form().view(), dialogs, designer.printer());
    dialog.show();
    QCoreApplication::processEvents();
    fillMargins(dialog);

    QElapsedTimer timer;
    timer.start();
    dialog.OKButton_Click();
    result.seconds = double(timer.nsecsElapsed()) * 1e-9;
    result.peakMb = ProcessStats::peakMegabytes();

    if (!dialogs.messages.isEmpty())
        result.fail(dialogs.texts(true).join(QStringLiteral("; ")));
    if (dialog.isVisible())
        result.fail(QStringLiteral("the print dialog stayed open"));
    if (!QFileInfo::exists(pdf)) {
        result.fail(QStringLiteral("no PDF was written"));
        return result;
    }
    result.add(QStringLiteral("pdf_mb"), double(QFileInfo(pdf).size()) / (1024.0 * 1024.0), 1);

    const PdfCheck check(pdf, labels, [](qint64 k) { return sequenceValue(k, sequenceStart); });
    const QList<int> pages = pagesToCheck(check, labels, options);
    addCheck(result,
             pages.isEmpty() ? PdfCheckReport::pagesOnly(PdfCheck::pageCount(pdf))
                             : check.check(pages, work.path()),
             !pages.isEmpty());
    if (options.keep)
        result.notes << QStringLiteral("kept ") + pdf;
    return result;
}

BenchResult runCheckPdfTask(const QString &pdf, qint64 labels, const BenchOptions &options)
{
    BenchResult result{QStringLiteral("checkpdf"), labels};
    QTemporaryDir work(QDir(options.workRoot).filePath(QStringLiteral("quillbench-check-XXXXXX")));
    const PdfCheck check(pdf, labels, [](qint64 k) { return sequenceValue(k, sequenceStart); });
    const QList<int> pages = pagesToCheck(check, labels, options);
    addCheck(result,
             pages.isEmpty() ? PdfCheckReport::pagesOnly(PdfCheck::pageCount(pdf))
                             : check.check(pages, work.path()),
             !pages.isEmpty());
    result.peakMb = ProcessStats::peakMegabytes();
    return result;
}
