// The output commands and the print dialog driven through a stand-in
// designer, their results read back from outside: saved pictures by
// QImageReader, zxing-cpp and wmf2svg; printed sheets by poppler: label_products.
#include "LabelProductDialog.h"
#include "LabelProducts.h"
#include "OutputCommands.h"
#include "PictureNames.h"
#include "PrinterObject.h"
#include "ProgressWindow.h"
#include "RunProgress.h"
#include "SaveRun.h"
#include "ScreenMetrics.h"
#include "StandInDesigner.h"
#include "SymbolBuilder.h"
#include "Symbology.h"
#include "frmPrint.h"

#include "Decode.h"
#include "Files.h"

#include <QPrintPreviewWidget>
#include <QtTest>
#include <QtWidgets>
#include <fcntl.h>
#include <unistd.h>

// The PDF file printer on US letter, printing to a file of the designer's folder.
static QString usePdfFile(StandInDesigner &designer, const QString &name = QStringLiteral("labels.pdf"))
{
    designer.printer.selectPdfFile(name.isEmpty() ? QString() : designer.dir.filePath(name));
    designer.printer.setMedia(QPageSize(QPageSize::Letter), QPageLayout::Portrait);
    return designer.dir.filePath(name);
}

namespace {

// A print that stops on a spoiled field, symbol or printer.
struct Failure {
    int field = 0; // the dialog's TextN typed into; 0: none
    QString typed = {};
    QString width = QStringLiteral("2.00"); // the symbol's, as the designer shows it
    int barType = int(Symbology::Code128); // -1: none chosen
    QString printer = QStringLiteral("labels.pdf"); // the PDF file, in the designer's folder; empty: none
    QString says = {}; // part of the one message
    bool previewOpens = false; // the fault is the printer's, met only when the job is sent
};

// A run saved under the name chosen.
struct Run {
    QStringList lines = {}; // of the import file; none: the sequence 001 to 003
    QString chosen = QStringLiteral("item.bmp");
    int barType = int(Symbology::Code128);
    double w = 4800, h = 1800; // the symbol's size in twips
    QStringList files = {}; // expected, each decoded: file=value
    QSize pixels = {}; // of each PNG
    QString says = {}; // part of the one message; empty: none
    ImportColumns columns = {};
    int dpi = 0; // chosen in the save dialog
    QString warns = {}; // the warning before the run
    bool goOn = true; // its answer
};

} // namespace

Q_DECLARE_METATYPE(Failure)
Q_DECLARE_METATYPE(Run)

class OutputTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { ScreenMetrics::overrideDpi(96, 96); }

    void failures_data()
    {
        QTest::addColumn<Failure>("f");
        QTest::newRow("page left margin empty")
            << Failure{.field = 6, .says = "Page margins \"Left\": A number is needed"};
        QTest::newRow("barcode margin not a number") << Failure{
            .field = 2, .typed = "abc", .says = "Barcode margins \"Right\": \"abc\" is not a number"};
        QTest::newRow("symbol 0 wide") << Failure{.width = "0", .says = "0 wide"};
        QTest::newRow("symbol too narrow to count") << Failure{.width = "0.000000001", .says = "Overflow"};
        QTest::newRow("symbol 0 wide in a wider cell")
            << Failure{.field = 1, .typed = "0.5", .width = "0", .says = "would not lie wholly on the page"};
        QTest::newRow("too tall") << Failure{
            .field = 8,
            .typed = "10.5",
            .says = "No label fits on the page: a label of 2 × 1 in (symbol and barcode margins) is taller "
                    "than the room inside the page margins, 0.5 in down. Make the margins"};
        QTest::newRow("too wide") << Failure{
            .field = 2,
            .typed = "6.6234567",
            .says = "a label of 8.623 × 1 in (symbol and barcode margins) is wider than the room inside the "
                    "page margins, 8.5 in across."};
        QTest::newRow("page left margin below 0") << Failure{
            .field = 6,
            .typed = "-100",
            .says = "reach from -100 to 8 in across and from 0 to 11 in down, on a page of 8.5 × 11 in"};
        QTest::newRow("page margins that leave no room")
            << Failure{.field = 6, .typed = "8.5", .says = "page margins, none across."};
        QTest::newRow("no symbology") << Failure{.barType = -1, .says = "No symbology is chosen"};
        // EAN-2 takes 2 digits: found only while the labels are drawn, before the preview shows any.
        QTest::newRow("EAN-2, a value it refuses")
            << Failure{.barType = int(Symbology::Ean2), .says = "Label 100 (page 3), value \"100\": "};
        QTest::newRow("no printer") << Failure{
            .printer = "", .says = "\"Printer setup\"", .previewOpens = true};
        QTest::newRow("PDF folder gone") << Failure{
            .printer = "gone/labels.pdf", .says = "gone/labels.pdf cannot be written", .previewOpens = true};
    }
    // A spoiled field stops the run with one message: nothing is printed, the
    // file printed before stays whole, the font size is as before and the
    // dialog stays open. Preview gives the same message and opens no preview,
    // but for a fault of the printer itself, which a preview does not meet.
    void failures()
    {
        QFETCH(Failure, f);
        StandInDialogs dialogs;
        StandInDesigner designer(dialogs);
        designer.sequence("1", "100");
        designer.vantrel().Font().setSize(9.5);
        const QString earlier = usePdfFile(designer);
        QVERIFY(plant(earlier, "printed yesterday"));
        usePdfFile(designer, f.printer);
        frmPrint dialog(designer, dialogs, designer.printer);
        const QList<QLineEdit *> fields{nullptr,      dialog.Text1, dialog.Text2, dialog.Text3, dialog.Text4,
                                        dialog.Text5, dialog.Text6, dialog.Text7, dialog.Text8, dialog.Text9};
        if (f.field)
            fields[f.field]->setText(f.typed);
        designer.width = f.width;
        designer.vantrel().setBarType(std::int16_t(f.barType));
        if (f.printer.isEmpty()) // the dialog names the printer and what it lacks
            QCOMPARE(dialog.Text3->text(), QStringLiteral("PDF file printer (no file chosen)"));
        dialog.OKButton_Click();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Printing error!"));
        QCOMPARE(dialogs.messages[0].icon, DialogProvider::MessageIcon::Warning);
        QVERIFY2(dialogs.messages[0].text.contains(f.says), qPrintable(dialogs.allText()));
        QVERIFY(!dialog.isUnloaded());
        QCOMPARE(designer.vantrel().Font().Size(), 9.5);
        QCOMPARE(contents(earlier), QByteArray("printed yesterday"));
        const QDir folder(designer.dir.path());
        QCOMPARE(folder.entryList({"*.pdf", "*.part*"}, QDir::Files | QDir::Hidden).size(), 1);
        dialog.PreviewButton_Click();
        QCOMPARE(dialogs.previews, int(f.previewOpens));
        const QString previewSays = f.previewOpens ? QString() : dialogs.messages[0].text;
        QCOMPARE(dialogs.texts().mid(1).join(u'\n'), previewSays);
    }

    // The module on the chosen printer, as the dialog's label shows it, and the
    // warning before printing: OK prints, Cancel leaves the dialog open with
    // nothing printed. One dot warns at 300 dpi or less; POSTNET has no
    // standard module, so its single dot warns at 300 dpi but not above.
    void moduleOnPrinter_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("barType");
        QTest::addColumn<QString>("width"); // inches
        QTest::addColumn<bool>("goOn"); // the warning's answer: OK prints
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("warning"); // its end; empty: none shown
        const int code128 = int(Symbology::Code128);
        const int postnet = int(Symbology::Postnet);
        const QString belowStandard
            = "is below the 0.191 mm its symbology's standard asks for: scanners may "
              "not read the symbol. Make the symbol larger: at this size no resolution "
              "gives a larger module.";
        const QString belowInDots = "is below the 0.191 mm its symbology's standard asks for: scanners may "
                                    "not read the symbol. Make the symbol wider or use a finer resolution.";
        const QString oneDot = "is a single dot: on paper bars one dot wide are the first to fail. Make the "
                               "symbol wider or print at a finer resolution.";
        const QString oneDotAt203 = "module 0.125 mm (4.9 mils), 1 dot at 203 dpi";
        QTest::newRow("203 dpi") << 203 << code128 << "2.00" << true
                                 << "module 0.25 mm (9.9 mils), 2 dots at 203 dpi"
                                 << "";
        QTest::newRow("203 dpi, one dot under the standard, OK")
            << 203 << code128 << "1.00" << true << oneDotAt203 << belowStandard;
        QTest::newRow("203 dpi, one dot under the standard, Cancel")
            << 203 << code128 << "1.00" << false << oneDotAt203 << belowStandard;
        QTest::newRow("203 dpi, whole dots under the standard the size would hold")
            << 203 << code128 << "1.20" << true << oneDotAt203 << belowInDots;
        QTest::newRow("POSTNET, one dot at 300 dpi")
            << 300 << postnet << "0.30" << true << "module 0.085 mm (3.3 mils), 1 dot at 300 dpi" << oneDot;
        QTest::newRow("POSTNET, one dot at 600 dpi")
            << 600 << postnet << "0.15" << true << "module 0.042 mm (1.7 mils), 1 dot at 600 dpi"
            << "";
    }
    void moduleOnPrinter()
    {
        QFETCH(int, dpi);
        QFETCH(int, barType);
        QFETCH(QString, width);
        QFETCH(bool, goOn);
        QFETCH(QString, label);
        QFETCH(QString, warning);
        const QString data = barType == int(Symbology::Postnet) ? "12345" : "HELLO-42";
        StandInDialogs dialogs;
        StandInDesigner designer(dialogs);
        dialogs.goOn = goOn;
        designer.source(1);
        designer.t1 = data;
        designer.vantrel_.setBarType(std::int16_t(barType));
        designer.vantrel_.setCaption(data);
        designer.width = width;
        const QString pdf = usePdfFile(designer);
        designer.printer.setResolution(dpi);
        frmPrint dialog(designer, dialogs, designer.printer);
        QCOMPARE(dialog.ModuleLabel->text(), label);
        dialog.OKButton_Click();
        QCOMPARE(dialogs.warnings.join(u'\n').section(", ", 2), warning);
        QCOMPARE(dialogs.allText(), QString());
        QCOMPARE(dialog.isUnloaded(), goOn);
        QCOMPARE(QFileInfo::exists(pdf), goOn);
    }

    void runs_data()
    {
        QTest::addColumn<Run>("r");
        const QStringList pngs{"item.png=001", "item_002.png=002", "item_003.png=003"};
        // The name's ending in any letter case; the further files' in lower case, as a bitmap's.
        QTest::newRow("PNG in capitals")
            << Run{.chosen = "item.PNG", .files = QStringList{"item.PNG=001"} + pngs.mid(1)};
        // PNGs at the screen size: 15 twips a pixel, halves to the even neighbour.
        QTest::newRow("png, halves") << Run{
            .chosen = "item.png", .w = 2887.5, .h = 1462.5, .files = pngs, .pixels = {192, 98}};
        QTest::newRow("wmf") << Run{.chosen = "item.wmf",
                                    .files = {"item.wmf=", "item_002.wmf=", "item_003.wmf="}};
        // Drawings by the name's last letters; rasterised by rsvg-convert.
        QTest::newRow("svg") << Run{.chosen = "item.svg",
                                    .files = {"item.svg=001", "item_002.svg=002", "item_003.svg=003"},
                                    .pixels = {320, 120}};
        // Every line a value; unsafe values stay in the folder and never replace an
        // earlier file; a blank is kept.
        QTest::newRow("unsafe values")
            << Run{.lines = {"A1", "../../x", "a/b", "A1", "a_b", "..", "A B"},
                   .files = {"item.bmp=A1", "item_.._.._x.bmp=../../x", "item_a_b.bmp=a/b", "item_A1.bmp=A1",
                             "item_a_b_2.bmp=a_b", "item___.bmp=..", "item_A B.bmp=A B"}};
        QTest::newRow("only an empty value") << Run{.lines = {""}, .says = "No picture was saved"};
        QTest::newRow("no symbology") << Run{.barType = -1, .says = "No symbology is chosen"};
        QTest::newRow("width 0") << Run{.w = 0, .says = "at 0 x 120 pixels the symbol has no room"};
        QTest::newRow("folder gone") << Run{
            .lines = {"1", "2"}, .chosen = "gone/item.bmp", .says = "gone/item.bmp"};
        QTest::newRow("EAN-13 letters") << Run{
            .lines = {"590123412345", "ABC"},
            .barType = int(Symbology::Ean13),
            .files = {"item.bmp=5901234123457"},
            .says = "value \"ABC\": its picture was not saved as \"%1/item_ABC.bmp\".\nEAN-13 accepts up to "
                    "13 digits (fewer than 12 are padded with leading zeros"};
        // Columns: the run stops before the row without a value; the files before it stay.
        const ImportColumns sku{.delimiter = ImportColumns::Delimiter::Detect,
                                .header = true,
                                .valueTemplate = "{sku}",
                                .titleTemplate = "{name}"};
        QTest::newRow("bad row") << Run{.lines = {"sku,name", "A1,x", "B2,y", ",z", "D4,w"},
                                        .files = {"item.bmp=A1", "item_B2.bmp=B2"},
                                        .says = "Line 4 of the import file",
                                        .columns = sku};
        // 1.25 in at 300 dpi: 3 pixels a module, under EAN-13's 0.264 mm; warned of first.
        const Run warned{.lines = {"590123412345"},
                         .chosen = "item.png",
                         .barType = int(Symbology::Ean13),
                         .w = 1800,
                         .h = 1800,
                         .dpi = 300,
                         .warns = "The module 0.254 mm (10 mils), 3 pixels at 300 dpi"};
        Run warnedOk = warned;
        warnedOk.files = {"item.png=5901234123457"};
        warnedOk.pixels = {375, 375};
        Run warnedCancel = warned;
        warnedCancel.goOn = false;
        QTest::newRow("EAN-13 module warned, OK") << warnedOk;
        QTest::newRow("EAN-13 module warned, Cancel") << warnedCancel;
    }
    // Each file decoded and its format read back (a metafile by wmf2svg), nothing
    // half-written, the preview ending on the last value, the clipboard and the
    // import file left alone.
    void runs()
    {
        QFETCH(Run, r);
        const QString out = m_dir.filePath(QTest::currentDataTag());
        QVERIFY(QDir().mkpath(out));
        StandInDialogs dialogs;
        StandInDesigner designer(dialogs);
        OutputCommands commands(designer, dialogs, designer.printer);
        designer.t4 = designer.dir.filePath("import.txt");
        QVERIFY(plant(designer.t4, r.lines.join("\r\n").toUtf8() + "\r\n"));
        designer.source(r.lines.isEmpty() ? 2 : 3);
        designer.vantrel_.setBarType(std::int16_t(r.barType));
        designer.columns = r.columns;
        designer.vantrel_.setCaption(r.lines.value(0)); // the window previews the first line
        designer.width = QLocale().toString(r.w / 1440.0, 'g', 15);
        designer.height = QLocale().toString(r.h / 1440.0, 'g', 15);
        designer.vantrel_.setWidth(float(r.w / 15));
        designer.vantrel_.setHeight(float(r.h / 15));
        QGuiApplication::clipboard()->setText(QStringLiteral("the user's own text"));
        dialogs.saveAnswer = out + u'/' + r.chosen;
        dialogs.pictureDpi = r.dpi;
        dialogs.goOn = r.goOn;
        commands.mnuSave_Click();
        QCOMPARE(dialogs.warnings.join(u'\n').section(", is ", 0, 0), r.warns);
        QCOMPARE(dialogs.messages.size(), int(!r.says.isEmpty()));
        QVERIFY2(dialogs.allText().contains(QString(r.says).replace("%1", out)),
                 qPrintable(dialogs.allText()));
        QStringList expected;
        for (const QString &entry : r.files)
            expected << entry.section(u'=', 0, 0);
        expected.sort();
        QStringList files = QDir(out).entryList(QDir::Files | QDir::Hidden); // nothing half-written
        files.sort();
        QCOMPARE(files, expected);
        for (const QString &entry : r.files) {
            const QString path = out + u'/' + entry.section(u'=', 0, 0);
            if (r.chosen.endsWith("wmf")) {
                QProcess wmf2svg;
                wmf2svg.start(QStringLiteral("wmf2svg"), {QStringLiteral("-o"), path + ".svg", path});
                QVERIFY2(wmf2svg.waitForFinished(30000) && wmf2svg.exitCode() == 0, qPrintable(path));
                continue;
            }
            QImageReader reader(path);
            if (r.chosen.endsWith("svg")) {
                QProcess rsvg;
                rsvg.start(QStringLiteral("rsvg-convert"), {QStringLiteral("-o"), path + ".png", path});
                QVERIFY2(rsvg.waitForFinished(30000) && rsvg.exitCode() == 0, qPrintable(path));
                reader.setFileName(path + ".png");
            }
            // SVG rasterised as PNG
            const bool png = r.chosen.endsWith("png", Qt::CaseInsensitive) || r.chosen.endsWith("svg");
            QCOMPARE(reader.format(), png ? QByteArray("png") : QByteArray("bmp"));
            if (r.pixels.isValid())
                QCOMPARE(reader.size(), r.pixels);
            QCOMPARE(Decode::zxingOne(reader.read()), entry.section(u'=', 1));
        }
        if (r.says.isEmpty() && r.goOn) // the preview ends on the last value
            QCOMPARE(designer.vantrel_.Caption(), r.lines.isEmpty() ? QStringLiteral("003") : r.lines.last());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("the user's own text"));
        QVERIFY(!heldOpen(designer.t4));
    }

    void commands_data()
    {
        QTest::addColumn<int>("button"); // of the toolbar; 0: the Copy menu; 5: the About menu
        QTest::addColumn<int>("barType");
        QTest::addColumn<QString>("result"); // "copied", "saved", or what the one message says
        const int code128 = int(Symbology::Code128);
        QTest::newRow("Copy, no symbology") << 0 << -1 << SymbolBuilder::noSymbologyMessage();
        QTest::newRow("button 1 copies") << 1 << code128 << "copied";
        QTest::newRow("button 2 saves") << 2 << code128 << "saved";
        QTest::newRow("button 2, the save cancelled") << 2 << code128 << "";
        QTest::newRow("About") << 5 << code128 << "Vantrel control version 5.1.5";
    }
    // Copy puts a metafile and a PNG or says why not; button 2 saves (the
    // Text source: one file) and a cancel writes nothing; About informs.
    void commands()
    {
        QFETCH(int, button);
        QFETCH(int, barType);
        QFETCH(QString, result);
        StandInDialogs dialogs;
        StandInDesigner designer(dialogs);
        OutputCommands commands(designer, dialogs, designer.printer);
        designer.source(1);
        designer.t1 = QStringLiteral("HELLO 42");
        designer.vantrel_.setBarType(std::int16_t(barType));
        designer.vantrel_.setCaption(QStringLiteral("COPY-7"));
        designer.vantrel_.setWidth(320);
        designer.vantrel_.setHeight(120);
        QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
        if (result == "saved")
            dialogs.saveAnswer = designer.dir.filePath("tool.bmp");
        if (button == 0)
            commands.mnuCopy_Click();
        else if (button == 5)
            commands.mnuAbout_Click();
        else
            commands.Toolbar1_ButtonClick(button);
        const bool quiet = result == "copied" || result == "saved" || result.isEmpty();
        QCOMPARE(dialogs.allText(), quiet ? QString() : result);
        if (button == 5) {
            QCOMPARE(dialogs.messages[0].icon, DialogProvider::MessageIcon::Information);
            QCOMPARE(dialogs.messages[0].title, QGuiApplication::applicationDisplayName());
        }
        QCOMPARE(dialogs.saveCalls, button == 2 ? 1 : 0);
        QCOMPARE(Decode::zxingOne(QImage(designer.dir.filePath("tool.bmp"))),
                 result == "saved" ? "HELLO 42" : QString());
        QCOMPARE(designer.vantrel_.Caption(), QString(result == "saved" ? "HELLO 42" : "COPY-7"));
        const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(mime->text() == QStringLiteral("untouched"), result != "copied");
        if (result != "copied")
            return;
        QVERIFY(!mime->data("image/x-wmf").isEmpty());
        QCOMPARE(Decode::zxingOne(QImage::fromData(mime->data("image/png"), "PNG")),
                 QStringLiteral("COPY-7"));
    }

    void progress_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("text"); // what the window says after 64 of 80 values
        QTest::addColumn<double>("share"); // of the bar filled; -1: a busy bar
        QTest::addColumn<bool>("slowing"); // each 16 values take a step longer than the last
        QTest::addColumn<int>("step"); // seconds each 16 values take
        QTest::newRow("sequence: 90 s left are minutes")
            << "sequence"
            << "64 of 80 pictures\nAbout 2 minutes left" << 0.8 << false << 90;
        QTest::newRow("sequence slowing: no estimate agrees with the last")
            << "sequence"
            << "64 of 80 pictures" << 0.8 << true << 10;
        const QString fileText = "64 pictures saved, 80% of the import file read\nAbout 10 seconds left";
        QTest::newRow("file") << "file" << fileText << 0.8 << false << 10;
        QTest::newRow("standard input") << "standard input"
                                        << "64 pictures saved" << -1.0 << false << 10;
    }
    // A save of 80 values, 5 bytes a line in a file, told to the progress a run
    // reports to: its count of a total where the data's end is known, and the
    // time left once the rate is steady.
    void progress()
    {
        QFETCH(QString, source);
        QFETCH(QString, text);
        QFETCH(double, share);
        QFETCH(bool, slowing);
        QFETCH(int, step);
        StandInDialogs dialogs;
        StandInDesigner designer(dialogs);
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
            bool slowing = false;
            long long stepMs = 0;
            long long elapsedMs = 0;
            QList<Report> reports;
            void look(long long done) override
            {
                elapsedMs += slowing ? stepMs * (reports.size() + 1) : stepMs;
                const auto describe = [](long long count, std::optional<long long> total) {
                    return counted(count, total, QStringLiteral("pictures")) + (total ? "" : " saved");
                };
                reports << report(done, elapsedMs, describe);
            }
        } recorder;
        recorder.slowing = slowing;
        recorder.stepMs = step * 1000;
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
        // Once every value is done, no time is left to tell.
        QVERIFY2(!recorder.reports.value(4).text.contains("left"),
                 qPrintable(recorder.reports.value(4).text));
    }

    // A run of 100,000 values in the progress window, told its share every 200 ms by a clock of the
    // test's: the time left in whole seconds at the rate of the last seconds, once that is steady.
    void timeLeft_data()
    {
        QTest::addColumn<double>("firstSeconds"); // the run's first stretch: its length
        QTest::addColumn<double>("firstShare"); // and the share it does
        QTest::addColumn<double>("seconds"); // the whole run's length
        QTest::addColumn<double>("at"); // the share at which the window is read
        QTest::addColumn<int>("stalled"); // seconds without progress after that
        QTest::addColumn<QString>("told"); // the window's line under the count
        QTest::newRow("20 s, too early to tell") << 10.0 << 0.5 << 20.0 << 0.1 << 0 << "";
        QTest::newRow("20 s, 30% done") << 10.0 << 0.5 << 20.0 << 0.3 << 0 << "About 14 seconds left";
        QTest::newRow("20 s, 50% done") << 10.0 << 0.5 << 20.0 << 0.5 << 0 << "About 10 seconds left";
        QTest::newRow("20 s, 60% done") << 10.0 << 0.5 << 20.0 << 0.6 << 0 << "A few seconds left";
        QTest::newRow("slow first seconds") << 6.0 << 0.03 << 25.4 << 0.4 << 0 << "About 12 seconds left";
        QTest::newRow("slower after the first half")
            << 5.0 << 0.5 << 25.0 << 0.65 << 0 << "About 14 seconds left";
        // Nothing moved for longer than the pace is measured over: the last figure, as the pace fell, stays.
        QTest::newRow("stalled at 30%") << 10.0 << 0.5 << 20.0 << 0.3 << 6 << "About 6 minutes left";
    }
    void timeLeft()
    {
        QFETCH(double, firstSeconds);
        QFETCH(double, firstShare);
        QFETCH(double, seconds);
        QFETCH(double, at);
        QFETCH(int, stalled);
        QFETCH(QString, told);
        const auto shareAt = [&](double t) {
            if (t <= firstSeconds)
                return t / firstSeconds * firstShare;
            return firstShare + (t - firstSeconds) / (seconds - firstSeconds) * (1 - firstShare);
        };
        qint64 now = 0;
        const auto labels = [](long long, std::optional<long long>) { return QString(); };
        ProgressWindow window(QStringLiteral("Printing"), labels, [&now] { return now; });
        long long done = 0;
        window.setExtent([&done] { return DataExtent{.done = done, .total = 100000}; });
        while (done < at * 100000) {
            now += 200;
            done = std::llround(shareAt(now / 1000.0) * 100000);
            for (int value = 0; value < 16; ++value) // the window looks every 16 values
                window.step(done);
        }
        for (int wait = 0; wait < stalled * 5; ++wait) {
            now += 200;
            for (int value = 0; value < 16; ++value)
                window.step(done);
        }
        const auto *shown = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
        QVERIFY(shown);
        QCOMPARE(shown->labelText().section(u'\n', 1), told);
    }

    // The label product chooser: the product a search leaves first is the one
    // chosen, and a cancelled chooser chooses none.
    void productChooser_data()
    {
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("chosen") << true << "Avery 5160";
        QTest::newRow("cancelled") << false << "";
    }
    void productChooser()
    {
        QFETCH(bool, accepted);
        QFETCH(QString, chosen);
        const std::vector<LabelProduct> products = LabelProducts::load(LabelProducts::defaultFolder());
        QTimer::singleShot(0, [accepted] {
            auto *dialog = qobject_cast<LabelProductDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->searchBox->setText("Avery 5160");
            dialog->done(accepted ? QDialog::Accepted : QDialog::Rejected);
        });
        PrinterObject printer;
        const std::optional<LabelProduct> product
            = DialogProvider::real(printer)->chooseLabelProduct(products, {});
        QCOMPARE(product ? product->name() : QString(), chosen);
    }

    // The real preview's zoom: "100%" is the paper's own size, the wheel with
    // Ctrl held zooms in from there, and "Fit page" shows the page whole again.
    void previewZoom()
    {
        PrinterObject printer;
        printer.selectPdfFile(m_dir.filePath("zoom.pdf"));
        QPrintPreviewWidget preview(&printer.qprinter());
        qreal actualSize = 0;
        qreal zoomedIn = 0;
        QTimer::singleShot(0, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            dialog->findChild<QPushButton *>("actualSize")->click();
            actualSize = preview.zoomFactor();
            // Two half steps of a touchpad make one notch of a wheel.
            QWheelEvent wheel({10, 10}, {10, 10}, {}, {0, 60}, Qt::NoButton, Qt::ControlModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(preview.findChild<QGraphicsView *>()->viewport(), &wheel);
            QApplication::sendEvent(preview.findChild<QGraphicsView *>()->viewport(), &wheel);
            zoomedIn = preview.zoomFactor();
            dialog->findChild<QPushButton *>("fitPage")->click();
            dialog->close();
        });
        QVERIFY(!DialogProvider::real(printer)->printPreview(preview));
        QCOMPARE(actualSize, 1.0);
        QCOMPARE(zoomedIn, 1.1);
        QCOMPARE(preview.zoomMode(), QPrintPreviewWidget::FitInView);
    }

    // The picture's resolution typed in Qt's save dialog: one beyond the range is
    // refused with a message and the dialog asks again.
    void pictureResolutionTyped()
    {
        const QTemporaryDir dir;
        QString told;
        QStringList filters; // as the dialog offers them
        const auto answer = [&dir, &filters](const QString &resolution) {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            filters = dialog->nameFilters();
            for (QComboBox *box : dialog->findChildren<QComboBox *>())
                if (box->toolTip().startsWith("Screen"))
                    box->setCurrentText(resolution);
            dialog->selectFile(dir.filePath("label.png"));
            static_cast<QDialog *>(dialog)->accept();
        };
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (!box)
                    return;
                told = box->text();
                QTimer::singleShot(0, [&] { answer("2400 dpi"); }); // the finest taken
                box->accept();
            });
            answer("99999");
        });
        PrinterObject printer;
        const std::unique_ptr<DialogProvider> real = DialogProvider::real(printer);
        int filterIndex = 1;
        int dpi = 0;
        const std::optional<QString> file
            = real->savePictureIn(dir.path(), "PNG (*.png)|*.png", "png", {}, filterIndex, dpi);
        QCOMPARE(file, dir.filePath("label.png"));
        QCOMPARE(dpi, 2400);
        QCOMPARE(filters, QStringList{"PNG (*.png)"});
        QVERIFY2(told.startsWith("\"99999\" is no resolution"), qPrintable(told));
        // Cancel chooses nothing, whatever name the dialog holds.
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        const std::optional<QString> cancelled = real->savePictureIn(
            dir.path(), "PNG (*.png)|*.png", "png", dir.filePath("label.png"), filterIndex, dpi);
        QCOMPARE(cancelled, std::nullopt);
    }

    // Help: the manual's pages in the desktop's browser, or in a window of our own when
    // there is no browser.
    void help_data()
    {
        QTest::addColumn<bool>("browser");
        QTest::newRow("the desktop's browser") << true;
        QTest::newRow("no browser: the program's window") << false;
    }
    void help()
    {
        QFETCH(bool, browser);
        const QString cache = m_dir.filePath(QTest::currentDataTag());
        qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
        StandInDialogs dialogs;
        StandInDesigner designer(dialogs);
        dialogs.browser = browser;
        QString title;
        QString firstPage;
        QString messagesPage;
        QVariant picture;
        bool webToDesktop = false;
        dialogs.onDialog = [&](QDialog &window) {
            title = window.windowTitle();
            auto *text = window.findChild<QTextBrowser *>();
            webToDesktop = text->openExternalLinks();
            firstPage = text->toPlainText();
            picture = text->loadResource(QTextDocument::ImageResource, QUrl("../form1.png"));
            text->setSource(text->source().resolved(QUrl("messages.md")));
            messagesPage = text->toPlainText();
            return int(QDialog::Rejected);
        };
        OutputCommands(designer, dialogs, designer.printer).mnuHelp_Click();
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.allText()));
        const bool window = !browser;
        QCOMPARE(title, window ? "Quillmark help" : "");
        QCOMPARE(webToDesktop, window); // a web link in the manual opens in the desktop's browser
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

    // Names made of any value: the system takes them (the value shortened), in the chosen folder.
    void names()
    {
        QCOMPARE(PictureNames::furtherName("/d/ab", "a/b\\C:\t<*?\"|>", PictureNames::Format::Png),
                 "/d/_a_b_C________.png");
        QCOMPARE(PictureNames::furtherName("/d/item.eps", "7", PictureNames::Format::Eps), "/d/item_7.eps");
        // A name one byte over the 240 a picture's name may take loses that byte from the value's part.
        const QString over
            = PictureNames::furtherName("/d/item.png", QString(232, u'x'), PictureNames::Format::Png);
        QCOMPARE(QFileInfo(over).fileName(), "item_" + QString(231, u'x') + ".png");
        // A chosen name that leaves no room: the value's part is cut down to "_", never to nothing.
        const QString longest = "/d/" + QString(250, u'a');
        QCOMPARE(PictureNames::furtherName(longest + ".png", "7", PictureNames::Format::Png),
                 longest + "__.png");
        QFile file(PictureNames::furtherName(m_dir.filePath("item.bmp"), QString(400, QChar(0xE9)) + QChar(0),
                                             PictureNames::Format::Bitmap));
        QVERIFY2(file.open(QIODevice::WriteOnly) && QFileInfo(file).absolutePath() == m_dir.path(),
                 qPrintable(file.fileName()));
    }
};

QTEST_MAIN(OutputTest)
#include "tst_output.moc"
