#pragma once
#include "LabelRenderer.h"

#include <QGraphicsItem>
#include <QImage>
#include <optional>

// What the canvas's items draw from: the label's renderer (none: the paper
// alone), the record shown and the label's size in twips.
struct CanvasSource {
    LabelRenderer *renderer = nullptr;
    LabelRecord record = {};
    QSizeF label = {};
};

// The label's paper: its colour over a soft shadow, and the grid when shown.
class PaperItem : public QGraphicsItem {
public:
    explicit PaperItem(const CanvasSource &source);
    // One screen pixel in twips: the shadow and the grid's dots keep their size on the screen.
    void setPixelTwips(double twips);
    void setGrid(double stepTwips, bool shown);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    const CanvasSource &m_source;
    double m_pixel = 15;
    double m_grid = 0; // 0: no grid shown
};

// One object of the label, drawn by the renderer alone on a layer of its own
// at the device's resolution, so a move only shifts its cached picture. While
// a handle is dragged, the picture taken when the drag began is stretched
// into the new box.
class ObjectItem : public QGraphicsItem {
public:
    // pad: how far its drawing may reach beyond its box (half a line's stroke), in twips.
    ObjectItem(const CanvasSource &source, std::size_t index, const QRectF &box, double pad);

    std::size_t index() const { return m_index; }
    // Shown moved by offset from where the document has it.
    void setOffset(const QPointF &offset);
    // Shown stretched into box; none: drawn as the document has it.
    void setPreview(const std::optional<QRectF> &box, double pixelsPerTwip, qreal ratio);
    // A reason of the canvas's own to mark the object, besides what drawing it reports.
    void setExtraFault(const QString &reason);
    // Every reason the object is marked for, a line each; empty when there is none.
    QString fault() const;
    // Draws the object once off the screen to learn what drawing it reports.
    void checkFaults();

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    // The object drawn alone on a transparent picture of its box, at that scale.
    QImage picture(double pixelsPerTwip);
    void drawObject(QPainter &painter, const QRect &area);
    void markFault(QPainter &painter) const;

    const CanvasSource &m_source;
    const std::size_t m_index;
    const QRectF m_box; // the object's box in twips, as the document has it
    const QPointF m_origin; // where its top-left is on the label
    const double m_pad;
    QString m_drawFault;
    QString m_extraFault;
    std::optional<QRectF> m_preview;
    QImage m_picture; // the object as the resize began
};
