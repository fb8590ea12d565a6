#include "PrinterObject.h"
#include "Numbers.h"
#include "PrintJob.h"
#include "PrintServer.h"
#include "QuillError.h"

#include <QDir>
#include <QFontDatabase>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>

#include <algorithm>

namespace {

const QString kPdfPrinterName = QStringLiteral("PDF file printer");
const QString kUnknownDefault = QStringLiteral("Default printer (the print server does not answer)");
constexpr int kPdfDefaultDpi = 1200;
constexpr int kUnknownDriverDpi = 1200; // a driver that names no resolution rasterises on its own

// The media option a queue takes: its own name for a size it lists, and for
// any other CUPS's custom size, width and length in points ("Custom.90.71x161.57").
QString cupsMedia(const QPageSize &size)
{
    if (size.id() != QPageSize::Custom)
        return size.key();
    const QSizeF points = size.size(QPageSize::Point);
    const auto number = [](double value) {
        QString text = QString::number(value, 'f', 2); // a point whatever the locale
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
        return text;
    };
    return QStringLiteral("Custom.%1x%2").arg(number(points.width()), number(points.height()));
}

} // namespace

QString PrinterObject::paperName(const QPageSize &size)
{
    const QString name = size.name();
    // A template's id for paper with no name, and the names Qt makes up for
    // custom sizes ("Custom (162 x 90 pt)"), say less than the size itself.
    if (!name.isEmpty() && name != QLatin1String("Other") && !name.startsWith(QLatin1String("Custom")))
        return name;
    // From the size as it was given: Qt rounds it in the other units.
    const QPageSize::Unit given = size.definitionUnits();
    const QSizeF inches = given == QPageSize::Inch ? size.definitionSize()
        : given == QPageSize::Point                ? size.definitionSize() / 72.0
                                                   : size.size(QPageSize::Millimeter) / 25.4;
    return Numbers::sizeText(inches.width(), inches.height(), QStringLiteral("in"));
}

struct PrinterObject::Impl {
    QPrinter printer{QPrinter::HighResolution};
    bool pdf = false; // the PDF file printer rather than a queue
    QString pdfPath; // its file; empty until one is chosen
    bool pdfOut = false; // the PDF file printer writes to standard output, not to pdfPath
    int pdfDpi = kPdfDefaultDpi;
    QString queue;
    int queueDpi = 0; // 0: the driver offers no resolution
    QList<QPageSize> queueMedia; // what the queue offers, asked once when it is chosen
    QList<int> queueResolutions;
    // Sizes the queue takes beyond its list (a label printer's driver takes any
    // label length and width in its range); both empty when it takes none.
    QSizeF queueLeast, queueMost; // points
    bool chosen = false; // false until a printer is chosen or the default queue is known
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    std::unique_ptr<PrintJob> job; // the open job
    bool preview = false; // jobs are drawn for the print preview

    int dpi() const { return pdf ? pdfDpi : (queueDpi ? queueDpi : kUnknownDriverDpi); }
    // A queue always gets its media upright, as its driver lays the dots out;
    // a landscape job turns the drawing a quarter turn by whole dots instead.
    bool turned() const { return !pdf && orientation == QPageLayout::Landscape; }
    void applyTurn()
    {
        QPainter &painter = job->painter();
        painter.resetTransform();
        if (turned()) {
            painter.translate(printer.width(), 0);
            painter.rotate(90);
        }
    }
    // What a failed write names: the user's PDF file, never the working file.
    QString target() const
    {
        if (pdf && pdfOut)
            return QStringLiteral("The PDF for standard output");
        return pdf ? QStringLiteral("The PDF file %1").arg(QDir::toNativeSeparators(pdfPath))
                   : QStringLiteral("The print job for \"%1\"").arg(queue);
    }
    // The printer keeps the user's choice, not the job's working file.
    void restoreChoice()
    {
        if (preview)
            return;
        if (pdf && !pdfPath.isEmpty())
            printer.setOutputFileName(pdfPath);
        else if (!pdf) {
            printer.setOutputFileName(QString());
            printer.setPrinterName(queue);
        }
    }
};

// Nothing is asked of the print server here: the default queue is looked up
// when a printer is first needed, and never when the PDF file printer is
// chosen first. Qt's printer looks for the default queue as it is made, so it
// is made where it finds no server.
PrinterObject::PrinterObject()
    : d(PrintServer::unasked([] { return std::make_unique<Impl>(); }))
{
    d->printer.setFullPage(true);
}

// The system's default queue (or the first one) becomes the printer; with no
// queue at all, the PDF file printer. Raises the print server's error when it
// does not answer.
void PrinterObject::settle() const
{
    if (d->chosen)
        return;
    // One action (a print dialog and its OK) waits for a silent server once.
    if (PrintServer::stalledLately())
        throw QuillError(PrintServer::notAnswering());
    const PrintServer::Queues queues = PrintServer::queues();
    // Choosing the default is not a change the caller sees.
    auto *self = const_cast<PrinterObject *>(this);
    if (queues.names.isEmpty())
        self->selectPdfFile(QString());
    else
        self->selectQueue(queues.defaultName.isEmpty() ? queues.names.first() : queues.defaultName);
}

// For the printer's name and kind, which never fail: unknown while the
// server does not answer.
bool PrinterObject::settledQuietly() const
{
    if (!d->chosen) {
        try {
            settle();
        } catch (const QuillError &) {
            // stays unknown; the job that needs the queue reports the server
        }
    }
    return d->chosen;
}

PrinterObject::~PrinterObject() { abortJob(); }

QPrinter &PrinterObject::qprinter()
{
    settle();
    return d->printer;
}

QString PrinterObject::deviceName() const
{
    if (!settledQuietly())
        return kUnknownDefault;
    if (!d->pdf)
        return d->queue;
    if (d->pdfOut)
        return kPdfPrinterName + QStringLiteral(" (standard output)");
    if (d->pdfPath.isEmpty())
        return kPdfPrinterName + QStringLiteral(" (no file chosen)");
    return QStringLiteral("%1 (%2)").arg(kPdfPrinterName, QDir::toNativeSeparators(d->pdfPath));
}

QStringList PrinterObject::queueNames() const { return PrintServer::queues().names; }

void PrinterObject::selectQueue(const QString &queueName)
{
    if (isPrinting())
        throw QuillError(QStringLiteral("The printer cannot be changed while a job is being printed."));
    // Asked first, within its bound: Qt's print support, asked below, has none.
    const int announced = PrintServer::defaultDpi(queueName);
    d->pdf = false;
    d->pdfOut = false;
    d->chosen = true;
    d->queue = queueName;
    d->printer.setOutputFileName(QString());
    d->printer.setOutputFormat(QPrinter::NativeFormat);
    d->printer.setPrinterName(queueName);
    d->printer.setFullPage(true);
    // The queue's own media and resolution, not what the last printer had.
    const QPrinterInfo info = QPrinterInfo::printerInfo(queueName);
    d->queueMedia = info.supportedPageSizes();
    d->queueResolutions = info.supportedResolutions();
    std::sort(d->queueResolutions.begin(), d->queueResolutions.end());
    const bool custom = info.supportsCustomPageSizes();
    d->queueLeast = custom ? info.minimumPhysicalPageSize().size(QPageSize::Point) : QSizeF();
    d->queueMost = custom ? info.maximumPhysicalPageSize().size(QPageSize::Point) : QSizeF();
    if (info.defaultPageSize().isValid())
        d->printer.setPageSize(info.defaultPageSize());
    d->orientation = QPageLayout::Portrait;
    d->printer.setPageOrientation(QPageLayout::Portrait);
    const QList<int> &offered = d->queueResolutions;
    d->queueDpi
        = offered.contains(announced) || (offered.isEmpty() && announced > 0) ? announced : offered.value(0);
    d->printer.setResolution(d->dpi());
}

void PrinterObject::selectPdfFile(const QString &path)
{
    if (isPrinting())
        throw QuillError(QStringLiteral("The printer cannot be changed while a job is being printed."));
    d->pdf = true;
    d->pdfOut = false;
    d->chosen = true;
    d->pdfPath = path;
    d->printer.setOutputFormat(QPrinter::PdfFormat);
    if (!path.isEmpty())
        d->printer.setOutputFileName(path);
    d->printer.setFullPage(true);
    d->printer.setPageOrientation(d->orientation);
    d->printer.setResolution(d->dpi());
}

void PrinterObject::selectPdfStandardOutput()
{
    selectPdfFile(QString());
    d->pdfOut = true;
}

bool PrinterObject::isPdfFilePrinter() const { return settledQuietly() && d->pdf; }
QString PrinterObject::pdfFile() const { return isPdfFilePrinter() ? d->pdfPath : QString(); }
QString PrinterObject::queueName() const { return settledQuietly() && !d->pdf ? d->queue : QString(); }

QList<QPageSize> PrinterObject::mediaSizes() const
{
    settle();
    QList<QPageSize> sizes;
    if (!d->pdf)
        sizes = d->queueMedia;
    else
        for (QPageSize::PageSizeId id :
             {QPageSize::Letter, QPageSize::Legal, QPageSize::A4, QPageSize::A5, QPageSize::A6})
            sizes.append(QPageSize(id));
    bool listed = false;
    for (const QPageSize &size : sizes)
        listed = listed || size.isEquivalentTo(media());
    // A PDF page of its own size, or a queue's custom page, is the first choice.
    if (!listed && (d->pdf || media().id() == QPageSize::Custom))
        sizes.prepend(media());
    return sizes;
}

QPageSize PrinterObject::media() const
{
    settle();
    return d->printer.pageLayout().pageSize();
}

QPageLayout::Orientation PrinterObject::orientation() const
{
    settle();
    return d->orientation;
}

void PrinterObject::setMedia(const QPageSize &size, QPageLayout::Orientation orientation)
{
    if (isPrinting())
        throw QuillError(QStringLiteral("The paper cannot be changed while a job is being printed."));
    bool offered = d->pdf; // a PDF page can have any size
    for (const QPageSize &choice : mediaSizes())
        offered = offered || choice.isEquivalentTo(size);
    // A size the queue does not list but its driver takes becomes a custom
    // page of that size (a roll's label, for one), under the name it came with.
    const QSizeF points = size.size(QPageSize::Point);
    const bool custom = !offered && d->queueMost.isValid() && points.width() >= d->queueLeast.width()
        && points.height() >= d->queueLeast.height() && points.width() <= d->queueMost.width()
        && points.height() <= d->queueMost.height();
    if (!offered && !custom)
        throw QuillError(
            QStringLiteral("The printer \"%1\" has no paper of size %2.").arg(deviceName(), paperName(size)));
    if (custom)
        d->printer.setPageSize(QPageSize(points, QPageSize::Point, paperName(size), QPageSize::ExactMatch));
    else
        d->printer.setPageSize(size);
    d->orientation = orientation;
    d->printer.setPageOrientation(d->turned() ? QPageLayout::Portrait : orientation);
}

QList<int> PrinterObject::resolutions() const
{
    settle();
    if (d->pdf)
        return {203, 300, 600, 1200};
    return d->queueResolutions;
}

int PrinterObject::resolution() const
{
    settle();
    return d->dpi();
}

void PrinterObject::setResolution(int dpi)
{
    if (isPrinting())
        throw QuillError(QStringLiteral("The resolution cannot be changed while a job is being printed."));
    if (!resolutions().contains(dpi))
        throw QuillError(
            QStringLiteral("The printer \"%1\" does not print at %2 dpi.").arg(deviceName()).arg(dpi));
    (d->pdf ? d->pdfDpi : d->queueDpi) = dpi;
    d->printer.setResolution(dpi);
}

void PrinterObject::beginJob()
{
    if (isPrinting())
        return; // the job goes on
    settle();
    PrintJob::Destination to;
    to.target = d->target();
    to.deviceName = deviceName();
    to.preview = d->preview;
    if (!d->preview && d->pdf) {
        if (d->pdfPath.isEmpty() && !d->pdfOut)
            throw QuillError(QStringLiteral("No file is chosen for the PDF file printer. "
                                            "Choose one with \"Printer setup\"."));
        to.pdfFile = d->pdfPath;
        to.standardOutput = d->pdfOut;
    }
    if (!d->preview && !d->pdf) {
        if (d->queue.isEmpty() || !PrintServer::queues().names.contains(d->queue))
            throw QuillError(QStringLiteral("The printer \"%1\" is not available. "
                                            "Choose another one with \"Printer setup\".")
                                 .arg(d->queue));
        to.queue = d->queue;
        const QString mediaOption = QStringLiteral("media=%1").arg(cupsMedia(media()));
        to.queueOptions = QStringList{QStringLiteral("-t"), QStringLiteral("Quillmark labels"),
                                      QStringLiteral("-o"), mediaOption};
        if (!resolutions().isEmpty())
            to.queueOptions << QStringLiteral("-o") << QStringLiteral("Resolution=%1dpi").arg(d->queueDpi);
    }
    if (!d->preview)
        d->printer.setResolution(d->dpi());
    try {
        d->job = std::make_unique<PrintJob>(d->printer, to);
    } catch (...) {
        d->restoreChoice();
        throw;
    }
    d->applyTurn();
}

std::int32_t PrinterObject::pageWidthTwips() const
{
    const QSizeF points = media().size(QPageSize::Point);
    return qRound((d->orientation == QPageLayout::Landscape ? points.height() : points.width()) * 20);
}

std::int32_t PrinterObject::pageHeightTwips() const
{
    const QSizeF points = media().size(QPageSize::Point);
    return qRound((d->orientation == QPageLayout::Landscape ? points.width() : points.height()) * 20);
}

float PrinterObject::twipsPerPixelX() const { return float(Numbers::kTwipsPerInch / resolution()); }
float PrinterObject::twipsPerPixelY() const { return float(Numbers::kTwipsPerInch / resolution()); }

QPainter &PrinterObject::painter()
{
    if (!isPrinting())
        throw QuillError(QStringLiteral("The printer has no open print job to draw on."));
    return d->job->painter();
}

void PrinterObject::newPage()
{
    if (!isPrinting())
        throw QuillError(QStringLiteral("The printer has no open print job."));
    d->job->newPage();
    d->applyTurn();
}

void PrinterObject::endJob()
{
    if (!isPrinting())
        return;
    const std::unique_ptr<PrintJob> job = std::move(d->job); // gone, with its file, when this returns
    const auto restore = qScopeGuard([this] { d->restoreChoice(); });
    job->end();
}

void PrinterObject::abortJob()
{
    if (!isPrinting())
        return;
    d->job.reset();
    d->restoreChoice();
}

void PrinterObject::setPreview(bool on)
{
    abortJob();
    d->preview = on;
}

bool PrinterObject::isPrinting() const { return d->job != nullptr; }

QStringList PrinterObject::fontNames() { return QFontDatabase::families(); }
