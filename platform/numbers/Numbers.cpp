#include "Numbers.h"
#include "QuillError.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace Numbers {

double twipsPerUnit(std::int32_t unitFlag) { return unitFlag != 0 ? kTwipsPerInch : kTwipsPerCm; }

double unitToTwips(double amount, std::int32_t unitFlag) { return amount * twipsPerUnit(unitFlag); }

namespace {
// Where the first nonzero digit of a decimal number stands, with the exponent
// added: 1 for 1.5, 0 for .5, -1 for .05, 4000 for 1e3999. Above 0 the number is
// at least 1.
long long decimalExponent(const char *p, const char *end)
{
    long long position = 0;
    while (p < end && *p == '0')
        ++p;
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
        ++position;
    if (position == 0 && p < end && *p == '.')
        for (++p; p < end && *p == '0'; ++p)
            --position;
    while (p < end && *p != 'e')
        ++p;
    long long exponent = 0;
    const bool down = p + 1 < end && p[1] == '-';
    for (; p < end; ++p)
        if (*p >= '0' && *p <= '9')
            exponent = std::min(exponent * 10 + (*p - '0'), 1000000000LL);
    return position + (down ? -exponent : exponent);
}

// The longest start of a text that forms a decimal number, spelt as from_chars
// reads it apart from the sign: blanks skipped, a "-" kept and a "+" dropped,
// an exponent only when digits follow it (so 12e stays 12, 1E+20 reads back).
// Empty when the text does not start with a number.
std::string numberAtStart(const QString &text)
{
    std::string number;
    int i = 0;
    const int n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r'))
        ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            number += '-';
        ++i;
    }
    bool digits = false;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        number += char(text[i].unicode());
        digits = true;
        ++i;
    }
    if (i < n && text[i] == u'.') {
        number += '.';
        ++i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            number += char(text[i].unicode());
            digits = true;
            ++i;
        }
    }
    if (!digits)
        return {};
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        int j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            exponent += char(text[j].unicode());
            ++j;
        }
        bool expDigits = false;
        while (j < n && text[j] >= u'0' && text[j] <= u'9') {
            exponent += char(text[j].unicode());
            expDigits = true;
            ++j;
        }
        if (expDigits)
            number += exponent;
    }
    return number;
}
} // namespace

double numericValue(const QString &text)
{
    // Converted with from_chars, which never consults the C locale.
    const std::string number = numberAtStart(text);
    if (number.empty())
        return 0.0;
    const bool negative = number[0] == '-';
    // from_chars takes neither a sign before "." nor a "+": convert the magnitude.
    const char *begin = number.c_str() + (negative ? 1 : 0);
    const char *end = number.c_str() + number.size();
    double value = 0.0;
    if (std::from_chars(begin, end, value).ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: saturate the way a reader would expect.
        value = decimalExponent(begin, end) > 0 ? std::numeric_limits<double>::max() : 0.0;
    }
    return negative ? -value : value;
}

std::optional<Decimal> exactValue(const QString &text)
{
    const std::string number = numberAtStart(text);
    if (number.empty())
        return std::nullopt;
    Decimal value;
    std::size_t i = 0;
    if (number[0] == '-') {
        value.negative = true;
        ++i;
    }
    std::string digits;
    std::int64_t point = -1;
    for (; i < number.size() && number[i] != 'e'; ++i) {
        if (number[i] == '.')
            point = std::int64_t(digits.size());
        else
            digits += number[i];
    }
    if (point < 0)
        point = std::int64_t(digits.size());
    std::int64_t exponent = 0;
    const bool down = i + 1 < number.size() && number[i + 1] == '-';
    for (; i < number.size(); ++i)
        if (number[i] >= '0' && number[i] <= '9') // far beyond any number a double holds, and no overflow
            exponent = std::min<std::int64_t>(exponent * 10 + (number[i] - '0'), 1000000000000LL);
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return Decimal{};
    digits.erase(0, first);
    digits.erase(digits.find_last_not_of('0') + 1);
    value.digits = digits;
    value.exponent = point - std::int64_t(first) + (down ? -exponent : exponent);
    return value;
}

int compare(const Decimal &a, const Decimal &b)
{
    const int signA = a.digits.empty() ? 0 : a.negative ? -1 : 1;
    const int signB = b.digits.empty() ? 0 : b.negative ? -1 : 1;
    if (signA != signB)
        return signA < signB ? -1 : 1;
    // Same sign: the magnitudes decide, by the place of the first digit, then digit by digit.
    int magnitude = 0;
    if (a.exponent != b.exponent)
        magnitude = a.exponent < b.exponent ? -1 : 1;
    else if (a.digits != b.digits)
        magnitude = a.digits < b.digits ? -1 : 1;
    return signA * magnitude;
}

namespace {

// Up to 15 significant digits, "." as the point, "E+nn" for the exponent form.
std::string generalDigits(double value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    for (char &c : text)
        if (c == 'e')
            c = 'E';
    return text;
}

} // namespace

QString numberText(double value)
{
    if (value == 0.0 || std::isnan(value))
        return QStringLiteral("0");
    // Settings never hold "inf": the largest number reads back as itself.
    if (std::isinf(value))
        value = std::copysign(std::numeric_limits<double>::max(), value);
    std::string text = generalDigits(value);
    // No 0 before the point between -1 and 1.
    if (text.rfind("0.", 0) == 0)
        text.erase(0, 1);
    else if (text.rfind("-0.", 0) == 0)
        text.erase(1, 1);
    return QString::fromLatin1(text.c_str());
}

bool tryRegionalNumber(const QString &text, double *value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    const double v = QLocale().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    if (value)
        *value = v;
    return true;
}

double regionalNumber(const QString &text)
{
    double value = 0.0;
    if (tryRegionalNumber(text, &value))
        return value;
    if (text.trimmed().isEmpty())
        throw QuillError(QStringLiteral("A number is needed, but the field is empty."));
    throw QuillError(QStringLiteral("%1 is not a number (for example %2).")
                         .arg(quoted(text), QLocale().toString(2.5, 'f', 1)));
}

QString fixedFormat(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(value, 'f', 2);
    // A value that rounds to zero shows no sign. Judged on the digits shown,
    // because the formatter rounds a half away from zero (-0.005 gives -0.01).
    const bool allZero = std::all_of(
        text.cbegin(), text.cend(), [&](QChar c) { return !c.isDigit() || c == locale.zeroDigit().front(); });
    if (allZero && text.startsWith(locale.negativeSign()))
        text.remove(0, locale.negativeSign().size());
    return text;
}

QString regionalPlainText(double value)
{
    if (value == 0.0 || std::isnan(value))
        return QStringLiteral("0");
    QString text = QString::fromLatin1(generalDigits(value).c_str());
    QLocale locale;
    text.replace(u'.', locale.decimalPoint());
    if (value < 0)
        text.replace(0, 1, locale.negativeSign());
    return text;
}

double shownAmount(double value)
{
    double amount = 0.0;
    return tryRegionalNumber(regionalPlainText(value), &amount) ? amount : value;
}

QString amountText(double amount, int decimals, bool up)
{
    const double scale = std::pow(10.0, std::clamp(decimals, 0, 3));
    // The slack keeps a length that is whole in the last decimal from rounding up a step.
    const double steps = up ? std::ceil(amount * scale - 1e-6) : std::round(amount * scale);
    return regionalPlainText(steps / scale);
}

QString lengthText(double amount, const QString &unit, int decimals, bool up)
{
    return amountText(amount, decimals, up) + u' ' + unit;
}

QString sizeText(double width, double height, const QString &unit)
{
    return QStringLiteral("%1 × %2").arg(amountText(width, 3, false), lengthText(height, unit));
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double floorValue = std::floor(value);
    const double diff = value - floorValue;
    if (diff > 0.5)
        return floorValue + 1.0;
    if (diff < 0.5)
        return floorValue;
    return std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
}

namespace {
template <typename Int> Int toInteger(double value)
{
    const double rounded = roundHalfEven(value);
    if (!std::isfinite(rounded) || rounded < double(std::numeric_limits<Int>::min())
        || rounded > double(std::numeric_limits<Int>::max()))
        throw QuillError(QStringLiteral("Overflow: %1 does not fit in a %2-bit integer.")
                             .arg(numberText(value))
                             .arg(sizeof(Int) * 8));
    return Int(rounded);
}
} // namespace

std::int16_t toInt16(double value) { return toInteger<std::int16_t>(value); }
std::int32_t toInt32(double value) { return toInteger<std::int32_t>(value); }

} // namespace Numbers
