#pragma once
// Printed sheets read back from outside with poppler (PdfCheck: pdfinfo,
// pdftoppm), one label at a time.
#include "PdfCheck.h"
#include "PrinterObject.h"
#include "StandInDesigner.h"

#include <QImage>
#include <QPainter>

namespace PdfPages {

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
