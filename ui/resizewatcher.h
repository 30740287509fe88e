#pragma once

#include <QObject>

#include <functional>

// Runs a function each time a widget changes size. Hand-placed children
// (the task page's list and side panel) follow their page's height this way.
class ResizeWatcher : public QObject
{
    Q_OBJECT
public:
    // Watches `widget` and is owned by it.
    ResizeWatcher(QWidget* widget, std::function<void()> onResize);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_onResize;
};
