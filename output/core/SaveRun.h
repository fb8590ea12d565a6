#pragma once
#include "LabelRenderer.h"
#include "ModuleSize.h"
#include "PictureNames.h"

#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class LabelDocument;
class Module1;
class SymbolDesign;

// One export of the symbol: a picture file for each data value, the first under
// the chosen name, the others named after their value in the same folder.
class SaveRun {
public:
    // width and height (pixels, from picturePixels) are the picture's size but for a metafile
    // and a bitmap at the screen's resolution, which take the component's; pictures are at
    // the component's pictureDpi(). centimetres: the designer's unit, for a symbol too large
    // for its picture.
    SaveRun(SymbolDesign &symbol, const QString &chosenName, std::int32_t width, std::int32_t height,
            bool centimetres = false);
    // A document's pictures, drawn by its renderer at the document's size and
    // resolution. QuillError when the symbol is too large for a picture.
    SaveRun(const LabelDocument &document, LabelRenderer &renderer, const QString &chosenName);

    // Sets the component's Caption to the value and writes its file. Raises
    // QuillError naming the value, the file and the reason when the value cannot
    // be drawn or the file cannot be written; files written before stay.
    void save(const QString &value);

    // The whole run: the first value, then further values until the empty text.
    // An empty first value writes no picture. Raises QuillError before writing
    // anything when no symbology is chosen or the picture would have no pixels.
    void run(const QString &firstValue, const std::function<QString()> &nextValue);

    // The run over the data source's values. titled ("has title" ticked): a
    // value that comes with its own row's title carries it into its picture;
    // other pictures keep the title the component shows. between runs before
    // each further value is asked for, between two whole files.
    void run(Module1 &data, bool titled, const std::function<void()> &between = {});
    // The same, "has title" as the document has it.
    void run(Module1 &data, const std::function<void()> &between = {}) { run(data, m_titled, between); }

    int filesWritten() const { return m_written; }
    QSize pixels() const { return {m_width, m_height}; } // as picturePixels() gives them
    // The warning for a module under the symbology's standard in these pictures; empty when none.
    // With objects on the label, also each symbol object's, a line each.
    QString moduleWarning() const;
    // A picture's size for a symbol of that size in twips at dpi (0: the
    // screen's pixels); 0 x 0 where the component's size is taken (a metafile
    // or a bitmap at the screen's). QuillError when too large.
    static QSize picturePixels(const QString &chosenName, double widthTwips, double heightTwips, int dpi = 0);
    // The module in the pictures of that chosen name (pixels: picturePixels());
    // none when no symbol would be drawn.
    static std::optional<ModuleSize> pictureModule(const SymbolDesign &symbol, const QString &chosenName,
                                                   const QSize &pixels);
    // The warning for a module under the symbology's standard in the pictures
    // of that chosen name (pixels: picturePixels()); empty when there is none.
    static QString moduleWarning(const SymbolDesign &symbol, const QString &chosenName, const QSize &pixels);
    // "120 pictures in /home/user/labels"
    static QString picturesIn(long long count, const QString &folder);

private:
    void refuseUnusable() const;
    void write(const QString &path);
    bool ownSize() const; // the picture takes m_width x m_height, not the component's size

    SymbolDesign &m_symbol;
    const QString m_chosenName;
    const PictureNames::Format m_format;
    std::int32_t m_width;
    std::int32_t m_height;
    const bool m_centimetres;
    bool m_titled = false;
    LabelRenderer *m_renderer = nullptr; // drawing a label with objects
    LabelRecord m_record; // what the objects' templates read
    double m_dpi = 0; // a label with objects is drawn at this resolution
    PictureNames::UniqueNames m_names;
    int m_written = 0;
    int m_values = 0;
};
