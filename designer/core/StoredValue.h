#pragma once
#include <QString>
#include <cstdint>

// How the designer turns a stored text into a value its control can take. The
// program itself only writes values these accept unchanged; a text it never
// writes (edited by hand, or from another version) is brought to the nearest
// value a control can show, so that start-up goes on and the next close writes
// something the next start reads cleanly.
class StoredValue {
public:
    // Beyond this a size no longer fits the single-precision pixels of the
    // preview; about 10,000 inches.
    static constexpr double kMaxTwips = 14400000.0;

    // A length in twips; fallback when not finite or beyond kMaxTwips.
    static double twips(const QString &text, double fallback);
    // 1 inches, 0 centimetres; any nonzero value, also one too large for a
    // 32-bit integer, means inches.
    static std::int32_t unitFlag(const QString &text);
    // A list position from -1 (nothing selected) to count - 1; fallback otherwise.
    static int listIndex(const QString &text, int count, int fallback);
    // A check box value: 0 clear, 1 ticked, 2 grey; any other nonzero value ticks.
    static int checkValue(const QString &text);
    // An option button's key: selected when its numeric value is not 0.
    static bool selected(const QString &text);
    // Font sizes the preview and pictures can draw: up to this many points either way.
    static constexpr double kMaxFontPoints = 1000.0;
    // A stored font size text: kept when in range, 1000 (or -1000) when beyond
    // it by either reading (its numeric value, or the whole text as the font
    // object reads it: "3e7"), "14" when its numeric value is 0.
    static QString fontSizeText(const QString &text);
    // The numeric value written back as plain text ("90.0" -> "90").
    static QString plainNumber(const QString &text);

    // Written forms.
    static QString flag(bool set); // "1" or "0"
    static QString checkFlag(int value); // "1" when nonzero, else "0"
};
