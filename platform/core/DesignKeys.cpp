#include "DesignKeys.h"
#include "SettingsStore.h"

#include <QtGlobal>

namespace DesignKeys {

const QString &designerSection()
{
    static const QString name = QStringLiteral("Form1");
    return name;
}

const QString &optionsSection()
{
    static const QString name = QStringLiteral("Vantrel options");
    return name;
}

const QString &columnsSection()
{
    static const QString name = QStringLiteral("Import columns");
    return name;
}

const QString &picturesSection()
{
    static const QString name = QStringLiteral("Pictures");
    return name;
}

const QString &fileSection()
{
    static const QString name = QStringLiteral("Quillmark design");
    return name;
}

namespace {

Entry form1(DesignKey key, const char *name, const char *defaultText, Rule rule)
{
    return {key, designerSection(), QString::fromLatin1(name), QString::fromLatin1(defaultText), rule};
}

Entry margin(DesignKey key, const char *section, const char *name)
{
    return {key, QString::fromLatin1(section), QString::fromLatin1(name), QStringLiteral("0"), Rule::Margin};
}

Entry option(DesignKey key, const char *name, const char *defaultText, Rule rule, int low = 0, int high = 0)
{
    return {key, optionsSection(), QString::fromLatin1(name), QString::fromLatin1(defaultText), rule, low,
            high};
}

Entry columns(DesignKey key, const char *name, const char *defaultText, Rule rule, int low = 0, int high = 0)
{
    const QString text = QString::fromLatin1(defaultText);
    return {key, columnsSection(), QString::fromLatin1(name), text, rule, low, high};
}

Entry fileOnly(DesignKey key, const char *name, const char *defaultText)
{
    return {key, fileSection(), QString::fromLatin1(name), QString::fromUtf8(defaultText), Rule::Text, 0,
            0,   false};
}

QList<Entry> table()
{
    using K = DesignKey;
    return {
        form1(K::Width, "vtlw", "2880", Rule::Twips),
        form1(K::Height, "vtlh", "1440", Rule::Twips),
        form1(K::Caption, "Caption", "0123456789", Rule::Text),
        form1(K::ImportFile, "text4", "", Rule::Text),
        form1(K::SequenceStart, "text2", "001", Rule::Text),
        form1(K::SequenceEnd, "text3", "999", Rule::Text),
        form1(K::Unit, "mesure", "0", Rule::Number),
        form1(K::Symbology, "bartype", "0", Rule::Symbology),
        form1(K::Scaling, "Scaling", "0", Rule::CheckValue),
        form1(K::ShowText, "hasText", "1", Rule::CheckValue),
        form1(K::HasTitle, "Check3", "0", Rule::CheckValue),
        form1(K::Rotation, "Orientation", "0", Rule::Rotation),
        form1(K::Align, "Align", "Left", Rule::Alignment),
        form1(K::FontName, "combo2", "Arial", Rule::Text),
        form1(K::FontSize, "combo3", "14", Rule::FontSize),
        form1(K::SourceText, "option1", "1", Rule::Number),
        form1(K::SourceSequence, "option2", "0", Rule::Number),
        form1(K::SourceImport, "option3", "0", Rule::Number),
        margin(K::LabelLeft, "Label margins", "Left"),
        margin(K::LabelRight, "Label margins", "Right"),
        margin(K::LabelTop, "Label margins", "Top"),
        margin(K::LabelBottom, "Label margins", "Bottom"),
        margin(K::PageLeft, "Page margins", "Left"),
        margin(K::PageRight, "Page margins", "Right"),
        margin(K::PageTop, "Page margins", "Top"),
        margin(K::PageBottom, "Page margins", "Bottom"),
        // 58 is QR Code in the numbering the options have always been stored in.
        option(K::CustomSymbology, "CustomSymbology", "58", Rule::Whole, 1, 200),
        option(K::Code39Check, "Code39CheckDigit", "0", Rule::Whole, 0, 1),
        option(K::Interleaved2of5Check, "Interleaved2of5CheckDigit", "0", Rule::Whole, 0, 1),
        option(K::MsiCheck, "MSICheckDigit", "1", Rule::Whole, 0, 6),
        option(K::BarWidthReduction, "BarWidthReduction", "0", Rule::Reduction, 0, 50),
        option(K::BarColor, "BarColor", "#000000", Rule::Color),
        option(K::BackColor, "BackColor", "#ffffff", Rule::Color),
        // No value template: the file is read line by line.
        columns(K::ImportDelimiter, "Delimiter", "detect", Rule::Delimiter),
        columns(K::ImportHeader, "Header", "0", Rule::Whole, 0, 1),
        columns(K::ImportValue, "Value", "", Rule::Text),
        columns(K::ImportTitle, "Title", "", Rule::Text),
        // Below 50 dpi a picture is coarser than any screen; 2400 is the finest printer's.
        {K::PictureDpi, picturesSection(), QStringLiteral("Resolution"), QStringLiteral("Screen"),
         Rule::Resolution, 50, 2400},
        fileOnly(K::Prefix, "Prefix", "(prefix)"),
        fileOnly(K::Suffix, "Suffix", "(sufix)"),
        fileOnly(K::LabelProduct, "LabelProduct", ""),
    };
}

} // namespace

const QList<Entry> &all()
{
    static const QList<Entry> entries = table();
    return entries;
}

const Entry &entry(DesignKey key)
{
    const Entry &found = all().at(qsizetype(key));
    Q_ASSERT(found.key == key);
    return found;
}

QString read(const SettingsStore &store, DesignKey key)
{
    const Entry &found = entry(key);
    return store.read(found.section, found.name, found.defaultText);
}

void write(SettingsStore &store, DesignKey key, const QString &text)
{
    const Entry &found = entry(key);
    store.write(found.section, found.name, text);
}

} // namespace DesignKeys
