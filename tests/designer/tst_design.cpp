// The design model alone, with no window: every key's default and rule, its
// round trip through a design file, and the
// design files that must be refused with a message naming file, key and value.
#include "Design.h"
#include "ImportColumnsChoice.h"
#include "RecentDesigns.h"
#include "SettingsStore.h"

#include <QtTest>
#include <sys/stat.h>

#include "Files.h"
#include "common/Raised.h"

// One key: its name in the files, its text by default, a text its rule takes
// and one it refuses (the refused text is not checked for free-text keys).
struct KeyCase {
    DesignKey key;
    QString name;
    QString byDefault;
    QString good;
    QString bad = {};
};
Q_DECLARE_METATYPE(KeyCase)

class TestDesign : public QObject {
    Q_OBJECT
private slots:
    void keys_data()
    {
        QTest::addColumn<KeyCase>("c");
        const auto row = [](const char *name, const KeyCase &c) { QTest::newRow(name) << c; };
        using K = DesignKey;
        row("width", {.key = K::Width, .name = "vtlw", .byDefault = "2880", .good = "4320.5", .bad = "-5"});
        row("symbology",
            {.key = K::Symbology, .name = "bartype", .byDefault = "0", .good = "24", .bad = "999"});
        row("symbology that is no whole number",
            {.key = K::Symbology, .name = "bartype", .byDefault = "0", .good = "-1", .bad = "2.5"});
        row("scaling", {.key = K::Scaling, .name = "Scaling", .byDefault = "0", .good = "2", .bad = "3"});
        row("rotation",
            {.key = K::Rotation, .name = "Orientation", .byDefault = "0", .good = "270", .bad = "45"});
        row("alignment",
            {.key = K::Align, .name = "Align", .byDefault = "Left", .good = "center", .bad = "Middle"});
        row("font size",
            {.key = K::FontSize, .name = "combo3", .byDefault = "14", .good = "12.5", .bad = "5000"});
        row("source text",
            {.key = K::SourceText, .name = "option1", .byDefault = "1", .good = "0", .bad = "on"});
        row("label margin",
            {.key = K::LabelLeft, .name = "Left", .byDefault = "0", .good = "0,25", .bad = "10000.5"});
        row("custom symbology",
            {.key = K::CustomSymbology,
             .name = "CustomSymbology",
             .byDefault = "58",
             .good = "71",
             .bad = "0"});
        row("bar colour",
            {.key = K::BarColor,
             .name = "BarColor",
             .byDefault = "#000000",
             .good = "#102030",
             .bad = "ink"});
        row("import header",
            {.key = K::ImportHeader, .name = "Header", .byDefault = "0", .good = "1", .bad = "2"});
        row("bar width reduction, in millimetres or pixels as kept before",
            {.key = K::BarWidthReduction,
             .name = "BarWidthReduction",
             .byDefault = "0",
             .good = ".05mm",
             .bad = "1.5mm"});
        row("bar width reduction, at most 50 pixels",
            {.key = K::BarWidthReduction,
             .name = "BarWidthReduction",
             .byDefault = "0",
             .good = "50",
             .bad = "51"});
        row("picture resolution",
            {.key = K::PictureDpi, .name = "Resolution", .byDefault = "Screen", .good = "600", .bad = "20"});
    }

    void keys()
    {
        QFETCH(KeyCase, c);
        const DesignKeys::Entry &entry = DesignKeys::entry(c.key);
        QCOMPARE(entry.name, c.name);
        QCOMPARE(Design().text(c.key), c.byDefault);
        QCOMPARE(Design::fault(c.key, c.byDefault), QString());
        QCOMPARE(Design::fault(c.key, c.good), QString());
        if (entry.rule != DesignKeys::Rule::Text)
            QVERIFY2(!Design::fault(c.key, c.bad).isEmpty(), qPrintable(c.bad));

        QTemporaryDir dir;
        Design design;
        design.setText(c.key, c.good);
        const QString file = dir.filePath("label.qmdesign");
        design.writeFile(file);
        QCOMPARE(Design::readFile(file), design);
        // The settings store keeps the key's section, and only the keys it keeps.
        SettingsStore store(dir.filePath("Quillmark2.conf"));
        design.writeSection(store, entry.section);
        QCOMPARE(Design::fromStore(store).text(c.key), entry.stored ? c.good : c.byDefault);
    }

    void fileValues_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        const auto row
            = [](const char *name, const QByteArray &content, const char *key, const QString &value) {
                  QTest::newRow(name) << content << QString::fromLatin1(key) << value;
              };
        row("unknown keys", "[Form1]\nbartype=8\nnote=from the shop\n\n[Shop]\nowner=Anna\n", "Shop/owner",
            "Anna");
        row("a typed value's look", "[Shop]\nnote=@Rect(1 2 3 4)\n", "Shop/note", "@Rect(1 2 3 4)");
        row("a comma in the caption", "[Form1]\nCaption=Hello, World\n", "Form1/Caption", "Hello, World");
        row("a semicolon in the caption", "; a comment\n[Form1]\nCaption=Hello; World\n", "Form1/Caption",
            "Hello; World");
        row("quotes, escapes and @ as written", "[Form1]\nCaption=\"@@x, \\\"y\\\"\"\n", "Form1/Caption",
            "@x, \"y\"");
        row("a byte-order mark", "\xEF\xBB\xBF[Form1]\r\nCaption=marked\r\n", "Form1/Caption", "marked");
        row("a key without a name first", "=stray\n[Shop]\nowner=Anna\n", "Shop/owner", "Anna");
        row("a quoted line continued, an escape", "[Shop]\nnote=\"a\\fb\\\nc\"\n", "Shop/note", "a\fbc");
    }
    // Every value reads as the characters written and is written again
    // unchanged, also under keys the program does not know; another reader
    // (QSettings) reads the file saved again.
    void fileValues()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString file = dir.filePath("shop.qmdesign");
        QVERIFY(plant(file, content));
        const Design design = Design::readFile(file);
        design.writeFile(dir.filePath("again.qmdesign"));
        QCOMPARE(Design::readFile(dir.filePath("again.qmdesign")), design);
        QSettings again(dir.filePath("again.qmdesign"), QSettings::IniFormat);
        QCOMPARE(again.value(key).toString(), value);
    }

    void badFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("delimiter word")
            << QByteArray("[Import columns]\nDelimiter=pipe\n") << "file"
            << "holds Delimiter=\"pipe\" in [Import columns], which is not detect, comma, semicolon or tab";
        QTest::newRow("margin far beyond") << QByteArray("[Page margins]\nLeft=1e23\n") << "file"
                                           << "holds Left=\"1e23\" in [Page margins], which is no length "
                                              "from -10,000 to 10,000 in the design's unit";
        QTest::newRow("margin not a number") << QByteArray("[Label margins]\nTop= nan\n") << "file"
                                             << "holds Top=\"nan\" in [Label margins], which is no length";
        QTest::newRow("not INI") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR[[", 20) << "file"
                                 << "cannot be read as a design";
        QTest::newRow("too large") << QByteArray() << "large"
                                   << "larger than 1048576 bytes";
        QTest::newRow("pipe") << QByteArray() << "fifo"
                              << "cannot be read: it is not an ordinary file";
        QTest::newRow("missing") << QByteArray() << "missing"
                                 << "cannot be read: No such file or directory";
    }

    // Refused whole, with the file named: nothing of it is taken.
    void badFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.qmdesign");
        if (kind == "file")
            QVERIFY(plant(path, content));
        if (kind == "large")
            QVERIFY(plant(path, "[Form1]\nCaption=" + QByteArray(Design::kMaxFileBytes, 'x') + "\n"));
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        const QString refused = raised([&path] { Design::readFile(path); });
        QVERIFY2(refused.contains(message), qPrintable(refused));
        QVERIFY2(refused.contains(path), qPrintable(refused));
    }
};

QTEST_GUILESS_MAIN(TestDesign)
#include "tst_design.moc"
