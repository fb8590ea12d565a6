#pragma once
#include "DesignerView.h"
#include "FakeControls.h"
#include "LabelDocument.h"
#include "Module1.h"
#include "Numbers.h"
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

    // The size the boxes show, in the unit selected; the last one that was a number otherwise.
    double widthTwips() const { return twipsOf(width, 2880); }
    double heightTwips() const { return twipsOf(height, 1440); }
    double twipsOf(const QString &text, double fallback) const
    {
        double amount = 0;
        if (!Numbers::tryRegionalNumber(text, &amount))
            return fallback;
        return amount * Numbers::twipsPerUnit(o4 ? 1 : 0);
    }
    // The document the window would hold: the component's members and the data panel's controls.
    LabelDocument &document() override
    {
        SymbolObject symbol;
        symbol.symbology = symbologyAt(vantrel_.BarType());
        symbol.options = vantrel_.design().formatOptions();
        symbol.scaling = SymbolObject::Tick(vantrel_.Scaling());
        symbol.showText = SymbolObject::Tick(vantrel_.ShowText());
        symbol.rotation = SymbolObject::rotationOf(vantrel_.Orientation() / 10).value();
        symbol.alignment = SymbolObject::Alignment(vantrel_.Alignment());
        symbol.fontName = vantrel_.Font().Name();
        symbol.fontPoints = vantrel_.Font().Size();
        document_.setSymbol(symbol);
        document_.setSize(widthTwips(), heightTwips());
        document_.setUnit(o4 ? LabelDocument::Unit::Inches : LabelDocument::Unit::Centimetres);
        document_.setPictureDpi(vantrel_.design().pictureDpi());
        DataSource source = document_.source();
        source.kind = o1 ? DataSource::Kind::Text
            : o2         ? DataSource::Kind::Sequence
                         : DataSource::Kind::ImportFile;
        source.text = t1;
        source.sequenceStart = t2;
        source.sequenceEnd = t3;
        source.importFile = t4;
        source.prefix = t7;
        source.suffix = t8;
        source.titled = SymbolObject::Tick(check3);
        source.columns = columns;
        document_.setSource(source);
        return document_;
    }
    void storeMargins() override
    {
        const std::array<double, 8> margins = document_.margins().inOrder();
        const DesignKey keys[]
            = {DesignKey::LabelLeft, DesignKey::LabelRight, DesignKey::LabelTop, DesignKey::LabelBottom,
               DesignKey::PageLeft,  DesignKey::PageRight,  DesignKey::PageTop,  DesignKey::PageBottom};
        for (size_t i = 0; i < margins.size(); ++i)
            DesignKeys::write(store, keys[i], LabelMargins::textOf(margins[i]));
    }
    Vantrel &vantrel() override { return vantrel_; }
    Module1 &module1() override { return data; }
    CommonDialog &commonDialog() override { return common; }
    SettingsStore &settings() override { return store; }
    void setSymbolSize(bool inches, const QString &w, const QString &h) override
    {
        o4 = inches, o5 = !inches, width = w, height = h;
    }
    std::pair<QString, QString> symbolSizeTexts() override { return {width, height}; }

    QTemporaryDir dir;
    SettingsStore store;
    Module1 data;
    Vantrel vantrel_;
    PrinterObject printer;
    CommonDialog common;
    LabelDocument document_;
};
