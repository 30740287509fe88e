#pragma once

#include <cstdint>

struct xcb_connection_t;

// Which window of an X screen without a window manager gets the phone's keys.
//
// Nobody hands the input focus out there: until a click into a Qt window
// makes it ask for the focus, keys typed on the keyboard go to the window
// under the pointer, and when a keypad button is clicked that is the keypad.
// The keys go to the top-level window that has the input focus, as they
// would from a keyboard; when none has it (the focus is on the root, on
// nothing, or follows the pointer), to the top mapped top-level window, which
// is then given the focus the way a click into it would.
//
// Returns that window (0 when no such window is mapped). ignored is a window
// that is never the target (the keypad's own). The focus, when given, is in
// place on the server when this returns.
std::uint32_t focusPhoneWindow(xcb_connection_t* connection, std::uint32_t ignored);
