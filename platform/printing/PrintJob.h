#pragma once
#include <QPainter>
#include <QString>
#include <QStringList>
#include <memory>

class JobFolder;
class QuillError;
class QPrinter;

// One print job being drawn. It is first written to a file of its own next
// to its destination (or in the temporary folder for a queue) and only handed
// on when it is complete, so that an aborted run neither leaves half a PDF
// behind nor sends half a sheet. A job destroyed before end() is thrown away.
class PrintJob {
public:
    struct Destination {
        QString pdfFile; // the PDF file it becomes; empty for a queue
        bool standardOutput = false; // the PDF is copied to standard output
        QString queue; // the CUPS queue it is sent to
        QStringList queueOptions; // what the queue is told with it (media, resolution)
        QString target; // what a failed write names ("The PDF file ...")
        QString deviceName; // the printer as users know it
        bool preview = false; // drawn for the print preview: no file, nothing sent
    };

    // Raises QuillError when the working file or the printer cannot start.
    PrintJob(QPrinter &printer, const Destination &to);
    ~PrintJob();
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    QPainter &painter() { return m_painter; }
    void newPage();
    // Finishes the file, checks it is whole and hands it on.
    void end();

private:
    QuillError notWritten(const QString &why) const;

    QPrinter &m_printer;
    Destination m_to;
    std::unique_ptr<JobFolder> m_folder;
    QPainter m_painter;
};
