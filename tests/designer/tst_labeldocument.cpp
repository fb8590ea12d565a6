// The label document alone, with no window: each field's rule, what its
// observers are told, the codec to and from a design's texts both ways, and a
// run of a thousand labels that leaves the document as it was.
#include "DesignCodec.h"
#include "DocumentSource.h"
#include "LabelDocument.h"
#include "LabelPrinter.h"
#include "LabelRenderer.h"
#include "Module1.h"
#include "PrintRun.h"
#include "ScreenMetrics.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <cmath>

#include "common/Raised.h"

using Part = LabelDocument::Part;

// One edit of a document: the part it changes (none: the edit is refused).
struct EditCase {
    std::function<void(LabelDocument &)> edit;
    std::optional<Part> part;
};
Q_DECLARE_METATYPE(EditCase)

// A design's texts and what the document makes of them; written back as expected.
struct CodecCase {
    QMap<DesignKey, QString> texts;
    std::function<bool(const LabelDocument &)> holds;
    QMap<DesignKey, QString> written;
};
Q_DECLARE_METATYPE(CodecCase)

// Letter pages at 96 dpi, all drawn on one picture: a printer without a driver.
class PicturePrinter : public LabelPrinter {
public:
    QString deviceName() const override { return QStringLiteral("pictures"); }
    void beginJob() override { m_painter.begin(&m_page); }
    QPainter &painter() override { return m_painter; }
    std::int32_t pageWidthTwips() const override { return 8 * 1440; }
    std::int32_t pageHeightTwips() const override { return 11 * 1440; }
    float twipsPerPixelX() const override { return 15; }
    float twipsPerPixelY() const override { return 15; }
    void newPage() override { ++pages; }
    void endJob() override { m_painter.end(); }
    void abortJob() override { endJob(); }
    int pages = 1;

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
        row("size", {[](LabelDocument &d) { d.setSize(4320, 1440); }, Part::Size});
        row("size at the most", {[](LabelDocument &d) { d.setSize(14400000, 1); }, Part::Size});
        row("size beyond it", {[](LabelDocument &d) { d.setSize(2880, 14400000.5); }, std::nullopt});
        row("size not a number", {[](LabelDocument &d) { d.setSize(NAN, 1440); }, std::nullopt});
        row("unit", {[](LabelDocument &d) { d.setUnit(LabelDocument::Unit::Inches); }, Part::Unit});
        row("margin at the most", {margins(-10000), Part::Margins});
        row("margin beyond it", {margins(10000.5), std::nullopt});
        row("margin that is no number", {margins(NAN), Part::Margins});
        row("label product", {[](LabelDocument &d) { d.setLabelProduct("Avery 5160"); }, Part::LabelProduct});
        row("source", {source([](DataSource &s) { s.kind = DataSource::Kind::Sequence; }), Part::Source});
        row("copies at the most", {source([](DataSource &s) { s.copies = 999; }), Part::Source});
        row("no copies", {source([](DataSource &s) { s.copies = 0; }), std::nullopt});
        row("resolution below the least", {[](LabelDocument &d) { d.setPictureDpi(49); }, std::nullopt});
        row("picture resolution", {[](LabelDocument &d) { d.setPictureDpi(2400); }, Part::Pictures});
        row("symbology", {symbol([](SymbolObject &s) { s.symbology.reset(); }), Part::Symbol});
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
        QTest::addColumn<CodecCase>("c");
        using K = DesignKey;
        using Rotation = SymbolObject::Rotation;
        const auto row = [](const char *name, const CodecCase &c) { QTest::newRow(name) << c; };
        row("first run",
            {{},
             [](const LabelDocument &d) { return d == LabelDocument(); },
             {{K::Width, "2880.36"}, {K::Unit, "0"}, {K::FontSize, "14"}, {K::Align, "Left"}}});
        row("inches, the size in hundredths of an inch",
            {{{K::Unit, "1"}, {K::Width, "2880.36"}},
             [](const LabelDocument &d) {
                 return d.unit() == LabelDocument::Unit::Inches && d.width() == 2880;
             },
             {{K::Unit, "1"}, {K::Width, "2880"}}});
        row("rotation",
            {{{K::Rotation, "270"}},
             [](const LabelDocument &d) { return d.symbol().rotation == Rotation::ThreeQuarters; },
             {{K::Rotation, "270"}}});
        row("alignment in any letter case",
            {{{K::Align, "center"}},
             [](const LabelDocument &d) { return d.symbol().alignment == SymbolObject::Alignment::Center; },
             {{K::Align, "Center"}}});
        row("a symbology one past the last, the first",
            {{{K::Symbology, "25"}},
             [](const LabelDocument &d) { return d.symbol().symbology == Symbology::Ean13; },
             {{K::Symbology, "0"}}});
        row("no symbology",
            {{{K::Symbology, "-1"}},
             [](const LabelDocument &d) { return !d.symbol().symbology; },
             {{K::Symbology, "-1"}}});
        row("grey title box, written ticked",
            {{{K::HasTitle, "2"}},
             [](const LabelDocument &d) { return d.source().titled == SymbolObject::Tick::Grey; },
             {{K::HasTitle, "1"}}});
        row("the last source set wins",
            {{{K::SourceText, "1"}, {K::SourceSequence, "1"}, {K::Prefix, "SSCC-"}},
             [](const LabelDocument &d) {
                 return d.source().kind == DataSource::Kind::Sequence && d.source().prefix == "SSCC-";
             },
             {{K::SourceText, "0"}, {K::SourceSequence, "1"}, {K::Prefix, "SSCC-"}}});
        row("no source",
            {{{K::SourceText, "0"}},
             [](const LabelDocument &d) { return d.source().kind == DataSource::Kind::None; },
             {{K::SourceText, "0"}, {K::SourceImport, "0"}}});
        row("margins",
            {{{K::LabelLeft, "0.25"}, {K::PageBottom, "-3"}},
             [](const LabelDocument &d) {
                 return d.margins().labelLeft == 0.25 && d.margins().pageBottom == -3;
             },
             {{K::LabelLeft, "0.25"}, {K::PageBottom, "-3"}, {K::PageTop, "0"}}});
        row("a margin that is no number",
            {{{K::PageTop, "abc"}},
             [](const LabelDocument &d) { return std::isnan(d.margins().pageTop); },
             {{K::PageTop, ""}}});
        row("columns",
            {{{K::SourceImport, "1"}, {K::ImportDelimiter, "TAB"}, {K::ImportValue, "{sku}"}},
             [](const LabelDocument &d) {
                 return d.source().columns.delimiter == ImportColumns::Delimiter::Tab
                     && d.source().columns.valueTemplate == "{sku}";
             },
             {{K::ImportDelimiter, "tab"}, {K::ImportValue, "{sku}"}}});
        row("colours and check digits",
            {{{K::BarColor, "#102030"}, {K::Code39Check, "1"}},
             [](const LabelDocument &d) {
                 return d.symbol().options.barColor == QColor(0x10, 0x20, 0x30)
                     && d.symbol().options.code39Check;
             },
             {{K::BarColor, "#102030"}, {K::Code39Check, "1"}}});
    }

    // A design's texts read into the document and written back, and read again to the same document.
    void codec()
    {
        QFETCH(CodecCase, c);
        Design design;
        for (auto text = c.texts.cbegin(); text != c.texts.cend(); ++text)
            design.setText(text.key(), text.value());
        const LabelDocument document = DesignCodec::read(design);
        QVERIFY(c.holds(document));
        const Design written = DesignCodec::written(document);
        for (auto text = c.written.cbegin(); text != c.written.cend(); ++text)
            QCOMPARE(written.text(text.key()), text.value());
        QCOMPARE(DesignCodec::written(DesignCodec::read(written)), written);
    }

    // A print run of a thousand labels (500 values, two copies each) draws from the document and leaves
    // it as it was.
    void runLeavesDocument()
    {
        Design design;
        design.setText(DesignKey::Symbology, QString::number(int(Symbology::Code128)));
        design.setText(DesignKey::SourceSequence, "1");
        design.setText(DesignKey::SequenceStart, "0001");
        design.setText(DesignKey::SequenceEnd, "0500");
        design.setText(DesignKey::Unit, "1");
        design.setText(DesignKey::Width, "1440");
        design.setText(DesignKey::Height, "720");
        design.setText(DesignKey::Suffix, "");
        LabelDocument document = DesignCodec::read(design);
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
};

QTEST_MAIN(TestLabelDocument)
#include "tst_labeldocument.moc"
