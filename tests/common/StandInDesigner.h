#pragma once
#include "DesignerView.h"
#include "FakeControls.h"
#include "Module1.h"
#include "PrinterObject.h"
#include "ScriptedDialogs.h"
#include "SettingsStore.h"
#include "Symbology.h"
#include "Vantrel.h"

#include <QTemporaryDir>

// The modal dialogs answered as a test tells them, handed to the designer and the dialogs.
using StandInDialogs = ScriptedDialogs;

// The designer as the output commands see it, without its window: a real
// component, real data values, a settings store and a printer of its own;
// its common dialog asks through dialogs.
struct StandInDesigner : DesignerView, FakeControls {
    explicit StandInDesigner(DialogProvider &dialogs)
        : store(dir.filePath(QStringLiteral("Quillmark2.conf")))
        , data(*this)
        , common(dialogs, printer)
    {
        sequence("001", "003");
        t1 = QStringLiteral("FIXED");
        vantrel_.setBarType(
            std::int16_t(Symbology::Code128)); // any digits and letters, read by every decoder
        vantrel_.Font().setSize(14.0);
        vantrel_.setWidth(192), vantrel_.setHeight(96); // 2 x 1 in on the screen
    }
    void sequence(const QString &from, const QString &to) { source(2), t2 = from, t3 = to; }

    bool o4 = true, o5 = false; // inches
    int check3 = 0;
    QString width = QStringLiteral("2.00"), height = QStringLiteral("1.00"); // as the size boxes show them
    double widthTwips_ = 2880, heightTwips_ = 1440;

    bool fixedTextSelected() const override { return o1; }
    int titleState() const override { return check3; }
    bool inchesSelected() const override { return o4; }
    bool centimetresSelected() const override { return o5; }
    QString widthText() const override { return width; }
    QString heightText() const override { return height; }
    double widthTwips() const override { return widthTwips_; }
    double heightTwips() const override { return heightTwips_; }
    Vantrel &vantrel() override { return vantrel_; }
    Module1 &module1() override { return data; }
    CommonDialog &commonDialog() override { return common; }
    SettingsStore &settings() override { return store; }
    void setSymbolSize(bool inches, const QString &w, const QString &h) override
    {
        o4 = inches, o5 = !inches, width = w, height = h;
    }

    QTemporaryDir dir;
    SettingsStore store;
    Module1 data;
    Vantrel vantrel_;
    PrinterObject printer;
    CommonDialog common;
};
