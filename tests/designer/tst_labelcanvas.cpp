// The label canvas driven as a user drives it, with the mouse and the keys:
// selecting, moving with snapping, sizing by each handle, the keyboard's
// moves and order, zooming, the steps it commits, a marked object, what
// screen readers are told, and a symbol on the screen that scans.
#include "LabelCanvas.h"
#include "LabelLayout.h"
#include "LabelRenderer.h"

#include "Decode.h"

#include <QAccessible>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

using Handle = LabelLayout::Handle;
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
        SymbolObject symbol = document.symbol();
        symbol.symbology = Symbology::Code128;
        symbol.place = kSymbolBox;
        document.setObjects({TextObject{.frame = {kTextBox}, .text = QStringLiteral("Quillmark")},
                             BoxObject{.frame = {kBoxBox}}, symbol});
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
    QWidget *view() const { return canvas->viewport(); }
    void click(const QPointF &twips, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(view(), Qt::LeftButton, modifiers, at(twips));
    }
    // A press, two moves and the release, pixels apart on the screen.
    void drag(const QPoint &from, const QPoint &by, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mousePress(view(), Qt::LeftButton, modifiers, from);
        QTest::mouseMove(view(), from + by / 2);
        QTest::mouseMove(view(), from + by);
        QTest::mouseRelease(view(), Qt::LeftButton, modifiers, from + by);
    }
};

// Boxes the same to within a screen pixel.
bool near(const QRectF &box, const QRectF &expected)
{
    const auto close = [](double a, double b) { return std::abs(a - b) <= kPixel; };
    const bool corner = close(box.left(), expected.left()) && close(box.top(), expected.top());
    const bool size = close(box.width(), expected.width()) && close(box.height(), expected.height());
    if (!(corner && size))
        qWarning() << box << "is not" << expected;
    return corner && size;
}

struct Click {
    QPointF twips;
    Qt::KeyboardModifiers modifiers = {};
};

} // namespace

Q_DECLARE_METATYPE(std::vector<Click>)

class TestLabelCanvas : public QObject {
    Q_OBJECT
private slots:
    void select_data()
    {
        QTest::addColumn<std::vector<Click>>("clicks");
        QTest::addColumn<Selection>("expected");
        const Click text{kTextBox.center()};
        const Click box{kBoxBox.center()};
        const QPointF both(1500, 400);
        QTest::newRow("a click") << std::vector{text} << Selection{0};
        QTest::newRow("the topmost of two") << std::vector{Click{both}} << Selection{1};
        QTest::newRow("shift adds") << std::vector{text, Click{box.twips, Qt::ShiftModifier}}
                                    << Selection{0, 1};
        QTest::newRow("control adds")
            << std::vector{box, Click{text.twips, Qt::ControlModifier}} << Selection{0, 1};
        const std::vector toggled{text, Click{box.twips, Qt::ShiftModifier},
                                  Click{text.twips, Qt::ShiftModifier}};
        QTest::newRow("shift again takes away") << toggled << Selection{1};
        QTest::newRow("the paper clears") << std::vector{text, Click{QPointF(4500, 300)}} << Selection{};
        QTest::newRow("the surround clears") << std::vector{text, Click{QPointF(-100, -100)}} << Selection{};
    }
    void select()
    {
        QFETCH(std::vector<Click>, clicks);
        QFETCH(Selection, expected);
        Session session;
        QSignalSpy changed(session.canvas, &LabelCanvas::selectionChanged);
        for (const Click &click : clicks)
            session.click(click.twips, click.modifiers);
        QCOMPARE(session.canvas->selection(), expected);
        QVERIFY(!changed.isEmpty());
        QVERIFY(session.steps.isEmpty()); // a click without a move changes nothing
    }

    void rubberBand()
    {
        Session session;
        const QPoint from = session.at(QPointF(60, 60));
        session.drag(from, session.at(QPointF(1700, 700)) - from);
        QCOMPARE(session.canvas->selection(), Selection({0, 1}));
        session.drag(session.at(QPointF(4800, 3400)), QPoint(-40, -40), Qt::ShiftModifier);
        QCOMPARE(session.canvas->selection(), Selection({0, 1}));
        QVERIFY(session.steps.isEmpty());
    }

    // The box's left edge dragged to within three pixels of the text's right edge lands on it.
    void moveSnapsToAnEdge()
    {
        Session session;
        const QPoint from = session.at(kBoxBox.center() + QPointF(200, 200));
        QTest::mousePress(session.view(), Qt::LeftButton, {}, from);
        QTest::mouseMove(session.view(), from + QPoint(21, 0));
        // While the box moves, a guide runs down the edge it snapped to, over the surround too.
        const QImage shown = session.shown();
        const int guide = session.onPicture(shown, kTextBox).right();
        const QColor highlight = session.canvas->palette().color(QPalette::Highlight);
        int marked = 0;
        for (int y = 0; y < shown.height(); ++y)
            marked += shown.pixelColor(guide, y) == highlight || shown.pixelColor(guide + 1, y) == highlight;
        QVERIFY2(marked > shown.height() / 3, qPrintable(QString::number(marked)));
        QTest::mouseRelease(session.view(), Qt::LeftButton, {}, from + QPoint(21, 0));
        QCOMPARE(session.steps, QStringList{"Move Box"});
        QCOMPARE(session.box(1), QRectF(kTextBox.right(), kBoxBox.top(), 720, 720));
        QCOMPARE(session.box(0), kTextBox);
    }

    // Nothing near: the symbol's top-left goes to the nearest point of the grid.
    void moveSnapsToTheGrid()
    {
        Session session;
        session.canvas->setGrid({.stepTwips = 180, .shown = true, .snap = true});
        session.drag(session.at(kSymbolBox.center()), QPoint(30, 20));
        QCOMPARE(session.steps, QStringList{"Move Designer symbol"});
        QCOMPARE(session.box(2), QRectF(QPointF(360, 1440), kSymbolBox.size()));
    }

    void moveTwo()
    {
        Session session;
        session.click(kTextBox.center() - QPointF(300, 0));
        session.click(kSymbolBox.center(), Qt::ShiftModifier);
        session.drag(session.at(kSymbolBox.center()), QPoint(-60, 40));
        QCOMPARE(session.steps, QStringList{"Move 2 Objects"});
        const QPointF moved = session.box(2).topLeft() - kSymbolBox.topLeft();
        QVERIFY(moved.x() < -400 && moved.y() > 250);
        QCOMPARE(session.box(0), kTextBox.translated(moved));
        QCOMPARE(session.box(1), kBoxBox);
    }

    void resize_data()
    {
        QTest::addColumn<Handle>("handle");
        QTest::addColumn<QRectF>("expected");
        // Each handle dragged 10 pixels right and 6 down: 75 and 45 twips.
        QTest::newRow("top left") << Handle::TopLeft << QRectF(1515, 333, 645, 675);
        QTest::newRow("top") << Handle::Top << QRectF(1440, 333, 720, 675);
        QTest::newRow("top right") << Handle::TopRight << QRectF(1440, 333, 795, 675);
        QTest::newRow("right") << Handle::Right << QRectF(1440, 288, 795, 720);
        QTest::newRow("bottom right") << Handle::BottomRight << QRectF(1440, 288, 795, 765);
        QTest::newRow("bottom") << Handle::Bottom << QRectF(1440, 288, 720, 765);
        QTest::newRow("bottom left") << Handle::BottomLeft << QRectF(1515, 288, 645, 765);
        QTest::newRow("left") << Handle::Left << QRectF(1515, 288, 645, 720);
    }
    void resize()
    {
        QFETCH(Handle, handle);
        QFETCH(QRectF, expected);
        Session session;
        session.canvas->setSelection({1});
        session.drag(session.at(LabelLayout::handlePoint(kBoxBox, handle)), QPoint(10, 6));
        QCOMPARE(session.steps, QStringList{"Resize Box"});
        QVERIFY(near(session.box(1), expected));
        QCOMPARE(session.canvas->selection(), Selection{1});
    }

    void resizeKeepingProportions()
    {
        Session session;
        session.canvas->setSelection({1});
        const QPoint corner = session.at(kBoxBox.bottomRight());
        session.drag(corner, QPoint(40, 10), Qt::ShiftModifier);
        const QRectF box = session.box(1);
        QCOMPARE(box.topLeft(), kBoxBox.topLeft());
        QVERIFY(box.width() > kBoxBox.width() + 100);
        QCOMPARE(box.width(), box.height());
    }

    void arrows_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<double>("grid");
        QTest::addColumn<QPointF>("moved");
        QTest::newRow("right: a twentieth of an inch")
            << int(Qt::Key_Right) << Qt::KeyboardModifiers() << 0.0 << QPointF(72, 0);
        QTest::newRow("up") << int(Qt::Key_Up) << Qt::KeyboardModifiers() << 0.0 << QPointF(0, -72);
        QTest::newRow("down: a grid step")
            << int(Qt::Key_Down) << Qt::KeyboardModifiers() << 180.0 << QPointF(0, 180);
        QTest::newRow("shift left: a dot")
            << int(Qt::Key_Left) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 180.0 << QPointF(-4.8, 0);
    }
    void arrows()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(double, grid);
        QFETCH(QPointF, moved);
        Session session;
        session.canvas->setGrid({.stepTwips = grid});
        session.canvas->setDotTwips([] { return 4.8; });
        session.canvas->setSelection({0});
        session.canvas->setFocus();
        QTest::keyClick(session.canvas, Qt::Key(key), modifiers);
        QTest::keyClick(session.canvas, Qt::Key(key), modifiers);
        QCOMPARE(session.steps, QStringList({"Move Text", "Move Text"}));
        QCOMPARE(session.box(0), kTextBox.translated(2 * moved));
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
            QVERIFY(session.canvas->hasFocus());
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
        QCOMPARE(canvas->childCount(), 3);
        QAccessibleInterface *box = canvas->child(1);
        QCOMPARE(box->role(), QAccessible::Graphic);
        QCOMPARE(box->text(QAccessible::Name), LabelLayout::accessibleName(session.document, 1));
        QVERIFY(box->state().selected && box->state().focused);
        QVERIFY(!canvas->child(0)->state().selected);
        QCOMPARE(canvas->focusChild(), box);
        QCOMPARE(canvas->indexOfChild(box), 1);
        tab(Qt::Key_Backtab);
        tab(Qt::Key_Backtab);
        QVERIFY(session.before->hasFocus());
    }

    void zoomSteps()
    {
        Session session;
        QSignalSpy zoomed(session.canvas, &LabelCanvas::zoomChanged);
        const std::vector<double> in{3, 4, 6, 8, 12, 16, 16};
        for (const double expected : in) {
            session.canvas->zoomIn();
            QCOMPARE(session.canvas->zoom(), expected);
        }
        session.canvas->setZoom(0.6);
        session.canvas->zoomOut();
        QCOMPARE(session.canvas->zoom(), 0.5);
        session.canvas->setZoom(0.01);
        QCOMPARE(session.canvas->zoom(), 0.1);
        QCOMPARE(zoomed.size(), 9);
        session.canvas->setFocus();
        QTest::keyClick(session.canvas, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(session.canvas->zoom(), 0.25);
        QTest::keyClick(session.canvas, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(session.canvas->zoom(), 0.1);
        QTest::keyClick(session.canvas, Qt::Key_0, Qt::ControlModifier);
        const QRect view = session.view()->rect();
        QVERIFY(view.contains(session.at(QPointF(0, 0))));
        QVERIFY(view.contains(session.at(QPointF(5040, 3600))));
        QVERIFY(!view.adjusted(60, 60, -60, -60).contains(session.at(QPointF(5040, 3600))));
    }

    // Control and the wheel zoom about the cursor: the label's point under it stays.
    void wheelZoom()
    {
        Session session;
        const QPointF point = kSymbolBox.center() + QPointF(300, 200);
        const QPoint cursor = session.at(point);
        QWheelEvent wheel(cursor, session.view()->mapToGlobal(cursor), {}, QPoint(0, 120), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(session.view(), &wheel);
        QCOMPARE(session.canvas->zoom(), 3.0);
        QVERIFY((session.at(point) - cursor).manhattanLength() <= 2);
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
        QCOMPARE(session.canvas->faultAt(0), QString());
        QVERIFY(!redAlongTop());
        const QString reason = QStringLiteral("The data has no column \"price\".");
        session.canvas->setObjectFaults({{0, reason}});
        QCOMPARE(session.canvas->faultAt(0), reason);
        QCOMPARE(session.canvas->faultAt(1), QString());
        QVERIFY(redAlongTop());
        const QPoint text = session.at(kTextBox.topLeft() + QPointF(100, 100));
        QCOMPARE(session.canvas->itemAt(text)->toolTip(), reason);
        session.show(); // shown again, still marked
        QCOMPARE(session.canvas->faultAt(0), reason);
        session.canvas->setObjectFaults({});
        QCOMPARE(session.canvas->faultAt(0), QString());
        QVERIFY(!redAlongTop());
        std::vector<LabelObject> objects = session.document.objects();
        std::get<TextObject>(objects[0]).fontPoints = 200;
        session.document.setObjects(objects);
        session.show();
        QVERIFY(!session.canvas->faultAt(0).isEmpty());
        QVERIFY(redAlongTop());
    }

    void symbolScans()
    {
        Session session;
        const QImage shown = session.shown();
        const QRect symbol = session.onPicture(shown, kSymbolBox);
        QCOMPARE(Decode::zxingOne(Decode::label(shown, symbol)), kValue);
    }
};

QTEST_MAIN(TestLabelCanvas)
#include "tst_labelcanvas.moc"
