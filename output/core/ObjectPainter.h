#pragma once
#include "LabelObjects.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

class FieldTemplate;
class LabelDocument;
class Module1;
class QPainter;
class QSvgRenderer;
class SymbolDesign;
struct LabelRecord;

// Draws the objects added to a label (texts, symbols, pictures, lines and
// boxes) for one record at a time, on any painter: the device's pixels are
// taken from the label's area, so fonts, strokes and symbols are at the
// surface's own resolution. Pictures are read and templates checked once,
// before a run draws anything.
class ObjectPainter {
public:
    explicit ObjectPainter(const LabelDocument &document);
    ~ObjectPainter();
    ObjectPainter(const ObjectPainter &) = delete;
    ObjectPainter &operator=(const ObjectPainter &) = delete;

    // Before a run draws anything, once the data's first row is read: ties the
    // templates to the data's columns, then check(). QuillError for a template
    // naming a field the data lacks (listing the names there are), and for
    // what check() refuses.
    void prepareFor(const Module1 &data);
    // The templates tied to the data one object at a time, and each object
    // checked, for the canvas: an object's reason is kept by its place in the
    // list instead of raised.
    std::map<std::size_t, QString> bindEach(const Module1 &data);
    // QuillError, naming the object, for an object reaching outside the label
    // or a picture that cannot be read. Nothing is drawn before it passed.
    void check() const;
    // A box in twips on the label, on the surface where the label fills area.
    QRectF onSurface(const QRectF &box, const QRectF &area) const;
    // The document's objects, the designer's symbol among them, bottom first.
    const std::vector<LabelObject> &objects() const { return m_list; }
    // The fields every template uses, each once, in the order they come.
    QStringList fieldNames() const;

    // Why each symbol object may not scan on a surface of dpi (printer: its
    // dots are ink on paper), its data made from the record; a line each,
    // naming the object. Empty when every module is sound.
    QString moduleWarnings(QPointF dpi, bool printer, const LabelRecord &record) const;

    // The object at that place in the document's list drawn for the record,
    // the label filling area (device pixels). QuillError naming the object when
    // its text cannot fit or its symbol cannot be drawn.
    void draw(QPainter &painter, const QRectF &area, std::size_t index, const LabelRecord &record);

    // A box in whole device pixels, its corners rounded: where a symbol's bars are counted.
    static QRect wholePixels(const QRectF &box);

private:
    struct Prepared;
    static void bind(Prepared &prepared, const Module1 &data);
    QString faultOf(std::size_t index) const; // what check() refuses the object for
    void drawText(QPainter &painter, const Prepared &object, const QRectF &box, double dpi,
                  const LabelRecord &record) const;
    void drawSymbol(QPainter &painter, Prepared &object, const QRectF &box, double dpi,
                    const LabelRecord &record) const;
    void drawPicture(QPainter &painter, const Prepared &object, const QRectF &box) const;
    static void drawShape(QPainter &painter, const LabelObject &object, const QRectF &box, double dpi);
    QString named(std::size_t index) const; // "Object 3 (Text)"

    const double m_width; // the label, in twips
    const double m_height;
    const std::vector<LabelObject> m_list;
    std::vector<Prepared> m_objects;
};
