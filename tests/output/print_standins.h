#pragma once
// Stand-ins that let the print dialog and the printing run work without the
// designer window or a person: a designer with a real component and real data
// values, and dialogs that answer as a test tells them.
#include "DataSourceControls.h"
#include "DesignerView.h"
#include "Dialogs.h"
#include "Module1.h"
#include "PrinterObject.h"
#include "SettingsStore.h"
#include "Vantrel.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

struct StandInDesigner : DesignerView, DataSourceControls {
    StandInDesigner()
        : store(dir.filePath(QStringLiteral("Quillmark2.conf"))), data(*this)
    {
        vantrel_.setBarType(8); // Code128: any digits and letters, read by every decoder
        vantrel_.Font().setSize(14.0);
    }

    // Data source: 1 fixed text, 2 sequence, 3 import file.
    void source(int n) { o1 = n == 1; o2 = n == 2; o3 = n == 3; }
    void sequence(const QString &from, const QString &to) { source(2); t2 = from; t3 = to; }
    void inches(bool yes) { o4 = yes; o5 = !yes; }

    bool o1 = false, o2 = true, o3 = false, o4 = true, o5 = false;
    int check3 = 0;
    QString t1 = QStringLiteral("FIXED"), t2 = QStringLiteral("001"), t3 = QStringLiteral("003"), t4,
            t7 = QStringLiteral("(prefix)"), t8 = QStringLiteral("(sufix)");
    QString width = QStringLiteral("2.00"), height = QStringLiteral("1.00");

    // DataSourceControls
    bool option1Selected() const override { return o1; }
    bool option2Selected() const override { return o2; }
    bool option3Selected() const override { return o3; }
    QString text1() const override { return t1; }
    QString text2() const override { return t2; }
    QString text3() const override { return t3; }
    QString text4() const override { return t4; }
    QString text7() const override { return t7; }
    QString text8() const override { return t8; }

    // DesignerView
    int check3Value() const override { return check3; }
    bool option4Selected() const override { return o4; }
    bool option5Selected() const override { return o5; }
    QString text5() const override { return width; }
    QString text6() const override { return height; }
    double symbolWidth() const override { return 2880; }
    double symbolHeight() const override { return 1440; }
    Vantrel &vantrel() override { return vantrel_; }
    Module1 &module1() override { return data; }
    CommonDialog &commonDialog() override { return common; }
    SettingsStore &settings() override { return store; }

    QTemporaryDir dir;
    SettingsStore store;
    Module1 data;
    Vantrel vantrel_;
    CommonDialog common;
};

struct StandInDialogs : DialogProvider {
    struct Message {
        QString text, title;
    };
    QList<Message> messages;
    // What "Printer setup" does; returns whether the user confirmed.
    std::function<bool(PrinterObject &)> onPrinterDialog = [](PrinterObject &) { return false; };

    StandInDialogs() { DialogProvider::install(this); }
    ~StandInDialogs() override { DialogProvider::install(nullptr); }

    std::optional<QString> openFile(const QString &, const QString &, const QString &, int &) override
    {
        return std::nullopt;
    }
    std::optional<QString> saveFile(const QString &, const QString &, const QString &, int &) override
    {
        return std::nullopt;
    }
    bool printerDialog(PrinterObject &printer) override { return onPrinterDialog(printer); }
    void messageBox(const QString &text, const QString &title) override { messages.append({text, title}); }
};

namespace PdfPages {

// Page count by poppler's pdfinfo; -1 when it cannot read the file.
inline int count(const QString &pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    if (!info.waitForFinished(60000) || info.exitCode() != 0)
        return -1;
    for (const QString &line : QString::fromUtf8(info.readAllStandardOutput()).split(u'\n')) {
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

// Every page rendered by poppler's pdftoppm at the given resolution.
inline QList<QImage> render(const QString &pdf, int dpi)
{
    QTemporaryDir out;
    QProcess ppm;
    ppm.start(QStringLiteral("pdftoppm"),
              {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), pdf,
               out.filePath(QStringLiteral("page"))});
    QList<QImage> pages;
    if (!ppm.waitForFinished(120000) || ppm.exitCode() != 0)
        return pages;
    QDir folder(out.path());
    for (const QString &name : folder.entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name))
        pages.append(QImage(folder.filePath(name)));
    return pages;
}

} // namespace PdfPages
