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
    if (!info.waitForFinished(60000) || info.exitCode() != 0)
        return -1;
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    const qsizetype at = out.indexOf(QLatin1String("Pages:"));
    return at < 0 ? -1 : out.mid(at + 6).section(u'\n', 0, 0).trimmed().toInt();
}

// Every page rendered by poppler's pdftoppm at the given resolution.
inline QList<QImage> render(const QString &pdf, int dpi)
{
    QTemporaryDir out;
    QProcess ppm;
    ppm.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), pdf,
                                           out.filePath(QStringLiteral("page"))});
    QList<QImage> pages;
    if (ppm.waitForFinished(120000) && ppm.exitCode() == 0)
        for (const QString &name : QDir(out.path()).entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name))
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
