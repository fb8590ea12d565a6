// The label canvas driven as a user drives it, with the mouse and the keys:
// selecting, moving with snapping, sizing by each handle, the keyboard's
// moves and order, zooming, the steps it commits, a marked object, what
// screen readers are told, and a symbol on the screen that scans.
#include "LabelCanvas.h"
#include "LabelRenderer.h"

#include "Decode.h"

#include <QAccessible>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

using Selection = LabelLayout::Selection;

namespace {

// On a label of 3.5 x 2.5 inches: a text, a box over its right end and the
// designer's Code 128 below them. At a zoom of 2 a screen pixel is 7.5 twips.
const QRectF kTextBox(144, 144, 1440, 432);
const QRectF kBoxBox(1440, 288, 720, 720);
const QRectF kSymbolBox(144, 1296, 3456, 1440);
constexpr double kPixel = 7.5;
const QString kValue = QStringLiteral("QM-2024");

// A canvas between two fields on a window, showing the document again after
// each step it commits, as the designer's window does.
struct Session {
    LabelDocument document;
    std::unique_ptr<LabelRenderer> renderer;
    QWidget window;
    QLineEdit *before = new QLineEdit(&window);
    LabelCanvas *canvas = new LabelCanvas(document, &window);
    QLineEdit *after = new QLineEdit(&window);
    QStringList steps;

    Session()
    {
        document.setSize(5040, 3600);
        document.setUnit(LabelDocument::Unit::Inches);
        document.setObjects({TextObject{.frame = {kTextBox}, .text = QStringLiteral("Quillmark")},
                             BoxObject{.frame = {kBoxBox}},
                             SymbolObject{.symbology = Symbology::Code128, .place = kSymbolBox}});
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(before);
        layout->addWidget(canvas);
        layout->addWidget(after);
        canvas->setCommit([this](const QString &step, const std::vector<LabelObject> &objects) {
            steps.append(step);
            document.setObjects(objects);
            show();
        });
        show();
        window.resize(900, 800);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("The canvas's window is not shown");
        canvas->setZoom(2);
        canvas->centerOn(QPointF(2520, 1800));
    }
    void show()
    {
        renderer = std::make_unique<LabelRenderer>(document);
        canvas->showLabel(renderer.get(), {.value = kValue});
    }
    QRectF box(std::size_t index) const { return LabelLayout::boxOf(document, index); }
    QPoint at(const QPointF &twips) const { return canvas->viewportPoint(twips); }
    // The viewport as the screen shows it, and where a box of the label is on that picture.
    QImage shown() const { return canvas->viewport()->grab().toImage(); }
    QRect onPicture(const QImage &picture, const QRectF &twips) const
    {
        const QRectF box(at(twips.topLeft()), at(twips.bottomRight()));
        const qreal ratio = picture.devicePixelRatio();
        return QRectF(box.topLeft() * ratio, box.size() * ratio).toRect();
    }
    // A press, two moves and the release, pixels apart on the screen: by none, a click.
    void drag(const QPoint &from, const QPoint &by, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mousePress(canvas->viewport(), Qt::LeftButton, modifiers, from);
        QTest::mouseMove(canvas->viewport(), from + by / 2);
        QTest::mouseMove(canvas->viewport(), from + by);
        QTest::mouseRelease(canvas->viewport(), Qt::LeftButton, modifiers, from + by);
    }
};

// Boxes the same to within a screen pixel on each side.
bool near(const QRectF &box, const QRectF &expected)
{
    const bool close = expected.adjusted(-kPixel, -kPixel, kPixel, kPixel).contains(box)
        && box.contains(expected.adjusted(kPixel, kPixel, -kPixel, -kPixel));
    if (!close)
        qWarning() << box << "is not" << expected;
    return close;
}

// A click, or with drag a drag by that many pixels, at a point of the label.
struct Gesture {
    QPointF twips;
    Qt::KeyboardModifiers modifiers = {};
    QPoint drag = {};
};

} // namespace

class TestLabelCanvas : public QObject {
    Q_OBJECT
private slots:
    void select_data()
    {
        QTest::addColumn<std::vector<Gesture>>("gestures");
        QTest::addColumn<Selection>("expected");
        const Gesture text{kTextBox.center()};
        // From a corner of the surround over the text and the box's top-left, a band.
        const Gesture band{.twips = QPointF(60, 60), .drag = QPoint(220, 90)};
        QTest::newRow("the topmost of two") << std::vector{Gesture{QPointF(1500, 400)}} << Selection{1};
        const std::vector toggled{text, Gesture{kBoxBox.center(), Qt::ShiftModifier},
                                  Gesture{text.twips, Qt::ShiftModifier}};
        QTest::newRow("shift again takes away") << toggled << Selection{1};
        QTest::newRow("the paper clears") << std::vector{text, Gesture{QPointF(4500, 300)}} << Selection{};
        QTest::newRow("a band") << std::vector{band} << Selection{0, 1};
    }
    void select()
    {
        QFETCH(std::vector<Gesture>, gestures);
        QFETCH(Selection, expected);
        Session session;
        for (const Gesture &gesture : gestures)
            session.drag(session.at(gesture.twips), gesture.drag, gesture.modifiers);
        QCOMPARE(session.canvas->selection(), expected);
        QVERIFY(session.steps.isEmpty()); // a click or a band changes nothing
    }

    // The box's left edge dragged to within three pixels of the text's right edge lands on it.
    void moveSnapsToAnEdge()
    {
        Session session;
        const QPoint from = session.at(kBoxBox.center() + QPointF(200, 200));
        QTest::mousePress(session.canvas->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(session.canvas->viewport(), from + QPoint(21, 0));
        // While the box moves, a guide runs down the edge it snapped to, over the surround too.
        const QImage shown = session.shown();
        const int guide = session.onPicture(shown, kTextBox).right();
        const QColor highlight = session.canvas->palette().color(QPalette::Highlight);
        int marked = 0;
        for (int y = 0; y < shown.height(); ++y)
            marked += shown.pixelColor(guide, y) == highlight || shown.pixelColor(guide + 1, y) == highlight;
        QVERIFY2(marked > shown.height() / 3, qPrintable(QString::number(marked)));
        QTest::mouseRelease(session.canvas->viewport(), Qt::LeftButton, {}, from + QPoint(21, 0));
        QCOMPARE(session.box(1), QRectF(kTextBox.right(), kBoxBox.top(), 720, 720));
    }

    // The text and the symbol moved together, nothing near: their bounds' top-left, from (369, 444),
    // goes to the nearest point of the grid.
    void moveTwoSnapsToTheGrid()
    {
        Session session;
        session.canvas->setGrid({.stepTwips = 180, .shown = true, .snap = true});
        session.canvas->setSelection({0, 2});
        session.drag(session.at(kSymbolBox.center()), QPoint(30, 40));
        QCOMPARE(session.steps, QStringList{"Move 2 Objects"});
        QCOMPARE(session.box(0), kTextBox.translated(216, 216));
        QCOMPARE(session.box(1), kBoxBox);
        QCOMPARE(session.box(2), kSymbolBox.translated(216, 216));
    }

    void resize_data()
    {
        using enum LabelLayout::Handle;
        QTest::addColumn<LabelLayout::Handle>("handle");
        QTest::addColumn<Qt::KeyboardModifier>("modifier");
        QTest::addColumn<QRectF>("expected");
        // Each handle dragged 10 pixels right and 6 down: 75 and 45 twips.
        QTest::newRow("top left") << TopLeft << Qt::NoModifier << QRectF(1515, 333, 645, 675);
        QTest::newRow("top") << Top << Qt::NoModifier << QRectF(1440, 333, 720, 675);
        QTest::newRow("top right") << TopRight << Qt::NoModifier << QRectF(1440, 333, 795, 675);
        QTest::newRow("right") << Right << Qt::NoModifier << QRectF(1440, 288, 795, 720);
        QTest::newRow("bottom right") << BottomRight << Qt::NoModifier << QRectF(1440, 288, 795, 765);
        QTest::newRow("bottom") << Bottom << Qt::NoModifier << QRectF(1440, 288, 720, 765);
        QTest::newRow("bottom left") << BottomLeft << Qt::NoModifier << QRectF(1515, 288, 645, 765);
        QTest::newRow("left") << Left << Qt::NoModifier << QRectF(1515, 288, 645, 720);
        QTest::newRow("shift keeps the square")
            << BottomRight << Qt::ShiftModifier << QRectF(1440, 288, 780, 780);
    }
    void resize()
    {
        QFETCH(LabelLayout::Handle, handle);
        QFETCH(Qt::KeyboardModifier, modifier);
        QFETCH(QRectF, expected);
        Session session;
        session.canvas->setSelection({1});
        session.drag(session.at(LabelLayout::handlePoint(kBoxBox, handle)), QPoint(10, 6), modifier);
        QCOMPARE(session.steps, QStringList{"Resize Box"});
        QVERIFY(near(session.box(1), expected));
    }

    void arrows_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifier>("modifier");
        QTest::addColumn<double>("grid");
        QTest::addColumn<QPointF>("moved");
        QTest::newRow("right: 1/20 in") << Qt::Key_Right << Qt::NoModifier << 0.0 << QPointF(72, 0);
        QTest::newRow("down: a grid step") << Qt::Key_Down << Qt::NoModifier << 180.0 << QPointF(0, 180);
        QTest::newRow("shift left: a dot") << Qt::Key_Left << Qt::ShiftModifier << 180.0 << QPointF(-4.8, 0);
    }
    void arrows()
    {
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifier, modifier);
        QFETCH(double, grid);
        QFETCH(QPointF, moved);
        Session session;
        session.canvas->setGrid({.stepTwips = grid});
        session.canvas->setDotTwips([] { return 4.8; });
        session.canvas->setSelection({0});
        session.canvas->setFocus();
        QTest::keyClick(session.canvas, key, modifier);
        QCOMPARE(session.steps, QStringList{"Move Text"});
        QCOMPARE(session.box(0), kTextBox.translated(moved));
        QTest::keyClick(session.canvas, Qt::Key_Escape);
        QCOMPARE(session.canvas->selection(), Selection{});
    }

    void tabOrder()
    {
        Session session;
        session.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&session.window));
        session.before->setFocus();
        const auto tab = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
        for (const std::size_t index : {0, 1, 2}) {
            tab(Qt::Key_Tab);
            QCOMPARE(session.canvas->selection(), Selection{index});
        }
        tab(Qt::Key_Tab);
        QVERIFY(session.after->hasFocus());
        tab(Qt::Key_Backtab);
        QCOMPARE(session.canvas->selection(), Selection{2});
        tab(Qt::Key_Backtab);
        QCOMPARE(session.canvas->selection(), Selection{1});
        // Screen readers see the objects, the one chosen focused.
        QAccessibleInterface *canvas = QAccessible::queryAccessibleInterface(session.canvas);
        QCOMPARE(canvas->text(QAccessible::Name), QStringLiteral("Label canvas"));
        QAccessibleInterface *box = canvas->child(1);
        QCOMPARE(box->text(QAccessible::Name), LabelLayout::accessibleName(session.document, 1));
        QVERIFY(box->state().selected && box->state().focused);
        QCOMPARE(canvas->focusChild(), box);
        QVERIFY(!canvas->child(canvas->childCount()));
        // Focused is one object chosen alone, while the canvas has the focus.
        session.canvas->setSelection({0, 1});
        QVERIFY(box->state().selected && !box->state().focused);
        session.canvas->setSelection({1});
        session.after->setFocus();
        QVERIFY(box->state().selected && !box->state().focused);
        // The last object chosen and gone (an undo of an insert): nothing is chosen, and what screen
        // readers held of it is no object any more.
        session.canvas->setSelection({2});
        QAccessibleInterface *last = canvas->child(2);
        const std::vector<LabelObject> objects = session.document.objects();
        session.document.setObjects({objects[0], objects[2]});
        session.show();
        QCOMPARE(session.canvas->selection(), Selection{});
        QVERIFY(last->state().invalid);
    }

    void zoom()
    {
        Session session;
        QSignalSpy zoomed(session.canvas, &LabelCanvas::zoomChanged);
        // Control and the wheel zoom about the cursor: the label's point under it stays.
        const QPointF point = kSymbolBox.center() + QPointF(300, 200);
        const QPoint cursor = session.at(point);
        QWheelEvent wheel(cursor, session.canvas->viewport()->mapToGlobal(cursor), {}, QPoint(0, 120),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(session.canvas->viewport(), &wheel);
        QCOMPARE(session.canvas->zoom(), 3.0);
        QVERIFY((session.at(point) - cursor).manhattanLength() <= 2);
        for (const double expected : {4, 6, 8, 12, 16, 16}) {
            session.canvas->zoomIn();
            QCOMPARE(session.canvas->zoom(), expected);
        }
        session.canvas->setZoom(0.01);
        QCOMPARE(session.canvas->zoom(), 0.1);
        QCOMPARE(zoomed.size(), 7);
        session.canvas->setFocus();
        QTest::keyClick(session.canvas, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(session.canvas->zoom(), 0.25);
        QTest::keyClick(session.canvas, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(session.canvas->zoom(), 0.1);
        QTest::keyClick(session.canvas, Qt::Key_0, Qt::ControlModifier);
        const QRect view = session.canvas->viewport()->rect();
        QVERIFY(view.contains(session.at(QPointF(0, 0))));
        QVERIFY(view.contains(session.at(QPointF(5040, 3600))));
        QVERIFY(!view.adjusted(60, 60, -60, -60).contains(session.at(QPointF(5040, 3600))));
    }

    // The top ruler in inches at a zoom of 2, a tick every eighth: a half numbered and longest, a
    // quarter half as long, an eighth shorter; in centimetres, a centimetre numbered.
    void rulers()
    {
        Session session;
        QWidget *top = nullptr; // the ruler along the canvas's top
        for (QWidget *child : session.canvas->findChildren<QWidget *>())
            top = child->isVisible() && child->width() > 10 * child->height() ? child : top;
        // The ink's height in the columns from right pixels beside a point of the label.
        const auto inkBeside = [&](double twips, int right, int columns) {
            const QImage image = top->grab().toImage();
            const QPoint at
                = top->mapFromGlobal(session.canvas->viewport()->mapToGlobal(session.at({twips, 0})));
            const qreal ratio = image.devicePixelRatio();
            const QRect area(qRound((at.x() + right) * ratio), 0, qRound(columns * ratio), image.height());
            return Decode::inkBox(image, area).height();
        };
        const auto tick = [&](double twips) { return inkBeside(twips, 0, 1); };
        QVERIFY(inkBeside(720, 4, 6) > 0); // its number, "0.5"
        QCOMPARE(inkBeside(180, 4, 6), 0);
        QVERIFY(tick(720) > tick(360));
        QVERIFY(tick(360) > tick(180));
        session.document.setUnit(LabelDocument::Unit::Centimetres);
        session.show();
        QCOMPARE(tick(567), tick(0));
    }

    // A reason given marks the object with a red outline and becomes its tooltip; so does a text too
    // large for its box.
    void faultMarked()
    {
        Session session;
        const auto redAlongTop = [&session] {
            const QImage shown = session.shown();
            const QRect box = session.onPicture(shown, kTextBox);
            int red = 0;
            for (int x = box.left(); x < box.right(); ++x)
                for (int y = box.top(); y < box.top() + 3; ++y)
                    red += qRed(shown.pixel(x, y)) > 150 && qGreen(shown.pixel(x, y)) < 80 ? 1 : 0;
            return red > box.width() / 3;
        };
        QVERIFY(!redAlongTop());
        const QString reason = QStringLiteral("The data has no column \"price\".");
        session.canvas->setObjectFaults({{0, reason}});
        QCOMPARE(session.canvas->faultAt(0), reason);
        QVERIFY(redAlongTop());
        QCOMPARE(session.canvas->itemAt(session.at(kTextBox.center()))->toolTip(), reason);
        session.canvas->setObjectFaults({});
        QVERIFY(!redAlongTop());
        std::vector<LabelObject> objects = session.document.objects();
        std::get<TextObject>(objects[0]).fontPoints = 200;
        session.document.setObjects(objects);
        session.show();
        QVERIFY(!session.canvas->faultAt(0).isEmpty());
        QVERIFY(redAlongTop());
    }

    // On the screen the symbol scans, and a flat line shows its whole stroke.
    void drawnOnScreen()
    {
        Session session;
        std::vector<LabelObject> objects = session.document.objects();
        objects.push_back(LineObject{.frame = {QRectF(144, 1150, 3000, 0)}, .strokePoints = 4});
        session.document.setObjects(objects);
        session.show();
        const QImage shown = session.shown();
        QCOMPARE(Decode::zxingOne(Decode::label(shown, session.onPicture(shown, kSymbolBox))), kValue);
        const QRect line = session.onPicture(shown, QRectF(1000, 1150 - 35, 10, 70));
        QCOMPARE(Decode::inkBox(shown, line).height(), line.height());
    }
};

QTEST_MAIN(TestLabelCanvas)
#include "tst_labelcanvas.moc"
