#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Whether ZApplication can reach a window system, asked before it is made:
// Qt ends the process (abort) when none of the platforms it tries opens, so
// a start that may need only the bus asks first.
namespace zwindowsystem {

// The platforms Qt tries, in its order: the "-platform" argument, else
// QT_QPA_PLATFORM (names separated by ';', a name's options after ':'
// dropped); else "wayland" when WAYLAND_DISPLAY is set or XDG_SESSION_TYPE
// is "wayland", then "xcb".
QStringList platformsToTry(const QStringList& args, const QProcessEnvironment& env);

// Why none of those platforms can open a window, one text naming each
// one's reason ("xcb: DISPLAY is not set; ..."); empty when one of them may.
// Only xcb (the display must accept a connection) and wayland (Qt's plugin
// must be installed and the compositor's socket accept a connection) are
// checked; any other platform is taken to open.
QString whyNoWindow(const QStringList& args, const QProcessEnvironment& env);

}  // namespace zwindowsystem
