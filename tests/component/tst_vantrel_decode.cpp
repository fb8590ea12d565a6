// Every symbology, drawn through each output member at each orientation, must
// read back as its data with a decoder that is not ours.
#include "Decode.h"
#include "Scan.h"
#include "DeviceRegistry.h"
#include "QuillError.h"
#include "ScreenMetrics.h"
#include "SettingsStore.h"
#include "Vantrel.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {
enum class Reader { Zxing, Zxing39Ext, ZbarEan2, ZbarEan5 };
enum class Output { Picture, Png, Device };

QImage render(Vantrel &v, Output output, const QString &dir)
{
    switch (output) {
    case Output::Picture:
        return v.Picture();
    case Output::Png: {
        const QString path = dir + QStringLiteral("/symbol.png");
        v.SavePng(path, 520, 520);
        QImage read(path);
        return read;
    }
    case Output::Device: {
        // A 300-dpi label cell inside a larger page, as the printing run draws it.
        QImage page(1100, 1100, QImage::Format_RGB32);
        page.setDotsPerMeterX(11811);
        page.setDotsPerMeterY(11811);
        page.fill(Qt::white);
        QPainter painter(&page);
        const std::int32_t handle = DeviceRegistry::add(&painter);
        v.DrawToDevice(handle, 50, 50, 1000, 1000);
        DeviceRegistry::remove(handle);
        return page;
    }
    }
    return {};
}

QString decode(const QImage &image, Reader reader)
{
    switch (reader) {
    case Reader::Zxing: return Scan::zxingRead(image);
    case Reader::Zxing39Ext: return Scan::zxingRead(image, true);
    case Reader::ZbarEan2: return Decode::zbarImage(image, {QStringLiteral("-Sean2.enable")}).join(u'|');
    case Reader::ZbarEan5: return Decode::zbarImage(image, {QStringLiteral("-Sean5.enable")}).join(u'|');
    }
    return {};
}
} // namespace

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
        QTest::addColumn<int>("reader");
        QTest::addColumn<int>("customSymbology");

        const struct {
            const char *name;
            int barType;
            const char *data;
            const char *expected;
            Reader reader;
            int custom;
        } rows[] = {
            {"EAN-13 check added", 0, "590123412345", "5901234123457", Reader::Zxing, 0},
            {"EAN-13 check verified", 0, "5901234123457", "5901234123457", Reader::Zxing, 0},
            // zxing-cpp reports an EAN-13 that starts with 0 as the UPC-A with the same bars.
            {"EAN-13 short padded", 0, "12345", "000000123457", Reader::Zxing, 0},
            {"EAN-8", 1, "9638507", "96385074", Reader::Zxing, 0},
            {"EAN-8 check verified", 1, "96385074", "96385074", Reader::Zxing, 0},
            {"EAN-8 with add-on", 1, "9638507+12", "96385074", Reader::Zxing, 0},
            {"UPC-E with check", 5, "01234565", "01234565", Reader::Zxing, 0},
            {"EAN-5", 2, "52495", "52495", Reader::ZbarEan5, 0},
            {"EAN-2", 3, "12", "12", Reader::ZbarEan2, 0},
            {"UPC-A", 4, "03600029145", "036000291452", Reader::Zxing, 0},
            {"UPC-E", 5, "0123456", "01234565", Reader::Zxing, 0},
            {"Code39", 6, "CODE 39-TEST", "CODE 39-TEST", Reader::Zxing, 0},
            {"Code39Ext", 7, "Code39 ext!", "Code39 ext!", Reader::Zxing39Ext, 0},
            {"Code128", 8, "Hello, World 123", "Hello, World 123", Reader::Zxing, 0},
            {"Code128A", 9, "HELLO 123", "HELLO 123", Reader::Zxing, 0},
            {"Code128A control", 9, "AB\tC", "AB\tC", Reader::Zxing, 0},
            {"Code128B", 10, "Hello b~", "Hello b~", Reader::Zxing, 0},
            {"Code128C", 11, "12345678", "12345678", Reader::Zxing, 0},
            {"EAN-128 brackets", 12, "[01]12345678901231", "0112345678901231", Reader::Zxing, 0},
            {"EAN-128 parentheses", 12, "(01)12345678901231(10)ABC", "0112345678901231" "10ABC", Reader::Zxing, 0},
            {"ISSN", 13, "0317-8471", "9770317847001", Reader::Zxing, 0},
            {"ISSN with X and add-on", 13, "2434-561x 05", "9772434561006", Reader::Zxing, 0},
            {"ISBN-13", 14, "978-0-306-40615-7", "9780306406157", Reader::Zxing, 0},
            {"ISBN-10", 14, "0306406152", "9780306406157", Reader::Zxing, 0},
            // zxing-cpp leaves out Codabar's start and stop characters.
            {"Codabar", 15, "123456", "123456", Reader::Zxing, 0},
            {"Codabar framed", 15, "C40156D", "40156", Reader::Zxing, 0},
            {"Custom QR", 16, "Quillmark QR 123", "Quillmark QR 123", Reader::Zxing, 0},
            {"Custom Data Matrix", 16, "Quillmark DM 456", "Quillmark DM 456", Reader::Zxing, 71},
            {"Custom Aztec", 16, "Quillmark Aztec", "Quillmark Aztec", Reader::Zxing, 92},
            {"Interleaved 2of5", 17, "12345678", "12345678", Reader::Zxing, 0},
            {"Post2/5 Identcode", 20, "12345678901", "123456789016", Reader::Zxing, 0},
            {"Post2/5 Leitcode", 20, "1234567890123", "12345678901236", Reader::Zxing, 0},
            {"Code93", 21, "CODE93 TEST", "CODE93 TEST", Reader::Zxing, 0},
            {"PDF417", 24, "PDF417 Quillmark 0123456789", "PDF417 Quillmark 0123456789", Reader::Zxing, 0},
        };
        for (const auto &row : rows)
            QTest::newRow(row.name) << row.barType << QString::fromUtf8(row.data) << QString::fromUtf8(row.expected)
                                    << int(row.reader) << row.custom;
    }

    void decodes()
    {
        QFETCH(int, barType);
        QFETCH(QString, data);
        QFETCH(QString, expected);
        QFETCH(int, reader);
        QFETCH(int, customSymbology);

        SettingsStore store(m_dir.filePath(QStringLiteral("options.ini")));
        if (customSymbology)
            store.write(QStringLiteral("Vantrel options"), QStringLiteral("CustomSymbology"), QString::number(customSymbology));
        Vantrel v;
        v.setOptionsStore(&store);
        v.setWidth(500);
        v.setHeight(500);
        v.setBarType(std::int16_t(barType));
        v.Font().setSize(8);
        v.setShowText(1);
        v.setCaption(data);
        QVERIFY2(v.errorText().isEmpty(), qPrintable(v.errorText()));

        for (const double orientation : {0.0, 900.0, 1800.0, 2700.0}) {
            v.setOrientation(orientation);
            for (const Output output : {Output::Picture, Output::Png, Output::Device}) {
                const QImage image = render(v, output, m_dir.path());
                QVERIFY(!image.isNull());
                QString found = decode(image, Reader(reader));
                // zbar also reads our PNG file itself, through its own image loader.
                if (output == Output::Png && (Reader(reader) == Reader::ZbarEan2 || Reader(reader) == Reader::ZbarEan5))
                    QCOMPARE(Decode::zbarFile(m_dir.filePath(QStringLiteral("symbol.png")),
                                              {Reader(reader) == Reader::ZbarEan2 ? QStringLiteral("-Sean2.enable")
                                                                                  : QStringLiteral("-Sean5.enable")})
                                 .join(u'|'),
                             found);
                QVERIFY2(found == expected, qPrintable(QStringLiteral("orientation %1, output %2: read \"%3\"")
                                                          .arg(orientation).arg(int(output)).arg(found)));
            }
        }
    }

    // The add-on beside an EAN-13 reads as its own symbol.
    void addOnsRead_data()
    {
        QTest::addColumn<int>("barType");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("option");
        QTest::newRow("EAN-13+2") << 0 << "590123412345+12" << QStringList{"12", "5901234123457"} << "-Sean2.enable";
        QTest::newRow("EAN-13+5") << 0 << "590123412345+52495" << QStringList{"52495", "5901234123457"} << "-Sean5.enable";
        QTest::newRow("ISSN+2") << 13 << "0317-8471+05" << QStringList{"05", "9770317847001"} << "-Sean2.enable";
    }

    void addOnsRead()
    {
        QFETCH(int, barType);
        QFETCH(QString, data);
        QFETCH(QStringList, expected);
        QFETCH(QString, option);
        Vantrel v;
        v.setWidth(500);
        v.setHeight(200);
        v.setBarType(std::int16_t(barType));
        v.setCaption(data);
        QStringList found = Decode::zbarImage(v.Picture(), {option});
        found.sort();
        QCOMPARE(found, expected);
    }

    void pngHasRequestedSizeAndScreenResolution()
    {
        Vantrel v;
        v.setBarType(8);
        v.setCaption(QStringLiteral("SIZE"));
        const QString path = m_dir.filePath(QStringLiteral("size.png"));
        v.SavePng(path, 377, 123);
        const QImage read(path);
        QCOMPARE(read.size(), QSize(377, 123));
        QCOMPARE(qRound(read.dotsPerMeterX() * 0.0254), 96);
        QCOMPARE(qRound(read.dotsPerMeterY() * 0.0254), 96);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestVantrelDecode)
#include "tst_vantrel_decode.moc"
