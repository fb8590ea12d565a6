#pragma once
#include "DocumentSource.h"
#include "LabelDocument.h"
#include "LabelRenderer.h"
#include "Module1.h"

#include <functional>

class LabelPrinter;

// A document's save or print run without a window: values from the data
// source the document names, drawn by a renderer of the document, in the same
// runs the window's commands start. What the command line runs.
class DesignJob {
public:
    // With standardInput the import data is the process's standard input,
    // read once, in place of the document's import file.
    explicit DesignJob(const LabelDocument &document, bool standardInput = false);
    DesignJob(const DesignJob &) = delete;
    DesignJob &operator=(const DesignJob &) = delete;

    // One picture per value, named after the file; returns the status line
    // ("120 pictures in /home/user"). QuillError as the save command shows it.
    QString save(const QString &file);
    // The label sheet on the printer, from label firstLabel of the first page,
    // each value on so many labels in a row; returns the status line ("120
    // labels on 3 pages to Zebra"). QuillError with the message the "Printing
    // error!" box shows.
    QString print(LabelPrinter &printer, int firstLabel = 1, int copies = 1);

    const LabelDocument &document() const { return m_document; }
    // Told, after a save or print, of a module too small for scanners (the
    // last value's): the command line warns and does not fail.
    void setWarn(std::function<void(const QString &)> warn) { m_warn = std::move(warn); }

private:
    std::function<void(const QString &)> m_warn;
    const LabelDocument m_document;
    DocumentSource m_source;
    Module1 m_data;
    LabelRenderer m_renderer;
};
