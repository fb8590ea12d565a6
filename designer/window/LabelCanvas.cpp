#include "LabelCanvas.h"
#include "CanvasAccessible.h"
#include "CanvasRulers.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <array>

namespace {

constexpr int kMargin = 40; // pixels of surround around the paper

constexpr std::array kZoomSteps{0.1, 0.25, 0.5, 0.75, 1.0, 1.5, 2.0, 3.0, 4.0, 6.0, 8.0, 12.0, 16.0};
constexpr double kArrowTwips = 72; // an arrow's move without a grid: a twentieth of an inch
constexpr double kSnapPixels = 6; // how near an edge must come to snap, on the screen
constexpr int kHandlePixels = 7;

// How far an object's drawing may reach beyond its box, in twips: half a line's stroke.
double padOf(const LabelObject &object)
{
    const auto *line = std::get_if<LineObject>(&object);
    return 30 + (line ? line->strokePoints * 10 : 0);
}

bool contains(const LabelLayout::Selection &selection, std::size_t index)
{
    return std::find(selection.begin(), selection.end(), index) != selection.end();
}

Qt::CursorShape cursorOf(LabelLayout::Handle handle)
{
    using Handle = LabelLayout::Handle;
    switch (handle) {
    case Handle::TopLeft:
    case Handle::BottomRight:
        return Qt::SizeFDiagCursor;
    case Handle::TopRight:
    case Handle::BottomLeft:
        return Qt::SizeBDiagCursor;
    case Handle::Top:
    case Handle::Bottom:
        return Qt::SizeVerCursor;
    default:
        return Qt::SizeHorCursor;
    }
}

} // namespace

LabelCanvas::LabelCanvas(const LabelDocument &document, QWidget *parent)
    : QGraphicsView(parent)
    , m_document(document)
    , m_paper(new PaperItem(m_source))
    , m_top(new CanvasRuler(Qt::Horizontal, this))
    , m_left(new CanvasRuler(Qt::Vertical, this))
{
    CanvasAccessible::install();
    setAccessibleName(tr("Label canvas"));
    setScene(new QGraphicsScene(this));
    scene()->addItem(m_paper);
    m_source.label = QSizeF(document.width(), document.height());
    setViewportUpdateMode(FullViewportUpdate); // the handles and guides move with the items
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    setViewportMargins(m_left->thickness(), m_top->thickness(), 0, 0);
    applyZoom();
}

void LabelCanvas::setCommit(Commit commit) { m_commit = std::move(commit); }

void LabelCanvas::showLabel(LabelRenderer *renderer, const LabelRecord &record)
{
    m_drag = {};
    for (ObjectItem *item : m_items)
        delete item;
    m_items.clear();
    m_source.renderer = renderer;
    m_source.record = record;
    m_source.label = QSizeF(m_document.width(), m_document.height());
    m_paper->update(); // its colour, size or grid may have changed
    const std::vector<LabelObject> &objects = m_document.objects();
    for (std::size_t index = 0; index < objects.size(); ++index) {
        auto *item
            = new ObjectItem(m_source, index, LabelLayout::boxOf(m_document, index), padOf(objects[index]));
        scene()->addItem(item);
        m_items.push_back(item);
        item->checkFaults();
        if (const auto fault = m_faults.find(index); fault != m_faults.end())
            item->setExtraFault(fault->second);
    }
    applyZoom();
    LabelLayout::Selection kept;
    std::copy_if(m_selection.begin(), m_selection.end(), std::back_inserter(kept),
                 [this](std::size_t index) { return index < count(); });
    if (kept != m_selection) {
        m_selection = kept;
        emit selectionChanged();
    }
}

void LabelCanvas::setObjectFaults(const std::map<std::size_t, QString> &faults)
{
    m_faults = faults;
    for (ObjectItem *item : m_items) {
        const auto fault = m_faults.find(item->index());
        item->setExtraFault(fault == m_faults.end() ? QString() : fault->second);
    }
}

void LabelCanvas::setSelection(const LabelLayout::Selection &selection)
{
    LabelLayout::Selection chosen;
    std::copy_if(selection.begin(), selection.end(), std::back_inserter(chosen),
                 [this](std::size_t index) { return index < count(); });
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    if (chosen == m_selection)
        return;
    // A move or a resize under way belongs to the selection it started with: dropped.
    if (m_drag.kind == Drag::Kind::Move || m_drag.kind == Drag::Kind::Resize) {
        m_drag.started = false;
        finishDrag();
    }
    m_selection = chosen;
    viewport()->update();
    emit selectionChanged();
}

void LabelCanvas::setZoom(double zoom)
{
    m_fitting = false;
    zoom = std::clamp(zoom, kZoomSteps.front(), kZoomSteps.back());
    if (qFuzzyCompare(zoom, m_zoom))
        return;
    m_zoom = zoom;
    applyZoom();
    emit zoomChanged(m_zoom);
}

void LabelCanvas::zoomToFit()
{
    const QSizeF label = m_source.label;
    if (label.width() <= 0 || label.height() <= 0)
        return;
    // The surround's margin on each side, and a pixel to spare: no scroll bars at the fit.
    const QSizeF room = QSizeF(viewport()->size()) - QSizeF(2 * kMargin + 2, 2 * kMargin + 2);
    setZoom(std::min(room.width() * 1440 / (label.width() * logicalDpiX()),
                     room.height() * 1440 / (label.height() * logicalDpiY())));
    centerOn(QRectF(QPointF(0, 0), label).center());
    m_fitting = true;
}

void LabelCanvas::zoomIn()
{
    const auto next = std::find_if(kZoomSteps.begin(), kZoomSteps.end(),
                                   [this](double step) { return step > m_zoom * 1.001; });
    if (next != kZoomSteps.end())
        setZoom(*next);
}

void LabelCanvas::zoomOut()
{
    const auto next = std::find_if(kZoomSteps.rbegin(), kZoomSteps.rend(),
                                   [this](double step) { return step < m_zoom * 0.999; });
    if (next != kZoomSteps.rend())
        setZoom(*next);
}

void LabelCanvas::setGrid(const Grid &grid)
{
    m_grid = grid;
    m_paper->setGrid(grid.stepTwips, grid.shown);
}

void LabelCanvas::setDotTwips(std::function<double()> twips) { m_dotTwips = std::move(twips); }

QPoint LabelCanvas::viewportPoint(const QPointF &twips) const { return mapFromScene(twips); }

QString LabelCanvas::faultAt(std::size_t index) const
{
    return index < count() ? m_items[index]->fault() : QString();
}

void LabelCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QGraphicsView::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    m_drag = {};
    m_drag.press = point;
    m_drag.current = point;
    const bool toggle = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    if (const auto handle = handleAt(point)) {
        m_drag.kind = Drag::Kind::Resize;
        m_drag.handle = *handle;
        m_drag.start = LabelLayout::boxOf(m_document, m_selection.front());
        m_drag.box = m_drag.start;
        return;
    }
    const auto hit = objectAt(mapToScene(point));
    if (!hit) {
        m_drag.kind = Drag::Kind::Band;
        m_drag.base = toggle ? m_selection : LabelLayout::Selection();
        setSelection(m_drag.base);
        return;
    }
    if (toggle) {
        LabelLayout::Selection toggled = m_selection;
        if (contains(toggled, *hit))
            std::erase(toggled, *hit);
        else
            toggled.push_back(*hit);
        setSelection(toggled);
        return;
    }
    if (!contains(m_selection, *hit))
        setSelection({*hit});
    m_drag.kind = Drag::Kind::Move;
    for (const std::size_t index : m_selection)
        m_drag.start |= LabelLayout::boxOf(m_document, index).normalized();
}

void LabelCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (m_drag.kind == Drag::Kind::None) {
        const auto handle = handleAt(point);
        viewport()->setCursor(handle ? cursorOf(*handle) : Qt::ArrowCursor);
        QGraphicsView::mouseMoveEvent(event);
        return;
    }
    if (m_drag.started || (point - m_drag.press).manhattanLength() >= QApplication::startDragDistance())
        dragTo(point, event->modifiers());
}

void LabelCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_drag.kind == Drag::Kind::None) {
        QGraphicsView::mouseReleaseEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    if (m_drag.started || (point - m_drag.press).manhattanLength() >= QApplication::startDragDistance())
        dragTo(point, event->modifiers());
    finishDrag();
}

void LabelCanvas::mouseDoubleClickEvent(QMouseEvent *event) { mousePressEvent(event); }

void LabelCanvas::dragTo(const QPoint &point, Qt::KeyboardModifiers modifiers)
{
    m_drag.started = true;
    m_drag.current = point;
    const QPointF at = mapToScene(point);
    switch (m_drag.kind) {
    case Drag::Kind::Resize: {
        // The handle goes to the grid's points when the grid snaps.
        const double step = m_grid.snap ? m_grid.stepTwips : 0;
        const QPointF to(LabelLayout::snapToGrid(at.x(), step), LabelLayout::snapToGrid(at.y(), step));
        m_drag.box = LabelLayout::resized(m_drag.start, m_drag.handle, to, modifiers & Qt::ShiftModifier);
        m_items[m_selection.front()]->setPreview(m_drag.box, pixelsPerTwip(), devicePixelRatioF());
        break;
    }
    case Drag::Kind::Move: {
        LabelLayout::SnapTargets targets{.grid = m_grid.snap ? m_grid.stepTwips : 0,
                                         .tolerance = kSnapPixels / pixelsPerTwip(),
                                         .others = {QRectF(QPointF(0, 0), m_source.label)}};
        for (std::size_t index = 0; index < count(); ++index)
            if (!contains(m_selection, index))
                targets.others.push_back(LabelLayout::boxOf(m_document, index).normalized());
        const LabelLayout::Snapped snapped
            = LabelLayout::snapMove(m_drag.start, at - mapToScene(m_drag.press), targets);
        m_drag.delta = snapped.delta;
        m_drag.guideX = snapped.guideX;
        m_drag.guideY = snapped.guideY;
        for (const std::size_t index : m_selection)
            m_items[index]->setOffset(m_drag.delta);
        break;
    }
    case Drag::Kind::Band: {
        const QRectF band = mapToScene(QRect(m_drag.press, point).normalized()).boundingRect();
        LabelLayout::Selection chosen = m_drag.base;
        for (std::size_t index = 0; index < count(); ++index) {
            const QRectF box = LabelLayout::boxOf(m_document, index).normalized();
            if (band.intersects(box.adjusted(-0.5, -0.5, 0.5, 0.5)))
                chosen.push_back(index);
        }
        setSelection(chosen);
        break;
    }
    case Drag::Kind::None:
        break;
    }
    viewport()->update();
}

void LabelCanvas::finishDrag()
{
    const Drag drag = std::exchange(m_drag, {});
    for (ObjectItem *item : m_items) {
        item->setOffset({});
        item->setPreview(std::nullopt, 0, 1);
    }
    viewport()->update();
    if (!drag.started)
        return;
    if (drag.kind == Drag::Kind::Resize && drag.box != drag.start) {
        const std::size_t index = m_selection.front();
        std::vector<LabelObject> objects = m_document.objects();
        objects[index] = LabelLayout::withBox(objects[index], drag.box);
        commit(LabelLayout::stepName(tr("Resize"), m_document, {index}), objects);
    }
    if (drag.kind == Drag::Kind::Move && !drag.delta.isNull())
        moveBy(drag.delta);
}

void LabelCanvas::commit(const QString &step, const std::vector<LabelObject> &objects)
{
    if (m_commit)
        m_commit(step, objects);
}

void LabelCanvas::moveBy(const QPointF &delta)
{
    commit(LabelLayout::stepName(tr("Move"), m_document, m_selection),
           LabelLayout::moved(m_document, m_selection, delta));
}

void LabelCanvas::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    // The label's point under the cursor stays there.
    const QPoint cursor = event->position().toPoint();
    const QPointF anchor = mapToScene(cursor);
    if (event->angleDelta().y() > 0)
        zoomIn();
    else if (event->angleDelta().y() < 0)
        zoomOut();
    const QPoint shift = mapFromScene(anchor) - cursor;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + shift.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() + shift.y());
    event->accept();
}

void LabelCanvas::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool control = event->modifiers() & Qt::ControlModifier;
    // The printer is asked for its dot only when an arrow moves by it.
    const bool arrowKey
        = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    const double step = !arrowKey                ? 0
        : event->modifiers() & Qt::ShiftModifier ? m_dotTwips()
        : m_grid.stepTwips > 0                   ? m_grid.stepTwips
                                                 : kArrowTwips;
    const std::map<int, QPointF> arrows{{Qt::Key_Left, QPointF(-step, 0)},
                                        {Qt::Key_Right, QPointF(step, 0)},
                                        {Qt::Key_Up, QPointF(0, -step)},
                                        {Qt::Key_Down, QPointF(0, step)}};
    if (const auto arrow = arrows.find(key); arrow != arrows.end() && !control && !m_selection.empty()) {
        if (m_drag.kind == Drag::Kind::None)
            moveBy(arrow->second);
        return;
    }
    if (key == Qt::Key_Escape && m_drag.kind != Drag::Kind::None) {
        m_drag.started = false; // the drag dropped: nothing to commit
        finishDrag();
        return;
    }
    if (key == Qt::Key_Escape && !m_selection.empty())
        return setSelection({});
    if (event->matches(QKeySequence::ZoomIn) || (control && (key == Qt::Key_Plus || key == Qt::Key_Equal)))
        return zoomIn();
    if (event->matches(QKeySequence::ZoomOut) || (control && key == Qt::Key_Minus))
        return zoomOut();
    if (control && key == Qt::Key_0)
        return zoomToFit();
    QGraphicsView::keyPressEvent(event);
}

bool LabelCanvas::focusNextPrevChild(bool next)
{
    // Tab walks the objects in their stacking order; past the last (or
    // before the first) the focus leaves the canvas.
    if (!hasFocus() || count() == 0)
        return QGraphicsView::focusNextPrevChild(next);
    std::optional<std::size_t> target;
    if (m_selection.empty())
        target = next ? 0 : count() - 1;
    else if (next && m_selection.back() + 1 < count())
        target = m_selection.back() + 1;
    else if (!next && m_selection.front() > 0)
        target = m_selection.front() - 1;
    if (!target)
        return QGraphicsView::focusNextPrevChild(next);
    focusObject(*target);
    return true;
}

void LabelCanvas::focusInEvent(QFocusEvent *event)
{
    QGraphicsView::focusInEvent(event);
    const bool forward = event->reason() == Qt::TabFocusReason;
    if (count() > 0 && (forward || event->reason() == Qt::BacktabFocusReason))
        focusObject(forward ? 0 : count() - 1);
}

void LabelCanvas::focusObject(std::size_t index)
{
    setSelection({index});
    ensureVisible(LabelLayout::boxOf(m_document, index).normalized(), 8, 8);
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(int(index));
    QAccessible::updateAccessibility(&event);
}

void LabelCanvas::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    if (m_fitting)
        zoomToFit();
    updateRulers();
}

void LabelCanvas::scrollContentsBy(int dx, int dy)
{
    QGraphicsView::scrollContentsBy(dx, dy);
    updateRulers();
}

void LabelCanvas::drawBackground(QPainter *painter, const QRectF &rect)
{
    painter->fillRect(rect, palette().color(QPalette::Mid));
}

void LabelCanvas::drawForeground(QPainter *painter, const QRectF &)
{
    painter->save();
    painter->resetTransform(); // in the viewport's pixels: handles and lines keep their size
    const QTransform toView = viewportTransform();
    const QColor highlight = palette().color(QPalette::Highlight);
    QPen guide(highlight, 1, Qt::DashLine);
    painter->setPen(guide);
    if (m_drag.guideX) {
        const double x = toView.map(QPointF(*m_drag.guideX, 0)).x();
        painter->drawLine(QLineF(x, 0, x, viewport()->height()));
    }
    if (m_drag.guideY) {
        const double y = toView.map(QPointF(0, *m_drag.guideY)).y();
        painter->drawLine(QLineF(0, y, viewport()->width(), y));
    }
    const bool resizing = m_drag.kind == Drag::Kind::Resize && m_drag.started;
    const QPointF offset = m_drag.kind == Drag::Kind::Move ? m_drag.delta : QPointF();
    painter->setPen(QPen(highlight, 1));
    painter->setBrush(Qt::NoBrush);
    for (const std::size_t index : m_selection) {
        const QRectF box = resizing ? m_drag.box : LabelLayout::boxOf(m_document, index);
        painter->drawRect(toView.mapRect(box.normalized().translated(offset)));
    }
    if (m_selection.size() == 1 && !(m_drag.kind == Drag::Kind::Move && m_drag.started)) {
        const QRectF box = resizing ? m_drag.box : LabelLayout::boxOf(m_document, m_selection.front());
        painter->setBrush(palette().color(QPalette::Base));
        for (int handle = 0; handle < LabelLayout::kHandles; ++handle) {
            const QPointF at = toView.map(LabelLayout::handlePoint(box, LabelLayout::Handle(handle)));
            const double half = kHandlePixels / 2.0;
            painter->drawRect(QRectF(at - QPointF(half, half), QSizeF(kHandlePixels, kHandlePixels)));
        }
    }
    if (m_drag.kind == Drag::Kind::Band && m_drag.started) {
        QColor fill = highlight;
        fill.setAlpha(40);
        painter->setBrush(fill);
        painter->drawRect(QRect(m_drag.press, m_drag.current).normalized());
    }
    painter->restore();
}

std::optional<std::size_t> LabelCanvas::objectAt(const QPointF &twips) const
{
    const double slack = 3 / pixelsPerTwip(); // a line's box may have no width
    for (std::size_t index = count(); index-- > 0;) {
        const QRectF box = LabelLayout::boxOf(m_document, index).normalized();
        if (box.adjusted(-slack, -slack, slack, slack).contains(twips))
            return index;
    }
    return std::nullopt;
}

std::optional<LabelLayout::Handle> LabelCanvas::handleAt(const QPoint &point) const
{
    if (m_selection.size() != 1)
        return std::nullopt;
    const QRectF box = LabelLayout::boxOf(m_document, m_selection.front());
    for (int handle = 0; handle < LabelLayout::kHandles; ++handle) {
        const QPointF at
            = viewportTransform().map(LabelLayout::handlePoint(box, LabelLayout::Handle(handle)));
        if (QRectF(at - QPointF(5, 5), QSizeF(10, 10)).contains(point))
            return LabelLayout::Handle(handle);
    }
    return std::nullopt;
}

double LabelCanvas::pixelsPerTwip() const { return m_zoom * logicalDpiX() / 1440.0; }

void LabelCanvas::applyZoom()
{
    const double scaleX = m_zoom * logicalDpiX() / 1440.0;
    setTransform(QTransform::fromScale(scaleX, m_zoom * logicalDpiY() / 1440.0));
    m_paper->setPixelTwips(1 / scaleX);
    const double margin = kMargin / scaleX;
    setSceneRect(QRectF(QPointF(0, 0), m_source.label).adjusted(-margin, -margin, margin, margin));
    updateRulers();
    viewport()->update();
}

void LabelCanvas::updateRulers()
{
    const int left = m_left->thickness();
    const int top = m_top->thickness();
    const QRect view = viewport()->geometry();
    m_top->setGeometry(view.left() - left, view.top() - top, view.width() + left, top);
    m_left->setGeometry(view.left() - left, view.top(), left, view.height());
    const QPointF origin = viewportTransform().map(QPointF(0, 0));
    m_top->setScale(m_document.twipsPerUnit(), origin.x() + left, pixelsPerTwip());
    m_left->setScale(m_document.twipsPerUnit(), origin.y(), m_zoom * logicalDpiY() / 1440.0);
}

QRect LabelCanvas::objectRect(std::size_t index) const
{
    const QRect box
        = viewportTransform().mapRect(LabelLayout::boxOf(m_document, index).normalized()).toAlignedRect();
    return QRect(viewport()->mapToGlobal(box.topLeft()), box.size());
}
