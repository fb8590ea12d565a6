// How the component draws: whole device pixels per module, text of the size
// the font asks, placement, errors in place of a symbol, and its own options.
#include "Clipboard.h"
#include "Decode.h"
#include "DeviceRegistry.h"
#include "FormatOptionsDialog.h"
#include "QuillError.h"
#include "Scan.h"
#include "ScreenMetrics.h"
#include "SettingsStore.h"
#include "Vantrel.h"

#include <QComboBox>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <numeric>

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

    void barsAreWholeModules_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("barType");
        QTest::addColumn<QString>("data");
        QTest::addColumn<int>("orientation");
        for (const int dpi : {203, 600})
            for (const int orientation : {0, 900, 1800, 2700})
                for (const auto &[barType, data] : {std::pair{8, "Quill-128"}, {0, "590123412345"}, {6, "QUILL39"}, {17, "0123456789"}})
                    QTest::addRow("%d dpi %d, type %d", dpi, orientation, barType) << dpi << barType << QString::fromLatin1(data) << orientation;
    }

    void barsAreWholeModules()
    {
        QFETCH(int, dpi);
        QFETCH(int, barType);
        QFETCH(QString, data);
        QFETCH(int, orientation);
        Vantrel v;
        setUp(v, {.barType = barType, .data = data, .fontSize = 8.0 * dpi / 96, .orientation = orientation});
        // A cell whose length is no multiple of the symbol's modules.
        const bool sideways = orientation % 1800 != 0;
        const QRect cell = sideways ? QRect(17, 23, dpi * 2 / 3 + 1, dpi * 2 + 7) : QRect(17, 23, dpi * 2 + 7, dpi * 2 / 3 + 1);
        QImage page = Scan::page(cell.right() + 40, cell.bottom() + 40, dpi);
        Scan::drawOn(v, page, cell);

        // A line across the bars, just inside the edge the bars start from.
        const int edge[] = {cell.top() + 5, cell.left() + 5, cell.bottom() - 5, cell.right() - 5};
        int module = 0;
        const QString modules = Scan::modules(Scan::line(page, edge[orientation / 900], sideways), &module);
        QVERIFY2(!modules.isEmpty(), "a bar or space is not a whole number of modules");
        // As wide as the cell allows: one pixel more per module would not fit
        // the bars and their quiet zones (at most 20 modules for these codes).
        const int length = sideways ? cell.height() : cell.width();
        QVERIFY2((modules.size() + 20) * (module + 1) > length, qPrintable(QString::number(module)));
        QVERIFY(!Decode::zxingOne(page).isEmpty());
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

    // At preview size a 14-point font is wider than an EAN-13 digit group:
    // the digits must still stay between the guards, not run over them.
    void eanDigitsStayBetweenGuards()
    {
        Vantrel v;
        v.Font().setName(QStringLiteral("Liberation Sans"));
        setUp(v, {.width = 192, .height = 96, .barType = 0, .data = QStringLiteral("0123456789"), .showText = 1, .fontSize = 14});
        const QImage picture = v.Picture();
        const Scan::Runs top = Scan::line(picture, 2);
        int module = 0;
        QVERIFY(!Scan::modules(top, &module).isEmpty());
        // Below the guards' ends only digits have ink; the middle guard's
        // columns (modules 45 to 50) must stay clear there.
        const int guardBottom = firstBar(picture, 2).second;
        QVERIFY(Scan::inkBox(picture, QRect(top.firstDark + 45 * module, guardBottom, 5 * module, picture.height())).isNull());
        const QRect digits = inkBelow(picture, guardBottom);
        QVERIFY(!digits.isNull());
        QVERIFY(digits.right() < top.firstDark + 102 * module); // 95 modules and the 7 of the last digit's place
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
            {23, "12A"}, {8, ""}, {19, "123456"}, {19, "1234"}, {12, "[01]09501101530004"},
            {12, "(00)123456789012345678"}, {12, "[02]12345678901234[10]A"}, {-1, "12345"}, {25, "12345"}};
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

    void nothingSpillsOutOfTheCell()
    {
        const QString longTitle = QStringLiteral("A title far longer than the label is wide");
        for (const Setup &s : {Setup{.data = "AB", .fontSize = 10, .title = longTitle},
                               Setup{.data = "AB", .fontSize = 60}, // huge font
                               Setup{.data = "A very long text for a tiny cell", .fontSize = 8},
                               Setup{.data = "AB", .fontSize = 10, .title = longTitle, .orientation = 900}}) {
            Vantrel v;
            setUp(v, s);
            const QRect cell(100, 100, s.orientation ? 60 : 150, s.orientation ? 150 : 60);
            QImage page = Scan::page(400, 400, 96);
            Scan::drawOn(v, page, cell);
            const QRect ink = Scan::inkBox(page, page.rect());
            QVERIFY(!ink.isNull());
            QVERIFY2(cell.contains(ink), qPrintable(s.data + s.title));
        }
    }

    // Alignment 0, 1, 2 with whole modules, then Scaling 1 stretched to the width.
    void placement()
    {
        for (const auto &[alignment, scaling] : {std::pair{0, 0}, {1, 0}, {2, 0}, {0, 1}}) {
            Vantrel v;
            v.setAlignment(std::int16_t(alignment));
            v.setScaling(std::int16_t(scaling));
            setUp(v, {.width = 1000, .height = 120, .data = QStringLiteral("AB"), .showText = 0});
            const QImage image = v.Picture();
            const Scan::Runs runs = Scan::line(image, 60);
            const int left = runs.firstDark;
            const int right = 1000 - left - std::accumulate(runs.lengths.begin(), runs.lengths.end(), 0);
            QCOMPARE(Decode::zxingOne(image), QStringLiteral("AB"));
            if (scaling) { // 2 x 11 + 35 modules of bars plus 20 of quiet zone fill 1000 pixels
                QVERIFY(std::abs(left - 1000.0 * 10 / 77) <= 2 && std::abs(right - 1000.0 * 10 / 77) <= 2);
                continue;
            }
            int module = 0;
            QVERIFY(!Scan::modules(runs, &module).isEmpty());
            // Code 128 wants ten modules of quiet zone on each side.
            QVERIFY(left >= 10 * module && right >= 10 * module);
            QVERIFY(alignment != 0 || left == 10 * module);
            QVERIFY(alignment != 1 || std::abs(left - right) <= 1);
            QVERIFY(alignment != 2 || right == 10 * module);
        }
    }

    void titleAboveTextBelow()
    {
        Vantrel v;
        setUp(v, {.width = 600, .height = 200, .data = "DATA", .showText = 1, .fontSize = 10, .title = "TITLE"});
        const QImage image = v.Picture();
        const auto [barTop, barBottom] = firstBar(image, 100);
        QVERIFY(barTop > 8);
        QVERIFY(!Scan::inkBox(image, QRect(0, 0, 600, barTop)).isNull());
        QVERIFY(!inkBelow(image, barBottom).isNull());
        v.setShowText(0);
        v.setTitle(QString());
        QVERIFY(!Scan::line(v.Picture(), 0).lengths.empty()); // bars take the whole height
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

    void membersKeepValues()
    {
        Vantrel v;
        v.Move(132.5f, 7.25f);
        v.setWidth(300.75f);
        v.setHeight(99.5f);
        QCOMPARE(QRectF(v.Left(), v.Top(), v.Width(), v.Height()), QRectF(132.5, 7.25, 300.75, 99.5));
        v.Font().setSize(14.123456);
        QCOMPARE(v.Font().Size(), 14.1235);
        v.Font().setSize(QStringLiteral("12.5"));
        QVERIFY_THROWS_EXCEPTION(QuillError, v.Font().setSize(QStringLiteral("big")));
        QCOMPARE(v.Font().Size(), 12.5);
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

    // wmf2gd draws at 72 dpi, three quarters of the metafile's pixels: the
    // modules must stay a few pixels wide through that. The clipboard holds
    // the same metafile and a readable PNG.
    void metafileAndClipboardReadBack()
    {
        for (const auto &[barType, data, expected, orientation] :
             {std::tuple{8, "Meta 128", "Meta 128", 0}, {0, "590123412345", "5901234123457", 900},
              {16, "Metafile QR", "Metafile QR", 1800}}) {
            Vantrel v;
            const bool turned = orientation == 900;
            setUp(v, {.width = turned ? 500 : 1000, .height = turned ? 1000 : 500, .barType = barType, .data = data,
                      .orientation = orientation});
            const QByteArray wmf = v.metafileBytes();
            QVERIFY(wmf.startsWith(QByteArray("\xd7\xcd\xc6\x9a", 4))); // placeable metafile key
            v.CopyToClipboard();
            QCOMPARE(Clipboard::data(QString::fromLatin1(Clipboard::kWmfMime)), wmf);
            const QImage pasted = QImage::fromData(Clipboard::data(QStringLiteral("image/png")), "PNG");
            QCOMPARE(Decode::zxingOne(pasted), QString::fromLatin1(expected));
            QFile file(m_dir.filePath(QStringLiteral("symbol.wmf")));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(wmf) == wmf.size());
            file.close();
            const QString png = m_dir.filePath(QStringLiteral("symbol-from-wmf.png"));
            QCOMPARE(QProcess::execute(QStringLiteral("wmf2gd"), {QStringLiteral("-o"), png, file.fileName()}), 0);
            QCOMPARE(Decode::zxingOne(QImage(png)), QString::fromLatin1(expected));
        }
    }

    void printsIntoPdf()
    {
        // A printing run's surface: a 600-dpi PDF page, read back by poppler.
        const QString pdfPath = m_dir.filePath(QStringLiteral("labels.pdf"));
        QPdfWriter pdf(pdfPath);
        pdf.setResolution(600);
        Vantrel v;
        v.Font().setName(QStringLiteral("Liberation Sans"));
        v.Font().setSize(10.0 * 600 / 96);
        v.setShowText(1);
        const struct {
            int barType;
            const char *data, *expected, *text; // text: what the PDF holds as text
        } labels[] = {{8, "PDF-128", "PDF-128", "PDF-128"}, {0, "590123412345", "5901234123457", "901234"},
                      {24, "PDF417 on paper", "PDF417 on paper", "PDF417 on paper"}};
        {
            QPainter painter(&pdf);
            const std::int32_t handle = DeviceRegistry::add(&painter);
            for (int i = 0; i < 3; ++i) {
                v.setBarType(std::int16_t(labels[i].barType));
                v.setCaption(QString::fromLatin1(labels[i].data));
                v.DrawToDevice(handle, 300, 150 + 1200 * i, 2400, 900);
            }
            DeviceRegistry::remove(handle);
        }
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdfPath, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        const QString extracted = QString::fromUtf8(text.readAllStandardOutput());
        const QString prefix = m_dir.filePath(QStringLiteral("page"));
        QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-png"),
                                                                QStringLiteral("-singlefile"), pdfPath, prefix}), 0);
        const QImage page(prefix + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(extracted.contains(QString::fromLatin1(labels[i].text)), qPrintable(extracted));
            // At 150 dpi: a quarter of the 600-dpi positions.
            QCOMPARE(Decode::zxingOne(page.copy(0, (150 + 1200 * i) / 4 - 20, page.width(), 900 / 4 + 40)),
                     QString::fromLatin1(labels[i].expected));
        }
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
