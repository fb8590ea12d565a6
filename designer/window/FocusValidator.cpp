#include "FocusValidator.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

FocusValidator::FocusValidator(QWidget *control, Handler handler)
    : QObject(control)
    , m_control(control)
    , m_handler(std::move(handler))
{
    control->installEventFilter(this);
}

bool FocusValidator::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_control || event->type() != QEvent::FocusOut || m_running)
        return false;
    const auto reason = static_cast<QFocusEvent *>(event)->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return false;
    // The focus may leave to a child of the control itself (an editable list's
    // own line edit); that is not leaving the control.
    QWidget *next = QApplication::focusWidget();
    if (next && (next == m_control || m_control->isAncestorOf(next)))
        return false;
    bool cancel = false;
    m_running = true;
    m_handler(cancel);
    if (cancel) {
        // Qt delivers the FocusIn to the new widget only while it still holds
        // the focus, so taking it back here keeps the focus where it was.
        m_control->setFocus(Qt::OtherFocusReason);
    }
    m_running = false;
    return false;
}
