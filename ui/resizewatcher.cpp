#include "ui/resizewatcher.h"

#include <QEvent>
#include <QWidget>

ResizeWatcher::ResizeWatcher(QWidget* widget, std::function<void()> onResize)
    : QObject(widget)
    , m_onResize(std::move(onResize))
{
    widget->installEventFilter(this);
}

bool ResizeWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == parent() && m_onResize)
        m_onResize();
    return QObject::eventFilter(watched, event);
}
