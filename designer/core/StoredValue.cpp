#include "StoredValue.h"
#include "Numbers.h"
#include "QuillError.h"

#include <cmath>

double StoredValue::twips(const QString &text, double fallback)
{
    const double value = Numbers::numericValue(text);
    if (!std::isfinite(value) || std::fabs(value) > kMaxTwips)
        return fallback;
    return value;
}

std::int32_t StoredValue::unitFlag(const QString &text)
{
    try {
        return Numbers::toInt32(Numbers::numericValue(text)) != 0 ? 1 : 0;
    } catch (const QuillError &) {
        return 1;
    }
}

int StoredValue::listIndex(const QString &text, int count, int fallback)
{
    try {
        const int index = Numbers::toInt16(Numbers::numericValue(text));
        return index >= -1 && index < count ? index : fallback;
    } catch (const QuillError &) {
        return fallback;
    }
}

int StoredValue::checkValue(const QString &text)
{
    try {
        const int value = Numbers::toInt16(Numbers::numericValue(text));
        return value >= 0 && value <= 2 ? value : 1;
    } catch (const QuillError &) {
        return 1;
    }
}

bool StoredValue::selected(const QString &text) { return Numbers::numericValue(text) != 0.0; }

QString StoredValue::fontSizeText(const QString &text)
{
    const double value = Numbers::numericValue(text);
    if (value == 0.0)
        return QStringLiteral("14");
    double whole = 0.0;
    bool ok = Numbers::tryRegionalNumber(text, &whole);
    if (!ok)
        whole = text.trimmed().toDouble(&ok);
    if (!ok)
        whole = value;
    if (std::isfinite(whole) && std::fabs(whole) <= kMaxFontPoints && std::fabs(value) <= kMaxFontPoints)
        return text;
    return Numbers::numberText(std::copysign(kMaxFontPoints, std::isnan(whole) ? value : whole));
}

QString StoredValue::plainNumber(const QString &text)
{
    return Numbers::numberText(Numbers::numericValue(text));
}

QString StoredValue::flag(bool set) { return set ? QStringLiteral("1") : QStringLiteral("0"); }

QString StoredValue::checkFlag(int value) { return flag(value != 0); }
