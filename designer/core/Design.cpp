#include "Design.h"
#include "AtomicFile.h"
#include "DesignValues.h"
#include "FormatOptions.h"
#include "Numbers.h"
#include "ObjectSections.h"
#include "QuillError.h"
#include "SettingsStore.h"
#include "StoredValue.h"
#include "SymbolBuilder.h"
#include "Symbology.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace {

bool isNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)"));
    return number.match(text).hasMatch();
}

// The numeric value of a text that is a whole number, else nullopt.
std::optional<double> wholeNumber(const QString &text)
{
    const double value = Numbers::numericValue(text);
    if (!isNumber(text) || !std::isfinite(value) || value != std::floor(value))
        return std::nullopt;
    return value;
}

// A margin is typed in the regional format; a file may come from another
// one. A text that is no number there is left to the print run, which names
// the field; a number either way must be a length the run can use.
bool plausibleMargin(const QString &text)
{
    for (const QLocale &locale : {QLocale(), QLocale::c()}) {
        bool ok = false;
        const double value = locale.toDouble(text.trimmed(), &ok);
        if ((ok || std::isinf(value)) && !(std::fabs(value) <= DesignKeys::kMaxMargin))
            return false;
    }
    return true;
}

bool within(const std::optional<double> &value, double low, double high)
{
    return value && *value >= low && *value <= high;
}

} // namespace

Design::Design()
{
    for (const DesignKeys::Entry &entry : DesignKeys::all())
        m_sections[entry.section][entry.name] = entry.defaultText;
}

QString Design::text(DesignKey key) const
{
    const DesignKeys::Entry &entry = DesignKeys::entry(key);
    return m_sections.value(entry.section).value(entry.name, entry.defaultText);
}

void Design::setText(DesignKey key, const QString &text)
{
    const DesignKeys::Entry &entry = DesignKeys::entry(key);
    m_sections[entry.section][entry.name] = text;
}

Design Design::fromStore(const SettingsStore &store)
{
    Design design;
    for (const DesignKeys::Entry &entry : DesignKeys::all())
        if (entry.stored)
            design.setText(entry.key, DesignKeys::read(store, entry.key));
    return design;
}

void Design::writeSection(SettingsStore &store, const QString &section) const
{
    for (const DesignKeys::Entry &entry : DesignKeys::all())
        if (entry.stored && entry.section == section)
            DesignKeys::write(store, entry.key, text(entry.key));
}

QString Design::fault(DesignKey key, const QString &text)
{
    using Rule = DesignKeys::Rule;
    const DesignKeys::Entry &entry = DesignKeys::entry(key);
    const double value = Numbers::numericValue(text);
    switch (entry.rule) {
    case Rule::Text:
        return {};
    case Rule::Twips:
        if (isNumber(text) && std::isfinite(value) && value > 0.0 && value <= StoredValue::kMaxTwips)
            return {};
        return QStringLiteral("which is no length above 0 and up to %1 twips (10,000 inches)")
            .arg(Numbers::numberText(StoredValue::kMaxTwips));
    case Rule::Number:
        return isNumber(text) ? QString() : QStringLiteral("which is no number");
    case Rule::Symbology:
        if (within(wholeNumber(text), -1, kSymbologyCount - 1))
            return {};
        return QStringLiteral("which is no symbology (-1 for none, 0 to %1)").arg(kSymbologyCount - 1);
    case Rule::CheckValue:
        return within(wholeNumber(text), 0, 2) ? QString() : QStringLiteral("which is not 0, 1 or 2");
    case Rule::Rotation:
        if (isNumber(text) && (value == 0.0 || value == 90.0 || value == 180.0 || value == 270.0))
            return {};
        return QStringLiteral("which is not 0, 90, 180 or 270");
    case Rule::Alignment:
        for (const char *name : {"Left", "Center", "Right"})
            if (text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return {};
        return QStringLiteral("which is not Left, Center or Right");
    case Rule::FontSize:
        if (value != 0.0 && StoredValue::fontSizeText(text) == text)
            return {};
        return QStringLiteral("which is no font size (up to %1 points)")
            .arg(Numbers::numberText(StoredValue::kMaxFontPoints));
    case Rule::Whole: {
        bool ok = false;
        const int number = text.trimmed().toInt(&ok);
        if (ok && number >= entry.low && number <= entry.high)
            return {};
        return QStringLiteral("which is not a whole number from %1 to %2").arg(entry.low).arg(entry.high);
    }
    case Rule::Color:
        return QColor::fromString(text).isValid() ? QString()
                                                  : QStringLiteral("which is no colour (#rrggbb)");
    case Rule::Resolution:
        if (DesignValues::pictureDpiOf(text))
            return {};
        return QStringLiteral("which is not Screen or a whole number of dots per inch from %1 to %2")
            .arg(entry.low)
            .arg(entry.high);
    case Rule::Reduction:
        if (FormatOptions::reductionOf(text, 96)) // whatever the resolution, only whether it is one
            return {};
        return QStringLiteral("which is not a length from 0 to 1 mm (as 0.05mm) or a whole number of pixels "
                              "from %1 to %2")
            .arg(entry.low)
            .arg(entry.high);
    case Rule::Margin:
        if (plausibleMargin(text))
            return {};
        return QStringLiteral("which is no length from -10,000 to 10,000 in the design's unit");
    case Rule::Delimiter: {
        if (DesignValues::delimiterOf(text))
            return {};
        const QStringList &words = DesignValues::delimiterWords();
        const QString first = words.mid(0, words.size() - 1).join(u", ");
        return QStringLiteral("which is not %1 or %2").arg(first, words.last());
    }
    }
    return {};
}

Design Design::readFile(const QString &path)
{
    const QString file = QStringLiteral("The design file %1").arg(QDir::toNativeSeparators(path));
    const SettingsStore store(path, SettingsStore::Access::ReadOnly);
    QString reason = store.readFailure();
    if (reason.isEmpty() && !store.exists())
        reason = QString::fromLocal8Bit(std::strerror(ENOENT));
    if (!reason.isEmpty())
        throw QuillError(QStringLiteral("%1 cannot be read: %2.").arg(file, reason));
    if (!store.wellFormed())
        throw QuillError(QStringLiteral("%1 cannot be read as a design: it is not all [section] lines and "
                                        "key=value lines.")
                             .arg(file));
    Design design;
    const SettingsStore::Sections &sections = store.sections();
    for (auto section = sections.cbegin(); section != sections.cend(); ++section)
        for (auto key = section->cbegin(); key != section->cend(); ++key)
            design.m_sections[section.key()][key.key()] = key.value();
    for (const DesignKeys::Entry &entry : DesignKeys::all()) {
        const QString text = design.text(entry.key);
        const QString why = fault(entry.key, text);
        if (why.isEmpty())
            continue;
        // As the window says it when nothing in the Format list is chosen.
        const QString before
            = entry.key == DesignKey::Symbology ? SymbolBuilder::noSymbologyMessage() + u' ' : QString();
        throw QuillError(QStringLiteral("%1%2 holds %3=%4 in [%5], %6.")
                             .arg(before, file, entry.name, quoted(text), entry.section, why));
    }
    if (const QString why = ObjectSections::fault(design); !why.isEmpty())
        throw QuillError(QStringLiteral("%1 %2.").arg(file, why));
    design.m_folder = QFileInfo(path).absolutePath();
    return design;
}

void Design::writeFile(const QString &path) const
{
    Design written = *this;
    ObjectSections::movePictures(written, QFileInfo(path).absolutePath());
    AtomicFile::write(path, SettingsStore::iniText(written.m_sections), AtomicFile::Sync::Yes);
}

QByteArray Design::fileText() const { return SettingsStore::iniText(m_sections); }

QStringList Design::sectionNames() const { return m_sections.keys(); }

QMap<QString, QString> Design::section(const QString &name) const { return m_sections.value(name); }

void Design::setSection(const QString &name, const QMap<QString, QString> &keys)
{
    if (keys.isEmpty())
        m_sections.remove(name);
    else
        m_sections[name] = keys;
}
