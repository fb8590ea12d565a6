#pragma once
#include "Design.h"
#include "LabelDocument.h"

// A label document in and out of the texts a design is kept in (the settings
// store and design files). Reading takes each text as start-up always has: a
// value no control can show is brought to the nearest one. Writing gives the
// texts in the forms the program has always written.
namespace DesignCodec {

// The objects from the design's object sections (ObjectSections): QuillError
// for sections a design file would be refused for.
LabelDocument read(const Design &design);
// Every key of the document into design; keys of its own that design holds
// stay, its object sections give way to the document's.
void write(const LabelDocument &document, Design &design);
Design written(const LabelDocument &document);

} // namespace DesignCodec
