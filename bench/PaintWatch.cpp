#include "PaintWatch.h"

#include <QEvent>

PaintWatch::PaintWatch(QObject *watched)
    : QObject(watched)
{
    watched->installEventFilter(this);
}

bool PaintWatch::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        ++m_paints;
    return false;
}
