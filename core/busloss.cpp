#include "core/busloss.h"

#include "core/globals.h"
#include "platform/buswatch.h"
#include "platform/logline.h"
#include "ui/zkestrel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

ResidentBusLoss::ResidentBusLoss(QObject* parent, std::function<void()> end,
                                 std::function<QWidget*()> window)
    : QObject(parent)
    , m_end(std::move(end))
    , m_currentWindow(std::move(window))
{
    if (!m_end)
        m_end = [] { QCoreApplication::exit(kExitNoBus); };
    if (!m_currentWindow)
        m_currentWindow = [] { return static_cast<QWidget*>(gMainWindow); };
    auto* watch = new BusWatch(this);
    connect(watch, &BusWatch::lost, this, &ResidentBusLoss::busLost);
}

void ResidentBusLoss::busLost()
{
    if (m_lost)
        return;
    m_lost = true;
    logLine(QStringLiteral("busLost: the session bus is gone"));
    QWidget* window = m_currentWindow();
    m_window = window;
    if (window && window->isVisible()) {
        logLine(QStringLiteral("busLost: window on screen, ending when it is left"));
        window->installEventFilter(this);
        return;
    }
    endUnlessOnScreen();
}

bool ResidentBusLoss::eventFilter(QObject* watched, QEvent* event)
{
    // Bringing a window to the front hides and shows it at once: look
    // again once that has settled.
    if (watched == m_window && event->type() == QEvent::Hide)
        QTimer::singleShot(0, this, &ResidentBusLoss::endUnlessOnScreen);
    return QObject::eventFilter(watched, event);
}

void ResidentBusLoss::endUnlessOnScreen()
{
    QWidget* window = m_window.data();
    if (m_ended || (window && window->isVisible()))
        return;
    m_ended = true;
    if (window)
        window->removeEventFilter(this);
    logLine(QStringLiteral("busLost: end"));
    m_end();
}
