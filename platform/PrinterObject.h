#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

class QPrinter;
class QPainter;

// The program's current printer and the operations the printing run needs.
// A job opens on the first printEmptyLine() and is drawn on through the device
// handle (see DeviceRegistry); endDoc() sends it, abortDoc() throws it away.
// When the system has no printer at all, the PDF file printer stands in: its
// file is chosen in Printer setup (or by selectPdfFile), and printing with no
// file chosen raises a QuillError instead of silently printing nothing.
class PrinterObject {
public:
    static PrinterObject &current();

    PrinterObject();
    ~PrinterObject();

    QPrinter &qprinter();
    QString deviceName() const;
    void selectQueue(const QString &queueName); // a CUPS queue
    void selectPdfFile(const QString &path);     // the PDF file printer
    bool isPdfFilePrinter() const;
    QString pdfFile() const;

    // Printing run operations. Any of them may raise QuillError.
    void setScaleMode(std::int16_t mode);
    void printEmptyLine();               // opens the job and its first page
    std::int32_t pageWidthTwips() const; // whole page, twips
    std::int32_t pageHeightTwips() const;
    float twipsPerPixelX() const;        // twips per device pixel
    float twipsPerPixelY() const;
    std::int32_t hDC() const;            // handle of the open job's surface
    void newPage();
    void endDoc();
    void abortDoc();                     // cancels an open job; no-op otherwise
    bool isPrinting() const;

    // Font names the printer offers (on this platform: the system's families).
    static QStringList fontNames();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
