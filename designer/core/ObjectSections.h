#pragma once
#include "LabelObjects.h"

#include <QString>
#include <vector>

class Design;
class LabelDocument;

// The objects on a label as design files keep them: a section each,
// [Object1], [Object2]... bottom first, lengths in the design's unit and
// picture files relative to the design file. A "Designer symbol" section
// places the designer's symbol in that order; without one it is at the bottom,
// on the whole label, and a label with nothing more has no such sections at
// all. The settings store never holds them.
class ObjectSections {
public:
    static QString sectionName(int number); // "Object1", from 1

    // Why the design's object sections cannot be read, as the end of a
    // sentence naming the design ("holds Width=\"-1\" in [Object2], which is
    // below 0"); empty when they can. A picture file that is not there is no
    // fault here: the run names it.
    static QString fault(const Design &design);
    // The label's objects, bottom first, with symbol as the designer's
    // (given its place when its section has a box other than the whole
    // label); picture files absolute, from the design's folder. QuillError
    // ("The design holds ...") for what fault() names.
    static std::vector<LabelObject> read(const Design &design, const SymbolObject &symbol);
    // The document's objects in place of the design's object sections, its
    // picture files relative to the design's folder (absolute without one).
    static void write(const LabelDocument &document, Design &design);
    // The picture files of the design's object sections made relative to
    // folder, for the design written into it.
    static void movePictures(Design &design, const QString &folder);
};
