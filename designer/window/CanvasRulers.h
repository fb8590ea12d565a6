#pragma once
#include <QWidget>

// A ruler along the canvas's top or left edge, numbered in the document's
// unit from the label's top-left corner.
class CanvasRuler : public QWidget {
public:
    CanvasRuler(Qt::Orientation orientation, QWidget *parent);
    // unitTwips: the unit's length; origin: where the label's edge is on the
    // ruler, in pixels; pixelsPerTwip: the zoom.
    void setScale(double unitTwips, double origin, double pixelsPerTwip);
    int thickness() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Qt::Orientation m_orientation;
    double m_unit = 1440;
    double m_origin = 0;
    double m_pixelsPerTwip = 1 / 15.0;
};
