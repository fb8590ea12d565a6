#pragma once
#include "CanvasItems.h"
#include "LabelLayout.h"

#include <QGraphicsView>
#include <functional>
#include <map>
#include <optional>

class CanvasRuler;

// The label as it is designed: its objects drawn at their places on the
// paper, to select, move and size with the mouse and the keyboard. The canvas
// never changes the document: each edit goes out as a step through the
// commit function, and the owner shows the label again once the document
// has it. The scene is in twips from the label's top-left.
class LabelCanvas : public QGraphicsView {
    Q_OBJECT
public:
    using Commit = std::function<void(const QString &step, const std::vector<LabelObject> &objects)>;
    struct Grid {
        double stepTwips = 0;
        bool shown = false;
        bool snap = true;
    };

    explicit LabelCanvas(const LabelDocument &document, QWidget *parent = nullptr);

    // Every edit goes out through it: the step's name and the whole new list.
    void setCommit(Commit commit);
    // The document's objects shown again, drawn by renderer (none: the paper
    // alone) for record; the selection keeps the indices still in range.
    void showLabel(LabelRenderer *renderer, const LabelRecord &record);
    // Reasons of the owner's to mark objects by, besides what drawing them reports.
    void setObjectFaults(const std::map<std::size_t, QString> &faults);
    LabelLayout::Selection selection() const { return m_selection; } // sorted
    void setSelection(const LabelLayout::Selection &selection);

    double zoom() const { return m_zoom; } // 1: the label at its size on the screen
    void setZoom(double zoom); // kept within 0.1 and 16
    void zoomToFit();
    void zoomIn();
    void zoomOut();

    void setGrid(const Grid &grid);
    Grid grid() const { return m_grid; }
    // What Shift+arrow moves by: a dot of the chosen printer, asked for at the key.
    void setDotTwips(std::function<double()> twips);

    // Where a point of the label is on the viewport, in pixels.
    QPoint viewportPoint(const QPointF &twips) const;
    // Why the object is marked, a reason a line; empty when it is not.
    QString faultAt(std::size_t index) const;

signals:
    void selectionChanged();
    void zoomChanged(double zoom);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void drawBackground(QPainter *painter, const QRectF &rect) override;
    void drawForeground(QPainter *painter, const QRectF &rect) override;

private:
    friend class CanvasAccessible;
    friend class CanvasObjectAccessible;

    // A press of the mouse's left button, until its release.
    struct Drag {
        enum class Kind { None, Move, Resize, Band };
        Kind kind = Kind::None;
        QPoint press = {}; // on the viewport
        QPoint current = {};
        bool started = false; // gone beyond the drag distance
        LabelLayout::Handle handle = LabelLayout::Handle::TopLeft;
        QRectF start = {}; // the box resized, or the bounds of the boxes moved
        QRectF box = {}; // resizing: the box now
        QPointF delta = {}; // moving: the move now, snapped
        std::optional<double> guideX = {};
        std::optional<double> guideY = {};
        LabelLayout::Selection base = {}; // a band adds to this selection
    };

    std::size_t count() const { return m_items.size(); }
    double pixelsPerTwip() const;
    std::optional<std::size_t> objectAt(const QPointF &twips) const;
    std::optional<LabelLayout::Handle> handleAt(const QPoint &point) const;
    void dragTo(const QPoint &point, Qt::KeyboardModifiers modifiers);
    void finishDrag();
    void commit(const QString &step, const std::vector<LabelObject> &objects);
    void moveBy(const QPointF &delta); // the selection, as one step
    void focusObject(std::size_t index); // selected alone and told to screen readers
    void applyZoom();
    void updateRulers();
    QRect objectRect(std::size_t index) const; // on the screen, for screen readers

    const LabelDocument &m_document;
    CanvasSource m_source;
    PaperItem *m_paper;
    std::vector<ObjectItem *> m_items; // the scene's, in the objects' order
    Commit m_commit;
    LabelLayout::Selection m_selection;
    std::map<std::size_t, QString> m_faults;
    double m_zoom = 1;
    bool m_fitting = false; // zoomed to fit, and kept so as the canvas is resized
    Grid m_grid;
    std::function<double()> m_dotTwips = [] { return 15.0; };
    Drag m_drag;
    CanvasRuler *m_top;
    CanvasRuler *m_left;
};
