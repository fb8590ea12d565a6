// The save, copy and About commands driven through a stand-in designer, with
// the written files read back by outside readers (QImageReader, zxing-cpp,
// wmf2svg), and the naming of the files.
#include "Decode.h"
#include "OutputCommands.h"
#include "PictureNames.h"
#include "ScreenMetrics.h"
#include "SymbolBuilder.h"
#include "print_standins.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QtTest>

class SaveRunTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { ScreenMetrics::overrideDpi(96, 96); }

    // A run saved under the name chosen: the import lines (none: the sequence
    // 001 to 003), the symbology, the symbol's size in twips, the files
    // expected (decoded: file=value), the PNG pixels, a folder made where a file
    // should go, and what the one message says (none: no message).
    void runs()
    {
        struct Run { const char *name; QStringList lines; QString chosen; std::int16_t barType; double w, h;
                     QStringList files; QSize pixels; QString blocker, says; };
        const QStringList bmps{"item_002.bmp=002", "item_003.bmp=003"}, pngs{"item.png=001", "item_002.png=002", "item_003.png=003"};
        const Run runs[] = {
            {"bmp", {}, "item.bmp", 8, 4800, 1800, QStringList{"item.bmp=001"} + bmps},
            {"BMP", {}, "item.BMP", 8, 4800, 1800, QStringList{"item.BMP=001"} + bmps},
            {"PNG is a bitmap", {}, "item.PNG", 8, 4800, 1800, QStringList{"item.PNG=001"} + bmps},
            // PNGs at the screen size: 15 twips a pixel, halves to the even neighbour.
            {"png, 2 x 1 inch", {}, "item.png", 8, 2880, 1440, pngs, {192, 96}},
            {"png, halves", {}, "item.png", 8, 2887.5, 1462.5, pngs, {192, 98}},
            {"png, below half", {}, "item.png", 8, 3127, 1507, pngs, {208, 100}},
            {"wmf", {}, "item.wmf", 8, 4800, 1800, {"item.wmf=", "item_002.wmf=", "item_003.wmf="}},
            // Every line a value; unsafe values stay in the folder and never replace an earlier file.
            {"unsafe values", {"A1", "../../x", "a/b", "A1", "a_b", ".."}, "item.bmp", 8, 4800, 1800,
             {"item.bmp=A1", "item_.._.._x.bmp=../../x", "item_a_b.bmp=a/b", "item_A1.bmp=A1", "item_a_b_2.bmp=a_b", "item___.bmp=.."}},
            {"empty first value", {"", "A-1", "B-2"}, "item.bmp", 8, 4800, 1800, {"item_A-1.bmp=A-1", "item_B-2.bmp=B-2"}},
            {"only an empty value", {""}, "item.bmp", 8, 4800, 1800, {}, {}, {}, "No picture was saved"},
            {"no symbology", {}, "item.bmp", -1, 4800, 1800, {}, {}, {}, "No symbology is chosen"},
            {"width 0", {}, "item.bmp", 8, 0, 1800, {}, {}, {}, "at 0 x 120 pixels the symbol has no room"},
            {"png height below 0", {}, "item.png", 8, 2880, -30, {}, {}, {}, "at 192 x -2 pixels"},
            {"wmf width below 0", {}, "item.wmf", 8, -2880, 1800, {}, {}, {}, "has no room"},
            {"folder gone", {"1", "2"}, "gone/item.bmp", 8, 4800, 1800, {}, {}, {}, "gone/item.bmp"},
            {"folder in the way", {"1", "2"}, "item.bmp", 8, 4800, 1800, {"item.bmp=1"}, {}, "item_2.bmp", "value \"2\""},
            {"EAN-13 letters", {"590123412345", "ABC"}, "item.bmp", 0, 4800, 1800, {"item.bmp=5901234123457"}, {}, {},
             "value \"ABC\": its picture was not saved as \"%1/item_ABC.bmp\".\nEAN-13 accepts up to 13 digits (fewer than "
             "12 are padded with leading zeros"},
            {"GS1 check digit", {"[01]09501101530004"}, "item.bmp", 12, 4800, 1800, {}, {}, {},
             "the check digit of (01) is '4', it must be '3'"}};
        for (const Run &r : runs) {
            const QString out = m_dir.filePath(r.name);
            QVERIFY(QDir().mkpath(out) && (r.blocker.isEmpty() || QDir(out).mkdir(r.blocker)));
            StandInDesigner designer;
            StandInDialogs dialogs;
            OutputCommands commands(designer);
            QFile file(designer.t4 = designer.dir.filePath("import.txt"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(r.lines.join("\r\n").toUtf8() + "\r\n"));
            file.close();
            designer.source(r.lines.isEmpty() ? 2 : 3);
            designer.vantrel_.setBarType(r.barType);
            designer.widthTwips = r.w, designer.heightTwips = r.h;
            designer.vantrel_.setWidth(float(r.w / 15)), designer.vantrel_.setHeight(float(r.h / 15));
            QGuiApplication::clipboard()->setText(QStringLiteral("the user's own text"));
            dialogs.saveAnswer = out + u'/' + r.chosen;
            commands.mnuSave_Click();

            QVERIFY2(dialogs.allText().contains(QString(r.says).replace("%1", out)), qPrintable(dialogs.allText()));
            QCOMPARE(dialogs.messages.size(), r.says.isEmpty() ? 0 : 1);
            QStringList files = QDir(out).entryList(QDir::Files | QDir::Hidden), expected; // nothing half-written
            for (const QString &entry : r.files)
                expected << entry.section(u'=', 0, 0);
            QCOMPARE((files.sort(), files), (expected.sort(), expected));
            for (const QString &entry : r.files) {
                const QString path = out + u'/' + entry.section(u'=', 0, 0);
                QImageReader reader(path);
                if (r.chosen.endsWith("wmf")) {
                    QProcess wmf2svg;
                    wmf2svg.start(QStringLiteral("wmf2svg"), {QStringLiteral("-o"), path + ".svg", path});
                    QVERIFY2(wmf2svg.waitForFinished(30000) && wmf2svg.exitCode() == 0, qPrintable(path));
                    continue;
                }
                QCOMPARE(reader.format(), QByteArray(r.chosen.endsWith("png") ? "png" : "bmp"));
                QVERIFY(!r.pixels.isValid() || reader.size() == r.pixels);
                QCOMPARE(Decode::zxingOne(reader.read()), entry.section(u'=', 1));
            }
            if (r.says.isEmpty()) // the preview ends on the last value
                QCOMPARE(designer.vantrel_.Caption(), r.lines.isEmpty() ? QStringLiteral("003") : r.lines.last());
            QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("the user's own text"));
            QVERIFY(!designer.data.importFile().isOpen());
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
            designer.source(1);
            designer.t1 = QStringLiteral("HELLO 42");
            designer.vantrel_.setBarType(barType);
            designer.vantrel_.setCaption(QStringLiteral("COPY-7"));
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
            if (button == 2)
                QCOMPARE(dialogs.askedFilter, QStringLiteral("Bitmap files (*.bmp)|*.bmp|Windows metafiles (*.wmf)|*.wmf|"
                                                             "PNG files (*.png)|*.png|All fiels (*.*)|*.*.bmp"));
        }
    }

    // Names after the first value, and names a run already gave.
    void names()
    {
        const QList<std::array<QString, 3>> further{
            {"/d/item.WMF", "002", "/d/item_002.bmp"}, {"/d/item.wmf", "002", "/d/item_002.wmf"},
            {"/d.x/item.bmp", " 1.5 Grüße €", "/d.x/item_ 1.5 Grüße €.bmp"},
            {"/d/item.bmp", "a/b\\C:\t\r\n<*?\"|>", "/d/item_a_b_C__________.bmp"},
            {"/d/ab", "002", "/d/_002.bmp"}, {"/d/itempng", "2", "/d/ite_2.png"}};
        for (const auto &[chosen, value, expected] : further)
            QCOMPARE(PictureNames::furtherName(chosen, value, PictureNames::formatOf(chosen)), expected);
        PictureNames::UniqueNames names;
        QStringList given;
        for (const char *path : {"/d/a_2.bmp", "/d/a.bmp", "/d/a.bmp", "/d/A.bmp", "/d/a_2.bmp", "/d.x/n", "/d.x/n"})
            given << names.claim(path);
        QCOMPARE(given, (QStringList{"/d/a_2.bmp", "/d/a.bmp", "/d/a_3.bmp", "/d/A_4.bmp", "/d/a_2_2.bmp", "/d.x/n", "/d.x/n_2"}));
        // The system accepts every name, and the file lands directly in the chosen folder.
        for (const QString &value : {QStringLiteral("/etc/passwd"), QString(QChar(0)) + "x", QString(400, QChar(0xE9)),
                                     QString::fromUtf8("\xF0\x9F\x98\x80").repeated(200)}) {
            QTemporaryDir top;
            QVERIFY(QDir(top.path()).mkpath("a/chosen"));
            QFile file(PictureNames::furtherName(top.path() + "/a/chosen/item.bmp", value, PictureNames::Format::Bitmap));
            QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
            QCOMPARE(QDir(top.path() + "/a/chosen").entryList(QDir::Files | QDir::Hidden).size(), 1);
        }
    }
};

QTEST_MAIN(SaveRunTest)
#include "save_run.moc"
