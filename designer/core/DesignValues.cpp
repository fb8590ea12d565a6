#include "DesignValues.h"
#include "Design.h"
#include "Numbers.h"
#include "QuillError.h"
#include "StoredValue.h"
#include "SymbolDesign.h"
#include "Symbology.h"

#include <QRegularExpression>
#include <cmath>

namespace {

int indexIgnoringCase(const QStringList &items, const QString &text)
{
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i].compare(text, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

// A pick-only list's item for a text, compared without letter case; the
// first item for a text that is none (never written by the program).
int itemOf(const QStringList &items, const QString &text) { return qMax(indexIgnoringCase(items, text), 0); }

} // namespace

const QStringList &DesignValues::rotations()
{
    static const QStringList items{"0", "90", "180", "270"};
    return items;
}

const QStringList &DesignValues::alignments()
{
    static const QStringList items{"Left", "Center", "Right"};
    return items;
}

DesignValues DesignValues::of(const Design &design)
{
    using K = DesignKey;
    DesignValues v;
    v.symbolWidth = StoredValue::twips(design.text(K::Width), 2880.0);
    v.symbolHeight = StoredValue::twips(design.text(K::Height), 1440.0);
    v.unitFlag = StoredValue::unitFlag(design.text(K::Unit));
    v.symbology = StoredValue::listIndex(design.text(K::Symbology), kSymbologyCount, 0);
    v.scaling = StoredValue::checkValue(design.text(K::Scaling));
    v.showText = StoredValue::checkValue(design.text(K::ShowText));
    v.hasTitle = StoredValue::checkValue(design.text(K::HasTitle));
    v.rotation = itemOf(rotations(), StoredValue::plainNumber(design.text(K::Rotation)));
    v.alignment = itemOf(alignments(), design.text(K::Align));
    v.fontName = design.text(K::FontName);
    v.fontSize = StoredValue::fontSizeText(design.text(K::FontSize));
    v.option1 = StoredValue::selected(design.text(K::SourceText));
    v.option2 = StoredValue::selected(design.text(K::SourceSequence));
    v.option3 = StoredValue::selected(design.text(K::SourceImport));
    // As start-up takes any stored text: a word it does not know finds the delimiter itself.
    const auto delimiter = delimiterOf(design.text(K::ImportDelimiter));
    v.columns.delimiter = delimiter.value_or(ImportColumns::Delimiter::Detect);
    v.columns.header = StoredValue::selected(design.text(K::ImportHeader));
    v.columns.valueTemplate = design.text(K::ImportValue);
    v.columns.titleTemplate = design.text(K::ImportTitle);
    v.pictureDpi = pictureDpiOf(design.text(K::PictureDpi)).value_or(0);
    return v;
}

void DesignValues::setColumns(Design &design, const ImportColumns &columns)
{
    using K = DesignKey;
    design.setText(K::ImportDelimiter, delimiterWords().at(qsizetype(columns.delimiter)));
    design.setText(K::ImportHeader, StoredValue::flag(columns.header));
    design.setText(K::ImportValue, columns.valueTemplate);
    design.setText(K::ImportTitle, columns.titleTemplate);
}

const QStringList &DesignValues::delimiterWords()
{
    // In the order of ImportColumns::Delimiter.
    static const QStringList words{"detect", "comma", "semicolon", "tab"};
    return words;
}

std::optional<ImportColumns::Delimiter> DesignValues::delimiterOf(const QString &word)
{
    const int index = indexIgnoringCase(delimiterWords(), word);
    if (index < 0)
        return std::nullopt;
    return ImportColumns::Delimiter(index);
}

std::optional<int> DesignValues::pictureDpiOf(const QString &text)
{
    if (text.trimmed().compare(QLatin1String("Screen"), Qt::CaseInsensitive) == 0)
        return 0;
    const DesignKeys::Entry &entry = DesignKeys::entry(DesignKey::PictureDpi);
    bool ok = false;
    const int dpi = text.trimmed().toInt(&ok);
    if (!ok || dpi < entry.low || dpi > entry.high)
        return std::nullopt;
    return dpi;
}

QString DesignValues::pictureDpiText(int dpi)
{
    return dpi > 0 ? QString::number(dpi) : QStringLiteral("Screen");
}

int DesignValues::source() const
{
    // Selecting one deselects the others; a key of 0 deselects only its own.
    return option3 ? 3 : option2 ? 2 : option1 ? 1 : 0;
}

double DesignValues::inUnitSteps(double twips) const
{
    const double perUnit = Numbers::twipsPerUnit(unitFlag);
    double amount = 0.0;
    if (!Numbers::tryRegionalNumber(Numbers::fixedFormat(twips / perUnit), &amount))
        return twips;
    const double value = Numbers::unitToTwips(amount, unitFlag);
    return std::isfinite(value) && std::fabs(value) <= StoredValue::kMaxTwips ? value : twips;
}

void DesignValues::sizeFont(VantrelFont &font, const QString &text)
{
    try {
        font.setSize(text);
    } catch (const QuillError &) {
        font.setSize(Numbers::numericValue(text));
    }
}
