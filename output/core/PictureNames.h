#pragma once
#include <QDateTime>
#include <QHash>
#include <QString>
#include <cstdlib>
#include <memory>
#include <new>

// How the save run names and types its picture files.
namespace PictureNames {

// Svg, Eps and Pdf: drawings (bars as rectangles, text as text) at the picture's resolution.
enum class Format { Bitmap, Metafile, Png, Svg, Eps, Pdf };

// What the save dialog is given before every save.
QString saveFilter(); // the four entries, then the drawings' three, "|"-separated
QString saveDefaultExt(); // ".bmp"

// By the last three characters of the chosen name, in any letter case: "wmf"
// a metafile, "png" a PNG, "svg", "eps" and "pdf" those drawings, anything
// else a bitmap.
Format formatOf(const QString &chosenName);

// A data value made fit to stand inside a file name: path separators, control
// characters and the characters other systems' file names cannot hold become
// "_"; blanks and everything else are kept. Never empty, never "." or "..".
QString safeFileNamePart(const QString &value);

// The file for a value after the first: the chosen name without its last four
// characters, "_", the value made safe, then ".bmp" for a bitmap or the chosen
// name's own ".png", ".wmf", ".svg", ".eps" or ".pdf". Always in the chosen name's folder; the value is
// shortened when the file name would be longer than a file system allows.
QString furtherName(const QString &chosenName, const QString &value, Format format);

// The names one run has written. A name already taken gets "_2", "_3"...
// before its extension, so a later value never replaces an earlier value's file.
class UniqueNames {
public:
    UniqueNames();
    QString claim(const QString &path);

private:
    bool taken(const QString &path, size_t key) const;

    // A fixed filter of the case-folded names' hashes keeps a run of any length
    // at the same memory: a name it has never seen is free without a look at
    // the disk. A name it may have seen is taken when its file exists and was
    // put there since the run began; so a case-insensitive disk finds "A1" in
    // "a1" by itself, and a hash shared by two names costs one look, never a
    // replaced file or a needless suffix.
    // Zeroed by the system page by page as the filter is touched, not all at
    // the run's first name: calloc takes memory this large straight from it.
    struct Free {
        void operator()(quint64 *words) const { std::free(words); }
    };
    std::unique_ptr<quint64[], Free> m_seen;
    QDateTime m_since;
    QHash<size_t, int> m_nextSuffix; // per name wanted more than once
};

} // namespace PictureNames
