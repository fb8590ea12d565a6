#pragma once
// Stand-ins that let the print dialog and the printing run work without the
// designer window or a person: a designer with a real component and real data
// values, and dialogs that answer as a test tells them.
#include "Dialogs.h"
#include "PrinterObject.h"
#include "StandInDesigner.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

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
