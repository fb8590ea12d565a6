// The number rules, run under LC_ALL=C and under a comma-decimal locale (see
// CMakeLists.txt): the locale-free rules must agree, the regional ones follow the locale.
#include "Numbers.h"
#include "QuillError.h"

#include <QLocale>
#include <QtTest>
#include <clocale>
#include <cmath>
#include <optional>

enum Way { Read = 1, Write = 2, Both = 3 };
using Expected = std::optional<double>; // nullopt: an error
static bool commaLocale() { return QLocale().decimalPoint() == QStringLiteral(","); }
static QString swapSeparators(QString t)
{
    for (QChar &c : t)
        c = c == u'.' ? u',' : c == u',' ? u'.' : c;
    return t;
}

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (qgetenv("LC_ALL").startsWith("de_DE")) {
            QVERIFY2(commaLocale(), "QLocale does not follow LC_ALL");
            if (QByteArray(std::localeconv()->decimal_point) != ",")
                qWarning("The C runtime has no de_DE locale; generate it to test the full trap");
        }
    }

    // Read: numericValue(text) == value; Write: numberText(value) == text; Both: either way.
    void numberRules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("way");
        QTest::newRow("12pt") << "12pt" << 12.0 << int(Read);
        QTest::newRow("001") << "001" << 1.0 << int(Read);
        QTest::newRow("abc") << "abc" << 0.0 << int(Read);
        QTest::newRow("empty") << "" << 0.0 << int(Read);
        QTest::newRow("+7") << "+7" << 7.0 << int(Read);
        QTest::newRow("leading blanks, point whatever the locale") << "  \t 2880.36" << 2880.36 << int(Read);
        QTest::newRow("comma ends the number") << "5,08" << 5.0 << int(Read);
        QTest::newRow("second point ends it") << "1.2.3" << 1.2 << int(Read);
        QTest::newRow("lone point") << "." << 0.0 << int(Read);
        QTest::newRow("blank after sign") << "- 5" << 0.0 << int(Read);
        QTest::newRow("e then sign only") << "12e+x" << 12.0 << int(Read);
        QTest::newRow("huge saturates") << "1e999" << std::numeric_limits<double>::max() << int(Read);
        QTest::newRow("tiny is zero") << "1e-999" << 0.0 << int(Read);
        QTest::newRow("arabic-indic digits are not digits") << QStringLiteral("\u0661\u0662") << 0.0 << int(Read);
        QTest::newRow("many digits") << "123456789012345678901234567890" << 1.2345678901234568e29 << int(Read);
        QTest::newRow("-5") << "-5" << -5.0 << int(Both);
        QTest::newRow("2880") << "2880" << 2880.0 << int(Both);
        QTest::newRow("2880.36") << "2880.36" << 2880.36 << int(Both);
        QTest::newRow("-1") << "-1" << -1.0 << int(Both);
        QTest::newRow(".5") << ".5" << 0.5 << int(Both);
        QTest::newRow("-.5") << "-.5" << -0.5 << int(Both);
        QTest::newRow("15 digits kept") << "123456789012345" << 123456789012345.0 << int(Both);
        QTest::newRow("1E+15") << "1E+15" << 1e15 << int(Both);
        QTest::newRow("-1E+20") << "-1E+20" << -1e20 << int(Both);
        QTest::newRow(".0001") << ".0001" << 0.0001 << int(Both);
        QTest::newRow("1E-05") << "1E-05" << 0.00001 << int(Both);
        QTest::newRow("-0") << "0" << -0.0 << int(Write);
        QTest::newRow("rounded to 15 digits") << ".666666666666667" << 2.0 / 3.0 << int(Write);
        QTest::newRow("float noise hidden") << "2880.36" << 5.08 * 567 << int(Write);
        QTest::newRow("16 digits") << "1.23456789012346E+15" << 1234567890123456.0 << int(Write);
        QTest::newRow("infinity is the largest number") << "1.79769313486232E+308" << qInf() << int(Write);
    }
    void numberRules()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(int, way);
        if (way & Read)
            QCOMPARE(Numbers::numericValue(text), value);
        if (way & Write)
            QCOMPARE(Numbers::numberText(value), text);
    }

    // bits 0: roundHalfEven alone; 16 and 32: into an integer of that size.
    void integers_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<double>("value");
        QTest::addColumn<Expected>("expected");
        QTest::newRow("0.5") << 0 << 0.5 << Expected(0);
        QTest::newRow("1.5") << 0 << 1.5 << Expected(2);
        QTest::newRow("2.5") << 0 << 2.5 << Expected(2);
        QTest::newRow("-2.5") << 0 << -2.5 << Expected(-2);
        QTest::newRow("2.5001") << 0 << 2.5001 << Expected(3);
        QTest::newRow("-2.6") << 0 << -2.6 << Expected(-3);
        QTest::newRow("2^52 + 1") << 0 << 4503599627370497.0 << Expected(4503599627370497.0);
        QTest::newRow("16: 32767.4") << 16 << 32767.4 << Expected(32767);
        QTest::newRow("16: 32767.5 rounds out") << 16 << 32767.5 << Expected();
        QTest::newRow("16: -32768.5 even") << 16 << -32768.5 << Expected(-32768);
        QTest::newRow("16: -32769") << 16 << -32769.0 << Expected();
        QTest::newRow("16: nan") << 16 << qQNaN() << Expected();
        QTest::newRow("32: max") << 32 << 2147483647.0 << Expected(2147483647);
        QTest::newRow("32: 2147483647.5") << 32 << 2147483647.5 << Expected();
        QTest::newRow("32: min") << 32 << -2147483648.0 << Expected(-2147483648.0);
        QTest::newRow("32: -2147483649") << 32 << -2147483649.0 << Expected();
        QTest::newRow("32: inf") << 32 << qInf() << Expected();
    }
    void integers()
    {
        QFETCH(int, bits);
        QFETCH(double, value);
        QFETCH(Expected, expected);
        try {
            const double got = bits == 0 ? Numbers::roundHalfEven(value)
                : bits == 16             ? Numbers::toInt16(value)
                                         : Numbers::toInt32(value);
            QVERIFY2(expected.has_value(), qPrintable(QStringLiteral("no overflow, got %1").arg(got)));
            QCOMPARE(got, *expected);
        } catch (const QuillError &error) {
            QVERIFY2(!expected.has_value(), qPrintable(error.description()));
            QVERIFY(error.description().startsWith(QStringLiteral("Overflow")));
        }
    }

    void twips_data()
    {
        QTest::addColumn<double>("amount");
        QTest::addColumn<int>("unitFlag"); // nonzero: inches, 0: centimetres
        QTest::addColumn<double>("twips");
        QTest::newRow("1 inch") << 1.0 << 1 << 1440.0;
        QTest::newRow("any nonzero flag is inches") << 2.0 << -1 << 2880.0;
        QTest::newRow("1 cm is 567, not 566.9") << 1.0 << 0 << 567.0;
        QTest::newRow("5.08 cm") << 5.08 << 0 << 2880.36;
    }
    void twips()
    {
        QFETCH(double, amount);
        QFETCH(int, unitFlag);
        QFETCH(double, twips);
        QCOMPARE(Numbers::unitToTwips(amount, unitFlag), twips);
        QCOMPARE(Numbers::twipsToUnit(twips, unitFlag), amount);
    }

    // Texts as typed under a "." locale; under a "," locale the separators swap.
    void regionalNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Expected>("value");
        QTest::newRow("2.54") << "2.54" << Expected(2.54);
        QTest::newRow("blanks around, sign") << " -1.5 " << Expected(-1.5);
        QTest::newRow("empty") << "" << Expected();
        QTest::newRow("letters") << "abc" << Expected();
        QTest::newRow("trailing unit") << "12pt" << Expected();
        QTest::newRow("other separator") << "2,54" << Expected();
        QTest::newRow("infinity") << "inf" << Expected();
    }
    void regionalNumber()
    {
        QFETCH(QString, text);
        QFETCH(Expected, value);
        if (commaLocale())
            text = swapSeparators(text);
        double parsed = 0;
        QCOMPARE(Numbers::tryRegionalNumber(text, &parsed), value.has_value());
        try {
            const double got = Numbers::regionalNumber(text);
            QVERIFY2(value.has_value(), qPrintable(QStringLiteral("no error, got %1").arg(got)));
            QCOMPARE(got, *value);
            QCOMPARE(parsed, *value);
        } catch (const QuillError &error) {
            QVERIFY2(!value.has_value(), qPrintable(error.description()));
            QVERIFY(!error.description().isEmpty());
        }
    }

    // "fixed": two decimals, no grouping; plain: as many digits as needed.
    void regionalTexts_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("fixed");
        QTest::addColumn<QString>("plain");
        QTest::newRow("whole") << 2.0 << "2.00" << "2";
        QTest::newRow("below one") << 0.5 << "0.50" << "0.5";
        QTest::newRow("no grouping") << 1234567.5 << "1234567.50" << "1234567.5";
        QTest::newRow("rounds to zero, no sign") << -0.004 << "0.00" << "-0.004";
        QTest::newRow("negative half cent keeps sign") << -0.005 << "-0.01" << "-0.005";
        QTest::newRow("not rounded to hundredths") << 2880.0 / 567.0 << "5.08" << "5.07936507936508";
    }
    void regionalTexts()
    {
        QFETCH(double, value);
        QFETCH(QString, fixed);
        QFETCH(QString, plain);
        if (commaLocale())
            fixed = swapSeparators(fixed), plain = swapSeparators(plain);
        QCOMPARE(Numbers::fixedFormat(value), fixed);
        QCOMPARE(Numbers::regionalPlainText(value), plain);
        // What is shown reads back through the regional rule.
        QCOMPARE(Numbers::regionalNumber(fixed), Numbers::numericValue(QString(fixed).replace(u',', u'.')));
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
