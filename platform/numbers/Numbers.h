#pragma once
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

// The number rules shared by the whole program. None of them goes through the
// C runtime's locale-dependent conversions (printf/strtod), which Qt switches
// when a comma-decimal locale is in force.
namespace Numbers {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kTwipsPerCm = 567.0; // 567, not 566.9, both ways

// Twips per unit for a unit flag: nonzero means inches, 0 centimetres.
double twipsPerUnit(std::int32_t unitFlag);

// The value of the decimal number at the start of a text: blanks skipped, an
// optional sign, digits with "." as the point whatever the locale; 0 when the
// text does not start with a number. Never fails ("12pt" -> 12, "abc" -> 0).
double numericValue(const QString &text);

// A decimal number exactly as written, for the comparisons a double would
// round: the value is 0.digits x 10^exponent.
struct Decimal {
    bool negative = false;
    std::string digits; // significant digits: no zero first or last; empty for 0
    std::int64_t exponent = 0; // for 1 and more, the number of digits before the point
};
// The number numericValue reads at the start of a text, not rounded
// ("9007199254740993pcs"); nothing when the text does not start with a number.
std::optional<Decimal> exactValue(const QString &text);
// Below 0, 0 or above 0 as a is less than, equal to or greater than b.
int compare(const Decimal &a, const Decimal &b);

// A number as stored in settings and shown by the sequence counter: "." as the
// point, "-" when negative, no decimal part for whole numbers, at most 15
// significant digits, no 0 before the point between -1 and 1 (2880.36, .5, -1).
QString numberText(double value);

// The user's regional number format (decimal separator of the locale in force).
// An empty or non-numeric text raises QuillError naming what was wrong.
double regionalNumber(const QString &text);
// Same, without raising: false when the text is not a number in that format.
bool tryRegionalNumber(const QString &text, double *value);
// "fixed": at least one digit, the locale's separator, exactly two decimals, no grouping.
QString fixedFormat(double value);
// Plain decimal text with up to 15 significant digits and the locale's separator.
QString regionalPlainText(double value);
// A value as a box shows it (regionalPlainText) and reads it back: fifteen significant digits.
double shownAmount(double value);

// A length as messages and titles give it: rounded to at most three decimals
// (fewer when asked; upwards when up), no zeros after the last digit that
// counts, the locale's separator, then the unit: "2.25 in", "57 mm", "3 in".
// amountText is the number alone, for a message that names the unit once.
QString amountText(double amount, int decimals = 3, bool up = false);
QString lengthText(double amount, const QString &unit, int decimals = 3, bool up = false);
// A width and a height in one unit: "2.25 × 1.25 in".
QString sizeText(double width, double height, const QString &unit);

// Round to the nearest integer, halves to the even neighbour.
double roundHalfEven(double value);
// Rounded to a 16- or 32-bit integer; a QuillError whose description starts
// with "Overflow" when it does not fit.
std::int16_t toInt16(double value);
std::int32_t toInt32(double value);

double unitToTwips(double amount, std::int32_t unitFlag);

} // namespace Numbers
