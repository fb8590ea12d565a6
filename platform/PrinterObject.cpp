// Placeholder: the printer object is being written; only what start-up needs works.
#include "PrinterObject.h"
#include "QuillError.h"

#include <QFontDatabase>
#include <QPrinter>

struct PrinterObject::Impl {
    QPrinter printer;
};

PrinterObject &PrinterObject::current()
{
    static PrinterObject printer;
    return printer;
}

PrinterObject::PrinterObject() : d(std::make_unique<Impl>()) {}
PrinterObject::~PrinterObject() = default;
QPrinter &PrinterObject::qprinter() { return d->printer; }
QString PrinterObject::deviceName() const { return d->printer.printerName(); }
void PrinterObject::selectQueue(const QString &queueName) { d->printer.setPrinterName(queueName); }
void PrinterObject::selectPdfFile(const QString &path) { d->printer.setOutputFileName(path); }
bool PrinterObject::isPdfFilePrinter() const { return d->printer.outputFormat() == QPrinter::PdfFormat; }
QString PrinterObject::pdfFile() const { return d->printer.outputFileName(); }
void PrinterObject::setScaleMode(std::int16_t) {}
void PrinterObject::printEmptyLine() { throw QuillError(QStringLiteral("Printing is not available yet.")); }
std::int32_t PrinterObject::pageWidthTwips() const { return 12240; }
std::int32_t PrinterObject::pageHeightTwips() const { return 15840; }
float PrinterObject::twipsPerPixelX() const { return 2.4f; }
float PrinterObject::twipsPerPixelY() const { return 2.4f; }
std::int32_t PrinterObject::hDC() const { return 0; }
void PrinterObject::newPage() {}
void PrinterObject::endDoc() {}
void PrinterObject::abortDoc() {}
bool PrinterObject::isPrinting() const { return false; }
QStringList PrinterObject::fontNames() { return QFontDatabase::families(); }
