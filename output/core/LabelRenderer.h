#pragma once
#include "FieldTemplate.h"
#include "LabelObjects.h"
#include "SymbolDesign.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class LabelDocument;
class ObjectPainter;
class QPainter;
class QRect;

// One label's data: its value, its own title where the data gives one, and
// what the templates of the label's objects read besides.
struct LabelRecord {
    QString value = {};
    std::optional<QString> title = {};
    QStringList columns = {}; // the row's fields, when the data is read in columns
    long long number = 1; // the label's place in the run, from 1
    QDate date = {}; // the run's; none: today

    FieldRecord fields() const;
};

// Draws a label document's labels, one record at a time, on any surface: a
// printer's page, a painter, or a picture file of each format. It reads the
// document when made and keeps a symbol of its own, so a run changes neither
// the document nor the designer's component.
class LabelRenderer {
public:
    // title: the title drawn where a record brings none of its own.
    explicit LabelRenderer(const LabelDocument &document, const QString &title = {});
    ~LabelRenderer();
    LabelRenderer(const LabelRenderer &) = delete;
    LabelRenderer &operator=(const LabelRenderer &) = delete;

    // The component's members set as the document says, the designer's preview
    // included: symbology, options, text, rotation, alignment, font and size.
    static void setUp(const LabelDocument &document, SymbolDesign &symbol);
    // A symbol's own members set from its object: degrees its rotation, dpi
    // the pictures' resolution (0: the screen's).
    static void setUp(const SymbolObject &object, int degrees, int dpi, SymbolDesign &symbol);

    // The objects added to the label besides the designer's symbol, or none:
    // the label is then the symbol alone, drawn as it always was.
    ObjectPainter *objects() const { return m_objects.get(); }

    // The symbol showing the record: every picture format draws from it.
    const SymbolDesign &show(const LabelRecord &record);
    const SymbolDesign &symbol() const { return m_symbol; }
    // The renderer's own symbol, for a run that sets its value and title itself.
    SymbolDesign &symbol() { return m_symbol; }
    // The record's label drawn filling area (the painter's device pixels).
    // QuillError, naming the object, for the first that cannot be drawn;
    // with faults given, each such object is noted there instead and the
    // others are drawn (the preview). With drawn given, only the objects at
    // the places it accepts are drawn, over what the painter already holds
    // (the canvas draws each object on a layer of its own).
    void draw(QPainter &painter, const QRect &area, const LabelRecord &record, QStringList *faults = nullptr,
              const std::function<bool(std::size_t)> &drawn = {});
    // The designer's symbol's box on the label, in twips.
    QRectF symbolBox() const { return m_symbolBox; }
    // The label's background as the designer's symbol colours it.
    QColor background() const;
    // Text as large on a device of that many twips a pixel as on the screen.
    void scaleTextTo(float deviceTwipsPerPixelY);

private:
    SymbolDesign m_symbol;
    std::unique_ptr<ObjectPainter> m_objects;
    QRectF m_symbolBox; // twips on the label
    QSizeF m_label; // twips
    QString m_title;
    double m_fontPoints = 0;
};
