#pragma once
#include "PictureNames.h"

#include <QSize>
#include <QString>

class LabelRenderer;
struct LabelRecord;

// A label with objects on it as a picture file of any format, drawn by the
// renderer through one painter: bitmaps and PNGs in colour, metafiles, SVG,
// EPS and PDF as vectors with their text as text.
namespace LabelPicture {

// The record's label in a picture of pixels at dpi, written to path (a
// temporary file renamed over it, so a failed picture leaves no part behind).
void write(LabelRenderer &renderer, const LabelRecord &record, PictureNames::Format format,
           const QString &path, QSize pixels, double dpi);

} // namespace LabelPicture
