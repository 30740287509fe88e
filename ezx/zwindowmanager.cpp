#include "ezx/zwindowmanager.h"

#include "ezx/zx11manager.h"
#include "platform/logline.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {
constexpr Qt::WindowStates kLargeStates = Qt::WindowMaximized | Qt::WindowFullScreen;

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// Watches one fixed-size window's state (see zwm::keepNormalState).
class NormalStateGuard : public QObject
{
public:
    explicit NormalStateGuard(QWidget* window)
        : QObject(window)
        , m_window(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::Show) {
            watchHandle();
        } else if (watched == m_window && event->type() == QEvent::Paint && m_askAfterPaint) {
            // The frame of the large state goes out after this paint: only a
            // compositor that has it takes the state back.
            m_askAfterPaint = false;
            QMetaObject::invokeMethod(this, &NormalStateGuard::askNormal, Qt::QueuedConnection);
        } else if (watched == m_handle && event->type() == QEvent::WindowStateChange && event->spontaneous()) {
            stateApplied();
        }
        return false;
    }

private:
    // The window's QWindow exists once it is shown; it reports a state that
    // is asked for at once (a decoration's button) and, as a spontaneous
    // event, one that the manager applied.
    void watchHandle()
    {
        QWindow* handle = m_window->windowHandle();
        if (!handle || handle == m_handle)
            return;
        m_handle = handle;
        handle->installEventFilter(this);
        connect(handle, &QWindow::windowStateChanged, this, &NormalStateGuard::stateAsked);
    }

    // Until the compositor has the normal state back, a configure with the
    // large state may come and must be followed.
    void stateAsked(Qt::WindowState state)
    {
        if ((state & kLargeStates) && zwm::onWayland() && !m_sizeLetGo) {
            m_fixedSize = m_window->maximumSize();
            m_sizeLetGo = true;
            m_window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
    }

    void stateApplied()
    {
        if (!(m_handle->windowStates() & kLargeStates)) {
            if (m_sizeLetGo) {
                m_sizeLetGo = false;
                m_window->setMaximumSize(m_fixedSize);
            }
        } else if (zwm::manages()) {
            if (zwm::onWayland()) {
                m_askAfterPaint = true;
                m_window->update();
            } else {
                askNormal();
            }
        }
    }

    void askNormal()
    {
        if (!m_handle || !(m_handle->windowStates() & kLargeStates))
            return;
        noteLine(QStringLiteral("ZMainWidget: a window of fixed size, its maximized or full-screen state undone"));
        m_handle->setWindowStates(m_handle->windowStates() & ~kLargeStates);
    }

    QWidget* m_window;
    QPointer<QWindow> m_handle;
    QSize m_fixedSize;
    bool m_sizeLetGo = false;
    bool m_askAfterPaint = false;
};
}

namespace zwm {

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool manages()
{
    return onWayland() || (onX11() && zx11manager::running());
}

bool bringToUser(QWidget* window)
{
    if (!window || !window->isWindow() || !onX11() || !zx11manager::running())
        return false;
    // Qt maps a window it knows to be minimized when the state is cleared.
    if (window->windowState() & Qt::WindowMinimized)
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    return zx11manager::bringToUser(static_cast<quint32>(window->winId()));
}

bool comesBackByShowing()
{
    return onWayland();
}

void placeOver(QWidget* dialog, QWidget* owner)
{
    if (!dialog || !owner || owner == dialog || !owner->isVisible() || !manages())
        return;
    owner = owner->window();
    // The dialog type is what makes Qt write WM_TRANSIENT_FOR on X11.
    dialog->setWindowFlags((dialog->windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    dialog->winId();  // makes its QWindow
    if (QWindow* handle = dialog->windowHandle())
        handle->setTransientParent(owner->windowHandle());
}

void keepNormalState(QWidget* window)
{
    if (window)
        new NormalStateGuard(window);
}

}  // namespace zwm
