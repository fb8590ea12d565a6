// How the component draws: whole device pixels per module, text of the size
// the font asks, placement, errors in place of a symbol, and its own options.
#include "Decode.h"
#include "FormatOptionsDialog.h"
#include "QuillError.h"
#include "Scan.h"
#include "ScreenMetrics.h"
#include "SettingsStore.h"
#include "Vantrel.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>


namespace {
struct Setup {
    int width = 400, height = 150, barType = 8;
    QString data{};
    int showText = -1;
    double fontSize = 0;
    QString title{};
    int orientation = 0;
};

// Members in the order a form sets them, the data last.
void setUp(Vantrel &v, const Setup &s)
{
    v.setWidth(s.width);
    v.setHeight(s.height);
    v.setBarType(std::int16_t(s.barType));
    if (s.fontSize > 0)
        v.Font().setSize(s.fontSize);
    if (s.showText >= 0)
        v.setShowText(s.showText);
    v.setTitle(s.title);
    v.setOrientation(s.orientation);
    v.setCaption(s.data);
}

bool allWhite(const QImage &image) { return Scan::inkBox(image, image.rect()).isNull(); }

// Top and one past the bottom of the first bar that row y crosses.
std::pair<int, int> firstBar(const QImage &image, int y)
{
    const int x = Scan::line(image, y).firstDark;
    int top = y, bottom = y;
    while (x >= 0 && top > 0 && Scan::isDark(image.pixel(x, top - 1)))
        --top;
    while (x >= 0 && bottom < image.height() && Scan::isDark(image.pixel(x, bottom)))
        ++bottom;
    return {top, bottom};
}

QRect inkBelow(const QImage &image, int y) { return Scan::inkBox(image, QRect(0, y, image.width(), image.height())); }
} // namespace

class TestVantrelDrawing : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        ScreenMetrics::overrideDpi(96, 96);
        QVERIFY(m_dir.isValid());
    }

    void textHeightFollowsScreenPoints()
    {
        // The printing run scales the size by printer dpi / screen dpi: 14 -> 87.5.
        for (const auto &[dpi, size] : {std::pair{600, 87.5}, std::pair{96, 14.0}}) {
            Vantrel v;
            v.Font().setName(QStringLiteral("Liberation Sans"));
            setUp(v, {.data = QStringLiteral("0123456789"), .showText = 1, .fontSize = size});
            QImage page = Scan::page(dpi * 5, dpi * 2, dpi);
            Scan::drawOn(v, page, page.rect());
            // Digits stand about 0.7 of the em (14 points on the surface) in Liberation Sans.
            const int digits = inkBelow(page, firstBar(page, 2).second + 1).height();
            const double ratio = digits / (14.0 * dpi / 72);
            QVERIFY2(ratio > 0.64 && ratio < 0.76, qPrintable(QStringLiteral("%1 dpi: digits %2 px").arg(dpi).arg(digits)));
        }
    }

    void invalidDataRaisesAndDrawsNoBars_data()
    {
        QTest::addColumn<int>("barType");
        QTest::addColumn<QString>("data");
        const std::pair<int, QString> rows[] = {
            {0, "ABCDEFGHIJKL"}, {0, "5901234123458"}, {0, "59012341234577"}, // EAN-13: letters, check digit, length
            {1, "123456789"}, {1, "96385075"}, {5, "2123456"}, {5, "01234566"}, // EAN-8, UPC-E: length, check, system 2
            {3, "123"}, {4, "03600029145A"}, {6, "abc"}, {9, "abc"}, {10, QStringLiteral("caf\u00e9")},
            {11, "12345"}, {11, "12AB"}, {10, QString(161, u'x')}, {12, "12345"}, // Code128C odd, letters; too long; no AI
            {13, "0317-8472"}, {14, "978-0-306-40615-8"}, {15, "12X4"}, {17, "12AB"}, {20, "12345678901234"},
            {23, "12A"}, {8, ""}};
        for (const auto &[barType, data] : rows)
            QTest::addRow("%d %s", barType, qPrintable(data.left(20))) << barType << data;
    }

    void invalidDataRaisesAndDrawsNoBars()
    {
        QFETCH(int, barType);
        QFETCH(QString, data);
        Vantrel v;
        setUp(v, {.barType = barType, .data = data});
        QVERIFY(!v.errorText().isEmpty());
        QVERIFY_THROWS_EXCEPTION(QuillError, v.Picture());
        const QString png = m_dir.filePath(QStringLiteral("invalid.png"));
        QVERIFY_THROWS_EXCEPTION(QuillError, v.SavePng(png, 300, 100));
        QVERIFY(!QFile::exists(png));
        QVERIFY_THROWS_EXCEPTION(QuillError, v.CopyToClipboard());
        QImage page = Scan::page(600, 300, 300);
        QVERIFY_THROWS_EXCEPTION(QuillError, Scan::drawOn(v, page, QRect(10, 10, 500, 200)));
        QVERIFY(allWhite(page));

        // The preview shows the message in the symbol's place, and no bars.
        const QImage preview = v.grab().toImage();
        QVERIFY(!allWhite(preview));
        for (int x = 0; x < preview.width(); ++x) {
            const Scan::Runs column = Scan::line(preview, x, true);
            for (size_t i = 0; i < column.lengths.size(); i += 2)
                QVERIFY(column.lengths[i] < preview.height() / 3);
        }
    }

    void unknownSymbologyDrawsNothing()
    {
        for (const int barType : {-1, 25}) {
            Vantrel v;
            setUp(v, {.width = 300, .height = 100, .barType = barType, .data = QStringLiteral("12345")});
            QVERIFY(v.errorText().isEmpty());
            QVERIFY(allWhite(v.Picture()));
            QImage page = Scan::page(400, 200, 300);
            Scan::drawOn(v, page, page.rect());
            QVERIFY(allWhite(page));
        }
    }

    // Bar width reduction and colours from the options store, in the picture and the PNG.
    void optionsNarrowBarsAndColour()
    {
        SettingsStore store(m_dir.filePath(QStringLiteral("options.ini")));
        store.write(QStringLiteral("Vantrel options"), QStringLiteral("BarWidthReduction"), QStringLiteral("1"));
        store.write(QStringLiteral("Vantrel options"), QStringLiteral("BarColor"), QStringLiteral("#000080"));
        store.write(QStringLiteral("Vantrel options"), QStringLiteral("BackColor"), QStringLiteral("#ffff00"));
        Vantrel plain, styled;
        styled.setOptionsStore(&store);
        for (Vantrel *v : {&plain, &styled})
            setUp(*v, {.width = 800, .height = 100, .data = QStringLiteral("Quill"), .showText = 1});
        const Scan::Runs a = Scan::line(plain.Picture(), 50);
        const Scan::Runs b = Scan::line(styled.Picture(), 50);
        QCOMPARE(a.lengths.size(), b.lengths.size());
        for (size_t i = 0; i + 1 < a.lengths.size(); ++i)
            QCOMPARE(b.lengths[i], a.lengths[i] + (i % 2 == 0 ? -1 : 1));

        const QString path = m_dir.filePath(QStringLiteral("colour.png"));
        styled.SavePng(path, 800, 100);
        for (const QImage &image : {styled.Picture(), QImage(path)}) {
            QSet<QRgb> colours;
            for (int y = 0; y < image.height(); y += 3)
                for (int x = 0; x < image.width(); ++x)
                    colours.insert(image.pixel(x, y) | 0xff000000u);
            QVERIFY(colours.contains(qRgb(0, 0, 0x80)) && colours.contains(qRgb(0xff, 0xff, 0)));
            QCOMPARE(Decode::zxingOne(image), QStringLiteral("Quill"));
        }
        // The PNG holds exactly the two colours: no dithered or blended pixels.
        QCOMPARE(QImage(path).colorCount(), 2);
    }

    void fontChangeShowsAtNextMemberSet()
    {
        Vantrel v;
        setUp(v, {.width = 500, .height = 200, .data = QStringLiteral("0123456789"), .showText = 1, .fontSize = 8});
        const auto textHeight = [&v] {
            const QImage shown = v.grab().toImage();
            return inkBelow(shown, firstBar(shown, 2).second + 1).height();
        };
        const int small = textHeight();
        v.Font().setSize(16);
        QCOMPARE(textHeight(), small);
        v.setShowText(1); // the same value: still redraws with the new font
        QVERIFY2(textHeight() > small * 3 / 2, qPrintable(QString::number(textHeight())));
    }

    void formatOptionsPersist()
    {
        const QString path = m_dir.filePath(QStringLiteral("format.ini"));
        const auto show = [](Vantrel &v, std::function<int(FormatOptionsDialog &)> runner) {
            FormatOptionsDialog::setRunner(runner);
            v.ShowFormatOptions();
            FormatOptionsDialog::setRunner({});
        };
        {
            SettingsStore store(path);
            Vantrel v;
            v.setOptionsStore(&store);
            show(v, [](FormatOptionsDialog &dialog) {
                dialog.customBox()->setCurrentIndex(dialog.customBox()->findText(QStringLiteral("Data Matrix")));
                return int(QDialog::Accepted);
            });
        }
        SettingsStore store(path);
        Vantrel v;
        v.setOptionsStore(&store);
        setUp(v, {.width = 400, .height = 400, .barType = 16, .data = QStringLiteral("Custom symbology")});
        const auto readsDataMatrix = [&v] {
            const Decode::Found found = Decode::zxingRead(v.Picture());
            return found.text == QStringLiteral("Custom symbology") && found.format == QStringLiteral("DataMatrix");
        };
        QVERIFY(readsDataMatrix());
        show(v, [](FormatOptionsDialog &dialog) { // cancelling keeps what was there
            dialog.customBox()->setCurrentIndex(0);
            return int(QDialog::Rejected);
        });
        QVERIFY(readsDataMatrix());
        v.ShowFormatOptions(); // headless without a runner: returns at once, changes nothing
        QVERIFY(readsDataMatrix());
    }

    void outputErrorsRaise()
    {
        Vantrel v;
        setUp(v, {.data = QStringLiteral("X")});
        QVERIFY_THROWS_EXCEPTION(QuillError, v.DrawToDevice(-12345, 0, 0, 100, 100));
        try {
            v.SavePng(m_dir.filePath(QStringLiteral("missing-folder/label.png")), 200, 100);
            QFAIL("no error for an unwritable file");
        } catch (const QuillError &error) {
            QVERIFY2(error.description().contains(QStringLiteral("label.png")), qPrintable(error.description()));
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestVantrelDrawing)
#include "tst_vantrel_drawing.moc"
