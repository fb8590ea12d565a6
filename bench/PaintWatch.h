#pragma once
#include <QObject>

// Counts the paint events a widget receives, so that a measurement can tell a
// repaint that drew from one that did nothing.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QObject *watched);
    int paints() const { return m_paints; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_paints = 0;
};
