// The number rules, run under LC_ALL=C and under a comma-decimal locale (see
// CMakeLists.txt): the locale-free rules must agree, the regional ones follow the locale.
#include "Numbers.h"
#include "QuillError.h"

#include <QLocale>
#include <QtTest>
#include <optional>

enum Way { Read = 1, Write = 2, Both = 3 };
using Expected = std::optional<double>; // nullopt: an error
static QString regional(QString t) // as typed under the locale in force
{
    return QLocale().decimalPoint() == u',' ? t.replace(u'.', u'\1').replace(u',', u'.').replace(u'\1', u',') : t;
}

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (qgetenv("LC_ALL").startsWith("de_DE"))
            QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    }

    // Read: numericValue(text) == value; Write: numberText(value) == text; Both: either way.
    void numberRules()
    {
        const double max = std::numeric_limits<double>::max();
        const struct { QString text; double value; Way way; } rows[] = {
            {"12pt", 12.0, Read}, {"5,08", 5.0, Read}, {"  \t +2880.36", 2880.36, Read}, // blanks, sign, the point whatever the locale
            {"1e999", max, Read}, {QString(400, u'9'), max, Read}, {"-0.2e3248", -max, Read}, {"-.2e3248", -max, Read}, // saturates
            {"1e-999", 0.0, Read}, {QStringLiteral("\u0661\u0662"), 0.0, Read}, // arabic-indic digits are not digits
            {"2880.36", 2880.36, Both}, {"-.95", -0.95, Both}, {"123456789012345", 123456789012345.0, Both}, {"-1E+20", -1e20, Both},
            {"0", -0.0, Write}, {"2880.36", 5.08 * 567, Write}, // float noise hidden
            {"1.23456789012346E+15", 1234567890123456.0, Write}, {"1.79769313486232E+308", qInf(), Write}};
        for (const auto &row : rows) {
            if (row.way & Read)
                QCOMPARE(Numbers::numericValue(row.text), row.value);
            if (row.way & Write)
                QCOMPARE(Numbers::numberText(row.value), row.text);
        }
    }

    // What can fail: into a 16- or 32-bit integer (kind 0: rounded alone, halves
    // to even), or a regional number (kind 1) as typed under a "." locale.
    void conversions()
    {
        const struct { int kind; QString text; Expected expected{}; } rows[] = {
            {0, "2.5", 2}, {0, "-2.5", -2}, {16, "32767.5", {}}, {16, "-32768.5", -32768}, {32, "2147483647", 2147483647}, {32, "-2147483649", {}},
            {1, " -1.5 ", -1.5}, {1, ""}, {1, "2,54"}, {1, "inf"}, // blanks around, sign; the other separator
            {1, QString(5000, u'1') + u'x'}}; // a long text is quoted short
        for (const auto &[kind, text, expected] : rows) {
            const double value = Numbers::numericValue(text);
            try {
                const double got = kind == 0 ? Numbers::roundHalfEven(value)
                    : kind == 16             ? Numbers::toInt16(value)
                    : kind == 32             ? Numbers::toInt32(value)
                                             : Numbers::regionalNumber(regional(text));
                QCOMPARE(got, expected.value_or(qQNaN()));
            } catch (const QuillError &error) {
                QVERIFY2(!expected && error.description().size() < 150, qPrintable(error.description()));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
