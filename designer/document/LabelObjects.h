#pragma once
#include "FormatOptions.h"
#include "Symbology.h"

#include <QColor>
#include <QRectF>
#include <QString>
#include <optional>
#include <variant>

// The designer's symbol: what it encodes as and how it looks. Its place is
// the whole label unless it was given a box on it.
struct SymbolObject {
    enum class Rotation { None, Quarter, Half, ThreeQuarters }; // turns clockwise
    enum class Alignment { Left, Center, Right }; // of the text under the bars
    enum class Tick { Clear, Ticked, Grey }; // a check box's three states

    std::optional<Symbology> symbology = Symbology::Ean13; // none: nothing is drawn
    FormatOptions options = {}; // check digits, the custom symbology, bar reduction, colours
    Tick scaling = Tick::Clear; // the module shared out exactly instead of in whole pixels
    Tick showText = Tick::Ticked;
    Rotation rotation = Rotation::None;
    Alignment alignment = Alignment::Left;
    QString fontName = QStringLiteral("Arial"); // as chosen; the system may draw another family
    double fontPoints = 14.0; // at the screen's resolution
    std::optional<QRectF> place = {}; // twips from the label's top-left; none: the whole label

    static int degrees(Rotation rotation) { return 90 * int(rotation); }
    // A check box's value (0 clear, 2 grey, anything else ticked) as a Tick.
    static Tick tickOf(int value)
    {
        return value == 2 ? Tick::Grey : value != 0 ? Tick::Ticked : Tick::Clear;
    }
    static std::optional<Rotation> rotationOf(double degrees);

    bool operator==(const SymbolObject &other) const = default;
};

// Where an added object sits: its box in twips from the label's top-left, its
// content turned clockwise inside the box (a quarter turn lays a text's lines
// along the box's height).
struct ObjectFrame {
    QRectF box = {};
    SymbolObject::Rotation rotation = SymbolObject::Rotation::None;

    bool operator==(const ObjectFrame &other) const = default;
};

// Lines of text made from a template over the label's fields ("{name}",
// "{value}", "{n}", "{date}"...), in one font, aligned in the box.
struct TextObject {
    static constexpr double kLeastPoints = 4.0; // shrinking to fit stops here

    ObjectFrame frame = {};
    QString text = {}; // lines separated by "\n"
    QString fontName = QStringLiteral("Arial");
    double fontPoints = 12.0;
    bool bold = false;
    bool italic = false;
    QColor colour = Qt::black;
    SymbolObject::Alignment alignment = SymbolObject::Alignment::Left;
    bool shrinkToFit = false; // a text too large for its box drawn smaller, down to kLeastPoints

    bool operator==(const TextObject &other) const = default;
};

// A symbol besides the designer's: its own symbology and options, and its
// data made from a template over the label's fields. Its rotation is the frame's.
struct BarcodeObject {
    ObjectFrame frame = {};
    SymbolObject symbol = {};
    QString data = QStringLiteral("{value}");

    bool operator==(const BarcodeObject &other) const = default;
};

// A picture file (PNG, JPEG or SVG) fitted into the box, keeping its proportions.
struct PictureObject {
    ObjectFrame frame = {};
    QString file = {}; // absolute; design files keep it relative to themselves

    bool operator==(const PictureObject &other) const = default;
};

// A straight line from the frame box's top-left corner to its bottom-right:
// its width or height may be 0 or negative, to go straight or the other way.
struct LineObject {
    ObjectFrame frame = {};
    double strokePoints = 1.0;
    QColor stroke = Qt::black;

    bool operator==(const LineObject &other) const = default;
};

// A rectangle (corners optionally rounded) or an ellipse filling its box, the
// stroke inside the box.
struct BoxObject {
    enum class Shape { Rectangle, Ellipse };

    ObjectFrame frame = {};
    Shape shape = Shape::Rectangle;
    double cornerTwips = 0; // the corners' radius, for a rectangle
    double strokePoints = 1.0; // 0: no outline
    QColor stroke = Qt::black;
    QColor fill = Qt::transparent; // transparent: not filled

    bool operator==(const BoxObject &other) const = default;
};

// What is on a label: the designer's symbol, and the objects added to it.
using LabelObject
    = std::variant<SymbolObject, TextObject, BarcodeObject, PictureObject, LineObject, BoxObject>;

namespace LabelObjects {

constexpr double kMostStrokePoints = 1000.0;

// The kind's name as design files and messages give it ("Text", "Symbol", ...).
QString kindName(const LabelObject &object);
// The frame of an added object; none for the designer's symbol.
const ObjectFrame *frameOf(const LabelObject &object);
// What breaks the object's rules ("its width -1 is below 0"), empty when nothing does.
QString fault(const LabelObject &object);
// The templates an object fills from the label's fields: a text's text, a symbol's data.
QString templateOf(const LabelObject &object);

} // namespace LabelObjects
