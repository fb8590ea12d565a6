#include "ObjectSections.h"
#include "Design.h"
#include "DesignValues.h"
#include "LabelDocument.h"
#include "Numbers.h"
#include "QuillError.h"
#include "StoredValue.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

using K = DesignKey;

// Twips of slack where an object meets the label's edge: the file's decimals.
constexpr double kEdgeSlack = 0.5;

const QString kNoFill = QStringLiteral("none");
const DesignKey kOptionKeys[]
    = {K::CustomSymbology, K::Code39Check, K::Interleaved2of5Check, K::MsiCheck, K::BarWidthReduction,
       K::BarColor,        K::BackColor};

// A fault of a section, as the end of the sentence that names the design.
struct Refused {
    QString tail;
};

// One object of each kind, in the order messages list the kinds.
const std::vector<LabelObject> &kinds()
{
    static const std::vector<LabelObject> all{TextObject(), BarcodeObject(), PictureObject(),
                                              LineObject(), BoxObject(),     SymbolObject()};
    return all;
}

const QStringList &shapes() // in the order of BoxObject::Shape
{
    static const QStringList names{"Rectangle", "Ellipse"};
    return names;
}

int indexIgnoringCase(const QStringList &names, const QString &text)
{
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// "a, b or c"
QString either(const QStringList &names)
{
    return QStringLiteral("%1 or %2").arg(names.mid(0, names.size() - 1).join(u", "), names.last());
}

// An object section's number: "Object" and a number from 1 without a 0
// before it. 0 for another number, nothing for a section of another name.
std::optional<int> numberOf(const QString &section)
{
    static const QRegularExpression form(QStringLiteral("^Object(\\d+)$"));
    const QRegularExpressionMatch match = form.match(section);
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const int number = match.captured(1).toInt(&ok);
    return ok && !match.captured(1).startsWith(u'0') ? number : 0;
}

// A decimal number as the file's numbers are written ("." as the point),
// and nothing else: "12pt" is no number here.
std::optional<double> numberIn(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!form.match(text).hasMatch())
        return std::nullopt;
    return Numbers::numericValue(text);
}

QString absolutePicture(const QString &file, const QString &folder)
{
    return QDir::cleanPath(QDir(folder.isEmpty() ? QDir::currentPath() : folder).absoluteFilePath(file));
}

// What a section's lengths are measured against.
struct Label {
    double perUnit; // twips
    QString unit; // as messages name it
    QSizeF size; // twips, as the document takes it
    QString folder; // the design file's, for its pictures
};

Label labelOf(const Design &design)
{
    const DesignValues values = DesignValues::of(design);
    return {.perUnit = Numbers::twipsPerUnit(values.unitFlag),
            .unit = values.unitFlag != 0 ? QStringLiteral("in") : QStringLiteral("cm"),
            .size = {values.inUnitSteps(values.symbolWidth), values.inUnitSteps(values.symbolHeight)},
            .folder = design.folder()};
}

// One [ObjectN] section read key by key, each checked by its rule.
class SectionReader {
public:
    SectionReader(const Design &design, int number, const Label &label)
        : m_design(design)
        , m_name(ObjectSections::sectionName(number))
        , m_keys(design.section(m_name))
        , m_label(label)
    {
    }

    [[noreturn]] void refuse(const QString &key, const QString &why) const
    {
        throw Refused{
            QStringLiteral("holds %1=%2 in [%3], %4").arg(key, quoted(m_keys.value(key)), m_name, why)};
    }

    LabelObject object(const SymbolObject &designerSymbol) const
    {
        if (!m_keys.contains(QStringLiteral("Kind")))
            throw Refused{QStringLiteral("holds [%1] without Kind, which every object has").arg(m_name)};
        const QString kind = m_keys.value(QStringLiteral("Kind"));
        QStringList names;
        for (const LabelObject &each : kinds()) {
            names << LabelObjects::kindName(each);
            if (names.last().compare(kind, Qt::CaseInsensitive) != 0)
                continue;
            LabelObject object = std::holds_alternative<SymbolObject>(each) ? designerSymbol : each;
            std::visit([this](auto &read) { take(read); }, object);
            return object;
        }
        refuse(QStringLiteral("Kind"), QStringLiteral("which is not ") + either(names));
    }

private:
    QString text(const QString &key, const QString &byDefault = {}) const
    {
        return m_keys.value(key, byDefault);
    }

    double number(const QString &key, double byDefault) const
    {
        if (!m_keys.contains(key))
            return byDefault;
        const std::optional<double> value = numberIn(m_keys.value(key));
        if (!value)
            refuse(key, QStringLiteral("which is no number"));
        return *value;
    }

    // A length in the design's unit, as twips; one that every object has.
    double length(const QString &key) const
    {
        if (!m_keys.contains(key))
            throw Refused{QStringLiteral("holds [%1] without %2, which every object has").arg(m_name, key)};
        return number(key, 0) * m_label.perUnit;
    }

    // A text the designer's key of that rule takes, refused in its words.
    QString ruled(const QString &key, DesignKey rule, const QString &byDefault) const
    {
        const QString value = text(key, byDefault);
        if (const QString why = Design::fault(rule, value); !why.isEmpty())
            refuse(key, why);
        return value;
    }

    bool flag(const QString &key) const
    {
        const QString value = text(key, QStringLiteral("0")).trimmed();
        if (value != u"0" && value != u"1")
            refuse(key, QStringLiteral("which is not 0 or 1"));
        return value == u"1";
    }

    SymbolObject::Tick tick(const QString &key, SymbolObject::Tick byDefault) const
    {
        const QString value = ruled(key, K::ShowText, Numbers::numberText(int(byDefault)));
        return SymbolObject::tickOf(int(Numbers::numericValue(value)));
    }

    QColor colour(const QString &key, const QColor &byDefault) const
    {
        return QColor::fromString(ruled(key, K::BarColor, byDefault.name()));
    }

    SymbolObject::Alignment alignment() const
    {
        const QStringList &names = DesignValues::alignments();
        const QString value = ruled(QStringLiteral("Align"), K::Align, names.first());
        return SymbolObject::Alignment(std::max(indexIgnoringCase(names, value), 0));
    }

    double fontPoints(double byDefault) const
    {
        const double points = number(QStringLiteral("Size"), byDefault);
        if (!(points > 0 && points <= StoredValue::kMaxFontPoints))
            refuse(QStringLiteral("Size"),
                   QStringLiteral("which is no font size above 0 and up to %1 points")
                       .arg(Numbers::numberText(StoredValue::kMaxFontPoints)));
        return points;
    }

    double strokePoints(double byDefault) const
    {
        const double points = number(QStringLiteral("Stroke"), byDefault);
        if (!(points >= 0 && points <= LabelObjects::kMostStrokePoints))
            refuse(QStringLiteral("Stroke"),
                   QStringLiteral("which is no stroke from 0 to %1 points")
                       .arg(Numbers::numberText(LabelObjects::kMostStrokePoints)));
        return points;
    }

    // The box, within the label; a line's may run either way from its start.
    QRectF box(bool line) const
    {
        const double left = length(QStringLiteral("Left"));
        const double top = length(QStringLiteral("Top"));
        const double width = length(QStringLiteral("Width"));
        const double height = length(QStringLiteral("Height"));
        const QRectF box(left, top, width, height);
        if (!line && width < 0)
            refuse(QStringLiteral("Width"), QStringLiteral("which is below 0"));
        if (!line && height < 0)
            refuse(QStringLiteral("Height"), QStringLiteral("which is below 0"));
        // A box past the label's edge is read as it stands: the canvas marks
        // it, and a run refuses to draw it.
        return box;
    }

    ObjectFrame frame(bool line = false) const
    {
        ObjectFrame frame{.box = box(line)};
        const QString degrees = ruled(QStringLiteral("Rotation"), K::Rotation, QStringLiteral("0"));
        frame.rotation = SymbolObject::rotationOf(Numbers::numericValue(degrees)).value_or(frame.rotation);
        return frame;
    }

    void take(SymbolObject &symbol) const
    {
        // The box of the whole label is no place of its own: the symbol follows the label's size.
        const QRectF place = box(false);
        const QRectF whole(QPointF(), m_label.size);
        const bool everywhere = std::fabs(place.left()) <= kEdgeSlack && std::fabs(place.top()) <= kEdgeSlack
            && std::fabs(place.width() - whole.width()) <= kEdgeSlack
            && std::fabs(place.height() - whole.height()) <= kEdgeSlack;
        symbol.place = everywhere ? std::nullopt : std::optional<QRectF>(place);
    }

    void take(TextObject &text) const
    {
        text.frame = frame();
        text.text = this->text(QStringLiteral("Text"));
        text.fontName = this->text(QStringLiteral("Font"), text.fontName);
        text.fontPoints = fontPoints(text.fontPoints);
        text.bold = flag(QStringLiteral("Bold"));
        text.italic = flag(QStringLiteral("Italic"));
        text.shrinkToFit = flag(QStringLiteral("Shrink"));
        text.colour = colour(QStringLiteral("Color"), text.colour);
        text.alignment = alignment();
    }

    void take(BarcodeObject &barcode) const
    {
        barcode.frame = frame();
        barcode.data = text(QStringLiteral("Data"), barcode.data);
        SymbolObject &symbol = barcode.symbol;
        const QString position = Numbers::numberText(int(*symbol.symbology));
        symbol.symbology = symbologyAt(
            int(Numbers::numericValue(ruled(QStringLiteral("Symbology"), K::Symbology, position))));
        symbol.showText = tick(QStringLiteral("ShowText"), symbol.showText);
        symbol.scaling = tick(QStringLiteral("Scaling"), symbol.scaling);
        symbol.alignment = alignment();
        symbol.fontName = text(QStringLiteral("Font"), symbol.fontName);
        symbol.fontPoints = fontPoints(symbol.fontPoints);
        // The format options under the designer's names; the pixels of an
        // old bar width reduction are the design's pictures'.
        for (const DesignKey key : kOptionKeys)
            ruled(DesignKeys::entry(key).name, key, DesignKeys::entry(key).defaultText);
        symbol.options.load([this](DesignKey key) {
            const DesignKeys::Entry &entry = DesignKeys::entry(key);
            if (entry.section == DesignKeys::optionsSection())
                return text(entry.name, entry.defaultText);
            return m_design.text(key);
        });
    }

    void take(PictureObject &picture) const
    {
        picture.frame = frame();
        const QString file = text(QStringLiteral("File"));
        if (file.isEmpty())
            refuse(QStringLiteral("File"), QStringLiteral("which names no picture file"));
        picture.file = absolutePicture(file, m_label.folder);
    }

    void take(LineObject &line) const
    {
        line.frame = frame(true);
        line.strokePoints = strokePoints(line.strokePoints);
        line.stroke = colour(QStringLiteral("Color"), line.stroke);
    }

    void take(BoxObject &box) const
    {
        box.frame = frame();
        const int shape = indexIgnoringCase(shapes(), text(QStringLiteral("Shape"), shapes().first()));
        if (shape < 0)
            refuse(QStringLiteral("Shape"), QStringLiteral("which is not ") + either(shapes()));
        box.shape = BoxObject::Shape(shape);
        box.cornerTwips = number(QStringLiteral("Corner"), 0) * m_label.perUnit;
        if (box.cornerTwips < 0)
            refuse(QStringLiteral("Corner"), QStringLiteral("which is below 0"));
        box.strokePoints = strokePoints(box.strokePoints);
        box.stroke = colour(QStringLiteral("Color"), box.stroke);
        const QString fill = text(QStringLiteral("Fill"), kNoFill);
        const bool none = fill.trimmed().compare(kNoFill, Qt::CaseInsensitive) == 0;
        box.fill = none ? QColor(Qt::transparent) : QColor::fromString(fill);
        if (!box.fill.isValid())
            refuse(QStringLiteral("Fill"), QStringLiteral("which is no colour (#rrggbb) and not none"));
    }

    const Design &m_design;
    QString m_name;
    QMap<QString, QString> m_keys;
    const Label &m_label;
};

std::vector<LabelObject> parse(const Design &design, const SymbolObject &symbol)
{
    QList<int> numbers;
    for (const QString &name : design.sectionNames()) {
        const std::optional<int> number = numberOf(name);
        if (number == 0)
            throw Refused{QStringLiteral("holds [%1], which is no object's number: objects are [Object1], "
                                         "[Object2] and so on, without gaps")
                              .arg(name)};
        if (number)
            numbers << *number;
    }
    std::sort(numbers.begin(), numbers.end());
    for (int i = 0; i < numbers.size(); ++i)
        if (numbers[i] != i + 1)
            throw Refused{
                QStringLiteral("holds [%1] but no [%2]: objects are numbered from 1 without gaps")
                    .arg(ObjectSections::sectionName(numbers[i]), ObjectSections::sectionName(i + 1))};
    const Label label = labelOf(design);
    std::vector<LabelObject> objects;
    int designer = 0; // the designer symbol's section
    for (int number = 1; number <= numbers.size(); ++number) {
        const SectionReader section(design, number, label);
        objects.push_back(section.object(symbol));
        if (!std::holds_alternative<SymbolObject>(objects.back()))
            continue;
        if (designer != 0)
            section.refuse(QStringLiteral("Kind"),
                           QStringLiteral("which [%1] holds already: a label has one")
                               .arg(ObjectSections::sectionName(designer)));
        designer = number;
    }
    if (designer == 0)
        objects.insert(objects.begin(), symbol);
    return objects;
}

// An object's keys as its section holds them.
class SectionWriter {
public:
    SectionWriter(const LabelDocument &document, const QString &folder)
        : m_document(document)
        , m_folder(folder)
    {
    }

    QMap<QString, QString> keysOf(const LabelObject &object)
    {
        m_keys.clear();
        m_keys[QStringLiteral("Kind")] = LabelObjects::kindName(object);
        std::visit([this](const auto &each) { put(each); }, object);
        return m_keys;
    }

private:
    QString length(double twips) const { return Numbers::numberText(twips / m_document.twipsPerUnit()); }

    void box(const QRectF &box)
    {
        m_keys[QStringLiteral("Left")] = length(box.left());
        m_keys[QStringLiteral("Top")] = length(box.top());
        m_keys[QStringLiteral("Width")] = length(box.width());
        m_keys[QStringLiteral("Height")] = length(box.height());
    }

    void frame(const ObjectFrame &frame)
    {
        box(frame.box);
        m_keys[QStringLiteral("Rotation")] = Numbers::numberText(SymbolObject::degrees(frame.rotation));
    }

    void font(const QString &name, double points, SymbolObject::Alignment alignment)
    {
        m_keys[QStringLiteral("Font")] = name;
        m_keys[QStringLiteral("Size")] = Numbers::numberText(points);
        m_keys[QStringLiteral("Align")] = DesignValues::alignments().at(int(alignment));
    }

    void put(const SymbolObject &) { box(m_document.symbolBox()); }

    void put(const TextObject &text)
    {
        frame(text.frame);
        m_keys[QStringLiteral("Text")] = text.text;
        font(text.fontName, text.fontPoints, text.alignment);
        m_keys[QStringLiteral("Bold")] = StoredValue::flag(text.bold);
        m_keys[QStringLiteral("Italic")] = StoredValue::flag(text.italic);
        m_keys[QStringLiteral("Shrink")] = StoredValue::flag(text.shrinkToFit);
        m_keys[QStringLiteral("Color")] = text.colour.name();
    }

    void put(const BarcodeObject &barcode)
    {
        const SymbolObject &symbol = barcode.symbol;
        frame(barcode.frame);
        m_keys[QStringLiteral("Data")] = barcode.data;
        m_keys[QStringLiteral("Symbology")]
            = Numbers::numberText(symbol.symbology ? int(*symbol.symbology) : -1);
        m_keys[QStringLiteral("ShowText")] = Numbers::numberText(int(symbol.showText));
        m_keys[QStringLiteral("Scaling")] = Numbers::numberText(int(symbol.scaling));
        font(symbol.fontName, symbol.fontPoints, symbol.alignment);
        symbol.options.save(
            [this](DesignKey key, const QString &text) { m_keys[DesignKeys::entry(key).name] = text; });
    }

    void put(const PictureObject &picture)
    {
        frame(picture.frame);
        // QDir keeps the path absolute where no relative one leads there (another drive).
        m_keys[QStringLiteral("File")]
            = m_folder.isEmpty() ? picture.file : QDir(m_folder).relativeFilePath(picture.file);
    }

    void put(const LineObject &line)
    {
        frame(line.frame);
        m_keys[QStringLiteral("Stroke")] = Numbers::numberText(line.strokePoints);
        m_keys[QStringLiteral("Color")] = line.stroke.name();
    }

    void put(const BoxObject &box)
    {
        frame(box.frame);
        m_keys[QStringLiteral("Shape")] = shapes().at(int(box.shape));
        m_keys[QStringLiteral("Corner")] = length(box.cornerTwips);
        m_keys[QStringLiteral("Stroke")] = Numbers::numberText(box.strokePoints);
        m_keys[QStringLiteral("Color")] = box.stroke.name();
        m_keys[QStringLiteral("Fill")] = box.fill.alpha() == 0 ? kNoFill : box.fill.name();
    }

    const LabelDocument &m_document;
    QString m_folder;
    QMap<QString, QString> m_keys;
};

} // namespace

QString ObjectSections::sectionName(int number) { return QStringLiteral("Object%1").arg(number); }

QString ObjectSections::fault(const Design &design)
{
    try {
        parse(design, SymbolObject());
    } catch (const Refused &refused) {
        return refused.tail;
    }
    return {};
}

std::vector<LabelObject> ObjectSections::read(const Design &design, const SymbolObject &symbol)
{
    try {
        return parse(design, symbol);
    } catch (const Refused &refused) {
        throw QuillError(QStringLiteral("The design %1.").arg(refused.tail));
    }
}

void ObjectSections::write(const LabelDocument &document, Design &design)
{
    for (const QString &name : design.sectionNames())
        if (numberOf(name))
            design.setSection(name, {});
    if (!document.hasAddedObjects())
        return;
    SectionWriter writer(document, design.folder());
    int number = 0;
    for (const LabelObject &object : document.objects())
        design.setSection(sectionName(++number), writer.keysOf(object));
}

void ObjectSections::movePictures(Design &design, const QString &folder)
{
    const QString picture = LabelObjects::kindName(PictureObject());
    for (const QString &name : design.sectionNames()) {
        QMap<QString, QString> keys = design.section(name);
        const QString file = keys.value(QStringLiteral("File"));
        if (!numberOf(name) || keys.value(QStringLiteral("Kind")).compare(picture, Qt::CaseInsensitive) != 0
            || file.isEmpty())
            continue;
        keys[QStringLiteral("File")] = QDir(folder).relativeFilePath(absolutePicture(file, design.folder()));
        design.setSection(name, keys);
    }
    design.setFolder(folder);
}
