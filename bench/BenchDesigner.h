#pragma once
#include <QString>
#include <memory>

class DialogProvider;
class Form1;
class PrinterObject;
class SettingsStore;

// The designer window as a user would set it up for a run, driven through its
// controls so that the same handlers run as when a person clicks and types. The
// settings store lives in the given folder, never in the user's own.
class BenchDesigner {
public:
    // Form1 built, started and shown, asking through dialogs and printing on a printer of its own.
    BenchDesigner(const QString &storeFolder, DialogProvider &dialogs);
    ~BenchDesigner();

    Form1 &form() { return *m_form; }
    PrinterObject &printer() { return *m_printer; }

    void useCode128(); // Combo1 entry 8
    void useSymbolSizeInInches(double width, double height);
    void useSequence(const QString &start, qint64 count); // Option2; Text2 start, Text3 end
    void useFixedText(const QString &text); // Option1; Text1
    void useImportFile(const QString &path); // Option3; Text4
    void waitUntilShown(); // until the symbol has been painted

private:
    std::unique_ptr<SettingsStore> m_store; // outlives the window, which writes it when it closes
    std::unique_ptr<PrinterObject> m_printer; // outlives the window too
    std::unique_ptr<Form1> m_form;
};
