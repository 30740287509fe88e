#include "ezx/zfocus.h"

#include "ezx/zwindowmanager.h"
#include "ezx/zx11keyboard.h"

#include <QApplication>
#include <QHash>
#include <QList>
#include <QWidget>

#include <utility>

namespace {
// The application's top-level windows in the order they came on screen, the
// last one on top, and for each what had the keyboard before it came. Kept
// here because without a window manager nobody else keeps it.
struct WindowStack
{
    QList<QPointer<QWidget>> order;
    QHash<const QWidget*, zfocus::Saved> before;
    bool otherProgramTakesKeys = false;

    void drop(const QWidget* w)
    {
        order.removeIf([w](const QPointer<QWidget>& p) { return p.isNull() || p == w; });
    }

    QWidget* topVisible(const QWidget* except = nullptr) const
    {
        for (auto it = order.crbegin(); it != order.crend(); ++it) {
            QWidget* w = it->data();
            if (w && w != except && w->isVisible())
                return w;
        }
        return nullptr;
    }
};

WindowStack& stack()
{
    static WindowStack windows;
    return windows;
}

// Windows that the stack looks after: the application's own top-level
// windows, not menus, tool tips or the like that come and go by themselves.
bool isStackedWindow(const QWidget* w)
{
    if (!w || !w->isWindow())
        return false;
    const Qt::WindowType type = w->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

// Whether the platform keeps windows one above the other. The offscreen
// one has a single layer (and complains at every raise).
bool platformStacks()
{
    static const bool stacks = QGuiApplication::platformName() != QLatin1String("offscreen")
                               && QGuiApplication::platformName() != QLatin1String("minimal");
    return stacks;
}

// The first widget inside within (or within itself) that can take keys.
QWidget* firstKeyTaker(QWidget* within)
{
    if (zfocus::canTakeKeys(within))
        return within;
    for (QWidget* w = within->nextInFocusChain(); w && w != within; w = w->nextInFocusChain()) {
        if (within->isAncestorOf(w) && zfocus::canTakeKeys(w))
            return w;
    }
    return nullptr;
}
}

namespace zfocus {

bool canTakeKeys(const QWidget* w)
{
    return w && w->isVisible() && w->isEnabled() && w->focusPolicy() != Qt::NoFocus;
}

QWidget* keyTarget(QWidget* window)
{
    if (!window)
        return nullptr;
    window = window->window();
    QWidget* focus = window->focusWidget();
    if (canTakeKeys(focus))
        return focus;
    QWidget* first = firstKeyTaker(window);
    return first ? first : window;
}

QWidget* firstKeyTakerIn(QWidget* within)
{
    return within ? firstKeyTaker(within) : nullptr;
}

void bringToFront(QWidget* window)
{
    if (!window)
        return;
    window = window->window();
    if (!window->isVisible())
        return;
    WindowStack& windows = stack();
    // Modal windows opened over it stay over it, in their order.
    QList<QWidget*> over;
    bool above = false;
    for (const QPointer<QWidget>& p : std::as_const(windows.order)) {
        QWidget* w = p.data();
        if (w == window)
            above = true;
        else if (above && w && w->isVisible() && w->isModal())
            over.append(w);
    }
    windows.drop(window);
    windows.order.append(window);
    for (QWidget* w : std::as_const(over)) {
        windows.drop(w);
        windows.order.append(w);
    }

    if (platformStacks()) {
        window->raise();
        for (QWidget* w : std::as_const(over))
            w->raise();
    }
    QWidget* keys = over.isEmpty() ? window : over.constLast();
    QWidget* target = keyTarget(keys);
    if (target != keys && target->window() == keys)
        target->setFocus(Qt::ActiveWindowFocusReason);
    // A window manager is asked, as the user's request: it may keep the
    // window minimized, on another workspace or behind others otherwise, and
    // refuse Qt's own activation, which is dated by the last event Qt saw.
    bool asked = false;
    if (zwm::manages()) {
        asked = zwm::bringToUser(window);
        for (QWidget* w : std::as_const(over))
            zwm::bringToUser(w);
    }
    if (!asked)
        keys->activateWindow();
    zx11keyboard::give(static_cast<quint32>(keys->winId()));
    // The offscreen and framebuffer platforms keep a hidden window as their
    // focus window; shown again, it is not reported as activated anew, and
    // the application would stay without an active window.
    if (QApplication::activeWindow() != keys && QGuiApplication::focusWindow() == keys->windowHandle())
        QApplication::setActiveWindow(keys);
}

void closeWindowsOver(QWidget* window)
{
    if (!window)
        return;
    window = window->window();
    QList<QPointer<QWidget>> over;
    const QList<QPointer<QWidget>> order = stack().order;
    const qsizetype at = order.indexOf(window);
    for (qsizetype i = order.size() - 1; i > at; --i)
        over.append(order.at(i));
    // Topmost first, as a person would close them.
    for (const QPointer<QWidget>& p : std::as_const(over)) {
        QWidget* w = p.data();
        if (w && w->isVisible() && w->isModal())
            w->close();
    }
}

Saved::Saved(QWidget* fallbackWindow)
{
    m_widget = QApplication::focusWidget();
    if (m_widget) {
        m_window = m_widget->window();
    } else if (fallbackWindow) {
        m_window = fallbackWindow->window();
        m_widget = m_window->focusWidget();
    } else {
        // Over another program's window: that one gets the keyboard back.
        m_otherProgram = zx11keyboard::holder();
    }
}

void Saved::restore(bool toOtherProgram) const
{
    QWidget* window = m_window.data();
    if (!window || !window->isVisible()) {
        if (!toOtherProgram)
            return;
        // Unless another program took the keyboard meanwhile (one this
        // program asked to come to the front, say). When the window that had
        // it is gone too (Hide All hides it with this one), the top window
        // on screen takes it, so that the keys never go nowhere.
        if (zx11keyboard::holder() == 0) {
            zx11keyboard::give(m_otherProgram);
            if (zx11keyboard::holder() == 0)
                zx11keyboard::give(zx11keyboard::topWindow());
        }
        return;
    }
    QWidget* widget = m_widget.data();
    QWidget* target = canTakeKeys(widget) && widget->window() == window ? widget : keyTarget(window);
    if (target != window)
        target->setFocus(Qt::PopupFocusReason);
    if (QApplication::activeWindow() != window)
        bringToFront(window);
}

void windowShown(QWidget* window)
{
    if (!isStackedWindow(window))
        return;
    WindowStack& windows = stack();
    if (!windows.order.contains(window)) {
        // Forget windows destroyed without being hidden.
        windows.before.removeIf([&windows](const auto& entry) {
            return !windows.order.contains(const_cast<QWidget*>(entry.key()));
        });
        QWidget* under = windows.topVisible(window);
        if (!under)
            under = QApplication::activeWindow();
        windows.before.insert(window, Saved(under != window ? under : nullptr));
        windows.order.append(window);
    }
    // The show event comes before the window is on screen: it goes to the
    // front once it is there.
    QMetaObject::invokeMethod(
        qApp, [shown = QPointer<QWidget>(window)] { bringToFront(shown); }, Qt::QueuedConnection);
}

void windowHidden(QWidget* window)
{
    if (!isStackedWindow(window))
        return;
    WindowStack& windows = stack();
    // Only a window that had the keyboard, or was on top while nothing had
    // it, hands it back; a window going away behind others takes nothing.
    const qsizetype at = windows.order.indexOf(window);
    bool wasOnTop = at >= 0;
    for (qsizetype i = at + 1; wasOnTop && i < windows.order.size(); ++i) {
        const QWidget* w = windows.order.at(i).data();
        wasOnTop = !w || !w->isVisible();
    }
    QWidget* active = QApplication::activeWindow();
    const bool hadKeys = active == window || (active == nullptr && wasOnTop);
    const Saved saved = windows.before.take(window);
    windows.drop(window);
    const bool toOtherProgram = !std::exchange(windows.otherProgramTakesKeys, false);
    if (hadKeys)
        saved.restore(toOtherProgram);
}

void keyboardGoesToAnotherProgram()
{
    stack().otherProgramTakesKeys = true;
}

}  // namespace zfocus
