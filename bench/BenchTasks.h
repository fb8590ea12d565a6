#pragma once
#include "BenchResult.h"

#include <QString>

struct BenchOptions {
    QString workRoot; // where outputs go: tmpfs (/dev/shm) when there is one
    bool keep = false; // leave the outputs in place for a look
    QString check; // "all", "sample" or "none"; empty: all pages up to 10,000 labels, else a sample
};

// Each task drives the real window headless through the handlers a user
// triggers, and measures only the handler; set-up and the outside check of the
// output are not timed, and the peak memory is taken before the check.
BenchResult runPrintTask(qint64 labels, const BenchOptions &options);
// One picture file per value, "png", "bmp" or "svg", at dpi (0: the screen's).
BenchResult runSaveTask(qint64 files, const QString &format, int dpi, const BenchOptions &options);
// One picture of width x height pixels saved as "bmp" or "png", its peak
// against the process's before it and the picture's one-bit size.
BenchResult runPictureTask(int width, int height, const QString &format, const BenchOptions &options);
// Every value of an import file of that many lines, as a run reads them.
BenchResult runImportTask(qint64 lines, const BenchOptions &options);
// Rows of a five-column CSV (csv) through a value and a title template, or
// the same values as plain lines, saved as PNG files or printed to a PDF by
// the runs the handlers make; the data source is the import file alone.
BenchResult runColumnsTask(qint64 rows, bool csv, bool print, const BenchOptions &options);
BenchResult runPreviewTask(qint64 keystrokes, const BenchOptions &options);
// The same keystrokes on a label of twenty objects opened from a design file.
BenchResult runPreviewObjectsTask(qint64 keystrokes, const BenchOptions &options);
// A text dragged across a label of fifty objects on the canvas of a 1280 x 800
// window, each mouse move timed until the canvas has repainted; one step at the release.
BenchResult runCanvasDragTask(qint64 moves, const BenchOptions &options);
// Designs of 200 objects opened in turn, each timed until the canvas has painted them.
BenchResult runCanvasOpenTask(qint64 opens, const BenchOptions &options);
BenchResult runColdStartTask(const BenchOptions &options);
// Labels printed to the default CUPS queue, timed until the driver's output is
// complete in outFolder (bench/run's private label printer).
BenchResult runLabelPrinterTask(qint64 labels, const QString &outFolder, const BenchOptions &options);
// The outside check alone, on a PDF from another program laid out on the same sheet.
BenchResult runCheckPdfTask(const QString &pdf, qint64 labels, const BenchOptions &options);
// The outside check of a sheet of shelf labels printed from csv (ean,name,price
// with a header line), one label a row on the same sheet: each label's EAN-13
// read back, its name and price found in the page's text.
BenchResult runCheckShelfTask(const QString &pdf, const QString &csv, const BenchOptions &options);
