#pragma once
#include "ImportColumns.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

class Design;
class VantrelFont;

// What start-up makes of a design's texts: the values the designer's controls
// take and the component ends up with. The window sets its controls from them
// one by one, so that their handlers run as after a user's change; a job
// without a window gives them to the component directly. Both read them here,
// so both draw the same symbol.
struct DesignValues {
    static const QStringList &rotations(); // the rotation list's items
    static const QStringList &alignments(); // the alignment list's items

    double symbolWidth = 0.0; // twips, as stored
    double symbolHeight = 0.0;
    std::int32_t unitFlag = 0; // 1 inches, 0 centimetres
    int symbology = 0; // the Format list's position, -1 for none
    int scaling = 0; // check values: 0, 1 or 2
    int showText = 1;
    int hasTitle = 0;
    int rotation = 0; // positions in the two lists
    int alignment = 0;
    QString fontName; // as stored; FontFamilies::indexOf finds it in a list
    QString fontSize; // the size list's text
    bool option1 = true; // each source's key, in the order they are set
    bool option2 = false;
    bool option3 = false;
    ImportColumns columns; // none chosen unless the design has a value template
    int pictureDpi = 0; // saved pictures' dots per inch, 0 the screen's

    static DesignValues of(const Design &design);
    // The import columns as a design keeps them, and the words the delimiter
    // is written as ("detect", "comma", "semicolon", "tab"), read in any letter case.
    static void setColumns(Design &design, const ImportColumns &columns);
    static const QStringList &delimiterWords();
    static std::optional<ImportColumns::Delimiter> delimiterOf(const QString &word);

    // A picture resolution's text: "Screen" (any letter case) 0, or the whole
    // dots per inch in the key's range; nullopt for anything else. And back.
    static std::optional<int> pictureDpiOf(const QString &text);
    static QString pictureDpiText(int dpi);

    // The source selected once the three keys are set one after the other:
    // 1 text, 2 sequence, 3 import file, 0 none.
    int source() const;
    // A size as the unit's boxes give it back: rounded to hundredths of the unit.
    double inUnitSteps(double twips) const;
    // The size list's text handed to the font, as the list hands it over. The
    // text is in range already (StoredValue::fontSizeText); one the font cannot
    // convert (12abc) keeps the size its numeric value gives.
    static void sizeFont(VantrelFont &font, const QString &text);
};
