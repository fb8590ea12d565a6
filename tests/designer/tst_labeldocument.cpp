// The label document alone, with no window: each field's rule, what its
// observers are told, the codec to and from a design's texts both ways, and a
// run of a thousand labels that leaves the document as it was.
#include "DesignCodec.h"
#include "DocumentHistory.h"
#include "DocumentSource.h"
#include "LabelDocument.h"
#include "LabelPrinter.h"
#include "LabelRenderer.h"
#include "Module1.h"
#include "ObjectClipboard.h"
#include "PrintRun.h"
#include "ScreenMetrics.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <cmath>

#include "common/DesignTexts.h"
#include "common/Raised.h"

using Part = LabelDocument::Part;

// One edit of a document: the part it changes (none: the edit is refused).
struct EditCase {
    std::function<void(LabelDocument &)> edit;
    std::optional<Part> part;
};
Q_DECLARE_METATYPE(EditCase)

// Letter pages at 96 dpi, all drawn on one picture: a printer without a driver.
class PicturePrinter : public LabelPrinter {
public:
    QString deviceName() const override { return QStringLiteral("pictures"); }
    void beginJob() override { m_painter.begin(&m_page); }
    QPainter &painter() override { return m_painter; }
    std::int32_t pageWidthTwips() const override { return 8 * 1440; }
    std::int32_t pageHeightTwips() const override { return 11 * 1440; }
    float twipsPerPixelX() const override { return 15; }
    float twipsPerPixelY() const override { return tppY; }
    void newPage() override { ++pages; }
    void endJob() override { m_painter.end(); }
    void abortJob() override { endJob(); }
    int pages = 1;
    float tppY = 15; // a driver may print at another resolution down the page

private:
    QImage m_page{8 * 96, 11 * 96, QImage::Format_RGB32};
    QPainter m_painter;
};

class TestLabelDocument : public QObject {
    Q_OBJECT
private slots:
    void edits_data()
    {
        QTest::addColumn<EditCase>("c");
        const auto row = [](const char *name, const EditCase &c) { QTest::newRow(name) << c; };
        const auto symbol = [](auto change) {
            return [change](LabelDocument &d) {
                SymbolObject s = d.symbol();
                change(s);
                d.setSymbol(s);
            };
        };
        const auto source = [](auto change) {
            return [change](LabelDocument &d) {
                DataSource s = d.source();
                change(s);
                d.setSource(s);
            };
        };
        const auto margins
            = [](double left) { return [left](LabelDocument &d) { d.setMargins({.labelLeft = left}); }; };
        row("size at the most", {[](LabelDocument &d) { d.setSize(14400000, 1); }, Part::Size});
        row("size beyond it", {[](LabelDocument &d) { d.setSize(2880, 14400000.5); }, std::nullopt});
        row("size not a number", {[](LabelDocument &d) { d.setSize(NAN, 1440); }, std::nullopt});
        row("unit", {[](LabelDocument &d) { d.setUnit(LabelDocument::Unit::Inches); }, Part::Unit});
        row("margin at the most", {margins(-10000), Part::Margins});
        row("margin beyond it", {margins(10000.5), std::nullopt});
        row("margin that is no number", {margins(NAN), Part::Margins});
        row("label product", {[](LabelDocument &d) { d.setLabelProduct("Avery 5160"); }, Part::LabelProduct});
        row("copies at the most", {source([](DataSource &s) { s.copies = 999; }), Part::Source});
        row("no copies", {source([](DataSource &s) { s.copies = 0; }), std::nullopt});
        row("resolution below the least", {[](LabelDocument &d) { d.setPictureDpi(49); }, std::nullopt});
        row("picture resolution", {[](LabelDocument &d) { d.setPictureDpi(2400); }, Part::Pictures});
        row("font size at the most", {symbol([](SymbolObject &s) { s.fontPoints = -1000; }), Part::Symbol});
        row("font size beyond it", {symbol([](SymbolObject &s) { s.fontPoints = 1000.5; }), std::nullopt});
        row("font size 0", {symbol([](SymbolObject &s) { s.fontPoints = 0; }), std::nullopt});
        row("bar colour", {symbol([](SymbolObject &s) { s.options.barColor = Qt::red; }), Part::Symbol});
    }

    // Each edit tells the observers once of its part, and again never when
    // repeated; a refused one raises, changes nothing and tells nobody.
    void edits()
    {
        QFETCH(EditCase, c);
        LabelDocument document;
        const LabelDocument before = document;
        QList<Part> told;
        document.addObserver([&told](Part part) { told << part; });
        const QString error = raised([&] { c.edit(document); });
        if (!c.part) {
            QVERIFY(!error.isEmpty());
            QVERIFY(document == before);
            QCOMPARE(told, QList<Part>());
            return;
        }
        QCOMPARE(error, QString());
        QCOMPARE(told, QList<Part>{*c.part});
        QVERIFY(!(document == before));
        c.edit(document);
        QCOMPARE(told.size(), 1);
    }

    void codec_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("written"); // the same keys, once read into a document
        const auto row = [](const char *name, const char *stored, const char *written) {
            QTest::newRow(name) << QString::fromUtf8(stored) << QString::fromUtf8(written);
        };
        row("inches, the size in hundredths of an inch", "Form1/mesure=1;Form1/vtlw=2880.36",
            "Form1/mesure=1;Form1/vtlw=2880");
        row("rotation and alignment in any letter case", "Form1/Orientation=270.0;Form1/Align=center",
            "Form1/Orientation=270;Form1/Align=Center");
        row("no symbology", "Form1/bartype=-1", "Form1/bartype=-1");
        row("a symbology one past the last, the first", "Form1/bartype=25", "Form1/bartype=0");
        row("grey title box, written ticked", "Form1/Check3=2", "Form1/Check3=1");
        row("the last source set wins", "Form1/option2=1;Form1/option3=1",
            "Form1/option1=0;Form1/option2=0;Form1/option3=1");
        row("no source", "Form1/option1=0", "Form1/option1=0;Form1/option2=0;Form1/option3=0");
        row("margins, one no number", "Label margins/Left=0.25;Page margins/Top=abc",
            "Label margins/Left=0.25;Page margins/Top=;Page margins/Left=0");
        row("columns", "Import columns/Delimiter=TAB;Import columns/Value={sku}",
            "Import columns/Delimiter=tab;Import columns/Value={sku}");
        row("options, resolution, product",
            "Vantrel options/BarColor=#102030;Pictures/Resolution=600;"
            "Quillmark design/LabelProduct=Avery 5160",
            "Vantrel options/BarColor=#102030;Pictures/Resolution=600;"
            "Quillmark design/LabelProduct=Avery 5160");
    }

    // A design's texts read into a document and written back; read again, the same texts.
    void codec()
    {
        QFETCH(QString, stored);
        QFETCH(QString, written);
        const Design back = DesignCodec::written(DesignCodec::read(designOf(stored)));
        for (const QString &pair : written.split(u';'))
            QCOMPARE(textAt(back, pair.section(u'=', 0, 0)), pair.section(u'=', 1));
        QCOMPARE(DesignCodec::written(DesignCodec::read(back)), back);
    }

    // What the texts mean in the document's own terms; nothing stored is the first-run document.
    void typedFields()
    {
        QVERIFY(DesignCodec::read(Design()) == LabelDocument());
        const LabelDocument d
            = DesignCodec::read(designOf("Form1/mesure=1;Form1/Orientation=270;Form1/Align=Right;"
                                         "Form1/bartype=-1;Form1/option2=1;Form1/Check3=2"));
        QCOMPARE(d.unit(), LabelDocument::Unit::Inches);
        QCOMPARE(d.symbol().rotation, SymbolObject::Rotation::ThreeQuarters);
        QCOMPARE(d.symbol().alignment, SymbolObject::Alignment::Right);
        QCOMPARE(d.symbol().symbology, std::nullopt);
        QCOMPARE(d.source().kind, DataSource::Kind::Sequence);
        QCOMPARE(d.source().titled, SymbolObject::Tick::Grey);
    }

    // Named steps stand alone; the controls' changes run into one step until
    // sealed, and typed back to where they were they are no step at all.
    // Undo hands the earlier document to restore; redo the later one.
    void history()
    {
        LabelDocument document;
        DocumentHistory history(document, [&](const LabelDocument &state) { document = state; });
        QUndoStack &stack = history.stack();
        DataSource source = document.source();
        source.text = QStringLiteral("a");
        document.setSource(source);
        source.text = QStringLiteral("ab");
        document.setSource(source);
        QCOMPARE(stack.count(), 1);
        QCOMPARE(stack.undoText(), QStringLiteral("Change Data"));
        history.seal();
        document.setUnit(LabelDocument::Unit::Inches);
        history.nameNext(QStringLiteral("Move Text"));
        document.setSize(2000, 1000);
        QCOMPARE(stack.count(), 3);
        QCOMPARE(stack.undoText(), QStringLiteral("Move Text"));
        stack.setIndex(0);
        QVERIFY(document == LabelDocument());
        stack.redo();
        QCOMPARE(document.source().text, QStringLiteral("ab"));
        // A field typed back to what it held leaves nothing to undo.
        history.reset();
        source.text = QStringLiteral("abc");
        document.setSource(source);
        source.text = QStringLiteral("ab");
        document.setSource(source);
        QCOMPARE(stack.count(), 0);
        // The next change after it is a step of its own, and moving the designer's symbol is one step.
        document.setUnit(LabelDocument::Unit::Inches);
        SymbolObject placed = document.symbol();
        placed.place = QRectF(0, 0, 720, 360);
        history.nameNext(QStringLiteral("Move Designer symbol"));
        document.setObjects({placed});
        QCOMPARE(stack.count(), 2);
        history.hold(true);
        document.setUnit(LabelDocument::Unit::Centimetres);
        QCOMPARE(stack.count(), 2);
    }

    // Objects copied are read back as they were, the designer's symbol as a
    // symbol object of its own; anything else on the clipboard is refused.
    void clipboard()
    {
        LabelDocument document;
        document.setUnit(LabelDocument::Unit::Inches);
        const BoxObject box{.frame = {QRectF(0, 0, 720, 360)}, .shape = BoxObject::Shape::Ellipse};
        SymbolObject designer = document.symbol();
        designer.place = QRectF(36, 720, 2160, 540);
        designer.rotation = SymbolObject::Rotation::Half;
        document.setObjects({box, designer});
        const std::vector<LabelObject> pasted
            = ObjectClipboard::pasted(ObjectClipboard::copied(document, {1}));
        QCOMPARE(pasted.size(), std::size_t(1));
        const auto &symbol = std::get<BarcodeObject>(pasted[0]);
        QVERIFY(!LabelObjects::fault(LineObject{.strokePoints = 1001}).isEmpty());
        QCOMPARE(symbol.frame.rotation, SymbolObject::Rotation::Half);
        QCOMPARE(raised([] { ObjectClipboard::pasted("[Object1]\nKind=Text\nWidth=-1\n"); }),
                 QStringLiteral("The clipboard holds no objects to paste."));
    }

    // A print run of a thousand labels (500 values, two copies each) draws from the document and leaves
    // it as it was.
    void runLeavesDocument()
    {
        LabelDocument document
            = DesignCodec::read(designOf("Form1/bartype=8;Form1/option2=1;Form1/text2=0001;"
                                         "Form1/text3=0500;Form1/mesure=1;Form1/vtlw=1440;Form1/vtlh=720"));
        DataSource twice = document.source();
        twice.copies = 2;
        document.setSource(twice);
        const LabelDocument before = document;
        int told = 0;
        document.addObserver([&told](Part) { ++told; });
        DocumentSource source(document);
        Module1 data(source);
        LabelRenderer renderer(document);
        PicturePrinter printer;
        PrintRun run(document, renderer, data, printer);
        QVERIFY2(run.execute(), qPrintable(run.error()));
        QCOMPARE(run.labelsDrawn(), 1000LL);
        QCOMPARE(printer.pages, 1000 / (8 * 22) + 1);
        QCOMPARE(run.lastRecord()->value, QStringLiteral("0500"));
        QVERIFY(document == before);
        QCOMPARE(told, 0);
        QCOMPARE(renderer.symbol().Font().Size(), document.symbol().fontPoints);
    }

    // The module is counted in the dots across the bars: a symbol turned a quarter
    // has them down the page, where the printer may have another resolution.
    void moduleAcrossTheBars_data()
    {
        QTest::addColumn<QString>("rotation");
        QTest::addColumn<QString>("dots");
        QTest::newRow("upright") << "0"
                                 << "at 96 dpi";
        QTest::newRow("a quarter turn") << "90"
                                        << "at 48 dpi";
    }
    void moduleAcrossTheBars()
    {
        QFETCH(QString, rotation);
        QFETCH(QString, dots);
        const LabelDocument document = DesignCodec::read(designOf(
            "Form1/bartype=8;Form1/mesure=1;Form1/vtlw=5760;Form1/vtlh=5760;Form1/Orientation=" + rotation));
        DocumentSource source(document);
        Module1 data(source);
        LabelRenderer renderer(document);
        renderer.show({QStringLiteral("HELLO-42"), std::nullopt});
        PicturePrinter printer;
        printer.tppY = 30;
        const std::optional<ModuleSize> module
            = PrintRun(document, renderer, data, printer).moduleOnPrinter();
        QVERIFY(module);
        QVERIFY2(module->onDevice().endsWith(dots), qPrintable(module->onDevice()));
    }
};

QTEST_MAIN(TestLabelDocument)
#include "tst_labeldocument.moc"
