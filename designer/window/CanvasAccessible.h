#pragma once
#include <QAccessibleWidget>
#include <vector>

class LabelCanvas;

// The label canvas to screen readers: its children are the label's objects,
// each named by its kind, its content and its place on the label.
class CanvasAccessible : public QAccessibleWidget {
public:
    explicit CanvasAccessible(LabelCanvas *canvas);
    // Makes every label canvas known to screen readers through this interface.
    static void install();

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

private:
    LabelCanvas *canvas() const;

    // The objects' interfaces, made when first asked for; the accessibility cache keeps them.
    mutable std::vector<QAccessible::Id> m_children;
};
