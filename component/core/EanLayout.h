#pragma once
#include "SymbolModel.h"

// Places the digits of EAN/UPC symbols as the symbology does: digit groups
// between the guards, the number system and check digits in the quiet zones,
// add-on digits above the add-on; marks the guard and add-on bars.
class EanLayout {
public:
    enum class Kind { Ean13, Ean8, UpcA, UpcE, AddOnOnly };
    // humanText is zint's, e.g. "1234567890128+12".
    static void apply(SymbolModel &model, Kind kind, const QString &humanText);
};
