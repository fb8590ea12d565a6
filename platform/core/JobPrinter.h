#pragma once
#include "LabelPrinter.h"

#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>

// A printer as a command-line job chooses it: a queue by name, the PDF file
// printer (a file or standard output), and its paper. Any operation may raise
// QuillError, the print server's as well.
class JobPrinter : public LabelPrinter {
public:
    virtual QStringList queueNames() const = 0; // the system's queues; none without a server
    virtual void selectQueue(const QString &queueName) = 0;
    virtual void selectPdfFile(const QString &path) = 0;
    virtual void selectPdfStandardOutput() = 0;
    virtual QList<QPageSize> mediaSizes() const = 0;
    virtual void setMedia(const QPageSize &size, QPageLayout::Orientation orientation) = 0;
};
