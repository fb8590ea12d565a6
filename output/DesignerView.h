#pragma once
#include <QString>

class Vantrel;
class Module1;
class CommonDialog;
class SettingsStore;

// What the output commands read from and use in the designer window. Form1
// implements it; tests can drive the output alone with a stand-in.
class DesignerView {
public:
    virtual ~DesignerView() = default;
    virtual bool option1Selected() const = 0;  // data source "Text"
    virtual int check3Value() const = 0;       // "has title": 0 clear, 1 ticked, 2 grey
    virtual bool option4Selected() const = 0;  // unit "inches"
    virtual bool option5Selected() const = 0;  // unit "cm"
    virtual QString text5() const = 0;         // symbol width as shown
    virtual QString text6() const = 0;         // symbol height as shown
    virtual double symbolWidth() const = 0;    // twips
    virtual double symbolHeight() const = 0;   // twips
    virtual Vantrel &vantrel() = 0;
    virtual Module1 &module1() = 0;
    virtual CommonDialog &commonDialog() = 0;  // CommonDialog1, shared with the import browse
    virtual SettingsStore &settings() = 0;

    // The symbol size set as the user would: the unit selected ("inches" or
    // "cm"), then the width and height typed into the size boxes and validated.
    virtual void setSymbolSize(bool inches, const QString &width, const QString &height) = 0;
    // One line of what a run did, shown until the next.
    virtual void showStatus(const QString &line) { (void)line; }
};
