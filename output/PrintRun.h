#pragma once
#include "LabelGrid.h"

#include <QString>
#include <cstdint>

class DesignerView;
class PrinterObject;
class RunProgress;
class Vantrel;

// One printing run: the label grid filled page after page with the designer's
// symbol, one data value per label (the fixed text fills one page). Any error
// ends it with one "Printing error!" message; the job is then thrown away and
// the component's font size put back.
class PrintRun {
public:
    // The dialog's margin texts as typed, in the dialog's unit.
    struct MarginTexts {
        QString labelLeft, labelRight, labelTop, labelBottom;
        QString pageLeft, pageRight, pageTop, pageBottom;
    };

    PrintRun(DesignerView &designer, PrinterObject &printer, const MarginTexts &margins, double twipsPerUnit);

    // true when the job was printed; false after the failure message, or
    // when the user cancelled in the progress window (no message then).
    bool execute();
    bool cancelled() const { return m_cancelled; }

    // Told of every label drawn; may cancel the run (see RunProgress).
    void setProgress(RunProgress *progress) { m_progress = progress; }
    // A partly used sheet: the first page leaves firstLabel - 1 cells empty.
    void setFirstLabel(int firstLabel) { m_firstLabel = firstLabel; }

    // Labels drawn by the last execute() and pages it started.
    long long labelsDrawn() const { return m_labels; }
    long long pagesStarted() const { return m_pages; }

private:
    void run();
    void drawLabel(Vantrel &vantrel, std::int32_t hdc, const LabelGrid::Rect &at);

    DesignerView &m_designer;
    PrinterObject &m_printer;
    MarginTexts m_margins;
    double m_twipsPerUnit;
    bool m_fontSaved = false;
    double m_savedFontSize = 0.0;
    long long m_labels = 0;
    long long m_pages = 0;
    RunProgress *m_progress = nullptr;
    int m_firstLabel = 1;
    bool m_cancelled = false;
};
