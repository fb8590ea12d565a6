#include "LabelDocument.h"
#include "Numbers.h"
#include "QuillError.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

void refuse(const QString &what, double value, const QString &rule)
{
    throw QuillError(QStringLiteral("%1 %2 is refused: %3.").arg(what, Numbers::numberText(value), rule));
}

void checkMargin(double amount)
{
    if (!std::isnan(amount) && !(std::fabs(amount) <= LabelDocument::kMaxMargin))
        refuse(QStringLiteral("The margin"), amount, QStringLiteral("a margin is at most 10,000 either way"));
}

// Margins that are no number (NaN) are the same as each other.
bool sameMargins(const LabelMargins &a, const LabelMargins &b)
{
    const std::array<double, 8> left = a.inOrder();
    const std::array<double, 8> right = b.inOrder();
    return std::equal(left.begin(), left.end(), right.begin(),
                      [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); });
}

} // namespace

std::array<double, 8> LabelMargins::inOrder() const
{
    return {labelLeft, labelRight, labelTop, labelBottom, pageLeft, pageRight, pageTop, pageBottom};
}

LabelMargins LabelMargins::fromOrder(const std::array<double, 8> &a)
{
    return {a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]};
}

double LabelMargins::amountOf(const QString &text)
{
    double amount = 0;
    if (!Numbers::tryRegionalNumber(text, &amount) || !(std::fabs(amount) <= LabelDocument::kMaxMargin))
        return std::numeric_limits<double>::quiet_NaN();
    return amount;
}

QString LabelMargins::textOf(double amount)
{
    return std::isnan(amount) ? QString() : Numbers::regionalPlainText(amount);
}

LabelDocument::LabelDocument()
    : m_objects{SymbolObject()}
{
}

LabelDocument::LabelDocument(const LabelDocument &other)
    : m_width(other.m_width)
    , m_height(other.m_height)
    , m_unit(other.m_unit)
    , m_margins(other.m_margins)
    , m_labelProduct(other.m_labelProduct)
    , m_source(other.m_source)
    , m_pictureDpi(other.m_pictureDpi)
    , m_objects(other.m_objects)
{
}

LabelDocument &LabelDocument::operator=(const LabelDocument &other)
{
    m_width = other.m_width;
    m_height = other.m_height;
    m_unit = other.m_unit;
    m_margins = other.m_margins;
    m_labelProduct = other.m_labelProduct;
    m_source = other.m_source;
    m_pictureDpi = other.m_pictureDpi;
    m_objects = other.m_objects;
    return *this;
}

bool LabelDocument::operator==(const LabelDocument &other) const
{
    return m_width == other.m_width && m_height == other.m_height && m_unit == other.m_unit
        && sameMargins(m_margins, other.m_margins) && m_labelProduct == other.m_labelProduct
        && m_source == other.m_source && m_pictureDpi == other.m_pictureDpi && m_objects == other.m_objects;
}

void LabelDocument::setSize(double widthTwips, double heightTwips)
{
    for (const double side : {widthTwips, heightTwips})
        if (!(std::fabs(side) <= kMaxTwips))
            refuse(QStringLiteral("The label size"), side,
                   QStringLiteral("a side is up to 14,400,000 twips (10,000 inches)"));
    if (widthTwips == m_width && heightTwips == m_height)
        return;
    m_width = widthTwips;
    m_height = heightTwips;
    changed(Part::Size);
}

void LabelDocument::setUnit(Unit unit)
{
    if (unit == m_unit)
        return;
    m_unit = unit;
    changed(Part::Unit);
}

double LabelDocument::twipsPerUnit() const { return Numbers::twipsPerUnit(m_unit == Unit::Inches ? 1 : 0); }

void LabelDocument::setMargins(const LabelMargins &margins)
{
    for (const double amount : margins.inOrder())
        checkMargin(amount);
    if (sameMargins(margins, m_margins))
        return;
    m_margins = margins;
    changed(Part::Margins);
}

void LabelDocument::setLabelProduct(const QString &name)
{
    if (name == m_labelProduct)
        return;
    m_labelProduct = name;
    changed(Part::LabelProduct);
}

void LabelDocument::setSource(const DataSource &source)
{
    if (source.copies < 1 || source.copies > kMostCopies)
        refuse(QStringLiteral("The number of copies"), source.copies, QStringLiteral("it is from 1 to 999"));
    if (source == m_source)
        return;
    m_source = source;
    changed(Part::Source);
}

void LabelDocument::setPictureDpi(int dpi)
{
    if (dpi != 0 && (dpi < kLeastDpi || dpi > kMostDpi))
        refuse(QStringLiteral("The picture resolution"), dpi,
               QStringLiteral("it is the screen's (0) or from 50 to 2400 dots per inch"));
    if (dpi == m_pictureDpi)
        return;
    m_pictureDpi = dpi;
    changed(Part::Pictures);
}

namespace {

std::vector<LabelObject>::const_iterator designerSymbol(const std::vector<LabelObject> &objects)
{
    return std::find_if(objects.begin(), objects.end(), [](const LabelObject &object) {
        return std::holds_alternative<SymbolObject>(object);
    });
}

} // namespace

const SymbolObject &LabelDocument::symbol() const
{
    return std::get<SymbolObject>(*designerSymbol(m_objects));
}

QRectF LabelDocument::symbolBox() const { return symbol().place.value_or(QRectF(0, 0, m_width, m_height)); }

bool LabelDocument::hasAddedObjects() const { return m_objects.size() > 1 || symbol().place; }

void LabelDocument::setObjects(const std::vector<LabelObject> &objects)
{
    const auto symbols = std::count_if(objects.begin(), objects.end(), [](const LabelObject &object) {
        return std::holds_alternative<SymbolObject>(object);
    });
    if (symbols != 1)
        throw QuillError(
            QStringLiteral(
                "The objects are refused: the label holds the designer's symbol once, not %1 times.")
                .arg(symbols));
    for (size_t i = 0; i < objects.size(); ++i)
        if (const QString why = LabelObjects::fault(objects[i]); !why.isEmpty())
            throw QuillError(QStringLiteral("Object %1 (%2) is refused: %3.")
                                 .arg(i + 1)
                                 .arg(LabelObjects::kindName(objects[i]), why));
    // The symbol's own settings changed are told as such; its place is one of the objects'.
    const SymbolObject &symbol = std::get<SymbolObject>(*designerSymbol(objects));
    SymbolObject placed = this->symbol();
    placed.place = symbol.place;
    if (symbol != placed)
        setSymbol(symbol);
    if (objects == m_objects)
        return;
    m_objects = objects;
    changed(Part::Objects);
}

void LabelDocument::setSymbol(const SymbolObject &symbol)
{
    if (!(std::fabs(symbol.fontPoints) <= kMaxFontPoints) || symbol.fontPoints == 0)
        refuse(QStringLiteral("The font size"), symbol.fontPoints,
               QStringLiteral("it is other than 0 and up to 1,000 points either way"));
    if (const QString why = LabelObjects::fault(symbol); !why.isEmpty())
        throw QuillError(QStringLiteral("The designer's symbol is refused: %1.").arg(why));
    if (symbol == this->symbol())
        return;
    m_objects[designerSymbol(m_objects) - m_objects.begin()] = symbol;
    changed(Part::Symbol);
}

void LabelDocument::addObserver(Observer observer) { m_observers.push_back(std::move(observer)); }

void LabelDocument::changed(Part part)
{
    // A copy: an observer may add observers.
    const std::vector<Observer> observers = m_observers;
    for (const Observer &observer : observers)
        observer(part);
}
