// How the component draws apart from its outputs' sizes: text of the size the
// font asks, errors in place of a symbol, and its own options.
#include "Decode.h"
#include "FormatOptionsDialog.h"
#include "Scan.h"
#include "ScreenMetrics.h"
#include "ScriptedDialogs.h"
#include "SettingsStore.h"
#include "SymbolBuilder.h"
#include "Vantrel.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
using S = Symbology;
using Scan::setUp;
bool allWhite(const QImage &image) { return Decode::inkBox(image, image.rect()).isNull(); }

// Height of the ink below the bars that row 2 crosses: the text.
int textHeight(const QImage &image)
{
    const int x = Decode::inkBox(image, QRect(0, 2, image.width(), 1)).left();
    int y = 2;
    while (y < image.height() && Scan::isDark(image.pixel(x, y)))
        ++y;
    return Decode::inkBox(image, QRect(0, y + 1, image.width(), image.height())).height();
}
} // namespace

class TestVantrelDrawing : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ScreenMetrics::overrideDpi(96, 96); }

    // Text as high as the font asks, in points at the screen's resolution on
    // every surface: the printing run scales the size by printer dpi / screen
    // dpi (14 -> 87.5 at 600 dpi); digits stand about 0.7 of the em in
    // Liberation Sans. A font change shows from the next member set on.
    void textHeightFollowsScreenPoints()
    {
        for (const auto &[dpi, size] : {std::pair{600, 87.5}, std::pair{96, 14.0}}) {
            Vantrel v;
            setUp(v, {.width = 500, .height = 200, .data = QStringLiteral("0123456789"), .fontSize = size * 8 / 14});
            const int before = textHeight(v.grab().toImage());
            v.Font().setSize(size);
            QCOMPARE(textHeight(v.grab().toImage()), before);
            v.setShowText(1); // the same value: still redraws with the new font
            QVERIFY(dpi != 96 || textHeight(v.grab().toImage()) > before * 3 / 2);
            QImage page = Scan::page(dpi * 5, dpi * 2, dpi);
            Scan::drawOn(v, page, page.rect());
            const double ratio = textHeight(page) / (14.0 * dpi / 72);
            QVERIFY2(ratio > 0.64 && ratio < 0.76, qPrintable(QStringLiteral("%1 dpi: %2").arg(dpi).arg(ratio)));
        }
    }

    void invalidDataRaisesAndDrawsNoBars_data()
    {
        QTest::addColumn<int>("barType");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("says");
        struct Refused {
            Symbology barType;
            QString data;
            QString says = {}; // where the message also names the data's fault
        };
        const Refused rows[] = {
            {S::Ean13, "ABCDEFGHIJKL"}, {S::Ean13, "+12"}, {S::Ean13, "5901234123458"}, {S::Ean13, "59012341234577"}, // EAN-13: letters, add-on alone, check digit, length
            {S::Ean8, "963850749"}, {S::Ean8, "96385075"}, {S::UpcE, "2123456"}, {S::UpcE, "01234566"}, // EAN-8, UPC-E: length, check, system 2
            {S::Ean2, "123"}, {S::UpcA, "03600029145A"}, {S::Code39, "abc"}, {S::Code128A, "abc"}, {S::Code128B, QStringLiteral("caf\u00e9")},
            {S::Code128C, "12345"}, {S::Code128C, "12AB"}, {S::Code128B, QString(161, u'x')}, {S::Ean128, "12345"}, // Code128C odd, letters; too long; no AI
            {S::Issn, "0317-8472"}, {S::Isbn, "978-0-306-40615-8"}, {S::Codabar, "12X4"}, {S::Interleaved2of5, "12AB"}, {S::Post25, "12345678901234"},
            {S::MsiPlessey, "12A"}, {S::Code128, ""}, {S::Postnet, "123456"}, {S::Postnet, "1234"},
            {S::Ean128, "[01]09501101530004", "the check digit of (01) is '4', it must be '3'"},
            {S::Ean128, "(00)123456789012345678", "the check digit of (00) is '8', it must be '5'"},
            {S::Ean128, "[02]12345678901234[10]A", "the check digit of (02) is '4', it must be '1'"},
            {S::Ean128, "(00)0123456000000000"}, // two digits short
            {Symbology(-1), "12345"}, {Symbology(kSymbologyCount), "12345"}}; // no symbology
        for (const auto &[barType, data, says] : rows)
            QTest::addRow("%d %s", int(barType), qPrintable(data.left(22))) << int(barType) << data << says;
    }

    void invalidDataRaisesAndDrawsNoBars()
    {
        QFETCH(int, barType);
        QFETCH(QString, data);
        QFETCH(QString, says);
        Vantrel v;
        setUp(v, {.barType = barType, .data = data});
        const QString named = !symbologyAt(barType) ? SymbolBuilder::noSymbologyMessage()
                              : (data.size() > 160 ? QStringLiteral("Code 128") : SymbolBuilder::listNames()[barType])
                                    + QStringLiteral(" accepts ");
        const QString message = raised([&] { v.Picture(); });
        QVERIFY2(message.startsWith(named) && message.contains(says), qPrintable(message));
        const QString png = m_dir.filePath(QStringLiteral("invalid.png"));
        QVERIFY_THROWS_EXCEPTION(QuillError, v.SavePng(png, 300, 100));
        QVERIFY(!QFile::exists(png));
        QVERIFY_THROWS_EXCEPTION(QuillError, v.CopyToClipboard());
        QImage page = Scan::page(600, 300, 300);
        QVERIFY_THROWS_EXCEPTION(QuillError, Scan::drawOn(v, page, QRect(10, 10, 500, 200)));
        QVERIFY(allWhite(page));
        // The preview shows the message in the symbol's place, and no symbol.
        const QImage preview = v.grab().toImage();
        QVERIFY(!allWhite(preview) && Decode::zxingOne(preview).isEmpty());
    }

    // Bar width reduction and colours from the options store; the PNG holds
    // exactly the two colours, no dithered or blended pixels.
    void optionsNarrowBarsAndColour()
    {
        SettingsStore store(m_dir.filePath(QStringLiteral("options.ini")));
        for (const auto &[key, value] : {std::pair{"BarWidthReduction", "1"}, {"BarColor", "#000080"}, {"BackColor", "#ffff00"}})
            store.write(QStringLiteral("Vantrel options"), QLatin1String(key), QLatin1String(value));
        Vantrel plain, styled;
        styled.design().setOptionsStore(&store);
        for (Vantrel *v : {&plain, &styled})
            setUp(*v, {.width = 800, .height = 100, .data = QStringLiteral("Quill")});
        const QImage a = plain.Picture(), b = styled.Picture(); // each bar a pixel narrower on its right
        for (int x = 0; x + 1 < a.width(); ++x)
            QCOMPARE(Scan::isDark(b.pixel(x, 50)), Scan::isDark(a.pixel(x, 50)) && Scan::isDark(a.pixel(x + 1, 50)));
        const QString path = m_dir.filePath(QStringLiteral("colour.png"));
        styled.SavePng(path, 800, 100);
        const QImage png(path);
        const QList<QRgb> colours = png.colorTable();
        QCOMPARE(QSet<QRgb>(colours.begin(), colours.end()), (QSet<QRgb>{qRgb(0, 0, 0x80), qRgb(0xff, 0xff, 0)}));
        QCOMPARE(Decode::zxingOne(png), QStringLiteral("Quill"));
    }

    void formatOptionsPersist()
    {
        const QString path = m_dir.filePath(QStringLiteral("format.ini")), section = QStringLiteral("Vantrel options");
        SettingsStore(path).write(section, QStringLiteral("CustomSymbology"), QStringLiteral("58")); // as written before
        for (const auto &[pick, answer, shown] : {std::tuple{"Data Matrix", QDialog::Accepted, "QR Code"}, {"QR Code", QDialog::Rejected, "Data Matrix"}}) {
            SettingsStore store(path);
            Vantrel v;
            v.design().setOptionsStore(&store);
            ScriptedDialogs dialogs;
            QString was;
            dialogs.onColor = [](const QColor &) { return std::optional(QColor(0, 0, 0x80)); };
            dialogs.onDialog = [pick, answer, &was](QDialog &dialog) {
                QComboBox *box = dialog.findChild<QComboBox *>(); // the first: "Custom"
                was = box->currentText();
                box->setCurrentIndex(box->findText(QLatin1String(pick)));
                dialog.findChild<QPushButton *>()->click(); // the bar colour
                return int(answer);
            };
            v.ShowFormatOptions();
            dialogs.onDialog = {};
            v.ShowFormatOptions();
            QCOMPARE(was, QLatin1String(shown));
            QCOMPARE(store.read(section, QStringLiteral("CustomSymbology"), {}), QStringLiteral("71"));
            setUp(v, {.width = 400, .height = 400, .barType = int(S::Custom), .data = QStringLiteral("Custom symbology")});
            const QImage picture = v.Picture();
            QCOMPARE(Decode::zxingRead(picture).format, QStringLiteral("DataMatrix"));
            QCOMPARE(picture.pixel(Decode::inkBox(picture, picture.rect()).topLeft()), qRgb(0, 0, 0x80)); // the finder's corner
        }
    }

    void outputErrorsRaise()
    {
        Vantrel v;
        setUp(v, {.data = QStringLiteral("X")});
        QVERIFY_THROWS_EXCEPTION(QuillError, v.DrawToDevice(-12345, 0, 0, 100, 100));
        const QString missing = m_dir.filePath(QStringLiteral("missing-folder/label.png"));
        const QString message = raised([&] { v.SavePng(missing, 200, 100); });
        QVERIFY2(message.contains(QStringLiteral("label.png")), qPrintable(message));
        // 1 to 32,767 pixels a side: the edges of that range are written, beyond them nothing (40 pixels
        // high: bars under 2 mm are refused).
        const QString png = m_dir.filePath(QStringLiteral("edge.png"));
        const std::tuple<int, int, bool> sizes[] = {{32767, 40, true}, {32768, 40, false}, {200, 0, false}};
        for (const auto &[w, h, written] : sizes) {
            QFile::remove(png);
            raised([&] { v.SavePng(png, w, h); });
            QCOMPARE(QFile::exists(png), written);
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestVantrelDrawing)
#include "tst_vantrel_drawing.moc"
