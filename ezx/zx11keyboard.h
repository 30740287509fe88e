#pragma once

#include <QtGlobal>

// The keyboard of an X screen without a window manager, where the toolkit
// moves it itself (ezx/zfocus.h). Every function does nothing, or answers 0,
// on other platforms.
namespace zx11keyboard {

// Gives the keyboard to that X window when it is on screen. It is given
// with the server's own current time: Qt gives it with the last time it saw
// from the server, which the server refuses when another program took the
// keyboard since then, as every program of the phone does when it comes to
// the front.
void give(quint32 window);

// The X window that has the keyboard now, 0 when none does (or only the
// screen's root).
quint32 holder();

// The top window on screen (a plain mapped top-level, not a menu), as a
// window manager would pick it when the keyboard's window went away; 0 when
// there is none, or when a window manager runs and so makes that choice.
quint32 topWindow();

}  // namespace zx11keyboard
