#pragma once
#include <QByteArray>
#include <QSizeF>
#include <QString>

// Qt's PDF writer dates every file by the clock and makes its page whole
// points; these mend its output so that one drawing gives one file, byte for
// byte, on a page of the drawing's own size. (The order of its font objects
// follows Qt's hash seed, which the program's start makes fixed.)
namespace SteadyPdf {

// The creation date blanked out (the entry overwritten with spaces, so that
// no object moves): a file has no date rather than one that changes.
void dropDate(QByteArray &pdf);
// The same in a file written by Qt; false when it cannot be read and written.
bool dropDate(const QString &path);

// The one page's media box made width x height points exactly, its top left
// corner where Qt put it (Qt draws from the top), and the cross-reference
// table moved with it.
void setPageSize(QByteArray &pdf, QSizeF points);

} // namespace SteadyPdf
