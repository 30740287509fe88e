#pragma once

#include <QtGlobal>

// The window manager of an X screen on a desktop (EWMH). Where one runs it
// keeps the stacking, the workspaces and the keyboard by its own rules, so
// the toolkit asks it, the standard way, instead of moving windows behind its
// back. Every function does nothing, or answers false, on other platforms
// and on a bare X screen (the phone's, which has no window manager).
namespace zx11manager {

// Whether a window manager runs: the root names a check window
// (_NET_SUPPORTING_WM_CHECK) that names itself, so a manager that has gone
// and left the root's property behind does not count.
bool running();

// Asks the window manager to bring that top-level window to the user: onto
// the current workspace (_NET_WM_DESKTOP), out of the minimized state, then
// active with the keyboard (_NET_ACTIVE_WINDOW). The requests are a user's
// (source indication 2, as a pager sends them) with the server's current
// time, so that focus-stealing prevention lets them through: the user asked
// for the window with the pop-up key or a second start. False when no window
// manager runs, and nothing was asked.
bool bringToUser(quint32 window);

}  // namespace zx11manager
