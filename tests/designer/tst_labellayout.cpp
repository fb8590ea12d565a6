// The canvas's geometry without a window: sizing by each handle, snapping,
// aligning, distributing, stacking, removing, and the names screen readers hear.
#include "LabelLayout.h"

#include <QtTest>

using namespace LabelLayout;

namespace {

using Boxes = QList<QRectF>;
using Points = std::vector<QPointF>;

// A document from boxes: the first is the designer's symbol's place (a null
// box: none), a box of some side 0 or below a line, the others boxes.
LabelDocument documentOf(const Boxes &boxes)
{
    std::vector<LabelObject> objects;
    for (const QRectF &box : boxes) {
        if (objects.empty())
            objects.push_back(SymbolObject{.place = box.isNull() ? std::nullopt : std::optional(box)});
        else if (box.width() <= 0 || box.height() <= 0)
            objects.push_back(LineObject{.frame = {.box = box}});
        else
            objects.push_back(BoxObject{.frame = {.box = box}});
    }
    LabelDocument document;
    document.setObjects(objects);
    return document;
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

} // namespace

struct ResizeCase {
    QRectF start = {100, 100, 400, 200};
    Handle handle = Handle::TopLeft;
    QPointF to = {}; // where the handle is dragged
    bool keepRatio = true;
    QRectF want = {};
};
struct SnapCase {
    QPointF delta = {};
    double grid = 0;
    QPointF want = {};
    std::optional<double> guideX = {};
    std::optional<double> guideY = {};
};
struct BoxesCase {
    Boxes boxes = {};
    Selection selection = {};
    std::function<std::vector<LabelObject>(const LabelDocument &, const Selection &)> edit = {};
    Points want = {}; // where each box is then, its size unchanged
};
struct StackCase {
    Selection selection = {};
    bool forward = true;
    QString want = {};
    Selection now = {};
};
struct NameCase {
    LabelDocument::Unit unit = LabelDocument::Unit::Centimetres;
    LabelObject object = BoxObject{}; // over the designer's symbol at (-567, 2835)
    std::size_t index = 1;
    QString want = {};
};

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
        // Keeping the ratio 2:1: a corner along the diagonal, a side about the centre.
        row("ratio top-right", {.handle = TopRight, .to = {900, 100}, .want = {100, -60, 720, 360}});
        row("ratio bottom", {.handle = Bottom, .to = {0, 150}, .want = {250, 100, 100, 50}});
        // A side stops kLeastSide before the opposite one, and never flips.
        row("left past right",
            {.handle = Left, .to = {900, 0}, .keepRatio = false, .want = {485, 100, 15, 200}});
        row("ratio corner past corner", {.handle = BottomRight, .to = {0, 0}, .want = {100, 100, 30, 15}});
        row("ratio side past side", {.handle = Left, .to = {900, 0}, .want = {470, 192.5, 30, 15}});
        // A line keeps its direction, and its height of 0.
        row("line leftwards",
            {.start = {500, 100, -400, 0}, .handle = Right, .to = {700, 50}, .want = {700, 100, -600, 0}});
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
        row("top at the tolerance", {.delta = {0, 490}, .want = {0, 500}, .guideY = 500});
        row("beyond the tolerance", {.delta = {989.5, 0}, .want = {989.5, 0}});
        row("grid alone", {.delta = {37, 61}, .grid = 25, .want = {25, 50}});
    }
    void snap()
    {
        QFETCH(SnapCase, c);
        const SnapTargets targets{.grid = c.grid, .tolerance = 10, .others = {{1000, 500, 200, 100}}};
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
        const auto row = [](const char *name, const Boxes &boxes, Selection s, auto edit,
                            const Points &want) {
            QTest::newRow(name) << BoxesCase{.boxes = boxes, .selection = s, .edit = edit, .want = want};
        };
        const auto align = [](Align how) {
            return [how](const LabelDocument &d, const Selection &s) { return aligned(d, s, how); };
        };
        const Boxes three{{100, 100, 400, 200}, {1000, 300, 200, 100}, {600, 800, -200, -100}};
        row("left", three, {0, 1, 2}, align(Align::Left), {{100, 100}, {100, 300}, {300, 800}});
        row("centre", three, {0, 1, 2}, align(Align::HorizontalCentre), {{450, 100}, {550, 300}, {750, 800}});
        row("right", three, {0, 1, 2}, align(Align::Right), {{800, 100}, {1000, 300}, {1200, 800}});
        row("top", three, {0, 1, 2}, align(Align::Top), {{100, 100}, {1000, 100}, {600, 200}});
        row("middle", three, {2, 0, 1}, align(Align::VerticalCentre), {{100, 350}, {1000, 400}, {600, 500}});
        row("bottom", three, {0, 1, 2}, align(Align::Bottom), {{100, 600}, {1000, 700}, {600, 800}});
        row("one on the label", three, {1}, align(Align::Right), {{100, 100}, {2680.36, 300}, {600, 800}});
        const auto shift = [](const LabelDocument &d, const Selection &s) { return moved(d, s, {10, -20}); };
        row("move", three, {0, 2}, shift, {{110, 80}, {1000, 300}, {610, 780}});
        // The designer's symbol without a place moves from the label's top-left.
        row("symbol without place", {QRectF()}, {0}, shift, {{10, -20}});
        // Sorted by left (top): 0, 400, 1000, 2100; sides of 100, 200, 300 leave gaps of 500.
        const auto spread = [](Qt::Orientation way) {
            return [way](const LabelDocument &d, const Selection &s) { return distributed(d, s, way); };
        };
        const Boxes across{{0, 0, 100, 100}, {1000, 0, 300, 50}, {600, 0, -200, 0}, {2100, 0, 100, 50}};
        row("across", across, {3, 2, 1, 0}, spread(Qt::Horizontal), {{0, 0}, {1300, 0}, {800, 0}, {2100, 0}});
        row("two", across, {1, 3}, spread(Qt::Horizontal), {{0, 0}, {1000, 0}, {600, 0}, {2100, 0}});
        const Boxes down{{0, 0, 100, 100}, {0, 1000, 50, 300}, {0, 600, 0, -200}, {0, 2100, 50, 100}};
        row("down", down, {0, 1, 2, 3}, spread(Qt::Vertical), {{0, 0}, {0, 1300}, {0, 800}, {0, 2100}});
    }
    void boxes()
    {
        QFETCH(BoxesCase, c);
        const LabelDocument document = documentOf(c.boxes);
        LabelDocument done;
        done.setObjects(c.edit(document, c.selection));
        for (std::size_t index = 0; index < c.want.size(); ++index)
            QCOMPARE(boxOf(done, index), QRectF(c.want.at(index), boxOf(document, index).size()));
    }

    void stack_data()
    {
        QTest::addColumn<StackCase>("c");
        const auto row = [](const char *name, const StackCase &c) { QTest::newRow(name) << c; };
        row("two apart up", {.selection = {2, 0}, .want = "1S324", .now = {1, 3}});
        row("block at the top", {.selection = {3, 4}, .want = "S1234", .now = {3, 4}});
        row("block down", {.selection = {1, 2}, .forward = false, .want = "12S34", .now = {0, 1}});
        row("over the bottom one", {.selection = {0, 2}, .forward = false, .want = "S2134", .now = {0, 1}});
    }
    void stack()
    {
        QFETCH(StackCase, c);
        const Restacked done = restacked(stackOf("S1234"), c.selection, c.forward);
        QVERIFY(done.objects == stackOf(c.want));
        QCOMPARE(done.selection, c.now);
    }

    // The designer's symbol stays, and an index past the end is passed over.
    void remove() { QVERIFY(removed(stackOf("1S234"), {0, 1, 3, 7}) == stackOf("S24")); }

    void name_data()
    {
        QTest::addColumn<NameCase>("c");
        const auto row = [](const char *name, const NameCase &c) { QTest::newRow(name) << c; };
        row("text in cm",
            {.object = TextObject{.frame = {.box = {850.5, 141.75, 100, 100}}, .text = "{name}\nmore"},
             .want = "Text: {name}, 1.5 cm from the left, 0.25 cm from the top"});
        row("line drawn leftwards in inches",
            {.unit = LabelDocument::Unit::Inches,
             .object = LineObject{.frame = {.box = {1440, 720, -720, 0}}},
             .want = "Line, 0.5 in from the left, 0.5 in from the top"});
        row("designer symbol",
            {.index = 0, .want = "Designer symbol, -1 cm from the left, 5 cm from the top"});
    }
    void name()
    {
        QFETCH(NameCase, c);
        LabelDocument document;
        document.setUnit(c.unit);
        document.setObjects({SymbolObject{.place = QRectF(-567, 2835, 10, 10)}, c.object});
        QCOMPARE(accessibleName(document, c.index), c.want);
    }
};

QTEST_GUILESS_MAIN(TestLabelLayout)
#include "tst_labellayout.moc"
