#include "FormatOptions.h"

#include "SettingsStore.h"

#include <zint.h>

const QList<FormatOptions::Choice> &FormatOptions::customChoices()
{
    static const QList<Choice> choices{
        {BARCODE_QRCODE, "QR Code"},
        {BARCODE_DATAMATRIX, "Data Matrix"},
        {BARCODE_AZTEC, "Aztec Code"},
        {BARCODE_MICROQR, "Micro QR Code"},
        {BARCODE_RMQR, "rMQR"},
        {BARCODE_HANXIN, "Han Xin Code"},
        {BARCODE_GRIDMATRIX, "Grid Matrix"},
        {BARCODE_CODEONE, "Code One"},
        {BARCODE_MICROPDF417, "MicroPDF417"},
        {BARCODE_CODE16K, "Code 16K"},
        {BARCODE_CODE49, "Code 49"},
        {BARCODE_CODABLOCKF, "Codablock-F"},
        {BARCODE_CODE11, "Code 11"},
        {BARCODE_LOGMARS, "LOGMARS"},
        {BARCODE_TELEPEN, "Telepen"},
        {BARCODE_PHARMA, "Pharmacode"},
        {BARCODE_DBAR_OMN, "GS1 DataBar Omnidirectional"},
        {BARCODE_DBAR_LTD, "GS1 DataBar Limited"},
        {BARCODE_DBAR_EXP, "GS1 DataBar Expanded"},
        {BARCODE_ITF14, "ITF-14"},
        {BARCODE_PLANET, "PLANET"},
        {BARCODE_RM4SCC, "Royal Mail 4-State"},
        {BARCODE_KIX, "KIX Code"},
        {BARCODE_USPS_IMAIL, "USPS Intelligent Mail"},
        {BARCODE_AUSPOST, "Australia Post"},
        {BARCODE_JAPANPOST, "Japan Post"},
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
    const int custom = readInt(store, "CustomSymbology", customSymbology, 1, 200);
    for (const Choice &choice : customChoices())
        if (choice.zintSymbology == custom)
            customSymbology = custom;
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
    store->write(section(), QStringLiteral("CustomSymbology"), QString::number(customSymbology));
    store->write(section(), QStringLiteral("Code39CheckDigit"), QString::number(int(code39Check)));
    store->write(section(), QStringLiteral("Interleaved2of5CheckDigit"), QString::number(int(interleavedCheck)));
    store->write(section(), QStringLiteral("MSICheckDigit"), QString::number(msiCheck));
    store->write(section(), QStringLiteral("BarWidthReduction"), QString::number(barReduction));
    store->write(section(), QStringLiteral("BarColor"), barColor.name());
    store->write(section(), QStringLiteral("BackColor"), backColor.name());
    store->flush();
}
