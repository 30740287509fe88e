#pragma once

#include "desktop/desktopentry.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace zk::desktop {

// The command line of a desktop entry, as the desktop's launchers run it.

// Splits an Exec value (string escapes already decoded) into arguments:
// blanks part them; inside double quotes a backslash keeps the next '"',
// '`', '$' or '\' literal. Nothing when a quote is not closed.
std::optional<QStringList> splitExec(const QString& exec);

// The arguments with the field codes replaced, as for a start with no files
// or addresses to open: %f %F %u %U (and the old %d %D %n %N %v %m) go, an
// argument that is only that code goes whole; %i becomes "--icon" and the
// entry's icon (nothing without one), %c the entry's name, %k its file,
// %% a "%". An unknown code goes too.
QStringList expandFieldCodes(const QStringList& args, const DesktopEntry& entry);

// The program and arguments that start the entry; an entry with
// Terminal=true runs in "x-terminal-emulator -e" (Debian's choice of
// terminal). Empty when Exec is empty, unbalanced or only field codes.
QStringList launchCommand(const DesktopEntry& entry);

// The file name of the program the entry starts ("/usr/bin/xterm -e" gives
// "xterm"); empty when there is none.
QString programFileName(const DesktopEntry& entry);

}  // namespace zk::desktop
