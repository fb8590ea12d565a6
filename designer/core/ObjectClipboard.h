#pragma once
#include "LabelDocument.h"

#include <QByteArray>
#include <QString>
#include <vector>

// Objects cut or copied from one label, to paste on the same label or on
// another design's: the text of a design file that holds them, its lengths
// in the copying design's unit and its picture files absolute.
namespace ObjectClipboard {

// The clipboard's format for them.
QString mimeType();
// The objects at the selected places, in stacking order. The designer's
// symbol goes as a symbol of its own, with its settings, placed where it is:
// a label has one designer's symbol, the one it was made with.
QByteArray copied(const LabelDocument &document, const std::vector<std::size_t> &selection);
// The objects of a text copied so; QuillError when it holds none that can be read.
std::vector<LabelObject> pasted(const QByteArray &text);

} // namespace ObjectClipboard
