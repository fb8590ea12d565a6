// How the component draws: whole device pixels per module, text of the size
// the font asks, placement, errors in place of a symbol, and its own options.
#include "Clipboard.h"
#include "DeviceRegistry.h"
#include "FormatOptionsDialog.h"
#include "QuillError.h"
#include "Scan.h"
#include "ScreenMetrics.h"
#include "SettingsStore.h"
#include "Vantrel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QImage blankPage(int width, int height, int dpi)
{
    QImage page(width, height, QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(dpi / 0.0254));
    page.setDotsPerMeterY(qRound(dpi / 0.0254));
    page.fill(Qt::white);
    return page;
}

void drawOn(const Vantrel &v, QImage &page, const QRect &cell)
{
    QPainter painter(&page);
    const std::int32_t handle = DeviceRegistry::add(&painter);
    try {
        v.DrawToDevice(handle, cell.x(), cell.y(), cell.width(), cell.height());
    } catch (...) {
        DeviceRegistry::remove(handle);
        throw;
    }
    DeviceRegistry::remove(handle);
}

bool allWhite(const QImage &image)
{
    return Scan::inkBox(image, image.rect()).isNull();
}
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
            for (const int orientation : {0, 900, 1800, 2700}) {
                const QByteArray at = QByteArray::number(dpi) + " dpi " + QByteArray::number(orientation);
                QTest::newRow("Code128 " + at) << dpi << 8 << "Quill-128" << orientation;
                QTest::newRow("EAN-13 " + at) << dpi << 0 << "590123412345" << orientation;
                QTest::newRow("Code39 " + at) << dpi << 6 << "QUILL39" << orientation;
                QTest::newRow("Interleaved " + at) << dpi << 17 << "0123456789" << orientation;
            }
    }

    void barsAreWholeModules()
    {
        QFETCH(int, dpi);
        QFETCH(int, barType);
        QFETCH(QString, data);
        QFETCH(int, orientation);
        Vantrel v;
        v.setBarType(std::int16_t(barType));
        v.setCaption(data);
        v.setOrientation(orientation);
        v.Font().setSize(8.0 * dpi / 96);
        // A cell whose length is no multiple of the symbol's modules.
        const bool sideways = orientation % 1800 != 0;
        const QRect cell = sideways ? QRect(17, 23, dpi * 2 / 3 + 1, dpi * 2 + 7) : QRect(17, 23, dpi * 2 + 7, dpi * 2 / 3 + 1);
        QImage page = blankPage(cell.right() + 40, cell.bottom() + 40, dpi);
        drawOn(v, page, cell);

        // A line across the bars, just inside the edge the bars start from.
        Scan::Runs runs;
        switch (orientation) {
        case 0: runs = Scan::line(page, cell.top() + 5); break;
        case 900: runs = Scan::line(page, cell.left() + 5, true); break;
        case 1800: runs = Scan::line(page, cell.bottom() - 5); break;
        default: runs = Scan::line(page, cell.right() - 5, true); break;
        }
        int module = 0;
        const QString modules = Scan::modules(runs, &module);
        QVERIFY2(!modules.isEmpty(), "a bar or space is not a whole number of modules");
        // As wide as the cell allows: one pixel more per module would not fit
        // the bars and their quiet zones (at most 20 modules for these codes).
        const int length = sideways ? cell.height() : cell.width();
        QVERIFY2((modules.size() + 20) * (module + 1) > length,
                 qPrintable(QStringLiteral("module %1 px for %2 modules in %3 px").arg(module).arg(modules.size()).arg(length)));
        QVERIFY(!Scan::zxingRead(page).isEmpty());
    }

    void textHeightFollowsScreenPoints_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<double>("size");
        QTest::addColumn<double>("emPixels");
        // The printing run scales the size by printer dpi / screen dpi: 14 -> 87.5.
        QTest::newRow("600 dpi printer, 14 pt") << 600 << 87.5 << 14.0 * 600 / 72;
        QTest::newRow("203 dpi printer, 10 pt") << 203 << 10.0 * 203 / 96 << 10.0 * 203 / 72;
        QTest::newRow("screen, 14 pt") << 96 << 14.0 << 14.0 * 96 / 72;
    }

    void textHeightFollowsScreenPoints()
    {
        QFETCH(int, dpi);
        QFETCH(double, size);
        QFETCH(double, emPixels);
        Vantrel v;
        v.setBarType(8);
        v.Font().setName(QStringLiteral("Liberation Sans"));
        v.Font().setSize(size);
        v.setShowText(1);
        v.setCaption(QStringLiteral("0123456789"));
        const QRect cell(0, 0, dpi * 5, dpi * 2);
        QImage page = blankPage(cell.width(), cell.height(), dpi);
        drawOn(v, page, cell);

        // Where the first bar ends, the text band begins.
        const Scan::Runs top = Scan::line(page, 2);
        QVERIFY(top.firstDark >= 0);
        const Scan::Runs firstBar = Scan::line(page, top.firstDark + 1, true);
        const int barBottom = firstBar.firstDark + firstBar.lengths.front();
        const QRect text = Scan::inkBox(page, QRect(0, barBottom + 1, cell.width(), cell.height()));
        QVERIFY(!text.isNull());
        // Digits stand about 0.7 of the em in Liberation Sans.
        const double ratio = text.height() / emPixels;
        QVERIFY2(ratio > 0.64 && ratio < 0.76, qPrintable(QStringLiteral("digits %1 px for an em of %2 px")
                                                              .arg(text.height()).arg(emPixels)));
    }

    // At preview size a 14-point font is wider than an EAN-13 digit group:
    // the digits must still stay between the guards, not run over them.
    void eanDigitsStayBetweenGuards()
    {
        Vantrel v;
        v.setBarType(0);
        v.Font().setName(QStringLiteral("Liberation Sans"));
        v.Font().setSize(14.0);
        v.setShowText(1);
        v.setCaption(QStringLiteral("0123456789"));
        v.setWidth(192);
        v.setHeight(96);
        const QImage picture = v.Picture();
        const Scan::Runs top = Scan::line(picture, 2);
        QVERIFY(top.firstDark >= 0);
        int module = 0;
        QVERIFY(!Scan::modules(top, &module).isEmpty());
        // Below the guards' ends only digits have ink; the middle guard's
        // columns (modules 45 to 50) must stay clear there.
        const Scan::Runs guard = Scan::line(picture, top.firstDark, true);
        const int guardBottom = guard.firstDark + guard.lengths.front();
        const QRect middle(top.firstDark + 45 * module, guardBottom, 5 * module, picture.height() - guardBottom);
        QVERIFY(Scan::inkBox(picture, middle).isNull());
        const QRect digits = Scan::inkBox(picture, QRect(0, guardBottom, picture.width(), picture.height() - guardBottom));
        QVERIFY(!digits.isNull());
        QVERIFY(digits.left() >= 0 && digits.right() < top.firstDark + 95 * module + 7 * module);
    }

    void invalidDataRaisesAndDrawsNoBars_data()
    {
        QTest::addColumn<int>("barType");
        QTest::addColumn<QString>("data");
        QTest::newRow("EAN-13 letters") << 0 << "ABCDEFGHIJKL";
        QTest::newRow("EAN-13 wrong check digit") << 0 << "5901234123458";
        QTest::newRow("EAN-13 too long") << 0 << "59012341234577";
        QTest::newRow("EAN-8 too long") << 1 << "123456789";
        QTest::newRow("EAN-8 wrong check digit") << 1 << "96385075";
        QTest::newRow("UPC-E number system 2") << 5 << "2123456";
        QTest::newRow("UPC-E wrong check digit") << 5 << "01234566";
        QTest::newRow("EAN-2 three digits") << 3 << "123";
        QTest::newRow("UPC-A letters") << 4 << "03600029145A";
        QTest::newRow("Code39 lower case") << 6 << "abc";
        QTest::newRow("Code128A lower case") << 9 << "abc";
        QTest::newRow("Code128B beyond ASCII") << 10 << QString::fromUtf8("caf\u00e9");
        QTest::newRow("Code128C odd digits") << 11 << "12345";
        QTest::newRow("Code128C letters") << 11 << "12AB";
        QTest::newRow("Code128B too long") << 10 << QString(161, u'x');
        QTest::newRow("EAN-128 without AI") << 12 << "12345";
        QTest::newRow("ISSN wrong check") << 13 << "0317-8472";
        QTest::newRow("ISBN wrong check") << 14 << "978-0-306-40615-8";
        QTest::newRow("Codabar letters") << 15 << "12X4";
        QTest::newRow("Interleaved letters") << 17 << "12AB";
        QTest::newRow("Post2/5 too long") << 20 << "12345678901234";
        QTest::newRow("MSI letters") << 23 << "12A";
        QTest::newRow("empty data") << 8 << "";
    }

    void invalidDataRaisesAndDrawsNoBars()
    {
        QFETCH(int, barType);
        QFETCH(QString, data);
        Vantrel v;
        v.setWidth(400);
        v.setHeight(150);
        v.setBarType(std::int16_t(barType));
        v.setCaption(data);
        QVERIFY(!v.errorText().isEmpty());
        QVERIFY_THROWS_EXCEPTION(QuillError, v.Picture());
        const QString png = m_dir.filePath(QStringLiteral("invalid.png"));
        QVERIFY_THROWS_EXCEPTION(QuillError, v.SavePng(png, 300, 100));
        QVERIFY(!QFile::exists(png));
        QVERIFY_THROWS_EXCEPTION(QuillError, v.CopyToClipboard());
        QImage page = blankPage(600, 300, 300);
        QVERIFY_THROWS_EXCEPTION(QuillError, drawOn(v, page, QRect(10, 10, 500, 200)));
        QVERIFY(allWhite(page));

        // The preview shows the message in the symbol's place, and no bars.
        const QImage preview = v.grab().toImage();
        QVERIFY(!allWhite(preview));
        QVERIFY(Scan::longestDarkColumnRun(preview) < preview.height() / 3);
    }

    void nothingSpillsOutOfTheCell_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<double>("size");
        QTest::addColumn<QString>("data");
        QTest::addColumn<int>("orientation");
        QTest::newRow("long title") << "A title far longer than the label is wide" << 10.0 << "AB" << 0;
        QTest::newRow("huge font") << "" << 60.0 << "AB" << 0;
        QTest::newRow("too many modules") << "" << 8.0 << "A very long text for a tiny cell" << 0;
        QTest::newRow("long title turned") << "A title far longer than the label is wide" << 10.0 << "AB" << 900;
    }

    void nothingSpillsOutOfTheCell()
    {
        QFETCH(QString, title);
        QFETCH(double, size);
        QFETCH(QString, data);
        QFETCH(int, orientation);
        Vantrel v;
        v.setBarType(8);
        v.setTitle(title);
        v.Font().setSize(size);
        v.setOrientation(orientation);
        v.setCaption(data);
        const QRect cell(100, 100, orientation ? 60 : 150, orientation ? 150 : 60);
        QImage page = blankPage(400, 400, 96);
        drawOn(v, page, cell);
        const QRect ink = Scan::inkBox(page, page.rect());
        QVERIFY(!ink.isNull());
        QVERIFY2(cell.contains(ink), qPrintable(QStringLiteral("ink at %1,%2 %3x%4").arg(ink.x()).arg(ink.y())
                                                    .arg(ink.width()).arg(ink.height())));
    }

    void unknownSymbologyDrawsNothing_data()
    {
        QTest::addColumn<int>("barType");
        QTest::newRow("typed text") << -1;
        QTest::newRow("past the list") << 99;
        QTest::newRow("just past the list") << 25;
    }

    void unknownSymbologyDrawsNothing()
    {
        QFETCH(int, barType);
        Vantrel v;
        v.setWidth(300);
        v.setHeight(100);
        v.setCaption(QStringLiteral("12345"));
        v.setBarType(std::int16_t(barType));
        QVERIFY(v.errorText().isEmpty());
        QVERIFY(allWhite(v.Picture()));
        QImage page = blankPage(400, 200, 300);
        drawOn(v, page, QRect(0, 0, 400, 200));
        QVERIFY(allWhite(page));
    }

    void alignmentPlacesSymbol_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::newRow("left") << 0;
        QTest::newRow("centre") << 1;
        QTest::newRow("right") << 2;
    }

    void alignmentPlacesSymbol()
    {
        QFETCH(int, alignment);
        Vantrel v;
        v.setWidth(1000);
        v.setHeight(120);
        v.setShowText(0);
        v.setBarType(8);
        v.setAlignment(std::int16_t(alignment));
        v.setCaption(QStringLiteral("AB"));
        const QImage image = v.Picture();
        const Scan::Runs runs = Scan::line(image, 60);
        int module = 0;
        QVERIFY(!Scan::modules(runs, &module).isEmpty());
        const int leftMargin = runs.firstDark;
        int inked = 0;
        for (int length : runs.lengths)
            inked += length;
        const int rightMargin = image.width() - leftMargin - inked;
        // Code 128 wants ten modules of quiet zone on each side.
        QVERIFY(leftMargin >= 10 * module && rightMargin >= 10 * module);
        switch (alignment) {
        case 0: QCOMPARE(leftMargin, 10 * module); break;
        case 1: QVERIFY(std::abs(leftMargin - rightMargin) <= 1); break;
        default: QCOMPARE(rightMargin, 10 * module); break;
        }
    }

    void scalingStretchesToWidth()
    {
        Vantrel v;
        v.setWidth(1000);
        v.setHeight(120);
        v.setShowText(0);
        v.setBarType(8);
        v.setCaption(QStringLiteral("AB"));
        v.setScaling(1);
        const QImage image = v.Picture();
        const QRect ink = Scan::inkBox(image, image.rect());
        // 2 x 11 + 35 modules of bars plus 20 of quiet zone fill 1000 pixels.
        QVERIFY(std::abs(ink.left() - 1000.0 * 10 / 77) <= 2);
        QVERIFY(std::abs(ink.right() + 1 - 1000.0 * 67 / 77) <= 2);
        QCOMPARE(Scan::zxingRead(image), QStringLiteral("AB"));
    }

    void titleAboveTextBelow()
    {
        Vantrel v;
        v.setWidth(600);
        v.setHeight(200);
        v.setBarType(8);
        v.Font().setSize(10);
        v.setShowText(1);
        v.setTitle(QStringLiteral("TITLE"));
        v.setCaption(QStringLiteral("DATA"));
        const QImage image = v.Picture();
        const Scan::Runs top = Scan::line(image, 100);
        const Scan::Runs bar = Scan::line(image, top.firstDark + 1, true);
        const int barTop = bar.firstDark;
        const int barBottom = bar.firstDark + bar.lengths.front();
        QVERIFY(barTop > 8);
        QVERIFY(!Scan::inkBox(image, QRect(0, 0, 600, barTop)).isNull());
        QVERIFY(!Scan::inkBox(image, QRect(0, barBottom, 600, 200)).isNull());
        v.setShowText(0);
        v.setTitle(QString());
        const QImage plain = v.Picture();
        QCOMPARE(Scan::line(plain, 0).lengths.empty(), false); // bars take the whole height
    }

    void barReductionNarrowsEveryBar()
    {
        SettingsStore store(m_dir.filePath(QStringLiteral("reduction.ini")));
        store.write(QStringLiteral("Vantrel options"), QStringLiteral("BarWidthReduction"), QStringLiteral("1"));
        Vantrel plain, reduced;
        reduced.setOptionsStore(&store);
        for (Vantrel *v : {&plain, &reduced}) {
            v->setWidth(800);
            v->setHeight(100);
            v->setShowText(0);
            v->setBarType(8);
            v->setCaption(QStringLiteral("Quill"));
        }
        const Scan::Runs a = Scan::line(plain.Picture(), 50);
        const Scan::Runs b = Scan::line(reduced.Picture(), 50);
        QCOMPARE(a.lengths.size(), b.lengths.size());
        for (size_t i = 0; i + 1 < a.lengths.size(); ++i)
            QCOMPARE(b.lengths[i], a.lengths[i] + (i % 2 == 0 ? -1 : 1));
        QCOMPARE(Scan::zxingRead(reduced.Picture()), QStringLiteral("Quill"));
    }

    void coloursFromOptions()
    {
        SettingsStore store(m_dir.filePath(QStringLiteral("colours.ini")));
        store.write(QStringLiteral("Vantrel options"), QStringLiteral("BarColor"), QStringLiteral("#000080"));
        store.write(QStringLiteral("Vantrel options"), QStringLiteral("BackColor"), QStringLiteral("#ffff00"));
        Vantrel v;
        v.setOptionsStore(&store);
        v.setWidth(400);
        v.setHeight(150);
        v.setBarType(8);
        v.setCaption(QStringLiteral("COLOUR"));
        const QString path = m_dir.filePath(QStringLiteral("colour.png"));
        v.SavePng(path, 400, 150);
        for (const QImage &image : {v.Picture(), QImage(path)}) {
            QSet<QRgb> colours;
            for (int y = 0; y < image.height(); y += 3)
                for (int x = 0; x < image.width(); ++x)
                    colours.insert(image.pixel(x, y) | 0xff000000u);
            QVERIFY(colours.contains(qRgb(0, 0, 0x80)));
            QVERIFY(colours.contains(qRgb(0xff, 0xff, 0)));
            QCOMPARE(Scan::zxingRead(image), QStringLiteral("COLOUR"));
        }
        // The PNG holds exactly the two colours: no dithered or blended pixels.
        QCOMPARE(QImage(path).colorCount(), 2);
    }

    void fontChangeShowsAtNextMemberSet()
    {
        Vantrel v;
        v.setWidth(500);
        v.setHeight(200);
        v.setBarType(8);
        v.Font().setSize(8);
        v.setShowText(1);
        v.setCaption(QStringLiteral("0123456789"));
        const auto textHeight = [&v] {
            const QImage shown = v.grab().toImage();
            const Scan::Runs top = Scan::line(shown, 2);
            const Scan::Runs bar = Scan::line(shown, top.firstDark + 1, true);
            const int barBottom = bar.firstDark + bar.lengths.front();
            return Scan::inkBox(shown, QRect(0, barBottom + 1, shown.width(), shown.height())).height();
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
        QCOMPARE(v.Left(), 132.5f);
        QCOMPARE(v.Top(), 7.25f);
        QCOMPARE(v.Width(), 300.75f);
        QCOMPARE(v.Height(), 99.5f);
        v.Font().setSize(14.123456);
        QCOMPARE(v.Font().Size(), 14.1235);
        v.Font().setSize(QStringLiteral("12.5"));
        QCOMPARE(v.Font().Size(), 12.5);
        QVERIFY_THROWS_EXCEPTION(QuillError, v.Font().setSize(QStringLiteral("big")));
        QCOMPARE(v.Font().Size(), 12.5);
    }

    void formatOptionsPersist()
    {
        const QString path = m_dir.filePath(QStringLiteral("format.ini"));
        {
            SettingsStore store(path);
            Vantrel v;
            v.setOptionsStore(&store);
            FormatOptionsDialog::setRunner([](FormatOptionsDialog &dialog) {
                dialog.customBox()->setCurrentIndex(dialog.customBox()->findText(QStringLiteral("Data Matrix")));
                dialog.msiBox()->setCurrentIndex(3);
                dialog.reductionBox()->setValue(2);
                return int(QDialog::Accepted);
            });
            v.ShowFormatOptions();
            FormatOptionsDialog::setRunner({});
        }
        SettingsStore store(path);
        Vantrel v;
        v.setOptionsStore(&store);
        v.setWidth(400);
        v.setHeight(400);
        v.setBarType(16);
        v.setCaption(QStringLiteral("Custom symbology"));
        QString format;
        QCOMPARE(Scan::zxingRead(v.Picture(), false, &format), QStringLiteral("Custom symbology"));
        QCOMPARE(format, QStringLiteral("DataMatrix"));

        // Cancelling keeps what was there.
        FormatOptionsDialog::setRunner([](FormatOptionsDialog &dialog) {
            dialog.customBox()->setCurrentIndex(0);
            return int(QDialog::Rejected);
        });
        v.ShowFormatOptions();
        FormatOptionsDialog::setRunner({});
        QCOMPARE(Scan::zxingRead(v.Picture(), false, &format), QStringLiteral("Custom symbology"));
        QCOMPARE(format, QStringLiteral("DataMatrix"));

        // Headless without a runner: returns at once and changes nothing.
        v.ShowFormatOptions();
        QCOMPARE(Scan::zxingRead(v.Picture(), false, &format), QStringLiteral("Custom symbology"));
        QCOMPARE(format, QStringLiteral("DataMatrix"));
    }

    void customDefaultsToQrWithoutStore()
    {
        Vantrel v;
        v.setWidth(300);
        v.setHeight(300);
        v.setBarType(16);
        v.setCaption(QStringLiteral("https://example.org/q"));
        QString format;
        QCOMPARE(Scan::zxingRead(v.Picture(), false, &format), QStringLiteral("https://example.org/q"));
        QCOMPARE(format, QStringLiteral("QRCode"));
    }

    void clipboardHoldsReadablePng()
    {
        Vantrel v;
        v.setWidth(400);
        v.setHeight(150);
        v.setBarType(8);
        v.setCaption(QStringLiteral("CLIP 42"));
        v.CopyToClipboard();
        const QImage pasted = QImage::fromData(Clipboard::data(QStringLiteral("image/png")), "PNG");
        QCOMPARE(Scan::zxingRead(pasted), QStringLiteral("CLIP 42"));
        // The metafile on the clipboard is the one the picture export takes.
        QVERIFY(!Clipboard::data(QString::fromLatin1(Clipboard::kWmfMime)).isEmpty());
        QCOMPARE(Clipboard::data(QString::fromLatin1(Clipboard::kWmfMime)), v.metafileBytes());
    }

    void metafileReadsBack_data()
    {
        QTest::addColumn<int>("barType");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("orientation");
        QTest::newRow("Code128") << 8 << "Meta 128" << "Meta 128" << 0;
        QTest::newRow("EAN-13 turned") << 0 << "590123412345" << "5901234123457" << 900;
        QTest::newRow("QR upside down") << 16 << "Metafile QR" << "Metafile QR" << 1800;
    }

    void metafileReadsBack()
    {
        QFETCH(int, barType);
        QFETCH(QString, data);
        QFETCH(QString, expected);
        QFETCH(int, orientation);
        // wmf2gd draws at 72 dpi, three quarters of the metafile's pixels: the
        // modules must stay a few pixels wide through that.
        Vantrel v;
        v.setWidth(orientation == 900 ? 500 : 1000);
        v.setHeight(orientation == 900 ? 1000 : 500);
        v.setBarType(std::int16_t(barType));
        v.setOrientation(orientation);
        v.setCaption(data);
        const QByteArray wmf = v.metafileBytes();
        QVERIFY(wmf.startsWith(QByteArray("\xd7\xcd\xc6\x9a", 4))); // placeable metafile key
        QFile file(m_dir.filePath(QStringLiteral("symbol.wmf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(wmf);
        file.close();
        const QString png = m_dir.filePath(QStringLiteral("symbol-from-wmf.png"));
        QProcess wmf2gd;
        wmf2gd.start(QStringLiteral("wmf2gd"), {QStringLiteral("-o"), png, file.fileName()});
        QVERIFY(wmf2gd.waitForFinished(30000));
        QCOMPARE(wmf2gd.exitCode(), 0);
        const QImage image(png);
        QVERIFY(!image.isNull());
        QCOMPARE(Scan::zxingRead(image), expected);
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
            const char *data;
            const char *expected;
            const char *text;
        } labels[] = {
            {8, "PDF-128", "PDF-128", "PDF-128"},
            {0, "590123412345", "5901234123457", "901234"},
            {24, "PDF417 on paper", "PDF417 on paper", "PDF417 on paper"},
        };
        {
            QPainter painter(&pdf);
            const std::int32_t handle = DeviceRegistry::add(&painter);
            int y = 150;
            for (const auto &label : labels) {
                v.setBarType(std::int16_t(label.barType));
                v.setCaption(QString::fromLatin1(label.data));
                v.DrawToDevice(handle, 300, y, 2400, 900);
                y += 1200;
            }
            DeviceRegistry::remove(handle);
        }
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdfPath, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        const QString extracted = QString::fromUtf8(text.readAllStandardOutput());
        for (const auto &label : labels)
            QVERIFY2(extracted.contains(QString::fromLatin1(label.text)), qPrintable(extracted));

        QProcess raster;
        const QString prefix = m_dir.filePath(QStringLiteral("page"));
        raster.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-png"),
                                                 QStringLiteral("-singlefile"), pdfPath, prefix});
        QVERIFY(raster.waitForFinished(60000));
        const QImage page(prefix + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        int y = 150 / 4;
        for (const auto &label : labels) {
            QCOMPARE(Scan::zxingRead(page.copy(0, y - 20, page.width(), 900 / 4 + 40)), QString::fromLatin1(label.expected));
            y += 1200 / 4;
        }
    }

    void unwritablePngNamesTheFile()
    {
        Vantrel v;
        v.setBarType(8);
        v.setCaption(QStringLiteral("X"));
        const QString path = m_dir.filePath(QStringLiteral("missing-folder/label.png"));
        try {
            v.SavePng(path, 200, 100);
            QFAIL("no error for an unwritable file");
        } catch (const QuillError &error) {
            QVERIFY2(error.description().contains(QStringLiteral("label.png")), qPrintable(error.description()));
        }
    }

    void unknownDeviceHandleRaises()
    {
        Vantrel v;
        v.setBarType(8);
        v.setCaption(QStringLiteral("X"));
        QVERIFY_THROWS_EXCEPTION(QuillError, v.DrawToDevice(-12345, 0, 0, 100, 100));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestVantrelDrawing)
#include "tst_vantrel_drawing.moc"
