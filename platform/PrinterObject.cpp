#include "PrinterObject.h"
#include "DeviceRegistry.h"
#include "JobFolder.h"
#include "Numbers.h"
#include "QuillError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>

#include <cups/cups.h>

#include <algorithm>

namespace {

const QString kPdfPrinterName = QStringLiteral("PDF file printer");
constexpr int kPdfDefaultDpi = 1200;
constexpr int kUnknownDriverDpi = 1200; // a driver that names no resolution rasterises on its own

// A job is first written to a file of its own next to its destination (or in
// the temporary folder for a queue) and only handed on when it is complete, so
// that an aborted run neither leaves half a PDF behind nor sends half a sheet.
QString jobPlace(const QString &pdfFile)
{
    return pdfFile.isEmpty() ? QDir::tempPath() : QFileInfo(pdfFile).absolutePath();
}

// The resolution the queue's driver prints at when nobody chooses one, as the
// CUPS server announces it; 0 when it names none.
int driverDefaultDpi(const QString &queue)
{
    const QByteArray name = queue.section(u'/', 0, 0).toUtf8();
    const QByteArray instance = queue.section(u'/', 1).toUtf8();
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(),
                                         instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        return 0;
    int dpi = 0;
    if (cups_dinfo_t *info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        if (ipp_attribute_t *attr = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution")) {
            int y = 0;
            ipp_res_t units = IPP_RES_PER_INCH;
            const int x = ippGetResolution(attr, 0, &y, &units);
            dpi = units == IPP_RES_PER_CM ? qRound(x * 2.54) : x;
        }
        cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    return dpi;
}

// Qt's PDF writer reports success even when its writes failed (a full disk),
// so the file is read back: a whole PDF ends with its trailer, whose start
// offset points at the cross-reference table.
bool pdfComplete(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 32)
        return false;
    const qint64 size = file.size();
    file.seek(qMax<qint64>(0, size - 64));
    static const QRegularExpression trailer(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    const auto match = trailer.match(QString::fromLatin1(file.readAll()));
    const qint64 xref = match.hasMatch() ? match.captured(1).toLongLong() : -1;
    return xref > 0 && xref < size && file.seek(xref) && file.read(4) == "xref";
}

} // namespace

struct PrinterObject::Impl {
    QPrinter printer{QPrinter::HighResolution};
    QPainter painter;
    std::int32_t handle = 0;
    bool pdf = false;        // the PDF file printer rather than a queue
    QString pdfPath;         // its file; empty until one is chosen
    int pdfDpi = kPdfDefaultDpi;
    QString queue;
    int queueDpi = 0;        // 0: the driver offers no resolution
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    std::unique_ptr<JobFolder> job; // where the open job is being written
    QString jobFile;         // its file, as the writers open it
    bool preview = false;    // jobs are drawn for the print preview

    int dpi() const { return pdf ? pdfDpi : (queueDpi ? queueDpi : kUnknownDriverDpi); }
    // A queue always gets its media upright, as its driver lays the dots out;
    // a landscape job turns the drawing a quarter turn by whole dots instead.
    bool turned() const { return !pdf && orientation == QPageLayout::Landscape; }
    void applyTurn()
    {
        painter.resetTransform();
        if (turned()) {
            painter.translate(printer.width(), 0);
            painter.rotate(90);
        }
    }
    // What a failed write names: the user's PDF file, never the working file.
    QString target() const
    {
        return pdf ? QStringLiteral("The PDF file %1").arg(QDir::toNativeSeparators(pdfPath))
                   : QStringLiteral("The print job for \"%1\"").arg(queue);
    }
    QuillError notWritten(const QString &why) const
    {
        return QuillError(QStringLiteral("%1 could not be written: %2.").arg(target(), why));
    }
    void closeJob()
    {
        if (handle)
            DeviceRegistry::remove(handle);
        handle = 0;
        jobFile.clear();
        // The printer keeps the user's choice, not the job's working file.
        if (pdf && !pdfPath.isEmpty())
            printer.setOutputFileName(pdfPath);
        else if (!pdf) {
            printer.setOutputFileName(QString());
            printer.setPrinterName(queue);
        }
    }
};

PrinterObject &PrinterObject::current()
{
    static PrinterObject printer;
    return printer;
}

PrinterObject::PrinterObject() : d(std::make_unique<Impl>())
{
    d->printer.setFullPage(true);
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty()) {
        selectPdfFile(QString());
        return;
    }
    QPrinterInfo chosen = QPrinterInfo::defaultPrinter();
    if (chosen.isNull())
        chosen = printers.first();
    selectQueue(chosen.printerName());
}

PrinterObject::~PrinterObject()
{
    abortDoc();
}

QPrinter &PrinterObject::qprinter() { return d->printer; }

QString PrinterObject::deviceName() const
{
    if (!d->pdf)
        return d->queue;
    if (d->pdfPath.isEmpty())
        return kPdfPrinterName + QStringLiteral(" (no file chosen)");
    return QStringLiteral("%1 (%2)").arg(kPdfPrinterName, QDir::toNativeSeparators(d->pdfPath));
}

void PrinterObject::selectQueue(const QString &queueName)
{
    if (isPrinting())
        throw QuillError(QStringLiteral("The printer cannot be changed while a job is being printed."));
    d->pdf = false;
    d->queue = queueName;
    d->printer.setOutputFileName(QString());
    d->printer.setOutputFormat(QPrinter::NativeFormat);
    d->printer.setPrinterName(queueName);
    d->printer.setFullPage(true);
    // The queue's own media and resolution, not what the last printer had.
    const QPrinterInfo info = QPrinterInfo::printerInfo(queueName);
    if (info.defaultPageSize().isValid())
        d->printer.setPageSize(info.defaultPageSize());
    d->orientation = QPageLayout::Portrait;
    d->printer.setPageOrientation(QPageLayout::Portrait);
    const QList<int> offered = resolutions();
    const int announced = driverDefaultDpi(queueName);
    d->queueDpi = offered.contains(announced) || (offered.isEmpty() && announced > 0) ? announced
                                                                                      : offered.value(0);
    d->printer.setResolution(d->dpi());
}

void PrinterObject::selectPdfFile(const QString &path)
{
    if (isPrinting())
        throw QuillError(QStringLiteral("The printer cannot be changed while a job is being printed."));
    d->pdf = true;
    d->pdfPath = path;
    d->printer.setOutputFormat(QPrinter::PdfFormat);
    if (!path.isEmpty())
        d->printer.setOutputFileName(path);
    d->printer.setFullPage(true);
    d->printer.setPageOrientation(d->orientation);
    d->printer.setResolution(d->dpi());
}

bool PrinterObject::isPdfFilePrinter() const { return d->pdf; }
QString PrinterObject::pdfFile() const { return d->pdf ? d->pdfPath : QString(); }
QString PrinterObject::queueName() const { return d->pdf ? QString() : d->queue; }

QList<QPageSize> PrinterObject::mediaSizes() const
{
    QList<QPageSize> sizes;
    if (!d->pdf)
        sizes = QPrinterInfo::printerInfo(d->queue).supportedPageSizes();
    else
        for (QPageSize::PageSizeId id : {QPageSize::Letter, QPageSize::Legal, QPageSize::A4, QPageSize::A5, QPageSize::A6})
            sizes.append(QPageSize(id));
    bool listed = false;
    for (const QPageSize &size : sizes)
        listed = listed || size.isEquivalentTo(media());
    if (!listed && d->pdf)
        sizes.prepend(media());
    return sizes;
}

QPageSize PrinterObject::media() const { return d->printer.pageLayout().pageSize(); }
QPageLayout::Orientation PrinterObject::orientation() const { return d->orientation; }

void PrinterObject::setMedia(const QPageSize &size, QPageLayout::Orientation orientation)
{
    if (isPrinting())
        throw QuillError(QStringLiteral("The paper cannot be changed while a job is being printed."));
    bool offered = d->pdf; // a PDF page can have any size
    for (const QPageSize &choice : mediaSizes())
        offered = offered || choice.isEquivalentTo(size);
    if (!offered)
        throw QuillError(QStringLiteral("The printer \"%1\" has no paper of size %2.").arg(deviceName(), size.name()));
    d->printer.setPageSize(size);
    d->orientation = orientation;
    d->printer.setPageOrientation(d->turned() ? QPageLayout::Portrait : orientation);
}

QList<int> PrinterObject::resolutions() const
{
    if (d->pdf)
        return {203, 300, 600, 1200};
    QList<int> offered = QPrinterInfo::printerInfo(d->queue).supportedResolutions();
    std::sort(offered.begin(), offered.end());
    return offered;
}

int PrinterObject::resolution() const { return d->dpi(); }

void PrinterObject::setResolution(int dpi)
{
    if (isPrinting())
        throw QuillError(QStringLiteral("The resolution cannot be changed while a job is being printed."));
    if (!resolutions().contains(dpi))
        throw QuillError(QStringLiteral("The printer \"%1\" does not print at %2 dpi.").arg(deviceName()).arg(dpi));
    (d->pdf ? d->pdfDpi : d->queueDpi) = dpi;
    d->printer.setResolution(dpi);
}

// Positions are always given in device pixels; the mode is accepted for the
// callers that set it and changes nothing here.
void PrinterObject::setScaleMode(std::int16_t) {}

void PrinterObject::printEmptyLine()
{
    if (isPrinting())
        return; // the new page (or the job) is already open; an empty line draws nothing
    if (d->preview) {
        if (!d->painter.begin(&d->printer))
            throw QuillError(QStringLiteral("The preview could not be drawn."));
        d->applyTurn();
        d->handle = DeviceRegistry::add(&d->painter);
        return;
    }
    const QString destination = d->pdf ? d->pdfPath : QString();
    if (d->pdf && destination.isEmpty())
        throw QuillError(QStringLiteral("No file is chosen for the PDF file printer. "
                                        "Choose one with \"Printer setup\"."));
    if (!d->pdf && (d->queue.isEmpty() || QPrinterInfo::printerInfo(d->queue).isNull()))
        throw QuillError(QStringLiteral("The printer \"%1\" is not available. "
                                        "Choose another one with \"Printer setup\".").arg(d->queue));

    QString why;
    d->job = JobFolder::make(jobPlace(destination), &why);
    if (!d->job) {
        if (!destination.isEmpty())
            throw QuillError(QStringLiteral("The PDF file %1 cannot be written: %2.")
                                 .arg(QDir::toNativeSeparators(destination), why));
        throw QuillError(QStringLiteral("The print job could not be started: "
                                        "no working file can be made in %1: %2.")
                             .arg(QDir::toNativeSeparators(QDir::tempPath()), why));
    }
    d->jobFile = d->job->filePath();
    if (!destination.isEmpty())
        QFile::setPermissions(d->jobFile,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);

    // A name without the .pdf suffix keeps a queue's own engine (its paper and
    // resolution) while it writes to the file instead of sending at once.
    d->printer.setOutputFileName(d->jobFile);
    d->printer.setDocName(QStringLiteral("Quillmark labels"));
    d->printer.setFullPage(true);
    d->printer.setResolution(d->dpi());
    if (!d->painter.begin(&d->printer)) {
        d->job.reset();
        d->closeJob();
        throw QuillError(QStringLiteral("The printer \"%1\" could not start the print job.").arg(deviceName()));
    }
    d->applyTurn();
    d->handle = DeviceRegistry::add(&d->painter);
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

float PrinterObject::twipsPerPixelX() const { return float(Numbers::kTwipsPerInch / d->dpi()); }
float PrinterObject::twipsPerPixelY() const { return float(Numbers::kTwipsPerInch / d->dpi()); }

std::int32_t PrinterObject::hDC() const
{
    if (!isPrinting())
        throw QuillError(QStringLiteral("The printer has no open print job to draw on."));
    return d->handle;
}

void PrinterObject::newPage()
{
    if (!isPrinting())
        throw QuillError(QStringLiteral("The printer has no open print job."));
    // The PDF writer refuses a new page once a write of the last one failed.
    if (!d->printer.newPage())
        throw d->notWritten(d->job->writeFailure());
    d->applyTurn();
}

void PrinterObject::endDoc()
{
    if (!isPrinting())
        return;
    if (d->preview) {
        d->painter.end();
        DeviceRegistry::remove(d->handle);
        d->handle = 0;
        return;
    }
    const bool ended = d->painter.end();
    const QString jobFile = d->jobFile;
    const std::unique_ptr<JobFolder> job = std::move(d->job); // gone, with its folder, when this returns
    const QString destination = d->pdf ? d->pdfPath : QString();
    d->closeJob();
    if (!ended || !pdfComplete(jobFile))
        throw d->notWritten(job->writeFailure());

    if (!destination.isEmpty()) {
        const QString why = job->install(destination);
        if (!why.isEmpty())
            throw d->notWritten(why);
        return;
    }

    // The queue gets the finished job in one piece, on the media and at the
    // resolution it was drawn for; lp talks to the same CUPS server as the
    // print plugin (CUPS_SERVER included).
    QStringList arguments{QStringLiteral("-d"), d->queue, QStringLiteral("-t"), QStringLiteral("Quillmark labels"),
                          QStringLiteral("-o"), QStringLiteral("media=%1").arg(media().key())};
    if (!resolutions().isEmpty())
        arguments << QStringLiteral("-o") << QStringLiteral("Resolution=%1dpi").arg(d->queueDpi);
    QProcess lp;
    lp.start(QStringLiteral("lp"), arguments << jobFile);
    const bool started = lp.waitForStarted(10000);
    const bool finished = started && lp.waitForFinished(120000);
    if (!started || !finished || lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0) {
        const QString why = QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
        throw QuillError(QStringLiteral("The print job could not be sent to the printer \"%1\"%2")
                             .arg(d->queue, why.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + why));
    }
}

void PrinterObject::abortDoc()
{
    if (!isPrinting())
        return;
    d->painter.end();
    if (d->preview) {
        DeviceRegistry::remove(d->handle);
        d->handle = 0;
        return;
    }
    d->job.reset();
    d->closeJob();
}

void PrinterObject::setPreview(bool on)
{
    abortDoc();
    d->preview = on;
}

bool PrinterObject::isPrinting() const { return d->painter.isActive(); }

QStringList PrinterObject::fontNames() { return QFontDatabase::families(); }
