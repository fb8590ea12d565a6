#pragma once
// Printed sheets read back from outside with poppler (pdfinfo, pdftoppm).
#include "PrinterObject.h"
#include "StandInDesigner.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>

namespace PdfPages {

// Page count by poppler's pdfinfo; -1 when it cannot read the file.
inline int count(const QString &pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    const QString out = info.waitForFinished(60000) && info.exitCode() == 0 ? info.readAllStandardOutput() : "";
    return out.contains("Pages:") ? out.section("Pages:", 1).section(u'\n', 0, 0).trimmed().toInt() : -1;
}

// Every page rendered by poppler's pdftoppm at the given resolution.
inline QList<QImage> render(const QString &pdf, int dpi)
{
    QTemporaryDir out;
    QProcess ppm;
    ppm.start(QStringLiteral("pdftoppm"), {"-r", QString::number(dpi), "-png", pdf, out.filePath("page")});
    QList<QImage> pages;
    if (ppm.waitForFinished(120000) && ppm.exitCode() == 0)
        for (const QString &name : QDir(out.path()).entryList({"page*.png"}, QDir::Files, QDir::Name))
            pages.append(QImage(out.filePath(name)));
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
