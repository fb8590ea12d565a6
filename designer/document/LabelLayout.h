#pragma once
#include "LabelDocument.h"

#include <QPointF>
#include <QRectF>
#include <optional>
#include <vector>

// What the label canvas does to the objects' boxes, without a window: where
// each object sits, moving, sizing by a handle, snapping, aligning,
// distributing, stacking and removing. Boxes are twips from the label's
// top-left. Each edit returns the whole new list for LabelDocument::setObjects,
// so an edit is one step to undo.
namespace LabelLayout {

using Selection = std::vector<std::size_t>; // indices into the objects, any order

// The eight handles around a selected box, clockwise from the top-left.
enum class Handle { TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };
constexpr int kHandles = 8;

enum class Align { Left, HorizontalCentre, Right, Top, VerticalCentre, Bottom };

// The least width and height a handle leaves a box (a line's box may be 0 on one side).
constexpr double kLeastSide = 15.0; // a hundredth of an inch, in twips

// The box of the object at index: its frame, or for the designer's symbol its
// place (the whole label when it has none).
QRectF boxOf(const LabelDocument &document, std::size_t index);
// The object given box: its frame's, or the designer's symbol's place.
LabelObject withBox(const LabelObject &object, const QRectF &box);
// Where a handle of box sits. A line's box may run right to left or bottom to
// top: its handles, sizing, snapping and aligning go by the box it covers
// (normalized); moving and sizing keep its direction.
QPointF handlePoint(const QRectF &box, Handle handle);

// start with the handle dragged to point. keepRatio keeps start's proportions:
// a corner follows the point along the diagonal, a side handle scales the
// other side about the box's centre. A side never passes the opposite one: it
// stops kLeastSide before it.
QRectF resized(const QRectF &start, Handle handle, const QPointF &point, bool keepRatio);

// What a moving box snaps to.
struct SnapTargets {
    double grid = 0; // the grid's step in twips; 0: no grid
    double tolerance = 0; // how near an edge or centre must be to snap, in twips
    std::vector<QRectF> others; // the boxes not moving (the label's own box is added by the caller)
};
struct Snapped {
    QPointF delta; // the move to make
    std::optional<double> guideX; // the other edge or centre the box snapped to, to show
    std::optional<double> guideY;
};
// The box moved by delta, then snapped on each axis: its left, centre or
// right (top, centre or bottom) to the nearest edge or centre of another box
// within tolerance; else its left (top) to the nearest grid line when there is a grid.
Snapped snapMove(const QRectF &box, const QPointF &delta, const SnapTargets &targets);
// value to the nearest multiple of step; value itself for a step of 0 or less.
double snapToGrid(double value, double step);

// The selected objects moved by delta.
std::vector<LabelObject> moved(const LabelDocument &document, const Selection &selection, const QPointF &delta);
// The selected objects lined up on the selection's common edge or centre; a
// single object is aligned on the label.
std::vector<LabelObject> aligned(const LabelDocument &document, const Selection &selection, Align align);
// Three or more selected objects spread with equal gaps between them, the
// outermost two staying where they are; fewer are left as they are.
std::vector<LabelObject> distributed(const LabelDocument &document, const Selection &selection,
                                     Qt::Orientation orientation);

struct Restacked {
    std::vector<LabelObject> objects;
    Selection selection; // where the selected objects are now
};
// The selected objects one place up the stack (forward) or down (backward),
// keeping their order among themselves; one at the top or bottom stays.
Restacked restacked(const std::vector<LabelObject> &objects, const Selection &selection, bool forward);
// The objects without the selected ones; the designer's symbol is never removed.
std::vector<LabelObject> removed(const std::vector<LabelObject> &objects, const Selection &selection);

// A name for screen readers: the kind (LabelObjects::kindName), then after ": "
// what the object shows (a text's first line, a symbol's data template, a
// picture's file name; nothing for a line, a box or the designer's symbol),
// then where its box's top-left corner sits: "Text: {name}, 0.2 in from the
// left, 0.1 in from the top", "Box, 1.5 cm from the left, 0 cm from the top".
// The lengths are in the document's unit ("cm" or "in"), rounded to at most
// two decimals, no zeros after the last that counts, "." as the point whatever the locale.
QString accessibleName(const LabelDocument &document, std::size_t index);
// The step's name for the undo menu: "Move Text", "Resize Box", "Delete 3 Objects".
QString stepName(const QString &verb, const LabelDocument &document, const Selection &selection);

} // namespace LabelLayout
