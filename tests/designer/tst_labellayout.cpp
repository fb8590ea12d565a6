// The canvas's geometry without a window: sizing by each handle, snapping,
// aligning, distributing, stacking, removing, and the names screen readers hear.
#include "LabelLayout.h"

#include <QtTest>

using namespace LabelLayout;

namespace {

const QRectF kStart(100, 100, 400, 200);

// A document from boxes: the first is the designer's symbol's place, a box of
// some side 0 or below a line, the others boxes.
LabelDocument documentOf(const QList<QRectF> &boxes)
{
    std::vector<LabelObject> objects;
    for (const QRectF &box : boxes) {
        if (objects.empty())
            objects.push_back(SymbolObject{.place = box});
        else if (box.width() <= 0 || box.height() <= 0)
            objects.push_back(LineObject{.frame = {.box = box}});
        else
            objects.push_back(BoxObject{.frame = {.box = box}});
    }
    LabelDocument document;
    document.setObjects(objects);
    return document;
}

QList<QRectF> boxesOf(const std::vector<LabelObject> &objects)
{
    LabelDocument document;
    document.setObjects(objects);
    QList<QRectF> boxes;
    for (std::size_t index = 0; index < objects.size(); ++index)
        boxes.append(boxOf(document, index));
    return boxes;
}

// A stack as letters, bottom first: "S" the designer's symbol, a digit a box with that corner radius.
std::vector<LabelObject> stackOf(const QString &letters)
{
    std::vector<LabelObject> objects;
    for (const QChar letter : letters) {
        if (letter == QLatin1Char('S'))
            objects.push_back(SymbolObject{});
        else
            objects.push_back(BoxObject{.cornerTwips = double(letter.digitValue())});
    }
    return objects;
}

QString lettersOf(const std::vector<LabelObject> &objects)
{
    QString letters;
    for (const LabelObject &object : objects) {
        const auto *box = std::get_if<BoxObject>(&object);
        letters += box ? QString::number(box->cornerTwips) : QStringLiteral("S");
    }
    return letters;
}

} // namespace

struct ResizeCase {
    QRectF start = kStart;
    Handle handle = Handle::TopLeft;
    QPointF to = {}; // where the handle is dragged
    bool keepRatio = false;
    QRectF want = {};
};
struct SnapCase {
    QPointF delta = {};
    double grid = 0;
    double tolerance = 10;
    QPointF want = {};
    std::optional<double> guideX = {};
    std::optional<double> guideY = {};
};
struct BoxesCase {
    QList<QRectF> boxes = {};
    Selection selection = {};
    std::function<std::vector<LabelObject>(const LabelDocument &, const Selection &)> edit = {};
    QList<QRectF> want = {};
};
struct StackCase {
    QString stack = QStringLiteral("S1234");
    Selection selection = {};
    bool forward = true;
    QString want = {};
    Selection now = {};
};
struct NameCase {
    LabelDocument::Unit unit = LabelDocument::Unit::Centimetres;
    LabelObject object = {};
    QString want = {};
};
Q_DECLARE_METATYPE(ResizeCase)
Q_DECLARE_METATYPE(SnapCase)
Q_DECLARE_METATYPE(BoxesCase)
Q_DECLARE_METATYPE(StackCase)
Q_DECLARE_METATYPE(NameCase)

class TestLabelLayout : public QObject {
    Q_OBJECT
private slots:
    // A reader's number format must not reach the names screen readers read.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void resize_data()
    {
        using enum Handle;
        QTest::addColumn<ResizeCase>("c");
        const auto row = [](const char *name, const ResizeCase &c) { QTest::newRow(name) << c; };
        const auto kept = [](const char *name, ResizeCase c) {
            c.keepRatio = true;
            QTest::newRow(name) << c;
        };
        row("top-left", {.handle = TopLeft, .to = {50, 60}, .want = {50, 60, 450, 240}});
        row("top", {.handle = Top, .to = {999, 60}, .want = {100, 60, 400, 240}});
        row("top-right", {.handle = TopRight, .to = {600, 60}, .want = {100, 60, 500, 240}});
        row("right", {.handle = Right, .to = {600, 999}, .want = {100, 100, 500, 200}});
        row("bottom-right", {.handle = BottomRight, .to = {600, 400}, .want = {100, 100, 500, 300}});
        row("bottom", {.handle = Bottom, .to = {999, 400}, .want = {100, 100, 400, 300}});
        row("bottom-left", {.handle = BottomLeft, .to = {50, 400}, .want = {50, 100, 450, 300}});
        row("left", {.handle = Left, .to = {50, 999}, .want = {50, 100, 450, 200}});
        // Keeping the ratio 2:1: a corner along the diagonal, a side about the centre.
        kept("ratio top-left", {.handle = TopLeft, .to = {300, 200}, .want = {300, 200, 200, 100}});
        kept("ratio top", {.handle = Top, .to = {999, 0}, .want = {0, 0, 600, 300}});
        kept("ratio top-right", {.handle = TopRight, .to = {900, 100}, .want = {100, -60, 720, 360}});
        kept("ratio right", {.handle = Right, .to = {700, 0}, .want = {100, 50, 600, 300}});
        kept("ratio bottom-right", {.handle = BottomRight, .to = {900, 500}, .want = {100, 100, 800, 400}});
        kept("ratio bottom", {.handle = Bottom, .to = {0, 150}, .want = {250, 100, 100, 50}});
        kept("ratio bottom-left", {.handle = BottomLeft, .to = {0, 400}, .want = {-20, 100, 520, 260}});
        kept("ratio left", {.handle = Left, .to = {300, 0}, .want = {300, 150, 200, 100}});
        // A side stops kLeastSide before the opposite one, and never flips.
        row("left past right", {.handle = Left, .to = {900, 0}, .want = {485, 100, 15, 200}});
        row("corner past corner", {.handle = TopLeft, .to = {900, 900}, .want = {485, 285, 15, 15}});
        kept("ratio corner past corner", {.handle = BottomRight, .to = {0, 0}, .want = {100, 100, 30, 15}});
        kept("ratio side past side", {.handle = Left, .to = {900, 0}, .want = {470, 192.5, 30, 15}});
        // A line keeps its direction, and its height of 0.
        row("line right to left",
            {.start = {500, 100, -400, 0}, .handle = Right, .to = {700, 50}, .want = {700, 100, -600, 0}});
        kept("line ratio",
             {.start = {100, 100, 400, 0},
              .handle = BottomRight,
              .to = {900, 50},
              .want = {100, 100, 800, 0}});
    }
    void resize()
    {
        QFETCH(ResizeCase, c);
        QCOMPARE(resized(c.start, c.handle, c.to, c.keepRatio), c.want);
    }

    // A box of 60 x 40 at the origin moving near a box from (1000, 500) to (1200, 600).
    void snap_data()
    {
        QTest::addColumn<SnapCase>("c");
        const auto row = [](const char *name, const SnapCase &c) { QTest::newRow(name) << c; };
        row("left to left", {.delta = {997, 0}, .want = {1000, 0}, .guideX = 1000});
        row("centre to centre", {.delta = {1074, 0}, .want = {1070, 0}, .guideX = 1100});
        row("right to left", {.delta = {942, 0}, .want = {940, 0}, .guideX = 1000});
        row("top to centre", {.delta = {0, 547}, .want = {0, 550}, .guideY = 550});
        row("both axes", {.delta = {1195, 603}, .want = {1200, 600}, .guideX = 1200, .guideY = 600});
        row("the nearest wins", {.delta = {1038, 0}, .tolerance = 50, .want = {1040, 0}, .guideX = 1100});
        row("at the tolerance", {.delta = {990, 0}, .want = {1000, 0}, .guideX = 1000});
        row("beyond the tolerance", {.delta = {989.5, 0}, .want = {989.5, 0}});
        row("beyond to the grid", {.delta = {989.5, 13}, .grid = 30, .want = {990, 0}});
        row("grid alone", {.delta = {37, 61}, .grid = 25, .want = {25, 50}});
    }
    void snap()
    {
        QFETCH(SnapCase, c);
        const SnapTargets targets{
            .grid = c.grid, .tolerance = c.tolerance, .others = {{1000, 500, 200, 100}}};
        const Snapped snapped = snapMove({0, 0, 60, 40}, c.delta, targets);
        QCOMPARE(snapped.delta, c.want);
        QCOMPARE(snapped.guideX, c.guideX);
        QCOMPARE(snapped.guideY, c.guideY);
    }

    // The designer's symbol, a box and a line drawn up and to the left; the
    // selection spans (100, 100) to (1200, 800).
    void boxes_data()
    {
        QTest::addColumn<BoxesCase>("c");
        const QList<QRectF> three{{100, 100, 400, 200}, {1000, 300, 200, 100}, {600, 800, -200, -100}};
        const auto row
            = [&three](const char *name, Selection selection, auto edit, const QList<QRectF> &want) {
                  QTest::newRow(name)
                      << BoxesCase{.boxes = three, .selection = selection, .edit = edit, .want = want};
              };
        const auto align = [](Align how) {
            return [how](const LabelDocument &d, const Selection &s) { return aligned(d, s, how); };
        };
        row("left", {0, 1, 2}, align(Align::Left),
            {{100, 100, 400, 200}, {100, 300, 200, 100}, {300, 800, -200, -100}});
        row("centre", {0, 1, 2}, align(Align::HorizontalCentre),
            {{450, 100, 400, 200}, {550, 300, 200, 100}, {750, 800, -200, -100}});
        row("right", {0, 1, 2}, align(Align::Right),
            {{800, 100, 400, 200}, {1000, 300, 200, 100}, {1200, 800, -200, -100}});
        row("top", {0, 1, 2}, align(Align::Top),
            {{100, 100, 400, 200}, {1000, 100, 200, 100}, {600, 200, -200, -100}});
        row("middle", {2, 0, 1}, align(Align::VerticalCentre),
            {{100, 350, 400, 200}, {1000, 400, 200, 100}, {600, 500, -200, -100}});
        row("bottom", {0, 1, 2}, align(Align::Bottom),
            {{100, 600, 400, 200}, {1000, 700, 200, 100}, {600, 800, -200, -100}});
        row("one on the label", {1}, align(Align::Right), {three[0], {2680.36, 300, 200, 100}, three[2]});
        row("one on the label's bottom", {1}, align(Align::Bottom),
            {three[0], {1000, 1340.18, 200, 100}, three[2]});
        const auto shift = [](const LabelDocument &d, const Selection &s) { return moved(d, s, {10, -20}); };
        row("move", {0, 2}, shift, {{110, 80, 400, 200}, three[1], {610, 780, -200, -100}});
        // Sorted by left (top): 0, 400, 1000, 2100; sides of 100, 200, 300 leave gaps of 500.
        const auto spread
            = [](const char *name, const QList<QRectF> &boxes, Selection selection,
                 Qt::Orientation orientation, const QList<QRectF> &want) {
                  const auto edit = [orientation](const LabelDocument &d, const Selection &s) {
                      return distributed(d, s, orientation);
                  };
                  QTest::newRow(name)
                      << BoxesCase{.boxes = boxes, .selection = selection, .edit = edit, .want = want};
              };
        const QList<QRectF> across{
            {0, 0, 100, 100}, {1000, 0, 300, 50}, {600, 0, -200, 0}, {2100, 0, 100, 50}};
        spread("across", across, {3, 2, 1, 0}, Qt::Horizontal,
               {across[0], {1300, 0, 300, 50}, {800, 0, -200, 0}, across[3]});
        const QList<QRectF> down{{0, 0, 100, 100}, {0, 1000, 50, 300}, {0, 600, 0, -200}, {0, 2100, 50, 100}};
        spread("down", down, {0, 1, 2, 3}, Qt::Vertical,
               {down[0], {0, 1300, 50, 300}, {0, 800, 0, -200}, down[3]});
        spread("two", across, {1, 3}, Qt::Horizontal, across);
    }
    void boxes()
    {
        QFETCH(BoxesCase, c);
        QCOMPARE(boxesOf(c.edit(documentOf(c.boxes), c.selection)), c.want);
    }

    void stack_data()
    {
        QTest::addColumn<StackCase>("c");
        const auto row = [](const char *name, const StackCase &c) { QTest::newRow(name) << c; };
        row("one up", {.selection = {1}, .want = "S2134", .now = {2}});
        row("one down", {.selection = {2}, .forward = false, .want = "S2134", .now = {1}});
        row("top stays", {.selection = {4}, .want = "S1234", .now = {4}});
        row("bottom stays", {.selection = {0}, .forward = false, .want = "S1234", .now = {0}});
        row("two apart up", {.selection = {2, 0}, .want = "1S324", .now = {1, 3}});
        row("block at the top", {.selection = {3, 4}, .want = "S1234", .now = {3, 4}});
        row("under the top one", {.selection = {2, 4}, .want = "S1324", .now = {3, 4}});
        row("block down", {.selection = {1, 2}, .forward = false, .want = "12S34", .now = {0, 1}});
        row("over the bottom one", {.selection = {0, 2}, .forward = false, .want = "S2134", .now = {0, 1}});
    }
    void stack()
    {
        QFETCH(StackCase, c);
        const Restacked done = restacked(stackOf(c.stack), c.selection, c.forward);
        QCOMPARE(lettersOf(done.objects), c.want);
        QCOMPARE(done.selection, c.now);
    }

    void remove()
    {
        QCOMPARE(lettersOf(removed(stackOf("1S234"), {0, 1, 3})), QStringLiteral("S24"));
        QCOMPARE(lettersOf(removed(stackOf("12S"), {2, 1, 0, 7})), QStringLiteral("S"));
    }

    void name_data()
    {
        QTest::addColumn<NameCase>("c");
        const auto row = [](const char *name, const NameCase &c) { QTest::newRow(name) << c; };
        const LabelDocument::Unit inches = LabelDocument::Unit::Inches;
        row("text in cm",
            {.object = TextObject{.frame = {.box = {850.5, 141.75, 100, 100}}, .text = "{name}\nmore"},
             .want = "Text: {name}, 1.5 cm from the left, 0.25 cm from the top"});
        row("text in inches",
            {.unit = inches,
             .object = TextObject{.frame = {.box = {288, 144, 100, 100}}, .text = "Hello"},
             .want = "Text: Hello, 0.2 in from the left, 0.1 in from the top"});
        row("rounded",
            {.unit = inches,
             .object = BoxObject{.frame = {.box = {1779.84, 0, 100, 100}}},
             .want = "Box, 1.24 in from the left, 0 in from the top"});
        row("symbol",
            {.object = BarcodeObject{.frame = {.box = {1134, 567, 100, 100}}, .data = "{value}"},
             .want = "Symbol: {value}, 2 cm from the left, 1 cm from the top"});
        row("picture",
            {.object = PictureObject{.frame = {.box = {0, 0, 100, 100}}, .file = "/pictures/logo.png"},
             .want = "Picture: logo.png, 0 cm from the left, 0 cm from the top"});
        row("line drawn leftwards",
            {.unit = inches,
             .object = LineObject{.frame = {.box = {1440, 720, -720, 0}}},
             .want = "Line, 0.5 in from the left, 0.5 in from the top"});
        row("designer symbol",
            {.object = SymbolObject{.place = QRectF(-567, 2835, 10, 10)},
             .want = "Designer symbol, -1 cm from the left, 5 cm from the top"});
    }
    void name()
    {
        QFETCH(NameCase, c);
        LabelDocument document;
        document.setUnit(c.unit);
        const bool isSymbol = std::holds_alternative<SymbolObject>(c.object);
        document.setObjects(isSymbol ? std::vector<LabelObject>{c.object}
                                     : std::vector<LabelObject>{SymbolObject{}, c.object});
        QCOMPARE(accessibleName(document, isSymbol ? 0 : 1), c.want);
    }

    void step()
    {
        LabelDocument document;
        document.setObjects({SymbolObject{}, TextObject{}, BoxObject{}});
        QCOMPARE(stepName("Move", document, {1}), QStringLiteral("Move Text"));
        QCOMPARE(stepName("Delete", document, {2, 0, 1}), QStringLiteral("Delete 3 Objects"));
        QCOMPARE(stepName("Resize", document, {2, 2}), QStringLiteral("Resize Box"));
    }

    void symbolWithoutPlace()
    {
        LabelDocument document;
        const auto objects = moved(document, {0}, {15, 30});
        QCOMPARE(std::get<SymbolObject>(objects[0]).place,
                 QRectF(15, 30, document.width(), document.height()));
    }
};

QTEST_GUILESS_MAIN(TestLabelLayout)
#include "tst_labellayout.moc"
