// The number rules, run once under LC_ALL=C and once under a comma-decimal
// locale (see CMakeLists.txt): the locale-free rules must give the same
// results in both, the regional ones must follow the locale.
#include "Numbers.h"
#include "QuillError.h"

#include <QLocale>
#include <QtTest>
#include <clocale>
#include <cmath>
#include <optional>

namespace {
bool commaLocale()
{
    return QLocale().decimalPoint() == QStringLiteral(",");
}
} // namespace

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void numericValue_data();
    void numericValue();
    void numberText_data();
    void numberText();
    void numberTextRoundTrips_data();
    void numberTextRoundTrips();
    void rounding_data();
    void rounding();
    void integers_data();
    void integers();
    void twips_data();
    void twips();
    void regionalNumber_data();
    void regionalNumber();
    void regionalTexts_data();
    void regionalTexts();
};

void TestNumbers::initTestCase()
{
    // The C runtime follows LC_ALL once QCoreApplication has set it up; under
    // the comma locale this is the trap the locale-free rules must avoid.
    const QByteArray wanted = qgetenv("LC_ALL");
    if (wanted.startsWith("de_DE")) {
        QVERIFY2(commaLocale(), "QLocale does not follow LC_ALL");
        if (QByteArray(std::localeconv()->decimal_point) != ",")
            qWarning("The C runtime has no de_DE locale; generate it to test the full trap");
    }
}

void TestNumbers::numericValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("12pt") << "12pt" << 12.0;
    QTest::newRow("001") << "001" << 1.0;
    QTest::newRow("abc") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("-5") << "-5" << -5.0;
    QTest::newRow(".5") << ".5" << 0.5;
    QTest::newRow("-.5") << "-.5" << -0.5;
    QTest::newRow("+7") << "+7" << 7.0;
    QTest::newRow("leading blanks") << "  \t 2880.36" << 2880.36;
    QTest::newRow("point whatever the locale") << "5.08" << 5.08;
    QTest::newRow("comma ends the number") << "5,08" << 5.0;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("5.") << "5." << 5.0;
    QTest::newRow("lone point") << "." << 0.0;
    QTest::newRow("lone sign") << "-" << 0.0;
    QTest::newRow("sign then letters") << "-x5" << 0.0;
    QTest::newRow("exponent") << "1E+20" << 1e20;
    QTest::newRow("small exponent") << "2.5e-3" << 0.0025;
    QTest::newRow("e without digits") << "12e" << 12.0;
    QTest::newRow("e then sign only") << "12e+x" << 12.0;
    QTest::newRow("huge saturates") << "1e999" << std::numeric_limits<double>::max();
    QTest::newRow("tiny is zero") << "1e-999" << 0.0;
    QTest::newRow("inner blank ends it") << "1 2" << 1.0;
    QTest::newRow("blank after sign") << "- 5" << 0.0;
    QTest::newRow("arabic-indic digits are not digits") << QStringLiteral("\u0661\u0662") << 0.0;
    QTest::newRow("many digits") << "123456789012345678901234567890" << 1.2345678901234568e29;
}

void TestNumbers::numericValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(Numbers::numericValue(text), value);
}

void TestNumbers::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("2880") << 2880.0 << "2880";
    QTest::newRow("2880.36") << 2880.36 << "2880.36";
    QTest::newRow("-1") << -1.0 << "-1";
    QTest::newRow(".5") << 0.5 << ".5";
    QTest::newRow("-.5") << -0.5 << "-.5";
    QTest::newRow("0") << 0.0 << "0";
    QTest::newRow("-0") << -0.0 << "0";
    QTest::newRow("5.08") << 5.08 << "5.08";
    QTest::newRow("cm to twips") << 5.08 * 567 << "2880.36";
    QTest::newRow("15 digits kept") << 123456789012345.0 << "123456789012345";
    QTest::newRow("rounded to 15 digits") << 2.0 / 3.0 << ".666666666666667";
    QTest::newRow("third of 100") << 100.0 / 3.0 << "33.3333333333333";
    QTest::newRow("float noise hidden") << 0.1 + 0.2 << ".3";
    QTest::newRow("largest plain") << 999999999999999.0 << "999999999999999";
    QTest::newRow("1E+15") << 1e15 << "1E+15";
    QTest::newRow("1E+20") << 1e20 << "1E+20";
    QTest::newRow("16 digits") << 1234567890123456.0 << "1.23456789012346E+15";
    QTest::newRow("-1E+20") << -1e20 << "-1E+20";
    QTest::newRow(".0001") << 0.0001 << ".0001";
    QTest::newRow("1E-05") << 0.00001 << "1E-05";
    QTest::newRow("whole negative") << -1440.0 << "-1440";
    QTest::newRow("infinity is the largest number") << std::numeric_limits<double>::infinity()
                                                    << "1.79769313486232E+308";
}

void TestNumbers::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(Numbers::numberText(value), text);
    QVERIFY(!Numbers::numberText(value).contains(u','));
}

void TestNumbers::numberTextRoundTrips_data()
{
    QTest::addColumn<double>("value");
    for (double v : {2880.36, -0.5, 0.001, 1e20, -1e20, 1.5e-7, 123456789012345.0, 1440.0, 1e15, 7.25e300})
        QTest::newRow(qPrintable(QString::number(v, 'g', 17))) << v;
}

// What is stored must read back as the same value.
void TestNumbers::numberTextRoundTrips()
{
    QFETCH(double, value);
    QCOMPARE(Numbers::numericValue(Numbers::numberText(value)), value);
}

void TestNumbers::rounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("1.5") << 1.5 << 2.0;
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("3.5") << 3.5 << 4.0;
    QTest::newRow("-0.5") << -0.5 << 0.0;
    QTest::newRow("-1.5") << -1.5 << -2.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("2.4999") << 2.4999 << 2.0;
    QTest::newRow("2.5001") << 2.5001 << 3.0;
    QTest::newRow("-2.6") << -2.6 << -3.0;
    QTest::newRow("large") << 4503599627370497.0 << 4503599627370497.0;
}

void TestNumbers::rounding()
{
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(Numbers::roundHalfEven(value), rounded);
}

void TestNumbers::integers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("bits");
    QTest::addColumn<std::optional<qint64>>("expected"); // nullopt: overflow
    QTest::newRow("16: 1.5") << 1.5 << 16 << std::optional<qint64>(2);
    QTest::newRow("16: max") << 32767.0 << 16 << std::optional<qint64>(32767);
    QTest::newRow("16: 32767.4") << 32767.4 << 16 << std::optional<qint64>(32767);
    QTest::newRow("16: 32767.5 rounds out") << 32767.5 << 16 << std::optional<qint64>();
    QTest::newRow("16: 32768") << 32768.0 << 16 << std::optional<qint64>();
    QTest::newRow("16: min") << -32768.0 << 16 << std::optional<qint64>(-32768);
    QTest::newRow("16: -32768.5 even") << -32768.5 << 16 << std::optional<qint64>(-32768);
    QTest::newRow("16: -32769") << -32769.0 << 16 << std::optional<qint64>();
    QTest::newRow("16: -1") << -1.0 << 16 << std::optional<qint64>(-1);
    QTest::newRow("32: max") << 2147483647.0 << 32 << std::optional<qint64>(2147483647);
    QTest::newRow("32: 2147483647.5") << 2147483647.5 << 32 << std::optional<qint64>();
    QTest::newRow("32: min") << -2147483648.0 << 32 << std::optional<qint64>(-2147483648LL);
    QTest::newRow("32: -2147483649") << -2147483649.0 << 32 << std::optional<qint64>();
    QTest::newRow("32: 1e20") << 1e20 << 32 << std::optional<qint64>();
    QTest::newRow("32: nan") << std::nan("") << 32 << std::optional<qint64>();
    QTest::newRow("32: inf") << std::numeric_limits<double>::infinity() << 32 << std::optional<qint64>();
    QTest::newRow("16: nan") << std::nan("") << 16 << std::optional<qint64>();
}

void TestNumbers::integers()
{
    QFETCH(double, value);
    QFETCH(int, bits);
    QFETCH(std::optional<qint64>, expected);
    try {
        const qint64 got = bits == 16 ? qint64(Numbers::toInt16(value)) : qint64(Numbers::toInt32(value));
        QVERIFY2(expected.has_value(), qPrintable(QStringLiteral("no overflow, got %1").arg(got)));
        QCOMPARE(got, *expected);
    } catch (const QuillError &error) {
        QVERIFY2(!expected.has_value(), qPrintable(error.description()));
        QVERIFY(error.description().startsWith(QStringLiteral("Overflow")));
    }
}

void TestNumbers::twips_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<int>("unitFlag");
    QTest::addColumn<double>("twips");
    QTest::newRow("1 inch") << 1.0 << 1 << 1440.0;
    QTest::newRow("any nonzero flag is inches") << 2.0 << -1 << 2880.0;
    QTest::newRow("1 cm is 567, not 566.9") << 1.0 << 0 << 567.0;
    QTest::newRow("5.08 cm") << 5.08 << 0 << 2880.36;
    QTest::newRow("2.54 cm") << 2.54 << 0 << 1440.18;
    QTest::newRow("0.5 inch") << 0.5 << 1 << 720.0;
}

void TestNumbers::twips()
{
    QFETCH(double, amount);
    QFETCH(int, unitFlag);
    QFETCH(double, twips);
    QCOMPARE(Numbers::unitToTwips(amount, unitFlag), twips);
    QCOMPARE(Numbers::twipsToUnit(twips, unitFlag), amount);
}

void TestNumbers::regionalNumber_data()
{
    QTest::addColumn<QString>("pointText");  // as typed under a "." locale
    QTest::addColumn<QString>("commaText");  // as typed under a "," locale
    QTest::addColumn<std::optional<double>>("value"); // nullopt: an error
    QTest::newRow("2.54") << "2.54" << "2,54" << std::optional<double>(2.54);
    QTest::newRow("5.08") << "5.08" << "5,08" << std::optional<double>(5.08);
    QTest::newRow("blanks around") << " 1.5 " << " 1,5 " << std::optional<double>(1.5);
    QTest::newRow("negative") << "-0.25" << "-0,25" << std::optional<double>(-0.25);
    QTest::newRow("whole") << "2" << "2" << std::optional<double>(2.0);
    QTest::newRow("empty") << "" << "" << std::optional<double>();
    QTest::newRow("blank") << "   " << "   " << std::optional<double>();
    QTest::newRow("letters") << "abc" << "abc" << std::optional<double>();
    QTest::newRow("trailing unit") << "12pt" << "12pt" << std::optional<double>();
    QTest::newRow("other separator") << "2,54" << "2.54" << std::optional<double>();
    QTest::newRow("infinity") << "inf" << "inf" << std::optional<double>();
}

void TestNumbers::regionalNumber()
{
    QFETCH(QString, pointText);
    QFETCH(QString, commaText);
    QFETCH(std::optional<double>, value);
    const QString text = commaLocale() ? commaText : pointText;
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

void TestNumbers::regionalTexts_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("fixed");
    QTest::addColumn<QString>("plain");
    QTest::newRow("5.08") << 5.08 << "5.08" << "5.08";
    QTest::newRow("2.54") << 2.54 << "2.54" << "2.54";
    QTest::newRow("whole") << 2.0 << "2.00" << "2";
    QTest::newRow("below one") << 0.5 << "0.50" << "0.5";
    QTest::newRow("no grouping") << 1234567.5 << "1234567.50" << "1234567.5";
    QTest::newRow("negative") << -1.25 << "-1.25" << "-1.25";
    QTest::newRow("rounds to zero, no sign") << -0.004 << "0.00" << "-0.004";
    QTest::newRow("negative half cent keeps sign") << -0.005 << "-0.01" << "-0.005";
    QTest::newRow("just over half a cent") << -0.0051 << "-0.01" << "-0.0051";
    QTest::newRow("not rounded to hundredths") << 2880.0 / 567.0 << "5.08" << "5.07936507936508";
    QTest::newRow("zero") << 0.0 << "0.00" << "0";
}

void TestNumbers::regionalTexts()
{
    QFETCH(double, value);
    QFETCH(QString, fixed);
    QFETCH(QString, plain);
    if (commaLocale()) {
        fixed.replace(u'.', u',');
        plain.replace(u'.', u',');
    }
    QCOMPARE(Numbers::fixedFormat(value), fixed);
    QCOMPARE(Numbers::regionalPlainText(value), plain);
    // What is shown reads back through the regional rule.
    QCOMPARE(Numbers::regionalNumber(fixed), Numbers::numericValue(QString(fixed).replace(u',', u'.')));
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
