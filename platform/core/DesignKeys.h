#pragma once
#include <QList>
#include <QString>

class SettingsStore;

// Every setting a design is made of, each once: the section and key it is
// kept under, the text that stands for it when it is missing, and the rule a
// design file's value must keep. The settings store holds the keys marked
// kept there; design files hold them all.
enum class DesignKey {
    // The designer window's section, in the order start-up reads it.
    Width,
    Height,
    Caption,
    ImportFile,
    SequenceStart,
    SequenceEnd,
    Unit,
    Symbology,
    Scaling,
    ShowText,
    HasTitle,
    Rotation,
    Align,
    FontName,
    FontSize,
    SourceText,
    SourceSequence,
    SourceImport,
    // The print dialog's margins, in the unit the designer shows.
    LabelLeft,
    LabelRight,
    LabelTop,
    LabelBottom,
    PageLeft,
    PageRight,
    PageTop,
    PageBottom,
    // The component's format options.
    CustomSymbology,
    Code39Check,
    Interleaved2of5Check,
    MsiCheck,
    BarWidthReduction,
    BarColor,
    BackColor,
    // How the import file's rows split into columns, and the value and title made of them.
    ImportDelimiter,
    ImportHeader,
    ImportValue,
    ImportTitle,
    // The saved pictures' resolution.
    PictureDpi,
    // Only in design files: what the store does not keep.
    Prefix,
    Suffix,
    LabelProduct,
};

namespace DesignKeys {

enum class Rule {
    Text, // any text
    Twips, // a length above 0 and up to StoredValue's limit
    Number, // a number of any value (a unit flag, an option button)
    Symbology, // -1 (none) to the last symbology code
    CheckValue, // 0 clear, 1 ticked, 2 grey
    Rotation, // 0, 90, 180 or 270
    Alignment, // Left, Center or Right
    FontSize, // a size other than 0, within the drawable points
    Whole, // a whole number from low to high
    Color, // a colour name (#rrggbb)
    Delimiter, // detect, comma, semicolon or tab
    Resolution, // Screen, or dots per inch from low to high
    Reduction, // millimetres ("0.05mm") up to 1, or pixels from low to high as kept before
    Margin, // a print margin: any text, but a number read from it within kMaxMargin either way
};

// The largest print margin either way, in the design's unit (inches or
// centimetres): what the symbol may be at most, 10,000 inches, and well
// within the printing run's 32-bit twips.
constexpr double kMaxMargin = 10000.0;

struct Entry {
    DesignKey key;
    QString section;
    QString name;
    QString defaultText;
    Rule rule;
    int low = 0; // Whole: the range
    int high = 0;
    bool stored = true; // kept in the settings store, not only in design files
};

const QList<Entry> &all();
const Entry &entry(DesignKey key);

// A key's text in the settings store, its default when missing; and written there.
QString read(const SettingsStore &store, DesignKey key);
void write(SettingsStore &store, DesignKey key, const QString &text);

// The sections, as the store and design files name them.
const QString &designerSection(); // "Form1"
const QString &optionsSection(); // the component's
const QString &columnsSection(); // the import file's columns
const QString &picturesSection(); // the saved pictures'
const QString &fileSection(); // design files only

} // namespace DesignKeys
