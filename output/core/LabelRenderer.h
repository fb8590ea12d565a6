#pragma once
#include "SymbolDesign.h"

#include <QString>
#include <optional>

class LabelDocument;
class QPainter;
class QRect;

// One label's data: its value, and its own title where the data gives one.
struct LabelRecord {
    QString value;
    std::optional<QString> title;
};

// Draws a label document's labels, one record at a time, on any surface: a
// printer's page, a painter, or a picture file of each format. It reads the
// document when made and keeps a symbol of its own, so a run changes neither
// the document nor the designer's component.
class LabelRenderer {
public:
    // title: the title drawn where a record brings none of its own.
    explicit LabelRenderer(const LabelDocument &document, const QString &title = {});
    LabelRenderer(const LabelRenderer &) = delete;
    LabelRenderer &operator=(const LabelRenderer &) = delete;

    // The component's members set as the document says, the designer's preview
    // included: symbology, options, text, rotation, alignment, font and size.
    static void setUp(const LabelDocument &document, SymbolDesign &symbol);

    // The symbol showing the record: every picture format draws from it.
    const SymbolDesign &show(const LabelRecord &record);
    const SymbolDesign &symbol() const { return m_symbol; }
    // The renderer's own symbol, for a run that sets its value and title itself.
    SymbolDesign &symbol() { return m_symbol; }
    // The record's label drawn filling area (the painter's device pixels).
    void draw(QPainter &painter, const QRect &area, const LabelRecord &record);
    // Text as large on a device of that many twips a pixel as on the screen.
    void scaleTextTo(float deviceTwipsPerPixelY);

private:
    SymbolDesign m_symbol;
    QString m_title;
    double m_fontPoints = 0;
};
