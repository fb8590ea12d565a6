#pragma once
#include "JobPrinter.h"

#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

class QPrinter;
class QPainter;

// The program's current printer: a queue of the system or the PDF file
// printer, with the operations the printing run needs. Until one is chosen it
// is the system's default queue, asked of the print server (within
// PrintServer's bounds) only when first needed. When the system has no
// printer at all, the PDF file printer stands in: its file is chosen in
// Printer setup (or by selectPdfFile), and printing with no file chosen
// raises a QuillError instead of silently printing nothing.
//
// The job's page is the printer's media and its device pixels are the
// printer's dots: a queue prints at its driver's resolution (the default, or
// the one chosen), so whole pixels reach the paper as whole dots.
class PrinterObject : public JobPrinter {
public:
    PrinterObject();
    ~PrinterObject() override;

    QPrinter &qprinter();
    QString deviceName() const override;
    QStringList queueNames() const override; // the print server's queues
    void selectQueue(const QString &queueName) override; // a CUPS queue, at its own media and resolution
    void selectPdfFile(const QString &path) override; // the PDF file printer; an empty path chooses no file
    // The PDF file printer writing to standard output: each job is made in the
    // temporary folder as a queue's is, and copied out only once it is whole.
    void selectPdfStandardOutput() override;
    bool isPdfFilePrinter() const;
    QString pdfFile() const;
    QString queueName() const; // empty for the PDF file printer

    // Media and resolution of the current printer; the setters raise QuillError
    // for a choice the printer does not offer.
    QList<QPageSize> mediaSizes() const override;
    QPageSize media() const;
    QPageLayout::Orientation orientation() const;
    // A size a queue does not list but takes as a custom size is made one.
    void setMedia(const QPageSize &size, QPageLayout::Orientation orientation) override;
    // What users read for a paper: its name, or its size where it has no name
    // of its own ("2.25 × 1.25 in", never a template's "Other").
    static QString paperName(const QPageSize &size);
    QList<int> resolutions() const; // dots per inch; empty when the driver offers no choice
    int resolution() const;
    void setResolution(int dpi);

    // Printing run operations.
    void beginJob() override;
    QPainter &painter() override;
    std::int32_t pageWidthTwips() const override;
    std::int32_t pageHeightTwips() const override;
    float twipsPerPixelX() const override;
    float twipsPerPixelY() const override;
    void newPage() override;
    void endJob() override;
    void abortJob() override;
    bool isPrinting() const;

    // While on, a job is drawn for the print preview: onto the printer as it
    // stands (Qt's preview catches the pages), with no file and nothing sent.
    void setPreview(bool on);

    // Font names the printer offers (on this platform: the system's families).
    static QStringList fontNames();

private:
    void settle() const;
    bool settledQuietly() const;

    struct Impl;
    std::unique_ptr<Impl> d;
};
