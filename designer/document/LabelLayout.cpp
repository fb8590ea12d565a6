#include "LabelLayout.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>

// A line's box runs from its start to its end, so its width or height may be
// 0 or below. Everything that compares boxes (handles, sizing, snapping,
// aligning, distributing) works on the normalized box, the one the user sees;
// moving translates the box as it is, so the line keeps its direction, and
// sizing gives the new box the start's direction back.
namespace LabelLayout {

namespace {

// The selection's indices within the objects, ascending, each once.
Selection cleaned(const Selection &selection, std::size_t count)
{
    Selection indices;
    for (const std::size_t index : selection)
        if (index < count)
            indices.push_back(index);
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

QRectF shownBox(const LabelDocument &document, std::size_t index)
{
    return boxOf(document, index).normalized();
}

// The objects with each selected one moved by its own delta.
template <class DeltaOf>
std::vector<LabelObject> movedEach(const LabelDocument &document, const Selection &selection, DeltaOf deltaOf)
{
    std::vector<LabelObject> objects = document.objects();
    for (const std::size_t index : cleaned(selection, objects.size()))
        objects[index] = withBox(objects[index], boxOf(document, index).translated(deltaOf(index)));
    return objects;
}

// The least factor a box of size may be scaled by before a side that is not 0
// falls below kLeastSide; 0 when both sides are 0.
double leastScale(const QSizeF &size)
{
    const double shorter = size.width() > 0 && size.height() > 0 ? std::min(size.width(), size.height())
                                                                 : std::max(size.width(), size.height());
    return shorter > 0 ? kLeastSide / shorter : 0;
}

bool isCorner(Handle handle)
{
    return handle == Handle::TopLeft || handle == Handle::TopRight || handle == Handle::BottomRight
        || handle == Handle::BottomLeft;
}

bool movesLeft(Handle h) { return h == Handle::TopLeft || h == Handle::Left || h == Handle::BottomLeft; }
bool movesRight(Handle h) { return h == Handle::TopRight || h == Handle::Right || h == Handle::BottomRight; }
bool movesTop(Handle h) { return h == Handle::TopLeft || h == Handle::Top || h == Handle::TopRight; }
bool movesBottom(Handle h)
{
    return h == Handle::BottomLeft || h == Handle::Bottom || h == Handle::BottomRight;
}

// Each side the handle holds follows the point, stopping kLeastSide before the opposite side.
QRectF freeResized(const QRectF &box, Handle handle, const QPointF &point)
{
    QRectF out = box;
    if (movesLeft(handle))
        out.setLeft(std::min(point.x(), box.right() - kLeastSide));
    if (movesRight(handle))
        out.setRight(std::max(point.x(), box.left() + kLeastSide));
    if (movesTop(handle))
        out.setTop(std::min(point.y(), box.bottom() - kLeastSide));
    if (movesBottom(handle))
        out.setBottom(std::max(point.y(), box.top() + kLeastSide));
    return out;
}

// The corner follows the point projected on the diagonal from the opposite corner.
QRectF cornerResized(const QRectF &box, Handle handle, const QPointF &point)
{
    const QPointF anchor = handlePoint(box, static_cast<Handle>((int(handle) + 4) % kHandles));
    const QPointF diagonal = handlePoint(box, handle) - anchor;
    const double length = QPointF::dotProduct(diagonal, diagonal);
    const double least = leastScale(box.size());
    if (length <= 0 || least <= 0)
        return freeResized(box, handle, point);
    const double scale = std::max(QPointF::dotProduct(point - anchor, diagonal) / length, least);
    return QRectF(anchor, anchor + scale * diagonal).normalized();
}

// The side follows the point; the other side scales alike about the box's centre.
QRectF sideResized(const QRectF &box, Handle handle, const QPointF &point)
{
    const bool across = handle == Handle::Left || handle == Handle::Right;
    const double side = across ? box.width() : box.height();
    if (side <= 0)
        return freeResized(box, handle, point);
    double reach = 0;
    if (handle == Handle::Left)
        reach = box.right() - point.x();
    else if (handle == Handle::Right)
        reach = point.x() - box.left();
    else if (handle == Handle::Top)
        reach = box.bottom() - point.y();
    else
        reach = point.y() - box.top();
    const double scale = std::max(reach / side, leastScale(box.size()));
    QRectF out = box;
    if (across) {
        const double height = box.height() * scale;
        out.setTop(box.center().y() - height / 2);
        out.setHeight(height);
        if (handle == Handle::Left)
            out.setLeft(box.right() - box.width() * scale);
        else
            out.setWidth(box.width() * scale);
    } else {
        const double width = box.width() * scale;
        out.setLeft(box.center().x() - width / 2);
        out.setWidth(width);
        if (handle == Handle::Top)
            out.setTop(box.bottom() - box.height() * scale);
        else
            out.setHeight(box.height() * scale);
    }
    return out;
}

// One axis of a move: the shift that puts one of the box's edges or its
// centre on the nearest of the targets within tolerance.
struct AxisSnap {
    double shift = 0;
    std::optional<double> guide = {};
};

AxisSnap snapAxis(const std::array<double, 3> &edges, const std::vector<double> &targets, double tolerance,
                  double grid)
{
    AxisSnap best;
    double nearest = tolerance;
    for (const double edge : edges)
        for (const double target : targets) {
            const double distance = std::abs(target - edge);
            if (distance <= nearest && (!best.guide || distance < nearest)) {
                nearest = distance;
                best = {.shift = target - edge, .guide = target};
            }
        }
    if (!best.guide && grid > 0)
        best.shift = snapToGrid(edges[0], grid) - edges[0];
    return best;
}

QString lengthText(double twips, const LabelDocument &document)
{
    // Screen readers read the C locale's point; two decimals at most, no zeros after the last that counts.
    double amount = std::round(twips / document.twipsPerUnit() * 100) / 100;
    if (amount == 0)
        amount = 0; // no "-0"
    QString text = QString::number(amount, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text
        + (document.unit() == LabelDocument::Unit::Inches ? QStringLiteral(" in") : QStringLiteral(" cm"));
}

} // namespace

QRectF boxOf(const LabelDocument &document, std::size_t index)
{
    const LabelObject &object = document.objects().at(index);
    if (const ObjectFrame *frame = LabelObjects::frameOf(object))
        return frame->box;
    return document.symbolBox();
}

LabelObject withBox(const LabelObject &object, const QRectF &box)
{
    LabelObject out = object;
    std::visit(
        [&box](auto &kind) {
            if constexpr (std::is_same_v<std::decay_t<decltype(kind)>, SymbolObject>)
                kind.place = box;
            else
                kind.frame.box = box;
        },
        out);
    return out;
}

QPointF handlePoint(const QRectF &box, Handle handle)
{
    const QRectF shown = box.normalized();
    const double x = movesLeft(handle) ? shown.left()
        : movesRight(handle)           ? shown.right()
                                       : shown.center().x();
    const double y = movesTop(handle) ? shown.top()
        : movesBottom(handle)         ? shown.bottom()
                                      : shown.center().y();
    return {x, y};
}

QRectF resized(const QRectF &start, Handle handle, const QPointF &point, bool keepRatio)
{
    const QRectF shown = start.normalized();
    QRectF out = !keepRatio ? freeResized(shown, handle, point)
        : isCorner(handle)  ? cornerResized(shown, handle, point)
                            : sideResized(shown, handle, point);
    // A line drawn right to left or bottom to top stays so.
    if (start.width() < 0)
        out = QRectF(out.right(), out.top(), -out.width(), out.height());
    if (start.height() < 0)
        out = QRectF(out.left(), out.bottom(), out.width(), -out.height());
    return out;
}

Snapped snapMove(const QRectF &box, const QPointF &delta, const SnapTargets &targets)
{
    const QRectF moving = box.normalized().translated(delta);
    std::vector<double> xs;
    std::vector<double> ys;
    for (const QRectF &other : targets.others) {
        const QRectF shown = other.normalized();
        xs.insert(xs.end(), {shown.left(), shown.center().x(), shown.right()});
        ys.insert(ys.end(), {shown.top(), shown.center().y(), shown.bottom()});
    }
    const AxisSnap x
        = snapAxis({moving.left(), moving.center().x(), moving.right()}, xs, targets.tolerance, targets.grid);
    const AxisSnap y
        = snapAxis({moving.top(), moving.center().y(), moving.bottom()}, ys, targets.tolerance, targets.grid);
    return {.delta = delta + QPointF(x.shift, y.shift), .guideX = x.guide, .guideY = y.guide};
}

double snapToGrid(double value, double step) { return step > 0 ? std::round(value / step) * step : value; }

std::vector<LabelObject> moved(const LabelDocument &document, const Selection &selection,
                               const QPointF &delta)
{
    return movedEach(document, selection, [&delta](std::size_t) { return delta; });
}

std::vector<LabelObject> aligned(const LabelDocument &document, const Selection &selection, Align align)
{
    const Selection indices = cleaned(selection, document.objects().size());
    // Spanned by hand: QRectF::united passes over a box of no size, a line's may be one.
    QRectF bounds(0, 0, document.width(), document.height());
    if (indices.size() > 1) {
        double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
        for (const std::size_t index : indices) {
            const QRectF box = shownBox(document, index);
            left = std::min(left, box.left());
            top = std::min(top, box.top());
            right = std::max(right, box.right());
            bottom = std::max(bottom, box.bottom());
        }
        bounds = QRectF(QPointF(left, top), QPointF(right, bottom));
    }
    return movedEach(document, indices, [&](std::size_t index) {
        const QRectF box = shownBox(document, index);
        switch (align) {
        case Align::Left:
            return QPointF(bounds.left() - box.left(), 0);
        case Align::HorizontalCentre:
            return QPointF(bounds.center().x() - box.center().x(), 0);
        case Align::Right:
            return QPointF(bounds.right() - box.right(), 0);
        case Align::Top:
            return QPointF(0, bounds.top() - box.top());
        case Align::VerticalCentre:
            return QPointF(0, bounds.center().y() - box.center().y());
        case Align::Bottom:
            return QPointF(0, bounds.bottom() - box.bottom());
        }
        return QPointF();
    });
}

std::vector<LabelObject> distributed(const LabelDocument &document, const Selection &selection,
                                     Qt::Orientation orientation)
{
    Selection indices = cleaned(selection, document.objects().size());
    if (indices.size() < 3)
        return document.objects();
    const bool across = orientation == Qt::Horizontal;
    const auto start = [&](std::size_t index) {
        const QRectF box = shownBox(document, index);
        return across ? box.left() : box.top();
    };
    const auto length = [&](std::size_t index) {
        const QRectF box = shownBox(document, index);
        return across ? box.width() : box.height();
    };
    std::stable_sort(indices.begin(), indices.end(),
                     [&](std::size_t a, std::size_t b) { return start(a) < start(b); });
    // The first box's start stays, and so does the last's: what lies between is shared out equally.
    double taken = 0;
    for (std::size_t i = 0; i + 1 < indices.size(); ++i)
        taken += length(indices[i]);
    const double gap = (start(indices.back()) - start(indices.front()) - taken) / double(indices.size() - 1);
    std::vector<double> shifts(document.objects().size(), 0.0);
    double next = start(indices.front());
    for (const std::size_t index : indices) {
        shifts[index] = next - start(index);
        next += length(index) + gap;
    }
    shifts[indices.back()] = 0;
    return movedEach(document, indices, [&](std::size_t index) {
        return across ? QPointF(shifts[index], 0) : QPointF(0, shifts[index]);
    });
}

Restacked restacked(const std::vector<LabelObject> &objects, const Selection &selection, bool forward)
{
    Restacked out{.objects = objects, .selection = {}};
    std::vector<char> chosen(objects.size(), 0);
    for (const std::size_t index : cleaned(selection, objects.size()))
        chosen[index] = 1;
    const std::size_t count = objects.size();
    // Each selected object changes places with an unselected neighbour; walking
    // against the direction of travel moves each one once at most.
    for (std::size_t step = 1; step < count; ++step) {
        const std::size_t lower = forward ? count - 1 - step : step - 1;
        const std::size_t mover = forward ? lower : lower + 1;
        const std::size_t other = forward ? lower + 1 : lower;
        if (chosen[mover] && !chosen[other]) {
            std::swap(out.objects[lower], out.objects[lower + 1]);
            std::swap(chosen[lower], chosen[lower + 1]);
        }
    }
    for (std::size_t index = 0; index < count; ++index)
        if (chosen[index])
            out.selection.push_back(index);
    return out;
}

std::vector<LabelObject> removed(const std::vector<LabelObject> &objects, const Selection &selection)
{
    const Selection indices = cleaned(selection, objects.size());
    std::vector<LabelObject> out;
    for (std::size_t index = 0; index < objects.size(); ++index)
        if (!std::binary_search(indices.begin(), indices.end(), index)
            || std::holds_alternative<SymbolObject>(objects[index]))
            out.push_back(objects[index]);
    return out;
}

QString accessibleName(const LabelDocument &document, std::size_t index)
{
    const LabelObject &object = document.objects().at(index);
    QString what;
    if (const auto *text = std::get_if<TextObject>(&object))
        what = text->text.section(QLatin1Char('\n'), 0, 0);
    else if (const auto *symbol = std::get_if<BarcodeObject>(&object))
        what = symbol->data;
    else if (const auto *picture = std::get_if<PictureObject>(&object))
        what = QFileInfo(picture->file).fileName();
    const QRectF box = shownBox(document, index);
    QString name = LabelObjects::kindName(object);
    if (!what.isEmpty())
        name += QStringLiteral(": ") + what;
    return QStringLiteral("%1, %2 from the left, %3 from the top")
        .arg(name, lengthText(box.left(), document), lengthText(box.top(), document));
}

QString stepName(const QString &verb, const LabelDocument &document, const Selection &selection)
{
    const Selection indices = cleaned(selection, document.objects().size());
    if (indices.empty())
        return verb;
    if (indices.size() == 1)
        return verb + QLatin1Char(' ') + LabelObjects::kindName(document.objects()[indices.front()]);
    return QStringLiteral("%1 %2 Objects").arg(verb).arg(indices.size());
}

} // namespace LabelLayout
