// How the component draws apart from its outputs' sizes: text of the size the
// font asks, errors in place of a symbol, and its own options.
#include "Decode.h"
#include "FormatOptions.h"
#include "FormatOptionsDialog.h"
#include "ModuleSize.h"
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

// How a refusal begins: the symbology that accepts other data, or that there is none.
QString refusal(int barType, const QString &data)
{
    if (!symbologyAt(barType))
        return SymbolBuilder::noSymbologyMessage();
    if (data.size() > 160) // any Code 128 beyond its length
        return QStringLiteral("Code 128 accepts ");
    return SymbolBuilder::listNames()[barType] + QStringLiteral(" accepts ");
}
} // namespace

class TestVantrelDrawing : public QObject {
    Q_OBJECT
private slots:
    // A surface that tells no resolution counts as the screen's 96 dots an inch.
    void moduleOfUnknownResolution()
    {
        QCOMPARE(ModuleSize(Symbology::Code128, 2, 0, false).physical(),
                 ModuleSize(Symbology::Code128, 2, 96, false).physical());
        QCOMPARE(ModuleSize(Symbology::Code128, 0, 96, false).warning(), QString()); // nothing drawn
    }

    void initTestCase() { ScreenMetrics::overrideDpi(96, 96); }

    void invalidDataRaisesAndDrawsNoBars_data()
    {
        QTest::addColumn<int>("barType");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("says"); // where the message also names the data's fault
        // Data that only the encoder library refuses goes one way whatever the symbology: one row a way
        // (a letter, a check digit).
        const auto row = [](const char *name, Symbology barType, const QString &data, const char *says = "") {
            QTest::newRow(name) << int(barType) << data << QString::fromLatin1(says);
        };
        row("EAN-13 add-on alone", S::Ean13, "+12");
        row("EAN-13 check digit", S::Ean13, "5901234123458");
        row("EAN-8 too long", S::Ean8, "963850749");
        row("EAN-8 check digit", S::Ean8, "96385075");
        row("UPC-E number system 2", S::UpcE, "2123456");
        row("Code 39 lower case", S::Code39, "abc");
        row("Code 128 A lower case", S::Code128A, "abc");
        row("Code 128 B just beyond ASCII", S::Code128B, QStringLiteral("abc\u0080"));
        row("Code 128 C odd", S::Code128C, "12345");
        row("Code 128 C letters", S::Code128C, "12AB");
        row("Code 128 too long", S::Code128B, QString(161, u'x'));
        row("GS1-128 without AI", S::Ean128, "12345");
        row("ISSN check digit", S::Issn, "0317-8472");
        row("ISBN check digit", S::Isbn, "978-0-306-40615-8");
        row("Codabar letter", S::Codabar, "12X4", "(Invalid character in data"); // the encoder's reason
        row("2 of 5 too long", S::Post25, "12345678901234");
        row("empty", S::Code128, "");
        row("POSTNET 6 digits", S::Postnet, "123456");
        row("GS1 (01) check digit", S::Ean128, "[01]09501101530004",
            "the check digit of (01) is '4', it must be '3'");
        row("GS1 (00) check digit", S::Ean128, "(00)123456789012345678",
            "the check digit of (00) is '8', it must be '5'");
        row("GS1 (02) check digit", S::Ean128, "[02]12345678901234[10]A",
            "the check digit of (02) is '4', it must be '1'");
        row("GS1 two digits short", S::Ean128, "(00)0123456000000000");
        row("symbology -1", Symbology(-1), "12345");
        row("symbology past the last", Symbology(kSymbologyCount), "12345");
    }

    void invalidDataRaisesAndDrawsNoBars()
    {
        QFETCH(int, barType);
        QFETCH(QString, data);
        QFETCH(QString, says);
        Vantrel v;
        setUp(v, {.barType = barType, .data = data});
        const QString message = raised([&] { v.Picture(); });
        QVERIFY2(message.startsWith(refusal(barType, data)), qPrintable(message));
        QVERIFY2(message.contains(says), qPrintable(message));
        const QString png = m_dir.filePath(QStringLiteral("invalid.png"));
        QVERIFY_THROWS_EXCEPTION(QuillError, v.SavePng(png, 300, 100));
        QVERIFY(!QFile::exists(png));
        // The preview shows the message in the symbol's place, and no symbol.
        const QImage preview = v.grab().toImage();
        QVERIFY(!Decode::inkBox(preview, preview.rect()).isNull());
        QCOMPARE(Decode::zxingOne(preview), QString());
    }

    void formatOptionsPersist_data()
    {
        QTest::addColumn<QString>("stored"); // the custom symbology the options hold
        QTest::addColumn<QString>("colour"); // the bar colour they hold, if any
        QTest::addColumn<QString>("pick");
        QTest::addColumn<int>("answer"); // QDialog::Accepted or Rejected
        QTest::addColumn<QString>("shown"); // what the dialog showed first
        QTest::addColumn<QString>("drawn"); // the custom symbol before the dialog
        const QString navy = QStringLiteral("#000080");
        QTest::newRow("as written before, changed") << "58" << QString() << "Data Matrix" << 1 << "QR Code"
                                                    << "QRCode";
        QTest::newRow("cancelled") << "71" << navy << "QR Code" << 0 << "Data Matrix"
                                   << "DataMatrix";
        QTest::newRow("a symbology not offered") << "20" << QString() << "Data Matrix" << 1 << "QR Code"
                                                 << "QRCode";
    }
    // The custom symbology and the bar colour picked in the dialog, kept in the
    // options and drawn; a cancelled dialog keeps them.
    void formatOptionsPersist()
    {
        QFETCH(QString, stored);
        QFETCH(QString, colour);
        QFETCH(QString, pick);
        QFETCH(int, answer);
        QFETCH(QString, shown);
        QFETCH(QString, drawn);
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("format.ini"));
        const QString section = QStringLiteral("Vantrel options");
        SettingsStore(path).write(section, QStringLiteral("CustomSymbology"), stored);
        if (!colour.isEmpty())
            SettingsStore(path).write(section, QStringLiteral("BarColor"), colour);
        SettingsStore store(path);
        Vantrel v;
        v.design().setOptionsStore(&store);
        setUp(v, {.width = 400, .height = 400, .barType = int(S::Custom), .data = QStringLiteral("Custom")});
        QCOMPARE(Decode::zxingRead(v.Picture()).format, drawn);
        ScriptedDialogs dialogs;
        QString was;
        dialogs.onColor = [](const QColor &) { return std::optional(QColor(0, 0, 0x80)); };
        dialogs.onDialog = [&](QDialog &dialog) {
            QComboBox *box = dialog.findChild<QComboBox *>(); // the first: "Custom"
            was = box->currentText();
            box->setCurrentIndex(box->findText(pick));
            dialog.findChild<QPushButton *>()->click(); // the bar colour
            return answer;
        };
        v.ShowFormatOptions(dialogs);
        dialogs.onDialog = {};
        v.ShowFormatOptions(dialogs);
        QCOMPARE(was, shown);
        QCOMPARE(store.read(section, QStringLiteral("CustomSymbology"), {}), QStringLiteral("71"));
        setUp(v, {.width = 400, .height = 400, .barType = int(S::Custom), .data = QStringLiteral("Custom")});
        const QImage picture = v.Picture();
        QCOMPARE(Decode::zxingRead(picture).format, QStringLiteral("DataMatrix"));
        const QPoint finderCorner = Decode::inkBox(picture, picture.rect()).topLeft();
        QCOMPARE(picture.pixel(finderCorner), qRgb(0, 0, 0x80));
    }

    void outputErrorsRaise()
    {
        Vantrel v;
        setUp(v, {.data = QStringLiteral("X")});
        QVERIFY_THROWS_EXCEPTION(QuillError, v.DrawToDevice(-12345, 0, 0, 100, 100));
    }

    void pictureSizeLimits_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("written");
        // 40 pixels high: bars under 2 mm are refused.
        QTest::newRow("32767 wide") << "png" << QSize(32767, 40) << true;
        QTest::newRow("32768 wide") << "png" << QSize(32768, 40) << false;
        QTest::newRow("no height") << "png" << QSize(200, 0) << false;
        QTest::newRow("bitmap too wide") << "bmp" << QSize(40000, 40) << false;
        QTest::newRow("bitmap of too many pixels") << "bmp" << QSize(20000, 20000) << false;
        QTest::newRow("drawing a million wide") << "svg" << QSize(1000000, 40) << true;
        QTest::newRow("drawing wider") << "svg" << QSize(1000001, 40) << false;
    }
    // 1 to 32,767 pixels a side (a drawing's: a million): the edges of that range are written, beyond
    // them nothing; a bitmap too large is refused before anything of its size is allocated.
    void pictureSizeLimits()
    {
        QFETCH(QString, format);
        QFETCH(QSize, size);
        QFETCH(bool, written);
        Vantrel v;
        setUp(v, {.data = QStringLiteral("X")});
        const QString path = m_dir.filePath(QStringLiteral("edge.") + format);
        QFile::remove(path);
        if (format == u"png")
            raised([&] { v.SavePng(path, size.width(), size.height()); });
        if (format == u"bmp")
            raised([&] { v.design().saveBitmap(path, size.width(), size.height()); });
        const auto svg = SymbolDesign::Drawing::Svg;
        if (format == u"svg")
            raised([&] { v.design().saveDrawing(path, svg, size.width(), size.height()); });
        QCOMPARE(QFile::exists(path), written);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestVantrelDrawing)
#include "tst_vantrel_drawing.moc"
