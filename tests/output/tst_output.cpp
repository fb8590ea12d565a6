// The output commands and the print dialog driven through a stand-in
// designer, their results read back from outside: saved pictures by
// QImageReader, zxing-cpp and wmf2svg. The sheets themselves: tst_core.
#include "HelpDocument.h"
#include "OutputCommands.h"
#include "PictureNames.h"
#include "PrinterObject.h"
#include "RunProgress.h"
#include "SaveRun.h"
#include "ScreenMetrics.h"
#include "StandInDesigner.h"
#include "SymbolBuilder.h"
#include "Symbology.h"
#include "frmPrint.h"

#include "Decode.h"
#include "Files.h"
#include "common/Raised.h"

#include <QtTest>
#include <QtWidgets>
#include <fcntl.h>
#include <unistd.h>

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
                for (QWidget *want :
                     QList<QWidget *>{d.Text6, d.Text7, d.Text8, d.Text9, d.Text1, d.Text2, d.Text4, d.Text5,
                                      d.OKButton, d.CancelButton, d.Command1, d.Text3}) {
                    QCOMPARE(QApplication::focusWidget(), want);
                    QTest::keyClick(want, Qt::Key_Tab);
                }
                d.Text6->setText("2,5");
                how == "Cancel"    ? d.CancelButton->click()
                    : how == "Esc" ? QTest::keyClick(&d, Qt::Key_Escape)
                                   : (void)d.close();
                QVERIFY(d.isUnloaded() && !d.isVisible());
            }
            QCOMPARE(frmPrint(designer).Text6->text(), how == "close box" ? "2,5" : "1"); // as stored
        }
        // Toolbar button 3 opens it modally, and the designer can close it.
        StandInDesigner designer;
        OutputCommands commands(designer);
        bool wasOpen = false;
        QTimer::singleShot(0, [&] {
            wasOpen = qobject_cast<frmPrint *>(QApplication::activeModalWidget()),
            commands.closePrintDialog();
        });
        commands.Toolbar1_ButtonClick(3);
        QVERIFY(wasOpen && !QApplication::activeModalWidget());
    }

    // A spoiled field stops the run with one message: nothing is printed, the
    // file printed before stays whole, the font size is as before and the
    // dialog stays open. Preview gives the same message and opens no preview,
    // but for a fault it finds only while drawing the labels.
    void failures()
    {
        struct Failure {
            const char *what, *typed, *says;
            bool previewOpens = false;
        };
        const QList<Failure> rows{
            {"Text6", "", "Page margins \"Left\": A number is needed"},
            {"Text2", "abc", "Barcode margins \"Right\": \"abc\" is not a number"},
            {"Text9", "x", "Page margins \"Bottom\""},
            {"width", "", "Symbol \"Width\""},
            {"width", "0", "0 wide"},
            {"width", "0.000000001", "Overflow"},
            {"Text1", "0.5;0", "would not lie wholly on the page"}, // a symbol 0 wide in a wider cell
            {.what = "Text8",
             .typed = "10.5",
             .says = "No label fits on the page: a label of 2 × 1 in (symbol and barcode margins) is taller "
                     "than the room inside the page margins, 0.5 in down. Make the margins"},
            {.what = "Text2",
             .typed = "6.6234567",
             .says = "a label of 8.623 × 1 in (symbol and barcode margins) is wider than the room inside "
                     "the page margins, 8.5 in across."},
            {.what = "Text7",
             .typed = "8.5",
             .says = "is wider than the room inside the page margins, none across."},
            {"Text6", "-100",
             "reach from -100 to 8 in across and from 0 to 11 in down, on a page of 8.5 × 11 in"},
            {"Text7", "-3", "reach from 0 to 10 in across"},
            {"bartype", "", "No symbology is chosen"},
            {"bartype", "EAN-2", "Label 100 (page 3), value \"100\": ", true}, // EAN-2 takes 2 digits
            {"printer", "", "\"Printer setup\"", true},
            {"printer", "gone/labels.pdf", "gone/labels.pdf cannot be written", true}};
        for (const auto &[what, typed, says, previewOpens] : rows) {
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
                                                            {"Text5", dialog.Text5}, {"Text6", dialog.Text6},
                                                            {"Text7", dialog.Text7}, {"Text8", dialog.Text8},
                                                            {"Text9", dialog.Text9}}
                                     .value(what);
            if (spoiled)
                spoiled->setText(QString(typed).section(u';', 0, 0));
            if (QString(what) == "width" || QString(typed).contains(u';'))
                designer.width = QString(typed).section(u';', -1);
            if (QString(what) == "bartype")
                designer.vantrel().setBarType(*typed ? 3 : -1);
            dialog.OKButton_Click();
            QVERIFY2(dialogs.messages.size() == 1 && dialogs.messages[0].title == "Printing error!"
                         && dialogs.messages[0].text.contains(says),
                     qPrintable(dialogs.allText()));
            QVERIFY(!dialog.isUnloaded() && !PrinterObject::current().isPrinting());
            QCOMPARE(designer.vantrel().Font().Size(), 9.5);
            QCOMPARE(contents(earlier), QByteArray("printed yesterday"));
            QCOMPARE(
                QDir(designer.dir.path()).entryList({"*.pdf", "*.part*"}, QDir::Files | QDir::Hidden).size(),
                1);
            dialog.PreviewButton_Click();
            QCOMPARE(dialogs.previews, int(previewOpens));
            const QString previewSays = previewOpens ? QString() : dialogs.messages[0].text;
            QCOMPARE(dialogs.texts().mid(1).join(u'\n'), previewSays);
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
        QTest::addColumn<bool>("goOn"); // the warning's answer: OK
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("warning"); // its end; empty: none shown
        QTest::addColumn<bool>("printed");
        const int code128 = int(Symbology::Code128);
        const int postnet = int(Symbology::Postnet);
        const QString belowStandard = "is below the 0.191 mm its symbology's standard asks for: scanners may "
                                      "not read the symbol. Make the symbol wider or use a finer resolution.";
        const QString oneDot = "is a single dot: on paper bars one dot wide are the first to fail. Make the "
                               "symbol wider or print at a finer resolution.";
        QTest::newRow("203 dpi") << 203 << code128 << "HELLO-42"
                                 << "2.00" << true << "module 0.25 mm (9.9 mils), 2 dots at 203 dpi"
                                 << "" << true;
        QTest::newRow("300 dpi") << 300 << code128 << "HELLO-42"
                                 << "2.00" << true << "module 0.339 mm (13.3 mils), 4 dots at 300 dpi"
                                 << "" << true;
        QTest::newRow("203 dpi, one dot under the standard, OK")
            << 203 << code128 << "HELLO-42"
            << "1.00" << true << "module 0.125 mm (4.9 mils), 1 dot at 203 dpi" << belowStandard << true;
        QTest::newRow("203 dpi, one dot under the standard, Cancel")
            << 203 << code128 << "HELLO-42"
            << "1.00" << false << "module 0.125 mm (4.9 mils), 1 dot at 203 dpi" << belowStandard << false;
        QTest::newRow("POSTNET, one dot at 300 dpi")
            << 300 << postnet << "12345"
            << "0.30" << true << "module 0.085 mm (3.3 mils), 1 dot at 300 dpi" << oneDot << true;
        QTest::newRow("POSTNET, one dot at 600 dpi")
            << 600 << postnet << "12345"
            << "0.15" << true << "module 0.042 mm (1.7 mils), 1 dot at 600 dpi"
            << "" << true;
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
        struct Run {
            const char *name;
            QStringList lines;
            QString chosen;
            std::int16_t barType;
            double w, h;
            QStringList files;
            QSize pixels = {};
            QString blocker = {}, says = {};
            ImportColumns columns = {};
            int dpi = 0;
            QString warns = {};
            bool goOn = true;
        };
        const ImportColumns sku{.delimiter = ImportColumns::Delimiter::Detect,
                                .header = true,
                                .valueTemplate = "{sku}",
                                .titleTemplate = "{name}"};
        const QStringList bmps{"item_002.bmp=002", "item_003.bmp=003"},
            pngs{"item.png=001", "item_002.png=002", "item_003.png=003"};
        const Run runs[] = {
            {"bmp", {}, "item.bmp", 8, 4800, 1800, QStringList{"item.bmp=001"} + bmps},
            {"PNG is a bitmap", {}, "item.PNG", 8, 4800, 1800, QStringList{"item.PNG=001"} + bmps},
            // PNGs at the screen size: 15 twips a pixel, halves to the even neighbour.
            {"png, halves", {}, "item.png", 8, 2887.5, 1462.5, pngs, {192, 98}},
            {"png, below half", {}, "item.png", 8, 3127, 1507, pngs, {208, 100}},
            {"wmf", {}, "item.wmf", 8, 4800, 1800, {"item.wmf=", "item_002.wmf=", "item_003.wmf="}},
            // Drawings by the name's last letters, compared exactly; rasterised by rsvg-convert.
            {"svg",
             {},
             "item.svg",
             8,
             4800,
             1800,
             {"item.svg=001", "item_002.svg=002", "item_003.svg=003"},
             {320, 120}},
            {"SVG is a bitmap", {}, "item.SVG", 8, 4800, 1800, QStringList{"item.SVG=001"} + bmps},
            // Every line a value; unsafe values stay in the folder and never replace an
            // earlier file; a blank is kept.
            {"unsafe values",
             {"A1", "../../x", "a/b", "A1", "a_b", "..", "A B"},
             "item.bmp",
             8,
             4800,
             1800,
             {"item.bmp=A1", "item_.._.._x.bmp=../../x", "item_a_b.bmp=a/b", "item_A1.bmp=A1",
              "item_a_b_2.bmp=a_b", "item___.bmp=..", "item_A B.bmp=A B"}},
            {"empty first value",
             {"", "A-1", "B-2"},
             "item.bmp",
             8,
             4800,
             1800,
             {"item_A-1.bmp=A-1", "item_B-2.bmp=B-2"}},
            {"only an empty value", {""}, "item.bmp", 8, 4800, 1800, {}, {}, {}, "No picture was saved"},
            {"no symbology", {}, "item.bmp", -1, 4800, 1800, {}, {}, {}, "No symbology is chosen"},
            {"width 0", {}, "item.bmp", 8, 0, 1800, {}, {}, {}, "at 0 x 120 pixels the symbol has no room"},
            {"png height below 0", {}, "item.png", 8, 2880, -30, {}, {}, {}, "at 192 x -2 pixels"},
            {"folder gone", {"1", "2"}, "gone/item.bmp", 8, 4800, 1800, {}, {}, {}, "gone/item.bmp"},
            {"folder in the way",
             {"1", "2"},
             "item.bmp",
             8,
             4800,
             1800,
             {"item.bmp=1"},
             {},
             "item_2.bmp",
             "value \"2\""},
            {"EAN-13 letters",
             {"590123412345", "ABC"},
             "item.bmp",
             0,
             4800,
             1800,
             {"item.bmp=5901234123457"},
             {},
             {},
             "value \"ABC\": its picture was not saved as \"%1/item_ABC.bmp\".\nEAN-13 accepts up to 13 "
             "digits (fewer than "
             "12 are padded with leading zeros"},
            // Columns: the run stops before the row without a value; the files before it stay.
            {"bad row",
             {"sku,name", "A1,x", "B2,y", ",z", "D4,w"},
             "item.bmp",
             8,
             4800,
             1800,
             {"item.bmp=A1", "item_B2.bmp=B2"},
             {},
             {},
             "Line 4 of the import file",
             sku},
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

            QVERIFY2(dialogs.messages.size() == !r.says.isEmpty()
                         && dialogs.allText().contains(QString(r.says).replace("%1", out)),
                     qPrintable(dialogs.allText()));
            QStringList files = QDir(out).entryList(QDir::Files | QDir::Hidden),
                        expected; // nothing half-written
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
                const bool png
                    = r.chosen.endsWith("png") || r.chosen.endsWith("svg"); // SVG rasterised as PNG
                const QByteArray format = png ? "png" : "bmp";
                QVERIFY(reader.format() == format && (!r.pixels.isValid() || reader.size() == r.pixels));
                QCOMPARE(Decode::zxingOne(reader.read()), entry.section(u'=', 1));
            }
            if (r.says.isEmpty() && r.goOn) // the preview ends on the last value
                QCOMPARE(designer.vantrel_.Caption(),
                         r.lines.isEmpty() ? QStringLiteral("003") : r.lines.last());
            QVERIFY(QGuiApplication::clipboard()->text() == "the user's own text" && !heldOpen(designer.t4));
        }
    }

    // The dialog's settings; a cancel writes nothing. Copy (menu or toolbar
    // button 1) puts a metafile and a PNG or says why not; button 2 saves (the
    // Text source: one file); others do nothing; About.
    void commands()
    {
        const QList<std::tuple<int, std::int16_t, QString>> rows{{0, 8, "copied"},
                                                                 {0, -1, SymbolBuilder::noSymbologyMessage()},
                                                                 {1, 8, "copied"},
                                                                 {2, 8, "saved"},
                                                                 {2, 8, ""},
                                                                 {4, 8, ""},
                                                                 {5, 8, "Vantrel control version 5.1.5"}};
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
            button == 5  ? commands.mnuAbout_Click()
                : button ? commands.Toolbar1_ButtonClick(button)
                         : commands.mnuCopy_Click();
            QCOMPARE(dialogs.allText(), result == "copied" || result == "saved" ? QString() : result);
            QCOMPARE(dialogs.saveCalls, button == 2 ? 1 : 0);
            QCOMPARE(Decode::zxingOne(QImage(designer.dir.filePath("tool.bmp"))),
                     result == "saved" ? "HELLO 42" : QString());
            QCOMPARE(designer.vantrel_.Caption(), QString(result == "saved" ? "HELLO 42" : "COPY-7"));
            const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
            QCOMPARE(mime->text() == QStringLiteral("untouched"), result != "copied");
            if (result == "copied")
                QVERIFY(!mime->data("image/x-wmf").isEmpty()
                        && Decode::zxingOne(QImage::fromData(mime->data("image/png"), "PNG")) == "COPY-7");
        }
    }

    void progress_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("text"); // what the window says after 64 of 80 values, 10 s each 16
        QTest::addColumn<double>("share"); // of the bar filled; -1: a busy bar
        QTest::newRow("sequence") << "sequence"
                                  << "64 of 80 pictures\nAbout 10 seconds left" << 0.8;
        const QString fileText = "64 pictures saved, 80% of the import file read\nAbout 10 seconds left";
        QTest::newRow("file") << "file" << fileText << 0.8;
        QTest::newRow("standard input") << "standard input"
                                        << "64 pictures saved" << -1.0;
    }
    // A save of 80 values, 5 bytes a line in a file, told to the progress a run
    // reports to: its count of a total where the data's end is known, and the
    // time left once the rate is steady.
    void progress()
    {
        QFETCH(QString, source);
        QFETCH(QString, text);
        QFETCH(double, share);
        StandInDesigner designer;
        QByteArray lines;
        for (int value = 1; value <= 80; ++value)
            lines += QByteArray::number(100 + value) + "\r\n";
        designer.t4 = designer.dir.filePath("import.txt");
        QVERIFY(plant(designer.t4, lines));
        designer.sequence("101", "180");
        if (source != "sequence")
            designer.source(3);
        designer.standardInput = source == "standard input";
        const int savedInput = ::dup(STDIN_FILENO);
        const int file = ::open(QFile::encodeName(designer.t4).constData(), O_RDONLY);
        QVERIFY(::dup2(file, STDIN_FILENO) == STDIN_FILENO);
        struct Recorder : RunProgress {
            long long elapsedMs = 0;
            QList<Report> reports;
            void look(long long done) override
            {
                elapsedMs += 10000;
                const auto describe = [](long long count, std::optional<long long> total) {
                    return counted(count, total, QStringLiteral("pictures")) + (total ? "" : " saved");
                };
                reports << report(done, elapsedMs, describe);
            }
        } recorder;
        recorder.setExtent([&designer] { return designer.module1().extent(); });
        SaveRun run(designer.vantrel_.design(), designer.dir.filePath("item.bmp"), 0, 0);
        run.run(designer.module1(), false, [&] { recorder.step(run.filesWritten()); });
        QVERIFY(::dup2(savedInput, STDIN_FILENO) == STDIN_FILENO);
        ::close(file);
        ::close(savedInput);
        QCOMPARE(run.filesWritten(), 80);
        QCOMPARE(recorder.reports.size(), 5);
        const RunProgress::Report &last = recorder.reports.value(3);
        QCOMPARE(last.text, text);
        QCOMPARE(last.share.value_or(-1.0), share);
    }

    void messageIcons_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::newRow("printing error") << "print, margin empty"
                                        << "Printing error!" << QMessageBox::Warning;
        QTest::newRow("data refused") << "copy, no symbology"
                                      << "Copy" << QMessageBox::Warning;
        QTest::newRow("file not written") << "save, folder gone"
                                          << "Save picture" << QMessageBox::Warning;
        QTest::newRow("information") << "about"
                                     << "" << QMessageBox::Information;
    }
    // Failures show the warning icon, information the information icon, in
    // the message box Qt shows; texts and captions stay.
    void messageIcons()
    {
        QFETCH(QString, command);
        QFETCH(QString, title);
        QFETCH(QMessageBox::Icon, icon);
        StandInDesigner designer;
        StandInDialogs dialogs;
        OutputCommands commands(designer);
        frmPrint dialog(designer);
        usePdfFile(designer);
        if (command == "print, margin empty") {
            dialog.Text6->clear();
            dialog.OKButton_Click();
        }
        if (command == "copy, no symbology") {
            designer.vantrel_.setBarType(-1);
            commands.mnuCopy_Click();
        }
        if (command == "save, folder gone") {
            dialogs.saveAnswer = designer.dir.filePath("gone/item.bmp");
            commands.mnuSave_Click();
        }
        if (command == "about")
            commands.mnuAbout_Click();
        QCOMPARE(dialogs.messages.size(), 1);
        const StandInDialogs::Message shown = dialogs.messages.first();
        QCOMPARE(shown.title, title.isEmpty() ? QGuiApplication::applicationDisplayName() : title);
        QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&boxIcon] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            boxIcon = box ? box->icon() : QMessageBox::NoIcon;
            if (box)
                box->accept();
        });
        DialogProvider::install(nullptr); // the real message box, with the recorded text and icon
        DialogProvider::current().showMessage(shown.text, shown.title, shown.icon);
        QCOMPARE(boxIcon, icon);
    }

    // Help: the manual's pages in the desktop's browser, or in a window of our own when
    // there is no browser or the pages cannot be written for one.
    void help_data()
    {
        QTest::addColumn<bool>("browser");
        QTest::addColumn<bool>("blocked");
        QTest::newRow("the desktop's browser") << true << false;
        QTest::newRow("no browser: the program's window") << false << false;
        QTest::newRow("a file where the cache folder should be") << true << true;
    }
    void help()
    {
        QFETCH(bool, browser);
        QFETCH(bool, blocked);
        const QString cache = m_dir.filePath(QTest::currentDataTag());
        qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
        if (blocked) {
            // A file in the way stops root as it stops anybody.
            QVERIFY(plant(cache, {}));
            const QString pages = cache + u'/' + QCoreApplication::applicationName() + "/help";
            const QString why = QString::fromLocal8Bit(strerror(ENOTDIR));
            const QString says = QStringLiteral("Cannot write \"%1\": its folder \"%2\" cannot be made: %3.")
                                     .arg(pages + "/index.html", cache, why);
            QCOMPARE(raised([] { HelpDocument::writeUserPage(); }), says);
        }
        StandInDesigner designer;
        StandInDialogs dialogs;
        dialogs.browser = browser;
        QString title;
        QString firstPage;
        QString messagesPage;
        QVariant picture;
        dialogs.onDialog = [&](QDialog &window) {
            title = window.windowTitle();
            auto *text = window.findChild<QTextBrowser *>();
            firstPage = text->toPlainText();
            picture = text->loadResource(QTextDocument::ImageResource, QUrl("../form1.png"));
            text->setSource(text->source().resolved(QUrl("messages.md")));
            messagesPage = text->toPlainText();
            return int(QDialog::Rejected);
        };
        OutputCommands(designer).mnuHelp_Click();
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.allText()));
        const bool window = !browser || blocked;
        QCOMPARE(title, window ? "Quillmark help" : "");
        QCOMPARE(firstPage.contains("Quillmark manual"), window);
        QCOMPARE(messagesPage.contains("No symbology is chosen: pick one from the Format list."), window);
        QCOMPARE(QImage::fromData(picture.toByteArray()).isNull(), !window);
        if (window)
            return;
        QVERIFY2(dialogs.opened.startsWith(cache), qPrintable(dialogs.opened));
        const QString html = QString::fromUtf8(contents(dialogs.opened));
        QVERIFY(html.contains("Quillmark manual"));
        const QString base = QUrl(html.section("<base href=\"", 1).section('"', 0, 0)).toLocalFile();
        QVERIFY(QFileInfo(base + "../form1.png").isFile());
        const QString messages = QFileInfo(dialogs.opened).dir().filePath("messages.html");
        QVERIFY(html.contains(QUrl::fromLocalFile(messages).toString()));
        QVERIFY(QString::fromUtf8(contents(messages)).contains("The help is not installed"));
    }

    // Every message of the program's sources, read as text, is named in the manual: each
    // literal that ends a sentence or refuses an argument, by its longest part between
    // the values filled in.
    void manualNamesMessages_data()
    {
        QTest::addColumn<QString>("folder");
        for (const char *folder : {"platform", "component", "data", "designer", "output"})
            QTest::newRow(folder) << QString::fromLatin1(folder);
    }
    void manualNamesMessages()
    {
        QFETCH(QString, folder);
        const QDir source(QStringLiteral(QUILLMARK_SOURCE_DIR));
        QString manual;
        for (const QFileInfo &page : QDir(source.filePath("docs/manual")).entryInfoList({"*.md"}))
            manual += QString::fromUtf8(contents(page.filePath())) + u' ';
        manual = manual.simplified();
        // A quoted part: anything but a quote or backslash, or a backslash and what it escapes.
        const QString quoted = QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\"");
        const QRegularExpression literal("QStringLiteral\\(\\s*((?:" + quoted + "\\s*)+)\\)");
        const QRegularExpression piece(quoted);
        const QRegularExpression value(QStringLiteral("%\\d"));
        QStringList missing;
        const QStringList code = {"*.cpp", "*.h"};
        QDirIterator files(source.filePath(folder), code, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = QString::fromUtf8(contents(files.next()));
            for (const QRegularExpressionMatch &found : literal.globalMatch(file)) {
                QString text;
                for (const QRegularExpressionMatch &part : piece.globalMatch(found.captured(1)))
                    text += part.captured(1);
                text.replace("\\n", " ");
                text.replace("\\\"", "\"");
                text.replace("\\\\", "\\");
                text = text.simplified();
                const bool sentence = QRegularExpression("[.?!]$").match(text).hasMatch();
                const bool command = text.endsWith("..."); // a menu command's or button's text
                if ((!sentence || command) && !text.startsWith("--"))
                    continue;
                QString longest;
                for (const QString &part : text.split(value))
                    longest = part.trimmed().size() > longest.size() ? part.trimmed() : longest;
                if (!manual.contains(longest))
                    missing << QFileInfo(files.filePath()).fileName() + ": " + text;
            }
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u'\n')));
    }

    // Names made of any value: the system takes them (the value shortened), in the chosen folder.
    void names()
    {
        QCOMPARE(PictureNames::furtherName("/d/ab", "a/b\\C:\t<*?\"|>", PictureNames::Format::Png),
                 "/d/_a_b_C________.png");
        QCOMPARE(PictureNames::furtherName("/d/item.eps", "7", PictureNames::Format::Eps), "/d/item_7.eps");
        QFile file(PictureNames::furtherName(m_dir.filePath("item.bmp"), QString(400, QChar(0xE9)) + QChar(0),
                                             PictureNames::Format::Bitmap));
        QVERIFY2(file.open(QIODevice::WriteOnly) && QFileInfo(file).absolutePath() == m_dir.path(),
                 qPrintable(file.fileName()));
    }
};

QTEST_MAIN(OutputTest)
#include "tst_output.moc"
