#include "FormatOptions.h"

#include "Numbers.h"
#include "ScreenMetrics.h"
#include "SettingsStore.h"

#include <QRegularExpression>
#include <algorithm>

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


std::optional<double> FormatOptions::reductionOf(const QString &text, double pixelDpi)
{
    static const QRegularExpression millimetres(QStringLiteral("^\\s*(\\d*\\.?\\d+)\\s*mm\\s*$"),
                                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = millimetres.match(text);
    if (match.hasMatch()) {
        const double value = match.captured(1).toDouble();
        if (value <= kMostReductionMm)
            return value;
        return std::nullopt;
    }
    const DesignKeys::Entry &entry = DesignKeys::entry(DesignKey::BarWidthReduction);
    bool ok = false;
    const int pixels = text.trimmed().toInt(&ok);
    if (!ok || pixels < entry.low || pixels > entry.high || pixelDpi <= 0)
        return std::nullopt;
    return std::min(kMostReductionMm, pixels * 25.4 / pixelDpi);
}

QString FormatOptions::reductionText(double millimetres)
{
    if (millimetres <= 0)
        return QStringLiteral("0");
    return Numbers::numberText(std::round(millimetres * 10000) / 10000) + QStringLiteral("mm");
}

namespace {
int readInt(const std::function<QString(DesignKey)> &text, DesignKey key)
{
    const DesignKeys::Entry &entry = DesignKeys::entry(key);
    bool ok = false;
    const int value = text(key).toInt(&ok);
    return ok && value >= entry.low && value <= entry.high ? value : entry.defaultText.toInt();
}

QColor readColor(const std::function<QString(DesignKey)> &text, DesignKey key)
{
    const QColor color = QColor::fromString(text(key));
    return color.isValid() ? color : QColor::fromString(DesignKeys::entry(key).defaultText);
}
} // namespace

void FormatOptions::load(const std::function<QString(DesignKey)> &text)
{
    using K = DesignKey;
    *this = FormatOptions();
    // Kept in the numbering earlier versions wrote (58 for QR Code).
    const std::optional<SymbolEncoder::Code> custom
        = SymbolEncoder::fromStoredNumber(readInt(text, K::CustomSymbology));
    for (const Choice &choice : customChoices())
        if (custom && choice.value == int(*custom))
            customSymbology = *custom;
    code39Check = readInt(text, K::Code39Check) != 0;
    interleavedCheck = readInt(text, K::Interleaved2of5Check) != 0;
    msiCheck = readInt(text, K::MsiCheck);
    // Earlier versions kept device pixels; those of the design's pictures are what its user saw.
    bool ownDpi = false;
    const int pictureDpi = text(K::PictureDpi).trimmed().toInt(&ownDpi);
    const double pixelDpi = ownDpi && pictureDpi > 0 ? pictureDpi : ScreenMetrics::dpiX();
    barReduction = reductionOf(text(K::BarWidthReduction), pixelDpi).value_or(0);
    barColor = readColor(text, K::BarColor);
    backColor = readColor(text, K::BackColor);
}

void FormatOptions::save(const std::function<void(DesignKey, const QString &)> &write) const
{
    using K = DesignKey;
    write(K::CustomSymbology, QString::number(SymbolEncoder::storedNumber(customSymbology)));
    write(K::Code39Check, QString::number(int(code39Check)));
    write(K::Interleaved2of5Check, QString::number(int(interleavedCheck)));
    write(K::MsiCheck, QString::number(msiCheck));
    write(K::BarWidthReduction, reductionText(barReduction));
    write(K::BarColor, barColor.name());
    write(K::BackColor, backColor.name());
}

void FormatOptions::load(const SettingsStore *store)
{
    if (!store) {
        *this = FormatOptions();
        return;
    }
    load([store](DesignKey key) { return DesignKeys::read(*store, key); });
}

void FormatOptions::save(SettingsStore *store) const
{
    if (!store)
        return;
    save([store](DesignKey key, const QString &text) { DesignKeys::write(*store, key, text); });
    store->flush();
}
