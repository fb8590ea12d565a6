#pragma once
#include "LabelGrid.h"
#include "ModuleSize.h"
#include "Numbers.h"

#include <QString>
#include <cstdint>
#include <optional>

class LabelPrinter;
class Module1;
class RunProgress;
class SymbolDesign;

// One printing run: the label grid filled page after page with the designer's
// symbol, one data value per label (the fixed text fills one page). Any error
// ends it with one description for the "Printing error!" message; the job is
// then thrown away and the component's font size put back.
class PrintRun {
public:
    // The dialog's margin texts as typed, in the dialog's unit.
    struct MarginTexts {
        QString labelLeft, labelRight, labelTop, labelBottom;
        QString pageLeft, pageRight, pageTop, pageBottom;
    };
    // What the run reads of the designer and the print dialog.
    struct Sheet {
        QString width, height; // the symbol's size as the designer shows it, in the dialog's unit
        MarginTexts margins;
        double twipsPerUnit = Numbers::kTwipsPerInch; // the dialog's unit
        bool fixedText = false; // data source "Text": one page of the same label
        bool titled = false; // "has title": each value has a title line
        bool centimetres = false; // the designer's unit, for the fit messages
    };
    static const QString &errorTitle(); // "Printing error!"
    static constexpr int kMostCopies = 999; // of each label

    PrintRun(SymbolDesign &symbol, Module1 &data, LabelPrinter &printer, const Sheet &sheet);

    // true when the job was printed; false when it failed (error() says why)
    // or the user cancelled in the progress window (error() is empty).
    bool execute();
    // The module the symbol gets on the printer's dots; nullopt while a size
    // is not a number or the symbol would not be drawn.
    std::optional<ModuleSize> moduleOnPrinter() const;
    // What would stop the run before it draws anything (the data source, the
    // symbology, the fields, the grid on the printer's page), or empty: the
    // preview asks before it opens.
    QString sheetError() const;
    bool cancelled() const { return m_cancelled; }
    QString error() const { return m_error; }

    // Told of every label drawn; may cancel the run (see RunProgress).
    void setProgress(RunProgress *progress) { m_progress = progress; }
    // A partly used sheet: the first page leaves firstLabel - 1 cells empty.
    void setFirstLabel(int firstLabel) { m_firstLabel = firstLabel; }
    // Each value drawn so many times in a row, in cells that follow each
    // other. The fixed text fills its page with copies as it is.
    void setCopies(int copies) { m_copies = copies; }

    // Labels drawn by the last execute() and pages it started.
    long long labelsDrawn() const { return m_labels; }
    long long pagesStarted() const { return m_pages; }
    // "120 labels on 3 pages": so many labels, on the pages started so far.
    QString labelsOnPages(long long labels) const;

private:
    void run();
    LabelGrid sheetGrid() const; // raises what sheetError() describes of the fields and the grid
    void scaleFontToPrinter();
    // The page's free cells, left to right and top to bottom, after the first
    // usedCells (counted down); false when the data ran out on it.
    bool fillPage(const LabelGrid &grid, long long &usedCells);
    void drawLabel(const LabelGrid::Rect &at);
    // The value for the next cell in Caption (and Title); false when there is none.
    bool nextLabel();

    SymbolDesign &m_symbol;
    Module1 &m_data;
    LabelPrinter &m_printer;
    Sheet m_sheet;
    QString m_error;
    bool m_fontSaved = false;
    double m_savedFontSize = 0.0;
    long long m_labels = 0;
    long long m_pages = 0;
    RunProgress *m_progress = nullptr;
    int m_firstLabel = 1;
    int m_copies = 1;
    int m_copiesDrawn = 0; // of the value in Caption
    bool m_cancelled = false;
};
