#pragma once

#include <QPointer>

class QWidget;

// The phone's keyboard rules, kept by the toolkit itself because the phone
// has no window manager to keep them (and neither has a bare X screen):
//
// - a top-level window that is shown or raised comes above every other and
//   becomes the active window, with the focus on the widget that had it, or
//   else on its first child that takes the keyboard;
// - a window, dialog, popup or menu that closes gives the keyboard back to
//   the widget that had it before it opened, or, when that one can no
//   longer take it, to its window's key target;
// - a hidden widget never acts on a key (ZApplication drops such a key and
//   gives the keyboard to the key target of its window).
//
// ZApplication applies the first two rules to every top-level window it
// sees come and go; ZOptionsMenu applies the second one to itself.
namespace zfocus {

// Whether w can have the keyboard: shown, enabled, and taking focus.
bool canTakeKeys(const QWidget* w);

// The widget of window that takes its keys: its focus widget when that one
// can, else its first child that can, else the window itself.
QWidget* keyTarget(QWidget* window);

// The first widget inside within (or within itself) that can take keys,
// in focus-chain order; null when there is none.
QWidget* firstKeyTakerIn(QWidget* within);

// Puts window above every other window, makes it the active window and
// gives the keyboard to its key target. A visible modal window of the
// application opened over it stays above it and takes the keyboard.
void bringToFront(QWidget* window);

// Closes (as a close from the window system would) every modal window of
// the application that came over window and is still open, topmost first.
void closeWindowsOver(QWidget* window);

// What had the keyboard when something opened over it.
class Saved
{
public:
    Saved() = default;
    // Notes the application's focus widget; when no window is active (as on
    // a screen without a window manager after a pop-up), the focus widget of
    // fallbackWindow, the window the new thing opens over; without one, the
    // window of another program that has the keyboard (on an X screen).
    explicit Saved(QWidget* fallbackWindow);

    // Gives the keyboard back: to the noted widget when it can still take
    // it, else to the key target of its window. When that window is gone
    // and nothing has the keyboard: to the other program's window when that
    // is still on screen, else to the top window on screen (an X screen
    // without a window manager) — unless toOtherProgram is false.
    void restore(bool toOtherProgram = true) const;

    QWidget* window() const { return m_window; }
    QWidget* widget() const { return m_widget; }

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_widget;
    quint32 m_otherProgram = 0;  // an X window of another program
};

// The program has asked another program to come to the front (a raise()
// on its channel): that one takes the keyboard when it gets there, so the
// next window of this program that leaves gives none back to a window of
// another program. Giving it back would race with that program's own
// taking, and could leave the keys under the window on top.
void keyboardGoesToAnotherProgram();

// ZApplication's part: it reports every top-level window that comes on
// screen or leaves it. A window that comes notes what had the
// keyboard before it; one that leaves while it had the keyboard gives it
// back.
void windowShown(QWidget* window);
void windowHidden(QWidget* window);

}  // namespace zfocus
