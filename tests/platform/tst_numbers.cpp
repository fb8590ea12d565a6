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
    void numberRules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("way");
        const double max = std::numeric_limits<double>::max();
        QTest::newRow("12pt") << "12pt" << 12.0 << int(Read);
        QTest::newRow("blanks, sign, point whatever the locale") << "  \t +2880.36" << 2880.36 << int(Read);
        QTest::newRow("comma ends the number") << "5,08" << 5.0 << int(Read);
        QTest::newRow("huge saturates") << "1e999" << max << int(Read);
        QTest::newRow("tiny is zero") << "1e-999" << 0.0 << int(Read);
        QTest::newRow("-0.2e3248 as -.2e3248") << "-0.2e3248" << -max << int(Read);
        QTest::newRow("-.2e3248") << "-.2e3248" << -max << int(Read);
        QTest::newRow("arabic-indic digits are not digits") << QStringLiteral("\u0661\u0662") << 0.0 << int(Read);
        QTest::newRow("2880.36") << "2880.36" << 2880.36 << int(Both);
        QTest::newRow("-.5") << "-.5" << -0.5 << int(Both);
        QTest::newRow("15 digits kept") << "123456789012345" << 123456789012345.0 << int(Both);
        QTest::newRow("-1E+20") << "-1E+20" << -1e20 << int(Both);
        QTest::newRow("-0") << "0" << -0.0 << int(Write);
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

    // What can fail: into a 16- or 32-bit integer (kind 0: rounded alone, halves
    // to even), or a regional number (kind 1) as typed under a "." locale.
    void conversions_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Expected>("expected");
        QTest::newRow("2.5") << 0 << "2.5" << Expected(2);
        QTest::newRow("-2.5") << 0 << "-2.5" << Expected(-2);
        QTest::newRow("16: 32767.5 rounds out") << 16 << "32767.5" << Expected();
        QTest::newRow("16: -32768.5 even") << 16 << "-32768.5" << Expected(-32768);
        QTest::newRow("32: max") << 32 << "2147483647" << Expected(2147483647);
        QTest::newRow("32: -2147483649") << 32 << "-2147483649" << Expected();
        QTest::newRow("regional: blanks around, sign") << 1 << " -1.5 " << Expected(-1.5);
        QTest::newRow("regional: empty") << 1 << "" << Expected();
        QTest::newRow("regional: other separator") << 1 << "2,54" << Expected();
        QTest::newRow("regional: infinity") << 1 << "inf" << Expected();
        QTest::newRow("regional: a long text is quoted short") << 1 << QString(5000, u'1') + u'x' << Expected();
    }
    void conversions()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(Expected, expected);
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
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
