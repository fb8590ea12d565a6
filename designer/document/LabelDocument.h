#pragma once
#include "ImportColumns.h"
#include "LabelObjects.h"

#include <QRectF>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

// Where the labels' values come from.
struct DataSource {
    enum class Kind { None, Text, Sequence, ImportFile };

    Kind kind = Kind::Text;
    QString text = QStringLiteral("0123456789"); // the fixed text
    // As typed: a sequence counts in the digits it is written with.
    QString sequenceStart = QStringLiteral("001");
    QString sequenceEnd = QStringLiteral("999");
    // Around each sequence value; these two texts stand for none.
    QString prefix = QStringLiteral("(prefix)");
    QString suffix = QStringLiteral("(sufix)");
    QString importFile;
    ImportColumns columns; // none chosen: the file line by line
    SymbolObject::Tick titled = SymbolObject::Tick::Clear; // "has title"
    int copies = 1; // labels printed of each value

    bool operator==(const DataSource &other) const = default;
};

// The sheet around each label: the label margins about the symbol and the
// page margins, as amounts in the unit the print dialog shows. NaN stands for
// a margin that is no number (a field left empty): printing then names it.
struct LabelMargins {
    double labelLeft = 0, labelRight = 0, labelTop = 0, labelBottom = 0;
    double pageLeft = 0, pageRight = 0, pageTop = 0, pageBottom = 0;

    // The eight in the order the print dialog and the settings keep them:
    // label left, right, top, bottom, then the page's.
    std::array<double, 8> inOrder() const;
    static LabelMargins fromOrder(const std::array<double, 8> &amounts);
    // A margin's text in the user's number format, and back: a text that is no
    // number (or beyond kMaxMargin) is NaN, and NaN the empty text.
    static double amountOf(const QString &text);
    static QString textOf(double amount);

    bool operator==(const LabelMargins &other) const = default;
};

// A label design as one typed document: the label's size and unit, the sheet
// it is printed on, the data source and the objects on the label. Windows and
// command lines edit it; runs read it and never change it. Each setter
// refuses a value outside its rule (QuillError, nothing changed) and tells the
// observers what changed, when it did.
class LabelDocument {
public:
    enum class Unit { Centimetres, Inches };
    enum class Part { Size, Unit, Margins, LabelProduct, Source, Symbol, Pictures, Objects };
    using Observer = std::function<void(Part)>;

    // Lengths are twips (1/1440 inch); this is the most a side may be, about
    // 10,000 inches. A side of 0 or less may be typed; the runs refuse to draw it.
    static constexpr double kMaxTwips = 14400000.0;
    static constexpr double kMaxMargin = 10000.0; // either way, in the unit
    static constexpr double kMaxFontPoints = 1000.0; // either way
    static constexpr int kMostCopies = 999; // of each value
    static constexpr int kLeastDpi = 50; // a picture resolution other than the screen's
    static constexpr int kMostDpi = 2400;

    LabelDocument(); // the first-run design, as the window starts with it
    // A copy has no observers; an assigned document keeps its own and tells
    // them nothing: it is another document, not an edit.
    LabelDocument(const LabelDocument &other);
    LabelDocument &operator=(const LabelDocument &other);
    bool operator==(const LabelDocument &other) const;

    double width() const { return m_width; }
    double height() const { return m_height; }
    void setSize(double widthTwips, double heightTwips);
    Unit unit() const { return m_unit; }
    void setUnit(Unit unit);
    double twipsPerUnit() const;

    const LabelMargins &margins() const { return m_margins; }
    void setMargins(const LabelMargins &margins);
    QString labelProduct() const { return m_labelProduct; } // as the sheet was filled from, or empty
    void setLabelProduct(const QString &name);

    const DataSource &source() const { return m_source; }
    void setSource(const DataSource &source);

    // Saved pictures' dots per inch; 0 the screen's.
    int pictureDpi() const { return m_pictureDpi; }
    void setPictureDpi(int dpi);

    // Every object on the label, bottom first; the designer's symbol is one of them.
    const std::vector<LabelObject> &objects() const { return m_objects; }
    // Replaces the objects. Refused (QuillError naming the object, nothing
    // changed) unless the designer's symbol is there exactly once, and for an
    // object that breaks its kind's rules (LabelObjects::fault).
    void setObjects(const std::vector<LabelObject> &objects);
    // Whether the label holds more than the designer's symbol on the whole label.
    bool hasAddedObjects() const;
    const SymbolObject &symbol() const; // the designer's symbol
    void setSymbol(const SymbolObject &symbol);
    // The designer's symbol's box on the label, in twips: its place, else the whole label.
    QRectF symbolBox() const;

    void addObserver(Observer observer);

private:
    void changed(Part part);

    double m_width = 2880.36; // 5.08 x 2.54 cm in hundredths of a centimetre
    double m_height = 1440.18;
    Unit m_unit = Unit::Centimetres;
    LabelMargins m_margins;
    QString m_labelProduct;
    DataSource m_source;
    int m_pictureDpi = 0;
    std::vector<LabelObject> m_objects;
    std::vector<Observer> m_observers;
};
