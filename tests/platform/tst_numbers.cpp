// The number rules, run under LC_ALL=C and under a comma-decimal locale (see
// CMakeLists.txt): the locale-free rules must agree, the regional ones follow the locale.
#include "Numbers.h"
#include "QuillError.h"

#include <QLocale>
#include <QtTest>
#include <optional>

namespace {
enum Way { Read = 1, Write = 2, Both = 3 };
// What a text is converted with, and what can fail on the way.
enum Conversion { Int16, Int32, Regional };
using Expected = std::optional<double>; // nullopt: refused with an error

QString regional(QString t) // as typed under the locale in force
{
    if (QLocale().decimalPoint() != u',')
        return t;
    return t.replace(u'.', u'\1').replace(u',', u'.').replace(u'\1', u',');
}

double converted(Conversion conversion, const QString &text)
{
    const double value = Numbers::numericValue(text);
    if (conversion == Int16)
        return Numbers::toInt16(value);
    if (conversion == Int32)
        return Numbers::toInt32(value);
    return Numbers::regionalNumber(regional(text));
}
} // namespace
Q_DECLARE_METATYPE(Expected)

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (qgetenv("LC_ALL").startsWith("de_DE"))
            QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    }

    // Read: numericValue(text) == value; Write: numberText(value) == text; Both: either way.
    void numberRules_data()
    {
        const double max = std::numeric_limits<double>::max();
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("way");
        QTest::newRow("unit after the number") << "12pt" << 12.0 << int(Read);
        QTest::newRow("blanks and sign before") << "  \t +2880.36" << 2880.36 << int(Read);
        QTest::newRow("400 nines saturate") << QString(400, u'9') << max << int(Read);
        QTest::newRow("no digit before the point") << "-.2e3248" << -max << int(Read);
        QTest::newRow("tiny exponent is 0") << "1e-999" << 0.0 << int(Read);
        QTest::newRow("tiny, zeros in the exponent") << "10e-1000" << 0.0 << int(Read);
        QTest::newRow("arabic-indic digits") << QStringLiteral("\u0661\u0662") << 0.0 << int(Read);
        QTest::newRow("a 0 after the point") << "5.08cm" << 5.08 << int(Read);
        QTest::newRow("negative fraction") << "-.95" << -0.95 << int(Both);
        QTest::newRow("15 digits") << "123456789012345" << 123456789012345.0 << int(Both);
        QTest::newRow("large exponent") << "-1E+20" << -1e20 << int(Both);
        QTest::newRow("negative zero") << "0" << -0.0 << int(Write);
        QTest::newRow("float noise hidden") << "2880.36" << 5.08 * 567 << int(Write);
        QTest::newRow("16 digits") << "1.23456789012346E+15" << 1234567890123456.0 << int(Write);
        QTest::newRow("infinity") << "1.79769313486232E+308" << qInf() << int(Write);
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

    // Into a 16- or 32-bit integer, halves rounded to even, or a regional
    // number as typed under a "." locale; a long text is quoted short.
    void conversions_data()
    {
        QTest::addColumn<int>("conversion");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Expected>("expected");
        QTest::newRow("16 bits, half to even") << int(Int16) << "2.5" << Expected(2);
        QTest::newRow("16 bits, over") << int(Int16) << "32767.5" << Expected();
        QTest::newRow("16 bits, lowest") << int(Int16) << "-32768.5" << Expected(-32768);
        QTest::newRow("32 bits, highest") << int(Int32) << "2147483647" << Expected(2147483647);
        QTest::newRow("32 bits, under") << int(Int32) << "-2147483649" << Expected();
        QTest::newRow("regional, blanks and sign") << int(Regional) << " -1.5 " << Expected(-1.5);
        QTest::newRow("regional, empty") << int(Regional) << "" << Expected();
        QTest::newRow("regional, other separator") << int(Regional) << "2,54" << Expected();
        QTest::newRow("regional, inf") << int(Regional) << "inf" << Expected();
        QTest::newRow("regional, long text") << int(Regional) << QString(5000, u'1') + u'x' << Expected();
    }

    void conversions()
    {
        QFETCH(int, conversion);
        QFETCH(QString, text);
        QFETCH(Expected, expected);
        try {
            const double got = converted(Conversion(conversion), text);
            QVERIFY2(expected.has_value(), qPrintable(QString::number(got)));
            QCOMPARE(got, *expected);
        } catch (const QuillError &error) {
            QVERIFY2(!expected, qPrintable(error.description()));
            QVERIFY2(error.description().size() < 150, qPrintable(error.description()));
        }
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
