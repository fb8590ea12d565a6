#pragma once
#include <QHash>
#include <QSet>
#include <QString>

// How the save run names and types its picture files.
namespace PictureNames {

enum class Format { Bitmap, Metafile, Png };

// What the save dialog is given before every save.
QString saveFilter();       // the four entries, "|"-separated
QString saveDefaultExt();   // ".bmp"

// By the last three characters of the chosen name, compared case-sensitively:
// "wmf" a metafile, "png" a PNG, anything else (upper case included) a bitmap.
Format formatOf(const QString &chosenName);

// A data value made fit to stand inside a file name: path separators, control
// characters and the characters other systems' file names cannot hold become
// "_"; blanks and everything else are kept. Never empty, never "." or "..".
QString safeFileNamePart(const QString &value);

// The file for a value after the first: the chosen name without its last four
// characters, "_", the value made safe, then ".bmp" for a bitmap or the chosen
// name's own ".png"/".wmf". Always in the chosen name's folder; the value is
// shortened when the file name would be longer than a file system allows.
QString furtherName(const QString &chosenName, const QString &value, Format format);

// The names one run has written. A name already taken, also in another letter
// case (a run may write to a case-insensitive disk), gets "_2", "_3"... before
// its extension, so a later value never replaces an earlier value's file.
class UniqueNames {
public:
    QString claim(const QString &path);

private:
    // Only a 64-bit hash of each case-folded name is kept, so that a run of any
    // length keeps its memory flat. Two names with one hash (about one chance
    // in 10^8 at a million files) cost a needless suffix, never a replaced file.
    QSet<size_t> m_taken;
    QHash<size_t, int> m_nextSuffix; // per wanted name
};

} // namespace PictureNames
