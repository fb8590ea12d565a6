#pragma once
// Stand-ins that let the output commands work without the designer window or a
// person: a designer with a real component and real data values, and dialogs
// that answer as a test tells them.
#include "Dialogs.h"
#include "PrinterObject.h"
#include "StandInDesigner.h"

#include <QDir>
#include <QImage>
#include <QPainter>
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
    std::optional<QString> saveAnswer; // nullopt: the user cancels
    int saveCalls = 0;
    QString askedFilter, askedExt, askedName;

    StandInDialogs() { DialogProvider::install(this); }
    ~StandInDialogs() override { DialogProvider::install(nullptr); }

    std::optional<QString> openFile(const QString &, const QString &, const QString &, int &) override
    {
        return std::nullopt;
    }
    std::optional<QString> saveFile(const QString &filter, const QString &ext, const QString &name, int &) override
    {
        ++saveCalls;
        askedFilter = filter, askedExt = ext, askedName = name;
        return saveAnswer;
    }
    QString allText() const
    {
        QStringList texts;
        for (const Message &m : messages)
            texts << m.text;
        return texts.join(u'\n');
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

// One symbol cut from a page onto a white ground with room around it, as a
// scanner sees a label.
inline QImage label(const QImage &page, const QRect &symbol)
{
    QImage out(symbol.size() + QSize(60, 60), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter(&out).drawImage(QPoint(30, 30), page.copy(symbol));
    return out;
}

} // namespace PdfPages
