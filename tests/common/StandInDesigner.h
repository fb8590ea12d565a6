#pragma once
#include "DesignerView.h"
#include "Dialogs.h"
#include "FakeControls.h"
#include "Module1.h"
#include "SettingsStore.h"
#include "Vantrel.h"

#include <QTemporaryDir>
#include <functional>

// The modal dialogs answered as a test tells them; installed while it lives.
struct StandInDialogs : DialogProvider {
    struct Message { QString text, title; };
    QList<Message> messages;
    std::optional<QString> openAnswer, saveAnswer; // nullopt: the user cancels
    int saveCalls = 0;
    std::function<bool(PrinterObject &)> onPrinterDialog = [](PrinterObject &) { return false; };

    StandInDialogs() { DialogProvider::install(this); }
    ~StandInDialogs() override { DialogProvider::install(nullptr); }
    std::optional<QString> openFile(const QString &, const QString &, const QString &, int &) override { return openAnswer; }
    std::optional<QString> saveFile(const QString &, const QString &, const QString &, int &) override
    { return ++saveCalls, saveAnswer; }
    bool printerDialog(PrinterObject &printer) override { return onPrinterDialog(printer); }
    void messageBox(const QString &text, const QString &title) override { messages.append({text, title}); }
    QString opened; // the document shown in the desktop's viewer
    bool openDocument(const QString &path) override { return opened = path, true; }
    QString allText() const { QStringList t; for (const Message &m : messages) t << m.text; return t.join(u'\n'); }
};

// The designer as the output commands see it, without its window: a real
// component, real data values and a settings store of its own.
struct StandInDesigner : DesignerView, FakeControls {
    StandInDesigner() : store(dir.filePath(QStringLiteral("Quillmark2.conf"))), data(*this)
    {
        sequence("001", "003");
        t1 = QStringLiteral("FIXED");
        vantrel_.setBarType(8); // Code128: any digits and letters, read by every decoder
        vantrel_.Font().setSize(14.0);
    }
    void sequence(const QString &from, const QString &to) { source(2), t2 = from, t3 = to; }

    bool o4 = true, o5 = false; // inches
    int check3 = 0;
    QString width = QStringLiteral("2.00"), height = QStringLiteral("1.00"); // as the size boxes show them
    double widthTwips = 2880, heightTwips = 1440;

    bool option1Selected() const override { return o1; }
    int check3Value() const override { return check3; }
    bool option4Selected() const override { return o4; }
    bool option5Selected() const override { return o5; }
    QString text5() const override { return width; }
    QString text6() const override { return height; }
    double symbolWidth() const override { return widthTwips; }
    double symbolHeight() const override { return heightTwips; }
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
    CommonDialog common;
};
