// The objects on a label in design files: one of every kind written and read
// back, picture files kept relative to the design file, the sections refused
// with the file, section, key and value named, and a design without objects
// written byte for byte as before.
#include "DesignCodec.h"
#include "IniText.h"
#include "ObjectSections.h"

#include <QtTest>

#include "Files.h"
#include "common/Raised.h"

namespace {

constexpr double kCm = 567.0; // twips

QRectF cm(double left, double top, double width, double height)
{
    return {left * kCm, top * kCm, width * kCm, height * kCm};
}

// The first-run label (5.08 x 2.54 cm) with one object of every kind, the
// designer's symbol placed among them; its picture in folder/logos.
LabelDocument everyKind(const QString &folder)
{
    LabelDocument document = DesignCodec::read(Design());
    BoxObject box{.frame = {cm(.25, .25, 4.5, 2)}, .cornerTwips = .25 * kCm, .strokePoints = .5};
    box.stroke = QColor("#112233");
    box.fill = QColor("#ffeecc");
    SymbolObject designer = document.symbol();
    designer.place = cm(.5, 0, 3, 2.54); // the label's whole height, not its width
    TextObject text{.frame = {cm(.5, 2, 4, .5)}, .text = "Lot {2}\nBest before {date:dd.MM.yyyy}"};
    text.fontName = "Liberation Sans";
    text.fontPoints = 9.5;
    text.bold = true;
    text.colour = QColor("#204060");
    text.alignment = SymbolObject::Alignment::Center;
    text.shrinkToFit = true;
    BarcodeObject barcode;
    barcode.frame = {cm(3.5, .5, 1.5, 1.5), SymbolObject::Rotation::Quarter};
    barcode.data = "{sku}";
    barcode.symbol.symbology = Symbology::Code128;
    barcode.symbol.showText = SymbolObject::Tick::Grey;
    barcode.symbol.fontPoints = 8;
    barcode.symbol.options.barColor = QColor("#000080");
    barcode.symbol.options.code39Check = true;
    const PictureObject picture{.frame = {cm(4, 2, 1, .5)}, .file = folder + "/logos/shop.svg"};
    const LineObject line{.frame = {cm(.25, 2.5, 4.5, -.25)}, .strokePoints = .75, .stroke = Qt::red};
    document.setObjects({box, designer, text, barcode, picture, line});
    return document;
}

// A design file holding the first-run design and these sections.
QByteArray designWith(const QByteArray &sections)
{
    return "[Form1]\nvtlw=2880\nvtlh=1440\nmesure=0\n" + sections;
}

} // namespace

class TestObjectSections : public QObject {
    Q_OBJECT
private slots:
    // Every kind read back as written, each a section of its own in stacking order.
    void roundTrip()
    {
        QTemporaryDir dir;
        const LabelDocument document = everyKind(dir.path());
        const QString file = dir.filePath("shelf.qmdesign");
        DesignCodec::written(document).writeFile(file);
        const Design read = Design::readFile(file);
        QVERIFY(DesignCodec::read(read) == document);
        QStringList kinds;
        for (int number = 1; read.sectionNames().contains(ObjectSections::sectionName(number)); ++number)
            kinds << read.section(ObjectSections::sectionName(number)).value("Kind");
        QCOMPARE(kinds, QStringList({"Box", "Designer symbol", "Text", "Symbol", "Picture", "Line"}));
    }

    void writtenKeys_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *name, const char *section, const char *key, const QString &text) {
            QTest::newRow(name) << QString(section) << QString(key) << text;
        };
        row("the designer's symbol's box in centimetres", "Object2", "Width", "3");
        row("a text's lines", "Object3", "Text", "Lot {2}\nBest before {date:dd.MM.yyyy}");
        row("a grey check box", "Object4", "ShowText", "2");
        row("a format option by the designer's name", "Object4", "BarColor", "#000080");
        row("a picture beside the design", "Object5", "File", "logos/shop.svg");
        row("a line drawn upwards", "Object6", "Height", "-.25");
        row("a box's corner in centimetres", "Object1", "Corner", ".25");
        row("a box's fill", "Object1", "Fill", "#ffeecc");
    }

    void writtenKeys()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString file = dir.filePath("shelf.qmdesign");
        DesignCodec::written(everyKind(dir.path())).writeFile(file);
        QCOMPARE(Design::readFile(file).section(section).value(key), text);
    }

    void picturePaths_data()
    {
        QTest::addColumn<QString>("picture"); // in the test's folder
        QTest::addColumn<QString>("written"); // into shelf/
        QTest::addColumn<QString>("movedOn"); // the design read from there and saved into moved/
        QTest::newRow("beside the design") << "shelf/a.png"
                                           << "a.png"
                                           << "../shelf/a.png";
        QTest::newRow("in a folder beside the design's") << "logos/a.svg"
                                                         << "../logos/a.svg"
                                                         << "../logos/a.svg";
    }

    // Relative to the design file wherever it is saved, absolute in the document.
    void picturePaths()
    {
        QFETCH(QString, picture);
        QFETCH(QString, written);
        QFETCH(QString, movedOn);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("shelf"));
        QVERIFY(QDir(dir.path()).mkpath("moved"));
        LabelDocument document = DesignCodec::read(Design());
        const PictureObject object{.frame = {cm(0, 0, 1, 1)}, .file = dir.filePath(picture)};
        document.setObjects({document.symbol(), object});
        DesignCodec::written(document).writeFile(dir.filePath("shelf/a.qmdesign"));
        const Design read = Design::readFile(dir.filePath("shelf/a.qmdesign"));
        QCOMPARE(read.section("Object2").value("File"), written);
        QVERIFY(DesignCodec::read(read) == document);
        read.writeFile(dir.filePath("moved/a.qmdesign"));
        QCOMPARE(Design::readFile(dir.filePath("moved/a.qmdesign")).section("Object2").value("File"),
                 movedOn);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("sections");
        QTest::addColumn<QString>("message");
        const QByteArray box = "[Object1]\nKind=Box\nTop=.5\nHeight=1\nLeft=1\n";
        QTest::newRow("unknown kind") << QByteArray("[Object1]\nKind=Circle\n")
                                      << "holds Kind=\"Circle\" in [Object1], which is not Text, Symbol, "
                                         "Picture, Line, Box or Designer symbol";
        QTest::newRow("a length with its unit") << box + "Width=2cm\n"
                                                << "holds Width=\"2cm\" in [Object1], which is no number";
        QTest::newRow("negative width") << box + "Width=-1\n"
                                        << "holds Width=\"-1\" in [Object1], which is below 0";
        QTest::newRow("missing height") << QByteArray("[Object1]\nKind=Text\nLeft=0\nTop=0\nWidth=1\n")
                                        << "holds [Object1] without Height, which every object has";
        QTest::newRow("a second designer symbol")
            << QByteArray("[Object1]\nKind=Designer symbol\nLeft=0\nTop=0\nWidth=1\nHeight=1\n"
                          "[Object2]\nKind=designer symbol\nLeft=1\nTop=0\nWidth=1\nHeight=1\n")
            << "holds Kind=\"designer symbol\" in [Object2], which [Object1] holds already";
        QTest::newRow("a gap")
            << box + "Width=1\n[Object3]\nKind=Box\n"
            << "holds [Object3] but no [Object2]: objects are numbered from 1 without gaps";
    }

    void refused()
    {
        QFETCH(QByteArray, sections);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString file = dir.filePath("bad.qmdesign");
        QVERIFY(plant(file, designWith(sections)));
        const QString refusal = raised([&file] { Design::readFile(file); });
        const QString named = QStringLiteral("The design file %1 %2").arg(file, message);
        QVERIFY2(refusal.startsWith(named), qPrintable(refusal));
    }

    void withoutObjects_data()
    {
        QTest::addColumn<bool>("hadObjects"); // written over a design that held some
        QTest::newRow("the first-run design") << false;
        QTest::newRow("objects added and all taken away") << true;
    }

    // The bytes the design's keys alone make, as files were written before objects.
    void withoutObjects()
    {
        QFETCH(bool, hadObjects);
        QTemporaryDir dir;
        LabelDocument document = everyKind(dir.path());
        Design design = hadObjects ? DesignCodec::written(document) : Design();
        SymbolObject alone = document.symbol();
        alone.place.reset();
        document.setObjects({alone});
        DesignCodec::write(document, design);
        const QString file = dir.filePath("plain.qmdesign");
        design.writeFile(file);
        IniText::Sections keys;
        for (const DesignKeys::Entry &entry : DesignKeys::all())
            keys[entry.section][entry.name] = design.text(entry.key);
        QCOMPARE(contents(file), IniText::write(keys));
    }
};

QTEST_GUILESS_MAIN(TestObjectSections)
#include "tst_objectsections.moc"
