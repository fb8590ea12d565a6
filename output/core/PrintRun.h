#pragma once
#include "LabelDocument.h"
#include "LabelGrid.h"
#include "LabelRenderer.h"
#include "ModuleSize.h"
#include "Numbers.h"

#include <QString>
#include <cstdint>
#include <optional>

class LabelPrinter;
class Module1;
class RunProgress;

// One printing run: the label grid filled page after page with the document's
// label, one data value per label (the fixed text fills one page). Any error
// ends it with one description for the "Printing error!" message; the job is
// then thrown away.
class PrintRun {
public:
    static const QString &errorTitle(); // "Printing error!"
    static constexpr int kMostCopies = 999; // of each label

    // The document's labels, drawn by renderer, one value of data a label.
    PrintRun(const LabelDocument &document, LabelRenderer &renderer, Module1 &data, LabelPrinter &printer);

    // The unit the margins are amounts in, where the print dialog shows
    // another than the document's.
    void setMarginUnit(LabelDocument::Unit unit) { m_marginUnit = unit; }
    // A number the user typed into a field, in the regional format; QuillError naming the field.
    static double fieldNumber(const QString &field, const QString &text);
    // The print dialog's name for a margin, in LabelMargins::inOrder()'s order ("Barcode margins \"Left\"").
    static QString marginField(int index);

    // true when the job was printed; false when it failed (error() says why)
    // or the user cancelled in the progress window (error() is empty).
    bool execute();
    // The module the symbol gets on the printer's dots; nullopt while the
    // symbol would not be drawn.
    std::optional<ModuleSize> moduleOnPrinter() const;
    // Why the symbols may not scan on the printer (the designer's, then each
    // symbol object's with the value the renderer shows), a line each; empty when none.
    QString moduleWarning() const;
    bool cancelled() const { return m_cancelled; }
    QString error() const { return m_error; }

    // Told of every label drawn; may cancel the run (see RunProgress).
    void setProgress(RunProgress *progress) { m_progress = progress; }
    // A partly used sheet: the first page leaves firstLabel - 1 cells empty.
    void setFirstLabel(int firstLabel) { m_firstLabel = firstLabel; }
    // Each value drawn so many times in a row, in cells that follow each
    // other (the document's copies unless set). The fixed text fills its page
    // with copies as it is.
    void setCopies(int copies) { m_copies = copies; }
    // Every label's outline drawn under it on each page, light and thin: for
    // the preview, which shows where the labels lie on the sheet; never printed.
    void setOutlines(bool outlines) { m_outlines = outlines; }

    // Labels drawn by the last execute() and pages it started.
    long long labelsDrawn() const { return m_labels; }
    long long pagesStarted() const { return m_pages; }
    // "120 labels on 3 pages": so many labels, on the pages started so far.
    QString labelsOnPages(long long labels) const;
    // The last label's record, drawn or empty, once the run took one: the
    // designer's preview shows it after the run.
    std::optional<LabelRecord> lastRecord() const
    {
        return m_recordTaken ? std::optional(m_record) : std::nullopt;
    }

private:
    void run();
    // Raises why the fields and the grid hold no sheet: a margin that is no number, no label on the page.
    LabelGrid sheetGrid() const;
    double marginTwipsPerUnit() const;
    // The symbol's size as the designer's boxes show it, in the margins' unit's amounts.
    double shownWidth() const;
    double shownHeight() const;
    // The page's free cells, left to right and top to bottom, after the first
    // usedCells (counted down); false when the data ran out on it.
    bool fillPage(const LabelGrid &grid, long long &usedCells);
    void drawLabel(const LabelGrid::Rect &at);
    void drawOutlines(const LabelGrid &grid, float tppX, float tppY);
    // The value for the next cell in m_record; false when there is none.
    bool nextLabel();

    const LabelDocument &m_document;
    LabelRenderer &m_renderer;
    Module1 &m_data;
    LabelPrinter &m_printer;
    std::optional<LabelDocument::Unit> m_marginUnit;
    bool m_fixedText = false;
    bool m_titled = false;
    LabelRecord m_record;
    bool m_recordTaken = false;
    QString m_error;
    long long m_labels = 0;
    long long m_pages = 0;
    RunProgress *m_progress = nullptr;
    int m_firstLabel = 1;
    int m_copies;
    int m_copiesDrawn = 0; // of the value in m_record
    bool m_cancelled = false;
    bool m_outlines = false;
};
