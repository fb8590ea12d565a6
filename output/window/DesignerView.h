#pragma once
#include <QString>
#include <utility>

class LabelDocument;
class Vantrel;
class Module1;
class CommonDialog;
class SettingsStore;

// What the output commands read from and use in the designer window. The
// window answers through a small adapter; tests drive the output alone with a
// stand-in.
class DesignerView {
public:
    virtual ~DesignerView() = default;
    // The design as a document: what the runs draw.
    virtual LabelDocument &document() = 0;
    virtual Vantrel &vantrel() = 0;
    virtual Module1 &module1() = 0;
    virtual CommonDialog &commonDialog() = 0; // shared with the import browse
    virtual SettingsStore &settings() = 0;
    // The document's margins written to the settings store, where the print dialog keeps them.
    virtual void storeMargins() = 0;

    // The symbol size set as the user would: the unit selected ("inches" or
    // "cm"), then the width and height typed into the size boxes and validated.
    virtual void setSymbolSize(bool inches, const QString &width, const QString &height) = 0;
    // The size boxes' texts as they stand, width and height: what setSymbolSize puts back.
    virtual std::pair<QString, QString> symbolSizeTexts() = 0;
    // One line of what a run did, shown until the next.
    virtual void showStatus(const QString &line) { (void)line; }
    // The label product chosen for the sheet ("Avery 5160"), kept with the design.
    virtual void setLabelProduct(const QString &name) { (void)name; }
    // From begin to end, the design's changes are one step to undo, named so;
    // none at all when they end where they began.
    virtual void beginStep(const QString &name) { (void)name; }
    virtual void endStep() { }
};
