#pragma once
#include "ModuleSize.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class DesignerView;
class DialogProvider;
class PrinterObject;

// The designer's output commands: menu "&Action" and the three-button toolbar.
class OutputCommands {
public:
    OutputCommands(DesignerView &view, DialogProvider &dialogs, PrinterObject &printer);
    ~OutputCommands();

    void mnuPrint_Click(); // the print dialog, modal; returns when it closes
    void mnuSave_Click(); // the save run: one picture file per data value
    void mnuCopy_Click(); // the symbol to the clipboard
    void mnuAbout_Click(); // the version message
    void mnuHelp_Click(); // the manual, in the desktop's browser or a window of our own
    void Toolbar1_ButtonClick(int buttonIndex); // 1 copy, 2 save, 3 print; others nothing

    // The module in the pictures "&Save picture" makes of the design as it
    // stands, by default bitmaps at the design's resolution; none when the
    // symbol would not be drawn.
    std::optional<ModuleSize> pictureModule() const;

    // One line of what the last save run did: "120 pictures in /home/user/labels".
    QString lastRunSummary() const { return m_lastSummary; }

    void closePrintDialog(); // unloads the print dialog when it is open

private:
    DesignerView &m_view;
    DialogProvider &m_dialogs;
    PrinterObject &m_printer;
    struct PrintState;
    std::unique_ptr<PrintState> m_print;
    QString m_lastSummary;
};
