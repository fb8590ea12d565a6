#include "PrinterObject.h"
#include "DeviceRegistry.h"
#include "QuillError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace {

const QString kPdfPrinterName = QStringLiteral("PDF file printer");

// A job is first written to a file of its own next to its destination (or in
// the temporary folder for a queue) and only handed on when it is complete, so
// that an aborted run neither leaves half a PDF behind nor sends half a sheet.
QString jobFileTemplate(const QString &pdfFile)
{
    if (pdfFile.isEmpty())
        return QDir::temp().filePath(QStringLiteral("quillmark-job-XXXXXX.job"));
    const QFileInfo info(pdfFile);
    return info.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX.part.pdf").arg(info.fileName()));
}

} // namespace

struct PrinterObject::Impl {
    QPrinter printer{QPrinter::HighResolution};
    QPainter painter;
    std::int32_t handle = 0;
    QString jobFile;       // where the open job is being written
    QString destination;   // PDF file printer: the file chosen; empty for a queue
    QString queue;         // the queue the open job goes to

    void closeJob()
    {
        if (handle)
            DeviceRegistry::remove(handle);
        handle = 0;
        // The printer keeps the user's choice, not the job's working file.
        printer.setOutputFileName(destination);
        if (destination.isEmpty())
            printer.setPrinterName(queue);
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
        d->printer.setOutputFormat(QPrinter::PdfFormat);
        return;
    }
    QPrinterInfo chosen = QPrinterInfo::defaultPrinter();
    if (chosen.isNull())
        chosen = printers.first();
    d->printer.setPrinterName(chosen.printerName());
}

PrinterObject::~PrinterObject()
{
    abortDoc();
}

QPrinter &PrinterObject::qprinter() { return d->printer; }

QString PrinterObject::deviceName() const
{
    if (!isPdfFilePrinter())
        return d->printer.printerName();
    const QString file = d->printer.outputFileName();
    if (file.isEmpty())
        return kPdfPrinterName + QStringLiteral(" (no file chosen)");
    return QStringLiteral("%1 (%2)").arg(kPdfPrinterName, QDir::toNativeSeparators(file));
}

void PrinterObject::selectQueue(const QString &queueName)
{
    if (isPrinting())
        throw QuillError(QStringLiteral("The printer cannot be changed while a job is being printed."));
    d->printer.setOutputFileName(QString());
    d->printer.setOutputFormat(QPrinter::NativeFormat);
    d->printer.setPrinterName(queueName);
    d->printer.setFullPage(true);
}

void PrinterObject::selectPdfFile(const QString &path)
{
    if (isPrinting())
        throw QuillError(QStringLiteral("The printer cannot be changed while a job is being printed."));
    d->printer.setOutputFormat(QPrinter::PdfFormat);
    d->printer.setOutputFileName(path);
    d->printer.setFullPage(true);
}

bool PrinterObject::isPdfFilePrinter() const
{
    return d->printer.outputFormat() == QPrinter::PdfFormat;
}

QString PrinterObject::pdfFile() const
{
    return isPdfFilePrinter() ? d->printer.outputFileName() : QString();
}

// Positions are always given in device pixels; the mode is accepted for the
// callers that set it and changes nothing here.
void PrinterObject::setScaleMode(std::int16_t) {}

void PrinterObject::printEmptyLine()
{
    if (isPrinting())
        return; // the new page (or the job) is already open; an empty line draws nothing
    QString destination;
    QString queue;
    if (isPdfFilePrinter()) {
        destination = d->printer.outputFileName();
        if (destination.isEmpty())
            throw QuillError(QStringLiteral("No file is chosen for the PDF file printer. "
                                            "Choose one with \"Printer setup\"."));
    } else {
        queue = d->printer.printerName();
        if (queue.isEmpty() || QPrinterInfo::printerInfo(queue).isNull())
            throw QuillError(QStringLiteral("The printer \"%1\" is not available. "
                                            "Choose another one with \"Printer setup\".").arg(queue));
    }

    QTemporaryFile job(jobFileTemplate(destination));
    job.setAutoRemove(false);
    if (!job.open()) {
        if (!destination.isEmpty())
            throw QuillError(QStringLiteral("The PDF file %1 cannot be written: %2.")
                                 .arg(QDir::toNativeSeparators(destination), job.errorString()));
        throw QuillError(QStringLiteral("The print job could not be started: %1.").arg(job.errorString()));
    }
    if (!destination.isEmpty())
        job.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    const QString jobFile = job.fileName();
    job.close();

    d->destination = destination;
    d->queue = queue;
    d->jobFile = jobFile;
    // A name without the .pdf suffix keeps a queue's own engine (its paper and
    // resolution) while it writes to the file instead of sending at once.
    d->printer.setOutputFileName(jobFile);
    d->printer.setDocName(QStringLiteral("Quillmark labels"));
    d->printer.setFullPage(true);
    if (!d->painter.begin(&d->printer)) {
        QFile::remove(jobFile);
        d->jobFile.clear();
        d->closeJob();
        throw QuillError(QStringLiteral("The printer \"%1\" could not start the print job.")
                             .arg(deviceName()));
    }
    d->handle = DeviceRegistry::add(&d->painter);
}

std::int32_t PrinterObject::pageWidthTwips() const
{
    return d->printer.pageLayout().fullRectPoints().width() * 20;
}

std::int32_t PrinterObject::pageHeightTwips() const
{
    return d->printer.pageLayout().fullRectPoints().height() * 20;
}

float PrinterObject::twipsPerPixelX() const
{
    return float(1440.0 / d->printer.resolution());
}

float PrinterObject::twipsPerPixelY() const
{
    return float(1440.0 / d->printer.resolution());
}

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
    if (!d->printer.newPage())
        throw QuillError(QStringLiteral("The printer \"%1\" could not start a new page.").arg(deviceName()));
}

void PrinterObject::endDoc()
{
    if (!isPrinting())
        return;
    const bool written = d->painter.end();
    const QString jobFile = d->jobFile;
    const QString destination = d->destination;
    const QString queue = d->queue;
    d->jobFile.clear();
    d->closeJob();
    if (!written) {
        QFile::remove(jobFile);
        throw QuillError(QStringLiteral("The print job could not be written."));
    }

    if (!destination.isEmpty()) {
        std::error_code error;
        std::filesystem::rename(QFile::encodeName(jobFile).toStdString(),
                                QFile::encodeName(destination).toStdString(), error);
        if (error) {
            QFile::remove(jobFile);
            throw QuillError(QStringLiteral("The PDF file %1 could not be written: %2.")
                                 .arg(QDir::toNativeSeparators(destination),
                                      QString::fromLocal8Bit(error.message().c_str())));
        }
        return;
    }

    // The queue gets the finished job in one piece; lp talks to the same CUPS
    // server as the print plugin (CUPS_SERVER included).
    QProcess lp;
    lp.start(QStringLiteral("lp"), {QStringLiteral("-d"), queue.section(u'/', 0, 0),
                                    QStringLiteral("-t"), QStringLiteral("Quillmark labels"),
                                    QStringLiteral("-o"), QStringLiteral("media=%1").arg(d->printer.pageLayout().pageSize().key()),
                                    jobFile});
    const bool started = lp.waitForStarted(10000);
    const bool finished = started && lp.waitForFinished(120000);
    QFile::remove(jobFile);
    if (!started || !finished || lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0) {
        const QString why = QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
        throw QuillError(QStringLiteral("The print job could not be sent to the printer \"%1\"%2")
                             .arg(queue, why.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + why));
    }
}

void PrinterObject::abortDoc()
{
    if (!isPrinting())
        return;
    d->painter.end();
    QFile::remove(d->jobFile);
    d->jobFile.clear();
    d->closeJob();
}

bool PrinterObject::isPrinting() const { return d->painter.isActive(); }

QStringList PrinterObject::fontNames() { return QFontDatabase::families(); }
