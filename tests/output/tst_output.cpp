// The output commands and the print dialog driven through a stand-in
// designer, their results read back from outside: saved pictures by
// QImageReader, zxing-cpp and wmf2svg. The sheets themselves: tst_core.
#include "HelpDocument.h"
#include "OutputCommands.h"
#include "PictureNames.h"
#include "ScreenMetrics.h"
#include "SymbolBuilder.h"
#include "frmPrint.h"
#include "PrinterObject.h"
#include "StandInDesigner.h"
#include "Symbology.h"

#include "Decode.h"
#include "Files.h"
#include "common/Raised.h"

#include <QtTest>
#include <QtWidgets>

// The PDF file printer on US letter, printing to a file of the designer's folder.
static QString usePdfFile(StandInDesigner &designer, const QString &name = QStringLiteral("labels.pdf"))
{
    PrinterObject::current().selectPdfFile(name.isEmpty() ? QString() : designer.dir.filePath(name));
    PrinterObject::current().setMedia(QPageSize(QPageSize::Letter), QPageLayout::Portrait);
    return designer.dir.filePath(name);
}

class OutputTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { ScreenMetrics::overrideDpi(96, 96); }

    // The focus order, first on the page left margin; the unit follows the
    // designer; what the store holds after each way of closing, from "1" in
    // every entry and the page left margin edited to "2,5".
    void dialog()
    {
        for (const QString how : {"Cancel", "Esc", "close box"}) {
            StandInDesigner designer;
            designer.store.write("Page margins", "Left", "1");
            designer.o4 = how != "Cancel", designer.o5 = how == "Cancel";
            {
                frmPrint d(designer);
                QCOMPARE(d.twipsPerUnit, how == "Cancel" ? 567.0 : 1440.0);
                d.show();
                QVERIFY(QTest::qWaitForWindowActive(&d));
                for (QWidget *want : QList<QWidget *>{d.Text6, d.Text7, d.Text8, d.Text9, d.Text1, d.Text2, d.Text4, d.Text5,
                                                      d.OKButton, d.CancelButton, d.Command1, d.Text3}) {
                    QCOMPARE(QApplication::focusWidget(), want);
                    QTest::keyClick(want, Qt::Key_Tab);
                }
                d.Text6->setText("2,5");
                how == "Cancel" ? d.CancelButton->click() : how == "Esc" ? QTest::keyClick(&d, Qt::Key_Escape) : (void)d.close();
                QVERIFY(d.isUnloaded() && !d.isVisible());
            }
            QCOMPARE(frmPrint(designer).Text6->text(), how == "close box" ? "2,5" : "1"); // as stored
        }
        // Toolbar button 3 opens it modally, and the designer can close it.
        StandInDesigner designer;
        OutputCommands commands(designer);
        bool wasOpen = false;
        QTimer::singleShot(0, [&] { wasOpen = qobject_cast<frmPrint *>(QApplication::activeModalWidget()), commands.closePrintDialog(); });
        commands.Toolbar1_ButtonClick(3);
        QVERIFY(wasOpen && !QApplication::activeModalWidget());
    }

    // A spoiled field stops the run with one message: nothing is printed, the
    // file printed before stays whole, the font size is as before and the
    // dialog stays open.
    void failures()
    {
        const QList<std::array<const char *, 3>> rows{
            {"Text6", "", "Page margins \"Left\": A number is needed"},
            {"Text2", "abc", "Barcode margins \"Right\": \"abc\" is not a number"},
            {"Text9", "x", "Page margins \"Bottom\""},
            {"width", "", "Symbol \"Width\""},
            {"width", "0", "0 wide"},
            {"width", "0.000000001", "Overflow"},
            {"Text1", "0.5;0", "would not lie wholly on the page"}, // a symbol 0 wide in a wider cell
            {"Text8", "10.5", "No label fits on the page: a label of 2 × 1 in (symbol and barcode margins) leaves "
                              "room for 4 column(s) and 0 row(s)"},
            {"Text6", "-100", "reach from -100 to 8 in across and from 0 to 11 in down, on a page of 8.5 × 11 in"},
            {"Text7", "-3", "reach from 0 to 10 in across"},
            {"bartype", "", "No symbology is chosen"},
            {"bartype", "EAN-2", "Label 100 (page 3), value \"100\": "}, // EAN-2 takes 2 digits
            {"printer", "", "\"Printer setup\""},
            {"printer", "gone/labels.pdf", "gone/labels.pdf cannot be written"}};
        for (const auto &[what, typed, says] : rows) {
            StandInDesigner designer;
            StandInDialogs dialogs;
            designer.sequence("1", "100");
            designer.vantrel().Font().setSize(9.5);
            const QString earlier = usePdfFile(designer);
            QVERIFY(plant(earlier, "printed yesterday"));
            if (QString(what) == "printer")
                usePdfFile(designer, typed);
            frmPrint dialog(designer);
            QLineEdit *spoiled = QMap<QString, QLineEdit *>{{"Text1", dialog.Text1}, {"Text2", dialog.Text2},
                {"Text5", dialog.Text5}, {"Text6", dialog.Text6}, {"Text7", dialog.Text7}, {"Text8", dialog.Text8}, {"Text9", dialog.Text9}}.value(what);
            if (spoiled)
                spoiled->setText(QString(typed).section(u';', 0, 0));
            if (QString(what) == "width" || QString(typed).contains(u';'))
                designer.width = QString(typed).section(u';', -1);
            if (QString(what) == "bartype")
                designer.vantrel().setBarType(*typed ? 3 : -1);
            dialog.OKButton_Click();
            QVERIFY2(dialogs.messages.size() == 1 && dialogs.messages[0].title == "Printing error!"
                         && dialogs.messages[0].text.contains(says), qPrintable(dialogs.allText()));
            QVERIFY(!dialog.isUnloaded() && !PrinterObject::current().isPrinting());
            QCOMPARE(designer.vantrel().Font().Size(), 9.5);
            QCOMPARE(contents(earlier), QByteArray("printed yesterday"));
            QCOMPARE(QDir(designer.dir.path()).entryList({"*.pdf", "*.part*"}, QDir::Files | QDir::Hidden).size(), 1);
        }
    }

    // The module on the chosen printer, as the dialog's label shows it, and the
    // warning before printing: OK prints, Cancel leaves the dialog open with
    // nothing printed. One dot warns at 300 dpi or less; POSTNET has no
    // standard module, so its single dot warns at 300 dpi but not above.
    void moduleOnPrinter_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("barType");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("width"); // inches
        QTest::addColumn<bool>("goOn");     // the warning's answer: OK
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("warning"); // its end; empty: none shown
        QTest::addColumn<bool>("printed");
        const int code128 = int(Symbology::Code128);
        const int postnet = int(Symbology::Postnet);
        const QString belowStandard = "is below the 0.191 mm its symbology's standard asks for: scanners may "
                                      "not read the symbol. Make the symbol wider or use a finer resolution.";
        const QString oneDot = "is a single dot: on paper bars one dot wide are the first to fail. Make the "
                               "symbol wider or print at a finer resolution.";
        QTest::newRow("203 dpi")
            << 203 << code128 << "HELLO-42" << "2.00" << true
            << "module 0.25 mm (9.9 mils), 2 dots at 203 dpi" << "" << true;
        QTest::newRow("300 dpi")
            << 300 << code128 << "HELLO-42" << "2.00" << true
            << "module 0.339 mm (13.3 mils), 4 dots at 300 dpi" << "" << true;
        QTest::newRow("203 dpi, one dot under the standard, OK")
            << 203 << code128 << "HELLO-42" << "1.00" << true
            << "module 0.125 mm (4.9 mils), 1 dot at 203 dpi" << belowStandard << true;
        QTest::newRow("203 dpi, one dot under the standard, Cancel")
            << 203 << code128 << "HELLO-42" << "1.00" << false
            << "module 0.125 mm (4.9 mils), 1 dot at 203 dpi" << belowStandard << false;
        QTest::newRow("POSTNET, one dot at 300 dpi")
            << 300 << postnet << "12345" << "0.30" << true
            << "module 0.085 mm (3.3 mils), 1 dot at 300 dpi" << oneDot << true;
        QTest::newRow("POSTNET, one dot at 600 dpi")
            << 600 << postnet << "12345" << "0.15" << true
            << "module 0.042 mm (1.7 mils), 1 dot at 600 dpi" << "" << true;
    }
    void moduleOnPrinter()
    {
        QFETCH(int, dpi);
        QFETCH(int, barType);
        QFETCH(QString, data);
        QFETCH(QString, width);
        QFETCH(bool, goOn);
        QFETCH(QString, label);
        QFETCH(QString, warning);
        QFETCH(bool, printed);
        StandInDesigner designer;
        StandInDialogs dialogs;
        dialogs.goOn = goOn;
        designer.source(1);
        designer.t1 = data;
        designer.vantrel_.setBarType(std::int16_t(barType));
        designer.vantrel_.setCaption(data);
        designer.width = width;
        const QString pdf = usePdfFile(designer);
        PrinterObject::current().setResolution(dpi);
        frmPrint dialog(designer);
        QCOMPARE(dialog.ModuleLabel->text(), label);
        dialog.OKButton_Click();
        QCOMPARE(dialogs.warnings.join(u'\n').section(", ", 2), warning);
        QCOMPARE(dialogs.allText(), QString());
        QCOMPARE(dialog.isUnloaded(), printed);
        QCOMPARE(QFileInfo::exists(pdf), printed);
    }

    // A run saved under the name chosen: the import lines (none: the sequence
    // 001 to 003), the symbology, the symbol's size in twips, the files
    // expected (decoded: file=value), the PNG pixels, a folder made where a file
    // should go, and what the one message says (none: no message).
    void runs()
    {
        struct Run { const char *name; QStringList lines; QString chosen; std::int16_t barType; double w, h;
                     QStringList files; QSize pixels = {}; QString blocker = {}, says = {};
                     ImportColumns columns = {};
                     int dpi = 0; QString warns = {}; bool goOn = true; };
        const ImportColumns sku{.delimiter = ImportColumns::Delimiter::Detect,
                                .header = true,
                                .valueTemplate = "{sku}",
                                .titleTemplate = "{name}"};
        const QStringList bmps{"item_002.bmp=002", "item_003.bmp=003"}, pngs{"item.png=001", "item_002.png=002", "item_003.png=003"};
        const Run runs[] = {
            {"bmp", {}, "item.bmp", 8, 4800, 1800, QStringList{"item.bmp=001"} + bmps},
            {"PNG is a bitmap", {}, "item.PNG", 8, 4800, 1800, QStringList{"item.PNG=001"} + bmps},
            // PNGs at the screen size: 15 twips a pixel, halves to the even neighbour.
            {"png, halves", {}, "item.png", 8, 2887.5, 1462.5, pngs, {192, 98}},
            {"png, below half", {}, "item.png", 8, 3127, 1507, pngs, {208, 100}},
            {"wmf", {}, "item.wmf", 8, 4800, 1800, {"item.wmf=", "item_002.wmf=", "item_003.wmf="}},
            // Drawings by the name's last letters, compared exactly; rasterised by rsvg-convert.
            {"svg", {}, "item.svg", 8, 4800, 1800,
             {"item.svg=001", "item_002.svg=002", "item_003.svg=003"}, {320, 120}},
            {"SVG is a bitmap", {}, "item.SVG", 8, 4800, 1800, QStringList{"item.SVG=001"} + bmps},
            // Every line a value; unsafe values stay in the folder and never replace an
            // earlier file; a blank is kept.
            {"unsafe values", {"A1", "../../x", "a/b", "A1", "a_b", "..", "A B"}, "item.bmp", 8, 4800, 1800,
             {"item.bmp=A1", "item_.._.._x.bmp=../../x", "item_a_b.bmp=a/b", "item_A1.bmp=A1", "item_a_b_2.bmp=a_b", "item___.bmp=..", "item_A B.bmp=A B"}},
            {"empty first value", {"", "A-1", "B-2"}, "item.bmp", 8, 4800, 1800, {"item_A-1.bmp=A-1", "item_B-2.bmp=B-2"}},
            {"only an empty value", {""}, "item.bmp", 8, 4800, 1800, {}, {}, {}, "No picture was saved"},
            {"no symbology", {}, "item.bmp", -1, 4800, 1800, {}, {}, {}, "No symbology is chosen"},
            {"width 0", {}, "item.bmp", 8, 0, 1800, {}, {}, {}, "at 0 x 120 pixels the symbol has no room"},
            {"png height below 0", {}, "item.png", 8, 2880, -30, {}, {}, {}, "at 192 x -2 pixels"},
            {"folder gone", {"1", "2"}, "gone/item.bmp", 8, 4800, 1800, {}, {}, {}, "gone/item.bmp"},
            {"folder in the way", {"1", "2"}, "item.bmp", 8, 4800, 1800, {"item.bmp=1"}, {}, "item_2.bmp", "value \"2\""},
            {"EAN-13 letters", {"590123412345", "ABC"}, "item.bmp", 0, 4800, 1800, {"item.bmp=5901234123457"}, {}, {},
             "value \"ABC\": its picture was not saved as \"%1/item_ABC.bmp\".\nEAN-13 accepts up to 13 digits (fewer than "
             "12 are padded with leading zeros"},
            // Columns: the run stops before the row without a value; the files before it stay.
            {"bad row", {"sku,name", "A1,x", "B2,y", ",z", "D4,w"}, "item.bmp", 8, 4800, 1800,
             {"item.bmp=A1", "item_B2.bmp=B2"}, {}, {}, "Line 4 of the import file", sku},
            // 1.25 in at 300 dpi: 3 pixels a module, under EAN-13's 0.264 mm; warned of first.
            {.name = "EAN-13 module warned, OK",
             .lines = {"590123412345"},
             .chosen = "item.png",
             .barType = 0,
             .w = 1800,
             .h = 1800,
             .files = {"item.png=5901234123457"},
             .pixels = {375, 375},
             .dpi = 300,
             .warns = "The module 0.254 mm (10 mils), 3 pixels at 300 dpi"},
            {.name = "EAN-13 module warned, Cancel",
             .lines = {"590123412345"},
             .chosen = "item.png",
             .barType = 0,
             .w = 1800,
             .h = 1800,
             .files = {},
             .dpi = 300,
             .warns = "The module 0.254 mm (10 mils), 3 pixels at 300 dpi",
             .goOn = false}};
        for (const Run &r : runs) {
            const QString out = m_dir.filePath(r.name);
            QVERIFY(QDir().mkpath(out) && (r.blocker.isEmpty() || QDir(out).mkdir(r.blocker)));
            StandInDesigner designer;
            StandInDialogs dialogs;
            OutputCommands commands(designer);
            QFile file(designer.t4 = designer.dir.filePath("import.txt"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(r.lines.join("\r\n").toUtf8() + "\r\n"));
            file.close(), designer.source(r.lines.isEmpty() ? 2 : 3), designer.vantrel_.setBarType(r.barType);
            designer.columns = r.columns;
            designer.vantrel_.setCaption(r.lines.value(0)); // the window previews the first line
            designer.widthTwips_ = r.w, designer.heightTwips_ = r.h;
            designer.vantrel_.setWidth(float(r.w / 15)), designer.vantrel_.setHeight(float(r.h / 15));
            QGuiApplication::clipboard()->setText(QStringLiteral("the user's own text"));
            dialogs.saveAnswer = out + u'/' + r.chosen;
            dialogs.pictureDpi = r.dpi;
            dialogs.goOn = r.goOn;
            commands.mnuSave_Click();
            QCOMPARE(dialogs.warnings.join(u'\n').section(", is ", 0, 0), r.warns);

            QVERIFY2(dialogs.messages.size() == !r.says.isEmpty() && dialogs.allText().contains(QString(r.says).replace("%1", out)),
                     qPrintable(dialogs.allText()));
            QStringList files = QDir(out).entryList(QDir::Files | QDir::Hidden), expected; // nothing half-written
            for (const QString &entry : r.files)
                expected << entry.section(u'=', 0, 0);
            QCOMPARE((files.sort(), files), (expected.sort(), expected));
            for (const QString &entry : r.files) {
                const QString path = out + u'/' + entry.section(u'=', 0, 0);
                QImageReader reader(path);
                QProcess wmf2svg;
                if (r.chosen.endsWith("wmf")) {
                    wmf2svg.start(QStringLiteral("wmf2svg"), {QStringLiteral("-o"), path + ".svg", path});
                    QVERIFY2(wmf2svg.waitForFinished(30000) && wmf2svg.exitCode() == 0, qPrintable(path));
                    continue;
                }
                if (r.chosen.endsWith("svg")) {
                    QProcess rsvg;
                    rsvg.start(QStringLiteral("rsvg-convert"), {QStringLiteral("-o"), path + ".png", path});
                    QVERIFY2(rsvg.waitForFinished(30000) && rsvg.exitCode() == 0, qPrintable(path));
                    reader.setFileName(path + ".png");
                }
                const bool png = r.chosen.endsWith("png") || r.chosen.endsWith("svg"); // SVG rasterised as PNG
                const QByteArray format = png ? "png" : "bmp";
                QVERIFY(reader.format() == format && (!r.pixels.isValid() || reader.size() == r.pixels));
                QCOMPARE(Decode::zxingOne(reader.read()), entry.section(u'=', 1));
            }
            if (r.says.isEmpty() && r.goOn) // the preview ends on the last value
                QCOMPARE(designer.vantrel_.Caption(), r.lines.isEmpty() ? QStringLiteral("003") : r.lines.last());
            QVERIFY(QGuiApplication::clipboard()->text() == "the user's own text" && !heldOpen(designer.t4));
        }
    }

    // The dialog's settings; a cancel writes nothing. Copy (menu or toolbar
    // button 1) puts a metafile and a PNG or says why not; button 2 saves (the
    // Text source: one file); others do nothing; About.
    void commands()
    {
        const QList<std::tuple<int, std::int16_t, QString>> rows{
            {0, 8, "copied"}, {0, -1, SymbolBuilder::noSymbologyMessage()}, {1, 8, "copied"}, {2, 8, "saved"},
            {2, 8, ""}, {4, 8, ""}, {5, 8, "Vantrel control version 5.1.5"}};
        for (const auto &[button, barType, result] : rows) {
            StandInDesigner designer;
            StandInDialogs dialogs;
            OutputCommands commands(designer);
            designer.source(1), designer.t1 = QStringLiteral("HELLO 42");
            designer.vantrel_.setBarType(barType), designer.vantrel_.setCaption(QStringLiteral("COPY-7"));
            designer.vantrel_.setWidth(320), designer.vantrel_.setHeight(120);
            QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
            if (result == "saved")
                dialogs.saveAnswer = designer.dir.filePath("tool.bmp");
            button == 5 ? commands.mnuAbout_Click() : button ? commands.Toolbar1_ButtonClick(button) : commands.mnuCopy_Click();
            QCOMPARE(dialogs.allText(), result == "copied" || result == "saved" ? QString() : result);
            QCOMPARE(dialogs.saveCalls, button == 2 ? 1 : 0);
            QCOMPARE(Decode::zxingOne(QImage(designer.dir.filePath("tool.bmp"))), result == "saved" ? "HELLO 42" : QString());
            QCOMPARE(designer.vantrel_.Caption(), QString(result == "saved" ? "HELLO 42" : "COPY-7"));
            const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
            QCOMPARE(mime->text() == QStringLiteral("untouched"), result != "copied");
            if (result == "copied")
                QVERIFY(!mime->data("image/x-wmf").isEmpty()
                        && Decode::zxingOne(QImage::fromData(mime->data("image/png"), "PNG")) == "COPY-7");
        }
    }

    void help_data()
    {
        QTest::addColumn<bool>("blocked");
        QTest::newRow("the user's cache") << false;
        QTest::newRow("a file where the cache folder should be") << true;
    }
    void help()
    {
        QFETCH(bool, blocked);
        const QString cache = m_dir.filePath(blocked ? "blocked" : "cache");
        qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
        if (blocked) {
            // A file in the way stops root as it stops anybody.
            QVERIFY(plant(cache, {}));
            const QString page = cache + u'/' + QCoreApplication::applicationName() + "/quillmark-help.html";
            const QString says = QStringLiteral("Cannot write \"%1\": its folder \"%2\" cannot be made: %3.")
                                     .arg(page, cache, QString::fromLocal8Bit(strerror(ENOTDIR)));
            QCOMPARE(raised([] { HelpDocument::writeUserPage(); }), says);
            return;
        }
        StandInDesigner designer;
        StandInDialogs dialogs;
        OutputCommands(designer).mnuHelp_Click();
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.allText()));
        QVERIFY2(dialogs.opened.startsWith(m_dir.path()), qPrintable(dialogs.opened));
        const QString html = QString::fromUtf8(contents(dialogs.opened));
        QVERIFY(html.contains("Printing a sheet of labels") && html.contains("docs/sheet.png") && !html.contains("quillbench"));
        QVERIFY(QFileInfo(QUrl(html.section("<base href=\"", 1).section('"', 0, 0)).toLocalFile() + "docs/sheet.png").isFile());
    }

    // Names made of any value: the system takes them (the value shortened), in the chosen folder.
    void names()
    {
        QCOMPARE(PictureNames::furtherName("/d/ab", "a/b\\C:\t<*?\"|>", PictureNames::Format::Png), "/d/_a_b_C________.png");
        QCOMPARE(PictureNames::furtherName("/d/item.eps", "7", PictureNames::Format::Eps), "/d/item_7.eps");
        QFile file(PictureNames::furtherName(m_dir.filePath("item.bmp"), QString(400, QChar(0xE9)) + QChar(0), PictureNames::Format::Bitmap));
        QVERIFY2(file.open(QIODevice::WriteOnly) && QFileInfo(file).absolutePath() == m_dir.path(), qPrintable(file.fileName()));
    }
};

QTEST_MAIN(OutputTest)
#include "tst_output.moc"
