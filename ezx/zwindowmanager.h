#pragma once

class QWidget;

// The program's windows on a desktop, where a window manager or a Wayland
// compositor keeps the stacking, the workspaces and the keyboard: the
// toolkit asks it for what the phone's rules need (ezx/zfocus.h), the
// standard way. On a bare X screen and offscreen every function does nothing
// and answers false, so the phone's behaviour stays as it is.
namespace zwm {

// A Wayland compositor runs the screen.
bool onWayland();

// Something manages the windows: a Wayland compositor, or an X window
// manager (ezx/zx11manager.h). Asked afresh each time: a manager may start
// or go while the program runs.
bool manages();

// Brings a window that is on screen to the user as the manager allows:
// out of the minimized state, onto the current workspace, active with the
// keyboard (X11). True when a window manager was asked. A Wayland client
// cannot raise a window itself; there a window comes forward only by being
// shown anew (see comesBackByShowing).
bool bringToUser(QWidget* window);

// On Wayland a covered or minimized window comes to the front only when it
// is hidden and shown again at once: the compositor gives a new window the
// keyboard, an old one it does not. The program does that itself.
bool comesBackByShowing();

// A dialog comes up over owner as the manager places dialogs (X11:
// WM_TRANSIENT_FOR and the dialog type, Wayland: the parent toplevel).
// Call before the dialog is first shown.
void placeOver(QWidget* dialog, QWidget* owner);

// Keeps a fixed-size window in its normal state: a maximized or full-screen
// state that arrives although the window offers neither (a manager's key, a
// Wayland decoration's button) is asked away as soon as it is applied. On
// Wayland the size is let go from the request until the normal state is
// back, since a surface must take the size of the state it was configured
// for (weston ends a client that does not), and the normal state is asked
// for once a frame of the large one is out: a compositor ignores a request
// to leave a state it has not yet applied.
void keepNormalState(QWidget* window);

}  // namespace zwm
