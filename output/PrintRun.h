#pragma once
#include "LabelGrid.h"

#include <QString>
#include <cstdint>

class DesignerView;
class PrinterObject;
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

    // true when the job was printed; false after the failure message.
    bool execute();

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
};
