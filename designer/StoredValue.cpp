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

bool StoredValue::selected(const QString &text)
{
    return Numbers::numericValue(text) != 0.0;
}

QString StoredValue::plainNumber(const QString &text)
{
    return Numbers::numberText(Numbers::numericValue(text));
}

QString StoredValue::flag(bool set)
{
    return set ? QStringLiteral("1") : QStringLiteral("0");
}

QString StoredValue::checkFlag(int value)
{
    return flag(value != 0);
}
