// Every symbology, drawn through each output member at each orientation, must
// read back as its data with a decoder that is not ours.
#include "Decode.h"
#include "Scan.h"
#include "ScreenMetrics.h"
#include "SettingsStore.h"
#include "Vantrel.h"

#include <QTemporaryDir>
#include <QtTest>

class TestVantrelDecode : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        ScreenMetrics::overrideDpi(96, 96);
        QVERIFY(m_dir.isValid());
    }

    void decodes_data()
    {
        QTest::addColumn<int>("barType");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("reader"); // empty: zxing-cpp; "39ext": its full-ASCII Code 39; else a zbar option
        QTest::addColumn<int>("customSymbology"); // 0: no options store, so the default
        const auto row = [](const char *name, int barType, const char *data, const char *expected,
                            const char *reader = "", int custom = 0) {
            QTest::newRow(name) << barType << QString::fromUtf8(data) << QString::fromUtf8(expected)
                                << QString::fromLatin1(reader) << custom;
        };
        row("EAN-13 check added", 0, "590123412345", "5901234123457");
        row("EAN-13 check verified", 0, "5901234123457", "5901234123457");
        // zxing-cpp reports an EAN-13 that starts with 0 as the UPC-A with the same bars.
        row("EAN-13 short padded", 0, "12345", "000000123457");
        row("EAN-8", 1, "9638507", "96385074");
        row("EAN-8 check verified", 1, "96385074", "96385074");
        row("EAN-8 with add-on", 1, "9638507+12", "96385074");
        row("EAN-5", 2, "52495", "52495", "-Sean5.enable");
        row("EAN-2", 3, "12", "12", "-Sean2.enable");
        row("UPC-A", 4, "03600029145", "036000291452");
        row("UPC-E", 5, "0123456", "01234565");
        row("UPC-E with check", 5, "01234565", "01234565");
        row("Code39", 6, "CODE 39-TEST", "CODE 39-TEST");
        row("Code39Ext", 7, "Code39 ext!", "Code39 ext!", "39ext");
        row("Code128", 8, "Hello, World 123", "Hello, World 123");
        row("Code128A", 9, "HELLO 123", "HELLO 123");
        row("Code128A control", 9, "AB\tC", "AB\tC");
        row("Code128B", 10, "Hello b~", "Hello b~");
        row("Code128C", 11, "12345678", "12345678");
        row("EAN-128 brackets", 12, "[01]12345678901231", "0112345678901231");
        row("EAN-128 parentheses", 12, "(01)12345678901231(10)ABC", "0112345678901231" "10ABC");
        row("ISSN", 13, "0317-8471", "9770317847001");
        row("ISSN with X and add-on", 13, "2434-561x 05", "9772434561006");
        row("ISBN-13", 14, "978-0-306-40615-7", "9780306406157");
        row("ISBN-10", 14, "0306406152", "9780306406157");
        // zxing-cpp leaves out Codabar's start and stop characters.
        row("Codabar", 15, "123456", "123456");
        row("Codabar framed", 15, "C40156D", "40156");
        row("Custom QR", 16, "Quillmark QR 123", "Quillmark QR 123");
        row("Custom Data Matrix", 16, "Quillmark DM 456", "Quillmark DM 456", "", 71);
        row("Custom Aztec", 16, "Quillmark Aztec", "Quillmark Aztec", "", 92);
        row("Interleaved 2of5", 17, "12345678", "12345678");
        row("Post2/5 Identcode", 20, "12345678901", "123456789016");
        row("Post2/5 Leitcode", 20, "1234567890123", "12345678901236");
        row("Code93", 21, "CODE93 TEST", "CODE93 TEST");
        row("PDF417", 24, "PDF417 Quillmark 0123456789", "PDF417 Quillmark 0123456789");
    }

    void decodes()
    {
        QFETCH(int, barType);
        QFETCH(QString, data);
        QFETCH(QString, expected);
        QFETCH(QString, reader);
        QFETCH(int, customSymbology);

        Vantrel v;
        SettingsStore store(m_dir.filePath(QStringLiteral("options.ini")));
        if (customSymbology) {
            store.write(QStringLiteral("Vantrel options"), QStringLiteral("CustomSymbology"), QString::number(customSymbology));
            v.setOptionsStore(&store);
        }
        v.setWidth(500);
        v.setHeight(500);
        v.setBarType(std::int16_t(barType));
        v.Font().setSize(8);
        v.setShowText(1);
        v.setCaption(data);
        QVERIFY2(v.errorText().isEmpty(), qPrintable(v.errorText()));

        const bool zbar = reader.startsWith(u'-');
        const QString png = m_dir.filePath(QStringLiteral("symbol.png"));
        for (const int orientation : {0, 900, 1800, 2700}) {
            v.setOrientation(orientation);
            v.SavePng(png, 540, 520);
            // A 300-dpi label cell inside a larger page, as the printing run draws it.
            QImage page = Scan::page(1100, 1100, 300);
            Scan::drawOn(v, page, QRect(50, 50, 1000, 1000));
            const QImage images[] = {v.Picture(), QImage(png), page};
            // The PNG has the size asked for, at the screen's resolution.
            QCOMPARE(images[1].size(), QSize(540, 520));
            QCOMPARE(qRound(images[1].dotsPerMeterX() * 0.0254), 96);
            QCOMPARE(qRound(images[1].dotsPerMeterY() * 0.0254), 96);
            for (int output = 0; output < 3; ++output) {
                QVERIFY(!images[output].isNull());
                const QString found = zbar ? Decode::zbarImage(images[output], {reader}).join(u'|')
                                           : Decode::zxingOne(images[output], reader == QStringLiteral("39ext"));
                QVERIFY2(found == expected, qPrintable(QStringLiteral("orientation %1, output %2: read \"%3\"")
                                                          .arg(orientation).arg(output).arg(found)));
            }
            // zbar also reads our PNG file itself, through its own image loader.
            if (zbar)
                QCOMPARE(Decode::zbarFile(png, {reader}).join(u'|'), expected);
        }
    }

    // The add-on beside an EAN-13 reads as its own symbol.
    void addOnsRead()
    {
        for (const auto &[barType, data, addOn, main, option] :
             {std::tuple{0, "590123412345+12", "12", "5901234123457", "-Sean2.enable"},
              {0, "590123412345+52495", "52495", "5901234123457", "-Sean5.enable"},
              {13, "0317-8471+05", "05", "9770317847001", "-Sean2.enable"}}) {
            Vantrel v;
            v.setWidth(500);
            v.setHeight(200);
            v.setBarType(std::int16_t(barType));
            v.setCaption(QString::fromLatin1(data));
            QStringList found = Decode::zbarImage(v.Picture(), {QString::fromLatin1(option)});
            found.sort();
            QCOMPARE(found, (QStringList{QString::fromLatin1(addOn), QString::fromLatin1(main)}));
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestVantrelDecode)
#include "tst_vantrel_decode.moc"
