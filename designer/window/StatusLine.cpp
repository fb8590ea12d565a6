#include "StatusLine.h"

#include <QEvent>
#include <QLabel>
#include <algorithm>

namespace {

QLabel *label(const QString &name, QWidget *parent)
{
    auto *result = new QLabel(parent);
    result->setObjectName(name);
    result->setTextFormat(Qt::PlainText);
    return result;
}

// A pixel to spare beside the text's advance: a glyph may reach that far out.
int widthOf(const QLabel *label, const QString &text)
{
    return text.isEmpty() ? 0 : label->fontMetrics().horizontalAdvance(text) + 1;
}

// Where a text's last file name begins ("shelf.qmdesign", "l.pdf)"); 0 when it names none.
qsizetype nameStart(const QString &text)
{
    return std::max(text.lastIndexOf(u'/'), text.lastIndexOf(u'\\')) + 1;
}

// The narrowest a path's text is worth showing: its first word and its
// file name, "Design: …/shelf.qmdesign".
int leastWidth(const QLabel *label, const QString &text)
{
    const qsizetype name = nameStart(text);
    const QString least = text.section(u' ', 0, 0) + QStringLiteral(" …") + text.mid(name - 1);
    return name > 0 ? std::min(widthOf(label, text), widthOf(label, least)) : widthOf(label, text);
}

// text within width, cut at its end when it needs more. (Qt's own eliding
// measures in fractions of a pixel, and may cut a text that fits.)
QString endCut(const QLabel *label, const QString &text, int width)
{
    if (widthOf(label, text) <= width)
        return text;
    return label->fontMetrics().elidedText(text, Qt::ElideRight, std::max(0, width - 1));
}

// text within width: as it is when it fits; else shortened in its middle,
// where a path keeps its file name whole while it can; nothing when no more
// than an ellipsis would fit.
QString fitted(const QLabel *label, const QString &text, int width)
{
    if (widthOf(label, text) <= width)
        return text;
    const QFontMetrics metrics = label->fontMetrics();
    const int room = std::max(0, width - 1);
    const qsizetype name = nameStart(text);
    const int nameWidth = metrics.horizontalAdvance(text.mid(name));
    QString shown = metrics.elidedText(text, Qt::ElideMiddle, room);
    if (name > 0 && nameWidth < room) {
        const QString head = metrics.elidedText(text.left(name), Qt::ElideMiddle, room - nameWidth);
        if (head.size() > 1)
            shown = head + text.mid(name);
    }
    return shown.size() <= 1 ? QString() : shown;
}

// Shows text as it was fitted; its width.
int showText(QLabel *label, const QString &shown)
{
    label->setText(shown);
    label->setVisible(!shown.isEmpty());
    return widthOf(label, shown);
}

} // namespace

StatusLine::StatusLine(QWidget *parent)
    : QWidget(parent)
    , m_summary(label(QStringLiteral("summary"), this))
    , m_design(label(QStringLiteral("design"), this))
    , m_module(label(QStringLiteral("module"), this))
{
    // The bar gives the line whatever its permanent widgets leave, and the
    // window may be as narrow as the user likes.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void StatusLine::setSummary(const QString &text)
{
    m_summaryText = text;
    m_summary->setToolTip(text);
    placeLabels();
}

void StatusLine::setDesign(const QString &text)
{
    m_designText = text;
    m_design->setToolTip(text);
    placeLabels();
}

void StatusLine::setModule(const QString &text, const QString &toolTip)
{
    m_moduleText = text;
    m_module->setToolTip(toolTip);
    placeLabels();
}

QSize StatusLine::sizeHint() const
{
    const int gap = fontMetrics().averageCharWidth() * 2;
    const int width = widthOf(m_summary, m_summaryText) + widthOf(m_design, m_designText)
        + widthOf(m_module, m_moduleText);
    return {width + 2 * gap, minimumSizeHint().height()};
}

QSize StatusLine::minimumSizeHint() const
{
    const int height = std::max({m_summary->sizeHint().height(), m_design->sizeHint().height(),
                                 m_module->sizeHint().height(), fontMetrics().height()});
    return {0, height};
}

bool StatusLine::event(QEvent *event)
{
    // A label's font or text changed: the bar may need another height.
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::FontChange
        || event->type() == QEvent::Show) {
        updateGeometry();
        placeLabels();
    }
    return QWidget::event(event);
}

void StatusLine::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeLabels();
}

// The summary first; then the design's first word and file name; then the
// module, down to its size in millimetres; the design's path has the rest.
void StatusLine::placeLabels()
{
    // Hidden, the line has no width of its own yet (the bar lays it out when
    // shown): the texts stay whole until then.
    const QRect room = isVisible() ? contentsRect() : QRect(0, 0, QWIDGETSIZE_MAX, height());
    const int gap = fontMetrics().averageCharWidth() * 2;
    const int summary = showText(m_summary, fitted(m_summary, m_summaryText, room.width()));
    m_summary->setGeometry(room.left(), room.top(), summary, room.height());
    const int left = room.left() + (summary > 0 ? summary + gap : 0);
    const int free = std::max(0, room.right() + 1 - left);
    const int moduleRoom
        = std::min(widthOf(m_module, m_moduleText), free - leastWidth(m_design, m_designText) - gap);
    const QString moduleLeast = m_moduleText.section(QStringLiteral(" ("), 0, 0);
    const int module
        = showText(m_module,
                   widthOf(m_module, moduleLeast) <= moduleRoom ? endCut(m_module, m_moduleText, moduleRoom)
                                                                : QString());
    m_module->setGeometry(room.right() + 1 - module, room.top(), module, room.height());
    const int right = room.right() + 1 - (module > 0 ? module + gap : 0);
    const int designRoom = right - left;
    const bool designFits = designRoom >= leastWidth(m_design, m_designText);
    const int design
        = showText(m_design, designFits ? fitted(m_design, m_designText, designRoom) : QString());
    m_design->setGeometry(right - design, room.top(), design, room.height());
}
