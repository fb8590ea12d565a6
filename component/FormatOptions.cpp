#include "FormatOptions.h"

#include "SettingsStore.h"

const QList<FormatOptions::Choice> &FormatOptions::customChoices()
{
    using Code = SymbolEncoder::Code;
    static const QList<Choice> choices{
        {int(Code::QrCode), "QR Code"},
        {int(Code::DataMatrix), "Data Matrix"},
        {int(Code::Aztec), "Aztec Code"},
        {int(Code::MicroQr), "Micro QR Code"},
        {int(Code::Rmqr), "rMQR"},
        {int(Code::HanXin), "Han Xin Code"},
        {int(Code::GridMatrix), "Grid Matrix"},
        {int(Code::CodeOne), "Code One"},
        {int(Code::MicroPdf417), "MicroPDF417"},
        {int(Code::Code16k), "Code 16K"},
        {int(Code::Code49), "Code 49"},
        {int(Code::Codablock), "Codablock-F"},
        {int(Code::Code11), "Code 11"},
        {int(Code::Logmars), "LOGMARS"},
        {int(Code::Telepen), "Telepen"},
        {int(Code::Pharmacode), "Pharmacode"},
        {int(Code::DataBarOmni), "GS1 DataBar Omnidirectional"},
        {int(Code::DataBarLimited), "GS1 DataBar Limited"},
        {int(Code::DataBarExpanded), "GS1 DataBar Expanded"},
        {int(Code::Itf14), "ITF-14"},
        {int(Code::Planet), "PLANET"},
        {int(Code::RoyalMail), "Royal Mail 4-State"},
        {int(Code::Kix), "KIX Code"},
        {int(Code::UspsIntelligentMail), "USPS Intelligent Mail"},
        {int(Code::AustraliaPost), "Australia Post"},
        {int(Code::JapanPost), "Japan Post"},
    };
    return choices;
}

const QList<FormatOptions::Choice> &FormatOptions::msiChoices()
{
    static const QList<Choice> choices{
        {0, "None"},
        {1, "Modulo 10"},
        {2, "Modulo 10 + modulo 10"},
        {3, "Modulo 11 (IBM)"},
        {4, "Modulo 11 (IBM) + modulo 10"},
        {5, "Modulo 11 (NCR)"},
        {6, "Modulo 11 (NCR) + modulo 10"},
    };
    return choices;
}

const QString &FormatOptions::section()
{
    static const QString name = QStringLiteral("Vantrel options");
    return name;
}

namespace {
int readInt(const SettingsStore *store, const char *key, int fallback, int low, int high)
{
    bool ok = false;
    const int value = store->read(FormatOptions::section(), QString::fromLatin1(key), QString::number(fallback)).toInt(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}

QColor readColor(const SettingsStore *store, const char *key, const QColor &fallback)
{
    const QColor color = QColor::fromString(store->read(FormatOptions::section(), QString::fromLatin1(key), fallback.name()));
    return color.isValid() ? color : fallback;
}
} // namespace

void FormatOptions::load(const SettingsStore *store)
{
    *this = FormatOptions();
    if (!store)
        return;
    // Kept in the numbering earlier versions wrote (58 for QR Code).
    const std::optional<SymbolEncoder::Code> custom = SymbolEncoder::fromStoredNumber(
        readInt(store, "CustomSymbology", SymbolEncoder::storedNumber(customSymbology), 1, 200));
    for (const Choice &choice : customChoices())
        if (custom && choice.value == int(*custom))
            customSymbology = *custom;
    code39Check = readInt(store, "Code39CheckDigit", 0, 0, 1) != 0;
    interleavedCheck = readInt(store, "Interleaved2of5CheckDigit", 0, 0, 1) != 0;
    msiCheck = readInt(store, "MSICheckDigit", msiCheck, 0, 6);
    barReduction = readInt(store, "BarWidthReduction", barReduction, 0, 50);
    barColor = readColor(store, "BarColor", barColor);
    backColor = readColor(store, "BackColor", backColor);
}

void FormatOptions::save(SettingsStore *store) const
{
    if (!store)
        return;
    store->write(section(), QStringLiteral("CustomSymbology"), QString::number(SymbolEncoder::storedNumber(customSymbology)));
    store->write(section(), QStringLiteral("Code39CheckDigit"), QString::number(int(code39Check)));
    store->write(section(), QStringLiteral("Interleaved2of5CheckDigit"), QString::number(int(interleavedCheck)));
    store->write(section(), QStringLiteral("MSICheckDigit"), QString::number(msiCheck));
    store->write(section(), QStringLiteral("BarWidthReduction"), QString::number(barReduction));
    store->write(section(), QStringLiteral("BarColor"), barColor.name());
    store->write(section(), QStringLiteral("BackColor"), backColor.name());
    store->flush();
}
