#include "CanvasAccessible.h"
#include "LabelCanvas.h"

#include <QPointer>
#include <algorithm>

// One object on the canvas, by its place in the list; no longer valid once
// the canvas has fewer objects.
class CanvasObjectAccessible : public QAccessibleInterface {
public:
    CanvasObjectAccessible(LabelCanvas *canvas, int index)
        : m_canvas(canvas)
        , m_index(index)
    {
    }

    bool isValid() const override { return m_canvas && std::size_t(m_index) < m_canvas->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_canvas ? m_canvas->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_canvas); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override { }
    QAccessible::Role role() const override { return QAccessible::Graphic; }

    QString text(QAccessible::Text text) const override
    {
        if (!isValid())
            return {};
        if (text == QAccessible::Name)
            return LabelLayout::accessibleName(m_canvas->m_document, std::size_t(m_index));
        if (text == QAccessible::Description)
            return m_canvas->faultAt(std::size_t(m_index));
        return {};
    }
    QRect rect() const override { return isValid() ? m_canvas->objectRect(std::size_t(m_index)) : QRect(); }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const LabelLayout::Selection &selection = m_canvas->m_selection;
        state.focusable = true;
        state.selectable = true;
        state.multiSelectable = true;
        state.selected = std::binary_search(selection.begin(), selection.end(), std::size_t(m_index));
        state.focused = m_canvas->hasFocus() && selection.size() == 1 && state.selected;
        return state;
    }

private:
    QPointer<LabelCanvas> m_canvas;
    const int m_index;
};

CanvasAccessible::CanvasAccessible(LabelCanvas *canvas)
    : QAccessibleWidget(canvas, QAccessible::Canvas)
{
}

void CanvasAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString &key, QObject *object) -> QAccessibleInterface * {
            if (key != QLatin1String("LabelCanvas"))
                return nullptr;
            return new CanvasAccessible(static_cast<LabelCanvas *>(object));
        });
        return true;
    }();
    Q_UNUSED(installed);
}

LabelCanvas *CanvasAccessible::canvas() const { return static_cast<LabelCanvas *>(widget()); }

int CanvasAccessible::childCount() const { return int(canvas()->count()); }

QAccessibleInterface *CanvasAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    while (m_children.size() <= std::size_t(index))
        m_children.push_back(QAccessible::registerAccessibleInterface(
            new CanvasObjectAccessible(canvas(), int(m_children.size()))));
    return QAccessible::accessibleInterface(m_children[std::size_t(index)]);
}

int CanvasAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto found = std::find_if(m_children.begin(), m_children.end(), [child](QAccessible::Id id) {
        return QAccessible::accessibleInterface(id) == child;
    });
    const int index = int(found - m_children.begin());
    return found != m_children.end() && index < childCount() ? index : -1;
}

QAccessibleInterface *CanvasAccessible::childAt(int x, int y) const
{
    for (int index = childCount() - 1; index >= 0; --index)
        if (canvas()->objectRect(std::size_t(index)).contains(x, y))
            return child(index);
    return nullptr;
}

QAccessibleInterface *CanvasAccessible::focusChild() const
{
    const LabelLayout::Selection selection = canvas()->selection();
    if (!canvas()->hasFocus() || selection.size() != 1)
        return nullptr;
    return child(int(selection.front()));
}
