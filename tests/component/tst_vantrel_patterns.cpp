// Symbologies no decoder here reads: the bars drawn must match patterns worked
// from the symbologies' published tables.
#include "Scan.h"
#include "ScreenMetrics.h"
#include "SettingsStore.h"
#include "Vantrel.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
// Widths "bar space bar ..." (each digit a number of modules) to a module string.
QString fromWidths(const QString &widths)
{
    QString out;
    for (qsizetype i = 0; i < widths.size(); ++i)
        out += QString(widths[i].digitValue(), i % 2 ? u'.' : u'#');
    return out;
}

// Industrial 2 of 5: only the bars carry data, wide bars three modules.
QString code25(const QString &digits)
{
    static const char *const table[10] = {"00110", "10001", "01001", "11000", "00101",
                                          "10100", "01100", "00011", "10010", "01010"};
    QString widths = QStringLiteral("313111");
    for (const QChar d : digits)
        for (const char *bit = table[d.digitValue()]; *bit; ++bit)
            widths += *bit == '1' ? QStringLiteral("31") : QStringLiteral("11");
    return fromWidths(widths + QStringLiteral("31113"));
}

// POSTNET: T for a full bar, S for a half bar; weights 7 4 2 1 0, frame bars
// at both ends, check digit bringing the sum to a multiple of 10.
QString postnet(const QString &digits)
{
    static const char *const table[10] = {"TTSSS", "SSSTT", "SSTST", "SSTTS", "STSST",
                                          "STSTS", "STTSS", "TSSST", "TSSTS", "TSTSS"};
    int sum = 0;
    QString out = QStringLiteral("T");
    for (const QChar d : digits) {
        sum += d.digitValue();
        out += QLatin1String(table[d.digitValue()]);
    }
    return out + QLatin1String(table[(10 - sum % 10) % 10]) + u'T';
}

// UK Plessey: each hex digit's bits, lowest first (1 wide bar, 0 narrow bar),
// then an 8-bit CRC with the generator x^8+x^7+x^6+x^5+x^3+1.
QString plessey(const QString &hex)
{
    std::vector<int> bits;
    for (const QChar c : hex)
        for (int i = 0; i < 4; ++i)
            bits.push_back((QString(c).toInt(nullptr, 16) >> i) & 1);
    const int poly[9] = {1, 1, 1, 1, 0, 1, 0, 0, 1};
    std::vector<int> work = bits;
    work.resize(bits.size() + 8, 0);
    for (size_t i = 0; i < bits.size(); ++i)
        if (work[i])
            for (int j = 0; j < 9; ++j)
                work[i + j] ^= poly[j];
    bits.insert(bits.end(), work.end() - 8, work.end());
    QString widths = QStringLiteral("31311331");
    for (int b : bits)
        widths += b ? QStringLiteral("31") : QStringLiteral("13");
    return fromWidths(widths + QStringLiteral("331311313"));
}

// MSI Plessey: each digit's four bits, highest first (1 = bar 2 space 1,
// 0 = bar 1 space 2), with the Luhn-style modulo 10 check digit.
QString msi(QString digits, bool mod10)
{
    int sum = 0;
    for (qsizetype i = 0; i < digits.size(); ++i) { // doubling the rightmost digit and every second one
        const int d = digits[digits.size() - 1 - i].digitValue() * (i % 2 ? 1 : 2);
        sum += d / 10 + d % 10;
    }
    if (mod10)
        digits += QChar(u'0' + (10 - sum % 10) % 10);
    QString widths = QStringLiteral("21");
    for (const QChar c : digits)
        for (int i = 3; i >= 0; --i)
            widths += (c.digitValue() >> i) & 1 ? QStringLiteral("21") : QStringLiteral("12");
    return fromWidths(widths + QStringLiteral("121"));
}

QImage picture(int barType, const QString &data, int height, SettingsStore *store = nullptr)
{
    Vantrel v;
    if (store)
        v.setOptionsStore(store);
    v.setWidth(900);
    v.setHeight(height);
    v.setBarType(std::int16_t(barType));
    v.setShowText(0);
    v.setCaption(data);
    return v.Picture();
}
} // namespace

class TestVantrelPatterns : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ScreenMetrics::overrideDpi(96, 96); }

    void modules()
    {
        QTemporaryDir dir;
        SettingsStore store(dir.filePath(QStringLiteral("options.ini")));
        for (const auto &[barType, data, expected, msiCheck] :
             {std::tuple{18, "0123456789", code25(QStringLiteral("0123456789")), 1},
              {22, "1234", plessey(QStringLiteral("1234")), 1}, {22, "0F9A5C", plessey(QStringLiteral("0F9A5C")), 1},
              {23, "1234", msi(QStringLiteral("1234"), true), 1}, {23, "80523", msi(QStringLiteral("80523"), false), 0}}) {
            store.write(QStringLiteral("Vantrel options"), QStringLiteral("MSICheckDigit"), QString::number(msiCheck));
            int module = 0;
            QCOMPARE(Scan::modules(Scan::line(picture(barType, QString::fromLatin1(data), 80, &store), 40), &module), expected);
            QVERIFY(module >= 2); // drawn as large as the width allows, not at 1 pixel
        }
    }

    // Full and half bars told apart by the top rows, bars found on the bottom rows.
    void postnetBars()
    {
        for (const QString &data : {QStringLiteral("12345"), QStringLiteral("123456789"), QStringLiteral("55555123405")}) {
            const QImage image = picture(19, data, 60);
            const Scan::Runs bottom = Scan::line(image, image.height() - 3);
            QVERIFY(!bottom.lengths.empty());
            QString found;
            for (size_t i = 0, x = bottom.firstDark; i < bottom.lengths.size(); x += bottom.lengths[i++])
                if (i % 2 == 0)
                    found += Scan::isDark(image.pixel(int(x) + bottom.lengths[i] / 2, 2)) ? u'T' : u'S';
            QCOMPARE(found, postnet(data));
        }
    }
};

QTEST_MAIN(TestVantrelPatterns)
#include "tst_vantrel_patterns.moc"
